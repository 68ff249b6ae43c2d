// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf::cli {

// Ctrl-C (SIGINT) and SIGTERM end a running monitor or batch between two steps, so that the
// log file, the output and the simulated state are left complete. A second signal ends the
// tool at once.
void installInterruptHandlers();
bool interrupted();

// Waits `ms` milliseconds of real time, returning early when interrupted.
void sleepRealTime(qint64 ms);

} // namespace qmf::cli
