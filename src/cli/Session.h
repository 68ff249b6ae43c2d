// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/BoardOptions.h"
#include "core/chip/SharedState.h"
#include "core/link/BusHealth.h"
#include "core/link/DeviceSearch.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace qmf {
class BoardLink;
class Clock;
class ManualClock;
class SharedState;
class WriteJournal;
namespace sim {
class SimulatedBoard;
}
namespace trace {
class BusTraceRecording;
}
} // namespace qmf

namespace qmf::cli {

// One run of the tool on one board: the shared register state with its board link, the clock,
// and the chip chosen for the commands. The board is created, and the chip searched for, only
// when a command first needs them, so that a command line that is wrong touches nothing.
//
// On the simulated board time is simulated: waiting advances the simulated clock at once and
// the simulated chips are kept in the --sim-state file, if one was named. On the hardware
// waiting takes real time.
class Session {
public:
    // Without --simulate the session talks to `hardware`, or, when none is given, to the real
    // printer ports and SMBus adapters.
    explicit Session(BoardOptions options, BoardFactory hardware = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const BoardOptions& options() const { return options_; }
    bool simulated() const { return options_.simulate; }

    // The board link, created on first use (the simulated board restored from --sim-state).
    // Throws CommandFailure when the saved state cannot be restored.
    BoardLink& board();

    // The shared state with the chosen chip: on first use the chip is searched for, chosen as
    // the program's Finish does, and the fan channels are given their registers. Throws
    // CommandFailure when no chip matches the options.
    SharedState& chip();
    bool chipChosen() const { return chosen_.has_value(); }
    // The session's register writes (no chip is searched for).
    WriteJournal& journal();
    // A search moves the port and bus mode; this puts the chosen chip's back.
    void restoreChoice();

    const Clock& clock() const;
    // Simulated board: advances the simulated clock. Hardware: waits, returning early on Ctrl-C.
    void wait(qint64 ms);

    // The heater byte this session last put on the board outputs (0 until then).
    quint8 heaterOutputs = 0;
    // A batch is running its lines.
    bool inBatch = false;
    // Told what went wrong on the way that did not stop the command (standard error).
    std::function<void(const QStringList&)> warn;

    // Ends the session: the simulated board's heaters go off, as the real board's do when the
    // tool lets go of the port, the simulated chips are saved to --sim-state and the --trace file
    // is completed. Throws CommandFailure when the state or the trace cannot be saved.
    void finish();
    // The board's health counters (all 0 when no command used the board).
    BusHealthCounts busHealthCounts() const;

private:
    BoardOptions options_;
    BoardFactory hardware_;
    std::unique_ptr<Clock> clock_;
    ManualClock* manualClock_ = nullptr;
    sim::SimulatedBoard* simBoard_ = nullptr;
    std::unique_ptr<SharedState> state_;
    // After the state: it records the board's engine, so it goes first.
    std::unique_ptr<trace::BusTraceRecording> trace_;
    std::optional<SearchFinds> chosen_;
};

} // namespace qmf::cli
