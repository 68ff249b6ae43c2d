// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/sim/SimulatedI2cLayout.h"

#include "boards/sim/SimulatedDeviceIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qmf::sim {

namespace {
const QString Pci = QStringLiteral("devices/pci0000:00/");
const QString Xhci = Pci + QStringLiteral("0000:00:14.0/");
const QString Graphics = Pci + QStringLiteral("0000:00:02.0/");
} // namespace

SimulatedI2cLayout::SimulatedI2cLayout(QString root, std::shared_ptr<SimulatedDeviceIo> io)
    : root_(std::move(root)), io_(std::move(io)) {
    QDir().mkpath(root_ + QStringLiteral("/dev"));
    QDir().mkpath(sys(QStringLiteral("bus/i2c/devices")));
    // The USB host controller the bridges hang on, and the root hub.
    device(Xhci.chopped(1), "pci");
    write(Xhci + QStringLiteral("class"), "0x0c0330\n");
    device(Xhci + QStringLiteral("usb1"), "usb");
}

QString SimulatedI2cLayout::sys(const QString& relative) const {
    return root_ + QStringLiteral("/sys/") + relative;
}

QString SimulatedI2cLayout::node(int number) const {
    return root_ + QStringLiteral("/dev/i2c-%1").arg(number);
}

linux_hw::LinuxBoardOptions SimulatedI2cLayout::options() const {
    linux_hw::LinuxBoardOptions options;
    options.devRoot = root_ + QStringLiteral("/dev");
    options.sysRoot = root_ + QStringLiteral("/sys");
    options.procRoot = root_ + QStringLiteral("/proc");
    options.deviceIo = io_;
    return options;
}

void SimulatedI2cLayout::write(const QString& relative, const QByteArray& content) const {
    QDir().mkpath(QFileInfo(sys(relative)).path());
    QFile out(sys(relative));
    if (out.open(QIODevice::WriteOnly)) {
        out.write(content);
    }
}

// A device directory with its subsystem link, as the driver core makes them.
void SimulatedI2cLayout::device(const QString& relative, const char* subsystem) const {
    const bool isClass = QByteArray(subsystem) == "drm";
    const QString target = sys((isClass ? QStringLiteral("class/") : QStringLiteral("bus/")) +
                               QLatin1String(subsystem));
    QDir().mkpath(target);
    QDir().mkpath(sys(relative));
    QFile::link(target, sys(relative) + QStringLiteral("/subsystem"));
}

// A USB device on root port <number> of bus 1 with the interface the adapter hangs on.
QString SimulatedI2cLayout::usbParent(int number, const char* interface, const QByteArray& vendor,
                                      const QByteArray& product) {
    const QString usb = Xhci + QStringLiteral("usb1/1-%1").arg(number);
    device(usb, "usb");
    write(usb + QStringLiteral("/idVendor"), vendor + '\n');
    write(usb + QStringLiteral("/idProduct"), product + '\n');
    write(usb + QStringLiteral("/devnum"), QByteArray::number(++usbDevices_) + '\n');
    const QString intf = usb + QStringLiteral("/1-%1:%2").arg(number).arg(QLatin1String(interface));
    device(intf, "usb");
    plugged_.insert(number, usb);
    return intf;
}

QString SimulatedI2cLayout::plug(Adapter adapter, int number) {
    QString parent;
    QByteArray name;
    const auto hid = [&](const QString& intf, const char* id) {
        const QString dir = intf + QStringLiteral("/0003:%1.%2")
                                       .arg(QLatin1String(id))
                                       .arg(++hidDevices_, 4, 16, QLatin1Char('0'));
        device(dir, "hid");
        return dir;
    };
    switch (adapter) {
    case Adapter::Cp2112:
        parent = hid(usbParent(number, "1.0", "10c4", "ea90"), "10C4:EA90");
        name = "CP2112 SMBus Bridge on hidraw" + QByteArray::number(hidDevices_ - 1);
        break;
    case Adapter::Mcp2221:
        parent = hid(usbParent(number, "1.2", "04d8", "00dd"), "04D8:00DD");
        name = "MCP2221 usb-i2c bridge";
        break;
    case Adapter::TinyUsb:
        parent = usbParent(number, "1.0", "0403", "c631");
        name = QStringLiteral("i2c-tiny-usb at bus 001 device %1")
                   .arg(usbDevices_, 3, 10, QLatin1Char('0'))
                   .toLatin1();
        break;
    case Adapter::IntelPch:
        parent = Pci + QStringLiteral("0000:00:1f.4");
        device(parent, "pci");
        write(parent + QStringLiteral("/class"), "0x0c0500\n");
        write(parent + QStringLiteral("/resource"),
              "0x000000006001a000 0x000000006001a0ff 0x0000000000140204\n"
              "0x0000000000000000 0x0000000000000000 0x0000000000000000\n"
              "0x000000000000efa0 0x000000000000efbf 0x0000000000040101\n");
        name = "SMBus I801 adapter at efa0";
        break;
    case Adapter::I915Gmbus:
    case Adapter::I915DpAux:
        device(Graphics.chopped(1), "pci");
        write(Graphics + QStringLiteral("class"), "0x030000\n");
        parent = Graphics.chopped(1);
        name = "i915 gmbus dpb";
        if (adapter == Adapter::I915DpAux) {
            parent = Graphics + QStringLiteral("drm/card0/card0-DP-1");
            device(Graphics + QStringLiteral("drm/card0"), "drm");
            device(parent, "drm");
            name = "AUX B/DDI B/PHY B";
        }
        break;
    }
    const QString dir = parent + QStringLiteral("/i2c-%1").arg(number);
    device(dir, "i2c");
    write(dir + QStringLiteral("/name"), name + '\n');
    QFile::link(sys(dir), sys(QStringLiteral("bus/i2c/devices/i2c-%1").arg(number)));
    if (!plugged_.contains(number)) {
        plugged_.insert(number, dir);
    }
    io_->addI2cAdapter(node(number));
    return node(number);
}

void SimulatedI2cLayout::unplug(int number, int error) {
    QFile::remove(sys(QStringLiteral("bus/i2c/devices/i2c-%1").arg(number)));
    const QString dir = plugged_.take(number);
    if (!dir.isEmpty()) {
        QDir(sys(dir)).removeRecursively();
    }
    io_->removeNode(node(number), error);
}

} // namespace qmf::sim
