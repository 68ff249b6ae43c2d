// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

namespace qmf::namecolour {

// The text colour of a register name records two flags: selected, and under the pointer.
//   workspace    - neither
//   BrightGreen  - under the pointer only
//   DarkGreen    - selected only
//   Yellow       - selected and under the pointer

// The application-workspace grey, RGB (171, 171, 171): the classic desktop default of that system
// colour. It is fixed rather than taken from the palette because the names sit on a fixed dark
// background, on which a theme's own workspace colour could vanish.
QColor workspace();
inline const QColor BrightGreen{0, 255, 0};
inline const QColor DarkGreen{0, 128, 0};
inline const QColor Yellow{255, 255, 0};

// The name the pointer moved onto: workspace -> bright green, dark green -> yellow.
QColor pointerArrived(const QColor& current);

// Every other name when the pointer moves onto a name, and every name when it moves elsewhere:
// yellow -> dark green, bright green -> workspace.
QColor pointerLeft(const QColor& current);

} // namespace qmf::namecolour
