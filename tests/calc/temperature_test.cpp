// SPDX-License-Identifier: GPL-3.0-or-later
// The chip's temperature encoding: the bit routine, Temperature and Descramble2sComp.
#include "VexaCalculate00/calculations.hpp"
#include "calc_test_support.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace {

using vexacalc::ComplementLowBits;

struct BitsCase {
    int input;
    int expected;
};

TEST(ComplementLowBits, WorkedValuesIncludingHighBits) {
    const BitsCase cases[] = {
        {0, 127},         {1, 127},         {2, 125},         {10, 117},    {54, 73},
        {55, 73},         {118, 9},         {126, 1},         {127, 1},     {0x0080, 0x00FF},
        {0x0100, 0x017F}, {0x7F80, 0x7FFF}, {0x0201, 0x007F}, {-1, 0x0081}, {-32768, -32641},
    };
    for (const BitsCase& c : cases) {
        auto value = static_cast<int16_t>(c.input);
        const int16_t returned = ComplementLowBits(value);
        EXPECT_EQ(returned, c.expected) << "input " << c.input;
        EXPECT_EQ(value, c.expected) << "in-place change for input " << c.input;
    }
}

TEST(ComplementLowBits, NetEffectOverEverySixteenBitValue) {
    // Bits 0-6 inverted then bit 0 set, bit 7 kept, bits 8-15 kept only when
    // none of bits 0-6 was set on entry.
    for (int input = -32768; input <= 32767; ++input) {
        const auto bits = static_cast<uint16_t>(input);
        const uint16_t high = (bits & 0x7F) ? 0 : (bits & 0xFF00);
        const auto expected = static_cast<int16_t>(high | (bits & 0x80) | ((~bits & 0x7F) | 1));
        auto value = static_cast<int16_t>(input);
        ASSERT_EQ(ComplementLowBits(value), expected) << "input " << input;
    }
}

struct TemperatureCase {
    int16_t value;
    VexaBool convert;
    int16_t expected;
};

TEST(Temperature, ConvertsBothWaysAndPassesOtherValues) {
    const TemperatureCase cases[] = {
        // register byte -> temperature
        {0, VEXA_TRUE, 0},
        {25, VEXA_TRUE, 25},
        {127, VEXA_TRUE, 127},
        {128, VEXA_TRUE, -127},
        {201, VEXA_TRUE, -55},
        {246, VEXA_TRUE, -9},
        {254, VEXA_TRUE, -1},
        {255, VEXA_TRUE, -1},
        {-5, VEXA_TRUE, -5},
        {0x1FF, VEXA_TRUE, -1},
        {32767, VEXA_TRUE, -1},
        // temperature -> register byte
        {0, VEXA_FALSE, 0},
        {25, VEXA_FALSE, 25},
        {300, VEXA_FALSE, 300},
        {-1, VEXA_FALSE, 255},
        {-2, VEXA_FALSE, 253},
        {-10, VEXA_FALSE, 245},
        {-55, VEXA_FALSE, 201},
        {-127, VEXA_FALSE, 129},
        {-128, VEXA_FALSE, 255},
        {-256, VEXA_FALSE, 511},
        {-32767, VEXA_FALSE, 129},
        // neither True nor False
        {201, 1, 0},
        {-55, -2, 0},
    };
    for (const TemperatureCase& c : cases) {
        const auto outcome = vexacalc::Temperature(c.value, c.convert);
        ASSERT_TRUE(outcome.ok()) << c.value << "," << c.convert;
        EXPECT_EQ(outcome.value(), c.expected) << c.value << "," << c.convert;
    }
}

TEST(Temperature, MagnitudeOfMinus32768OverflowsWithoutResult) {
    const auto outcome = vexacalc::Temperature(-32768, VEXA_FALSE);
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.status(), VEXA_E_OVERFLOW);

    int16_t result = 77;
    EXPECT_EQ(GenericCalculations_Temperature(-32768, VEXA_FALSE, &result), VEXA_E_OVERFLOW);
    EXPECT_EQ(result, 77) << "a failed call must not hand back a value";
    // The other direction takes no magnitude and so cannot overflow.
    ASSERT_EQ(GenericCalculations_Temperature(-32768, VEXA_TRUE, &result), VEXA_S_OK);
    EXPECT_EQ(result, -32768);
}

TEST(Descramble2sComp, ChangesTheCallersVariableAndReturnsIt) {
    int16_t data = 54;
    EXPECT_EQ(vexacalc::Descramble2sComp(data), 73);
    EXPECT_EQ(data, 73);

    int16_t viaC = 0x0100;
    int16_t result = 0;
    ASSERT_EQ(GenericCalculations_Descramble2sComp(&viaC, &result), VEXA_S_OK);
    EXPECT_EQ(result, 0x017F);
    EXPECT_EQ(viaC, 0x017F);
    EXPECT_EQ(GenericCalculations_Descramble2sComp(nullptr, &result), VEXA_E_POINTER);
}

} // namespace
