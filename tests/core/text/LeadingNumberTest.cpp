// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/LeadingNumber.h"

#include <QString>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace qmf::text {
namespace {

struct HexCase {
    const char* text;
    quint32 value;
};

class LeadingHex : public ::testing::TestWithParam<HexCase> {};

TEST_P(LeadingHex, TakesTheHexDigitsFromTheStart) {
    EXPECT_EQ(leadingHex(QString::fromLatin1(GetParam().text)), GetParam().value)
        << "text \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingHex,
    ::testing::Values(HexCase{"FF", 0xFF}, HexCase{"ff", 0xFF}, HexCase{"1G", 1}, HexCase{"G1", 0},
                      HexCase{"", 0}, HexCase{"00", 0}, HexCase{"5a", 0x5A}, HexCase{" F F ", 0xFF},
                      HexCase{"\tA\t1", 0xA1}, HexCase{"&HFF", 0}, HexCase{"-1", 0},
                      HexCase{"12345678", 0x12345678}, HexCase{"FFFFFFFF", 0xFFFFFFFF},
                      HexCase{"100000000", 0xFFFFFFFF},
                      HexCase{"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", 0xFFFFFFFF}));

struct NumberCase {
    const char* text;
    double value;
};

class LeadingNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumber, TakesTheNumberAtTheStart) {
    EXPECT_DOUBLE_EQ(leadingNumber(QString::fromLatin1(GetParam().text)), GetParam().value)
        << "text \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumber,
    ::testing::Values(NumberCase{"300", 300}, NumberCase{"2.5", 2.5}, NumberCase{"3.5", 3.5},
                      NumberCase{".5", 0.5}, NumberCase{"5.", 5}, NumberCase{"-5", -5},
                      NumberCase{"-5x", -5}, NumberCase{"+7", 7}, NumberCase{"-", 0},
                      NumberCase{"+", 0}, NumberCase{".", 0}, NumberCase{"", 0},
                      NumberCase{"abc", 0}, NumberCase{"x5", 0}, NumberCase{"--5", 0},
                      NumberCase{"1 2 3", 123}, NumberCase{" - 4 . 5", -4.5},
                      NumberCase{"\t9\n", 9}, NumberCase{"1e3", 1000}, NumberCase{"1E3", 1000},
                      NumberCase{"1d2", 100}, NumberCase{"1D+2", 100}, NumberCase{"25e-1", 2.5},
                      NumberCase{"1e", 1}, NumberCase{"1e+", 1}, NumberCase{"1e-", 1},
                      NumberCase{"2ex", 2}, NumberCase{"e5", 0}, NumberCase{"1.2.3", 1.2},
                      NumberCase{"12-3", 12}, NumberCase{"0012", 12}, NumberCase{"&HFF", 255},
                      NumberCase{"&hff", 255}, NumberCase{"&H1G", 1}, NumberCase{"&H", 0},
                      NumberCase{"& H 1 0", 16}, NumberCase{"&O17", 15}, NumberCase{"&o8", 0},
                      NumberCase{"&", 0}, NumberCase{"&X1", 0}, NumberCase{"-&H10", 0},
                      NumberCase{"1e-400", 0}));

TEST(LeadingNumberLimits, HugeNumbersGiveAnInfinityOfTheirSign) {
    constexpr double Inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(leadingNumber(u"1e400"), Inf);
    EXPECT_EQ(leadingNumber(u"-1e400"), -Inf);
    EXPECT_EQ(leadingNumber(u"1e99999999999999999999999999"), Inf);
    EXPECT_EQ(leadingNumber(u"0.0000001e-99999999999999999999"), 0.0);
    EXPECT_EQ(leadingNumber(u"0e99999999999999999999999999"), 0.0);
    EXPECT_EQ(leadingNumber(QString(400, QLatin1Char('9'))), Inf);
    EXPECT_EQ(leadingNumber(QStringLiteral("&H") + QString(300, QLatin1Char('F'))), Inf);
    EXPECT_DOUBLE_EQ(leadingNumber(QString(300, QLatin1Char('9'))), 1e300);
}

TEST(LeadingNumberLimits, LongFractionsAndExponentsStillParse) {
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("0.") + QString(5000, QLatin1Char('0')) +
                                   QStringLiteral("1e5001")),
                     1.0);
    EXPECT_DOUBLE_EQ(leadingNumber(u"1e0000000000000000000003"), 1000.0);
}

} // namespace
} // namespace qmf::text
