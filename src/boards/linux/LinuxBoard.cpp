// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/LinuxBoard.h"

#include "boards/linux/BusTiming.h"
#include "boards/linux/DeviceIo.h"
#include "boards/linux/LinuxBoardLink.h"
#include "boards/linux/PrinterPortScan.h"
#include "boards/linux/SmbusAdapterScan.h"

namespace qmf::linux_hw {

std::unique_ptr<BoardLink> makeLinuxBoard(const LinuxBoardOptions& options) {
    std::shared_ptr<DeviceIo> io = options.deviceIo;
    if (!io) {
        io = std::make_shared<SystemDeviceIo>();
    }
    std::shared_ptr<BusTiming> timing = options.busTiming;
    if (!timing) {
        timing = std::make_shared<SystemBusTiming>();
    }
    auto link = std::make_unique<LinuxBoardLink>(
        std::move(io), std::move(timing), [options] { return scanPrinterPorts(options); },
        findSmbusAdapter(options));
    link->setAdapterScanner([options] { return scanSmbusAdapters(options); }, options.smbusDevice);
    return link;
}

} // namespace qmf::linux_hw
