// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated chip's physics: heaters and diodes, fans, tachometer counts, automatic fan
// control, and the integration over long gaps.
#include "SimTestSupport.h"

#include <cmath>

namespace qmf::sim::test {
namespace {

using ChipPhysicsTest = ChipTest;

TEST_F(ChipPhysicsTest, EachHeaterWarmsItsOwnDiodeAndItCoolsWhenSwitchedOff) {
    struct Case {
        bool heater1, heater2;
        int heated, other;
    };
    // Heater 1 sits at Q2 (TDM 2, register 0xA2), heater 2 at Q1 (TDM 1, register 0xA1).
    for (const Case c : {Case{true, false, 2, 1}, Case{false, true, 1, 2}}) {
        SCOPED_TRACE(c.heated);
        ManualClock clk;
        SimulatedChip sim(clk);
        auto reading = [&](int ch) {
            return decodeTemperature(sim.readRegister(quint8(0xA0 + ch)));
        };
        const int heatedBefore = reading(c.heated);
        const int otherBefore = reading(c.other);
        sim.setHeaters(c.heater1, c.heater2);
        clk.advanceMs(60'000);
        EXPECT_GE(reading(c.heated) - heatedBefore, 10);
        EXPECT_LE(std::abs(reading(c.other) - otherBefore), 1);
        const int hot = reading(c.heated);
        sim.setHeaters(false, false);
        clk.advanceMs(30'000);
        EXPECT_LT(reading(c.heated), hot - 10);
        clk.advanceMs(300'000);
        EXPECT_LE(std::abs(reading(c.heated) - heatedBefore), 1);
    }
}

TEST_F(ChipPhysicsTest, LocalSensorSitsNearThirtyDegrees) {
    for (int i = 0; i < 120; ++i) {
        runSeconds(1.0);
        const int local = temperatureReading(0);
        ASSERT_GE(local, 29);
        ASSERT_LE(local, 31);
    }
}

TEST_F(ChipPhysicsTest, NormalSpeedCodeSetsTheFanSpeed) {
    struct Case {
        quint8 speed1;
        double minRpm, maxRpm;
    };
    // 470 Hz oscillator (power-up); code 15 is full duty, lower codes turn slower.
    for (const Case c : {Case{0xFF, 3000, 4500}, Case{0xF8, 1800, 2500}, Case{0xF4, 800, 1300}}) {
        SCOPED_TRACE(c.speed1);
        write(0x60, c.speed1);
        runSeconds(20);
        const double rpm = rpmFromCount(0, 470.0);
        EXPECT_GE(rpm, c.minRpm);
        EXPECT_LE(rpm, c.maxRpm);
        EXPECT_NEAR(chip.fanRpm(0), rpm, rpm * 0.05);
    }
}

TEST_F(ChipPhysicsTest, TachometerCountFollowsTheOscillatorFrequency) {
    struct Case {
        quint8 speed2;
        double hz;
    };
    for (const Case c : {Case{0x6C, 470}, Case{0xAC, 940}, Case{0xEC, 1880}, Case{0x2C, 0}}) {
        SCOPED_TRACE(c.speed2);
        write(0x69, c.speed2);
        runSeconds(0.1);
        const double rpm = chip.fanRpm(1);
        const long expected = c.hz == 0 ? 0 : std::min(255L, std::lround(120.0 * c.hz / rpm));
        EXPECT_EQ(read(0x71), expected);
    }
}

TEST_F(ChipPhysicsTest, FanSpeedLagsBehindItsDutyWithATwoSecondTimeConstant) {
    const double start = chip.fanRpm(0);
    write(0x60, 0xFF);
    runSeconds(2.0);
    const double afterTau = chip.fanRpm(0);
    const double expected = start + (4000.0 - start) * (1.0 - std::exp(-1.0));
    EXPECT_NEAR(afterTau, expected, 100.0);
    runSeconds(10.0);
    EXPECT_NEAR(chip.fanRpm(0), 4000.0, 40.0);
    write(0x60, 0xF8);
    runSeconds(0.5);
    EXPECT_GT(chip.fanRpm(0), 3000.0); // still coasting down
}

TEST_F(ChipPhysicsTest, FanStartedFromRestSpinsUpAtFullDuty) {
    write(0x60, 0xF0); // normal speed 0: the fan stops
    runSeconds(30);
    ASSERT_LT(chip.fanRpm(0), 10.0);
    write(0x0C, 0x03); // 2 s spin-up
    write(0x60, 0xF4);
    runSeconds(1.0);
    EXPECT_DOUBLE_EQ(chip.fanDutyPercent(0), 100.0);
    runSeconds(1.5);
    EXPECT_NEAR(chip.fanDutyPercent(0), 4 * 100.0 / 15, 1e-9);
    write(0x60, 0xF0);
    runSeconds(30);
    write(0x0C, 0x08); // spin-up disabled
    write(0x60, 0xF4);
    runSeconds(0.2);
    EXPECT_NEAR(chip.fanDutyPercent(0), 4 * 100.0 / 15, 1e-9);
}

// Fan 0 under automatic control of TDM 1 only, Tmin 35 C, Trange 20 C, hysteresis 4 C; fan 1
// under nobody's.
class AfcTest : public ChipTest {
protected:
    void SetUp() override {
        write(0x48, 0x03);
        write(0x49, 0x02);
        write(0x4A, 0x03);
        write(0x81, 35);
        write(0x89, 0x42);
    }
    static double demand(int reading) {
        const double minimum = 8 * 100.0 / 15;
        return std::clamp(minimum + (100.0 - minimum) * (reading - 35) / 20.0, minimum, 100.0);
    }
};

TEST_F(AfcTest, FanSpeedsUpAsTheHeaterWarmsTheControllingDiode) {
    ASSERT_LT(temperatureReading(1), 35);
    EXPECT_NEAR(chip.fanDutyPercent(0), 8 * 100.0 / 15, 1e-9);
    chip.setHeaters(false, true);
    double lastRpm = chip.fanRpm(0);
    for (int second = 1; second <= 90; ++second) {
        runSeconds(1.0);
        const int reading = temperatureReading(1);
        ASSERT_NEAR(chip.fanDutyPercent(0), demand(reading), 1e-6) << "at " << second << " s";
        ASSERT_GE(chip.fanRpm(0), lastRpm - 1e-6);
        lastRpm = chip.fanRpm(0);
    }
    EXPECT_GT(lastRpm, 3800.0);
    EXPECT_NEAR(chip.fanDutyPercent(1), 8 * 100.0 / 15, 1e-9); // fan 1 is not under TDM 1's control
}

TEST_F(AfcTest, SetMaskBitKeepsTheFanOffTheChannelsControl) {
    write(0x49, 0x01);
    chip.setHeaters(false, true);
    runSeconds(90);
    ASSERT_GT(temperatureReading(1), 60);
    EXPECT_NEAR(chip.fanDutyPercent(0), 8 * 100.0 / 15, 1e-9);
}

TEST_F(AfcTest, HysteresisDelaysTheFall) {
    chip.setHeaters(false, true);
    runSeconds(14);
    const int peak = temperatureReading(1);
    ASSERT_GT(peak, 42);
    ASSERT_LT(peak, 55);
    const double peakDuty = chip.fanDutyPercent(0);
    chip.setHeaters(false, false);
    bool sawHeld = false, sawFall = false;
    for (int i = 0; i < 400; ++i) {
        runSeconds(0.1);
        const int reading = temperatureReading(1);
        if (peak - reading <= 4) {
            ASSERT_NEAR(chip.fanDutyPercent(0), peakDuty, 1e-6);
            sawHeld |= reading < peak;
        } else {
            ASSERT_NEAR(chip.fanDutyPercent(0), demand(reading + 4), 1e-6);
            sawFall = true;
        }
    }
    EXPECT_TRUE(sawHeld);
    EXPECT_TRUE(sawFall);
}

TEST_F(AfcTest, HottestControllingChannelWins) {
    write(0x4A, 0x00); // TDM 2 controls fan 0 as well, same settings
    write(0x82, 35);
    write(0x8A, 0x42);
    chip.setHeaters(true, false); // warms TDM 2 only
    runSeconds(30);
    ASSERT_LT(temperatureReading(1), 35);
    EXPECT_NEAR(chip.fanDutyPercent(0), demand(temperatureReading(2)), 1e-6);
}

// Heater 1 on and fan 0 at full speed.
void runHeatedChip(SimulatedChip& chip) {
    chip.setHeaters(true, false);
    chip.writeRegister(0x60, 0xFF);
}

TEST(ChipIntegration, OneAccessAfterALongGapLandsWhereManyShortOnesLand) {
    // 90 s is just past the fine-step budget of one access; an hour is far past it.
    for (const qint64 gapMs : {qint64(90'000), qint64(3'600'000)}) {
        SCOPED_TRACE(gapMs);
        ManualClock stepped, jumped;
        SimulatedChip a(stepped), b(jumped);
        runHeatedChip(a);
        runHeatedChip(b);
        for (qint64 t = 0; t < gapMs; t += 100) {
            stepped.advanceMs(100);
            a.readRegister(0x70);
        }
        jumped.advanceMs(gapMs);
        EXPECT_NEAR(b.temperature(2), a.temperature(2), 0.3);
        EXPECT_NEAR(b.fanRpm(0), a.fanRpm(0), 10.0);
        EXPECT_EQ(b.readRegister(0xA2), a.readRegister(0xA2));
        EXPECT_EQ(b.readRegister(0xB8), a.readRegister(0xB8));
    }
}

TEST(ChipIntegration, ADayLongGapReachesTheSteadyState) {
    ManualClock hourClock, dayClock;
    SimulatedChip hour(hourClock), day(dayClock);
    runHeatedChip(hour);
    runHeatedChip(day);
    for (int minute = 0; minute < 60; ++minute) {
        hourClock.advanceMs(60'000);
        hour.readRegister(0xA2);
    }
    dayClock.advanceMs(86'400'000);
    EXPECT_NEAR(day.temperature(2), hour.temperature(2), 0.01);
    EXPECT_NEAR(day.fanRpm(0), hour.fanRpm(0), 1.0);
}

} // namespace
} // namespace qmf::sim::test
