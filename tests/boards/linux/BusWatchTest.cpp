// SPDX-License-Identifier: GPL-3.0-or-later
// What the bit-banged engine shows of the bus: its trace of the lines against the SMBus timing,
// for every TransferSetting and both wirings, a short half period and a held clock caught; what
// tracing costs; and the health counters under each fault.
#include "Fixtures.h"
#include "boards/linux/BitBangBus.h"
#include "core/trace/LineObserver.h"
#include "core/trace/SmbusTimingCheck.h"

#include <functional>
#include <set>

namespace qmf::test {
namespace {

using trace::TimingRule;

// The lines as the engine reports them, checked as a trace file would be.
struct LineLog final : trace::LineObserver {
    struct Entry {
        qint64 us;
        bool scl, sda;
    };
    QList<Entry> entries;
    void observe(qint64 timeUs, bool scl, bool sda) noexcept override {
        entries.append({timeUs, scl, sda});
    }
    struct Checked {
        std::set<TimingRule> rules;
        trace::TimingSummary summary;
    };
    Checked check() const {
        Checked result;
        trace::SmbusTimingCheck checker;
        checker.onViolation = [&](const trace::TimingViolation& v) { result.rules.insert(v.rule); };
        for (const Entry& e : entries) {
            checker.levels(e.us * 1000, e.scl, e.sda);
        }
        checker.finish(entries.isEmpty() ? 0 : entries.back().us * 1000);
        result.summary = checker.summary();
        return result;
    }
};

class BusWatchTest : public ::testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(BothWirings, BusWatchTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Alternate" : "Standard"; });

TEST_P(BusWatchTest, EveryTransferSettingKeepsTheSmbusTiming) {
    for (qint16 setting = linux_hw::BitBangBusEngine::MinTransferSetting;
         setting <= linux_hw::BitBangBusEngine::MaxTransferSetting; ++setting) {
        SCOPED_TRACE(setting);
        PortsRig rig(GetParam());
        rig.boards[0].chip.regs[0x0D] = 0x41;
        BusEngine& engine = rig.engine();
        engine.setTransferSetting(setting);
        LineLog log;
        ASSERT_TRUE(engine.setLineObserver(&log));
        quint8 value = 0;
        engine.WriteByte(0x5E, 0x20, 0x5A);
        engine.ReadByte(0x5E, 0x20, value);
        EXPECT_EQ(value, 0x5A);
        engine.ReadByte(0x50, 0x0D, value); // nobody there
        EXPECT_TRUE(engine.probeAddress(0x5E));
        EXPECT_FALSE(engine.probeAddress(0x52));

        const LineLog::Checked checked = log.check();
        EXPECT_TRUE(checked.rules.empty()) << int(*checked.rules.begin());
        // A write, two reads and two probes: 28 + 38 + 10 + 19 + 10 clocks, six starts (one of
        // them repeated), five stops.
        EXPECT_EQ(checked.summary.clocks, 105u);
        EXPECT_EQ(checked.summary.starts, 6u);
        EXPECT_EQ(checked.summary.stops, 5u);
        // The clock follows the setting: a period of two half periods and the port's accesses.
        EXPECT_GE(checked.summary.shortestClockNs,
                  1000 * (setting + std::min<int>(setting, linux_hw::BitBangBus::MaxClockHighUs)));
        EXPECT_LE(checked.summary.shortestClockNs, 1000 * (2 * setting + 8));
    }
}

TEST_P(BusWatchTest, AShortHalfPeriodAndAClockHeldTooLongAreCaught) {
    PortsRig rig(GetParam());
    rig.boards[0].chip.regs[0x0D] = 0x41;
    rig.engine().setAuxOutputs(0); // opens the port
    LineLog shortLog;
    {
        // One microsecond where the engine never goes below five.
        linux_hw::BitBangBus bus(rig.link->printerPorts().selectedLines(), *rig.timing, 1,
                                 {&shortLog, nullptr});
        bus.ensureIdle();
        bus.start();
        ASSERT_TRUE(bus.writeByte(0x5E));
        ASSERT_TRUE(bus.writeByte(0x0D));
        bus.repeatedStart();
        ASSERT_TRUE(bus.writeByte(0x5F));
        EXPECT_EQ(bus.readByte(false), 0x41);
        bus.stop();
        bus.start();
        EXPECT_FALSE(bus.writeByte(0x50));
        bus.stop();
    }
    // The high half still lasts the status read and the write that ends it (4 us at least), and
    // a stop's set-up time as long; everything else is short.
    EXPECT_EQ(shortLog.check().rules,
              (std::set{TimingRule::Low, TimingRule::HoldStart, TimingRule::SetupStart,
                        TimingRule::BusFree, TimingRule::ClockFrequency}));

    // A device holds the clock for 40 ms after its acknowledge: the engine gives up after 20 ms,
    // the trace shows the clock low past the SMBus timeout, and nothing else is wrong.
    LineLog heldLog;
    rig.engine().setLineObserver(&heldLog);
    rig.boards[0].target.setStretchUs(40000);
    quint8 value = 0;
    EXPECT_TRUE(linkError([&] { rig.engine().ReadByte(0x5E, 0x0D, value); })
                    .reason()
                    .contains("SCL held low for more than 20 ms"));
    rig.boards[0].target.setStretchUs(0);
    rig.timing->advanceUs(40000);
    rig.engine().ReadByte(0x5E, 0x0D, value);
    EXPECT_EQ(value, 0x41);
    EXPECT_EQ(heldLog.check().rules, std::set{TimingRule::ClockTimeout});
}

TEST_P(BusWatchTest, TracingReadsTheLinesBackAndCostsNothingOnceOff) {
    PortsRig rig(GetParam());
    rig.boards[0].chip.regs[0x0D] = 0x41;
    sim::SimulatedParallelPort& port = rig.boards[0].port;
    quint8 value = 0;
    const auto operationsOfARead = [&] {
        const quint64 before = port.operations();
        rig.engine().ReadByte(0x5E, 0x0D, value);
        return port.operations() - before;
    };
    operationsOfARead(); // opens the port
    const quint64 untraced = operationsOfARead();
    LineLog log;
    rig.engine().setLineObserver(&log);
    const int readsBefore = rig.io->calls(sim::SimulatedDeviceIo::Call::ReadStatus);
    const quint64 traced = operationsOfARead();
    const int reads = rig.io->calls(sim::SimulatedDeviceIo::Call::ReadStatus) - readsBefore;
    rig.engine().setLineObserver(nullptr);
    EXPECT_EQ(operationsOfARead(), untraced);
    EXPECT_GT(traced, untraced);
    // Every level in the trace was read from the port.
    EXPECT_EQ(log.entries.size(), reads);

    // The device's part appears: its acknowledge of the address, sampled with the clock high.
    qsizetype clock = 0;
    bool acknowledged = false;
    for (qsizetype i = 1; i < log.entries.size(); ++i) {
        const auto& e = log.entries[i];
        if (e.scl && !log.entries[i - 1].scl && ++clock == 9) {
            acknowledged = !e.sda;
        }
    }
    EXPECT_TRUE(acknowledged);
}

TEST_P(BusWatchTest, TheHealthCountersCountEachFault) {
    using Rig = PortsRig;
    const struct {
        const char* what;
        std::function<void(Rig&)> inject;
        bool write;
        quint8 device;
        BusHealthCounts counts;
    } cases[] = {
        {"a clean read", [](Rig&) {}, false, 0x5E, {1, 0, 0, 0, 0, 0, 0}},
        {"a clean write", [](Rig&) {}, true, 0x5E, {1, 0, 0, 0, 0, 0, 0}},
        {"nobody at the address, read", [](Rig&) {}, false, 0x50, {1, 0, 1, 0, 0, 0, 0}},
        {"nobody at the address, write", [](Rig&) {}, true, 0x50, {1, 1, 1, 0, 0, 0, 0}},
        {"a device that never acknowledges",
         [](Rig& r) { r.boards[0].chip.answers = false; },
         true,
         0x5E,
         {1, 1, 1, 0, 0, 0, 0}},
        {"a stretched clock",
         [](Rig& r) { r.boards[0].target.setStretchUs(300); },
         false,
         0x5E,
         {1, 0, 0, 3, 0, 0, 0}},
        {"a clock held too long",
         [](Rig& r) { r.boards[0].target.setStretchUs(40000); },
         false,
         0x5E,
         {1, 1, 0, 1, 1, 0, 0}},
        {"a device left sending",
         [](Rig& r) { r.boards[0].target.jamSdaLow(5); },
         false,
         0x5E,
         {1, 0, 0, 0, 0, 1, 0}},
        {"SDA shorted",
         [](Rig& r) { r.boards[0].port.setSdaShorted(true); },
         false,
         0x5E,
         {1, 1, 0, 0, 0, 1, 0}},
        {"SCL held",
         [](Rig& r) { r.boards[0].port.setSclShorted(true); },
         true,
         0x5E,
         {1, 1, 0, 0, 1, 1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig(GetParam());
        rig.boards[0].chip.regs[0x0D] = 0x41;
        rig.engine().setAuxOutputs(0);
        BusHealth& health = rig.link->busHealth();
        EXPECT_EQ(health.counts().transfers, 0u) << "switching the outputs is no transfer";
        c.inject(rig);
        const qint64 start = rig.timing->nowUs();
        quint8 value = 0;
        try {
            if (c.write) {
                rig.engine().WriteByte(c.device, 0x0D, 0x41);
            } else {
                rig.engine().ReadByte(c.device, 0x0D, value);
            }
        } catch (const LinkError&) {
        }
        const BusHealthCounts& n = health.counts();
        EXPECT_EQ(n.transfers, c.counts.transfers);
        EXPECT_EQ(n.failedTransfers, c.counts.failedTransfers);
        EXPECT_EQ(n.nacks, c.counts.nacks);
        EXPECT_EQ(n.clockStretchWaits, c.counts.clockStretchWaits);
        EXPECT_EQ(n.timeouts, c.counts.timeouts);
        EXPECT_EQ(n.stuckBusRecoveries, c.counts.stuckBusRecoveries);
        EXPECT_EQ(n.transferTimeUs, rig.timing->nowUs() - start);
        EXPECT_DOUBLE_EQ(n.effectiveTransferRate(),
                         double(n.completedTransfers()) * 1e6 / double(n.transferTimeUs));
        health.reset();
        EXPECT_EQ(health.counts().transfers, 0u);
        EXPECT_EQ(health.counts().transferTimeUs, 0);
    }
}

} // namespace
} // namespace qmf::test
