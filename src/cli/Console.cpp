// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Console.h"

#include "cli/CommandFailure.h"
#include "core/files/AllOrNothingFile.h"

#include <QFileDevice>
#include <QIODevice>

namespace qmf::cli {

void Console::print(const QString& line) {
    write(line.toUtf8() + '\n');
}

void Console::write(const QByteArray& bytes) {
    // A write cut short is retried, so that the message names why it stopped (file too large,
    // disk full) rather than a short count without a reason.
    if (const QString reason = writeFully(out_, bytes); !reason.isEmpty()) {
        throw CommandFailure(QStringLiteral("could not write to standard output: %1").arg(reason));
    }
    if (auto* file = qobject_cast<QFileDevice*>(&out_); file && !file->flush()) {
        throw CommandFailure(
            QStringLiteral("could not write to standard output: %1").arg(out_.errorString()));
    }
}

void Console::error(const QStringList& lines, const QString& context) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += QStringLiteral("qmf4150ctl: %1%2\n").arg(context, line).toUtf8();
    }
    err_.write(bytes);
    if (auto* file = qobject_cast<QFileDevice*>(&err_)) {
        file->flush();
    }
}

void Console::errorText(const QString& text) {
    err_.write(text.toUtf8());
    if (auto* file = qobject_cast<QFileDevice*>(&err_)) {
        file->flush();
    }
}

} // namespace qmf::cli
