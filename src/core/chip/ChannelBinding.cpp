// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chip/ChannelBinding.h"

#include "core/chip/SharedState.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"

namespace qmf {

void bindFanChannels(SharedState& state) {
    const struct {
        Fan& fan;
        quint8 limit, speed, oscillator;
    } fans[] = {{state.Fan0(), 0x78, 0x70, 0x68}, {state.Fan1(), 0x79, 0x71, 0x69}};
    for (const auto& f : fans) {
        f.fan.setLimitAddress(f.limit);
        f.fan.setSpeedAddress(f.speed);
        f.fan.setOscillatorFrequencyAddress(f.oscillator);
    }
}

void bindTemperatureChannels(SharedState& state) {
    const struct {
        Temperature& channel;
        qint16 max, min, value;
    } channels[] = {{state.IntTemp(), 0x90, 0x98, 0xA0},
                    {state.ExtTemp0(), 0x91, 0x99, 0xA1},
                    {state.ExtTemp1(), 0x92, 0x9A, 0xA2}};
    for (const auto& c : channels) {
        c.channel.setMaxAddressPointer(c.max);
        c.channel.setMinAddressPointer(c.min);
        c.channel.setValueAddressPointer(c.value);
    }
}

} // namespace qmf
