// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/CommandLine.h"

#include "core/link/DeviceSearch.h"
#include "core/text/ByteText.h"
#include "gui/services/AppVersion.h"

#include <QCommandLineParser>
#include <algorithm>

namespace qmf {

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        applicationTitle() +
        QStringLiteral(": find a QMF4150 hardware monitor on the evaluation board (printer port) "
                       "or on the PC's SMBus, then read, set up and watch it."));
    const QCommandLineOption helpOption = parser.addHelpOption();
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
    parser.addOption(simulateOption);
    parser.addOption(pinLevelOption);
    parser.addOption(simSmbusAddressOption);
    parser.addOption(smbusOption);

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Action::Error;
        result.text = parser.errorText();
        return result;
    }
    if (parser.isSet(helpOption)) {
        result.action = CommandLine::Action::ShowHelp;
        result.text = parser.helpText();
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
    if (result.pinLevel && !result.simulate) {
        result.action = CommandLine::Action::Error;
        result.text = QStringLiteral("--pin-level works with --simulate only");
        return result;
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
    if (result.simulate && !result.smbusDevice.isEmpty()) {
        result.action = CommandLine::Action::Error;
        result.text = QStringLiteral("--smbus chooses a hardware adapter; it cannot be combined "
                                     "with --simulate");
        return result;
    }
    return result;
}

} // namespace qmf
