// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the SMBus adapter and the printer ports in fixture trees of /dev, /sys and /proc.
#include "FixtureTree.h"
#include "boards/linux/PrinterPortScan.h"
#include "boards/linux/SmbusAdapterScan.h"

#include <gtest/gtest.h>

namespace qmf::test {
namespace {

using linux_hw::findSmbusAdapter;
using linux_hw::scanPrinterPorts;

// An adapter as sysfs shows it: /sys/bus/i2c/devices/i2c-N links into the directory of the PCI
// device it belongs to, which holds the device's class and resources.
void addAdapter(const FixtureTree& tree, int number, const QByteArray& name,
                const QByteArray& pciClass, const QByteArray& resources = {}) {
    const QString pci =
        QStringLiteral("sys/devices/pci0000:00/0000:00:%1.0").arg(number, 2, 10, QLatin1Char('0'));
    const QString adapter = QStringLiteral("%1/i2c-%2").arg(pci).arg(number);
    tree.write(adapter + "/name", name + '\n');
    if (!pciClass.isEmpty()) {
        tree.write(pci + "/class", pciClass + '\n');
    }
    if (!resources.isEmpty()) {
        tree.write(pci + "/resource", resources);
    }
    tree.link(QStringLiteral("sys/bus/i2c/devices/i2c-%1").arg(number), adapter);
}

const QByteArray SmbusResources = "0x000000006001a000 0x000000006001a0ff 0x0000000000140204\n"
                                  "0x0000000000000000 0x0000000000000000 0x0000000000000000\n"
                                  "0x000000000000efa0 0x000000000000efbf 0x0000000000040101\n";

TEST(SmbusAdapterScan, ChoosesTheFirstSmbusHostControllerAndItsIoBase) {
    FixtureTree tree;
    addAdapter(tree, 0, "i915 gmbus dpb", "0x030000");
    addAdapter(tree, 1, "AUX B/DDI B/PHY B", "0x030000");
    addAdapter(tree, 7, "SMBus I801 adapter at efa0", "0x0c0500", SmbusResources);
    addAdapter(tree, 9, "SMBus second controller at 0b00", "0x0c0500");

    const linux_hw::SmbusAdapterInfo info = findSmbusAdapter(tree.options());
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.node, tree.path("dev/i2c-7"));
    EXPECT_EQ(info.name, "SMBus I801 adapter at efa0");
    EXPECT_EQ(info.baseAddress, 0xEFA0);
}

TEST(SmbusAdapterScan, FallsBackToTheNameAndItsAddress) {
    const struct {
        QByteArray name;
        bool found;
        qint32 base;
    } cases[] = {
        {"SMBus PIIX4 adapter port 0 at 0b00", true, 0x0B00},
        {"smbus bridge", true, 0},
        {"DPDDC-A", false, 0},
    };
    for (const auto& c : cases) {
        FixtureTree tree;
        addAdapter(tree, 2, "i915 gmbus dpc", "0x030000");
        addAdapter(tree, 3, c.name, {});
        const linux_hw::SmbusAdapterInfo info = findSmbusAdapter(tree.options());
        EXPECT_EQ(info.found, c.found) << c.name.constData();
        EXPECT_EQ(info.node, c.found ? tree.path("dev/i2c-3") : QString()) << c.name.constData();
        EXPECT_EQ(info.baseAddress, c.base) << c.name.constData();
    }
}

TEST(SmbusAdapterScan, ReadsTheCompatibilityClassDirectoryToo) {
    FixtureTree tree;
    tree.write("sys/class/i2c-adapter/i2c-5/name", "SMBus nForce2 adapter at 4d00\n");
    tree.write("sys/class/i2c-adapter/i2c-5/device/class", "0x0c0500\n");
    tree.write("sys/class/i2c-adapter/i2c-5/device/resource",
               "0x0000000000004d00 0x0000000000004d3f 0x0000000000040101\n");
    const linux_hw::SmbusAdapterInfo info = findSmbusAdapter(tree.options());
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.node, tree.path("dev/i2c-5"));
    EXPECT_EQ(info.baseAddress, 0x4D00);
}

TEST(SmbusAdapterScan, TheNamedAdapterWinsAndIsDescribedWhenKnown) {
    FixtureTree tree;
    addAdapter(tree, 7, "SMBus I801 adapter at efa0", "0x0c0500", SmbusResources);
    addAdapter(tree, 8, "i2c-tiny-usb at bus 001 device 004", {});
    linux_hw::LinuxBoardOptions options = tree.options();

    options.smbusDevice = QStringLiteral("/dev/i2c-8");
    linux_hw::SmbusAdapterInfo info = findSmbusAdapter(options);
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.node, "/dev/i2c-8");
    EXPECT_EQ(info.name, "i2c-tiny-usb at bus 001 device 004");
    EXPECT_EQ(info.baseAddress, 0);

    options.smbusDevice = QStringLiteral("/dev/i2c-7");
    EXPECT_EQ(findSmbusAdapter(options).baseAddress, 0xEFA0);

    // A name the system does not know is still the user's choice; opening it will say more.
    options.smbusDevice = QStringLiteral("/dev/my-bus");
    info = findSmbusAdapter(options);
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.node, "/dev/my-bus");
    EXPECT_EQ(info.baseAddress, 0);
}

TEST(SmbusAdapterScan, AnEmptyMachineHasNone) {
    FixtureTree tree;
    EXPECT_FALSE(findSmbusAdapter(tree.options()).found);
}

TEST(PrinterPortScan, ListsEveryKnownPortInNumberOrderWithItsAddress) {
    FixtureTree tree;
    tree.write("dev/parport0", {});
    tree.write("dev/parport1", {});
    tree.write("dev/parportX", {});
    tree.write("dev/lp0", {});
    tree.write("proc/sys/dev/parport/parport0/base-addr", "888\t1912\n");
    tree.write("proc/sys/dev/parport/parport1/base-addr", "53248\t53256\n");
    // ppdev not loaded for this one: the driver knows it, the node is missing.
    tree.write("proc/sys/dev/parport/parport2/base-addr", "632\t1656\n");
    tree.write("proc/sys/dev/parport/default/timeslice", "200\n");
    // Known to sysfs only, without an address.
    QDir().mkpath(tree.path("sys/bus/parport/devices/parport12"));

    const QList<linux_hw::PrinterPortInfo> ports = scanPrinterPorts(tree.options());
    ASSERT_EQ(ports.size(), 4);
    const QString dev = tree.path("dev/");
    EXPECT_EQ(ports[0].node, dev + "parport0");
    EXPECT_EQ(ports[0].address, 0x378u);
    EXPECT_EQ(ports[1].node, dev + "parport1");
    EXPECT_EQ(ports[1].address, 0xD000u);
    EXPECT_EQ(ports[2].node, dev + "parport2");
    EXPECT_EQ(ports[2].address, 0x278u);
    EXPECT_EQ(ports[3].node, dev + "parport12");
    EXPECT_EQ(ports[3].address, 0u);
}

} // namespace
} // namespace qmf::test
