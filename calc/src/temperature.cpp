// SPDX-License-Identifier: GPL-3.0-or-later
// The chip's signed temperature encoding and its bit routine.
#include "VexaCalculate00/calculations.hpp"
#include "arithmetic.hpp"

#include <cstdint>

namespace vexacalc {

std::int16_t ComplementLowBits(std::int16_t& value) {
    // Done bit by bit in 16 bits: clearing a set bit masks with 0x00FF as well,
    // which is why bits 8-15 survive only when none of bits 0-6 was set.
    auto bits = static_cast<std::uint16_t>(value);
    for (unsigned k = 0; k <= 6; ++k) {
        const auto bit = static_cast<std::uint16_t>(1u << k);
        if (bits & bit)
            bits &= static_cast<std::uint16_t>(0x00FFu - bit);
        else
            bits |= bit;
    }
    bits |= 1u;
    value = static_cast<std::int16_t>(bits);
    return value;
}

std::int16_t Descramble2sComp(std::int16_t& data) {
    return ComplementLowBits(data);
}

Outcome<std::int16_t> Temperature(std::int16_t value, VexaBool convertToTemp) {
    if (convertToTemp == VEXA_TRUE) {
        if (value < 128)
            return value;
        auto magnitude = static_cast<std::int16_t>(value & 0x7F);
        return static_cast<std::int16_t>(-ComplementLowBits(magnitude));
    }
    if (convertToTemp == VEXA_FALSE) {
        if (value >= 0)
            return value;
        const Outcome<std::int16_t> magnitude = detail::absInteger(value);
        if (!magnitude)
            return Failure{magnitude.status()};
        auto bits = magnitude.value();
        return static_cast<std::int16_t>(ComplementLowBits(bits) | 0x80);
    }
    return std::int16_t{0};
}

} // namespace vexacalc
