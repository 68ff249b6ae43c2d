// SPDX-License-Identifier: GPL-3.0-or-later
// diff against a dump on the simulated board kept between runs, and journal inside a batch.
#include "ToolProcess.h"

namespace qmf::cli::test {
namespace {

class DiffJournal : public ToolTest {
protected:
    DiffJournal() { EXPECT_EQ(kept("dump before.dat").exitCode, 0); }
};

TEST_F(DiffJournal, DiffListsExactlyTheSettingsChangedSinceADump) {
    const ToolResult same = kept("diff before.dat");
    EXPECT_EQ(same.exitCode, 0) << same.err.toStdString();
    EXPECT_EQ(same.out, "");

    ASSERT_EQ(kept("set 60 45").exitCode, 0);
    ASSERT_EQ(kept("set 91 40").exitCode, 0);
    const ToolResult changed = kept("diff before.dat");
    EXPECT_EQ(changed.exitCode, 1);
    EXPECT_EQ(changed.out, "Register\tName\tFile\tChip\n"
                           "60\tFan 0 Speed 1\tF8\t45\n"
                           "91\tTemp 1 HighLimit\t50\t40\n");
    EXPECT_EQ(changed.err, "qmf4150ctl: 2 registers differ (245 compared).\n");

    // A reading is compared only when asked for.
    QList<QByteArray> lines = readFile("before.dat").split('\n');
    for (QByteArray& line : lines) {
        if (line.startsWith("A0,")) {
            line = "A0,7F\r";
        }
    }
    const QByteArray file = lines.join('\n');
    writeFile("reading.dat", file);
    ASSERT_EQ(kept("load reading.dat").exitCode, 0) << "the chip ignores the write to A0";
    const ToolResult readings = kept("diff reading.dat");
    EXPECT_EQ(readings.exitCode, 0) << readings.out.toStdString();
    const ToolResult all = kept("diff --all reading.dat");
    EXPECT_EQ(all.exitCode, 1);
    EXPECT_TRUE(all.out.contains("\nA0\tTemp 0 Value\t7F\t")) << all.out.toStdString();
    EXPECT_TRUE(all.err.contains("(256 compared)")) << all.err.toStdString();
}

TEST_F(DiffJournal, DiffRefusesAFileThatIsNotACompleteSettingsFileWithStatus2) {
    QByteArray file = readFile("before.dat");
    writeFile("short.dat", file.left(file.indexOf("FF,")));
    writeFile("bad.dat", file.replace("\r\n7,", "\r\n7;"));
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {"diff short.dat", "short.dat: the file holds no setting for register FF."},
        {"diff bad.dat", "bad.dat: line 8 is not of the form register,value"},
        {"diff missing.dat", "missing.dat: "},
        {"diff before.txt", "ends in .dat"},
        {"diff", "diff: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ToolResult result = kept(QLatin1String(c.line));
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
    }
}

TEST_F(DiffJournal, JournalInABatchPrintsTheWritesOfThatBatchWithTheirLines) {
    const ToolResult result = kept("batch -", "set 60 45\n"
                                              "set 60 0F --mask 0F\n"
                                              "get 60\n"
                                              "journal\n");
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    QStringList lines = result.outLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "4F");
    EXPECT_EQ(lines[1],
              "#\tTime\tRegister\tName\tBefore\tWritten\tRead back\tSource\tResult\tNote");
    // Without a mask the register is not read before the write: its value before is unknown.
    QStringList first = lines[2].split(u'\t');
    QStringList second = lines[3].split(u'\t');
    first.removeAt(1); // the time of day
    second.removeAt(1);
    EXPECT_EQ(first.join(u'|'), "1|60|Fan 0 Speed 1|unknown|45|45|line 1: set 60 45|ok|");
    EXPECT_EQ(second.join(u'|'), "2|60|Fan 0 Speed 1|45|4F|4F|line 2: set 60 0F --mask 0F|ok|");

    const ToolResult autoset = kept("batch -", "autoset\njournal\n");
    EXPECT_EQ(autoset.out.count("\tAuto-set\tok\t"), 20);

    const ToolResult alone = kept("journal");
    EXPECT_EQ(alone.exitCode, 2);
    EXPECT_TRUE(alone.err.contains("use it as a line of a batch")) << alone.err.toStdString();
}

} // namespace
} // namespace qmf::cli::test
