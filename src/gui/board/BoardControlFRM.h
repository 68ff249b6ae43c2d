// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;

namespace qmf {

struct AppContext;
class BoardOutputs;

// "Board Control": switches the evaluation board's two heaters through the printer-port bus
// engine's outputs (bit 4 heater 1, bit 5 heater 2). Keeps no state of its own: the boxes show
// the outputs as the link last put them, when the window opens and whenever anyone switches
// them, so a heater left on is never shown off. Closing the window leaves the heaters as they
// are. On the on-board SMBus path there is no board and both boxes are disabled.
class BoardControlFRM final : public QWidget {
    Q_OBJECT
public:
    explicit BoardControlFRM(AppContext& ctx, QWidget* parent = nullptr);

    // The output byte the check boxes stand for now.
    quint8 heaterOutputs() const;

private:
    void heaterClicked();
    void showOutputs(quint8 outputs);

    AppContext& ctx_;
    BoardOutputs* outputs_;
    QCheckBox* Heater1CHK_;
    QCheckBox* Heater2CHK_;
    QLabel* WarningLBL_;
    QLabel* StatusLBL_;
};

} // namespace qmf
