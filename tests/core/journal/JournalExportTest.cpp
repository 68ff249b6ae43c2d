// SPDX-License-Identifier: GPL-3.0-or-later
// Export of the registers as they were before a journal entry, to a register settings file.
#include "core/journal/JournalExport.h"

#include "CoreFixture.h"
#include "JournalTestSupport.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/journal/WriteJournal.h"
#include "core/link/RegisterAccess.h"

#include <QFile>
#include <QTemporaryDir>

namespace qmf::test {
namespace {

class Export : public CoreFixture {
protected:
    Export() {
        for (int r = 0; r < 256; ++r) {
            smbusChip()[r] = quint8(r ^ 0x5A);
        }
        ReadRegisterAt(state, 0x60);
        WriteRegisterAt(state, 0x60, 0x01); // entry 1
        ReadRegisterAt(state, 0x61);
        WriteRegisterAt(state, 0x61, 0x02); // entry 2
        WriteRegisterAt(state, 0x60, 0x03); // entry 3
        EXPECT_TRUE(dir.isValid());
        path = dir.filePath("before.dat");
    }
    QByteArray contents() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    QTemporaryDir dir;
    QString path;
};

TEST_F(Export, WritesTheRegistersAsTheyWereBeforeTheEntryAndLoadsBackToThem) {
    const JournalExportResult result = exportRegistersBefore(state, 2, path);
    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.lines,
              QStringList{"The registers as they were before entry 2 were saved to " + path + "."});
    const QByteArray file = contents();
    EXPECT_EQ(file.count("\r\n"), 256);
    EXPECT_TRUE(file.startsWith("0,5A\r\n1,5B\r\n"));
    EXPECT_TRUE(file.contains("\r\n60,1\r\n"));  // entry 1 stays: before entry 2
    EXPECT_TRUE(file.contains("\r\n61,3B\r\n")); // before entry 2

    // Loading the file puts the chip back as it was before entry 2.
    smbusChip().fill(0);
    const LoadRegisterSettingsResult loaded = loadRegisterSettings(state, path);
    EXPECT_TRUE(loaded.complete());
    EXPECT_EQ(smbusChip()[0x60], 0x01);
    EXPECT_EQ(smbusChip()[0x61], 0x3B);
    EXPECT_EQ(smbusChip()[0x0D], 0x0D ^ 0x5A);
}

TEST_F(Export, WritesNoFileWhenARegisterIsUnknownOrUnreadable) {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    WriteRegisterAt(state, 0x20, 0x03); // entry 4, never read before
    const JournalExportResult unknown = exportRegistersBefore(state, 3, path);
    EXPECT_FALSE(unknown.written);
    EXPECT_EQ(unknown.lines,
              QStringList({"No file was written.",
                           "The registers as they were before entry 3 are not all known: the "
                           "earlier value of register 20 is not known (not read before being "
                           "written)."}));

    WriteRegisterAt(state, 0x61, 0x04); // entry 5
    board->failNext(1, QStringLiteral("Smbus.ReadByte(5E,0D"));
    const JournalExportResult unreadable = exportRegistersBefore(state, 5, path);
    EXPECT_FALSE(unreadable.written);
    EXPECT_EQ(unreadable.lines,
              QStringList({"No file was written.",
                           "Register D could not be read: Smbus.ReadByte failed on recording "
                           "board: injected failure"}));
    EXPECT_EQ(contents(), "old");
}

} // namespace
} // namespace qmf::test
