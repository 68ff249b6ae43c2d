// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/ChipLayoutForm.h"

#include "ViewFixture.h"
#include "gui/views/ChipDrawing.h"
#include "gui/views/ChipPinout.h"
#include "gui/widgets/ToggleIndicator.h"

#include <QTest>

namespace qmf::test {
namespace {

const char* const Driven[] = {"GPIO0Toggle",       "GPIO1Toggle",       "GPIO2Toggle",
                              "TempSensor1Toggle", "TempSensor2Toggle", "Fan0PresentToggle",
                              "Fan0OKToggle",      "Fan1PresentToggle", "Fan1OKToggle"};

class ChipLayout : public ViewTest<ChipLayoutForm> {
protected:
    ToggleIndicator& toggle(const char* name) { return *child<ToggleIndicator>(name); }
    QCheckBox& pollBox() { return *child<QCheckBox>("StartStopPollingChipLayout"); }
    QTimer& timer() { return *child<QTimer>("ChipLayoutTimer"); }
    void setStatus(quint8 gpio, quint8 sensors, quint8 fan0, quint8 fan1) {
        chip()[0x05] = gpio;
        chip()[0x06] = sensors;
        chip()[0x10] = fan0;
        chip()[0x11] = fan1;
    }
    std::vector<qint16> drivenValues() {
        std::vector<qint16> values;
        for (const char* name : Driven) {
            values.push_back(toggle(name).Value());
        }
        return values;
    }
};

// True is the state the bit reports, so that a reading is unambiguous.
TEST_F(ChipLayout, EachIndicatorNamesItsTrueAndFalseState) {
    QStringList texts;
    for (const char* name : {"GPIO0Toggle", "GPIO6Toggle", "Fan1PresentToggle", "Fan0OKToggle",
                             "TempSensor2Toggle", "NoCFAULTToggle"}) {
        texts << toggle(name).trueText() + QLatin1Char('/') + toggle(name).falseText();
    }
    EXPECT_EQ(texts.join(QStringLiteral(", ")).toStdString(),
              "GPIO 0 High/GPIO 0 Low, GPIO 6 High/GPIO 6 Low, Fan1 Present/Fan1 NotPresent, "
              "Fault 0/Fan 0 OK, Installed/Not Installed, C Fault/No C Fault");
}

// GPIO 3..6 show their own bits inside the panels that bits 4 and 6 show or hide.
TEST_F(ChipLayout, ATickReadsFourRegistersInOrderAndSetsTheIndicatorsFromTheirBits) {
    const struct {
        quint8 gpio, sensors, fan0, fan1;
        std::vector<qint16> values; // in Driven order
        bool gpio34, gpio56;
    } cases[] = {
        {0x55, 0x02, 0x01, 0x04, {-1, 0, -1, -1, 0, 0, 0, -1, -1}, true, true},
        {0x2A, 0x04, 0x04, 0x01, {0, -1, 0, 0, -1, -1, -1, 0, 0}, false, false},
        {0x10, 0x01, 0x05, 0x00, {0, 0, 0, 0, 0, 0, -1, -1, 0}, true, false},
        {0x47, 0x07, 0xFA, 0xFF, {-1, -1, -1, -1, -1, -1, 0, 0, -1}, false, true},
        {0x7F, 0x06, 0x04, 0x04, {-1, -1, -1, -1, -1, -1, -1, -1, -1}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.gpio));
        setStatus(c.gpio, c.sensors, c.fan0, c.fan1);
        view().ChipLayoutTimer_Timer();
        EXPECT_EQ(traffic(), "R05 R06 R10 R11");
        EXPECT_EQ(drivenValues(), c.values);
        for (int n = 3; n <= 6; ++n) {
            const ToggleIndicator& gpio =
                toggle(("GPIO" + QByteArray::number(n) + "Toggle").data());
            EXPECT_EQ(gpio.isVisibleTo(&view()), n <= 4 ? c.gpio34 : c.gpio56) << n;
            const bool high = (c.gpio >> n) & 1;
            EXPECT_EQ(gpio.Value(), high ? -1 : 0) << n;
            EXPECT_EQ(gpio.text(), QStringLiteral("GPIO %1 %2").arg(n).arg(high ? "High" : "Low"));
        }
    }
}

// Nothing read yet: every lamp is grey and names only what it is about. A lamp no register of
// this view feeds (INT, CFAULT) is not shown at all.
TEST_F(ChipLayout, LampsAreUnknownUntilTheirRegisterIsReadAndUnfedLampsAreNotShown) {
    view().show();
    QStringList before;
    for (const char* name : Driven) {
        EXPECT_FALSE(toggle(name).isKnown()) << name;
        before << toggle(name).text();
    }
    EXPECT_EQ(before.join(QStringLiteral(", ")).toStdString(),
              "GPIO 0 level, GPIO 1 level, GPIO 2 level, Temperature Sensor 1, Temperature "
              "Sensor 2, Fan 0 presence, Fan 0 fault, Fan 1 presence, Fan 1 fault");
    for (const char* name : {"NoInterruptToggle", "NoCFAULTToggle"}) {
        EXPECT_FALSE(toggle(name).isVisible()) << name;
    }
    // A tick that fails after the first register leaves the other lamps unknown.
    setStatus(0x7F, 0x06, 0x00, 0x00);
    t.recording()->failNext(1, QStringLiteral("BusEngine.ReadByte(5E,06)"));
    view().refreshView();
    for (const char* name : Driven) {
        EXPECT_EQ(toggle(name).isKnown(), QByteArray(name).startsWith("GPIO")) << name;
    }
    EXPECT_TRUE(toggle("GPIO6Toggle").isKnown());
    view().refreshView();
    for (const char* name : Driven) {
        EXPECT_TRUE(toggle(name).isKnown()) << name;
    }
    EXPECT_FALSE(toggle("NoInterruptToggle").isVisible());
}

TEST_F(ChipLayout, PollingStartsAndStopsAndAFailingTickStopsIt) {
    setStatus(0x51, 0x02, 0x04, 0x04);
    view().refreshView(); // one pass, without polling
    EXPECT_EQ(traffic(), "R05 R06 R10 R11");
    EXPECT_FALSE(timer().isActive());
    QTest::mouseClick(&pollBox(), Qt::LeftButton);
    EXPECT_TRUE(timer().isActive());
    EXPECT_EQ(pollBox().text(), QStringLiteral("Stop Polling"));
    // A failing tick is reported once and stops polling; what it read before the failure shows.
    setStatus(0x00, 0x00, 0x04, 0x01);
    t.recording()->failNext(1, QStringLiteral("BusEngine.ReadByte(5E,10)"));
    view().ChipLayoutTimer_Timer();
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_FALSE(timer().isActive());
    EXPECT_FALSE(pollBox().isChecked());
    EXPECT_EQ(pollBox().text(), QStringLiteral("Start Polling"));
    EXPECT_EQ(drivenValues(), std::vector<qint16>({0, 0, 0, 0, 0, -1, -1, -1, -1}));
    // The program goes on; stopping leaves every indicator as it was.
    QTest::mouseClick(&pollBox(), Qt::LeftButton);
    view().ChipLayoutTimer_Timer();
    setStatus(0x55, 0x06, 0x00, 0x00);
    QTest::mouseClick(&pollBox(), Qt::LeftButton);
    EXPECT_FALSE(timer().isActive());
    EXPECT_EQ(drivenValues(), std::vector<qint16>({0, 0, 0, 0, 0, -1, -1, 0, 0}));
    EXPECT_FALSE(toggle("GPIO3Toggle").isVisibleTo(&view()));
    EXPECT_EQ(t.errors.failureCount(), 1);
}

// Each indicator stands beside its own pins, outside the package, without covering another, at
// any window size (chiplayout.png).
TEST_F(ChipLayout, IndicatorsSitBesideTheirPins) {
    auto* drawing = child<ChipDrawing>("Image1");
    const char* const expected[][2] = {
        {"GPIO0Toggle", "GPIO0"},         {"GPIO1Toggle", "GPIO1"},
        {"GPIO2Toggle", "GPIO2"},         {"GPIO34Panel", "GPIO3 GPIO4"},
        {"GPIO56Panel", "GPIO6 GPIO5"},   {"SSPanel13", "PWM0 TACH0"},
        {"SSPanel12", "PWM1 TACH1"},      {"TempSensor1Panel", "DXN1 DXP1"},
        {"TempSensor2Panel", "DXN2 DXP2"}};
    for (QSize size : {QSize(1100, 820), QSize(820, 600)}) {
        view().resize(size);
        QCoreApplication::processEvents();
        std::vector<QRect> placed;
        for (const auto& [widget, names] : expected) {
            SCOPED_TRACE(testing::Message() << widget << " at " << size.width());
            auto* w = drawing->findChild<QWidget*>(QLatin1String(widget));
            ASSERT_NE(w, nullptr);
            std::vector<int> pins;
            for (const QString& name : QString::fromLatin1(names).split(QLatin1Char(' '))) {
                pins.push_back(chiplayout::pinNumber(name));
            }
            std::sort(pins.begin(), pins.end());
            EXPECT_EQ(drawing->pinsOf(w), pins);
            const QRect g = w->geometry();
            const QPointF first = drawing->legTip(pins.front());
            EXPECT_NEAR(g.center().y(), (first.y() + drawing->legTip(pins.back()).y()) / 2, 2.0);
            EXPECT_TRUE(chiplayout::sideOf(pins.front()) == chiplayout::Side::Left
                            ? g.right() < first.x()
                            : g.left() > first.x());
            EXPECT_TRUE(drawing->rect().contains(g));
            for (const QRect& other : placed) {
                EXPECT_FALSE(g.intersects(other));
            }
            placed.push_back(g);
        }
    }
    setStatus(0x55, 0x06, 0x04, 0x01);
    view().refreshView();
    keepPicture(view(), "chiplayout.png");
}

} // namespace
} // namespace qmf::test
