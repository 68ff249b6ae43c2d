// SPDX-License-Identifier: GPL-3.0-or-later
// Probing addresses by reads only, on the bit-banged bus and through i2c-dev, and the bus scan
// over the pin-level simulated board, as i2cdetect would show it.
#include "Fixtures.h"
#include "boards/linux/I2cDevSmbus.h"
#include "boards/sim/PinLevelSimulatedBoard.h"
#include "boards/sim/SimulatedChip.h"
#include "core/link/BusScan.h"
#include "core/time/Clock.h"

#include <cerrno>

namespace qmf::test {
namespace {

using Call = sim::SimulatedDeviceIo::Call;

TEST(BusProbe, TheBitBangedProbeReadsOneByteAndWritesNothing) {
    for (const bool alternate : {false, true}) {
        SCOPED_TRACE(alternate);
        PortsRig rig(alternate);
        SimBoard& board = rig.boards[0];
        EXPECT_TRUE(rig.engine().probeAddress(0x5E));
        EXPECT_FALSE(rig.engine().probeAddress(0x50));
        // The device sent one byte and took none: no register number, no data.
        EXPECT_EQ(board.chip.reads, 1);
        EXPECT_EQ(board.chip.writes, 0);
        EXPECT_EQ(board.target.acknowledgements(), 1);
        EXPECT_EQ(board.target.stops(), 2);
        EXPECT_TRUE(board.port.sclLine() && board.port.sdaLine());
        EXPECT_EQ(rig.link->busHealth().counts().transfers, 2u);
        EXPECT_EQ(rig.link->busHealth().counts().nacks, 1u);
        EXPECT_TRUE(linkError([&] { rig.engine().probeAddress(0x5F); })
                        .reason()
                        .contains("not in 8-bit form"));
    }
}

TEST(BusProbe, TheSmbusProbeIsAReceiveByte) {
    const QString node = QStringLiteral("/dev/i2c-4");
    RegisterFile chip;
    sim::SimulatedDeviceIo io;
    io.addI2cAdapter(node);
    io.addI2cDevice(node, 0x2E, chip);
    BusHealth health;
    linux_hw::I2cDevSmbus smbus(io, linux_hw::SmbusAdapterInfo{true, node, {}});
    smbus.setHealth(&health);
    EXPECT_TRUE(smbus.probeAddress(0x5C));
    EXPECT_FALSE(smbus.probeAddress(0x5E));
    EXPECT_EQ(io.calls(Call::ReadByte), 2);
    EXPECT_EQ(io.calls(Call::ReadByteData), 0);
    EXPECT_EQ(chip.writes, 0);

    // An adapter without the receive byte is asked for a byte-data read instead.
    io.failNext(node, Call::ReadByte, EOPNOTSUPP);
    EXPECT_TRUE(smbus.probeAddress(0x5C));
    EXPECT_EQ(io.calls(Call::ReadByteData), 1);

    io.failNext(node, Call::ReadByte, ETIMEDOUT);
    EXPECT_TRUE(linkError([&] { smbus.probeAddress(0x5C); }).message().contains("probe failed"));
    EXPECT_EQ(health.counts().transfers, 4u);
    EXPECT_EQ(health.counts().failedTransfers, 1u);
    EXPECT_EQ(health.counts().nacks, 1u);
    EXPECT_EQ(health.counts().timeouts, 1u);
}

TEST(BusScan, ThePinLevelBoardShowsItsChipsOnEveryBus) {
    ManualClock clock;
    for (const bool alternateWiring : {false, true}) {
        SCOPED_TRACE(alternateWiring);
        sim::PinLevelSimulatedBoard board(clock, alternateWiring);
        const auto scan = [&](ScanTarget::Medium medium, bool alternate) {
            return scanBus(board, {medium, 0, alternate});
        };
        const BusScanResult wired = scan(ScanTarget::Medium::PrinterPort, alternateWiring);
        const BusScanResult other = scan(ScanTarget::Medium::PrinterPort, !alternateWiring);
        const BusScanResult smbus = scan(ScanTarget::Medium::Smbus, false);
        for (const BusScanResult* result : {&wired, &other, &smbus}) {
            EXPECT_TRUE(result->failure.isEmpty()) << result->failure.toStdString();
            EXPECT_EQ(result->lastProbed, LastScanAddress);
        }
        EXPECT_EQ(wired.answering, QList<int>{0x2F});
        EXPECT_EQ(wired.qmf4150, QList<int>{0x2F});
        EXPECT_EQ(wired.label, alternateWiring ? "printer port 0 (378h), alternate bus mode"
                                               : "printer port 0 (378h), standard bus mode");
        EXPECT_TRUE(other.answering.isEmpty());
        EXPECT_EQ(smbus.answering, QList<int>{0x2E});
        EXPECT_EQ(smbus.qmf4150, QList<int>{0x2E});
        EXPECT_EQ(smbus.label, "SMBus (base 400h)");
        // Reads only: no register of either chip changed.
        EXPECT_EQ(board.printerPortChip().readRegister(0x0D), 0x41);
        EXPECT_EQ(board.parallelPortLink().busEngine().AlternateMode(), !alternateWiring);
    }

    sim::PinLevelSimulatedBoard board(clock);
    board.smbusChip().setAnswering(false);
    const QStringList grid = scanGrid(scanBus(board, {ScanTarget::Medium::PrinterPort, 0, false}));
    const QStringList expected = {
        "     0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f",
        "00:          -- -- -- -- -- -- -- -- -- -- -- -- --",
        "10: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --",
        "20: -- -- -- -- -- -- -- -- -- -- -- -- -- -- --*2f",
        "30: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --",
        "40: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --",
        "50: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --",
        "60: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --",
        "70: -- -- -- -- -- -- -- --",
    };
    EXPECT_EQ(grid, expected);
    EXPECT_TRUE(scanBus(board, {ScanTarget::Medium::Smbus, 0, false}).answering.isEmpty());
}

TEST(BusScan, AFailingBusEndsTheScanWithItsReason) {
    ManualClock clock;
    sim::PinLevelSimulatedBoard board(clock);
    board.port().setSdaShorted(true);
    const BusScanResult result = scanBus(board, {ScanTarget::Medium::PrinterPort, 0, false});
    EXPECT_TRUE(result.failure.contains("probe failed on /dev/parport0"))
        << result.failure.toStdString();
    EXPECT_TRUE(result.failure.contains("SDA stays low"));
    EXPECT_EQ(result.lastProbed, FirstScanAddress - 1);
    const QStringList grid = scanGrid(result);
    EXPECT_EQ(grid[1], "00:          ?? ?? ?? ?? ?? ?? ?? ?? ?? ?? ?? ?? ??");
    EXPECT_EQ(board.busHealth().counts().failedTransfers, 1u);
    EXPECT_EQ(board.busHealth().counts().stuckBusRecoveries, 1u);

    // Another port index than the board has: the scan says so before any probe.
    const BusScanResult noPort = scanBus(board, {ScanTarget::Medium::PrinterPort, 3, false});
    EXPECT_FALSE(noPort.failure.isEmpty());
    EXPECT_EQ(board.busHealth().counts().transfers, 1u);
}

} // namespace
} // namespace qmf::test
