// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/chip/SharedState.h"
#include "support/RecordingBoard.h"

#include <gtest/gtest.h>

namespace qmf::test {

// A shared state on a recording board, the chip at 0x5E; touching a path's chip puts it there.
class CoreFixture : public ::testing::Test {
protected:
    CoreFixture()
        : state([this] {
              auto recording = std::make_unique<RecordingBoard>();
              board = recording.get();
              return recording;
          }) {
        state.board(); // create it now so that tests can set the fake up
        state.DeviceAddress = 0x5E;
    }
    std::array<quint8, 256>& printerChip() { return board->parallelRegisters(0, false, 0x5E); }
    std::array<quint8, 256>& smbusChip() { return board->smbusRegisters(0x5E); }

    RecordingBoard* board = nullptr;
    SharedState state;
};

} // namespace qmf::test
