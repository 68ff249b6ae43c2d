// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace qmf {

class SharedState;
class WriteJournal;

// One write of an undo: the register gets back the value it had before `entries` (oldest first).
struct UndoStep {
    quint8 reg = 0;
    quint8 value = 0;
    QList<quint64> entries;
};

// What an undo will write, worked out before anything is written: when one register's earlier
// value is not known the whole undo is refused, so that the chip is never half put back blindly.
struct UndoPlan {
    QString source;        // names the undo's writes in the journal: "Undo of 12", "Undo from 12"
    QList<UndoStep> steps; // in the order they are written, the newest write's register first
    QStringList refusals;  // why it cannot run; empty when it can
    bool ok() const { return refusals.isEmpty() && !steps.isEmpty(); }
};

// Puts back the value before one entry.
UndoPlan planUndoOf(const WriteJournal& journal, quint64 serial);

// Puts the chip back as it was before entry `serial`: each register written by that entry or a
// later one gets the value it had before the first of those writes, newest first.
UndoPlan planUndoFrom(const WriteJournal& journal, quint64 serial);

struct UndoResult {
    int written = 0;
    QStringList problems; // writes that failed, registers that read back otherwise
    bool complete() const { return problems.isEmpty(); }
    // A sentence for the user: "2 registers were put back." and the problems after it.
    QStringList lines(const UndoPlan& plan) const;
};

// Writes the steps through register access (so the undo is journaled itself, and each entry
// put back is marked), reading every register back after its write. A failed write is reported
// and the next step still runs, so that as much as possible is put back.
UndoResult runUndo(SharedState& state, const UndoPlan& plan);

} // namespace qmf
