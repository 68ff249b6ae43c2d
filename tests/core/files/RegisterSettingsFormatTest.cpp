// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/RegisterSettingsFile.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace qmf {
namespace {

ParsedRegisterSettings parse(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return parseRegisterSettings(buffer);
}

TEST(RegisterSettingsFormat, LinesAreUpperCaseHexWithoutLeadingZerosAndEndInCrLf) {
    EXPECT_EQ(registerSettingsLine(0x00, 0x00), QByteArray("0,0\r\n"));
    EXPECT_EQ(registerSettingsLine(0x0D, 0x41), QByteArray("D,41\r\n"));
    EXPECT_EQ(registerSettingsLine(0xFF, 0x0A), QByteArray("FF,A\r\n"));
    EXPECT_EQ(registerSettingsLine(0xB9, 0xFF), QByteArray("B9,FF\r\n"));
}

TEST(RegisterSettingsFormat, ExtensionCheckIsCaseSensitive) {
    EXPECT_TRUE(hasRegisterSettingsExtension(QStringLiteral("/tmp/chip.dat")));
    EXPECT_TRUE(hasRegisterSettingsExtension(QStringLiteral(".dat")));
    EXPECT_FALSE(hasRegisterSettingsExtension(QStringLiteral("/tmp/chip.DAT")));
    EXPECT_FALSE(hasRegisterSettingsExtension(QStringLiteral("/tmp/chip.Dat")));
    EXPECT_FALSE(hasRegisterSettingsExtension(QStringLiteral("/tmp/chip.dat.txt")));
    EXPECT_FALSE(hasRegisterSettingsExtension(QStringLiteral("/tmp/chipdat")));
}

struct LineCase {
    const char* line;
    std::optional<RegisterSetting> expected;
};

class RegisterSettingsLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(RegisterSettingsLine, Parses) {
    const LineCase& c = GetParam();
    EXPECT_EQ(parseRegisterSettingsLine(QString::fromLatin1(c.line)), c.expected) << c.line;
}

INSTANTIATE_TEST_SUITE_P(LenientWhereHarmless, RegisterSettingsLine,
                         ::testing::Values(LineCase{"D,41", RegisterSetting{0x0D, 0x41}},
                                           LineCase{"0,0", RegisterSetting{0x00, 0x00}},
                                           LineCase{"FF,FF", RegisterSetting{0xFF, 0xFF}},
                                           LineCase{"b9,5a", RegisterSetting{0xB9, 0x5A}},
                                           LineCase{"  1F , 3C\t", RegisterSetting{0x1F, 0x3C}},
                                           LineCase{"0D,041\r", RegisterSetting{0x0D, 0x41}},
                                           LineCase{"1,1FF", RegisterSetting{0x01, 0x1FF}},
                                           LineCase{"2,7FFF", RegisterSetting{0x02, 0x7FFF}}));

INSTANTIATE_TEST_SUITE_P(
    StrictWhereItMatters, RegisterSettingsLine,
    ::testing::Values(LineCase{"100,5", std::nullopt},  // register above FF
                      LineCase{"1FF,5", std::nullopt},  // register above FF
                      LineCase{"G,1", std::nullopt},    // not hexadecimal
                      LineCase{"5,1G", std::nullopt},   // trailing garbage
                      LineCase{"5", std::nullopt},      // missing field
                      LineCase{"5,", std::nullopt},     // empty value
                      LineCase{",5", std::nullopt},     // empty register
                      LineCase{"5,6,7", std::nullopt},  // a field too many
                      LineCase{"0x5,1", std::nullopt},  // prefix
                      LineCase{"&H5,1", std::nullopt},  // prefix
                      LineCase{"5,-1", std::nullopt},   // sign
                      LineCase{"5,8000", std::nullopt}, // value beyond 16 bits signed
                      LineCase{"5,FFFFFFFFF", std::nullopt}, LineCase{"1 0,5", std::nullopt},
                      LineCase{"", std::nullopt}));

TEST(RegisterSettingsParse, CountsLinesSkipsBlanksAndReportsBadLines) {
    const ParsedRegisterSettings parsed = parse("0,1\r\n\r\nG,1\n 2 , 3 \n\n\n");
    ASSERT_EQ(parsed.settings.size(), 2);
    EXPECT_EQ(parsed.settings[0].number, 1);
    EXPECT_EQ(parsed.settings[0].setting, (RegisterSetting{0, 1}));
    EXPECT_EQ(parsed.settings[1].number, 4);
    EXPECT_EQ(parsed.settings[1].setting, (RegisterSetting{2, 3}));
    EXPECT_EQ(parsed.badLines, QList<int>{3});
    EXPECT_EQ(parsed.firstIgnoredLine, 0);
}

TEST(RegisterSettingsParse, TakesAt256LinesAndPointsAtWhatFollows) {
    QByteArray bytes;
    for (int r = 0; r < 256; ++r) {
        bytes += registerSettingsLine(quint8(r), quint8(255 - r));
    }
    EXPECT_EQ(parse(bytes + "\r\n\r\n").firstIgnoredLine, 0); // trailing blank lines are fine
    const ParsedRegisterSettings parsed = parse(bytes + "\r\n5,5\r\n");
    EXPECT_EQ(parsed.settings.size(), 256);
    EXPECT_EQ(parsed.settings.last().setting, (RegisterSetting{0xFF, 0x00}));
    EXPECT_EQ(parsed.firstIgnoredLine, 258);
}

TEST(RegisterSettingsParse, BadLinesCountTowardsThe256) {
    QByteArray bytes = "junk\r\n";
    for (int r = 0; r < 256; ++r) {
        bytes += registerSettingsLine(quint8(r), 1);
    }
    const ParsedRegisterSettings parsed = parse(bytes);
    EXPECT_EQ(parsed.badLines, QList<int>{1});
    EXPECT_EQ(parsed.settings.size(), 255);
    EXPECT_EQ(parsed.firstIgnoredLine, 257);
}

TEST(RegisterSettingsParse, AnOverlongLineIsOneBadLineNotSeveral) {
    const QByteArray longLine = "1," + QByteArray(5000, '0') + "1\r\n";
    const ParsedRegisterSettings parsed = parse("0,1\r\n" + longLine + "2,2\r\n");
    EXPECT_EQ(parsed.badLines, QList<int>{2});
    ASSERT_EQ(parsed.settings.size(), 2);
    EXPECT_EQ(parsed.settings[1].number, 3);
}

TEST(RegisterSettingsParse, AByteOrderMarkInFrontIsIgnored) {
    const ParsedRegisterSettings parsed = parse("\xEF\xBB\xBF"
                                                "0,7\r\n");
    ASSERT_EQ(parsed.settings.size(), 1);
    EXPECT_EQ(parsed.settings[0].setting, (RegisterSetting{0, 7}));
}

} // namespace
} // namespace qmf
