// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/app/frmMain.h"

#include "core/measure/Temperature.h"
#include "gui/app/FakeViews.h"
#include "gui/app/MdiArrangement.h"
#include "gui/app/SettingsSandbox.h"
#include "gui/support/TestContext.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

const QStringList WindowNames = {"AutoSet",      "Register_List",   "ChipLayoutForm", "GraphFRM",
                                 "BargraphForm", "BoardControlFRM", "WizardListFRM"};

class FrmMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const QString& name : WindowNames) {
            t.ctx.openers.insert(name, [this, name] { opened << name; });
        }
    }
    void TearDown() override { t.windows.destroyAll(); }

    frmMain& createMain() { return t.windows.get<frmMain>(t.ctx); }

    QAction* action(frmMain& main, const char* name) {
        auto* found = main.findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    SettingsSandbox settings;
    TestContext t{TestContext::Recording};
    QStringList opened;
};

TEST_F(FrmMainTest, MenusHaveTheirCaptionsNamesAndAccessKeys) {
    frmMain& main = createMain();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("QMF4150 Evaluation Software"));
    const struct {
        const char* menu;
        const char* title;
        QStringList items; // objectName=caption, in order; separators as "-"
    } menus[] = {
        {"mnuFile",
         "&File",
         {"mnuSave=Save Settings to File", "mnuLoad=Load Settings From File", "-",
          "mnuFileExit=E&xit"}},
        {"mnuTools",
         "&Tools",
         {"mnuAutoSet=&Automatically setup the evalboard", "mnuRegList=&Register List",
          "mnuChip=&Chip Layout", "mnuStrip=&Strip Chart", "mnuBargraphs=&Bargraphs with Limits",
          "mnuHeaters=&Heaters", "mnuWizard=Wi&zard"}},
        {"mnuView", "&View", {"mnuViewToolbar=&Toolbar", "-", "mnuViewRefresh=&Refresh"}},
        {"mnuWindow",
         "&Window",
         {"mnuWindowCascade=&Cascade", "mnuWindowTileHorizontal=Tile &Horizontal",
          "mnuWindowTileVertical=Tile &Vertical", "mnuWindowArrangeIcons=&Arrange Icons"}},
        {"mnuHelp", "&Help", {"mnuHelpAbout=&About "}},
    };
    const QList<QAction*> bar = main.menuBar()->actions();
    ASSERT_EQ(bar.size(), 5);
    for (qsizetype m = 0; m < bar.size(); ++m) {
        const auto& expected = menus[m];
        QMenu* menu = bar[m]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), QLatin1String(expected.menu));
        EXPECT_EQ(menu->title(), QLatin1String(expected.title));
        QStringList items;
        for (QAction* item : menu->actions()) {
            items << (item->isSeparator() ? QStringLiteral("-")
                                          : item->objectName() + QLatin1Char('=') + item->text());
        }
        EXPECT_EQ(items, expected.items) << expected.menu;
    }
    EXPECT_NE(main.findChild<QAction*>(QStringLiteral("mnuViewBar0")), nullptr);
    EXPECT_TRUE(action(main, "mnuViewToolbar")->isCheckable());
    EXPECT_TRUE(action(main, "mnuViewToolbar")->isChecked());
    EXPECT_NE(main.findChild<QStatusBar*>(QStringLiteral("StatusBar1")), nullptr);
}

TEST_F(FrmMainTest, ToolbarHasFiveButtonsWithKeysAndToolTips) {
    frmMain& main = createMain();
    auto* toolbar = main.findChild<QToolBar*>(QStringLiteral("tbToolBar"));
    ASSERT_NE(toolbar, nullptr);
    QStringList buttons;
    for (QAction* button : toolbar->actions()) {
        buttons << button->property("Key").toString() + QLatin1Char('=') + button->toolTip();
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_FALSE(button->text().isEmpty()) << "the accessible name comes from the text";
    }
    EXPECT_EQ(buttons,
              QStringList({"GlobalSettings=Global Register Access", "ChipLayout=Chip Layout",
                           "Graph=Graph Data", "BarGraph=Bargraph Data", "Wizard=Fan Wizard"}));
}

TEST_F(FrmMainTest, EveryMenuItemAndToolbarButtonOpensItsWindow) {
    frmMain& main = createMain();
    main.show();
    auto* toolbar = main.findChild<QToolBar*>(QStringLiteral("tbToolBar"));
    const struct {
        const char* control;
        bool toolbarButton;
        const char* window;
    } cases[] = {
        {"mnuAutoSet", false, "AutoSet"},        {"mnuRegList", false, "Register_List"},
        {"mnuChip", false, "ChipLayoutForm"},    {"mnuStrip", false, "GraphFRM"},
        {"mnuBargraphs", false, "BargraphForm"}, {"mnuHeaters", false, "BoardControlFRM"},
        {"mnuWizard", false, "WizardListFRM"},   {"GlobalSettings", true, "Register_List"},
        {"ChipLayout", true, "ChipLayoutForm"},  {"Graph", true, "GraphFRM"},
        {"BarGraph", true, "BargraphForm"},      {"Wizard", true, "WizardListFRM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        opened.clear();
        QAction* item = action(main, c.control);
        ASSERT_NE(item, nullptr);
        if (c.toolbarButton) {
            QWidget* button = toolbar->widgetForAction(item);
            ASSERT_NE(button, nullptr);
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            item->trigger();
        }
        EXPECT_EQ(opened, QStringList{QLatin1String(c.window)});
    }
    EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

TEST_F(FrmMainTest, ToolbarKeysAreComparedCaseSensitively) {
    frmMain& main = createMain();
    for (const char* key : {"globalsettings", "GLOBALSETTINGS", "Other", ""}) {
        main.toolbarButtonClick(QLatin1String(key));
    }
    EXPECT_TRUE(opened.isEmpty());
    main.toolbarButtonClick(QStringLiteral("BarGraph"));
    EXPECT_EQ(opened, QStringList{QStringLiteral("BargraphForm")});
}

TEST_F(FrmMainTest, ChoosingAWindowTwiceShowsOneInstance) {
    t.ctx.openers[QStringLiteral("Register_List")] = [this] {
        t.windows.show<RefreshingView>(t.ctx);
    };
    frmMain& main = createMain();
    main.show();
    action(main, "mnuRegList")->trigger();
    RefreshingView* first = t.windows.find<RefreshingView>();
    ASSERT_NE(first, nullptr);
    action(main, "mnuRegList")->trigger();
    action(main, "GlobalSettings")->trigger();
    EXPECT_EQ(t.windows.find<RefreshingView>(), first);
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(main.mdiArea()->activeSubWindow()->widget(), first);
}

TEST_F(FrmMainTest, TheWindowFitsTheScreenAndAHugeViewOpensWithItsTitleInView) {
    frmMain& main = createMain();
    main.show();
    const QRect screen = main.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(main.geometry())) << "the main window fits the screen";
    BigView& view = t.windows.show<BigView>(t.ctx);
    const QWidget* sub = view.parentWidget();
    ASSERT_NE(sub, nullptr);
    EXPECT_GE(sub->x(), 0);
    EXPECT_GE(sub->y(), 0);
}

TEST_F(FrmMainTest, ItemsWithoutAWindowInThisBuildAreDisabled) {
    t.ctx.openers.remove(QStringLiteral("GraphFRM"));
    frmMain& main = createMain();
    EXPECT_FALSE(action(main, "mnuStrip")->isEnabled());
    EXPECT_FALSE(action(main, "Graph")->isEnabled());
    EXPECT_TRUE(action(main, "mnuChip")->isEnabled());
    // The menu looks again when it opens.
    t.ctx.openers.insert(QStringLiteral("GraphFRM"), [] {});
    emit main.findChild<QMenu*>(QStringLiteral("mnuTools"))->aboutToShow();
    EXPECT_TRUE(action(main, "mnuStrip")->isEnabled());
}

TEST_F(FrmMainTest, ToolbarItemTogglesTheToolbar) {
    frmMain& main = createMain();
    main.show();
    auto* toolbar = main.findChild<QToolBar*>(QStringLiteral("tbToolBar"));
    QAction* item = action(main, "mnuViewToolbar");
    ASSERT_TRUE(toolbar->isVisible());
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(toolbar->isVisible());
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(toolbar->isVisible());
    // Hidden another way, the check mark follows.
    toolbar->hide();
    EXPECT_FALSE(item->isChecked());
}

TEST_F(FrmMainTest, LoadingBindsTheTemperatureChannels) {
    for (Temperature* channel : {&t.state.IntTemp(), &t.state.ExtTemp0(), &t.state.ExtTemp1()}) {
        channel->setMaxAddressPointer(0);
        channel->setMinAddressPointer(0);
        channel->setValueAddressPointer(0);
    }
    createMain();
    const struct {
        Temperature& channel;
        int max, min, value;
    } expected[] = {{t.state.IntTemp(), 0x90, 0x98, 0xA0},
                    {t.state.ExtTemp0(), 0x91, 0x99, 0xA1},
                    {t.state.ExtTemp1(), 0x92, 0x9A, 0xA2}};
    for (const auto& e : expected) {
        EXPECT_EQ(e.channel.MaxAddressPointer(), e.max);
        EXPECT_EQ(e.channel.MinAddressPointer(), e.min);
        EXPECT_EQ(e.channel.ValueAddressPointer(), e.value);
    }
}

TEST_F(FrmMainTest, WindowMenuListsTheOpenChildWindows) {
    frmMain& main = createMain();
    main.show();
    t.windows.show<RefreshingView>(t.ctx);
    t.windows.show<PlainView>(t.ctx);
    auto* menu = main.findChild<QMenu*>(QStringLiteral("mnuWindow"));
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
    EXPECT_EQ(listed(), QStringList({"&1 Refreshing View", "&2 Plain && Simple View *"}));
    // Rebuilt each time, never doubled; choosing an entry activates that window.
    QAction* first = nullptr;
    for (QAction* entry : menu->actions()) {
        if (entry->text() == QLatin1String("&1 Refreshing View")) {
            first = entry;
        }
    }
    ASSERT_NE(first, nullptr);
    first->trigger();
    EXPECT_EQ(main.mdiArea()->activeSubWindow()->widget(), t.windows.find<RefreshingView>());
    EXPECT_EQ(listed(), QStringList({"&1 Refreshing View *", "&2 Plain && Simple View"}));

    t.windows.find<RefreshingView>()->parentWidget()->close();
    EXPECT_EQ(listed().size(), 1);
}

TEST_F(FrmMainTest, WindowArrangementsTileCascadeAndLineUpIcons) {
    frmMain& main = createMain();
    main.resize(900, 700);
    main.show();
    t.windows.show<RefreshingView>(t.ctx);
    t.windows.show<PlainView>(t.ctx);
    t.windows.show<ThirdView>(t.ctx);
    QMdiArea* area = main.mdiArea();
    const QRect viewport = area->viewport()->rect();
    auto subs = [&] { return area->subWindowList(QMdiArea::CreationOrder); };

    action(main, "mnuWindowTileHorizontal")->trigger();
    for (qsizetype i = 0; i < 3; ++i) {
        EXPECT_EQ(subs()[i]->geometry(), mdi::tileRects(viewport, 3, Qt::Horizontal)[i]);
    }
    action(main, "mnuWindowTileVertical")->trigger();
    for (qsizetype i = 0; i < 3; ++i) {
        EXPECT_EQ(subs()[i]->geometry(), mdi::tileRects(viewport, 3, Qt::Vertical)[i]);
    }
    action(main, "mnuWindowCascade")->trigger();
    EXPECT_LT(subs()[0]->geometry().topLeft().y(), subs()[1]->geometry().topLeft().y());
    EXPECT_LT(subs()[1]->geometry().topLeft().y(), subs()[2]->geometry().topLeft().y());

    subs()[0]->showMinimized();
    subs()[2]->showMinimized();
    // Scattered icons line up again.
    subs()[0]->move(300, 100);
    subs()[2]->move(20, 40);
    action(main, "mnuWindowArrangeIcons")->trigger();
    const QRect icon0 = subs()[0]->geometry();
    const QRect icon2 = subs()[2]->geometry();
    EXPECT_EQ(icon0.bottom(), viewport.bottom());
    EXPECT_EQ(icon2.bottom(), viewport.bottom());
    EXPECT_EQ(icon0.left(), 0);
    EXPECT_EQ(icon2.left(), icon0.right() + 1);
    // Tiling leaves the icon row free.
    action(main, "mnuWindowTileHorizontal")->trigger();
    EXPECT_EQ(subs()[1]->geometry().top(), 0);
    EXPECT_LT(subs()[1]->geometry().bottom(), icon0.top());
}

TEST_F(FrmMainTest, RefreshReadsEveryRefreshableViewOnce) {
    frmMain& main = createMain();
    auto& refreshing = t.windows.show<RefreshingView>(t.ctx);
    t.windows.show<PlainView>(t.ctx);
    action(main, "mnuViewRefresh")->trigger();
    EXPECT_EQ(refreshing.refreshes, 1);
    action(main, "mnuViewRefresh")->trigger();
    EXPECT_EQ(refreshing.refreshes, 2);
    EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

TEST_F(FrmMainTest, AFailingHandlerIsReportedAndTheProgramGoesOn) {
    frmMain& main = createMain();
    auto& refreshing = t.windows.show<RefreshingView>(t.ctx);
    refreshing.failNextRefresh = true;
    action(main, "mnuViewRefresh")->trigger();
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_TRUE(t.dialogs.messages[0].text.contains(QStringLiteral("injected failure")));
    auto* status = main.findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
    EXPECT_TRUE(status->currentMessage().contains(QStringLiteral("injected failure")));

    // A failing window opener (here: the link fails while a view loads) is reported the same way.
    t.ctx.openers[QStringLiteral("BargraphForm")] = [] {
        throw LinkError(QStringLiteral("ReadByte"), QStringLiteral("test board"), 0x5E, 0x90,
                        QStringLiteral("bus stuck"));
    };
    action(main, "BarGraph")->trigger();
    ASSERT_EQ(t.dialogs.messages.size(), 2);
    EXPECT_TRUE(t.dialogs.messages[1].text.contains(QStringLiteral("bus stuck")));

    // The program goes on: the next refresh works.
    action(main, "mnuViewRefresh")->trigger();
    EXPECT_EQ(refreshing.refreshes, 2);
    EXPECT_EQ(t.dialogs.messages.size(), 2);
}

TEST_F(FrmMainTest, FileMenuRunsTheSettingsFileCommands) {
    frmMain& main = createMain();
    action(main, "mnuSave")->trigger();
    action(main, "mnuLoad")->trigger();
    // Both ask for a file; cancelled, nothing else happens.
    EXPECT_EQ(t.dialogs.fileRequests.size(), 2);
    EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

TEST_F(FrmMainTest, ClosingTheMainWindowClosesEveryChildWindow) {
    QPointer<frmMain> main = &createMain();
    main->show();
    QPointer<QWidget> view = &t.windows.show<RefreshingView>(t.ctx);
    QPointer<QWidget> other = &t.windows.show<PlainView>(t.ctx);
    action(*main, "mnuFileExit")->trigger();
    flushDeletes();
    EXPECT_TRUE(main.isNull());
    EXPECT_TRUE(view.isNull());
    EXPECT_TRUE(other.isNull());
    EXPECT_TRUE(t.windows.windows().isEmpty());
}

} // namespace
} // namespace qmf::test
