// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a .xls log back: the header line, then lines of a time of day and five readings.
#include "core/logs/LogParsing.h"

#include <QDate>

namespace qmf {

namespace {

using namespace logparse;
constexpr int Fields = LogRecording::Columns + 1;
constexpr double SecondsPerDay = 86400.0;
// A time of day this far before the one of the line before is the next day; a smaller step
// back is a clock that was set back.
constexpr double MidnightStep = SecondsPerDay / 2.0;

// "hh:mm:ss" in seconds since midnight; false when it is not such a time.
bool parseTimeOfDay(std::string_view text, double& seconds) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') {
        return false;
    }
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        const char high = text[size_t(i * 3)], low = text[size_t(i * 3 + 1)];
        if (high < '0' || high > '9' || low < '0' || low > '9') {
            return false;
        }
        parts[i] = (high - '0') * 10 + (low - '0');
    }
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59) {
        return false;
    }
    seconds = parts[0] * 3600.0 + parts[1] * 60.0 + parts[2];
    return true;
}

} // namespace

LogRecording readXlsLog(const QByteArray& bytes, const QDate& lastLineDate) {
    LogRecording log;
    log.format = LogRecording::Format::Xls;
    const std::string_view header = "Time\tFan0\tFan1\tTemp0\tTemp1\tTemp2";
    QVector<int> days; // of each line, counted from the first line's day
    int day = 0;
    double previous = -1.0;
    bool headerSeen = false;
    const qsizetype expected = bytes.size() / 36 + 1;
    log.keys.reserve(expected);
    for (QVector<double>& column : log.values) {
        column.reserve(expected);
    }
    forEachLine(bytes, [&](qint64 number, std::string_view line) {
        if (!headerSeen) {
            if (line != header) {
                log.error =
                    QStringLiteral("line %1 is not the header of a .xls measurement log: %2")
                        .arg(number)
                        .arg(excerpt(line));
                return false;
            }
            headerSeen = true;
            return true;
        }
        if (!line.empty() && line.front() == '\r') {
            line.remove_prefix(1); // every data line starts with one
        }
        std::string_view fields[Fields];
        int count = 0;
        for (size_t from = 0;;) {
            if (count == Fields) {
                count = Fields + 1; // more fields than a line has
                break;
            }
            const size_t tab = line.find('\t', from);
            fields[count++] = line.substr(from, tab == std::string_view::npos ? tab : tab - from);
            if (tab == std::string_view::npos) {
                break;
            }
            from = tab + 1;
        }
        if (count != Fields) {
            addDamage(
                log, number,
                QStringLiteral("not %1 tab-separated fields: %2").arg(Fields).arg(excerpt(line)));
            return true;
        }
        double seconds = 0.0;
        if (!parseTimeOfDay(fields[0], seconds)) {
            addDamage(log, number, QStringLiteral("not a time of day: %1").arg(excerpt(fields[0])));
            return true;
        }
        double values[LogRecording::Columns];
        for (int column = 0; column < LogRecording::Columns; ++column) {
            if (!parseNumber(fields[column + 1], values[column])) {
                addDamage(log, number,
                          QStringLiteral("field %1 is not a number: %2")
                              .arg(column + 2)
                              .arg(excerpt(fields[column + 1])));
                return true;
            }
        }
        if (previous >= 0.0 && seconds < previous - MidnightStep) {
            ++day;
        }
        previous = seconds;
        days.append(day);
        addLine(log, seconds, values);
        return true;
    });
    if (log.ok() && !headerSeen) {
        log.error = QStringLiteral("the file is empty; it is not a measurement log");
    }
    if (!log.ok()) {
        const QString error = log.error;
        log = LogRecording();
        log.format = LogRecording::Format::Xls;
        log.error = error;
        return log;
    }
    // From seconds of the day to seconds since the epoch, the last line on lastLineDate.
    LocalMidnights midnights;
    log.keysInOrder = true;
    for (qsizetype i = 0; i < log.keys.size(); ++i) {
        log.keys[i] += midnights.of(lastLineDate.addDays(days[i] - day));
        log.keysInOrder = log.keysInOrder && (i == 0 || log.keys[i] >= log.keys[i - 1]);
    }
    return log;
}

} // namespace qmf
