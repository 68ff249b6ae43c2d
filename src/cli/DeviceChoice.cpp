// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DeviceChoice.h"

#include "cli/CommandFailure.h"
#include "core/link/BoardLink.h"
#include "core/link/LinkErrors.h"
#include "core/text/NumberText.h"

#include <exception>

namespace qmf::cli {

namespace {

QString reason(const std::exception& e) {
    if (const auto* link = dynamic_cast<const LinkError*>(&e)) {
        return link->message();
    }
    return QString::fromUtf8(e.what());
}

bool wanted(int address, const BoardOptions& options) {
    return !options.address || address == *options.address;
}

} // namespace

DeviceSearchOutcome searchDevices(BoardLink& board, const BoardOptions& options,
                                  SearchExtent extent) {
    DeviceSearchOutcome outcome;
    DeviceSearch search(board);
    SearchFinds found;
    // Only what was asked for is probed: the one address, the one bus mode, and, when a chip is
    // all that is wanted, nothing after the first that answers.
    SearchScope scope;
    scope.address = options.address;
    if (options.alternate) {
        scope.alternateMode = true;
    }
    scope.firstOnly = extent == SearchExtent::FirstFind;
    bool stopped = false;
    if (options.printerPortsAllowed()) {
        try {
            if (options.port) {
                stopped = search.searchPrinterPort(found, *options.port, scope);
            } else {
                const int ports = board.parallelPortLink().PortCount();
                if (ports == 0) {
                    outcome.absent << QStringLiteral("No printer port was found on this computer.");
                }
                for (int port = 0; port < ports && !stopped; ++port) {
                    stopped = search.searchPrinterPort(found, port, scope);
                }
            }
        } catch (const std::exception& e) {
            outcome.failures << QStringLiteral("printer-port search: ") + reason(e);
        }
    }
    if (!stopped && options.smbusAllowed()) {
        if (options.smbusDevice.isEmpty() && !board.smbusAvailable()) {
            outcome.absent << QStringLiteral(
                "No SMBus adapter was found on this computer (/dev/i2c-N). Load the SMBus "
                "controller's driver and the i2c-dev module, or name the adapter with --smbus "
                "/dev/i2c-N; see docs/hardware.md.");
        } else {
            try {
                search.searchSmbus(found, scope);
            } catch (const std::exception& e) {
                outcome.failures << QStringLiteral("SMBus search: ") + reason(e);
            }
        }
    }
    for (qsizetype i = 0; i < found.ParallelFinds.size(); ++i) {
        const bool mode = found.ParallelFindModes.value(i);
        if (wanted(found.ParallelFinds[i], options) && (!options.alternate || mode)) {
            outcome.finds.ParallelFinds << found.ParallelFinds[i];
            outcome.finds.ParallelFindPorts << found.ParallelFindPorts[i];
            outcome.finds.ParallelFindModes << mode;
        }
    }
    for (int address : found.SmbusFinds) {
        if (wanted(address, options)) {
            outcome.finds.SmbusFinds << address;
        }
    }
    return outcome;
}

SearchFinds firstFind(const DeviceSearchOutcome& outcome, const BoardOptions& options) {
    SearchFinds first;
    const SearchFinds& finds = outcome.finds;
    if (!finds.ParallelFinds.isEmpty()) {
        first.ParallelFinds << finds.ParallelFinds.first();
        first.ParallelFindPorts << finds.ParallelFindPorts.first();
        first.ParallelFindModes << finds.ParallelFindModes.first();
    } else if (!finds.SmbusFinds.isEmpty()) {
        first.SmbusFinds << finds.SmbusFinds.first();
    } else {
        throw CommandFailure(nothingFoundMessage(outcome, options));
    }
    return first;
}

QStringList nothingFoundMessage(const DeviceSearchOutcome& outcome, const BoardOptions& options) {
    QStringList lines;
    if (options.address) {
        QString where;
        if (options.port) {
            where = QStringLiteral(" on printer port %1").arg(*options.port);
        } else if (!options.smbusAllowed()) {
            where = QStringLiteral(" on the printer ports");
        } else if (!options.printerPortsAllowed()) {
            where = QStringLiteral(" on the SMBus");
        }
        lines << QStringLiteral("no QMF4150 answered at %1h%2%3")
                     .arg(text::hex(*options.address), where,
                          options.alternate ? QStringLiteral(" in the alternate bus mode")
                                            : QString());
    } else {
        lines << QStringLiteral(
            "Sorry, no QMF4150s were found. Please check all connections and try again");
    }
    return lines + outcome.absent + outcome.failures;
}

} // namespace qmf::cli
