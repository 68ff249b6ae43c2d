// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace qmf {

class BoardLink;

// One bus a scan looks at: a printer port in one bus mode, or the PC's SMBus.
struct ScanTarget {
    enum class Medium { PrinterPort, Smbus };
    Medium medium = Medium::PrinterPort;
    int port = 0;           // the printer port's index
    bool alternate = false; // the printer port's AlternateMode
};

// What answered on one bus, as 7-bit addresses.
struct BusScanResult {
    ScanTarget target;
    QString label;        // "printer port 0 (378h), standard bus mode", "SMBus (base 400h)"
    QList<int> answering; // every address that acknowledged, ascending
    QList<int> qmf4150;   // of them, the QMF4150s: register D reads 41
    int lastProbed = 0;   // the scan got this far (the last address when it went through)
    QString failure;      // why the bus failed, ending the scan there; empty when it did not
};

// The addresses a scan probes, as i2cdetect does: the ones below and above are reserved by the
// bus (general call, other bus formats, 10-bit addressing) and a read there means nothing.
inline constexpr int FirstScanAddress = 0x03;
inline constexpr int LastScanAddress = 0x77;

// Probes every address of the bus by reads only (a read of one byte at the address; no register
// number is written), then reads register D of each answering QMF4150 address (50h to 5Eh in the
// 8-bit form) to mark the QMF4150s. A printer port is selected with its bus mode first. A link
// failure ends the scan of this bus and is kept in `failure`.
BusScanResult scanBus(BoardLink& board, const ScanTarget& target);

// The result as i2cdetect shows it: a header line and eight rows of sixteen cells, "--" where
// nobody answered, the address in hex where a device did, "*" before a QMF4150's address,
// blank where no probe was made, "??" past a failure; no line ends in blanks.
QStringList scanGrid(const BusScanResult& result);
// The cell text alone, for grids drawn otherwise: "", "--", "2f", "??".
QString scanCell(const BusScanResult& result, int address);

} // namespace qmf
