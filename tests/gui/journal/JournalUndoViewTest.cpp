// SPDX-License-Identifier: GPL-3.0-or-later
// Undo of one entry from the journal view on the recording board: the exact transfers, the
// chip's byte, and the refusal of an entry whose value before is not known.
#include "JournalFixture.h"
#include "core/journal/WriteJournal.h"
#include "core/link/RegisterAccess.h"

#include <QApplication>
#include <QClipboard>

namespace qmf::test {
namespace {

class JournalUndoView : public JournalFixture {
protected:
    JournalUndoView() : JournalFixture(TestContext::Recording) {
        chip()[0x60] = 0xF8;
        const JournalSource source(t.state.journal(), u"Register List"_s);
        ReadRegisterAt(t.state, 0x60);
        WriteRegisterAt(t.state, 0x60, 0x45); // entry 1: F8 before
        WriteRegisterAt(t.state, 0x21, 0x03); // entry 2: never read before
        t.recording()->clearLog();
    }
    std::array<quint8, 256>& chip() { return t.recording()->parallelRegisters(0, false, 0x5E); }
};

TEST_F(JournalUndoView, UndoWritesTheValueBeforeBackAndRefusesWhereItIsNotKnown) {
    openJournal();
    EXPECT_EQ(summary(0), u"21 unknown>3 - | Register List | "_s);
    EXPECT_EQ(summary(1), u"60 F8>45 - | Register List | "_s);

    select(1);
    click(u"UndoCMD"_s);
    EXPECT_EQ(t.recording()->transfers(),
              QStringList({u"BusEngine.WriteByte(5E,60,F8)"_s, u"BusEngine.ReadByte(5E,60)=F8"_s}));
    EXPECT_EQ(chip()[0x60], 0xF8);
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_EQ(t.dialogs.messages[0].title, u"Undo"_s);
    EXPECT_EQ(t.dialogs.messages[0].text, u"1 register was put back."_s);
    EXPECT_EQ(summary(0), u"60 45>F8 F8 | Undo of 1 | undo of 1"_s);
    EXPECT_EQ(summary(2), u"60 F8>45 - | Register List | undone by 3"_s);

    // Register 21 had not been read before it was written: nothing is written for it.
    t.recording()->clearLog();
    select(rowOf(2));
    for (const auto& button : {u"UndoCMD"_s, u"UndoFromCMD"_s}) {
        click(button);
        EXPECT_EQ(t.dialogs.messages.last().title, u"There was a Problem!"_s);
        EXPECT_TRUE(t.dialogs.messages.last().text.endsWith(u"\nNothing was written."_s));
    }
    EXPECT_TRUE(t.recording()->transfers().isEmpty());
    EXPECT_EQ(chip()[0x21], 0x03);
}

TEST_F(JournalUndoView, CopiesTheSelectedEntriesAsText) {
    openJournal();
    table()->selectAll();
    click(u"CopyCMD"_s);
    const QStringList lines = QApplication::clipboard()->text().split(u'\n');
    ASSERT_EQ(lines.size(), 4); // header, two entries, and the final line end
    EXPECT_EQ(lines[0],
              u"#\tTime\tRegister\tName\tBefore\tWritten\tRead back\tSource\tResult\tNote"_s);
    EXPECT_TRUE(lines[1].startsWith(u"2\t12:00:00.000\t21\t-\tunknown\t3\t-\tRegister List\tok"_s))
        << lines[1].toStdString();
}

} // namespace
} // namespace qmf::test
