// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/RegisterAccess.h"

#include "core/chip/SharedState.h"
#include "core/events/EventTracker.h"
#include "core/journal/WriteJournal.h"
#include "core/link/BoardLink.h"
#include "core/link/LinkErrors.h"

namespace qmf {

namespace {

constexpr qint16 PrinterPortMedium = 1;

quint8 toByte(qint64 value, const char* what) {
    if (value < 0 || value > 255) {
        throw OverflowError(QStringLiteral("%1 %2 does not fit a byte (0 to 255)")
                                .arg(QString::fromLatin1(what))
                                .arg(value));
    }
    return quint8(value);
}

quint8 readByte(SharedState& state, quint8 reg) {
    const quint8 device = toByte(state.DeviceAddress, "device address");
    quint8 value = 0;
    if (state.CommsMedium == PrinterPortMedium) {
        state.board().parallelPortLink().busEngine().ReadByte(device, reg, value);
    } else {
        state.board().smbusLink().ReadByte(device, reg, value);
    }
    return value;
}

void sendByte(SharedState& state, qint64 reg, qint64 value) {
    const quint8 byteValue = toByte(value, "value");
    const quint8 byteReg = toByte(reg, "register address");
    const quint8 device = toByte(state.DeviceAddress, "device address");
    if (state.CommsMedium == PrinterPortMedium) {
        // The bus engine's setting may have been changed by others since the search.
        state.board().parallelPortLink().busEngine().setTransferSetting(state.SavedTransferSetting);
        state.board().parallelPortLink().busEngine().WriteByte(device, byteReg, byteValue);
    } else {
        state.board().smbusLink().WriteByte(device, byteReg, byteValue);
    }
}

// Every write that names a register is journaled, failed ones too; a register address that is
// not a byte names none.
void writeByte(SharedState& state, qint64 reg, qint64 value) {
    if (reg < 0 || reg > 255) {
        sendByte(state, reg, value);
        return;
    }
    WriteJournal& journal = state.journal();
    const quint8 journaledReg = quint8(reg);
    const std::optional<quint8> before = journal.lastSeen(journaledReg);
    try {
        sendByte(state, reg, value);
    } catch (const std::exception& e) {
        journal.recordWrite(journaledReg, qint32(value), before, errorMessage(e));
        throw;
    }
    journal.recordWrite(journaledReg, qint32(value), before, {});
}

} // namespace

void ReadRegister(SharedState& state) {
    const quint8 reg = toByte(state.AddressPointer, "register address");
    const quint8 value = readByte(state, reg);
    state.DataRead = value;
    state.journal().noteRead(reg, value);
    state.events().noteRead(reg, value);
}

void WriteRegister(SharedState& state) {
    if (state.DataToWrite >= 255) {
        state.DataToWrite = 255;
    }
    writeByte(state, state.AddressPointer, state.DataToWrite);
}

quint8 ReadRegisterAt(SharedState& state, const quint8& reg) {
    const quint8 value = readByte(state, reg);
    state.journal().noteRead(reg, value);
    state.events().noteRead(reg, value);
    return value;
}

void WriteRegisterAt(SharedState& state, quint8 reg, qint16 value) {
    writeByte(state, reg, value >= 255 ? 255 : value);
}

} // namespace qmf
