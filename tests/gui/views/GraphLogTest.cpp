// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window's measurement log: the file's bytes, the interval, the line limit, choosing a
// file, and every way logging ends.
#include "GraphFixture.h"

#include <QFileInfo>
#include <QTest>

namespace qmf::test {
namespace {

using GraphLog = GraphFixture;
using GraphLogRecording = GraphRecordingFixture;

TEST_F(GraphLogRecording, FileHoldsTheHeaderAndCrPrefixedTabSeparatedLines) {
    setKnownReadings();
    makeLog(logPath());
    ASSERT_EQ(t.dialogs.fileRequests.size(), 1);
    EXPECT_EQ(t.dialogs.fileRequests[0].filter, QStringLiteral("Excel Files (*.xls)"));
    tick();             // 12:00:00.100
    chip()[0xA2] = 254; // -1 C
    chip()[0x70] = 0;   // a count of 0 counts as 1: the fastest speed, 56400 RPM
    t.clock.advanceMs(4900);
    tick(); // 12:00:05.100
    EXPECT_EQ(bytes(logPath()), QByteArray("Time\tFan0\tFan1\tTemp0\tTemp1\tTemp2\r\n"
                                           "\r12:00:00\t 2014 \t 2507 \t 31 \t-55 \t 0 \r\n"
                                           "\r12:00:05\t 56400 \t 2507 \t 31 \t-55 \t-1 \r\n"));
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 2"));
}

TEST_F(GraphLog, StartingALogStartsGraphingAndLocksTheMakeButton) {
    makeLog(logPath());
    EXPECT_EQ(window().LogFileName(), logPath());
    EXPECT_EQ(logBox()->checkState(), Qt::Checked);
    EXPECT_TRUE(logBox()->isEnabled());
    EXPECT_EQ(logBox()->text(), QStringLiteral("Logging to File"));
    EXPECT_FALSE(makeLogButton()->isEnabled());
    EXPECT_TRUE(graphsBox()->isChecked());
    EXPECT_EQ(graphsBox()->text(), QStringLiteral("Stop Graphing"));
    EXPECT_TRUE(timer()->isActive());
    EXPECT_TRUE(window().logFileOpen());
}

struct IntervalCase {
    const char* text;
    int ticks; // 100 ms apart, the first right after logging starts
    int expectedLines;
};

class GraphLogInterval : public GraphFixture, public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(GraphLogInterval, LogsOnTheFirstTickThenAtTheDelay) {
    const IntervalCase& c = GetParam();
    intervalEdit()->setText(QString::fromLatin1(c.text));
    makeLog(logPath());
    ticks(c.ticks);
    EXPECT_EQ(dataLines(logPath()).size(), c.expectedLines) << '"' << c.text << '"';
    EXPECT_EQ(countLabel()->text(), QLatin1Char(' ') + QString::number(c.expectedLines));
}

INSTANTIATE_TEST_SUITE_P(Delays, GraphLogInterval,
                         ::testing::Values(IntervalCase{"5", 1, 1},    // the first tick logs
                                           IntervalCase{"5", 50, 1},   // 0.1 .. 5.0 s: still one
                                           IntervalCase{"5", 51, 2},   // 5.1 s: the second
                                           IntervalCase{"5", 120, 3},  // 0.1, 5.1, 10.1 s
                                           IntervalCase{"2.5", 60, 3}, // 0.1, 2.6, 5.1 s
                                           IntervalCase{"5 seconds", 51,
                                                        2}, // the number at the start counts
                                           IntervalCase{"0", 37, 37}, // every tick
                                           IntervalCase{"", 37, 37}, IntervalCase{"abc", 37, 37},
                                           IntervalCase{"-3", 20, 20}));

struct CapCase {
    const char* typed;
    const char* shown;
};

class GraphLogIntervalCap : public GraphFixture, public ::testing::WithParamInterface<CapCase> {};

TEST_P(GraphLogIntervalCap, DelayAbove3600BecomesExactly3600) {
    intervalEdit()->setText(QString());
    QTest::keyClicks(intervalEdit(), QString::fromLatin1(GetParam().typed));
    EXPECT_EQ(intervalEdit()->text(), QString::fromLatin1(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Entries, GraphLogIntervalCap,
                         ::testing::Values(CapCase{"4000", "3600"}, CapCase{"3600", "3600"},
                                           CapCase{"3601", "3600"}, CapCase{"99999", "3600"},
                                           CapCase{"36000", "3600"}, CapCase{"12", "12"},
                                           CapCase{"abc", "abc"}));

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

TEST_F(GraphLog, LateEveningLogsAtTheDelayNotOnEveryTick) {
    // From 23:53:20 on, a rule on the plain time of day can fall into logging on every tick.
    t.clock.setNow(QDateTime(QDate(2026, 1, 5), QTime(23, 53, 30)));
    makeLog(logPath());
    ticks(100); // ten seconds
    EXPECT_EQ(dataLines(logPath()).size(), 2);
}

TEST_F(GraphLog, TheMillionAndFirstLineEndsTheLogWithItsFileClosed) {
    makeLog(logPath());
    tick();
    countLabel()->setText(QStringLiteral(" 999999"));
    t.clock.advanceMs(5000);
    tick();
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 1000000"));
    EXPECT_EQ(logErrorCount(), 0) << "the millionth line is still fine";
    t.clock.advanceMs(5000);
    tick();
    EXPECT_EQ(dataLines(logPath()).size(), 3) << "the line that passed the limit is kept";
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 1000001"));
    ASSERT_EQ(logErrorCount(), 1);
    const auto message = messagesTitled(QStringLiteral("Error")).first();
    EXPECT_EQ(message.text, LogFailureText);
    EXPECT_EQ(message.icon, UserDialogs::Icon::None);
    EXPECT_FALSE(window().logFileOpen());
    EXPECT_EQ(window().LogFileName(), QStringLiteral("0"));
    EXPECT_EQ(logBox()->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(logBox()->isEnabled());
    EXPECT_TRUE(makeLogButton()->isEnabled());
    // Graphing goes on; the file gets nothing more.
    const QByteArray closed = bytes(logPath());
    t.clock.advanceMs(10000);
    ticks(3);
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(bytes(logPath()), closed);
    EXPECT_EQ(t.errors.failureCount(), 0);
    // A new log after the failed one counts from zero again, so it starts with its header.
    makeLog(logPath(QStringLiteral("again.xls")));
    tick();
    EXPECT_TRUE(bytes(logPath(QStringLiteral("again.xls"))).startsWith("Time\tFan0"));
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 1"));
}

class GraphLogBadName : public GraphFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(GraphLogBadName, IsRefusedWithTheMessage) {
    const QString path = logPath(QString::fromLatin1(GetParam()));
    makeLog(path);
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_EQ(t.dialogs.messages[0].title, QStringLiteral("There was a Problem!"));
    EXPECT_EQ(t.dialogs.messages[0].text,
              QStringLiteral("Either an invalid filename or no file was selected, no settings "
                             "were loaded."));
    EXPECT_EQ(t.dialogs.messages[0].icon, UserDialogs::Icon::Exclamation);
    EXPECT_TRUE(window().LogFileName().isEmpty());
    EXPECT_FALSE(logBox()->isEnabled());
    EXPECT_EQ(logBox()->checkState(), Qt::Unchecked);
    EXPECT_TRUE(makeLogButton()->isEnabled());
    EXPECT_FALSE(graphsBox()->isChecked());
    EXPECT_FALSE(QFileInfo::exists(path));
}

INSTANTIATE_TEST_SUITE_P(Names, GraphLogBadName,
                         ::testing::Values("log.XLS", "log.Xls", "log.xlsx", "log.txt", "log"));

TEST_F(GraphLog, CancelledDialogChangesNothing) {
    makeLog(QString());
    EXPECT_TRUE(t.dialogs.messages.isEmpty());
    EXPECT_TRUE(window().LogFileName().isEmpty());
    EXPECT_FALSE(logBox()->isEnabled());
    EXPECT_FALSE(graphsBox()->isChecked());
}

TEST_F(GraphLog, StartingTruncatesAnExistingFile) {
    {
        QFile old(logPath());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    makeLog(logPath());
    EXPECT_EQ(bytes(logPath()), QByteArray());
    tick();
    EXPECT_TRUE(bytes(logPath()).startsWith("Time\tFan0"));
    EXPECT_EQ(dataLines(logPath()).size(), 1);
}

TEST_F(GraphLog, StoppingAndMakingANewLogStartsItWithAHeader) {
    makeLog(logPath(QStringLiteral("first.xls")));
    ticks(60);
    ASSERT_EQ(dataLines(logPath(QStringLiteral("first.xls"))).size(), 2);
    logBox()->click(); // the user stops logging
    EXPECT_EQ(logBox()->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(logBox()->text(), QStringLiteral("Not Logging to File"));
    EXPECT_FALSE(logBox()->isEnabled());
    EXPECT_EQ(countLabel()->text(), QString());
    EXPECT_TRUE(makeLogButton()->isEnabled());
    EXPECT_FALSE(window().logFileOpen());
    EXPECT_TRUE(timer()->isActive()) << "graphing goes on";
    const QByteArray first = bytes(logPath(QStringLiteral("first.xls")));

    makeLog(logPath(QStringLiteral("second.xls")));
    tick();
    EXPECT_TRUE(bytes(logPath(QStringLiteral("second.xls"))).startsWith("Time\tFan0\tFan1"));
    EXPECT_EQ(dataLines(logPath(QStringLiteral("second.xls"))).size(), 1);
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 1"));
    EXPECT_EQ(bytes(logPath(QStringLiteral("first.xls"))), first);
}

TEST_F(GraphLog, StoppingGraphingStopsLogging) {
    makeLog(logPath());
    tick();
    graphsBox()->click();
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(logBox()->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(logBox()->isEnabled());
    EXPECT_FALSE(window().logFileOpen());
    EXPECT_EQ(countLabel()->text(), QString());
    EXPECT_TRUE(makeLogButton()->isEnabled());
    EXPECT_EQ(logErrorCount(), 0);
}

TEST_F(GraphLog, AFileThatCannotBeOpenedEndsLoggingWithTheErrorMessage) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.xls")));
    makeLog(logPath(QStringLiteral("folder.xls")));
    ASSERT_EQ(logErrorCount(), 1);
    const auto message = messagesTitled(QStringLiteral("Error")).first();
    EXPECT_EQ(message.text, LogFailureText);
    EXPECT_EQ(message.icon, UserDialogs::Icon::None);
    EXPECT_EQ(logBox()->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(logBox()->isEnabled());
    EXPECT_EQ(window().LogFileName(), QStringLiteral("0"));
    EXPECT_TRUE(makeLogButton()->isEnabled());
    tick();
    EXPECT_EQ(logErrorCount(), 1) << "a failed log stays ended";
    // Only a new log starts again: the greyed box cannot be clicked back into logging.
    logBox()->click();
    EXPECT_FALSE(window().logFileOpen());
    EXPECT_EQ(logBox()->checkState(), Qt::PartiallyChecked);
    // Another file can be chosen at once.
    makeLog(logPath());
    EXPECT_TRUE(window().logFileOpen());
    tick();
    EXPECT_EQ(dataLines(logPath()).size(), 1);
}

TEST_F(GraphLog, AWriteThatFailsEndsLoggingAndClosesTheFileWhileGraphingGoesOn) {
    if (!QFile::exists(QStringLiteral("/dev/full"))) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    const QString full = logPath(QStringLiteral("full.xls"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), full));
    makeLog(full);
    ASSERT_TRUE(window().logFileOpen());
    tick();
    ASSERT_EQ(logErrorCount(), 1);
    EXPECT_EQ(messagesTitled(QStringLiteral("Error")).first().text, LogFailureText);
    EXPECT_FALSE(window().logFileOpen());
    EXPECT_EQ(logBox()->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(makeLogButton()->isEnabled());
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(t.errors.failureCount(), 0) << "a log failure is not a board failure";
    ticks(3);
    EXPECT_EQ(chart()->pointCount(0), 4);
    EXPECT_EQ(logErrorCount(), 1);
}

} // namespace
} // namespace qmf::test
