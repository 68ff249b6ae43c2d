// SPDX-License-Identifier: GPL-3.0-or-later
// "Open Log..." on a day-long log: 864,000 lines (a reading every 100 ms for 24 hours), fan
// speeds that jitter on every line (so that no level run shortens a trace) and temperatures that
// drift, written as .csv and as .xls. Measured in real time from the click to the replay window
// drawn on the (offscreen) screen, then the redraw of the whole day and of one minute zoomed in.
//
// Goals: the log opens in under 2 s; a redraw of the whole day stays well under 100 ms, so that
// zoom and pan follow the mouse.
//
//   build/bin/bench_log_replay
#include "GraphBenchContext.h"
#include "core/files/MeasurementLog.h"
#include "core/logs/CsvLog.h"
#include "gui/views/GraphFRM.h"
#include "gui/views/LogReplayWindow.h"
#include "gui/widgets/StripChart.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

using namespace qmf;

constexpr int Lines = 864000;

QString writeDay(const QTemporaryDir& dir, bool csv) {
    const QString path = dir.filePath(csv ? QStringLiteral("day.csv") : QStringLiteral("day.xls"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    // A fixed offset from UTC: no time-zone look-up for each of the lines written.
    const QDateTime start(QDate(2026, 1, 5), QTime(0, 0, 0), Qt::OffsetFromUTC, 3600);
    // QFile buffers: one write call per line is cheap.
    file.write(csv ? csvLogPreamble({QStringLiteral("bench"), 0x5E, true, {}})
                   : measurementLogHeader());
    for (int i = 0; i < Lines; ++i) {
        const QDateTime time = start.addMSecs(qint64(i) * 100);
        const qint64 n = i;
        const LogReadings r{double(2000 + (n * 7919) % 61), double(3000 + (n * 104729) % 47),
                            double(30 + (n / 36000) % 20), double(25 + (n / 9000) % 40),
                            double(-10 + (n / 18000) % 30)};
        file.write(csv ? csvLogLine(time, r) : measurementLogLine(time.time(), r));
    }
    file.close();
    return file.error() == QFileDevice::NoError ? path : QString();
}

double replotMs(StripChart& chart, int times) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < times; ++i) {
        chart.replot();
        chart.repaint();
    }
    return double(timer.nsecsElapsed()) / 1e6 / times;
}

void BM_OpenDayLog(benchmark::State& state) {
    const bool csv = state.range(0) == 1;
    QTemporaryDir dir;
    const QString path = writeDay(dir, csv);
    if (path.isEmpty()) {
        state.SkipWithError("the day's log could not be written");
        return;
    }
    for (auto _ : state) {
        SystemClock clock;
        bench::WindowBench b(clock);
        QWidget& window = b.windows.show<GraphFRM>(b.ctx);
        QCoreApplication::processEvents();
        b.dialogs.fileAnswers.append(path);
        auto* button = window.findChild<QPushButton*>(QStringLiteral("OpenLogCMD"));

        QElapsedTimer timer;
        timer.start();
        const double cpuBefore = bench::cpuSeconds();
        button->click();
        auto* replay = window.findChild<LogReplayWindow*>();
        if (replay == nullptr) {
            state.SkipWithError(
                ("no replay window: " + b.dialogs.lastMessage).toStdString().c_str());
            break;
        }
        replay->chart()->replot();
        QCoreApplication::processEvents(); // the window's first paint
        const double openS = double(timer.nsecsElapsed()) / 1e9;
        const double openCpuS = bench::cpuSeconds() - cpuBefore;

        StripChart& chart = *replay->chart();
        const double wholeDayMs = replotMs(chart, 10);
        chart.setFollowing(false);
        chart.xAxis->setRange(chart.latestKey() - 43200.0, chart.latestKey() - 43140.0);
        const double minuteMs = replotMs(chart, 10);

        state.counters["open_s"] = openS;
        state.counters["open_cpu_s"] = openCpuS;
        state.counters["lines_loaded"] = chart.graph(0)->data()->size();
        state.counters["redraw_day_ms"] = wholeDayMs;
        state.counters["redraw_minute_ms"] = minuteMs;
        state.counters["peak_rss_MB"] = bench::peakRssMb();
        if (b.dialogs.messages != 0) {
            state.SkipWithError(b.dialogs.lastMessage.toStdString().c_str());
        }
    }
}
// 1: .csv, 0: .xls
BENCHMARK(BM_OpenDayLog)
    ->ArgName("csv")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace

QMF_WINDOW_BENCHMARK_MAIN()
