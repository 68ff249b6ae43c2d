// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wizards/SpeedCode.h"

#include <gtest/gtest.h>

namespace qmf {
namespace {

TEST(SpeedCodeTest, EverySpeedCodeShowsItsPercentRoundedToTwoDecimalsWithoutTrailingZeros) {
    const char* const expected[16] = {"0",  "6.67",  "13.33", "20", "26.67", "33.33",
                                      "40", "46.67", "53.33", "60", "66.67", "73.33",
                                      "80", "86.67", "93.33", "100"};
    for (int code = 0; code < 16; ++code) {
        EXPECT_EQ(SpeedPercentText(code), QString::fromLatin1(expected[code])) << code;
    }
}

TEST(SpeedCodeTest, TrangeCodesZeroToFourHaveTheirRangeAndOthersHaveNoText) {
    const char* const expected[5] = {"5", "10", "20", "40", "80"};
    for (int code = 0; code <= 4; ++code) {
        EXPECT_EQ(TrangeText(code), QString::fromLatin1(expected[code])) << code;
    }
    for (const int code : {-1, 5, 9, 15, 255}) {
        EXPECT_FALSE(TrangeText(code).has_value()) << code;
    }
}

} // namespace
} // namespace qmf
