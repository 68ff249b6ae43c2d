// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the two log readers share: walking the lines, plain numbers, damage reports, and local
// midnights.
#include "core/logs/LogRecording.h"

#include <QHash>
#include <cstring>
#include <string_view>

namespace qmf::logparse {

// Calls f(lineNumber, line) for every line of bytes (ended by LF; one CR before the LF is cut
// off); text after the last LF is a line too. f returns false to stop.
template <class F> void forEachLine(const QByteArray& bytes, F&& f) {
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    qint64 number = 0;
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* lineEnd = lf != nullptr ? lf : end;
        std::string_view line(p, size_t(lineEnd - p));
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!f(++number, line)) {
            return;
        }
        p = lf != nullptr ? lf + 1 : end;
    }
}

// A whole field as a finite decimal number ("2014", "-5", "0.5"); blanks around it allowed.
bool parseNumber(std::string_view text, double& value);

// Records a damaged line.
void addDamage(LogRecording& log, qint64 line, const QString& why);

// Appends one line's key and values, keeping note of the order.
void addLine(LogRecording& log, double key, const double (&values)[LogRecording::Columns]);

// Seconds since the epoch of local midnight on a day, remembered per day.
class LocalMidnights {
public:
    double of(const QDate& day);

private:
    QHash<qint64, double> known_;
};

// A line shown in a damage report, shortened.
QString excerpt(std::string_view line);

} // namespace qmf::logparse
