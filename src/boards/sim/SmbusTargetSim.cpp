// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/sim/SmbusTargetSim.h"

#include "boards/sim/SimulatedChip.h"

namespace qmf::sim {

quint8 ChipBusDevice::readRegister(quint8 reg) {
    return chip_.readRegister(reg);
}

void ChipBusDevice::writeRegister(quint8 reg, quint8 value) {
    chip_.writeRegister(reg, value);
}

bool ChipBusDevice::answering() const {
    return chip_.answering();
}

SmbusTargetSim::SmbusTargetSim(quint8 address, RegisterDevice& device)
    : address_(quint8(address & 0xFE)), device_(device) {}

void SmbusTargetSim::jamSdaLow(int clocks) {
    state_ = State::Jammed;
    jamClocks_ = clocks;
    sdaLow_ = clocks > 0;
    sdaChangeAt_ = 0;
}

void SmbusTargetSim::onLines(bool scl, bool sda, qint64 nowUs) {
    const bool drove = drivesSdaLow(nowUs);
    const bool falling = !scl && lastScl_;
    if (scl && lastScl_ && sda != lastSda_) {
        if (sda) {
            onStop();
        } else {
            onStart();
        }
    } else if (scl && !lastScl_) {
        onSclRise(sda);
    } else if (!scl && lastScl_) {
        onSclFall(nowUs);
    }
    lastScl_ = scl;
    lastSda_ = sda;
    if (sdaLow_ != drove) {
        sdaWasLow_ = drove;
        sdaChangeAt_ = falling ? nowUs + DataHoldUs : nowUs;
    }
}

void SmbusTargetSim::onStart() {
    if (state_ == State::Jammed) {
        return;
    }
    ++starts_;
    state_ = State::Receive;
    role_ = Role::Address;
    bits_ = 0;
    shift_ = 0;
    sdaLow_ = false;
}

void SmbusTargetSim::onStop() {
    if (state_ == State::Jammed) {
        return;
    }
    ++stops_;
    state_ = State::Idle;
    sdaLow_ = false;
}

void SmbusTargetSim::onSclRise(bool sda) {
    if (state_ == State::Receive) {
        shift_ = quint8((shift_ << 1) | (sda ? 1 : 0));
        ++bits_;
    } else if (state_ == State::AckIn) {
        masterAcked_ = !sda;
    }
}

void SmbusTargetSim::onSclFall(qint64 nowUs) {
    switch (state_) {
    case State::Receive:
        if (bits_ == 8) {
            byteReceived();
        }
        break;
    case State::AckOut:
        ++acknowledgements_;
        sdaLow_ = false;
        if (stretchUs_ > 0) {
            sclHeldUntil_ = nowUs + stretchUs_;
        }
        if (reading_) {
            beginTransmit();
        } else {
            state_ = State::Receive;
            bits_ = 0;
            shift_ = 0;
        }
        break;
    case State::Transmit:
        if (++bits_ == 8) {
            sdaLow_ = false;
            state_ = State::AckIn;
        } else {
            sdaLow_ = ((outgoing_ >> (7 - bits_)) & 1) == 0;
        }
        break;
    case State::AckIn:
        if (masterAcked_) {
            beginTransmit();
        } else {
            sdaLow_ = false;
            state_ = State::Ignore;
        }
        break;
    case State::Jammed:
        if (--jamClocks_ <= 0) {
            sdaLow_ = false;
            state_ = State::Idle;
        }
        break;
    case State::Idle:
    case State::Ignore:
        break;
    }
}

void SmbusTargetSim::byteReceived() {
    switch (role_) {
    case Role::Address:
        if ((shift_ & 0xFE) != address_ || !device_.answering()) {
            state_ = State::Ignore;
            return;
        }
        reading_ = (shift_ & 1) != 0;
        role_ = Role::Pointer;
        break;
    case Role::Pointer:
        pointer_ = shift_;
        role_ = Role::Data;
        break;
    case Role::Data:
        device_.writeRegister(pointer_, shift_);
        pointer_ = quint8(pointer_ + 1);
        break;
    }
    sdaLow_ = true;
    state_ = State::AckOut;
}

void SmbusTargetSim::beginTransmit() {
    outgoing_ = device_.readRegister(pointer_);
    pointer_ = quint8(pointer_ + 1);
    bits_ = 0;
    sdaLow_ = (outgoing_ & 0x80) == 0;
    state_ = State::Transmit;
}

} // namespace qmf::sim
