// SPDX-License-Identifier: GPL-3.0-or-later
// Port operations per register transfer of the bit-banged engine, on the pin-level simulated
// port with a board of either wiring, with the waveform trace off and on. The goals: at most four
// port operations per SCL clock, so at most 160 per register read (36 clocks plus the start,
// repeated start and stop), with the trace off; and the trace off costs no time against an engine
// that cannot trace (compare the time per transfer with the commit before tracing came).
#include "boards/linux/BusTiming.h"
#include "boards/linux/LinuxBoardLink.h"
#include "boards/linux/PinMapping.h"
#include "boards/sim/SimulatedDeviceIo.h"
#include "boards/sim/SimulatedParallelPort.h"
#include "boards/sim/SmbusTargetSim.h"
#include "core/trace/VcdTraceWriter.h"

#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <memory>
#include <stdexcept>

namespace {

using namespace qmf;

struct Registers final : sim::RegisterDevice {
    std::array<quint8, 256> regs{};
    quint8 readRegister(quint8 reg) override { return regs[reg]; }
    void writeRegister(quint8 reg, quint8 value) override { regs[reg] = value; }
};

struct Bench {
    Bench(bool alternate, bool traced)
        : timing(std::make_shared<linux_hw::ManualBusTiming>()), target(0x5E, chip),
          port(*timing, linux_hw::pinMapping(alternate)),
          io(std::make_shared<sim::SimulatedDeviceIo>()) {
        for (int reg = 0; reg < 256; ++reg) {
            chip.regs[reg] = quint8(reg * 37);
        }
        port.attach(target);
        io->addParport(QStringLiteral("/dev/parport0"), port);
        link = std::make_unique<linux_hw::LinuxBoardLink>(
            io, timing,
            [] {
                return QList<linux_hw::PrinterPortInfo>{{QStringLiteral("/dev/parport0"), 0x378}};
            },
            linux_hw::SmbusAdapterInfo{});
        engine().setAlternateMode(alternate);
        quint8 value = 0;
        engine().ReadByte(0x5E, 0, value); // claims the port outside the measurement
        port.resetOperations();
        if (traced) {
            // Into a real file, as the program records: the cost includes writing it.
            trace = std::make_unique<trace::VcdTraceWriter>(dir.filePath("bench.vcd"));
            if (!trace->open() || !engine().setLineObserver(trace.get())) {
                throw std::runtime_error("the trace could not be started");
            }
        }
    }
    ~Bench() {
        if (trace) {
            engine().setLineObserver(nullptr);
            trace->finish();
        }
    }
    BusEngine& engine() { return link->printerPorts().busEngine(); }

    std::shared_ptr<linux_hw::ManualBusTiming> timing;
    Registers chip;
    sim::SmbusTargetSim target;
    sim::SimulatedParallelPort port;
    std::shared_ptr<sim::SimulatedDeviceIo> io;
    std::unique_ptr<linux_hw::LinuxBoardLink> link;
    QTemporaryDir dir;
    std::unique_ptr<trace::VcdTraceWriter> trace;
};

void report(benchmark::State& state, const Bench& bench, qint64 startUs, quint64 transfers,
            quint64 worst) {
    const double ops = double(bench.port.operations());
    state.counters["ops_per_transfer"] = ops / double(transfers);
    state.counters["worst_ops_per_transfer"] = double(worst);
    state.counters["ops_per_scl_clock"] = ops / double(bench.port.sclClocks());
    state.counters["scl_clocks_per_transfer"] = double(bench.port.sclClocks()) / double(transfers);
    state.counters["bus_us_per_transfer"] =
        double(bench.timing->nowUs() - startUs) / double(transfers);
}

// Every register in turn, so the register numbers' bit patterns all take part.
void BM_ReadByte(benchmark::State& state) {
    Bench bench(state.range(0) != 0, state.range(1) != 0);
    const qint64 startUs = bench.timing->nowUs();
    quint64 transfers = 0, worst = 0;
    quint8 value = 0;
    for (auto _ : state) {
        const quint64 before = bench.port.operations();
        bench.engine().ReadByte(0x5E, quint8(transfers), value);
        benchmark::DoNotOptimize(value);
        worst = std::max(worst, bench.port.operations() - before);
        ++transfers;
    }
    report(state, bench, startUs, transfers, worst);
}

void BM_WriteByte(benchmark::State& state) {
    Bench bench(state.range(0) != 0, state.range(1) != 0);
    const qint64 startUs = bench.timing->nowUs();
    quint64 transfers = 0, worst = 0;
    for (auto _ : state) {
        const quint64 before = bench.port.operations();
        bench.engine().WriteByte(0x5E, quint8(transfers), quint8(transfers * 7));
        worst = std::max(worst, bench.port.operations() - before);
        ++transfers;
    }
    report(state, bench, startUs, transfers, worst);
}

// Wiring 0: standard (AlternateMode False), 1: alternate; trace 0: off, 1: on.
BENCHMARK(BM_ReadByte)->ArgNames({"wiring", "trace"})->ArgsProduct({{0, 1}, {0, 1}});
BENCHMARK(BM_WriteByte)->ArgNames({"wiring", "trace"})->ArgsProduct({{0, 1}, {0, 1}});

} // namespace

BENCHMARK_MAIN();
