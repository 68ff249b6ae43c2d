// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu's "Save Settings to File" and "Load Settings From File" on the simulated board,
// through real files.
#include "gui/shell/RegisterSettingsCommands.h"

#include "core/text/NumberText.h"
#include "gui/support/TestContext.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

using namespace Qt::StringLiterals;
using Icon = UserDialogs::Icon;
const QString Problem = u"There was a Problem!"_s;

class RegisterSettingsCommands : public ::testing::Test {
protected:
    // The per-user settings (the dialogs' memory of the last file) go to a folder of the test.
    RegisterSettingsCommands() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }
    sim::SimulatedChip& chip() { return t.simBoard()->printerPortChip(); }
    // Runs the command with the dialog answering the name (in the test's folder; empty: cancel).
    void run(void (*command)(AppContext&, QWidget*), const QString& name) {
        t.dialogs.fileAnswers << (name.isEmpty() ? name : dir.filePath(name));
        command(t.ctx, nullptr);
    }
    // The text of the one message shown since the last call, which has this icon and title.
    QString message(Icon icon, const QString& title) {
        EXPECT_EQ(t.dialogs.messages.size(), 1);
        const FakeDialogs::Message m = t.dialogs.messages.value(0);
        t.dialogs.messages.clear();
        EXPECT_EQ(m.icon, icon);
        EXPECT_EQ(m.title, title);
        return m.text;
    }

    QTemporaryDir settingsDir;
    TestContext t;
    QTemporaryDir dir;
};

TEST_F(RegisterSettingsCommands, LoadRestoresWhatSaveWroteTo256Lines) {
    chip().writeRegister(0x90, 0x5A);
    run(SaveRegisterSettings, u"chip.dat"_s);
    EXPECT_EQ(message(Icon::Information, u"Data Saved"_s),
              u"Register settings were saved to file."_s);
    QFile file(dir.filePath(u"chip.dat"_s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 257);
    EXPECT_EQ(lines[0].left(2), "0,");
    EXPECT_EQ(lines[255].left(3), "FF,");
    EXPECT_EQ(lines[0x90], "90,5A\r");
    chip().writeRegister(0x90, 0x10);
    run(LoadRegisterSettings, u"chip.dat"_s);
    EXPECT_EQ(message(Icon::Information, u"Data Loaded"_s),
              u"Register settings were loaded from file."_s);
    EXPECT_EQ(chip().readRegister(0x90), 0x5A);
    EXPECT_EQ(t.dialogs.fileRequests.value(0).mode, UserDialogs::FileMode::Save);
    EXPECT_EQ(t.dialogs.fileRequests.value(1).mode, UserDialogs::FileMode::Open);
    EXPECT_EQ(t.dialogs.fileRequests.value(0).filter, u"Excel Files (*.dat)"_s);
    EXPECT_EQ(t.dialogs.fileRequests.value(1).filter, u"Excel Files (*.dat)"_s);
}

// Save and load open their dialog in the folder of the last file chosen for either, also in a
// later run; a refused name is forgotten, a folder that is gone is not offered. The success box
// keeps its text and names the file below it.
TEST_F(RegisterSettingsCommands, DialogsStartInTheFolderOfTheLastChosenFileAcrossRuns) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"a"_s) && QDir(dir.path()).mkpath(u"b"_s));
    const QString a = dir.filePath(u"a"_s);
    const QString b = dir.filePath(u"b"_s);
    const struct {
        void (*command)(AppContext&, QWidget*);
        QString answer; // in the test's folder; empty: cancel
        QString startFolder;
    } steps[] = {
        {SaveRegisterSettings, u"a/chip.dat"_s, QString()},
        {LoadRegisterSettings, {}, a},
        {LoadRegisterSettings, u"b/chip.dat"_s, a}, // missing file: still the chosen one
        {SaveRegisterSettings, u"b/chip.DAT"_s, b},
        {SaveRegisterSettings, u"a/again.dat"_s, QString()},
        {LoadRegisterSettings, u"a/chip.dat"_s, a},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.answer.toStdString());
        t.dialogs.fileRequests.clear();
        run(step.command, step.answer);
        ASSERT_EQ(t.dialogs.fileRequests.size(), 1);
        EXPECT_EQ(t.dialogs.fileRequests[0].startFolder, step.startFolder);
        t.dialogs.messages.clear();
    }
    run(SaveRegisterSettings, u"a/chip.dat"_s);
    const FakeDialogs::Message saved = t.dialogs.messages.value(0);
    EXPECT_EQ(saved.text, u"Register settings were saved to file."_s);
    EXPECT_EQ(saved.informativeText, QDir::toNativeSeparators(dir.filePath(u"a/chip.dat"_s)));
    run(LoadRegisterSettings, u"a/chip.dat"_s);
    const FakeDialogs::Message loaded = t.dialogs.messages.value(1);
    EXPECT_EQ(loaded.text, u"Register settings were loaded from file."_s);
    EXPECT_EQ(loaded.informativeText, saved.informativeText);

    // Another run of the program remembers it; once the folder is gone the dialog chooses.
    TestContext later;
    later.dialogs.fileAnswers << QString();
    LoadRegisterSettings(later.ctx, nullptr);
    EXPECT_EQ(later.dialogs.fileRequests.value(0).startFolder, a);
    ASSERT_TRUE(QDir(a).removeRecursively());
    later.dialogs.fileAnswers << QString();
    SaveRegisterSettings(later.ctx, nullptr);
    EXPECT_EQ(later.dialogs.fileRequests.value(1).startFolder, QString());
}

TEST_F(RegisterSettingsCommands, CancelDoesNothingAndANameNotEndingInLowerCaseDatIsRefused) {
    run(SaveRegisterSettings, {});
    run(LoadRegisterSettings, {});
    EXPECT_TRUE(t.dialogs.messages.isEmpty());
    for (const QString& name : {u"upper.DAT"_s, u"chip.txt"_s, u"chip.dat "_s}) {
        SCOPED_TRACE(name.toStdString());
        for (auto command : {SaveRegisterSettings, LoadRegisterSettings}) {
            run(command, name);
            EXPECT_EQ(message(Icon::Exclamation, Problem),
                      u"Either an invalid filename or no file was selected, no settings were "
                      u"loaded."_s);
        }
    }
}

// The messages' wording is the file layer's; here: never the success box for less than all 256.
TEST_F(RegisterSettingsCommands, AnythingLessThanAllRegistersIsAProblemNotASuccess) {
    t.simBoard()->failNextTransfers(3);
    run(SaveRegisterSettings, u"chip.dat"_s);
    EXPECT_TRUE(message(Icon::Exclamation, Problem)
                    .startsWith(u"Register settings were saved to file, but only 253 of 256 "
                                u"registers could be read."_s));
    run(LoadRegisterSettings, u"missing.dat"_s);
    EXPECT_TRUE(message(Icon::Exclamation, Problem).contains(u"No register was written."_s));
    QFile bad(dir.filePath(u"short.dat"_s));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly) && bad.write("90,5A\r\n91,1FF\r\nzz,1\r\n") > 0);
    bad.close();
    run(LoadRegisterSettings, u"short.dat"_s);
    EXPECT_EQ(chip().readRegister(0x90), 0x5A);
    EXPECT_EQ(chip().readRegister(0x91), 0xFF); // a value above FF is written as FF
    EXPECT_TRUE(message(Icon::Exclamation, Problem)
                    .startsWith(u"Register settings were only partly loaded from file: 2 of 256 "
                                u"registers were written."_s));
}

// One link failure at every transfer of a save and of a load: no crash, the failure named in the
// problem message, the failed register left out of the file or unwritten, every other register
// saved or written (both operations skip a failing register and go on).
TEST_F(RegisterSettingsCommands, ALinkFailureAtEveryTransferIsNamedAndTheRestDone) {
    for (int r = 0; r < 256; ++r) {
        chip().writeRegister(quint8(r), quint8(r ^ 0x5A));
    }
    run(SaveRegisterSettings, u"all.dat"_s);
    ASSERT_EQ(message(Icon::Information, u"Data Saved"_s),
              u"Register settings were saved to file."_s);
    QFile all(dir.filePath(u"all.dat"_s));
    ASSERT_TRUE(all.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = all.readAll().split('\n');
    const QString registerText = u"register %1"_s;
    // 256 files replaced, each synced to its disk: in memory where there is a file system for it.
    const QTemporaryDir memory(u"/dev/shm/qmf-save-XXXXXX"_s);
    const QString oneMissing =
        (memory.isValid() ? memory.path() : dir.path()) + u"/one-missing.dat"_s;
    for (int r = 0; r < 256; ++r) {
        t.simBoard()->failTransferAfter(r);
        t.dialogs.fileAnswers << oneMissing;
        SaveRegisterSettings(t.ctx, nullptr);
        const QString text = message(Icon::Exclamation, Problem);
        EXPECT_TRUE(text.contains(u"Register "_s + text::hex(quint32(r)) +
                                  u" could not be read and is missing from the file: "_s))
            << text.toStdString();
        EXPECT_TRUE(text.contains(u"injected transfer failure"_s));
        QFile saved(oneMissing);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        QList<QByteArray> expected = lines;
        expected.removeAt(r);
        EXPECT_EQ(saved.readAll().split('\n'), expected) << r;
    }

    // Every register then holds another value than the file's; after a load with one failed
    // write only that register keeps it, where a register keeps what is written at all.
    for (int r = 0; r < 256; ++r) {
        for (int i = 0; i < 256; ++i) {
            chip().writeRegister(quint8(i), quint8(i ^ 0xA5));
        }
        QList<quint8> before;
        for (int i = 0; i < 256; ++i) {
            before << chip().readRegister(quint8(i));
        }
        t.simBoard()->failTransferAfter(r);
        run(LoadRegisterSettings, u"all.dat"_s);
        const QString text = message(Icon::Exclamation, Problem);
        EXPECT_TRUE(
            text.contains(u"Writing "_s + registerText.arg(text::hex(quint32(r))) + u" failed: "_s))
            << text.toStdString();
        for (int i = 0; i < 256; ++i) {
            if (before[i] == (i ^ 0xA5)) { // a register that keeps what is written
                EXPECT_EQ(chip().readRegister(quint8(i)), i == r ? (i ^ 0xA5) : (i ^ 0x5A))
                    << "register " << i << ", failure at " << r;
            }
        }
    }
}

} // namespace
} // namespace qmf::test
