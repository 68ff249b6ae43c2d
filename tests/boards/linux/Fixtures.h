// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/BusTiming.h"
#include "boards/linux/LinuxBoard.h"
#include "boards/linux/LinuxBoardLink.h"
#include "boards/sim/SimulatedDeviceIo.h"
#include "boards/sim/SimulatedParallelPort.h"
#include "boards/sim/SmbusTargetSim.h"
#include "core/link/LinkErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <array>
#include <deque>
#include <gtest/gtest.h>

// Failure messages show texts as texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace qmf::test {

// The LinkError `call` throws; a test failure when it throws none.
template <typename F> LinkError linkError(F&& call) {
    try {
        call();
    } catch (const LinkError& e) {
        return e;
    }
    ADD_FAILURE() << "no LinkError";
    return LinkError({}, {}, -1, -1, {});
}

// A temporary /dev, /sys and /proc for the scans and the open paths.
struct FixtureTree {
    QTemporaryDir dir;
    QString path(const QString& relative) const { return dir.path() + '/' + relative; }
    void write(const QString& relative, const QByteArray& content = {}) const {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile out(path(relative));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << relative.toStdString();
        out.write(content);
    }
    linux_hw::LinuxBoardOptions options() const {
        return {{}, path("dev"), path("sys"), path("proc"), {}, {}};
    }
};

// A plain register file on the bus, so that tests see every byte directly.
struct RegisterFile final : sim::RegisterDevice {
    std::array<quint8, 256> regs{};
    bool answers = true;
    int reads = 0, writes = 0;
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

// A board on a simulated printer port: a target in front of a register file.
struct SimBoard {
    SimBoard(linux_hw::BusTiming& timing, quint8 address, const linux_hw::PinMapping& wiring)
        : target(address, chip), port(timing, wiring) {
        port.attach(target);
    }
    RegisterFile chip;
    sim::SmbusTargetSim target;
    sim::SimulatedParallelPort port;
};

// Printer ports /dev/parport0 (378h) and /dev/parport1 (BC00h), a board on each with its chip at
// the address given, and the real board link reaching them through ppdev calls. The boards are
// wired for the engine's mapping; a scan lists what `ports` holds.
struct PortsRig {
    explicit PortsRig(bool alternate = false, std::initializer_list<quint8> chips = {0x5E}) {
        for (quint8 address : chips) {
            const QString node = QStringLiteral("/dev/parport%1").arg(boards.size());
            boards.emplace_back(*timing, address, linux_hw::pinMapping(alternate));
            io->addParport(node, boards.back().port);
            ports.append({node, boards.size() == 1 ? 0x378u : 0xBC00u});
        }
        link = std::make_unique<linux_hw::LinuxBoardLink>(
            io, timing, [this] { return ports; }, linux_hw::SmbusAdapterInfo{});
        engine().setAlternateMode(alternate);
    }
    BusEngine& engine() { return link->printerPorts().busEngine(); }

    std::shared_ptr<linux_hw::ManualBusTiming> timing =
        std::make_shared<linux_hw::ManualBusTiming>();
    std::deque<SimBoard> boards; // a deque: the ports keep pointing at the boards
    std::shared_ptr<sim::SimulatedDeviceIo> io = std::make_shared<sim::SimulatedDeviceIo>();
    QList<linux_hw::PrinterPortInfo> ports;
    // Last: it switches the board outputs off through the port as it goes.
    std::unique_ptr<linux_hw::LinuxBoardLink> link;
};

} // namespace qmf::test
