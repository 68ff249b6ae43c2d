// SPDX-License-Identifier: GPL-3.0-or-later
// Looking at the bus with the tool: --trace on the pin-level board decoded by sigrok-cli,
// trace-check, scan and --stats, and what the tool refuses.
#include "ToolProcess.h"
#include "support/SigrokDecode.h"

#include <QFile>

namespace qmf::cli::test {
namespace {

using qmf::test::decodeI2c;
using qmf::test::I2cDecode;
using qmf::test::i2cNoAnswer;
using qmf::test::i2cRead;
using qmf::test::i2cWrite;

constexpr quint8 Chip = 0x5E;

class BusTool : public ToolTest {
protected:
    // The tool on the pin-level board, recording into trace.vcd in the scratch directory.
    ToolResult traced(const QString& line) const {
        return runTool(QStringList{"--simulate", "--pin-level", "--trace", path("trace.vcd")} +
                       words(line));
    }
    QStringList decoded() const {
        const I2cDecode decode = decodeI2c(path("trace.vcd"));
        EXPECT_TRUE(decode.error.isEmpty()) << decode.error.toStdString();
        return decode.events;
    }
    // A command that needs one chip stops the search at the first: the chip at 5E, the first
    // candidate, answers its identification read in the standard bus mode.
    static QStringList firstFind() { return i2cRead(Chip, 0x0D, 0x41); }
    // The whole printer-port search, as detect makes it: the standard bus mode reaches the
    // board's lines (the chip at 5E answers), the alternate mode drives pins it does not use.
    static QStringList search() {
        QStringList events = i2cRead(Chip, 0x0D, 0x41);
        for (int i = 1; i < 8; ++i) {
            events += i2cNoAnswer(quint8(Chip - 2 * i));
        }
        return events;
    }
};

TEST_F(BusTool, TracesOfGetSetDumpAndDetectDecodeIntoTheirTransfers) {
    ToolResult get = traced("get 0D");
    ASSERT_EQ(get.exitCode, 0) << get.err.toStdString();
    EXPECT_EQ(get.out, "41\n");
    const QStringList getEvents = decoded();
    EXPECT_EQ(getEvents, firstFind() + i2cRead(Chip, 0x0D, 0x41));
    // The get itself: start, address write 2F, ACK, data write 0D, ACK, repeated start, address
    // read 2F, ACK, data read 41, NACK, stop.
    EXPECT_EQ(
        getEvents.mid(getEvents.size() - 11),
        (QStringList{"Start", "Address write: 2F", "ACK", "Data write: 0D", "ACK", "Start repeat",
                     "Address read: 2F", "ACK", "Data read: 41", "NACK", "Stop"}));

    ASSERT_EQ(traced("set 40 A5").exitCode, 0);
    EXPECT_EQ(decoded(), firstFind() + i2cWrite(Chip, 0x40, 0xA5) + i2cRead(Chip, 0x40, 0xA5));

    const ToolResult dump = traced("dump");
    ASSERT_EQ(dump.exitCode, 0);
    QStringList expected = firstFind();
    for (const QString& line : dump.outLines()) {
        const QStringList pair = line.split(u',');
        expected +=
            i2cRead(Chip, quint8(pair[0].toUInt(nullptr, 16)), quint8(pair[1].toUInt(nullptr, 16)));
    }
    EXPECT_EQ(dump.outLines().size(), 256);
    EXPECT_EQ(decoded(), expected);

    ASSERT_EQ(traced("detect").exitCode, 0);
    EXPECT_EQ(decoded(), search());

    // And the timing of what the tool did was SMBus timing.
    const ToolResult check = runTool({"trace-check", path("trace.vcd")});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains("no violation of the SMBus 100 kHz timing"));
    EXPECT_TRUE(check.out.contains("maximum clock frequency: 38.5 kHz"));
}

TEST_F(BusTool, TraceCheckPrintsEachViolationWithItsTimeAndFailsThen) {
    // One read at 100 kHz whose third clock is low for only 3 us (2 us after the data changed),
    // with a stop right after.
    writeFile("short.vcd", "$timescale 1 us $end $scope module la $end $var wire 1 a D0 $end "
                           "$var wire 1 b D1 $end $upscope $end $enddefinitions $end\n"
                           "#0 1a 1b\n#5 0b\n#10 0a\n#15 1a\n#20 0a\n#25 1a\n#30 0a\n#31 1b\n"
                           "#33 1a\n#38 0a\n#39 0b\n#45 1a\n#50 1b\n#60\n");
    const ToolResult bad =
        runTool({"trace-check", "--scl", "d0", "--sda", "D1", path("short.vcd")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.outLines(),
              (QStringList{"at 30 us: tLOW 3 us, at least 4.7 us",
                           "at 25 us: clock period 8 us, at least 10 us (faster than 100 kHz)",
                           path("short.vcd") + ": 60 us of trace, 4 clocks, 1 starts, 1 stops",
                           "maximum clock frequency: 125.0 kHz (shortest clock period 8 us)",
                           "2 violations of the SMBus 100 kHz timing (tLOW 1, clock period 1)"}));

    const struct {
        QStringList args;
        int status;
        const char* message;
    } failures[] = {
        {{"trace-check", path("none.vcd")}, 1, "none.vcd: No such file or directory"},
        {{"trace-check", path("short.vcd")}, 1, "no one-bit wire named SCL (its wires are D0, D1)"},
        {{"trace-check", dir.path()}, 1, "is a directory"},
        {{"trace-check"}, 2, "trace-check:"},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.args.join(' ').toStdString());
        expectFailure(runTool(f.args), f.status, QLatin1String(f.message));
    }
}

TEST_F(BusTool, ScanShowsEachBusAsI2cdetectDoes) {
    const ToolResult scan = runTool({"--simulate", "--pin-level", "scan"});
    ASSERT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    const QStringList lines = QString::fromUtf8(scan.out).split(u'\n');
    // Three buses of a title, a header, eight rows and a blank line; a marked chip adds a line.
    ASSERT_EQ(lines.size(), 3 * 11 + 2 + 1);
    EXPECT_EQ(lines[0], "printer port 0 (378h), standard bus mode:");
    EXPECT_EQ(lines[1], "     0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f");
    EXPECT_EQ(lines[4], "20: -- -- -- -- -- -- -- -- -- -- -- -- -- -- --*2f");
    EXPECT_EQ(lines[10], "*2f: a QMF4150 (5Eh in the 8-bit form the program shows)");
    EXPECT_EQ(lines[12], "printer port 0 (378h), alternate bus mode:");
    EXPECT_EQ(lines[16], "20: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --");
    EXPECT_EQ(lines[23], "SMBus (base 400h):");
    EXPECT_EQ(lines[27], "20: -- -- -- -- -- -- -- -- -- -- -- -- -- --*2e --");
    EXPECT_EQ(lines[33], "*2e: a QMF4150 (5Ch in the 8-bit form the program shows)");

    // The board options choose the buses; the plain simulated board answers the same way.
    const ToolResult one = sim("--port 0 --alternate scan");
    ASSERT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.outLines().size(), 10);
    EXPECT_EQ(one.outLines().first(), "printer port 0 (378h), alternate bus mode:");
    const ToolResult moved = sim("--sim-smbus-address 0x50 scan");
    EXPECT_TRUE(moved.out.contains("\n20: -- -- -- -- -- -- -- --*28 -- -- -- -- -- -- --\n"))
        << moved.out.toStdString();

    // A scan between register commands of a batch leaves the chosen chip chosen.
    const ToolResult batch = sim("batch -", "get 0D\nscan\nget 0D\n");
    EXPECT_EQ(batch.exitCode, 0);
    EXPECT_EQ(batch.outLines().last(), "41");
}

TEST_F(BusTool, StatsCountWhatTheRunDidEvenWhenItFailed) {
    const ToolResult get = runTool({"--simulate", "--pin-level", "--stats", "get", "0D"});
    ASSERT_EQ(get.exitCode, 0);
    EXPECT_EQ(get.out, "41\n");
    // The search stops at the chip that answers first; then the read.
    EXPECT_TRUE(get.err.startsWith("bus health:\n  transfers: 2\n  failed transfers: 0\n"
                                   "  NACKs: 0\n  clock-stretch waits: 0\n  timeouts: 0\n"
                                   "  stuck-bus recoveries: 0\n  effective transfer rate: "))
        << get.err.toStdString();

    const ToolResult absent = sim("--stats --address 0x50 get 0D");
    EXPECT_EQ(absent.exitCode, 1);
    // 50h probed in both bus modes of the port and on the SMBus, no one answering.
    EXPECT_TRUE(absent.err.contains("  transfers: 3\n  failed transfers: 0\n  NACKs: 3\n"))
        << absent.err.toStdString();

    const ToolResult idle = sim("--stats trace-check " + path("none.vcd"));
    EXPECT_TRUE(idle.err.contains("  transfers: 0\n"));
    EXPECT_TRUE(idle.err.contains("  effective transfer rate: not measured yet\n"));
}

TEST_F(BusTool, TraceFailuresAndMisuseAreReported) {
    writeFile("kept.vcd", "an older trace\n");
    const ToolResult full = runTool(
        {"--simulate", "--pin-level", "--trace", path("kept.vcd"), "dump"}, {}, {}, {}, 4096);
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(full.err).contains("The bus trace could not be written to " +
                                                     path("kept.vcd") + ": File too large"))
        << full.err.toStdString();
    EXPECT_EQ(readFile("kept.vcd"), "an older trace\n");

    const struct {
        QStringList args;
        int status;
        const char* message;
    } cases[] = {
        {{"--simulate", "--pin-level", "--trace", path("no/dir/t.vcd"), "get", "0D"},
         1,
         "The bus trace could not be written to"},
        {{"--pin-level", "get", "0D"},
         2,
         "--pin-level runs the simulated board at pin level; it "
         "needs --simulate"},
        {{"--simulate", "--trace", path("t.vcd"), "get", "0D"}, 2, "has only with --pin-level"},
        {{"--simulate", "--pin-level", "--trace=", "get", "0D"}, 2, "--trace needs a file name"},
        {{"--simulate", "--pin-level", "--sim-state", path("b.state"), "get", "0D"},
         2,
         "not with --pin-level"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        expectFailure(runTool(c.args), c.status, QLatin1String(c.message));
    }
    EXPECT_FALSE(QFile::exists(path("t.vcd")));
}

} // namespace
} // namespace qmf::cli::test
