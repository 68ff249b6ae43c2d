// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/NumberText.h"

#include <gtest/gtest.h>
#include <limits>

namespace qmf::text {
namespace {

struct HexCase {
    quint32 value;
    const char* text;
};

class HexText : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexText, IsUpperCaseWithoutPrefixOrLeadingZeros) {
    EXPECT_EQ(hex(GetParam().value), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Values, HexText,
                         ::testing::Values(HexCase{0, "0"}, HexCase{0x5, "5"}, HexCase{0x5A, "5A"},
                                           HexCase{0xB9, "B9"}, HexCase{0xFF, "FF"},
                                           HexCase{0x100, "100"}, HexCase{0x378, "378"},
                                           HexCase{0xBC00, "BC00"},
                                           HexCase{0xFFFFFFFF, "FFFFFFFF"}));

struct SignedCase {
    double value;
    const char* text;
};

class SignedNumberText : public ::testing::TestWithParam<SignedCase> {};

TEST_P(SignedNumberText, HasOneLeadingBlankUnlessNegative) {
    EXPECT_EQ(signedNumber(GetParam().value), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Values, SignedNumberText,
    ::testing::Values(SignedCase{2500, " 2500"}, SignedCase{0, " 0"}, SignedCase{-0.0, " 0"},
                      SignedCase{-5, "-5"}, SignedCase{1, " 1"}, SignedCase{56400, " 56400"},
                      SignedCase{-127, "-127"}, SignedCase{2.5, " 2.5"}, SignedCase{-0.25, "-0.25"},
                      SignedCase{1.0 / 3.0, " 0.333333333333333"},
                      SignedCase{123456789012345, " 123456789012345"}, SignedCase{1e20, " 1e+20"}));

TEST(SignedNumberText, NonFiniteValuesGiveText) {
    EXPECT_EQ(signedNumber(-std::numeric_limits<double>::infinity()).at(0), QLatin1Char('-'));
    EXPECT_EQ(signedNumber(std::numeric_limits<double>::infinity()).at(0), QLatin1Char(' '));
    EXPECT_FALSE(signedNumber(std::numeric_limits<double>::quiet_NaN()).trimmed().isEmpty());
}

} // namespace
} // namespace qmf::text
