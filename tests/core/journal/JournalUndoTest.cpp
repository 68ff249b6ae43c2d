// SPDX-License-Identifier: GPL-3.0-or-later
// Undo of one journal entry and of everything from an entry on: what is written, in which order,
// what is refused, and how the journal records it.
#include "core/journal/JournalUndo.h"

#include "CoreFixture.h"
#include "JournalTestSupport.h"
#include "core/journal/JournalText.h"
#include "core/journal/WriteJournal.h"
#include "core/link/RegisterAccess.h"

namespace qmf::test {
namespace {

class Undo : public CoreFixture {
protected:
    Undo() {
        smbusChip()[0x60] = 0xF8;
        smbusChip()[0x61] = 0xF8;
        smbusChip()[0x68] = 0x6C;
        // A wizard-like run: read-modify-writes of three registers, one of them twice.
        for (const auto& [reg, value] : {std::pair{0x60, 0x45}, {0x68, 0xAC}, {0x60, 0x46}}) {
            ReadRegisterAt(state, quint8(reg));
            WriteRegisterAt(state, quint8(reg), qint16(value));
        }
        board->clearLog();
    }
    WriteJournal& journal() { return state.journal(); }
    QStringList writes() const { return board->transfers().filter(QStringLiteral("WriteByte")); }
    QString note(quint64 serial) {
        return journaltext::field(*journal().find(serial), journaltext::Note);
    }
};

TEST_F(Undo, OfOneEntryWritesItsValueBeforeBackReadsItBackAndIsJournaledItself) {
    const UndoPlan plan = planUndoOf(journal(), 2);
    const UndoResult result = runUndo(state, plan);
    EXPECT_EQ(board->transfers(),
              QStringList({"Smbus.WriteByte(5E,68,6C)", "Smbus.ReadByte(5E,68)=6C"}));
    EXPECT_EQ(result.lines(plan), QStringList{"1 register was put back."});
    ASSERT_EQ(journal().size(), 4);
    const JournalEntry& undo = journal().at(3);
    EXPECT_EQ(
        journaltext::fields(undo).mid(2),
        QStringList({"68", "Fan 0 Speed 2", "AC", "6C", "6C", "Undo of 2", "ok", "undo of 2"}));
    EXPECT_EQ(note(2), "undone by 4");
    EXPECT_EQ(note(1), "");
}

TEST_F(Undo, FromAnEntryPutsEachRegisterBackOnceNewestFirst) {
    const UndoPlan plan = planUndoFrom(journal(), 1);
    const UndoResult result = runUndo(state, plan);
    EXPECT_EQ(writes(), QStringList({"Smbus.WriteByte(5E,60,F8)", "Smbus.WriteByte(5E,68,6C)"}));
    EXPECT_EQ(smbusChip()[0x60], 0xF8);
    EXPECT_EQ(smbusChip()[0x68], 0x6C);
    EXPECT_EQ(result.lines(plan), QStringList{"2 registers were put back."});
    EXPECT_EQ(note(1), "undone by 4");
    EXPECT_EQ(note(3), "undone by 4");
    EXPECT_EQ(note(2), "undone by 5");
    EXPECT_EQ(note(4), "undo of 1");

    // Undoing from the undo on puts the run back again.
    const UndoResult redo = runUndo(state, planUndoFrom(journal(), 4));
    EXPECT_EQ(redo.written, 2);
    EXPECT_EQ(smbusChip()[0x60], 0x46);
    EXPECT_EQ(smbusChip()[0x68], 0xAC);
}

TEST_F(Undo, IsRefusedWholeWhenAnEarlierValueIsNotKnownOrTheEntryIsGone) {
    WriteRegisterAt(state, 0x20, 0x03); // never read: its value before is unknown
    WriteRegisterAt(state, 0x60, 0x47);
    board->clearLog();
    const struct {
        const char* name;
        UndoPlan plan;
        QStringList lines;
    } refused[] = {
        {"one entry",
         planUndoOf(journal(), 4),
         {"Entry 4 cannot be undone: the value of register 20 before it is not known (the register "
          "had not been read before it was written).",
          "Nothing was written."}},
        {"a range",
         planUndoFrom(journal(), 2),
         {"The registers as they were before entry 2 are not all known: the earlier value of "
          "register 20 is not known (not read before being written).",
          "Nothing was written."}},
        {"an entry never made",
         planUndoOf(journal(), 99),
         {"Entry 99 is no longer in the journal, which keeps the last 100000 writes.",
          "Nothing was written."}},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        const UndoResult result = runUndo(state, c.plan);
        EXPECT_EQ(result.lines(c.plan), c.lines);
        EXPECT_EQ(result.written, 0);
    }
    EXPECT_EQ(board->transfers(), QStringList());
    // Undo from after the unknown one is possible.
    EXPECT_TRUE(planUndoFrom(journal(), 5).ok());
}

TEST_F(Undo, GoesOnAfterAFailedWriteAndReportsAFailedReadBack) {
    board->failNext(1, QStringLiteral("Smbus.WriteByte(5E,60"));
    const UndoPlan plan = planUndoFrom(journal(), 1);
    const UndoResult result = runUndo(state, plan);
    EXPECT_EQ(smbusChip()[0x68], 0x6C);
    EXPECT_EQ(result.lines(plan),
              QStringList({"1 of 2 registers were put back.",
                           "Register 60 could not be put back to F8: Smbus.WriteByte failed on "
                           "recording board: injected failure"}));
    const JournalEntry& failed = journal().at(3);
    EXPECT_TRUE(failed.failed());
    EXPECT_EQ(failed.undoOf, 1u);
    EXPECT_EQ(note(1), ""); // not put back

    // A read-back that fails is reported; the write stands.
    board->failNext(1, QStringLiteral("Smbus.ReadByte"));
    const UndoPlan again = planUndoOf(journal(), 2);
    const UndoResult unread = runUndo(state, again);
    EXPECT_EQ(unread.written, 1);
    EXPECT_EQ(unread.problems, QStringList{"Register 68 could not be read back: Smbus.ReadByte "
                                           "failed on recording board: injected failure"});
}

} // namespace
} // namespace qmf::test
