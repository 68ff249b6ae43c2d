// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/measure/Temperature.h"

#include "CoreFixture.h"
#include "core/link/LinkErrors.h"

#include <limits>

namespace qmf::test {
namespace {

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

class TemperatureChannel : public CoreFixture {
protected:
    TemperatureChannel() {
        useSmbus();
        state.IntTemp().setMaxAddressPointer(0x90);
        state.IntTemp().setMinAddressPointer(0x98);
        state.IntTemp().setValueAddressPointer(0xA0);
        state.ExtTemp1().setValueAddressPointer(0xA2);
    }
};

TEST_F(TemperatureChannel, LimitWritesEncodeAndGoToTheirRegister) {
    state.IntTemp().setMaxLimit(60);
    state.IntTemp().setMinLimit(-128);
    state.IntTemp().setMinLimit(-2);
    state.IntTemp().setMaxLimit(300); // beyond the chip: the write clamps it
    EXPECT_EQ(board->transfers(),
              QStringList({"Smbus.WriteByte(5E,90,3C)", "Smbus.WriteByte(5E,98,80)",
                           "Smbus.WriteByte(5E,98,FD)", "Smbus.WriteByte(5E,90,FF)"}));
    EXPECT_EQ(state.AddressPointer, 0x90);
    EXPECT_EQ(state.DataToWrite, 255);
}

TEST_F(TemperatureChannel, ReadsDecodeOnlyTheirOwnRegister) {
    smbusChip()[0x90] = 0x80;
    smbusChip()[0x98] = 0xFE;
    smbusChip()[0xA2] = 31;
    EXPECT_EQ(state.IntTemp().MaxLimit(), -127);
    EXPECT_EQ(state.IntTemp().MinLimit(), -1);
    EXPECT_EQ(state.ExtTemp1().Value(), 31);
    EXPECT_EQ(board->transfers(),
              QStringList({"Smbus.ReadByte(5E,90)=80", "Smbus.ReadByte(5E,98)=FE",
                           "Smbus.ReadByte(5E,A2)=1F"}));
}

TEST_F(TemperatureChannel, ARefusedOrFailedWriteLeavesTheChipAlone) {
    smbusChip()[0x98] = 7;
    state.DataToWrite = 3;
    EXPECT_THROW(state.IntTemp().setMinLimit(std::numeric_limits<qint16>::min()), OverflowError);
    EXPECT_EQ(state.DataToWrite, 3);
    board->failNext(1, QStringLiteral("Smbus.WriteByte"));
    EXPECT_THROW(state.IntTemp().setMinLimit(-5), LinkError);
    EXPECT_EQ(smbusChip()[0x98], 7);
}

} // namespace
} // namespace qmf::test
