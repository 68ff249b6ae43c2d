// SPDX-License-Identifier: GPL-3.0-or-later
// Every write through register access lands in the journal with the value last seen on the bus,
// its read-back and its source, and the journal adds no transfer of its own.
#include "core/journal/WriteJournal.h"

#include "CoreFixture.h"
#include "JournalTestSupport.h"
#include "core/journal/JournalText.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"
#include "core/time/Clock.h"

#include <functional>

namespace qmf::test {
namespace {

class Journal : public CoreFixture {
protected:
    Journal() {
        smbusChip()[0x60] = 0xF8;
        smbusChip()[0x61] = 0x11;
        board->clearLog();
    }
    WriteJournal& journal() { return state.journal(); }
};

// The journal as "register before>written readback source result" lines, oldest first.
QStringList summary(const WriteJournal& journal) {
    QStringList list;
    for (qsizetype i = 0; i < journal.size(); ++i) {
        const JournalEntry& e = journal.at(i);
        using namespace journaltext;
        list << QStringLiteral("%1 %2>%3 %4 %5 %6")
                    .arg(field(e, Register), field(e, Before), field(e, Written),
                         field(e, ReadBack), field(e, Source), field(e, Result));
    }
    return list;
}

struct Scenario {
    const char* name;
    std::function<void(SharedState&, RecordingBoard&)> run;
    QStringList expected;
};

TEST_F(Journal, RecordsEachWriteWithTheValueLastSeenItsReadBackAndItsSource) {
    const QString linkFailure = "Smbus.WriteByte failed on recording board: injected failure";
    const Scenario scenarios[] = {
        {"a register never seen has no value before",
         [](SharedState& s, RecordingBoard&) { WriteRegisterAt(s, 0x60, 0x45); },
         {"60 unknown>45 - - ok"}},
        {"a read before the write gives it; a read after it is its read-back",
         [](SharedState& s, RecordingBoard&) {
             ReadRegisterAt(s, 0x60);
             WriteRegisterAt(s, 0x60, 0x45);
             ReadRegisterAt(s, 0x60);
         },
         {"60 F8>45 45 - ok"}},
        {"the shared-state pair counts alike, clamping at FF",
         [](SharedState& s, RecordingBoard&) {
             s.AddressPointer = 0x61;
             ReadRegister(s);
             s.DataToWrite = 300;
             WriteRegister(s);
             ReadRegister(s);
         },
         {"61 11>FF FF - ok"}},
        {"a write is the value before the next",
         [](SharedState& s, RecordingBoard&) {
             WriteRegisterAt(s, 0x60, 0x01);
             WriteRegisterAt(s, 0x60, 0x02);
         },
         {"60 unknown>1 - - ok", "60 1>2 - - ok"}},
        {"a failed write is kept and makes the register unknown",
         [](SharedState& s, RecordingBoard& b) {
             ReadRegisterAt(s, 0x60);
             b.failNext(1, "Smbus.WriteByte");
             EXPECT_THROW(WriteRegisterAt(s, 0x60, 0x45), LinkError);
             WriteRegisterAt(s, 0x60, 0x46);
         },
         {"60 F8>45 - - failed: " + linkFailure, "60 unknown>46 - - ok"}},
        {"a value refused before sending is a failed write",
         [](SharedState& s, RecordingBoard&) {
             s.AddressPointer = 0x60;
             s.DataToWrite = -5;
             EXPECT_THROW(WriteRegister(s), OverflowError);
         },
         {"60 unknown>-5 - - failed: value -5 does not fit a byte (0 to 255)"}},
        {"an address that is not a byte names no register",
         [](SharedState& s, RecordingBoard&) {
             s.AddressPointer = 256;
             s.DataToWrite = 1;
             EXPECT_THROW(WriteRegister(s), OverflowError);
         },
         {}},
        {"a software reset makes every register unknown",
         [](SharedState& s, RecordingBoard&) {
             ReadRegisterAt(s, 0x60);
             WriteRegisterAt(s, 0x0B, 0x80);
             WriteRegisterAt(s, 0x60, 0x45);
         },
         {"B unknown>80 - - ok", "60 unknown>45 - - ok"}},
        {"a read by another handler is no read-back; the innermost source names the write",
         [](SharedState& s, RecordingBoard&) {
             {
                 const JournalSource outer(s.journal(), QStringLiteral("Register List"));
                 const JournalSource inner(s.journal(), QStringLiteral("Auto-set"));
                 WriteRegisterAt(s, 0x60, 0x45);
             }
             const JournalSource other(s.journal(), QStringLiteral("Graph"));
             ReadRegisterAt(s, 0x60);
         },
         {"60 unknown>45 - Auto-set ok"}},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        SharedState fresh([] {
            auto recording = std::make_unique<RecordingBoard>();
            recording->smbusRegisters(0x5E)[0x60] = 0xF8;
            recording->smbusRegisters(0x5E)[0x61] = 0x11;
            return recording;
        });
        fresh.DeviceAddress = 0x5E;
        auto& recording = static_cast<RecordingBoard&>(fresh.board());
        scenario.run(fresh, recording);
        EXPECT_EQ(summary(fresh.journal()), scenario.expected);
    }
}

TEST_F(Journal, AddsNoTransferToAReadModifyWrite) {
    state.AddressPointer = 0x60;
    ReadRegister(state);
    state.DataToWrite = state.DataRead | 0x01;
    WriteRegister(state);
    ReadRegister(state);
    EXPECT_EQ(board->transfers(),
              QStringList({"Smbus.ReadByte(5E,60)=F8", "Smbus.WriteByte(5E,60,F9)",
                           "Smbus.ReadByte(5E,60)=F9"}));
    EXPECT_EQ(summary(journal()), QStringList{"60 F8>F9 F9 - ok"});
}

TEST_F(Journal, StampsEachWriteWithTheClocksWallTime) {
    ManualClock clock(QDateTime(QDate(2026, 3, 2), QTime(14, 3, 7)));
    journal().setClock(&clock);
    clock.advanceMs(250);
    WriteRegisterAt(state, 0x60, 1);
    EXPECT_EQ(journaltext::field(journal().at(0), journaltext::Time), "14:03:07.250");
    EXPECT_EQ(journaltext::field(journal().at(0), journaltext::Serial), "1");
}

TEST_F(Journal, WorksOutALazySourceNameOnlyWhenAWriteIsMade) {
    int asked = 0;
    const auto name = [&asked] {
        ++asked;
        return QStringLiteral("Limits/Bargraphs");
    };
    {
        const JournalSource tick(journal(), name);
        ReadRegisterAt(state, 0x60); // a polling tick: reads only
    }
    EXPECT_EQ(asked, 0);
    {
        const JournalSource click(journal(), name);
        WriteRegisterAt(state, 0x60, 1);
        WriteRegisterAt(state, 0x61, 2);
    }
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(journal().at(1).source, "Limits/Bargraphs");
    EXPECT_EQ(journal().currentSource(), "");
}

// Records the notifications in order.
class ListenerLog : public JournalListener {
public:
    QStringList calls;
    void aboutToDropOldest() override { calls << "aboutToDrop"; }
    void droppedOldest() override { calls << "dropped"; }
    void aboutToAppend() override { calls << "aboutToAppend"; }
    void appended() override { calls << "appended"; }
    void entryChanged(quint64 serial) override {
        calls << QStringLiteral("changed %1").arg(serial);
    }
};

TEST_F(Journal, KeepsTheLast100000WritesAndTellsItsListenersInOrder) {
    WriteJournal bounded;
    EXPECT_EQ(bounded.capacity(), 100000);
    for (int i = 0; i < 100000; ++i) {
        bounded.recordWrite(quint8(i), i & 0xFF, std::nullopt, {});
    }
    ListenerLog log;
    bounded.addListener(&log);
    bounded.recordWrite(0x60, 0x45, std::nullopt, {});
    bounded.noteRead(0x60, 0x44); // outside any source: still the writer's read-back
    bounded.removeListener(&log);
    bounded.recordWrite(0x61, 0x45, std::nullopt, {});

    EXPECT_EQ(bounded.size(), 100000);
    EXPECT_EQ(bounded.at(0).serial, 3u);
    EXPECT_EQ(bounded.find(2), nullptr);
    ASSERT_NE(bounded.find(100001), nullptr);
    EXPECT_EQ(bounded.find(100001)->readBack, std::optional<quint8>(0x44));
    EXPECT_EQ(bounded.lastSerial(), 100002u);
    EXPECT_EQ(log.calls, QStringList({"aboutToDrop", "dropped", "aboutToAppend", "appended",
                                      "changed 100001"}));
}

} // namespace
} // namespace qmf::test
