// SPDX-License-Identifier: GPL-3.0-or-later
#include "CoreFixture.h"
#include "core/link/LinkErrors.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"

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

TEST(TemperatureConversion, DecodesAndEncodesTheSignedRegisterByte) {
    // clang-format off
    const std::pair<qint16, qint16> decoded[] = {
        {0, 0}, {85, 85}, {127, 127}, {128, -127}, {201, -55}, {246, -9}, {253, -3}, {254, -1}, {255, -1}};
    const std::pair<qint16, qint16> encoded[] = {
        {25, 25}, {127, 127}, {200, 200}, {-1, 255}, {-2, 253}, {-10, 245}, {-55, 201},
        {-127, 129}, {-128, 128}, {-200, 0xB7}, {-256, 0x1FF}, {-32767, 0x81}};
    // clang-format on
    for (auto [byte, temperature] : decoded) {
        EXPECT_EQ(Temperature::RegisterToTemperature(byte), temperature) << byte;
    }
    for (auto [temperature, byte] : encoded) {
        EXPECT_EQ(Temperature::TemperatureToRegister(temperature), byte) << temperature;
    }
    EXPECT_THROW(Temperature::TemperatureToRegister(std::numeric_limits<qint16>::min()),
                 OverflowError);
}

// The channels bound to their registers as the program binds them, on the on-board SMBus.
class Channels : public CoreFixture {
protected:
    Channels() {
        state.CommsMedium = 0;
        smbusChip();
        state.Fan0().setLimitAddress(0x78);
        state.Fan0().setSpeedAddress(0x70);
        state.Fan0().setOscillatorFrequencyAddress(0x68);
        state.Fan1().setOscillatorFrequencyAddress(0x69);
        state.IntTemp().setMaxAddressPointer(0x90);
        state.IntTemp().setMinAddressPointer(0x98);
        state.ExtTemp1().setValueAddressPointer(0xA2);
    }
};

TEST_F(Channels, FanReadsZeroUntilRefreshedThenConverts) {
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
    }
    state.Fan0().setLimit(2000);
    state.Fan0().setLimit(0); // 56400 RPM's count, written as 255
    EXPECT_EQ(board->transfers().filter("WriteByte"),
              QStringList({"Smbus.WriteByte(5E,78,1C)", "Smbus.WriteByte(5E,78,FF)"}));
}

TEST_F(Channels, SettingTheFanFrequencyKeepsTheOtherSixBits) {
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

    board->failNext(1, QStringLiteral("Smbus.WriteByte"));
    EXPECT_THROW(state.Fan1().setOscillatorFrequency(1880), LinkError);
    EXPECT_EQ(state.Fan1().storedOscillatorFrequency(), 0); // a failed write changes nothing
    EXPECT_EQ(smbusChip()[0x69], 0x35);
}

TEST_F(Channels, TemperaturesEncodeAndDecodeOnlyTheirOwnRegister) {
    state.IntTemp().setMaxLimit(60);
    state.IntTemp().setMinLimit(-128);
    state.IntTemp().setMinLimit(-2);
    smbusChip()[0x90] = 0x80;
    smbusChip()[0x98] = 0xFE;
    smbusChip()[0xA2] = 31;
    EXPECT_EQ(state.IntTemp().MaxLimit(), -127);
    EXPECT_EQ(state.IntTemp().MinLimit(), -1);
    EXPECT_EQ(state.ExtTemp1().Value(), 31);
    EXPECT_EQ(board->transfers(),
              QStringList({"Smbus.WriteByte(5E,90,3C)", "Smbus.WriteByte(5E,98,80)",
                           "Smbus.WriteByte(5E,98,FD)", "Smbus.ReadByte(5E,90)=80",
                           "Smbus.ReadByte(5E,98)=FE", "Smbus.ReadByte(5E,A2)=1F"}));
}

} // namespace
} // namespace qmf::test
