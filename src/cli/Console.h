// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace qmf::cli {

// Results go to standard output, messages to standard error. Every write is checked: output
// that cannot be written is a failure of the command, not a silent loss.
class Console {
public:
    Console(QIODevice& out, QIODevice& err) : out_(out), err_(err) {}

    // One line of results ("\n" is added). Throws CommandFailure when it cannot be written.
    void print(const QString& line);
    // Bytes exactly as given (a settings file on standard output keeps its CR LF).
    void write(const QByteArray& bytes);

    // "qmf4150ctl: <context><line>" for each line; errors writing to standard error are ignored,
    // there is nowhere left to report them.
    void error(const QStringList& lines, const QString& context = {});
    void error(const QString& line, const QString& context = {}) {
        error(QStringList{line}, context);
    }
    // Text as it is (help texts).
    void errorText(const QString& text);

private:
    QIODevice& out_;
    QIODevice& err_;
};

} // namespace qmf::cli
