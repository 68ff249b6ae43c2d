// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/sim/SimulatedParallelPort.h"

#include "boards/linux/BusTiming.h"
#include "boards/sim/SmbusTargetSim.h"

namespace qmf::sim {

namespace {

using linux_hw::PortRegister;

// The status register with every pin high: ERROR, SELECT, PAPEROUT and nACK read 1, BUSY reads 0
// because the port inverts it.
constexpr quint8 StatusPinsHigh = 0x78;

} // namespace

SimulatedParallelPort::SimulatedParallelPort(linux_hw::BusTiming& timing,
                                             const linux_hw::PinMapping& wiring)
    : timing_(timing), wiring_(wiring) {}

void SimulatedParallelPort::attach(SmbusTargetSim& target) {
    targets_.append(&target);
    settle();
}

void SimulatedParallelPort::writeData(quint8 value) {
    ++operations_;
    settle(); // what the devices did since the last operation comes first
    data_ = value;
    settle();
    if (onDataWrite) {
        onDataWrite(data_);
    }
    operationDone();
}

void SimulatedParallelPort::writeControl(quint8 value) {
    ++operations_;
    settle();
    control_ = value;
    settle();
    operationDone();
}

quint8 SimulatedParallelPort::readStatus() {
    ++operations_;
    settle();
    quint8 status = StatusPinsHigh;
    status = linux_hw::withLine(status, wiring_.getSda, sda_);
    status = linux_hw::withLine(status, wiring_.getScl, scl_);
    operationDone();
    return status;
}

void SimulatedParallelPort::setSdaShorted(bool shorted) {
    sdaShorted_ = shorted;
    settle();
}

void SimulatedParallelPort::setSclShorted(bool shorted) {
    sclShorted_ = shorted;
    settle();
}

void SimulatedParallelPort::operationDone() {
    if (onOperation) {
        onOperation(operations_);
    }
    timing_.delayUs(OperationUs);
}

bool SimulatedParallelPort::output(const linux_hw::LineBit& line) const {
    return linux_hw::lineLevel(line.reg == PortRegister::Data ? data_ : control_, line);
}

void SimulatedParallelPort::settle() {
    const qint64 now = timing_.nowUs();
    // A target may answer an edge by driving SDA (an acknowledge, a data bit); run until the
    // levels stop changing. Targets change SDA only while SCL is low, so this ends at once.
    for (int round = 0; round < 4; ++round) {
        bool scl = output(wiring_.setScl) && !sclShorted_;
        bool sda = output(wiring_.setSda) && !sdaShorted_;
        for (const SmbusTargetSim* target : targets_) {
            scl = scl && !target->holdsSclLow(now);
            sda = sda && !target->drivesSdaLow(now);
        }
        if (scl == scl_ && sda == sda_) {
            return;
        }
        if (scl && !scl_) {
            ++sclClocks_;
        }
        scl_ = scl;
        sda_ = sda;
        for (SmbusTargetSim* target : targets_) {
            target->onLines(scl, sda, now);
        }
    }
}

} // namespace qmf::sim
