// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/ToggleIndicator.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>

namespace qmf {

ToggleIndicator::ToggleIndicator(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    refresh();
}

ToggleIndicator::ToggleIndicator(const QString& trueText, const QString& falseText, QWidget* parent)
    : ToggleIndicator(parent) {
    setTexts(trueText, falseText);
}

void ToggleIndicator::setValue(qint16 value) {
    if (value == value_ && known_) {
        return;
    }
    const bool was = isTrue();
    const bool wasKnown = known_;
    value_ = value;
    known_ = true;
    if (was != isTrue() || !wasKnown) {
        refresh();
    }
    emit valueChanged(value_);
}

void ToggleIndicator::setUnknown(const QString& text) {
    if (!known_ && unknownText_ == text) {
        return;
    }
    known_ = false;
    unknownText_ = text;
    updateGeometry();
    refresh();
}

void ToggleIndicator::setTexts(const QString& trueText, const QString& falseText) {
    trueText_ = trueText;
    falseText_ = falseText;
    updateGeometry();
    refresh();
}

void ToggleIndicator::setColors(const QColor& trueColor, const QColor& falseColor) {
    trueColor_ = trueColor;
    falseColor_ = falseColor;
    update();
}

QSize ToggleIndicator::sizeHint() const {
    const QFontMetrics fm(font());
    const int textWidth =
        std::max({fm.horizontalAdvance(trueText_), fm.horizontalAdvance(falseText_),
                  fm.horizontalAdvance(unknownText_)});
    const int lamp = fm.height();
    return {lamp + 6 + textWidth + 4, lamp + 6};
}

void ToggleIndicator::refresh() {
    // Screen readers read the current state as the description; the name stays the control's.
    setAccessibleDescription(text());
    setToolTip(!isEnabled() ? tr("%1 (not read by this view)").arg(text())
               : !known_    ? tr("%1 (not read yet)").arg(text())
                            : text());
    update();
}

void ToggleIndicator::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        refresh();
    }
    QWidget::changeEvent(event);
}

void ToggleIndicator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF fm(font());
    const double lamp = std::min<double>(fm.height(), height() - 4.0);
    // Right to left puts the lamp at the right end, next to whatever the indicator is about.
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    const QRectF lampRect(rtl ? width() - 2.0 - lamp : 2.0, (height() - lamp) / 2.0, lamp, lamp);

    // A lamp in a known state glows from its upper left; a disabled or unknown one is grey and
    // flat.
    const bool lit = isEnabled() && known_;
    const QColor fill = !lit       ? palette().color(QPalette::Disabled, QPalette::Button)
                        : isTrue() ? trueColor_
                                   : falseColor_;
    QRadialGradient glow(lampRect.center(), lamp / 2.0,
                         lampRect.center() - QPointF(lamp / 6.0, lamp / 6.0));
    glow.setColorAt(0.0, fill.lighter(lit ? 150 : 105));
    glow.setColorAt(1.0, fill);
    p.setPen(QPen(lit ? fill.darker(170) : palette().color(QPalette::Mid), 1.0));
    p.setBrush(glow);
    p.drawEllipse(lampRect);

    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const QRectF textRect =
        rtl ? QRectF(0.0, 0.0, lampRect.left() - 6.0, height())
            : QRectF(lampRect.right() + 6.0, 0.0, width() - lampRect.right() - 6.0, height());
    p.drawText(textRect, (rtl ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
               fm.elidedText(text(), Qt::ElideRight, textRect.width()));
}

} // namespace qmf
