// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/sim/SimulatedBoard.h"
#include "core/chip/SharedState.h"
#include "core/time/Clock.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/WindowRegistry.h"
#include "gui/shell/FrmMainHost.h"
#include "gui/support/FakeDialogs.h"
#include "support/RecordingBoard.h"

#include <memory>

namespace qmf::test {

// Everything a window needs, for one test: a manual clock, fake dialogs, an error boundary, a
// window registry without MDI area, and a shared state on either board:
//   TestContext sim;                         // the simulated board, chip found at 5Eh on the port
//   TestContext rec(TestContext::Recording); // the recording fake, chip at 5Eh on port 0
// Both start as the device search leaves them after choosing the printer-port chip
// (CommsMedium 1, DeviceAddress 0x5E, SavedTransferSetting 10, DeviceChosen True), with the fan
// and temperature channels bound to their registers.
class TestContext {
public:
    enum BoardKind { Simulated, Recording };
    explicit TestContext(BoardKind kind = Simulated);
    // Any other board, created on first use (as the program creates it when the device search
    // loads), so that a test can set up what the board will find first.
    explicit TestContext(BoardFactory board);
    ~TestContext();

    ManualClock clock;
    FakeDialogs dialogs;
    ErrorBoundary errors{dialogs};
    WindowRegistry windows;
    SharedState state;
    AppContext ctx;
    FrmMainHost mainWindow{ctx};

    // The board behind the state (only the one of this context's kind is non-null).
    sim::SimulatedBoard* simBoard() const { return simBoard_; }
    RecordingBoard* recording() const { return recording_; }

    // Moves simulated time on (the simulated chip's physics follows the clock).
    void advanceSeconds(double seconds) { clock.advanceMs(qint64(seconds * 1000)); }

private:
    void start();
    sim::SimulatedBoard* simBoard_ = nullptr;
    RecordingBoard* recording_ = nullptr;
};

} // namespace qmf::test
