// SPDX-License-Identifier: GPL-3.0-or-later
// Shaded time spans of the strip chart: where they are drawn, and how groups replace and remove
// their spans.
#include "gui/widgets/StripChart.h"

#include <QImage>
#include <gtest/gtest.h>
#include <limits>

namespace qmf {
namespace {

constexpr double Start = 1.7e9;

// Whether most of the plot area's column at key is red (grid dots and tick marks aside).
bool reddish(StripChart& chart, double key) {
    chart.replot();
    const QImage image = chart.toPixmap(chart.width(), chart.height()).toImage();
    const int x = int(chart.xAxis->coordToPixel(key));
    const QRect plot = chart.axisRect()->rect();
    int red = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y) {
        const QColor c = image.pixelColor(x, y);
        red += c.red() > 200 && c.green() < 120 && c.blue() < 120;
    }
    return red > plot.height() / 2;
}

TEST(StripChartShading, SpansAreShadedBehindTheTracesAndGroupsReplaceTheirOwn) {
    StripChart chart;
    chart.resize(800, 400);
    chart.setWindowSeconds(100.0);
    chart.scrollTo(Start + 100.0);
    const QColor red(255, 0, 0);
    const double open = std::numeric_limits<double>::infinity();
    const struct {
        const char* what;
        QList<StripChart::TimeSpan> spans;
        int count;
        double inside, outside;
    } cases[] = {
        {"one closed span", {{Start + 20, Start + 40}}, 1, Start + 30, Start + 50},
        {"two spans, a gap between",
         {{Start + 10, Start + 15}, {Start + 60, Start + 70}},
         2,
         Start + 65,
         Start + 40},
        {"an open end reaches the right edge", {{Start + 80, open}}, 1, Start + 99.5, Start + 70},
        {"a span begun before the shown range",
         {{Start - 500, Start + 5}},
         1,
         Start + 2,
         Start + 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        chart.setShadedSpans(QStringLiteral("alarm"), c.spans, red);
        EXPECT_EQ(chart.shadedSpanCount(QStringLiteral("alarm")), c.count);
        EXPECT_TRUE(reddish(chart, c.inside));
        EXPECT_FALSE(reddish(chart, c.outside));
    }
    // Another group keeps its own; an empty list removes only the group it names.
    chart.setShadedSpans(QStringLiteral("other"), {{Start + 40, Start + 50}}, red);
    EXPECT_TRUE(reddish(chart, Start + 45));
    EXPECT_TRUE(reddish(chart, Start + 2));
    chart.setShadedSpans(QStringLiteral("alarm"), {}, red);
    EXPECT_EQ(chart.shadedSpanCount(QStringLiteral("alarm")), 0);
    EXPECT_FALSE(reddish(chart, Start + 2));
    EXPECT_TRUE(reddish(chart, Start + 45));
    // A span with no place in time is left out.
    chart.setShadedSpans(QStringLiteral("odd"), {{std::nan(""), Start + 1}}, red);
    EXPECT_EQ(chart.shadedSpanCount(QStringLiteral("odd")), 0);
    // The shading moves with the time axis.
    chart.scrollTo(Start + 140.0);
    EXPECT_TRUE(reddish(chart, Start + 45));
    EXPECT_FALSE(reddish(chart, Start + 55));
}

// A trace drawn over a shaded span keeps its own colour.
TEST(StripChartShading, TracesAreDrawnOverTheShading) {
    StripChart chart;
    chart.resize(800, 400);
    chart.setWindowSeconds(100.0);
    const int trace = chart.addTrace(QStringLiteral("t"), {QColor(0, 0, 255), Qt::SolidLine, 3.0});
    chart.addPoint(trace, Start, 500.0);
    chart.addPoint(trace, Start + 100.0, 500.0);
    chart.setShadedSpans(QStringLiteral("alarm"), {{Start, Start + 100.0}}, QColor(255, 0, 0));
    chart.replot();
    const QImage image = chart.toPixmap(chart.width(), chart.height()).toImage();
    const int x = int(chart.xAxis->coordToPixel(Start + 50.0));
    const int y = int(chart.yAxis->coordToPixel(500.0));
    const QColor onTrace = image.pixelColor(x, y);
    EXPECT_GT(onTrace.blue(), 200);
    EXPECT_LT(onTrace.red(), 60);
}

} // namespace
} // namespace qmf
