// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/link/InitForm.h"

#include "core/chip/SharedState.h"
#include "core/install/InstallPaths.h"
#include "core/link/BoardLink.h"
#include "core/text/Boolean16.h"
#include "core/text/NumberText.h"
#include "gui/link/AllDevicesPanel.h"
#include "gui/link/LinkFailureText.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/MainWindowHost.h"
#include "gui/services/UserDialogs.h"
#include "gui/services/WindowRegistry.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStackedWidget>
#include <algorithm>
#include <stdexcept>

namespace qmf {

InitForm::InitForm(AppContext& ctx) : ctx_(ctx) {
    setObjectName(QStringLiteral("InitForm"));
    setWindowTitle(QStringLiteral("QMF4150 Search Wizard"));
    ui_ = buildInitFormPages(this);
    connect(ui_.SMBusAdapterLIST, &QListWidget::currentRowChanged, this,
            [this] { showChosenAdapter(); });
    allDevices_ =
        new AllDevicesPanel([this]() -> BoardLink& { return ctx_.state.board(); },
                            [this] {
                                return searchedBuses(ctx_.state.board(), ui_.PPCheck->isChecked(),
                                                     ui_.SMBusCheck->isChecked());
                            },
                            ui_.SearchResultsPanel);
    ui_.SearchResultsPanel->layout()->addWidget(allDevices_);
    connect(ui_.BackCMD, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { backClicked(); }));
    connect(ui_.NextCMD, &QPushButton::clicked, this,
            ctx_.errors.guard(
                this, [this] { nextClicked(); }, [this] { recoverFromFailedSearch(); }));
    connect(ui_.FinishCMD, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { finishClicked(); }));
    connect(ui_.CancelCMD, &QPushButton::clicked, this, [this] { close(); });
    load();
}

InitForm::~InitForm() = default;

// Load. Each step that fails is skipped and the rest still run, so that a PC without a printer
// port (where switching the heaters off fails) still gets a usable wizard; the failures are
// reported once, at the end.
void InitForm::load() {
    QStringList failures;
    auto attempt = [&failures](auto&& statement) {
        try {
            statement();
        } catch (...) {
            const QString text = linkFailureText(std::current_exception());
            if (!failures.contains(text)) {
                failures << text;
            }
        }
    };

    attempt([this] { osVersion_.emplace(ctx_.state.board()); });
    // The heaters are switched off.
    attempt([this] { ctx_.state.board().parallelPortLink().busEngine().setAuxOutputs(0); });
    attempt([this] {
        CurrentStep_ = 1;
        goToStep(1);
    });
    attempt([this] {
        setWindowTitle(QStringLiteral("QMF4150 Search Wizard"));
        ui_.WelcomeLBL->setText(QStringLiteral("This QMF4150 Search Wizard will find any QMF4150s "
                                               "that can be controled by this software"));
        ui_.WelcomeInstructionsLBL->setText(QStringLiteral("Click 'Next' to start."));
        ui_.PPSearchDescLBL->setText(
            QStringLiteral("Remember to connect the QMF4150 evaluation board to the printer port"));
        ui_.SearchMediumInstLBL->setText(QStringLiteral("Click 'Next' to search for the QMF4150."));
        ui_.SearchingDetailsLBL->setText(
            QStringLiteral("Please wait while searching for available QMF4150s."));
        ui_.SearchResultsLBL->setText(
            QStringLiteral("Please select one of the QMF4150s found above."));
        ui_.SearchInsLBL->setText(QStringLiteral("Click 'Next' to Continue"));
    });
    attempt([this] {
        if (smbusSupported()) {
            ui_.SMBusSearchDescLBL->setText(
                QStringLiteral("The Southbridge or ICH of Intel chipsets. For unsupported Intel "
                               "chipsets, enter SMBBA here (Hex)."));
        } else {
            ui_.SMBusSearchDescLBL->setText(QStringLiteral(
                "Sorry, SMBus communication is only supported on Windows 95 and Windows 98."));
        }
        if (windows95()) {
            ui_.USBSearchDescLBL->setText(
                QStringLiteral("Sorry, USB communication is not supported on Windows 95."));
        }
    });
    attempt([this] {
        if (smbusSupported()) {
            ui_.SMBusBaseAddressTXT->setText(
                text::hex(quint32(ctx_.state.board().smbusLink().BaseAddress())));
        } else {
            setDarkRed(ui_.SMBusSearchDescLBL);
            // On this platform the reason is that no SMBus adapter was found; say so where the
            // user looks for help.
            ui_.SMBusSearchDescLBL->setToolTip(
                QStringLiteral("No SMBus adapter was found on this computer (/dev/i2c-N). Plug "
                               "in a USB-to-SMBus bridge or load the SMBus controller's driver, "
                               "load the i2c-dev module, or name the adapter with --smbus "
                               "/dev/i2c-N; see %1.")
                    .arg(install::hardwareGuide()));
            ui_.SMBusCheck->setChecked(false);
            ui_.SMBusCheck->setEnabled(false);
            ui_.SMBusBaseAddressTXT->setEnabled(false);
        }
    });
    attempt([this] { loadAdapters(); });
    attempt([this] {
        if (windows95()) {
            setDarkRed(ui_.USBSearchDescLBL);
            ui_.USBCheck->setChecked(false);
            ui_.USBCheck->setEnabled(false);
        }
    });
    finds_.clear();
    ResultAddresses_.clear();

    if (!failures.isEmpty()) {
        // The message is the wizard's own; what failed is there for whoever asks.
        ctx_.dialogs.detailedMessage(this, UserDialogs::Icon::Critical, QStringLiteral("Error"),
                                     QStringLiteral("Error in Init Form Load"),
                                     failures.join(QLatin1Char('\n')));
    }
}

int InitForm::buildNumber() const {
    // The build number is asked anew for each comparison; without a board there is none.
    if (!osVersion_) {
        return 0;
    }
    bool ok = false;
    const int build = osVersion_->BuildNumber().trimmed().toInt(&ok);
    return ok ? build : 0;
}

bool InitForm::smbusSupported() const {
    const int build = buildNumber();
    return build == 950 || build == 1111 || build == 1998 || build == 2222;
}

bool InitForm::windows95() const {
    const int build = buildNumber();
    return build == 950 || build == 1111;
}

void InitForm::goToStep(int step) {
    ui_.panels->setCurrentWidget(ui_.panel(step));
}

void InitForm::nextClicked() {
    NavigateDirection_ = -1;
    switch (CurrentStep_) {
    case 1:
        CurrentStep_ = 2;
        goToStep(2);
        ui_.BackCMD->setEnabled(true);
        loadAdapters();
        break;
    case 2:
        search();
        break;
    default:
        break;
    }
}

void InitForm::backClicked() {
    NavigateDirection_ = 0;
    switch (CurrentStep_) {
    case 2:
        CurrentStep_ = 1;
        goToStep(1);
        ui_.BackCMD->setEnabled(false);
        break;
    case 4:
        allDevices_->clear();
        ui_.SearchResultsLIST->clear();
        finds_.clear();
        ResultAddresses_.clear();
        ui_.SearchNoteLBL->clear();
        ui_.SearchNoteLBL->hide();
        CurrentStep_ = 2;
        goToStep(2);
        ui_.NextCMD->setEnabled(true);
        ui_.FinishCMD->setEnabled(false);
        loadAdapters();
        break;
    default:
        break;
    }
}

void InitForm::finishClicked() {
    if (ResultAddresses_.isEmpty()) {
        return;
    }
    // The list holds the finds in find order, so the selected row is the find to apply.
    const int row =
        std::clamp(ui_.SearchResultsLIST->currentRow(), 0, int(ResultAddresses_.size()) - 1);
    const QStringList failures = DeviceSearch::applyEntry(ctx_.state, finds_, row);
    QString device;
    if (const QListWidgetItem* chosen = ui_.SearchResultsLIST->item(row)) {
        const QString board =
            ctx_.state.hasBoard()
                ? QStringLiteral(" (") + ctx_.state.board().description() + QLatin1Char(')')
                : QString();
        device = chosen->text() + board;
    }
    QWidget* main = ctx_.main().showMainWindow(device);
    close();
    if (!failures.isEmpty()) {
        // The device is chosen all the same; the user learns which set-up steps failed.
        ctx_.errors.run(main, [&failures] {
            throw std::runtime_error(
                (QStringLiteral("The chosen QMF4150 could not be set up completely: ") +
                 failures.join(QStringLiteral("; ")))
                    .toStdString());
        });
    }
}

void InitForm::closeEvent(QCloseEvent* event) {
    if (!fromBoolean16(ctx_.state.DeviceChosen)) {
        // Without a device there is nothing to work with: every window is unloaded.
        const QList<QWidget*> open = ctx_.windows.windows();
        for (QWidget* window : open) {
            if (window == this) {
                continue;
            }
            if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
                sub->close();
            } else {
                window->close();
            }
        }
        emit programEnding();
    }
    event->accept();
}

void InitForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ui_.NextCMD->isEnabled()) {
            ui_.NextCMD->click();
        } else if (ui_.FinishCMD->isEnabled()) {
            ui_.FinishCMD->click();
        }
        return;
    case Qt::Key_Escape:
        if (ui_.CancelCMD->isEnabled()) {
            ui_.CancelCMD->click();
        }
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace qmf
