// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/frmMain.h"

#include "core/link/LinkErrors.h"
#include "core/measure/Temperature.h"
#include "core/text/Twips.h"
#include "gui/services/RefreshableView.h"
#include "gui/support/TestContext.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <utility>

namespace qmf::test {

// Views as the window registry creates them, T(AppContext&).
class RefreshingView final : public QWidget, public RefreshableView {
    Q_OBJECT
public:
    explicit RefreshingView(AppContext&) {}
    void refreshView() override {
        ++refreshes;
        if (std::exchange(failNextRefresh, false)) {
            throw LinkError(QStringLiteral("ReadByte"), QStringLiteral("test board"), 0x5E, 0x20,
                            QStringLiteral("injected failure"));
        }
    }
    int refreshes = 0;
    bool failNextRefresh = false;
};

// A view that cannot refresh, larger than any main window.
class BigView final : public QWidget {
    Q_OBJECT
public:
    explicit BigView(AppContext&) { setMinimumSize(2400, 1600); }
};

namespace {

// The main window on the recording board, its settings in a temporary folder. The openers of
// the windows the menus and the tool bar open record the name; "Register_List" shows a view.
class FrmMainTest : public ::testing::Test {
protected:
    FrmMainTest() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        for (const char* name : {"AutoSet", "Register_List", "ChipLayoutForm", "GraphFRM",
                                 "BargraphForm", "BoardControlFRM", "WizardListFRM"}) {
            t.ctx.openers.insert(QLatin1String(name), [this, name] {
                opened << QLatin1String(name);
                if (opened.last() == QLatin1String("Register_List")) {
                    t.windows.show<RefreshingView>(t.ctx);
                }
            });
        }
    }
    ~FrmMainTest() override { t.windows.destroyAll(); }

    frmMain& createMain() { return t.windows.get<frmMain>(t.ctx); }
    template <class T = QAction> static T* child(QObject& parent, const char* name) {
        T* found = parent.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void store(const char* left, const char* top) {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/MainLeft"), QLatin1String(left));
        settings.setValue(QStringLiteral("Settings/MainTop"), QLatin1String(top));
    }
    QString stored(const char* key) const {
        return QSettings(file, QSettings::IniFormat)
            .value(QStringLiteral("Settings/") + QLatin1String(key))
            .toString();
    }
    // Where a position in twips lands on this screen.
    static QPoint pixels(const QWidget& window, double left, double top) {
        return {text::twipsToPixels(left, window.logicalDpiX()),
                text::twipsToPixels(top, window.logicalDpiY())};
    }

    QTemporaryDir settingsDir; // instead of the user's settings
    // The position is kept per user under the application's name, section "Settings".
    const QString file = settingsDir.filePath(QStringLiteral("QMF4150 Evaluation Software.conf"));
    TestContext t{TestContext::Recording};
    QStringList opened;
};

TEST_F(FrmMainTest, EveryToolsItemAndToolbarButtonOpensItsWindowOnceAndTheToolbarCanHide) {
    frmMain& main = createMain();
    main.show();
    const struct {
        const char* control;
        const char* window;
    } cases[] = {
        {"mnuAutoSet", "AutoSet"},        {"mnuRegList", "Register_List"},
        {"mnuChip", "ChipLayoutForm"},    {"mnuStrip", "GraphFRM"},
        {"mnuBargraphs", "BargraphForm"}, {"mnuHeaters", "BoardControlFRM"},
        {"mnuWizard", "WizardListFRM"},   {"GlobalSettings", "Register_List"},
        {"ChipLayout", "ChipLayoutForm"}, {"Graph", "GraphFRM"},
        {"BarGraph", "BargraphForm"},     {"Wizard", "WizardListFRM"},
    };
    auto* toolbar = child<QToolBar>(main, "tbToolBar");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        opened.clear();
        QAction* item = child(main, c.control);
        if (QWidget* button = toolbar->widgetForAction(item)) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            item->trigger();
        }
        EXPECT_EQ(opened, QStringList{QLatin1String(c.window)});
    }
    // The register list was chosen twice: one window.
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(main.mdiArea()->activeSubWindow()->widget(), t.windows.find<RefreshingView>());
    opened.clear();
    for (const char* key : {"globalsettings", "GLOBALSETTINGS", "Other", ""}) {
        main.toolbarButtonClick(QLatin1String(key)); // keys are compared case-sensitively
    }
    EXPECT_TRUE(opened.isEmpty());
    // The File menu's commands ask for a file; cancelled, nothing else happens.
    child(main, "mnuSave")->trigger();
    child(main, "mnuLoad")->trigger();
    EXPECT_EQ(t.dialogs.fileRequests.size(), 2);
    EXPECT_TRUE(t.dialogs.messages.isEmpty());

    QAction* item = child(main, "mnuViewToolbar");
    for (bool shown : {false, true}) {
        item->trigger();
        EXPECT_EQ(item->isChecked(), shown);
        EXPECT_EQ(toolbar->isVisible(), shown);
    }
}

TEST_F(FrmMainTest, WindowMenuListsActivatesAndArrangesTheChildWindows) {
    frmMain& main = createMain();
    main.resize(900, 700);
    main.show();
    QMdiArea* area = main.mdiArea();
    child(main, "mnuWindowTileVertical")->trigger(); // nothing to tile
    QList<QMdiSubWindow*> subs;
    for (const char* title : {"One", "Two & Three", "Four"}) {
        subs << area->addSubWindow(new QWidget);
        subs.last()->setWindowTitle(QLatin1String(title));
        subs.last()->show();
    }
    auto* menu = child<QMenu>(main, "mnuWindow");
    auto listed = [&] {
        emit menu->aboutToShow();
        QStringList entries;
        for (QAction* entry : menu->actions()) {
            if (entry->objectName() == QLatin1String("mnuWindowList")) {
                entries << entry->text() + (entry->isChecked() ? QStringLiteral(" *") : QString());
            }
        }
        return entries;
    };
    EXPECT_EQ(listed(), QStringList({"&1 One", "&2 Two && Three", "&3 Four *"}));
    for (QAction* entry : menu->actions()) {
        if (entry->text() == QLatin1String("&1 One")) {
            entry->trigger();
        }
    }
    EXPECT_EQ(area->activeSubWindow(), subs[0]);
    EXPECT_EQ(listed(), QStringList({"&1 One *", "&2 Two && Three", "&3 Four"}));

    // Horizontal tiles are stacked, each as wide as the area; vertical ones stand side by side.
    // Seen through `flip`, both are stacked and cover the area without gaps.
    const QRect viewport = area->viewport()->rect();
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        auto flip = [orientation](const QRect& r) {
            return orientation == Qt::Horizontal ? r : QRect(r.y(), r.x(), r.height(), r.width());
        };
        child(main,
              orientation == Qt::Horizontal ? "mnuWindowTileHorizontal" : "mnuWindowTileVertical")
            ->trigger();
        int next = 0;
        for (QMdiSubWindow* sub : subs) {
            const QRect r = flip(sub->geometry());
            EXPECT_EQ(QRect(0, next, flip(viewport).width(), r.height()), r) << orientation;
            EXPECT_GE(r.height(), flip(viewport).height() / 3);
            next = r.bottom() + 1;
        }
        EXPECT_EQ(next, flip(viewport).bottom() + 1);
    }

    // Scattered icons line up along the bottom; tiling then leaves their row free.
    subs[0]->showMinimized();
    subs[2]->showMinimized();
    subs[0]->move(300, 100);
    subs[2]->move(20, 40);
    child(main, "mnuWindowArrangeIcons")->trigger();
    EXPECT_EQ(subs[0]->geometry().bottomLeft(), QPoint(0, viewport.bottom()));
    EXPECT_EQ(subs[2]->geometry().bottomLeft(), QPoint(subs[0]->width(), viewport.bottom()));
    child(main, "mnuWindowTileHorizontal")->trigger();
    EXPECT_EQ(subs[1]->geometry(), QRect(0, 0, viewport.width(), subs[0]->y()));
}

TEST_F(FrmMainTest, ViewsOpenInViewRefreshOnceReportFailuresAndCloseOnExit) {
    QPointer<frmMain> main = &createMain();
    main->show();
    EXPECT_TRUE(main->screen()->availableGeometry().contains(main->geometry()));
    QPointer<RefreshingView> view = &t.windows.show<RefreshingView>(t.ctx);
    QPointer<QWidget> other = &t.windows.show<BigView>(t.ctx);
    EXPECT_GE(other->parentWidget()->x(), 0) << "a huge view opens with its title in view";
    EXPECT_GE(other->parentWidget()->y(), 0);
    child(*main, "mnuViewRefresh")->trigger();
    EXPECT_EQ(view->refreshes, 1);
    EXPECT_TRUE(t.dialogs.messages.isEmpty());

    view->failNextRefresh = true;
    child(*main, "mnuViewRefresh")->trigger();
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_TRUE(t.dialogs.messages[0].text.contains(QStringLiteral("injected failure")));
    EXPECT_TRUE(child<QStatusBar>(*main, "StatusBar1")
                    ->currentMessage()
                    .contains(QStringLiteral("injected failure")));
    // A window that fails to load from the tool bar is reported the same way.
    t.ctx.openers[QStringLiteral("BargraphForm")] = [] {
        throw LinkError(QStringLiteral("ReadByte"), QStringLiteral("test board"), 0x5E, 0x90,
                        QStringLiteral("bus stuck"));
    };
    child(*main, "BarGraph")->trigger();
    ASSERT_EQ(t.dialogs.messages.size(), 2);
    EXPECT_TRUE(t.dialogs.messages[1].text.contains(QStringLiteral("bus stuck")));
    // The program goes on.
    child(*main, "mnuViewRefresh")->trigger();
    EXPECT_EQ(view->refreshes, 3);
    EXPECT_EQ(t.dialogs.messages.size(), 2);

    child(*main, "mnuFileExit")->trigger();
    flushDeletes();
    EXPECT_TRUE(main.isNull() && view.isNull() && other.isNull());
    EXPECT_TRUE(t.windows.windows().isEmpty());
}

TEST_F(FrmMainTest, AboutBoxShowsTitleAndVersionModallyUntilOk) {
    frmMain& main = createMain();
    main.show();
    EXPECT_EQ(child(main, "mnuHelpAbout")->text(), QStringLiteral("&About ")); // with its blank
    auto openAbout = [&] {
        child(main, "mnuHelpAbout")->trigger();
        return main.aboutBox();
    };
    frmAbout* about = openAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->parentWidget(), &main);
    EXPECT_EQ(about->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About QMF4150_Evaluation_Software"));
    EXPECT_EQ(child<QLabel>(*about, "lblTitle")->text(),
              QStringLiteral("QMF4150 Evaluation Software"));
    EXPECT_EQ(child<QLabel>(*about, "lblVersion")->text(), QStringLiteral("Version 3.0.4"));
    EXPECT_EQ(openAbout(), about) << "a second choice brings up the same box";

    QPointer<frmAbout> shown = about;
    QTest::mouseClick(child<QPushButton>(*about, "cmdOK"), Qt::LeftButton);
    flushDeletes();
    EXPECT_TRUE(shown.isNull() || !shown->isVisible());
    EXPECT_TRUE(main.isVisible());
}

TEST_F(FrmMainTest, LoadBindsTheChannelsAndPlacesTheWindowWhereItWasClosedUnlessMinimised) {
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

TEST_F(FrmMainTest, ClosingWithoutMovingStoresThePositionAsItWasRead) {
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

TEST_F(FrmMainTest, UnusableStoredValuesOpenTheWindowAtTheDefault) {
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

#include "frmMainTest.moc"
