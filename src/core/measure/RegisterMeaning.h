// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace qmf {

// Another register's byte where it is known (a fan's speed-2 register gives its tachometer
// oscillator frequency), nullopt where it is not.
using RegisterLookup = std::function<std::optional<quint8>(quint8 reg)>;

// What a register's byte means, in the program's own conversions, or "" where the program knows
// no meaning for the register:
//   temperatures, limits and Tmin        "25 °C", "-40 °C"
//   Tstep/Hyst                           "Trange 20 °C, hysteresis 4 °C"
//   fan speed 1                          "normal 53.33 %, alarm 100 %"
//   fan speed 2                          "hot-plug 80 %, oscillator 470 Hz"
//   fan tachometer count and high limit  "2507 RPM" (at the fan's oscillator frequency, when its
//                                        speed-2 register is known and selects one)
QString registerMeaning(quint8 reg, quint8 value, const RegisterLookup& lookup);

} // namespace qmf
