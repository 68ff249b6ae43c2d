// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Commands.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>

namespace qmf::cli {

// QCommandLineParser for one command, with a help text that names the tool and the command
// ("Usage: qmf4150ctl [board options] get [options] REG") instead of the executable's path.
class CommandParser {
public:
    CommandParser(const QString& command, const QString& description);

    QCommandLineParser& parser() { return parser_; }
    void addPositional(const QString& name, const QString& description, const QString& syntax);

    // Parses the arguments after the command name. nullopt when the command may run; otherwise
    // the help or the usage error to report. `minArgs`/`maxArgs` bound the positional arguments.
    std::optional<Parsed> parse(const QStringList& args, int minArgs, int maxArgs);

    QString helpText() const;
    // "get: <error>; see qmf4150ctl get --help"
    Parsed usage(const QString& error) const;

private:
    QString command_;
    QString syntax_;
    QCommandLineParser parser_;
};

// The help text of a parser with the usage line replaced.
QString helpWithUsage(const QCommandLineParser& parser, const QString& usage);

} // namespace qmf::cli
