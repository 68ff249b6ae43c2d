// SPDX-License-Identifier: GPL-3.0-or-later
// Which speed each fan runs at: full > alarm > hot-plug > automatic fan control / normal.
#include "boards/sim/ChipModel.h"
#include "boards/sim/TemperatureCode.h"

#include <algorithm>

namespace qmf::sim {

namespace {

bool bitSet(quint8 value, int bit) {
    return (value >> bit) & 1;
}

// Any event routed to this fan by a mask register that asks for alarm speed.
bool alarmRequested(const ChipModel& m, int fan) {
    const auto& r = m.regs;
    const auto& e = m.events;
    if (bitSet(r[reg::FanAlarmSpeed], fan)) {
        return true;
    }
    for (int t = 0; t < reg::kTempChannels; ++t) {
        const quint8 control = r[reg::TempControl + t];
        const bool event = (e.tempHigh[t] && (control & reg::bit::AlarmOnHigh)) ||
                           (e.tempLow[t] && (control & reg::bit::AlarmOnLow));
        if (event && bitSet(r[reg::TempFanMask + t], fan)) {
            return true;
        }
    }
    for (int a = 0; a < reg::kAins; ++a) {
        const quint8 control = r[reg::AinControl + a];
        const bool event = (e.ainHigh[a] && (control & reg::bit::AlarmOnHigh)) ||
                           (e.ainLow[a] && (control & reg::bit::AlarmOnLow));
        if (event && bitSet(r[reg::AinFanMask + a], fan)) {
            return true;
        }
    }
    for (int g = 0; g < reg::kGpios; ++g) {
        if (e.gpioAsserted[g] && bitSet(r[reg::GpioFanMask + g], fan)) {
            return true;
        }
    }
    for (int other = 0; other < reg::kFans; ++other) {
        if (e.fanFault[other] && bitSet(r[reg::FanFaultMask + other], fan)) {
            return true;
        }
    }
    return m.env.cfaultIn && (r[reg::FanControl + fan] & reg::bit::AlarmOnCfault);
}

bool hotPlugRequested(const ChipModel& m, int fan) {
    const auto& r = m.regs;
    if (bitSet(r[reg::FanHotPlugSpeed], fan)) {
        return true;
    }
    if (m.env.cfaultIn && (r[reg::FanControl + fan] & reg::bit::HotPlugOnCfaultIn)) {
        return true;
    }
    // A fan pulled out of the system sends the others to hot-plug speed.
    for (int other = 0; other < reg::kFans; ++other) {
        if (other != fan && m.events.fanMissing[other]) {
            return true;
        }
    }
    return false;
}

// Trange code k means 5 x 2^k degrees; codes above 4 act as 4.
double trangeDegrees(quint8 rangeHyst) {
    return 5.0 * double(1 << std::min(rangeHyst & 0x0F, 4));
}

double afcDemand(const ChipModel& m, int channel, double minimumDuty) {
    const double tmin = decodeTemperature(m.regs[reg::TempTmin + channel]);
    const double range = trangeDegrees(m.regs[reg::TempRangeHyst + channel]);
    const double above = m.ctl.afcTemp[channel] - tmin;
    if (above <= 0.0) {
        return minimumDuty;
    }
    return std::min(100.0, minimumDuty + (100.0 - minimumDuty) * above / range);
}

} // namespace

double speedCodeDuty(int code) {
    return (code & 0x0F) * 100.0 / 15.0;
}

double spinUpSeconds(quint8 spinUpReg) {
    static constexpr double kSeconds[8] = {16.0, 8.0, 4.0, 2.0, 1.0, 0.25, 1.0 / 16, 1.0 / 64};
    const int code = spinUpReg & 0x0F;
    return code < 8 ? kSeconds[code] : 0.0;
}

void updateAfcTemperatures(ChipModel& m) {
    for (int t = 0; t < reg::kTempChannels; ++t) {
        const double reading = decodeTemperature(m.regs[reg::TempValue + t]);
        const double hysteresis = m.regs[reg::TempRangeHyst + t] >> 4;
        // Follows a rise at once; a fall only once the reading is more than the hysteresis below.
        double& afc = m.ctl.afcTemp[t];
        afc = std::clamp(afc, reading, reading + hysteresis);
    }
}

FanDecision decideFan(const ChipModel& m, int fan) {
    const auto& r = m.regs;
    if (!bitSet(r[reg::FansSupportedControl], fan)) {
        return {FanMode::Off, 0.0};
    }
    if (bitSet(r[reg::FanFullSpeed], fan)) {
        return {FanMode::Full, 100.0};
    }
    const double hotPlugDuty = speedCodeDuty(r[reg::FanSpeed2 + fan]);
    const bool hotPlug = hotPlugRequested(m, fan);
    if (hotPlug && (r[reg::FanStatus + fan] & reg::bit::HotPlugPriority)) {
        return {FanMode::HotPlug, hotPlugDuty};
    }
    if (alarmRequested(m, fan)) {
        return {FanMode::Alarm, speedCodeDuty(r[reg::FanSpeed1 + fan] >> 4)};
    }
    if (hotPlug) {
        return {FanMode::HotPlug, hotPlugDuty};
    }
    const double minimumDuty = speedCodeDuty(r[reg::FanSpeed1 + fan]);
    bool controlled = false;
    double duty = minimumDuty;
    const quint8 installed = r[reg::TempInstalled];
    for (int t = 0; t < reg::kTempChannels; ++t) {
        // A clear mask bit hands the fan to this channel's automatic fan control.
        if (bitSet(installed, t) && !bitSet(r[reg::TempFanMask + t], fan)) {
            controlled = true;
            duty = std::max(duty, afcDemand(m, t, minimumDuty));
        }
    }
    return {controlled ? FanMode::Afc : FanMode::Normal, duty};
}

} // namespace qmf::sim
