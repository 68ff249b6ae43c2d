// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Runner.h"

#include "cli/BusDiagnostics.h"
#include "cli/CommandFailure.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/GlobalOptions.h"
#include "cli/Interrupt.h"
#include "cli/Session.h"
#include "core/link/LinkErrors.h"

#include <exception>

namespace qmf::cli {

int runAction(const Action& action, Session& session, Console& console, const QString& context) {
    try {
        action(session, console);
        return ExitSuccess;
    } catch (const UsageFailure& failure) {
        console.error(failure.lines(), context);
        return ExitUsage;
    } catch (const Interrupted& stopped) {
        console.error(stopped.lines(), context);
        return interruptStatus();
    } catch (const CommandFailure& failure) {
        console.error(failure.lines(), context);
    } catch (const AlreadyReported& reported) {
        return reported.status();
    } catch (const LinkError& error) {
        console.error(error.message(), context);
    } catch (const OverflowError& error) {
        console.error(error.message(), context);
    } catch (const std::exception& error) {
        console.error(QString::fromUtf8(error.what()), context);
    }
    return ExitFailed;
}

namespace {

int printText(Console& console, const QString& text) {
    try {
        console.write(text.toUtf8());
        return ExitSuccess;
    } catch (const CommandFailure& failure) {
        console.error(failure.lines());
        return ExitFailed;
    }
}

} // namespace

int runTool(const QStringList& arguments, QIODevice& out, QIODevice& err) {
    Console console(out, err);
    const Invocation invocation = parseInvocation(arguments);
    switch (invocation.kind) {
    case Invocation::Kind::Usage:
        console.error(invocation.text);
        return ExitUsage;
    case Invocation::Kind::Help:
    case Invocation::Kind::Version:
        return printText(console, invocation.text);
    case Invocation::Kind::Run:
        break;
    }
    const CommandSpec* command = findCommand(invocation.command);
    const Parsed parsed = command->parse(invocation.commandArgs, invocation.board);
    switch (parsed.kind) {
    case Parsed::Kind::Usage:
        console.error(parsed.text);
        return ExitUsage;
    case Parsed::Kind::Help:
        return printText(console, parsed.text);
    case Parsed::Kind::Run:
        break;
    }
    installInterruptHandlers();
    Session session(invocation.board);
    session.warn = [&console](const QStringList& lines) { console.error(lines); };
    int status = runAction(parsed.action, session, console, {});
    // The session ends even after a failed or interrupted command: a simulated chip keeps what
    // was written.
    const int finished = runAction([](Session& s, Console&) { s.finish(); }, session, console, {});
    if (status == ExitSuccess) {
        status = finished;
    }
    if (invocation.board.stats) {
        console.errorText(busStatsReport(session.busHealthCounts()).join(QLatin1Char('\n')) +
                          QLatin1Char('\n'));
    }
    // A command that finished although the signal came (its last step was under way) still
    // reports it, so that a script sees that it was stopped; a monitor ends this way normally.
    if (status == ExitSuccess && interrupted() && !parsed.endsOnInterrupt) {
        console.error(QStringLiteral("interrupted"));
        status = interruptStatus();
    }
    return status;
}

} // namespace qmf::cli
