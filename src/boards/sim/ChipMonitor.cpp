// SPDX-License-Identifier: GPL-3.0-or-later
// The chip's monitoring: value registers from the physics, limit comparisons, fan faults and the
// status registers built from them.
#include "boards/sim/ChipModel.h"
#include "boards/sim/TemperatureCode.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qmf::sim {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double seconds(const ChipModel& m) {
    return double(m.modelMs) / 1000.0;
}

quint8 temperatureReading(const ChipModel& m, int channel) {
    double reading = m.phys.temp[channel];
    if (channel == 0) {
        reading +=
            physics::kLocalWobble * std::sin(kTwoPi * seconds(m) / physics::kLocalWobblePeriodS);
    }
    reading += qint8(m.regs[reg::TempOffset + channel]); // offsets are two's complement
    return encodeTemperature(int(std::lround(std::clamp(reading, -200.0, 200.0))));
}

// The tachometer counts oscillator periods over two fan revolutions: 120 x f / RPM.
quint8 tachCount(const ChipModel& m, int fan) {
    static constexpr double kOscillatorHz[4] = {0.0, 470.0, 940.0, 1880.0};
    const double frequency = kOscillatorHz[m.regs[reg::FanSpeed2 + fan] >> 6];
    if (frequency == 0.0) {
        return 0; // measurement disabled
    }
    const double rpm = m.phys.rpm[fan];
    const double count = rpm > 0.0 ? 120.0 * frequency / rpm : 255.0;
    return quint8(std::clamp(std::lround(count), 1L, 255L));
}

// Two slowly drifting voltages, in converter counts.
quint8 ainReading(const ChipModel& m, int ain) {
    const double t = seconds(m);
    const double value = ain == 0 ? 128.0 + 6.0 * std::sin(kTwoPi * t / 60.0)
                                  : 80.0 + 4.0 * std::sin(kTwoPi * t / 97.0 + 1.0);
    return quint8(std::lround(value));
}

bool bitSet(quint8 value, int bit) {
    return (value >> bit) & 1;
}

void findEvents(ChipModel& m) {
    const auto& r = m.regs;
    Events& e = m.events;
    for (int t = 0; t < reg::kTempChannels; ++t) {
        const bool installed = bitSet(r[reg::TempInstalled], t);
        const int value = decodeTemperature(r[reg::TempValue + t]);
        e.tempHigh[t] = installed && value > decodeTemperature(r[reg::TempHighLimit + t]);
        e.tempLow[t] = installed && value < decodeTemperature(r[reg::TempLowLimit + t]);
    }
    for (int a = 0; a < reg::kAins; ++a) {
        e.ainHigh[a] = r[reg::AinValue + a] > r[reg::AinHighLimit + a];
        e.ainLow[a] = r[reg::AinValue + a] < r[reg::AinLowLimit + a];
    }
    for (int g = 0; g < reg::kGpios; ++g) {
        const quint8 control = r[reg::GpioControl + g];
        const bool input = !(control & reg::bit::GpioOutput);
        const bool activeLevel = control & reg::bit::GpioActiveHigh;
        e.gpioAsserted[g] =
            bitSet(r[reg::GpioSupport], g) && input && bitSet(m.env.gpioLevels, g) == activeLevel;
    }
    for (int fan = 0; fan < reg::kFans; ++fan) {
        const bool monitored = bitSet(r[reg::FansSupportedSystem], fan);
        const bool connected = m.env.fanConnected[fan];
        const bool measuring = (r[reg::FanSpeed2 + fan] >> 6) != 0;
        e.fanMissing[fan] = monitored && !connected;
        // A driven fan that turns slower than its limit allows; not judged while spinning up.
        e.fanFault[fan] = monitored && connected && measuring && m.ctl.driven[fan] &&
                          m.ctl.spinUpLeftS[fan] <= 0.0 &&
                          r[reg::FanCount + fan] > r[reg::FanHighLimit + fan];
    }
}

struct Outputs {
    bool intLine = false;
    bool cfault = false;
};

void limitOutputs(quint8 control, bool high, bool low, Outputs& out) {
    out.intLine |=
        (high && (control & reg::bit::IntOnHigh)) || (low && (control & reg::bit::IntOnLow));
    out.cfault |=
        (high && (control & reg::bit::CfaultOnHigh)) || (low && (control & reg::bit::CfaultOnLow));
}

} // namespace

void measure(ChipModel& m) {
    for (int t = 0; t < reg::kTempChannels; ++t) {
        m.regs[reg::TempValue + t] = temperatureReading(m, t);
    }
    for (int fan = 0; fan < reg::kFans; ++fan) {
        m.regs[reg::FanCount + fan] = tachCount(m, fan);
    }
    for (int a = 0; a < reg::kAins; ++a) {
        m.regs[reg::AinValue + a] = ainReading(m, a);
    }
}

void evaluateStatus(ChipModel& m) {
    findEvents(m);
    updateAfcTemperatures(m);
    for (int fan = 0; fan < reg::kFans; ++fan) {
        m.ctl.decision[fan] = decideFan(m, fan);
    }
    auto& r = m.regs;
    const Events& e = m.events;
    Outputs out;
    quint8 main = 0;
    for (int t = 0; t < reg::kTempChannels; ++t) {
        if (e.tempHigh[t] || e.tempLow[t]) {
            main |= reg::bit::ThermalEvent;
        }
        limitOutputs(r[reg::TempControl + t], e.tempHigh[t], e.tempLow[t], out);
    }
    for (int a = 0; a < reg::kAins; ++a) {
        if (e.ainHigh[a] || e.ainLow[a]) {
            main |= reg::bit::GpioAinEvent;
        }
        limitOutputs(r[reg::AinControl + a], e.ainHigh[a], e.ainLow[a], out);
    }
    if (std::find(e.gpioAsserted.begin(), e.gpioAsserted.end(), true) != e.gpioAsserted.end()) {
        main |= reg::bit::GpioAinEvent;
    }
    for (int fan = 0; fan < reg::kFans; ++fan) {
        quint8 status =
            r[reg::FanStatus + fan] & (reg::bit::FanStatusWritable | reg::bit::FanStatusLatches);
        if (e.fanMissing[fan]) {
            status |= reg::bit::Missing | reg::bit::MissingLatched;
        }
        if (e.fanFault[fan]) {
            status |= reg::bit::Fault | reg::bit::FaultLatched | reg::bit::TachFaultLatched;
        }
        r[reg::FanStatus + fan] = status;
        if (e.fanMissing[fan] || e.fanFault[fan]) {
            main |= reg::bit::HotPlugFanFault;
        }
        const quint8 control = r[reg::FanControl + fan];
        out.intLine |= (e.fanFault[fan] && (control & reg::bit::IntOnFault)) ||
                       (e.fanMissing[fan] && (control & reg::bit::IntOnHotUnplug));
        out.cfault |= (e.fanFault[fan] && (control & reg::bit::CfaultOnFault)) ||
                      (e.fanMissing[fan] && (control & reg::bit::CfaultOnHotUnplug));
        const FanMode mode = m.ctl.decision[fan].mode;
        if (mode == FanMode::HotPlug) {
            main |= reg::bit::InHotPlugSpeed;
        } else if (mode == FanMode::Alarm) {
            main |= reg::bit::InAlarmSpeed;
        }
    }
    const quint8 config = r[reg::Config];
    if (out.cfault || (config & reg::bit::ForceCfault)) {
        main |= reg::bit::CfaultOut;
    }
    if (m.env.cfaultIn) {
        main |= reg::bit::CfaultIn;
    }
    if ((config & reg::bit::ForceInt) || (out.intLine && !(config & reg::bit::GlobalIntMask))) {
        main |= reg::bit::Int;
    }
    r[reg::MainStatus] = main;
    r[reg::GpioLevels] = m.env.gpioLevels & r[reg::GpioSupport] & 0x7F;
}

} // namespace qmf::sim
