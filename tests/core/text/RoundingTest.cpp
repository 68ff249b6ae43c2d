// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Rounding.h"

#include <gtest/gtest.h>
#include <limits>

namespace qmf::text {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct RoundCase {
    double value;
    double rounded;
};

class HalfEven : public ::testing::TestWithParam<RoundCase> {};

TEST_P(HalfEven, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(GetParam().value), GetParam().rounded);
}

INSTANTIATE_TEST_SUITE_P(Values, HalfEven,
                         ::testing::Values(RoundCase{2.5, 2}, RoundCase{3.5, 4}, RoundCase{0.5, 0},
                                           RoundCase{1.5, 2}, RoundCase{-2.5, -2},
                                           RoundCase{-3.5, -4}, RoundCase{-0.5, 0},
                                           RoundCase{1762.5, 1762}, RoundCase{2.4999, 2},
                                           RoundCase{2.5001, 3}, RoundCase{-2.6, -3},
                                           RoundCase{7, 7},
                                           RoundCase{4503599627370495.5, 4503599627370496.0}));

TEST(HalfEven, PassesNonFiniteValuesThrough) {
    EXPECT_EQ(roundHalfEven(Inf), Inf);
    EXPECT_TRUE(std::isnan(roundHalfEven(NaN)));
}

TEST(Narrowing, Int16AcceptsItsRangeAndReportsOverflow) {
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_EQ(roundToInt16(-32768.5), -32768); // the half goes to the even -32768
    EXPECT_EQ(roundToInt16(32766.5), 32766);
    EXPECT_EQ(roundToInt16(32767.5), std::nullopt); // rounds to 32768
    EXPECT_EQ(roundToInt16(-32769), std::nullopt);
    EXPECT_EQ(roundToInt16(1e300), std::nullopt);
    EXPECT_EQ(roundToInt16(-Inf), std::nullopt);
    EXPECT_EQ(roundToInt16(NaN), std::nullopt);
}

TEST(Narrowing, Int32AcceptsItsRangeAndReportsOverflow) {
    EXPECT_EQ(roundToInt32(2.5), 2);
    EXPECT_EQ(roundToInt32(-3.5), -4);
    EXPECT_EQ(roundToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(roundToInt32(-2147483648.0), std::numeric_limits<qint32>::min());
    EXPECT_EQ(roundToInt32(2147483647.5), std::nullopt);
    EXPECT_EQ(roundToInt32(-2147483649.0), std::nullopt);
    EXPECT_EQ(roundToInt32(Inf), std::nullopt);
    EXPECT_EQ(roundToInt32(NaN), std::nullopt);
}

TEST(FloorInt, GoesTowardsMinusInfinity) {
    EXPECT_EQ(floorInt(2.7), 2);
    EXPECT_EQ(floorInt(-2.1), -3);
    EXPECT_EQ(floorInt(-2.0), -2);
    EXPECT_EQ(floorInt(0.999), 0);
    EXPECT_EQ(floorInt(-0.001), -1);
}

} // namespace
} // namespace qmf::text
