// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/StepShape.h"

#include <QPainter>

namespace qmf {

StepShape::StepShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void StepShape::setColors(const QColor& border, const QColor& fill) {
    border_ = border;
    fill_ = fill;
    update();
}

void StepShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal pen = 1.5;
    painter.setPen(QPen(border_, pen));
    painter.setBrush(fill_);
    const QRectF box = QRectF(rect()).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
    const qreal radius = qMin(8.0, box.height() / 2);
    painter.drawRoundedRect(box, radius, radius);
}

} // namespace qmf
