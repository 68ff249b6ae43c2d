// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace qmf::sim {
class SimulatedBoard;
}

namespace qmf::cli {

// The simulated board's two chips (the one on the printer port and the one on the SMBus) kept in
// a file between runs of the tool, so that one run can set what the next one reads. A file that
// does not exist yet, or is empty, stands for a board fresh from power-up.

// Restores both chips from the bytes of a saved board (none: a fresh board). Returns why the bytes
// are not a saved board, or an empty text; the chips are changed only when the whole is valid.
QString restoreSimulatedBoardBytes(const QByteArray& bytes, sim::SimulatedBoard& board);

// Restores both chips from a regular file or a pipe; throws CommandFailure when the file cannot be
// read or is not a saved board (the chips are then unchanged).
void restoreSimulatedBoard(const QString& path, sim::SimulatedBoard& board);

// Writes both chips to a temporary file that replaces `path` only once it is complete, so an
// interrupted or failed save leaves the previous file as it was. Throws CommandFailure.
void saveSimulatedBoard(const QString& path, sim::SimulatedBoard& board);

} // namespace qmf::cli
