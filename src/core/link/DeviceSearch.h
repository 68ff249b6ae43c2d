// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace qmf {

class BoardLink;
class SharedState;

// Candidate device addresses (8-bit form), tried in this order.
constexpr std::array<quint8, 8> AddressCandidates = {0x5E, 0x5C, 0x5A, 0x58,
                                                     0x56, 0x54, 0x52, 0x50};

// What a search found, in find order.
struct SearchFinds {
    QList<int> ParallelFinds;      // address of each chip found through a printer port
    QList<int> ParallelFindPorts;  // its port index
    QList<bool> ParallelFindModes; // the AlternateMode read back when it answered
    QList<int> SmbusFinds;         // address of each chip found on the on-board SMBus
    void clear();
    bool empty() const { return ParallelFinds.isEmpty() && SmbusFinds.isEmpty(); }
};

// A search narrowed to what a caller was told: one address, one bus mode, and whether to stop at
// the first find. The default probes what the program's search probes.
struct SearchScope {
    std::optional<quint8> address;     // only this candidate
    std::optional<bool> alternateMode; // only this AlternateMode on the printer ports
    bool firstOnly = false;            // stop at the first chip that answers
};

// One line of the results list, with the device address it stands for.
struct SearchResultEntry {
    QString text;
    int address = 0;
};

// Probes the candidate addresses for a chip whose register 0x0D reads 0x41. The probing itself
// throws LinkError on a board failure; the caller decides what the user sees.
class DeviceSearch {
public:
    explicit DeviceSearch(BoardLink& board) : board_(board) {}

    // Called before each probe group with the progress step to add (8 per printer port,
    // 4 per SMBus candidate); the caller clamps the progress to its maximum.
    std::function<void(int step)> onProgress;

    // Every port, in index order: AlternateMode False then True, all candidates each time.
    void searchPrinterPorts(SearchFinds& finds);
    // One port only, the same way (no progress step): for callers that were told which port to
    // use and must not touch the others. Within `scope` only; true when it stopped at a find.
    bool searchPrinterPort(SearchFinds& finds, int port, const SearchScope& scope = {});
    // Every candidate on the on-board SMBus (within `scope`; true when it stopped at a find).
    bool searchSmbus(SearchFinds& finds, const SearchScope& scope = {});

    // The results list: printer-port finds first (each selects its port to read PortAddress),
    // then SMBus finds, in find order.
    QList<SearchResultEntry> resultEntries(const SearchFinds& finds);

    static QString parallelEntryText(int address, qint16 portAddress);
    static QString smbusEntryText(int address);

    // Finish for the results list entry at `row` (resultEntries' order): configure the board
    // link for that find alone and record the device in the shared state. Each failing statement
    // is skipped and the next one runs; DeviceChosen is set in any case, DeviceAddress whenever
    // the row exists. Returns the messages of the statements that failed.
    static QStringList applyEntry(SharedState& state, const SearchFinds& finds, int row);
    // The same for the first find at `address`; with none there, only DeviceChosen and
    // DeviceAddress are set.
    static QStringList applyChoice(SharedState& state, const SearchFinds& finds, int address);

private:
    bool probe(int address, bool printerPort);
    BoardLink& board_;
};

} // namespace qmf
