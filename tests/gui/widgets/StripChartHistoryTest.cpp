// SPDX-License-Identifier: GPL-3.0-or-later
// The strip chart's history beyond its window, following the newest point or staying where the
// user looks, whole traces at once, and hidden traces.
#include "gui/widgets/StripChart.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>

namespace qmf {
namespace {

constexpr double Start = 1.7e9;
const double All = std::numeric_limits<double>::infinity();

// Each case: a window and a history, 100 s of points at 1 s with changing values; the points
// kept reach back the longer of the two (plus the one point before), and the axis shows the
// window (from the oldest point for all).
TEST(StripChartHistory, PointsAreKeptForTheHistoryAndTheWindowIsShown) {
    const struct {
        double window, history;
        double oldestKept; // seconds after Start
        double shownFrom;
    } cases[] = {
        {10, 0, 89, 90}, {10, 30, 69, 90}, {50, 30, 49, 50}, {All, 30, 69, 69}, {All, All, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.window << " " << c.history);
        StripChart chart;
        chart.setWindowSeconds(c.window);
        chart.setHistorySeconds(c.history);
        const int trace = chart.addTrace(QStringLiteral("t"), StripChart::standardStyle(0));
        for (int i = 0; i <= 100; ++i) {
            chart.addPoint(trace, Start + i, i % 7);
        }
        EXPECT_DOUBLE_EQ(chart.graph(trace)->data()->constBegin()->key, Start + c.oldestKept);
        EXPECT_EQ(chart.pointCount(trace), 101 - int(c.oldestKept)) << "every point in between";
        EXPECT_DOUBLE_EQ(chart.latestKey(), Start + 100);
        EXPECT_DOUBLE_EQ(chart.oldestKey(), Start + c.oldestKept);
        EXPECT_DOUBLE_EQ(chart.xAxis->range().upper, Start + 100);
        EXPECT_DOUBLE_EQ(chart.xAxis->range().lower, Start + c.shownFrom);
    }
}

TEST(StripChartHistory, WhileNotFollowingNewPointsLeaveTheAxisAlone) {
    StripChart chart;
    chart.setWindowSeconds(10);
    chart.setHistorySeconds(100);
    QSignalSpy changes(&chart, &StripChart::followingChanged);
    const int trace = chart.addTrace(QStringLiteral("t"), StripChart::standardStyle(0));
    chart.addPoint(trace, Start, 1);
    chart.setFollowing(false);
    chart.xAxis->setRange(Start - 5, Start + 5);
    for (int i = 1; i <= 50; ++i) {
        chart.addPoint(trace, Start + i, i);
    }
    EXPECT_EQ(chart.xAxis->range(), QCPRange(Start - 5, Start + 5));
    EXPECT_EQ(chart.pointCount(trace), 51) << "kept all the same";
    chart.setFollowing(false); // no change, no signal
    chart.setFollowing(true);
    EXPECT_EQ(chart.xAxis->range(), QCPRange(Start + 40, Start + 50));
    ASSERT_EQ(changes.size(), 2);
    EXPECT_FALSE(changes[0][0].toBool());
    EXPECT_TRUE(changes[1][0].toBool());
}

TEST(StripChartHistory, AWholeTraceIsSortedAndKeepsLevelRunsAsTheirEnds) {
    StripChart chart;
    const int trace = chart.addTrace(QStringLiteral("t"), StripChart::standardStyle(0));
    chart.setTraceData(trace, {Start + 3, Start + 1, Start + 2, Start + 4, Start + 5, Start + 6},
                       {5, 5, 5, 5, 7, 5});
    std::vector<std::pair<double, double>> kept;
    for (const QCPGraphData& point : *chart.graph(trace)->data()) {
        kept.emplace_back(point.key - Start, point.value);
    }
    EXPECT_EQ(kept, (std::vector<std::pair<double, double>>{{1, 5}, {4, 5}, {5, 7}, {6, 5}}));
    EXPECT_DOUBLE_EQ(chart.latestKey(), Start + 6);
    EXPECT_THROW(chart.setTraceData(trace, {1, 2}, {1}), std::invalid_argument);
    EXPECT_THROW(chart.setTraceData(1, {}, {}), std::out_of_range);
}

TEST(StripChartHistory, AHiddenTraceLeavesTheAxisFitAndGreysItsLegendEntry) {
    StripChart chart;
    chart.setValueAxis(StripChart::ValueAxis::Left, QStringLiteral("v"), {false, 1.0});
    const int low = chart.addTrace(QStringLiteral("low"), StripChart::standardStyle(0));
    const int high = chart.addTrace(QStringLiteral("high"), StripChart::standardStyle(1));
    chart.setWindowSeconds(10);
    for (int i = 0; i <= 10; ++i) {
        chart.addPoint(low, Start + i, 1);
        chart.addPoint(high, Start + i, 1000);
    }
    chart.replot();
    EXPECT_TRUE(chart.yAxis->range().contains(1000));
    chart.setTraceVisible(high, false);
    chart.replot();
    EXPECT_FALSE(chart.traceVisible(high));
    EXPECT_FALSE(chart.yAxis->range().contains(1000));
    EXPECT_NE(chart.legend->itemWithPlottable(chart.graph(high))->textColor(),
              chart.legend->itemWithPlottable(chart.graph(low))->textColor());
    chart.setTraceVisible(high, true);
    chart.replot();
    EXPECT_TRUE(chart.yAxis->range().contains(1000));
    EXPECT_EQ(chart.legend->itemWithPlottable(chart.graph(high))->textColor(),
              chart.legend->itemWithPlottable(chart.graph(low))->textColor());
}

} // namespace
} // namespace qmf
