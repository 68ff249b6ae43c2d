// SPDX-License-Identifier: GPL-3.0-or-later
// The command line itself: help, usage errors and their exit status, output failures, and the
// hardware path on a machine without the board.
#include "ToolProcess.h"
#include "cli/Commands.h"
#include "core/text/ByteEntryTable.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <sys/stat.h>

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
        {"--simulate monitor --count 1 --log readings.XLS", "ends in .xls (lower case) or .csv"},
        {"--simulate monitor --count 1 --log readings.txt", "ends in .xls (lower case) or .csv"},
        {"--simulate heaters warm", "\"warm\" is neither on nor off"},
        {"--simulate heaters on 3", "there is no heater \"3\""},
        {"--simulate sleep -1", "sleep: \"-1\": no negative numbers here"},
        {"--simulate batch", "batch: missing argument"},
        {"--simulate --smbus /dev/i2c-1 detect", "cannot be combined with --simulate"},
        {"--smbus /dev/i2c-1 --port 0 detect", "cannot be combined with --smbus"},
        {"--sim-state board.state detect", "needs --simulate"},
        {"--sim-smbus-address 5E detect", "--sim-smbus-address moves the simulated SMBus chip"},
        {"--simulate --sim-smbus-address 5D detect", "5Dh is not a QMF4150 address"},
        {"--sim-fail-transfer 3 detect", "needs --simulate"},
        {"--simulate --sim-fail-transfer 0 detect", "--sim-fail-transfer 0 is outside 1 to"},
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

// VALUE is read as the register list reads its hexadecimal entry, from the same table: a value
// is taken only when the whole of it is a byte, and a refused one writes nothing.
class SetValue : public ToolTest {};
TEST_F(SetValue, TakesExactlyWhatTheRegisterListsHexEntryTakes) {
    const QStringList board = {QStringLiteral("--simulate"), QStringLiteral("--sim-state"),
                               path(QStringLiteral("board.state"))};
    ASSERT_EQ(kept(QStringLiteral("set 90 3C")).exitCode, 0);
    int held = 0x3C;
    for (const qmf::test::ByteEntryCase& c : qmf::test::ByteEntryCases) {
        const QString entry = QString::fromUtf8(c.text);
        SCOPED_TRACE('"' + entry.toStdString() + '"');
        const ToolResult set = runTool(board + QStringList{"set", "90", entry});
        EXPECT_EQ(set.exitCode, c.hex >= 0 ? 0 : 2);
        if (c.hex < 0 && !entry.startsWith(u'-')) { // "-5" is taken for an option
            EXPECT_TRUE(set.err.contains("VALUE ")) << set.err.toStdString();
        }
        held = c.hex >= 0 ? c.hex : held;
        EXPECT_EQ(kept(QStringLiteral("get 90")).out,
                  QString::number(held, 16).toUpper().toUtf8() + '\n');
    }
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

// Past a file-size limit (as on a full disk) a save is a failure that names its cause, and the
// file it would have replaced keeps its contents: the settings file, the saved board and
// standard output alike. Without SIGXFSZ ignored the tool still reports instead of dying.
TEST(CommandLine, ASaveCutShortKeepsTheOldFileAndNamesTheCause) {
    QTemporaryDir dir;
    const auto contents = [&dir](const char* name) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    const QStringList kept = words("--simulate --sim-state board.state");
    ASSERT_EQ(runTool(kept + words("batch -"), "set 90 22\ndump a.dat\n", dir.path()).exitCode, 0);
    const QByteArray oldSettings = contents("a.dat"), oldBoard = contents("board.state");
    const struct {
        const char* line;
        qint64 limit;
        bool ignoreSignal;
        const char* message;
    } cases[] = {
        {"dump a.dat", 100, true, "the file a.dat could not be written (File too large)"},
        {"dump a.dat", 1000, false, "the file a.dat could not be written (File too large)"},
        {"set 90 11", 100, true, "not saved (File too large); the file keeps its previous"},
        {"dump", 1000, true, "could not write to standard output: File too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ToolResult result =
            runTool(kept + words(c.line), {}, dir.path(), dir.filePath(QStringLiteral("out")),
                    c.limit, c.ignoreSignal);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
        EXPECT_EQ(contents("a.dat"), oldSettings);
        EXPECT_EQ(contents("board.state"), oldBoard);
    }
    EXPECT_EQ(runTool(kept + words("get 90"), {}, dir.path()).out, "22\n");
}

// Regular files, pipes and FIFOs are read to their end (once: what load checked is what it
// writes); a device node is refused at once; a FIFO or a pipe that keeps the tool waiting says
// so, and Ctrl-C then ends the tool with status 130 and nothing written.
TEST(CommandLine, PipesAreReadDevicesRefusedAndCtrlCEndsAWait) {
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("in.dat"));
    ASSERT_EQ(runTool(words("--simulate dump in.dat"), {}, dir.path()).exitCode, 0);
    QFile saved(settings);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    QByteArray bytes = saved.readAll().replace("90,50\r\n", "90,33\r\n");
    saved.close();
    QFile::remove(settings);
    ASSERT_EQ(::mkfifo(QFile::encodeName(settings).constData(), 0600), 0);

    const auto process = startTool(words("--simulate --sim-state s load in.dat"), dir.path());
    QFile fifo(settings); // opens once the tool opened it for reading
    ASSERT_TRUE(fifo.open(QIODevice::WriteOnly));
    ASSERT_EQ(fifo.write(bytes.left(700)), 700);
    ASSERT_TRUE(fifo.flush());
    ASSERT_EQ(fifo.write(bytes.mid(700)), bytes.size() - 700);
    fifo.close();
    ASSERT_TRUE(process->waitForFinished(60000));
    EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    EXPECT_EQ(process->readAllStandardOutput(), "Register settings were loaded from file.\n");
    EXPECT_EQ(runTool(words("--simulate --sim-state s get 90"), {}, dir.path()).out, "33\n");

    expectFailure(runTool(words("--simulate --sim-state /dev/zero get 0")), 1,
                  "/dev/zero: it is a device (character special file), not a file");
    expectFailure(runTool(words("--simulate batch /dev/urandom")), 1,
                  "/dev/urandom: it is a device (character special file), not a file");

    const struct {
        const char* line;
        const char* waitingFor;
    } waits[] = {
        {"--simulate --sim-state t load in.dat", "waiting for in.dat to be written"},
        {"--simulate --sim-state in.dat get 0", "waiting for in.dat to be written"},
        {"--simulate --sim-state t batch -", "waiting for standard input to be written"},
    };
    for (const auto& w : waits) {
        SCOPED_TRACE(w.line);
        const auto waiting = startTool(words(w.line), dir.path());
        QByteArray err;
        ASSERT_TRUE(waitForError(*waiting, w.waitingFor, err)) << err.toStdString();
        ::kill(pid_t(waiting->processId()), SIGINT);
        ASSERT_TRUE(waiting->waitForFinished(60000));
        err += waiting->readAllStandardError();
        EXPECT_EQ(waiting->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(waiting->exitCode(), 130) << err.toStdString();
        EXPECT_TRUE(err.contains("interrupted")) << err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("t"))));
    }
}

} // namespace
} // namespace qmf::cli::test
