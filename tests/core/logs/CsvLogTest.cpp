// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV log's bytes: fields, numbers, times, the comment block and the data lines, and the
// registers it records from the chip at the start.
#include "core/logs/CsvLog.h"

#include "CoreFixture.h"
#include "core/link/LinkErrors.h"
#include "core/logs/LogStartRegisters.h"

#include <cmath>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

TEST(CsvLog, FieldsAreQuotedExactlyWhenRfc4180AsksForIt) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\""},
        {" leading", "\" leading\""},
        {"trailing ", "\"trailing \""},
        {"inner blank", "inner blank"},
        {"°C", "°C"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(csvField(QString::fromUtf8(c.text)), QByteArray(c.field)) << c.text;
    }
}

TEST(CsvLog, NumbersArePlainDecimals) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {2014, "2014"},   {-55, "-55"},     {0, "0"},         {-0.0, "0"},        {0.5, "0.5"},
        {56400, "56400"}, {1e6, "1000000"}, {-1.25, "-1.25"}, {std::nan(""), ""}, {INFINITY, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(csvNumber(c.value), QByteArray(c.text)) << c.value;
    }
}

TEST(CsvLog, TimesCarryDateMillisecondsAndTheirOffsetFromUtc) {
    const QDate day(2026, 3, 9);
    const struct {
        QTime time;
        int offsetSeconds;
        const char* text;
    } cases[] = {
        {QTime(14, 3, 27, 5), 3600, "2026-03-09T14:03:27.005+01:00"},
        {QTime(0, 0, 0, 0), 0, "2026-03-09T00:00:00.000+00:00"},
        {QTime(23, 59, 59, 999), -(5 * 3600 + 30 * 60), "2026-03-09T23:59:59.999-05:30"},
        {QTime(9, 5, 1, 100), 13 * 3600 + 45 * 60, "2026-03-09T09:05:01.100+13:45"},
    };
    for (const auto& c : cases) {
        const QDateTime time(day, c.time, Qt::OffsetFromUTC, c.offsetSeconds);
        EXPECT_EQ(csvTime(time), QByteArray(c.text));
    }
}

TEST(CsvLog, PreambleAndLinesHaveTheirExactBytes) {
    CsvLogStart start{QStringLiteral("qmf4150ctl 1.2.3"), 0x5C, true, {{0x07, 0x00}, {0x90, 0x50}}};
    const QDateTime at(QDate(2026, 1, 5), QTime(12, 0, 0, 100), Qt::OffsetFromUTC, 3600);
    QByteArray file = csvLogPreamble(start);
    file += csvLogLine(at, {2014, 2507, 31, -55, 0});
    file += csvLogLine(at.addMSecs(5000), {56400, 0, -1, 127, -128});
    EXPECT_EQ(file, QByteArray("# QMF4150 measurement log\n"
                               "# program: qmf4150ctl 1.2.3\n"
                               "# chip: address 5C on the printer port\n"
                               "# limits and fan settings at the start (register: value, "
                               "hexadecimal):\n"
                               "# 7 Fan Alarm Speed: 0\n"
                               "# 90 Temp 0 HighLimit: 50\n"
                               "time,fan0_rpm,fan1_rpm,temp0_c,temp1_c,temp2_c\n"
                               "2026-01-05T12:00:00.100+01:00,2014,2507,31,-55,0\n"
                               "2026-01-05T12:00:05.100+01:00,56400,0,-1,127,-128\n"));

    // A line break in a text of the block stays inside its comment line.
    start.program = QStringLiteral("odd\nname\r\nhere");
    start.printerPort = false;
    start.registers.clear();
    const QList<QByteArray> lines = csvLogPreamble(start).split('\n');
    EXPECT_EQ(lines.value(1), QByteArray("# program: odd name  here"));
    EXPECT_EQ(lines.value(2), QByteArray("# chip: address 5C on the on-board SMBus"));
    for (qsizetype i = 0; i + 2 < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].startsWith("# ")) << lines[i].toStdString();
    }
}

TEST(CsvLog, LogNamesEndingInCsvChooseTheFormat) {
    const struct {
        const char* name;
        bool csv;
    } cases[] = {{"run.csv", true},      {"RUN.CSV", true}, {"run.xls", false},
                 {"run.csv.xls", false}, {"csv", false},    {"/tmp/a.csv", true}};
    for (const auto& c : cases) {
        EXPECT_EQ(isCsvLogName(QLatin1String(c.name)), c.csv) << c.name;
    }
}

using CsvLogStartTest = CoreFixture;

// The limits and fan settings, each read once in ascending order, on the path in use.
TEST_F(CsvLogStartTest, TheLimitsAndFanSettingsAreReadFromTheChipInUse) {
    const QList<quint8> expected{0x07, 0x08, 0x09, 0x18, 0x19, 0x60, 0x61, 0x68, 0x69,
                                 0x78, 0x79, 0x80, 0x81, 0x82, 0x88, 0x89, 0x8A, 0x90,
                                 0x91, 0x92, 0x98, 0x99, 0x9A, 0xA8, 0xA9, 0xB0, 0xB1};
    EXPECT_EQ(logStartRegisters(), expected);
    const struct {
        qint16 medium;
        bool printerPort;
    } media[] = {{1, true}, {2, false}};
    for (const auto& m : media) {
        state.CommsMedium = m.medium;
        auto& chip = m.printerPort ? printerChip() : smbusChip();
        for (quint8 reg : expected) {
            chip[reg] = quint8(reg ^ 0x5A);
        }
        board->clearLog();
        const CsvLogStart start = readCsvLogStart(state, QStringLiteral("p"));
        EXPECT_EQ(start.printerPort, m.printerPort);
        EXPECT_EQ(start.deviceAddress, 0x5E);
        ASSERT_EQ(start.registers.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(start.registers[i].first, expected[i]);
            EXPECT_EQ(start.registers[i].second, quint8(expected[i] ^ 0x5A));
        }
        EXPECT_EQ(board->transfers().size(), expected.size());
    }
    board->failNext(1, QStringLiteral("Smbus.ReadByte(5E,60"));
    EXPECT_THROW(readCsvLogStart(state, QStringLiteral("p")), LinkError);
}

} // namespace
} // namespace qmf::test
