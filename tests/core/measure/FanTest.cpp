// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/measure/Fan.h"

#include "CoreFixture.h"
#include "core/link/LinkErrors.h"

#include <limits>

namespace qmf::test {
namespace {

struct TachCase {
    qint32 x;
    qint32 frequency;
    qint32 result;
};

class TachConvert : public ::testing::TestWithParam<TachCase> {};

TEST_P(TachConvert, Is120TimesFrequencyOverXRoundedHalfEven) {
    EXPECT_EQ(Fan::TachConvert(GetParam().x, GetParam().frequency), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Values, TachConvert,
                         ::testing::Values(TachCase{255, 470, 221}, TachCase{28, 470, 2014},
                                           TachCase{1, 470, 56400}, TachCase{0, 470, 56400},
                                           TachCase{2000, 470, 28}, TachCase{32, 470, 1762},
                                           TachCase{96, 470, 588}, // 587.5 rounds to the even 588
                                           TachCase{32, 1880, 7050}, TachCase{32, 940, 3525},
                                           TachCase{255, 0, 0}, TachCase{0, 0, 0},
                                           TachCase{-28, 470, -2014}));

TEST(TachConvertLimits, OverflowIsRaisedNotWrapped) {
    EXPECT_THROW(Fan::TachConvert(1, 536870912), OverflowError); // x 4 leaves 32 bits
    EXPECT_EQ(Fan::TachConvert(120, 536870911), 536870911);
    EXPECT_THROW(Fan::TachConvert(1, 536870911), OverflowError); // 60 x f4 does not fit
    EXPECT_THROW(Fan::TachConvert(1, std::numeric_limits<qint32>::min()), OverflowError);
}

class FanChannel : public CoreFixture {
protected:
    FanChannel() {
        useSmbus();
        Fan& fan0 = state.Fan0();
        fan0.setLimitAddress(0x78);
        fan0.setSpeedAddress(0x70);
        fan0.setOscillatorFrequencyAddress(0x68);
        Fan& fan1 = state.Fan1();
        fan1.setLimitAddress(0x79);
        fan1.setSpeedAddress(0x71);
        fan1.setOscillatorFrequencyAddress(0x69);
    }
};

TEST_F(FanChannel, ReadsZeroUntilTheFrequencyIsKnown) {
    smbusChip()[0x70] = 28;
    smbusChip()[0x78] = 40;
    EXPECT_EQ(state.Fan0().storedOscillatorFrequency(), 0);
    EXPECT_EQ(state.Fan0().Speed(), 0);
    EXPECT_EQ(state.Fan0().Limit(), 0);
    EXPECT_EQ(board->transfers(),
              QStringList({"Smbus.ReadByte(5E,70)=1C", "Smbus.ReadByte(5E,78)=28"}));
}

struct CodeCase {
    quint8 byte;
    qint32 frequency;
};

class OscillatorCode : public FanChannel, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(OscillatorCode, IsDecodedFromBits7And6) {
    smbusChip()[0x69] = GetParam().byte;
    EXPECT_EQ(state.Fan1().OscillatorFrequency(), GetParam().frequency);
    EXPECT_EQ(state.Fan1().storedOscillatorFrequency(), GetParam().frequency);
    EXPECT_EQ(board->transfers().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Codes, OscillatorCode,
                         ::testing::Values(CodeCase{0x00, 0}, CodeCase{0x3F, 0},
                                           CodeCase{0x40, 470}, CodeCase{0x7F, 470},
                                           CodeCase{0x80, 940}, CodeCase{0xC0, 1880},
                                           CodeCase{0xFF, 1880}));

TEST_F(FanChannel, SpeedAndLimitConvertAtTheRefreshedFrequency) {
    smbusChip()[0x68] = 0x40;
    smbusChip()[0x70] = 0; // a stopped count reads as the fastest speed, not a division by zero
    smbusChip()[0x78] = 255;
    state.Fan0().RefreshParams();
    EXPECT_EQ(state.Fan0().storedOscillatorFrequency(), 470);
    EXPECT_EQ(state.Fan0().Speed(), 56400);
    EXPECT_EQ(state.Fan0().Limit(), 221);
    smbusChip()[0x70] = 32;
    EXPECT_EQ(state.Fan0().Speed(), 1762);
}

TEST_F(FanChannel, LimitWritesTheCount) {
    smbusChip()[0x68] = 0x40;
    state.Fan0().RefreshParams();
    board->clearLog();
    state.Fan0().setLimit(2000);
    EXPECT_EQ(smbusChip()[0x78], 28);
    state.Fan0().setLimit(0);
    EXPECT_EQ(smbusChip()[0x78], 255);
    EXPECT_EQ(state.DataToWrite, 255);
    EXPECT_EQ(state.AddressPointer, 0x78);
    EXPECT_EQ(board->transfers(),
              QStringList({"Smbus.WriteByte(5E,78,1C)", "Smbus.WriteByte(5E,78,FF)"}));
}

TEST_F(FanChannel, SettingTheFrequencyKeepsTheOtherSixBits) {
    smbusChip()[0x69] = 0x75; // code 01, other bits 110101
    state.Fan1().setOscillatorFrequency(940);
    EXPECT_EQ(smbusChip()[0x69], 0xB5);
    EXPECT_EQ(state.DataRead, 0x35); // the read value with bits 7:6 cleared
    EXPECT_EQ(state.Fan1().storedOscillatorFrequency(), 940);
    EXPECT_EQ(board->transfers(),
              QStringList({"Smbus.ReadByte(5E,69)=75", "Smbus.WriteByte(5E,69,B5)"}));

    state.Fan1().setOscillatorFrequency(1880);
    EXPECT_EQ(smbusChip()[0x69], 0xF5);
    state.Fan1().setOscillatorFrequency(470);
    EXPECT_EQ(smbusChip()[0x69], 0x75);
    state.Fan1().setOscillatorFrequency(0);
    EXPECT_EQ(smbusChip()[0x69], 0x35);
}

TEST_F(FanChannel, AnUnsupportedFrequencyWritesCodeZeroButIsReported) {
    smbusChip()[0x68] = 0xC3;
    state.Fan0().setOscillatorFrequency(1000);
    EXPECT_EQ(smbusChip()[0x68], 0x03);
    EXPECT_EQ(state.Fan0().storedOscillatorFrequency(), 1000);
    state.Fan0().RefreshParams();
    EXPECT_EQ(state.Fan0().storedOscillatorFrequency(), 0);
}

TEST_F(FanChannel, AFailedFrequencyWriteKeepsTheOldFrequency) {
    smbusChip()[0x68] = 0x80;
    state.Fan0().RefreshParams();
    board->failNext(1, QStringLiteral("Smbus.WriteByte"));
    EXPECT_THROW(state.Fan0().setOscillatorFrequency(1880), LinkError);
    EXPECT_EQ(state.Fan0().storedOscillatorFrequency(), 940);
    EXPECT_EQ(smbusChip()[0x68], 0x80);
}

TEST_F(FanChannel, PrinterPortWritesPutTheTransferSettingFirst) {
    usePrinterPort();
    state.SavedTransferSetting = 3;
    printerChip()[0x68] = 0x40;
    state.Fan0().RefreshParams();
    board->clearLog();
    state.Fan0().setLimit(2000);
    EXPECT_EQ(board->log.filter(QStringLiteral("TransferSetting")),
              QStringList({"TransferSetting=3"}));
    EXPECT_EQ(board->transfers(), QStringList({"BusEngine.WriteByte(5E,78,1C)"}));
}

TEST_F(FanChannel, NegativeLimitsAreRefusedBeforeAnythingIsSent) {
    smbusChip()[0x68] = 0x40;
    state.Fan0().RefreshParams();
    board->clearLog();
    EXPECT_THROW(state.Fan0().setLimit(-100), OverflowError);
    EXPECT_TRUE(board->transfers().isEmpty());
}

} // namespace
} // namespace qmf::test
