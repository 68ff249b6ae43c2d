// SPDX-License-Identifier: GPL-3.0-or-later
// The board link as the program sees it: empty machines, unusable nodes, several ports, the
// pin-level simulated board under the device search.
#include "Fixtures.h"
#include "boards/sim/PinLevelSimulatedBoard.h"
#include "boards/sim/SimulatedChip.h"
#include "boards/sim/SimulatedI2cLayout.h"
#include "core/link/DeviceSearch.h"
#include "core/link/OsVersionInfo.h"
#include "core/link/SmbusAdapters.h"
#include "core/time/Clock.h"

#include <QRegularExpression>
#include <cerrno>

namespace qmf::test {
namespace {

using linux_hw::makeLinuxBoard;

// What a read through the printer port (0) and the SMBus (1) say when they fail.
std::array<QString, 2> readFailures(BoardLink& board) {
    quint8 value = 0;
    return {linkError([&] {
                board.parallelPortLink().busEngine().ReadByte(0x5E, 0x0D, value);
            }).message(),
            linkError([&] { board.smbusLink().ReadByte(0x5E, 0x0D, value); }).message()};
}

TEST(LinuxBoard, AMachineWithoutPortsOrAdaptersStartsCleanly) {
    FixtureTree tree;
    std::unique_ptr<BoardLink> board = makeLinuxBoard(tree.options());
    ParallelPortLink& ports = board->parallelPortLink();
    EXPECT_EQ(ports.PortCount(), 0);
    EXPECT_FALSE(board->smbusAvailable());
    // The search switches the heaters off first: with no port there is nothing to switch.
    EXPECT_NO_THROW(ports.busEngine().setAuxOutputs(0));
    const auto fails = [](auto call) { return linkError(call).message(); };
    EXPECT_TRUE(fails([&] { ports.busEngine().setAuxOutputs(16); }).contains("no printer port"));
    EXPECT_TRUE(fails([&] { ports.setPortIndex(0); }).contains("there is no printer port 0"));
    EXPECT_TRUE(fails([&] { ports.PortAddress(); }).contains("this PC has no printer port"));
    EXPECT_TRUE(readFailures(*board)[0].contains("this PC has no printer port"));
    EXPECT_TRUE(readFailures(*board)[1].contains("no SMBus adapter is chosen"));
}

// Forbidden nodes are refused through the device calls: the tests may run as root, who may open
// anything.
TEST(LinuxBoard, NodesThatCannotBeUsedSayWhyAndWhatToDo) {
    enum Node { Missing, PlainFile, Forbidden };
    const struct {
        Node node;
        const char *port, *smbus; // what the messages say, as patterns
    } cases[] = {
        {Missing, "dev/parport0 does not exist.*sudo modprobe ppdev",
         "dev/i2c-3 does not exist.*sudo modprobe i2c-dev"},
        // The kernel refuses the port and adapter calls on plain files.
        {PlainFile, "dev/parport0 is not a parallel port device node",
         "dev/i2c-3 is not an i2c-dev adapter node"},
        // The installed hardware guide has the udev rule.
        {Forbidden,
         "no permission to open .*dev/parport0.*group lp.*/share/doc/qmf4150/hardware\\.md "
         "has the udev rule.*sudo usermod -aG lp ",
         "no permission to open .*dev/i2c-3.*group i2c.*/share/doc/qmf4150/hardware\\.md "
         "has the udev rule.*sudo usermod -aG i2c "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        FixtureTree tree;
        tree.write("proc/sys/dev/parport/parport0/base-addr");
        linux_hw::LinuxBoardOptions options = tree.options();
        options.smbusDevice = tree.path("dev/i2c-3");
        auto io = std::make_shared<sim::SimulatedDeviceIo>();
        for (const char* node : {"dev/parport0", "dev/i2c-3"}) {
            if (c.node != Missing) {
                tree.write(node);
            }
            io->failNext(tree.path(node), sim::SimulatedDeviceIo::Call::Open, EACCES, -1);
        }
        if (c.node == Forbidden) {
            options.deviceIo = io;
        }
        std::unique_ptr<BoardLink> board = makeLinuxBoard(options);
        // Switching the heaters off cannot be done either, and says why.
        const auto [port, smbus] = readFailures(*board);
        const QString aux =
            linkError([&] { board->parallelPortLink().busEngine().setAuxOutputs(0); }).message();
        for (const QString& message : {port, aux}) {
            EXPECT_TRUE(message.contains(QRegularExpression(c.port))) << message.toStdString();
        }
        EXPECT_TRUE(smbus.contains(QRegularExpression(c.smbus))) << smbus.toStdString();
    }
}

TEST(LinuxBoard, TrafficAndOutputsFollowTheSelectedPort) {
    PortsRig rig(false, {0x5E, 0x5C});
    ParallelPortLink& ports = rig.link->parallelPortLink();
    BusEngine& engine = ports.busEngine();
    SimBoard &first = rig.boards[0], &second = rig.boards[1];
    first.chip.regs[0x0D] = second.chip.regs[0x0D] = 0x41;
    // The engine remembers the outputs the board took: they cannot be read back.
    QList<int> remembered;
    QObject::connect(&engine.auxOutputsState(), &BoardOutputs::changed,
                     [&](quint8 outputs) { remembered << outputs; });
    ASSERT_EQ(ports.PortCount(), 2);
    engine.setAuxOutputs(0x30);
    EXPECT_EQ(first.port.dataLatch() & 0x30, 0x30);
    EXPECT_EQ(engine.AuxOutputs(), 0x30);
    EXPECT_THROW(engine.setAuxOutputs(0x41), LinkError);
    EXPECT_EQ(engine.AuxOutputs(), 0x30) << "a refused byte changes nothing";

    ports.setPortIndex(1);
    EXPECT_EQ(quint16(ports.PortAddress()), 0xBC00);
    // The board left behind has its heaters switched off.
    EXPECT_EQ(first.port.dataLatch() & 0x30, 0);
    EXPECT_EQ(engine.AuxOutputs(), 0);
    quint8 value = 0;
    engine.ReadByte(0x5C, 0x0D, value);
    EXPECT_EQ(value, 0x41);

    // The port went away: a new count forgets it and the selection falls back to port 0.
    engine.setAuxOutputs(0x10);
    rig.ports.removeLast();
    EXPECT_EQ(ports.PortCount(), 1);
    EXPECT_EQ(second.port.dataLatch() & 0x30, 0);
    EXPECT_EQ(engine.AuxOutputs(), 0);
    EXPECT_EQ(rig.io->openDescriptors(), 0);
    engine.ReadByte(0x5E, 0x0D, value);
    EXPECT_EQ(value, 0x41);

    engine.setAuxOutputs(0x20);
    EXPECT_EQ(remembered, QList<int>({0x30, 0, 0x10, 0, 0x20}));
    rig.link.reset();
    EXPECT_EQ(first.port.dataLatch() & 0x30, 0);
    EXPECT_EQ(rig.io->openDescriptors(), 0);
}

using enum sim::SimulatedI2cLayout::Adapter;

// The SMBus is offered exactly when the machine has an adapter to put it on, a USB bridge as
// much as a PCI controller; graphics channels do not count. The simulated boards keep theirs.
TEST(LinuxBoard, TheSmbusIsOfferedWhereverThereIsAnAdapter) {
    const struct {
        std::vector<sim::SimulatedI2cLayout::Adapter> plugged;
        const char* build;
    } cases[] = {
        {{}, "0"},
        {{I915Gmbus, I915DpAux}, "0"},
        {{I915Gmbus, Cp2112}, "2222"},
        {{Cp2112, Mcp2221}, "2222"}, // no automatic choice, but there is something to choose
        {{IntelPch}, "2222"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.build);
        QTemporaryDir root;
        sim::SimulatedI2cLayout layout(root.path(), std::make_shared<sim::SimulatedDeviceIo>());
        for (size_t i = 0; i < c.plugged.size(); ++i) {
            layout.plug(c.plugged[i], int(i));
        }
        std::unique_ptr<BoardLink> board = makeLinuxBoard(layout.options());
        EXPECT_EQ(OsVersionInfo(*board).BuildNumber(), QLatin1String(c.build));
        ASSERT_NE(board->smbusAdapterChoice(), nullptr);
    }
    // Asked anew each time: the only bridge unplugged, there is nothing to offer.
    QTemporaryDir root;
    sim::SimulatedI2cLayout layout(root.path(), std::make_shared<sim::SimulatedDeviceIo>());
    layout.plug(Mcp2221, 3);
    std::unique_ptr<BoardLink> board = makeLinuxBoard(layout.options());
    EXPECT_EQ(OsVersionInfo(*board).BuildNumber(), QStringLiteral("2222"));
    layout.unplug(3);
    EXPECT_EQ(OsVersionInfo(*board).BuildNumber(), QStringLiteral("0"));

    ManualClock clock;
    sim::PinLevelSimulatedBoard pinLevel(clock);
    EXPECT_EQ(OsVersionInfo(pinLevel).BuildNumber(), QStringLiteral("2222"));
    EXPECT_EQ(pinLevel.smbusAdapterChoice(), nullptr);
}

// Two bridges and no PCI controller: nothing is chosen until the user chooses; the chosen
// bridge carries the search; unplugged, it fails as removed; plugged back under another number,
// a new scan lists it there and choosing it again works.
TEST(LinuxBoard, TheChosenBridgeCarriesTheSmbusUntilItIsUnplugged) {
    QTemporaryDir root;
    auto io = std::make_shared<sim::SimulatedDeviceIo>();
    sim::SimulatedI2cLayout layout(root.path(), io);
    layout.plug(Cp2112, 6);
    const QString mcp = layout.plug(Mcp2221, 7);
    RegisterFile chip;
    chip.regs[0x0D] = 0x41;
    io->addI2cDevice(mcp, 0x2E, chip);
    std::unique_ptr<BoardLink> board = makeLinuxBoard(layout.options());
    SmbusAdapterChoice& adapters = *board->smbusAdapterChoice();
    EXPECT_TRUE(adapters.chosenAdapter().isEmpty());
    EXPECT_TRUE(adapters.namedAdapter().isEmpty());
    DeviceSearch search(*board);
    SearchFinds finds;
    EXPECT_TRUE(linkError([&] { search.searchSmbus(finds); })
                    .reason()
                    .contains("no SMBus adapter is chosen"));

    SmbusAdapterList list = adapters.scanAdapters();
    ASSERT_EQ(list.adapters.size(), 2);
    EXPECT_EQ(list.automatic, -1);
    adapters.chooseAdapter(list.adapters[1]);
    EXPECT_EQ(adapters.chosenAdapter(), mcp);
    search.searchSmbus(finds);
    EXPECT_EQ(finds.SmbusFinds, QList<int>{0x5C});
    board->setActiveMedium(1);
    EXPECT_EQ(board->description(), mcp);

    layout.unplug(7, EPROTO);
    quint8 value = 0;
    EXPECT_TRUE(linkError([&] { board->smbusLink().ReadByte(0x5C, 0x20, value); })
                    .message()
                    .endsWith("i2c-7 was removed (unplugged, or its driver unloaded); plug it "
                              "back in and search again"));
    EXPECT_EQ(adapters.scanAdapters().adapters.size(), 1);

    const QString back = layout.plug(Mcp2221, 11);
    io->addI2cDevice(back, 0x2E, chip);
    list = adapters.scanAdapters();
    ASSERT_EQ(list.adapters.size(), 2);
    EXPECT_EQ(list.adapters[1].node, back);
    EXPECT_EQ(list.adapters[1].name, QStringLiteral("MCP2221 usb-i2c bridge"));
    adapters.chooseAdapter(list.adapters[1]);
    SearchFinds again;
    search.searchSmbus(again);
    EXPECT_EQ(again.SmbusFinds, QList<int>{0x5C});
    EXPECT_EQ(io->openDescriptors(), 1);
}

TEST(PinLevelSimulatedBoard, TheDeviceSearchFindsBothChipsThroughThePins) {
    ManualClock clock;
    sim::PinLevelSimulatedBoard board(clock);
    BusEngine& engine = board.parallelPortLink().busEngine();
    engine.WriteByte(0x5E, 0x30, 0x05);
    EXPECT_EQ(board.printerPortChip().readRegister(0x30), 0x05);
    const double before = board.printerPortChip().temperature(2);
    engine.setAuxOutputs(0x10);
    clock.advanceMs(60000);
    const double heated = board.printerPortChip().temperature(2);
    EXPECT_GT(heated, before + 5.0);
    engine.setAuxOutputs(0);
    clock.advanceMs(120000);
    EXPECT_LT(board.printerPortChip().temperature(2), heated - 5.0);

    DeviceSearch search(board);
    SearchFinds finds;
    search.searchPrinterPorts(finds);
    search.searchSmbus(finds);
    EXPECT_EQ(finds.ParallelFinds, QList<int>{0x5E});
    EXPECT_EQ(finds.ParallelFindModes, QList<bool>{false});
    EXPECT_EQ(finds.SmbusFinds, QList<int>{0x5C});

    // A chip that stops answering is no longer found, and nothing fails.
    board.printerPortChip().setAnswering(false);
    SearchFinds again;
    search.searchPrinterPorts(again);
    EXPECT_TRUE(again.ParallelFinds.isEmpty());
}

} // namespace
} // namespace qmf::test
