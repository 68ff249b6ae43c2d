// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace qmf::linux_hw {

struct LinuxBoardOptions;

// The SMBus adapter the SMBus path uses.
struct SmbusAdapterInfo {
    bool found = false;
    QString node;           // "/dev/i2c-3"
    QString name;           // the adapter's name in sysfs, when known
    qint32 baseAddress = 0; // the controller's I/O base, 0 when the system does not say
};

// The adapter named in the options, or else the first adapter (by number) whose parent device is
// a PCI SMBus host controller (class 0C05h), or else the first whose name begins with "SMBus".
// Adapters are found under sysRoot/bus/i2c/devices and sysRoot/class/i2c-adapter. The base
// address is the first I/O range of the controller's PCI resources, else the "at XXXX" of the
// adapter's name. Never throws; found is false when there is none.
SmbusAdapterInfo findSmbusAdapter(const LinuxBoardOptions& options);

} // namespace qmf::linux_hw
