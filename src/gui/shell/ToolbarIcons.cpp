// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/ToolbarIcons.h"

#include "gui/services/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <functional>
#include <numbers>

namespace qmf {

namespace {

// Every image is drawn on a 32 x 32 grid and scaled to the requested size.
using Drawing = std::function<void(QPainter&)>;

const QColor Ink(40, 52, 72);
const QColor Accent(32, 110, 200);
const QColor Warm(216, 96, 40);

void registerTable(QPainter& p) {
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 5, 24, 22));
    p.setBrush(QColor(214, 228, 246));
    p.drawRect(QRectF(4, 5, 24, 6));
    p.setPen(QPen(Ink, 1.2));
    for (qreal y : {16.0, 21.0}) {
        p.drawLine(QPointF(4, y), QPointF(28, y));
    }
    p.drawLine(QPointF(12, 5), QPointF(12, 27));
    // A selected bit.
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawRect(QRectF(14, 12.5, 5, 3));
}

void chipLayout(QPainter& p) {
    paintChipGraphic(p, QRectF(3, 3, 26, 26));
}

void graph(QPainter& p) {
    p.setPen(QPen(Ink, 1.5));
    p.drawLine(QPointF(5, 4), QPointF(5, 27));
    p.drawLine(QPointF(5, 27), QPointF(29, 27));
    QPainterPath trace;
    trace.moveTo(6, 20);
    trace.cubicTo(10, 8, 14, 8, 17, 16);
    trace.cubicTo(20, 24, 24, 22, 28, 9);
    p.setPen(QPen(Accent, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trace);
    QPainterPath second;
    second.moveTo(6, 23);
    second.lineTo(28, 18);
    p.setPen(QPen(Warm, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(second);
}

void barGraph(QPainter& p) {
    p.setPen(QPen(Ink, 1.5));
    p.drawLine(QPointF(4, 28), QPointF(28, 28));
    const struct {
        qreal x, top;
        QColor colour;
    } bars[] = {{6, 14, Accent}, {13, 7, Warm}, {20, 18, Accent}};
    for (const auto& bar : bars) {
        p.setPen(QPen(Ink, 1));
        p.setBrush(bar.colour);
        p.drawRect(QRectF(bar.x, bar.top, 6, 28 - bar.top));
    }
    // A limit mark across the bars.
    p.setPen(QPen(QColor(200, 30, 30), 1.5, Qt::DashLine));
    p.drawLine(QPointF(4, 11), QPointF(28, 11));
}

void wizard(QPainter& p) {
    p.setPen(QPen(Ink, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 27), QPointF(19, 14));
    p.setPen(QPen(Qt::white, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 16), QPointF(19, 14));
    QPainterPath star;
    const QPointF centre(23, 9);
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? 7.0 : 2.8;
        const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const QPointF point = centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
        i == 0 ? star.moveTo(point) : star.lineTo(point);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(170, 120, 0), 1));
    p.setBrush(QColor(250, 200, 40));
    p.drawPath(star);
}

// A grid of register cells, some of them marked.
void registerMap(QPainter& p) {
    p.setPen(QPen(Ink, 1.2));
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const bool marked = (row * 4 + column) % 5 == 1;
            p.setBrush(marked ? Accent : QColor(Qt::white));
            p.drawRect(QRectF(4 + column * 6.2, 4 + row * 6.2, 5, 5));
        }
    }
}

Drawing drawingFor(const QString& key) {
    if (key == QLatin1String("GlobalSettings")) {
        return registerTable;
    }
    if (key == QLatin1String("ChipLayout")) {
        return chipLayout;
    }
    if (key == QLatin1String("Graph")) {
        return graph;
    }
    if (key == QLatin1String("BarGraph")) {
        return barGraph;
    }
    if (key == QLatin1String("Wizard")) {
        return wizard;
    }
    if (key == QLatin1String("RegisterMap")) {
        return registerMap;
    }
    return {};
}

} // namespace

QIcon toolbarIcon(const QString& key) {
    const Drawing draw = drawingFor(key);
    QIcon icon;
    if (!draw) {
        return icon;
    }
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 32.0, size / 32.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace qmf
