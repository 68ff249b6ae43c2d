// SPDX-License-Identifier: GPL-3.0-or-later
// The bit-banged engine against the pin-level port and target, for both board wirings.
#include "PinLevelRig.h"
#include "boards/linux/BitBangBus.h"
#include "boards/linux/BitBangBusEngine.h"
#include "core/link/LinkErrors.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

using linux_hw::AlternateMapping;
using linux_hw::StandardMapping;

class EngineTest : public ::testing::TestWithParam<bool> {
protected:
    EngineTest() : rig(linux_hw::pinMapping(GetParam())) {
        rig.engine().setAlternateMode(GetParam());
    }

    // The engine's reason text of a LinkError thrown by `call`, or "" when nothing was thrown.
    template <typename F> QString failure(F&& call) {
        try {
            call();
        } catch (const LinkError& e) {
            return e.message();
        }
        return {};
    }

    // Declared before the rig: the rig writes the port once more as it goes.
    QList<quint8> dataWrites;
    PinLevelRig rig;
};

INSTANTIATE_TEST_SUITE_P(BothWirings, EngineTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Alternate" : "Standard"; });

TEST_P(EngineTest, EveryRegisterIsWrittenAndReadBack) {
    BusEngine& engine = rig.engine();
    for (int reg = 0; reg < 256; ++reg) {
        const quint8 value = quint8(reg ^ 0xA5);
        engine.WriteByte(0x5E, quint8(reg), value);
        ASSERT_EQ(rig.chip.regs[reg], value) << "register " << reg;
    }
    for (int reg = 0; reg < 256; ++reg) {
        rig.chip.regs[reg] = quint8(~reg);
        quint8 read = 0;
        engine.ReadByte(0x5E, quint8(reg), read);
        ASSERT_EQ(read, quint8(~reg)) << "register " << reg;
    }
    // Each transfer ended with a stop and the lines were left released.
    EXPECT_EQ(rig.target.stops(), 512);
    EXPECT_TRUE(rig.port.sclLine());
    EXPECT_TRUE(rig.port.sdaLine());
}

TEST_P(EngineTest, AbsentOrSilentDeviceReadsFFAndWriteFails) {
    BusEngine& engine = rig.engine();
    rig.chip.regs[0x0D] = 0x41;
    quint8 value = 0;
    engine.ReadByte(0x50, 0x0D, value);
    EXPECT_EQ(value, 0xFF);
    EXPECT_EQ(rig.chip.reads, 0);

    EXPECT_TRUE(failure([&] { engine.WriteByte(0x50, 0x10, 1); }).contains("no acknowledge"));
    EXPECT_EQ(rig.chip.writes, 0);

    rig.chip.answers = false;
    value = 0;
    engine.ReadByte(0x5E, 0x0D, value);
    EXPECT_EQ(value, 0xFF);

    rig.chip.answers = true;
    engine.ReadByte(0x5E, 0x0D, value);
    EXPECT_EQ(value, 0x41);
}

TEST_P(EngineTest, OtherWiringFindsNoChipAndRaisesNothing) {
    rig.chip.regs[0x0D] = 0x41;
    rig.engine().setAlternateMode(!GetParam());
    quint8 value = 0;
    rig.engine().ReadByte(0x5E, 0x0D, value);
    EXPECT_EQ(value, 0xFF);
    EXPECT_EQ(rig.chip.reads, 0);
    EXPECT_TRUE(rig.engine().AlternateMode() != GetParam());
}

TEST_P(EngineTest, WaitsForAStretchedClockAndGivesUpBefore25Ms) {
    BusEngine& engine = rig.engine();
    rig.chip.regs[0x20] = 0x7C;
    rig.target.setStretchUs(3000);
    const qint64 before = rig.timing->nowUs();
    quint8 value = 0;
    engine.ReadByte(0x5E, 0x20, value);
    EXPECT_EQ(value, 0x7C);
    // Three acknowledges from the target (address, register, address for the read).
    EXPECT_GE(rig.timing->nowUs() - before, 3 * 3000);
    engine.WriteByte(0x5E, 0x21, 0x33);
    EXPECT_EQ(rig.chip.regs[0x21], 0x33);

    rig.target.setStretchUs(40000);
    const qint64 start = rig.timing->nowUs();
    const QString message = failure([&] { engine.ReadByte(0x5E, 0x20, value); });
    EXPECT_TRUE(message.contains("SCL held low for more than 20 ms")) << message.toStdString();
    EXPECT_LT(rig.timing->nowUs() - start, 25000);

    // Once the device lets go, the bus works again.
    rig.target.setStretchUs(0);
    rig.timing->advanceUs(40000);
    value = 0;
    engine.ReadByte(0x5E, 0x20, value);
    EXPECT_EQ(value, 0x7C);
}

TEST_P(EngineTest, RecoversABusLeftStuckByADevice) {
    BusEngine& engine = rig.engine();
    rig.chip.regs[0x3E] = 0x41;
    for (int clocks : {1, 5, 9}) {
        rig.target.jamSdaLow(clocks);
        const int stops = rig.target.stops();
        quint8 value = 0;
        engine.ReadByte(0x5E, 0x3E, value);
        EXPECT_EQ(value, 0x41) << clocks << " clocks";
        // The recovery's stop and the transfer's own.
        EXPECT_EQ(rig.target.stops(), stops + 2) << clocks << " clocks";
    }
}

TEST_P(EngineTest, ReportsABusThatStaysStuck) {
    BusEngine& engine = rig.engine();
    quint8 value = 0x12;
    rig.port.setSdaShorted(true);
    QString message = failure([&] { engine.ReadByte(0x5E, 0x00, value); });
    EXPECT_TRUE(message.contains("stuck: SDA stays low after nine clocks and a stop"))
        << message.toStdString();
    EXPECT_TRUE(message.contains("/dev/parport0, device 5Eh, register 0h"))
        << message.toStdString();
    EXPECT_EQ(value, 0x12);
    rig.port.setSdaShorted(false);

    rig.port.setSclShorted(true);
    message = failure([&] { engine.WriteByte(0x5E, 0x00, 1); });
    EXPECT_TRUE(message.contains("SCL held low") && message.contains("stuck"))
        << message.toStdString();
    rig.port.setSclShorted(false);

    rig.chip.regs[0] = 0x99;
    engine.ReadByte(0x5E, 0x00, value);
    EXPECT_EQ(value, 0x99);
}

TEST_P(EngineTest, DetectsLostArbitrationAndRecoversAfterwards) {
    BusEngine& engine = rig.engine();
    rig.chip.regs[0x40] = 0x01;
    // After the idle check and the start (three operations), a confused device pulls SDA low
    // for a few clocks while the master sends the address 5Eh = 0101 1110b: its second bit is
    // a 1 that the master cannot put on the bus.
    const quint64 base = rig.port.operations();
    rig.port.onOperation = [&](quint64 count) {
        if (count == base + 3) {
            rig.target.jamSdaLow(4);
        }
    };
    quint8 value = 0;
    const QString message = failure([&] { engine.ReadByte(0x5E, 0x40, value); });
    EXPECT_TRUE(message.contains("arbitration lost")) << message.toStdString();
    rig.port.onOperation = nullptr;

    engine.ReadByte(0x5E, 0x40, value);
    EXPECT_EQ(value, 0x01);
}

TEST_P(EngineTest, RefusesARepeatedStartWhileADeviceHoldsTheDataLine) {
    BusEngine& engine = rig.engine();
    rig.chip.regs[0x41] = 0x02;
    // Right after the register number is acknowledged, the device keeps SDA low.
    bool jammed = false;
    rig.port.onOperation = [&](quint64) {
        if (!jammed && rig.target.acknowledgements() == 2) {
            jammed = true;
            rig.target.jamSdaLow(3);
        }
    };
    quint8 value = 0;
    const QString message = failure([&] { engine.ReadByte(0x5E, 0x41, value); });
    EXPECT_TRUE(message.contains("SDA was low before the repeated start")) << message.toStdString();
    EXPECT_EQ(value, 0);
    rig.port.onOperation = nullptr;

    engine.ReadByte(0x5E, 0x41, value);
    EXPECT_EQ(value, 0x02);
}

TEST_P(EngineTest, BoardOutputsSurviveEveryTransfer) {
    BusEngine& engine = rig.engine();
    rig.port.onDataWrite = [&](quint8 data) { dataWrites.append(data); };

    engine.setAuxOutputsPrepare(0x30);
    engine.setAuxOutputs(0x30);
    ASSERT_FALSE(dataWrites.isEmpty());
    EXPECT_EQ(dataWrites.last(), rig.port.dataLatch());
    EXPECT_EQ(rig.port.dataLatch() & 0x30, 0x30);
    dataWrites.clear();
    EXPECT_TRUE(rig.port.sclLine() && rig.port.sdaLine());

    engine.WriteByte(0x5E, 0x61, 0x0F);
    quint8 value = 0;
    engine.ReadByte(0x5E, 0x61, value);
    EXPECT_EQ(value, 0x0F);
    // The standard wiring changes SDA and SCL on the data register, the alternate one not at all.
    EXPECT_EQ(dataWrites.isEmpty(), GetParam());
    for (quint8 data : dataWrites) {
        EXPECT_EQ(data & 0x30, 0x30) << "data write " << int(data);
    }

    engine.setAuxOutputs(0x20);
    EXPECT_EQ(rig.port.dataLatch() & 0x30, 0x20);
    const QString message = failure([&] { engine.setAuxOutputs(0x41); });
    EXPECT_TRUE(message.contains("41h sets bits other than the board outputs"))
        << message.toStdString();
    EXPECT_EQ(rig.port.dataLatch() & 0x30, 0x20);
    engine.setAuxOutputs(0);
    EXPECT_EQ(rig.port.dataLatch() & 0x30, 0);
}

TEST_P(EngineTest, TransferSettingIsTheHalfClockPeriod) {
    BusEngine& engine = rig.engine();
    EXPECT_EQ(engine.TransferSetting(), 10);
    for (qint16 bad : {qint16(-1), qint16(0), qint16(4), qint16(51), qint16(1000)}) {
        EXPECT_TRUE(failure([&] { engine.setTransferSetting(bad); }).contains("5 to 50")) << bad;
        EXPECT_EQ(engine.TransferSetting(), 10);
    }

    auto busTimeOfRead = [&](qint16 setting) {
        engine.setTransferSetting(setting);
        const qint64 before = rig.timing->nowUs();
        quint8 value = 0;
        engine.ReadByte(0x5E, 0x0D, value);
        return rig.timing->nowUs() - before;
    };
    const qint64 at5 = busTimeOfRead(5);
    const qint64 at50 = busTimeOfRead(50);
    EXPECT_EQ(engine.TransferSetting(), 50);
    EXPECT_EQ(at50, 10 * at5);
    // 36 clocks of two half periods each, at least.
    EXPECT_GE(at5, 36 * 2 * 5);
}

TEST_P(EngineTest, RefusesAnAddressNotInEightBitForm) {
    BusEngine& engine = rig.engine();
    const quint64 before = rig.port.operations();
    quint8 value = 0;
    EXPECT_TRUE(failure([&] { engine.ReadByte(0x5F, 0, value); }).contains("8-bit form"));
    EXPECT_TRUE(failure([&] { engine.WriteByte(0xBD, 0, 0); }).contains("8-bit form"));
    EXPECT_TRUE(failure([&] { engine.setTargetAddress(0x01); }).contains("8-bit form"));
    EXPECT_EQ(rig.port.operations(), before);
}

TEST_P(EngineTest, PortFailureNamesThePortAndTheCall) {
    BusEngine& engine = rig.engine();
    rig.chip.regs[5] = 0x55;
    quint8 value = 0;
    engine.ReadByte(0x5E, 5, value);
    rig.io->failNext(PinLevelRig::Node, sim::SimulatedDeviceIo::Call::ReadStatus, EIO);
    value = 0;
    try {
        engine.ReadByte(0x5E, 5, value);
        FAIL() << "no error";
    } catch (const LinkError& e) {
        EXPECT_EQ(e.operation(), "ReadByte");
        EXPECT_EQ(e.device(), "/dev/parport0");
        EXPECT_EQ(e.deviceAddress(), 0x5E);
        EXPECT_EQ(e.reg(), 5);
        EXPECT_TRUE(e.reason().contains("PPRSTATUS")) << e.reason().toStdString();
        EXPECT_TRUE(e.reason().contains(QString::fromLocal8Bit(strerror(EIO))));
    }
    EXPECT_EQ(value, 0);
    engine.ReadByte(0x5E, 5, value);
    EXPECT_EQ(value, 0x55);
}

} // namespace
} // namespace qmf::test
