// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/measure/Temperature.h"

#include "CoreFixture.h"
#include "core/link/LinkErrors.h"

#include <limits>

namespace qmf::test {
namespace {

struct Conversion {
    qint16 byte;
    qint16 temperature;
};

class RegisterToTemperature : public ::testing::TestWithParam<Conversion> {};

TEST_P(RegisterToTemperature, DecodesTheSignedEncoding) {
    EXPECT_EQ(Temperature::RegisterToTemperature(GetParam().byte), GetParam().temperature);
}

INSTANTIATE_TEST_SUITE_P(Bytes, RegisterToTemperature,
                         ::testing::Values(Conversion{0, 0}, Conversion{85, 85},
                                           Conversion{127, 127}, Conversion{128, -127},
                                           Conversion{129, -127}, Conversion{201, -55},
                                           Conversion{246, -9}, Conversion{253, -3},
                                           Conversion{254, -1}, Conversion{255, -1}));

class TemperatureToRegister : public ::testing::TestWithParam<Conversion> {};

TEST_P(TemperatureToRegister, EncodesTheTemperature) {
    EXPECT_EQ(Temperature::TemperatureToRegister(GetParam().temperature), GetParam().byte);
}

INSTANTIATE_TEST_SUITE_P(
    Temperatures, TemperatureToRegister,
    ::testing::Values(Conversion{25, 25}, Conversion{0, 0}, Conversion{127, 127},
                      Conversion{200, 200}, // above the chip's range: passed on as it is
                      Conversion{255, -1}, Conversion{253, -2}, Conversion{245, -10},
                      Conversion{201, -55}, Conversion{129, -127}, Conversion{128, -128},
                      Conversion{0xB7, -200},    // bits 8-15 of the magnitude are dropped
                      Conversion{0x1FF, -256})); // no low bit set: they are kept

TEST(TemperatureConversion, EveryChipTemperatureSurvivesTheRoundTrip) {
    for (int t = -127; t <= 127; ++t) {
        const qint16 byte = Temperature::TemperatureToRegister(qint16(t));
        ASSERT_GE(byte, 0);
        ASSERT_LE(byte, 255);
        // Odd magnitudes come back exactly; even ones lose their lowest bit to the encoding.
        const int expected = t >= 0 ? t : -((-t) | 1);
        EXPECT_EQ(Temperature::RegisterToTemperature(byte), expected) << "t = " << t;
    }
}

TEST(TemperatureConversion, MostNegativeValueRaisesOverflow) {
    EXPECT_THROW(Temperature::TemperatureToRegister(std::numeric_limits<qint16>::min()),
                 OverflowError);
    EXPECT_EQ(Temperature::TemperatureToRegister(-32767), 0x81);
}

class TemperatureChannel : public CoreFixture {
protected:
    TemperatureChannel() {
        useSmbus();
        Temperature& t = state.IntTemp();
        t.setMaxAddressPointer(0x90);
        t.setMinAddressPointer(0x98);
        t.setValueAddressPointer(0xA0);
        Temperature& r1 = state.ExtTemp1();
        r1.setMaxAddressPointer(0x92);
        r1.setMinAddressPointer(0x9A);
        r1.setValueAddressPointer(0xA2);
    }
};

TEST_F(TemperatureChannel, LimitWritesEncodeAndGoToTheirRegister) {
    state.IntTemp().setMaxLimit(60);
    EXPECT_EQ(smbusChip()[0x90], 0x3C);
    state.IntTemp().setMinLimit(-128);
    EXPECT_EQ(smbusChip()[0x98], 0x80);
    state.IntTemp().setMinLimit(-2);
    EXPECT_EQ(smbusChip()[0x98], 0xFD);
    EXPECT_EQ(state.AddressPointer, 0x98);
    EXPECT_EQ(state.DataToWrite, 0xFD);
    EXPECT_EQ(board->transfers(),
              QStringList({"Smbus.WriteByte(5E,90,3C)", "Smbus.WriteByte(5E,98,80)",
                           "Smbus.WriteByte(5E,98,FD)"}));
}

TEST_F(TemperatureChannel, ReadsDecodeTheRegisterBytes) {
    smbusChip()[0x90] = 0x80;
    smbusChip()[0x98] = 0xFE;
    smbusChip()[0xA0] = 201;
    EXPECT_EQ(state.IntTemp().MaxLimit(), -127);
    EXPECT_EQ(state.IntTemp().MinLimit(), -1);
    EXPECT_EQ(state.IntTemp().Value(), -55);
    EXPECT_EQ(state.DataRead, 201);
}

TEST_F(TemperatureChannel, ValueReadsOnlyItsOwnRegister) {
    smbusChip()[0xA2] = 31;
    EXPECT_EQ(state.ExtTemp1().Value(), 31);
    EXPECT_EQ(board->transfers(), QStringList({"Smbus.ReadByte(5E,A2)=1F"}));
    EXPECT_EQ(state.AddressPointer, 0xA2);
}

TEST_F(TemperatureChannel, HighLimitsArePassedToTheClampingWrite) {
    state.IntTemp().setMaxLimit(300);
    EXPECT_EQ(smbusChip()[0x90], 255);
    EXPECT_EQ(state.DataToWrite, 255);
}

TEST_F(TemperatureChannel, AFailedOrRefusedWriteLeavesTheChipAlone) {
    smbusChip()[0x98] = 7;
    EXPECT_THROW(state.IntTemp().setMinLimit(std::numeric_limits<qint16>::min()), OverflowError);
    board->failNext(1, QStringLiteral("Smbus.WriteByte"));
    EXPECT_THROW(state.IntTemp().setMinLimit(-5), LinkError);
    EXPECT_EQ(smbusChip()[0x98], 7);
    board->failNext(1, QStringLiteral("Smbus.ReadByte"));
    EXPECT_THROW(state.IntTemp().Value(), LinkError);
}

TEST_F(TemperatureChannel, UsesThePrinterPortPathWhenChosen) {
    usePrinterPort();
    printerChip()[0xA0] = 25;
    EXPECT_EQ(state.IntTemp().Value(), 25);
    EXPECT_EQ(board->transfers(), QStringList({"BusEngine.ReadByte(5E,A0)=19"}));
}

} // namespace
} // namespace qmf::test
