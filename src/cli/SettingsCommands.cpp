// SPDX-License-Identifier: GPL-3.0-or-later
// dump and load: all 256 registers in the program's register settings file format.
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/Interrupt.h"
#include "cli/Session.h"
#include "cli/SettingsFileCheck.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/files/RegisterSettingsReport.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"

#include <exception>

namespace qmf::cli {

namespace {

QString extensionError(const QString& path) {
    return QStringLiteral("\"%1\": a register settings file name ends in .dat (lower case), as "
                          "the program requires")
        .arg(path);
}

QString reason(const std::exception& e) {
    if (const auto* link = dynamic_cast<const LinkError*>(&e)) {
        return link->message();
    }
    return QString::fromUtf8(e.what());
}

// To standard output: the file's bytes, with the registers that could not be read left out as
// the program leaves them out of the file.
void dumpToOutput(Session& session, Console& console) {
    SharedState& state = session.chip();
    QByteArray bytes;
    QList<int> unreadable;
    QString firstReason;
    for (int r = 0; r < RegisterSettingsCount; ++r) {
        try {
            bytes += registerSettingsLine(quint8(r), ReadRegisterAt(state, quint8(r)));
        } catch (const std::exception& e) {
            if (unreadable.isEmpty()) {
                firstReason = reason(e);
            }
            unreadable << r;
        }
    }
    console.write(bytes);
    if (!unreadable.isEmpty()) {
        throw CommandFailure(
            QStringLiteral("%1 of %2 registers were written out; %3 could not "
                           "be read and %4 missing: %5")
                .arg(RegisterSettingsCount - unreadable.size())
                .arg(RegisterSettingsCount)
                .arg(QStringLiteral("register ") + numberRuns(unreadable, true),
                     unreadable.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"),
                     firstReason));
    }
}

void dumpToFile(Session& session, Console& console, const QString& path) {
    const SaveRegisterSettingsResult result = saveRegisterSettings(session.chip(), path);
    const QStringList lines = describeSave(result);
    if (!result.complete()) {
        throw CommandFailure(lines);
    }
    console.print(lines.join(QLatin1Char(' ')));
}

// The file is read once and checked whole before anything is written; the chip gets exactly what
// was checked.
void load(Session& session, Console& console, const QString& path) {
    const ReadRegisterSettingsResult file = readRegisterSettingsFile(path, interruptibleRead(path));
    if (file.interrupted) {
        throw Interrupted(
            QStringLiteral("%1: interrupted while reading; no register was written.").arg(path));
    }
    if (!file.fileError.isEmpty()) {
        throw CommandFailure(
            QStringLiteral("%1: %2; no register was written.").arg(path, file.fileError));
    }
    const QStringList problems = settingsFileProblems(path, file.parsed);
    if (!problems.isEmpty()) {
        throw CommandFailure(problems + QStringList{QStringLiteral("The file was refused; no "
                                                                   "register was written.")});
    }
    const LoadRegisterSettingsResult result =
        applyRegisterSettings(session.chip(), file, interrupted);
    const QStringList lines = describeLoad(result);
    if (result.interrupted) {
        throw Interrupted(lines);
    }
    if (!result.complete()) {
        throw CommandFailure(lines);
    }
    console.print(lines.join(QLatin1Char(' ')));
}

} // namespace

CommandSpec dumpCommand() {
    return {QStringLiteral("dump"), QStringLiteral("dump [FILE]"),
            QStringLiteral("Save all 256 registers in the register settings file format."),
            [](const QStringList& args, const BoardOptions&) {
                CommandParser p(
                    QStringLiteral("dump"),
                    QStringLiteral(
                        "Read registers 0 to FF and write them in the program's register "
                        "settings format: one line \"register,value\" per register, upper-case "
                        "hexadecimal without leading zeros, lines ended by CR LF. Without FILE "
                        "the lines go to standard output. A FILE is written to a temporary file "
                        "that replaces it only when complete. A register that cannot be read is "
                        "left out, as the program leaves it out, and the exit status is 1."));
                p.addPositional(QStringLiteral("FILE"),
                                QStringLiteral("The settings file to write; its name ends in "
                                               ".dat."),
                                QStringLiteral("[FILE]"));
                if (auto outcome = p.parse(args, 0, 1)) {
                    return *outcome;
                }
                if (p.parser().positionalArguments().isEmpty()) {
                    return Parsed::run(dumpToOutput);
                }
                const QString path = p.parser().positionalArguments().at(0);
                if (!hasRegisterSettingsExtension(path)) {
                    return p.usage(extensionError(path));
                }
                return Parsed::run([path](Session& session, Console& console) {
                    dumpToFile(session, console, path);
                });
            }};
}

CommandSpec loadCommand() {
    return {QStringLiteral("load"), QStringLiteral("load FILE"),
            QStringLiteral("Write all 256 registers from a register settings file."),
            [](const QStringList& args, const BoardOptions&) {
                CommandParser p(
                    QStringLiteral("load"),
                    QStringLiteral(
                        "Write the registers saved in a register settings file (as written by "
                        "dump or by the program's \"Save Settings to File\"), in file order. The "
                        "whole file is checked first: a line that does not parse, a register "
                        "without a line or more than 256 settings refuse the file, name the "
                        "lines, and nothing is written. Values of FF or more are written as "
                        "FF, as the program writes them."));
                p.addPositional(QStringLiteral("FILE"),
                                QStringLiteral("The settings file to read; its name ends in "
                                               ".dat."),
                                QStringLiteral("FILE"));
                if (auto outcome = p.parse(args, 1, 1)) {
                    return *outcome;
                }
                const QString path = p.parser().positionalArguments().at(0);
                if (!hasRegisterSettingsExtension(path)) {
                    return p.usage(extensionError(path));
                }
                return Parsed::run(
                    [path](Session& session, Console& console) { load(session, console, path); });
            }};
}

} // namespace qmf::cli
