// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/ToggleIndicator.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace qmf {
namespace {

// The colour at the middle of the lamp, which sits at the left end of the indicator.
QColor lampColour(ToggleIndicator& indicator) {
    const QImage image = indicator.grab().toImage();
    const int side = image.height() - 6;
    return image.pixelColor(2 + side / 2 + side / 5, image.height() / 2 + side / 5);
}

TEST(ToggleIndicator, ShowsTheTextOfItsSixteenBitBooleanValue) {
    ToggleIndicator indicator(QStringLiteral("GPIO 0 High"), QStringLiteral("GPIO 0 Low"));
    const struct {
        qint16 value;
        const char* text;
        bool isTrue;
    } cases[] = {{0, "GPIO 0 Low", false},
                 {-1, "GPIO 0 High", true},
                 {1, "GPIO 0 High", true}, // any non-zero value counts as True
                 {0, "GPIO 0 Low", false}};
    for (const auto& c : cases) {
        indicator.setValue(c.value);
        EXPECT_EQ(indicator.Value(), c.value);
        EXPECT_EQ(indicator.isTrue(), c.isTrue);
        EXPECT_EQ(indicator.text(), QLatin1String(c.text)) << c.value;
        EXPECT_EQ(indicator.accessibleDescription(), QLatin1String(c.text)) << c.value;
    }
}

TEST(ToggleIndicator, LampTakesTheColourOfTheStateAndGreysOutWhenNotDriven) {
    ToggleIndicator indicator(QStringLiteral("Fault 0"), QStringLiteral("Fan 0 OK"));
    indicator.setColors(QColor(220, 40, 30), QColor(40, 180, 70));
    indicator.resize(indicator.sizeHint());
    indicator.setValue(-1);
    const QColor lit = lampColour(indicator);
    EXPECT_GT(lit.red(), 2 * lit.green()) << lit.name().toStdString();
    indicator.setValue(0);
    const QColor ok = lampColour(indicator);
    EXPECT_GT(ok.green(), 2 * ok.red()) << ok.name().toStdString();
    indicator.setEnabled(false);
    const QColor grey = lampColour(indicator);
    EXPECT_LT(std::abs(grey.red() - grey.green()), 24) << grey.name().toStdString();
    EXPECT_TRUE(indicator.toolTip().contains(QStringLiteral("not read")));
}

// Before anything was read for it an indicator claims no state: grey, its name only. The first
// value, even the one it held, makes it known.
TEST(ToggleIndicator, AnUnknownIndicatorIsGreyWithoutAStateUntilItsFirstValue) {
    ToggleIndicator indicator(QStringLiteral("GPIO 3 High"), QStringLiteral("GPIO 3 Low"));
    indicator.setColors(QColor(40, 180, 70), QColor(220, 40, 30));
    indicator.setUnknown(QStringLiteral("GPIO 3"));
    indicator.resize(indicator.sizeHint());
    QSignalSpy changes(&indicator, &ToggleIndicator::valueChanged);
    EXPECT_FALSE(indicator.isKnown());
    EXPECT_EQ(indicator.text(), QStringLiteral("GPIO 3"));
    EXPECT_EQ(indicator.accessibleDescription(), QStringLiteral("GPIO 3"));
    EXPECT_TRUE(indicator.toolTip().contains(QStringLiteral("not read yet")));
    const QColor grey = lampColour(indicator);
    EXPECT_LT(std::abs(grey.red() - grey.green()), 24) << grey.name().toStdString();
    indicator.setValue(0);
    EXPECT_TRUE(indicator.isKnown());
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(indicator.text(), QStringLiteral("GPIO 3 Low"));
    const QColor low = lampColour(indicator);
    EXPECT_GT(low.red(), 2 * low.green()) << low.name().toStdString();
    indicator.setValue(0);
    EXPECT_EQ(changes.count(), 1) << "the same value again is no change";
    indicator.setUnknown(QStringLiteral("GPIO 3"));
    EXPECT_EQ(indicator.text(), QStringLiteral("GPIO 3"));
}

} // namespace
} // namespace qmf
