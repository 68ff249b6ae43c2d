// SPDX-License-Identifier: GPL-3.0-or-later
// The chip's signed temperature byte, and negative readings and offsets on a simulated chip.
#include "SimTestSupport.h"

namespace qmf::sim::test {
namespace {

TEST(TemperatureCode, EncodesAndDecodesTheChipsSignedBytes) {
    struct Case {
        int celsius;
        quint8 code;
    };
    for (const Case c : {Case{0, 0}, Case{25, 25}, Case{127, 127}, Case{200, 127}, Case{-1, 255},
                         Case{-2, 253}, Case{-3, 253}, Case{-10, 245}, Case{-55, 201},
                         Case{-127, 129}, Case{-128, 128}, Case{-300, 128}}) {
        SCOPED_TRACE(c.celsius);
        EXPECT_EQ(encodeTemperature(c.celsius), c.code);
    }
    for (const Case c : {Case{0, 0}, Case{85, 85}, Case{127, 127}, Case{-127, 128}, Case{-55, 201},
                         Case{-9, 246}, Case{-1, 254}, Case{-1, 255}, Case{-3, 253}}) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(decodeTemperature(c.code), c.celsius);
    }
}

using ChipTemperatureTest = ChipTest;

TEST_F(ChipTemperatureTest, BelowFreezingReadingsAreNegative) {
    chip.setAmbient(-40.0);
    runSeconds(1200);
    // The remote diodes settle 3 C above ambient: -37 C, a code above 127.
    for (int channel : {1, 2}) {
        const quint8 code = read(quint8(0xA0 + channel));
        EXPECT_GE(code, 128);
        EXPECT_EQ(decodeTemperature(code), -37);
    }
    EXPECT_NEAR(temperatureReading(0), -35, 2);
    // A low limit of 0 C is now violated: thermal event.
    EXPECT_TRUE(read(0x00) & 0x80);
}

TEST_F(ChipTemperatureTest, OffsetsShiftTheReadings) {
    const int base = temperatureReading(1);
    struct Case {
        quint8 offset;
        int shift;
    };
    for (const Case c : {Case{5, 5}, Case{0xFB, -5}, Case{0x7F, 127 - base}, Case{0, 0}}) {
        SCOPED_TRACE(c.offset);
        write(0x31, c.offset);
        runSeconds(0.1);
        EXPECT_EQ(temperatureReading(1), base + c.shift);
        EXPECT_EQ(read(0x31), c.offset);
    }
    EXPECT_EQ(temperatureReading(2), base); // another channel's offset does not touch TDM 2
}

TEST_F(ChipTemperatureTest, AmbientOutsideThePlausibleRangeIsRefused) {
    EXPECT_THROW(chip.setAmbient(500.0), std::invalid_argument);
    EXPECT_THROW(chip.setAmbient(std::nan("")), std::invalid_argument);
    runSeconds(600);
    EXPECT_NEAR(temperatureReading(0), 30, 1);
}

} // namespace
} // namespace qmf::sim::test
