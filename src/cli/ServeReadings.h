// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/events/ChipStatus.h"

#include <QtGlobal>
#include <array>
#include <optional>
#include <vector>

namespace qmf {
class SharedState;
}

namespace qmf::cli {

// The chip's registers as one poll read them (only the addresses pollAddresses() lists are
// meaningful; the others stay 0).
using RegisterImage = std::array<quint8, 256>;

// What a poll reports of the chip, in the units of the metrics.
struct ChipReadings {
    static constexpr int Fans = 2;
    static constexpr int Sensors = 3; // local, remote 0, remote 1
    static constexpr int Inputs = 2;  // AIN 0, AIN 1

    std::array<qint32, Fans> fanRpm{};
    // The speed below which the chip reports the fan faulty (its tachometer count limit).
    std::array<qint32, Fans> fanLimitRpm{};
    // The PWM duty (0..1), only where the registers tell it; see decodeReadings.
    std::array<std::optional<double>, Fans> fanDuty{};
    std::array<events::FanStatus, Fans> fanStatus{};

    std::array<qint16, Sensors> temperature{};
    std::array<qint16, Sensors> highLimit{};
    std::array<qint16, Sensors> lowLimit{};
    std::array<events::TemperatureStatus, Sensors> temperatureStatus{};

    std::array<quint8, Inputs> ain{};
    std::array<quint8, Inputs> ainHighLimit{};
    std::array<quint8, Inputs> ainLowLimit{};
};

// The registers a poll reads, in the order it reads them. Reading never changes the chip: its
// latched status bits clear only when written.
const std::vector<quint8>& pollAddresses();

// Reads pollAddresses() one by one. Throws the board's LinkError when a transfer fails.
RegisterImage readRegisterImage(SharedState& state);

// The readings in those registers. The duty of a fan is known when its drive is off (0), at full
// speed (1), or at its normal speed: no temperature channel hands it to automatic fan control and
// the main status shows no fan at alarm or hot-plug speed. Otherwise the chip does not tell it.
ChipReadings decodeReadings(const RegisterImage& registers);

} // namespace qmf::cli
