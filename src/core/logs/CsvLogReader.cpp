// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a CSV log back: comment lines, the header, then one reading per line.
#include "core/logs/CsvLog.h"
#include "core/logs/LogParsing.h"

#include <QDate>
#include <array>
#include <cmath>
#include <string>

namespace qmf {

namespace {

using namespace logparse;
constexpr int Fields = LogRecording::Columns + 1;

// Splits one line into its RFC 4180 fields (quoted fields with doubled quotes inside). False
// when the line does not hold exactly `Fields` fields or a quote is out of place.
bool splitFields(std::string_view line, std::array<std::string, Fields>& fields) {
    int count = 0;
    size_t i = 0;
    while (true) {
        if (count == Fields) {
            return false;
        }
        std::string& field = fields[size_t(count++)];
        field.clear();
        if (i < line.size() && line[i] == '"') {
            ++i;
            while (true) {
                if (i >= line.size()) {
                    return false; // unclosed quote
                }
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            if (i < line.size() && line[i] != ',') {
                return false; // text after a closing quote
            }
        } else {
            const size_t comma = line.find(',', i);
            const size_t stop = comma == std::string_view::npos ? line.size() : comma;
            field.assign(line.substr(i, stop - i));
            if (field.find('"') != std::string::npos) {
                return false;
            }
            i = stop;
        }
        if (i >= line.size()) {
            return count == Fields;
        }
        ++i; // the comma
    }
}

// Two digits at text[at]; -1 when they are not.
int twoDigits(std::string_view text, size_t at) {
    if (at + 2 > text.size() || text[at] < '0' || text[at] > '9' || text[at + 1] < '0' ||
        text[at + 1] > '9') {
        return -1;
    }
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// "yyyy-MM-ddTHH:mm:ss[.fff][Z|+hh:mm|-hh:mm]" in seconds since the epoch; without a zone the
// time is local. False when the text is not such a time.
bool parseTime(std::string_view text, LocalMidnights& midnights, double& key) {
    if (text.size() < 19 || text[4] != '-' || text[7] != '-' ||
        (text[10] != 'T' && text[10] != ' ') || text[13] != ':' || text[16] != ':') {
        return false;
    }
    const int century = twoDigits(text, 0), year = twoDigits(text, 2), month = twoDigits(text, 5),
              day = twoDigits(text, 8), hour = twoDigits(text, 11), minute = twoDigits(text, 14),
              second = twoDigits(text, 17);
    if (century < 0 || year < 0 || month < 0 || day < 0 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59) {
        return false;
    }
    const QDate date(century * 100 + year, month, day);
    if (!date.isValid()) {
        return false;
    }
    double seconds = hour * 3600.0 + minute * 60.0 + second;
    size_t i = 19;
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        const size_t digits = ++i;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && i - digits < 9; ++i) {
            seconds += (text[i] - '0') * scale;
            scale /= 10.0;
        }
        if (i == digits) {
            return false;
        }
    }
    const std::string_view zone = text.substr(i);
    if (zone.empty()) {
        key = midnights.of(date) + seconds;
        return true;
    }
    double offset = 0.0;
    if (zone != "Z") {
        const int hours = twoDigits(zone, 1), minutes = twoDigits(zone, 4);
        if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':' || hours < 0 ||
            hours > 23 || minutes < 0 || minutes > 59) {
            return false;
        }
        offset = (zone[0] == '-' ? -1.0 : 1.0) * (hours * 3600.0 + minutes * 60.0);
    }
    key = double(date.toJulianDay() - QDate(1970, 1, 1).toJulianDay()) * 86400.0 + seconds - offset;
    return true;
}

} // namespace

LogRecording readCsvLog(const QByteArray& bytes) {
    LogRecording log;
    log.format = LogRecording::Format::Csv;
    const QByteArray headerLine = csvLogHeader();
    const std::string_view header(headerLine.constData(), size_t(headerLine.size() - 1)); // no LF
    LocalMidnights midnights;
    std::array<std::string, Fields> fields;
    bool headerSeen = false;
    const qsizetype expected = bytes.size() / 40 + 1;
    log.keys.reserve(expected);
    for (QVector<double>& column : log.values) {
        column.reserve(expected);
    }
    forEachLine(bytes, [&](qint64 number, std::string_view line) {
        if (!headerSeen) {
            if (!line.empty() && line.front() == '#') {
                line.remove_prefix(line.size() > 1 && line[1] == ' ' ? 2 : 1);
                log.comments.append(QString::fromUtf8(line.data(), qsizetype(line.size())));
                return true;
            }
            if (line != header) {
                log.error =
                    QStringLiteral("line %1 is not the header of a measurement log (%2): %3")
                        .arg(number)
                        .arg(QString::fromLatin1(header.data(), qsizetype(header.size())),
                             excerpt(line));
                return false;
            }
            headerSeen = true;
            return true;
        }
        if (!splitFields(line, fields)) {
            addDamage(
                log, number,
                QStringLiteral("not %1 comma-separated fields: %2").arg(Fields).arg(excerpt(line)));
            return true;
        }
        double key = 0.0;
        if (!parseTime(fields[0], midnights, key)) {
            addDamage(log, number,
                      QStringLiteral("not a date and time: %1").arg(excerpt(fields[0])));
            return true;
        }
        double values[LogRecording::Columns];
        for (int column = 0; column < LogRecording::Columns; ++column) {
            const std::string& field = fields[size_t(column + 1)];
            if (field.empty()) {
                values[column] = std::nan(""); // a reading the writer did not have
            } else if (!parseNumber(field, values[column])) {
                addDamage(log, number,
                          QStringLiteral("field %1 is not a number: %2")
                              .arg(column + 2)
                              .arg(excerpt(field)));
                return true;
            }
        }
        addLine(log, key, values);
        return true;
    });
    if (log.ok() && !headerSeen) {
        log.error = QStringLiteral("the file holds no header line; it is not a measurement log");
    }
    if (!log.ok()) {
        const QString error = log.error;
        log = LogRecording();
        log.error = error;
    }
    return log;
}

} // namespace qmf
