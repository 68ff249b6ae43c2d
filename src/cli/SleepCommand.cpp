// SPDX-License-Identifier: GPL-3.0-or-later
// sleep: let time pass between two commands of a batch.
#include "cli/CommandParser.h"
#include "cli/Numbers.h"
#include "cli/Session.h"

#include <cmath>

namespace qmf::cli {

namespace {
constexpr double MaxSleep = 24 * 60 * 60;
}

CommandSpec sleepCommand() {
    return {QStringLiteral("sleep"), QStringLiteral("sleep S"),
            QStringLiteral("Let S seconds pass (simulated time on the simulated board)."),
            [](const QStringList& args, const BoardOptions&) {
                CommandParser p(
                    QStringLiteral("sleep"),
                    QStringLiteral("Let S seconds pass before the next command: on the "
                                   "simulated board the simulated clock moves on at once (fans "
                                   "spin up, heated diodes warm); on the hardware the tool "
                                   "waits. Ctrl-C ends the wait."));
                p.addPositional(QStringLiteral("S"),
                                QStringLiteral("Seconds, 0 to 86400; fractions allowed."),
                                QStringLiteral("S"));
                if (auto outcome = p.parse(args, 1, 1)) {
                    return *outcome;
                }
                QString error;
                const auto seconds = parseSeconds(p.parser().positionalArguments().at(0), 0,
                                                  MaxSleep, QStringLiteral("S"), error);
                if (!seconds) {
                    return p.usage(error);
                }
                return Parsed::run([ms = std::llround(*seconds * 1000)](
                                       Session& session, Console&) { session.wait(ms); });
            }};
}

} // namespace qmf::cli
