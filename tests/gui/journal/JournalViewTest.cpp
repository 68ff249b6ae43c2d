// SPDX-License-Identifier: GPL-3.0-or-later
// The journal view on the simulated board: a wizard's writes with their source, undo of the
// whole run back to the dump taken before it, export of the registers before it, the filter.
#include "JournalFixture.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/files/SettingsComparison.h"
#include "gui/shell/RegisterSettingsCommands.h"
#include "gui/wizards/FanConfigFRM.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>

namespace qmf::test {
namespace {

class JournalView : public JournalFixture {
protected:
    JournalView() : JournalFixture(TestContext::Simulated) {
        EXPECT_TRUE(saveRegisterSettings(t.state, dump).complete());
    }
    // The fan configuration wizard, three sliders moved one step each by keyboard. Returns the
    // serial of the run's first write.
    quint64 runFanWizard() {
        const quint64 first = t.state.journal().lastSerial() + 1;
        auto& wizard = t.windows.show<FanConfigFRM>(t.ctx);
        const struct {
            int step;
            const char* slider;
            Qt::Key key;
        } moves[] = {{0, "Fan1NormSpeedSlider", Qt::Key_Right},
                     {1, "Fan2AlarmSlider", Qt::Key_Left},
                     {2, "Fan1HotPlugSlider", Qt::Key_Right}};
        for (const auto& m : moves) {
            QTest::mouseClick(wizard.findChild<QWidget*>(u"StepLBL_%1"_s.arg(m.step)),
                              Qt::LeftButton);
            QCoreApplication::processEvents();
            QTest::keyClick(wizard.findChild<QSlider*>(QLatin1String(m.slider)), m.key);
        }
        return first;
    }
    QByteArray contents(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    // The registers that differ from the dump, settings only.
    QList<RegisterDifference> changedSinceDump() {
        return compareWithChip(t.state, readRegisterSettingsFile(dump).parsed, false).differences;
    }

    QTemporaryDir dir;
    const QString dump = dir.filePath(u"dump.dat"_s);
};

TEST_F(JournalView, AWizardsWritesAppearWithTheirSourceAndUndoOfTheRunRestoresTheDump) {
    const quint64 first = runFanWizard();
    ASSERT_EQ(changedSinceDump().size(), 3);
    openJournal();
    // One write per slider step, newest first; the slider names the write, and its value before
    // is the byte the wizard read for it.
    ASSERT_EQ(table()->model()->rowCount(), 3);
    EXPECT_EQ(rowOf(first), 2);
    EXPECT_EQ(summary(0), u"68 6C>6D - | Fan Configuration Wizard. (Fan1HotPlugSlider) | "_s);
    for (const QString& slider : {u"Fan1NormSpeedSlider"_s, u"Fan2AlarmSlider"_s}) {
        find<QLineEdit>(u"FilterTXT"_s)->setText(slider);
        EXPECT_EQ(table()->model()->rowCount(), 1) << slider.toStdString();
    }
    EXPECT_EQ(summary(0), u"61 F8>E8 - | Fan Configuration Wizard. (Fan2AlarmSlider) | "_s);
    find<QLineEdit>(u"FilterTXT"_s)->clear();

    select(rowOf(first));
    click(u"UndoFromCMD"_s);
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_EQ(t.dialogs.messages[0].title, u"Undo"_s);
    EXPECT_TRUE(changedSinceDump().isEmpty());
    // The undo is journaled itself, newest first, and every entry of the run is marked.
    EXPECT_EQ(cell(0, 7), u"Undo from %1"_s.arg(first));
    EXPECT_TRUE(cell(rowOf(first), 9).startsWith(u"undone by "_s));
}

TEST_F(JournalView, ExportWritesTheRegistersAsBeforeAnEntryAndLoadingItPutsThemBack) {
    const quint64 first = runFanWizard();
    openJournal();
    select(rowOf(first));
    const QString exported = dir.filePath(u"before.dat"_s);
    t.dialogs.fileAnswers << exported;
    click(u"ExportCMD"_s);
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_EQ(t.dialogs.messages[0].title, u"Data Saved"_s);
    // Nothing moved but the wizard's settings: the file is the dump.
    EXPECT_EQ(contents(exported), contents(dump));

    t.dialogs.fileAnswers << exported;
    LoadRegisterSettings(t.ctx, nullptr);
    EXPECT_EQ(t.dialogs.messages.last().title, u"Data Loaded"_s);
    EXPECT_TRUE(changedSinceDump().isEmpty());
    // The load is in the journal under its own name.
    EXPECT_EQ(cell(0, 7), u"Load Settings From File (before.dat)"_s);

    t.dialogs.fileAnswers << dir.filePath(u"before.txt"_s);
    click(u"ExportCMD"_s);
    EXPECT_EQ(t.dialogs.messages.last().text,
              u"Either an invalid filename or no file was selected, nothing was exported."_s);
}

TEST_F(JournalView, FollowsNewWritesAndFiltersByRegisterOrSource) {
    openJournal();
    auto* count = find<QLabel>(u"CountLBL"_s);
    EXPECT_EQ(count->text(), u"0 writes"_s);
    for (const auto& button : {u"UndoCMD"_s, u"UndoFromCMD"_s, u"ExportCMD"_s}) {
        EXPECT_FALSE(find<QPushButton>(button)->isEnabled());
    }
    runFanWizard();
    const int all = table()->model()->rowCount();
    EXPECT_EQ(count->text(), u"%1 writes"_s.arg(all));
    const struct {
        const char* typed;
        const char* registers;
    } cases[] = {
        {"60", "60"},      {"0x61", "61"},
        {"hotplug", "68"}, {"FAN CONFIGURATION", nullptr},
        {"Speed 2", "68"}, {"no such source", ""},
    };
    auto* filter = find<QLineEdit>(u"FilterTXT"_s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        filter->setText(QLatin1String(c.typed));
        QStringList registers;
        for (int row = 0; row < table()->model()->rowCount(); ++row) {
            registers << cell(row, 2);
        }
        registers.removeDuplicates();
        if (c.registers == nullptr) {
            EXPECT_EQ(table()->model()->rowCount(), all);
        } else {
            EXPECT_EQ(registers.join(u' '), QLatin1String(c.registers));
        }
    }
    filter->setText(u"60"_s);
    EXPECT_EQ(count->text(), u"%1 of %2 writes"_s.arg(table()->model()->rowCount()).arg(all));
}

} // namespace
} // namespace qmf::test
