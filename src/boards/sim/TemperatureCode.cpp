// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/sim/TemperatureCode.h"

namespace qmf::sim {

namespace {
int complementLowBits(int value) {
    return ((~value) & 0x7F) | 1;
}
} // namespace

quint8 encodeTemperature(int celsius) {
    if (celsius >= 0) {
        return quint8(qMin(celsius, 127));
    }
    const int magnitude = -celsius;
    // -128 and below all land on 0x80, the most negative code.
    if (magnitude >= 128) {
        return 0x80;
    }
    return quint8(complementLowBits(magnitude) | 0x80);
}

int decodeTemperature(quint8 code) {
    if (code < 128) {
        return code;
    }
    return -complementLowBits(code & 0x7F);
}

} // namespace qmf::sim
