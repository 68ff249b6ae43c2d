// SPDX-License-Identifier: GPL-3.0-or-later
// The i2c-dev SMBus path through simulated device nodes, with every errno class.
#include "boards/linux/I2cDevSmbus.h"

#include "Fixtures.h"
#include "boards/linux/DeviceIo.h"

#include <cerrno>

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
        chip.regs[0x0D] = 0x41;
    }
    quint8 read(quint8 device, quint8 reg = 0x0D) {
        quint8 value = 0x33;
        smbus->ReadByte(device, reg, value);
        return value;
    }

    RegisterFile chip;
    sim::SimulatedDeviceIo io;
    std::unique_ptr<linux_hw::I2cDevSmbus> smbus =
        std::make_unique<linux_hw::I2cDevSmbus>(io, linux_hw::SmbusAdapterInfo{true, Node, {}});
};

TEST_F(SmbusTest, ReadsAndWritesAtTheSevenBitAddress) {
    EXPECT_EQ(read(0x5C), 0x41);
    smbus->WriteByte(0x5C, 0x40, 0x81);
    EXPECT_EQ(chip.regs[0x40], 0x81);
    EXPECT_EQ(read(0x5E), 0xFF); // 5Eh is 2Fh on the wire: nobody there

    // The adapter is opened once and told the target only when it changes.
    read(0x5E, 0x0E);
    read(0x5C, 0x0E);
    EXPECT_EQ(io.calls(Call::Open), 1);
    EXPECT_EQ(io.calls(Call::Functionality), 1);
    EXPECT_EQ(io.calls(Call::SetSlave), 3);
    smbus.reset();
    EXPECT_EQ(io.openDescriptors(), 0);
}

// What the kernel answers, and what reads and writes make of it: a NACK on a read is "no chip
// here" (FFh), every other failure a LinkError naming the transfer, the errno text and its cause.
TEST_F(SmbusTest, EveryErrnoClassIsHandled) {
    const struct {
        Call call;
        int err;
        const char* hint;
    } cases[] = {// Setting the adapter up, which each transfer tries again until it succeeds.
                 {Call::Open, EPERM, "no permission to open /dev/i2c-4"},
                 {Call::Open, ENODEV, "has no device behind it"},
                 {Call::Functionality, ENOTTY, "is not an i2c-dev adapter node"},
                 {Call::SetSlave, EBUSY, "a kernel driver is bound to this address"},
                 {Call::SetSlave, EINVAL, "cannot address the device"},
                 // The transfers.
                 {Call::ReadByteData, ENXIO, "no acknowledge"},
                 {Call::ReadByteData, EREMOTEIO, "no acknowledge"},
                 {Call::ReadByteData, EIO, "no acknowledge"},
                 {Call::ReadByteData, ETIMEDOUT, "holding the bus"},
                 {Call::ReadByteData, EAGAIN, "arbitration"},
                 {Call::ReadByteData, ENODEV, "adapter is gone"},
                 {Call::ReadByteData, EOPNOTSUPP, "cannot do this transfer"},
                 {Call::ReadByteData, EPROTO, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(linux_hw::errnoText(c.err).toStdString());
        const bool transfer = c.call == Call::ReadByteData;
        io.failNext(Node, c.call, c.err);
        quint8 value = 0x33;
        if (transfer && QByteArray(c.hint) == "no acknowledge") {
            smbus->ReadByte(0x5C, 0x0D, value);
            EXPECT_EQ(value, 0xFF);
        } else {
            const QString m = linkError([&] { smbus->ReadByte(0x5C, 0x0D, value); }).message();
            EXPECT_EQ(value, 0x33);
            EXPECT_TRUE(m.startsWith("ReadByte failed on /dev/i2c-4, device 5Ch, register Dh: ") &&
                        m.contains(linux_hw::errnoText(c.err)) && m.contains(c.hint))
                << m.toStdString();
        }
        io.failNext(Node, transfer ? Call::WriteByteData : c.call, c.err);
        const QString m = linkError([&] { smbus->WriteByte(0x5C, 0x60, 0x0A); }).message();
        EXPECT_TRUE(m.startsWith("WriteByte failed on /dev/i2c-4, device 5Ch, register 60h: ") &&
                    m.contains(linux_hw::errnoText(c.err)) && m.contains(c.hint))
            << m.toStdString();
        EXPECT_LE(io.openDescriptors(), 1);
    }
    // The adapter still works, and nothing leaked. Opens: two for each failing open and for
    // ENOTTY, one that lasts until the adapter goes away (ENODEV on a read), and one after each
    // time it went away.
    EXPECT_EQ(read(0x5C), 0x41);
    EXPECT_EQ(io.calls(Call::Open), 9);
    EXPECT_EQ(io.openDescriptors(), 1);
}

// A bridge unplugged between two transfers: whatever the driver answers then, the transfer
// fails saying so, the node is let go, and so do later transfers (another adapter may take the
// number) until the adapter is set again.
TEST_F(SmbusTest, AnUnpluggedAdapterFailsAsRemovedUntilAnotherIsSet) {
    const QString removed = QStringLiteral("the USB bridge /dev/i2c-4 was removed");
    for (int error : {ENODEV, ESHUTDOWN, EPROTO, ETIMEDOUT, EIO, ENXIO}) {
        SCOPED_TRACE(linux_hw::errnoText(error).toStdString());
        sim::SimulatedDeviceIo usb;
        usb.addI2cAdapter(Node);
        usb.addI2cDevice(Node, 0x2E, chip);
        linux_hw::I2cDevSmbus bridge(
            usb, {true, Node, "CP2112 SMBus Bridge on hidraw0", 0, SmbusAdapterKind::UsbBridge});
        quint8 value = 0;
        bridge.ReadByte(0x5C, 0x0D, value);
        ASSERT_EQ(value, 0x41);
        usb.removeNode(Node, error);
        EXPECT_EQ(linkError([&] { bridge.ReadByte(0x5C, 0x20, value); }).message(),
                  "ReadByte failed on /dev/i2c-4, device 5Ch, register 20h: " + removed +
                      " (unplugged, or its driver unloaded); plug it back in and search again");
        EXPECT_EQ(usb.openDescriptors(), 0);
        // Plugged back under the same number: a new device, which only a new choice takes.
        usb.addI2cAdapter(Node);
        usb.addI2cDevice(Node, 0x2E, chip);
        EXPECT_TRUE(
            linkError([&] { bridge.WriteByte(0x5C, 0x40, 1); }).reason().startsWith(removed));
        EXPECT_TRUE(
            linkError([&] { bridge.ReadByte(0x5E, 0x0D, value); }).reason().startsWith(removed));
        EXPECT_EQ(usb.calls(Call::Open), 1);
        bridge.setAdapter(
            {true, Node, "CP2112 SMBus Bridge on hidraw1", 0, SmbusAdapterKind::UsbBridge});
        bridge.ReadByte(0x5C, 0x0D, value);
        EXPECT_EQ(value, 0x41);
    }
    // A write that finds the adapter gone says the same.
    EXPECT_EQ(read(0x5C), 0x41);
    io.removeNode(Node, ENODEV);
    EXPECT_TRUE(linkError([&] { smbus->WriteByte(0x5C, 0x40, 1); })
                    .reason()
                    .startsWith("the adapter /dev/i2c-4 was removed"));
}

TEST_F(SmbusTest, BadAddressesAndAdaptersWithoutByteDataAreRefused) {
    EXPECT_TRUE(linkError([&] { read(0x5D); }).reason().contains("8-bit form"));
    EXPECT_TRUE(linkError([&] { smbus->setTargetAddress(0x5B); }).reason().contains("8-bit form"));
    EXPECT_EQ(io.calls(Call::Open), 0);

    sim::SimulatedDeviceIo readOnly;
    readOnly.addI2cAdapter(Node, I2C_FUNC_SMBUS_QUICK | I2C_FUNC_SMBUS_READ_BYTE_DATA);
    linux_hw::I2cDevSmbus limited(readOnly, linux_hw::SmbusAdapterInfo{true, Node, {}});
    const LinkError e = linkError([&] { limited.WriteByte(0x5C, 0, 0); });
    EXPECT_TRUE(e.reason().contains("does not offer SMBus byte-data")) << e.message().toStdString();
    EXPECT_EQ(readOnly.openDescriptors(), 0);
}

} // namespace
} // namespace qmf::test
