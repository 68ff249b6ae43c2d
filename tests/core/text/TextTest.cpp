// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/ByteEntryTable.h"
#include "core/text/ByteText.h"
#include "core/text/LeadingNumber.h"
#include "core/text/NumberText.h"
#include "core/text/Rounding.h"
#include "core/text/Twips.h"

#include <QString>
#include <gtest/gtest.h>
#include <limits>

namespace qmf::text {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(LeadingNumber, TakesTheNumberAtTheStartIgnoringBlanks) {
    // clang-format off
    const std::pair<const char*, double> cases[] = {
        {"300", 300}, {"2.5", 2.5}, {".5", 0.5}, {"5.", 5}, {"-5x", -5}, {"+7", 7}, {"-", 0},
        {".", 0}, {"", 0}, {"x5", 0}, {"--5", 0}, {"1 2 3", 123}, {" - 4 . 5", -4.5},
        {"\t9\n", 9}, {"1e3", 1000}, {"1D+2", 100}, {"25e-1", 2.5}, {"1e", 1}, {"1e-", 1},
        {"2ex", 2}, {"e5", 0}, {"1.2.3", 1.2}, {"12-3", 12}, {"&HFF", 255}, {"&hff", 255},
        {"&H1G", 1}, {"&H", 0}, {"& H 1 0", 16}, {"&O17", 15}, {"&o8", 0}, {"&", 0},
        {"&X1", 0}, {"-&H10", 0}, {"1e-400", 0}, {"1e0000000000000000000003", 1000}};
    const std::pair<const char*, quint32> hexCases[] = {
        {"FF", 0xFF}, {"ff", 0xFF}, {"1G", 1}, {"G1", 0}, {"", 0}, {" F F ", 0xFF}, {"\tA\t1", 0xA1},
        {"&HFF", 0}, {"-1", 0}, {"FFFFFFFF", 0xFFFFFFFF}, {"FFFFFFFFFFFFFFFFFFFFFFFFFFFF", 0xFFFFFFFF}};
    // clang-format on
    for (auto [text, value] : cases) {
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromLatin1(text)), value) << '"' << text << '"';
    }
    for (auto [text, value] : hexCases) {
        EXPECT_EQ(leadingHex(QString::fromLatin1(text)), value) << '"' << text << '"';
    }
    // Numbers beyond a double give an infinity of their sign, never a crash.
    EXPECT_EQ(leadingNumber(u"-1e400"), -Inf);
    EXPECT_EQ(leadingNumber(u"1e99999999999999999999999999"), Inf);
    EXPECT_EQ(leadingNumber(u"0e99999999999999999999999999"), 0.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("&H") + QString(300, u'F')), Inf);
    const QString tiny = QStringLiteral("0.") + QString(5000, u'0') + QStringLiteral("1e5001");
    EXPECT_DOUBLE_EQ(leadingNumber(tiny), 1.0);
}

TEST(ByteText, TheWholeTextIsTheByteOrItIsRefused) {
    for (const test::ByteEntryCase& c : test::ByteEntryCases) {
        const QString text = QString::fromUtf8(c.text);
        SCOPED_TRACE('"' + text.toStdString() + '"');
        for (const auto& [parsed, expected] :
             {std::pair(parseHexByte(text), c.hex), std::pair(parseDecimalByte(text), c.decimal)}) {
            EXPECT_EQ(parsed.ok(), expected >= 0);
            EXPECT_EQ(parsed.ok() ? int(parsed.value) : -1, expected);
        }
    }
    // Too large is told apart from not a number, with the digits as typed, for messages.
    const struct {
        ByteText parsed;
        ByteText::Kind kind;
        const char* digits;
    } kinds[] = {
        {parseHexByte(u"0x001ff"), ByteText::Kind::TooLarge, "1FF"},
        {parseHexByte(u"&h123456789abcdef0123"), ByteText::Kind::TooLarge, "123456789ABCDEF0123"},
        {parseHexByte(u"1fg"), ByteText::Kind::NotANumber, ""},
        {parseDecimalByte(u"256"), ByteText::Kind::TooLarge, "256"},
        {parseDecimalByte(u"-256"), ByteText::Kind::NotANumber, ""},
    };
    for (const auto& k : kinds) {
        EXPECT_EQ(k.parsed.kind, k.kind) << k.digits;
        EXPECT_EQ(k.parsed.digits, QLatin1String(k.digits));
    }
}

TEST(NumberText, HexAndNumbersWithTheirLeadingBlank) {
    EXPECT_EQ(hex(0), QStringLiteral("0"));
    EXPECT_EQ(hex(0x5A), QStringLiteral("5A"));
    // clang-format off
    const std::pair<double, const char*> cases[] = {
        {2500, " 2500"}, {0, " 0"}, {-0.0, " 0"}, {-5, "-5"}, {2.5, " 2.5"}, {-0.25, "-0.25"},
        {1.0 / 3, " 0.333333333333333"}, {123456789012345, " 123456789012345"}, {1e20, " 1e+20"}};
    // clang-format on
    for (auto [value, text] : cases) {
        EXPECT_EQ(signedNumber(value), QLatin1String(text)) << value;
    }
}

TEST(Rounding, HalvesGoToTheEvenNeighbourAndNarrowingReportsOverflow) {
    // clang-format off
    const std::pair<double, double> cases[] = {
        {2.5, 2}, {3.5, 4}, {0.5, 0}, {-2.5, -2}, {-3.5, -4}, {-0.5, 0}, {1762.5, 1762},
        {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {4503599627370495.5, 4503599627370496.0}};
    // clang-format on
    for (auto [value, rounded] : cases) {
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
    }
    EXPECT_EQ(roundToInt16(-32768.5), -32768); // the half goes to the even -32768
    for (double bad : {32767.5, -32769.0, -Inf, NaN}) {
        EXPECT_EQ(roundToInt16(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(roundToInt32(2147483647.5), std::nullopt);
    EXPECT_EQ(floorInt(-2.1), -3);
}

TEST(Twips, ConvertAtTheGivenDpiAndSurviveBadInput) {
    EXPECT_EQ(twipsToPixels(1000, 96), 67); // 66.67
    EXPECT_DOUBLE_EQ(pixelsToTwips(67, 144), 670);
    EXPECT_EQ(twipsToPixels(-1e30, 96), std::numeric_limits<int>::min());
    EXPECT_EQ(twipsToPixels(NaN, 96), 0);
    EXPECT_EQ(twipsToPixels(1440, 0), 96); // a screen without a DPI counts as 96
}

} // namespace
} // namespace qmf::text
