// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace qmf::wizard_icons {

// Small drawn icons for the wizard chooser's buttons.
QIcon automaticFanControl(); // a fan beside a thermometer
QIcon fanConfiguration();    // a fan
QIcon heaters();             // a heating element with rising heat

} // namespace qmf::wizard_icons
