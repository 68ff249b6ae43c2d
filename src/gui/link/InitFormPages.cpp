// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/link/InitFormPages.h"

#include "gui/link/WizardPicture.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace qmf {

namespace {

// The progress bar's range until a search sets it for the checked media.
constexpr int ProgressPerMedium = 33;

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

} // namespace

void setDarkRed(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(192, 0, 0));
    label->setPalette(palette);
}

QWidget* InitFormPages::panel(int step) const {
    switch (step) {
    case 2:
        return SeclectComsMediumPanel;
    case 3:
        return SearchingPanel;
    case 4:
        return SearchResultsPanel;
    default:
        return WelcomePanel;
    }
}

InitFormPages buildInitFormPages(QWidget* form) {
    InitFormPages p;
    // Step 1.
    p.WelcomePanel = makePanel("WelcomePanel");
    p.WelcomeLBL = makeLabel(p.WelcomePanel, "WelcomeLBL");
    QFont heading = p.WelcomeLBL->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.35);
    heading.setBold(true);
    p.WelcomeLBL->setFont(heading);
    p.WelcomeInstructionsLBL = makeLabel(p.WelcomePanel, "WelcomeInstructionsLBL");
    {
        auto* layout = new QVBoxLayout(p.WelcomePanel);
        layout->addWidget(p.WelcomeLBL);
        layout->addSpacing(16);
        layout->addWidget(p.WelcomeInstructionsLBL);
        layout->addStretch(1);
    }

    // Step 2.
    p.SeclectComsMediumPanel = makePanel("SeclectComsMediumPanel");
    p.PPCheck = new QCheckBox(QStringLiteral("Parallel Printer Port"), p.SeclectComsMediumPanel);
    p.PPCheck->setObjectName(QStringLiteral("PPCheck"));
    p.PPCheck->setChecked(true);
    p.SMBusCheck = new QCheckBox(QStringLiteral("On-Board SMBus"), p.SeclectComsMediumPanel);
    p.SMBusCheck->setObjectName(QStringLiteral("SMBusCheck"));
    p.USBCheck = new QCheckBox(QStringLiteral("USB"), p.SeclectComsMediumPanel);
    p.USBCheck->setObjectName(QStringLiteral("USBCheck"));
    // There is no USB link: the medium is shown but can never be chosen.
    p.USBCheck->setEnabled(false);
    p.PPSearchDescLBL = makeLabel(p.SeclectComsMediumPanel, "PPSearchDescLBL");
    p.SMBusSearchDescLBL = makeLabel(p.SeclectComsMediumPanel, "SMBusSearchDescLBL");
    p.USBSearchDescLBL =
        makeLabel(p.SeclectComsMediumPanel, "USBSearchDescLBL",
                  QStringLiteral("Connect the evaluation board to the printer port"));
    p.SMBusBaseAddressTXT = new QLineEdit(QStringLiteral("000"), p.SeclectComsMediumPanel);
    p.SMBusBaseAddressTXT->setObjectName(QStringLiteral("SMBusBaseAddressTXT"));
    // The board link finds its SMBus controller itself (or takes the adapter from the command
    // line); the box shows what it found.
    p.SMBusBaseAddressTXT->setReadOnly(true);
    p.SMBusBaseAddressTXT->setMaximumWidth(80);
    p.SMBusBaseAddressTXT->setAccessibleName(QStringLiteral("SMBus base address (hex)"));
    p.SMBusBaseAddressTXT->setToolTip(
        QStringLiteral("The SMBus controller's base address (0 for a USB bridge)"));
    // The adapters by name; what they are and their nodes follow in each line.
    p.SMBusAdapterLIST = new QListWidget(p.SeclectComsMediumPanel);
    p.SMBusAdapterLIST->setObjectName(QStringLiteral("SMBusAdapterLIST"));
    p.SMBusAdapterLIST->setAccessibleName(QStringLiteral("SMBus adapter"));
    p.SMBusAdapterLIST->setSelectionMode(QAbstractItemView::SingleSelection);
    p.SMBusAdapterLIST->setMaximumHeight(p.SMBusAdapterLIST->fontMetrics().height() * 5);
    p.SMBusAdapterLIST->hide();
    p.SearchMediumInstLBL = makeLabel(p.SeclectComsMediumPanel, "SearchMediumInstLBL");
    {
        auto* grid = new QGridLayout;
        grid->setColumnStretch(1, 1);
        grid->setHorizontalSpacing(12);
        grid->setVerticalSpacing(4);
        auto indent = [](QLabel* label) {
            label->setIndent(22);
            return label;
        };
        grid->addWidget(p.PPCheck, 0, 0, 1, 2);
        grid->addWidget(indent(p.PPSearchDescLBL), 1, 0, 1, 2);
        grid->setRowMinimumHeight(2, 10);
        grid->addWidget(p.SMBusCheck, 3, 0, 1, 2);
        grid->addWidget(indent(p.SMBusSearchDescLBL), 4, 0, 1, 2);
        grid->addWidget(p.SMBusBaseAddressTXT, 5, 0, Qt::AlignLeft);
        p.SMBusBaseAddressTXT->setContentsMargins(22, 0, 0, 0);
        auto* adapters = new QHBoxLayout;
        adapters->setContentsMargins(22, 0, 0, 0);
        adapters->addWidget(p.SMBusAdapterLIST);
        grid->addLayout(adapters, 6, 0, 1, 2);
        grid->setRowMinimumHeight(7, 10);
        grid->addWidget(p.USBCheck, 8, 0, 1, 2);
        grid->addWidget(indent(p.USBSearchDescLBL), 9, 0, 1, 2);
        auto* layout = new QVBoxLayout(p.SeclectComsMediumPanel);
        layout->addLayout(grid);
        layout->addStretch(1);
        layout->addWidget(p.SearchMediumInstLBL);
    }

    // Step 3.
    p.SearchingPanel = makePanel("SearchingPanel");
    p.SearchingLBL = makeLabel(p.SearchingPanel, "SearchingLBL", QStringLiteral("Searching"));
    p.SearchingLBL->setFont(heading);
    p.SearchingDetailsLBL = makeLabel(p.SearchingPanel, "SearchingDetailsLBL");
    p.SearchProgress = new QProgressBar(p.SearchingPanel);
    p.SearchProgress->setObjectName(QStringLiteral("SearchProgress"));
    p.SearchProgress->setTextVisible(false);
    p.SearchProgress->setRange(0, ProgressPerMedium);
    p.SearchProgress->setValue(0);
    p.SearchProgress->setAccessibleName(QStringLiteral("Search progress"));
    {
        auto* layout = new QVBoxLayout(p.SearchingPanel);
        layout->addWidget(p.SearchingLBL);
        layout->addSpacing(12);
        layout->addWidget(p.SearchingDetailsLBL);
        layout->addSpacing(12);
        layout->addWidget(p.SearchProgress);
        layout->addStretch(1);
    }

    // Step 4.
    p.SearchResultsPanel = makePanel("SearchResultsPanel");
    p.SearchResultsDescLBL =
        makeLabel(p.SearchResultsPanel, "SearchResultsDescLBL", QStringLiteral("Search Results"));
    p.SearchResultsDescLBL->setFont(heading);
    p.SearchResultsLIST = new QListWidget(p.SearchResultsPanel);
    p.SearchResultsLIST->setObjectName(QStringLiteral("SearchResultsLIST"));
    p.SearchResultsLIST->setAccessibleName(QStringLiteral("Search results"));
    p.SearchResultsLIST->setSelectionMode(QAbstractItemView::SingleSelection);
    p.SearchResultsLBL = makeLabel(p.SearchResultsPanel, "SearchResultsLBL");
    p.SearchInsLBL = makeLabel(p.SearchResultsPanel, "SearchInsLBL");
    // What went wrong with a medium (no printer port, a failed transfer); hidden when nothing did.
    p.SearchNoteLBL = makeLabel(p.SearchResultsPanel, "SearchNoteLBL");
    setDarkRed(p.SearchNoteLBL);
    p.SearchNoteLBL->setTextInteractionFlags(Qt::TextSelectableByMouse);
    p.SearchNoteLBL->hide();
    {
        auto* layout = new QVBoxLayout(p.SearchResultsPanel);
        layout->addWidget(p.SearchResultsDescLBL);
        layout->addWidget(p.SearchResultsLIST, 1);
        layout->addWidget(p.SearchNoteLBL);
        layout->addWidget(p.SearchResultsLBL);
        layout->addSpacing(8);
        layout->addWidget(p.SearchInsLBL);
    }

    p.panels = new QStackedWidget(form);
    p.panels->setObjectName(QStringLiteral("Panels"));
    for (QWidget* panel :
         {p.WelcomePanel, p.SeclectComsMediumPanel, p.SearchingPanel, p.SearchResultsPanel}) {
        panel->layout()->setContentsMargins(4, 4, 4, 4);
        p.panels->addWidget(panel);
    }

    auto makeButton = [form](const char* name, const QString& text) {
        auto* button = new QPushButton(text, form);
        button->setObjectName(QLatin1String(name));
        button->setMinimumWidth(88);
        return button;
    };
    p.BackCMD = makeButton("BackCMD", QStringLiteral("< Back"));
    p.NextCMD = makeButton("NextCMD", QStringLiteral("Next >"));
    p.FinishCMD = makeButton("FinishCMD", QStringLiteral("Finish"));
    p.CancelCMD = makeButton("CancelCMD", QStringLiteral("Cancel"));
    p.BackCMD->setEnabled(false);
    p.FinishCMD->setEnabled(false);
    p.NextCMD->setDefault(true);

    auto* separator = new QFrame(form);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(p.BackCMD);
    buttons->addWidget(p.NextCMD);
    buttons->addSpacing(8);
    buttons->addWidget(p.FinishCMD);
    buttons->addSpacing(8);
    buttons->addWidget(p.CancelCMD);

    auto* content = new QVBoxLayout;
    content->setContentsMargins(18, 18, 18, 12);
    content->addWidget(p.panels, 1);
    content->addWidget(separator);
    content->addSpacing(4);
    content->addLayout(buttons);

    auto* layout = new QHBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new WizardPicture(form));
    layout->addLayout(content, 1);

    QWidget::setTabOrder(p.NextCMD, p.FinishCMD);
    QWidget::setTabOrder(p.FinishCMD, p.CancelCMD);
    QWidget::setTabOrder(p.CancelCMD, p.BackCMD);
    form->resize(640, 400);
    return p;
}

} // namespace qmf
