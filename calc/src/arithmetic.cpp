// SPDX-License-Identifier: GPL-3.0-or-later
#include "arithmetic.hpp"

#include <cmath>
#include <limits>

namespace vexacalc::detail {

double roundHalfEven(double x) {
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

Outcome<std::int16_t> roundToInteger(double x) {
    if (!std::isfinite(x))
        return kOverflow;
    const double rounded = roundHalfEven(x);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max())
        return kOverflow;
    return static_cast<std::int16_t>(rounded);
}

Outcome<std::int16_t> absInteger(std::int16_t value) {
    if (value == std::numeric_limits<std::int16_t>::min())
        return kOverflow;
    return static_cast<std::int16_t>(value < 0 ? -value : value);
}

Outcome<float> toSingle(double value) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return kOverflow;
    return static_cast<float>(value);
}

Outcome<float> subtractSingle(float a, float b) {
    const float difference = a - b;
    if (!std::isfinite(difference))
        return kOverflow;
    return difference;
}

Outcome<float> divideSingle(float dividend, float divisor) {
    if (divisor == 0.0f)
        return kDivisionByZero;
    const float quotient = dividend / divisor;
    if (!std::isfinite(quotient))
        return kOverflow;
    return quotient;
}

Outcome<double> divideDouble(double dividend, double divisor) {
    if (divisor == 0.0)
        return kDivisionByZero;
    const double quotient = dividend / divisor;
    if (!std::isfinite(quotient))
        return kOverflow;
    return quotient;
}

} // namespace vexacalc::detail
