// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window's measurement log: the file's bytes, the interval, the line limit, choosing a
// file, and every way logging ends.
#include "ViewFixture.h"

#include <QTest>

namespace qmf::test {
namespace {

using GraphLog = GraphTest;

// A new log empties the file, starts graphing and locks "Make New Log"; refreshing the view
// logs nothing.
TEST_F(GraphRecording, LogFileHoldsTheHeaderAndCrPrefixedTabSeparatedLines) {
    QFile old(logPath());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write(QByteArray(5000, 'x')) == 5000);
    old.close();
    makeLog(logPath());
    EXPECT_EQ(t.dialogs.fileRequests.value(0).filter, QStringLiteral("Excel Files (*.xls)"));
    EXPECT_EQ(logBox()->checkState(), Qt::Checked);
    EXPECT_EQ(logBox()->text(), QStringLiteral("Logging to File"));
    EXPECT_FALSE(makeLogButton()->isEnabled());
    EXPECT_TRUE(timer()->isActive());
    view().refreshView();
    EXPECT_EQ(chart()->pointCount(4), 1);
    EXPECT_EQ(bytes(logPath()), QByteArray());
    ticks();            // 12:00:00.100
    chip()[0xA2] = 254; // -1 C
    chip()[0x70] = 0;   // a count of 0 counts as 1: the fastest speed, 56400 RPM
    t.clock.advanceMs(4900);
    ticks(); // 12:00:05.100
    EXPECT_EQ(bytes(logPath()), QByteArray("Time\tFan0\tFan1\tTemp0\tTemp1\tTemp2\r\n"
                                           "\r12:00:00\t 2014 \t 2507 \t 31 \t-55 \t 0 \r\n"
                                           "\r12:00:05\t 56400 \t 2507 \t 31 \t-55 \t-1 \r\n"));
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 2"));
}

// Each case is a new log with the delay typed into Text1 (more than 3600 becomes "3600"); the
// first tick comes 100 ms after the log starts.
TEST_F(GraphLog, LogsOnTheFirstTickThenAtTheDelayInText1) {
    const struct {
        const char* typed;
        const char* shown;
        int ticks, lines;
    } cases[] = {
        {"5", "5", 1, 1},       {"5", "5", 50, 1},      {"5", "5", 51, 2},
        {"5 s", "5 s", 51, 2},  {"0", "0", 37, 37},     {"", "", 37, 37},
        {"abc", "abc", 37, 37}, {"4000", "3600", 3, 1}, {"3601", "3600", 3, 1},
        {"3600", "3600", 3, 1},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.typed << "\" " << c.ticks);
        const QString path = logPath(QByteArray::number(++n).append(".xls").constData());
        auto* edit = child<QLineEdit>("Text1");
        edit->clear();
        QTest::keyClicks(edit, QLatin1String(c.typed));
        EXPECT_EQ(edit->text(), QLatin1String(c.shown));
        makeLog(path);
        ticks(c.ticks);
        EXPECT_EQ(dataLines(path).size(), c.lines);
        EXPECT_EQ(countLabel()->text(), QLatin1Char(' ') + QString::number(c.lines));
        logBox()->click(); // stop, so that the next case makes a new log
    }
}

// Also from 23:53:20 on, where a rule on the plain time of day falls into logging every tick.
TEST_F(GraphLog, IntervalHoldsAcrossMidnight) {
    t.clock.setNow(QDateTime(QDate(2026, 1, 5), QTime(23, 59, 50)));
    makeLog(logPath());
    ticks(200); // 23:59:50.1 .. 00:00:10.0
    QList<QByteArray> stamps;
    for (const QByteArray& line : dataLines(logPath())) {
        stamps.append(line.left(8));
    }
    EXPECT_EQ(stamps, QList<QByteArray>({"23:59:50", "23:59:55", "00:00:00", "00:00:05"}));
}

TEST_F(GraphLog, TheMillionAndFirstLineEndsTheLogWithItsFileClosed) {
    makeLog(logPath());
    ticks();
    countLabel()->setText(QStringLiteral(" 999999"));
    t.clock.advanceMs(5000);
    ticks();
    EXPECT_EQ(logErrors(), 0) << "the millionth line is still fine";
    t.clock.advanceMs(5000);
    ticks();
    EXPECT_EQ(dataLines(logPath()).size(), 3) << "the line that passed the limit is kept";
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 1000001"));
    EXPECT_EQ(logErrors(), 1);
    EXPECT_FALSE(view().logFileOpen());
    EXPECT_EQ(logBox()->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(timer()->isActive()) << "graphing goes on";
    EXPECT_EQ(t.errors.failureCount(), 0);
}

TEST_F(GraphLog, AnEmptyOrNonXlsNameIsRefused) {
    for (const char* name : {"", "log.XLS", "log.xlsx", "log"}) {
        SCOPED_TRACE(name);
        const QString path = *name ? logPath(name) : QString();
        makeLog(path);
        EXPECT_TRUE(view().LogFileName().isEmpty());
        EXPECT_FALSE(logBox()->isEnabled());
        EXPECT_TRUE(makeLogButton()->isEnabled());
        EXPECT_FALSE(graphsBox()->isChecked());
        EXPECT_FALSE(QFile::exists(path));
    }
    // A cancelled dialog says nothing; each refused name gets the message.
    ASSERT_EQ(t.dialogs.messages.size(), 3);
    for (const auto& m : t.dialogs.messages) {
        EXPECT_EQ(m.title, QStringLiteral("There was a Problem!"));
        EXPECT_EQ(m.text, QStringLiteral("Either an invalid filename or no file was selected, "
                                         "no settings were loaded."));
        EXPECT_EQ(m.icon, UserDialogs::Icon::Exclamation);
    }
}

// Stopped by the user through Check3 or by stopping graphing; the next log starts afresh.
TEST_F(GraphLog, StoppingEndsTheLogAndTheNextStartsWithAHeader) {
    for (bool byGraphing : {false, true}) {
        SCOPED_TRACE(byGraphing);
        makeLog(logPath());
        ticks(60);
        EXPECT_TRUE(bytes(logPath()).startsWith("Time\tFan0\tFan1"));
        EXPECT_EQ(dataLines(logPath()).size(), 2);
        (byGraphing ? graphsBox() : logBox())->click();
        EXPECT_EQ(logBox()->checkState(), Qt::PartiallyChecked);
        EXPECT_EQ(logBox()->text(), QStringLiteral("Not Logging to File"));
        EXPECT_FALSE(logBox()->isEnabled());
        EXPECT_EQ(countLabel()->text(), QString());
        EXPECT_TRUE(makeLogButton()->isEnabled());
        EXPECT_FALSE(view().logFileOpen());
        EXPECT_EQ(timer()->isActive(), !byGraphing);
    }
    EXPECT_EQ(logErrors(), 0);
}

// A file that cannot be opened (a folder) or written (a full disk) ends logging with the
// "Error" message and its file closed; graphing goes on and another file can be chosen at once.
TEST_F(GraphLog, AFileThatCannotBeOpenedOrWrittenEndsLogging) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.xls")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), logPath("full.xls")));
    int failures = 0;
    for (const char* name : {"folder.xls", "full.xls"}) {
        SCOPED_TRACE(name);
        makeLog(logPath(name));
        ticks();
        EXPECT_EQ(logErrors(), ++failures);
        EXPECT_FALSE(view().logFileOpen());
        EXPECT_EQ(logBox()->checkState(), Qt::PartiallyChecked);
        EXPECT_FALSE(logBox()->isEnabled());
        EXPECT_EQ(view().LogFileName(), QStringLiteral("0"));
        EXPECT_TRUE(makeLogButton()->isEnabled());
        ticks(3);
        EXPECT_EQ(logErrors(), failures) << "a failed log stays ended";
        EXPECT_TRUE(timer()->isActive());
    }
    EXPECT_EQ(t.errors.failureCount(), 0) << "a log failure is not a board failure";
    makeLog(logPath());
    ticks();
    EXPECT_EQ(dataLines(logPath()).size(), 1);
}

} // namespace
} // namespace qmf::test
