// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/GaugeGeometry.h"

#include <gtest/gtest.h>

namespace qmf::gauge {
namespace {

const DialScale FanScale{0.0, 5000.0};
const DialScale TempScale{-128.0, 127.0};

struct AngleCase {
    DialScale scale;
    double value;
    double angle;
};

TEST(GaugeGeometry, ValuesSitOnTheDialClockwiseFromTheLowerLeft) {
    const AngleCase cases[] = {
        {FanScale, 0.0, 225.0},     {FanScale, 5000.0, -45.0}, {FanScale, 2500.0, 90.0},
        {FanScale, 1250.0, 157.5},  {FanScale, -300.0, 225.0}, {FanScale, 7000.0, -45.0},
        {TempScale, -128.0, 225.0}, {TempScale, 127.0, -45.0}, {TempScale, -0.5, 90.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(valueToAngle(c.scale, c.value), c.angle)
            << c.value << " on " << c.scale.minimum << ".." << c.scale.maximum;
    }
}

TEST(GaugeGeometry, AngleToValueInvertsValueToAngleOverTheWholeScale) {
    for (const DialScale& scale : {FanScale, TempScale, DialScale{10.0, 20.0, 180.0, 180.0}}) {
        for (int i = 0; i <= 40; ++i) {
            const double value = scale.minimum + (scale.maximum - scale.minimum) * i / 40.0;
            const double angle = valueToAngle(scale, value);
            EXPECT_NEAR(angleToValue(scale, angle), value, 1e-9) << value;
            // The same direction one turn further gives the same value.
            EXPECT_NEAR(angleToValue(scale, angle + 360.0), value, 1e-9) << value;
            EXPECT_NEAR(angleToValue(scale, angle - 720.0), value, 1e-9) << value;
        }
    }
}

TEST(GaugeGeometry, AnglesInTheGapPinToTheNearerEndOfTheScale) {
    const struct {
        double angle;
        double value;
    } cases[] = {
        {-50.0, 5000.0}, // just past the maximum
        {-89.0, 5000.0}, // still nearer the maximum end
        {-90.0, 5000.0}, // straight down: equally far, the maximum wins
        {-91.0, 0.0},    // nearer the minimum end
        {230.0, 0.0},    // just before the minimum
        {270.0, 5000.0}, // straight down again, written the other way
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(angleToValue(FanScale, c.angle), c.value) << c.angle;
    }
}

TEST(GaugeGeometry, ClampKeepsValuesInsideTheScale) {
    EXPECT_EQ(clampToScale(TempScale, -200.0), -128.0);
    EXPECT_EQ(clampToScale(TempScale, 200.0), 127.0);
    EXPECT_EQ(clampToScale(TempScale, 19.84), 19.84);
    EXPECT_EQ(clampToScale(DialScale{100.0, 0.0}, 150.0), 100.0); // reversed scale
    EXPECT_EQ(clampToScale(TempScale, std::nan("")), -128.0);
}

TEST(GaugeGeometry, TicksUseRoundStepsInsideTheScale) {
    const ScaleTicks fan = scaleTicks(FanScale, 6);
    EXPECT_EQ(fan.majorStep, 1000.0);
    EXPECT_EQ(fan.major, (std::vector<double>{0, 1000, 2000, 3000, 4000, 5000}));
    EXPECT_EQ(fan.minor.size(), 20u);
    EXPECT_EQ(fan.minor.front(), 200.0);

    const ScaleTicks temp = scaleTicks(TempScale, 6);
    EXPECT_EQ(temp.majorStep, 50.0);
    EXPECT_EQ(temp.major, (std::vector<double>{-100, -50, 0, 50, 100}));
    EXPECT_EQ(temp.minor.front(), -120.0);
    EXPECT_EQ(temp.minor.back(), 120.0);
    for (double v : temp.minor) {
        EXPECT_NE(std::fmod(v, 50.0), 0.0) << v;
        EXPECT_GE(v, -128.0);
        EXPECT_LE(v, 127.0);
    }

    EXPECT_EQ(scaleTicks(DialScale{0.0, 1.0}, 4).majorStep, 0.25);
    EXPECT_TRUE(scaleTicks(DialScale{5.0, 5.0}, 6).major.empty());
}

TEST(GaugeGeometry, HitTestFindsTheNearestHandleWithinTolerance) {
    const Handle handles[] = {{2, HandlePart::Value, {10.0, 10.0}},
                              {3, HandlePart::Value, {20.0, 10.0}},
                              {0, HandlePart::Stop, {20.0, 40.0}}};
    const struct {
        QPointF point;
        std::optional<std::size_t> hit;
    } cases[] = {
        {{14.0, 10.0}, 0},
        {{16.0, 10.0}, 1},
        {{15.0, 10.0}, 1}, // tie: drawn on top
        {{20.0, 37.0}, 2},
        {{20.0, 25.0}, std::nullopt},
        {{100.0, 100.0}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hitHandle(handles, c.point, 6.0), c.hit) << c.point.x() << "," << c.point.y();
    }
    EXPECT_EQ(hitHandle({}, QPointF(0, 0), 6.0), std::nullopt);
}

} // namespace
} // namespace qmf::gauge
