// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace qmf {

class Clock;

// One register write as the journal keeps it.
struct JournalEntry {
    quint64 serial = 0; // 1 for the first write of the run, one more for each write after it
    qint64 timeMs = 0;  // wall-clock time, milliseconds since the epoch
    quint8 reg = 0;
    // The register's value last seen on the bus (read or written) before this write; none when
    // it had not been seen since the start or since something made it unknown.
    std::optional<quint8> before;
    qint32 value = 0; // what was written (255 for anything larger; a refused negative as given)
    // The byte read from the register after the write by the same handler or command, if any.
    std::optional<quint8> readBack;
    QString source;       // the window, control, action or command that made the write
    QString failure;      // empty when the write went through
    quint64 undoOf = 0;   // this write put back the value before entry undoOf
    quint64 undoneBy = 0; // entry undoneBy put back this entry's value before
    bool failed() const { return !failure.isEmpty(); }
};

// Told about every change of the journal, so that a view can follow it. The about-to calls come
// before the change and the others after it.
class JournalListener {
public:
    virtual ~JournalListener() = default;
    virtual void aboutToDropOldest() {}
    virtual void droppedOldest() {}
    virtual void aboutToAppend() {}
    virtual void appended() {}
    virtual void entryChanged(quint64 serial) { Q_UNUSED(serial); }
};

// Every register write of the run, from whatever window, wizard or command, in order; the
// oldest go when the bound is reached. Register access feeds it (recordWrite, noteRead); it costs
// no bus transfer of its own.
//
// The value before a write is the value last seen on the bus for that register: reading the
// register just before each write would add transfers to every window's register sequence. A
// failed write makes its register unknown (the chip may or may not have taken it), and a software
// reset makes every register unknown.
class WriteJournal {
public:
    static constexpr qsizetype DefaultCapacity = 100000;

    explicit WriteJournal(qsizetype capacity = DefaultCapacity);
    WriteJournal(const WriteJournal&) = delete;
    WriteJournal& operator=(const WriteJournal&) = delete;

    // Time stamps come from this clock's wall time (the system time without one).
    void setClock(const Clock* clock) { clock_ = clock; }

    // --- fed by register access -----------------------------------------------------------------
    std::optional<quint8> lastSeen(quint8 reg) const;
    void noteRead(quint8 reg, quint8 value);
    // Appends the entry of one write; `failure` is empty when it went through. Returns its serial.
    quint64 recordWrite(quint8 reg, qint32 value, std::optional<quint8> before,
                        const QString& failure);

    // --- the entries, oldest first --------------------------------------------------------------
    qsizetype size() const { return qsizetype(entries_.size()); }
    qsizetype capacity() const { return capacity_; }
    const JournalEntry& at(qsizetype index) const { return entries_[std::size_t(index)]; }
    // The entry with that serial, or nullptr when it was never made or has been dropped.
    const JournalEntry* find(quint64 serial) const;
    quint64 lastSerial() const { return nextSerial_ - 1; }
    // Marks `serial` as put back by the write `by`.
    void markUndone(quint64 serial, quint64 by);
    // Marks the write `serial` as putting back the value before entry `undoOf`.
    void markUndoOf(quint64 serial, quint64 undoOf);

    // --- who is writing -------------------------------------------------------------------------
    // The source of the writes made now: the innermost named scope, or "" outside any.
    QString currentSource();

    void addListener(JournalListener* listener);
    void removeListener(JournalListener* listener);

private:
    friend class JournalSource;
    struct SourceFrame {
        std::function<QString()> resolve;
        QString name;
        bool resolved = false;
    };
    JournalEntry* findMutable(quint64 serial);
    void changed(quint64 serial);

    qsizetype capacity_;
    const Clock* clock_ = nullptr;
    std::deque<JournalEntry> entries_;
    quint64 nextSerial_ = 1;
    // The last value seen of each register, -1 for unknown.
    std::array<qint16, 256> seen_;
    // The write whose read-back is still open for each register, and the scope it was made in.
    std::array<quint64, 256> pendingSerial_{};
    std::array<quint64, 256> pendingScope_{};
    std::vector<SourceFrame> sources_;
    quint64 nextScope_ = 1;
    quint64 scope_ = 0;
    std::vector<JournalListener*> listeners_;
};

// Names the source of the writes made while it lives ("Register List", "Auto-set", "line 3:
// set 60 45"). Scopes nest: the innermost names the writes. A read after a write counts as that
// write's read-back only within the scope that wrote. The lazy form works out the name only if a
// write is made, so that naming every timer tick costs nothing.
class JournalSource {
public:
    JournalSource(WriteJournal& journal, QString name);
    JournalSource(WriteJournal& journal, std::function<QString()> name);
    ~JournalSource();
    JournalSource(const JournalSource&) = delete;
    JournalSource& operator=(const JournalSource&) = delete;

private:
    WriteJournal& journal_;
    quint64 outerScope_;
};

} // namespace qmf
