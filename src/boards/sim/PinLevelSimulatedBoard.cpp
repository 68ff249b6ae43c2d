// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/sim/PinLevelSimulatedBoard.h"

#include "boards/linux/BusTiming.h"
#include "boards/linux/LinuxBoardLink.h"
#include "boards/sim/SimulatedChip.h"
#include "boards/sim/SimulatedDeviceIo.h"
#include "boards/sim/SimulatedParallelPort.h"
#include "boards/sim/SmbusTargetSim.h"

namespace qmf::sim {

namespace {
const QString PortNode = QStringLiteral("/dev/parport0");
const QString AdapterNode = QStringLiteral("/dev/i2c-0");
constexpr quint32 PortAddress = 0x378;
constexpr qint32 SmbusBase = 0x0400;
constexpr quint8 PortChipAddress = 0x5E;
constexpr quint8 SmbusChipAddress = 0x5C;
} // namespace

struct PinLevelSimulatedBoard::Impl {
    Impl(const Clock& clock, bool alternateWiring)
        : timing(std::make_shared<linux_hw::ManualBusTiming>()), portChip(clock), smbusChip(clock),
          portRegisters(portChip), smbusRegisters(smbusChip),
          target(PortChipAddress, portRegisters),
          port(*timing, linux_hw::pinMapping(alternateWiring)),
          io(std::make_shared<SimulatedDeviceIo>()) {
        port.attach(target);
        port.onDataWrite = [this](quint8 data) {
            portChip.setHeaters((data & 0x10) != 0, (data & 0x20) != 0);
        };
        io->addParport(PortNode, port);
        io->addI2cAdapter(AdapterNode);
        io->addI2cDevice(AdapterNode, SmbusChipAddress >> 1, smbusRegisters);

        linux_hw::SmbusAdapterInfo adapter;
        adapter.found = true;
        adapter.node = AdapterNode;
        adapter.name = QStringLiteral("simulated SMBus adapter");
        adapter.baseAddress = SmbusBase;
        link = std::make_unique<linux_hw::LinuxBoardLink>(
            io, timing,
            [] {
                return QList<linux_hw::PrinterPortInfo>{{PortNode, PortAddress}};
            },
            adapter);
    }

    // The chips and the port outlive the link, which switches the heaters off as it goes.
    std::shared_ptr<linux_hw::ManualBusTiming> timing;
    SimulatedChip portChip;
    SimulatedChip smbusChip;
    ChipBusDevice portRegisters;
    ChipBusDevice smbusRegisters;
    SmbusTargetSim target;
    SimulatedParallelPort port;
    std::shared_ptr<SimulatedDeviceIo> io;
    std::unique_ptr<linux_hw::LinuxBoardLink> link;
};

PinLevelSimulatedBoard::PinLevelSimulatedBoard(const Clock& clock, bool alternateWiring)
    : impl_(std::make_unique<Impl>(clock, alternateWiring)) {}

PinLevelSimulatedBoard::~PinLevelSimulatedBoard() = default;

SimulatedChip& PinLevelSimulatedBoard::printerPortChip() {
    return impl_->portChip;
}
SimulatedChip& PinLevelSimulatedBoard::smbusChip() {
    return impl_->smbusChip;
}
SimulatedParallelPort& PinLevelSimulatedBoard::port() {
    return impl_->port;
}
SmbusTargetSim& PinLevelSimulatedBoard::target() {
    return impl_->target;
}
SimulatedDeviceIo& PinLevelSimulatedBoard::deviceIo() {
    return *impl_->io;
}
linux_hw::ManualBusTiming& PinLevelSimulatedBoard::busTiming() {
    return *impl_->timing;
}
linux_hw::LinuxBoardLink& PinLevelSimulatedBoard::link() {
    return *impl_->link;
}

ParallelPortLink& PinLevelSimulatedBoard::parallelPortLink() {
    return impl_->link->parallelPortLink();
}

SmbusLink& PinLevelSimulatedBoard::smbusLink() {
    return impl_->link->smbusLink();
}

void PinLevelSimulatedBoard::setActiveMedium(int medium) {
    impl_->link->setActiveMedium(medium);
}

QString PinLevelSimulatedBoard::description() const {
    return QStringLiteral("pin-level simulated evaluation board");
}

bool PinLevelSimulatedBoard::smbusAvailable() {
    return impl_->link->smbusAvailable();
}

BusHealth& PinLevelSimulatedBoard::busHealth() {
    return impl_->link->busHealth();
}

std::unique_ptr<BoardLink> makePinLevelSimulatedBoard(const Clock& clock) {
    return std::make_unique<PinLevelSimulatedBoard>(clock);
}

} // namespace qmf::sim
