// SPDX-License-Identifier: GPL-3.0-or-later
// The SMBus timing check on drawn waveforms: clean transfers pass; each interval shortened (or
// stretched) below its limit is reported as that rule alone, at the start of the interval.
#include "core/trace/SmbusTimingCheck.h"

#include "TimingWave.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace qmf::test {
namespace {

using trace::SmbusTimingCheck;
using trace::TimingRule;
using trace::TimingViolation;

struct Checked {
    QList<TimingViolation> violations;
    trace::TimingSummary summary;
    std::set<TimingRule> rules() const {
        std::set<TimingRule> found;
        for (const TimingViolation& v : violations) {
            found.insert(v.rule);
        }
        return found;
    }
};

Checked check(const QList<LineLevels>& levels, qint64 endNs) {
    Checked result;
    SmbusTimingCheck checker;
    checker.onViolation = [&](const TimingViolation& v) { result.violations.append(v); };
    for (const LineLevels& l : levels) {
        checker.levels(l.timeNs, l.scl, l.sda);
    }
    checker.finish(endNs);
    result.summary = checker.summary();
    return result;
}

Checked checkTwoReads(const std::function<void(TimingWave&)>& change) {
    TimingWave wave;
    change(wave);
    wave.readTransfer();
    wave.readTransfer(0x5E, 0x00, 0xA5);
    return check(wave.levels, wave.t + 100000);
}

TEST(SmbusTimingCheck, CleanTransfersPassAndTheClockIsMeasured) {
    const Checked clean = checkTwoReads([](TimingWave&) {});
    EXPECT_TRUE(clean.violations.isEmpty());
    EXPECT_EQ(clean.summary.violationCount(), 0u);
    // Two reads of four bytes (nine clocks each) and a repeated start's clock, each.
    EXPECT_EQ(clean.summary.clocks, 2u * (4 * 9 + 1 + 1));
    EXPECT_EQ(clean.summary.starts, 4u);
    EXPECT_EQ(clean.summary.stops, 2u);
    EXPECT_EQ(clean.summary.shortestClockNs, 10000);
    EXPECT_DOUBLE_EQ(clean.summary.maxClockFrequencyKHz(), 100.0);

    // Slow is fine, up to the high time's limit.
    const Checked slow = checkTwoReads([](TimingWave& w) {
        w.low = 60000;
        w.high = 49000;
        w.holdStart = w.setupStart = w.setupStop = w.busFree = 20000;
    });
    EXPECT_TRUE(slow.violations.isEmpty());
    EXPECT_NEAR(slow.summary.maxClockFrequencyKHz(), 1e6 / 109000.0, 1e-9);
}

TEST(SmbusTimingCheck, EachIntervalBelowItsLimitIsThatViolation) {
    const struct {
        const char* what;
        std::function<void(TimingWave&)> change;
        TimingRule rule;
        qint64 measuredNs;
    } cases[] = {
        {"clock low 4 us", [](TimingWave& w) { w.low = 4000, w.high = 6000; }, TimingRule::Low,
         4000},
        {"clock high 3.5 us", [](TimingWave& w) { w.high = 3500, w.low = 6500; },
         TimingRule::HighMin, 3500},
        {"clock high 60 us", [](TimingWave& w) { w.high = 60000; }, TimingRule::HighMax, 60000},
        {"start held 3 us", [](TimingWave& w) { w.holdStart = 3000; }, TimingRule::HoldStart, 3000},
        {"repeated start set up 4 us", [](TimingWave& w) { w.setupStart = 4000; },
         TimingRule::SetupStart, 4000},
        {"stop set up 3 us", [](TimingWave& w) { w.setupStop = 3000; }, TimingRule::SetupStop,
         3000},
        {"bus free 4 us", [](TimingWave& w) { w.busFree = 4000; }, TimingRule::BusFree, 4000},
        {"data held 200 ns", [](TimingWave& w) { w.holdData = 200; }, TimingRule::HoldData, 200},
        {"data set up 100 ns", [](TimingWave& w) { w.holdData = w.low - 100; },
         TimingRule::SetupData, 100},
        {"data with the falling clock", [](TimingWave& w) { w.holdData = 0; }, TimingRule::HoldData,
         0},
        {"data with the rising clock", [](TimingWave& w) { w.holdData = w.low; },
         TimingRule::SetupData, 0},
        {"clock period 9.5 us", [](TimingWave& w) { w.high = 4500; }, TimingRule::ClockFrequency,
         9500},
        {"clock held low 40 ms",
         [](TimingWave& w) {
             w.stretchedClock = 12;
             w.stretchNs = 40000000 - w.low;
         },
         TimingRule::ClockTimeout, 40000000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Checked result = checkTwoReads(c.change);
        ASSERT_FALSE(result.violations.isEmpty());
        EXPECT_EQ(result.rules(), std::set<TimingRule>{c.rule});
        EXPECT_EQ(result.violations.first().measuredNs, c.measuredNs);
        EXPECT_EQ(result.summary.violations[size_t(c.rule)], quint64(result.violations.size()));
    }

    // The bus free time is measured between the two transfers only: once, from the stop.
    const Checked busFree = checkTwoReads([](TimingWave& w) { w.busFree = 4000; });
    ASSERT_EQ(busFree.violations.size(), 1);
    TimingWave first;
    first.readTransfer();
    EXPECT_EQ(busFree.violations.first().timeNs, first.t - 1000);
}

TEST(SmbusTimingCheck, AClockStillLowAtTheEndCountsUpToTheEnd) {
    TimingWave wave;
    wave.start();
    wave.byte(0x5E);
    const qint64 fall = wave.t;
    const Checked heldOn = check(wave.levels, fall + 36000000);
    ASSERT_EQ(heldOn.violations.size(), 1);
    EXPECT_EQ(heldOn.violations.first().rule, TimingRule::ClockTimeout);
    EXPECT_EQ(heldOn.violations.first().timeNs, fall);
    EXPECT_TRUE(check(wave.levels, fall + 30000000).violations.isEmpty());
}

TEST(SmbusTimingCheck, ViolationsReadAsTheRuleTheTimeAndTheLimit) {
    EXPECT_EQ(trace::describe({0, TimingRule::Low, 3000}), "tLOW 3 us, at least 4.7 us");
    EXPECT_EQ(trace::describe({0, TimingRule::HighMax, 52500}), "tHIGH 52.5 us, at most 50 us");
    EXPECT_EQ(trace::describe({0, TimingRule::HoldData, 0}), "tHD;DAT 0 ns, at least 300 ns");
    EXPECT_EQ(trace::describe({0, TimingRule::ClockTimeout, 40000000}),
              "tTIMEOUT 40 ms, at most 35 ms (SCL held low: an SMBus device resets its "
              "interface)");
    EXPECT_EQ(trace::describe({0, TimingRule::ClockFrequency, 8000}),
              "clock period 8 us, at least 10 us (faster than 100 kHz)");
}

} // namespace
} // namespace qmf::test
