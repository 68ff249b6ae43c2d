// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the SMBus adapter and the printer ports in fixture trees of /dev, /sys and /proc.
#include "Fixtures.h"
#include "boards/linux/PrinterPortScan.h"
#include "boards/linux/SmbusAdapterScan.h"

#include <vector>

namespace qmf::test {
namespace {

// An adapter as sysfs shows it: /sys/bus/i2c/devices/i2c-N links into the directory of the PCI
// device it belongs to, which holds the device's class and resources.
struct Adapter {
    int number;
    QByteArray name, pciClass = {}, resources = {};

    void addTo(const FixtureTree& tree) const {
        const QString pci = QStringLiteral("sys/devices/pci0000:00/0000:00:%1.0").arg(number);
        const QString adapter = pci + "/i2c-" + QString::number(number);
        tree.write(adapter + "/name", name + '\n');
        tree.write(pci + "/class", pciClass + '\n');
        tree.write(pci + "/resource", resources);
        QDir().mkpath(tree.path("sys/bus/i2c/devices"));
        QFile::link(tree.path(adapter),
                    tree.path("sys/bus/i2c/devices/i2c-" + QString::number(number)));
    }
};

const Adapter Graphics{0, "i915 gmbus dpb", "0x030000"};
const Adapter I801{7, "SMBus I801 adapter at efa0", "0x0c0500",
                   "0x000000006001a000 0x000000006001a0ff 0x0000000000140204\n"
                   "0x0000000000000000 0x0000000000000000 0x0000000000000000\n"
                   "0x000000000000efa0 0x000000000000efbf 0x0000000000040101\n"};
const Adapter Second{9, "SMBus second controller at 0b00", "0x0c0500"};

TEST(SmbusAdapterScan, FindsTheAdapterAndItsIoBase) {
    const struct {
        std::vector<Adapter> adapters;
        const char* named;    // --smbus
        const char* expected; // node (under the tree), name, base
    } cases[] = {
        // The first PCI SMBus host controller, its base from its I/O resource.
        {{Graphics, I801, Second}, "", "dev/i2c-7, SMBus I801 adapter at efa0, efa0h"},
        // Else the first adapter named so, its base from the name.
        {{Graphics, {3, "SMBus PIIX4 adapter port 0 at 0b00"}},
         "",
         "dev/i2c-3, SMBus PIIX4 adapter port 0 at 0b00, b00h"},
        {{Graphics, {3, "DPDDC-A"}}, "", "none"},
        // The adapter the user names wins, and is described.
        {{I801, Second}, "/dev/i2c-9", "/dev/i2c-9, SMBus second controller at 0b00, b00h"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        FixtureTree tree;
        for (const Adapter& adapter : c.adapters) {
            adapter.addTo(tree);
        }
        linux_hw::LinuxBoardOptions options = tree.options();
        options.smbusDevice = QLatin1String(c.named);
        const linux_hw::SmbusAdapterInfo info = linux_hw::findSmbusAdapter(options);
        EXPECT_EQ(info.found ? QStringLiteral("%1, %2, %3h")
                                   .arg(QString(info.node).remove(tree.path("")), info.name)
                                   .arg(info.baseAddress, 0, 16)
                             : QStringLiteral("none"),
                  QLatin1String(c.expected));
    }
}

TEST(PrinterPortScan, ListsEveryKnownPortInNumberOrderWithItsAddress) {
    FixtureTree tree;
    for (const char* node : {"dev/parport0", "dev/parport1", "dev/parportX", "dev/lp0"}) {
        tree.write(node);
    }
    tree.write("proc/sys/dev/parport/parport0/base-addr", "888\t1912\n");
    tree.write("proc/sys/dev/parport/parport1/base-addr", "53248\t53256\n");
    // ppdev not loaded for this one: the driver knows it, the node is missing.
    tree.write("proc/sys/dev/parport/parport2/base-addr", "632\t1656\n");
    // Known to sysfs only, without an address.
    QDir().mkpath(tree.path("sys/bus/parport/devices/parport12"));

    QStringList found;
    for (const linux_hw::PrinterPortInfo& p : linux_hw::scanPrinterPorts(tree.options())) {
        found << QString(p.node).remove(tree.path("dev/")) + ' ' + QString::number(p.address, 16);
    }
    EXPECT_EQ(found, QStringList({"parport0 378", "parport1 d000", "parport2 278", "parport12 0"}));
}

} // namespace
} // namespace qmf::test
