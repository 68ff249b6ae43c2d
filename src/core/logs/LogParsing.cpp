// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/LogParsing.h"

#include <QDateTime>
#include <charconv>
#include <cmath>

namespace qmf::logparse {

bool parseNumber(std::string_view text, double& value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return false;
    }
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    return error == std::errc() && end == last && std::isfinite(value);
}

void addDamage(LogRecording& log, qint64 line, const QString& why) {
    ++log.damagedLines;
    if (log.damage.size() < LogRecording::MaxReportedDamage) {
        log.damage.append(QStringLiteral("line %1: %2").arg(line).arg(why));
    }
}

void addLine(LogRecording& log, double key, const double (&values)[LogRecording::Columns]) {
    if (!log.keys.isEmpty() && key < log.keys.constLast()) {
        log.keysInOrder = false;
    }
    log.keys.append(key);
    for (int column = 0; column < LogRecording::Columns; ++column) {
        log.values[size_t(column)].append(values[column]);
    }
}

double LocalMidnights::of(const QDate& day) {
    const qint64 julian = day.toJulianDay();
    auto found = known_.constFind(julian);
    if (found != known_.constEnd()) {
        return *found;
    }
    const double seconds = double(day.startOfDay().toMSecsSinceEpoch()) / 1000.0;
    known_.insert(julian, seconds);
    return seconds;
}

QString excerpt(std::string_view line) {
    constexpr size_t Shown = 60;
    QString text = QString::fromUtf8(line.data(), qsizetype(std::min(line.size(), Shown)));
    for (QChar& c : text) {
        if (!c.isPrint()) {
            c = QChar(0xFFFD);
        }
    }
    return QLatin1Char('"') + text +
           (line.size() > Shown ? QStringLiteral("...\"") : QStringLiteral("\""));
}

} // namespace qmf::logparse
