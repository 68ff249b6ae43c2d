// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/BoardLink.h"

#include <QString>
#include <memory>

namespace qmf::linux_hw {

class BusTiming;
class DeviceIo;

struct LinuxBoardOptions {
    // The SMBus adapter to use ("/dev/i2c-3"); empty chooses one automatically.
    QString smbusDevice;
    // Where device nodes and sysfs live; tests point these at fixture trees.
    QString devRoot = QStringLiteral("/dev");
    QString sysRoot = QStringLiteral("/sys");
    // Where the parallel-port driver publishes its ports' addresses (procRoot/sys/dev/parport).
    QString procRoot = QStringLiteral("/proc");
    // Stand-ins for the kernel's device calls and for real time (tests, simulations); empty
    // means the real ones.
    std::shared_ptr<DeviceIo> deviceIo;
    std::shared_ptr<BusTiming> busTiming;
};

// The board link over the real machine: the PC's SMBus through i2c-dev and the evaluation board
// on a parallel port through ppdev. Opening nothing here: devices are opened on first use, so a
// machine without them still starts and the device search reports what is missing.
std::unique_ptr<BoardLink> makeLinuxBoard(const LinuxBoardOptions& options);

} // namespace qmf::linux_hw
