// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/LinuxBoardLink.h"

#include "boards/linux/BusTiming.h"
#include "boards/linux/DeviceIo.h"
#include "boards/linux/PpdevPort.h"

namespace qmf::linux_hw {

LinuxBoardLink::LinuxBoardLink(std::shared_ptr<DeviceIo> io, std::shared_ptr<BusTiming> timing,
                               PrinterPorts::Scanner scanPorts, SmbusAdapterInfo adapter,
                               PrinterPorts::Opener openPort)
    : io_(std::move(io)), timing_(std::move(timing)) {
    if (!openPort) {
        DeviceIo* deviceIo = io_.get();
        openPort = [deviceIo](const PrinterPortInfo& port) -> std::unique_ptr<PortIo> {
            return std::make_unique<PpdevPort>(*deviceIo, port.node);
        };
    }
    smbus_ = std::make_unique<I2cDevSmbus>(*io_, std::move(adapter));
    ports_ = std::make_unique<PrinterPorts>(std::move(scanPorts), std::move(openPort), *timing_);
    smbus_->setHealth(&busHealth());
    ports_->engine().setHealth(&busHealth());
}

LinuxBoardLink::~LinuxBoardLink() = default;

QString LinuxBoardLink::description() const {
    switch (medium_) {
    case int(ActiveMedium::PrinterPort):
        return ports_->portName();
    case int(ActiveMedium::Smbus):
        return smbus_->deviceName();
    default:
        return QStringLiteral("printer ports and SMBus of this PC");
    }
}

bool LinuxBoardLink::smbusAvailable() {
    // Looked for anew: a bridge may have been plugged in, or the only one unplugged.
    return scanAdapters_ ? !scanAdapters_().adapters.isEmpty() : smbus_->available();
}

SmbusAdapterChoice* LinuxBoardLink::smbusAdapterChoice() {
    return scanAdapters_ ? this : nullptr;
}

void LinuxBoardLink::setAdapterScanner(AdapterScanner scan, QString named) {
    scanAdapters_ = std::move(scan);
    named_ = std::move(named);
}

SmbusAdapterList LinuxBoardLink::scanAdapters() {
    return scanAdapters_ ? scanAdapters_() : SmbusAdapterList{};
}

void LinuxBoardLink::chooseAdapter(const SmbusAdapter& adapter) {
    // The same adapter again keeps its open node and what it knows about it (a removal).
    if (smbus_->available() && smbus_->adapter().node == adapter.node && !smbus_->removed()) {
        return;
    }
    smbus_->setAdapter(adapterInfo(adapter));
}

QString LinuxBoardLink::chosenAdapter() const {
    return smbus_->available() ? smbus_->adapter().node : QString();
}

} // namespace qmf::linux_hw
