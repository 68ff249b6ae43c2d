// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QLabel;
class QStatusBar;

namespace qmf {

class BoardOutputs;

// What the status bar says about the board's heaters: "Heater for Q2 (TDM2) on", "Heater for
// Q1 (TDM1) on", "Heaters for Q2 (TDM2) and Q1 (TDM1) on"; nothing when both are off.
QString heaterStatusText(quint8 outputs);

// A permanent status bar field (HeaterLBL) that shows heaterStatusText for as long as a heater
// is on, following the link's outputs whoever switches them; hidden while both are off.
QLabel* addHeaterStatus(QStatusBar& statusBar, BoardOutputs& outputs);

} // namespace qmf
