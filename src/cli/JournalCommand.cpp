// SPDX-License-Identifier: GPL-3.0-or-later
// journal: the register writes of a batch session.
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/Session.h"
#include "core/journal/JournalText.h"
#include "core/journal/WriteJournal.h"

namespace qmf::cli {

CommandSpec journalCommand() {
    return {QStringLiteral("journal"), QStringLiteral("journal"),
            QStringLiteral("In a batch: print the register writes the batch has made so far."),
            [](const QStringList& args, const BoardOptions&) {
                CommandParser p(
                    QStringLiteral("journal"),
                    QStringLiteral(
                        "Print every register write of this batch so far, oldest first: a "
                        "header line, then one line per write with tab-separated fields: "
                        "number, time of day, register, name, the value before (the register's "
                        "value last read or written, \"unknown\" when it had not been read "
                        "before), the value written, the value read back after it (\"-\" when "
                        "it was not read back), the source (the batch line), the result (\"ok\" "
                        "or \"failed: \" and why) and a note on undo. Only as a line of a "
                        "batch: each run of the tool is a session of its own."));
                if (auto outcome = p.parse(args, 0, 0)) {
                    return *outcome;
                }
                return Parsed::run([](Session& session, Console& console) {
                    if (!session.inBatch) {
                        throw UsageFailure(QStringLiteral(
                            "journal: lists the writes of a batch session; use it as a line of "
                            "a batch"));
                    }
                    const WriteJournal& journal = session.journal();
                    console.print(journaltext::headers().join(QLatin1Char('\t')));
                    for (qsizetype i = 0; i < journal.size(); ++i) {
                        console.print(journaltext::fields(journal.at(i)).join(QLatin1Char('\t')));
                    }
                });
            }};
}

} // namespace qmf::cli
