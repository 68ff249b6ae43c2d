// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qmf {

struct AppContext;

// The program's start: opens the device search wizard (the opener "InitForm"; its load runs
// now) and then gives the two fan channels their registers. The program then runs on the event
// loop with the wizard showing.
void StartUp(AppContext& ctx);

} // namespace qmf
