// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/logs/CsvLog.h"

#include <QList>

namespace qmf {

class SharedState;

// The registers a CSV log records at its start, in ascending order: the fan speed settings
// (alarm, hot-plug and full speed, control, speed 1 and 2), the fan limits, the automatic fan
// control's Tmin and Trange/hysteresis, and the temperature and AIN limits.
const QList<quint8>& logStartRegisters();

// Reads those registers from the chip (a failed transfer throws, as every read does) and fills
// in the address and medium of the chip that is in use.
CsvLogStart readCsvLogStart(SharedState& state, const QString& program);

} // namespace qmf
