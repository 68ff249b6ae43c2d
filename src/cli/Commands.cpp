// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Commands.h"

namespace qmf::cli {

const QList<CommandSpec>& commands() {
    static const QList<CommandSpec> all = {
        detectCommand(), adaptersCommand(), getCommand(),     setCommand(),
        dumpCommand(),   loadCommand(),     autosetCommand(), monitorCommand(),
        serveCommand(),  heatersCommand(),  sleepCommand(),   batchCommand(),
        diffCommand(),   journalCommand(),  scanCommand(),    traceCheckCommand(),
    };
    return all;
}

const CommandSpec* findCommand(const QString& name) {
    for (const CommandSpec& command : commands()) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

} // namespace qmf::cli
