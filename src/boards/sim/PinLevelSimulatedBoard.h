// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/BoardLink.h"

#include <memory>

namespace qmf {
class Clock;
}

namespace qmf::linux_hw {
class LinuxBoardLink;
class ManualBusTiming;
} // namespace qmf::linux_hw

namespace qmf::sim {

class SimulatedChip;
class SimulatedDeviceIo;
class SimulatedParallelPort;
class SmbusTargetSim;

// The simulated evaluation board with the real-hardware code in front of it: the printer-port
// path bit-bangs the bus through ppdev calls into a pin-level port whose lines drive an SMBus
// target in front of a simulated chip at 5Eh (the board revision with the standard wiring, which
// answers with AlternateMode False, or the one with the alternate wiring); the SMBus path goes
// through i2c-dev calls to a second chip at 5Ch. One printer port, "/dev/parport0" at 378h, and
// one adapter, "/dev/i2c-0" with base 0400h, both simulated. The heaters hang on data bits 4 and
// 5. Bus time is simulated, so transfers cost no waiting.
class PinLevelSimulatedBoard final : public BoardLink {
public:
    explicit PinLevelSimulatedBoard(const Clock& clock, bool alternateWiring = false);
    ~PinLevelSimulatedBoard() override;

    SimulatedChip& printerPortChip();
    SimulatedChip& smbusChip();
    SimulatedParallelPort& port();
    SmbusTargetSim& target();
    SimulatedDeviceIo& deviceIo();
    linux_hw::ManualBusTiming& busTiming();
    linux_hw::LinuxBoardLink& link();

    ParallelPortLink& parallelPortLink() override;
    SmbusLink& smbusLink() override;
    void setActiveMedium(int medium) override;
    QString description() const override;
    bool smbusAvailable() override;
    BusHealth& busHealth() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// For the program's choice of board at start.
std::unique_ptr<BoardLink> makePinLevelSimulatedBoard(const Clock& clock);

} // namespace qmf::sim
