// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/chip/SharedState.h"

namespace qmf {

class Clock;
struct AppContext;
struct CommandLine;

// The program's wiring (main*.cpp, built into the program only, where every window library is
// linked).

// The board the command line chose: the simulated board for --simulate, else the hardware.
BoardFactory boardFactoryFor(const CommandLine& commandLine, const Clock& clock);

// Registers the opener of every window class this build contains, by class name, plus "AutoSet"
// and "InitForm".
void registerOpeners(AppContext& ctx);

} // namespace qmf
