// SPDX-License-Identifier: GPL-3.0-or-later
#include "CoreFixture.h"
#include "FilesTestSupport.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/files/RegisterSettingsReport.h"

#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>

namespace qmf::test {
namespace {

// Save and load over the recording board, whose registers are plain memory, on the printer port.
class RegisterSettings : public CoreFixture {
protected:
    RegisterSettings() {
        state.CommsMedium = 1;
        printerChip();
        EXPECT_TRUE(dir.isValid());
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QByteArray contents(const char* name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    void write(const char* name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QStringList writes() const { return board->transfers().filter(QStringLiteral("WriteByte")); }

    QTemporaryDir dir;
};

TEST_F(RegisterSettings, SaveWritesAll256RegistersAndLoadRestoresThemInFileOrder) {
    for (int r = 0; r < 256; ++r) {
        printerChip()[r] = quint8(r ^ 0x5A);
    }
    board->clearLog();
    const auto saved = saveRegisterSettings(state, path("chip.dat"));
    EXPECT_EQ(describeSave(saved), QStringList{"Register settings were saved to file."});
    const QByteArray file = contents("chip.dat");
    EXPECT_EQ(file.count("\r\n"), 256);
    EXPECT_TRUE(file.startsWith("0,5A\r\n1,5B\r\n"));
    EXPECT_TRUE(file.contains("\r\nD,57\r\n"));
    EXPECT_TRUE(file.contains("\r\n50,A\r\n")); // no leading zeros
    EXPECT_TRUE(file.endsWith("\r\nFE,A4\r\nFF,A5\r\n"));
    EXPECT_EQ(board->transfers().first(), QStringLiteral("BusEngine.ReadByte(5E,00)=5A"));
    EXPECT_EQ(board->transfers().last(), QStringLiteral("BusEngine.ReadByte(5E,FF)=A5"));

    write("chip.dat", file + "\r\n\r\n"); // blank lines after the 256th are harmless
    printerChip().fill(0x33);
    board->clearLog();
    const auto loaded = loadRegisterSettings(state, path("chip.dat"));
    EXPECT_EQ(describeLoad(loaded), QStringList{"Register settings were loaded from file."});
    for (int r = 0; r < 256; ++r) {
        EXPECT_EQ(printerChip()[r], r ^ 0x5A) << r;
    }
    ASSERT_EQ(writes().size(), 256);
    EXPECT_EQ(writes().first(), QStringLiteral("BusEngine.WriteByte(5E,00,5A)"));
    EXPECT_EQ(writes().last(), QStringLiteral("BusEngine.WriteByte(5E,FF,A5)"));
}

TEST_F(RegisterSettings, UnreadableRegistersAreLeftOutAndTheSaveSaysSo) {
    board->failNext(3, QStringLiteral("BusEngine.ReadByte"));
    const auto result = saveRegisterSettings(state, path("chip.dat"));
    EXPECT_EQ(contents("chip.dat").count('\n'), 253);
    EXPECT_TRUE(contents("chip.dat").startsWith("3,0\r\n"));
    const QString reason = "BusEngine.ReadByte failed on recording board: injected failure";
    EXPECT_EQ(describeSave(result),
              QStringList({"Register settings were saved to file, but only 253 of 256 registers "
                           "could be read.",
                           "Registers 0 to 2 could not be read and are missing from the file: " +
                               reason + "."}));

    // Nothing readable: an existing file keeps its contents.
    board->failNext(256, QStringLiteral("BusEngine.ReadByte"));
    const auto none = saveRegisterSettings(state, path("chip.dat"));
    EXPECT_FALSE(none.fileWritten);
    EXPECT_EQ(describeSave(none).first(),
              "Register settings were not saved: no register could be read (" + reason + ").");
    EXPECT_EQ(contents("chip.dat").count('\n'), 253);
}

TEST_F(RegisterSettings, AFileThatCannotBeOpenedIsReportedWithoutChipTraffic) {
    board->clearLog();
    const QStringList saved = describeSave(saveRegisterSettings(state, path("missing/chip.dat")));
    ASSERT_EQ(saved.size(), 2);
    EXPECT_TRUE(saved[0].startsWith("Register settings were not saved: the file " +
                                    path("missing/chip.dat") + " could not be written ("));
    EXPECT_TRUE(saved[1].startsWith(QStringLiteral("0 of 256 registers were saved")));
    const auto loaded = loadRegisterSettings(state, path("missing.dat"));
    EXPECT_EQ(loaded.registersWritten, 0);
    EXPECT_EQ(describeLoad(loaded).last(), QStringLiteral("No register was written."));
    EXPECT_TRUE(board->transfers().isEmpty());
}

TEST_F(RegisterSettings, LinesThatDoNotParseAreNeverWrittenAndTheLoadSaysWhatIsMissing) {
    // Lenient where harmless: a byte-order mark, blank lines, blanks, LF line ends, lower case,
    // leading zeros. Strict where it matters: a register above FF, no hex, a missing or extra
    // field, a prefix, a sign, a value beyond 16 bits, an overlong line.
    write("bad.dat", "\xEF\xBB\xBF"
                     "0,1\r\n\r\n100,5\r\n1FF,5\r\nG,1\r\n5,1G\r\n4\r\n5,\r\n,5\r\n5,6,7\r\n0x5,"
                     "1\r\n&H5,1\r\n5,-1\r\n5,8000\r\n5,FFFFFFFFF\r\n1 0,5\r\n1," +
                         QByteArray(5000, '0') + "1\r\n6 , 2a \r\n2,1FF\n0D,041\r\nb9,7FFF\n\n");
    board->clearLog();
    const auto result = loadRegisterSettings(state, path("bad.dat"));
    EXPECT_EQ(writes(),
              QStringList({"BusEngine.WriteByte(5E,00,01)", "BusEngine.WriteByte(5E,06,2A)",
                           "BusEngine.WriteByte(5E,02,FF)", "BusEngine.WriteByte(5E,0D,41)",
                           "BusEngine.WriteByte(5E,B9,FF)"}));
    EXPECT_EQ(describeLoad(result),
              QStringList({"Register settings were only partly loaded from file: 5 of 256 "
                           "registers were written.",
                           "Lines 3 to 17 are not of the form register,value in hexadecimal "
                           "(register 0 to FF) and were skipped.",
                           "The file holds no setting for registers 1, 3 to 5, 7 to C, E to B8, "
                           "BA to FF."}));
}

TEST_F(RegisterSettings, AFailedWriteIsSkippedAndTheRestGoesOn) {
    QByteArray file = "junk\r\n";
    for (int r = 0; r < 256; ++r) {
        file += registerSettingsLine(quint8(r), quint8(r));
    }
    write("chip.dat", file + "5,5\r\n");
    board->failNext(2, QStringLiteral("BusEngine.WriteByte"));
    const auto result = loadRegisterSettings(state, path("chip.dat"));
    EXPECT_EQ(printerChip()[0xFE], 0xFE);
    EXPECT_EQ(describeLoad(result),
              QStringList({"Register settings were only partly loaded from file: 253 of 256 "
                           "registers were written.",
                           "Line 1 is not of the form register,value in hexadecimal (register 0 "
                           "to FF) and was skipped.",
                           "The file holds more than 256 lines; line 257 and the lines after it "
                           "were ignored.",
                           "Writing registers 0, 1 failed: BusEngine.WriteByte failed on "
                           "recording board: injected failure.",
                           "The file holds no setting for register FF."}));
    // A long list of registers ends in a count.
    EXPECT_EQ(numberRuns({1, 3, 5, 7, 9, 11, 13, 15, 17, 19}, false),
              QStringLiteral("1, 3, 5, 7, 9, 11, 13, 15, and 2 more"));
}

// A save that cannot be written whole (a file-size limit, a full disk) is reported as not saved
// and the old file keeps its contents; a load reads a pipe to its end and refuses a device.
TEST_F(RegisterSettings, ASaveCutShortKeepsTheOldFileAndALoadReadsPipesNotDevices) {
    for (int r = 0; r < 256; ++r) {
        printerChip()[r] = quint8(r);
    }
    ASSERT_TRUE(saveRegisterSettings(state, path("full.dat")).complete());
    const QByteArray saved = contents("full.dat");
    write("chip.dat", "old");
    for (const qsizetype limit : {qsizetype(0), qsizetype(100), saved.size() - 1}) {
        SCOPED_TRACE(limit);
        SaveRegisterSettingsResult result;
        {
            const FileSizeLimit sizeLimit{rlim_t(limit)};
            result = saveRegisterSettings(state, path("chip.dat"));
        }
        EXPECT_FALSE(result.complete());
        EXPECT_EQ(describeSave(result).value(0), "Register settings were not saved: the file " +
                                                     path("chip.dat") +
                                                     " could not be written (File too large).");
        EXPECT_EQ(contents("chip.dat"), "old");
    }
    {
        const FileSizeLimit sizeLimit{rlim_t(saved.size())};
        ASSERT_TRUE(saveRegisterSettings(state, path("chip.dat")).complete());
    }
    EXPECT_EQ(contents("chip.dat"), saved);

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], saved.constData(), size_t(saved.size())), saved.size());
    ::close(ends[1]);
    board->clearLog();
    const auto piped = loadRegisterSettings(state, QStringLiteral("/proc/self/fd/%1").arg(ends[0]));
    ::close(ends[0]);
    EXPECT_TRUE(piped.complete()) << describeLoad(piped).join(' ').toStdString();
    EXPECT_EQ(writes().size(), 256);

    board->clearLog();
    EXPECT_EQ(describeLoad(loadRegisterSettings(state, QStringLiteral("/dev/zero"))).value(0),
              QStringLiteral("Register settings were not loaded: the file /dev/zero could not be "
                             "read (it is a device (character special file), not a file)."));
    EXPECT_TRUE(board->transfers().isEmpty());
}

} // namespace
} // namespace qmf::test
