// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/wizards/StepWizard.h"

namespace qmf {

// "AFC Wizard": nine steps through the chip's automatic fan control (minimum duty cycle, cooling
// actions, Tmin, Trange, hysteresis, spin-up time, PWM and tachometer frequencies), each control
// writing its bits at once.
class AFCTutorFRM : public StepWizard {
    Q_OBJECT
public:
    explicit AFCTutorFRM(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace qmf
