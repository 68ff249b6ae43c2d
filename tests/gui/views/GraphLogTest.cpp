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
    EXPECT_EQ(t.dialogs.fileRequests.value(0).filter,
              QStringLiteral("Excel Files (*.xls);;CSV Files (*.csv)"));
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

// Each case is a new log with the delay typed into Text1 (more than 3600 becomes "3600"), an
// hour after the last line of the case before; the first tick comes 100 ms after the log starts.
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
        t.clock.advanceMs(3600 * 1000);
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

// The log holds 1,000,000 lines at most: the line after the millionth is not written, the log
// ends as a full one (not as a failed one) and graphing goes on. A new log counts from nothing.
TEST_F(GraphLog, TheMillionAndFirstLineEndsTheLogAsFull) {
    makeLog(logPath());
    ticks();
    countLabel()->setText(QStringLiteral(" 999999"));
    t.clock.advanceMs(5000);
    ticks();
    EXPECT_EQ(t.dialogs.messages.size(), 0) << "the millionth line is still fine";
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 1000000"));
    t.clock.advanceMs(5000);
    ticks();
    EXPECT_EQ(dataLines(logPath()).size(), 2) << "the line past the limit is not written";
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 1000000"));
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    const FakeDialogs::Message full = t.dialogs.messages[0];
    EXPECT_EQ(full.icon, UserDialogs::Icon::Information);
    EXPECT_EQ(full.title, QStringLiteral("Log Full"));
    EXPECT_EQ(full.text, QStringLiteral("The log file is full (1,000,000 lines). Logging has "
                                        "stopped.\nMake a new log to go on logging."));
    EXPECT_EQ(full.informativeText, QDir::toNativeSeparators(logPath()));
    EXPECT_EQ(logErrors(), 0);
    EXPECT_FALSE(view().logFileOpen());
    EXPECT_EQ(view().LogFileName(), logPath());
    EXPECT_EQ(logBox()->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(logBox()->isEnabled());
    EXPECT_TRUE(makeLogButton()->isEnabled());
    EXPECT_EQ(child<QLabel>("LogFileLBL")->text(), QString());
    EXPECT_TRUE(timer()->isActive()) << "graphing goes on";
    EXPECT_EQ(t.errors.failureCount(), 0);
    ticks(100);
    EXPECT_EQ(t.dialogs.messages.size(), 1);
    // The next log is a file of its own: header first, counted from one.
    makeLog(logPath("next.xls"));
    ticks();
    EXPECT_TRUE(bytes(logPath("next.xls")).startsWith("Time\tFan0"));
    EXPECT_EQ(dataLines(logPath("next.xls")).size(), 1);
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 1"));
}

// A new log keeps the time of the last logged line: its first line comes the interval after the
// last line of the log before, with its header.
TEST_F(GraphLog, ANewLogKeepsTheTimeOfTheLastLine) {
    makeLog(logPath("first.xls"));
    ticks(); // a line at once
    logBox()->click();
    EXPECT_EQ(countLabel()->text(), QString());
    makeLog(logPath("second.xls"));
    ticks(49); // 4.9 s after the last line
    EXPECT_EQ(bytes(logPath("second.xls")), QByteArray());
    EXPECT_EQ(countLabel()->text(), QString());
    ticks();
    EXPECT_TRUE(bytes(logPath("second.xls")).startsWith("Time\tFan0"));
    EXPECT_EQ(dataLines(logPath("second.xls")).size(), 1);
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 1"));
}

// While logging the panel names the file; the dialog opens in the folder of the last chosen log,
// also in a later run, and forgets a refused name.
TEST_F(GraphLog, ThePanelNamesTheLogAndTheDialogRemembersItsFolder) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("logs")));
    const QString folder = dir.filePath(QStringLiteral("logs"));
    auto* name = child<QLabel>("LogFileLBL");
    EXPECT_EQ(name->text(), QString());
    makeLog(logPath("logs/run1.xls"));
    EXPECT_EQ(name->text(), QStringLiteral("run1.xls"));
    EXPECT_EQ(name->toolTip(), QDir::toNativeSeparators(logPath("logs/run1.xls")));
    logBox()->click();
    EXPECT_EQ(name->text(), QString());
    makeLog(QString());                // cancelled
    makeLog(logPath("logs/run2.XLS")); // refused: forgotten
    makeLog(QString());
    const QStringList folders = {QString(), folder, folder, QString()};
    ASSERT_EQ(t.dialogs.fileRequests.size(), folders.size());
    for (int i = 0; i < folders.size(); ++i) {
        EXPECT_EQ(t.dialogs.fileRequests[i].startFolder, folders[i]) << i;
    }
    makeLog(logPath("logs/run3.xls"));
    logBox()->click();
    TestContext later;
    later.windows.show<GraphFRM>(later.ctx)
        .findChild<QPushButton*>(QStringLiteral("MakeLog_CMD"))
        ->click();
    EXPECT_EQ(later.dialogs.fileRequests.value(0).startFolder, folder);
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

// A name ending in .csv (any case) gives the CSV log: the comment block with the chip's limits
// and fan settings as they were at the first line, the header, then lines with date, time and
// milliseconds at the same interval as the .xls log.
TEST_F(GraphRecording, ACsvNameGivesTheCsvLogWithItsCommentBlock) {
    chip()[0x90] = 0x50;
    chip()[0x79] = 0x7F;
    makeLog(logPath("run.CSV"));
    EXPECT_EQ(logBox()->checkState(), Qt::Checked);
    ticks();             // 12:00:00.100
    chip()[0x90] = 0x20; // changed after the start: the block keeps the first value
    chip()[0xA2] = 254;  // -1 C
    ticks(50);           // 12:00:05.100
    const QList<QByteArray> lines = bytes(logPath("run.CSV")).split('\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QByteArray("# QMF4150 measurement log"));
    EXPECT_TRUE(lines[1].startsWith("# program: QMF4150 Evaluation Software ")) << lines[1].data();
    EXPECT_EQ(lines[2], QByteArray("# chip: address 5E on the printer port"));
    EXPECT_TRUE(lines.contains("# 90 Temp 0 HighLimit: 50"));
    EXPECT_TRUE(lines.contains("# 79 Fan 1 HighLimit: 7F"));
    const qsizetype header = lines.indexOf("time,fan0_rpm,fan1_rpm,temp0_c,temp1_c,temp2_c");
    ASSERT_GT(header, 3);
    ASSERT_EQ(lines.size(), header + 4) << "two lines and the end of the last";
    const QByteArray values[] = {",2014,2507,31,-55,0", ",2014,2507,31,-55,-1"};
    const QTime times[] = {QTime(12, 0, 0, 100), QTime(12, 0, 5, 100)};
    for (int i = 0; i < 2; ++i) {
        const QByteArray& line = lines[header + 1 + i];
        const qsizetype comma = line.indexOf(',');
        EXPECT_EQ(line.mid(comma), values[i]);
        const QDateTime time =
            QDateTime::fromString(QString::fromLatin1(line.left(comma)), Qt::ISODateWithMs);
        EXPECT_EQ(time.toLocalTime(), QDateTime(QDate(2026, 1, 5), times[i])) << line.data();
    }
    EXPECT_EQ(countLabel()->text(), QStringLiteral(" 2"));
    EXPECT_EQ(logErrors(), 0);
}

// A chip that fails while the comment block is read ends the log as a failed reading does:
// closed, empty, reported once.
TEST_F(GraphLog, AFailureReadingTheCommentBlockEndsTheCsvLog) {
    makeLog(logPath("run.csv"));
    t.simBoard()->failTransferAfter(5); // past the tick's five readings, into the block
    ticks();
    EXPECT_EQ(logErrors(), 1);
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_FALSE(view().logFileOpen());
    EXPECT_EQ(bytes(logPath("run.csv")), QByteArray());
}

// Stopped by the user through Check3 or by stopping graphing; the next log starts afresh.
TEST_F(GraphLog, StoppingEndsTheLogAndTheNextStartsWithAHeader) {
    for (bool byGraphing : {false, true}) {
        SCOPED_TRACE(byGraphing);
        t.clock.advanceMs(3600 * 1000); // the last line of a log before is long past
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
    t.clock.advanceMs(5000); // the interval after the line that could not be written
    makeLog(logPath());
    ticks();
    EXPECT_EQ(dataLines(logPath()).size(), 1);
}

} // namespace
} // namespace qmf::test
