// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf::sim {

class SimulatedChip;

// What a device on a simulated bus does with register traffic.
class RegisterDevice {
public:
    virtual ~RegisterDevice() = default;
    virtual quint8 readRegister(quint8 reg) = 0;
    virtual void writeRegister(quint8 reg, quint8 value) = 0;
    // False: the device acknowledges nothing, as a chip that stopped answering.
    virtual bool answering() const { return true; }
};

// A simulated chip seen as a register device.
class ChipBusDevice final : public RegisterDevice {
public:
    explicit ChipBusDevice(SimulatedChip& chip) : chip_(chip) {}
    quint8 readRegister(quint8 reg) override;
    void writeRegister(quint8 reg, quint8 value) override;
    bool answering() const override;

private:
    SimulatedChip& chip_;
};

// An SMBus target at bit level in front of a register device: start and stop detection, address
// match with acknowledge, the register pointer write, data writes (the pointer moves on after
// each), repeated start, reads answered with the master's acknowledge or not. It sees the bus
// only as the levels of SCL and SDA after each change, as a chip on the board would.
class SmbusTargetSim {
public:
    // The address in 8-bit form (5Eh).
    SmbusTargetSim(quint8 address, RegisterDevice& device);

    // A device changes SDA this long after the clock's falling edge (its data hold time), as a
    // real one does, never with the edge itself.
    static constexpr qint64 DataHoldUs = 2;

    // The wired-AND levels of the lines after a change; nowUs is bus time.
    void onLines(bool scl, bool sda, qint64 nowUs);
    bool drivesSdaLow(qint64 nowUs) const { return nowUs >= sdaChangeAt_ ? sdaLow_ : sdaWasLow_; }
    bool holdsSclLow(qint64 nowUs) const { return nowUs < sclHeldUntil_; }

    // Clock stretching: after each acknowledge it gives, the target holds SCL low this long.
    void setStretchUs(qint64 microseconds) { stretchUs_ = microseconds; }
    // A target cut off in the middle of sending: it holds SDA low for the next `clocks` falling
    // edges of SCL, then lets go.
    void jamSdaLow(int clocks);

    quint8 address() const { return address_; }
    int starts() const { return starts_; }
    int stops() const { return stops_; }
    // Acknowledge clocks this target has finished (its address, register and data bytes).
    int acknowledgements() const { return acknowledgements_; }

private:
    enum class State { Idle, Receive, AckOut, Transmit, AckIn, Ignore, Jammed };
    enum class Role { Address, Pointer, Data };

    void onStart();
    void onStop();
    void onSclRise(bool sda);
    void onSclFall(qint64 nowUs);
    void byteReceived();
    void beginTransmit();

    quint8 address_;
    RegisterDevice& device_;
    State state_ = State::Idle;
    Role role_ = Role::Address;
    bool lastScl_ = true;
    bool lastSda_ = true;
    bool sdaLow_ = false;
    // Until sdaChangeAt_ the line still shows the drive from before the last falling edge.
    bool sdaWasLow_ = false;
    qint64 sdaChangeAt_ = 0;
    bool reading_ = false;
    bool masterAcked_ = false;
    int bits_ = 0;
    quint8 shift_ = 0;
    quint8 pointer_ = 0;
    quint8 outgoing_ = 0;
    int jamClocks_ = 0;
    qint64 stretchUs_ = 0;
    qint64 sclHeldUntil_ = 0;
    int starts_ = 0;
    int stops_ = 0;
    int acknowledgements_ = 0;
};

} // namespace qmf::sim
