// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/BoardOutputs.h"
#include "core/link/BusHealth.h"

#include <QString>
#include <QtGlobal>

namespace qmf {

class SmbusAdapterChoice;
namespace trace {
class LineObserver;
}

// The component through which every register byte passes. Device addresses are in 8-bit form
// (the 7-bit address shifted left by one). A failed operation throws LinkError; a chip that is
// not there is no failure: ReadByte returns normally with a byte other than 0x41.

// The two-wire bus driven through the selected printer port, plus the board's outputs.
class BusEngine {
public:
    virtual ~BusEngine() = default;
    // Board outputs: bit 4 heater 1, bit 5 heater 2; 0 = all off.
    virtual void setAuxOutputs(quint8 outputs) = 0;
    // Announces the next setAuxOutputs with the same byte.
    virtual void setAuxOutputsPrepare(quint8 outputs) = 0;
    virtual qint16 TransferSetting() = 0;
    virtual void setTransferSetting(qint16 setting) = 0;
    virtual void setTargetAddress(quint8 device) = 0;
    virtual bool AlternateMode() = 0;
    virtual void setAlternateMode(bool alternate) = 0;
    virtual void ReadByte(quint8 device, quint8 reg, quint8& value) = 0;
    virtual void WriteByte(quint8 device, quint8 reg, quint8 value) = 0;
    // Whether a device answers at `device` (8-bit form), by reads only: its address with the read
    // bit, then one byte read and not acknowledged. Throws LinkError where the bus fails or this
    // engine cannot probe.
    virtual bool probeAddress(quint8 device);
    // Follows the bus lines for a waveform trace (null stops). False where the engine has no
    // lines of its own to show.
    virtual bool setLineObserver(trace::LineObserver* observer) { return observer == nullptr; }

    // The board's outputs as this engine last put them (0 before the first put), and the
    // notice of each change.
    quint8 AuxOutputs() const { return outputs_.value(); }
    BoardOutputs& auxOutputsState() { return outputs_; }

protected:
    // Each implementation calls this once the board took an output byte, and with 0 when it
    // let go of a port after switching its outputs off.
    void rememberAuxOutputs(quint8 outputs) { outputs_.remember(outputs); }

private:
    BoardOutputs outputs_;
};

// The PC's printer ports; ports are indexed 0 to PortCount() - 1.
class ParallelPortLink {
public:
    virtual ~ParallelPortLink() = default;
    virtual quint8 PortCount() = 0;
    // Selects the port for all later traffic.
    virtual void setPortIndex(quint8 index) = 0;
    // I/O address of the selected port (16 bits; shown as hex of its unsigned value).
    virtual qint16 PortAddress() = 0;
    // The bus engine acting on the selected port.
    virtual BusEngine& busEngine() = 0;
};

// The PC's own SMBus controller.
class SmbusLink {
public:
    virtual ~SmbusLink() = default;
    // The controller's I/O base address, 0 when unknown.
    virtual qint32 BaseAddress() = 0;
    virtual void setTargetAddress(quint8 device) = 0;
    virtual void ReadByte(quint8 device, quint8 reg, quint8& value) = 0;
    virtual void WriteByte(quint8 device, quint8 reg, quint8 value) = 0;
    // As BusEngine::probeAddress.
    virtual bool probeAddress(quint8 device);
};

enum class ActiveMedium { PrinterPort = 0, Smbus = 1 };

class BoardLink {
public:
    virtual ~BoardLink() = default;
    // Sub-objects are owned by the board link and stay valid as long as it lives.
    virtual ParallelPortLink& parallelPortLink() = 0;
    virtual SmbusLink& smbusLink() = 0;
    // Set once, when the device search finishes: 0 printer port, 1 on-board SMBus.
    virtual void setActiveMedium(int medium) = 0;
    // A short human description for messages ("simulated evaluation board", "/dev/i2c-1", ...).
    virtual QString description() const = 0;
    // Whether this machine offers an SMBus controller the SMBus path can use.
    virtual bool smbusAvailable() { return true; }
    // The i2c adapters the SMBus path can be put on; null where the SMBus is built into the
    // board (the simulated boards).
    virtual SmbusAdapterChoice* smbusAdapterChoice() { return nullptr; }

    // What the buses went through since the last reset (a new device search resets it).
    virtual BusHealth& busHealth() { return health_; }

private:
    BusHealth health_;
};

} // namespace qmf
