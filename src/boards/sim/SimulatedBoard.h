// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/sim/SimulatedChip.h"
#include "core/link/BoardLink.h"

#include <memory>

namespace qmf {
class Clock;
}

namespace qmf::sim {

// The simulated evaluation board: one printer port (I/O address 0x378) whose bus carries a
// simulated chip at 5Eh that answers when AlternateMode is False, heaters on the board outputs
// (bit 4 heater 1, bit 5 heater 2), and the PC SMBus (base 0x0400) with a second chip at 5Ch
// (or where setSmbusChipAddress puts it). Every other address reads 0xFF, as a floating bus
// does.
class SimulatedBoard final : public BoardLink {
public:
    explicit SimulatedBoard(const Clock& clock);
    ~SimulatedBoard() override;

    SimulatedChip& printerPortChip();
    SimulatedChip& smbusChip();

    // The SMBus chip's device address (8-bit form, 5Ch until set). At 5Eh both chips answer at
    // the same address, each on its own path.
    void setSmbusChipAddress(quint8 address);
    quint8 smbusChipAddress() const;

    // The next `count` transfers (ReadByte / WriteByte on either path) throw LinkError.
    void failNextTransfers(int count);
    // After `passing` more transfers, the next one (only that one) throws LinkError; a negative
    // count cancels it.
    void failTransferAfter(qint64 passing);
    // Transfers so far (ReadByte / WriteByte on either path, failed ones included).
    qint64 transferCount() const;

    // What the program last put: ActiveMedium (0 until set) and AuxOutputs (0 at start).
    int activeMedium() const;
    quint8 auxOutputs() const;

    ParallelPortLink& parallelPortLink() override;
    SmbusLink& smbusLink() override;
    void setActiveMedium(int medium) override;
    QString description() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace qmf::sim
