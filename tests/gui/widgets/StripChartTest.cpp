// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/StripChart.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <functional>
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

// The window scrolling with the newest point is in StripChartHistoryTest; here a change of
// window and a scroll without points.
TEST(StripChart, AShorterWindowOrAScrollDropsWhatScrolledOut) {
    StripChart chart;
    chart.setWindowSeconds(10.0);
    const int trace = chart.addTrace(QStringLiteral("t"), StripChart::standardStyle(0));
    const double start = 1.7e9;      // seconds since the epoch, as the window's keys are
    for (int i = 0; i <= 300; ++i) { // 30 s at 10 points a second
        chart.addPoint(trace, start + i * 0.1, i);
    }
    EXPECT_EQ(chart.pointCount(trace), 102); // the shown 10 s and the point leading in
    chart.setWindowSeconds(2.0);
    EXPECT_EQ(chart.pointCount(trace), 22);
    EXPECT_DOUBLE_EQ((chart.graph(trace)->data()->constEnd() - 1)->value, 300.0);
    chart.scrollTo(start + 90.0);
    EXPECT_EQ(chart.pointCount(trace), 0);
    EXPECT_THROW(chart.setWindowSeconds(0.0), std::invalid_argument);
}

// A run of equal readings is kept as its two ends: at every key fed, the line (straight between
// the points kept) has the value fed there. A run that began before the window still enters
// from its left edge.
TEST(StripChart, LevelRunsKeepTheirEndsAndDrawTheSameLine) {
    StripChart chart;
    chart.setWindowSeconds(100.0);
    const int trace = chart.addTrace(QStringLiteral("t"), StripChart::standardStyle(0));
    const double start = 1.7e9;
    const std::vector<double> fed = {5, 5, 5, 5, 7, 7, 3, 3, 3, 3, 3, 4, 5, 6, 6, 6};
    for (std::size_t i = 0; i < fed.size(); ++i) {
        chart.addPoint(trace, start + double(i), fed[i]);
    }
    const auto data = chart.graph(trace)->data();
    std::vector<std::pair<double, double>> kept;
    for (auto it = data->constBegin(); it != data->constEnd(); ++it) {
        kept.emplace_back(it->key - start, it->value);
    }
    EXPECT_EQ(
        kept,
        (std::vector<std::pair<double, double>>{
            {0, 5}, {3, 5}, {4, 7}, {5, 7}, {6, 3}, {10, 3}, {11, 4}, {12, 5}, {13, 6}, {15, 6}}));
    for (std::size_t i = 0; i < fed.size(); ++i) {
        const double key = start + double(i);
        auto after = data->findBegin(key, false);
        ASSERT_NE(after, data->constEnd());
        double value = after->value;
        if (after->key > key) {
            const auto before = after - 1;
            value = before->value + (after->value - before->value) * (key - before->key) /
                                        (after->key - before->key);
        }
        EXPECT_DOUBLE_EQ(value, fed[i]) << i;
    }
    // Level for a long time: the run's start stays, just left of the window.
    for (int i = 1; i <= 3000; ++i) {
        chart.addPoint(trace, start + 15.0 + i * 0.1, 6);
    }
    EXPECT_EQ(chart.pointCount(trace), 2);
    EXPECT_LE(data->constBegin()->key, chart.xAxis->range().lower);
    EXPECT_DOUBLE_EQ((data->constEnd() - 1)->key, start + 315.0);
}

TEST(StripChart, NewPointsAreDrawnAtMostOncePerRefreshInterval) {
    StripChart chart;
    chart.addTrace(QStringLiteral("a"), StripChart::standardStyle(0));
    chart.show();
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

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// Hidden, in a minimised window or in a minimised sub-window the chart neither redraws nor
// paints; what changed meanwhile is drawn once when it shows again.
TEST(StripChart, NothingIsDrawnWhileTheChartCannotBeSeen) {
    const struct {
        const char* how;
        bool inSubWindow;
        std::function<void(QWidget&)> away, back;
    } cases[] = {
        {"hidden", false, [](QWidget& w) { w.hide(); }, [](QWidget& w) { w.show(); }},
        {"window minimised", false, [](QWidget& w) { w.showMinimized(); },
         [](QWidget& w) { w.showNormal(); }},
        {"sub-window minimised", true, [](QWidget& w) { w.showMinimized(); },
         [](QWidget& w) { w.showNormal(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        QMdiArea area;
        auto* chart = new StripChart;
        chart->setRefreshIntervalMs(0);
        chart->addTrace(QStringLiteral("a"), StripChart::standardStyle(0));
        QWidget* window = chart;
        if (c.inSubWindow) {
            window = area.addSubWindow(chart);
            area.resize(700, 500);
            area.show();
        } else {
            area.hide();
        }
        window->resize(600, 400);
        window->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(chart->isOnScreen());
        int replots = 0;
        QObject::connect(chart, &QCustomPlot::afterReplot, [&replots] { ++replots; });
        PaintCounter painted(chart);
        c.away(*window);
        QCoreApplication::processEvents();
        EXPECT_FALSE(chart->isOnScreen());
        painted.paints = 0;
        for (int i = 0; i < 50; ++i) {
            chart->addPoint(0, 100.0 + i * 0.1, i);
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(replots, 0);
        EXPECT_EQ(painted.paints, 0);
        c.back(*window);
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
        EXPECT_TRUE(chart->isOnScreen());
        EXPECT_EQ(replots, 1) << "what changed is drawn once";
        if (!c.inSubWindow) {
            delete chart;
        }
    }
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
