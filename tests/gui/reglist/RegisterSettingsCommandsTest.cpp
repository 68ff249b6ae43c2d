// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu's "Save Settings to File" and "Load Settings From File" on the simulated board,
// through real files.
#include "gui/shell/RegisterSettingsCommands.h"

#include "gui/support/TestContext.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

using namespace Qt::StringLiterals;
using Icon = UserDialogs::Icon;
const QString Problem = u"There was a Problem!"_s;

class RegisterSettingsCommands : public ::testing::Test {
protected:
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

} // namespace
} // namespace qmf::test
