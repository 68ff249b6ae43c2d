// SPDX-License-Identifier: GPL-3.0-or-later
// batch: many commands in one session on one board, one per line.
#include "cli/BatchScript.h"
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"
#include "cli/Runner.h"
#include "cli/Session.h"
#include "core/journal/WriteJournal.h"

namespace qmf::cli {

namespace {

void runBatch(Session& session, Console& console, const QString& path) {
    const QList<BatchLine> lines = parseBatchScript(readBatchScript(path), session.options());
    session.inBatch = true;
    for (const BatchLine& line : lines) {
        if (interrupted()) {
            throw Interrupted(QStringLiteral("batch: interrupted before line %1 (%2)")
                                  .arg(line.number)
                                  .arg(line.text));
        }
        const QString context = QStringLiteral("batch line %1: ").arg(line.number);
        if (line.parsed.kind == Parsed::Kind::Help) {
            console.write(line.parsed.text.toUtf8());
            continue;
        }
        // The writes of each line are journaled under it.
        const JournalSource source(session.journal(),
                                   QStringLiteral("line %1: %2").arg(line.number).arg(line.text));
        const int status = runAction(line.parsed.action, session, console, context);
        if (status != ExitSuccess) {
            // The lines after a failed one are not run: they may rely on it.
            throw AlreadyReported(status);
        }
    }
}

} // namespace

CommandSpec batchCommand() {
    CommandSpec command{
        QStringLiteral("batch"), QStringLiteral("batch FILE|-"),
        QStringLiteral("Run the commands in FILE (- for standard input) on one board."),
        [](const QStringList& args, const BoardOptions&) {
            CommandParser p(
                QStringLiteral("batch"),
                QStringLiteral(
                    "Run commands, one per line, in one session on one board and one chip, so "
                    "that a script can set, wait and read against the same chip (on the "
                    "simulated board: the same simulated chip and clock). A line is a command "
                    "with its arguments as on the command line, without the board options; "
                    "quotes group words; blank lines and lines starting with # are skipped. "
                    "Every line is checked before the first one runs: a wrong line runs nothing "
                    "(exit status 2). A line that fails stops the batch with its exit status."));
            p.addPositional(QStringLiteral("FILE"),
                            QStringLiteral("The script; - reads it from standard input."),
                            QStringLiteral("FILE|-"));
            if (auto outcome = p.parse(args, 1, 1)) {
                return *outcome;
            }
            return Parsed::run([path = p.parser().positionalArguments().at(0)](Session& session,
                                                                               Console& console) {
                runBatch(session, console, path);
            });
        }};
    command.inBatch = false;
    return command;
}

} // namespace qmf::cli
