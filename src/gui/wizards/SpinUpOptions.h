// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/wizards/WizardPage.h"

#include <QList>

class QRadioButton;

namespace qmf {

struct AppContext;

// The fan spin-up time, register 0x0C, as nine option buttons FanSpinUpOP_0 .. FanSpinUpOP_8.
// Selecting option i (by the user or by the loader) writes i to 0x0C as a whole byte, so bits
// 7..4 become 0 and "Spin-up Disabled" writes 8. After a failed write the option of the chip's
// code is selected again.
class SpinUpOptions : public WizardPage {
    Q_OBJECT
public:
    static constexpr quint8 Address = 0x0C;

    explicit SpinUpOptions(AppContext& ctx, QWidget* parent = nullptr);

    // Reads 0x0C: bits 3..0 of 0..8 select that option; with bit 3 set "Spin-up Disabled" ends
    // up selected (so 9..15 select only it).
    void load() override;

    const QList<QRadioButton*>& options() const { return options_; }

private:
    void showChipOption();

    AppContext& ctx_;
    QList<QRadioButton*> options_;
    int chipOption_ = -1; // the option of the code last read or written
};

} // namespace qmf
