// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chip/PowerUpValues.h"

namespace qmf {

namespace {

std::array<quint8, 256> makePowerUpValues() {
    std::array<quint8, 256> r{};
    r[0x01] = 0x10; // Config: StartMonitoring
    r[0x02] = 0x03; // both fans supported
    r[0x03] = 0x03;
    r[0x04] = 0x7F; // GPIO 0 to 6 supported
    r[0x06] = 0x07; // all three sensors installed
    r[0x0C] = 0x03; // fan spin-up 2 seconds
    r[0x0D] = 0x41; // manufacturer ID
    r[0x0E] = 0x12; // revision 1.2
    for (int t = 0; t < 3; ++t) {
        r[0x40 + t] = 0x02; // alarm speed on over-temperature
        r[0x80 + t] = 40;   // Tmin 40 C
        r[0x88 + t] = 0x42; // hysteresis 4 C, Trange 20 C
        r[0x90 + t] = 80;   // high limit 80 C
        r[0x98 + t] = 0;    // low limit 0 C
    }
    for (int a = 0; a < 2; ++a) {
        r[0x50 + a] = 0x02; // alarm speed above the high limit
        r[0xA8 + a] = 0xFF;
        r[0xB0 + a] = 0x00;
    }
    for (int f = 0; f < 2; ++f) {
        r[0x60 + f] = 0xF8; // alarm 100 %, normal 53.33 %
        r[0x68 + f] = 0x6C; // 470 Hz oscillator, 250 Hz PWM, hot-plug 80 %
        r[0x78 + f] = 0x80; // tachometer limit, about 440 RPM at 470 Hz
    }
    return r;
}

} // namespace

const std::array<quint8, 256>& powerUpValues() {
    static const std::array<quint8, 256> values = makePowerUpValues();
    return values;
}

bool isChipReading(quint8 reg) {
    switch (reg) {
    case 0x00: // Main Status
    case 0x05: // GPIO Present/AIN: the pins' levels
    case 0x10: // Fan 0 Status
    case 0x11: // Fan 1 Status
    case 0x70: // Fan 0 Speed
    case 0x71: // Fan 1 Speed
    case 0xA0: // Temp 0 Value
    case 0xA1:
    case 0xA2:
    case 0xB8: // AIN 0 Value
    case 0xB9:
        return true;
    default:
        return false;
    }
}

} // namespace qmf
