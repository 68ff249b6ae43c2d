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

TEST_F(SimulatedBoardTest, AlternateModeHidesThePrinterPortChipOnly) {
    EXPECT_FALSE(engine().AlternateMode());
    engine().setAlternateMode(true);
    EXPECT_TRUE(engine().AlternateMode());
    EXPECT_EQ(portRead(0x5E, 0x0D), 0xFF);
    engine().WriteByte(0x5E, 0x60, 0x11); // lost on the floating bus
    EXPECT_EQ(smbusRead(0x5C, 0x0D), 0x41);
    engine().setAlternateMode(false);
    EXPECT_EQ(portRead(0x5E, 0x0D), 0x41);
    EXPECT_EQ(portRead(0x5E, 0x60), 0xF8);
}

TEST_F(SimulatedBoardTest, EachPathReachesItsOwnChip) {
    engine().WriteByte(0x5E, 0x60, 0x12);
    board.smbusLink().WriteByte(0x5C, 0x60, 0x34);
    engine().WriteByte(0x5C, 0x60, 0x56); // nobody at 5Ch on the printer port
    board.smbusLink().WriteByte(0x5E, 0x60, 0x78);
    EXPECT_EQ(portRead(0x5E, 0x60), 0x12);
    EXPECT_EQ(smbusRead(0x5C, 0x60), 0x34);
    EXPECT_EQ(board.printerPortChip().readRegister(0x60), 0x12);
    EXPECT_EQ(board.smbusChip().readRegister(0x60), 0x34);
}

TEST_F(SimulatedBoardTest, TransferSettingRoundTrips) {
    EXPECT_EQ(engine().TransferSetting(), 10);
    for (qint16 setting : {qint16(0), qint16(-7), qint16(32767), qint16(25)}) {
        engine().setTransferSetting(setting);
        EXPECT_EQ(engine().TransferSetting(), setting);
    }
}

TEST_F(SimulatedBoardTest, AuxOutputsDriveTheHeatersOfThePrinterPortChip) {
    struct Case {
        quint8 aux;
        int heatedRegister; // 0 when no diode warms
    };
    for (const Case c : {Case{0x10, 0xA2}, Case{0x20, 0xA1}, Case{0x0F, 0}, Case{0x30, 0xA1}}) {
        SCOPED_TRACE(c.aux);
        ManualClock clk;
        SimulatedBoard b(clk);
        BusEngine& e = b.parallelPortLink().busEngine();
        quint8 before1 = 0, before2 = 0, smbusBefore = 0;
        e.ReadByte(0x5E, 0xA1, before1);
        e.ReadByte(0x5E, 0xA2, before2);
        b.smbusLink().ReadByte(0x5C, 0xA2, smbusBefore);
        e.setAuxOutputsPrepare(c.aux); // announces only
        clk.advanceMs(30'000);
        quint8 v = 0;
        e.ReadByte(0x5E, 0xA2, v);
        EXPECT_EQ(v, before2);
        e.setAuxOutputs(c.aux);
        EXPECT_EQ(b.auxOutputs(), c.aux);
        clk.advanceMs(60'000);
        quint8 after1 = 0, after2 = 0, smbusAfter = 0;
        e.ReadByte(0x5E, 0xA1, after1);
        e.ReadByte(0x5E, 0xA2, after2);
        b.smbusLink().ReadByte(0x5C, 0xA2, smbusAfter);
        EXPECT_EQ(after1 - before1 >= 10, c.heatedRegister == 0xA1 || c.aux == 0x30);
        EXPECT_EQ(after2 - before2 >= 10, c.heatedRegister == 0xA2 || c.aux == 0x30);
        EXPECT_EQ(smbusAfter, smbusBefore); // the PC's SMBus chip has no heaters
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
    EXPECT_FALSE(board.printerPortChip().answering());
    EXPECT_EQ(portRead(0x5E, 0x0D), 0xFF);
    EXPECT_EQ(portRead(0x5E, 0x01), 0xFF);
    engine().WriteByte(0x5E, 0x60, 0x00);
    EXPECT_EQ(smbusRead(0x5C, 0x0D), 0x41);
    board.printerPortChip().setAnswering(true);
    EXPECT_EQ(portRead(0x5E, 0x0D), 0x41);
    EXPECT_EQ(portRead(0x5E, 0x60), 0xF8); // the write while silent was lost
}

TEST_F(SimulatedBoardTest, OutOfRangeSelectionsAreRefused) {
    EXPECT_NO_THROW(board.parallelPortLink().setPortIndex(0));
    EXPECT_THROW(board.parallelPortLink().setPortIndex(1), LinkError);
    EXPECT_EQ(board.activeMedium(), 0);
    board.setActiveMedium(1);
    EXPECT_EQ(board.activeMedium(), 1);
    EXPECT_THROW(board.setActiveMedium(2), LinkError);
    EXPECT_EQ(board.activeMedium(), 1);
    EXPECT_EQ(board.description(), QStringLiteral("simulated evaluation board"));
}

} // namespace
} // namespace qmf::sim
