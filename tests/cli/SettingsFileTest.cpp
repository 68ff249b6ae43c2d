// SPDX-License-Identifier: GPL-3.0-or-later
// dump and load: the program's register settings file, byte for byte.
#include "ToolProcess.h"
#include "boards/sim/SimulatedChip.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/time/Clock.h"

namespace qmf::cli::test {
namespace {

// What a settings file of a chip fresh from power-up holds, through the core's line format.
QByteArray powerUpSettings() {
    ManualClock clock;
    sim::SimulatedChip chip(clock);
    QByteArray bytes;
    for (int r = 0; r < RegisterSettingsCount; ++r) {
        bytes += registerSettingsLine(quint8(r), chip.readRegister(quint8(r)));
    }
    return bytes;
}

// 256 lines "register,value" with register r's value; `edit` may change the lines first.
QByteArray settingsFile(const std::function<void(QList<QByteArray>&)>& edit = {}) {
    QList<QByteArray> lines;
    for (int r = 0; r < RegisterSettingsCount; ++r) {
        lines << registerSettingsLine(quint8(r), quint8(r == 0x90 ? 0x22 : 0));
    }
    if (edit) {
        edit(lines);
    }
    return lines.join();
}

class SettingsFile : public ToolTest {};

TEST_F(SettingsFile, DumpWritesTheProgramsFormat) {
    const ToolResult result = runSim({QStringLiteral("dump")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, powerUpSettings());
    // By hand: CR LF after every line, no leading zeros, register D the identification 41.
    const QList<QByteArray> lines = result.out.split('\n');
    ASSERT_EQ(lines.size(), 257);
    EXPECT_TRUE(lines.last().isEmpty());
    for (qsizetype i = 0; i < 256; ++i) {
        EXPECT_TRUE(lines[i].endsWith('\r')) << i;
    }
    EXPECT_TRUE(lines[0].startsWith("0,"));
    EXPECT_EQ(lines[0x0D], QByteArray("D,41\r"));
    EXPECT_TRUE(lines[255].startsWith("FF,"));

    // To a file: the same bytes.
    const ToolResult toFile = runSim({QStringLiteral("dump"), path(QStringLiteral("a.dat"))});
    ASSERT_EQ(toFile.exitCode, 0) << toFile.err.toStdString();
    EXPECT_EQ(toFile.out, QByteArray("Register settings were saved to file.\n"));
    EXPECT_EQ(readFile(QStringLiteral("a.dat")), result.out);
}

TEST_F(SettingsFile, DumpThenLoadRoundTrips) {
    const ToolResult result = runSim({QStringLiteral("batch"), QStringLiteral("-")},
                                     "dump a.dat\n"
                                     "set 90 11\n"
                                     "set 99 22\n"
                                     "get 90\n"
                                     "load a.dat\n"
                                     "get 90\n"
                                     "get 99\n"
                                     "dump b.dat\n",
                                     dir.path());
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QByteArray saved = readFile(QStringLiteral("a.dat"));
    EXPECT_EQ(readFile(QStringLiteral("b.dat")), saved);
    const QStringList lines = result.outLines();
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[1], QStringLiteral("11"));
    EXPECT_EQ(lines[2], QStringLiteral("Register settings were loaded from file."));
    // The restored values are the saved ones.
    EXPECT_TRUE(saved.contains("\r\n90," + lines[3].toLatin1() + "\r\n"));
    EXPECT_TRUE(saved.contains("\r\n99," + lines[4].toLatin1() + "\r\n"));
    EXPECT_NE(lines[3], QStringLiteral("11"));
}

TEST_F(SettingsFile, LoadWritesValuesAsTheProgramDoes) {
    const struct {
        const char* name;
        QByteArray file;
        const char* register90;
    } cases[] = {
        {"as saved", settingsFile(), "22"},
        {"LF line ends", settingsFile([](QList<QByteArray>& l) {
             for (auto& line : l) {
                 line.replace("\r\n", "\n");
             }
         }),
         "22"},
        {"value 1FF is written as FF",
         settingsFile([](QList<QByteArray>& l) { l[0x90] = "90,1FF\r\n"; }), "FF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(QStringLiteral("in.dat"), c.file);
        const ToolResult result =
            runKept({QStringLiteral("batch"), QStringLiteral("-")}, "load in.dat\nget 90\n");
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.outLines(),
                  (QStringList{QStringLiteral("Register settings were loaded from file."),
                               QString::fromLatin1(c.register90)}));
    }
}

// A file that is not a complete set of settings is refused with the lines named, and nothing
// is written: register 90 keeps the value set before.
TEST_F(SettingsFile, LoadRefusesADamagedFileAndWritesNothing) {
    const struct {
        const char* name;
        QByteArray file;
        const char* message;
    } cases[] = {
        {"bad line", settingsFile([](QList<QByteArray>& l) { l[6] = "6,ZZ\r\n"; }),
         "line 7 is not of the form register,value"},
        {"two bad lines", settingsFile([](QList<QByteArray>& l) {
             l[2] = "2;0\r\n";
             l[8] = "100,0\r\n";
         }),
         "lines 3, 9 are not of the form register,value"},
        {"short", settingsFile([](QList<QByteArray>& l) { l.removeLast(); }),
         "the file holds no setting for register FF"},
        {"long", settingsFile([](QList<QByteArray>& l) { l << "0,0\r\n"; }),
         "line 257: the file holds more than 256 settings"},
    };
    ASSERT_EQ(runKept({QStringLiteral("set"), QStringLiteral("90"), QStringLiteral("11")}).exitCode,
              0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(QStringLiteral("in.dat"), c.file);
        const ToolResult result = runKept({QStringLiteral("load"), path(QStringLiteral("in.dat"))});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("no register was written"));
        EXPECT_EQ(runKept({QStringLiteral("get"), QStringLiteral("90")}).out, hexLine(0x11));
    }
    const ToolResult missing = runKept({QStringLiteral("load"), path(QStringLiteral("none.dat"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("no register was written"));
}

} // namespace
} // namespace qmf::cli::test
