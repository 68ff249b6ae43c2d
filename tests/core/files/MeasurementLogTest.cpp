// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/MeasurementLog.h"

#include "FilesTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmf {
namespace {

TEST(MeasurementLog, LinesAreTabSeparatedWithEachNumberFramedInBlanks) {
    EXPECT_EQ(measurementLogHeader(), QByteArray("Time\tFan0\tFan1\tTemp0\tTemp1\tTemp2\r\n"));
    // A negative number has its minus sign instead of the leading blank; no milliseconds.
    EXPECT_EQ(measurementLogLine(QTime(9, 3, 27, 950), {2500, 56400, 31, -127, 0}),
              QByteArray("\r09:03:27\t 2500 \t 56400 \t 31 \t-127 \t 0 \r\n"));
}

constexpr int At(int h, int m, int s, int ms = 0) {
    return ((h * 60 + m) * 60 + s) * 1000 + ms;
}

TEST(MeasurementLog, ALineIsDueAfterTheIntervalOnTheTimeOfDayAcrossMidnightToo) {
    const struct {
        int now;
        std::optional<int> last;
        double interval;
        bool due;
    } cases[] = {
        {At(0, 0, 1), std::nullopt, 5, true}, // the first line of a log
        {At(12, 0, 4, 900), At(12, 0, 0), 5, false}, {At(12, 0, 5), At(12, 0, 0), 5, true},
        {At(12, 0, 0, 100), At(12, 0, 0), 0, true},  {At(12, 0, 0, 100), At(12, 0, 0), -5, true},
        {At(0, 0, 1), At(23, 59, 58), 5, false},     {At(0, 0, 3), At(23, 59, 58), 5, true},
        {At(0, 29, 0), At(23, 30, 0), 3600, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(measurementLogLineDue(c.now, c.last, c.interval), c.due) << c.now;
    }
}

TEST(MeasurementLog, WriterTruncatesOnOpenHasEveryLineOnDiskAtOnceAndReportsFailures) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.xls"));
    const auto contents = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    };
    MeasurementLogWriter writer;
    ASSERT_TRUE(writer.open(path)) << writer.errorString().toStdString();
    ASSERT_TRUE(writer.writeLine("an older log that is much longer than the new one\r\n"));
    ASSERT_TRUE(writer.open(path)); // a new log on the same file starts empty
    EXPECT_EQ(contents(), QByteArray());
    ASSERT_TRUE(writer.writeLine(measurementLogHeader()));
    EXPECT_EQ(contents(), measurementLogHeader()); // while still open: a crash now loses nothing
    EXPECT_TRUE(writer.close());
    EXPECT_TRUE(writer.close()) << "closing twice is harmless";
    EXPECT_FALSE(writer.writeLine("late")) << "nothing is written to a closed log";
    EXPECT_EQ(contents(), measurementLogHeader());

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.xls")));
    for (const char* name : {"folder.xls", "missing/log.xls"}) {
        EXPECT_FALSE(writer.open(dir.filePath(QString::fromLatin1(name)))) << name;
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

// A line that does not fit any more is reported and cut off again: the file ends with the last
// whole line, however many bytes of the next one the system took.
TEST(MeasurementLog, ALineCutShortByAFileSizeLimitIsReportedAndRemoved) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.xls"));
    const QByteArray line =
        measurementLogLine(QTime(14, 3, 27), LogReadings{2500, 2480, 31, 28, -5});
    for (qint64 room : {qint64(0), qint64(1), line.size() / 2, line.size() - 1}) {
        SCOPED_TRACE(room);
        MeasurementLogWriter writer;
        ASSERT_TRUE(writer.open(path));
        ASSERT_TRUE(writer.writeLine(measurementLogHeader()));
        ASSERT_TRUE(writer.writeLine(line));
        const qint64 whole = measurementLogHeader().size() + line.size();
        bool written = true;
        {
            test::FileSizeLimit limit(rlim_t(whole + room));
            written = writer.writeLine(line);
        }
        EXPECT_FALSE(written);
        EXPECT_FALSE(writer.errorString().isEmpty());
        EXPECT_TRUE(writer.close());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), measurementLogHeader() + line);
    }
}

} // namespace
} // namespace qmf
