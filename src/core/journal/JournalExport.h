// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace qmf {

class SharedState;

// The chip's 256 registers as they were before a journal entry: a register written by that entry
// or a later one has the value it held before the first of those writes (from the journal); every
// other register has not been written since and is read from the chip now.
struct RegistersBefore {
    std::array<quint8, 256> values{};
    QStringList refusals; // why they cannot be given: entry gone, earlier values not known
    QStringList unreadable;
    bool complete() const { return refusals.isEmpty() && unreadable.isEmpty(); }
};
RegistersBefore registersBefore(SharedState& state, quint64 serial);

// Writes the registers as they were before entry `serial` to a register settings file, all or
// nothing: when any register is not known or cannot be read, or the file cannot be written,
// no file is written (an existing one is kept). Returns the lines to tell the user, the first
// saying whether the file was written.
struct JournalExportResult {
    bool written = false;
    QStringList lines;
};
JournalExportResult exportRegistersBefore(SharedState& state, quint64 serial, const QString& path);

} // namespace qmf
