// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qmf {

class SharedState;

// Gives the measurement channels their registers, as the program does at start-up (fans) and
// when the main window loads (temperatures). The command-line tool, tests and benchmarks bind
// them the same way.

// Fan0: limit 0x78, speed 0x70, oscillator 0x68; Fan1: 0x79, 0x71, 0x69.
void bindFanChannels(SharedState& state);

// IntTemp: max 0x90, min 0x98, value 0xA0; ExtTemp0: 0x91, 0x99, 0xA1; ExtTemp1: 0x92, 0x9A,
// 0xA2.
void bindTemperatureChannels(SharedState& state);

} // namespace qmf
