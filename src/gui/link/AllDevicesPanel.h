// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/BusScan.h"

#include <QList>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace qmf {

class BoardLink;

// "Show all devices" on the device search's results page, below the find list: a click probes
// every address of each bus the search looked at (reads only) and shows one bus at a time as a
// 16 x 8 grid, as i2cdetect does ("--" where nobody answered, the 7-bit address where a device
// did, QMF4150s marked). Controls: ShowAllDevicesCMD, AllDevicesBusCMB (the bus shown),
// AllDevicesGRID, AllDevicesNoteLBL (a bus that failed).
class AllDevicesPanel final : public QWidget {
    Q_OBJECT
public:
    // `board` gives the board link and `buses` the buses to scan, when the button is clicked.
    AllDevicesPanel(std::function<BoardLink&()> board, std::function<QList<ScanTarget>()> buses,
                    QWidget* parent);

    // Scans every bus and shows the first.
    void scan();
    // Back to the button alone (a new search).
    void clear();

    const QList<BusScanResult>& results() const { return results_; }

private:
    void showBus(int index);

    std::function<BoardLink&()> board_;
    std::function<QList<ScanTarget>()> buses_;
    QList<BusScanResult> results_;
    QPushButton* button_;
    QComboBox* busList_;
    QTableWidget* grid_;
    QLabel* note_;
};

// The buses a search of these media looks at: every printer port in the standard, then the
// alternate bus mode, then the PC's SMBus.
QList<ScanTarget> searchedBuses(BoardLink& board, bool printerPorts, bool smbus);

} // namespace qmf
