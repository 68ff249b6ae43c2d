// SPDX-License-Identifier: GPL-3.0-or-later
// batch: many commands in one session on one board, one per line.
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"
#include "cli/Runner.h"
#include "cli/Session.h"

#include <QFile>
#include <QProcess>
#include <cstdio>

namespace qmf::cli {

namespace {

// A script of commands is small; a larger input is a mistake (a binary file, a runaway pipe).
constexpr qint64 MaxScriptSize = 16 * 1024 * 1024;

struct BatchLine {
    int number = 0;
    QString text;
    Parsed parsed;
};

QByteArray readScript(const QString& path) {
    QFile file;
    const bool fromInput = path == QStringLiteral("-");
    const bool opened = fromInput ? file.open(stdin, QIODevice::ReadOnly)
                                  : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    const QString name = fromInput ? QStringLiteral("standard input") : path;
    if (!opened) {
        throw CommandFailure(QStringLiteral("batch: %1: %2").arg(name, file.errorString()));
    }
    QByteArray bytes;
    while (!file.atEnd() || fromInput) {
        const QByteArray chunk = file.read(64 * 1024);
        if (chunk.isEmpty()) {
            break;
        }
        bytes += chunk;
        if (bytes.size() > MaxScriptSize) {
            throw CommandFailure(QStringLiteral("batch: %1 is larger than %2 MiB; that is not a "
                                                "script")
                                     .arg(name)
                                     .arg(MaxScriptSize / (1024 * 1024)));
        }
    }
    if (file.error() != QFileDevice::NoError) {
        throw CommandFailure(QStringLiteral("batch: %1: %2").arg(name, file.errorString()));
    }
    return bytes;
}

// Every line is parsed before any runs, so that a mistake on line 20 does not leave the chip
// with lines 1 to 19 applied.
QList<BatchLine> parseScript(const QByteArray& script, const BoardOptions& board) {
    QList<BatchLine> lines;
    QStringList errors;
    const QStringList texts = QString::fromUtf8(script).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString text = texts[i].trimmed();
        const int number = int(i + 1);
        if (text.isEmpty() || text.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const QStringList words = QProcess::splitCommand(text);
        const QString where = QStringLiteral("batch line %1: ").arg(number);
        const CommandSpec* command = words.isEmpty() ? nullptr : findCommand(words.first());
        if (!command) {
            errors << where + QStringLiteral("unknown command \"%1\"").arg(words.value(0));
            continue;
        }
        if (!command->inBatch) {
            errors << where + QStringLiteral("a batch cannot run %1").arg(command->name);
            continue;
        }
        Parsed parsed = command->parse(words.mid(1), board);
        if (parsed.kind == Parsed::Kind::Usage) {
            errors << where + parsed.text;
            continue;
        }
        lines.append({number, text, std::move(parsed)});
    }
    if (!errors.isEmpty()) {
        throw UsageFailure(errors << QStringLiteral("batch: nothing was run"));
    }
    return lines;
}

void runBatch(Session& session, Console& console, const QString& path) {
    const QList<BatchLine> lines = parseScript(readScript(path), session.options());
    session.inBatch = true;
    for (const BatchLine& line : lines) {
        if (interrupted()) {
            throw CommandFailure(QStringLiteral("batch: interrupted before line %1 (%2)")
                                     .arg(line.number)
                                     .arg(line.text));
        }
        const QString context = QStringLiteral("batch line %1: ").arg(line.number);
        if (line.parsed.kind == Parsed::Kind::Help) {
            console.write(line.parsed.text.toUtf8());
            continue;
        }
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
