// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/measure/Temperature.h"

#include "core/chip/SharedState.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"

#include <limits>

namespace qmf {

namespace {

// Inverts bits 0 to 6 one at a time and finally sets bit 0. Clearing a bit ANDs with a mask that
// also drops bits 8 to 15, so a value above 0xFF keeps its high bits only when none of bits 0 to
// 6 was set. The chip's negative-temperature encoding depends on exactly this.
int ComplementLowBits(int value) {
    for (int k = 0; k <= 6; ++k) {
        const int bit = 1 << k;
        if (value & bit) {
            value &= 0x00FF - bit;
        } else {
            value |= bit;
        }
    }
    return value | 1;
}

} // namespace

qint16 Temperature::RegisterToTemperature(qint16 byte) {
    if (byte < 128) {
        return byte;
    }
    return qint16(-ComplementLowBits(byte & 0x7F));
}

qint16 Temperature::TemperatureToRegister(qint16 temperature) {
    if (temperature >= 0) {
        return temperature;
    }
    if (temperature == std::numeric_limits<qint16>::min()) {
        throw OverflowError(
            QStringLiteral("temperature %1 has no register encoding").arg(temperature));
    }
    int magnitude = -temperature;
    if (magnitude != 128) {
        magnitude = ComplementLowBits(magnitude);
    }
    return qint16(magnitude | 0x80);
}

qint16 Temperature::readConverted(qint16 address) {
    state_.AddressPointer = address;
    ReadRegister(state_);
    return RegisterToTemperature(state_.DataRead);
}

void Temperature::writeConverted(qint16 address, qint16 temperature) {
    state_.DataToWrite = TemperatureToRegister(temperature);
    state_.AddressPointer = address;
    WriteRegister(state_);
}

qint16 Temperature::MinLimit() {
    return readConverted(minAddress_);
}
void Temperature::setMinLimit(qint16 vData) {
    writeConverted(minAddress_, vData);
}
qint16 Temperature::MaxLimit() {
    return readConverted(maxAddress_);
}
void Temperature::setMaxLimit(qint16 vData) {
    writeConverted(maxAddress_, vData);
}
qint16 Temperature::Value() {
    return readConverted(valueAddress_);
}

} // namespace qmf
