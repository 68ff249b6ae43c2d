// SPDX-License-Identifier: GPL-3.0-or-later
// scan: every address of the chosen buses, probed by reads, as i2cdetect shows a bus.
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/Session.h"
#include "core/link/BoardLink.h"
#include "core/link/BusScan.h"

namespace qmf::cli {

namespace {

// The buses the board options allow, as the device search takes them: the printer ports (only
// --port N; both bus modes, standard first, or only --alternate), then the SMBus.
QList<ScanTarget> targets(BoardLink& board, const BoardOptions& options) {
    QList<ScanTarget> buses;
    if (options.printerPortsAllowed()) {
        const int count = options.port ? 1 : board.parallelPortLink().PortCount();
        for (int i = 0; i < count; ++i) {
            const int port = options.port ? *options.port : i;
            for (const bool alternate : {false, true}) {
                if (!options.alternate || alternate) {
                    buses << ScanTarget{ScanTarget::Medium::PrinterPort, port, alternate};
                }
            }
        }
    }
    if (options.smbusAllowed() && (!options.smbusDevice.isEmpty() || board.smbusAvailable())) {
        buses << ScanTarget{ScanTarget::Medium::Smbus, 0, false};
    }
    return buses;
}

void scan(Session& session, Console& console) {
    BoardLink& board = session.board();
    const QList<ScanTarget> buses = targets(board, session.options());
    if (buses.isEmpty()) {
        throw CommandFailure(QStringLiteral("there is no bus to scan: this PC has no printer port "
                                            "and no SMBus adapter"));
    }
    QStringList failures;
    for (const ScanTarget& bus : buses) {
        const BusScanResult result = scanBus(board, bus);
        console.print(result.label + QLatin1Char(':'));
        for (const QString& line : scanGrid(result)) {
            console.print(line);
        }
        for (const int address : result.qmf4150) {
            console.print(QStringLiteral("*%1: a QMF4150 (%2h in the 8-bit form the program shows)")
                              .arg(address, 2, 16, QLatin1Char('0'))
                              .arg(QString::number(address << 1, 16).toUpper()));
        }
        if (!result.failure.isEmpty()) {
            failures << result.label + QStringLiteral(": ") + result.failure;
        }
        console.print({});
    }
    // The scan selected other ports and modes; a chip chosen earlier in a batch keeps working.
    session.restoreChoice();
    if (!failures.isEmpty()) {
        throw CommandFailure(failures);
    }
}

} // namespace

CommandSpec scanCommand() {
    return {QStringLiteral("scan"), QStringLiteral("scan"),
            QStringLiteral("Show every device on the buses, as i2cdetect shows a bus."),
            [](const QStringList& args, const BoardOptions&) {
                CommandParser p(
                    QStringLiteral("scan"),
                    QStringLiteral(
                        "Probe every 7-bit address from 03 to 77 on the printer ports (standard, "
                        "then alternate bus mode) and on the PC's SMBus by reads only (the "
                        "address with the read bit, one byte read), and show each bus as "
                        "i2cdetect does: a grid of 16 by 8, \"--\" where nobody answered, the "
                        "7-bit address where a device did, \"*\" before a QMF4150 (register D "
                        "reads 41). Addresses 00 to 02 and 78 to 7F are reserved by the bus and "
                        "left blank. --port, --alternate and --smbus limit the buses. Exit status "
                        "1 when a bus failed (its grid shows \"??\" from there)."));
                if (auto outcome = p.parse(args, 0, 0)) {
                    return *outcome;
                }
                return Parsed::run(scan);
            }};
}

} // namespace qmf::cli
