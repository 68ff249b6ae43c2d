// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/BusTiming.h"
#include "boards/linux/LinuxBoardLink.h"
#include "boards/linux/PinMapping.h"
#include "boards/sim/SimulatedDeviceIo.h"
#include "boards/sim/SimulatedParallelPort.h"
#include "boards/sim/SmbusTargetSim.h"

#include <array>
#include <memory>

namespace qmf::test {

// A plain register file on the bus, so that tests can look at every byte directly.
struct RegisterFile final : sim::RegisterDevice {
    std::array<quint8, 256> regs{};
    bool answers = true;
    int reads = 0;
    int writes = 0;
    quint8 readRegister(quint8 reg) override {
        ++reads;
        return regs[reg];
    }
    void writeRegister(quint8 reg, quint8 value) override {
        ++writes;
        regs[reg] = value;
    }
    bool answering() const override { return answers; }
};

// One printer port ("/dev/parport0" at 378h) with a board wired for `wiring`, a target at 5Eh in
// front of a register file, and the real board link reaching it through ppdev calls.
struct PinLevelRig {
    static inline const QString Node = QStringLiteral("/dev/parport0");

    explicit PinLevelRig(const linux_hw::PinMapping& wiring)
        : timing(std::make_shared<linux_hw::ManualBusTiming>()), target(0x5E, chip),
          port(*timing, wiring), io(std::make_shared<sim::SimulatedDeviceIo>()) {
        port.attach(target);
        io->addParport(Node, port);
        link = std::make_unique<linux_hw::LinuxBoardLink>(
            io, timing,
            [] {
                return QList<linux_hw::PrinterPortInfo>{{Node, 0x378}};
            },
            linux_hw::SmbusAdapterInfo{});
    }

    BusEngine& engine() { return link->printerPorts().busEngine(); }

    std::shared_ptr<linux_hw::ManualBusTiming> timing;
    RegisterFile chip;
    sim::SmbusTargetSim target;
    sim::SimulatedParallelPort port;
    std::shared_ptr<sim::SimulatedDeviceIo> io;
    std::unique_ptr<linux_hw::LinuxBoardLink> link;
};

} // namespace qmf::test
