// SPDX-License-Identifier: GPL-3.0-or-later
// The i2c-dev SMBus path through simulated device nodes, with every errno class.
#include "boards/linux/I2cDevSmbus.h"

#include "PinLevelRig.h"
#include "boards/sim/SimulatedDeviceIo.h"
#include "core/link/LinkErrors.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

extern "C" {
#include <linux/i2c.h>
}

namespace qmf::test {
namespace {

using Call = sim::SimulatedDeviceIo::Call;
const QString Node = QStringLiteral("/dev/i2c-4");

class SmbusTest : public ::testing::Test {
protected:
    SmbusTest() {
        io.addI2cAdapter(Node);
        io.addI2cDevice(Node, 0x2E, chip); // 5Ch in 8-bit form
        linux_hw::SmbusAdapterInfo adapter;
        adapter.found = true;
        adapter.node = Node;
        adapter.baseAddress = 0xEFA0;
        smbus = std::make_unique<linux_hw::I2cDevSmbus>(io, adapter);
    }

    // The LinkError thrown by `call`; fails the test when nothing was thrown.
    template <typename F> LinkError error(F&& call) {
        try {
            call();
        } catch (const LinkError& e) {
            return e;
        }
        ADD_FAILURE() << "no LinkError";
        return LinkError({}, {}, -1, -1, {});
    }

    static QString text(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

    RegisterFile chip;
    sim::SimulatedDeviceIo io;
    std::unique_ptr<linux_hw::I2cDevSmbus> smbus;
};

TEST_F(SmbusTest, ReadsAndWritesAtTheSevenBitAddress) {
    EXPECT_EQ(smbus->BaseAddress(), 0xEFA0);
    chip.regs[0x0D] = 0x41;
    quint8 value = 0;
    smbus->ReadByte(0x5C, 0x0D, value);
    EXPECT_EQ(value, 0x41);
    smbus->WriteByte(0x5C, 0x40, 0x81);
    EXPECT_EQ(chip.regs[0x40], 0x81);

    // 5Eh is 2Fh on the wire: nobody there.
    smbus->ReadByte(0x5E, 0x0D, value);
    EXPECT_EQ(value, 0xFF);

    // The adapter is opened once and told the target only when it changes.
    smbus->ReadByte(0x5E, 0x0E, value);
    smbus->setTargetAddress(0x5C);
    EXPECT_EQ(smbus->targetAddress(), 0x5C);
    smbus->ReadByte(0x5C, 0x0E, value);
    EXPECT_EQ(io.calls(Call::Open), 1);
    EXPECT_EQ(io.calls(Call::Functionality), 1);
    EXPECT_EQ(io.calls(Call::SetSlave), 3);
    EXPECT_EQ(io.openDescriptors(), 1);
    smbus.reset();
    EXPECT_EQ(io.openDescriptors(), 0);
}

TEST_F(SmbusTest, ReadWithoutAcknowledgeIsNoChipOtherFailuresAreErrors) {
    chip.regs[0x0D] = 0x41;
    for (int err : {ENXIO, EREMOTEIO, EIO}) {
        io.failNext(Node, Call::ReadByteData, err);
        quint8 value = 0;
        smbus->ReadByte(0x5C, 0x0D, value);
        EXPECT_EQ(value, 0xFF) << text(err).toStdString();
    }
    const struct {
        int err;
        const char* hint;
    } failures[] = {{ETIMEDOUT, "holding the bus"},
                    {EAGAIN, "arbitration"},
                    {ENODEV, "adapter is gone"},
                    {EOPNOTSUPP, "cannot do this transfer"},
                    {EPROTO, ""},
                    {EBADMSG, ""}};
    for (const auto& f : failures) {
        io.failNext(Node, Call::ReadByteData, f.err);
        quint8 value = 0x33;
        const LinkError e = error([&] { smbus->ReadByte(0x5C, 0x0D, value); });
        EXPECT_EQ(value, 0x33);
        EXPECT_EQ(e.operation(), "ReadByte");
        EXPECT_EQ(e.device(), Node);
        EXPECT_EQ(e.deviceAddress(), 0x5C);
        EXPECT_EQ(e.reg(), 0x0D);
        EXPECT_TRUE(e.reason().contains(text(f.err))) << e.reason().toStdString();
        EXPECT_TRUE(e.reason().contains(QLatin1String(f.hint))) << e.reason().toStdString();
    }
    // After the adapter went away it is opened afresh.
    EXPECT_EQ(io.calls(Call::Open), 2);
    quint8 value = 0;
    smbus->ReadByte(0x5C, 0x0D, value);
    EXPECT_EQ(value, 0x41);
}

TEST_F(SmbusTest, EveryWriteFailureIsAnError) {
    for (int err : {ENXIO, EREMOTEIO, EIO, ETIMEDOUT, EAGAIN, EOPNOTSUPP}) {
        io.failNext(Node, Call::WriteByteData, err);
        const LinkError e = error([&] { smbus->WriteByte(0x5C, 0x60, 0x0A); });
        EXPECT_EQ(e.operation(), "WriteByte");
        EXPECT_EQ(e.deviceAddress(), 0x5C);
        EXPECT_EQ(e.reg(), 0x60);
        EXPECT_TRUE(e.reason().contains(text(err))) << e.reason().toStdString();
        const bool nack = err == ENXIO || err == EREMOTEIO || err == EIO;
        EXPECT_EQ(e.reason().contains("no acknowledge"), nack) << e.reason().toStdString();
    }
    EXPECT_EQ(chip.writes, 0);
    // A write to an address where nobody answers.
    EXPECT_TRUE(
        error([&] { smbus->WriteByte(0x50, 0x60, 1); }).reason().contains("no acknowledge"));
}

TEST_F(SmbusTest, SetupFailuresSayWhatIsWrong) {
    const struct {
        Call call;
        int err;
        const char* expected;
    } cases[] = {
        {Call::Open, ENOENT, "/dev/i2c-4 does not exist"},
        {Call::Open, ENOENT, "sudo modprobe i2c-dev"},
        {Call::Open, EACCES, "no permission to open /dev/i2c-4"},
        {Call::Open, EACCES, "sudo usermod -aG i2c $USER"},
        {Call::Open, EPERM, "must belong to group i2c"},
        {Call::Open, ENODEV, "has no device behind it"},
        {Call::Functionality, ENOTTY, "is not an i2c-dev adapter node"},
        {Call::SetSlave, EBUSY, "a kernel driver is bound to this address"},
        {Call::SetSlave, EINVAL, "cannot address the device"},
    };
    for (const auto& c : cases) {
        io.failNext(Node, c.call, c.err);
        const LinkError e = error([&] {
            quint8 value = 0;
            smbus->ReadByte(0x5C, 0x0D, value);
        });
        EXPECT_TRUE(e.message().contains(QLatin1String(c.expected))) << e.message().toStdString();
        EXPECT_TRUE(e.reason().contains(text(c.err))) << e.message().toStdString();
        EXPECT_EQ(e.device(), Node);
        EXPECT_LE(io.openDescriptors(), 1);
    }
    // The descriptors of failed opens were closed; the adapter still works afterwards.
    quint8 value = 0;
    chip.regs[1] = 7;
    smbus->ReadByte(0x5C, 1, value);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(io.openDescriptors(), 1);
}

TEST_F(SmbusTest, AdapterWithoutByteDataTransfersIsRefused) {
    sim::SimulatedDeviceIo quickOnly;
    quickOnly.addI2cAdapter(Node, I2C_FUNC_SMBUS_QUICK | I2C_FUNC_SMBUS_READ_BYTE_DATA);
    linux_hw::SmbusAdapterInfo adapter;
    adapter.found = true;
    adapter.node = Node;
    linux_hw::I2cDevSmbus limited(quickOnly, adapter);
    const LinkError e = error([&] { limited.WriteByte(0x5C, 0, 0); });
    EXPECT_TRUE(e.reason().contains("does not offer SMBus byte-data")) << e.message().toStdString();
    EXPECT_EQ(quickOnly.openDescriptors(), 0);
}

TEST_F(SmbusTest, NoAdapterAndBadAddressesAreRefusedBeforeAnyCall) {
    linux_hw::I2cDevSmbus none(io, linux_hw::SmbusAdapterInfo{});
    EXPECT_FALSE(none.available());
    EXPECT_EQ(none.BaseAddress(), 0);
    quint8 value = 0;
    const LinkError e = error([&] { none.ReadByte(0x5C, 0x0D, value); });
    EXPECT_EQ(e.device(), "SMBus");
    EXPECT_TRUE(e.reason().contains("no SMBus adapter")) << e.message().toStdString();

    EXPECT_TRUE(error([&] { smbus->ReadByte(0x5D, 0, value); }).reason().contains("8-bit form"));
    EXPECT_TRUE(error([&] { smbus->setTargetAddress(0x5B); }).reason().contains("8-bit form"));
    EXPECT_EQ(io.calls(Call::Open), 0);
}

} // namespace
} // namespace qmf::test
