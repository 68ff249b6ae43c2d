// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/support/TestContext.h"

#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"

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
    state.CommsMedium = 1;
    state.DeviceAddress = 0x5E;
    state.SavedTransferSetting = 10;
    state.DeviceChosen = -1;
    state.Fan0().setLimitAddress(0x78);
    state.Fan0().setSpeedAddress(0x70);
    state.Fan0().setOscillatorFrequencyAddress(0x68);
    state.Fan1().setLimitAddress(0x79);
    state.Fan1().setSpeedAddress(0x71);
    state.Fan1().setOscillatorFrequencyAddress(0x69);
    const struct {
        Temperature& channel;
        qint16 max, min, value;
    } temps[] = {{state.IntTemp(), 0x90, 0x98, 0xA0},
                 {state.ExtTemp0(), 0x91, 0x99, 0xA1},
                 {state.ExtTemp1(), 0x92, 0x9A, 0xA2}};
    for (const auto& t : temps) {
        t.channel.setMaxAddressPointer(t.max);
        t.channel.setMinAddressPointer(t.min);
        t.channel.setValueAddressPointer(t.value);
    }
    if (recording_) {
        recording_->clearLog();
    }
}

TestContext::~TestContext() {
    windows.destroyAll();
}

} // namespace qmf::test
