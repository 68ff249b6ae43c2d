// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/RoundGauge.h"

#include <QEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>

namespace qmf {
namespace {

using Part = RoundGauge::HandlePart;
using Kind = RoundGauge::PointerKind;

// A gauge set up like the monitor's temperature gauge: bands 0 (draggable) and 1, low limit 2,
// high limit 3; shown in a window with a second control to tab to.
class RoundGaugeTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        gauge = new RoundGauge;
        other = new QLineEdit;
        layout->addWidget(gauge);
        layout->addWidget(other);
        gauge->setScale(-128.0, 127.0);
        gauge->configurePointer(0, Kind::Band, true, Qt::green, QStringLiteral("range"));
        gauge->configurePointer(1, Kind::Band, false, Qt::darkGreen, QString());
        gauge->configurePointer(2, Kind::Marker, true, Qt::blue, QStringLiteral("low limit"));
        gauge->configurePointer(3, Kind::Marker, true, Qt::red, QStringLiteral("high limit"));
        setLimits(20.0, 60.0);
        window.resize(420, 480);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void setLimits(double low, double high) {
        for (int band : {0, 1}) {
            gauge->setPointerID(band);
            gauge->setPointerStart(low);
            gauge->setPointerStop(high);
        }
        gauge->setPointerID(2);
        gauge->setPointerValue(low);
        gauge->setPointerID(3);
        gauge->setPointerValue(high);
    }

    // The point on the dial where `value` lies, at the radius of a handle of that kind.
    QPoint pointFor(double value, Part part) const {
        const gauge::DialFrame f = gauge->dial();
        const QPointF tip = gauge->handlePosition(part == Part::Value ? 3 : 0, part);
        const double radius = QLineF(f.center, tip).length();
        return gauge::pointAtAngle(f.center, radius, gauge::valueToAngle(gauge->scale(), value))
            .toPoint();
    }

    QWidget window;
    RoundGauge* gauge = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(RoundGaugeTest, PointerPropertiesActOnTheSelectedPointer) {
    gauge->setPointerID(2);
    EXPECT_EQ(gauge->PointerValue(), 20.0);
    gauge->setPointerValue(19.84);
    gauge->setPointerID(3);
    EXPECT_EQ(gauge->PointerValue(), 60.0);
    EXPECT_EQ(gauge->pointerValue(2), 19.84); // stored exactly as set
    gauge->setPointerID(1);
    gauge->setPointerStop(300.0); // beyond the scale: kept, drawn pinned
    EXPECT_EQ(gauge->pointerStop(1), 300.0);
    EXPECT_EQ(gauge->pointerStart(1), 20.0);
    EXPECT_EQ(gauge->pointerValue(7), 0.0); // a pointer nobody declared reads 0
    EXPECT_EQ(gauge->pointerKind(7), Kind::None);
}

TEST_F(RoundGaugeTest, MoveHandleLimitsValuesAndNotifies) {
    QSignalSpy changed(gauge, &RoundGauge::pointerChanged);
    QSignalSpy released(gauge, &RoundGauge::pointerReleased);
    const struct {
        int id;
        Part part;
        double asked;
        double stored;
        bool notified;
    } cases[] = {
        {3, Part::Value, 80.5, 80.5, true},
        {3, Part::Value, 500.0, 127.0, true},
        {2, Part::Value, -300.0, -128.0, true},
        {0, Part::Start, 90.0, 60.0, true},  // not above the stop
        {0, Part::Stop, -200.0, 60.0, true}, // not below the start
        {1, Part::Start, 0.0, 20.0, false},  // band 1 is not draggable
        {2, Part::Start, 5.0, 0.0, false},   // a marker has no ends
        {0, Part::Value, 5.0, 0.0, false},   // a band has no tip
    };
    int notifications = 0;
    for (const auto& c : cases) {
        gauge->setPointerID(9);
        gauge->moveHandle(c.id, c.part, c.asked);
        const double now = c.part == Part::Start  ? gauge->pointerStart(c.id)
                           : c.part == Part::Stop ? gauge->pointerStop(c.id)
                                                  : gauge->pointerValue(c.id);
        EXPECT_EQ(now, c.stored) << c.id << " asked " << c.asked;
        if (c.notified) {
            ++notifications;
            EXPECT_EQ(gauge->PointerID(), c.id);
            EXPECT_EQ(changed.last().at(0).toInt(), c.id);
        } else {
            EXPECT_EQ(gauge->PointerID(), 9);
        }
        EXPECT_EQ(changed.count(), notifications);
    }
    EXPECT_EQ(released.count(), 0);
    gauge->releaseHandle();
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released.first().at(0).toInt(), 0);
    gauge->releaseHandle(); // nothing held any more
    EXPECT_EQ(released.count(), 1);
}

// A drag moves only the handle grabbed (a limit marker, a band's end), with changes while it
// moves and one release at the end.
TEST_F(RoundGaugeTest, MouseDragMovesOnlyTheGrabbedHandleThenReleasesOnce) {
    const auto handles = [&] {
        std::vector<double> all;
        for (int id = 0; id < 4; ++id) {
            all.insert(all.end(),
                       {gauge->pointerStart(id), gauge->pointerStop(id), gauge->pointerValue(id)});
        }
        return all;
    };
    const struct {
        int id;
        Part part;
        double from, to;
    } cases[] = {{3, Part::Value, 60.0, 30.0}, {0, Part::Stop, 60.0, 90.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        QSignalSpy changed(gauge, &RoundGauge::pointerChanged);
        QSignalSpy released(gauge, &RoundGauge::pointerReleased);
        std::vector<double> expected = handles();
        const std::size_t moved = 3 * c.id + (c.part == Part::Stop ? 1 : 2);
        QTest::mousePress(gauge, Qt::LeftButton, {}, gauge->handlePosition(c.id, c.part).toPoint());
        EXPECT_TRUE(gauge->isDragging());
        EXPECT_EQ(changed.count(), 0); // grabbing alone changes nothing
        QTest::mouseMove(gauge, pointFor((c.from + c.to) / 2, c.part));
        QTest::mouseMove(gauge, pointFor(c.to, c.part));
        EXPECT_GE(changed.count(), 2);
        EXPECT_EQ(released.count(), 0);
        QTest::mouseRelease(gauge, Qt::LeftButton, {}, pointFor(c.to, c.part));
        EXPECT_FALSE(gauge->isDragging());
        ASSERT_EQ(released.count(), 1);
        EXPECT_EQ(released.first().at(0).toInt(), c.id);
        EXPECT_EQ(gauge->lastMovedPart(), c.part);
        EXPECT_EQ(gauge->PointerID(), c.id);
        std::vector<double> now = handles();
        EXPECT_NEAR(now[moved], c.to, 1.5);
        now[moved] = expected[moved] = 0.0;
        EXPECT_EQ(now, expected) << "every other handle stays";
    }
}

TEST_F(RoundGaugeTest, ClicksThatMoveNothingAndCancelledDragsReleaseNothing) {
    QSignalSpy changed(gauge, &RoundGauge::pointerChanged);
    QSignalSpy released(gauge, &RoundGauge::pointerReleased);
    // On a handle without moving, then away from every handle.
    QTest::mouseClick(gauge, Qt::LeftButton, {}, gauge->handlePosition(2, Part::Value).toPoint());
    QTest::mousePress(gauge, Qt::LeftButton, {}, gauge->dial().center.toPoint());
    EXPECT_FALSE(gauge->isDragging());
    QTest::mouseMove(gauge, pointFor(0.0, Part::Value));
    QTest::mouseRelease(gauge, Qt::LeftButton, {}, pointFor(0.0, Part::Value));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(released.count(), 0);
    EXPECT_EQ(gauge->pointerValue(2), 20.0);
    // A drag the owner cancels (its write failed) ends without a release.
    QTest::mousePress(gauge, Qt::LeftButton, {}, gauge->handlePosition(2, Part::Value).toPoint());
    QTest::mouseMove(gauge, pointFor(0.0, Part::Value));
    gauge->cancelDrag();
    EXPECT_FALSE(gauge->isDragging());
    QTest::mouseRelease(gauge, Qt::LeftButton, {}, pointFor(0.0, Part::Value));
    EXPECT_EQ(released.count(), 0);
}

TEST_F(RoundGaugeTest, KeyboardSelectsHandlesWithTabAndMovesThemWithArrows) {
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Backtab); // into the gauge from below: its last handle
    ASSERT_TRUE(gauge->hasFocus());
    ASSERT_TRUE(gauge->keyboardHandle());
    EXPECT_EQ(gauge->keyboardHandle()->pointer, 3);

    other->setFocus();
    QTest::keyClick(other, Qt::Key_Tab); // round to the gauge from above: its first handle
    const struct {
        int pointer;
        Part part;
    } order[] = {{0, Part::Start}, {0, Part::Stop}, {2, Part::Value}, {3, Part::Value}};
    for (const auto& expected : order) {
        ASSERT_TRUE(gauge->hasFocus());
        EXPECT_EQ(gauge->keyboardHandle()->pointer, expected.pointer);
        EXPECT_EQ(gauge->keyboardHandle()->part, expected.part);
        QTest::keyClick(gauge, Qt::Key_Tab);
    }
    EXPECT_TRUE(other->hasFocus()); // after the last handle Tab leaves the gauge

    gauge->setFocus(Qt::BacktabFocusReason);
    QSignalSpy changed(gauge, &RoundGauge::pointerChanged);
    QSignalSpy released(gauge, &RoundGauge::pointerReleased);
    const struct {
        Qt::Key key;
        double high;
    } moves[] = {{Qt::Key_Up, 61.0},     {Qt::Key_Right, 62.0}, {Qt::Key_Down, 61.0},
                 {Qt::Key_PageUp, 71.0}, {Qt::Key_Left, 70.0},  {Qt::Key_PageDown, 60.0}};
    int presses = 0;
    for (const auto& m : moves) {
        QTest::keyClick(gauge, m.key);
        ++presses;
        EXPECT_EQ(gauge->pointerValue(3), m.high) << m.key;
        EXPECT_EQ(changed.count(), presses);
        EXPECT_EQ(released.count(), presses); // each key's release lets go
        EXPECT_EQ(released.last().at(0).toInt(), 3);
    }
}

TEST_F(RoundGaugeTest, KeyboardStepsLandOnWholeSteps) {
    gauge->setPointerID(2);
    gauge->setPointerValue(19.84);
    gauge->setFocus(Qt::TabFocusReason);
    QTest::keyClick(gauge, Qt::Key_Tab);
    QTest::keyClick(gauge, Qt::Key_Tab); // band start, band stop, low limit
    ASSERT_EQ(gauge->keyboardHandle()->pointer, 2);
    QTest::keyClick(gauge, Qt::Key_Up);
    EXPECT_EQ(gauge->pointerValue(2), 20.0);
    gauge->setPointerValue(19.84);
    QTest::keyClick(gauge, Qt::Key_Down);
    EXPECT_EQ(gauge->pointerValue(2), 19.0);
    gauge->setKeyboardStep(5.0);
    QTest::keyClick(gauge, Qt::Key_PageUp); // to the next whole step, then nine more
    EXPECT_EQ(gauge->pointerValue(2), 65.0);
    QTest::keyClick(gauge, Qt::Key_Up);
    EXPECT_EQ(gauge->pointerValue(2), 70.0);
}

TEST_F(RoundGaugeTest, GeometryScalesWithTheWidget) {
    window.resize(300, 340);
    QCoreApplication::processEvents();
    const gauge::DialFrame small = gauge->dial();
    const QPointF smallTip = gauge->handlePosition(3, Part::Value) - small.center;
    window.resize(600, 680);
    QCoreApplication::processEvents();
    const gauge::DialFrame large = gauge->dial();
    const QPointF largeTip = gauge->handlePosition(3, Part::Value) - large.center;
    ASSERT_GT(small.radius, 50.0);
    EXPECT_GT(large.radius, 1.8 * small.radius);
    // Same direction, distance in proportion to the radius.
    EXPECT_NEAR(gauge::angleOfPoint({}, largeTip), gauge::angleOfPoint({}, smallTip), 1e-6);
    EXPECT_NEAR(QLineF({}, largeTip).length() / large.radius,
                QLineF({}, smallTip).length() / small.radius, 1e-6);
    // The dial stays inside the widget and leaves room for the hint line.
    gauge->setHintText(QStringLiteral("Drag the pointers to change the limits"));
    const gauge::DialFrame withHint = gauge->dial();
    EXPECT_LE(withHint.center.y() + withHint.radius, gauge->height() - 9.0);
}

TEST_F(RoundGaugeTest, NeedlePinsToTheScaleEndWhenTheReadingIsBeyondIt) {
    // Render the needle beyond the maximum and at the maximum: the pictures are the same.
    gauge->setCaption(QString());
    gauge->setReading(127.0);
    const QImage atEnd = gauge->grab().toImage();
    gauge->setReading(400.0);
    const QImage beyond = gauge->grab().toImage();
    gauge->setReading(0.0);
    const QImage middle = gauge->grab().toImage();
    EXPECT_EQ(atEnd, beyond);
    EXPECT_NE(atEnd, middle);
    EXPECT_EQ(gauge->reading(), 0.0);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// A poller sets every property on every reading: only a real change may cost a paint, and the
// face and scale are drawn again only for a new size or scale.
TEST_F(RoundGaugeTest, RepaintsOnlyWhatChangedAndDrawsTheFaceOncePerSize) {
    gauge->setCaption(QStringLiteral(" 25C"));
    gauge->setReading(25.0);
    gauge->setHintText(QStringLiteral("Drag the pointers to change the limits"));
    gauge->setUnit(QStringLiteral("C"));
    QCoreApplication::processEvents();
    PaintCounter counter(gauge);
    const int builds = gauge->cachedLayerBuilds();
    const struct {
        const char* what;
        std::function<void()> act;
        bool paints;
    } steps[] = {
        {"same reading and caption",
         [&] {
             gauge->setReading(25.0);
             gauge->setCaption(QStringLiteral(" 25C"));
         },
         false},
        {"same limits and bands", [&] { setLimits(20.0, 60.0); }, false},
        {"same scale, unit and hint",
         [&] {
             gauge->setScale(-128.0, 127.0);
             gauge->setUnit(QStringLiteral("C"));
             gauge->setHintText(QStringLiteral("Drag the pointers to change the limits"));
         },
         false},
        {"same pointer set up",
         [&] {
             gauge->configurePointer(2, Kind::Marker, true, Qt::blue, QStringLiteral("low limit"));
         },
         false},
        {"a new reading", [&] { gauge->setReading(26.0); }, true},
        {"a new caption", [&] { gauge->setCaption(QStringLiteral(" 26C")); }, true},
        {"a new limit", [&] { setLimits(20.0, 61.0); }, true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        counter.paints = 0;
        step.act();
        QCoreApplication::processEvents();
        EXPECT_EQ(counter.paints > 0, step.paints);
    }
    EXPECT_EQ(gauge->cachedLayerBuilds(), builds) << "readings and limits reuse the face";
    window.resize(window.width() + 40, window.height() + 40);
    QCoreApplication::processEvents();
    EXPECT_EQ(gauge->cachedLayerBuilds(), builds + 1);
    gauge->setScale(0.0, 5000.0);
    QCoreApplication::processEvents();
    EXPECT_EQ(gauge->cachedLayerBuilds(), builds + 2);
    // The cached picture is the one drawn afresh.
    const QImage cached = gauge->grab().toImage();
    gauge->setUnit(QStringLiteral("RPM"));
    gauge->setUnit(QStringLiteral("C"));
    EXPECT_EQ(gauge->grab().toImage(), cached);
    EXPECT_EQ(gauge->cachedLayerBuilds(), builds + 3);
}

} // namespace
} // namespace qmf
