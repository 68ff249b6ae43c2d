// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

namespace qmf {

// The main window's tool bar images, by button key ("GlobalSettings", "ChipLayout", "Graph",
// "BarGraph", "Wizard"); drawn, so they stay sharp at any scale. An unknown key gives an empty
// icon.
QIcon toolbarIcon(const QString& key);

} // namespace qmf
