// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/measure/RegisterMeaning.h"

#include "core/chip/RegisterMap.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"
#include "core/wizards/SpeedCode.h"

namespace qmf {

namespace {

// The family of `reg` and its channel, if it is one of the families named here.
std::optional<std::pair<RegisterFamily, int>> familyOf(quint8 reg) {
    static constexpr RegisterFamily known[] = {
        RegisterFamily::TempTmin,     RegisterFamily::TempTstepHyst, RegisterFamily::TempHighLimit,
        RegisterFamily::TempLowLimit, RegisterFamily::TempValue,     RegisterFamily::FanSpeed1,
        RegisterFamily::FanSpeed2,    RegisterFamily::FanSpeed,      RegisterFamily::FanHighLimit,
    };
    for (const RegisterFamily family : known) {
        const int channels = RegisterMap::familyChannelCount(family);
        const int base = RegisterMap::familyAddress(family, 0);
        if (reg >= base && reg < base + channels) {
            return std::pair(family, reg - base);
        }
    }
    return std::nullopt;
}

QString degrees(int value) {
    return QString::number(value) + QStringLiteral(" \u00B0C");
}

QString percent(int code) {
    return SpeedPercentText(code) + QStringLiteral(" %");
}

QString rpm(int fan, quint8 count, const RegisterLookup& lookup) {
    const std::optional<quint8> speed2 =
        lookup ? lookup(RegisterMap::familyAddress(RegisterFamily::FanSpeed2, fan)) : std::nullopt;
    const qint32 frequency = speed2 ? Fan::OscillatorFrequencyOf(*speed2) : 0;
    if (frequency == 0) {
        return {};
    }
    return QString::number(Fan::TachConvert(count, frequency)) + QStringLiteral(" RPM");
}

} // namespace

QString registerMeaning(quint8 reg, quint8 value, const RegisterLookup& lookup) {
    const auto family = familyOf(reg);
    if (!family) {
        return {};
    }
    const int channel = family->second;
    switch (family->first) {
    case RegisterFamily::TempTmin:
    case RegisterFamily::TempHighLimit:
    case RegisterFamily::TempLowLimit:
    case RegisterFamily::TempValue:
        return degrees(Temperature::RegisterToTemperature(value));
    case RegisterFamily::TempTstepHyst: {
        const int trange = value & 0x0F;
        const std::optional<QString> range = TrangeText(trange);
        return (range ? QStringLiteral("Trange %1 \u00B0C").arg(*range)
                      : QStringLiteral("Trange code %1").arg(trange)) +
               QStringLiteral(", hysteresis ") + degrees(value >> 4);
    }
    case RegisterFamily::FanSpeed1:
        return QStringLiteral("normal ") + percent(value & 0x0F) + QStringLiteral(", alarm ") +
               percent(value >> 4);
    case RegisterFamily::FanSpeed2:
        return QStringLiteral("hot-plug ") + percent(value & 0x0F) +
               QStringLiteral(", oscillator %1 Hz").arg(Fan::OscillatorFrequencyOf(value));
    case RegisterFamily::FanSpeed:
    case RegisterFamily::FanHighLimit:
        return rpm(channel, value, lookup);
    default:
        return {};
    }
}

} // namespace qmf
