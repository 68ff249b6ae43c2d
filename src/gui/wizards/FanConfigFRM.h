// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/wizards/StepWizard.h"

namespace qmf {

// "Fan Configuration Wizard.": twelve steps through the chip's fan set-up (speeds, fault actions
// and masks, event masks, spin-up time, PWM and tachometer frequencies), each control writing its
// bits at once.
class FanConfigFRM : public StepWizard {
    Q_OBJECT
public:
    explicit FanConfigFRM(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace qmf
