// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/LeadingNumber.h"

#include <QString>
#include <gtest/gtest.h>
#include <limits>

namespace qmf::text {
namespace {

TEST(LeadingHex, TakesTheHexDigitsFromTheStart) {
    // clang-format off
    const std::pair<const char*, quint32> cases[] = {
        {"FF", 0xFF}, {"ff", 0xFF}, {"1G", 1}, {"G1", 0}, {"", 0}, {"5a", 0x5A}, {" F F ", 0xFF},
        {"\tA\t1", 0xA1}, {"&HFF", 0}, {"-1", 0}, {"FFFFFFFF", 0xFFFFFFFF},
        {"100000000", 0xFFFFFFFF}, {"FFFFFFFFFFFFFFFFFFFFFFFFFFFF", 0xFFFFFFFF}};
    // clang-format on
    for (auto [text, value] : cases) {
        EXPECT_EQ(leadingHex(QString::fromLatin1(text)), value) << '"' << text << '"';
    }
}

TEST(LeadingNumber, TakesTheNumberAtTheStart) {
    // clang-format off
    const std::pair<const char*, double> cases[] = {
        {"300", 300}, {"2.5", 2.5}, {".5", 0.5}, {"5.", 5}, {"-5x", -5}, {"+7", 7}, {"-", 0},
        {".", 0}, {"", 0}, {"x5", 0}, {"--5", 0}, {"1 2 3", 123}, {" - 4 . 5", -4.5},
        {"\t9\n", 9}, {"1e3", 1000}, {"1D+2", 100}, {"25e-1", 2.5}, {"1e", 1}, {"1e-", 1},
        {"2ex", 2}, {"e5", 0}, {"1.2.3", 1.2}, {"12-3", 12}, {"&HFF", 255}, {"&hff", 255},
        {"&H1G", 1}, {"&H", 0}, {"& H 1 0", 16}, {"&O17", 15}, {"&o8", 0}, {"&", 0},
        {"&X1", 0}, {"-&H10", 0}, {"1e-400", 0}, {"1e0000000000000000000003", 1000}};
    // clang-format on
    for (auto [text, value] : cases) {
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromLatin1(text)), value) << '"' << text << '"';
    }
}

TEST(LeadingNumber, HugeNumbersGiveAnInfinityOfTheirSign) {
    constexpr double Inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(leadingNumber(u"1e400"), Inf);
    EXPECT_EQ(leadingNumber(u"-1e400"), -Inf);
    EXPECT_EQ(leadingNumber(u"1e99999999999999999999999999"), Inf);
    EXPECT_EQ(leadingNumber(u"0e99999999999999999999999999"), 0.0);
    EXPECT_EQ(leadingNumber(u"0.0000001e-99999999999999999999"), 0.0);
    EXPECT_EQ(leadingNumber(QString(400, u'9')), Inf);
    EXPECT_EQ(leadingNumber(QStringLiteral("&H") + QString(300, u'F')), Inf);
    EXPECT_DOUBLE_EQ(leadingNumber(QString(300, u'9')), 1e300);
    const QString tiny = QStringLiteral("0.") + QString(5000, u'0') + QStringLiteral("1e5001");
    EXPECT_DOUBLE_EQ(leadingNumber(tiny), 1.0);
}

} // namespace
} // namespace qmf::text
