// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/BargraphForm.h"

#include "core/measure/Temperature.h"
#include "gui/support/TestContext.h"
#include "gui/views/BargraphLimitRules.h"
#include "gui/widgets/RoundGauge.h"
#include "gui/widgets/ToggleIndicator.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace qmf {
namespace {

using bargraph::HighLimitPointer;
using bargraph::LowLimitPointer;
using Part = RoundGauge::HandlePart;

quint8 tempByte(int celsius) {
    return quint8(Temperature::TemperatureToRegister(qint16(celsius)));
}

// The monitor on the recording board, printer-port chip at 5Eh.
class BargraphFormTest : public ::testing::Test {
protected:
    BargraphFormTest() : form(t.windows.show<BargraphForm>(t.ctx)) {}

    RoundGauge& gauge(const char* name) {
        auto* g = form.findChild<RoundGauge*>(QLatin1String(name));
        EXPECT_NE(g, nullptr) << name;
        return *g;
    }
    QTimer& timer(const char* name) { return *form.findChild<QTimer*>(QLatin1String(name)); }
    QCheckBox& startBox() { return *form.findChild<QCheckBox*>(QStringLiteral("BargraphCHK")); }
    QTabWidget& tabs() { return *form.findChild<QTabWidget*>(QStringLiteral("BargraphTab")); }
    void clickStart() { QTest::mouseClick(&startBox(), Qt::LeftButton); }

    // Which registers the chip's last transfers touched, e.g. "R98", "W90=1E".
    QStringList traffic() const {
        QStringList out;
        for (const QString& line : t.recording()->transfers()) {
            const QString args = line.section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0);
            const QStringList f = args.split(QLatin1Char(','));
            out << (line.contains(QLatin1String("WriteByte"))
                        ? QStringLiteral("W%1=%2").arg(f[1], f[2])
                        : QStringLiteral("R") + f[1]);
        }
        t.recording()->clearLog();
        return out;
    }
    std::array<quint8, 256>& chip() { return t.recording()->parallelRegisters(0, false, 0x5E); }

    void setChipLimits(quint8 minReg, quint8 maxReg, int low, int high) {
        chip()[minReg] = tempByte(low);
        chip()[maxReg] = tempByte(high);
    }
    void expectGaugeLimits(RoundGauge& g, double low, double high) {
        EXPECT_DOUBLE_EQ(g.pointerValue(LowLimitPointer), low) << g.objectName().toStdString();
        EXPECT_DOUBLE_EQ(g.pointerValue(HighLimitPointer), high) << g.objectName().toStdString();
        for (int band : {bargraph::RangeBand, bargraph::MirrorBand}) {
            EXPECT_DOUBLE_EQ(g.pointerStart(band), low) << "band " << band;
            EXPECT_DOUBLE_EQ(g.pointerStop(band), high) << "band " << band;
        }
    }

    test::TestContext t{test::TestContext::Recording};
    BargraphForm& form;
};

TEST_F(BargraphFormTest, ShowsItsControlsScalesAndTimers) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Limits/Bargraphs"));
    EXPECT_EQ(startBox().text(), QStringLiteral("Start"));
    EXPECT_FALSE(startBox().isChecked());
    ASSERT_EQ(tabs().count(), 2);
    EXPECT_EQ(tabs().tabText(0), QStringLiteral("Fan Speed"));
    EXPECT_EQ(tabs().tabText(1), QStringLiteral("Temperature"));
    const struct {
        const char* gauge;
        double min, max;
        const char* label;
        const char* labelText;
        const char* alert;
    } gauges[] = {
        {"Fan0Gauge", 0, 5000, "Label1", "Fan 0", "Fan0Alert"},
        {"Fan1Gauge", 0, 5000, "Label2", "Fan 1", "Fan1Alert"},
        {"IntTempGauge", -128, 127, "Label3", "Int Temp", "IntTempAlert"},
        {"ExtTemp0Gauge", -128, 127, "Label4", "Ext Temp 0", "ExtTemp0Alert"},
        {"ExtTemp1Gauge", -128, 127, "Label5", "Ext Temp 1", "ExtTemp1Alert"},
    };
    for (const auto& g : gauges) {
        RoundGauge& rg = gauge(g.gauge);
        EXPECT_EQ(rg.ScaleMin(), g.min) << g.gauge;
        EXPECT_EQ(rg.ScaleMax(), g.max) << g.gauge;
        EXPECT_EQ(rg.hintText(), QStringLiteral("Drag the pointers to change the limits"));
        EXPECT_FALSE(rg.accessibleName().isEmpty()) << g.gauge;
        auto* label = form.findChild<QLabel*>(QLatin1String(g.label));
        ASSERT_NE(label, nullptr) << g.label;
        EXPECT_EQ(label->text(), QLatin1String(g.labelText));
        auto* alert = form.findChild<ToggleIndicator*>(QLatin1String(g.alert));
        ASSERT_NE(alert, nullptr) << g.alert;
        EXPECT_EQ(alert->text(), QStringLiteral("Interrupt Status"));
        EXPECT_FALSE(alert->isEnabled()); // never driven
    }
    EXPECT_TRUE(gauge("Fan0Gauge").isDraggable(bargraph::FanLimitPointer));
    EXPECT_EQ(gauge("IntTempGauge").pointerKind(bargraph::RangeBand),
              RoundGauge::PointerKind::Band);
    EXPECT_EQ(gauge("IntTempGauge").pointerKind(HighLimitPointer), RoundGauge::PointerKind::Marker);

    const struct {
        const char* name;
        int interval;
        bool active;
    } timers[] = {
        {"FanBargraphTimer", 200, false}, {"TempTimer", 200, false}, {"LimitsTimer", 1000, true}};
    for (const auto& k : timers) {
        EXPECT_EQ(timer(k.name).interval(), k.interval) << k.name;
        EXPECT_EQ(timer(k.name).isActive(), k.active) << k.name;
    }
    EXPECT_TRUE(traffic().isEmpty()); // opening reads nothing
}

TEST_F(BargraphFormTest, StartStopAndTabsEnableTheirTimers) {
    enum Action { Initially, Click, Tab0, Tab1 };
    const struct {
        Action action;
        bool fan, temp, limits;
        const char* caption;
    } steps[] = {
        {Initially, false, false, true, "Start"},
        {Click, true, false, true, "Stop"},
        {Tab1, false, true, true, "Stop"},
        {Tab0, true, false, true, "Stop"},
        {Click, false, false, false, "Start"},
        {Tab1, false, true, false, "Start"}, // the tab rule does not look at the box
        {Tab0, true, false, false, "Start"},
        {Click, true, false, true, "Stop"},
        {Tab1, false, true, true, "Stop"},
        {Click, false, false, false, "Start"},
        {Click, false, true, true, "Stop"}, // started on the temperature tab
    };
    int n = 0;
    for (const auto& s : steps) {
        switch (s.action) {
        case Click:
            clickStart();
            break;
        case Tab0:
            tabs().setCurrentIndex(0);
            break;
        case Tab1:
            tabs().setCurrentIndex(1);
            break;
        case Initially:
            break;
        }
        EXPECT_EQ(timer("FanBargraphTimer").isActive(), s.fan) << "step " << n;
        EXPECT_EQ(timer("TempTimer").isActive(), s.temp) << "step " << n;
        EXPECT_EQ(timer("LimitsTimer").isActive(), s.limits) << "step " << n;
        EXPECT_EQ(startBox().text(), QLatin1String(s.caption)) << "step " << n;
        ++n;
    }
}

TEST_F(BargraphFormTest, StartRefreshesFan1ThenFan0) {
    clickStart();
    EXPECT_EQ(traffic(), (QStringList{"R69", "R68"}));
    clickStart();
    EXPECT_EQ(traffic(), (QStringList{"R69", "R68"}));
}

TEST_F(BargraphFormTest, FanReadingsShowTheSpeedLimitedToTheScale) {
    const struct {
        quint8 oscillator; // bits 7:6 of 0x68 / 0x69
        quint8 count;
        double reading;
        const char* caption;
    } cases[] = {
        {0x40, 28, 2014, " 2014RPM"}, // 470 Hz
        {0x40, 255, 221, " 221RPM"},
        {0xC0, 32, 5000, " 5000RPM"}, // 7050 RPM at 1880 Hz: pinned to the scale
        {0xC0, 0, 5000, " 5000RPM"},  // count 0 counts as 1: 225600 RPM
        {0x00, 40, 0, " 0RPM"},       // oscillator off
    };
    for (const auto& c : cases) {
        for (int fan : {0, 1}) {
            chip()[0x68 + fan] = c.oscillator;
            chip()[0x70 + fan] = c.count;
        }
        startBox().setChecked(false);
        clickStart(); // learns the oscillator frequencies
        traffic();
        form.FanBargraphTimer_Timer();
        EXPECT_EQ(traffic(), (QStringList{"R70", "R71"}));
        for (const char* name : {"Fan0Gauge", "Fan1Gauge"}) {
            EXPECT_EQ(gauge(name).reading(), c.reading) << name << " count " << int(c.count);
            EXPECT_EQ(gauge(name).caption(), QLatin1String(c.caption)) << name;
        }
    }
}

TEST_F(BargraphFormTest, TemperatureReadingsShowSignedCaptionsWithoutClamping) {
    chip()[0xA0] = tempByte(25);
    chip()[0xA1] = tempByte(-5);
    chip()[0xA2] = tempByte(0);
    form.TempTimer_Timer();
    EXPECT_EQ(traffic(), (QStringList{"RA0", "RA1", "RA2"}));
    const struct {
        const char* gauge;
        double reading;
        const char* caption;
    } cases[] = {
        {"IntTempGauge", 25, " 25C"}, {"ExtTemp0Gauge", -5, "-5C"}, {"ExtTemp1Gauge", 0, " 0C"}};
    for (const auto& c : cases) {
        EXPECT_EQ(gauge(c.gauge).reading(), c.reading) << c.gauge;
        EXPECT_EQ(gauge(c.gauge).caption(), QLatin1String(c.caption)) << c.gauge;
    }
}

TEST_F(BargraphFormTest, LimitsTickReadsEveryLimitAndTheBandsFollow) {
    chip()[0x68] = chip()[0x69] = 0x40;
    chip()[0x78] = 28;
    chip()[0x79] = 56;
    setChipLimits(0x98, 0x90, 20, 60);
    setChipLimits(0x99, 0x91, -11, 45);
    setChipLimits(0x9A, 0x92, 56, 60); // too close: the gauge pushes the high limit away
    form.LimitsTimer_Timer();
    EXPECT_EQ(traffic(), (QStringList{"R78", "R79", "R98", "R90", "R99", "R91", "R9A", "R92"}));
    // Before the fans were refreshed their frequencies are 0, and so are their limits.
    EXPECT_EQ(gauge("Fan0Gauge").pointerValue(0), 0.0);
    EXPECT_EQ(gauge("Fan1Gauge").pointerValue(0), 0.0);
    expectGaugeLimits(gauge("IntTempGauge"), 20, 60);
    expectGaugeLimits(gauge("ExtTemp0Gauge"), -11, 45);
    expectGaugeLimits(gauge("ExtTemp1Gauge"), 56, 66); // shown only; nothing was written

    clickStart();
    traffic();
    form.LimitsTimer_Timer();
    EXPECT_EQ(gauge("Fan0Gauge").pointerValue(0), 2014.0);
    EXPECT_EQ(gauge("Fan1Gauge").pointerValue(0), 1007.0);
    for (const QString& t : traffic()) {
        EXPECT_TRUE(t.startsWith(QLatin1Char('R'))) << t.toStdString();
    }
}

TEST_F(BargraphFormTest, ReleasingTheHighLimitOnThePrinterPortSnapsAndWritesBothLimits) {
    setChipLimits(0x98, 0x90, 20, 40);
    form.LimitsTimer_Timer();
    traffic();
    RoundGauge& g = gauge("IntTempGauge");
    g.moveHandle(HighLimitPointer, Part::Value, 30.0);
    g.moveHandle(HighLimitPointer, Part::Value, 24.0);
    EXPECT_TRUE(traffic().isEmpty()); // nothing is written while the pointer moves
    g.releaseHandle();
    expectGaugeLimits(g, 20, 30);
    EXPECT_EQ(traffic(), (QStringList{"W98=14", "W90=1E"}));
    EXPECT_EQ(chip()[0x90], 30);
}

TEST_F(BargraphFormTest, OnTheSmbusTheDragWritesAsItMovesAndTheReleaseWritesTheSnap) {
    t.state.CommsMedium = 0;
    auto& smbus = t.recording()->smbusRegisters(0x5E);
    smbus[0x98] = tempByte(20);
    smbus[0x90] = tempByte(40);
    form.LimitsTimer_Timer();
    traffic();
    RoundGauge& g = gauge("IntTempGauge");
    g.moveHandle(HighLimitPointer, Part::Value, 24.0);
    EXPECT_EQ(traffic(), (QStringList{"W98=14", "W90=18"}));
    g.releaseHandle();
    EXPECT_EQ(traffic(), (QStringList{"W98=14", "W90=1E"}));
    // The chip holds what the gauge shows, so the next limits tick leaves the gauge alone.
    form.LimitsTimer_Timer();
    EXPECT_EQ(smbus[0x90], 30);
    expectGaugeLimits(g, 20, 30);
}

TEST_F(BargraphFormTest, ALowLimitTooCloseToTheHighOneMovesBelowIt) {
    setChipLimits(0x99, 0x91, 20, 30);
    form.LimitsTimer_Timer();
    traffic();
    RoundGauge& g = gauge("ExtTemp0Gauge");
    g.moveHandle(LowLimitPointer, Part::Value, 26.0);
    g.releaseHandle();
    expectGaugeLimits(g, 19.84, 30);
    EXPECT_EQ(traffic(), (QStringList{"W99=14", "W91=1E"})); // 19.84 is written as 20
}

TEST_F(BargraphFormTest, DraggingABandMovesBothLimitPointersToItsEnds) {
    const struct {
        Part end;
        double to;
        double low, high;
        const char* writes[2];
    } cases[] = {
        {Part::Stop, 50.0, 20, 50, {"W9A=14", "W92=32"}},
        {Part::Start, -3.0, -3, 40, {"W9A=FD", "W92=28"}},
        // An end brought too close pushes the other limit away, as the limit pointers do.
        {Part::Start, 38.0, 38, 48, {"W9A=26", "W92=30"}},
        {Part::Stop, 22.0, 11.84, 22, {"W9A=0C", "W92=16"}},
    };
    for (const auto& c : cases) {
        setChipLimits(0x9A, 0x92, 20, 40);
        form.LimitsTimer_Timer();
        traffic();
        RoundGauge& g = gauge("ExtTemp1Gauge");
        g.moveHandle(bargraph::RangeBand, c.end, c.to);
        g.releaseHandle();
        expectGaugeLimits(g, c.low, c.high);
        EXPECT_EQ(traffic(), (QStringList{c.writes[0], c.writes[1]})) << c.to;
    }
}

TEST_F(BargraphFormTest, FanLimitDragWritesTheCountAsItMoves) {
    chip()[0x68] = chip()[0x69] = 0x40; // 470 Hz
    clickStart();
    traffic();
    for (int fan : {0, 1}) {
        RoundGauge& g = gauge(fan == 0 ? "Fan0Gauge" : "Fan1Gauge");
        g.moveHandle(0, Part::Value, 2000.0);
        EXPECT_EQ(traffic(),
                  (QStringList{QStringLiteral("W%1=1C").arg(0x78 + fan, 0, 16).toUpper()}));
        g.moveHandle(0, Part::Value, 4000.0);
        EXPECT_EQ(traffic(),
                  (QStringList{QStringLiteral("W%1=0E").arg(0x78 + fan, 0, 16).toUpper()}));
        g.releaseHandle();
        EXPECT_TRUE(traffic().isEmpty()); // the release of a fan gauge does nothing
    }
}

TEST_F(BargraphFormTest, FanLimitDragBeforeTheFansWereRefreshedLearnsTheFrequencyFirst) {
    chip()[0x68] = 0x40;
    chip()[0x78] = 99;
    gauge("Fan0Gauge").moveHandle(0, Part::Value, 2000.0);
    EXPECT_EQ(traffic(), (QStringList{"R68", "W78=1C"}));

    // With the tachometer oscillator off no RPM limit can be expressed: the chip keeps its own.
    chip()[0x69] = 0x00;
    chip()[0x79] = 99;
    gauge("Fan1Gauge").moveHandle(0, Part::Value, 2000.0);
    EXPECT_EQ(traffic(), (QStringList{"R69"}));
    EXPECT_EQ(chip()[0x79], 99);
}

TEST_F(BargraphFormTest, LimitsTickLeavesAGaugeAloneWhileItsPointerIsHeld) {
    setChipLimits(0x98, 0x90, 20, 40);
    form.LimitsTimer_Timer();
    RoundGauge& g = gauge("IntTempGauge");
    g.moveHandle(HighLimitPointer, Part::Value, 24.0);
    traffic();
    form.LimitsTimer_Timer();
    EXPECT_EQ(traffic(), (QStringList{"R78", "R79", "R99", "R91", "R9A", "R92"}));
    EXPECT_EQ(g.pointerValue(HighLimitPointer), 24.0);
    g.releaseHandle();
    EXPECT_EQ(g.pointerValue(HighLimitPointer), 30.0);
}

TEST_F(BargraphFormTest, RefreshReadsTheShownTabAndTheLimits) {
    form.refreshView();
    EXPECT_EQ(traffic(),
              (QStringList{"R70", "R71", "R78", "R79", "R98", "R90", "R99", "R91", "R9A", "R92"}));
    tabs().setCurrentIndex(1);
    form.refreshView();
    EXPECT_EQ(traffic(), (QStringList{"RA0", "RA1", "RA2", "R78", "R79", "R98", "R90", "R99", "R91",
                                      "R9A", "R92"}));
    EXPECT_EQ(t.errors.failureCount(), 0);
}

// A link failure in any tick is reported once, stops the view and leaves the program running.
TEST(BargraphFormFailure, AFailingTickStopsTheViewAndReportsOnce) {
    const struct {
        const char* name;
        int tab;
        void (BargraphForm::*tick)();
    } ticks[] = {{"fans", 0, &BargraphForm::FanBargraphTimer_Timer},
                 {"temperatures", 1, &BargraphForm::TempTimer_Timer},
                 {"limits", 0, &BargraphForm::LimitsTimer_Timer}};
    for (const auto& k : ticks) {
        test::TestContext t(test::TestContext::Recording);
        BargraphForm& form = t.windows.show<BargraphForm>(t.ctx);
        auto* box = form.findChild<QCheckBox*>(QStringLiteral("BargraphCHK"));
        form.findChild<QTabWidget*>(QStringLiteral("BargraphTab"))->setCurrentIndex(k.tab);
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(box->isChecked()) << k.name;
        t.recording()->failNext(1, QStringLiteral("BusEngine.ReadByte"));
        (form.*k.tick)();
        EXPECT_EQ(t.errors.failureCount(), 1) << k.name;
        ASSERT_EQ(t.dialogs.messages.size(), 1) << k.name;
        EXPECT_TRUE(t.dialogs.messages[0].text.contains(QStringLiteral("injected failure")))
            << t.dialogs.messages[0].text.toStdString();
        EXPECT_TRUE(t.errors.lastError().startsWith(QStringLiteral("Limits/Bargraphs")));
        for (const char* timer : {"FanBargraphTimer", "TempTimer", "LimitsTimer"}) {
            EXPECT_FALSE(form.findChild<QTimer*>(QLatin1String(timer))->isActive())
                << k.name << ": " << timer;
        }
        EXPECT_FALSE(box->isChecked()) << k.name;
        EXPECT_EQ(box->text(), QStringLiteral("Start")) << k.name;
        // The link is back: the next tick works and nothing more is reported.
        (form.*k.tick)();
        EXPECT_EQ(t.errors.failureCount(), 1) << k.name;
    }
}

TEST(BargraphFormFailure, AFailingStartLeavesTheViewStopped) {
    test::TestContext t(test::TestContext::Recording);
    BargraphForm& form = t.windows.show<BargraphForm>(t.ctx);
    auto* box = form.findChild<QCheckBox*>(QStringLiteral("BargraphCHK"));
    t.recording()->failNext(1, QStringLiteral("BusEngine.ReadByte"));
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(box->text(), QStringLiteral("Start"));
    EXPECT_FALSE(form.findChild<QTimer*>(QStringLiteral("FanBargraphTimer"))->isActive());
    EXPECT_FALSE(form.findChild<QTimer*>(QStringLiteral("LimitsTimer"))->isActive());
}

TEST(BargraphFormFailure, AFailingLimitWriteEndsTheDragAndIsReported) {
    test::TestContext t(test::TestContext::Recording);
    BargraphForm& form = t.windows.show<BargraphForm>(t.ctx);
    auto* g = form.findChild<RoundGauge*>(QStringLiteral("IntTempGauge"));
    g->moveHandle(HighLimitPointer, Part::Value, 50.0);
    t.recording()->failNext(1, QStringLiteral("BusEngine.WriteByte"));
    g->releaseHandle();
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_FALSE(g->isDragging());
    // Path 0 writes during the drag; a failure there lets go of the pointer.
    t.state.CommsMedium = 0;
    t.recording()->failNext(1, QStringLiteral("Smbus.WriteByte"));
    g->moveHandle(HighLimitPointer, Part::Value, 60.0);
    EXPECT_EQ(t.errors.failureCount(), 2);
    EXPECT_FALSE(g->isDragging());
}

} // namespace
} // namespace qmf
