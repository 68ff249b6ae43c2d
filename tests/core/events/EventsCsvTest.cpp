// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/events/EventsCsv.h"

#include "CoreFixture.h"
#include "core/events/EventTracker.h"
#include "core/events/EventsPoll.h"
#include "core/link/RegisterAccess.h"
#include "core/time/Clock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace qmf::events {
namespace {

TEST(EventsCsv, OneLinePerEventWithIsoTimesAndAnEmptyEndWhileItLasts) {
    ManualClock clock(QDateTime(QDate(2026, 3, 9), QTime(23, 59, 59, 250)));
    EventTracker tracker;
    tracker.setClock(&clock);
    tracker.noteRead(0x10, 0x01);
    clock.advanceMs(1500);
    tracker.noteRead(0x10, 0x02);
    tracker.noteRead(0x00, 0x06);
    EXPECT_EQ(eventsCsv(tracker),
              QByteArray("begin,end,kind,channel,text\n"
                         "2026-03-09T23:59:59.250,2026-03-10T00:00:00.750,fan_missing,0,"
                         "Fan 0 missing\n"
                         "2026-03-10T00:00:00.750,,cfault,0,CFAULT asserted\n"
                         "2026-03-10T00:00:00.750,,cfault_input,0,CFAULT input asserted\n"));
    EXPECT_EQ(eventsCsv(EventTracker()), QByteArray("begin,end,kind,channel,text\n"));
}

TEST(EventsCsv, SavedAllOrNothing) {
    ManualClock clock;
    EventTracker tracker;
    tracker.setClock(&clock);
    tracker.noteRead(0x11, 0x04);
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("events.csv"));
    EXPECT_EQ(saveEventsCsv(tracker, good), QString());
    QFile written(good);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), eventsCsv(tracker));

    // A directory of that name, or a folder that is not there: a reason, and nothing replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.csv")));
    for (const QString& bad : {dir.filePath(QStringLiteral("taken.csv")),
                               dir.filePath(QStringLiteral("missing/events.csv"))}) {
        EXPECT_FALSE(saveEventsCsv(tracker, bad).isEmpty()) << bad.toStdString();
    }
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("taken.csv"))).isDir());
}

using EventsFeed = test::CoreFixture;

TEST_F(EventsFeed, RegisterAccessFeedsEveryByteReadAndThePollReadsOnlyWhatIsStale) {
    ManualClock clock;
    state.events().setClock(&clock);
    printerChip()[0x00] = 0x04;
    printerChip()[0x10] = 0x01;
    state.CommsMedium = 1;
    struct Step {
        const char* what;
        qint64 afterMs;
        std::vector<int> viewReads;
        QStringList pollReads;
    };
    const std::vector<Step> steps = {
        {"first tick reads the three status registers",
         0,
         {},
         {"BusEngine.ReadByte(5E,00)=04", "BusEngine.ReadByte(5E,10)=01",
          "BusEngine.ReadByte(5E,11)=00"}},
        {"nothing is due 100 ms later", 100, {}, {}},
        {"a view read fan 0's status: the poll leaves it",
         400,
         {0x10},
         {"BusEngine.ReadByte(5E,00)=04", "BusEngine.ReadByte(5E,11)=00"}},
    };
    for (const Step& s : steps) {
        clock.advanceMs(s.afterMs);
        for (int reg : s.viewReads) {
            ReadRegisterAt(state, quint8(reg));
        }
        board->clearLog();
        EXPECT_EQ(pollEventRegisters(state), s.pollReads.size()) << s.what;
        EXPECT_EQ(board->transfers(), s.pollReads) << s.what;
    }
    // The view's read through the single-register protocol counts too.
    printerChip()[0x10] = 0x02;
    state.AddressPointer = 0x10;
    ReadRegister(state);
    ASSERT_EQ(state.events().size(), 2);
    EXPECT_EQ(state.events().at(0).text, QStringLiteral("CFAULT asserted"));
    EXPECT_TRUE(state.events().at(0).active());
    EXPECT_EQ(state.events().at(1).text, QStringLiteral("Fan 0 missing"));
    EXPECT_EQ(state.events().at(1).endMs, 500);
}

} // namespace
} // namespace qmf::events
