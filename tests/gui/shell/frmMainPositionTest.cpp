// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's position: restored on load, stored on close.
#include "FrmMainFixture.h"
#include "core/measure/Temperature.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

namespace qmf::test {
namespace {

using FrmMainPosition = FrmMainFixture;

TEST_F(FrmMainPosition, LoadBindsTheChannelsAndPlacesTheWindowWhereItWasClosedUnlessMinimised) {
    Temperature* channels[] = {&t.state.IntTemp(), &t.state.ExtTemp0(), &t.state.ExtTemp1()};
    for (Temperature* channel : channels) {
        channel->setMaxAddressPointer(0);
        channel->setMinAddressPointer(0);
        channel->setValueAddressPointer(0);
    }
    frmMain& main = createMain();
    QList<int> pointers; // max, min, value of each channel
    for (const Temperature* channel : channels) {
        pointers << channel->MaxAddressPointer() << channel->MinAddressPointer()
                 << channel->ValueAddressPointer();
    }
    EXPECT_EQ(pointers, QList<int>({0x90, 0x98, 0xA0, 0x91, 0x99, 0xA1, 0x92, 0x9A, 0xA2}));
    EXPECT_EQ(main.pos(), pixels(main, 1000, 1000)) << "the first run";
    main.move(150, 120);
    main.close();
    flushDeletes();

    frmMain& again = createMain();
    EXPECT_EQ(again.pos(), QPoint(150, 120));
    const QStringList before = {stored("MainLeft"), stored("MainTop")};
    again.move(40, 30);
    again.setWindowState(Qt::WindowMinimized);
    again.close();
    EXPECT_EQ(QStringList({stored("MainLeft"), stored("MainTop")}), before);
}

TEST_F(FrmMainPosition, ClosingWithoutMovingStoresThePositionAsItWasRead) {
    // At common DPIs 1000 twips is not a whole number of pixels (66.67 at 96 DPI): the position
    // must not come back as the pixel's twips (1005).
    const struct {
        const char* left; // stored before the run; null: nothing stored
        const char* top;
        int moveX, moveY; // pixels the user moves the window by
        const char* storedLeft;
        const char* storedTop;
    } cases[] = {
        {nullptr, nullptr, 0, 0, "1000", "1000"}, // the first run
        {"1234.5", "2000", 0, 0, "1234.5", "2000"},
        {"abc", "2000", 0, 0, "1000", "2000"},      // the default that was used
        {"1000", "99999999", 0, 0, "1000", "1000"}, // off every screen: the default
        {"1000", "1000", 30, 0, nullptr, "1000"},   // moved sideways: only the left is new
        {"1000", "1000", 0, 45, "1000", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.left << " / " << c.top << " moved " << c.moveX << "," << c.moveY);
        QFile::remove(file);
        if (c.left) {
            store(c.left, c.top);
        }
        QPointer<frmMain> main = &createMain();
        main->show();
        main->move(main->pos() + QPoint(c.moveX, c.moveY));
        const QPoint moved = main->pos();
        main->close();
        flushDeletes();
        ASSERT_TRUE(main.isNull());
        const auto twips = [](int pixels, double dpi) {
            return QString::number(float(text::pixelsToTwips(pixels, dpi)), 'g', 7);
        };
        const double dpiX = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
        const double dpiY = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
        EXPECT_EQ(stored("MainLeft"),
                  c.storedLeft ? QLatin1String(c.storedLeft) : twips(moved.x(), dpiX));
        EXPECT_EQ(stored("MainTop"),
                  c.storedTop ? QLatin1String(c.storedTop) : twips(moved.y(), dpiY));
    }
}

TEST_F(FrmMainPosition, UnusableStoredValuesOpenTheWindowAtTheDefault) {
    const struct {
        const char* left;
        const char* top;
        double expectedLeft, expectedTop; // twips
    } cases[] = {
        {"abc", "2000", 1000, 2000},      // only the bad coordinate takes its default
        {"nan", "1,000", 1000, 1000},     //
        {"99999999", "1000", 1000, 1000}, // right of every screen
        {"-90000", "1000", 1000, 1000},   // left of every screen
        {"1000", "-2000", 1000, 1000},    // title bar above the screen
        {"1000", "1e7", 1000, 1000},      // below every screen
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << " / " << c.top);
        store(c.left, c.top);
        frmMain& main = createMain();
        EXPECT_EQ(main.pos(), pixels(main, c.expectedLeft, c.expectedTop));
        t.windows.destroyAll();
    }
}

} // namespace
} // namespace qmf::test
