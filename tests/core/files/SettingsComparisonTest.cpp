// SPDX-License-Identifier: GPL-3.0-or-later
// A register settings file against the chip: exactly the registers that differ, the readings left
// out unless asked for, and what was not compared said.
#include "core/files/SettingsComparison.h"

#include "CoreFixture.h"
#include "FilesTestSupport.h"
#include "core/files/RegisterSettingsFile.h"

#include <QBuffer>

namespace qmf::test {
namespace {

class Comparison : public CoreFixture {
protected:
    Comparison() {
        for (int r = 0; r < 256; ++r) {
            smbusChip()[r] = quint8(r);
        }
    }
    // The chip as a settings file, with some lines replaced.
    static ParsedRegisterSettings file(const QList<std::pair<int, QByteArray>>& replaced = {}) {
        QList<QByteArray> lines;
        for (int r = 0; r < 256; ++r) {
            lines << registerSettingsLine(quint8(r), quint8(r));
        }
        for (const auto& [index, line] : replaced) {
            lines[index] = line;
        }
        QByteArray bytes = lines.join();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return parseRegisterSettings(buffer);
    }
};

TEST_F(Comparison, FindsExactlyTheSettingsThatDifferAndLeavesTheReadingsOut) {
    smbusChip()[0x60] = 0x45; // settings changed since the file
    smbusChip()[0x91] = 0x50;
    smbusChip()[0xA0] = 0x19; // a reading, which the chip changes itself
    board->clearLog();
    const ParsedRegisterSettings saved = file({{0x20, "20,1FF\r\n"}}); // a load writes FF
    const SettingsComparison settings = compareWithChip(state, saved, false);
    EXPECT_EQ(
        settings.differences,
        QList<RegisterDifference>({{0x20, 0xFF, 0x20}, {0x60, 0x60, 0x45}, {0x91, 0x91, 0x50}}));
    EXPECT_EQ(settings.compared, 245);
    EXPECT_EQ(board->transfers().size(), 245);
    EXPECT_TRUE(board->transfers().filter("WriteByte").isEmpty());
    EXPECT_EQ(
        describeComparison(settings, saved),
        QStringList({"3 registers differ (245 compared).",
                     "Readings not compared: 0, 5, 10, 11, 70, 71, A0 to A2, B8, and 1 more."}));

    const SettingsComparison all = compareWithChip(state, saved, true);
    EXPECT_EQ(all.differences.size(), 4);
    EXPECT_EQ(all.differences[3], (RegisterDifference{0xA0, 0xA0, 0x19}));
    EXPECT_EQ(describeComparison(all, saved).first(), "4 registers differ (256 compared).");
}

TEST_F(Comparison, SaysWhatItCouldNotCompare) {
    const ParsedRegisterSettings damaged = file({{3, "3,x\r\n"}, {4, "\r\n"}});
    board->failNext(1, "Smbus.ReadByte(5E,07");
    const SettingsComparison result = compareWithChip(state, damaged, false);
    EXPECT_TRUE(result.differences.isEmpty());
    EXPECT_EQ(result.missing, QList<int>({3, 4}));
    EXPECT_EQ(describeComparison(result, damaged),
              QStringList({"The chip matches the file (242 compared).",
                           "Readings not compared: 0, 5, 10, 11, 70, 71, A0 to A2, B8, and 1 more.",
                           "Not of the form register,value, not compared: line 4.",
                           "The file holds no setting for registers 3, 4.",
                           "Register 7 could not be read: Smbus.ReadByte failed on recording "
                           "board: injected failure"}));
}

} // namespace
} // namespace qmf::test
