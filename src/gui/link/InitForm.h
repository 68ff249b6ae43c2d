// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/DeviceSearch.h"
#include "core/link/OsVersionInfo.h"
#include "core/link/SmbusAdapters.h"
#include "gui/link/InitFormPages.h"

#include <QWidget>
#include <optional>

namespace qmf {

class AllDevicesPanel;
struct AppContext;

// The device search wizard, the first window of the program. Four steps: welcome, choice of the
// medium (printer port, on-board SMBus), search, results. Finish configures the board link for
// the chosen find, records the device in the shared state and shows the main window; closing
// the wizard without a chosen device unloads every window, which ends the program.
class InitForm final : public QWidget {
    Q_OBJECT
public:
    static constexpr bool TopLevelWindow = true;

    explicit InitForm(AppContext& ctx);
    ~InitForm() override;

    // 1 welcome, 2 medium choice, 3 searching, 4 results.
    int currentStep() const { return CurrentStep_; }
    // What the last search found, and the device address of each results list entry.
    const SearchFinds& finds() const { return finds_; }
    const QList<int>& resultAddresses() const { return ResultAddresses_; }

signals:
    // The wizard closed without a chosen device and has unloaded every window.
    void programEnding();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void load();
    void goToStep(int step);
    void nextClicked();
    void backClicked();
    void finishClicked();
    int buildNumber() const;
    bool smbusSupported() const;
    bool windows95() const;

    // The search (Next on step 2) and its results, in InitFormSearch.cpp.
    void search();
    void runSearch(DeviceSearch& deviceSearch, QStringList& notes);
    void fillResults(DeviceSearch* deviceSearch, QStringList& notes);
    void advanceProgress(int step);
    void recoverFromFailedSearch();

    // The adapter list of step 2, in InitFormAdapters.cpp: filled anew whenever step 2 comes
    // on view (a bridge may have been plugged in); the search puts the SMBus path on the chosen
    // adapter and remembers it for the next start.
    void loadAdapters();
    void showChosenAdapter();
    void useChosenAdapter();

    AppContext& ctx_;
    int CurrentStep_ = 1;
    int NavigateDirection_ = 0;
    std::optional<OsVersionInfo> osVersion_;
    SearchFinds finds_;
    QList<int> ResultAddresses_;
    QList<SmbusAdapter> adapters_; // the lines of SMBusAdapterLIST
    InitFormPages ui_;
    AllDevicesPanel* allDevices_ = nullptr; // "Show all devices", below the results
};

} // namespace qmf
