// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/BargraphLimitRules.h"

#include "core/link/LinkErrors.h"
#include "gui/widgets/RoundGauge.h"

#include <gtest/gtest.h>

namespace qmf::bargraph {
namespace {

TEST(BargraphLimitRules, LowLimitMovesBelowHighInFourDecimalFixedPoint) {
    const struct {
        double low, high, scaleMax;
        std::optional<double> moved;
    } cases[] = {
        {26.0, 30.0, 127.0, 19.84},         // 26 > 24.92: to 30 - 10.16
        {24.92, 30.0, 127.0, std::nullopt}, // exactly the minimum gap may stay
        {24.9201, 30.0, 127.0, 19.84},
        {24.92004, 30.0, 127.0, std::nullopt}, // equal to 24.92 at four decimals
        {20.0, 30.0, 127.0, std::nullopt},
        {50.0, 30.0, 127.0, 19.84},       // above the high limit altogether
        {26.0, 30.00004, 127.0, 19.84},   // the high limit is taken at four decimals too
        {4900.0, 5000.0, 5000.0, 4600.0}, // other scales: 4 % and 8 % of their maximum
        {-100.0, -95.0, 127.0, -105.16},
    };
    for (const auto& c : cases) {
        const auto moved = lowLimitBelowHigh(c.low, c.high, c.scaleMax);
        ASSERT_EQ(moved.has_value(), c.moved.has_value()) << c.low << " / " << c.high;
        if (moved) {
            EXPECT_DOUBLE_EQ(*moved, *c.moved) << c.low << " / " << c.high;
        }
    }
}

TEST(BargraphLimitRules, HighLimitMovesAboveLowInSixteenBitWholeNumbers) {
    const struct {
        double high, low;
        std::optional<double> moved;
    } cases[] = {
        {24.0, 20.0, 30.0},         // 24 < round(25.08) = 25: to round(30.16)
        {25.0, 20.0, std::nullopt}, // 25 is not below 25
        {24.5, 20.0, 30.0},         // 24.5 rounds to 24 (halves to even)
        {25.5, 20.0, std::nullopt}, // 25.5 rounds to 26
        {24.0, 20.5, 30.0},         // 20.5 rounds to 20
        {26.0, 21.5, 32.0},         // 21.5 rounds to 22: 26 < 27, moved to round(32.16)
        {60.0, 56.0, 66.0},
        {-120.0, -128.0, std::nullopt}, // -120 is not below round(-122.92) = -123
        {-124.0, -128.0, -118.0},       // -124 < -123: to round(-117.84) = -118
    };
    for (const auto& c : cases) {
        const auto moved = highLimitAboveLow(c.high, c.low, 127.0);
        ASSERT_EQ(moved.has_value(), c.moved.has_value()) << c.high << " / " << c.low;
        if (moved) {
            EXPECT_EQ(*moved, *c.moved) << c.high << " / " << c.low;
        }
    }
    EXPECT_THROW(highLimitAboveLow(40000.0, 0.0, 127.0), OverflowError);
    EXPECT_THROW(highLimitAboveLow(0.0, 32767.0, 127.0), OverflowError); // the sum overflows
}

class GaugeRules : public ::testing::Test {
protected:
    void SetUp() override {
        gauge.setScale(-128.0, 127.0);
        for (int band : {RangeBand, MirrorBand}) {
            gauge.configurePointer(band, RoundGauge::PointerKind::Band, band == RangeBand,
                                   Qt::green, QString());
        }
        gauge.configurePointer(LowLimitPointer, RoundGauge::PointerKind::Marker, true, Qt::blue,
                               QString());
        gauge.configurePointer(HighLimitPointer, RoundGauge::PointerKind::Marker, true, Qt::red,
                               QString());
        set(LowLimitPointer, 20.0);
        set(HighLimitPointer, 40.0);
        for (int band : {RangeBand, MirrorBand}) {
            gauge.setPointerID(band);
            gauge.setPointerStart(20.0);
            gauge.setPointerStop(40.0);
        }
    }
    void set(int id, double value) {
        gauge.setPointerID(id);
        gauge.setPointerValue(value);
    }
    void expectLimits(double low, double high) {
        EXPECT_DOUBLE_EQ(gauge.pointerValue(LowLimitPointer), low);
        EXPECT_DOUBLE_EQ(gauge.pointerValue(HighLimitPointer), high);
        for (int band : {RangeBand, MirrorBand}) {
            EXPECT_DOUBLE_EQ(gauge.pointerStart(band), low) << "band " << band;
            EXPECT_DOUBLE_EQ(gauge.pointerStop(band), high) << "band " << band;
        }
    }
    RoundGauge gauge;
};

TEST_F(GaugeRules, ABandIsCopiedToTheOtherBandAndToBothLimits) {
    for (int band : {RangeBand, MirrorBand}) {
        gauge.setPointerID(band);
        gauge.setPointerStart(-10.0 - band);
        gauge.setPointerStop(70.0 + band);
        SyncGaugePointers(gauge);
        expectLimits(-10.0 - band, 70.0 + band);
        EXPECT_EQ(gauge.PointerID(), band);
    }
}

TEST_F(GaugeRules, TheSelectedLimitRunsItsRuleAndTheBandsFollowThatLimit) {
    // The low limit's rule moves the low limit and the bands' start, nothing else.
    set(LowLimitPointer, 26.0);
    set(HighLimitPointer, 30.0);
    gauge.setPointerID(LowLimitPointer);
    SyncGaugePointers(gauge);
    EXPECT_DOUBLE_EQ(gauge.pointerValue(LowLimitPointer), 19.84);
    EXPECT_EQ(gauge.pointerValue(HighLimitPointer), 30.0);
    for (int band : {RangeBand, MirrorBand}) {
        EXPECT_DOUBLE_EQ(gauge.pointerStart(band), 19.84);
        EXPECT_EQ(gauge.pointerStop(band), 40.0);
    }
    EXPECT_EQ(gauge.PointerID(), LowLimitPointer);

    // The high limit's rule: the high limit and the bands' stop.
    set(LowLimitPointer, 20.0);
    set(HighLimitPointer, 24.0);
    SyncGaugePointers(gauge); // pointer 3 is selected
    EXPECT_EQ(gauge.pointerValue(LowLimitPointer), 20.0);
    EXPECT_EQ(gauge.pointerValue(HighLimitPointer), 30.0);
    for (int band : {RangeBand, MirrorBand}) {
        EXPECT_DOUBLE_EQ(gauge.pointerStart(band), 19.84);
        EXPECT_EQ(gauge.pointerStop(band), 30.0);
    }

    // Both rules in turn, far enough apart: nothing moves and the bands take both limits.
    set(LowLimitPointer, -5.0);
    set(HighLimitPointer, 45.0);
    SyncGaugePointers(gauge);
    gauge.setPointerID(LowLimitPointer);
    SyncGaugePointers(gauge);
    expectLimits(-5.0, 45.0);
}

TEST_F(GaugeRules, OtherPointersChangeNothing) {
    set(LowLimitPointer, 38.0); // too close, but no rule runs for pointer 7
    gauge.setPointerID(7);
    SyncGaugePointers(gauge);
    EXPECT_EQ(gauge.pointerValue(LowLimitPointer), 38.0);
    EXPECT_EQ(gauge.pointerStart(RangeBand), 20.0);
    EXPECT_EQ(gauge.PointerID(), 7);
}

} // namespace
} // namespace qmf::bargraph
