// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace qmf {
class BoardLink;
}

namespace qmf::cli {

// What `adapters` prints: one line per i2c adapter the SMBus path can use, tab-separated: node,
// name, kind, and "automatic" on the adapter used without --smbus ("--smbus" on the one it
// names). Throws CommandFailure when there is none, or when the board's SMBus is built in.
QStringList adapterListing(BoardLink& board);

} // namespace qmf::cli
