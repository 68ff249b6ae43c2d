// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/events/EventTracker.h"
#include "core/events/EventsCsv.h"
#include "core/events/EventsPoll.h"
#include "core/link/RegisterAccess.h"
#include "gui/events/EventsFRM.h"
#include "gui/support/TestContext.h"
#include "gui/views/AlarmShading.h"
#include "gui/views/GraphFRM.h"
#include "gui/widgets/StripChart.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

using namespace Qt::StringLiterals;

class EventsView : public ::testing::Test {
protected:
    ~EventsView() override { t.windows.destroyAll(); }

    sim::SimulatedChip& chip() { return t.simBoard()->printerPortChip(); }
    // Half a second of the program: the events poll's tick.
    void tick() {
        t.clock.advanceMs(events::EventTracker::PollPeriodMs);
        events::pollEventRegisters(t.state);
    }
    template <class T> T* find(QWidget& window, const QString& name) const {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QStringList rows(QWidget& view) {
        QStringList list;
        const QAbstractItemModel* model = find<QTableView>(view, u"EventsTBL"_s)->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column) {
                cells << model->index(row, column).data().toString();
            }
            list << cells.join(u" | "_s);
        }
        return list;
    }

    TestContext t;
};

TEST_F(EventsView, ListsEventsNewestFirstAndFollowsTheirEnd) {
    t.clock.setNow(QDateTime(QDate(2026, 2, 3), QTime(10, 0, 0)));
    EventsFRM& view = t.windows.show<EventsFRM>(t.ctx);
    tick(); // 10:00:00.500, all well
    EXPECT_EQ(find<QLabel>(view, u"CountLBL"_s)->text(), u"0 events"_s);
    chip().setFanConnected(1, false);
    tick(); // 10:00:01.000
    chip().setCfaultInput(true);
    tick(); // 10:00:01.500
    chip().setFanConnected(1, true);
    tick(); // 10:00:02.000
    EXPECT_EQ(
        rows(view),
        QStringList({u"2026-02-03 10:00:01.500 |  | CFAULT input asserted"_s,
                     u"2026-02-03 10:00:01.000 | 2026-02-03 10:00:02.000 | Fan 1 missing"_s}));
    EXPECT_EQ(find<QLabel>(view, u"CountLBL"_s)->text(), u"2 events, 1 lasting"_s);
    const QAbstractItemModel* model = find<QTableView>(view, u"EventsTBL"_s)->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), u"Begin"_s);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), u"Event"_s);
    // The lasting alarm stands out; the ended one does not.
    EXPECT_TRUE(model->index(0, 2).data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model->index(1, 2).data(Qt::ForegroundRole).isValid());
}

TEST_F(EventsView, KeepsTheNewestEventsWhenTheHistoryIsFull) {
    EventsFRM& view = t.windows.show<EventsFRM>(t.ctx);
    events::EventTracker& tracker = t.state.events();
    const int total = int(tracker.capacity()) + 3;
    for (int i = 0; i < total; ++i) {
        t.clock.advanceMs(1000);
        tracker.noteRead(0x00, quint8(i % 2 ? 0x02 : 0x04)); // CFAULT out and in by turns
    }
    const QAbstractItemModel* model = find<QTableView>(view, u"EventsTBL"_s)->model();
    ASSERT_EQ(model->rowCount(), tracker.capacity());
    EXPECT_EQ(model->index(0, 2).data().toString(), u"CFAULT asserted"_s); // the last, lasting
    EXPECT_EQ(model->index(0, 1).data().toString(), QString());
    EXPECT_EQ(model->index(1, 2).data().toString(), u"CFAULT input asserted"_s);
    EXPECT_FALSE(model->index(1, 1).data().toString().isEmpty());
    EXPECT_EQ(model->index(model->rowCount() - 1, 0).data().toString(),
              t.clock.now()
                  .addMSecs(-1000LL * (tracker.capacity() - 1))
                  .toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s));
    EXPECT_EQ(find<QLabel>(view, u"CountLBL"_s)->text(), u"10000 events, 1 lasting"_s);
}

TEST_F(EventsView, SaveWritesTheCsvOrSaysWhyNot) {
    EventsFRM& view = t.windows.show<EventsFRM>(t.ctx);
    chip().setFanConnected(0, false);
    tick();
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder.csv"_s));
    QFile old(dir.filePath(u"old.csv"_s));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("kept") == 4);
    old.close();
    struct Case {
        const char* what;
        QString answer;    // the file dialog's answer, empty when cancelled
        QString written;   // where the CSV must be now, empty for nowhere
        const char* title; // the message box's title, empty for none
    };
    const Case cases[] = {
        {"cancelled", {}, {}, ""},
        {"a name without suffix gets .csv", dir.filePath(u"run"_s), dir.filePath(u"run.csv"_s),
         "Data Saved"},
        {"a folder of that name", dir.filePath(u"folder.csv"_s), {}, "There was a Problem!"},
        {"a folder that is not there",
         dir.filePath(u"nowhere/old.csv"_s),
         {},
         "There was a Problem!"},
    };
    for (const Case& c : cases) {
        t.dialogs.messages.clear();
        t.dialogs.fileAnswers = c.answer.isEmpty() ? QStringList() : QStringList{c.answer};
        QTest::mouseClick(find<QPushButton>(view, u"SaveCMD"_s), Qt::LeftButton);
        EXPECT_EQ(t.dialogs.fileRequests.last().filter, u"CSV Files (*.csv)"_s) << c.what;
        if (*c.title == '\0') {
            EXPECT_TRUE(t.dialogs.messages.isEmpty()) << c.what;
        } else {
            ASSERT_EQ(t.dialogs.messages.size(), 1) << c.what;
            EXPECT_EQ(t.dialogs.messages[0].title, QLatin1String(c.title)) << c.what;
        }
        if (!c.written.isEmpty()) {
            QFile file(c.written);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.what;
            EXPECT_EQ(file.readAll(), events::eventsCsv(t.state.events())) << c.what;
        }
    }
    QFile kept(dir.filePath(u"old.csv"_s));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("kept"));
}

TEST_F(EventsView, TheGraphWindowShadesAlarmPeriodsOnBothCharts) {
    GraphFRM& graph = t.windows.show<GraphFRM>(t.ctx);
    auto* chart = find<StripChart>(graph, u"FanSpeedAndTemp"_s);
    auto* ain = find<StripChart>(graph, u"AINAndGPIO"_s);
    struct Step {
        const char* what;
        std::function<void()> act;
        int periods;
    };
    const Step steps[] = {
        {"nothing yet", [] {}, 0},
        {"fan 0 unplugged: one lasting period", [&] { chip().setFanConnected(0, false); }, 1},
        {"CFAULT within it: still one", [&] { chip().setCfaultInput(true); }, 1},
        {"both over",
         [&] {
             chip().setFanConnected(0, true);
             chip().setCfaultInput(false);
         },
         1},
        {"a second alarm later: two", [&] { chip().setFanConnected(1, false); }, 2},
    };
    for (const Step& s : steps) {
        s.act();
        tick();
        EXPECT_EQ(chart->shadedSpanCount(AlarmShadingGroup), s.periods) << s.what;
        EXPECT_EQ(ain->shadedSpanCount(AlarmShadingGroup), s.periods) << s.what;
    }
}

} // namespace
} // namespace qmf::test
