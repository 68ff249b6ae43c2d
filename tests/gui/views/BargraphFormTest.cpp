// SPDX-License-Identifier: GPL-3.0-or-later
// The bar-graph monitor: its timers, readings and captions, the limit rules of its gauges, what
// dragging a limit writes on each board path, and what a failing link does to it.
#include "gui/views/BargraphForm.h"

#include "ViewFixture.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"
#include "core/measure/Temperature.h"
#include "core/wizards/AutoSet.h"
#include "gui/views/BargraphLimitRules.h"
#include "gui/widgets/RoundGauge.h"
#include "gui/widgets/ToggleIndicator.h"

#include <QTabWidget>
#include <QTest>
#include <cmath>
#include <functional>

namespace qmf::test {
namespace {

using namespace bargraph;
using Part = RoundGauge::HandlePart;

// The low limit in fixed point with four decimals, the high limit in 16-bit whole numbers
// (halves to even), each moved 8 % of the scale maximum away when closer than 4 %.
TEST(BargraphLimitRules, KeepTheLimitsApartWithTheirOwnArithmetic) {
    const auto low = lowLimitBelowHigh;
    const auto high = highLimitAboveLow;
    const struct {
        std::optional<double> (*rule)(double, double, double);
        double moving, other, scaleMax;
        std::optional<double> moved;
    } cases[] = {
        {low, 26.0, 30.0, 127.0, 19.84}, // 26 > 24.92: to 30 - 10.16
        {low, 24.92, 30.0, 127.0, {}},    {low, 24.9201, 30.0, 127.0, 19.84},
        {low, 24.92004, 30.0, 127.0, {}}, {low, 26.0, 30.00004, 127.0, 19.84},
        {low, 4900, 5000, 5000, 4600},    {low, -100.0, -95.0, 127.0, -105.16},
        {high, 24.0, 20.0, 127.0, 30.0}, // 24 < round(25.08): to round(30.16)
        {high, 25.0, 20.0, 127.0, {}},    {high, 24.5, 20.0, 127.0, 30.0},
        {high, 25.5, 20.0, 127.0, {}},    {high, 24.0, 20.5, 127.0, 30.0},
        {high, 26.0, 21.5, 127.0, 32.0},  {high, -124.0, -128.0, 127.0, -118.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.rule(c.moving, c.other, c.scaleMax), c.moved) << c.moving << " / " << c.other;
    }
    EXPECT_THROW(highLimitAboveLow(0.0, 32767.0, 127.0), OverflowError); // the sum overflows
}

quint8 tempByte(double celsius) {
    return quint8(Temperature::TemperatureToRegister(qint16(celsius)));
}

class Bargraph : public ViewTest<BargraphForm> {
protected:
    explicit Bargraph(TestContext::BoardKind kind = TestContext::Recording) : ViewTest(kind) {}
    RoundGauge& gauge(const char* name) { return *child<RoundGauge>(name); }
    // The running timers: F the fan readings, T the temperatures, L the limits.
    std::string running() {
        std::string names;
        for (const char* name : {"FanBargraphTimer", "TempTimer", "LimitsTimer"}) {
            if (child<QTimer>(name)->isActive()) {
                names += name[0];
            }
        }
        return names;
    }
    QCheckBox& startBox() { return *child<QCheckBox>("BargraphCHK"); }
    QTabWidget& tabs() { return *child<QTabWidget>("BargraphTab"); }
    void clickStart() { QTest::mouseClick(&startBox(), Qt::LeftButton); }
    // Low and high limit, then each band's start and stop.
    std::vector<double> limits(const char* name) {
        const RoundGauge& g = gauge(name);
        return {g.pointerValue(LowLimitPointer), g.pointerValue(HighLimitPointer),
                g.pointerStart(RangeBand),       g.pointerStop(RangeBand),
                g.pointerStart(MirrorBand),      g.pointerStop(MirrorBand)};
    }
    static std::vector<double> shown(double low, double high) {
        return {low, high, low, high, low, high};
    }
};

// Steps: C clicks BargraphCHK, 0 and 1 show that tab.
TEST_F(Bargraph, StartStopAndTabsEnableTheirTimers) {
    const struct {
        char step;
        const char* running;
        const char* caption;
    } steps[] = {
        {' ', "L", "Start"}, // limits are read from the moment it opens
        {'C', "FL", "Stop"}, {'1', "TL", "Stop"}, {'0', "FL", "Stop"},
        {'C', "", "Start"},  {'1', "T", "Start"}, // the tab rule does not look at the box
        {'0', "F", "Start"}, {'1', "T", "Start"}, {'C', "TL", "Stop"}, // started on tab 1
    };
    for (std::size_t n = 0; n < std::size(steps); ++n) {
        if (steps[n].step == 'C') {
            clickStart();
        } else if (steps[n].step != ' ') {
            tabs().setCurrentIndex(steps[n].step - '0');
        }
        EXPECT_EQ(running(), steps[n].running) << n;
        EXPECT_EQ(startBox().text(), QLatin1String(steps[n].caption)) << n;
    }
}

// Each reading tick shows its tab's readings (fans limited to the scale: 7050 RPM shows 5000); a
// refresh reads the shown tab and every limit, and writes nothing: a temperature limit too close
// to the other is pushed away on the gauge only.
TEST_F(Bargraph, ReadingsAndLimitsShowWhatTheChipHolds) {
    const std::pair<int, quint8> registers[] = {{0x68, 0x40},
                                                {0x70, 28},
                                                {0x78, 28}, // 470 Hz: 2014 RPM, limit 2014 RPM
                                                {0x69, 0xC0},
                                                {0x71, 32},
                                                {0x79, 112}, // 1880 Hz: 7050 RPM, limit 2014 RPM
                                                {0xA0, tempByte(25)},
                                                {0xA1, tempByte(-5)},
                                                {0xA2, 0},
                                                {0x9A, tempByte(56)},
                                                {0x92, tempByte(60)}};
    for (const auto& [reg, value] : registers) {
        chip()[reg] = value;
    }
    view().LimitsTimer_Timer();
    // Before the fans were refreshed their oscillator frequencies are 0, and so are the limits.
    EXPECT_EQ(gauge("Fan0Gauge").pointerValue(FanLimitPointer), 0.0);
    EXPECT_EQ(gauge("Fan1Gauge").pointerValue(FanLimitPointer), 0.0);
    traffic();
    clickStart();
    EXPECT_EQ(traffic(), "R69 R68"); // Fan1, then Fan0
    // Each reading tick reads its channels, then the status its alarm lamps show.
    view().FanBargraphTimer_Timer();
    EXPECT_EQ(traffic(), "R70 R71 R10 R11");
    view().TempTimer_Timer();
    EXPECT_EQ(traffic(), "RA0 RA1 RA2 R00");
    const char* const names[] = {"Fan0Gauge", "Fan1Gauge", "IntTempGauge", "ExtTemp0Gauge",
                                 "ExtTemp1Gauge"};
    const double readings[] = {2014, 5000, 25, -5, 0};
    const char* const captions[] = {" 2014RPM", " 5000RPM", " 25C", "-5C", " 0C"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(gauge(names[i]).reading(), readings[i]) << names[i];
        EXPECT_EQ(gauge(names[i]).caption(), QLatin1String(captions[i])) << names[i];
    }
    const std::string limitReads = " R78 R79 R98 R90 R99 R91 R9A R92";
    view().refreshView();
    EXPECT_EQ(traffic(), "R70 R71 R10 R11" + limitReads);
    keepPicture(view(), "bargraph-fans.png");
    tabs().setCurrentIndex(1);
    view().refreshView();
    EXPECT_EQ(traffic(), "RA0 RA1 RA2 R00" + limitReads);
    keepPicture(view(), "bargraph-temperatures.png");
    EXPECT_EQ(gauge("Fan0Gauge").pointerValue(FanLimitPointer), 2014.0);
    EXPECT_EQ(gauge("Fan1Gauge").pointerValue(FanLimitPointer), 2014.0);
    EXPECT_EQ(limits("ExtTemp1Gauge"), shown(56, 66));
}

// The "Interrupt Status" lamps: grey until read, then the channel's alarm on every reading. Fans
// from their status registers (missing or fault, live or latched); temperatures from the thermal
// event bit of 00h and the channel's value against the limits last read.
TEST_F(Bargraph, InterruptStatusLampsShowEachChannelsAlarmOnEveryReading) {
    const char* const alerts[] = {"Fan0Alert", "Fan1Alert", "IntTempAlert", "ExtTemp0Alert",
                                  "ExtTemp1Alert"};
    const auto lamps = [&] {
        std::string shown;
        for (const char* name : alerts) {
            const ToggleIndicator& lamp = *child<ToggleIndicator>(name);
            EXPECT_EQ(lamp.text(), QStringLiteral("Interrupt Status"));
            shown += !lamp.isKnown() ? '?' : lamp.isTrue() ? 'R' : '-';
        }
        return shown;
    };
    EXPECT_EQ(lamps(), "?????");
    for (int i = 0; i < 3; ++i) {
        chip()[0x98 + i] = tempByte(20);
        chip()[0x90 + i] = tempByte(40);
    }
    const struct {
        quint8 fan0, fan1, main;
        qint16 temps[3];
        bool limitsRead;
        const char* shown;
    } steps[] = {
        {0x00, 0x00, 0x00, {30, 30, 30}, false, "--???"}, // no limits read yet
        {0x01, 0x08, 0x80, {41, 30, 19}, false, "RR???"},
        {0x01, 0x08, 0x80, {41, 30, 19}, true, "RRR-R"},
        {0x00, 0xF0, 0x00, {41, 30, 19}, true, "-----"}, // no thermal event reported
        {0x04, 0x02, 0x80, {40, 20, -55}, true, "RR--R"},
        {0x00, 0x00, 0x7F, {60, 60, 60}, true, "-----"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.shown);
        chip()[0x10] = step.fan0;
        chip()[0x11] = step.fan1;
        chip()[0x00] = step.main;
        for (int i = 0; i < 3; ++i) {
            chip()[0xA0 + i] = tempByte(step.temps[i]);
        }
        if (step.limitsRead) {
            view().LimitsTimer_Timer();
        }
        view().FanBargraphTimer_Timer();
        view().TempTimer_Timer();
        EXPECT_EQ(lamps(), step.shown);
    }
    const QColor red = child<ToggleIndicator>("Fan0Alert")->trueColor();
    EXPECT_GT(red.red(), 2 * red.green());
}

// After auto-set (limits 60 to 90 C) the simulated chip, at room temperature, reports a thermal
// event: the lamps of the installed sensors say so.
class BargraphOnSimulatedChip : public Bargraph {
protected:
    BargraphOnSimulatedChip() : Bargraph(TestContext::Simulated) {}
};

TEST_F(BargraphOnSimulatedChip, AThermalEventAfterAutoSetLightsTheTemperatureLamps) {
    RunAutoSet(t.state, [](const QString&) {});
    t.advanceSeconds(1.0);
    view().LimitsTimer_Timer();
    view().TempTimer_Timer();
    EXPECT_TRUE(ReadRegisterAt(t.state, 0x00) & 0x80);
    const quint8 installed = ReadRegisterAt(t.state, 0x06);
    EXPECT_EQ(installed & 0x07, 0x07) << "auto-set installs all three sensors";
    const char* const alerts[] = {"IntTempAlert", "ExtTemp0Alert", "ExtTemp1Alert"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(alerts[i]);
        EXPECT_LT(gauge(i == 0   ? "IntTempGauge"
                        : i == 1 ? "ExtTemp0Gauge"
                                 : "ExtTemp1Gauge")
                      .reading(),
                  60.0);
        EXPECT_EQ(child<ToggleIndicator>(alerts[i])->isTrue(), bool(installed & (1 << i)));
    }
    // A fan taken off shows as missing at the next fan reading.
    t.simBoard()->printerPortChip().setFanConnected(1, false);
    t.advanceSeconds(1.0);
    view().FanBargraphTimer_Timer();
    EXPECT_FALSE(child<ToggleIndicator>("Fan0Alert")->isTrue());
    EXPECT_TRUE(child<ToggleIndicator>("Fan1Alert")->isTrue());
}

// Each drag starts from limits 20 and 40 in the chip. On the printer port (path 1) nothing is
// written while the pointer moves; on the SMBus (path 0) the unsnapped limits are. Both paths
// write at release: a limit marker after its rule, a band exactly as its ends stand (low limit =
// start, high limit = stop; the other limit is not pushed away). A limits tick while the pointer
// is held leaves that gauge alone; the next one shows the chip's limits under the gauge's rule.
TEST_F(Bargraph, DraggingATemperatureLimitWritesTheSnappedLimits) {
    const struct {
        int medium, gauge, pointer;
        Part part;
        double to;
        const char* whileMoving;
        const char* atRelease;
        double low, high;  // shown after the release
        double tickedHigh; // shown after the next limits tick
    } cases[] = {
        {1, 0, HighLimitPointer, Part::Value, 24, "", "W98=14 W90=1E", 20, 30, 30},
        {0, 0, HighLimitPointer, Part::Value, 24, "W98=14 W90=18", "W98=14 W90=1E", 20, 30, 30},
        {1, 1, LowLimitPointer, Part::Value, 36, "", "W99=1E W91=28", 29.84, 40, 40},
        {1, 2, RangeBand, Part::Stop, 50, "", "W9A=14 W92=32", 20, 50, 50},
        {1, 2, RangeBand, Part::Start, -3, "", "W9A=FD W92=28", -3, 40, 40},
        {1, 2, RangeBand, Part::Start, 38, "", "W9A=26 W92=28", 38, 40, 48},
        {0, 2, RangeBand, Part::Stop, 22, "W9A=14 W92=28", "W9A=14 W92=16", 20, 22, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        const char* const gauges[] = {"IntTempGauge", "ExtTemp0Gauge", "ExtTemp1Gauge"};
        const char* const name = gauges[c.gauge];
        t.state.CommsMedium = c.medium;
        auto& regs = c.medium == 1 ? chip() : t.recording()->smbusRegisters(0x5E);
        regs[0x98 + c.gauge] = tempByte(20); // low limit
        regs[0x90 + c.gauge] = tempByte(40); // high limit
        view().LimitsTimer_Timer();
        traffic();
        gauge(name).moveHandle(c.pointer, c.part, c.to);
        EXPECT_EQ(traffic(), c.whileMoving);
        view().LimitsTimer_Timer();
        traffic();
        gauge(name).releaseHandle();
        EXPECT_EQ(traffic(), c.atRelease);
        EXPECT_EQ(limits(name), shown(c.low, c.high));
        view().LimitsTimer_Timer();
        EXPECT_EQ(limits(name), shown(std::round(c.low), c.tickedHigh));
    }
}

TEST_F(Bargraph, DraggingAFanLimitWritesItsCountAsItMoves) {
    chip()[0x68] = 0x40; // 470 Hz; fan 1's oscillator is off
    chip()[0x79] = 99;
    RoundGauge& fan0 = gauge("Fan0Gauge");
    fan0.moveHandle(FanLimitPointer, Part::Value, 2000.0);
    // Not refreshed yet: the oscillator frequency is learnt before the limit is converted.
    EXPECT_EQ(traffic(), "R68 W78=1C");
    fan0.moveHandle(FanLimitPointer, Part::Value, 4000.0);
    EXPECT_EQ(traffic(), "W78=0E");
    fan0.releaseHandle();
    EXPECT_EQ(traffic(), "");
    // With the oscillator off no speed limit can be expressed: the chip keeps its own.
    RoundGauge& fan1 = gauge("Fan1Gauge");
    fan1.moveHandle(FanLimitPointer, Part::Value, 2000.0);
    EXPECT_EQ(traffic(), "R69");
    EXPECT_EQ(chip()[0x79], 99);
    chip()[0x69] = 0x40;
    fan1.moveHandle(FanLimitPointer, Part::Value, 2000.0);
    EXPECT_EQ(traffic(), "R69 W79=1C");
}

// A link failure in the start click or in any tick is reported once, stops the view and leaves
// the program running.
TEST_F(Bargraph, AFailingTickOrStartStopsTheViewAndReportsOnce) {
    const std::function<void()> acts[] = {
        [&] { clickStart(); }, [&] { view().FanBargraphTimer_Timer(); },
        [&] { view().TempTimer_Timer(); }, [&] { view().LimitsTimer_Timer(); }};
    for (int failures = 1; failures <= 4; ++failures) {
        SCOPED_TRACE(failures);
        if (failures > 1 && !startBox().isChecked()) {
            clickStart();
        }
        t.recording()->failNext(1, QStringLiteral("BusEngine.ReadByte"));
        acts[failures - 1]();
        EXPECT_EQ(t.errors.failureCount(), failures);
        EXPECT_EQ(t.dialogs.messages.size(), failures);
        EXPECT_EQ(running(), "");
        EXPECT_FALSE(startBox().isChecked());
        EXPECT_EQ(startBox().text(), QStringLiteral("Start"));
        acts[failures - 1](); // the link is back
        EXPECT_EQ(t.errors.failureCount(), failures);
    }
}

TEST_F(Bargraph, AFailingLimitWriteLetsGoOfThePointer) {
    RoundGauge& g = gauge("IntTempGauge");
    g.moveHandle(HighLimitPointer, Part::Value, 50.0);
    t.recording()->failNext(1, QStringLiteral("BusEngine.WriteByte"));
    g.releaseHandle();
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_FALSE(g.isDragging());
    t.state.CommsMedium = 0; // writes during the drag
    t.recording()->failNext(1, QStringLiteral("Smbus.WriteByte"));
    g.moveHandle(HighLimitPointer, Part::Value, 60.0);
    EXPECT_EQ(t.errors.failureCount(), 2);
    EXPECT_FALSE(g.isDragging());
}

} // namespace
} // namespace qmf::test
