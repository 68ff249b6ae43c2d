// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolButton>

class QStatusBar;
class QTimer;

namespace qmf {

class BusHealth;
class UserDialogs;

// A permanent status bar field (BusHealthCMD) with the board link's bus health in one line
// ("Bus: 17 transfers, 0 failed, 1190/s"), red while failed transfers are counted. It reads the
// counters every second (BusHealthTimer); a click shows all of them.
class BusHealthStatus final : public QToolButton {
    Q_OBJECT
public:
    static constexpr int RefreshMs = 1000;

    BusHealthStatus(BusHealth& health, UserDialogs& dialogs, QWidget* parent);

    // Reads the counters now.
    void refresh();
    // The message box with every counter.
    void showDetails();

private:
    BusHealth& health_;
    UserDialogs& dialogs_;
    QTimer* timer_;
};

BusHealthStatus* addBusHealthStatus(QStatusBar& statusBar, BusHealth& health, UserDialogs& dialogs);

} // namespace qmf
