// SPDX-License-Identifier: GPL-3.0-or-later
// What the register map's live refresh and the write journal add to the polling views, on the
// simulated board, offscreen, in real time.
//
// BM_PollingWithMap opens the four polling views as bench_polling does (register list reading
// continuously, bar-graph monitor started, graph window graphing, chip layout polling), plus the
// register map with its live refresh on, with every handler naming its writes in the journal as
// the program does, for 7 minutes as bench_polling runs them; compare its first-minute and steady
// CPU with bench_polling's views:15 row. The goal of bench_polling (all views together at most
// 0.5 % of one core in the steady state) must still hold with the map's live refresh on.
//
// BM_JournalNoteRead and BM_JournalRecordWrite time the journal's part of one transfer; with the
// transfers per second of the polling run they give the journal's share of the CPU time.
// BM_JournalFull fills the journal to its bound and reports the memory it takes.
#include "CpuMinutes.h"
#include "GraphBenchContext.h"
#include "core/journal/WriteJournal.h"
#include "gui/map/RegisterMapFRM.h"
#include "gui/reglist/Register_List.h"
#include "gui/views/BargraphForm.h"
#include "gui/views/ChipLayoutForm.h"
#include "gui/views/GraphFRM.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QTimer>

namespace {

using namespace qmf;

template <class Window>
bool openAndStart(bench::WindowBench& b, const char* startControl, const char* timerName) {
    QWidget& window = b.windows.show<Window>(b.ctx);
    window.findChild<QAbstractButton*>(QLatin1String(startControl))->click();
    const auto* timer = window.findChild<QTimer*>(QLatin1String(timerName));
    return timer != nullptr && timer->isActive();
}

void BM_PollingWithMap(benchmark::State& state) {
    const int seconds = int(state.range(0));
    for (auto _ : state) {
        SystemClock clock;
        bench::WindowBench b(clock);
        b.errors.nameSourcesIn(&b.state.journal());
        b.state.journal().setClock(&clock);
        bool polling =
            openAndStart<Register_List>(b, "ContinuousReadCHK", "RegisterListTimer") &&
            openAndStart<BargraphForm>(b, "BargraphCHK", "FanBargraphTimer") &&
            openAndStart<GraphFRM>(b, "StartStopGraphsCHK", "GraphTimer") &&
            openAndStart<ChipLayoutForm>(b, "StartStopPollingChipLayout", "ChipLayoutTimer");
        auto& map = b.windows.show<RegisterMapFRM>(b.ctx);
        map.resize(1000, 700);
        polling = polling && openAndStart<RegisterMapFRM>(b, "LiveRefreshCHK", "LiveRefreshTimer");
        if (!polling) {
            state.SkipWithError("a view did not start polling");
            break;
        }
        QCoreApplication::processEvents(); // first layouts and paints are not polling
        const qsizetype rowsInSight = map.visibleRegisters().size();

        // Minute by minute, past the graph window's five minutes of filling, as bench_polling.
        const qint64 transfersBefore = b.board().transferCount();
        const bench::CpuMinutes run = bench::runMinuteByMinute(seconds);
        const double cpu = run.cpuSeconds;
        const double transfers = double(b.board().transferCount() - transfersBefore);

        if (b.errors.failureCount() != 0) {
            state.SkipWithError(b.errors.lastError().toStdString().c_str());
            break;
        }
        bench::reportCpuMinutes(state, run, seconds, 300);
        state.counters["cpu_s"] = cpu;
        state.counters["transfers_per_s"] = transfers / seconds;
        state.counters["map_rows_in_sight"] = double(rowsInSight);
        state.counters["journal_writes"] = double(b.state.journal().size());
        state.counters["peak_rss_MB"] = bench::peakRssMb();
    }
}
BENCHMARK(BM_PollingWithMap)
    ->ArgNames({"seconds"})
    ->Arg(420)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

void BM_JournalNoteRead(benchmark::State& state) {
    WriteJournal journal;
    journal.recordWrite(0x60, 0x45, std::nullopt, {});
    quint8 reg = 0;
    for (auto _ : state) {
        journal.noteRead(reg, quint8(reg ^ 0x5A));
        ++reg;
    }
    benchmark::DoNotOptimize(journal.lastSeen(0x60));
}
BENCHMARK(BM_JournalNoteRead);

void BM_JournalRecordWrite(benchmark::State& state) {
    WriteJournal journal;
    const JournalSource source(journal, QStringLiteral("Fan Configuration Wizard."));
    quint8 reg = 0;
    for (auto _ : state) {
        journal.recordWrite(reg, reg, journal.lastSeen(reg), {});
        ++reg;
    }
    state.counters["entries_kept"] = double(journal.size());
}
BENCHMARK(BM_JournalRecordWrite);

void BM_JournalFull(benchmark::State& state) {
    for (auto _ : state) {
        const double before = bench::currentRssMb();
        WriteJournal journal;
        {
            const JournalSource source(journal, QStringLiteral("Fan Configuration Wizard."));
            for (int i = 0; i < WriteJournal::DefaultCapacity + 1000; ++i) {
                journal.recordWrite(quint8(i), i & 0xFF, quint8(i >> 8), {});
            }
        }
        state.counters["entries_kept"] = double(journal.size());
        state.counters["rss_MB_for_journal"] = bench::currentRssMb() - before;
    }
}
BENCHMARK(BM_JournalFull)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

QMF_WINDOW_BENCHMARK_MAIN()
