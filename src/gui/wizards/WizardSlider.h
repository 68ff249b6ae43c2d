// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/wizards/RegisterBits.h"

#include <QPointer>
#include <QSlider>
#include <optional>

class QLabel;

namespace qmf {

struct AppContext;

// A horizontal slider over whole positions for the wizards.
//
// Writes happen on valueChanged, which fires for every user change: keyboard, wheel, a click on
// the groove, and the release at the end of a drag (tracking is off, so a drag writes once, when
// the user lets go, instead of once per position passed). While dragging, sliderMoved lets a
// label follow the handle without touching the chip. The page loader sets the position through
// loadValue(), which raises no notification and so writes nothing.
class WizardSlider : public QSlider {
    Q_OBJECT
public:
    WizardSlider(const QString& objectName, int minimum, int maximum, QWidget* parent = nullptr);

    // Sets the position from the chip without any notification (out-of-range values are clamped
    // to the nearest end, and still write nothing).
    void loadValue(int value);
};

// A slider that owns one field of one register, with a label that shows its value as text.
// A user change reads the register and writes it back with the field replaced; the label then
// shows the new value, and after a failed write slider and label show the chip's field again.
// Loading reads the register and sets slider and label; a value that has no text leaves the
// label as it was.
class FieldSlider : public QObject {
    Q_OBJECT
public:
    using TextOf = std::optional<QString> (*)(int value);

    FieldSlider(AppContext& ctx, WizardSlider* slider, QLabel* label, quint8 address,
                RegisterField field, TextOf text);

    void load();
    WizardSlider* slider() const { return slider_; }

private:
    void show(int value);
    void showText(int value);

    AppContext& ctx_;
    WizardSlider* slider_;
    QPointer<QLabel> label_;
    quint8 address_;
    RegisterField field_;
    TextOf text_;
    int chipValue_ = 0; // the field as last read or written
};

} // namespace qmf
