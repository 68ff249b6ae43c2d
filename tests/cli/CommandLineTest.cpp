// SPDX-License-Identifier: GPL-3.0-or-later
// The command line itself: help, usage errors and their exit status, output failures, and the
// hardware path on a machine without the board.
#include "ToolProcess.h"
#include "cli/Commands.h"

#include <QDir>

namespace qmf::cli::test {
namespace {

bool isEmptyDir(const QString& path) {
    return QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// The tool's help lists every command; each command has its own help, which touches nothing:
// no board is created, so no state file appears.
TEST(CommandLine, HelpForTheToolAndForEachCommand) {
    const ToolResult result = runTool({QStringLiteral("--help")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.err.isEmpty());
    const QString help = QString::fromUtf8(result.out);
    EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: qmf4150ctl [board options] COMMAND")));
    EXPECT_TRUE(help.contains(QStringLiteral("first chip a search finds")));
    EXPECT_TRUE(help.contains(QStringLiteral("the printer ports first")));
    for (const CommandSpec& command : commands()) {
        SCOPED_TRACE(command.name.toStdString());
        EXPECT_TRUE(help.contains(QStringLiteral("\n  ") + command.synopsis));
        QTemporaryDir dir;
        const ToolResult own =
            sim(QStringLiteral("--sim-state s %1 --help").arg(command.name), {}, dir.path());
        EXPECT_EQ(own.exitCode, 0);
        EXPECT_TRUE(own.out.startsWith(
            QStringLiteral("Usage: qmf4150ctl [board options] %1").arg(command.name).toUtf8()))
            << own.out.left(80).toStdString();
        EXPECT_TRUE(isEmptyDir(dir.path()));
    }
}

// Every wrong command line ends with status 2, a message on standard error, nothing on
// standard output, and nothing written anywhere (no state file, no settings file, no log).
TEST(CommandLine, UsageErrorsExitTwoAndTouchNothing) {
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {"--simulate", "no command given"},
        {"--simulate frobnicate", "unknown command \"frobnicate\""},
        {"--simulate get", "get: missing argument"},
        {"--simulate get 90 91", "unexpected argument \"91\""},
        {"--simulate get 100", "REG 100h does not fit a byte"},
        {"--simulate get zz", "REG \"zz\" is not a hexadecimal number"},
        {"--simulate set 90 1FF", "VALUE 1FFh does not fit a byte"},
        {"--simulate set 90 50 --mask 1FF", "mask 1FFh does not fit a byte"},
        {"--simulate --address 0x5F get 0", "--address 5Fh is not a QMF4150 address"},
        {"--simulate --port x detect", "--port \"x\" is not a whole number"},
        {"--simulate --port 256 detect", "--port 256 is outside 0 to 255"},
        {"--simulate dump settings.DAT", "ends in .dat"},
        {"--simulate monitor", "give --count"},
        {"--simulate monitor --count 2 --interval 0", "interval 0 is outside 0.1 to 3600"},
        {"--simulate monitor --count 1 --log readings.XLS", "ends in .xls"},
        {"--simulate heaters warm", "\"warm\" is neither on nor off"},
        {"--simulate heaters on 3", "there is no heater \"3\""},
        {"--simulate sleep -1", "sleep: \"-1\": no negative numbers here"},
        {"--simulate batch", "batch: missing argument"},
        {"--simulate --smbus /dev/i2c-1 detect", "cannot be combined with --simulate"},
        {"--smbus /dev/i2c-1 --port 0 detect", "cannot be combined with --smbus"},
        {"--sim-state board.state detect", "needs --simulate"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        QTemporaryDir dir;
        const QString line = QString::fromLatin1(c.line).replace(
            QStringLiteral("--simulate"), QStringLiteral("--simulate --sim-state board.state"));
        expectFailure(runTool(words(line), {}, dir.path()), 2, c.message);
        EXPECT_TRUE(isEmptyDir(dir.path()));
    }
    expectFailure(runTool({QStringLiteral("--smbus"), {}, QStringLiteral("detect")}), 2,
                  "--smbus needs the adapter's device file");
}

// Output that cannot be written is a failure, not a silent loss. Without --simulate the tool
// goes to the hardware; on a machine without the board that is a clear failure, not a crash.
TEST(CommandLine, FailuresOutsideTheChipAreReported) {
    expectFailure(runTool(words("--simulate dump"), {}, {}, QStringLiteral("/dev/full")), 1,
                  "could not write to standard output");
    if (QDir(QStringLiteral("/dev"))
            .entryList({QStringLiteral("parport*"), QStringLiteral("i2c-*")}, QDir::System)
            .isEmpty()) {
        expectFailure(runTool(words("get D")), 1, "Sorry, no QMF4150s were found.");
    }
}

} // namespace
} // namespace qmf::cli::test
