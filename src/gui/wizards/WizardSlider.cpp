// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/WizardSlider.h"

#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/wizards/ChipReadBack.h"

#include <QLabel>
#include <QSignalBlocker>

namespace qmf {

WizardSlider::WizardSlider(const QString& objectName, int minimum, int maximum, QWidget* parent)
    : QSlider(Qt::Horizontal, parent) {
    setObjectName(objectName);
    setRange(minimum, maximum);
    setSingleStep(1);
    setPageStep(maximum - minimum > 20 ? 10 : 1);
    setTracking(false);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(maximum - minimum > 20 ? 10 : 1);
    setMinimumWidth(220);
}

void WizardSlider::loadValue(int value) {
    const QSignalBlocker quiet(this);
    setValue(value);
}

FieldSlider::FieldSlider(AppContext& ctx, WizardSlider* slider, QLabel* label, quint8 address,
                         RegisterField field, TextOf text)
    : QObject(slider), ctx_(ctx), slider_(slider), label_(label), address_(address), field_(field),
      text_(text) {
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        ctx_.errors.run(
            slider_,
            [this, value] {
                WriteRegisterField(ctx_.state, address_, field_, value);
                chipValue_ = value;
                showText(value);
            },
            [this] {
                show(chipValueOr([this] { return ReadRegisterField(ctx_.state, address_, field_); },
                                 chipValue_));
            });
    });
    // The label follows the handle while it is dragged; the chip is written on release.
    connect(slider_, &QSlider::sliderMoved, this, [this](int value) { showText(value); });
}

void FieldSlider::load() {
    show(ReadRegisterField(ctx_.state, address_, field_));
}

void FieldSlider::show(int value) {
    chipValue_ = value;
    slider_->loadValue(value);
    showText(value);
}

void FieldSlider::showText(int value) {
    if (!label_) {
        return;
    }
    if (const std::optional<QString> text = text_(value)) {
        label_->setText(*text);
    }
}

} // namespace qmf
