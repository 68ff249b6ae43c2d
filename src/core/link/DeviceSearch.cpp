// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/DeviceSearch.h"

#include "core/chip/RegisterMap.h"
#include "core/chip/SharedState.h"
#include "core/link/BoardLink.h"
#include "core/link/LinkErrors.h"
#include "core/text/Boolean16.h"
#include "core/text/NumberText.h"

#include <QStringList>
#include <exception>

namespace qmf {

namespace {

// The progress bar runs to 33 per medium; its steps are the integer parts of 33/4 per printer
// port and of 33/7 per SMBus candidate.
constexpr int ProgressRange = 33;
constexpr int PrinterPortStep = ProgressRange / 4;
constexpr int SmbusStep = ProgressRange / int(AddressCandidates.size() - 1);

constexpr int PrinterPortMedium = 0; // ActiveMedium values of the board link
constexpr int SmbusMedium = 1;
constexpr qint16 PrinterPortComms = 1; // CommsMedium values of the register access
constexpr qint16 SmbusComms = 0;

quint8 toByte(int value) {
    if (value < 0 || value > 255) {
        throw OverflowError(
            QStringLiteral("device address %1 does not fit a byte (0 to 255)").arg(value));
    }
    return quint8(value);
}

// Runs one statement of Finish; a failure is recorded and the next statement runs regardless.
template <class Statement> void attempt(QStringList& failures, Statement&& statement) {
    try {
        statement();
    } catch (const LinkError& error) {
        failures << error.message();
    } catch (const std::exception& error) {
        failures << QString::fromUtf8(error.what());
    }
}

} // namespace

void SearchFinds::clear() {
    ParallelFinds.clear();
    ParallelFindPorts.clear();
    ParallelFindModes.clear();
    SmbusFinds.clear();
}

bool DeviceSearch::probe(int address, bool printerPort) {
    quint8 value = 0;
    if (printerPort) {
        board_.parallelPortLink().busEngine().ReadByte(quint8(address), Reg::ManufacturerId, value);
    } else {
        board_.smbusLink().ReadByte(quint8(address), Reg::ManufacturerId, value);
    }
    return value == Reg::ManufacturerIdValue;
}

void DeviceSearch::searchPrinterPorts(SearchFinds& finds) {
    const int portCount = board_.parallelPortLink().PortCount();
    for (int port = 0; port < portCount; ++port) {
        if (onProgress) {
            onProgress(PrinterPortStep);
        }
        searchPrinterPort(finds, port);
    }
}

bool DeviceSearch::searchPrinterPort(SearchFinds& finds, int port, const SearchScope& scope) {
    board_.parallelPortLink().setPortIndex(quint8(port));
    for (bool alternate : {false, true}) {
        if (scope.alternateMode && *scope.alternateMode != alternate) {
            continue;
        }
        board_.parallelPortLink().busEngine().setAlternateMode(alternate);
        for (quint8 address : AddressCandidates) {
            if (scope.address && *scope.address != address) {
                continue;
            }
            if (probe(address, true)) {
                finds.ParallelFinds << address;
                finds.ParallelFindPorts << port;
                finds.ParallelFindModes << board_.parallelPortLink().busEngine().AlternateMode();
                if (scope.firstOnly) {
                    return true;
                }
            }
        }
    }
    return false;
}

bool DeviceSearch::searchSmbus(SearchFinds& finds, const SearchScope& scope) {
    for (quint8 address : AddressCandidates) {
        if (scope.address && *scope.address != address) {
            continue;
        }
        if (onProgress) {
            onProgress(SmbusStep);
        }
        if (probe(address, false)) {
            finds.SmbusFinds << address;
            if (scope.firstOnly) {
                return true;
            }
        }
    }
    return false;
}

QString DeviceSearch::parallelEntryText(int address, qint16 portAddress) {
    return QStringLiteral("Found an QMF4150 at:") + text::hex(quint32(address)) +
           QStringLiteral("h, on printer port:") + text::hex(quint16(portAddress)) +
           QStringLiteral("h");
}

QString DeviceSearch::smbusEntryText(int address) {
    return QStringLiteral("An QMF4150 was found at:") + text::hex(quint32(address)) +
           QStringLiteral("h, on the SMBus");
}

QList<SearchResultEntry> DeviceSearch::resultEntries(const SearchFinds& finds) {
    QList<SearchResultEntry> entries;
    for (qsizetype i = 0; i < finds.ParallelFinds.size(); ++i) {
        const int address = finds.ParallelFinds[i];
        board_.parallelPortLink().setPortIndex(quint8(finds.ParallelFindPorts[i]));
        const qint16 portAddress = board_.parallelPortLink().PortAddress();
        entries << SearchResultEntry{parallelEntryText(address, portAddress), address};
    }
    for (int address : finds.SmbusFinds) {
        entries << SearchResultEntry{smbusEntryText(address), address};
    }
    return entries;
}

QStringList DeviceSearch::applyEntry(SharedState& state, const SearchFinds& finds, int row) {
    QStringList failures;
    const qsizetype parallel = finds.ParallelFinds.size();
    int address = -1;
    // Only the find behind the chosen entry is applied: another find at the same address (the
    // other bus mode, the other medium) must not take the path over.
    if (row >= 0 && row < parallel) {
        address = finds.ParallelFinds[row];
        const int port = finds.ParallelFindPorts.value(row);
        const bool mode = finds.ParallelFindModes.value(row);
        attempt(failures, [&] { state.board().parallelPortLink().setPortIndex(toByte(port)); });
        attempt(failures,
                [&] { state.board().parallelPortLink().busEngine().setAlternateMode(mode); });
        attempt(failures, [&] {
            state.board().parallelPortLink().busEngine().setTargetAddress(toByte(address));
        });
        attempt(failures, [&] { state.board().setActiveMedium(PrinterPortMedium); });
        state.CommsMedium = PrinterPortComms;
        attempt(failures, [&] {
            state.SavedTransferSetting =
                state.board().parallelPortLink().busEngine().TransferSetting();
        });
    } else if (row >= parallel && row < parallel + finds.SmbusFinds.size()) {
        address = finds.SmbusFinds[row - parallel];
        attempt(failures, [&] { state.board().smbusLink().setTargetAddress(toByte(address)); });
        attempt(failures, [&] { state.board().setActiveMedium(SmbusMedium); });
        state.CommsMedium = SmbusComms;
    } else {
        failures << QStringLiteral("the search found no QMF4150 number %1").arg(row + 1);
    }
    state.DeviceChosen = True16;
    if (address >= 0) {
        attempt(failures, [&] { state.DeviceAddress = toByte(address); });
    }
    return failures;
}

QStringList DeviceSearch::applyChoice(SharedState& state, const SearchFinds& finds, int address) {
    qsizetype row = finds.ParallelFinds.indexOf(address);
    if (row < 0 && finds.SmbusFinds.contains(address)) {
        row = finds.ParallelFinds.size() + finds.SmbusFinds.indexOf(address);
    }
    if (row >= 0) {
        return applyEntry(state, finds, int(row));
    }
    // Nothing found there to configure; the device is recorded all the same.
    QStringList failures;
    state.DeviceChosen = True16;
    attempt(failures, [&] { state.DeviceAddress = toByte(address); });
    return failures;
}

} // namespace qmf
