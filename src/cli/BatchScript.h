// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Commands.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace qmf::cli {

struct BoardOptions;

// A script of commands is small; a larger input is a mistake (a binary file, a runaway pipe).
inline constexpr qint64 MaxScriptSize = 16 * 1024 * 1024;

struct BatchLine {
    int number = 0; // 1-based line number in the script
    QString text;
    Parsed parsed; // Run or Help, never Usage
};

// The script from FILE, or from standard input for "-": a regular file, a pipe or a FIFO, read
// to its end. Throws CommandFailure when it cannot be read or is larger than MaxScriptSize, and
// Interrupted when Ctrl-C ends the wait for it.
QByteArray readBatchScript(const QString& path);

// Every line is parsed before any runs, so that a mistake on line 20 does not leave the chip
// with lines 1 to 19 applied. Blank lines and lines starting with # are skipped. Throws
// UsageFailure naming every wrong line.
QList<BatchLine> parseBatchScript(const QByteArray& script, const BoardOptions& board);

} // namespace qmf::cli
