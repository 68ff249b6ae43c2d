// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/sim/ChipModel.h"

namespace qmf::sim {

// Chosen so that the board is alive at once: both fans supported and spinning at their normal
// speed, monitoring running, all three sensors installed, no limit violated at room temperature.
std::array<quint8, 256> powerUpRegisters() {
    std::array<quint8, 256> r{};
    r[reg::Config] = reg::bit::StartMonitoring;
    r[reg::FansSupportedControl] = 0x03;
    r[reg::FansSupportedSystem] = 0x03;
    r[reg::GpioSupport] = 0x7F;
    r[reg::TempInstalled] = 0x07;
    r[reg::SpinUp] = 0x03; // 2 seconds
    r[reg::ManufacturerId] = reg::IdValue;
    r[reg::Revision] = reg::RevisionValue;
    for (int t = 0; t < reg::kTempChannels; ++t) {
        r[reg::TempControl + t] = reg::bit::AlarmOnHigh;
        r[reg::TempTmin + t] = 40;
        r[reg::TempRangeHyst + t] = 0x42; // hysteresis 4 C, Trange 20 C
        r[reg::TempHighLimit + t] = 80;
        r[reg::TempLowLimit + t] = 0;
    }
    for (int a = 0; a < reg::kAins; ++a) {
        r[reg::AinControl + a] = reg::bit::AlarmOnHigh;
        r[reg::AinHighLimit + a] = 0xFF;
        r[reg::AinLowLimit + a] = 0x00;
    }
    for (int f = 0; f < reg::kFans; ++f) {
        r[reg::FanSpeed1 + f] = 0xF8;    // alarm 100 %, normal 53.33 %
        r[reg::FanSpeed2 + f] = 0x6C;    // 470 Hz oscillator, 250 Hz PWM, hot-plug 80 %
        r[reg::FanHighLimit + f] = 0x80; // about 440 RPM at 470 Hz
    }
    return r;
}

} // namespace qmf::sim
