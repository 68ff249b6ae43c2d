// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QString>

class QCommandLineParser;

namespace qmf::cli {

struct BoardOptions;

// The tool's options for looking at the bus: --pin-level, --trace FILE, --stats.
struct BusOptionSet {
    QCommandLineOption pinLevel;
    QCommandLineOption trace;
    QCommandLineOption stats;
};

BusOptionSet addBusOptions(QCommandLineParser& parser);
// Puts them into `board` (after the board options are read); what is wrong, or empty.
QString readBusOptions(const QCommandLineParser& parser, const BusOptionSet& options,
                       BoardOptions& board);

} // namespace qmf::cli
