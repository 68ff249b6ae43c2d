// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated evaluation board: where its chips answer, the bus engine's settings, heaters and
// injected faults.
#include "boards/sim/SimulatedBoard.h"

#include "boards/sim/TemperatureCode.h"
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
    quint8 portRead(int device, int reg) {
        quint8 value = 0;
        engine().ReadByte(quint8(device), quint8(reg), value);
        return value;
    }
    quint8 smbusRead(int device, int reg) {
        quint8 value = 0;
        board.smbusLink().ReadByte(quint8(device), quint8(reg), value);
        return value;
    }
};

TEST_F(SimulatedBoardTest, OnlyTheTwoChipsIdentifyAtTheirAddresses) {
    EXPECT_EQ(board.parallelPortLink().PortCount(), 1);
    EXPECT_EQ(quint16(board.parallelPortLink().PortAddress()), 0x378);
    EXPECT_EQ(board.smbusLink().BaseAddress(), 0x0400);
    for (int device = 0; device < 256; ++device) {
        EXPECT_EQ(portRead(device, 0x0D), device == 0x5E ? 0x41 : 0xFF) << device;
        EXPECT_EQ(smbusRead(device, 0x0D), device == 0x5C ? 0x41 : 0xFF) << device;
    }
    // Each path reaches its own chip; writes to an empty address are lost.
    engine().WriteByte(0x5E, 0x60, 0x12);
    board.smbusLink().WriteByte(0x5C, 0x60, 0x34);
    engine().WriteByte(0x5C, 0x60, 0x56);
    board.smbusLink().WriteByte(0x5E, 0x60, 0x78);
    EXPECT_EQ(board.printerPortChip().readRegister(0x60), 0x12);
    EXPECT_EQ(board.smbusChip().readRegister(0x60), 0x34);
}

TEST_F(SimulatedBoardTest, AlternateModeHidesThePrinterPortChipOnly) {
    engine().setAlternateMode(true);
    EXPECT_TRUE(engine().AlternateMode());
    EXPECT_EQ(portRead(0x5E, 0x0D), 0xFF);
    engine().WriteByte(0x5E, 0x60, 0x11); // lost on the floating bus
    EXPECT_EQ(smbusRead(0x5C, 0x0D), 0x41);
    engine().setAlternateMode(false);
    EXPECT_FALSE(engine().AlternateMode());
    EXPECT_EQ(portRead(0x5E, 0x0D), 0x41);
    EXPECT_EQ(portRead(0x5E, 0x60), 0xF8);
}

TEST_F(SimulatedBoardTest, SettingsRoundTripAndOutOfRangeSelectionsAreRefused) {
    EXPECT_EQ(engine().TransferSetting(), 10);
    for (qint16 setting : {qint16(0), qint16(-7), qint16(32767)}) {
        engine().setTransferSetting(setting);
        EXPECT_EQ(engine().TransferSetting(), setting);
    }
    EXPECT_NO_THROW(board.parallelPortLink().setPortIndex(0));
    EXPECT_THROW(board.parallelPortLink().setPortIndex(1), LinkError);
    board.setActiveMedium(1);
    EXPECT_THROW(board.setActiveMedium(2), LinkError);
    EXPECT_EQ(board.activeMedium(), 1);
}

TEST_F(SimulatedBoardTest, AuxOutputsDriveTheHeatersOfThePrinterPortChip) {
    // Bit 4 heats TDM 2 (0xA2), bit 5 TDM 1 (0xA1); other bits and the prepare call heat nothing.
    for (const auto& [aux, heats1, heats2] :
         {std::tuple{0x10, false, true}, std::tuple{0x20, true, false},
          std::tuple{0x0F, false, false}, std::tuple{0x30, true, true}}) {
        SCOPED_TRACE(aux);
        ManualClock clk;
        SimulatedBoard b(clk);
        auto reading = [&b](bool smbus, int reg) {
            quint8 v = 0;
            smbus ? b.smbusLink().ReadByte(0x5C, quint8(reg), v)
                  : b.parallelPortLink().busEngine().ReadByte(0x5E, quint8(reg), v);
            return decodeTemperature(v);
        };
        const int before1 = reading(false, 0xA1), before2 = reading(false, 0xA2);
        const int smbusBefore = reading(true, 0xA2);
        b.parallelPortLink().busEngine().setAuxOutputsPrepare(quint8(aux));
        clk.advanceMs(30'000);
        EXPECT_EQ(reading(false, 0xA2), before2);
        b.parallelPortLink().busEngine().setAuxOutputs(quint8(aux));
        EXPECT_EQ(b.auxOutputs(), aux);
        clk.advanceMs(60'000);
        EXPECT_EQ(reading(false, 0xA1) - before1 >= 10, heats1);
        EXPECT_EQ(reading(false, 0xA2) - before2 >= 10, heats2);
        EXPECT_EQ(reading(true, 0xA2), smbusBefore); // the PC's SMBus chip has no heaters
    }
}

TEST_F(SimulatedBoardTest, InjectedFailuresHitTheNextTransfersOnEitherPath) {
    board.failNextTransfers(3);
    EXPECT_EQ(quint16(board.parallelPortLink().PortAddress()), 0x378); // not a transfer
    quint8 value = 0x99;
    try {
        engine().ReadByte(0x5E, 0x0D, value);
        ADD_FAILURE() << "no LinkError";
    } catch (const LinkError& e) {
        EXPECT_EQ(e.operation(), QStringLiteral("ReadByte"));
        EXPECT_EQ(e.deviceAddress(), 0x5E);
        EXPECT_EQ(e.reg(), 0x0D);
        EXPECT_TRUE(e.message().contains(QStringLiteral("simulated")));
    }
    EXPECT_EQ(value, 0x99);
    EXPECT_THROW(board.smbusLink().WriteByte(0x5C, 0x60, 0x00), LinkError);
    EXPECT_THROW(engine().WriteByte(0x5E, 0x60, 0x00), LinkError);
    EXPECT_EQ(smbusRead(0x5C, 0x60), 0xF8); // the failed writes changed nothing
    EXPECT_EQ(portRead(0x5E, 0x60), 0xF8);
}

TEST_F(SimulatedBoardTest, ChipThatStopsAnsweringFloatsTheBus) {
    board.printerPortChip().setAnswering(false);
    EXPECT_EQ(portRead(0x5E, 0x0D), 0xFF);
    engine().WriteByte(0x5E, 0x60, 0x00);
    EXPECT_EQ(smbusRead(0x5C, 0x0D), 0x41);
    board.printerPortChip().setAnswering(true);
    EXPECT_EQ(portRead(0x5E, 0x0D), 0x41);
    EXPECT_EQ(portRead(0x5E, 0x60), 0xF8); // the write while silent was lost
}

} // namespace
} // namespace qmf::sim
