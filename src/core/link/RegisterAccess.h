// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf {

class SharedState;

// The only place where the program talks to the chip. Each operation moves one byte, on the
// printer-port path when CommsMedium is 1 and on the on-board SMBus path otherwise. A value or
// address outside 0..255 throws OverflowError before anything is sent; a board failure throws
// LinkError; nothing is retried. Every write, failed or not, goes into the state's write journal,
// and every byte read tells the journal what the register holds and the alarm events how the
// chip stands; neither adds a transfer.

// Reads register AddressPointer into DataRead (left unchanged when the read fails).
void ReadRegister(SharedState& state);

// Writes DataToWrite to register AddressPointer. A DataToWrite of 255 or more becomes 255 and is
// stored back before the byte conversion. On the printer-port path TransferSetting is put back to
// SavedTransferSetting before the write.
void WriteRegister(SharedState& state);

// Reads one register without touching AddressPointer or DataRead.
quint8 ReadRegisterAt(SharedState& state, const quint8& reg);

// Writes one register without touching AddressPointer or DataToWrite; 255 or more is sent as 255,
// a negative value throws OverflowError.
void WriteRegisterAt(SharedState& state, quint8 reg, qint16 value);

} // namespace qmf
