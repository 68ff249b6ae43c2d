// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window ticking on the simulated board for 24 hours of 100 ms ticks (864,000), driven
// as fast as possible with a manual clock, graphing and logging every 5 s, heater 1 on. Goals: a
// tick at the end costs at most 1.2 times a tick at the start, and the peak resident memory stays
// at most 150 MB.
//
// A tick's work (five register reads, the conversion, the chart's points, the log) and the chart's
// redraw (which the chart does at most twice a second, whatever the tick rate) are measured
// apart, each in CPU time: the first five minutes (while the chart's window fills), then each of
// 24 equal blocks of the rest. The event loop runs every 100 ticks throughout, so that queued
// work (redraws, repaints) happens as in the program.
#include "GraphBenchContext.h"
#include "gui/views/GraphFRM.h"
#include "gui/widgets/StripChart.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>

namespace {

using namespace qmf;

constexpr int TicksPerDay = 864000;
constexpr int WindowTicks = 3000; // five minutes: the chart's whole window
constexpr int Blocks = 24;        // about an hour each in the day's run
constexpr int SampleReplots = 100;

class Run {
public:
    explicit Run(bench::WindowBench& b, ManualClock& clock)
        : clock_(clock), window(b.windows.show<GraphFRM>(b.ctx)),
          chart(*window.findChild<StripChart*>(QStringLiteral("FanSpeedAndTemp"))) {
        window.resize(1000, 660);
        QCoreApplication::processEvents();
    }
    // CPU microseconds per tick over `count` ticks.
    double ticks(int count) {
        const double before = bench::cpuSeconds();
        for (int i = 1; i <= count; ++i) {
            clock_.advanceMs(100);
            window.GraphTimer_Timer();
            if (i % 100 == 0) {
                QCoreApplication::processEvents();
            }
        }
        return (bench::cpuSeconds() - before) * 1e6 / count;
    }
    // CPU microseconds per redraw of the chart, painted on the (offscreen) screen.
    double replots() {
        const double before = bench::cpuSeconds();
        for (int i = 0; i < SampleReplots; ++i) {
            chart.replot();
            chart.repaint();
        }
        return (bench::cpuSeconds() - before) * 1e6 / SampleReplots;
    }

private:
    ManualClock& clock_;

public:
    GraphFRM& window;
    StripChart& chart;
};

void BM_GraphWindowDay(benchmark::State& state) {
    const int totalTicks = int(state.range(0));
    QTemporaryDir dir;
    for (auto _ : state) {
        ManualClock clock;
        bench::WindowBench b(clock);
        b.board().printerPortChip().setHeaters(true, false);
        Run run(b, clock);
        b.dialogs.fileAnswers.append(dir.filePath(QStringLiteral("day.xls")));
        run.window.findChild<QPushButton*>(QStringLiteral("MakeLog_CMD"))->click(); // graphs too
        // The benchmark drives the ticks itself: the window's own timer must not add real-time
        // ticks while the event loop runs.
        run.window.findChild<QTimer*>(QStringLiteral("GraphTimer"))->stop();
        const double rssStart = bench::currentRssMb();

        // After the window has filled, the day goes by in 24 equal blocks; the first and the
        // last are the start and the end, and the spread of all 24 shows the noise.
        const double filling = run.ticks(WindowTicks);
        const int block = (totalTicks - WindowTicks) / Blocks;
        double startTick = 0, endTick = 0, startReplot = 0, endReplot = 0;
        double lowest = 1e300, highest = 0;
        for (int i = 0; i < Blocks; ++i) {
            const double cost = run.ticks(block);
            lowest = std::min(lowest, cost);
            highest = std::max(highest, cost);
            if (i == 0) {
                startTick = cost;
                startReplot = run.replots();
            }
            if (i == Blocks - 1) {
                endTick = cost;
                endReplot = run.replots();
            }
        }

        const QString logged = run.window.findChild<QLabel*>(QStringLiteral("Label14"))->text();
        if (b.errors.failureCount() != 0 || b.dialogs.messages != 0 || !run.window.logFileOpen()) {
            state.SkipWithError(("the run failed: " + b.dialogs.lastMessage + b.errors.lastError())
                                    .toStdString()
                                    .c_str());
            break;
        }
        state.counters["tick_us_first_5min"] = filling;
        state.counters["tick_us_start"] = startTick;
        state.counters["tick_us_lowest_block"] = lowest;
        state.counters["tick_us_highest_block"] = highest;
        state.counters["tick_us_end"] = endTick;
        state.counters["tick_end_over_start"] = endTick / startTick;
        state.counters["replot_us_start"] = startReplot;
        state.counters["replot_us_end"] = endReplot;
        state.counters["replot_end_over_start"] = endReplot / startReplot;
        state.counters["rss_MB_start"] = rssStart;
        state.counters["rss_MB_end"] = bench::currentRssMb();
        state.counters["rss_MB_peak"] = bench::peakRssMb();
        state.counters["points_per_trace"] = run.chart.pointCount(0);
        state.counters["log_lines"] = logged.trimmed().toDouble();
    }
}
// The day, and a short run for a quick look (--benchmark_filter=ticks:100000).
BENCHMARK(BM_GraphWindowDay)
    ->ArgName("ticks")
    ->Arg(TicksPerDay)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace

QMF_WINDOW_BENCHMARK_MAIN()
