// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace qmf::cli {

struct BoardOptions;
class Console;
class Session;

// What a command does once its arguments are known. A failure throws (CommandFailure, the
// board's LinkError, ...); the caller reports it and sets the exit status.
using Action = std::function<void(Session&, Console&)>;

// A command line (or batch line) after parsing: something to run, a help text to show, or a
// usage error. Parsing never touches the board.
struct Parsed {
    enum class Kind { Run, Help, Usage };
    Kind kind = Kind::Usage;
    QString text; // the help text or the usage error
    Action action;
    // Ctrl-C is this command's usual end (a monitor): the tool then exits with 0.
    bool endsOnInterrupt = false;

    static Parsed run(Action action) { return {Kind::Run, {}, std::move(action)}; }
    static Parsed help(QString text) { return {Kind::Help, std::move(text), {}}; }
    static Parsed usage(QString error) { return {Kind::Usage, std::move(error), {}}; }
};

struct CommandSpec {
    QString name;
    QString synopsis; // "get REG"
    QString summary;  // one line for the tool's help
    // Parses the arguments after the command name, knowing the board options.
    std::function<Parsed(const QStringList& args, const BoardOptions& board)> parse;
    bool inBatch = true; // may be a line of a batch
};

// Every command, in the order the tool's help lists them.
const QList<CommandSpec>& commands();
const CommandSpec* findCommand(const QString& name);

// The parts of the command table, one per command group.
CommandSpec detectCommand();
CommandSpec adaptersCommand();
CommandSpec getCommand();
CommandSpec setCommand();
CommandSpec dumpCommand();
CommandSpec loadCommand();
CommandSpec autosetCommand();
CommandSpec monitorCommand();
CommandSpec serveCommand();
CommandSpec heatersCommand();
CommandSpec sleepCommand();
CommandSpec batchCommand();
CommandSpec diffCommand();
CommandSpec journalCommand();
CommandSpec scanCommand();
CommandSpec traceCheckCommand();

} // namespace qmf::cli
