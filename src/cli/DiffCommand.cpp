// SPDX-License-Identifier: GPL-3.0-or-later
// diff: the chip against a register settings file.
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/Interrupt.h"
#include "cli/Session.h"
#include "cli/SettingsFileCheck.h"
#include "core/chip/RegisterMap.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/files/SettingsComparison.h"
#include "core/text/NumberText.h"

namespace qmf::cli {

namespace {

void diff(Session& session, Console& console, const QString& path, bool all) {
    const ReadRegisterSettingsResult file = readRegisterSettingsFile(path, interruptibleRead(path));
    if (file.interrupted) {
        throw Interrupted(QStringLiteral("%1: interrupted while reading").arg(path));
    }
    // A file that load would refuse is no basis for a comparison either.
    if (!file.fileError.isEmpty()) {
        throw UsageFailure(QStringLiteral("%1: %2").arg(path, file.fileError));
    }
    const QStringList problems = settingsFileProblems(path, file.parsed);
    if (!problems.isEmpty()) {
        throw UsageFailure(problems);
    }
    const SettingsComparison comparison = compareWithChip(session.chip(), file.parsed, all);
    if (!comparison.unreadable.isEmpty()) {
        throw CommandFailure(comparison.unreadable);
    }
    if (comparison.differences.isEmpty()) {
        return;
    }
    console.print(QStringLiteral("Register\tName\tFile\tChip"));
    for (const RegisterDifference& d : comparison.differences) {
        console.print(QStringList{text::hex(d.reg), RegisterMap::displayName(d.reg),
                                  text::hex(d.fileValue), text::hex(d.chipValue)}
                          .join(QLatin1Char('\t')));
    }
    throw CommandFailure(describeComparison(comparison, file.parsed).first());
}

} // namespace

CommandSpec diffCommand() {
    return {
        QStringLiteral("diff"), QStringLiteral("diff [--all] FILE"),
        QStringLiteral("Compare the chip with a register settings file; list the registers that "
                       "differ."),
        [](const QStringList& args, const BoardOptions&) {
            CommandParser p(
                QStringLiteral("diff"),
                QStringLiteral(
                    "Read the registers of a register settings file (as written by dump or by "
                    "the program's \"Save Settings to File\") from the chip and print those that "
                    "differ: a header line, then one line per register with its address, name, "
                    "the file's value and the chip's value, separated by tabs. Nothing is "
                    "written to the chip. The registers the chip changes itself (status, fan "
                    "tachometer counts, temperature and AIN readings, GPIO levels: 0, 5, 10, 11, "
                    "70, 71, A0 to A2, B8, B9) are compared only with --all. Exit status 0 when "
                    "the chip matches, 1 when registers differ or cannot be read, 2 when the "
                    "file is not a complete register settings file."));
            p.addPositional(QStringLiteral("FILE"),
                            QStringLiteral("The settings file to compare with; its name ends in "
                                           ".dat."),
                            QStringLiteral("FILE"));
            const QCommandLineOption allOption(
                QStringList{QStringLiteral("a"), QStringLiteral("all")},
                QStringLiteral("Compare the readings too."));
            p.parser().addOption(allOption);
            if (auto outcome = p.parse(args, 1, 1)) {
                return *outcome;
            }
            const QString path = p.parser().positionalArguments().at(0);
            if (!hasRegisterSettingsExtension(path)) {
                return p.usage(
                    QStringLiteral("\"%1\": a register settings file name ends in .dat (lower "
                                   "case), as the program requires")
                        .arg(path));
            }
            return Parsed::run(
                [path, all = p.parser().isSet(allOption)](Session& session, Console& console) {
                    diff(session, console, path, all);
                });
        }};
}

} // namespace qmf::cli
