// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/BusOptions.h"

#include "cli/BoardOptions.h"

#include <QCommandLineParser>

namespace qmf::cli {

BusOptionSet addBusOptions(QCommandLineParser& parser) {
    BusOptionSet options{
        QCommandLineOption(QStringLiteral("pin-level"),
                           QStringLiteral("With --simulate: put the hardware code in front of the "
                                          "simulated chips (the printer port's bus bit-banged on "
                                          "a simulated port, the SMBus through simulated "
                                          "i2c-dev calls).")),
        QCommandLineOption(QStringLiteral("trace"),
                           QStringLiteral("Record every change of SCL and SDA on the printer "
                                          "port's bit-banged bus into FILE, a value change dump "
                                          "(VCD) that PulseView and sigrok-cli open; complete "
                                          "when the tool ends."),
                           QStringLiteral("FILE.vcd")),
        QCommandLineOption(QStringLiteral("stats"),
                           QStringLiteral("At the end, print the bus health counters (transfers, "
                                          "failures, NACKs, clock-stretch waits, timeouts, "
                                          "stuck-bus recoveries, transfer rate) on standard "
                                          "error.")),
    };
    parser.addOptions({options.pinLevel, options.trace, options.stats});
    return options;
}

QString readBusOptions(const QCommandLineParser& parser, const BusOptionSet& options,
                       BoardOptions& board) {
    board.pinLevel = parser.isSet(options.pinLevel);
    board.stats = parser.isSet(options.stats);
    if (board.pinLevel) {
        if (!board.simulate) {
            return QStringLiteral("--pin-level runs the simulated board at pin level; it needs "
                                  "--simulate");
        }
        if (!board.simStateFile.isEmpty() || board.simSmbusAddress || board.simFailTransfer) {
            return QStringLiteral("--sim-state, --sim-smbus-address and --sim-fail-transfer work "
                                  "with --simulate alone, not with --pin-level");
        }
    }
    if (parser.isSet(options.trace)) {
        board.traceFile = parser.value(options.trace);
        if (board.traceFile.isEmpty()) {
            return QStringLiteral("--trace needs a file name, e.g. --trace bus.vcd");
        }
        if (board.simulate && !board.pinLevel) {
            return QStringLiteral("--trace records the bit-banged bus, which the simulated board "
                                  "has only with --pin-level");
        }
    }
    return {};
}

} // namespace qmf::cli
