// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ServeReadings.h"

#include "core/chip/RegisterMap.h"
#include "core/link/RegisterAccess.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"

namespace qmf::cli {

namespace {

constexpr quint8 FansSupportedControl = 0x02;
constexpr quint8 FanFullSpeed = 0x09;
constexpr quint8 InHotPlugSpeed = 0x10; // main status bits
constexpr quint8 InAlarmSpeed = 0x08;

quint8 at(RegisterFamily family, int channel) {
    return RegisterMap::familyAddress(family, channel);
}

bool bit(quint8 value, int n) {
    return (value >> n) & 1;
}

std::optional<double> knownDuty(const RegisterImage& r, int fan) {
    if (!bit(r[FansSupportedControl], fan)) {
        return 0.0;
    }
    if (bit(r[FanFullSpeed], fan)) {
        return 1.0;
    }
    // Either fan may be the one at alarm or hot-plug speed: the bits do not say which.
    if (r[Reg::MainStatus] & (InHotPlugSpeed | InAlarmSpeed)) {
        return std::nullopt;
    }
    for (int t = 0; t < ChipReadings::Sensors; ++t) {
        // A clear mask bit of an installed channel hands the fan to automatic control, whose
        // duty follows the temperature inside the chip.
        if (bit(r[Reg::TempDevicesInstalled], t) &&
            !bit(r[at(RegisterFamily::TempFanMask, t)], fan)) {
            return std::nullopt;
        }
    }
    // The normal speed: a 4-bit code for code / 15 of full duty.
    return (r[at(RegisterFamily::FanSpeed1, fan)] & 0x0F) / 15.0;
}

} // namespace

const std::vector<quint8>& pollAddresses() {
    static const std::vector<quint8> addresses = [] {
        std::vector<quint8> list = {Reg::MainStatus, FansSupportedControl,
                                    Reg::TempDevicesInstalled, FanFullSpeed};
        for (RegisterFamily family :
             {RegisterFamily::FanStatus, RegisterFamily::FanSpeed1, RegisterFamily::FanSpeed2,
              RegisterFamily::FanSpeed, RegisterFamily::FanHighLimit, RegisterFamily::TempFanMask,
              RegisterFamily::TempValue, RegisterFamily::TempHighLimit,
              RegisterFamily::TempLowLimit, RegisterFamily::AinValue, RegisterFamily::AinHighLimit,
              RegisterFamily::AinLowLimit}) {
            for (int channel = 0; channel < RegisterMap::familyChannelCount(family); ++channel) {
                list.push_back(at(family, channel));
            }
        }
        return list;
    }();
    return addresses;
}

RegisterImage readRegisterImage(SharedState& state) {
    RegisterImage image{};
    for (quint8 address : pollAddresses()) {
        image[address] = ReadRegisterAt(state, address);
    }
    return image;
}

ChipReadings decodeReadings(const RegisterImage& r) {
    ChipReadings readings;
    for (int fan = 0; fan < ChipReadings::Fans; ++fan) {
        const qint32 frequency = Fan::OscillatorFrequencyOf(r[at(RegisterFamily::FanSpeed2, fan)]);
        readings.fanRpm[fan] = Fan::TachConvert(r[at(RegisterFamily::FanSpeed, fan)], frequency);
        readings.fanLimitRpm[fan] =
            Fan::TachConvert(r[at(RegisterFamily::FanHighLimit, fan)], frequency);
        readings.fanDuty[fan] = knownDuty(r, fan);
        readings.fanStatus[fan] = events::decodeFanStatus(r[at(RegisterFamily::FanStatus, fan)]);
    }
    for (int t = 0; t < ChipReadings::Sensors; ++t) {
        const quint8 value = r[at(RegisterFamily::TempValue, t)];
        const quint8 high = r[at(RegisterFamily::TempHighLimit, t)];
        const quint8 low = r[at(RegisterFamily::TempLowLimit, t)];
        readings.temperature[t] = Temperature::RegisterToTemperature(value);
        readings.highLimit[t] = Temperature::RegisterToTemperature(high);
        readings.lowLimit[t] = Temperature::RegisterToTemperature(low);
        readings.temperatureStatus[t] =
            events::decodeTemperatureStatusBytes(r[Reg::MainStatus], value, low, high);
    }
    for (int a = 0; a < ChipReadings::Inputs; ++a) {
        readings.ain[a] = r[at(RegisterFamily::AinValue, a)];
        readings.ainHighLimit[a] = r[at(RegisterFamily::AinHighLimit, a)];
        readings.ainLowLimit[a] = r[at(RegisterFamily::AinLowLimit, a)];
    }
    return readings;
}

} // namespace qmf::cli
