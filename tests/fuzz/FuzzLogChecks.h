// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every log read back must be, whatever the input.
#include "FuzzTarget.h"
#include "core/logs/LogRecording.h"

#include <cmath>

inline void checkLogRecording(const qmf::LogRecording& log) {
    using qmf::LogRecording;
    for (const auto& column : log.values) {
        FUZZ_CHECK(column.size() == log.keys.size());
    }
    if (!log.ok()) {
        FUZZ_CHECK(log.keys.isEmpty() && log.damagedLines == 0);
    }
    FUZZ_CHECK(log.damage.size() <= LogRecording::MaxReportedDamage);
    FUZZ_CHECK(log.damagedLines >= log.damage.size());
    FUZZ_CHECK(log.damage.size() ==
               qMin<qint64>(log.damagedLines, LogRecording::MaxReportedDamage));
    bool inOrder = true;
    for (qsizetype i = 0; i < log.keys.size(); ++i) {
        FUZZ_CHECK(std::isfinite(log.keys[i]));
        inOrder = inOrder && (i == 0 || log.keys[i] >= log.keys[i - 1]);
    }
    FUZZ_CHECK(inOrder == log.keysInOrder);
}
