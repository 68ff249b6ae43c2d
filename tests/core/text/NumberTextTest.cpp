// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/NumberText.h"

#include "core/text/Twips.h"

#include <gtest/gtest.h>
#include <limits>

namespace qmf::text {
namespace {

TEST(NumberText, HexIsUpperCaseWithoutPrefixOrLeadingZeros) {
    // clang-format off
    const std::pair<quint32, const char*> cases[] = {
        {0, "0"}, {0x5A, "5A"}, {0xB9, "B9"}, {0xFF, "FF"}, {0x378, "378"}, {0xFFFFFFFF, "FFFFFFFF"}};
    // clang-format on
    for (auto [value, text] : cases) {
        EXPECT_EQ(hex(value), QLatin1String(text));
    }
}

TEST(NumberText, SignedNumberHasOneLeadingBlankUnlessNegative) {
    // clang-format off
    const std::pair<double, const char*> cases[] = {
        {2500, " 2500"}, {0, " 0"},      {-0.0, " 0"}, {-5, "-5"},
        {56400, " 56400"}, {2.5, " 2.5"}, {-0.25, "-0.25"}, {1.0 / 3, " 0.333333333333333"},
        {123456789012345, " 123456789012345"}, {1e20, " 1e+20"}};
    // clang-format on
    for (auto [value, text] : cases) {
        EXPECT_EQ(signedNumber(value), QLatin1String(text)) << value;
    }
    EXPECT_TRUE(signedNumber(-std::numeric_limits<double>::infinity()).startsWith(u'-'));
    EXPECT_TRUE(signedNumber(std::numeric_limits<double>::quiet_NaN()).startsWith(u' '));
}

TEST(Twips, ConvertAtTheGivenDpiAndSurviveBadInput) {
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(1000, 96), 67); // 66.67
    EXPECT_EQ(twipsToPixels(-5000, 96), -333);
    EXPECT_EQ(twipsToPixels(1440, 144), 144);
    EXPECT_DOUBLE_EQ(pixelsToTwips(67, 96), 1005);
    for (int pixels : {0, 17, 1919, -300}) {
        for (double dpi : {72.0, 96.0, 120.0, 192.0}) {
            EXPECT_EQ(twipsToPixels(pixelsToTwips(pixels, dpi), dpi), pixels);
        }
    }
    EXPECT_EQ(twipsToPixels(1e30, 96), std::numeric_limits<int>::max());
    EXPECT_EQ(twipsToPixels(-1e30, 96), std::numeric_limits<int>::min());
    EXPECT_EQ(twipsToPixels(std::numeric_limits<double>::quiet_NaN(), 96), 0);
    EXPECT_EQ(twipsToPixels(1440, 0), 96); // a screen without a DPI counts as 96
    EXPECT_DOUBLE_EQ(pixelsToTwips(96, -1), 1440);
}

} // namespace
} // namespace qmf::text
