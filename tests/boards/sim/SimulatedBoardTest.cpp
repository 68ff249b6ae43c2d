// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated evaluation board: where its chips answer, the bus engine's settings, heaters and
// injected faults.
#include "boards/sim/SimulatedBoard.h"

#include "core/link/LinkErrors.h"
#include "core/time/Clock.h"

#include <gtest/gtest.h>

namespace qmf::sim {
namespace {

class SimulatedBoardTest : public ::testing::Test {
protected:
    ManualClock clock;
    SimulatedBoard board{clock};
    BusEngine& engine() { return board.parallelPortLink().busEngine(); }
    quint8 portRead(quint8 device, quint8 reg) {
        quint8 value = 0;
        engine().ReadByte(device, reg, value);
        return value;
    }
    quint8 smbusRead(quint8 device, quint8 reg) {
        quint8 value = 0;
        board.smbusLink().ReadByte(device, reg, value);
        return value;
    }
};

TEST_F(SimulatedBoardTest, OnlyTheTwoChipsIdentifyAtTheirAddresses) {
    EXPECT_EQ(board.parallelPortLink().PortCount(), 1);
    EXPECT_EQ(quint16(board.parallelPortLink().PortAddress()), 0x378);
    EXPECT_EQ(board.smbusLink().BaseAddress(), 0x0400);
    for (int device = 0; device < 256; device += 2) {
        SCOPED_TRACE(device);
        EXPECT_EQ(portRead(quint8(device), 0x0D), device == 0x5E ? 0x41 : 0xFF);
        EXPECT_EQ(smbusRead(quint8(device), 0x0D), device == 0x5C ? 0x41 : 0xFF);
    }
}

} // namespace
} // namespace qmf::sim
