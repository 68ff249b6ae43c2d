// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <array>

namespace qmf {

// What each register of the chip holds after power-on or a software reset. The simulated chip
// starts from this table, so that it and the views that compare against it agree.
const std::array<quint8, 256>& powerUpValues();

// Registers whose content the chip changes by itself: the status registers, the fan tachometer
// counts, the temperature and AIN readings and the GPIO levels. Comparing them with a saved file
// or with their power-up value says nothing about the chip's settings.
bool isChipReading(quint8 reg);

} // namespace qmf
