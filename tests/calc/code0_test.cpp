// SPDX-License-Identifier: GPL-3.0-or-later
// Code0's working conversions, called through the C++ functions.
#include "VexaCalculate00/calculations.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

using vexacalc::MiscArgs;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

MiscArgs args(float v, VexaBool convertTo, float scaleMin = 0, float scaleMax = 0,
              double constant1 = 0, double constant2 = 0) {
    MiscArgs a;
    a.ScaleMax = scaleMax;
    a.ScaleMin = scaleMin;
    a.CurrentMaxOrOnlyPointerValue = v;
    a.Constant1 = constant1;
    a.Constant2 = constant2;
    a.ConvertTo = convertTo;
    return a;
}

struct Case {
    const char* what;
    MiscArgs args;
    float expected;
};

void expectAll(float (*method)(const MiscArgs&), std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_EQ(method(c.args), c.expected) << c.what;
}

TEST(Code0Gauge, ScalesBothWaysWithoutOffsetOnTheWayBack) {
    expectAll(vexacalc::Code0::Misc0,
              {
                  {"0..255 raw to scale", args(100, VEXA_TRUE, 0, 255), 100.0f},
                  {"0..255 scale to raw", args(100, VEXA_FALSE, 0, 255), 100.0f},
                  {"offset scale, raw 0", args(0, VEXA_TRUE, 50, 305), 50.0f},
                  {"offset scale, no offset removed", args(50, VEXA_FALSE, 50, 305), 50.0f},
                  {"fractional step not rounded", args(1, VEXA_TRUE, 0, 100), 100.0f / 255.0f},
                  {"full span", args(255, VEXA_TRUE, 0, 100), 100.0f},
                  {"Int() takes the floor", args(50, VEXA_FALSE, 0, 100), 127.0f},
                  {"floor of a negative quotient", args(-0.5f, VEXA_FALSE, 0, 255), -1.0f},
              });
}

TEST(Code0Gauge, ArithmeticErrorsGiveZero) {
    expectAll(vexacalc::Code0::Misc0,
              {
                  {"zero step, scale to raw", args(100, VEXA_FALSE, 7, 7), 0.0f},
                  {"span overflows a Single", args(1, VEXA_TRUE, -3e38f, 3e38f), 0.0f},
                  {"quotient overflows", args(3e38f, VEXA_FALSE, 0, 1e-3f), 0.0f},
                  {"not a number", args(kNaN, VEXA_TRUE, 0, 255), 0.0f},
              });
}

TEST(Code0Fan, CountAndSpeedUseTheSameQuotient) {
    expectAll(vexacalc::Code0::Misc1,
              {
                  {"count 255 to speed", args(255, VEXA_TRUE, 0, 0, 2, 470), 221.0f},
                  {"speed 221 to count", args(221, VEXA_FALSE, 0, 0, 2, 470), 255.0f},
                  {"count 0 counts as 1", args(0, VEXA_TRUE, 0, 0, 2, 470), 56400.0f},
                  {"count NaN counts as 1", args(kNaN, VEXA_TRUE, 0, 0, 2, 470), 56400.0f},
                  {"speed is not clamped", args(1, VEXA_TRUE, 0, 0, 1, 470), 112800.0f},
                  {"speed 6500 kept", args(6500, VEXA_FALSE, 0, 0, 1, 470), 17.0f},
                  {"speed 7000 uses 6500", args(7000, VEXA_FALSE, 0, 0, 1, 470), 17.0f},
                  {"speed 6000", args(6000, VEXA_FALSE, 0, 0, 1, 470), 18.0f},
                  {"very low speed gives 255", args(100, VEXA_FALSE, 0, 0, 1, 470), 255.0f},
                  {"divisor 0 gives 0", args(255, VEXA_TRUE, 0, 0, 0, 470), 0.0f},
                  {"divisor 0 both zero", args(255, VEXA_FALSE, 0, 0, 0, 0), 0.0f},
                  {"oscillator NaN", args(255, VEXA_TRUE, 0, 0, 2, kNaN), 0.0f},
                  {"result beyond a Single", args(1, VEXA_TRUE, 0, 0, 1e-200, 1e10), 0.0f},
              });
}

TEST(Code0Fan, ReplacesEveryPointerBelowOneBeforeSelecting) {
    MiscArgs a = args(500, VEXA_TRUE, 0, 0, 2, 470);
    a.CurrentMinPointerValue = 0.5f;
    a.PointerType = 1;
    EXPECT_EQ(vexacalc::Code0::Misc1(a), 56400.0f);
    a.CurrentDisplayValue = 255;
    a.PointerType = 2;
    EXPECT_EQ(vexacalc::Code0::Misc1(a), 221.0f);
}

TEST(Code0Temperature, ConvertsWithHalfEvenRounding) {
    expectAll(vexacalc::Code0::Misc2, {
                                          {"25", args(25, VEXA_TRUE), 25.0f},
                                          {"128", args(128, VEXA_TRUE), -127.0f},
                                          {"201", args(201, VEXA_TRUE), -55.0f},
                                          {"246", args(246, VEXA_TRUE), -9.0f},
                                          {"255", args(255, VEXA_TRUE), -1.0f},
                                          {"below 128 unchanged", args(127.6f, VEXA_TRUE), 127.6f},
                                          {"negative unchanged", args(-5.5f, VEXA_TRUE), -5.5f},
                                          {"128.4 rounds to 128", args(128.4f, VEXA_TRUE), -127.0f},
                                          {"128.5 rounds to 128", args(128.5f, VEXA_TRUE), -127.0f},
                                          {"129.5 rounds to 130", args(129.5f, VEXA_TRUE), -125.0f},
                                          {"Integer overflow", args(32767.5f, VEXA_TRUE), 0.0f},
                                          {"NaN", args(kNaN, VEXA_TRUE), 0.0f},
                                          {"-1", args(-1, VEXA_FALSE), 255.0f},
                                          {"-10", args(-10, VEXA_FALSE), 245.0f},
                                          {"-55", args(-55, VEXA_FALSE), 201.0f},
                                          {"-128 no special case", args(-128, VEXA_FALSE), 255.0f},
                                          {"positive unchanged", args(25.25f, VEXA_FALSE), 25.25f},
                                          {"-0.5 rounds to 0", args(-0.5f, VEXA_FALSE), 255.0f},
                                          {"-2.5 rounds to 2", args(-2.5f, VEXA_FALSE), 253.0f},
                                          {"-3.5 rounds to 4", args(-3.5f, VEXA_FALSE), 251.0f},
                                          {"-32767 fits", args(-32767, VEXA_FALSE), 129.0f},
                                          {"-32768 overflows", args(-32768, VEXA_FALSE), 0.0f},
                                      });
}

TEST(Code0, PointerTypeAndConvertToOutsideTheirRangesGiveZero) {
    for (auto method : {vexacalc::Code0::Misc0, vexacalc::Code0::Misc1, vexacalc::Code0::Misc2}) {
        MiscArgs a = args(200, VEXA_TRUE, 10, 265, 2, 470);
        a.CurrentMinPointerValue = 200;
        a.CurrentDisplayValue = 200;
        for (int16_t pointer : {0, 1, 2})
            for (VexaBool convert : {VEXA_TRUE, VEXA_FALSE}) {
                a.PointerType = pointer;
                a.ConvertTo = convert;
                EXPECT_NE(method(a), 0.0f) << "pointer " << pointer << " convert " << convert;
            }
        for (int16_t pointer : {-1, 3, 100}) {
            a.PointerType = pointer;
            a.ConvertTo = VEXA_TRUE;
            EXPECT_EQ(method(a), 0.0f) << "pointer " << pointer;
        }
        a.PointerType = 0;
        for (VexaBool convert : {1, -2, 255}) {
            a.ConvertTo = convert;
            EXPECT_EQ(method(a), 0.0f) << "convert " << convert;
        }
    }
}

TEST(GenericCalculationsMisc0, SelectsThePointerAndIgnoresTheRest) {
    MiscArgs a;
    a.CurrentMaxOrOnlyPointerValue = 1.5f;
    a.CurrentMinPointerValue = -2.25f;
    a.CurrentDisplayValue = 300;
    a.ConvertTo = 7;
    const float expected[] = {1.5f, -2.25f, 300.0f, 0.0f};
    for (int16_t pointer = 0; pointer < 4; ++pointer) {
        a.PointerType = pointer;
        EXPECT_EQ(vexacalc::GenericCalculations::Misc0(a), expected[pointer]) << pointer;
    }
}

} // namespace
