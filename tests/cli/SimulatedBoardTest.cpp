// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated board over time: sleep, heaters, monitor with the graph window's readings and
// log, the board kept in a file between runs, and the temperature rule of the graph window.
#include "boards/sim/SimulatedBoard.h"

#include "ToolProcess.h"
#include "boards/sim/ChipModel.h"
#include "cli/Runner.h"
#include "cli/SimStateFile.h"
#include "core/files/MeasurementLog.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"
#include "core/text/NumberText.h"
#include "core/text/Rounding.h"
#include "core/time/Clock.h"
#include "core/wizards/AutoSet.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTime>
#include <VexaCalculate00/calculations.hpp>
#include <limits>

namespace qmf::cli::test {
namespace {

class SimulatedBoard : public ToolTest {};

// Heater 1 warms the second remote diode (Temp2, register A2), heater 2 the first (A1), while
// a sleep moves the simulated clock. Heaters switched on in one run are off in the next, as on
// the real board; an empty state file is a board fresh from power-up.
TEST_F(SimulatedBoard, HeatersWarmTheirDiodesForOneRun) {
    const QByteArray measure = "sleep 300\nget A1\nget A2\n";
    const auto temps = [](const ToolResult& result) {
        const QStringList lines = result.outLines();
        return std::pair{lines.value(lines.size() - 2).toInt(nullptr, 16),
                         lines.value(lines.size() - 1).toInt(nullptr, 16)};
    };
    const auto [cold1, cold2] = temps(sim("batch -", measure));
    const auto [one1, one2] = temps(sim("batch -", "heaters on 1\n" + measure));
    const auto [two1, two2] = temps(sim("batch -", "heaters on 2\n" + measure));
    EXPECT_TRUE(one1 == cold1 && one2 > cold2 + 10) << one1 << " " << one2;
    EXPECT_TRUE(two1 > cold1 + 10 && two2 == cold2) << two1 << " " << two2;
    const auto off = temps(sim("batch -", "heaters on\nheaters off 1\nheaters off 2\n" + measure));
    EXPECT_EQ(off, std::pair(cold1, cold2));
    EXPECT_TRUE(sim("heaters on 2").err.contains("switches its heaters off when qmf4150ctl ends"));
    writeFile("board.state", {});
    ASSERT_EQ(kept("heaters on").exitCode, 0);
    EXPECT_EQ(temps(kept("batch -", measure)), std::pair(cold1, cold2));
}

TEST_F(SimulatedBoard, ADamagedFileIsRefusedAndKept) {
    ASSERT_EQ(kept("set 90 11").exitCode, 0);
    const QByteArray good = readFile("board.state");
    QByteArray damaged = good;
    damaged[40] = char(damaged[40] ^ 0x55);
    const struct {
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"settings\n", "is not a saved simulated board"},
        {good.left(good.size() - 10), "truncated or damaged"},
        {damaged, "chip:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        writeFile("board.state", c.bytes);
        expectFailure(kept("get 90"), 1, c.message);
        EXPECT_EQ(readFile("board.state"), c.bytes);
    }
}

// The readings are the graph window's: fan speeds from the tachometer counts at the oscillator
// frequency of bits 7:6 of the speed-2 registers, temperatures from their register bytes. The
// registers are read right after the last row, with no simulated time in between.
TEST_F(SimulatedBoard, TableAndLogHoldTheGraphWindowsReadings) {
    const ToolResult result = sim("batch -",
                                  "autoset\nheaters on 1\nsleep 30\n"
                                  "monitor --count 3 --interval 2 --log m.xls\n"
                                  "get 68\nget 69\nget 70\nget 71\nget A0\nget A1\nget A2\n",
                                  dir.path());
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList lines = result.outLines().mid(AutoSetRowCount + 2);
    ASSERT_EQ(lines.size(), 1 + 3 + 7);
    EXPECT_EQ(lines[0], QStringLiteral("Time       Fan0   Fan1  Temp0  Temp1  Temp2"));
    QList<QTime> times; // "hh:mm:ss" and five whole numbers per row
    QList<LogReadings> readings;
    for (int i = 1; i <= 3; ++i) {
        const QStringList f = lines[i].split(u' ', Qt::SkipEmptyParts);
        ASSERT_EQ(f.size(), 6) << lines[i].toStdString();
        times << QTime::fromString(f[0], QStringLiteral("hh:mm:ss"));
        readings << LogReadings{f[1].toDouble(), f[2].toDouble(), f[3].toDouble(), f[4].toDouble(),
                                f[5].toDouble()};
    }
    EXPECT_EQ(times[0].secsTo(times[1]), 2);
    EXPECT_EQ(times[1].secsTo(times[2]), 2);
    int byte[7];
    for (int i = 0; i < 7; ++i)
        byte[i] = lines[4 + i].toInt(nullptr, 16);
    const int frequencies[] = {0, 470, 940, 1880};
    const LogReadings& last = readings[2];
    EXPECT_EQ(last.fan0, Fan::TachConvert(byte[2], frequencies[byte[0] >> 6]));
    EXPECT_EQ(last.fan1, Fan::TachConvert(byte[3], frequencies[byte[1] >> 6]));
    EXPECT_EQ(last.temp0, Temperature::RegisterToTemperature(qint16(byte[4])));
    EXPECT_EQ(last.temp1, Temperature::RegisterToTemperature(qint16(byte[5])));
    EXPECT_EQ(last.temp2, Temperature::RegisterToTemperature(qint16(byte[6])));
    EXPECT_GT(last.fan0, 0);
    EXPECT_NE(last.temp1, last.temp2) << "heater 1 makes a swap of the two columns visible";

    // The log: the header, then one line per row, in the program's bytes.
    QByteArray expected = "Time\tFan0\tFan1\tTemp0\tTemp1\tTemp2\r\n";
    for (int i = 0; i < 3; ++i)
        expected += measurementLogLine(times[i], readings[i]);
    EXPECT_EQ(readFile("m.xls"), expected);
}

// A .csv log: the comment block with the chip and its limits as "get" reads them, the header,
// then the rows of the table with their date, time and milliseconds; Python's csv module reads
// it as the same six columns, with no blank rows.
TEST_F(SimulatedBoard, CsvLogHoldsTheTableWithItsStartAndPythonReadsIt) {
    const ToolResult result = sim("batch -",
                                  "heaters on 1\nset 90 4B\nmonitor --count 3 --interval 2 "
                                  "--log m.csv\nget 90\nget 79\n",
                                  dir.path());
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList out = result.outLines();
    const QStringList rows = out.mid(out.size() - 5, 3);
    const QByteArray log = readFile("m.csv");
    EXPECT_TRUE(log.startsWith("# QMF4150 measurement log\n# program: qmf4150ctl "));
    EXPECT_TRUE(log.contains("\n# chip: address 5E on the printer port\n"));
    EXPECT_TRUE(log.contains("\n# 90 Temp 0 HighLimit: " + out[out.size() - 2].toLatin1() + "\n"));
    EXPECT_TRUE(log.contains("\n# 79 Fan 1 HighLimit: " + out.last().toLatin1() + "\n"));
    EXPECT_FALSE(log.contains('\r'));
    const QList<QByteArray> lines = log.split('\n');
    const qsizetype header = lines.indexOf("time,fan0_rpm,fan1_rpm,temp0_c,temp1_c,temp2_c");
    ASSERT_GT(header, 3);
    ASSERT_EQ(lines.size(), header + 5) << "three rows and the end of the last line";
    QStringList expected{QStringLiteral("time|fan0_rpm|fan1_rpm|temp0_c|temp1_c|temp2_c")};
    QDateTime previous;
    for (int i = 0; i < 3; ++i) {
        const QStringList f = rows[i].split(u' ', Qt::SkipEmptyParts);
        const QList<QByteArray> fields = lines[header + 1 + i].split(',');
        ASSERT_EQ(fields.size(), 6) << lines[header + 1 + i].toStdString();
        const QDateTime time =
            QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODateWithMs);
        ASSERT_TRUE(time.isValid()) << fields[0].toStdString();
        EXPECT_EQ(fields[0].size(), 29) << "yyyy-MM-ddTHH:mm:ss.zzz+hh:mm";
        EXPECT_EQ(time.time().toString(QStringLiteral("hh:mm:ss")), f[0]);
        if (previous.isValid()) {
            EXPECT_EQ(previous.msecsTo(time), 2000);
        }
        previous = time;
        EXPECT_EQ(QStringList({fields[1], fields[2], fields[3], fields[4], fields[5]}), f.mid(1));
        expected << QString::fromLatin1(lines[header + 1 + i]).replace(u',', u'|');
    }
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QStringLiteral(R"(import csv, sys, datetime
with open(sys.argv[1], newline='') as f:
    for row in csv.reader(line for line in f if not line.startswith('#')):
        if row[0] != 'time':
            datetime.datetime.fromisoformat(row[0])
        print('|'.join(row))
)"),
                  path(QStringLiteral("m.csv"))});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
              expected);
}

// SIGTERM (as Ctrl-C) ends a long monitor between rows: exit status 0, every row printed is
// logged as a whole line, and the simulated board is still saved.
TEST_F(SimulatedBoard, AnInterruptedMonitorLeavesCompleteFiles) {
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(QMF4150CTL_PATH),
                  words("--simulate --sim-state s monitor --count 1000000000 --log m.xls"));
    QByteArray out;
    while (out.count('\n') < 5 && process.waitForReadyRead(30000)) {
        out += process.readAllStandardOutput();
    }
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(30000));
    out += process.readAllStandardOutput();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QByteArray log = readFile("m.xls");
    EXPECT_TRUE(log.endsWith("\r\n"));
    EXPECT_EQ(log.count("\r\n"), out.count('\n')) << "a header and the rows in both";
    EXPECT_FALSE(readFile("s").isEmpty());
}

// Time passes alike whether the lines run in one batch or one run each, also when a wait is not
// a whole number of the model's steps (fans spinning down: the count rises as they slow).
TEST_F(SimulatedBoard, TimePassesAlikeInOneBatchAndInRunsOfTheirOwn) {
    const QStringList scripts[] = {
        {"set 9 3", "sleep 30", "get 70"},
        {"set 60 FF", "sleep 0.15", "sleep 0.15", "sleep 0.15", "get 70"},
        {"sleep 5", "set 60 0", "sleep 1.25", "get 70", "get 71"},
    };
    for (const QStringList& lines : scripts) {
        SCOPED_TRACE(lines.join(" / ").toStdString());
        const ToolResult batch = sim("batch -", lines.join('\n').toUtf8());
        ASSERT_EQ(batch.exitCode, 0);
        QFile::remove(path("board.state"));
        QByteArray separate;
        for (const QString& line : lines) {
            const ToolResult run = kept(line);
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            separate += run.out;
        }
        EXPECT_EQ(separate, batch.out);
    }
}

// The saved chips, with their model time set; the rest as a run of the tool saved them.
QByteArray boardWithModelTime(qint64 modelMs) {
    ManualClock clock;
    sim::SimulatedBoard board(clock);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("b"));
    saveSimulatedBoard(file, board);
    QFile in(file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QDataStream outer(in.readAll());
    quint32 magic = 0, chipMagic = 0;
    quint16 version = 0, chipVersion = 0, checksum = 0;
    QByteArray chip, otherChip, payload;
    outer >> magic >> version >> chip >> otherChip;
    QDataStream(chip) >> chipMagic >> chipVersion >> payload >> checksum;
    QByteArray times;
    QDataStream(&times, QIODevice::WriteOnly) << modelMs << qint64(0);
    payload.replace(payload.size() - 16, 16, times); // model time and time pending end it
    chip.clear();
    QDataStream(&chip, QIODevice::WriteOnly)
        << chipMagic << chipVersion << payload << quint16(qChecksum(payload));
    QByteArray bytes;
    QDataStream(&bytes, QIODevice::WriteOnly) << magic << version << chip << otherChip;
    return bytes;
}

// A model time beyond what a run can reach is refused at once, and a board at the end of its
// model time runs on and is read again by the next run.
TEST_F(SimulatedBoard, EveryRestoredQuantityIsBounded) {
    const QByteArray farOut = boardWithModelTime(std::numeric_limits<qint64>::max() - 50);
    writeFile("board.state", farOut);
    expectFailure(kept("get 0"), 1,
                  "printer-port chip: the saved state holds impossible model time");
    EXPECT_EQ(readFile("board.state"), farOut);
    writeFile("board.state", boardWithModelTime(sim::physics::kMaxModelMs - 1000));
    EXPECT_EQ(kept("sleep 86400").exitCode, 0);
    EXPECT_EQ(kept("get D").out, "41\n");
}

// One run of the tool in this process, through its entry point, on the board kept in `state`
// (at port 0, 5E, so that the one probe is transfer 1 and the command's own begin at 2).
ToolResult inProcess(const QString& state, const QString& line) {
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = qmf::cli::runTool(
        words("qmf4150ctl --simulate --port 0 --address 0x5E --sim-state " + state + ' ' + line),
        out, err);
    return {status, out.data(), err.data()};
}

QList<QByteArray> dumpLines(const QString& state) {
    return inProcess(state, QStringLiteral("dump")).out.split('\n');
}

// One link failure at every transfer of dump, load and autoset: no crash, the failure named,
// every other register saved or loaded (those operations skip a failed register and go on), no
// auto-set row after the failed one written (auto-set stops there), no file half replaced.
TEST_F(SimulatedBoard, ALinkFailureAtEveryTransferIsNamedAndHandledByTheRules) {
    // Some thousand files are replaced here, each synced to its disk: in memory where there is
    // a file system for that.
    const QTemporaryDir memory(QStringLiteral("/dev/shm/qmf-sweep-XXXXXX"));
    const QDir work(memory.isValid() ? memory.path() : dir.path());
    const auto at = [&work](const char* name) { return work.filePath(QLatin1String(name)); };
    const auto contents = [&at](const char* name) {
        QFile file(at(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    const auto put = [&at](const char* name, const QByteArray& bytes) {
        QFile file(at(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    };
    const QString state = at("s"), settings = at("a.dat");
    const auto reset = [&](const QByteArray& bytes) { put("s", bytes); };
    ASSERT_EQ(inProcess(state, "dump " + settings).exitCode, 0);
    const QByteArray baseline = contents("s"), full = contents("a.dat");
    const QList<QByteArray> fullLines = full.split('\n');

    const ToolResult probe = inProcess(state, "--sim-fail-transfer 1 dump " + settings);
    EXPECT_EQ(probe.exitCode, 1);
    EXPECT_TRUE(probe.err.contains("injected transfer failure")) << probe.err.toStdString();
    EXPECT_EQ(contents("a.dat"), full);
    for (int r = 0; r < 256; ++r) {
        reset(baseline);
        put("a.dat", "old");
        const QString fail = QStringLiteral("--sim-fail-transfer %1 ").arg(r + 2);
        const ToolResult dump = inProcess(state, fail + "dump " + settings);
        ASSERT_EQ(dump.exitCode, 1) << r;
        EXPECT_TRUE(dump.err.contains(QStringLiteral("Register %1 could not be read and is missing "
                                                     "from the file: ReadByte failed")
                                          .arg(text::hex(quint32(r)))
                                          .toUtf8()))
            << dump.err.toStdString();
        QList<QByteArray> expected = fullLines;
        expected.removeAt(r);
        EXPECT_EQ(contents("a.dat").split('\n'), expected) << r;
    }

    // A file whose every line differs from the power-up value. A load whose write of register
    // r fails leaves the chip as a load of the file with r's line holding the power-up value.
    QByteArray file;
    for (int r = 0; r < 256; ++r) {
        const uint value = fullLines[r].split(',')[1].trimmed().toUInt(nullptr, 16);
        file += registerSettingsLine(quint8(r), quint8(value ^ 0x21));
    }
    put("l.dat", file);
    const QList<QByteArray> fileLines = file.split('\n');
    for (int r = 0; r < 256; ++r) {
        QList<QByteArray> unchanged = fileLines;
        unchanged[r] = fullLines[r];
        put("same.dat", unchanged.join('\n'));
        reset(baseline);
        ASSERT_EQ(inProcess(state, "load " + at("same.dat")).exitCode, 0);
        const QList<QByteArray> expected = dumpLines(state);

        reset(baseline);
        const ToolResult load = inProcess(
            state, QStringLiteral("--sim-fail-transfer %1 load %2").arg(r + 2).arg(at("l.dat")));
        ASSERT_EQ(load.exitCode, 1) << r;
        EXPECT_TRUE(load.err.contains(QStringLiteral("Writing register %1 failed: WriteByte failed")
                                          .arg(text::hex(quint32(r)))
                                          .toUtf8()))
            << load.err.toStdString();
        EXPECT_EQ(dumpLines(state), expected) << "failed at " << r;
    }

    const auto& table = AutoSetTable();
    for (int row = 0; row < AutoSetRowCount; ++row) {
        reset(baseline);
        const ToolResult run =
            inProcess(state, QStringLiteral("--sim-fail-transfer %1 autoset").arg(row + 2));
        ASSERT_EQ(run.exitCode, 1) << row;
        EXPECT_EQ(run.outLines().size(), row);
        EXPECT_TRUE(run.err.contains(
            QStringLiteral("register %1h: injected").arg(text::hex(table[row].Register)).toUtf8()))
            << run.err.toStdString();
        const QList<QByteArray> after = dumpLines(state);
        for (int i = 0; i < AutoSetRowCount; ++i) {
            const quint8 reg = table[i].Register;
            EXPECT_EQ(after[reg], i < row ? registerSettingsLine(reg, table[i].Value).chopped(1)
                                          : fullLines[reg])
                << "row " << i << " after a failure at row " << row;
        }
    }
}

// The tool converts temperature bytes with the core's rule; the program's graph window converts
// them with the calculation library's Code0.Misc2 and rounds to whole degrees.
TEST(TemperatureRule, CoreAndCalculationLibraryAgreeForEveryByte) {
    for (int byte = 0; byte < 256; ++byte) {
        const auto library = text::roundToInt16(
            vexacalc::Code0::Misc2({0, 0, float(byte), 0, 0, 0, 0, 0, 0, 0, VEXA_TRUE}));
        ASSERT_TRUE(library) << byte;
        EXPECT_EQ(Temperature::RegisterToTemperature(qint16(byte)), *library) << byte;
    }
}

} // namespace
} // namespace qmf::cli::test
