// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wizards/RegisterBits.h"

#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"

namespace qmf {

void SetRegisterBit(SharedState& state, quint8 address, quint8 bit, bool on) {
    quint8 value = ReadRegisterAt(state, address);
    if (bit <= 7) {
        const quint8 mask = quint8(1u << bit);
        value = on ? quint8(value | mask) : quint8(value & ~mask);
    }
    WriteRegisterAt(state, address, value);
}

quint8 GetRegisterBit(SharedState& state, quint8 address, quint8 bit) {
    const quint8 value = ReadRegisterAt(state, address);
    if (bit > 7) {
        return value;
    }
    return (value >> bit) & 1u;
}

quint8 RegisterField::insert(quint8 byte, int value) const {
    if (value < 0 || value > maximum()) {
        throw OverflowError(QStringLiteral("%1 does not fit the register field (0 to %2)")
                                .arg(value)
                                .arg(maximum()));
    }
    return quint8((byte & ~mask) | (value << shift));
}

int ReadRegisterField(SharedState& state, quint8 address, RegisterField field) {
    return field.extract(ReadRegisterAt(state, address));
}

void WriteRegisterField(SharedState& state, quint8 address, RegisterField field, int value) {
    // Checked before the read so that a bad value causes no traffic at all.
    field.insert(0, value);
    const quint8 byte = ReadRegisterAt(state, address);
    WriteRegisterAt(state, address, field.insert(byte, value));
}

} // namespace qmf
