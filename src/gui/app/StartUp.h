// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qmf {

struct AppContext;
class SharedState;

// The program's start: opens the device search wizard (the opener "InitForm"; its load runs
// now) and then gives the two fan channels their registers. The program then runs on the event
// loop with the wizard showing.
void StartUp(AppContext& ctx);

// Fan0: limit 0x78, speed 0x70, oscillator 0x68; Fan1: 0x79, 0x71, 0x69.
void bindFanChannels(SharedState& state);

// IntTemp: max 0x90, min 0x98, value 0xA0; ExtTemp0: 0x91, 0x99, 0xA1; ExtTemp1: 0x92, 0x9A,
// 0xA2. The main window does this when it loads.
void bindTemperatureChannels(SharedState& state);

} // namespace qmf
