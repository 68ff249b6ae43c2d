// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Rounding.h"

#include <cmath>
#include <limits>

namespace qmf::text {

namespace {
template <class Int> std::optional<Int> narrow(double value) {
    const double rounded = roundHalfEven(value);
    // NaN fails both comparisons and is rejected with the out-of-range values.
    if (!(rounded >= double(std::numeric_limits<Int>::min()) &&
          rounded <= double(std::numeric_limits<Int>::max()))) {
        return std::nullopt;
    }
    return Int(rounded);
}
} // namespace

double roundHalfEven(double value) {
    const double awayFromZero = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        // A tie: of the two neighbours take the even one.
        return 2.0 * std::round(value / 2.0);
    }
    return awayFromZero;
}

std::optional<qint16> roundToInt16(double value) {
    return narrow<qint16>(value);
}

std::optional<qint32> roundToInt32(double value) {
    return narrow<qint32>(value);
}

double floorInt(double value) {
    return std::floor(value);
}

} // namespace qmf::text
