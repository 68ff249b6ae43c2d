// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Twips.h"

#include <gtest/gtest.h>
#include <limits>

namespace qmf::text {
namespace {

TEST(Twips, ConvertAtTheGivenDpi) {
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(1000, 96), 67); // 66.67
    EXPECT_EQ(twipsToPixels(1320, 96), 88);
    EXPECT_EQ(twipsToPixels(-5000, 96), -333);
    EXPECT_EQ(twipsToPixels(1440, 144), 144);
    EXPECT_DOUBLE_EQ(pixelsToTwips(96, 96), 1440);
    EXPECT_DOUBLE_EQ(pixelsToTwips(67, 96), 1005);
    EXPECT_DOUBLE_EQ(pixelsToTwips(-10, 120), -120);
}

TEST(Twips, RoundTripStaysWithinHalfAPixel) {
    for (int pixels : {0, 1, 17, 640, 1919, -300}) {
        for (double dpi : {72.0, 96.0, 120.0, 144.0, 192.0}) {
            EXPECT_EQ(twipsToPixels(pixelsToTwips(pixels, dpi), dpi), pixels);
        }
    }
}

TEST(Twips, UnusableInputDoesNotBreakTheConversion) {
    EXPECT_EQ(twipsToPixels(1e30, 96), std::numeric_limits<int>::max());
    EXPECT_EQ(twipsToPixels(-1e30, 96), std::numeric_limits<int>::min());
    EXPECT_EQ(twipsToPixels(std::numeric_limits<double>::quiet_NaN(), 96), 0);
    EXPECT_EQ(twipsToPixels(1440, 0), 96); // a screen without a DPI counts as 96
    EXPECT_DOUBLE_EQ(pixelsToTwips(96, -1), 1440);
}

} // namespace
} // namespace qmf::text
