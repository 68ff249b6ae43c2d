// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <memory>

namespace qmf {
class BoardLink;
struct BusHealthCounts;
namespace trace {
class BusTraceRecording;
}
} // namespace qmf

namespace qmf::cli {

struct BoardOptions;

// --trace: starts recording the board's bit-banged bus into the file (nothing without --trace).
// Throws CommandFailure when it cannot.
std::unique_ptr<trace::BusTraceRecording> startBusTrace(BoardLink& board,
                                                        const BoardOptions& options);
// Ends the recording, the file complete; throws CommandFailure when it could not be written.
void finishBusTrace(std::unique_ptr<trace::BusTraceRecording>& recording);

// --stats: "bus health:" and one indented line per counter.
QStringList busStatsReport(const BusHealthCounts& counts);

} // namespace qmf::cli
