// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

class QFont;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace qmf {

class ClickableLabel;

// The band bar above the register pages, MainCoolBar, with its four bands in order:
// Binary_Panel (the eight digits and the bit names), dec_hex_panel (the two entry fields and
// their update buttons), SoftwareSettingsPanel (EasySetup and the two reading toggles) and
// ReginfoPanel (address, hex and decimal value). Building it connects nothing: the view wires
// the controls to its handlers.
struct RegisterListBands {
    QWidget* bar = nullptr;
    std::array<ClickableLabel*, 8> digits{}; // "bit0" ... "bit7", by bit number
    std::array<QLabel*, 10> bitNames{};      // "bitname_0" ... "bitname_9"
    QLineEdit* hexText = nullptr;            // HexTXT
    QLineEdit* decText = nullptr;            // DecTXT
    QPushButton* hexUpdate = nullptr;        // Command1
    QPushButton* decUpdate = nullptr;        // Command2
    QPushButton* easySetup = nullptr;        // EasySetupCMD
    QPushButton* continuousRead = nullptr;   // ContinuousReadCHK
    QPushButton* fastRead = nullptr;         // FastReadCHK
    QLabel* addressLabel = nullptr;          // AddressPtrLLBL
    QLabel* hexValueLabel = nullptr;         // HexValueLBL
    QLabel* decimalValueLabel = nullptr;     // DecimalValueLBL
};

// Builds the band bar; `font` is the view's font, which the digits and values enlarge.
RegisterListBands buildRegisterListBands(const QFont& font);

} // namespace qmf
