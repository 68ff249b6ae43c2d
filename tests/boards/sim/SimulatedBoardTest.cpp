// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated board: where its chips answer, bus engine settings, heaters, injected faults.
#include "boards/sim/SimulatedBoard.h"

#include "boards/sim/TemperatureCode.h"
#include "core/link/LinkErrors.h"
#include "core/time/Clock.h"

#include <gtest/gtest.h>

namespace qmf::sim {
namespace {

class SimulatedBoardTest : public ::testing::Test {
protected:
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

    ManualClock clock;
    SimulatedBoard board{clock};
};

TEST_F(SimulatedBoardTest, OnlyTheTwoChipsIdentifyAndSettingsRoundTrip) {
    EXPECT_EQ(board.parallelPortLink().PortCount(), 1);
    EXPECT_EQ(quint16(board.parallelPortLink().PortAddress()), 0x378);
    EXPECT_EQ(board.smbusLink().BaseAddress(), 0x0400);
    for (int device = 0; device < 256; ++device) {
        EXPECT_EQ(portRead(device, 0x0D), device == 0x5E ? 0x41 : 0xFF) << device;
        EXPECT_EQ(smbusRead(device, 0x0D), device == 0x5C ? 0x41 : 0xFF) << device;
    }
    // Each path reaches its own chip; writes to an empty address are lost.
    engine().WriteByte(0x5E, 0x60, 0x12);
    board.smbusLink().WriteByte(0x5E, 0x60, 0x78);
    EXPECT_EQ(board.printerPortChip().readRegister(0x60), 0x12);
    EXPECT_EQ(board.smbusChip().readRegister(0x60), 0xF8);

    EXPECT_EQ(engine().TransferSetting(), 10);
    for (qint16 setting : {qint16(0), qint16(-7), qint16(32767)}) {
        engine().setTransferSetting(setting);
        EXPECT_EQ(engine().TransferSetting(), setting);
    }
    EXPECT_THROW(board.parallelPortLink().setPortIndex(1), LinkError);
    board.setActiveMedium(1);
    EXPECT_THROW(board.setActiveMedium(2), LinkError);
    EXPECT_EQ(board.activeMedium(), 1);
}

TEST_F(SimulatedBoardTest, AlternateModeOrASilentChipFloatsThePrinterPortBusOnly) {
    for (bool alternate : {true, false}) {
        SCOPED_TRACE(alternate);
        alternate ? engine().setAlternateMode(true) : board.printerPortChip().setAnswering(false);
        EXPECT_EQ(engine().AlternateMode(), alternate);
        EXPECT_EQ(portRead(0x5E, 0x0D), 0xFF);
        engine().WriteByte(0x5E, 0x60, 0x11); // lost on the floating bus
        EXPECT_EQ(smbusRead(0x5C, 0x0D), 0x41);
        alternate ? engine().setAlternateMode(false) : board.printerPortChip().setAnswering(true);
        EXPECT_EQ(portRead(0x5E, 0x0D), 0x41);
        EXPECT_EQ(portRead(0x5E, 0x60), 0xF8);
    }
}

TEST_F(SimulatedBoardTest, AuxOutputsDriveTheHeatersOfThePrinterPortChip) {
    const auto reading = [this](int reg) { return decodeTemperature(portRead(0x5E, reg)); };
    const int smbusBefore = decodeTemperature(smbusRead(0x5C, 0xA2));
    const int tdm1 = reading(0xA1), tdm2 = reading(0xA2);
    for (bool prepare : {true, false}) { // the announcement and the other bits heat nothing
        prepare ? engine().setAuxOutputsPrepare(0x30) : engine().setAuxOutputs(0x0F);
        EXPECT_EQ(engine().AuxOutputs(), prepare ? 0 : 0x0F) << "only a put is remembered";
        clock.advanceMs(30'000);
        EXPECT_LE(std::abs(reading(0xA1) - tdm1) + std::abs(reading(0xA2) - tdm2), 1) << prepare;
    }
    engine().setAuxOutputs(0x10); // bit 4: heater 1 at TDM 2
    EXPECT_EQ(board.auxOutputs(), 0x10);
    EXPECT_EQ(engine().AuxOutputs(), 0x10);
    clock.advanceMs(60'000);
    EXPECT_LE(reading(0xA1) - tdm1, 1);
    EXPECT_GE(reading(0xA2) - tdm2, 10);
    engine().setAuxOutputs(0x20); // bit 5: heater 2 at TDM 1
    clock.advanceMs(60'000);
    EXPECT_GE(reading(0xA1) - tdm1, 10);
    EXPECT_EQ(decodeTemperature(smbusRead(0x5C, 0xA2)), smbusBefore); // no heaters on the PC's bus
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

// One failure at a chosen transfer: the ones before and after it go through.
TEST_F(SimulatedBoardTest, AFailureCanBeScheduledForOneTransfer) {
    for (const int passing : {0, 1, 4}) {
        SCOPED_TRACE(passing);
        board.failTransferAfter(passing);
        for (int i = 0; i < 6; ++i) {
            quint8 value = 0;
            if (i == passing) {
                EXPECT_THROW(engine().ReadByte(0x5E, 0x0D, value), LinkError);
            } else {
                EXPECT_NO_THROW(engine().ReadByte(0x5E, 0x0D, value)) << i;
            }
        }
    }
    board.failTransferAfter(0);
    board.failTransferAfter(-1);
    quint8 value = 0;
    EXPECT_NO_THROW(board.smbusLink().ReadByte(0x5C, 0x0D, value));
}

} // namespace
} // namespace qmf::sim
