// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <optional>

namespace qmf::text {

// Nearest whole number, halves to the even neighbour: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2.
double roundHalfEven(double value);

// roundHalfEven narrowed to 16 bits; nullopt when the result does not fit (or is not a number).
std::optional<qint16> roundToInt16(double value);

// roundHalfEven narrowed to 32 bits; nullopt when the result does not fit (or is not a number).
std::optional<qint32> roundToInt32(double value);

// The integer part towards minus infinity: 2.7 -> 2, -2.1 -> -3.
double floorInt(double value);

} // namespace qmf::text
