// SPDX-License-Identifier: GPL-3.0-or-later
// The arithmetic through the C++ functions: the bit routine, Temperature,
// GenericCalculations.Misc0 and Code0's three conversions.
#include "VexaCalculate00/calculations.hpp"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace {

using vexacalc::MiscArgs;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr VexaBool T = VEXA_TRUE, F = VEXA_FALSE;

// Bits 0-6 inverted then bit 0 set, bit 7 kept, bits 8-15 kept only when none of bits 0-6 was
// set on entry (0 and 1 give 127, 126 and 127 give 1, 0x0100 gives 0x017F); the argument itself
// changes too.
TEST(ComplementLowBits, NetEffectOverEverySixteenBitValue) {
    for (int input = -32768; input <= 32767; ++input) {
        const auto bits = static_cast<uint16_t>(input);
        const uint16_t high = (bits & 0x7F) ? 0 : (bits & 0xFF00);
        const auto expected = static_cast<int16_t>(high | (bits & 0x80) | ((~bits & 0x7F) | 1));
        auto value = static_cast<int16_t>(input);
        ASSERT_EQ(vexacalc::ComplementLowBits(value), expected) << "input " << input;
        ASSERT_EQ(value, expected) << "in place, input " << input;
    }
}

// A ConvertToTemp neither True nor False gives 0.
TEST(Temperature, ConvertsBothWaysAndPassesOtherValues) {
    const struct {
        int16_t value;
        VexaBool convert;
        int16_t expected;
    } cases[] = {
        {0, T, 0},      {25, T, 25},      {127, T, 127}, {128, T, -127}, {201, T, -55},
        {246, T, -9},   {254, T, -1},     {255, T, -1},  {-5, T, -5},    {0x1FF, T, -1},
        {32767, T, -1}, {0, F, 0},        {25, F, 25},   {300, F, 300},  {-1, F, 255},
        {-2, F, 253},   {-10, F, 245},    {-55, F, 201}, {-127, F, 129}, {-128, F, 255},
        {-256, F, 511}, {-32767, F, 129}, {201, 1, 0},   {-55, -2, 0},   {-32768, T, -32768},
    };
    for (const auto& c : cases) {
        const auto outcome = vexacalc::Temperature(c.value, c.convert);
        ASSERT_TRUE(outcome.ok()) << c.value << "," << c.convert;
        EXPECT_EQ(outcome.value(), c.expected) << c.value << "," << c.convert;
    }
    EXPECT_EQ(vexacalc::Temperature(-32768, F).status(), VEXA_E_OVERFLOW); // its magnitude
}

// The value to convert as the only pointer value. first and second go to ScaleMin and ScaleMax
// as well as to Constant1 and Constant2: each method must read only its own pair.
struct Row {
    float v;
    VexaBool convert;
    double first, second;
    float expected;
};

template <size_t N> void expectAll(float (*method)(const MiscArgs&), const Row (&rows)[N]) {
    for (const Row& r : rows)
        EXPECT_EQ(method({float(r.second), float(r.first), r.v, 0, 0, r.first, r.second, 0, 0, 0,
                          r.convert}),
                  r.expected)
            << r.v << ", " << r.convert << ", " << r.first << ", " << r.second;
}

// Gauge: value, ConvertTo, ScaleMin, ScaleMax. Scale to raw removes no offset and takes the
// floor; an arithmetic error (zero step, a span or quotient beyond a Single, NaN) gives 0.
TEST(Code0Gauge, ScalesBothWaysWithoutOffsetOnTheWayBack) {
    const float step = 100.0f / 255.0f; // not rounded
    const Row rows[] = {
        {100, T, 0, 255, 100},  {100, F, 0, 255, 100}, {0, T, 50, 305, 50},
        {50, F, 50, 305, 50},   {1, T, 0, 100, step},  {50, F, 0, 100, 127},
        {-0.5f, F, 0, 255, -1}, {100, F, 7, 7, 0},     {1, T, -3e38, 3e38, 0},
        {3e38f, F, 0, 1e-3, 0}, {kNaN, T, 0, 255, 0},
    };
    expectAll(vexacalc::Code0::Misc0, rows);
}

// Fan: value, ConvertTo, Constant1 (divisor), Constant2 (oscillator). A value below 1 or NaN
// counts as 1; a speed above 6500 as 6500; a count above 255 gives 255, the speed is not
// limited; a zero divisor, a NaN oscillator or a result beyond a Single gives 0.
TEST(Code0Fan, CountAndSpeedUseTheSameQuotient) {
    const Row rows[] = {
        {255, T, 2, 470, 221},    {221, F, 2, 470, 255},   {0, T, 2, 470, 56400},
        {kNaN, T, 2, 470, 56400}, {1, T, 1, 470, 112800},  {7000, F, 1, 470, 17},
        {6000, F, 1, 470, 18},    {100, F, 1, 470, 255},   {255, T, 0, 470, 0},
        {255, T, 2, kNaN, 0},     {1, T, 1e-200, 1e10, 0},
    };
    expectAll(vexacalc::Code0::Misc1, rows);
    // Every pointer below 1 is replaced before PointerType picks one.
    EXPECT_EQ(vexacalc::Code0::Misc1({0, 0, 500, 0.5f, 0, 2, 470, 0, 0, 1, T}), 56400.0f);
}

// Register byte to temperature: below 128 unchanged, else rounded half to even; temperature to
// register byte: 0 or more unchanged, else the magnitude rounded half to even.
TEST(Code0Temperature, ConvertsWithHalfEvenRounding) {
    const Row rows[] = {
        {25, T, 0, 0, 25},
        {128, T, 0, 0, -127},
        {201, T, 0, 0, -55},
        {246, T, 0, 0, -9},
        {255, T, 0, 0, -1},
        {127.6f, T, 0, 0, 127.6f},
        {-5.5f, T, 0, 0, -5.5f},
        {128.4f, T, 0, 0, -127},
        {128.5f, T, 0, 0, -127},
        {129.5f, T, 0, 0, -125},
        {32767.5f, T, 0, 0, 0},
        {kNaN, T, 0, 0, 0},
        {-1, F, 0, 0, 255},
        {-10, F, 0, 0, 245},
        {-55, F, 0, 0, 201},
        {-128, F, 0, 0, 255},
        {25.25f, F, 0, 0, 25.25f},
        {-2.5f, F, 0, 0, 253},
        {-3.5f, F, 0, 0, 251},
        {-32767, F, 0, 0, 129},
        {-32768, F, 0, 0, 0},
        // Infinities overflow in both directions, the side that passes values included.
        {kInf, T, 0, 0, 0},
        {-kInf, T, 0, 0, 0},
        {kInf, F, 0, 0, 0},
        {-kInf, F, 0, 0, 0},
        {kNaN, F, 0, 0, 0},
        {-3.4e38f, T, 0, 0, -3.4e38f},
    };
    expectAll(vexacalc::Code0::Misc2, rows);
}

// GenericCalculations.Misc0 only selects the pointer value, whatever ConvertTo holds.
TEST(Code0AndGeneric, PointerTypeAndConvertToOutsideTheirRangesGiveZero) {
    const struct {
        int16_t pointer;
        VexaBool convert;
        bool converts;
    } cases[] = {{0, T, true},    {1, F, true},  {2, T, true},   {-1, T, false}, {3, T, false},
                 {100, F, false}, {0, 1, false}, {1, -2, false}, {2, 255, false}};
    MiscArgs a{265, 10, 200, 201, 202, 10, 265, 0, 0, 0, T};
    for (const auto& c : cases) {
        a.PointerType = c.pointer;
        a.ConvertTo = c.convert;
        for (auto method : {vexacalc::Code0::Misc0, vexacalc::Code0::Misc1, vexacalc::Code0::Misc2})
            EXPECT_EQ(method(a) != 0.0f, c.converts) << c.pointer << "," << c.convert;
        const bool selects = c.pointer >= 0 && c.pointer <= 2;
        EXPECT_EQ(vexacalc::GenericCalculations::Misc0(a), selects ? 200.0f + c.pointer : 0.0f)
            << c.pointer;
    }
}

} // namespace
