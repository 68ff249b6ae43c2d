// SPDX-License-Identifier: GPL-3.0-or-later
// The device search wizard's search: Next on step 2 probes the checked media and fills the
// results; a medium that fails is noted on the results page and the other one still searched.
#include "core/chip/SharedState.h"
#include "core/link/BoardLink.h"
#include "gui/link/InitForm.h"
#include "gui/link/LinkFailureText.h"
#include "gui/services/AppContext.h"
#include "gui/services/MainWindowHost.h"
#include "gui/services/UserDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

namespace qmf {

namespace {

// The progress bar runs to this much per checked medium.
constexpr int ProgressPerMedium = 33;

// The hourglass while the search keeps the event loop busy, restored however the search ends.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void InitForm::advanceProgress(int step) {
    // Never past the maximum.
    ui_.SearchProgress->setValue(
        std::min(ui_.SearchProgress->value() + step, ui_.SearchProgress->maximum()));
    ui_.SearchingPanel->repaint();
}

void InitForm::search() {
    const int media = int(ui_.PPCheck->isChecked()) + int(ui_.SMBusCheck->isChecked()) +
                      int(ui_.USBCheck->isChecked());
    if (media == 0) {
        ctx_.dialogs.message(this, UserDialogs::Icon::None,
                             QStringLiteral("A problem was detected"),
                             QStringLiteral("Please select a search medium"));
        return;
    }
    CurrentStep_ = 3;
    goToStep(3);
    ui_.SearchingPanel->repaint();
    for (QPushButton* button : {ui_.BackCMD, ui_.NextCMD, ui_.FinishCMD, ui_.CancelCMD}) {
        button->setEnabled(false);
    }
    QStringList notes;
    {
        WaitCursor hourglass;
        ctx_.main().loadMainWindow();
        ui_.SearchProgress->setValue(0);
        ui_.SearchProgress->setMaximum(ProgressPerMedium * media);
        std::optional<DeviceSearch> deviceSearch;
        try {
            deviceSearch.emplace(ctx_.state.board());
            // The bus health counts from each new search on.
            ctx_.state.board().busHealth().reset();
        } catch (...) {
            notes << QStringLiteral("The search failed: ") +
                         linkFailureText(std::current_exception());
        }
        if (deviceSearch) {
            deviceSearch->onProgress = [this](int step) { advanceProgress(step); };
            runSearch(*deviceSearch, notes);
        }
        ui_.CancelCMD->setEnabled(true);
        ui_.BackCMD->setEnabled(true);
        ui_.FinishCMD->setEnabled(true);
        ui_.NextCMD->setEnabled(false);
        fillResults(deviceSearch ? &*deviceSearch : nullptr, notes);
    }
    CurrentStep_ = 4;
    goToStep(4);
    ui_.SearchProgress->setValue(0);
}

void InitForm::runSearch(DeviceSearch& deviceSearch, QStringList& notes) {
    if (ui_.PPCheck->isChecked()) {
        // The search reports one progress step per printer port: none means no port at all.
        int ports = 0;
        deviceSearch.onProgress = [this, &ports](int step) {
            ++ports;
            advanceProgress(step);
        };
        try {
            deviceSearch.searchPrinterPorts(finds_);
            if (ports == 0) {
                notes << QStringLiteral("No printer port was found on this computer.");
            }
        } catch (...) {
            notes << QStringLiteral("The search on the printer port failed: ") +
                         linkFailureText(std::current_exception());
        }
        deviceSearch.onProgress = [this](int step) { advanceProgress(step); };
    }
    if (ui_.SMBusCheck->isChecked()) {
        try {
            useChosenAdapter();
            deviceSearch.searchSmbus(finds_);
        } catch (...) {
            notes << QStringLiteral("The search on the SMBus failed: ") +
                         linkFailureText(std::current_exception());
        }
    }
}

void InitForm::fillResults(DeviceSearch* deviceSearch, QStringList& notes) {
    QList<SearchResultEntry> entries;
    if (deviceSearch != nullptr) {
        try {
            entries = deviceSearch->resultEntries(finds_);
        } catch (...) {
            notes << QStringLiteral("The search results could not be read: ") +
                         linkFailureText(std::current_exception());
        }
    }
    for (const SearchResultEntry& entry : entries) {
        ui_.SearchResultsLIST->addItem(entry.text);
        ui_.SearchResultsLIST->setCurrentRow(0);
        ui_.SearchInsLBL->setText(QStringLiteral("Click Finish to continue..."));
        ResultAddresses_.append(entry.address);
    }
    if (!entries.isEmpty()) {
        ui_.SearchResultsLBL->setText(
            QStringLiteral("Please select one of the QMF4150s found above."));
    } else {
        ui_.SearchResultsLBL->setText(QStringLiteral(
            "Sorry, no QMF4150s were found. Please check all connections and try again"));
        ui_.SearchInsLBL->setText(QStringLiteral("Click Back to continue..."));
        ui_.FinishCMD->setEnabled(false);
        ui_.SearchResultsLIST->clear();
    }
    ui_.SearchNoteLBL->setText(notes.join(QLatin1Char('\n')));
    ui_.SearchNoteLBL->setVisible(!notes.isEmpty());
}

void InitForm::recoverFromFailedSearch() {
    // Whatever went wrong, the user can go back and try again, or cancel.
    ui_.SearchProgress->setValue(0);
    ui_.SearchResultsLIST->clear();
    finds_.clear();
    ResultAddresses_.clear();
    CurrentStep_ = 2;
    goToStep(2);
    ui_.BackCMD->setEnabled(true);
    ui_.NextCMD->setEnabled(true);
    ui_.FinishCMD->setEnabled(false);
    ui_.CancelCMD->setEnabled(true);
}

} // namespace qmf
