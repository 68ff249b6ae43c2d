// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace qmf::linux_hw {

struct LinuxBoardOptions;

// A printer port of this PC: its ppdev node and its I/O address (0 when the system does not say).
struct PrinterPortInfo {
    QString node;
    quint32 address = 0;
};

// The printer ports in number order. A port counts when any of its traces exists: the ppdev node
// (devRoot/parportN), the parport driver's entry (procRoot/sys/dev/parport/parportN) or its sysfs
// device (sysRoot/bus/parport/devices/parportN); so a port whose node is missing (ppdev not
// loaded) is listed and reported as missing when it is used. The address comes from the
// driver's base-addr entry.
QList<PrinterPortInfo> scanPrinterPorts(const LinuxBoardOptions& options);

} // namespace qmf::linux_hw
