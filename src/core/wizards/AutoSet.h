// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <functional>

namespace qmf {

class SharedState;

// One row of the auto-set: a whole register byte and the label of its log line.
struct AutoSetRow {
    quint8 Register;
    quint8 Value;
    const char* Label;
};

inline constexpr int AutoSetRowCount = 20;

// The twenty rows in the order they are written: fan masks of the temperature channels, fan
// speed-2 settings, fan control and fault masks, temperature and AIN limits, and finally the
// configuration register with only StartMonitoring set.
const std::array<AutoSetRow, AutoSetRowCount>& AutoSetTable();

// "<label><address in hex>, data written:<value in hex>", hex upper case without leading zeros:
// ("QMF4150, Address Pointer:", 0x01, 0x10) -> "QMF4150, Address Pointer:1, data written:10".
QString AutoSetLogLine(const QString& label, qint32 addressPointer, qint32 dataToWrite);

// Writes every row through the single-register protocol (AddressPointer, DataToWrite,
// WriteRegister) and, after each write, hands onLine the row's log line built from AddressPointer
// and DataToWrite as they stand then. A failed write throws out of here; the rows after it are
// not written and their lines not handed on. Afterwards AddressPointer is 0x01 and DataToWrite
// 0x10.
void RunAutoSet(SharedState& state, const std::function<void(const QString&)>& onLine);

} // namespace qmf
