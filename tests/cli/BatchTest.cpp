// SPDX-License-Identifier: GPL-3.0-or-later
// get, set, dump, load and the rest as lines of one batch on the simulated board kept in a
// file: what each prints, how a wrong or failing line ends the batch, and what stays written.
#include "ToolProcess.h"
#include "boards/sim/SimulatedChip.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/text/NumberText.h"
#include "core/time/Clock.h"
#include "core/wizards/AutoSet.h"

#include <QFile>

namespace qmf::cli::test {
namespace {

const char* const Found = "Found an QMF4150 at:5Eh, on printer port:378h\n"
                          "An QMF4150 was found at:5Ch, on the SMBus\n";
const char* const Loaded = "Register settings were loaded from file.\n";
const char* const Saved = "Register settings were saved to file.\n";
const char* const LoadGet = "load in.dat\nget 90\n";
const char* const SetLoad = "set 90 11\nload in.dat\n";

class Batch : public ToolTest {};

// Each script runs on a board fresh from power-up (register 90 reads 50), with in.dat written
// first when a file is given; `after` is what "get 90" prints in the next run.
TEST_F(Batch, LinesRunInOrderOnOneChipAndStopAtTheFirstFailure) {
    QByteArray good; // 256 lines "register,value" with register 90 holding 22
    for (int r = 0; r < RegisterSettingsCount; ++r)
        good += registerSettingsLine(quint8(r), quint8(r == 0x90 ? 0x22 : 0));
    const QByteArray lfEnds = QByteArray(good).replace("\r\n", "\n");
    const QByteArray wide = QByteArray(good).replace("\n90,22\r", "\n90,1FF\r");
    const QByteArray badLine = QByteArray(good).replace("\n6,0\r", "\n6,ZZ\r");
    const QByteArray twoBad =
        QByteArray(good).replace("\n2,0\r", "\n2;0\r").replace("\n8,0\r", "\n100,0\r");
    const QByteArray shortFile = good.left(good.lastIndexOf("FF,0"));
    const QByteArray longFile = good + "0,0\r\n";
    QByteArray autoset = "autoset\n", report, values; // the twenty writes, then each read back
    for (const AutoSetRow& row : AutoSetTable()) {
        autoset += "get " + QByteArray::number(row.Register, 16) + '\n';
        report += AutoSetLogLine(row.Label, row.Register, row.Value).toLatin1() + '\n';
        values += text::hex(row.Value).toLatin1() + '\n';
    }
    EXPECT_TRUE(report.startsWith("QMF4150-Temp0 fan mask, Address Pointer:48, data written:0\n"));
    EXPECT_TRUE(report.endsWith("QMF4150, Address Pointer:1, data written:10\n"));
    ManualClock clock;
    sim::SimulatedChip chip(clock); // fresh from power-up, as the tool's simulated board
    QByteArray powerUp;
    for (int r = 0; r < RegisterSettingsCount; ++r)
        powerUp += registerSettingsLine(quint8(r), chip.readRegister(quint8(r)));
    // By hand: CR LF after every line, no leading zeros, register D the identification 41.
    EXPECT_EQ(powerUp.count("\r\n"), 256);
    EXPECT_TRUE(powerUp.startsWith("0,") && powerUp.contains("\r\nD,41\r\nE,"));
    EXPECT_TRUE(powerUp.contains("\r\nFF,"));
    const struct {
        QByteArray script;
        int status;
        QByteArray out;
        const char* err = nullptr; // a part of standard error, which is empty without
        const char* after = nullptr;
        QByteArray file = {};
    } cases[] = {
        {"set 0x90 0x50\nget 0x90\n", 0, "50\n"},
        {"set 90 0\nget 90\n", 0, "0\n"},
        {"set 90 5\nget 90h\n", 0, "5\n"},
        {"set 90 5A\nset 90 0F --mask 0F\nget 90\n", 0, "5F\n"},
        {"set 90 FF\nset 90 0 -m 80\nget 90\n", 0, "7F\n"},
        {"set 90 0\nset 90 FF --mask 12\nget 90\n", 0, "12\n"},
        {"get D\nget 0xd\nset D 1 --mask 1\n", 0, "41\n41\n"}, // read-only bits outside the mask
        {"# a comment\n\n  set 90 \"7\"  \r\n\tget 90\r\n", 0, "7\n"},
        {"set 90 1\nget 90\nset 90 2\nget 90", 0, "1\n2\n", nullptr, "2"},
        {"get D\ndetect\nget D\n", 0, QByteArray("41\n") + Found + "41\n"},
        {autoset, 0, report + values},
        {"heaters on 2\n", 0, "Heater  for Q2 (TDM2): off\nHeater  for Q1 (TDM1): on\n"},
        // The identification register is read-only: written bits that do not read back fail.
        {"set 90 11\nset D 42\nget 90\n", 1, "", "line 2: register Dh reads 41 after 42 was", "11"},
        {"set D 0 --mask 1\n", 1, "", "after 40 was written (compared under the mask 1)"},
        // A wrong line anywhere runs nothing.
        {"set 90 11\nget 90\nget 100\n", 2, "", "line 3: get: REG 100h does not fit a byte", "50"},
        {"set 90 11\nfrobnicate\n", 2, "", "line 2: unknown command \"frobnicate\"", "50"},
        {"set 90 11\nbatch other.txt\n", 2, "", "line 2: a batch cannot run batch", "50"},
        {"set 90 11\nmonitor\n", 2, "", "line 2: monitor: on the simulated board", "50"},
        // Settings files as the program writes and reads them; a damaged one writes nothing.
        {"dump\n", 0, powerUp},
        {"dump a.dat\nset 90 11\nload a.dat\ndump b.dat\n", 0, QByteArray(Saved) + Loaded + Saved,
         nullptr, "50"},
        {LoadGet, 0, QByteArray(Loaded) + "22\n", nullptr, "22", good},
        {LoadGet, 0, QByteArray(Loaded) + "22\n", nullptr, nullptr, lfEnds},
        {LoadGet, 0, QByteArray(Loaded) + "FF\n", nullptr, nullptr, wide},
        {SetLoad, 1, "", "line 7 is not of the form register,value", "11", badLine},
        {SetLoad, 1, "", "lines 3, 9 are not of the form register,value", "11", twoBad},
        {SetLoad, 1, "", "the file holds no setting for register FF", "11", shortFile},
        {SetLoad, 1, "", "line 257: the file holds more than 256 settings", "11", longFile},
        {"set 90 11\nload none.dat\n", 1, "", "no register was written", "11"},
        {"monitor --count 1 --log x/m.xls", 1, "",
         "There has been a problem writing to the log file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script.toStdString());
        QFile::remove(path("board.state"));
        if (!c.file.isEmpty())
            writeFile("in.dat", c.file);
        const ToolResult result = kept("batch -", c.script);
        EXPECT_EQ(result.exitCode, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err.isEmpty(), !c.err) << result.err.toStdString();
        EXPECT_TRUE(!c.err || result.err.contains(c.err)) << c.err;
        EXPECT_EQ(result.err.contains("batch: nothing was run"), c.status == 2);
        EXPECT_EQ(result.err.contains("no register was written"),
                  c.script.contains("load") && c.status == 1);
        if (c.after) {
            EXPECT_EQ(kept("get 90").out, QByteArray(c.after) + '\n');
        }
    }
    EXPECT_EQ(readFile("a.dat"), powerUp);
    EXPECT_EQ(readFile("b.dat"), readFile("a.dat"));
    writeFile("script.txt", "set 90 3C\nget 90\n");
    EXPECT_EQ(sim("batch " + path("script.txt")).out, "3C\n");
}

} // namespace
} // namespace qmf::cli::test
