// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in the alarm events: the status bar's notice, the desktop notification
// and the background events poll with its View menu item.
#include "FrmMainFixture.h"
#include "gui/events/EventsFRM.h"
#include "gui/services/EventsPollTimer.h"
#include "gui/shell/MainWindowEvents.h"

#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace qmf::test {
namespace {

using namespace Qt::StringLiterals;

class FrmMainEvents : public FrmMainFixture {
protected:
    FrmMainEvents() {
        t.ctx.openers[u"EventsFRM"_s] = [this] { t.windows.show<EventsFRM>(t.ctx); };
    }
    std::array<quint8, 256>& chip() { return t.recording()->parallelRegisters(0, false, 0x5E); }
    void tick(frmMain& main) {
        t.clock.advanceMs(500);
        main.findChild<EventsPollTimer*>(u"EventsPoll"_s)->tick();
    }
};

TEST_F(FrmMainEvents, ANewAlarmShowsInRedUntilSeenAndIsNotified) {
    frmMain& main = createMain();
    main.show();
    auto* notice = child<AlarmNotice>(main, "AlarmLBL");
    QStringList notified;
    notice->setNotifier([&](const QString&, const QString& text) { notified << text; });
    struct Step {
        const char* what;
        std::function<void()> act;
        QString shown; // the notice's text, empty when hidden
        QStringList notified;
    };
    const Step steps[] = {
        {"all well", [] {}, {}, {}},
        {"fan 0 goes missing",
         [&] { chip()[0x10] = 0x03; },
         u"Alarm: Fan 0 missing"_s,
         {u"Fan 0 missing"_s}},
        {"CFAULT as well",
         [&] { chip()[0x00] = 0x04; },
         u"Alarm: CFAULT asserted (1 more not seen)"_s,
         {u"CFAULT asserted"_s}},
        {"an alarm ending does not take the notice away",
         [&] { chip()[0x10] = 0x02; },
         u"Alarm: CFAULT asserted (1 more not seen)"_s,
         {}},
        {"clicking the notice opens the Events view and clears it",
         [&] { QTest::mouseClick(notice, Qt::LeftButton); },
         {},
         {}},
        {"a new alarm while the Events view is in front shows again",
         [&] { chip()[0x11] = 0x04; },
         u"Alarm: Fan 1 fault"_s,
         {u"Fan 1 fault"_s}},
        {"bringing the Events view to the front again clears it",
         [&] {
             QMdiArea* mdi = main.mdiArea();
             mdi->setActiveSubWindow(nullptr);
             mdi->setActiveSubWindow(mdi->subWindowList().first());
         },
         {},
         {}},
    };
    for (const Step& s : steps) {
        notified.clear();
        s.act();
        tick(main);
        EXPECT_EQ(notice->isVisible() ? notice->text() : QString(), s.shown) << s.what;
        EXPECT_EQ(notified, s.notified) << s.what;
    }
    EXPECT_EQ(notice->palette().color(QPalette::Window), QColor(200, 0, 0));
    EXPECT_NE(t.windows.find<EventsFRM>(), nullptr);
}

TEST_F(FrmMainEvents, ThePollReadsTheStatusRegistersAndIsSwitchedFromTheViewMenu) {
    {
        frmMain& main = createMain();
        auto* item = child<QAction>(main, "mnuViewEventsPoll");
        auto* timer = child<QTimer>(main, "EventsPollTimer");
        EXPECT_TRUE(item->isChecked()) << "on at the first start";
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 500);
        t.recording()->clearLog();
        tick(main);
        EXPECT_EQ(t.recording()->transfers(),
                  QStringList({u"BusEngine.ReadByte(5E,00)=00"_s, u"BusEngine.ReadByte(5E,10)=00"_s,
                               u"BusEngine.ReadByte(5E,11)=00"_s}));
        // A failed tick is reported once and stops the poll; the stored choice stays.
        t.recording()->failNext(1, u"BusEngine.ReadByte"_s);
        tick(main);
        EXPECT_EQ(t.dialogs.messages.size(), 1);
        EXPECT_FALSE(timer->isActive());
        EXPECT_FALSE(item->isChecked());
        EXPECT_EQ(stored("EventsPoll"), QString());
        item->trigger(); // on again
        EXPECT_TRUE(timer->isActive());
        item->trigger(); // and off, which is kept
        EXPECT_FALSE(timer->isActive());
        EXPECT_EQ(stored("EventsPoll"), u"0"_s);
        t.windows.destroyAll();
    }
    frmMain& again = createMain();
    EXPECT_FALSE(child<QAction>(again, "mnuViewEventsPoll")->isChecked());
    EXPECT_FALSE(child<QTimer>(again, "EventsPollTimer")->isActive());
}

} // namespace
} // namespace qmf::test
