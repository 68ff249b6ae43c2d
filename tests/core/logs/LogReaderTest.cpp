// SPDX-License-Identifier: GPL-3.0-or-later
// Both log readers: what the writers write reads back as it was, damaged lines are skipped and
// named by number, and a file that is no log loads nothing and says why.
#include "core/files/MeasurementLog.h"
#include "core/logs/CsvLog.h"
#include "core/logs/LogRecording.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace qmf {
namespace {

double epochSeconds(const QDateTime& time) {
    return double(time.toMSecsSinceEpoch()) / 1000.0;
}

std::vector<double> column(const LogRecording& log, int c) {
    return {log.values[size_t(c)].begin(), log.values[size_t(c)].end()};
}

TEST(LogReader, ACsvLogReadsBackWhatWasWritten) {
    const QDateTime start(QDate(2026, 1, 5), QTime(23, 59, 59, 900), Qt::OffsetFromUTC, -7200);
    CsvLogStart info{QStringLiteral("prog, \"quoted\""), 0x5E, false, {{0x90, 0x50}}};
    QByteArray bytes = csvLogPreamble(info);
    bytes += csvLogLine(start, {2014, 2507, 31, -55, 0});
    bytes += csvLogLine(start.addMSecs(200), {0, 56400, -128, 127, 0.5});
    const LogRecording log = readCsvLog(bytes);
    ASSERT_TRUE(log.ok()) << log.error.toStdString();
    EXPECT_EQ(log.format, LogRecording::Format::Csv);
    EXPECT_EQ(log.damagedLines, 0);
    EXPECT_EQ(log.comments.value(1), QStringLiteral("program: prog, \"quoted\""));
    EXPECT_EQ(log.comments.constLast(), QStringLiteral("90 Temp 0 HighLimit: 50"));
    ASSERT_EQ(log.size(), 2);
    EXPECT_DOUBLE_EQ(log.keys[0], epochSeconds(start));
    EXPECT_DOUBLE_EQ(log.keys[1], epochSeconds(start) + 0.2); // past midnight, the next day
    EXPECT_EQ(column(log, 0), (std::vector<double>{2014, 0}));
    EXPECT_EQ(column(log, 2), (std::vector<double>{31, -128}));
    EXPECT_EQ(column(log, 4), (std::vector<double>{0, 0.5}));
    EXPECT_TRUE(log.keysInOrder);
}

// Each case: a file whose header is right, its lines after the header, and which of them load.
TEST(LogReader, DamagedCsvLinesAreSkippedAndNamedByTheirNumber) {
    const QByteArray head = "# c\ntime,fan0_rpm,fan1_rpm,temp0_c,temp1_c,temp2_c\n";
    const QByteArray good = "2026-01-05T12:00:00.000Z,1,2,3,4,5";
    const struct {
        const char* what;
        QByteArray line;
        bool loads;
        const char* damage; // part of the report
    } cases[] = {
        {"a good line", good, true, ""},
        {"quoted fields", "\"2026-01-05T12:00:00.000Z\",\"1\",2,3,4,5", true, ""},
        {"CR LF line end", good + "\r", true, ""},
        {"no zone: local time", "2026-01-05T12:00:00.000,1,2,3,4,5", true, ""},
        {"an empty reading", "2026-01-05T12:00:00Z,,2,3,4,5", true, ""},
        {"five fields", "2026-01-05T12:00:00Z,1,2,3,4", false, "not 6 comma-separated"},
        {"seven fields", good + ",6", false, "not 6 comma-separated"},
        {"no such month", "2026-13-05T12:00:00Z,1,2,3,4,5", false, "not a date and time"},
        {"no such day", "2026-02-30T12:00:00Z,1,2,3,4,5", false, "not a date and time"},
        {"hour 24", "2026-01-05T24:00:00Z,1,2,3,4,5", false, "not a date and time"},
        {"bad zone", "2026-01-05T12:00:00+1:00,1,2,3,4,5", false, "not a date and time"},
        {"a letter in a number", "2026-01-05T12:00:00Z,1,2x,3,4,5", false, "field 3"},
        {"infinity", "2026-01-05T12:00:00Z,1,2,inf,4,5", false, "field 4"},
        {"an exponent", "2026-01-05T12:00:00Z,1,2,3,1e5,5", false, "field 5"},
        {"unclosed quote", "2026-01-05T12:00:00Z,\"1,2,3,4,5", false, "comma-separated"},
        {"text after a quote", "2026-01-05T12:00:00Z,\"1\"x,2,3,4,5", false, "comma-separated"},
        {"an empty line", "", false, "not 6"},
        {"a comment after the header", "# late", false, "not 6"},
        {"binary", QByteArray("\x00\xff\x01,,,,,", 10), false, "not a date and time"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const LogRecording log = readCsvLog(head + good + '\n' + c.line + '\n' + good + '\n');
        ASSERT_TRUE(log.ok()) << log.error.toStdString();
        EXPECT_EQ(log.size(), c.loads ? 3 : 2);
        EXPECT_EQ(log.damagedLines, c.loads ? 0 : 1);
        if (!c.loads) {
            ASSERT_EQ(log.damage.size(), 1);
            EXPECT_TRUE(log.damage[0].startsWith(QStringLiteral("line 4: ")))
                << log.damage[0].toStdString();
            EXPECT_TRUE(log.damage[0].contains(QLatin1String(c.damage)))
                << log.damage[0].toStdString();
        }
    }
    const LogRecording empty = readCsvLog(head + "2026-01-05T12:00:00Z,,2,3,4,5\n");
    EXPECT_TRUE(std::isnan(empty.values[0].value(0)));
}

TEST(LogReader, AFileThatIsNoLogLoadsNothingAndSaysWhy) {
    const struct {
        const char* what;
        QByteArray bytes;
        bool xls;
        const char* error;
    } cases[] = {
        {"empty", "", false, "no header"},
        {"comments only", "# a\n# b\n", false, "no header"},
        {"another header", "time,a,b\n1,2,3\n", false, "line 1 is not the header"},
        {"data first", "2026-01-05T12:00:00Z,1,2,3,4,5\n", false, "line 1 is not the header"},
        {"xls header altered", "Time\tFan0\tFan1\r\n\r12:00:00\t 1 \r\n", true, "line 1 is not"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const LogRecording log =
            c.xls ? readXlsLog(c.bytes, QDate(2026, 1, 5)) : readCsvLog(c.bytes);
        EXPECT_FALSE(log.ok());
        EXPECT_TRUE(log.error.contains(QLatin1String(c.error))) << log.error.toStdString();
        EXPECT_EQ(log.size(), 0);
    }
}

// A .xls log knows only times of day: the last line is on the given date, and the lines before
// midnight on the day before.
TEST(LogReader, AnXlsLogReadsBackAcrossMidnightWithItsDamagedLinesSkipped) {
    QByteArray bytes = measurementLogHeader();
    bytes += measurementLogLine(QTime(23, 59, 58), {2014, 2507, 31, -55, 0});
    bytes += "\r23:59:59\t 1 \t 2 \r\n";                     // line 3: too few fields
    bytes += "\r24:00:00\t 1 \t 2 \t 3 \t 4 \t 5 \r\n";      // line 4: no such time
    bytes += "\r00:00:01\t 1 \t 2x \t 3 \t 4 \t 5 \r\n";     // line 5: not a number
    bytes += "\r00:00:02\t 1 \t 2 \t 3 \t 4 \t 5 \t 6 \r\n"; // line 6: too many fields
    bytes += measurementLogLine(QTime(0, 0, 3), {56400, 0, -1, 127, -128});
    bytes += measurementLogLine(QTime(0, 0, 2), {1, 1, 1, 1, 1}); // the clock set back a little
    const QDate last(2026, 3, 10);
    const LogRecording log = readXlsLog(bytes, last);
    ASSERT_TRUE(log.ok()) << log.error.toStdString();
    EXPECT_EQ(log.format, LogRecording::Format::Xls);
    ASSERT_EQ(log.size(), 3);
    EXPECT_DOUBLE_EQ(log.keys[0], epochSeconds(QDateTime(last.addDays(-1), QTime(23, 59, 58))));
    EXPECT_DOUBLE_EQ(log.keys[1], epochSeconds(QDateTime(last, QTime(0, 0, 3))));
    EXPECT_DOUBLE_EQ(log.keys[2], epochSeconds(QDateTime(last, QTime(0, 0, 2))));
    EXPECT_FALSE(log.keysInOrder);
    EXPECT_EQ(column(log, 0), (std::vector<double>{2014, 56400, 1}));
    EXPECT_EQ(column(log, 3), (std::vector<double>{-55, 127, 1}));
    EXPECT_EQ(log.damagedLines, 4);
    const QStringList numbers{"line 3: ", "line 4: ", "line 5: ", "line 6: "};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(log.damage.value(i).startsWith(numbers[i]))
            << log.damage.value(i).toStdString();
    }
}

TEST(LogReader, AFileIsReadAsTheKindItsFirstLineShows) {
    QTemporaryDir dir;
    const QByteArray csv = csvLogHeader() + "2026-01-05T12:00:00.000Z,1,2,3,4,5\n";
    const QByteArray xls =
        measurementLogHeader() + measurementLogLine(QTime(12, 0, 0), {1, 2, 3, 4, 5});
    const struct {
        const char* name;
        QByteArray bytes;
        bool ok;
        LogRecording::Format format;
    } cases[] = {
        {"a.csv", csv, true, LogRecording::Format::Csv},
        {"a.xls", xls, true, LogRecording::Format::Xls},
        {"csv-named.xls", csv, true, LogRecording::Format::Csv},
        {"xls-named.csv", xls, true, LogRecording::Format::Xls},
        {"other.csv", "hello\n", false, LogRecording::Format::Csv},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(dir.filePath(QLatin1String(c.name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.bytes) == c.bytes.size());
        file.close();
        const LogRecording log = readLogFile(file.fileName());
        EXPECT_EQ(log.ok(), c.ok) << log.error.toStdString();
        if (c.ok) {
            EXPECT_EQ(log.format, c.format);
            EXPECT_EQ(column(log, 4), std::vector<double>{5});
        }
    }
    const LogRecording missing = readLogFile(dir.filePath(QStringLiteral("gone.csv")));
    EXPECT_EQ(missing.error, QStringLiteral("there is no such file"));
    EXPECT_FALSE(readLogFile(dir.path()).ok()) << "a folder";
}

} // namespace
} // namespace qmf
