// SPDX-License-Identifier: GPL-3.0-or-later
#include "CoreFixture.h"
#include "boards/sim/SimulatedBoard.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/time/Clock.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmf {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray fullFile(int (*value)(int reg)) {
    QByteArray bytes;
    for (int r = 0; r < RegisterSettingsCount; ++r) {
        bytes += registerSettingsLine(quint8(r), quint8(value(r)));
    }
    return bytes;
}

// Save and load over the recording board: every register is plain memory there, so the exact
// traffic and a full round trip can be checked.
class RegisterSettingsOnRecording : public test::CoreFixture {
protected:
    RegisterSettingsOnRecording() {
        usePrinterPort();
        state.SavedTransferSetting = 10;
        EXPECT_TRUE(dir.isValid());
        board->clearLog();
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList writes() const { return board->transfers().filter(QStringLiteral("WriteByte")); }

    QTemporaryDir dir;
};

TEST_F(RegisterSettingsOnRecording, SaveWritesAll256RegistersInOrder) {
    for (int r = 0; r < 256; ++r) {
        printerChip()[r] = quint8(r ^ 0x5A);
    }
    const auto result = saveRegisterSettings(state, path("chip.dat"));
    EXPECT_TRUE(result.complete());
    EXPECT_EQ(result.registersSaved, 256);
    EXPECT_EQ(readAll(path("chip.dat")), fullFile([](int r) { return r ^ 0x5A; }));
    EXPECT_EQ(board->transfers().size(), 256);
    EXPECT_EQ(board->transfers().first(), QStringLiteral("BusEngine.ReadByte(5E,00)=5A"));
    EXPECT_EQ(board->transfers().last(), QStringLiteral("BusEngine.ReadByte(5E,FF)=A5"));
}

TEST_F(RegisterSettingsOnRecording, LoadRestoresEveryRegisterInFileOrder) {
    for (int r = 0; r < 256; ++r) {
        printerChip()[r] = quint8(255 - r);
    }
    ASSERT_TRUE(saveRegisterSettings(state, path("chip.dat")).complete());
    printerChip().fill(0x33);
    board->clearLog();

    const auto result = loadRegisterSettings(state, path("chip.dat"));
    EXPECT_TRUE(result.complete());
    EXPECT_EQ(result.registersWritten, 256);
    for (int r = 0; r < 256; ++r) {
        EXPECT_EQ(printerChip()[r], 255 - r) << r;
    }
    const QStringList w = writes();
    ASSERT_EQ(w.size(), 256);
    EXPECT_EQ(w.first(), QStringLiteral("BusEngine.WriteByte(5E,00,FF)"));
    EXPECT_EQ(w.last(), QStringLiteral("BusEngine.WriteByte(5E,FF,00)"));
    // Every write on the printer-port path puts the saved transfer setting back first.
    EXPECT_EQ(board->log.filter(QStringLiteral("TransferSetting=10")).size(), 256);
}

TEST_F(RegisterSettingsOnRecording, UnreadableRegistersAreLeftOutAndReported) {
    board->failNext(3, QStringLiteral("BusEngine.ReadByte"));
    const auto result = saveRegisterSettings(state, path("chip.dat"));
    EXPECT_FALSE(result.complete());
    EXPECT_TRUE(result.fileWritten);
    EXPECT_EQ(result.registersSaved, 253);
    ASSERT_EQ(result.unreadable.size(), 3);
    EXPECT_EQ(result.unreadable[0].reg, 0);
    EXPECT_EQ(result.unreadable[2].reg, 2);
    EXPECT_TRUE(result.unreadable[0].reason.contains(QStringLiteral("injected failure")));
    const QByteArray bytes = readAll(path("chip.dat"));
    EXPECT_EQ(bytes.count('\n'), 253);
    EXPECT_TRUE(bytes.startsWith("3,0\r\n"));
}

TEST_F(RegisterSettingsOnRecording, NoReadableRegisterLeavesAnExistingFileAlone) {
    writeAll(path("chip.dat"), "0,1\r\n");
    board->failNext(256, QStringLiteral("BusEngine.ReadByte"));
    const auto result = saveRegisterSettings(state, path("chip.dat"));
    EXPECT_FALSE(result.fileWritten);
    EXPECT_TRUE(result.fileError.isEmpty());
    EXPECT_EQ(result.unreadable.size(), 256);
    EXPECT_EQ(readAll(path("chip.dat")), QByteArray("0,1\r\n"));
}

TEST_F(RegisterSettingsOnRecording, AFileThatCannotBeOpenedIsReportedWithoutChipTraffic) {
    const auto saved = saveRegisterSettings(state, path("missing/dir/chip.dat"));
    EXPECT_FALSE(saved.fileError.isEmpty());
    EXPECT_FALSE(saved.fileWritten);
    EXPECT_EQ(saved.registersSaved, 0);

    const auto loaded = loadRegisterSettings(state, path("missing.dat"));
    EXPECT_FALSE(loaded.fileError.isEmpty());
    EXPECT_FALSE(loaded.complete());
    EXPECT_EQ(loaded.registersWritten, 0);
    EXPECT_TRUE(board->transfers().isEmpty());
}

TEST_F(RegisterSettingsOnRecording, ShortFileWritesOnlyItsLinesAndNamesTheMissingRegisters) {
    writeAll(path("short.dat"), "0,1\r\n1,2\r\n2,1FF\n\n");
    const auto result = loadRegisterSettings(state, path("short.dat"));
    EXPECT_EQ(writes(), (QStringList{QStringLiteral("BusEngine.WriteByte(5E,00,01)"),
                                     QStringLiteral("BusEngine.WriteByte(5E,01,02)"),
                                     QStringLiteral("BusEngine.WriteByte(5E,02,FF)")}));
    EXPECT_EQ(result.registersWritten, 3);
    EXPECT_TRUE(result.badLines.isEmpty());
    EXPECT_EQ(result.missing.size(), 253);
    EXPECT_EQ(result.missing.first(), 3);
    EXPECT_FALSE(result.complete());
}

TEST_F(RegisterSettingsOnRecording, LinesThatDoNotParseAreNeverWritten) {
    writeAll(path("bad.dat"), "0,1\r\n100,5\r\nG,1\r\n4\r\n5,6,7\r\n6 , 2a \r\n");
    const auto result = loadRegisterSettings(state, path("bad.dat"));
    EXPECT_EQ(writes(), (QStringList{QStringLiteral("BusEngine.WriteByte(5E,00,01)"),
                                     QStringLiteral("BusEngine.WriteByte(5E,06,2A)")}));
    EXPECT_EQ(result.badLines, (QList<int>{2, 3, 4, 5}));
}

TEST_F(RegisterSettingsOnRecording, AFailedWriteIsSkippedAndTheRestGoesOn) {
    writeAll(path("chip.dat"), fullFile([](int r) { return r; }));
    board->failNext(2, QStringLiteral("BusEngine.WriteByte"));
    const auto result = loadRegisterSettings(state, path("chip.dat"));
    EXPECT_EQ(result.registersWritten, 254);
    ASSERT_EQ(result.failedWrites.size(), 2);
    EXPECT_EQ(result.failedWrites[0].reg, 0x00);
    EXPECT_EQ(result.failedWrites[1].reg, 0x01);
    EXPECT_EQ(printerChip()[0xFF], 0xFF);
    EXPECT_FALSE(result.complete());
}

// The same round trip on the simulated board, whose chip ignores writes to its read-only
// registers and keeps measuring.
class RegisterSettingsOnSimulatedBoard : public ::testing::Test {
protected:
    RegisterSettingsOnSimulatedBoard()
        : state([this] {
              auto board = std::make_unique<sim::SimulatedBoard>(clock);
              sim = board.get();
              return board;
          }) {
        state.board();
        state.CommsMedium = 1;
        state.DeviceAddress = 0x5E;
    }

    // Registers whose content the chip decides (status, measurements, identification, reset).
    static bool chipDecides(int r) {
        return r == 0x00 || r == 0x05 || r == 0x06 || r == 0x0B || r == 0x0D || r == 0x0E ||
               r == 0x10 || r == 0x11 || r == 0x70 || r == 0x71 || (r >= 0xA0 && r <= 0xA2) ||
               r == 0xB8 || r == 0xB9;
    }
    void fill(int seed) {
        for (int r = 0; r < 256; ++r) {
            if (!chipDecides(r)) {
                sim->printerPortChip().writeRegister(quint8(r), quint8((r * 7 + seed) & 0xFF));
            }
        }
    }

    ManualClock clock;
    sim::SimulatedBoard* sim = nullptr;
    SharedState state;
    QTemporaryDir dir;
};

TEST_F(RegisterSettingsOnSimulatedBoard, LoadingASavedFileRestoresEveryWritableRegister) {
    const QString path = dir.filePath(QStringLiteral("sim.dat"));
    fill(3);
    const auto saved = saveRegisterSettings(state, path);
    ASSERT_TRUE(saved.complete());
    const QList<QByteArray> lines = readAll(path).split('\n');
    ASSERT_EQ(lines.size(), 257); // 256 lines, each ended by CR LF
    EXPECT_TRUE(lines.first().startsWith("0,"));
    EXPECT_TRUE(lines[255].startsWith("FF,"));
    EXPECT_EQ(lines[0x0D], QByteArray("D,41\r"));

    fill(100);
    const auto loaded = loadRegisterSettings(state, path);
    EXPECT_TRUE(loaded.complete());
    for (int r = 0; r < 256; ++r) {
        if (!chipDecides(r)) {
            EXPECT_EQ(sim->printerPortChip().readRegister(quint8(r)), (r * 7 + 3) & 0xFF) << r;
        }
    }
}

} // namespace
} // namespace qmf
