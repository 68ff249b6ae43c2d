// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace qmf {

struct AppContext;

// "Wizard List": the chooser that opens the automatic fan control tutor, the fan configuration
// wizard and (with the evaluation board) the heater view. It stays open after a choice.
// Rows: SelectWizard_0..2 (icon buttons) with ToDoLBL_0..2 beside them.
class WizardListFRM : public QWidget {
    Q_OBJECT
public:
    explicit WizardListFRM(AppContext& ctx, QWidget* parent = nullptr);

private:
    AppContext& ctx_;
};

} // namespace qmf
