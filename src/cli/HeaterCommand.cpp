// SPDX-License-Identifier: GPL-3.0-or-later
// heaters: the evaluation board's two heaters, as the program's "Board Control" window switches
// them.
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/Session.h"
#include "core/chip/SharedState.h"
#include "core/link/BoardLink.h"

namespace qmf::cli {

namespace {

// Board output bits: heater 1 (at Q2, warming TDM 2's diode) and heater 2 (at Q1, TDM 1's).
constexpr quint8 Heater1Bit = 0x10;
constexpr quint8 Heater2Bit = 0x20;
constexpr qint16 PrinterPortPath = 1;

void switchHeaters(Session& session, Console& console, bool on, quint8 bits) {
    SharedState& state = session.chip();
    if (state.CommsMedium != PrinterPortPath) {
        throw CommandFailure(QStringLiteral("Sorry, heaters cannot be enabled when the eval "
                                            "baord is not used."));
    }
    // The board's outputs cannot be read back: the byte starts from "both off", as the window's
    // check boxes do, and this session remembers what it put since.
    const quint8 outputs =
        on ? quint8(session.heaterOutputs | bits) : quint8(session.heaterOutputs & ~bits);
    BusEngine& engine = state.board().parallelPortLink().busEngine();
    engine.setAuxOutputsPrepare(outputs);
    engine.setAuxOutputs(outputs);
    session.heaterOutputs = outputs;
    const auto onOff = [outputs](quint8 bit) {
        return (outputs & bit) ? QStringLiteral("on") : QStringLiteral("off");
    };
    console.print(QStringLiteral("Heater  for Q2 (TDM2): ") + onOff(Heater1Bit));
    console.print(QStringLiteral("Heater  for Q1 (TDM1): ") + onOff(Heater2Bit));
    if (outputs != 0 && !session.inBatch) {
        console.error(QStringLiteral("note: the board switches its heaters off when qmf4150ctl "
                                     "ends; switch them on in a batch to measure with them on"));
    }
}

} // namespace

CommandSpec heatersCommand() {
    return {
        QStringLiteral("heaters"), QStringLiteral("heaters on|off [1|2]"),
        QStringLiteral("Switch the evaluation board's heaters (printer-port path only)."),
        [](const QStringList& args, const BoardOptions&) {
            CommandParser p(
                QStringLiteral("heaters"),
                QStringLiteral(
                    "Switch heater 1 (\"Heater  for Q2 (TDM2)\"), heater 2 (\"Heater  for Q1 "
                    "(TDM1)\") or both on or off, and print the state of both. Only the "
                    "evaluation board on a printer port has heaters. The board's outputs "
                    "cannot be read back, so each run of the tool starts from both off; and "
                    "the board switches them off when the tool ends (the simulated board "
                    "too). To measure with a heater on, use a batch: heaters on 1, sleep "
                    "60, monitor --count 5, heaters off.\n"
                    "Warning: Switching on heaters can cause the evaluation board to get hot, "
                    "especially R25,R19.Q1 and Q2 creating a burn hazzard."));
            p.addPositional(QStringLiteral("on|off"), QStringLiteral("Switch on or off."),
                            QStringLiteral("on|off"));
            p.addPositional(QStringLiteral("1|2"), QStringLiteral("Which heater (default: both)."),
                            QStringLiteral("[1|2]"));
            if (auto outcome = p.parse(args, 1, 2)) {
                return *outcome;
            }
            const QStringList positional = p.parser().positionalArguments();
            const QString state = positional.at(0).toLower();
            if (state != QStringLiteral("on") && state != QStringLiteral("off")) {
                return p.usage(
                    QStringLiteral("\"%1\" is neither on nor off").arg(positional.at(0)));
            }
            quint8 bits = Heater1Bit | Heater2Bit;
            if (positional.size() == 2) {
                if (positional.at(1) == QStringLiteral("1")) {
                    bits = Heater1Bit;
                } else if (positional.at(1) == QStringLiteral("2")) {
                    bits = Heater2Bit;
                } else {
                    return p.usage(
                        QStringLiteral("there is no heater \"%1\" (1 or 2)").arg(positional.at(1)));
                }
            }
            const bool on = state == QStringLiteral("on");
            return Parsed::run([on, bits](Session& session, Console& console) {
                switchHeaters(session, console, on, bits);
            });
        }};
}

} // namespace qmf::cli
