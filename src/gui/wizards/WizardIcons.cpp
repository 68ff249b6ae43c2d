// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/WizardIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace qmf::wizard_icons {

namespace {

constexpr int Size = 48;

QIcon drawn(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        QPixmap pixmap(int(Size * ratio), int(Size * ratio));
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// A four-bladed fan in a round housing, centred on `centre`.
void drawFan(QPainter& painter, QPointF centre, qreal radius, const QColor& colour) {
    painter.save();
    painter.translate(centre);
    painter.setPen(QPen(colour.darker(140), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0, 0), radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (int blade = 0; blade < 4; ++blade) {
        QPainterPath path;
        path.moveTo(0, 0);
        path.cubicTo(radius * 0.15, -radius * 0.55, radius * 0.75, -radius * 0.55, radius * 0.8,
                     -radius * 0.1);
        path.cubicTo(radius * 0.5, radius * 0.05, radius * 0.2, radius * 0.05, 0, 0);
        painter.drawPath(path);
        painter.rotate(90);
    }
    painter.setBrush(colour.darker(160));
    painter.drawEllipse(QPointF(0, 0), radius * 0.18, radius * 0.18);
    painter.restore();
}

} // namespace

QIcon automaticFanControl() {
    return drawn([](QPainter& painter) {
        drawFan(painter, QPointF(19, 26), 16, QColor(0x2E, 0x6D, 0xB4));
        // Thermometer.
        const QColor glass(0x60, 0x60, 0x60);
        const QColor mercury(0xD0, 0x30, 0x30);
        painter.setPen(QPen(glass, 1.5));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(38, 6, 6, 30), 3, 3);
        painter.drawEllipse(QPointF(41, 39), 5, 5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(mercury);
        painter.drawRect(QRectF(39.5, 18, 3, 20));
        painter.drawEllipse(QPointF(41, 39), 3.5, 3.5);
    });
}

QIcon fanConfiguration() {
    return drawn(
        [](QPainter& painter) { drawFan(painter, QPointF(24, 24), 20, QColor(0x2E, 0x6D, 0xB4)); });
}

QIcon heaters() {
    return drawn([](QPainter& painter) {
        // Heat rising from the element.
        painter.setPen(QPen(QColor(0xE0, 0x70, 0x20), 2.5, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        for (const qreal x : {14.0, 24.0, 34.0}) {
            QPainterPath wave;
            wave.moveTo(x, 30);
            wave.cubicTo(x - 5, 24, x + 5, 18, x, 12);
            wave.cubicTo(x - 4, 8, x + 2, 5, x, 3);
            painter.drawPath(wave);
        }
        // The element: a resistor body with its leads.
        painter.setPen(QPen(QColor(0x50, 0x50, 0x50), 2.0));
        painter.drawLine(QPointF(2, 40), QPointF(10, 40));
        painter.drawLine(QPointF(38, 40), QPointF(46, 40));
        painter.setBrush(QColor(0xC8, 0x3C, 0x28));
        painter.drawRoundedRect(QRectF(10, 34, 28, 12), 4, 4);
    });
}

} // namespace qmf::wizard_icons
