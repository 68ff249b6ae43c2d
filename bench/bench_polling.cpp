// SPDX-License-Identifier: GPL-3.0-or-later
// The polling cost of the monitoring views on the simulated board, offscreen, in real time: the
// register list (continuous read), the bar-graph monitor (started), the graph window (graphing)
// and the chip layout view (polling), all open together, for 60 s; then each alone for 20 s to
// show where the time goes. Goal: all four together use at most 3 % of one core (1.8 s of CPU
// time in 60 s), and the program's own time per transfer is small next to the 0.4 ms a register
// read takes on a real SMBus.
#include "GraphBenchContext.h"
#include "gui/views/BargraphForm.h"
#include "gui/views/ChipLayoutForm.h"
#include "gui/views/GraphFRM.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QTimer>

#if __has_include("gui/reglist/Register_List.h")
#include "gui/reglist/Register_List.h"
#define QMF_BENCH_REGISTER_LIST
#endif

namespace {

using namespace qmf;

// What one register read costs on a real PC SMBus (about 0.4 ms at 100 kHz).
constexpr double kSmbusSecondsPerTransfer = 0.4e-3;

enum View { RegisterList = 1, Bargraph = 2, Graph = 4, ChipLayout = 8, All = 15 };

// Opens the view, clicks its start control and tells whether its polling timer now runs.
template <class Window>
bool openAndStart(bench::WindowBench& b, const char* startControl, const char* timerName) {
    QWidget& window = b.windows.show<Window>(b.ctx);
    window.findChild<QAbstractButton*>(QLatin1String(startControl))->click();
    const auto* timer = window.findChild<QTimer*>(QLatin1String(timerName));
    return timer != nullptr && timer->isActive();
}

void BM_Polling(benchmark::State& state) {
    const int views = int(state.range(0));
    const int seconds = int(state.range(1));
    for (auto _ : state) {
        SystemClock clock;
        bench::WindowBench b(clock);
        bool polling = true;
        if (views & RegisterList) {
#ifdef QMF_BENCH_REGISTER_LIST
            polling &= openAndStart<Register_List>(b, "ContinuousReadCHK", "RegisterListTimer");
#else
            state.SkipWithError("the register list is not in this build");
            break;
#endif
        }
        if (views & Bargraph) {
            polling &= openAndStart<BargraphForm>(b, "BargraphCHK", "FanBargraphTimer");
        }
        if (views & Graph) {
            polling &= openAndStart<GraphFRM>(b, "StartStopGraphsCHK", "GraphTimer");
        }
        if (views & ChipLayout) {
            polling &=
                openAndStart<ChipLayoutForm>(b, "StartStopPollingChipLayout", "ChipLayoutTimer");
        }
        if (!polling) {
            state.SkipWithError("a view did not start polling");
            break;
        }
        QCoreApplication::processEvents(); // first layouts and paints are not polling

        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        const qint64 transfersBefore = b.board().transferCount();
        const double cpuBefore = bench::cpuSeconds();
        loop.exec();
        const double cpu = bench::cpuSeconds() - cpuBefore;
        const double transfers = double(b.board().transferCount() - transfersBefore);

        if (b.errors.failureCount() != 0) {
            state.SkipWithError(b.errors.lastError().toStdString().c_str());
            break;
        }
        state.counters["cpu_s"] = cpu;
        state.counters["cpu_percent_of_core"] = 100.0 * cpu / seconds;
        state.counters["transfers_per_s"] = transfers / seconds;
        state.counters["cpu_us_per_transfer"] = transfers > 0 ? 1e6 * cpu / transfers : 0.0;
        state.counters["smbus_bus_s"] = transfers * kSmbusSecondsPerTransfer;
        state.counters["peak_rss_MB"] = bench::peakRssMb();
    }
}
BENCHMARK(BM_Polling)
    ->ArgNames({"views", "seconds"})
    ->Args({All, 60})
    ->Args({RegisterList, 20})
    ->Args({Bargraph, 20})
    ->Args({Graph, 20})
    ->Args({ChipLayout, 20})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace

QMF_WINDOW_BENCHMARK_MAIN()
