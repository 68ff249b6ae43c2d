// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/BatchScript.h"

#include "cli/CommandFailure.h"
#include "cli/Interrupt.h"
#include "core/files/WholeFileReader.h"

#include <QProcess>
#include <QStringList>
#include <unistd.h>

namespace qmf::cli {

QByteArray readBatchScript(const QString& path) {
    const bool fromInput = path == QStringLiteral("-");
    const QString name = fromInput ? QStringLiteral("standard input") : path;
    const WholeFile file =
        fromInput ? readWholeDescriptor(STDIN_FILENO, MaxScriptSize, interruptibleRead(name))
                  : readWholeFile(path, MaxScriptSize, interruptibleRead(name));
    switch (file.status) {
    case WholeFile::Status::Read:
        break;
    case WholeFile::Status::Interrupted:
        throw Interrupted(
            QStringLiteral("batch: interrupted while reading %1; nothing was run").arg(name));
    case WholeFile::Status::TooLarge:
        throw CommandFailure(QStringLiteral("batch: %1 is larger than %2 MiB; that is not a "
                                            "script")
                                 .arg(name)
                                 .arg(MaxScriptSize / (1024 * 1024)));
    case WholeFile::Status::NotFound:
    case WholeFile::Status::Failed:
        throw CommandFailure(QStringLiteral("batch: %1: %2").arg(name, file.error));
    }
    return file.bytes;
}

QList<BatchLine> parseBatchScript(const QByteArray& script, const BoardOptions& board) {
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

} // namespace qmf::cli
