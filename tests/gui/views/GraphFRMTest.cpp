// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window: its controls, graphing on and off, the chart it feeds, and what a failing
// board does to it.
#include "GraphFixture.h"
#include "core/link/RegisterAccess.h"
#include "core/measure/Fan.h"

#include <QGroupBox>
#include <set>

namespace qmf::test {
namespace {

using GraphWindow = GraphFixture;
using GraphWindowRecording = GraphRecordingFixture;

TEST_F(GraphWindow, LoadsWithItsNamedControlsInTheirInitialState) {
    EXPECT_EQ(window().windowTitle(), QStringLiteral("QMF4150 Graph Window"));
    const struct {
        const char* name;
        const char* text;
    } texts[] = {{"StartStopGraphsCHK", "Start Graphs"},
                 {"ResetGraphsCMD", "Reset Graphs"},
                 {"MakeLog_CMD", "Make New Log"},
                 {"Check3", "Not Logging to File"},
                 {"Label15", "Delay(Sec):"},
                 {"Label7", "Logged:"},
                 {"Label14", "0"},
                 {"Label13", "Lines"}};
    for (const auto& c : texts) {
        const QString name = QString::fromLatin1(c.name);
        QString shown;
        if (auto* button = window().findChild<QAbstractButton*>(name)) {
            shown = button->text();
        } else if (auto* label = window().findChild<QLabel*>(name)) {
            shown = label->text();
        } else {
            ADD_FAILURE() << "no control " << c.name;
            continue;
        }
        EXPECT_EQ(shown, QString::fromLatin1(c.text)) << c.name;
    }
    EXPECT_EQ(intervalEdit()->text(), QStringLiteral("5"));
    EXPECT_EQ(child<QGroupBox>("SSPanel10")->title(), QStringLiteral("Log to File"));
    EXPECT_FALSE(graphsBox()->isChecked());
    EXPECT_EQ(timer()->interval(), 100);
    EXPECT_FALSE(timer()->isActive());
    EXPECT_TRUE(logBox()->isTristate());
    EXPECT_EQ(logBox()->checkState(), Qt::Unchecked);
    EXPECT_FALSE(logBox()->isEnabled());
    EXPECT_TRUE(makeLogButton()->isEnabled());
    EXPECT_TRUE(window().LogFileName().isEmpty());
}

TEST_F(GraphWindowRecording, LoadRefreshesFan0ThenFan1AndTheSpeedsUseThoseFrequencies) {
    setKnownReadings();
    window();
    EXPECT_EQ(t.recording()->transfers().join(' ').toStdString(),
              "BusEngine.ReadByte(5E,68)=40 BusEngine.ReadByte(5E,69)=80");
    EXPECT_EQ(t.state.Fan0().storedOscillatorFrequency(), 470);
    EXPECT_EQ(t.state.Fan1().storedOscillatorFrequency(), 940);
}

TEST_F(GraphWindow, ChartHasFiveNamedDistinctTracesOnTwoAxesAndATimeAxis) {
    StripChart* c = chart();
    ASSERT_EQ(c->traceCount(), 5);
    const QStringList names{"Speed Fan 0", "Speed Fan 1", "Internal Temperature",
                            "External Temperature 0", "External Temperature 1"};
    std::set<QRgb> colours;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(c->traceName(i), names[i]);
        EXPECT_EQ(c->traceStyle(i), StripChart::standardStyle(i + 3)) << i;
        EXPECT_EQ(c->traceAxis(i),
                  i < 2 ? StripChart::ValueAxis::Left : StripChart::ValueAxis::Right)
            << i;
        colours.insert(c->traceStyle(i).color.rgb());
    }
    EXPECT_EQ(colours.size(), 5u) << "every trace has a colour of its own";
    EXPECT_EQ(c->xAxis->label(), QStringLiteral("Time"));
    auto ticker = c->xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>();
    ASSERT_TRUE(ticker);
    EXPECT_EQ(ticker->dateTimeFormat(), QStringLiteral("HH mm ss"));
    EXPECT_TRUE(c->yAxis->label().contains(QStringLiteral("RPM")));
    EXPECT_TRUE(c->yAxis2->label().contains(QStringLiteral("°C")));
    EXPECT_TRUE(c->yAxis2->visible());
    EXPECT_TRUE(c->legend->visible());
    EXPECT_EQ(c->legend->itemCount(), 5);

    auto* gpio = child<StripChart>("AINAndGPIO");
    EXPECT_EQ(gpio->xAxis->label(), QStringLiteral("Time"));
    EXPECT_EQ(gpio->yAxis->label(), QStringLiteral("GPIO"));
    EXPECT_EQ(gpio->traceCount(), 0);
}

TEST_F(GraphWindow, StartStopSwitchesTheTimerAndCaption) {
    graphsBox()->click();
    EXPECT_TRUE(graphsBox()->isChecked());
    EXPECT_EQ(graphsBox()->text(), QStringLiteral("Stop Graphing"));
    EXPECT_TRUE(timer()->isActive());
    graphsBox()->click();
    EXPECT_FALSE(graphsBox()->isChecked());
    EXPECT_EQ(graphsBox()->text(), QStringLiteral("Start Graphing"));
    EXPECT_FALSE(timer()->isActive());
}

TEST_F(GraphWindowRecording, TickPlotsTheFanSpeedsAndTheConvertedTemperatures) {
    setKnownReadings();
    tick();
    const double expected[5] = {2014, 2507, 31, -55, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(chart()->pointCount(i), 1) << i;
        EXPECT_EQ(lastValue(i), expected[i]) << i;
    }
    // Each tick reads the two speeds, then the three temperatures.
    t.recording()->clearLog();
    tick();
    EXPECT_EQ(t.recording()->transfers().join(' ').toStdString(),
              "BusEngine.ReadByte(5E,70)=1C BusEngine.ReadByte(5E,71)=2D "
              "BusEngine.ReadByte(5E,A0)=1F BusEngine.ReadByte(5E,A1)=C9 "
              "BusEngine.ReadByte(5E,A2)=00");
    EXPECT_EQ(t.errors.failureCount(), 0);
}

TEST_F(GraphWindow, NegativeTemperaturesOfTheSimulatedChipAreConvertedByCode0) {
    sim::SimulatedChip& simChip = t.simBoard()->printerPortChip();
    simChip.setAmbient(-30.0);
    t.advanceSeconds(3600); // the chip settles to the cold
    tick();
    for (int channel = 0; channel < 3; ++channel) {
        const quint8 reg = quint8(0xA0 + channel);
        const quint8 code = ReadRegisterAt(t.state, reg);
        ASSERT_GE(code, 128) << "the simulated chip reads below zero on channel " << channel;
        // The chip's own encoding: low seven bits inverted, bit 0 forced on, negated.
        const int expected = -(((~code) & 0x7F) | 1);
        EXPECT_EQ(lastValue(2 + channel), expected) << channel;
        EXPECT_LT(lastValue(2 + channel), 0) << channel;
    }
    EXPECT_EQ(t.errors.failureCount(), 0);
}

TEST_F(GraphWindow, ResetClearsTheChart) {
    ticks(3);
    ASSERT_EQ(chart()->pointCount(0), 3);
    child<QPushButton>("ResetGraphsCMD")->click();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(chart()->pointCount(i), 0) << i;
    }
    tick();
    EXPECT_EQ(chart()->pointCount(0), 1);
}

TEST_F(GraphWindow, ChartMemoryStaysBoundedAndKeepsTheShownWindowAtFullResolution) {
    // 20 minutes of ticks, four times the shown window of 5 minutes.
    const double window = chart()->windowSeconds();
    ASSERT_EQ(window, 300.0);
    const int perWindow = int(window / 0.1);
    int peak = 0;
    for (int i = 0; i < 12000; ++i) {
        tick();
        peak = std::max(peak, chart()->pointCount(0));
    }
    // The shown window plus the one-second lead-in at the left edge, nothing older.
    EXPECT_LE(peak, perWindow + 11);
    for (int i = 0; i < 5; ++i) {
        EXPECT_GE(chart()->pointCount(i), perWindow) << "every shown point is kept, trace " << i;
        EXPECT_LE(chart()->pointCount(i), perWindow + 11) << i;
    }
    const auto data = chart()->graph(0)->data();
    EXPECT_GE(data->constBegin()->key, chart()->latestKey() - window - 1.0);
}

TEST_F(GraphWindowRecording, RefreshViewPlotsOneTickWithoutLogging) {
    setKnownReadings();
    makeLog(logPath());
    ASSERT_TRUE(window().logFileOpen());
    window().refreshView();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(chart()->pointCount(i), 1) << i;
    }
    EXPECT_EQ(bytes(logPath()), QByteArray());
    EXPECT_EQ(countLabel()->text(), QStringLiteral("0"));
}

// --- failures --------------------------------------------------------------------------------

TEST_F(GraphWindow, LinkFailureInATickIsReportedOnceAndStopsGraphing) {
    graphsBox()->click();
    ticks(2);
    t.simBoard()->failNextTransfers(1);
    tick();
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_FALSE(t.errors.lastError().isEmpty());
    EXPECT_FALSE(graphsBox()->isChecked());
    EXPECT_EQ(graphsBox()->text(), QStringLiteral("Start Graphing"));
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(logErrorCount(), 0) << "no log was running, so there is no log message";
    // The window lives on: graphing starts again on a healthy board.
    graphsBox()->click();
    tick();
    EXPECT_EQ(chart()->pointCount(0), 3);
    EXPECT_EQ(t.errors.failureCount(), 1);
}

TEST_F(GraphWindow, LinkFailureWhileLoggingEndsTheLogCleanlyAndStopsGraphing) {
    makeLog(logPath());
    ticks(1);
    t.clock.advanceMs(5000);
    tick();
    ASSERT_EQ(dataLines(logPath()).size(), 2);
    const QByteArray before = bytes(logPath());
    t.simBoard()->failNextTransfers(1);
    t.clock.advanceMs(5000);
    tick();
    EXPECT_EQ(logErrorCount(), 1);
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_FALSE(window().logFileOpen());
    EXPECT_EQ(bytes(logPath()), before) << "every line logged before the failure is kept";
    EXPECT_FALSE(timer()->isActive());
    EXPECT_FALSE(logBox()->isEnabled());
    EXPECT_TRUE(makeLogButton()->isEnabled());
}

} // namespace
} // namespace qmf::test
