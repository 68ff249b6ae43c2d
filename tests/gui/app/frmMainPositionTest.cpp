// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Twips.h"
#include "gui/app/AppVersion.h"
#include "gui/app/SettingsSandbox.h"
#include "gui/app/SettingsStore.h"
#include "gui/app/WindowPlacement.h"
#include "gui/app/frmMain.h"
#include "gui/support/TestContext.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

class FrmMainPositionTest : public ::testing::Test {
protected:
    void TearDown() override { t.windows.destroyAll(); }

    frmMain& createMain() { return t.windows.get<frmMain>(t.ctx); }

    void store(const QString& left, const QString& top) {
        SettingsStore settings(applicationTitle());
        ASSERT_TRUE(
            settings.setValue(QStringLiteral("Settings"), QStringLiteral("MainLeft"), left));
        ASSERT_TRUE(settings.setValue(QStringLiteral("Settings"), QStringLiteral("MainTop"), top));
    }
    QString stored(const char* key) const {
        return SettingsStore(applicationTitle())
            .value(QStringLiteral("Settings"), QLatin1String(key), QStringLiteral("<none>"));
    }
    // Where a position in twips lands on this screen.
    static QPoint pixels(const QWidget& window, double left, double top) {
        return {text::twipsToPixels(left, window.logicalDpiX()),
                text::twipsToPixels(top, window.logicalDpiY())};
    }
    void closeMain(frmMain& main) {
        main.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    SettingsSandbox sandbox;
    TestContext t{TestContext::Recording};
};

TEST_F(FrmMainPositionTest, FirstRunOpensAt1000TwipsAndStoresThePositionOnClose) {
    frmMain& main = createMain();
    EXPECT_EQ(main.pos(), pixels(main, 1000, 1000));
    const double twipsPerPixel = text::TwipsPerInch / main.logicalDpiX();
    closeMain(main);

    const auto left = placement::parseTwips(stored("MainLeft"));
    const auto top = placement::parseTwips(stored("MainTop"));
    ASSERT_TRUE(left && top) << stored("MainLeft").toStdString();
    EXPECT_NEAR(*left, 1000, twipsPerPixel);
    EXPECT_NEAR(*top, 1000, twipsPerPixel);

    // Kept per user under the application's name, section "Settings".
    QFile file(sandbox.dir().filePath(QStringLiteral("QMF4150 Evaluation Software.conf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(content.contains(QStringLiteral("[Settings]")));
    EXPECT_TRUE(content.contains(QStringLiteral("MainLeft=") + stored("MainLeft")));
}

TEST_F(FrmMainPositionTest, TheStoredPositionIsRestoredAndAMovedWindowRemembered) {
    store(QStringLiteral("3000"), QStringLiteral("2250"));
    frmMain& main = createMain();
    EXPECT_EQ(main.pos(), pixels(main, 3000, 2250));

    main.move(150, 120);
    closeMain(main);
    frmMain& again = createMain();
    EXPECT_EQ(again.pos(), QPoint(150, 120));
}

TEST_F(FrmMainPositionTest, ClosingWhileMinimisedKeepsTheStoredPosition) {
    store(QStringLiteral("3000"), QStringLiteral("2250"));
    frmMain& main = createMain();
    main.move(40, 30);
    main.setWindowState(Qt::WindowMinimized);
    closeMain(main);
    EXPECT_EQ(stored("MainLeft"), QStringLiteral("3000"));
    EXPECT_EQ(stored("MainTop"), QStringLiteral("2250"));
}

TEST_F(FrmMainPositionTest, UnusableStoredValuesOpenTheWindowAtTheDefault) {
    const struct {
        const char* left;
        const char* top;
        double expectedLeft, expectedTop; // twips
    } cases[] = {
        {"abc", "2000", 1000, 2000},      // the bad coordinate takes its default
        {"2000", "", 2000, 1000},         //
        {"nan", "inf", 1000, 1000},       //
        {"99999999", "1000", 1000, 1000}, // right of every screen
        {"-90000", "1000", 1000, 1000},   // left of every screen
        {"1000", "-2000", 1000, 1000},    // title bar above the screen
        {"1000", "1e7", 1000, 1000},      // below every screen
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << " / " << c.top);
        store(QLatin1String(c.left), QLatin1String(c.top));
        frmMain& main = createMain();
        EXPECT_EQ(main.pos(), pixels(main, c.expectedLeft, c.expectedTop));
        t.windows.destroyAll();
    }
}

} // namespace
} // namespace qmf::test
