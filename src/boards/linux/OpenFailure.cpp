// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/OpenFailure.h"

#include "boards/linux/DeviceIo.h"
#include "core/install/InstallPaths.h"

#include <cerrno>

namespace qmf::linux_hw {

QString deviceGroup(DeviceKind kind) {
    return kind == DeviceKind::SmbusAdapter ? QStringLiteral("i2c") : QStringLiteral("lp");
}

QString deviceModule(DeviceKind kind) {
    return kind == DeviceKind::SmbusAdapter ? QStringLiteral("i2c-dev") : QStringLiteral("ppdev");
}

QString openFailureReason(DeviceKind kind, const QString& node, int error) {
    const QString text = errnoText(error);
    const QString group = deviceGroup(kind);
    switch (error) {
    case ENOENT:
        return QStringLiteral("%1 does not exist (%2): load the %3 kernel module "
                              "(sudo modprobe %3)%4")
            .arg(node, text, deviceModule(kind),
                 kind == DeviceKind::SmbusAdapter
                     ? QStringLiteral(" or name an adapter that exists (--smbus /dev/i2c-N)")
                     : QString());
    case EACCES:
    case EPERM:
        return QStringLiteral("no permission to open %1 (%2): the node must belong to group %3 "
                              "with read and write access for the group (%4 has the udev rule), "
                              "and your user must be in group %3 (sudo usermod -aG %3 $USER, "
                              "then log in again)")
            .arg(node, text, group, install::hardwareGuide());
    case ENODEV:
    case ENXIO:
        return QStringLiteral("%1 has no device behind it (%2): the %3 driver is not loaded or "
                              "the hardware is gone")
            .arg(node, text,
                 kind == DeviceKind::SmbusAdapter ? QStringLiteral("SMBus adapter")
                                                  : QStringLiteral("parallel port"));
    case EBUSY:
        return QStringLiteral("%1 is in use by another program (%2)").arg(node, text);
    default:
        return QStringLiteral("cannot open %1: %2").arg(node, text);
    }
}

} // namespace qmf::linux_hw
