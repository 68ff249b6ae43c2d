// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the event loop for a number of seconds of real time, minute by minute, and reports the
// process's CPU share of each minute: the first minute, and the steady state after a warm-up
// (the minutes after the graph window's chart has filled).
#pragma once

#include "GraphBenchContext.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace qmf::bench {

// Lets the event loop run for `seconds` of real time.
inline void runFor(double seconds) {
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

struct CpuMinutes {
    std::vector<double> percentPerMinute;
    double cpuSeconds = 0.0;
};

inline CpuMinutes runMinuteByMinute(int seconds) {
    CpuMinutes run;
    for (int done = 0; done < seconds;) {
        const int span = std::min(60, seconds - done);
        const double cpuBefore = cpuSeconds();
        runFor(span);
        const double cpu = cpuSeconds() - cpuBefore;
        run.cpuSeconds += cpu;
        run.percentPerMinute.push_back(100.0 * cpu / span);
        done += span;
    }
    return run;
}

// cpu_percent_first_minute, cpu_percent_steady (the mean of every whole minute from
// `warmUpSeconds` on) with its worst minute, and cpu_percent_whole_run.
inline void reportCpuMinutes(benchmark::State& state, const CpuMinutes& run, int seconds,
                             int warmUpSeconds) {
    if (run.percentPerMinute.empty()) {
        return;
    }
    state.counters["cpu_percent_first_minute"] = run.percentPerMinute.front();
    const std::size_t steadyFrom = std::size_t((warmUpSeconds + 59) / 60);
    if (run.percentPerMinute.size() > steadyFrom) {
        double steady = 0.0;
        double worst = 0.0;
        for (std::size_t m = steadyFrom; m < run.percentPerMinute.size(); ++m) {
            steady += run.percentPerMinute[m];
            worst = std::max(worst, run.percentPerMinute[m]);
        }
        state.counters["cpu_percent_steady"] =
            steady / double(run.percentPerMinute.size() - steadyFrom);
        state.counters["cpu_percent_steady_worst_minute"] = worst;
    }
    state.counters["cpu_percent_whole_run"] = 100.0 * run.cpuSeconds / seconds;
}

} // namespace qmf::bench
