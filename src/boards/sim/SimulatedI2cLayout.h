// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/LinuxBoard.h"

#include <QHash>
#include <QString>
#include <cerrno>
#include <memory>

namespace qmf::sim {

class SimulatedDeviceIo;

// i2c adapters as the kernel shows them, without a kernel: their sysfs entries (name, parent
// devices with their subsystems, PCI class and resources) written into a directory that stands
// for /sys, and their i2c-dev nodes in a SimulatedDeviceIo. Adapters can be plugged in and
// unplugged while the board link uses them, as USB bridges are.
class SimulatedI2cLayout {
public:
    enum class Adapter {
        Cp2112,    // hid-cp2112: HID device below a USB interface
        Mcp2221,   // hid-mcp2221: HID device below the chip's third USB interface
        TinyUsb,   // i2c-tiny-usb: directly below its USB interface
        IntelPch,  // i2c-i801 on the PCH's SMBus function (class 0C0500h, I/O base EFA0h)
        I915Gmbus, // i915's GMBUS pins, below the graphics controller (class 030000h)
        I915DpAux  // i915's DP AUX channel, below the DRM connector
    };

    // `root` is an empty directory; it becomes the sys/ and dev/ of options().
    SimulatedI2cLayout(QString root, std::shared_ptr<SimulatedDeviceIo> io);

    // Adds the adapter as i2c-<number> and returns its node ("<root>/dev/i2c-<number>"). Each USB
    // plug gets a new USB device number and HID instance, as a real plug does.
    QString plug(Adapter adapter, int number);
    // Takes i2c-<number> away: its sysfs entries and its node go; calls on descriptors still
    // open on it fail with `error`.
    void unplug(int number, int error = ENODEV);

    QString node(int number) const;
    // The board options over this layout and the simulated device calls.
    linux_hw::LinuxBoardOptions options() const;

private:
    QString sys(const QString& relative) const;
    void write(const QString& relative, const QByteArray& content) const;
    void device(const QString& relative, const char* subsystem) const;
    QString usbParent(int number, const char* interface, const QByteArray& vendor,
                      const QByteArray& product);

    QString root_;
    std::shared_ptr<SimulatedDeviceIo> io_;
    QHash<int, QString> plugged_; // number -> the sysfs directory that goes when it is unplugged
    int usbDevices_ = 1;          // the root hub is device 1
    int hidDevices_ = 0;
};

} // namespace qmf::sim
