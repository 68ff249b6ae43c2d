// SPDX-License-Identifier: GPL-3.0-or-later
// autoset and monitor: the program's report lines, readings and measurement log.
#include "ToolProcess.h"
#include "core/files/MeasurementLog.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"
#include "core/wizards/AutoSet.h"

#include <QRegularExpression>
#include <QTime>

namespace qmf::cli::test {
namespace {

TEST(AutoSet, PrintsTheTwentyReportLinesAndWritesTheTable) {
    QByteArray script = "autoset\n";
    for (const AutoSetRow& row : AutoSetTable()) {
        script += "get " + QByteArray::number(row.Register, 16) + '\n';
    }
    const ToolResult result = runSim({QStringLiteral("batch"), QStringLiteral("-")}, script);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList lines = result.outLines();
    ASSERT_EQ(lines.size(), 2 * AutoSetRowCount);
    EXPECT_EQ(lines.first(), QStringLiteral("QMF4150-Temp0 fan mask, Address Pointer:48, data "
                                            "written:0"));
    EXPECT_EQ(lines[17], QStringLiteral("QMF4150-AIN 0 Low, Address Pointer:B0, data written:F"));
    EXPECT_EQ(lines[19], QStringLiteral("QMF4150, Address Pointer:1, data written:10"));
    for (int i = 0; i < AutoSetRowCount; ++i) {
        const AutoSetRow& row = AutoSetTable()[i];
        EXPECT_EQ(lines[i],
                  AutoSetLogLine(QString::fromLatin1(row.Label), row.Register, row.Value));
        EXPECT_EQ(lines[AutoSetRowCount + i] + QLatin1Char('\n'),
                  QString::fromLatin1(hexLine(row.Value)))
            << "register " << int(row.Register);
    }
}

struct TableRow {
    QTime time;
    LogReadings readings;
};

// "hh:mm:ss" and five whole numbers, as the table prints them.
std::optional<TableRow> parseRow(const QString& line) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(\d\d:\d\d:\d\d) +(-?\d+) +(-?\d+) +(-?\d+) +(-?\d+) +(-?\d+)$)"));
    const QRegularExpressionMatch m = pattern.match(line);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    TableRow row;
    row.time = QTime::fromString(m.captured(1), QStringLiteral("hh:mm:ss"));
    row.readings = {m.captured(2).toDouble(), m.captured(3).toDouble(), m.captured(4).toDouble(),
                    m.captured(5).toDouble(), m.captured(6).toDouble()};
    return row;
}

class Monitor : public ToolTest {};

// The readings are the graph window's: fan speeds from the tachometer counts at the oscillator
// frequency of bits 7:6 of the speed-2 registers, temperatures from their register bytes. The
// registers are read right after the last row, with no simulated time in between.
TEST_F(Monitor, TableAndLogHoldTheGraphWindowsReadings) {
    const ToolResult result = runSim({QStringLiteral("batch"), QStringLiteral("-")},
                                     "autoset\n"
                                     "heaters on 1\n"
                                     "sleep 30\n"
                                     "monitor --count 3 --interval 2 --log m.xls\n"
                                     "get 68\nget 69\nget 70\nget 71\nget A0\nget A1\nget A2\n",
                                     dir.path());
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList lines = result.outLines().mid(AutoSetRowCount + 2);
    ASSERT_EQ(lines.size(), 1 + 3 + 7);
    EXPECT_EQ(lines[0], QStringLiteral("Time       Fan0   Fan1  Temp0  Temp1  Temp2"));
    QList<TableRow> rows;
    for (int i = 1; i <= 3; ++i) {
        const auto row = parseRow(lines[i]);
        ASSERT_TRUE(row) << lines[i].toStdString();
        rows << *row;
    }
    EXPECT_EQ(rows[0].time.secsTo(rows[1].time), 2);
    EXPECT_EQ(rows[1].time.secsTo(rows[2].time), 2);

    bool ok = true;
    int byte[7];
    for (int i = 0; i < 7; ++i) {
        byte[i] = lines[4 + i].toInt(&ok, 16);
        ASSERT_TRUE(ok);
    }
    const int frequencies[] = {0, 470, 940, 1880};
    const LogReadings& last = rows[2].readings;
    EXPECT_EQ(last.fan0, Fan::TachConvert(byte[2], frequencies[byte[0] >> 6]));
    EXPECT_EQ(last.fan1, Fan::TachConvert(byte[3], frequencies[byte[1] >> 6]));
    EXPECT_EQ(last.temp0, Temperature::RegisterToTemperature(qint16(byte[4])));
    EXPECT_EQ(last.temp1, Temperature::RegisterToTemperature(qint16(byte[5])));
    EXPECT_EQ(last.temp2, Temperature::RegisterToTemperature(qint16(byte[6])));
    EXPECT_GT(last.fan0, 0);
    EXPECT_GT(last.temp2, last.temp1) << "heater 1 warms the second remote diode";

    // The log: the header, then one line per row, in the program's bytes.
    QByteArray expected = "Time\tFan0\tFan1\tTemp0\tTemp1\tTemp2\r\n";
    for (const TableRow& row : rows) {
        expected += measurementLogLine(row.time, row.readings);
    }
    const QByteArray log = readFile(QStringLiteral("m.xls"));
    EXPECT_EQ(log, expected);
    QByteArray byHand = "\r" + rows[2].time.toString(QStringLiteral("hh:mm:ss")).toLatin1();
    for (double value : {last.fan0, last.fan1, last.temp0, last.temp1, last.temp2}) {
        byHand += "\t " + QByteArray::number(qint64(value)) + ' ';
    }
    EXPECT_TRUE(log.endsWith(byHand + "\r\n")) << log.toStdString();
}

TEST_F(Monitor, ALogThatCannotBeWrittenFailsBeforeReading) {
    const ToolResult result =
        runSim({QStringLiteral("monitor"), QStringLiteral("--count"), QStringLiteral("1"),
                QStringLiteral("--log"), path(QStringLiteral("missing/m.xls"))});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains("There has been a problem writing to the log file."))
        << result.err.toStdString();
}

} // namespace
} // namespace qmf::cli::test
