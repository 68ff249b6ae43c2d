// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/measure/Fan.h"

#include "core/chip/SharedState.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"
#include "core/text/Rounding.h"

#include <QtNumeric>

namespace qmf {

namespace {

// Bits 7:6 of the speed-2 register select the tachometer oscillator.
constexpr int OscillatorBits = 0xC0;
constexpr qint32 FrequencyByCode[4] = {0, 470, 940, 1880};

int codeForFrequency(qint32 frequency) {
    for (int code = 1; code < 4; ++code) {
        if (FrequencyByCode[code] == frequency) {
            return code;
        }
    }
    return 0; // unsupported frequencies leave the oscillator bits at 00
}

} // namespace

qint32 Fan::TachConvert(qint32 x, qint32 oscillatorFrequency) {
    if (x == 0) {
        x = 1; // a count of 0 means the fastest the tachometer can tell, not a division by zero
    }
    qint32 f4 = 0;
    if (qMulOverflow(oscillatorFrequency, qint32(4), &f4)) {
        throw OverflowError(
            QStringLiteral("oscillator frequency %1 Hz times 4 does not fit 32 bits")
                .arg(oscillatorFrequency));
    }
    // The order of the operations decides which results land exactly on a half: keep it.
    const double r = ((60.0 / x) / 2.0) * f4;
    const std::optional<qint32> result = text::roundToInt32(r);
    if (!result) {
        throw OverflowError(
            QStringLiteral("fan speed conversion of %1 at %2 Hz does not fit 32 bits")
                .arg(x)
                .arg(oscillatorFrequency));
    }
    return *result;
}

quint8 Fan::readByte(quint8 address) {
    state_.AddressPointer = address;
    ReadRegister(state_);
    return quint8(state_.DataRead);
}

qint32 Fan::Limit() {
    return TachConvert(readByte(limitAddress_), oscillatorFrequency_);
}

void Fan::setLimit(qint32 vData) {
    state_.DataToWrite = TachConvert(vData, oscillatorFrequency_);
    state_.AddressPointer = limitAddress_;
    WriteRegister(state_);
}

qint32 Fan::Speed() {
    return TachConvert(readByte(speedAddress_), oscillatorFrequency_);
}

qint32 Fan::OscillatorFrequencyOf(quint8 speed2) {
    return FrequencyByCode[(speed2 & OscillatorBits) / 64];
}

qint32 Fan::OscillatorFrequency() {
    oscillatorFrequency_ = OscillatorFrequencyOf(readByte(oscAddress_));
    return oscillatorFrequency_;
}

void Fan::setOscillatorFrequency(qint32 vData) {
    readByte(oscAddress_);
    // The other six bits belong to the PWM frequency and hot-plug speed and are kept.
    state_.DataRead = qint16(state_.DataRead & ~OscillatorBits & 0xFF);
    state_.DataToWrite = state_.DataRead | (codeForFrequency(vData) << 6);
    state_.AddressPointer = oscAddress_;
    WriteRegister(state_);
    oscillatorFrequency_ = vData;
}

void Fan::RefreshParams() {
    OscillatorFrequency();
}

} // namespace qmf
