// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Commands.h"

#include <QStringList>

class QIODevice;

namespace qmf::cli {

// Runs one action and reports what made it fail on standard error, with `context` in front of
// each line ("batch line 3: "). Returns the exit status.
int runAction(const Action& action, Session& session, Console& console, const QString& context);

// The whole tool: the command line (the executable first) in, the exit status out.
int runTool(const QStringList& arguments, QIODevice& out, QIODevice& err);

} // namespace qmf::cli
