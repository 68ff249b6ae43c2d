// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/ChipLayoutForm.h"

#include "gui/support/TestContext.h"
#include "gui/views/ChipDrawing.h"
#include "gui/widgets/ToggleIndicator.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace qmf {
namespace {

const char* const DrivenIndicators[] = {
    "GPIO0Toggle",       "GPIO1Toggle",       "GPIO2Toggle",
    "TempSensor1Toggle", "TempSensor2Toggle", "Fan0PresentToggle",
    "Fan0OKToggle",      "Fan1PresentToggle", "Fan1OKToggle"};

class ChipLayoutFormTest : public ::testing::Test {
protected:
    ChipLayoutFormTest() : form(t.windows.show<ChipLayoutForm>(t.ctx)) {}

    ToggleIndicator& toggle(const char* name) {
        auto* w = form.findChild<ToggleIndicator*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return *w;
    }
    QGroupBox& panel(const char* name) { return *form.findChild<QGroupBox*>(QLatin1String(name)); }
    QCheckBox& pollBox() {
        return *form.findChild<QCheckBox*>(QStringLiteral("StartStopPollingChipLayout"));
    }
    QTimer& timer() { return *form.findChild<QTimer*>(QStringLiteral("ChipLayoutTimer")); }
    std::array<quint8, 256>& chip() { return t.recording()->parallelRegisters(0, false, 0x5E); }
    void setStatus(quint8 gpio, quint8 sensors, quint8 fan0, quint8 fan1) {
        chip()[0x05] = gpio;
        chip()[0x06] = sensors;
        chip()[0x10] = fan0;
        chip()[0x11] = fan1;
    }
    std::vector<qint16> drivenValues() {
        std::vector<qint16> values;
        for (const char* name : DrivenIndicators) {
            values.push_back(toggle(name).Value());
        }
        return values;
    }

    test::TestContext t{test::TestContext::Recording};
    ChipLayoutForm& form;
};

TEST_F(ChipLayoutFormTest, ShowsTheChipWithEveryIndicatorAndItsTwoTexts) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("QMF4150 Layout"));
    EXPECT_EQ(pollBox().text(), QStringLiteral("Start Polling"));
    EXPECT_EQ(timer().interval(), 100);
    EXPECT_FALSE(timer().isActive());
    EXPECT_NE(form.findChild<ChipDrawing*>(QStringLiteral("Image1")), nullptr);
    const struct {
        const char* name;
        const char* trueText;
        const char* falseText;
        bool driven;
    } indicators[] = {
        {"GPIO0Toggle", "GPIO 0 High", "GPIO 0 Low", true},
        {"GPIO3Toggle", "GPIO 3 High", "GPIO 3 Low", true},
        {"GPIO6Toggle", "GPIO 6 High", "GPIO 6 Low", true},
        {"Fan0PresentToggle", "Fan0 Present", "Fan0 NotPresent", true},
        {"Fan1PresentToggle", "Fan1 Present", "Fan1 NotPresent", true},
        {"Fan0OKToggle", "Fault 0", "Fan 0 OK", true},
        {"Fan1OKToggle", "Fault 1", "Fan 1 OK", true},
        {"TempSensor1Toggle", "Installed", "Not Installed", true},
        {"TempSensor2Toggle", "Installed", "Not Installed", true},
        {"NoInterruptToggle", "Interrupt", "No Interrupt", false},
        {"NoCFAULTToggle", "C Fault", "No C Fault", false},
    };
    for (const auto& i : indicators) {
        ToggleIndicator& ind = toggle(i.name);
        EXPECT_EQ(ind.trueText(), QLatin1String(i.trueText)) << i.name;
        EXPECT_EQ(ind.falseText(), QLatin1String(i.falseText)) << i.name;
        EXPECT_EQ(ind.isEnabled(), i.driven) << i.name;
        EXPECT_FALSE(ind.accessibleName().isEmpty()) << i.name;
    }
    const struct {
        const char* name;
        const char* title;
        std::vector<const char*> holds;
    } panels[] = {
        {"GPIO34Panel", "", {"GPIO3Toggle", "GPIO4Toggle"}},
        {"GPIO56Panel", "", {"GPIO5Toggle", "GPIO6Toggle"}},
        {"SSPanel13", "Fan 0", {"Fan0PresentToggle", "Fan0OKToggle"}},
        {"SSPanel12", "Fan 1", {"Fan1PresentToggle", "Fan1OKToggle"}},
        {"TempSensor1Panel", "Temperature Sensor 1", {"TempSensor1Toggle"}},
        {"TempSensor2Panel", "Temperature Sensor 2", {"TempSensor2Toggle"}},
    };
    for (const auto& p : panels) {
        QGroupBox& box = panel(p.name);
        EXPECT_EQ(box.title(), QLatin1String(p.title)) << p.name;
        for (const char* child : p.holds) {
            EXPECT_EQ(toggle(child).parentWidget(), &box) << child;
        }
    }
}

TEST_F(ChipLayoutFormTest, TheBoxStartsAndStopsPolling) {
    QTest::mouseClick(&pollBox(), Qt::LeftButton);
    EXPECT_TRUE(timer().isActive());
    EXPECT_EQ(pollBox().text(), QStringLiteral("Stop Polling"));
    QTest::mouseClick(&pollBox(), Qt::LeftButton);
    EXPECT_FALSE(timer().isActive());
    EXPECT_EQ(pollBox().text(), QStringLiteral("Start Polling"));
    EXPECT_TRUE(t.recording()->transfers().isEmpty());
}

TEST_F(ChipLayoutFormTest, ATickReadsFourRegistersAndSetsTheIndicatorsFromTheirBits) {
    const struct {
        quint8 gpio, sensors, fan0, fan1;
        std::vector<qint16> values; // in DrivenIndicators order
        bool gpio34, gpio56;
    } cases[] = {
        {0x55, 0x02, 0x01, 0x04, {-1, 0, -1, -1, 0, 0, 0, -1, -1}, true, true},
        {0x2A, 0x04, 0x04, 0x01, {0, -1, 0, 0, -1, -1, -1, 0, 0}, false, false},
        {0x10, 0x01, 0x05, 0x00, {0, 0, 0, 0, 0, 0, -1, -1, 0}, true, false},
        {0x47, 0x07, 0xFA, 0xFF, {-1, -1, -1, -1, -1, -1, 0, 0, -1}, false, true},
    };
    for (const auto& c : cases) {
        setStatus(c.gpio, c.sensors, c.fan0, c.fan1);
        t.recording()->clearLog();
        form.ChipLayoutTimer_Timer();
        const auto read = [](const char* reg, quint8 value) {
            return QStringLiteral("BusEngine.ReadByte(5E,%1)=%2")
                .arg(QLatin1String(reg),
                     QString::number(value, 16).rightJustified(2, QLatin1Char('0')).toUpper());
        };
        EXPECT_EQ(t.recording()->transfers(),
                  (QStringList{read("05", c.gpio), read("06", c.sensors), read("10", c.fan0),
                               read("11", c.fan1)}));
        EXPECT_EQ(drivenValues(), c.values) << "0x05=" << int(c.gpio);
        EXPECT_EQ(!panel("GPIO34Panel").isHidden(), c.gpio34) << int(c.gpio);
        EXPECT_EQ(!panel("GPIO56Panel").isHidden(), c.gpio56) << int(c.gpio);
        // GPIO 3..6 are only shown or hidden, never set.
        for (const char* name : {"GPIO3Toggle", "GPIO4Toggle", "GPIO5Toggle", "GPIO6Toggle"}) {
            EXPECT_EQ(toggle(name).Value(), 0) << name;
        }
    }
    EXPECT_EQ(t.errors.failureCount(), 0);
}

TEST_F(ChipLayoutFormTest, StoppingPollingLeavesTheIndicatorsAsTheyWere) {
    setStatus(0x55, 0x06, 0x04, 0x00);
    QTest::mouseClick(&pollBox(), Qt::LeftButton);
    form.ChipLayoutTimer_Timer();
    const std::vector<qint16> shown = drivenValues();
    ASSERT_NE(shown, std::vector<qint16>(shown.size(), 0));
    setStatus(0x00, 0x00, 0x01, 0x01);
    QTest::mouseClick(&pollBox(), Qt::LeftButton);
    EXPECT_EQ(drivenValues(), shown);
    EXPECT_FALSE(panel("GPIO34Panel").isHidden());
}

TEST_F(ChipLayoutFormTest, RefreshIsOnePassWithoutPolling) {
    setStatus(0x01, 0x00, 0x00, 0x00);
    form.refreshView();
    EXPECT_EQ(t.recording()->transfers().size(), 4);
    EXPECT_EQ(toggle("GPIO0Toggle").Value(), -1);
    EXPECT_FALSE(timer().isActive());
}

TEST_F(ChipLayoutFormTest, AFailingTickStopsPollingAndReportsOnce) {
    setStatus(0x01, 0x02, 0x04, 0x04);
    QTest::mouseClick(&pollBox(), Qt::LeftButton);
    t.recording()->failNext(1, QStringLiteral("BusEngine.ReadByte(5E,10)"));
    form.ChipLayoutTimer_Timer();
    EXPECT_EQ(t.errors.failureCount(), 1);
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_TRUE(t.errors.lastError().startsWith(QStringLiteral("QMF4150 Layout")));
    EXPECT_FALSE(timer().isActive());
    EXPECT_FALSE(pollBox().isChecked());
    EXPECT_EQ(pollBox().text(), QStringLiteral("Start Polling"));
    // What was read before the failure is shown; the rest is as it was.
    EXPECT_EQ(toggle("GPIO0Toggle").Value(), -1);
    EXPECT_EQ(toggle("TempSensor1Toggle").Value(), -1);
    EXPECT_EQ(toggle("Fan0OKToggle").Value(), 0);
    // The program goes on: polling again works.
    QTest::mouseClick(&pollBox(), Qt::LeftButton);
    form.ChipLayoutTimer_Timer();
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_EQ(toggle("Fan0OKToggle").Value(), -1);
    EXPECT_TRUE(timer().isActive());
}

} // namespace
} // namespace qmf
