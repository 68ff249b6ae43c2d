// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/GlobalOptions.h"

#include "cli/BusOptions.h"
#include "cli/CommandParser.h"
#include "cli/Commands.h"
#include "cli/Numbers.h"
#include "core/link/DeviceSearch.h"
#include "core/text/NumberText.h"

#include <QCommandLineParser>
#include <algorithm>

namespace qmf::cli {

namespace {

const QString Description = QStringLiteral(
    "qmf4150ctl: the QMF4150 evaluation software's command-line tool for scripts and lab "
    "automation. It uses the same boards and the same file formats as the program qmf4150eval.\n"
    "\n"
    "Without --address the tool uses the first chip a search finds, in the order the program's "
    "device search lists them: the printer ports first (port by port, the normal bus mode "
    "before the alternate one), then the PC's SMBus.");

QString commandList() {
    // A synopsis longer than the column gets its summary on the next line.
    constexpr int Column = 26;
    QString text = QStringLiteral("\nCommands (qmf4150ctl COMMAND --help tells more):\n");
    for (const CommandSpec& command : commands()) {
        QString line = QStringLiteral("  ") + command.synopsis;
        line = line.size() < Column ? line.leftJustified(Column)
                                    : line + QLatin1Char('\n') + QString(Column, QLatin1Char(' '));
        text += line + command.summary + QLatin1Char('\n');
    }
    text += QStringLiteral(
        "\nRegisters, values and addresses are hexadecimal, as the program shows them: 5E, 0x5E "
        "and 5Eh are the same.\n"
        "Exit status: 0 success, 1 the operation failed (or found nothing), 2 usage error.\n");
    return text;
}

Invocation usage(const QString& error) {
    Invocation invocation;
    invocation.kind = Invocation::Kind::Usage;
    invocation.text = error + QStringLiteral(" (see qmf4150ctl --help)");
    return invocation;
}

bool isCandidate(quint8 address) {
    return std::find(AddressCandidates.begin(), AddressCandidates.end(), address) !=
           AddressCandidates.end();
}

} // namespace

Invocation parseInvocation(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(Description);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help."));
    const QCommandLineOption versionOption(
        QStringList{QStringLiteral("v"), QStringLiteral("version")},
        QStringLiteral("Show the version."));
    const QCommandLineOption simulateOption(
        QStringLiteral("simulate"),
        QStringLiteral("Use the simulated evaluation board (a chip at 5E on printer port 0 at "
                       "378h, another at 5C on the SMBus) instead of the hardware."));
    const QCommandLineOption smbusOption(
        QStringLiteral("smbus"),
        QStringLiteral("Use the PC's SMBus through this adapter, and only the SMBus."),
        QStringLiteral("/dev/i2c-N"));
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QStringLiteral("Use the evaluation board on printer port N (0 is the first), and only "
                       "that port."),
        QStringLiteral("N"));
    const QCommandLineOption alternateOption(
        QStringLiteral("alternate"),
        QStringLiteral("Use the printer port's alternate bus mode (the board's other wiring)."));
    const QCommandLineOption addressOption(
        QStringLiteral("address"),
        QStringLiteral("Use the chip at this address, in the 8-bit form the program shows "
                       "(50 to 5E, even)."),
        QStringLiteral("0x5E"));
    const QCommandLineOption simStateOption(
        QStringLiteral("sim-state"),
        QStringLiteral("With --simulate: keep the simulated chips in FILE between runs (read at "
                       "the start if it exists, written at the end)."),
        QStringLiteral("FILE"));
    const QCommandLineOption simSmbusAddressOption(
        QStringLiteral("sim-smbus-address"),
        QStringLiteral("With --simulate: put the simulated SMBus chip at this address instead of "
                       "5C (5E puts both chips at the same address, one on each path)."),
        QStringLiteral("0x5E"));
    const QCommandLineOption simFailOption(
        QStringLiteral("sim-fail-transfer"),
        QStringLiteral("With --simulate: the N-th register transfer of the run (the first is 1, "
                       "the device search's included) fails as a broken link would, to try what "
                       "a script does then."),
        QStringLiteral("N"));
    parser.addOptions({helpOption, versionOption, simulateOption, smbusOption, portOption,
                       alternateOption, addressOption, simStateOption, simSmbusAddressOption,
                       simFailOption});
    const BusOptionSet busOptions = addBusOptions(parser);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("The command to run (see Commands below)."),
                                 QStringLiteral("COMMAND [ARGUMENTS...]"));

    if (!parser.parse(arguments)) {
        return usage(parser.errorText());
    }
    Invocation invocation;
    if (parser.isSet(helpOption)) {
        invocation.kind = Invocation::Kind::Help;
        invocation.text = helpWithUsage(parser, QStringLiteral("qmf4150ctl [board options] COMMAND "
                                                               "[ARGUMENTS...]")) +
                          commandList();
        return invocation;
    }
    if (parser.isSet(versionOption)) {
        invocation.kind = Invocation::Kind::Version;
        invocation.text = QStringLiteral("qmf4150ctl %1\n").arg(QStringLiteral(QMF_CLI_VERSION));
        return invocation;
    }

    BoardOptions& board = invocation.board;
    board.simulate = parser.isSet(simulateOption);
    if (parser.isSet(smbusOption)) {
        board.smbusDevice = parser.value(smbusOption).trimmed();
        if (board.smbusDevice.isEmpty()) {
            return usage(
                QStringLiteral("--smbus needs the adapter's device file, e.g. /dev/i2c-1"));
        }
        if (board.simulate) {
            return usage(QStringLiteral("--smbus chooses a hardware adapter; it cannot be combined "
                                        "with --simulate (use --address 0x5C for the simulated "
                                        "SMBus chip)"));
        }
    }
    QString error;
    if (parser.isSet(portOption)) {
        const auto port =
            parseCount(parser.value(portOption), 0, 255, QStringLiteral("--port"), error);
        if (!port) {
            return usage(error);
        }
        board.port = int(*port);
    }
    board.alternate = parser.isSet(alternateOption);
    if ((board.port || board.alternate) && !board.smbusDevice.isEmpty()) {
        return usage(QStringLiteral("--port and --alternate choose a printer port; they cannot be "
                                    "combined with --smbus"));
    }
    if (parser.isSet(addressOption)) {
        const auto address =
            parseHexByte(parser.value(addressOption), QStringLiteral("--address"), error);
        if (!address) {
            return usage(error);
        }
        if (!isCandidate(*address)) {
            return usage(QStringLiteral("--address %1h is not a QMF4150 address; in the 8-bit "
                                        "form the program shows they are 50, 52, ... 5E")
                             .arg(text::hex(*address)));
        }
        board.address = *address;
    }
    if (parser.isSet(simStateOption)) {
        board.simStateFile = parser.value(simStateOption);
        if (!board.simulate) {
            return usage(QStringLiteral("--sim-state keeps the simulated board; it needs "
                                        "--simulate"));
        }
        if (board.simStateFile.isEmpty()) {
            return usage(QStringLiteral("--sim-state needs a file name"));
        }
    }

    if (parser.isSet(simSmbusAddressOption)) {
        const auto address = parseHexByte(parser.value(simSmbusAddressOption),
                                          QStringLiteral("--sim-smbus-address"), error);
        if (!address) {
            return usage(error);
        }
        if (!isCandidate(*address)) {
            return usage(QStringLiteral("--sim-smbus-address %1h is not a QMF4150 address; they "
                                        "are 50, 52, ... 5E")
                             .arg(text::hex(*address)));
        }
        if (!board.simulate) {
            return usage(QStringLiteral("--sim-smbus-address moves the simulated SMBus chip; it "
                                        "needs --simulate"));
        }
        board.simSmbusAddress = *address;
    }
    if (parser.isSet(simFailOption)) {
        if (!board.simulate) {
            return usage(QStringLiteral("--sim-fail-transfer fails a transfer of the simulated "
                                        "board; it needs --simulate"));
        }
        const auto transfer = parseCount(parser.value(simFailOption), 1, 1'000'000'000,
                                         QStringLiteral("--sim-fail-transfer"), error);
        if (!transfer) {
            return usage(error);
        }
        board.simFailTransfer = *transfer;
    }

    if (const QString error = readBusOptions(parser, busOptions, board); !error.isEmpty()) {
        return usage(error);
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        return usage(QStringLiteral("no command given"));
    }
    if (!findCommand(positional.first())) {
        return usage(QStringLiteral("unknown command \"%1\"").arg(positional.first()));
    }
    invocation.kind = Invocation::Kind::Run;
    invocation.command = positional.first();
    invocation.commandArgs = positional.mid(1);
    return invocation;
}

} // namespace qmf::cli
