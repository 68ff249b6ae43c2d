// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window: the chart it feeds, the Code0 object it converts with (found and loaded by
// class identifier), and what a failing board or calculation library does to it.
#include "ViewFixture.h"
#include "core/link/RegisterAccess.h"
#include "gui/views/CalcComponent.h"

#include <QImage>
#include <set>

namespace qmf::test {
namespace {

using Graph = GraphTest;

TEST_F(GraphRecording, TickPlotsTheSpeedsAndTheConvertedTemperatures) {
    view();
    EXPECT_EQ(traffic(), "R68 R69"); // load refreshes Fan0, then Fan1
    ticks();
    EXPECT_EQ(traffic(), "R70 R71 RA0 RA1 RA2");
    const double expected[5] = {2014, 2507, 31, -55, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(chart()->pointCount(i), 1) << i;
        EXPECT_EQ(lastValue(i), expected[i]) << i;
    }
    // The Code0 object was made on first use and is kept: a registration that would fail now
    // is never looked up.
    registerCode0(dir.filePath(QStringLiteral("gone.so")));
    ticks(3);
    // Four equal readings are one level run: its two ends, the last at the newest tick.
    EXPECT_EQ(chart()->pointCount(2), 2);
    EXPECT_EQ((chart()->graph(2)->data()->constEnd() - 1)->key, chart()->latestKey());
    child<QPushButton>("ResetGraphsCMD")->click();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(chart()->pointCount(i), 0) << i;
    }
}

TEST_F(Graph, NegativeTemperaturesOfTheSimulatedChipAreConvertedByCode0) {
    t.simBoard()->printerPortChip().setAmbient(-30.0);
    t.advanceSeconds(3600); // the chip settles to the cold
    ticks();
    for (int channel = 0; channel < 3; ++channel) {
        const quint8 code = ReadRegisterAt(t.state, quint8(0xA0 + channel));
        ASSERT_GE(code, 128) << "below zero on channel " << channel;
        // The chip's own encoding: low seven bits inverted, bit 0 forced on, negated.
        EXPECT_EQ(lastValue(2 + channel), -(((~code) & 0x7F) | 1)) << channel;
    }
    EXPECT_EQ(t.errors.failureCount(), 0);
}

// The chart keeps a day of readings to look back at (older ones are dropped, as the strip
// chart's own tests show); the lines span the shown window up to the newest tick.
TEST_F(Graph, ChartKeepsADayOfReadingsAndTheLinesSpanTheShownWindow) {
    t.simBoard()->printerPortChip().setHeaters(true, true); // temperatures that change
    EXPECT_EQ(chart()->historySeconds(), 24 * 3600.0);
    EXPECT_EQ(child<StripChart>("AINAndGPIO")->historySeconds(), 24 * 3600.0);
    const int perWindow = int(chart()->windowSeconds() / 0.1);
    ticks();
    const double first = chart()->latestKey();
    ticks(4 * perWindow);
    for (int i = 0; i < 5; ++i) {
        const auto data = chart()->graph(i)->data();
        ASSERT_GE(data->size(), 2) << i;
        EXPECT_EQ(data->constBegin()->key, first) << "trace " << i;
        EXPECT_LE(data->constBegin()->key, chart()->xAxis->range().lower) << "trace " << i;
        EXPECT_EQ((data->constEnd() - 1)->key, chart()->latestKey()) << "trace " << i;
    }
}

TEST_F(Graph, LinkFailureEndsARunningLogCleanlyAndStopsGraphingOnce) {
    makeLog(logPath());
    ticks();
    const QByteArray before = bytes(logPath());
    ASSERT_EQ(dataLines(logPath()).size(), 1);
    t.simBoard()->failNextTransfers(1);
    t.clock.advanceMs(5000);
    ticks();
    EXPECT_EQ(logErrors(), 1);
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_FALSE(view().logFileOpen());
    EXPECT_EQ(bytes(logPath()), before) << "every line logged before the failure is kept";
    EXPECT_FALSE(graphsBox()->isChecked());
    EXPECT_EQ(graphsBox()->text(), QStringLiteral("Start Graphing"));
    EXPECT_FALSE(timer()->isActive());
    graphsBox()->click(); // the window lives on: graphing starts again on a healthy board
    EXPECT_TRUE(timer()->isActive());
    ticks();
    EXPECT_EQ(chart()->pointCount(0), 2);
    EXPECT_EQ(t.errors.failureCount(), 1);
}

TEST_F(Graph, MissingCalculationLibraryIsReportedAndStopsGraphingWithoutACrash) {
    const QString missing = dir.filePath(QStringLiteral("gone/libVexaCalculate00.so.1"));
    registerCode0(missing);
    // Only the per-user record: the library built beside the tests is not to be found.
    CalcLibrarySearch onlyTheRecord = CalcLibrarySearch::forProgram();
    onlyTheRecord.systemRecords.clear();
    onlyTheRecord.loaderSearch = false;
    onlyTheRecord.folders.clear();
    setCalcLibrarySearch(onlyTheRecord);
    struct Restore {
        ~Restore() { setCalcLibrarySearch(std::nullopt); }
    } restore;
    graphsBox()->click();
    ticks();
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_TRUE(t.errors.lastError().contains(missing)) << t.errors.lastError().toStdString();
    EXPECT_EQ(logErrors(), 0) << "no log was running";
    EXPECT_FALSE(timer()->isActive());
    EXPECT_FALSE(graphsBox()->isChecked());
}

// Five named traces of distinct colours, speeds on the left axis and temperatures on the right,
// under a time axis "HH mm ss". After four minutes on the simulated board with heater 1 on
// (graph-window.png), every trace is drawn inside the plot area (the legend sits outside it).
TEST_F(Graph, ChartShowsFiveDistinctNamedTracesOnTwoAxes) {
    StripChart* c = chart();
    ASSERT_EQ(c->traceCount(), 5);
    const QStringList names{"Speed Fan 0", "Speed Fan 1", "Internal Temperature",
                            "External Temperature 0", "External Temperature 1"};
    std::set<QRgb> colours;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(c->traceName(i), names[i]);
        EXPECT_EQ(c->traceAxis(i),
                  i < 2 ? StripChart::ValueAxis::Left : StripChart::ValueAxis::Right);
        colours.insert(c->traceStyle(i).color.rgb());
    }
    EXPECT_EQ(colours.size(), 5u);
    auto ticker = c->xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>();
    ASSERT_TRUE(ticker);
    EXPECT_EQ(ticker->dateTimeFormat(), QStringLiteral("HH mm ss"));

    t.simBoard()->printerPortChip().setHeaters(true, false); // warms External Temperature 1
    view().resize(1000, 660);
    graphsBox()->click();
    ticks(2400);
    QCoreApplication::processEvents(); // the queued layouts
    c->replot();                       // what the charts' refresh timers do within half a second
    child<StripChart>("AINAndGPIO")->replot();
    keepPicture(view(), "graph-window.png");
    const QImage image = view().grab().toImage();
    const QRect plot = c->axisRect()->rect().translated(c->mapTo(&view(), QPoint()));
    for (int trace = 0; trace < 5; ++trace) {
        const QColor colour = c->traceStyle(trace).color;
        int near = 0;
        for (int y = plot.top(); y <= plot.bottom(); ++y) {
            for (int x = plot.left(); x <= plot.right(); ++x) {
                const QColor p = image.pixelColor(x, y);
                near += std::abs(p.red() - colour.red()) < 24 &&
                        std::abs(p.green() - colour.green()) < 24 &&
                        std::abs(p.blue() - colour.blue()) < 24;
            }
        }
        EXPECT_GT(near, 40) << names[trace].toStdString();
    }
    EXPECT_EQ(t.errors.failureCount(), 0) << t.errors.lastError().toStdString();
}

} // namespace
} // namespace qmf::test
