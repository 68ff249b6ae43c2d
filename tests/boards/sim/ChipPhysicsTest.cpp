// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated chip's physics: heaters, fans, tachometer counts, AFC, long gaps.
#include "SimTestSupport.h"

#include <cmath>

namespace qmf::sim::test {
namespace {

using ChipPhysicsTest = ChipTest;

TEST_F(ChipPhysicsTest, AHeatedDiodeWarmsByTensOfDegreesAndCoolsBackWhenSwitchedOff) {
    const int before = temperatureReading(2), other = temperatureReading(1);
    chip.setHeaters(true, false); // heater 1 sits at TDM 2's diode (heater 2 at TDM 1's)
    runSeconds(60);
    EXPECT_GE(temperatureReading(2) - before, 10);
    EXPECT_LE(std::abs(temperatureReading(1) - other), 1);
    const int hot = temperatureReading(2);
    chip.setHeaters(false, false);
    runSeconds(30);
    EXPECT_LT(temperatureReading(2), hot - 10);
    runSeconds(300);
    EXPECT_LE(std::abs(temperatureReading(2) - before), 1);
    EXPECT_NEAR(temperatureReading(0), 30, 1); // the local sensor sits near 30 C throughout
}

TEST(ChipFans, SpeedCodeAndOscillatorSetTheTachometerCount) {
    // Code 15 is full duty, lower codes turn slower; oscillator code 00 disables the count.
    for (const auto& [speed1, speed2, hz, minRpm, maxRpm] :
         {std::tuple{0xFF, 0x6C, 470.0, 3000.0, 4500.0},
          {0xF8, 0x6C, 470.0, 1800.0, 2500.0},
          {0xF4, 0xAC, 940.0, 800.0, 1300.0},
          {0xF4, 0xEC, 1880.0, 800.0, 1300.0},
          {0xFF, 0x2C, 0.0, 0.0, 0.0}}) {
        SCOPED_TRACE(::testing::Message() << speed1 << "/" << speed2);
        SimChip s({{0x60, speed1}, {0x68, speed2}}, 20);
        const quint8 count = s.read(0x70); // the program's speed is 120 x oscillator / count
        const double rpm = count == 0 ? 0.0 : 120.0 * hz / count;
        EXPECT_GE(rpm, minRpm);
        EXPECT_LE(rpm, maxRpm);
        EXPECT_EQ(s.read(0x70), hz == 0 ? 0 : std::lround(120.0 * hz / s.chip.fanRpm(0)));
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

TEST_F(ChipPhysicsTest, FanStartedFromRestSpinsUpAtFullDutyUnlessSpinUpIsDisabled) {
    for (const auto& [spinUp, first] : {std::pair{0x03, 100.0}, std::pair{0x08, duty(4)}}) {
        write(0x60, 0xF0); // normal speed 0: the fan stops
        runSeconds(30);
        write(0x0C, spinUp); // 2 s, then disabled
        write(0x60, 0xF4);
        runSeconds(1.0);
        EXPECT_NEAR(chip.fanDutyPercent(0), first, 1e-9);
        runSeconds(1.5);
        EXPECT_NEAR(chip.fanDutyPercent(0), duty(4), 1e-9);
    }
}

// Fan 0 under automatic control of TDM 1 and TDM 2 (Tmin 35 C, Trange 20 C, hysteresis 4 C);
// fan 1 under nobody's.
class AfcTest : public ChipTest {
protected:
    AfcTest() {
        for (const auto& [reg, value] : Writes{{0x48, 0x03},
                                               {0x49, 0x02},
                                               {0x4A, 0x02},
                                               {0x81, 35},
                                               {0x89, 0x42},
                                               {0x82, 35},
                                               {0x8A, 0x42}}) {
            write(reg, value);
        }
    }
    static double demand(int reading) {
        return std::clamp(duty(8) + (100.0 - duty(8)) * (reading - 35) / 20.0, duty(8), 100.0);
    }
};

TEST_F(AfcTest, FanSpeedsUpAsTheHeaterWarmsTheControllingDiode) {
    ASSERT_LT(temperatureReading(1), 35);
    chip.setHeaters(false, true); // TDM 1 only: the hotter channel decides
    double lastRpm = chip.fanRpm(0);
    for (int second = 0; second <= 90; ++second) {
        ASSERT_NEAR(chip.fanDutyPercent(0), demand(temperatureReading(1)), 1e-6) << second;
        ASSERT_GE(chip.fanRpm(0), lastRpm - 1e-6);
        lastRpm = chip.fanRpm(0);
        runSeconds(1.0);
    }
    EXPECT_GT(lastRpm, 3800.0);
    EXPECT_NEAR(chip.fanDutyPercent(1), duty(8), 1e-9);
    write(0x49, 0x03); // a set mask bit takes the fan off the channel's control
    EXPECT_NEAR(chip.fanDutyPercent(0), duty(8), 1e-9);
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
        fell += !withinHysteresis;
        held += withinHysteresis && reading < peak;
    }
    EXPECT_GT(held, 0);
    EXPECT_GT(fell, 0);
}

TEST_F(AfcTest, TheOtherChannelDecidesWhenItIsTheHotter) {
    chip.setHeaters(true, false);
    runSeconds(30);
    ASSERT_LT(temperatureReading(1), 35);
    EXPECT_NEAR(chip.fanDutyPercent(0), demand(temperatureReading(2)), 1e-6);
}

TEST(ChipIntegration, OneAccessAfterALongGapLandsWhereManyShortOnesLand) {
    // 90 s is just past the fine-step budget of one access; the reference stops stepping after an
    // hour, when the heated chip has long reached its steady state.
    for (const qint64 gapMs : {qint64(90'000), qint64(3'600'000), qint64(86'400'000)}) {
        SCOPED_TRACE(gapMs);
        SimChip stepped({{0x60, 0xFF}}), jumped({{0x60, 0xFF}});
        stepped.chip.setHeaters(true, false);
        jumped.chip.setHeaters(true, false);
        for (qint64 t = 0; t < std::min(gapMs, qint64(3'600'000)); t += 100) {
            stepped.clock.advanceMs(100);
            stepped.read(0x70);
        }
        jumped.clock.advanceMs(gapMs);
        EXPECT_NEAR(jumped.chip.temperature(2), stepped.chip.temperature(2), 0.3);
        EXPECT_NEAR(jumped.chip.fanRpm(0), stepped.chip.fanRpm(0), 10.0);
        EXPECT_EQ(jumped.read(0xA2), stepped.read(0xA2));
    }
}

} // namespace
} // namespace qmf::sim::test
