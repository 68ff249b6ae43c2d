// SPDX-License-Identifier: GPL-3.0-or-later
// get and set: one register at a time, through the address-taking register operations.
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/Numbers.h"
#include "cli/Session.h"
#include "core/link/RegisterAccess.h"
#include "core/text/NumberText.h"

namespace qmf::cli {

namespace {

const QString HexNote = QStringLiteral(
    "Numbers are hexadecimal, as the program shows them: 5E, 0x5E and 5Eh are the same.");

void set(Session& session, Console&, quint8 reg, quint8 value, quint8 mask) {
    SharedState& state = session.chip();
    quint8 wanted = value & mask;
    if (mask != 0xFF) {
        wanted |= ReadRegisterAt(state, reg) & quint8(~mask);
    }
    WriteRegisterAt(state, reg, wanted);
    const quint8 readBack = ReadRegisterAt(state, reg);
    if ((readBack & mask) != (wanted & mask)) {
        throw CommandFailure(
            QStringLiteral("register %1h reads %2 after %3 was written%4")
                .arg(text::hex(reg), text::hex(readBack), text::hex(wanted),
                     mask == 0xFF
                         ? QString()
                         : QStringLiteral(" (compared under the mask %1)").arg(text::hex(mask))));
    }
}

} // namespace

CommandSpec getCommand() {
    return {QStringLiteral("get"), QStringLiteral("get REG"),
            QStringLiteral("Read one register and print its value in hexadecimal."),
            [](const QStringList& args, const BoardOptions&) {
                CommandParser p(QStringLiteral("get"),
                                QStringLiteral("Read one register of the chip and print its "
                                               "value in upper-case hexadecimal without leading "
                                               "zeros (\"0\", \"5A\", \"FF\").\n") +
                                    HexNote);
                p.addPositional(QStringLiteral("REG"),
                                QStringLiteral("The register address, 0 to FF."),
                                QStringLiteral("REG"));
                if (auto outcome = p.parse(args, 1, 1)) {
                    return *outcome;
                }
                QString error;
                const auto reg = parseHexByte(p.parser().positionalArguments().at(0),
                                              QStringLiteral("REG"), error);
                if (!reg) {
                    return p.usage(error);
                }
                return Parsed::run([reg = *reg](Session& session, Console& console) {
                    console.print(text::hex(ReadRegisterAt(session.chip(), reg)));
                });
            }};
}

CommandSpec setCommand() {
    return {
        QStringLiteral("set"), QStringLiteral("set REG VALUE [--mask M]"),
        QStringLiteral("Write one register (under a mask), read it back and compare."),
        [](const QStringList& args, const BoardOptions&) {
            CommandParser p(
                QStringLiteral("set"),
                QStringLiteral("Write VALUE to register REG, then read the register back. "
                               "With --mask only the bits set in M are changed: the "
                               "register is read, those bits are taken from VALUE and the "
                               "others kept. Exit status 1 when the bits written (under the "
                               "mask) read back differently, as they do for read-only "
                               "bits. Prints nothing on success.\n") +
                    HexNote);
            p.addPositional(QStringLiteral("REG"), QStringLiteral("The register address, 0 to FF."),
                            QStringLiteral("REG"));
            p.addPositional(QStringLiteral("VALUE"), QStringLiteral("The byte, 0 to FF."),
                            QStringLiteral("VALUE"));
            const QCommandLineOption maskOption(
                QStringList{QStringLiteral("m"), QStringLiteral("mask")},
                QStringLiteral("Change only the bits set in M (default FF: all)."),
                QStringLiteral("M"));
            p.parser().addOption(maskOption);
            if (auto outcome = p.parse(args, 2, 2)) {
                return *outcome;
            }
            QString error;
            const QStringList positional = p.parser().positionalArguments();
            const auto reg = parseHexByte(positional.at(0), QStringLiteral("REG"), error);
            const auto value =
                reg ? parseHexByte(positional.at(1), QStringLiteral("VALUE"), error) : std::nullopt;
            const auto mask =
                !value ? std::nullopt
                : p.parser().isSet(maskOption)
                    ? parseHexByte(p.parser().value(maskOption), QStringLiteral("mask"), error)
                    : std::optional<quint8>(0xFF);
            if (!mask) {
                return p.usage(error);
            }
            return Parsed::run(
                [reg = *reg, value = *value, mask = *mask](Session& session, Console& console) {
                    set(session, console, reg, value, mask);
                });
        }};
}

} // namespace qmf::cli
