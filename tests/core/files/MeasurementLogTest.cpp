// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/MeasurementLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmf {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<unreadable>";
    }
    return file.readAll();
}

TEST(MeasurementLogFormat, HeaderIsTabSeparatedAndEndsInCrLf) {
    EXPECT_EQ(measurementLogHeader(), QByteArray("Time\tFan0\tFan1\tTemp0\tTemp1\tTemp2\r\n"));
}

struct LineCase {
    QTime time;
    LogReadings readings;
    const char* expected;
};

class MeasurementLogLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(MeasurementLogLine, StartsWithCrAndFramesEachNumberInBlanks) {
    const LineCase& c = GetParam();
    EXPECT_EQ(measurementLogLine(c.time, c.readings), QByteArray(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Readings, MeasurementLogLine,
                         ::testing::Values(
                             // The example line: every number with a leading and a trailing blank.
                             LineCase{QTime(14, 3, 27),
                                      {2500, 2480, 31, 28, 27},
                                      "\r14:03:27\t 2500 \t 2480 \t 31 \t 28 \t 27 \r\n"},
                             // A negative number has its minus sign instead of the leading blank.
                             LineCase{QTime(0, 0, 5),
                                      {0, 56400, -5, -127, 0},
                                      "\r00:00:05\t 0 \t 56400 \t-5 \t-127 \t 0 \r\n"},
                             // 24-hour clock, milliseconds not shown.
                             LineCase{QTime(23, 59, 59, 950),
                                      {221, 7050, 127, -1, -55},
                                      "\r23:59:59\t 221 \t 7050 \t 127 \t-1 \t-55 \r\n"}));

struct DueCase {
    const char* what;
    int nowMs;
    std::optional<int> lastMs;
    double intervalS;
    bool due;
};

class MeasurementLogDue : public ::testing::TestWithParam<DueCase> {};

TEST_P(MeasurementLogDue, FollowsTheIntervalOnTheTimeOfDay) {
    const DueCase& c = GetParam();
    EXPECT_EQ(measurementLogLineDue(c.nowMs, c.lastMs, c.intervalS), c.due) << c.what;
}

constexpr int At(int h, int m, int s, int ms = 0) {
    return ((h * 60 + m) * 60 + s) * 1000 + ms;
}

INSTANTIATE_TEST_SUITE_P(
    Intervals, MeasurementLogDue,
    ::testing::Values(DueCase{"first line of a log", At(0, 0, 1), std::nullopt, 5, true},
                      DueCase{"4.9 s after", At(12, 0, 4, 900), At(12, 0, 0), 5, false},
                      DueCase{"5 s after", At(12, 0, 5), At(12, 0, 0), 5, true},
                      DueCase{"100 ms after, no delay", At(12, 0, 0, 100), At(12, 0, 0), 0, true},
                      DueCase{"negative delay", At(12, 0, 0, 100), At(12, 0, 0), -5, true},
                      // Across midnight the elapsed time wraps instead of going negative.
                      DueCase{"3 s across midnight", At(0, 0, 1), At(23, 59, 58), 5, false},
                      DueCase{"5 s across midnight", At(0, 0, 3), At(23, 59, 58), 5, true},
                      DueCase{"an hour across midnight", At(0, 30, 0), At(23, 30, 0), 3600, true},
                      DueCase{"59 min across midnight", At(0, 29, 0), At(23, 30, 0), 3600, false}));

TEST(MeasurementLogWriter, TruncatesOnOpenAndFlushesEveryLine) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("log.xls"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older log that is much longer than the new one\r\n");
    }
    MeasurementLogWriter writer;
    ASSERT_TRUE(writer.open(path)) << writer.errorString().toStdString();
    EXPECT_TRUE(writer.isOpen());
    EXPECT_EQ(contents(path), QByteArray());

    ASSERT_TRUE(writer.writeLine(measurementLogHeader()));
    // Already on disk while the file is still open: a crash now loses nothing.
    EXPECT_EQ(contents(path), measurementLogHeader());
    ASSERT_TRUE(writer.writeLine("\r00:00:01\t 1 \r\n"));
    EXPECT_EQ(contents(path), measurementLogHeader() + "\r00:00:01\t 1 \r\n");

    EXPECT_TRUE(writer.close());
    EXPECT_FALSE(writer.isOpen());
    EXPECT_TRUE(writer.close()) << "closing twice is harmless";
    EXPECT_FALSE(writer.writeLine("late")) << "nothing is written to a closed log";
    EXPECT_EQ(contents(path), measurementLogHeader() + "\r00:00:01\t 1 \r\n");
}

TEST(MeasurementLogWriter, ReportsOpenAndWriteFailures) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.xls")));
    MeasurementLogWriter writer;
    for (const QString& path : {dir.filePath(QStringLiteral("folder.xls")),
                                dir.filePath(QStringLiteral("missing/log.xls"))}) {
        EXPECT_FALSE(writer.open(path)) << path.toStdString();
        EXPECT_FALSE(writer.isOpen());
        EXPECT_FALSE(writer.errorString().isEmpty());
    }
    // A device that accepts the open but no byte: every write is checked.
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        ASSERT_TRUE(writer.open(QStringLiteral("/dev/full")));
        EXPECT_FALSE(writer.writeLine(measurementLogHeader()));
        EXPECT_FALSE(writer.errorString().isEmpty());
    }
}

} // namespace
} // namespace qmf
