// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/JournalText.h"

#include "core/chip/RegisterMap.h"
#include "core/journal/WriteJournal.h"
#include "core/text/NumberText.h"

#include <QDateTime>

namespace qmf::journaltext {

namespace {

QString writtenText(qint32 value) {
    return value < 0 ? QString::number(value) : text::hex(quint32(value));
}

QString noteText(const JournalEntry& entry) {
    QStringList parts;
    if (entry.undoOf != 0) {
        parts << QStringLiteral("undo of %1").arg(entry.undoOf);
    }
    if (entry.undoneBy != 0) {
        parts << QStringLiteral("undone by %1").arg(entry.undoneBy);
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString header(int column) {
    static const char* const names[ColumnCount] = {"#",      "Time",    "Register",  "Name",
                                                   "Before", "Written", "Read back", "Source",
                                                   "Result", "Note"};
    return column >= 0 && column < ColumnCount ? QLatin1String(names[column]) : QString();
}

QStringList headers() {
    QStringList list;
    for (int column = 0; column < ColumnCount; ++column) {
        list << header(column);
    }
    return list;
}

QString byteOrUnknown(const std::optional<quint8>& value) {
    return value ? text::hex(*value) : QStringLiteral("unknown");
}

QString field(const JournalEntry& entry, int column) {
    switch (column) {
    case Serial:
        return QString::number(entry.serial);
    case Time:
        return QDateTime::fromMSecsSinceEpoch(entry.timeMs).time().toString(u"HH:mm:ss.zzz");
    case Register:
        return text::hex(entry.reg);
    case Name:
        return RegisterMap::displayName(entry.reg);
    case Before:
        return byteOrUnknown(entry.before);
    case Written:
        return writtenText(entry.value);
    case ReadBack:
        return entry.readBack ? text::hex(*entry.readBack) : QStringLiteral("-");
    case Source:
        return entry.source.isEmpty() ? QStringLiteral("-") : entry.source;
    case Result:
        return entry.failed() ? QStringLiteral("failed: ") + entry.failure : QStringLiteral("ok");
    case Note:
        return noteText(entry);
    default:
        return {};
    }
}

QStringList fields(const JournalEntry& entry) {
    QStringList list;
    for (int column = 0; column < ColumnCount; ++column) {
        list << field(entry, column);
    }
    return list;
}

} // namespace qmf::journaltext
