// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace qmf::cli {

// An operation that failed, with what the user should read (one or more lines).
class CommandFailure : public std::runtime_error {
public:
    explicit CommandFailure(const QString& message)
        : std::runtime_error(message.toStdString()), lines_{message} {}
    explicit CommandFailure(QStringList lines)
        : std::runtime_error(lines.join(QLatin1Char('\n')).toStdString()),
          lines_(std::move(lines)) {}
    const QStringList& lines() const { return lines_; }

private:
    QStringList lines_;
};

// A batch line that is not a valid command line: nothing of the batch runs (exit status 2).
class UsageFailure : public CommandFailure {
public:
    using CommandFailure::CommandFailure;
};

// Ctrl-C or SIGTERM ended the command; the lines say what was done and what was not. The tool
// exits with the status of a command ended by that signal.
class Interrupted : public CommandFailure {
public:
    using CommandFailure::CommandFailure;
};

// A failure whose message has already been printed; it only sets the exit status.
class AlreadyReported : public std::exception {
public:
    explicit AlreadyReported(int status) : status_(status) {}
    int status() const { return status_; }
    const char* what() const noexcept override { return "already reported"; }

private:
    int status_;
};

} // namespace qmf::cli
