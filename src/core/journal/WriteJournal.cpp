// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/WriteJournal.h"

#include "core/chip/RegisterMap.h"
#include "core/time/Clock.h"

#include <QDateTime>
#include <algorithm>

namespace qmf {

namespace {
constexpr qint16 Unknown = -1;
constexpr quint8 SoftwareResetBit = 0x80;
} // namespace

WriteJournal::WriteJournal(qsizetype capacity) : capacity_(std::max<qsizetype>(1, capacity)) {
    seen_.fill(Unknown);
}

std::optional<quint8> WriteJournal::lastSeen(quint8 reg) const {
    const qint16 value = seen_[reg];
    return value == Unknown ? std::nullopt : std::optional<quint8>(quint8(value));
}

void WriteJournal::noteRead(quint8 reg, quint8 value) {
    seen_[reg] = value;
    const quint64 pending = pendingSerial_[reg];
    if (pending == 0 || pendingScope_[reg] != scope_) {
        return;
    }
    pendingSerial_[reg] = 0;
    if (JournalEntry* entry = findMutable(pending)) {
        entry->readBack = value;
        changed(pending);
    }
}

quint64 WriteJournal::recordWrite(quint8 reg, qint32 value, std::optional<quint8> before,
                                  const QString& failure) {
    JournalEntry entry;
    entry.serial = nextSerial_++;
    entry.timeMs = clock_ ? clock_->now().toMSecsSinceEpoch() : QDateTime::currentMSecsSinceEpoch();
    entry.reg = reg;
    entry.before = before;
    entry.value = value;
    entry.source = currentSource();
    entry.failure = failure;

    if (!failure.isEmpty()) {
        // The chip may or may not have taken it.
        seen_[reg] = Unknown;
        pendingSerial_[reg] = 0;
    } else if (reg == Reg::SoftwareReset && (value & SoftwareResetBit) != 0) {
        // Every register goes back to its power-up value, which the journal does not assume.
        seen_.fill(Unknown);
        pendingSerial_.fill(0);
    } else {
        seen_[reg] = qint16(value);
        pendingSerial_[reg] = entry.serial;
        pendingScope_[reg] = scope_;
    }

    const bool drops = qsizetype(entries_.size()) >= capacity_;
    if (drops) {
        for (JournalListener* listener : listeners_) {
            listener->aboutToDropOldest();
        }
        entries_.pop_front();
        for (JournalListener* listener : listeners_) {
            listener->droppedOldest();
        }
    }
    for (JournalListener* listener : listeners_) {
        listener->aboutToAppend();
    }
    entries_.push_back(std::move(entry));
    for (JournalListener* listener : listeners_) {
        listener->appended();
    }
    return entries_.back().serial;
}

const JournalEntry* WriteJournal::find(quint64 serial) const {
    if (entries_.empty() || serial < entries_.front().serial || serial > entries_.back().serial) {
        return nullptr;
    }
    return &entries_[std::size_t(serial - entries_.front().serial)];
}

JournalEntry* WriteJournal::findMutable(quint64 serial) {
    return const_cast<JournalEntry*>(std::as_const(*this).find(serial));
}

void WriteJournal::markUndone(quint64 serial, quint64 by) {
    if (JournalEntry* entry = findMutable(serial)) {
        entry->undoneBy = by;
        changed(serial);
    }
}

void WriteJournal::markUndoOf(quint64 serial, quint64 undoOf) {
    if (JournalEntry* entry = findMutable(serial)) {
        entry->undoOf = undoOf;
        changed(serial);
    }
}

void WriteJournal::changed(quint64 serial) {
    for (JournalListener* listener : listeners_) {
        listener->entryChanged(serial);
    }
}

QString WriteJournal::currentSource() {
    if (sources_.empty()) {
        return {};
    }
    SourceFrame& frame = sources_.back();
    if (!frame.resolved) {
        frame.name = frame.resolve ? frame.resolve() : QString();
        frame.resolved = true;
    }
    return frame.name;
}

void WriteJournal::addListener(JournalListener* listener) {
    listeners_.push_back(listener);
}

void WriteJournal::removeListener(JournalListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

JournalSource::JournalSource(WriteJournal& journal, QString name)
    : JournalSource(journal, std::function<QString()>()) {
    journal_.sources_.back().name = std::move(name);
    journal_.sources_.back().resolved = true;
}

JournalSource::JournalSource(WriteJournal& journal, std::function<QString()> name)
    : journal_(journal), outerScope_(journal.scope_) {
    journal_.scope_ = journal_.nextScope_++;
    journal_.sources_.push_back({std::move(name), {}, false});
}

JournalSource::~JournalSource() {
    journal_.sources_.pop_back();
    journal_.scope_ = outerScope_;
}

} // namespace qmf
