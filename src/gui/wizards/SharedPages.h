// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/wizards/RegisterBits.h"
#include "gui/wizards/WizardPage.h"

#include <QGroupBox>
#include <QList>
#include <QStringList>

namespace qmf {

struct AppContext;
class BitCheckBox;
class ExclusiveBoxGroup;
class FieldSlider;

// Pages and frames that both configuration wizards show. Fan 1 and Fan 2 are the chip's first
// and second fan channels (registers 0x60/0x68/..., and 0x61/0x69/...).

// Two speed sliders, one per fan, each with its percent label and "%": one 4-bit speed code
// field of register `address1` (Fan 1) and `address1 + 1` (Fan 2).
struct SpeedSliderNames {
    QString slider;  // "Fan1NormSpeedSlider"
    QString label;   // "Fan1SLBL"
    QString caption; // "Fan 1 (60h)"
};

class SpeedPage : public WizardPage {
    Q_OBJECT
public:
    SpeedPage(AppContext& ctx, const QString& purpose, const SpeedSliderNames& fan1,
              const SpeedSliderNames& fan2, quint8 address1, RegisterField field,
              QWidget* parent = nullptr);
    void load() override;

private:
    QList<FieldSlider*> sliders_;
};

// A frame owning bits 0 and 1 of one register, with an optional text above the two boxes
// (named <prefix>_0 and <prefix>_1).
class MaskFrame : public QGroupBox {
    Q_OBJECT
public:
    MaskFrame(AppContext& ctx, const QString& title, const QString& text, const QString& prefix,
              const QStringList& captions, quint8 address, QWidget* parent = nullptr);
    // Box 0 from bit 0, then box 1 from bit 1 (one read each).
    void load();

private:
    QList<BitCheckBox*> boxes_;
};

// The temperature cooling action: what each temperature channel's out-of-limit event does to
// each fan (bits 0 and 1 of 0x48, 0x49, 0x4A).
class CoolingActionPage : public WizardPage {
    Q_OBJECT
public:
    explicit CoolingActionPage(AppContext& ctx, QWidget* parent = nullptr);
    void load() override;

private:
    QList<MaskFrame*> frames_;
};

// Both fans' PWM drive frequency (bits 5..4 of 0x68 / 0x69) or tachometer oscillator frequency
// (bits 7..6, with the fan channel's re-read), each as a group of four exclusive boxes.
class FrequencyPage : public WizardPage {
    Q_OBJECT
public:
    enum Kind { PwmDrive, TachOscillator };
    FrequencyPage(AppContext& ctx, Kind kind, QWidget* parent = nullptr);
    void load() override;

private:
    QList<ExclusiveBoxGroup*> groups_;
};

} // namespace qmf
