// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV log reader: any bytes load or are refused without harm, and every line it loads
// written out again reads back as the same time and readings.
#include "FuzzLogChecks.h"
#include "core/logs/CsvLog.h"

#include <QDateTime>
#include <algorithm>

using namespace qmf;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const LogRecording log = readCsvLog(bytes);
    checkLogRecording(log);
    for (const auto& values : log.values) {
        for (double value : values) {
            FUZZ_CHECK(std::isnan(value) || std::isfinite(value));
        }
    }
    // Written with a whole millisecond and UTC, a loaded line reads back as itself.
    QByteArray again = csvLogHeader();
    QVector<double> keys;
    for (qsizetype i = 0; i < log.size() && i < 50; ++i) {
        const double key = log.keys[i];
        if (std::abs(key) > 1e13) {
            continue; // outside the years QDateTime writes in four digits
        }
        const QDateTime time =
            QDateTime::fromMSecsSinceEpoch(qint64(std::floor(key * 1000.0)), Qt::UTC);
        if (time.date().year() < 1 || time.date().year() > 9999) {
            continue;
        }
        keys.append(double(time.toMSecsSinceEpoch()) / 1000.0);
        again += csvLogLine(time, {log.values[0][i], log.values[1][i], log.values[2][i],
                                   log.values[3][i], log.values[4][i]});
    }
    const LogRecording reread = readCsvLog(again);
    // std::equal, not QList's ==: Qt 6.4 compares two empty lists with memcmp on null pointers.
    FUZZ_CHECK(reread.ok() && reread.damagedLines == 0 &&
               std::equal(reread.keys.begin(), reread.keys.end(), keys.begin(), keys.end()));
    return 0;
}
