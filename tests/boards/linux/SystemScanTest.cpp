// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the SMBus adapter and the printer ports in fixture trees of /dev, /sys and /proc.
#include "Fixtures.h"
#include "boards/linux/PrinterPortScan.h"
#include "boards/linux/SmbusAdapterScan.h"
#include "boards/sim/SimulatedI2cLayout.h"

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

using Layout = sim::SimulatedI2cLayout;
using enum sim::SimulatedI2cLayout::Adapter;

// The adapters of a layout as "i2c-N name, kind", the automatic choice marked with "*".
QStringList listed(const Layout& layout, const QString& named = {}) {
    linux_hw::LinuxBoardOptions options = layout.options();
    options.smbusDevice = named;
    const SmbusAdapterList list = linux_hw::scanSmbusAdapters(options);
    QStringList lines;
    for (int i = 0; i < list.adapters.size(); ++i) {
        const SmbusAdapter& a = list.adapters[i];
        lines << QStringLiteral("%1%2 %3, %4")
                     .arg(i == list.automatic ? "*" : "", QFileInfo(a.node).fileName(), a.name,
                          smbusAdapterKindText(a.kind));
    }
    return lines;
}

// Each kind of adapter as its driver shows it in sysfs, and the automatic choice in each
// combination: the PCH's SMBus whenever there is one, else a USB bridge when it is the only one.
// Graphics channels never show.
TEST(SmbusAdapterScan, ListsEveryUsableAdapterWithItsKindAndChoosesOne) {
    const QString pch = "i2c-0 SMBus I801 adapter at efa0, PCI SMBus host controller";
    const QString cp2112 = "i2c-8 CP2112 SMBus Bridge on hidraw0, USB bridge";
    const QString mcp2221 = "i2c-9 MCP2221 usb-i2c bridge, USB bridge";
    const QString tiny = "i2c-10 i2c-tiny-usb at bus 001 device 002, USB bridge";
    const struct {
        std::vector<std::pair<Layout::Adapter, int>> plugged;
        QStringList expected;
    } cases[] = {
        {{{IntelPch, 0}, {I915Gmbus, 1}, {I915DpAux, 2}, {Cp2112, 8}}, {"*" + pch, cp2112}},
        {{{I915Gmbus, 1}, {I915DpAux, 2}, {Cp2112, 8}}, {"*" + cp2112}},
        {{{Mcp2221, 9}}, {"*" + mcp2221}},
        {{{TinyUsb, 10}}, {"*" + tiny}},
        {{{Cp2112, 8}, {Mcp2221, 9}}, {cp2112, mcp2221}},
        {{{Mcp2221, 9}, {IntelPch, 0}, {TinyUsb, 10}},
         {"*" + pch, mcp2221, "i2c-10 i2c-tiny-usb at bus 001 device 003, USB bridge"}},
        {{{I915Gmbus, 1}, {I915DpAux, 2}}, {}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.join(" | ").toStdString());
        QTemporaryDir root;
        Layout layout(root.path(), std::make_shared<sim::SimulatedDeviceIo>());
        for (const auto& [adapter, number] : c.plugged) {
            layout.plug(adapter, number);
        }
        EXPECT_EQ(listed(layout), c.expected);
        const linux_hw::SmbusAdapterInfo automatic = linux_hw::findSmbusAdapter(layout.options());
        EXPECT_EQ(automatic.found, c.expected.join("").contains("*"));
        EXPECT_TRUE(!automatic.found ||
                    c.expected.filter("*").first().contains(QFileInfo(automatic.node).fileName()));
    }
}

// --smbus wins over the automatic choice and is listed even where sysfs does not know it.
TEST(SmbusAdapterScan, TheNamedAdapterIsTheChoice) {
    QTemporaryDir root;
    Layout layout(root.path(), std::make_shared<sim::SimulatedDeviceIo>());
    layout.plug(IntelPch, 0);
    layout.plug(Mcp2221, 9);
    EXPECT_EQ(listed(layout, layout.node(9)),
              QStringList({"i2c-0 SMBus I801 adapter at efa0, PCI SMBus host controller",
                           "*i2c-9 MCP2221 usb-i2c bridge, USB bridge"}));
    EXPECT_EQ(listed(layout, "/dev/i2c-bridge"),
              QStringList({"*i2c-bridge , other",
                           "i2c-0 SMBus I801 adapter at efa0, PCI SMBus host controller",
                           "i2c-9 MCP2221 usb-i2c bridge, USB bridge"}));
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
