// SPDX-License-Identifier: GPL-3.0-or-later
// batch, sleep, heaters and the simulated board kept between runs.
#include "ToolProcess.h"

#include <QDir>
#include <QProcess>

namespace qmf::cli::test {
namespace {

class Batch : public ToolTest {};

TEST_F(Batch, RunsItsLinesOnOneChip) {
    const struct {
        const char* script;
        const char* printed;
    } cases[] = {
        {"set 0x90 0x50\nget 0x90\n", "50\n"},
        {"# a comment\n\n  set 90 \"7\"  \r\n\tget 90\r\n", "7\n"},
        {"set 90 1\nget 90\nset 90 2\nget 90", "1\n2\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const ToolResult result = runSim({QStringLiteral("batch"), QStringLiteral("-")}, c.script);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.out, QByteArray(c.printed));
        EXPECT_TRUE(result.err.isEmpty());
    }
    writeFile(QStringLiteral("script.txt"), "set 90 3C\nget 90\n");
    EXPECT_EQ(runSim({QStringLiteral("batch"), path(QStringLiteral("script.txt"))}).out,
              QByteArray("3C\n"));
}

// A wrong line anywhere runs nothing: register 90 keeps its value although line 1 sets it.
TEST_F(Batch, AWrongLineRunsNothing) {
    const QByteArray before = runKept({QStringLiteral("get"), QStringLiteral("90")}).out;
    ASSERT_NE(before, hexLine(0x11));
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"set 90 11\nget 90\nget 100\n", "batch line 3: get: REG 100h does not fit a byte"},
        {"set 90 11\nfrobnicate\n", "batch line 2: unknown command \"frobnicate\""},
        {"set 90 11\nbatch other.txt\n", "batch line 2: a batch cannot run batch"},
        {"set 90 11\nmonitor\n", "batch line 2: monitor: on the simulated board"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const ToolResult result = runKept({QStringLiteral("batch"), QStringLiteral("-")}, c.script);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("batch: nothing was run"));
        EXPECT_EQ(runKept({QStringLiteral("get"), QStringLiteral("90")}).out, before);
    }
}

// A failing line stops the batch; what ran before it stays done (and is kept in the state).
TEST_F(Batch, AFailingLineStopsTheRest) {
    const ToolResult result =
        runKept({QStringLiteral("batch"), QStringLiteral("-")}, "set 90 11\nset D 42\nget 90\n");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains("batch line 2: register Dh reads 41 after 42 was written"))
        << result.err.toStdString();
    EXPECT_EQ(runKept({QStringLiteral("get"), QStringLiteral("90")}).out, hexLine(0x11));
}

// After the auto-set the fans change speed over time: a sleep lets the simulated clock move.
TEST_F(Batch, SleepAdvancesTheSimulatedClock) {
    const struct {
        const char* between;
        bool changes;
    } cases[] = {{"", false}, {"sleep 0\n", false}, {"sleep 20\n", true}, {"sleep 0.5\n", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.between);
        const ToolResult result = runSim({QStringLiteral("batch"), QStringLiteral("-")},
                                         QByteArray("autoset\nget 70\n") + c.between + "get 70\n");
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QStringList lines = result.outLines();
        ASSERT_EQ(lines.size(), 22);
        EXPECT_EQ(lines[20] != lines[21], c.changes) << lines[20].toStdString();
    }
}

// Heater 1 warms the second remote diode (Temp2), heater 2 the first (Temp1).
TEST_F(Batch, HeatersWarmTheirDiodes) {
    const auto temps = [](const QByteArray& heaters) {
        const ToolResult result = runSim({QStringLiteral("batch"), QStringLiteral("-")},
                                         heaters + "sleep 300\nget A1\nget A2\n");
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QStringList lines = result.outLines();
        return std::pair{lines.value(lines.size() - 2).toInt(nullptr, 16),
                         lines.value(lines.size() - 1).toInt(nullptr, 16)};
    };
    const auto [cold1, cold2] = temps("");
    const auto [one1, one2] = temps("heaters on 1\n");
    const auto [two1, two2] = temps("heaters on 2\n");
    const auto [off1, off2] = temps("heaters on\nheaters off 1\nheaters off 2\n");
    EXPECT_EQ(one1, cold1);
    EXPECT_GT(one2, cold2 + 10);
    EXPECT_GT(two1, cold1 + 10);
    EXPECT_EQ(two2, cold2);
    EXPECT_EQ(off1, cold1);
    EXPECT_EQ(off2, cold2);

    const ToolResult shown =
        runSim({QStringLiteral("heaters"), QStringLiteral("on"), QStringLiteral("2")});
    EXPECT_EQ(shown.outLines(), (QStringList{QStringLiteral("Heater  for Q2 (TDM2): off"),
                                             QStringLiteral("Heater  for Q1 (TDM1): on")}));
    EXPECT_TRUE(shown.err.contains("switches its heaters off when qmf4150ctl ends"));
}

class SimState : public ToolTest {};

TEST_F(SimState, KeepsTheChipsBetweenRuns) {
    ASSERT_EQ(runKept({QStringLiteral("set"), QStringLiteral("90"), QStringLiteral("11")}).exitCode,
              0);
    ASSERT_EQ(runKept({QStringLiteral("--address"), QStringLiteral("0x5C"), QStringLiteral("set"),
                       QStringLiteral("90"), QStringLiteral("22")})
                  .exitCode,
              0);
    EXPECT_EQ(runKept({QStringLiteral("get"), QStringLiteral("90")}).out, hexLine(0x11));
    EXPECT_EQ(runKept({QStringLiteral("--address"), QStringLiteral("0x5C"), QStringLiteral("get"),
                       QStringLiteral("90")})
                  .out,
              hexLine(0x22));
    // Written through a temporary file: nothing else is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("board.state")});
}

// Heaters switched on in one run are off in the next, as on the real board; an empty file is a
// board fresh from power-up.
TEST_F(SimState, HeatersDoNotOutliveTheRunAndAnEmptyFileIsFresh) {
    const QByteArray script = "sleep 300\nget A2\n";
    const QByteArray fresh = runSim({QStringLiteral("batch"), QStringLiteral("-")}, script).out;
    writeFile(QStringLiteral("board.state"), {});
    ASSERT_EQ(runKept({QStringLiteral("heaters"), QStringLiteral("on")}).exitCode, 0);
    EXPECT_EQ(runKept({QStringLiteral("batch"), QStringLiteral("-")}, script).out, fresh);
}

TEST_F(SimState, ADamagedFileIsRefusedAndKept) {
    ASSERT_EQ(runKept({QStringLiteral("set"), QStringLiteral("90"), QStringLiteral("11")}).exitCode,
              0);
    const QByteArray good = readFile(QStringLiteral("board.state"));
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"not a state", "settings\n", "is not a saved simulated board"},
        {"truncated", good.left(good.size() - 10), "truncated or damaged"},
        {"damaged chip",
         [&good] {
             QByteArray b = good;
             b[40] = char(b[40] ^ 0x55);
             return b;
         }(),
         "chip:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(QStringLiteral("board.state"), c.bytes);
        const ToolResult result = runKept({QStringLiteral("get"), QStringLiteral("90")});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
        EXPECT_EQ(readFile(QStringLiteral("board.state")), c.bytes);
    }
}

// SIGTERM (as Ctrl-C) ends a long monitor between rows: exit status 0, every row printed is
// logged as a whole line, and the simulated board is still saved.
TEST_F(SimState, AnInterruptedMonitorLeavesCompleteFiles) {
    QProcess process;
    process.setProgram(QStringLiteral(QMF4150CTL_PATH));
    process.setWorkingDirectory(dir.path());
    process.setArguments({QStringLiteral("--simulate"), QStringLiteral("--sim-state"),
                          QStringLiteral("board.state"), QStringLiteral("monitor"),
                          QStringLiteral("--count"), QStringLiteral("1000000000"),
                          QStringLiteral("--log"), QStringLiteral("m.xls")});
    process.start();
    ASSERT_TRUE(process.waitForStarted(30000));
    QByteArray out;
    while (out.count('\n') < 5 && process.waitForReadyRead(30000)) {
        out += process.readAllStandardOutput();
    }
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(30000));
    out += process.readAllStandardOutput();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QByteArray log = readFile(QStringLiteral("m.xls"));
    EXPECT_TRUE(log.endsWith("\r\n"));
    EXPECT_EQ(log.count("\r\n") - 1, out.count('\n') - 1) << "rows in the table and the log";
    EXPECT_FALSE(readFile(QStringLiteral("board.state")).isEmpty());
}

} // namespace
} // namespace qmf::cli::test
