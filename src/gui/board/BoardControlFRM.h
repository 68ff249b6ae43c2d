// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;

namespace qmf {

struct AppContext;

// "Board Control": switches the evaluation board's two heaters through the printer-port bus
// engine's outputs (bit 4 heater 1, bit 5 heater 2). Keeps no state: both boxes start unchecked
// whenever the window opens. On the on-board SMBus path there is no board and both are disabled.
class BoardControlFRM final : public QWidget {
    Q_OBJECT
public:
    explicit BoardControlFRM(AppContext& ctx, QWidget* parent = nullptr);

    // The output byte the check boxes stand for now.
    quint8 heaterOutputs() const;

private:
    void heaterClicked();

    AppContext& ctx_;
    QCheckBox* Heater1CHK_;
    QCheckBox* Heater2CHK_;
    QLabel* WarningLBL_;
    QLabel* StatusLBL_;
};

} // namespace qmf
