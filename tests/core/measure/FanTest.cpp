// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/measure/Fan.h"

#include "CoreFixture.h"
#include "core/link/LinkErrors.h"

#include <limits>

namespace qmf::test {
namespace {

TEST(TachConvert, Is120TimesFrequencyOverXRoundedHalfEven) {
    // clang-format off
    const std::tuple<qint32, qint32, qint32> cases[] = { // x, frequency, result
        {255, 470, 221}, {28, 470, 2014}, {1, 470, 56400}, {0, 470, 56400}, {2000, 470, 28},
        {32, 470, 1762}, {96, 470, 588}, {32, 1880, 7050}, {32, 940, 3525}, {255, 0, 0},
        {-28, 470, -2014}, {120, 536870911, 536870911}};
    // clang-format on
    for (auto [x, frequency, result] : cases) {
        EXPECT_EQ(Fan::TachConvert(x, frequency), result) << x << " at " << frequency;
    }
    EXPECT_THROW(Fan::TachConvert(1, 536870912), OverflowError); // x 4 leaves 32 bits
    EXPECT_THROW(Fan::TachConvert(1, 536870911), OverflowError); // the result does not fit
    EXPECT_THROW(Fan::TachConvert(1, std::numeric_limits<qint32>::min()), OverflowError);
}

class FanChannel : public CoreFixture {
protected:
    FanChannel() {
        useSmbus();
        for (int n : {0, 1}) {
            Fan& fan = n == 0 ? state.Fan0() : state.Fan1();
            fan.setLimitAddress(quint8(0x78 + n));
            fan.setSpeedAddress(quint8(0x70 + n));
            fan.setOscillatorFrequencyAddress(quint8(0x68 + n));
        }
    }
};

TEST_F(FanChannel, ReadsZeroUntilRefreshedThenConverts) {
    smbusChip()[0x70] = 0; // a count of 0 is the fastest speed, not a division by zero
    smbusChip()[0x78] = 255;
    EXPECT_EQ(state.Fan0().Speed(), 0);
    EXPECT_EQ(state.Fan0().Limit(), 0);
    smbusChip()[0x68] = 0x40;
    state.Fan0().RefreshParams();
    EXPECT_EQ(state.Fan0().Speed(), 56400);
    EXPECT_EQ(state.Fan0().Limit(), 221);
    for (auto [byte, frequency] : {std::pair{0x3F, 0}, {0x7F, 470}, {0x80, 940}, {0xC0, 1880}}) {
        smbusChip()[0x69] = quint8(byte);
        EXPECT_EQ(state.Fan1().OscillatorFrequency(), frequency);
        EXPECT_EQ(state.Fan1().storedOscillatorFrequency(), frequency);
    }
}

TEST_F(FanChannel, LimitWritesTheCountThroughTheProtocol) {
    usePrinterPort();
    state.SavedTransferSetting = 3;
    printerChip()[0x68] = 0x40;
    state.Fan0().RefreshParams();
    board->clearLog();
    state.Fan0().setLimit(2000);
    state.Fan0().setLimit(0);
    EXPECT_EQ(board->log.filter(QStringLiteral("TransferSetting")),
              QStringList({"TransferSetting=3", "TransferSetting=3"}));
    EXPECT_EQ(board->transfers(),
              QStringList({"BusEngine.WriteByte(5E,78,1C)", "BusEngine.WriteByte(5E,78,FF)"}));
    EXPECT_EQ(state.DataToWrite, 255);
    board->clearLog();
    EXPECT_THROW(state.Fan0().setLimit(-100), OverflowError);
    EXPECT_TRUE(board->transfers().isEmpty());
}

TEST_F(FanChannel, SettingTheFrequencyKeepsTheOtherSixBits) {
    smbusChip()[0x69] = 0x75; // code 01, other bits 110101
    state.Fan1().setOscillatorFrequency(940);
    EXPECT_EQ(state.DataRead, 0x35); // the read value with bits 7:6 cleared
    EXPECT_EQ(board->transfers(),
              QStringList({"Smbus.ReadByte(5E,69)=75", "Smbus.WriteByte(5E,69,B5)"}));
    for (auto [frequency, byte] : {std::pair{1880, 0xF5}, {470, 0x75}, {0, 0x35}, {1000, 0x35}}) {
        state.Fan1().setOscillatorFrequency(frequency);
        EXPECT_EQ(smbusChip()[0x69], byte);
        EXPECT_EQ(state.Fan1().storedOscillatorFrequency(), frequency);
    }
    state.Fan1().RefreshParams(); // the unsupported 1000 is reported only until then
    EXPECT_EQ(state.Fan1().storedOscillatorFrequency(), 0);
}

TEST_F(FanChannel, AFailedFrequencyWriteKeepsTheOldFrequency) {
    smbusChip()[0x68] = 0x80;
    state.Fan0().RefreshParams();
    board->failNext(1, QStringLiteral("Smbus.WriteByte"));
    EXPECT_THROW(state.Fan0().setOscillatorFrequency(1880), LinkError);
    EXPECT_EQ(state.Fan0().storedOscillatorFrequency(), 940);
    EXPECT_EQ(smbusChip()[0x68], 0x80);
}

} // namespace
} // namespace qmf::test
