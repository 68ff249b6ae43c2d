// SPDX-License-Identifier: GPL-3.0-or-later
// The board link as the program sees it: on an empty machine, with missing, forbidden and wrong
// device nodes, with several printer ports, and the pin-level simulated board under the device
// search.
#include "FixtureTree.h"
#include "PinLevelRig.h"
#include "boards/linux/LinuxBoardLink.h"
#include "boards/sim/PinLevelSimulatedBoard.h"
#include "boards/sim/SimulatedChip.h"
#include "core/link/DeviceSearch.h"
#include "core/link/LinkErrors.h"
#include "core/link/OsVersionInfo.h"
#include "core/time/Clock.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <unistd.h>

namespace qmf::test {
namespace {

using linux_hw::makeLinuxBoard;

// The message of the LinkError thrown by `call`, or "" when nothing was thrown.
template <typename F> QString failure(F&& call) {
    try {
        call();
    } catch (const LinkError& e) {
        return e.message();
    }
    return {};
}

QString readFailure(BoardLink& board, bool printerPort) {
    return failure([&] {
        quint8 value = 0;
        if (printerPort) {
            board.parallelPortLink().busEngine().ReadByte(0x5E, 0x0D, value);
        } else {
            board.smbusLink().ReadByte(0x5E, 0x0D, value);
        }
    });
}

TEST(LinuxBoard, AMachineWithoutPortsOrAdaptersStartsCleanly) {
    FixtureTree tree;
    std::unique_ptr<BoardLink> board = makeLinuxBoard(tree.options());
    ParallelPortLink& ports = board->parallelPortLink();
    EXPECT_EQ(ports.PortCount(), 0);
    EXPECT_FALSE(board->smbusAvailable());
    EXPECT_EQ(OsVersionInfo(*board).BuildNumber(), "0");
    EXPECT_EQ(board->smbusLink().BaseAddress(), 0);

    // The search switches the heaters off first: with no port there is nothing to switch.
    EXPECT_NO_THROW(ports.busEngine().setAuxOutputs(0));
    EXPECT_TRUE(failure([&] {
                    ports.busEngine().setAuxOutputs(0x10);
                }).contains("this PC has no printer port"));
    EXPECT_TRUE(failure([&] { ports.setPortIndex(0); }).contains("there is no printer port 0"));
    EXPECT_TRUE(failure([&] { ports.PortAddress(); }).contains("no printer port"));
    EXPECT_TRUE(readFailure(*board, true).contains("no printer port"));
    EXPECT_TRUE(readFailure(*board, false).contains("offers no SMBus adapter"));
}

TEST(LinuxBoard, MissingAndWrongNodesAreReportedAsSuch) {
    FixtureTree tree;
    tree.write("proc/sys/dev/parport/parport0/base-addr", "888\t1912\n");
    linux_hw::LinuxBoardOptions options = tree.options();
    options.smbusDevice = tree.path("dev/i2c-3");
    {
        std::unique_ptr<BoardLink> board = makeLinuxBoard(options);
        EXPECT_EQ(board->parallelPortLink().PortCount(), 1);
        EXPECT_EQ(board->parallelPortLink().PortAddress(), 0x378);
        EXPECT_TRUE(board->smbusAvailable());
        const QString port = readFailure(*board, true);
        EXPECT_TRUE(port.contains(tree.path("dev/parport0") + " does not exist") &&
                    port.contains("sudo modprobe ppdev"))
            << port.toStdString();
        const QString smbus = readFailure(*board, false);
        EXPECT_TRUE(smbus.contains(tree.path("dev/i2c-3") + " does not exist") &&
                    smbus.contains("sudo modprobe i2c-dev"))
            << smbus.toStdString();
    }
    // Plain files where the nodes should be: the kernel refuses the port and adapter calls.
    tree.write("dev/parport0", "x");
    tree.write("dev/i2c-3", "x");
    std::unique_ptr<BoardLink> board = makeLinuxBoard(options);
    const QString port = readFailure(*board, true);
    EXPECT_TRUE(port.contains("is not a parallel port device node")) << port.toStdString();
    const QString smbus = readFailure(*board, false);
    EXPECT_TRUE(smbus.contains("is not an i2c-dev adapter node")) << smbus.toStdString();
}

TEST(LinuxBoard, ForbiddenNodesNameTheGroupAndTheFix) {
    FixtureTree tree;
    tree.write("dev/parport0", {});
    linux_hw::LinuxBoardOptions options = tree.options();
    options.smbusDevice = tree.path("dev/i2c-0");
    auto io = std::make_shared<sim::SimulatedDeviceIo>();
    io->failNext(tree.path("dev/parport0"), sim::SimulatedDeviceIo::Call::Open, EACCES, -1);
    io->failNext(tree.path("dev/i2c-0"), sim::SimulatedDeviceIo::Call::Open, EACCES, -1);
    options.deviceIo = io;
    std::unique_ptr<BoardLink> board = makeLinuxBoard(options);

    const struct {
        bool printerPort;
        const char* group;
    } cases[] = {{true, "lp"}, {false, "i2c"}};
    for (const auto& c : cases) {
        const QString message = readFailure(*board, c.printerPort);
        EXPECT_TRUE(message.contains("no permission to open")) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("must belong to group %1").arg(c.group)))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("sudo usermod -aG %1 $USER").arg(c.group)))
            << message.toStdString();
    }
    // Switching the heaters off cannot be done either, and says so.
    EXPECT_TRUE(failure([&] {
                    board->parallelPortLink().busEngine().setAuxOutputs(0);
                }).contains("no permission to open"));
}

TEST(LinuxBoard, ANodeWithoutPermissionsRefusesAnOrdinaryUser) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root, for whom mode 000 forbids nothing; the forbidden-node "
                        "message is covered through the simulated device calls";
    }
    FixtureTree tree;
    tree.write("dev/parport0", {});
    QFile::setPermissions(tree.path("dev/parport0"), QFileDevice::Permissions());
    std::unique_ptr<BoardLink> board = makeLinuxBoard(tree.options());
    const QString message = readFailure(*board, true);
    EXPECT_TRUE(message.contains("no permission to open") && message.contains("group lp"))
        << message.toStdString();
}

// Two printer ports with a board on each; the second board's chip answers at 5Ch.
struct TwoPorts {
    TwoPorts() {
        first.port.attach(first.target);
        second.port.attach(second.target);
        io->addParport("/dev/parport0", first.port);
        io->addParport("/dev/parport1", second.port);
        link = std::make_unique<linux_hw::LinuxBoardLink>(
            io, timing,
            [this] {
                QList<linux_hw::PrinterPortInfo> list{{"/dev/parport0", 0x378}};
                if (secondPresent) {
                    list.append({"/dev/parport1", 0xBC00});
                }
                return list;
            },
            linux_hw::SmbusAdapterInfo{});
    }
    struct Board {
        Board(linux_hw::BusTiming& timing, quint8 address)
            : target(address, chip), port(timing, linux_hw::StandardMapping) {}
        RegisterFile chip;
        sim::SmbusTargetSim target;
        sim::SimulatedParallelPort port;
    };
    bool secondPresent = true;
    std::shared_ptr<linux_hw::ManualBusTiming> timing =
        std::make_shared<linux_hw::ManualBusTiming>();
    Board first{*timing, 0x5E};
    Board second{*timing, 0x5C};
    std::shared_ptr<sim::SimulatedDeviceIo> io = std::make_shared<sim::SimulatedDeviceIo>();
    std::unique_ptr<linux_hw::LinuxBoardLink> link;
};

TEST(LinuxBoard, TrafficAndOutputsFollowTheSelectedPort) {
    TwoPorts rig;
    ParallelPortLink& ports = rig.link->parallelPortLink();
    BusEngine& engine = ports.busEngine();
    rig.first.chip.regs[0x0D] = 0x41;
    rig.second.chip.regs[0x0D] = 0x41;
    ASSERT_EQ(ports.PortCount(), 2);
    EXPECT_EQ(ports.PortAddress(), 0x378);

    engine.setAuxOutputs(0x30);
    EXPECT_EQ(rig.first.port.dataLatch() & 0x30, 0x30);
    quint8 value = 0;
    engine.ReadByte(0x5C, 0x0D, value);
    EXPECT_EQ(value, 0xFF);

    ports.setPortIndex(1);
    EXPECT_EQ(quint16(ports.PortAddress()), 0xBC00);
    // The board left behind has its heaters switched off.
    EXPECT_EQ(rig.first.port.dataLatch() & 0x30, 0);
    engine.ReadByte(0x5C, 0x0D, value);
    EXPECT_EQ(value, 0x41);
    engine.WriteByte(0x5C, 0x61, 9);
    EXPECT_EQ(rig.second.chip.regs[0x61], 9);
    EXPECT_EQ(rig.first.chip.writes, 0);
    EXPECT_TRUE(failure([&] { ports.setPortIndex(2); }).contains("this PC has 2"));

    // The port went away: a new count forgets it and the selection falls back to port 0.
    engine.setAuxOutputs(0x10);
    rig.secondPresent = false;
    EXPECT_EQ(ports.PortCount(), 1);
    EXPECT_EQ(rig.second.port.dataLatch() & 0x30, 0);
    EXPECT_EQ(rig.io->openDescriptors(), 0);
    engine.ReadByte(0x5E, 0x0D, value);
    EXPECT_EQ(value, 0x41);

    rig.link->setActiveMedium(0);
    EXPECT_EQ(rig.link->description(), "/dev/parport0");
    engine.setAuxOutputs(0x20);
    rig.link.reset();
    EXPECT_EQ(rig.first.port.dataLatch() & 0x30, 0);
    EXPECT_EQ(rig.io->openDescriptors(), 0);
}

TEST(PinLevelSimulatedBoard, TheDeviceSearchFindsBothChips) {
    ManualClock clock;
    sim::PinLevelSimulatedBoard board(clock);
    EXPECT_TRUE(board.smbusAvailable());
    EXPECT_EQ(OsVersionInfo(board).BuildNumber(), "2222");
    EXPECT_EQ(board.smbusLink().BaseAddress(), 0x0400);

    DeviceSearch search(board);
    SearchFinds finds;
    search.searchPrinterPorts(finds);
    search.searchSmbus(finds);
    EXPECT_EQ(finds.ParallelFinds, QList<int>{0x5E});
    EXPECT_EQ(finds.ParallelFindPorts, QList<int>{0});
    EXPECT_EQ(finds.ParallelFindModes, QList<bool>{false});
    EXPECT_EQ(finds.SmbusFinds, QList<int>{0x5C});
    const QList<SearchResultEntry> entries = search.resultEntries(finds);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_TRUE(entries[0].text.contains("5Eh, on printer port:378h"))
        << entries[0].text.toStdString();

    // A chip that stops answering is no longer found, and nothing fails.
    board.printerPortChip().setAnswering(false);
    SearchFinds again;
    search.searchPrinterPorts(again);
    EXPECT_TRUE(again.ParallelFinds.isEmpty());
}

TEST(PinLevelSimulatedBoard, RegistersAndHeatersWorkThroughThePins) {
    ManualClock clock;
    sim::PinLevelSimulatedBoard board(clock);
    BusEngine& engine = board.parallelPortLink().busEngine();
    engine.WriteByte(0x5E, 0x30, 0x05);
    EXPECT_EQ(board.printerPortChip().readRegister(0x30), 0x05);
    quint8 value = 0;
    engine.ReadByte(0x5E, 0x30, value);
    EXPECT_EQ(value, 0x05);
    board.smbusLink().WriteByte(0x5C, 0x31, 0x03);
    EXPECT_EQ(board.smbusChip().readRegister(0x31), 0x03);

    const double before = board.printerPortChip().temperature(2);
    engine.setAuxOutputsPrepare(0x10);
    engine.setAuxOutputs(0x10);
    clock.advanceMs(60000);
    const double heated = board.printerPortChip().temperature(2);
    EXPECT_GT(heated, before + 5.0);
    engine.setAuxOutputs(0);
    clock.advanceMs(120000);
    EXPECT_LT(board.printerPortChip().temperature(2), heated - 5.0);
}

} // namespace
} // namespace qmf::test
