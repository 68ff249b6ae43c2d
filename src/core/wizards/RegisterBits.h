// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf {

class SharedState;

// Field-by-field register access for the wizards. Every operation works through the
// address-taking register operations, so the single-register protocol variables (AddressPointer,
// DataToWrite, DataRead) stay untouched, and every write is one read followed by one write of the
// whole byte.

// Reads the register once and writes it back with bit `bit` (0 = least significant) set or
// cleared. A bit outside 0..7 writes the value read back unchanged.
void SetRegisterBit(SharedState& state, quint8 address, quint8 bit, bool on);

// Reads the register once: 1 when bit `bit` is set, else 0. A bit outside 0..7 gives the whole
// byte.
quint8 GetRegisterBit(SharedState& state, quint8 address, quint8 bit);

// A contiguous bit field of a register: `mask` selects the bits, `shift` is the position of the
// lowest one (low nibble: 0x0F/0, high nibble: 0xF0/4, bits 5..4: 0x30/4, bits 7..6: 0xC0/6).
struct RegisterField {
    quint8 mask;
    int shift;

    // The largest value the field holds.
    int maximum() const { return mask >> shift; }
    // The field's value in a register byte.
    int extract(quint8 byte) const { return (byte & mask) >> shift; }
    // The byte with the field replaced by `value`; throws OverflowError when the value does not
    // fit the field, so a bad value never spills into the neighbouring bits.
    quint8 insert(quint8 byte, int value) const;
};

inline constexpr RegisterField LowNibble{0x0F, 0};
inline constexpr RegisterField HighNibble{0xF0, 4};

// Reads the register once and returns the field.
int ReadRegisterField(SharedState& state, quint8 address, RegisterField field);

// Reads the register once and writes it back once with the field replaced by `value`; the other
// bits keep what was read. An out-of-range value throws OverflowError before anything is sent.
void WriteRegisterField(SharedState& state, quint8 address, RegisterField field, int value);

} // namespace qmf
