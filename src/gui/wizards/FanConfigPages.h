// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/wizards/WizardPage.h"

#include <QList>

namespace qmf {

struct AppContext;
class BitCheckBox;
class MaskFrame;

// The pages only the fan configuration wizard has.

// What each fan's fault events do: a tab per fan with the eight bits of its control register
// (0x18 / 0x19) and the hot-plug priority bit of its status register (0x10 / 0x11), grouped
// under the event they answer.
class FaultActionPage : public WizardPage {
    Q_OBJECT
public:
    explicit FaultActionPage(AppContext& ctx, QWidget* parent = nullptr);
    // Bit by bit, both fans interleaved; the priority boxes are read again on every pass.
    void load() override;

private:
    struct FanBoxes {
        QList<BitCheckBox*> fault; // by bit 0..7
        BitCheckBox* priority = nullptr;
    };
    QWidget* buildTab(AppContext& ctx, int fan, FanBoxes& boxes);

    FanBoxes fans_[2];
};

// A page of two-bit fan masks: one frame per register, then the page's description.
class MaskPage : public WizardPage {
    Q_OBJECT
public:
    enum Kind {
        FanFault, // 0x20, 0x21
        Gpio,     // 0x38 .. 0x3E
        Ain,      // 0x58, 0x59
    };
    MaskPage(AppContext& ctx, Kind kind, QWidget* parent = nullptr);
    void load() override;

private:
    QList<MaskFrame*> frames_;
};

} // namespace qmf
