// SPDX-License-Identifier: GPL-3.0-or-later
// The chip's signed temperature byte, and negative readings and offsets on a simulated chip.
#include "SimTestSupport.h"

#include <cmath>

namespace qmf::sim::test {
namespace {

TEST(TemperatureCode, EncodesAndDecodesTheChipsSignedBytes) {
    const std::pair<int, int> encodings[] = {{0, 0},     {25, 25},    {127, 127},  {200, 127},
                                             {-1, 255},  {-2, 253},   {-3, 253},   {-10, 245},
                                             {-55, 201}, {-127, 129}, {-128, 128}, {-300, 128}};
    for (const auto& [celsius, code] : encodings) {
        EXPECT_EQ(encodeTemperature(celsius), code) << celsius;
    }
    const std::pair<int, int> decodings[] = {{0, 0},      {85, 85},   {127, 127},
                                             {128, -127}, {201, -55}, {246, -9},
                                             {254, -1},   {255, -1},  {253, -3}};
    for (const auto& [code, celsius] : decodings) {
        EXPECT_EQ(decodeTemperature(quint8(code)), celsius) << code;
    }
}

using ChipTemperatureTest = ChipTest;

TEST_F(ChipTemperatureTest, BelowFreezingReadingsAreNegative) {
    chip.setAmbient(-40.0);
    runSeconds(1200);
    // The remote diodes settle 3 C above ambient: -37 C, a code above 127.
    for (int channel : {1, 2}) {
        EXPECT_GE(read(quint8(0xA0 + channel)), 128);
        EXPECT_EQ(temperatureReading(channel), -37);
    }
    EXPECT_NEAR(temperatureReading(0), -35, 2);
    EXPECT_TRUE(read(0x00) & 0x80); // below the 0 C low limits: thermal event
}

TEST_F(ChipTemperatureTest, OffsetsShiftTheReadings) {
    const int base = temperatureReading(1);
    const std::pair<int, int> cases[] = {{5, 5}, {0xFB, -5}, {0x7F, 127 - base}, {0, 0}};
    for (const auto& [offset, shift] : cases) {
        write(0x31, quint8(offset));
        runSeconds(0.1);
        EXPECT_EQ(temperatureReading(1), base + shift) << offset;
    }
    EXPECT_EQ(temperatureReading(2), base); // another channel's offset does not touch TDM 2
}

TEST_F(ChipTemperatureTest, BadSurroundingsAreRefused) {
    EXPECT_THROW(chip.setAmbient(500.0), std::invalid_argument);
    EXPECT_THROW(chip.setAmbient(std::nan("")), std::invalid_argument);
    EXPECT_THROW(chip.setFanConnected(2, false), std::out_of_range);
    EXPECT_THROW(chip.fanRpm(-1), std::out_of_range);
    EXPECT_THROW(chip.temperature(3), std::out_of_range);
    runSeconds(600);
    EXPECT_NEAR(temperatureReading(0), 30, 1);
}

} // namespace
} // namespace qmf::sim::test
