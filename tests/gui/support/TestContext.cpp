// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/support/TestContext.h"

#include "core/chip/ChannelBinding.h"
#include "core/events/EventTracker.h"
#include "core/journal/WriteJournal.h"

namespace qmf::test {

namespace {
BoardFactory factoryFor(TestContext::BoardKind kind, const Clock& clock, sim::SimulatedBoard** sim,
                        RecordingBoard** rec) {
    if (kind == TestContext::Simulated) {
        return [&clock, sim] {
            auto board = std::make_unique<sim::SimulatedBoard>(clock);
            *sim = board.get();
            return board;
        };
    }
    return [rec] {
        auto board = std::make_unique<RecordingBoard>();
        board->addParallelChip(0, false, 0x5E);
        *rec = board.get();
        return board;
    };
}
} // namespace

TestContext::TestContext(BoardKind kind)
    : state(factoryFor(kind, clock, &simBoard_, &recording_)), ctx{state,  clock,   dialogs,
                                                                   errors, windows, {}} {
    state.board(); // create it now so simBoard()/recording() are usable at once
    start();
}

TestContext::TestContext(BoardFactory board)
    : state(std::move(board)), ctx{state, clock, dialogs, errors, windows, {}} {
    start();
}

void TestContext::start() {
    ctx.mainWindow = &mainWindow;
    state.journal().setClock(&clock);
    state.events().setClock(&clock);
    errors.nameSourcesIn(&state.journal());
    state.CommsMedium = 1;
    state.DeviceAddress = 0x5E;
    state.SavedTransferSetting = 10;
    state.DeviceChosen = -1;
    bindFanChannels(state);
    bindTemperatureChannels(state);
    if (recording_) {
        recording_->clearLog();
    }
}

TestContext::~TestContext() {
    windows.destroyAll();
}

} // namespace qmf::test
