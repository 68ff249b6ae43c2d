// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Rounding.h"

#include <gtest/gtest.h>
#include <limits>

namespace qmf::text {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    // clang-format off
    const std::pair<double, double> cases[] = {
        {2.5, 2},   {3.5, 4},       {0.5, 0},         {-2.5, -2},   {-3.5, -4}, {-0.5, 0},
        {1762.5, 1762}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {7, 7}, {4503599627370495.5, 4503599627370496.0}};
    // clang-format on
    for (auto [value, rounded] : cases) {
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
    }
    EXPECT_EQ(roundHalfEven(Inf), Inf);
    EXPECT_TRUE(std::isnan(roundHalfEven(NaN)));
}

TEST(Rounding, NarrowingReportsOverflow) {
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_EQ(roundToInt16(-32768.5), -32768); // the half goes to the even -32768
    EXPECT_EQ(roundToInt32(-3.5), -4);
    EXPECT_EQ(roundToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(roundToInt32(-2147483648.0), std::numeric_limits<qint32>::min());
    for (double bad : {32767.5, -32769.0, 1e300, -Inf, NaN}) {
        EXPECT_EQ(roundToInt16(bad), std::nullopt) << bad;
    }
    for (double bad : {2147483647.5, -2147483649.0, Inf, NaN}) {
        EXPECT_EQ(roundToInt32(bad), std::nullopt) << bad;
    }
}

TEST(Rounding, FloorGoesTowardsMinusInfinity) {
    EXPECT_EQ(floorInt(2.7), 2);
    EXPECT_EQ(floorInt(-2.1), -3);
    EXPECT_EQ(floorInt(-2.0), -2);
    EXPECT_EQ(floorInt(-0.001), -1);
}

} // namespace
} // namespace qmf::text
