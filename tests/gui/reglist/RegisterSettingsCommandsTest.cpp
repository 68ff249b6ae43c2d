// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu's "Save Settings to File" and "Load Settings From File" on the simulated board,
// through real files.
#include "gui/app/RegisterSettingsCommands.h"

#include "gui/support/TestContext.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

using Icon = UserDialogs::Icon;
using Mode = UserDialogs::FileMode;

class RegisterSettingsCommands : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    sim::SimulatedChip& chip() { return t.simBoard()->printerPortChip(); }
    const FakeDialogs::Message& onlyMessage() {
        EXPECT_EQ(t.dialogs.messages.size(), 1);
        return t.dialogs.messages.last();
    }
    void save(const QString& answer) {
        t.dialogs.fileAnswers << answer;
        SaveRegisterSettings(t.ctx, nullptr);
    }
    void load(const QString& answer) {
        t.dialogs.fileAnswers << answer;
        LoadRegisterSettings(t.ctx, nullptr);
    }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    TestContext t;
    QTemporaryDir dir;
};

TEST_F(RegisterSettingsCommands, SaveAsksForADatFileAndWritesAll256Registers) {
    save(path("chip.dat"));
    ASSERT_EQ(t.dialogs.fileRequests.size(), 1);
    EXPECT_EQ(t.dialogs.fileRequests[0].mode, Mode::Save);
    EXPECT_EQ(t.dialogs.fileRequests[0].filter, QStringLiteral("Excel Files (*.dat)"));
    const auto& m = onlyMessage();
    EXPECT_EQ(m.icon, Icon::Information);
    EXPECT_EQ(m.title, QStringLiteral("Data Saved"));
    EXPECT_EQ(m.text, QStringLiteral("Register settings were saved to file."));

    QFile file(path("chip.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 257);
    EXPECT_TRUE(lines[0].startsWith("0,"));
    EXPECT_TRUE(lines[255].startsWith("FF,"));
    EXPECT_TRUE(lines[255].endsWith('\r'));
}

TEST_F(RegisterSettingsCommands, LoadRestoresWhatSaveWrote) {
    chip().writeRegister(0x90, 0x5A);
    chip().writeRegister(0x28, 0x03);
    save(path("chip.dat"));
    chip().writeRegister(0x90, 0x10);
    chip().writeRegister(0x28, 0x00);
    t.dialogs.messages.clear();

    load(path("chip.dat"));
    EXPECT_EQ(t.dialogs.fileRequests.last().mode, Mode::Open);
    EXPECT_EQ(t.dialogs.fileRequests.last().filter, QStringLiteral("Excel Files (*.dat)"));
    const auto& m = onlyMessage();
    EXPECT_EQ(m.icon, Icon::Information);
    EXPECT_EQ(m.title, QStringLiteral("Data Loaded"));
    EXPECT_EQ(m.text, QStringLiteral("Register settings were loaded from file."));
    EXPECT_EQ(chip().readRegister(0x90), 0x5A);
    EXPECT_EQ(chip().readRegister(0x28), 0x03);
}

TEST_F(RegisterSettingsCommands, CancelDoesNothing) {
    save(QString());
    load(QString());
    EXPECT_TRUE(t.dialogs.messages.isEmpty());
    EXPECT_EQ(t.dialogs.fileRequests.size(), 2);
}

TEST_F(RegisterSettingsCommands, ANameNotEndingInLowerCaseDatIsRefused) {
    writeFile(path("upper.DAT"), "90,7\r\n");
    for (const char* name : {"upper.DAT", "chip.txt", "chip.dat "}) {
        t.dialogs.messages.clear();
        save(path(name));
        load(path(name));
        ASSERT_EQ(t.dialogs.messages.size(), 2) << name;
        for (const auto& m : t.dialogs.messages) {
            EXPECT_EQ(m.icon, Icon::Exclamation);
            EXPECT_EQ(m.title, QStringLiteral("There was a Problem!"));
            EXPECT_EQ(m.text, QStringLiteral("Either an invalid filename or no file was selected, "
                                             "no settings were loaded."));
        }
    }
    EXPECT_FALSE(QFile::exists(path("chip.txt")));
    EXPECT_NE(chip().readRegister(0x90), 7);
}

TEST_F(RegisterSettingsCommands, AValueOf1FFWrites255) {
    writeFile(path("big.dat"), "90,1FF\r\n");
    load(path("big.dat"));
    EXPECT_EQ(chip().readRegister(0x90), 0xFF);
}

TEST_F(RegisterSettingsCommands, AFileThatCannotBeOpenedIsNeverASuccess) {
    save(path("no/such/folder/chip.dat"));
    load(path("missing.dat"));
    ASSERT_EQ(t.dialogs.messages.size(), 2);
    EXPECT_EQ(t.dialogs.messages[0].icon, Icon::Exclamation);
    EXPECT_TRUE(
        t.dialogs.messages[0].text.contains(QStringLiteral("0 of 256 registers were saved")));
    EXPECT_EQ(t.dialogs.messages[1].icon, Icon::Exclamation);
    EXPECT_TRUE(t.dialogs.messages[1].text.contains(QStringLiteral("No register was written.")));
    for (const auto& m : t.dialogs.messages) {
        EXPECT_FALSE(m.text.contains(QStringLiteral("were saved to file.")));
        EXPECT_FALSE(m.text.contains(QStringLiteral("were loaded from file.")));
    }
}

TEST_F(RegisterSettingsCommands, UnreadableRegistersAreCountedInTheMessage) {
    t.simBoard()->failNextTransfers(3);
    save(path("chip.dat"));
    const auto& m = onlyMessage();
    EXPECT_EQ(m.icon, Icon::Exclamation);
    EXPECT_EQ(m.title, QStringLiteral("There was a Problem!"));
    EXPECT_TRUE(m.text.startsWith(QStringLiteral(
        "Register settings were saved to file, but only 253 of 256 registers could be read.")));
    EXPECT_TRUE(m.text.contains(QStringLiteral("Registers 0 to 2 could not be read")));
}

TEST_F(RegisterSettingsCommands, ShortAndGarbageFilesSayWhatWasAndWasNotLoaded) {
    writeFile(path("short.dat"), "90,5A\r\n91,5B\r\nzz,1\r\n");
    load(path("short.dat"));
    EXPECT_EQ(chip().readRegister(0x90), 0x5A);
    EXPECT_EQ(chip().readRegister(0x91), 0x5B);
    const auto& m = onlyMessage();
    EXPECT_EQ(m.icon, Icon::Exclamation);
    EXPECT_TRUE(m.text.startsWith(QStringLiteral(
        "Register settings were only partly loaded from file: 2 of 256 registers were written.")));
    EXPECT_TRUE(m.text.contains(QStringLiteral("Line 3 is not of the form register,value")));

    t.dialogs.messages.clear();
    writeFile(path("garbage.dat"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    load(path("garbage.dat"));
    EXPECT_TRUE(onlyMessage().text.startsWith(
        QStringLiteral("No register settings were loaded from file")));
    EXPECT_EQ(chip().readRegister(0x90), 0x5A);
}

} // namespace
} // namespace qmf::test
