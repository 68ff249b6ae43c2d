// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/link/InitForm.h"

#include "core/chip/SharedState.h"
#include "core/link/BoardLink.h"
#include "core/link/LinkErrors.h"
#include "core/text/Boolean16.h"
#include "core/text/NumberText.h"
#include "gui/link/WizardPicture.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/MainWindowHost.h"
#include "gui/services/UserDialogs.h"
#include "gui/services/WindowRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <exception>
#include <stdexcept>

namespace qmf {

namespace {

const QColor DarkRed(192, 0, 0);

// The progress bar runs to this much per checked medium.
constexpr int ProgressPerMedium = 33;

// The text of whatever a board operation threw.
QString failureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const LinkError& e) {
        return e.message();
    } catch (const OverflowError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

// The hourglass while the search keeps the event loop busy, restored however the search ends.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    return label;
}

QWidget* makePanel(const char* name) {
    auto* panel = new QWidget;
    panel->setObjectName(QLatin1String(name));
    return panel;
}

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

InitForm::InitForm(AppContext& ctx) : ctx_(ctx) {
    buildUi();
    load();
}

InitForm::~InitForm() = default;

void InitForm::buildUi() {
    setObjectName(QStringLiteral("InitForm"));
    setWindowTitle(QStringLiteral("QMF4150 Search Wizard"));

    // Step 1.
    WelcomePanel_ = makePanel("WelcomePanel");
    WelcomeLBL_ = makeLabel(WelcomePanel_, "WelcomeLBL");
    QFont heading = WelcomeLBL_->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.35);
    heading.setBold(true);
    WelcomeLBL_->setFont(heading);
    WelcomeInstructionsLBL_ = makeLabel(WelcomePanel_, "WelcomeInstructionsLBL");
    {
        auto* layout = new QVBoxLayout(WelcomePanel_);
        layout->addWidget(WelcomeLBL_);
        layout->addSpacing(16);
        layout->addWidget(WelcomeInstructionsLBL_);
        layout->addStretch(1);
    }

    // Step 2.
    SeclectComsMediumPanel_ = makePanel("SeclectComsMediumPanel");
    PPCheck_ = new QCheckBox(QStringLiteral("Parallel Printer Port"), SeclectComsMediumPanel_);
    PPCheck_->setObjectName(QStringLiteral("PPCheck"));
    PPCheck_->setChecked(true);
    SMBusCheck_ = new QCheckBox(QStringLiteral("On-Board SMBus"), SeclectComsMediumPanel_);
    SMBusCheck_->setObjectName(QStringLiteral("SMBusCheck"));
    USBCheck_ = new QCheckBox(QStringLiteral("USB"), SeclectComsMediumPanel_);
    USBCheck_->setObjectName(QStringLiteral("USBCheck"));
    // There is no USB link: the medium is shown but can never be chosen.
    USBCheck_->setEnabled(false);
    PPSearchDescLBL_ = makeLabel(SeclectComsMediumPanel_, "PPSearchDescLBL");
    SMBusSearchDescLBL_ = makeLabel(SeclectComsMediumPanel_, "SMBusSearchDescLBL");
    USBSearchDescLBL_ =
        makeLabel(SeclectComsMediumPanel_, "USBSearchDescLBL",
                  QStringLiteral("Connect the evaluation board to the printer port"));
    SMBusBaseAddressTXT_ = new QLineEdit(QStringLiteral("000"), SeclectComsMediumPanel_);
    SMBusBaseAddressTXT_->setObjectName(QStringLiteral("SMBusBaseAddressTXT"));
    // The board link finds its SMBus controller itself (or takes the adapter from the command
    // line); the box shows what it found.
    SMBusBaseAddressTXT_->setReadOnly(true);
    SMBusBaseAddressTXT_->setMaximumWidth(80);
    SMBusBaseAddressTXT_->setAccessibleName(QStringLiteral("SMBus base address (hex)"));
    SMBusBaseAddressTXT_->setToolTip(
        QStringLiteral("The SMBus controller's base address; choose another adapter with "
                       "--smbus /dev/i2c-N"));
    SearchMediumInstLBL_ = makeLabel(SeclectComsMediumPanel_, "SearchMediumInstLBL");
    {
        auto* grid = new QGridLayout;
        grid->setColumnStretch(1, 1);
        grid->setHorizontalSpacing(12);
        grid->setVerticalSpacing(4);
        auto indent = [](QLabel* label) {
            label->setIndent(22);
            return label;
        };
        grid->addWidget(PPCheck_, 0, 0, 1, 2);
        grid->addWidget(indent(PPSearchDescLBL_), 1, 0, 1, 2);
        grid->setRowMinimumHeight(2, 10);
        grid->addWidget(SMBusCheck_, 3, 0, 1, 2);
        grid->addWidget(indent(SMBusSearchDescLBL_), 4, 0, 1, 2);
        grid->addWidget(SMBusBaseAddressTXT_, 5, 0, Qt::AlignLeft);
        SMBusBaseAddressTXT_->setContentsMargins(22, 0, 0, 0);
        grid->setRowMinimumHeight(6, 10);
        grid->addWidget(USBCheck_, 7, 0, 1, 2);
        grid->addWidget(indent(USBSearchDescLBL_), 8, 0, 1, 2);
        auto* layout = new QVBoxLayout(SeclectComsMediumPanel_);
        layout->addLayout(grid);
        layout->addStretch(1);
        layout->addWidget(SearchMediumInstLBL_);
    }

    // Step 3.
    SearchingPanel_ = makePanel("SearchingPanel");
    SearchingLBL_ = makeLabel(SearchingPanel_, "SearchingLBL", QStringLiteral("Searching"));
    SearchingLBL_->setFont(heading);
    SearchingDetailsLBL_ = makeLabel(SearchingPanel_, "SearchingDetailsLBL");
    SearchProgress_ = new QProgressBar(SearchingPanel_);
    SearchProgress_->setObjectName(QStringLiteral("SearchProgress"));
    SearchProgress_->setTextVisible(false);
    SearchProgress_->setRange(0, ProgressPerMedium);
    SearchProgress_->setValue(0);
    SearchProgress_->setAccessibleName(QStringLiteral("Search progress"));
    {
        auto* layout = new QVBoxLayout(SearchingPanel_);
        layout->addWidget(SearchingLBL_);
        layout->addSpacing(12);
        layout->addWidget(SearchingDetailsLBL_);
        layout->addSpacing(12);
        layout->addWidget(SearchProgress_);
        layout->addStretch(1);
    }

    // Step 4.
    SearchResultsPanel_ = makePanel("SearchResultsPanel");
    SearchResultsDescLBL_ =
        makeLabel(SearchResultsPanel_, "SearchResultsDescLBL", QStringLiteral("Search Results"));
    SearchResultsDescLBL_->setFont(heading);
    SearchResultsLIST_ = new QListWidget(SearchResultsPanel_);
    SearchResultsLIST_->setObjectName(QStringLiteral("SearchResultsLIST"));
    SearchResultsLIST_->setAccessibleName(QStringLiteral("Search results"));
    SearchResultsLIST_->setSelectionMode(QAbstractItemView::SingleSelection);
    SearchResultsLBL_ = makeLabel(SearchResultsPanel_, "SearchResultsLBL");
    SearchInsLBL_ = makeLabel(SearchResultsPanel_, "SearchInsLBL");
    // What went wrong with a medium (no printer port, a failed transfer); hidden when nothing did.
    SearchNoteLBL_ = makeLabel(SearchResultsPanel_, "SearchNoteLBL");
    setTextColour(SearchNoteLBL_, DarkRed);
    SearchNoteLBL_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SearchNoteLBL_->hide();
    {
        auto* layout = new QVBoxLayout(SearchResultsPanel_);
        layout->addWidget(SearchResultsDescLBL_);
        layout->addWidget(SearchResultsLIST_, 1);
        layout->addWidget(SearchNoteLBL_);
        layout->addWidget(SearchResultsLBL_);
        layout->addSpacing(8);
        layout->addWidget(SearchInsLBL_);
    }

    panels_ = new QStackedWidget(this);
    panels_->setObjectName(QStringLiteral("Panels"));
    for (QWidget* panel :
         {WelcomePanel_, SeclectComsMediumPanel_, SearchingPanel_, SearchResultsPanel_}) {
        panel->layout()->setContentsMargins(4, 4, 4, 4);
        panels_->addWidget(panel);
    }

    auto makeButton = [this](const char* name, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        button->setMinimumWidth(88);
        return button;
    };
    BackCMD_ = makeButton("BackCMD", QStringLiteral("< Back"));
    NextCMD_ = makeButton("NextCMD", QStringLiteral("Next >"));
    FinishCMD_ = makeButton("FinishCMD", QStringLiteral("Finish"));
    CancelCMD_ = makeButton("CancelCMD", QStringLiteral("Cancel"));
    BackCMD_->setEnabled(false);
    FinishCMD_->setEnabled(false);
    NextCMD_->setDefault(true);

    connect(BackCMD_, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { backClicked(); }));
    connect(NextCMD_, &QPushButton::clicked, this,
            ctx_.errors.guard(
                this, [this] { nextClicked(); }, [this] { recoverFromFailedSearch(); }));
    connect(FinishCMD_, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { finishClicked(); }));
    connect(CancelCMD_, &QPushButton::clicked, this, [this] { close(); });

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BackCMD_);
    buttons->addWidget(NextCMD_);
    buttons->addSpacing(8);
    buttons->addWidget(FinishCMD_);
    buttons->addSpacing(8);
    buttons->addWidget(CancelCMD_);

    auto* content = new QVBoxLayout;
    content->setContentsMargins(18, 18, 18, 12);
    content->addWidget(panels_, 1);
    content->addWidget(separator);
    content->addSpacing(4);
    content->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new WizardPicture(this));
    layout->addLayout(content, 1);

    setTabOrder(NextCMD_, FinishCMD_);
    setTabOrder(FinishCMD_, CancelCMD_);
    setTabOrder(CancelCMD_, BackCMD_);
    resize(640, 400);
}

// Load. Each step that fails is skipped and the rest still run, so that a PC without a printer
// port (where switching the heaters off fails) still gets a usable wizard; the failures are
// reported once, at the end.
void InitForm::load() {
    QStringList failures;
    auto attempt = [&failures](auto&& statement) {
        try {
            statement();
        } catch (...) {
            const QString text = failureText(std::current_exception());
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
        WelcomeLBL_->setText(QStringLiteral("This QMF4150 Search Wizard will find any QMF4150s "
                                            "that can be controled by this software"));
        WelcomeInstructionsLBL_->setText(QStringLiteral("Click 'Next' to start."));
        PPSearchDescLBL_->setText(
            QStringLiteral("Remember to connect the QMF4150 evaluation board to the printer port"));
        SearchMediumInstLBL_->setText(QStringLiteral("Click 'Next' to search for the QMF4150."));
        SearchingDetailsLBL_->setText(
            QStringLiteral("Please wait while searching for available QMF4150s."));
        SearchResultsLBL_->setText(
            QStringLiteral("Please select one of the QMF4150s found above."));
        SearchInsLBL_->setText(QStringLiteral("Click 'Next' to Continue"));
    });
    attempt([this] {
        if (smbusSupported()) {
            SMBusSearchDescLBL_->setText(
                QStringLiteral("The Southbridge or ICH of Intel chipsets. For unsupported Intel "
                               "chipsets, enter SMBBA here (Hex)."));
        } else {
            SMBusSearchDescLBL_->setText(QStringLiteral(
                "Sorry, SMBus communication is only supported on Windows 95 and Windows 98."));
        }
        if (windows95()) {
            USBSearchDescLBL_->setText(
                QStringLiteral("Sorry, USB communication is not supported on Windows 95."));
        }
    });
    attempt([this] {
        if (smbusSupported()) {
            SMBusBaseAddressTXT_->setText(
                text::hex(quint32(ctx_.state.board().smbusLink().BaseAddress())));
        } else {
            setTextColour(SMBusSearchDescLBL_, DarkRed);
            // On this platform the reason is that no SMBus adapter was found; say so where the
            // user looks for help.
            SMBusSearchDescLBL_->setToolTip(
                QStringLiteral("No SMBus adapter was found on this computer (/dev/i2c-N). Load "
                               "the SMBus controller's driver and the i2c-dev module, or name "
                               "the adapter with --smbus /dev/i2c-N; see docs/hardware.md."));
            SMBusCheck_->setChecked(false);
            SMBusCheck_->setEnabled(false);
            SMBusBaseAddressTXT_->setEnabled(false);
        }
    });
    attempt([this] {
        if (windows95()) {
            setTextColour(USBSearchDescLBL_, DarkRed);
            USBCheck_->setChecked(false);
            USBCheck_->setEnabled(false);
        }
    });
    finds_.clear();
    ResultAddresses_.clear();

    if (!failures.isEmpty()) {
        ctx_.dialogs.message(this, UserDialogs::Icon::Critical, QStringLiteral("Error"),
                             QStringLiteral("Error in Init Form Load") + QStringLiteral("\n\n") +
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
    const QList<QWidget*> panels = {WelcomePanel_, SeclectComsMediumPanel_, SearchingPanel_,
                                    SearchResultsPanel_};
    panels_->setCurrentWidget(panels.value(step - 1, WelcomePanel_));
}

void InitForm::nextClicked() {
    NavigateDirection_ = -1;
    switch (CurrentStep_) {
    case 1:
        CurrentStep_ = 2;
        goToStep(2);
        BackCMD_->setEnabled(true);
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
        BackCMD_->setEnabled(false);
        break;
    case 4:
        SearchResultsLIST_->clear();
        finds_.clear();
        ResultAddresses_.clear();
        SearchNoteLBL_->clear();
        SearchNoteLBL_->hide();
        CurrentStep_ = 2;
        goToStep(2);
        NextCMD_->setEnabled(true);
        FinishCMD_->setEnabled(false);
        break;
    default:
        break;
    }
}

void InitForm::advanceProgress(int step) {
    // Never past the maximum.
    SearchProgress_->setValue(
        std::min(SearchProgress_->value() + step, SearchProgress_->maximum()));
    SearchingPanel_->repaint();
}

void InitForm::search() {
    const int media =
        int(PPCheck_->isChecked()) + int(SMBusCheck_->isChecked()) + int(USBCheck_->isChecked());
    if (media == 0) {
        ctx_.dialogs.message(this, UserDialogs::Icon::None,
                             QStringLiteral("A problem was detected"),
                             QStringLiteral("Please select a search medium"));
        return;
    }
    CurrentStep_ = 3;
    goToStep(3);
    SearchingPanel_->repaint();
    for (QPushButton* button : {BackCMD_, NextCMD_, FinishCMD_, CancelCMD_}) {
        button->setEnabled(false);
    }
    QStringList notes;
    {
        WaitCursor hourglass;
        ctx_.main().loadMainWindow();
        SearchProgress_->setValue(0);
        SearchProgress_->setMaximum(ProgressPerMedium * media);
        std::optional<DeviceSearch> deviceSearch;
        try {
            deviceSearch.emplace(ctx_.state.board());
        } catch (...) {
            notes << QStringLiteral("The search failed: ") + failureText(std::current_exception());
        }
        if (deviceSearch) {
            deviceSearch->onProgress = [this](int step) { advanceProgress(step); };
            runSearch(*deviceSearch, notes);
        }
        CancelCMD_->setEnabled(true);
        BackCMD_->setEnabled(true);
        FinishCMD_->setEnabled(true);
        NextCMD_->setEnabled(false);
        fillResults(deviceSearch ? &*deviceSearch : nullptr, notes);
    }
    CurrentStep_ = 4;
    goToStep(4);
    SearchProgress_->setValue(0);
}

void InitForm::runSearch(DeviceSearch& deviceSearch, QStringList& notes) {
    if (PPCheck_->isChecked()) {
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
                         failureText(std::current_exception());
        }
        deviceSearch.onProgress = [this](int step) { advanceProgress(step); };
    }
    if (SMBusCheck_->isChecked()) {
        try {
            deviceSearch.searchSmbus(finds_);
        } catch (...) {
            notes << QStringLiteral("The search on the SMBus failed: ") +
                         failureText(std::current_exception());
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
                         failureText(std::current_exception());
        }
    }
    for (const SearchResultEntry& entry : entries) {
        SearchResultsLIST_->addItem(entry.text);
        SearchResultsLIST_->setCurrentRow(0);
        SearchInsLBL_->setText(QStringLiteral("Click Finish to continue..."));
        ResultAddresses_.append(entry.address);
    }
    if (!entries.isEmpty()) {
        SearchResultsLBL_->setText(
            QStringLiteral("Please select one of the QMF4150s found above."));
    } else {
        SearchResultsLBL_->setText(QStringLiteral(
            "Sorry, no QMF4150s were found. Please check all connections and try again"));
        SearchInsLBL_->setText(QStringLiteral("Click Back to continue..."));
        FinishCMD_->setEnabled(false);
        SearchResultsLIST_->clear();
    }
    SearchNoteLBL_->setText(notes.join(QLatin1Char('\n')));
    SearchNoteLBL_->setVisible(!notes.isEmpty());
}

void InitForm::recoverFromFailedSearch() {
    // Whatever went wrong, the user can go back and try again, or cancel.
    SearchProgress_->setValue(0);
    SearchResultsLIST_->clear();
    finds_.clear();
    ResultAddresses_.clear();
    CurrentStep_ = 2;
    goToStep(2);
    BackCMD_->setEnabled(true);
    NextCMD_->setEnabled(true);
    FinishCMD_->setEnabled(false);
    CancelCMD_->setEnabled(true);
}

void InitForm::finishClicked() {
    if (ResultAddresses_.isEmpty()) {
        return;
    }
    const int row = SearchResultsLIST_->currentRow();
    const int address = ResultAddresses_.value(row < 0 ? 0 : row, ResultAddresses_.first());
    const QStringList failures = DeviceSearch::applyChoice(ctx_.state, finds_, address);
    QString device;
    if (const QListWidgetItem* chosen = SearchResultsLIST_->item(row < 0 ? 0 : row)) {
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
        if (NextCMD_->isEnabled()) {
            NextCMD_->click();
        } else if (FinishCMD_->isEnabled()) {
            FinishCMD_->click();
        }
        return;
    case Qt::Key_Escape:
        if (CancelCMD_->isEnabled()) {
            CancelCMD_->click();
        }
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace qmf
