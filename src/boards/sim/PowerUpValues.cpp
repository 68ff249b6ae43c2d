// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chip/PowerUpValues.h"

#include "boards/sim/ChipModel.h"

namespace qmf::sim {

// The chip's power-up table, chosen so that the board is alive at once: both fans supported and
// spinning at their normal speed, monitoring running, all three sensors installed, no limit
// violated at room temperature.
std::array<quint8, 256> powerUpRegisters() {
    return powerUpValues();
}

} // namespace qmf::sim
