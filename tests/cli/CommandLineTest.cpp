// SPDX-License-Identifier: GPL-3.0-or-later
// The command line itself: help, usage errors and their exit status, output failures, and the
// hardware path on a machine without the board.
#include "ToolProcess.h"
#include "cli/Commands.h"

#include <QDir>
#include <QProcess>

namespace qmf::cli::test {
namespace {

TEST(CommandLine, HelpListsEveryCommandAndTheChoiceOfChip) {
    const ToolResult result = runTool({QStringLiteral("--help")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.err.isEmpty());
    const QString help = QString::fromUtf8(result.out);
    EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: qmf4150ctl [board options] COMMAND")));
    for (const CommandSpec& command : commands()) {
        EXPECT_TRUE(help.contains(QStringLiteral("\n  ") + command.synopsis))
            << command.name.toStdString();
    }
    EXPECT_TRUE(help.contains(QStringLiteral("first chip a search finds")));
    EXPECT_TRUE(help.contains(QStringLiteral("the printer ports first")));

    const ToolResult version = runTool({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("qmf4150ctl 3."));
}

// Help for a command touches nothing: no board is created, so no state file appears.
TEST(CommandLine, EachCommandHasItsOwnHelp) {
    for (const CommandSpec& command : commands()) {
        SCOPED_TRACE(command.name.toStdString());
        QTemporaryDir dir;
        const ToolResult result =
            runSim({QStringLiteral("--sim-state"), dir.filePath(QStringLiteral("s")), command.name,
                    QStringLiteral("--help")});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_TRUE(result.out.startsWith(
            QStringLiteral("Usage: qmf4150ctl [board options] %1").arg(command.name).toUtf8()))
            << result.out.left(80).toStdString();
        EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
    }
}

// Every wrong command line ends with status 2, a message on standard error, nothing on
// standard output, and nothing written anywhere (no state file, no settings file, no log).
TEST(CommandLine, UsageErrorsExitTwoAndTouchNothing) {
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command \"frobnicate\""},
        {{"get"}, "get: missing argument"},
        {{"get", "90", "91"}, "unexpected argument \"91\""},
        {{"get", "100"}, "REG 100h does not fit a byte"},
        {{"get", "zz"}, "REG \"zz\" is not a hexadecimal number"},
        {{"get", "--bogus", "0"}, "Unknown option 'bogus'"},
        {{"set", "90"}, "set: missing argument"},
        {{"set", "90", "1FF"}, "VALUE 1FFh does not fit a byte"},
        {{"set", "90", "50", "--mask", "1FF"}, "mask 1FFh does not fit a byte"},
        {{"--address", "0x5F", "get", "0"}, "--address 5Fh is not a QMF4150 address"},
        {{"--address", "0x2F", "get", "0"}, "--address 2Fh is not a QMF4150 address"},
        {{"--port", "x", "detect"}, "--port \"x\" is not a whole number"},
        {{"--port", "256", "detect"}, "--port 256 is outside 0 to 255"},
        {{"dump", "settings.DAT"}, "ends in .dat"},
        {{"load", "settings.txt"}, "ends in .dat"},
        {{"monitor"}, "give --count"},
        {{"monitor", "--count", "2", "--interval", "0"}, "interval 0 is outside 0.1 to 3600"},
        {{"monitor", "--count", "0"}, "count 0 is outside 1"},
        {{"monitor", "--count", "1", "--log", "readings.XLS"}, "ends in .xls"},
        {{"heaters", "warm"}, "\"warm\" is neither on nor off"},
        {{"heaters", "on", "3"}, "there is no heater \"3\""},
        {{"sleep", "-1"}, "sleep: \"-1\": no negative numbers here"},
        {{"sleep", "86401"}, "S 86401 is outside 0 to 86400"},
        {{"sleep", "soon"}, "is not a number of seconds"},
        {{"batch"}, "batch: missing argument"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        QTemporaryDir dir;
        const ToolResult result = runSim(
            QStringList{QStringLiteral("--sim-state"), QStringLiteral("board.state")} + c.args, {},
            dir.path());
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(c.message)) << result.err.toStdString();
        EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
    }
}

TEST(CommandLine, BoardOptionsThatContradictEachOtherAreRefused) {
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"--simulate", "--smbus", "/dev/i2c-1", "detect"}, "cannot be combined with --simulate"},
        {{"--smbus", "/dev/i2c-1", "--port", "0", "detect"}, "cannot be combined with --smbus"},
        {{"--smbus", "/dev/i2c-1", "--alternate", "detect"}, "cannot be combined with --smbus"},
        {{"--smbus", "", "detect"}, "--smbus needs the adapter's device file"},
        {{"--sim-state", "board.state", "detect"}, "needs --simulate"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const ToolResult result = runTool(c.args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(QString::fromUtf8(result.err).contains(c.message)) << result.err.toStdString();
    }
}

// Output that cannot be written is a failure, not a silent loss.
TEST(CommandLine, OutputThatCannotBeWrittenFails) {
    QProcess process;
    process.setProgram(QStringLiteral(QMF4150CTL_PATH));
    process.setArguments({QStringLiteral("--simulate"), QStringLiteral("dump")});
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start();
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("could not write to standard output"));
}

// Without --simulate the tool goes to the hardware; on a machine without the board that is a
// clear failure, not a crash or a success.
TEST(CommandLine, HardwareWithoutTheBoardIsAFailure) {
    const QStringList nodes =
        QDir(QStringLiteral("/dev"))
            .entryList({QStringLiteral("parport*"), QStringLiteral("i2c-*")}, QDir::System);
    if (!nodes.isEmpty()) {
        GTEST_SKIP() << "this machine has printer ports or SMBus adapters";
    }
    for (const QString& command : {QStringLiteral("detect"), QStringLiteral("get")}) {
        const ToolResult result =
            runTool(command == QStringLiteral("get") ? QStringList{command, QStringLiteral("D")}
                                                     : QStringList{command});
        EXPECT_FALSE(result.crashed);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.contains("Sorry, no QMF4150s were found."))
            << result.err.toStdString();
    }
}

} // namespace
} // namespace qmf::cli::test
