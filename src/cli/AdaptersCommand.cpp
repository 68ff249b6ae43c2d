// SPDX-License-Identifier: GPL-3.0-or-later
// adapters: the i2c adapters the SMBus path can be put on, as the program's device search
// lists them.
#include "cli/AdapterListing.h"
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/Session.h"
#include "core/link/BoardLink.h"
#include "core/link/SmbusAdapters.h"

namespace qmf::cli {

QStringList adapterListing(BoardLink& board) {
    SmbusAdapterChoice* choice = board.smbusAdapterChoice();
    if (choice == nullptr) {
        throw CommandFailure(QStringLiteral("the %1 has no i2c adapters: its SMBus is part of "
                                            "the simulation")
                                 .arg(board.description()));
    }
    const SmbusAdapterList list = choice->scanAdapters();
    if (list.adapters.isEmpty()) {
        throw CommandFailure(QStringLiteral(
            "no i2c adapter that can carry the SMBus was found: neither a PCI SMBus host "
            "controller nor a USB bridge (load its driver: i2c-i801, i2c-piix4, hid-cp2112, "
            "hid-mcp2221, i2c-tiny-usb, ...)"));
    }
    const QString mark =
        choice->namedAdapter().isEmpty() ? QStringLiteral("automatic") : QStringLiteral("--smbus");
    QStringList lines;
    for (int i = 0; i < list.adapters.size(); ++i) {
        const SmbusAdapter& adapter = list.adapters[i];
        QStringList fields{adapter.node, adapter.name, smbusAdapterKindText(adapter.kind)};
        if (i == list.automatic) {
            fields << mark;
        }
        lines << fields.join(QLatin1Char('\t'));
    }
    return lines;
}

namespace {

void adapters(Session& session, Console& console) {
    for (const QString& line : adapterListing(session.board())) {
        console.print(line);
    }
}

} // namespace

CommandSpec adaptersCommand() {
    return {QStringLiteral("adapters"), QStringLiteral("adapters"),
            QStringLiteral("List the i2c adapters the SMBus path can use."),
            [](const QStringList& args, const BoardOptions&) {
                CommandParser p(
                    QStringLiteral("adapters"),
                    QStringLiteral(
                        "Print one line per i2c adapter of this PC that can carry the SMBus "
                        "path, tab-separated: its node, its name as the kernel gives it, and "
                        "its kind (PCI SMBus host controller, USB bridge such as a CP2112 or an "
                        "MCP2221, or other). The adapter used without --smbus is marked "
                        "automatic; with --smbus, the named one is marked --smbus. Graphics "
                        "channels are left out. Exit status 1 when there is none."));
                if (auto outcome = p.parse(args, 0, 0)) {
                    return *outcome;
                }
                return Parsed::run(adapters);
            }};
}

} // namespace qmf::cli
