// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/chip/SharedState.h"
#include "support/RecordingBoard.h"

#include <gtest/gtest.h>

namespace qmf::test {

// A shared state wired to a recording board, with the chip found at 0x5E on the chosen path.
class CoreFixture : public ::testing::Test {
protected:
    static constexpr quint8 Device = 0x5E;

    CoreFixture()
        : state([this] {
              auto recording = std::make_unique<RecordingBoard>();
              board = recording.get();
              return recording;
          }) {
        state.board(); // create it now so that tests can set the fake up
        board->addParallelChip(0, false, Device);
        board->addSmbusChip(Device);
        state.DeviceAddress = Device;
    }

    void usePrinterPort() { state.CommsMedium = 1; }
    void useSmbus() { state.CommsMedium = 0; }
    std::array<quint8, 256>& printerChip() { return board->parallelRegisters(0, false, Device); }
    std::array<quint8, 256>& smbusChip() { return board->smbusRegisters(Device); }

    RecordingBoard* board = nullptr;
    SharedState state;
};

} // namespace qmf::test
