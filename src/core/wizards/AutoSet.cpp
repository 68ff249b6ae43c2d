// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wizards/AutoSet.h"

#include "core/chip/SharedState.h"
#include "core/journal/WriteJournal.h"
#include "core/link/RegisterAccess.h"
#include "core/text/NumberText.h"

namespace qmf {

namespace {

// The labels are fixed texts of the report, misspellings included: users and scripts match on
// them.
constexpr std::array<AutoSetRow, AutoSetRowCount> Table{{
    {0x48, 0x00, "QMF4150-Temp0 fan mask, Address Pointer:"},
    {0x49, 0x01, "QMF4150-Temp1 fan mask, Address Pointer:"},
    {0x4A, 0x02, "QMF4150-Temp2 fan mask, Address Pointer:"},
    {0x68, 0xAA, "QMF4150-Fax 1 speed 2, Address Pointer:"},
    {0x69, 0xAA, "QMF4150-Fax 2 speed 2, Address Pointer:"},
    {0x18, 0x00, "QMF4150, Address Pointer:"},
    {0x19, 0x00, "QMF4150, Address Pointer:"},
    {0x20, 0xFC, "QMF4150, Address Pointer:"},
    {0x21, 0xFC, "QMF4150, Address Pointer:"},
    {0x90, 0x5A, "QMF4150-Temp0 High, Address Pointer:"},
    {0x91, 0x5A, "QMF4150-Temp1 High, Address Pointer:"},
    {0x92, 0x5A, "QMF4150-Temp2 High, Address Pointer:"},
    {0x98, 0x3C, "QMF4150-Temp0 Low, Address Pointer:"},
    {0x99, 0x3C, "QMF4150-Temp1 Low, Address Pointer:"},
    {0x9A, 0x3C, "QMF4150-Temp2 Low, Address Pointer:"},
    {0xA8, 0xFC, "QMF4150-AIN 0 High, Address Pointer:"},
    {0xA9, 0xFC, "QMF4150-AIN 1 High, Address Pointer:"},
    {0xB0, 0x0F, "QMF4150-AIN 0 Low, Address Pointer:"},
    {0xB1, 0x0F, "QMF4150-AIN 1 Low, Address Pointer:"},
    {0x01, 0x10, "QMF4150, Address Pointer:"},
}};

} // namespace

const std::array<AutoSetRow, AutoSetRowCount>& AutoSetTable() {
    return Table;
}

QString AutoSetLogLine(const QString& label, qint32 addressPointer, qint32 dataToWrite) {
    return label + text::hex(quint32(addressPointer)) + QStringLiteral(", data written:") +
           text::hex(quint32(dataToWrite));
}

void RunAutoSet(SharedState& state, const std::function<void(const QString&)>& onLine) {
    const JournalSource source(state.journal(), QStringLiteral("Auto-set"));
    for (const AutoSetRow& row : Table) {
        state.AddressPointer = row.Register;
        state.DataToWrite = row.Value;
        WriteRegister(state);
        if (onLine) {
            onLine(AutoSetLogLine(QString::fromLatin1(row.Label), state.AddressPointer,
                                  state.DataToWrite));
        }
    }
}

} // namespace qmf
