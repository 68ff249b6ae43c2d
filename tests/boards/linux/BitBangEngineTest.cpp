// SPDX-License-Identifier: GPL-3.0-or-later
// The bit-banged engine against the pin-level port and target, for both board wirings.
#include "Fixtures.h"

#include <cerrno>
#include <functional>

namespace qmf::test {
namespace {

class EngineTest : public ::testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(BothWirings, EngineTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Alternate" : "Standard"; });

TEST_P(EngineTest, EveryRegisterRoundTrips) {
    PortsRig rig(GetParam());
    SimBoard& board = rig.boards[0];
    rig.engine().setTransferSetting(50);
    rig.engine().setAuxOutputs(0); // opens the port, which releases the lines
    board.port.resetOperations();
    const qint64 start = rig.timing->nowUs();
    for (int reg = 0; reg < 256; ++reg) {
        rig.engine().WriteByte(0x5E, quint8(reg), quint8(reg ^ 0xA5));
        ASSERT_EQ(board.chip.regs[reg], quint8(reg ^ 0xA5)) << "register " << reg;
        board.chip.regs[reg] = quint8(~reg);
        quint8 value = 0;
        rig.engine().ReadByte(0x5E, quint8(reg), value);
        ASSERT_EQ(value, quint8(~reg)) << "register " << reg;
    }
    // Each transfer ended with a stop and left the lines released. A write takes three bytes of
    // nine clocks and a stop, a read four bytes, a repeated start and a stop; each clock lasts two
    // half periods (TransferSetting) at least.
    EXPECT_EQ(board.target.stops(), 512);
    EXPECT_TRUE(board.port.sclLine() && board.port.sdaLine());
    EXPECT_EQ(board.port.sclClocks(), 256u * (28 + 38));
    EXPECT_GE(rig.timing->nowUs() - start, qint64(board.port.sclClocks()) * 2 * 50);
}

// Reads where no chip answers give FFh; faults fail the transfer with a LinkError naming them; both
// end well within the SMBus timeout, the heaters stay on, and the bus works again once the
// condition is gone.
TEST_P(EngineTest, AbsentChipsAndBusFaultsEndCleanly) {
    using Rig = PortsRig;
    const struct {
        const char* what;
        std::function<void(Rig&)> inject;
        bool write;
        quint8 device, value;
        QString failure = {};
        int stops = 0; // the stops the target sees, where it matters
    } cases[] = {
        {"nobody at the address", [](Rig&) {}, false, 0x50, 0xFF},
        {"the other wiring",
         [](Rig& r) { r.engine().setAlternateMode(!r.engine().AlternateMode()); }, false, 0x5E,
         0xFF},
        {"a stretched clock", [](Rig& r) { r.boards[0].target.setStretchUs(3000); }, false, 0x5E,
         0x41},
        // A device cut off while sending holds SDA until it has clocked out its byte: nine clocks
        // and a stop set it free before the transfer's own start and stop.
        {"a device left sending", [](Rig& r) { r.boards[0].target.jamSdaLow(9); }, false, 0x5E,
         0x41, "", 2},
        {"a write nobody acknowledges", [](Rig&) {}, true, 0x50, 0x12,
         "no acknowledge from the device"},
        {"a clock stretched too long", [](Rig& r) { r.boards[0].target.setStretchUs(40000); },
         false, 0x5E, 0x12, "SCL held low for more than 20 ms by a device"},
        {"SDA shorted", [](Rig& r) { r.boards[0].port.setSdaShorted(true); }, false, 0x5E, 0x12,
         "stuck: SDA stays low after nine clocks and a stop"},
        {"SCL shorted", [](Rig& r) { r.boards[0].port.setSclShorted(true); }, true, 0x5E, 0x12,
         "with the bus idle; the bus is stuck"},
        // After the idle check and the start (three operations) a confused device pulls SDA low
        // while the master sends 5Eh = 0101 1110b, whose second bit is a 1.
        {"another master",
         [](Rig& r) {
             const quint64 start = r.boards[0].port.operations() + 3;
             r.boards[0].port.onOperation = [&r, start](quint64 count) {
                 if (count == start) {
                     r.boards[0].target.jamSdaLow(4);
                 }
             };
         },
         false, 0x5E, 0x12, "arbitration lost"},
        // Right after the register number is acknowledged, the device keeps SDA low.
        {"SDA held before the repeated start",
         [](Rig& r) {
             r.boards[0].port.onOperation = [&r, jammed = false](quint64) mutable {
                 if (!jammed && r.boards[0].target.acknowledgements() == 2) {
                     jammed = true;
                     r.boards[0].target.jamSdaLow(3);
                 }
             };
         },
         false, 0x5E, 0x12, "SDA was low before the repeated start"},
        {"a failing status read",
         [](Rig& r) {
             r.io->failNext("/dev/parport0", sim::SimulatedDeviceIo::Call::ReadStatus, EIO);
         },
         false, 0x5E, 0x12, "PPRSTATUS on /dev/parport0 failed: " + linux_hw::errnoText(EIO)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig(GetParam());
        SimBoard& board = rig.boards[0];
        board.chip.regs[0x0D] = 0x41;
        rig.engine().setAuxOutputs(0x30);
        c.inject(rig);
        quint8 value = 0x12;
        const qint64 start = rig.timing->nowUs();
        const auto transfer = [&] {
            if (c.write) {
                rig.engine().WriteByte(c.device, 0x0D, 0x99);
            } else {
                rig.engine().ReadByte(c.device, 0x0D, value);
            }
        };
        if (c.failure.isEmpty()) {
            transfer();
        } else {
            const LinkError e = linkError(transfer);
            EXPECT_TRUE(e.reason().contains(c.failure)) << e.message().toStdString();
            EXPECT_EQ(e.operation(), c.write ? "WriteByte" : "ReadByte");
            EXPECT_EQ(e.device(), "/dev/parport0");
            EXPECT_EQ(e.deviceAddress(), c.device);
            EXPECT_EQ(e.reg(), 0x0D);
        }
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(board.chip.regs[0x0D], 0x41);
        EXPECT_LT(rig.timing->nowUs() - start, 25000);
        EXPECT_TRUE(!c.stops || board.target.stops() == c.stops) << board.target.stops();

        rig.engine().setAlternateMode(GetParam());
        board.target.setStretchUs(0);
        rig.timing->advanceUs(40000);
        board.port.setSdaShorted(false);
        board.port.setSclShorted(false);
        board.port.onOperation = nullptr;
        rig.engine().ReadByte(0x5E, 0x0D, value);
        EXPECT_EQ(value, 0x41);
        EXPECT_EQ(board.port.dataLatch() & 0x30, 0x30);
    }
}

TEST_P(EngineTest, BadArgumentsAreRefusedBeforeThePortIsTouched) {
    PortsRig rig(GetParam());
    BusEngine& engine = rig.engine();
    quint8 value = 0;
    const std::pair<std::function<void()>, const char*> calls[] = {
        {[&] { engine.ReadByte(0x5F, 0, value); }, "8-bit form"},
        {[&] { engine.WriteByte(0xBD, 0, 0); }, "8-bit form"},
        {[&] { engine.setTargetAddress(0x01); }, "8-bit form"},
        {[&] { engine.setAuxOutputs(0x41); }, "41h sets bits other than the board outputs"},
        {[&] { engine.setTransferSetting(4); }, "5 to 50"},
        {[&] { engine.setTransferSetting(51); }, "5 to 50"},
    };
    for (const auto& [call, reason] : calls) {
        EXPECT_TRUE(linkError(call).reason().contains(QLatin1String(reason))) << reason;
    }
    EXPECT_EQ(engine.TransferSetting(), 10);
    EXPECT_EQ(rig.boards[0].port.operations(), 0u);
}

} // namespace
} // namespace qmf::test
