// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QWidget;

namespace qmf {

// The device search wizard's controls, each with its name as objectName: the four step panels
// in a stack (only the current step's is on view), the buttons below them and the picture at
// the left. Building them connects nothing and sets only the design texts; the wizard's load
// sets the rest.
struct InitFormPages {
    QStackedWidget* panels = nullptr;
    QWidget* WelcomePanel = nullptr;
    QWidget* SeclectComsMediumPanel = nullptr;
    QWidget* SearchingPanel = nullptr;
    QWidget* SearchResultsPanel = nullptr;
    QPushButton* BackCMD = nullptr;
    QPushButton* NextCMD = nullptr;
    QPushButton* FinishCMD = nullptr;
    QPushButton* CancelCMD = nullptr;
    QLabel* WelcomeLBL = nullptr;
    QLabel* WelcomeInstructionsLBL = nullptr;
    QCheckBox* PPCheck = nullptr;
    QCheckBox* SMBusCheck = nullptr;
    QCheckBox* USBCheck = nullptr;
    QLabel* PPSearchDescLBL = nullptr;
    QLabel* SMBusSearchDescLBL = nullptr;
    QLabel* USBSearchDescLBL = nullptr;
    QLineEdit* SMBusBaseAddressTXT = nullptr;
    QListWidget* SMBusAdapterLIST = nullptr; // the i2c adapters; hidden where the board has none
    QLabel* SearchMediumInstLBL = nullptr;
    QLabel* SearchingLBL = nullptr;
    QLabel* SearchingDetailsLBL = nullptr;
    QProgressBar* SearchProgress = nullptr;
    QLabel* SearchResultsDescLBL = nullptr;
    QListWidget* SearchResultsLIST = nullptr;
    QLabel* SearchResultsLBL = nullptr;
    QLabel* SearchInsLBL = nullptr;
    QLabel* SearchNoteLBL = nullptr; // what went wrong with a medium; hidden when nothing did

    // Step 1 to 4: its panel.
    QWidget* panel(int step) const;
};

// Builds the controls into `form` and lays them out.
InitFormPages buildInitFormPages(QWidget* form);

// The dark red of a medium the wizard cannot offer and of the search notes.
void setDarkRed(QLabel* label);

} // namespace qmf
