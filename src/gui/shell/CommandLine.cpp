// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/CommandLine.h"

#include "core/link/DeviceSearch.h"
#include "core/text/ByteText.h"
#include "gui/services/AppVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <utility>

namespace qmf {

namespace {
// Qt's help starts "Usage: <the program as started>", which may be a long build path: the
// program's name is what a user types.
QString helpWithProgramName(QString help, const QStringList& arguments) {
    const QString started = QCoreApplication::instance() != nullptr
                                ? QCoreApplication::arguments().value(0)
                                : arguments.value(0);
    const QString usage = QStringLiteral("Usage: ");
    if (help.startsWith(usage + started)) {
        help.replace(usage.size(), started.size(), QFileInfo(started).fileName());
    }
    return help;
}
} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        applicationTitle() +
        QStringLiteral(": find a QMF4150 hardware monitor on the evaluation board (printer port) "
                       "or on the PC's SMBus, then read, set up and watch it."));
    // Not addHelpOption(): its --help-all needs the parser to exit the process, which this
    // function never does; Qt's own options (-platform, -style, ...) are taken all the same.
    const QCommandLineOption helpOption(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
        QStringLiteral("Displays help on commandline options."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption simulateOption(
        QStringLiteral("simulate"),
        QStringLiteral("Use the simulated evaluation board instead of the hardware."));
    const QCommandLineOption smbusOption(
        QStringLiteral("smbus"),
        QStringLiteral("Use this SMBus adapter for the on-board SMBus (default: the first SMBus "
                       "host controller found)."),
        QStringLiteral("/dev/i2c-N"));
    const QCommandLineOption pinLevelOption(
        QStringLiteral("pin-level"),
        QStringLiteral("With --simulate: reach the simulated chips through the hardware code "
                       "(the bit-banged printer-port bus and the i2c-dev SMBus calls), pin by "
                       "pin."));
    const QCommandLineOption simSmbusAddressOption(
        QStringLiteral("sim-smbus-address"),
        QStringLiteral("With --simulate: put the simulated SMBus chip at this address instead of "
                       "5C (5E puts both chips at the same address, one on each path)."),
        QStringLiteral("0x5E"));
    const QCommandLineOption selfTestOption(
        QStringLiteral("self-test"),
        QStringLiteral("With --simulate: check the installation and exit. Picks the simulated "
                       "chip as the device search does, starts graphs in the graph window and "
                       "prints the temperatures drawn, the calculation library and the icon "
                       "used; exit status 0 when the temperatures were drawn."));
    parser.addOption(simulateOption);
    parser.addOption(pinLevelOption);
    parser.addOption(simSmbusAddressOption);
    parser.addOption(smbusOption);
    parser.addOption(selfTestOption);
    const QCommandLineOption traceOption(
        QStringLiteral("trace"),
        QStringLiteral("Record every change of SCL and SDA on the printer port's bit-banged bus "
                       "into FILE, a value change dump (VCD) that PulseView opens, from the "
                       "device search until the program ends (Tools > Record Bus Trace... stops "
                       "it earlier)."),
        QStringLiteral("FILE.vcd"));
    parser.addOption(traceOption);

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Action::Error;
        result.text = parser.errorText();
        return result;
    }
    if (parser.isSet(helpOption)) {
        result.action = CommandLine::Action::ShowHelp;
        result.text = helpWithProgramName(parser.helpText(), arguments);
        return result;
    }
    if (parser.isSet(versionOption)) {
        result.action = CommandLine::Action::ShowVersion;
        result.text = applicationTitle() + QLatin1Char(' ') + versionNumberText(programVersion());
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.action = CommandLine::Action::Error;
        result.text =
            QStringLiteral("Unexpected argument: ") + parser.positionalArguments().first();
        return result;
    }
    result.simulate = parser.isSet(simulateOption);
    result.pinLevel = parser.isSet(pinLevelOption);
    result.selfTest = parser.isSet(selfTestOption);
    for (const auto& [set, name] :
         {std::pair{result.pinLevel, "--pin-level"}, std::pair{result.selfTest, "--self-test"}}) {
        if (set && !result.simulate) {
            result.action = CommandLine::Action::Error;
            result.text = QLatin1String(name) + QStringLiteral(" works with --simulate only");
            return result;
        }
    }
    if (parser.isSet(simSmbusAddressOption)) {
        const QString value = parser.value(simSmbusAddressOption);
        const text::ByteText address = text::parseHexByte(value);
        if (!address.ok() || std::find(AddressCandidates.begin(), AddressCandidates.end(),
                                       address.value) == AddressCandidates.end()) {
            result.action = CommandLine::Action::Error;
            result.text = QStringLiteral("--sim-smbus-address \"%1\" is not a QMF4150 address; "
                                         "they are 50, 52, ... 5E")
                              .arg(value);
            return result;
        }
        if (!result.simulate || result.pinLevel) {
            result.action = CommandLine::Action::Error;
            result.text = QStringLiteral("--sim-smbus-address moves the simulated SMBus chip; it "
                                         "works with --simulate, without --pin-level");
            return result;
        }
        result.simSmbusAddress = address.value;
    }
    result.smbusDevice = parser.value(smbusOption).trimmed();
    if (parser.isSet(smbusOption) && result.smbusDevice.isEmpty()) {
        result.action = CommandLine::Action::Error;
        result.text = QStringLiteral("--smbus needs the adapter's device file, e.g. /dev/i2c-1");
        return result;
    }
    if (parser.isSet(traceOption)) {
        result.traceFile = parser.value(traceOption);
        if (result.traceFile.isEmpty() || (result.simulate && !result.pinLevel)) {
            result.action = CommandLine::Action::Error;
            result.text = result.traceFile.isEmpty()
                              ? QStringLiteral("--trace needs a file name, e.g. --trace bus.vcd")
                              : QStringLiteral("--trace records the bit-banged bus, which the "
                                               "simulated board has only with --pin-level");
            return result;
        }
    }
    if (result.simulate && !result.smbusDevice.isEmpty()) {
        result.action = CommandLine::Action::Error;
        result.text = QStringLiteral("--smbus chooses a hardware adapter; it cannot be combined "
                                     "with --simulate");
        return result;
    }
    return result;
}

} // namespace qmf
