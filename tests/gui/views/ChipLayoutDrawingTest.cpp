// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/support/TestContext.h"
#include "gui/views/ChipDrawing.h"
#include "gui/views/ChipLayoutForm.h"
#include "gui/views/ChipPinout.h"

#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

namespace qmf {
namespace {

using chiplayout::Side;

TEST(ChipLayoutPinout, TwentyFourNumberedPinsWithUniqueNames) {
    const auto& pins = chiplayout::pinout();
    QSet<QString> names;
    for (std::size_t i = 0; i < pins.size(); ++i) {
        EXPECT_EQ(pins[i].number, int(i) + 1);
        EXPECT_FALSE(pins[i].function.isEmpty()) << pins[i].number;
        names.insert(QString(pins[i].name));
        EXPECT_EQ(chiplayout::pinNumber(QString(pins[i].name)), pins[i].number);
    }
    EXPECT_EQ(names.size(), chiplayout::PinCount);
    for (const char* monitored :
         {"VCC",   "GND",   "SDA",   "SCL",   "INT",   "CFAULT", "GPIO0", "GPIO1",
          "GPIO2", "GPIO3", "GPIO4", "GPIO5", "GPIO6", "TACH0",  "TACH1", "PWM0",
          "PWM1",  "DXP1",  "DXN1",  "DXP2",  "DXN2",  "AIN0",   "AIN1"}) {
        EXPECT_NE(chiplayout::pinNumber(QLatin1String(monitored)), 0) << monitored;
    }
    EXPECT_EQ(chiplayout::pinNumber(QStringLiteral("gpio0")), 0); // names are case-sensitive
}

TEST(ChipLayoutPinout, PinsRunDownTheLeftSideAndUpTheRight) {
    const struct {
        int pin;
        Side side;
        int row;
    } cases[] = {{1, Side::Left, 0},   {12, Side::Left, 11}, {13, Side::Right, 11},
                 {24, Side::Right, 0}, {6, Side::Left, 5},   {19, Side::Right, 5}};
    for (const auto& c : cases) {
        EXPECT_EQ(chiplayout::sideOf(c.pin), c.side) << c.pin;
        EXPECT_EQ(chiplayout::rowOf(c.pin), c.row) << c.pin;
    }
}

// Each indicator stands beside its own pins, outside the package, without covering another, at
// any window size.
TEST(ChipLayoutDrawing, IndicatorsSitBesideTheirPins) {
    test::TestContext t(test::TestContext::Recording);
    ChipLayoutForm& form = t.windows.show<ChipLayoutForm>(t.ctx);
    auto* drawing = form.findChild<ChipDrawing*>(QStringLiteral("Image1"));
    ASSERT_NE(drawing, nullptr);
    const struct {
        const char* widget;
        std::vector<const char*> pins;
    } expected[] = {
        {"NoInterruptToggle", {"INT"}},
        {"NoCFAULTToggle", {"CFAULT"}},
        {"GPIO0Toggle", {"GPIO0"}},
        {"GPIO1Toggle", {"GPIO1"}},
        {"GPIO2Toggle", {"GPIO2"}},
        {"GPIO34Panel", {"GPIO3", "GPIO4"}},
        {"GPIO56Panel", {"GPIO6", "GPIO5"}},
        {"SSPanel13", {"PWM0", "TACH0"}},
        {"SSPanel12", {"PWM1", "TACH1"}},
        {"TempSensor1Panel", {"DXN1", "DXP1"}},
        {"TempSensor2Panel", {"DXN2", "DXP2"}},
    };
    for (QSize size : {QSize(800, 600), QSize(1100, 820)}) {
        form.resize(size);
        QCoreApplication::processEvents();
        const QRectF body = drawing->bodyRect();
        std::vector<QRect> placed;
        for (const auto& e : expected) {
            auto* w = drawing->findChild<QWidget*>(QLatin1String(e.widget));
            ASSERT_NE(w, nullptr) << e.widget;
            std::vector<int> pins;
            double pinCentre = 0.0;
            for (const char* name : e.pins) {
                pins.push_back(chiplayout::pinNumber(QLatin1String(name)));
                pinCentre += drawing->legTip(pins.back()).y() / double(e.pins.size());
            }
            std::sort(pins.begin(), pins.end());
            EXPECT_EQ(drawing->pinsOf(w), pins) << e.widget;
            const QRect g = w->geometry();
            EXPECT_NEAR(g.center().y(), pinCentre, 2.0) << e.widget;
            if (chiplayout::sideOf(pins.front()) == Side::Left) {
                EXPECT_LT(g.right(), drawing->legTip(pins.front()).x()) << e.widget;
            } else {
                EXPECT_GT(g.left(), drawing->legTip(pins.front()).x()) << e.widget;
            }
            EXPECT_FALSE(QRectF(g).intersects(body)) << e.widget;
            EXPECT_TRUE(drawing->rect().contains(g)) << e.widget << " at " << size.width();
            EXPECT_GE(g.width(), w->minimumSizeHint().width()) << e.widget;
            EXPECT_GE(g.height(), w->minimumSizeHint().height()) << e.widget;
            for (const QRect& other : placed) {
                EXPECT_FALSE(g.intersects(other)) << e.widget;
            }
            placed.push_back(g);
        }
    }
}

TEST(ChipLayoutDrawing, LegsStayOutsideThePackageAndScale) {
    ChipDrawing drawing;
    drawing.resize(700, 520);
    const double smallPitch = drawing.pitch();
    for (int pin = 1; pin <= chiplayout::PinCount; ++pin) {
        const QRectF leg = drawing.legRect(pin);
        const QRectF body = drawing.bodyRect();
        if (chiplayout::sideOf(pin) == Side::Left) {
            EXPECT_DOUBLE_EQ(leg.right(), body.left()) << pin;
        } else {
            EXPECT_DOUBLE_EQ(leg.left(), body.right()) << pin;
        }
        EXPECT_GT(leg.top(), body.top()) << pin;
        EXPECT_LT(leg.bottom(), body.bottom()) << pin;
    }
    EXPECT_LT(drawing.legTip(1).y(), drawing.legTip(2).y());
    EXPECT_DOUBLE_EQ(drawing.legTip(1).y(), drawing.legTip(24).y()); // pin 1 faces pin 24
    drawing.resize(1000, 900);
    EXPECT_GT(drawing.pitch(), 1.5 * smallPitch);
}

} // namespace
} // namespace qmf
