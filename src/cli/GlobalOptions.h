// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/BoardOptions.h"

#include <QStringList>

namespace qmf::cli {

// The tool's command line: board options, then the command and its own arguments.
struct Invocation {
    enum class Kind { Run, Help, Version, Usage };
    Kind kind = Kind::Usage;
    QString text; // help, version or what is wrong
    BoardOptions board;
    QString command;         // a known command when kind is Run
    QStringList commandArgs; // everything after the command name
};

// Reads the arguments (the executable first). Never exits the process.
Invocation parseInvocation(const QStringList& arguments);

} // namespace qmf::cli
