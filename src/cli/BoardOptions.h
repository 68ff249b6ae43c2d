// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace qmf::cli {

// Which board, which path and which chip the command line asked for.
struct BoardOptions {
    bool simulate = false;         // the simulated evaluation board
    QString smbusDevice;           // --smbus: this adapter, and the SMBus path only
    std::optional<int> port;       // --port: this printer port only
    bool alternate = false;        // --alternate: the printer port's alternate bus mode only
    std::optional<quint8> address; // --address: the chip at this address (8-bit form)
    QString simStateFile;          // --sim-state: the simulated chips kept in this file
    std::optional<quint8> simSmbusAddress; // --sim-smbus-address: the simulated SMBus chip
    std::optional<qint64> simFailTransfer; // --sim-fail-transfer: this transfer (from 1) fails
    bool pinLevel = false; // --pin-level: the simulated board behind the hardware bus code
    QString traceFile;     // --trace: the bit-banged bus's lines recorded into this VCD file
    bool stats = false;    // --stats: the bus health counters on standard error at the end

    // The search looks at the printer ports / the SMBus at all.
    bool printerPortsAllowed() const { return smbusDevice.isEmpty(); }
    bool smbusAllowed() const { return !port && !alternate; }
};

} // namespace qmf::cli
