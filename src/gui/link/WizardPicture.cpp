// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/link/WizardPicture.h"

#include "gui/services/AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace qmf {

WizardPicture::WizardPicture(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setAccessibleName(QStringLiteral("QMF4150 chip picture"));
}

void WizardPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();

    QLinearGradient band(area.topLeft(), area.bottomLeft());
    band.setColorAt(0.0, QColor(18, 58, 120));
    band.setColorAt(1.0, QColor(46, 118, 196));
    painter.fillRect(area, band);

    // Traces of a circuit board behind the chip.
    const qreal side = std::min(area.width() * 0.62, area.height() * 0.4);
    const QRectF chip(area.center().x() - side / 2, area.height() * 0.36 - side / 2, side, side);
    painter.setPen(QPen(QColor(255, 255, 255, 60), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int i = 0; i < 4; ++i) {
        const qreal y = chip.top() + side * (0.2 + 0.2 * i);
        QPainterPath left;
        left.moveTo(chip.left(), y);
        left.lineTo(area.left() + 14 + 4 * i, y);
        left.lineTo(area.left() + 14 + 4 * i, area.bottom() - 40 + 8 * i);
        painter.drawPath(left);
        QPainterPath right;
        right.moveTo(chip.right(), y);
        right.lineTo(area.right() - 12 - 4 * i, y - 18);
        painter.drawPath(right);
        painter.setBrush(QColor(255, 255, 255, 70));
        painter.drawEllipse(QPointF(area.right() - 12 - 4 * i, y - 18), 2.5, 2.5);
        painter.setBrush(Qt::NoBrush);
    }

    paintChipGraphic(painter, chip, QStringLiteral("QMF\n4150"));

    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(std::max(11, int(area.width() / 9)));
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255, 220));
    const QRectF caption(area.left(), chip.bottom() + 18, area.width(), font.pixelSize() * 3);
    painter.drawText(caption, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Search\nWizard"));
}

} // namespace qmf
