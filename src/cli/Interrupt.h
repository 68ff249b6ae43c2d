// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/WholeFileReader.h"

#include <QString>
#include <QtGlobal>

namespace qmf::cli {

// Ctrl-C (SIGINT) and SIGTERM end the tool at the next point where it can stop cleanly (between
// two transfers of a load, two lines of a batch, two rows of a monitor, while waiting for a pipe
// or a FIFO), so that files, output and the simulated state are left complete. The exit status
// is then that of a command ended by the signal (130 for Ctrl-C, 143 for SIGTERM); a monitor,
// whose usual end is Ctrl-C, ends with 0. A second signal ends the tool at once. SIGXFSZ is
// ignored, so that a write past a file-size limit fails and is reported.
void installInterruptHandlers();
bool interrupted();
// 128 + the number of the signal received (0 when none was).
int interruptStatus();

// For reading a file or standard input that may keep the tool waiting (a pipe, a FIFO): Ctrl-C
// ends the wait, and a wait that lasts is explained on standard error, naming `name`.
ReadControl interruptibleRead(const QString& name);

// Waits `ms` milliseconds of real time, returning early when interrupted.
void sleepRealTime(qint64 ms);

} // namespace qmf::cli
