// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace qmf::linux_hw {

enum class DeviceKind { SmbusAdapter, PrinterPort };

// Why a device node could not be opened, and what the user does about it: a missing node names
// the kernel module that creates it; a forbidden one names the group that should own it and how
// to join it.
QString openFailureReason(DeviceKind kind, const QString& node, int error);

// The group that owns the nodes of a kind ("i2c", "lp") and the module that creates them.
QString deviceGroup(DeviceKind kind);
QString deviceModule(DeviceKind kind);

} // namespace qmf::linux_hw
