// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/BoardOptions.h"
#include "core/link/DeviceSearch.h"

#include <QStringList>

namespace qmf {
class BoardLink;
}

namespace qmf::cli {

// A device search limited to what the board options allow, with the finds that match them.
struct DeviceSearchOutcome {
    SearchFinds finds;    // printer-port finds first, then SMBus finds, as the program lists them
    QStringList failures; // a medium whose search failed, and why
    QStringList absent;   // a medium the computer does not have (no printer port, no adapter)
};

enum class SearchExtent {
    AllFinds,  // detect: every chip the options allow
    FirstFind, // a command that needs one chip: stop at the first that answers
};

// Printer ports (only --port N when given; both bus modes, normal first, or only the alternate
// one with --alternate) unless --smbus was given; then the SMBus unless --port or --alternate was
// given, and only when the board offers one or --smbus named it. With --address only that
// address is probed. A failing medium is recorded and the other one is still searched.
DeviceSearchOutcome searchDevices(BoardLink& board, const BoardOptions& options,
                                  SearchExtent extent = SearchExtent::AllFinds);

// The first find of the outcome, alone, ready for DeviceSearch::applyChoice. Throws
// CommandFailure when there is none, with the search's failures.
SearchFinds firstFind(const DeviceSearchOutcome& outcome, const BoardOptions& options);

// "Sorry, no QMF4150s were found. ..." or, with --address, which address did not answer; then
// the media the computer does not have, then the failures of the search.
QStringList nothingFoundMessage(const DeviceSearchOutcome& outcome, const BoardOptions& options);

} // namespace qmf::cli
