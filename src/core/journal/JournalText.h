// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace qmf {

struct JournalEntry;

// The journal's columns as text, shared by the journal view and the tool, so that both say the
// same. Bytes are upper-case hexadecimal without leading zeros, as everywhere in the program.
namespace journaltext {

enum Column { Serial, Time, Register, Name, Before, Written, ReadBack, Source, Result, Note };
inline constexpr int ColumnCount = Note + 1;

// "#", "Time", "Register", "Name", "Before", "Written", "Read back", "Source", "Result", "Note".
QString header(int column);
QStringList headers();

// One column of an entry:
//   Serial    "12"             Time   "14:03:07.250" (local time of day)
//   Register  "60"             Name   "Fan 0 Speed 1", "-" for an unlisted register
//   Before    "F8", "unknown"  Written "45" ("-5" for a refused negative value)
//   ReadBack  "45", "-" when the writer did not read it back
//   Source    the window or command, "-" for none
//   Result    "ok", "failed: <why>"
//   Note      "undo of 9", "undone by 14", "undo of 9, undone by 14", ""
QString field(const JournalEntry& entry, int column);
QStringList fields(const JournalEntry& entry);

QString byteOrUnknown(const std::optional<quint8>& value);

} // namespace journaltext

} // namespace qmf
