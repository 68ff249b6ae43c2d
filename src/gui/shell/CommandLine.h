// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace qmf {

// What the command line asks for.
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Error };
    Action action = Action::Run;
    bool simulate = false; // --simulate: the simulated evaluation board instead of the hardware
    bool pinLevel = false; // --pin-level: the simulated board behind the hardware bus code
    bool selfTest = false; // --self-test: check the installation on the simulated board, exit
    QString smbusDevice;   // --smbus /dev/i2c-N: the PC SMBus adapter (empty: chosen automatically)
    std::optional<quint8> simSmbusAddress; // --sim-smbus-address: the simulated SMBus chip there
    QString traceFile; // --trace FILE.vcd: the printer port's bus recorded from the search on
    QString text;      // the help or version text, or what is wrong with the command line
};

// Reads the program's arguments (the first is the program itself). Never exits the process.
CommandLine parseCommandLine(const QStringList& arguments);

} // namespace qmf
