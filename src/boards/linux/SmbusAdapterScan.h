// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/SmbusAdapters.h"

#include <QString>

namespace qmf::linux_hw {

struct LinuxBoardOptions;

// The SMBus adapter the SMBus path uses.
struct SmbusAdapterInfo {
    bool found = false;
    QString node;           // "/dev/i2c-3"
    QString name;           // the adapter's name in sysfs, when known
    qint32 baseAddress = 0; // the controller's I/O base, 0 when the system does not say
    SmbusAdapterKind kind = SmbusAdapterKind::Other;
};

SmbusAdapterInfo adapterInfo(const SmbusAdapter& adapter);

// Every i2c adapter under sysRoot/bus/i2c/devices and sysRoot/class/i2c-adapter that can carry
// the SMBus path, in number order, with its kind:
// - PCI SMBus host controller: the parent device's PCI class is 0C05h, or the name begins with
//   "SMBus" (as the chipset drivers name theirs);
// - USB bridge: the parent device, or a device above it, is a USB device (the HID bridges hang
//   below their USB interface);
// - other.
// Display and graphics channels (DDC, DP AUX, GPU bit-banged buses) are never listed: their
// parent is a display controller or a DRM connector, or their name says so.
// The automatic choice is the first adapter of a PCI SMBus host controller (class first, then
// name), else the USB bridge when there is exactly one. An adapter named in the options is listed
// even where sysfs does not know it, and is the automatic choice. The base address is the first
// I/O range of the controller's PCI resources, else the "at XXXX" of the adapter's name. Never
// throws.
SmbusAdapterList scanSmbusAdapters(const LinuxBoardOptions& options);

// The adapter named in the options, else the automatic choice; found is false when there is
// none.
SmbusAdapterInfo findSmbusAdapter(const LinuxBoardOptions& options);

} // namespace qmf::linux_hw
