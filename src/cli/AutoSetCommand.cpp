// SPDX-License-Identifier: GPL-3.0-or-later
// autoset: the program's auto-set, with its report lines on standard output.
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/Session.h"
#include "core/wizards/AutoSet.h"

namespace qmf::cli {

CommandSpec autosetCommand() {
    return {QStringLiteral("autoset"), QStringLiteral("autoset"),
            QStringLiteral("Write the auto-set table of twenty registers and list each write."),
            [](const QStringList& args, const BoardOptions&) {
                CommandParser p(
                    QStringLiteral("autoset"),
                    QStringLiteral(
                        "Put the chip into the ready-to-use configuration of the program's "
                        "\"Automatically setup the evalboard\": twenty register writes in a fixed "
                        "order, each listed as the program's \"AutoSet Details\" report lists it, "
                        "ending with \"QMF4150, Address Pointer:1, data written:10\". A failed "
                        "write stops the run; the rows after it are not written."));
                if (auto outcome = p.parse(args, 0, 0)) {
                    return *outcome;
                }
                return Parsed::run([](Session& session, Console& console) {
                    RunAutoSet(session.chip(),
                               [&console](const QString& line) { console.print(line); });
                });
            }};
}

} // namespace qmf::cli
