// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmMainFixture.h"
#include "core/link/BoardLink.h"
#include "core/link/LinkErrors.h"
#include "gui/board/BoardControlFRM.h"
#include "gui/services/RefreshableView.h"

#include <QCheckBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
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

// The openers of the windows the menus and the tool bar open record the name; "Register_List"
// shows a view.
class FrmMainTest : public FrmMainFixture {
protected:
    FrmMainTest() {
        for (const char* name : {"AutoSet", "Register_List", "ChipLayoutForm", "GraphFRM",
                                 "BargraphForm", "BoardControlFRM", "WizardListFRM",
                                 "RegisterMapFRM", "JournalFRM", "CompareWithSettingsFile"}) {
            t.ctx.openers.insert(QLatin1String(name), [this, name] {
                opened << QLatin1String(name);
                if (opened.last() == QLatin1String("Register_List")) {
                    t.windows.show<RefreshingView>(t.ctx);
                }
            });
        }
    }

    QStringList opened;
};

TEST_F(FrmMainTest, EveryToolsItemAndToolbarButtonOpensItsWindowOnceAndTheToolbarCanHide) {
    frmMain& main = createMain();
    main.show();
    const struct {
        const char* control;
        const char* window;
    } cases[] = {
        {"mnuAutoSet", "AutoSet"},
        {"mnuRegList", "Register_List"},
        {"mnuChip", "ChipLayoutForm"},
        {"mnuStrip", "GraphFRM"},
        {"mnuBargraphs", "BargraphForm"},
        {"mnuHeaters", "BoardControlFRM"},
        {"mnuWizard", "WizardListFRM"},
        {"GlobalSettings", "Register_List"},
        {"ChipLayout", "ChipLayoutForm"},
        {"Graph", "GraphFRM"},
        {"BarGraph", "BargraphForm"},
        {"Wizard", "WizardListFRM"},
        {"mnuRegisterMap", "RegisterMapFRM"},
        {"mnuJournal", "JournalFRM"},
        {"RegisterMap", "RegisterMapFRM"},
        {"mnuCompare", "CompareWithSettingsFile"},
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

    QAction* item = child(main, "mnuViewToolbar");
    for (bool shown : {false, true}) {
        item->trigger();
        EXPECT_EQ(item->isChecked(), shown);
        EXPECT_EQ(toolbar->isVisible(), shown);
    }
}

TEST_F(FrmMainTest, NewEntriesFollowTheOriginalOnesInTheMenusAndTheToolBar) {
    frmMain& main = createMain();
    const auto names = [](const QList<QAction*>& actions) {
        QStringList list;
        for (const QAction* action : actions) {
            list << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        }
        return list.join(QLatin1Char(' '));
    };
    EXPECT_EQ(names(child<QMenu>(main, "mnuFile")->actions()),
              "mnuSave mnuLoad mnuCompare - mnuFileExit");
    EXPECT_EQ(child<QAction>(main, "mnuCompare")->text(), "Compare with Settings File...");
    EXPECT_EQ(names(child<QMenu>(main, "mnuTools")->actions()),
              "mnuAutoSet mnuRegList mnuChip mnuStrip mnuBargraphs mnuHeaters mnuWizard "
              "mnuRegisterMap mnuJournal mnuEvents - mnuRecordBusTrace");
    EXPECT_EQ(names(child<QMenu>(main, "mnuView")->actions()),
              "mnuViewToolbar - mnuViewRefresh mnuViewEventsPoll");
    EXPECT_EQ(names(child<QToolBar>(main, "tbToolBar")->actions()),
              "GlobalSettings ChipLayout Graph BarGraph Wizard RegisterMap");
    EXPECT_FALSE(child<QAction>(main, "RegisterMap")->icon().isNull());
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

TEST_F(FrmMainTest, TheStatusBarSaysSoWhileAHeaterIsOnWhoeverSwitchedIt) {
    frmMain& main = createMain();
    main.show();
    auto* notice = child<QLabel>(main, "HeaterLBL");
    const auto shown = [notice] { return notice->isVisible() ? notice->text() : QString(); };
    EXPECT_EQ(shown(), QString());

    // The heater window switches one on; the notice stays when the window closes.
    QPointer<BoardControlFRM> heaters = &t.windows.show<BoardControlFRM>(t.ctx);
    QTest::mouseClick(heaters->findChild<QCheckBox*>(QStringLiteral("Heater1CHK")), Qt::LeftButton);
    EXPECT_EQ(shown(), QStringLiteral("Heater for Q2 (TDM2) on"));
    heaters->parentWidget()->close();
    flushDeletes();
    ASSERT_TRUE(heaters.isNull());
    EXPECT_EQ(shown(), QStringLiteral("Heater for Q2 (TDM2) on"));

    // Anything else that puts the outputs through the link (a batch, an undo) is followed too;
    // a failed put changes nothing.
    BusEngine& engine = t.state.board().parallelPortLink().busEngine();
    const struct {
        int outputs;
        const char* text;
    } steps[] = {
        {0x30, "Heaters for Q2 (TDM2) and Q1 (TDM1) on"},
        {0x20, "Heater for Q1 (TDM1) on"},
        {0x00, ""},
        {0x10, "Heater for Q2 (TDM2) on"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.outputs);
        engine.setAuxOutputs(quint8(step.outputs));
        EXPECT_EQ(shown(), QLatin1String(step.text));
        t.recording()->failNext(1, QStringLiteral("AuxOutputs="));
        EXPECT_THROW(engine.setAuxOutputs(quint8(step.outputs ^ 0x30)), LinkError);
        EXPECT_EQ(shown(), QLatin1String(step.text));
    }
    // An error shown on the status bar does not push the notice away.
    t.errors.run(&main, [] {
        throw LinkError(QStringLiteral("ReadByte"), QStringLiteral("test board"), 0x5E, 0x20,
                        QStringLiteral("injected failure"));
    });
    EXPECT_TRUE(child<QStatusBar>(main, "StatusBar1")
                    ->currentMessage()
                    .contains(QStringLiteral("injected failure")));
    EXPECT_EQ(shown(), QStringLiteral("Heater for Q2 (TDM2) on"));
}

} // namespace
} // namespace qmf::test

#include "frmMainTest.moc"
