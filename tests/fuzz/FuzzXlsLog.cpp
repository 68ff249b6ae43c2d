// SPDX-License-Identifier: GPL-3.0-or-later
// The .xls log reader: any bytes load or are refused without harm; every value it loads is a
// finite number, and a file that loads with its lines in order keeps them a day apart at most
// per line.
#include "FuzzLogChecks.h"

using namespace qmf;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const LogRecording log = readXlsLog(bytes, QDate(2026, 3, 29)); // a change to summer time
    checkLogRecording(log);
    for (const auto& values : log.values) {
        for (double value : values) {
            FUZZ_CHECK(std::isfinite(value));
        }
    }
    for (qsizetype i = 1; i < log.size(); ++i) {
        FUZZ_CHECK(std::abs(log.keys[i] - log.keys[i - 1]) <= 2 * 86400.0);
    }
    return 0;
}
