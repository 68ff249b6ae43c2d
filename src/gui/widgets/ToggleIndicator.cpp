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
    if (value == value_) {
        return;
    }
    const bool was = isTrue();
    value_ = value;
    if (was != isTrue()) {
        refresh();
    }
    emit valueChanged(value_);
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
        std::max(fm.horizontalAdvance(trueText_), fm.horizontalAdvance(falseText_));
    const int lamp = fm.height();
    return {lamp + 6 + textWidth + 4, lamp + 6};
}

void ToggleIndicator::refresh() {
    // Screen readers read the current state as the description; the name stays the control's.
    setAccessibleDescription(text());
    setToolTip(isEnabled() ? text() : tr("%1 (not read by this view)").arg(text()));
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

    QColor fill = isTrue() ? trueColor_ : falseColor_;
    if (!isEnabled()) {
        fill = palette().color(QPalette::Disabled, QPalette::Button);
    }
    // A lit lamp glows from its upper left; an unlit or disabled one stays flat.
    QRadialGradient glow(lampRect.center(), lamp / 2.0,
                         lampRect.center() - QPointF(lamp / 6.0, lamp / 6.0));
    glow.setColorAt(0.0, fill.lighter(isEnabled() ? 150 : 105));
    glow.setColorAt(1.0, fill);
    p.setPen(QPen(isEnabled() ? fill.darker(170) : palette().color(QPalette::Mid), 1.0));
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
