// SPDX-License-Identifier: GPL-3.0-or-later
// The polling cost of the monitoring views on the simulated board, offscreen, in real time: the
// register list (continuous read), the bar-graph monitor (started), the graph window (graphing)
// and the chip layout view (polling), all open together, for 7 minutes, past the 5 minutes in
// which the graph window's chart fills; then each alone for 20 s to show where the time goes.
//
// Goals: all four together at most 0.5 % of one core in the steady state (the minutes after the
// chart has filled); a full redraw of the filled chart at most 1 ms; no paint of a gauge whose
// picture had not changed since its last paint, and no redraw or paint of the chart while its
// window is minimised or hidden (20 s each, after the main run). Reported per minute and per
// view, with the transfers and the time a real SMBus would spend on them. The alarm events' poll
// runs in every run, as in the program; views:0 is the poll alone.
//
//   build/bin/bench_polling                                   all runs
//   build/bin/bench_polling --benchmark_filter='views:15/'    the seven minutes only
#include "CpuMinutes.h"
#include "GraphBenchContext.h"
#include "PaintProbe.h"
#include "gui/services/EventsPollTimer.h"
#include "gui/views/BargraphForm.h"
#include "gui/views/ChipLayoutForm.h"
#include "gui/views/GraphFRM.h"

#include <QAbstractButton>
#include <QTimer>
#include <algorithm>
#include <cmath>

#if __has_include("gui/reglist/Register_List.h")
#include "gui/reglist/Register_List.h"
#define QMF_BENCH_REGISTER_LIST
#endif

namespace {

using namespace qmf;

// What one register read costs on a real PC SMBus (about 0.4 ms at 100 kHz).
constexpr double kSmbusSecondsPerTransfer = 0.4e-3;
// The graph window's chart shows five minutes: from the sixth minute on it is full.
constexpr int kChartFillSeconds = 300;
constexpr int kAwaySeconds = 20;
constexpr int kSampleRedraws = 100;

enum View { RegisterList = 1, Bargraph = 2, Graph = 4, ChipLayout = 8, All = 15 };

const char* const kGroups[] = {"reglist", "bargraph", "graph", "chiplayout"};

// Opens the view, clicks its start control and tells whether its polling timer now runs.
template <class Window>
QWidget* openAndStart(bench::WindowBench& b, const char* startControl, const char* timerName) {
    QWidget& window = b.windows.show<Window>(b.ctx);
    window.findChild<QAbstractButton*>(QLatin1String(startControl))->click();
    const auto* timer = window.findChild<QTimer*>(QLatin1String(timerName));
    return timer != nullptr && timer->isActive() ? &window : nullptr;
}

// CPU milliseconds per full redraw of the chart (plot and screen).
double redrawMs(StripChart& chart) {
    const double before = bench::cpuSeconds();
    for (int i = 0; i < kSampleRedraws; ++i) {
        chart.replot();
        chart.repaint();
    }
    return (bench::cpuSeconds() - before) * 1e3 / kSampleRedraws;
}

// The worst case for a redraw: the same chart with a different reading at every one of its
// 3000 ticks on every trace, so that no level run shortens a line.
double worstCaseRedrawMs(const StripChart& like) {
    StripChart chart;
    chart.setWindowSeconds(like.windowSeconds());
    for (int trace = 0; trace < like.traceCount(); ++trace) {
        chart.addTrace(like.traceName(trace), like.traceStyle(trace), like.traceAxis(trace));
    }
    chart.resize(like.size());
    const double start = like.latestKey();
    const int ticks = int(like.windowSeconds() * 10);
    for (int i = 0; i <= ticks; ++i) {
        for (int trace = 0; trace < chart.traceCount(); ++trace) {
            chart.addPoint(trace, start + i * 0.1,
                           1000.0 * trace + 50.0 * std::sin(i * 0.37) + i % 7);
        }
    }
    chart.show();
    QCoreApplication::processEvents();
    return redrawMs(chart);
}

void BM_Polling(benchmark::State& state) {
    const int views = int(state.range(0));
    const int seconds = int(state.range(1));
    for (auto _ : state) {
        SystemClock clock;
        bench::WindowBench b(clock);
        bench::PaintProbe probe;
        QWidget eventsHost;
        EventsPollTimer eventsPoll(b.ctx, eventsHost);
        eventsPoll.setRunning(true);
        QWidget* windows[4] = {};
        if (views & RegisterList) {
#ifdef QMF_BENCH_REGISTER_LIST
            windows[0] = openAndStart<Register_List>(b, "ContinuousReadCHK", "RegisterListTimer");
#else
            state.SkipWithError("the register list is not in this build");
            break;
#endif
        }
        if (views & Bargraph) {
            windows[1] = openAndStart<BargraphForm>(b, "BargraphCHK", "FanBargraphTimer");
        }
        if (views & Graph) {
            windows[2] = openAndStart<GraphFRM>(b, "StartStopGraphsCHK", "GraphTimer");
        }
        if (views & ChipLayout) {
            windows[3] =
                openAndStart<ChipLayoutForm>(b, "StartStopPollingChipLayout", "ChipLayoutTimer");
        }
        bool polling = true;
        for (int v = 0; v < 4; ++v) {
            if (views & (1 << v)) {
                polling &= windows[v] != nullptr;
                if (windows[v] != nullptr) {
                    probe.watchAll(windows[v], QLatin1String(kGroups[v]));
                }
            }
        }
        if (!polling) {
            state.SkipWithError("a view did not start polling");
            break;
        }
        QCoreApplication::processEvents(); // first layouts and paints are not polling
        probe.reset();

        // Minute by minute; the steady state is every whole minute after the chart's fill.
        const qint64 transfersBefore = b.board().transferCount();
        const bench::CpuMinutes run = bench::runMinuteByMinute(seconds);
        const double cpuAll = run.cpuSeconds;
        const double transfers = double(b.board().transferCount() - transfersBefore);
        if (b.errors.failureCount() != 0) {
            state.SkipWithError(b.errors.lastError().toStdString().c_str());
            break;
        }
        bench::reportCpuMinutes(state, run, seconds, kChartFillSeconds);
        state.counters["transfers_per_s"] = transfers / seconds;
        state.counters["cpu_us_per_transfer"] = transfers > 0 ? 1e6 * cpuAll / transfers : 0.0;
        state.counters["smbus_bus_s"] = transfers * kSmbusSecondsPerTransfer;
        for (int v = 0; v < 4; ++v) {
            if (windows[v] != nullptr) {
                const auto total = probe.total(QLatin1String(kGroups[v]));
                const std::string name = kGroups[v];
                state.counters["paints_per_s_" + name] = double(total.paints) / seconds;
                if (v == 1) {
                    state.counters["gauge_paints_unchanged"] = double(total.wasted);
                }
            }
        }

        if (windows[2] != nullptr) {
            auto* chart = windows[2]->findChild<StripChart*>(QStringLiteral("FanSpeedAndTemp"));
            state.counters["chart_points_per_trace"] = chart->pointCount(0);
            state.counters["chart_replots_per_s"] = double(probe.of(chart).replots) / seconds;
            state.counters["chart_redraw_ms"] = redrawMs(*chart);
            state.counters["chart_redraw_ms_every_reading_new"] = worstCaseRedrawMs(*chart);
            // Minimised, then hidden: nothing of the chart may be drawn.
            long awayPaints = 0, awayReplots = 0;
            for (bool minimise : {true, false}) {
                minimise ? windows[2]->showMinimized() : windows[2]->hide();
                QCoreApplication::processEvents();
                probe.reset();
                bench::runFor(kAwaySeconds);
                awayPaints += probe.of(chart).paints;
                awayReplots += probe.of(chart).replots;
                windows[2]->showNormal();
                QCoreApplication::processEvents();
            }
            state.counters["chart_paints_while_away"] = double(awayPaints);
            state.counters["chart_replots_while_away"] = double(awayReplots);
        }
        state.counters["peak_rss_MB"] = bench::peakRssMb();
    }
}
BENCHMARK(BM_Polling)
    ->ArgNames({"views", "seconds"})
    ->Args({All, 420})
    ->Args({RegisterList, 20})
    ->Args({Bargraph, 20})
    ->Args({Graph, 20})
    ->Args({ChipLayout, 20})
    ->Args({0, 60})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// The chart's redraw alone, in a few seconds: the graph window graphing for two seconds, then the
// redraw of its chart and of the worst case.
//   build/bin/bench_polling --benchmark_filter=ChartRedraw
void BM_ChartRedraw(benchmark::State& state) {
    for (auto _ : state) {
        SystemClock clock;
        bench::WindowBench b(clock);
        QWidget* window = openAndStart<GraphFRM>(b, "StartStopGraphsCHK", "GraphTimer");
        auto* chart = window == nullptr
                          ? nullptr
                          : window->findChild<StripChart*>(QStringLiteral("FanSpeedAndTemp"));
        if (chart == nullptr) {
            state.SkipWithError("the graph window did not start graphing");
            break;
        }
        bench::runFor(2);
        state.counters["chart_redraw_ms"] = redrawMs(*chart);
        state.counters["chart_redraw_ms_every_reading_new"] = worstCaseRedrawMs(*chart);
    }
}
BENCHMARK(BM_ChartRedraw)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

QMF_WINDOW_BENCHMARK_MAIN()
