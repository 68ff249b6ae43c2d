// SPDX-License-Identifier: GPL-3.0-or-later
// detect: the device search, printed as the program's results list.
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/DeviceChoice.h"
#include "cli/Session.h"

namespace qmf::cli {

namespace {

void detect(Session& session, Console& console) {
    const DeviceSearchOutcome outcome = searchDevices(session.board(), session.options());
    const QList<SearchResultEntry> entries =
        DeviceSearch(session.board()).resultEntries(outcome.finds);
    // The search selected other ports and modes; a chip chosen earlier in a batch keeps working.
    session.restoreChoice();
    if (entries.isEmpty()) {
        throw CommandFailure(nothingFoundMessage(outcome, session.options()));
    }
    for (const SearchResultEntry& entry : entries) {
        console.print(entry.text);
    }
    if (!outcome.failures.isEmpty()) {
        console.error(outcome.failures);
    }
}

} // namespace

CommandSpec detectCommand() {
    return {QStringLiteral("detect"), QStringLiteral("detect"),
            QStringLiteral("Search for QMF4150s and list each one found."),
            [](const QStringList& args, const BoardOptions&) {
                CommandParser p(
                    QStringLiteral("detect"),
                    QStringLiteral(
                        "Probe every candidate address (5E down to 50) for a chip whose register "
                        "D reads 41, on the printer ports (normal, then alternate bus mode) and "
                        "on the PC's SMBus, as the program's device search does, and print one "
                        "line per chip found, printer-port finds first. The board options limit "
                        "the search. Exit status 1 when nothing is found."));
                if (auto outcome = p.parse(args, 0, 0)) {
                    return *outcome;
                }
                return Parsed::run(detect);
            }};
}

} // namespace qmf::cli
