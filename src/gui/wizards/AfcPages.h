// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/wizards/WizardPage.h"

#include <QList>

namespace qmf {

struct AppContext;
class FieldSlider;
class WizardSlider;

// The automatic fan control pages of the tutor, one slider per temperature channel ("Local
// Temp", "TDM 1", "TDM 2").

// Fan start temperature Tmin (0x80, 0x81, 0x82, the whole byte in the chip's signed temperature
// encoding), -127 .. 126 degrees. A user change writes the code at once, without reading first;
// after a failed write the slider shows the chip's temperature again.
class TminPage : public WizardPage {
    Q_OBJECT
public:
    explicit TminPage(AppContext& ctx, QWidget* parent = nullptr);
    void load() override;

private:
    int readTmin(int channel);

    AppContext& ctx_;
    QList<WizardSlider*> sliders_;
    QList<int> chipValues_; // each channel's Tmin as last read or written
};

// One nibble of the Trange/hysteresis registers (0x88, 0x89, 0x8A), each slider with a value
// label and "C": the Trange code (bits 3..0, shown as "5" .. "80") or the hysteresis (bits 7..4,
// shown as the number).
class AfcNibblePage : public WizardPage {
    Q_OBJECT
public:
    enum Kind { Trange, Hysteresis };
    AfcNibblePage(AppContext& ctx, Kind kind, QWidget* parent = nullptr);
    void load() override;

private:
    QList<FieldSlider*> sliders_;
};

} // namespace qmf
