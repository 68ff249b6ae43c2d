// SPDX-License-Identifier: GPL-3.0-or-later
// "Compare with Settings File...": exactly the registers changed since a dump, writing selected
// ones back, and the file names and files it refuses.
#include "MapTestSupport.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/journal/WriteJournal.h"
#include "gui/map/SettingsCompareFRM.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace qmf::test {
namespace {

using namespace Qt::StringLiterals;

class SettingsCompare : public ::testing::Test {
protected:
    SettingsCompare() {
        for (int r = 0; r < 256; ++r) {
            chip()[r] = quint8(r);
        }
        EXPECT_TRUE(saveRegisterSettings(t.state, dump).complete());
        t.recording()->clearLog();
    }
    ~SettingsCompare() override { t.windows.destroyAll(); }

    std::array<quint8, 256>& chip() { return t.recording()->parallelRegisters(0, false, 0x5E); }
    // Runs the File menu's command with the file dialog answering `path`.
    SettingsCompareFRM* compare(const QString& path) {
        t.dialogs.fileAnswers << path;
        CompareWithSettingsFile(t.ctx, nullptr);
        window = t.windows.find<SettingsCompareFRM>();
        return window && window->isVisible() ? window : nullptr;
    }
    template <class T> T* find(const QString& name) const {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QTableView* table() const { return find<QTableView>(u"DifferencesTBL"_s); }
    QStringList rows() const {
        QStringList list;
        for (int row = 0; row < table()->model()->rowCount(); ++row) {
            list << rowText(*table(), row);
        }
        return list;
    }

    TestContext t{TestContext::Recording};
    QTemporaryDir dir;
    const QString dump = dir.filePath(u"dump.dat"_s);
    SettingsCompareFRM* window = nullptr;
};

TEST_F(SettingsCompare, ShowsExactlyTheSettingsChangedSinceADumpAndWritesSelectedOnesBack) {
    chip()[0x60] = 0x45;
    chip()[0x91] = 0x50;
    chip()[0xA0] = 0x19; // a reading
    ASSERT_NE(compare(dump), nullptr);
    EXPECT_EQ(rows(), QStringList({u"60 | Fan 0 Speed 1 | 60 | 45"_s,
                                   u"91 | Temp 1 HighLimit | 91 | 50"_s}));
    EXPECT_EQ(find<QLabel>(u"SummaryLBL"_s)->text(),
              u"2 registers differ (245 compared).\n"
              "Readings not compared: 0, 5, 10, 11, 70, 71, A0 to A2, B8, and 1 more."_s);
    EXPECT_TRUE(t.recording()->transfers().filter(u"WriteByte"_s).isEmpty());

    QTest::mouseClick(find<QCheckBox>(u"IncludeReadingsCHK"_s), Qt::LeftButton);
    EXPECT_EQ(rows().size(), 3);
    EXPECT_EQ(rows().last(), u"A0 | Temp 0 Value | A0 | 19"_s);

    table()->selectionModel()->select(table()->model()->index(1, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    t.recording()->clearLog();
    QTest::mouseClick(find<QPushButton>(u"WriteSelectedCMD"_s), Qt::LeftButton);
    EXPECT_EQ(chip()[0x91], 0x91);
    EXPECT_EQ(t.recording()->transfers().mid(0, 2),
              QStringList({u"BusEngine.WriteByte(5E,91,91)"_s, u"BusEngine.ReadByte(5E,91)=91"_s}));
    EXPECT_EQ(rows(),
              QStringList({u"60 | Fan 0 Speed 1 | 60 | 45"_s, u"A0 | Temp 0 Value | A0 | 19"_s}));
    const WriteJournal& journal = t.state.journal();
    EXPECT_EQ(journal.at(journal.size() - 1).source, u"Compare with Settings File"_s);
    EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

TEST_F(SettingsCompare, RefusesANameWithoutDatAndReportsAFileItCannotRead) {
    EXPECT_EQ(compare(dir.filePath(u"dump.DAT"_s)), nullptr);
    EXPECT_EQ(compare(dir.filePath(u"missing.dat"_s)), nullptr);
    ASSERT_EQ(t.dialogs.messages.size(), 2);
    EXPECT_EQ(t.dialogs.messages[0].title, u"There was a Problem!"_s);
    EXPECT_EQ(t.dialogs.messages[0].text,
              u"Either an invalid filename or no file was selected, nothing was compared."_s);
    EXPECT_TRUE(t.dialogs.messages[1].text.startsWith(dir.filePath(u"missing.dat: "_s)));
    EXPECT_TRUE(t.dialogs.messages[1].text.endsWith(u"; nothing was compared."_s));
    // Cancelled: nothing at all.
    EXPECT_EQ(compare(QString()), nullptr);
    EXPECT_EQ(t.dialogs.messages.size(), 2);
    EXPECT_TRUE(t.recording()->transfers().isEmpty());
}

} // namespace
} // namespace qmf::test
