// SPDX-License-Identifier: GPL-3.0-or-later
// Checked arithmetic in the component's value types: every operation that the
// calculations use either gives a representable value or a runtime error.
#pragma once

#include "VexaCalculate00/calculations.hpp"

#include <cstdint>

namespace vexacalc::detail {

inline constexpr Failure kOverflow{VEXA_E_OVERFLOW};
inline constexpr Failure kDivisionByZero{VEXA_E_DIVISIONBYZERO};

// Nearest whole number, halves to the even neighbour.
double roundHalfEven(double x);

// Rounds to an Integer; overflow when the rounded value leaves -32768..32767
// or x is not a number.
Outcome<std::int16_t> roundToInteger(double x);

// Absolute value of an Integer; overflow for -32768.
Outcome<std::int16_t> absInteger(std::int16_t value);

// A Double stored in a Single; overflow when it does not fit or is not finite.
Outcome<float> toSingle(double value);

// Single difference and quotient; overflow when the result is not finite.
Outcome<float> subtractSingle(float a, float b);
Outcome<float> divideSingle(float dividend, float divisor);

// Double quotient; overflow when the result is not finite.
Outcome<double> divideDouble(double dividend, double divisor);

} // namespace vexacalc::detail
