// SPDX-License-Identifier: GPL-3.0-or-later
// What the window benchmarks share: a QApplication main, a window context on the simulated board
// (chip found at 5Eh on the printer port, channels bound as the program binds them), and the
// process's CPU time and memory.
#pragma once

#include "boards/sim/SimulatedBoard.h"
#include "core/chip/ChannelBinding.h"
#include "core/chip/SharedState.h"
#include "core/time/Clock.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/UserDialogs.h"
#include "gui/services/WindowRegistry.h"

#include <QApplication>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace qmf::bench {

// Message boxes are counted, not shown; file dialogs answer from a list.
class QuietDialogs final : public UserDialogs {
public:
    int messages = 0;
    QString lastMessage;
    QStringList fileAnswers;
    void message(QWidget*, Icon, const QString& title, const QString& text,
                 const QString& = QString()) override {
        ++messages;
        lastMessage = title + QStringLiteral(": ") + text;
    }
    QString fileName(QWidget*, FileMode, const QString&, const QString& = QString()) override {
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};

class WindowBench {
public:
    explicit WindowBench(Clock& clock)
        : state([&clock] { return std::make_unique<sim::SimulatedBoard>(clock); }),
          ctx{state, clock, dialogs, errors, windows, {}} {
        state.board();
        state.CommsMedium = 1;
        state.DeviceAddress = 0x5E;
        state.SavedTransferSetting = 10;
        state.DeviceChosen = -1;
        bindFanChannels(state);
        bindTemperatureChannels(state);
    }
    ~WindowBench() { windows.destroyAll(); }

    sim::SimulatedBoard& board() { return static_cast<sim::SimulatedBoard&>(state.board()); }

    QuietDialogs dialogs;
    ErrorBoundary errors{dialogs};
    WindowRegistry windows;
    SharedState state;
    AppContext ctx;
};

// User plus system CPU time of the process, in seconds.
inline double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Peak resident set size of the process so far, in MB.
inline double peakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Resident set size now, in MB.
inline double currentRssMb() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace qmf::bench

// Widgets need an application; offscreen unless the caller chose a platform.
#define QMF_WINDOW_BENCHMARK_MAIN()                                                                \
    int main(int argc, char** argv) {                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {                                      \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        }                                                                                          \
        QApplication app(argc, argv);                                                              \
        ::benchmark::Initialize(&argc, argv);                                                      \
        if (::benchmark::ReportUnrecognizedArguments(argc, argv)) {                                \
            return 1;                                                                              \
        }                                                                                          \
        ::benchmark::RunSpecifiedBenchmarks();                                                     \
        ::benchmark::Shutdown();                                                                   \
        return 0;                                                                                  \
    }
