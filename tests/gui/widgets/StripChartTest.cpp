// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/StripChart.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace qmf {
namespace {

TEST(StripChart, TracesKeepTheirNameStyleAndAxisAndShowInTheLegend) {
    StripChart chart;
    const auto red = StripChart::TraceStyle{Qt::red, Qt::DashLine, 3.0};
    EXPECT_EQ(chart.addTrace(QStringLiteral("Speed"), StripChart::standardStyle(1)), 0);
    EXPECT_EQ(chart.addTrace(QStringLiteral("Heat"), red, StripChart::ValueAxis::Right), 1);
    ASSERT_EQ(chart.traceCount(), 2);
    EXPECT_EQ(chart.traceName(1), QStringLiteral("Heat"));
    EXPECT_EQ(chart.traceStyle(1), red);
    EXPECT_EQ(chart.traceAxis(0), StripChart::ValueAxis::Left);
    EXPECT_EQ(chart.traceAxis(1), StripChart::ValueAxis::Right);
    EXPECT_EQ(chart.graph(1)->valueAxis(), chart.yAxis2);
    EXPECT_EQ(chart.graph(1)->pen().color(), QColor(Qt::red));
    EXPECT_EQ(chart.graph(1)->pen().style(), Qt::DashLine);
    EXPECT_TRUE(chart.yAxis2->visible());
    EXPECT_EQ(chart.legend->itemCount(), 2);
    EXPECT_THROW(chart.addPoint(2, 1.0, 1.0), std::out_of_range);
    EXPECT_THROW(chart.traceName(-1), std::out_of_range);
}

TEST(StripChart, WindowScrollsWithTheNewestPointAndDropsWhatScrolledOut) {
    StripChart chart;
    chart.setWindowSeconds(10.0);
    const int trace = chart.addTrace(QStringLiteral("t"), StripChart::standardStyle(0));
    const double start = 1.7e9;      // seconds since the epoch, as the window's keys are
    for (int i = 0; i <= 300; ++i) { // 30 s at 10 points a second
        chart.addPoint(trace, start + i * 0.1, i);
    }
    const double newest = start + 30.0;
    EXPECT_DOUBLE_EQ(chart.latestKey(), newest);
    EXPECT_DOUBLE_EQ(chart.xAxis->range().upper, newest);
    EXPECT_DOUBLE_EQ(chart.xAxis->range().lower, newest - 10.0);
    // The shown 10 s at full resolution, plus the one-second lead-in at the left edge.
    EXPECT_GE(chart.pointCount(trace), 101);
    EXPECT_LE(chart.pointCount(trace), 111);
    const auto data = chart.graph(trace)->data();
    EXPECT_GE(data->constBegin()->key, newest - 11.0 - 1e-6);
    EXPECT_DOUBLE_EQ((data->constEnd() - 1)->value, 300.0);

    // A shorter window drops at once; scrolling on without points empties the trace.
    chart.setWindowSeconds(2.0);
    EXPECT_LE(chart.pointCount(trace), 31);
    chart.scrollTo(newest + 60.0);
    EXPECT_EQ(chart.pointCount(trace), 0);
    EXPECT_THROW(chart.setWindowSeconds(0.0), std::invalid_argument);
}

TEST(StripChart, NewPointsAreDrawnAtMostOncePerRefreshInterval) {
    StripChart chart;
    chart.addTrace(QStringLiteral("a"), StripChart::standardStyle(0));
    QCoreApplication::processEvents(); // the set-up's own replot
    int replots = 0;
    QObject::connect(&chart, &QCustomPlot::afterReplot, [&replots] { ++replots; });
    EXPECT_EQ(chart.refreshIntervalMs(), 500);
    for (int i = 0; i < 100; ++i) {
        chart.addPoint(0, 100.0 + i * 0.1, i);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(replots, 0) << "the redraw waits for the refresh interval";
    chart.setRefreshIntervalMs(0);
    chart.addPoint(0, 200.0, 1.0);
    chart.addPoint(0, 200.1, 2.0);
    QCoreApplication::processEvents();
    EXPECT_EQ(replots, 1) << "without an interval, changes are drawn at the next turn";
}

TEST(StripChart, ValueAxesFitTheShownData) {
    StripChart chart;
    chart.setWindowSeconds(10.0);
    chart.setValueAxis(StripChart::ValueAxis::Left, QStringLiteral("RPM"), {true, 1000.0});
    chart.setValueAxis(StripChart::ValueAxis::Right, QStringLiteral("C"), {false, 10.0});
    const int speed = chart.addTrace(QStringLiteral("speed"), StripChart::standardStyle(3));
    const int temp = chart.addTrace(QStringLiteral("temp"), StripChart::standardStyle(5),
                                    StripChart::ValueAxis::Right);
    // An old extreme that has scrolled out must not stretch the axes.
    chart.addPoint(speed, 0.0, 9000.0);
    chart.addPoint(temp, 0.0, -40.0);
    for (int i = 0; i < 50; ++i) {
        chart.addPoint(speed, 100.0 + i * 0.1, 2400.0 + i);
        chart.addPoint(temp, 100.0 + i * 0.1, 30.0 + i * 0.2);
    }
    chart.replot();
    const QCPRange left = chart.yAxis->range();
    EXPECT_EQ(left.lower, 0.0) << "speeds keep zero in view";
    EXPECT_GE(left.upper, 2449.0);
    EXPECT_LT(left.upper, 4000.0);
    const QCPRange right = chart.yAxis2->range();
    EXPECT_LE(right.lower, 30.0);
    EXPECT_GT(right.lower, 0.0) << "temperatures zoom to their own span";
    EXPECT_GE(right.upper, 39.8);
    EXPECT_LE(right.upper, 50.0);
    EXPECT_EQ(chart.yAxis->label(), QStringLiteral("RPM"));

    // A flat trace still gets the minimum span.
    chart.clear();
    chart.addPoint(temp, 200.0, 25.0);
    chart.replot();
    EXPECT_GE(chart.yAxis2->range().size(), 10.0);
    EXPECT_TRUE(chart.yAxis2->range().contains(25.0));
}

TEST(StripChart, TimeAxisLabelsUseTheGivenFormat) {
    StripChart chart;
    chart.setTimeAxis(QStringLiteral("Time"), QStringLiteral("HH mm ss"));
    EXPECT_EQ(chart.xAxis->label(), QStringLiteral("Time"));
    auto ticker = chart.xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>();
    ASSERT_TRUE(ticker);
    EXPECT_EQ(ticker->dateTimeFormat(), QStringLiteral("HH mm ss"));
    chart.scrollTo(
        QCPAxisTickerDateTime::dateTimeToKey(QDateTime(QDate(2026, 1, 5), QTime(14, 3, 30))));
    chart.resize(800, 400);
    chart.replot();
    const QStringList labels = chart.xAxis->tickVectorLabels().toList();
    ASSERT_FALSE(labels.isEmpty());
    for (const QString& label : labels) {
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("^\\d\\d \\d\\d \\d\\d$")).match(label).hasMatch())
            << label.toStdString();
    }
    EXPECT_TRUE(labels.contains(QStringLiteral("14 03 00")) ||
                labels.contains(QStringLiteral("14 02 00")))
        << labels.join(',').toStdString();
}

} // namespace
} // namespace qmf
