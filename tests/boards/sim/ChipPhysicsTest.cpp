// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated chip's physics: heaters and diodes, fans, tachometer counts, automatic fan
// control, and the integration over long gaps.
#include "SimTestSupport.h"

#include <cmath>

namespace qmf::sim::test {
namespace {

using ChipPhysicsTest = ChipTest;

TEST_F(ChipPhysicsTest, EachHeaterWarmsItsOwnDiodeAndItCoolsWhenSwitchedOff) {
    // Heater 1 sits at Q2 (TDM 2), heater 2 at Q1 (TDM 1).
    for (const auto& [heater1, heated, other] : {std::tuple{true, 2, 1}, std::tuple{false, 1, 2}}) {
        SCOPED_TRACE(heated);
        const int heatedBefore = temperatureReading(heated),
                  otherBefore = temperatureReading(other);
        chip.setHeaters(heater1, !heater1);
        runSeconds(60);
        EXPECT_GE(temperatureReading(heated) - heatedBefore, 10);
        EXPECT_LE(std::abs(temperatureReading(other) - otherBefore), 1);
        const int hot = temperatureReading(heated);
        chip.setHeaters(false, false);
        runSeconds(30);
        EXPECT_LT(temperatureReading(heated), hot - 10);
        runSeconds(300);
        EXPECT_LE(std::abs(temperatureReading(heated) - heatedBefore), 1);
        EXPECT_NEAR(temperatureReading(0), 30, 1); // the local sensor sits near 30 C throughout
    }
}

TEST_F(ChipPhysicsTest, SpeedCodeAndOscillatorSetTheTachometerCount) {
    struct Case {
        quint8 speed1, speed2;
        double hz, minRpm, maxRpm;
    };
    // Code 15 is full duty, lower codes turn slower; oscillator code 00 disables the count.
    for (const Case c : {Case{0xFF, 0x6C, 470, 3000, 4500}, Case{0xF8, 0x6C, 470, 1800, 2500},
                         Case{0xF4, 0xAC, 940, 800, 1300}, Case{0xF4, 0xEC, 1880, 800, 1300},
                         Case{0xFF, 0x2C, 0, 0, 0}}) {
        SCOPED_TRACE(::testing::Message() << int(c.speed1) << "/" << int(c.speed2));
        write(0x60, c.speed1);
        write(0x68, c.speed2);
        runSeconds(20);
        const double rpm = rpmFromCount(0, c.hz);
        EXPECT_GE(rpm, c.minRpm);
        EXPECT_LE(rpm, c.maxRpm);
        EXPECT_EQ(read(0x70), c.hz == 0 ? 0 : std::lround(120.0 * c.hz / chip.fanRpm(0)));
    }
}

TEST_F(ChipPhysicsTest, FanSpeedLagsBehindItsDutyWithATwoSecondTimeConstant) {
    const double start = chip.fanRpm(0);
    write(0x60, 0xFF);
    runSeconds(2.0);
    EXPECT_NEAR(chip.fanRpm(0), start + (4000.0 - start) * (1.0 - std::exp(-1.0)), 100.0);
    runSeconds(10.0);
    EXPECT_NEAR(chip.fanRpm(0), 4000.0, 40.0);
    write(0x60, 0xF8);
    runSeconds(0.5);
    EXPECT_GT(chip.fanRpm(0), 3000.0); // still coasting down
}

TEST_F(ChipPhysicsTest, FanStartedFromRestSpinsUpAtFullDuty) {
    for (const auto& [spinUp, first] : {std::pair{0x03, 100.0}, std::pair{0x08, 4 * 100.0 / 15}}) {
        write(0x60, 0xF0); // normal speed 0: the fan stops
        runSeconds(30);
        ASSERT_LT(chip.fanRpm(0), 10.0);
        write(0x0C, quint8(spinUp)); // 2 s, then disabled
        write(0x60, 0xF4);
        runSeconds(1.0);
        EXPECT_NEAR(chip.fanDutyPercent(0), first, 1e-9);
        runSeconds(1.5);
        EXPECT_NEAR(chip.fanDutyPercent(0), 4 * 100.0 / 15, 1e-9);
    }
}

// Fan 0 under automatic control of TDM 1 only (Tmin 35 C, Trange 20 C, hysteresis 4 C); fan 1
// under nobody's.
class AfcTest : public ChipTest {
protected:
    void SetUp() override {
        for (const auto& [reg, value] :
             {std::pair{0x48, 0x03}, std::pair{0x49, 0x02}, std::pair{0x4A, 0x03},
              std::pair{0x81, 35}, std::pair{0x89, 0x42}}) {
            write(quint8(reg), quint8(value));
        }
    }
    static double demand(int reading) {
        const double minimum = 8 * 100.0 / 15;
        return std::clamp(minimum + (100.0 - minimum) * (reading - 35) / 20.0, minimum, 100.0);
    }
};

TEST_F(AfcTest, FanSpeedsUpAsTheHeaterWarmsTheControllingDiode) {
    ASSERT_LT(temperatureReading(1), 35);
    chip.setHeaters(false, true);
    double lastRpm = chip.fanRpm(0);
    for (int second = 0; second <= 90; ++second) {
        ASSERT_NEAR(chip.fanDutyPercent(0), demand(temperatureReading(1)), 1e-6) << second;
        ASSERT_GE(chip.fanRpm(0), lastRpm - 1e-6);
        lastRpm = chip.fanRpm(0);
        runSeconds(1.0);
    }
    EXPECT_GT(lastRpm, 3800.0);
    EXPECT_NEAR(chip.fanDutyPercent(1), 8 * 100.0 / 15, 1e-9);
    write(0x49, 0x03); // a set mask bit takes the fan off the channel's control
    EXPECT_NEAR(chip.fanDutyPercent(0), 8 * 100.0 / 15, 1e-9);
}

TEST_F(AfcTest, HysteresisDelaysTheFall) {
    chip.setHeaters(false, true);
    runSeconds(14);
    const int peak = temperatureReading(1);
    ASSERT_GT(peak, 42);
    const double peakDuty = chip.fanDutyPercent(0);
    chip.setHeaters(false, false);
    int held = 0, fell = 0;
    for (int i = 0; i < 400; ++i) {
        runSeconds(0.1);
        const int reading = temperatureReading(1);
        const bool withinHysteresis = peak - reading <= 4;
        ASSERT_NEAR(chip.fanDutyPercent(0), withinHysteresis ? peakDuty : demand(reading + 4),
                    1e-6);
        if (!withinHysteresis) {
            ++fell;
        } else if (reading < peak) {
            ++held;
        }
    }
    EXPECT_GT(held, 0);
    EXPECT_GT(fell, 0);
}

TEST_F(AfcTest, HottestControllingChannelWins) {
    write(0x4A, 0x00); // TDM 2 controls fan 0 as well, same settings
    write(0x82, 35);
    write(0x8A, 0x42);
    for (const auto& [heater1, hot, cold] : {std::tuple{true, 2, 1}, std::tuple{false, 1, 2}}) {
        SCOPED_TRACE(hot);
        chip.setHeaters(heater1, !heater1);
        runSeconds(30);
        ASSERT_LT(temperatureReading(cold), 35);
        EXPECT_NEAR(chip.fanDutyPercent(0), demand(temperatureReading(hot)), 1e-6);
        chip.setHeaters(false, false);
        runSeconds(600);
    }
}

TEST(ChipIntegration, OneAccessAfterALongGapLandsWhereManyShortOnesLand) {
    // 90 s is just past the fine-step budget of one access; the reference stops stepping after an
    // hour, when the heated chip has long reached its steady state.
    for (const qint64 gapMs : {qint64(90'000), qint64(3'600'000), qint64(86'400'000)}) {
        SCOPED_TRACE(gapMs);
        ManualClock stepped, jumped;
        SimulatedChip a(stepped), b(jumped);
        for (SimulatedChip* c : {&a, &b}) {
            c->setHeaters(true, false);
            c->writeRegister(0x60, 0xFF);
        }
        for (qint64 t = 0; t < std::min(gapMs, qint64(3'600'000)); t += 100) {
            stepped.advanceMs(100);
            a.readRegister(0x70);
        }
        jumped.advanceMs(gapMs);
        EXPECT_NEAR(b.temperature(2), a.temperature(2), 0.3);
        EXPECT_NEAR(b.fanRpm(0), a.fanRpm(0), 10.0);
        EXPECT_EQ(b.readRegister(0xA2), a.readRegister(0xA2));
    }
}

} // namespace
} // namespace qmf::sim::test
