// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/BusDiagnostics.h"

#include "cli/BoardOptions.h"
#include "cli/CommandFailure.h"
#include "core/link/BoardLink.h"
#include "core/trace/BusTraceRecording.h"

namespace qmf::cli {

std::unique_ptr<trace::BusTraceRecording> startBusTrace(BoardLink& board,
                                                        const BoardOptions& options) {
    if (options.traceFile.isEmpty()) {
        return nullptr;
    }
    auto recording =
        std::make_unique<trace::BusTraceRecording>(board.parallelPortLink().busEngine());
    if (!recording->start(options.traceFile,
                          QStringLiteral("SCL and SDA of the printer port's bus, recorded by "
                                         "qmf4150ctl on %1")
                              .arg(board.description()))) {
        throw CommandFailure(recording->error());
    }
    return recording;
}

void finishBusTrace(std::unique_ptr<trace::BusTraceRecording>& recording) {
    if (!recording) {
        return;
    }
    const std::unique_ptr<trace::BusTraceRecording> ending = std::move(recording);
    if (!ending->stop()) {
        throw CommandFailure(ending->error());
    }
}

QStringList busStatsReport(const BusHealthCounts& counts) {
    QStringList lines{QStringLiteral("bus health:")};
    for (const QString& line : busHealthReport(counts)) {
        lines << QStringLiteral("  ") + line;
    }
    return lines;
}

} // namespace qmf::cli
