// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/GaugePainter.h"

#include <QLocale>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace qmf::gauge {

namespace {

constexpr int MajorTickTarget = 6;
const QColor Ink(0x1c, 0x1f, 0x23);

QRectF circleRect(QPointF center, double r) {
    return {center.x() - r, center.y() - r, 2.0 * r, 2.0 * r};
}

QString tickLabel(double value) {
    return QLocale::c().toString(value, 'g', 6);
}

void drawArc(QPainter& p, const GaugeScene& s, double from, double to) {
    const double a0 = valueToAngle(s.scale, from);
    const double a1 = valueToAngle(s.scale, to);
    p.drawArc(circleRect(s.frame.center, radius::Band * s.frame.radius),
              int(std::lround(a0 * 16.0)), int(std::lround((a1 - a0) * 16.0)));
}

void paintFace(QPainter& p, const DialFrame& f) {
    const double r = f.radius;
    QLinearGradient bezel(f.center.x(), f.center.y() - r, f.center.x(), f.center.y() + r);
    bezel.setColorAt(0.0, QColor(0x8a, 0x90, 0x96));
    bezel.setColorAt(1.0, QColor(0x3a, 0x3e, 0x43));
    p.setPen(QPen(QColor(0x2a, 0x2d, 0x31), 1.0));
    p.setBrush(bezel);
    p.drawEllipse(circleRect(f.center, r));

    QRadialGradient face(f.center, radius::Face * r, f.center - QPointF(0, 0.3 * r));
    face.setColorAt(0.0, QColor(0xff, 0xff, 0xff));
    face.setColorAt(1.0, QColor(0xe4, 0xe7, 0xea));
    p.setPen(QPen(QColor(0x25, 0x28, 0x2c), std::max(1.0, 0.012 * r)));
    p.setBrush(face);
    p.drawEllipse(circleRect(f.center, radius::Face * r));
}

void paintHint(QPainter& p, const GaugeScene& s, const QWidget& widget) {
    if (s.hint.isEmpty() || s.hintStrip.isEmpty()) {
        return;
    }
    QFont font = widget.font();
    font.setPixelSize(
        int(std::clamp(0.075 * std::min(widget.width(), widget.height()), 9.0, 13.0)));
    p.setFont(font);
    p.setPen(widget.palette().color(QPalette::PlaceholderText));
    const QString text =
        QFontMetrics(font).elidedText(s.hint, Qt::ElideRight, int(s.hintStrip.width()) - 4);
    p.drawText(s.hintStrip, Qt::AlignHCenter | Qt::AlignVCenter, text);
}

void tick(QPainter& p, const DialFrame& f, const DialScale& scale, double value, double length) {
    const double a = valueToAngle(scale, value);
    p.drawLine(pointAtAngle(f.center, radius::Scale * f.radius, a),
               pointAtAngle(f.center, (radius::Scale - length) * f.radius, a));
}

void paintScale(QPainter& p, const GaugeScene& s, const QWidget& widget) {
    const DialFrame& f = s.frame;
    const double r = f.radius;
    const double a0 = valueToAngle(s.scale, s.scale.minimum);
    const double a1 = valueToAngle(s.scale, s.scale.maximum);
    p.setPen(QPen(Ink, std::max(1.0, 0.014 * r), Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(circleRect(f.center, radius::Scale * r), int(std::lround(a0 * 16.0)),
              int(std::lround((a1 - a0) * 16.0)));

    const ScaleTicks ticks = scaleTicks(s.scale, MajorTickTarget);
    p.setPen(QPen(Ink, std::max(1.0, 0.008 * r), Qt::SolidLine, Qt::FlatCap));
    for (double v : ticks.minor) {
        tick(p, f, s.scale, v, radius::MinorTick);
    }
    p.setPen(QPen(Ink, std::max(1.5, 0.018 * r), Qt::SolidLine, Qt::FlatCap));
    for (double v : ticks.major) {
        tick(p, f, s.scale, v, radius::MajorTick);
    }
    // The two ends of the scale get a major tick even when they are not round numbers.
    for (double v : {s.scale.minimum, s.scale.maximum}) {
        tick(p, f, s.scale, v, radius::MajorTick);
    }

    QFont font = widget.font();
    font.setPixelSize(std::max(7, int(std::lround(0.092 * r))));
    p.setFont(font);
    p.setPen(Ink);
    const QFontMetricsF fm(font);
    for (double v : ticks.major) {
        const QString text = tickLabel(v);
        const QPointF at = pointAtAngle(f.center, radius::Label * r, valueToAngle(s.scale, v));
        const QRectF box(at.x() - fm.horizontalAdvance(text) / 2.0 - 1.0,
                         at.y() - fm.height() / 2.0, fm.horizontalAdvance(text) + 2.0, fm.height());
        p.drawText(box, Qt::AlignCenter, text);
    }
    if (!s.unit.isEmpty()) {
        QFont unitFont = widget.font();
        unitFont.setPixelSize(std::max(7, int(std::lround(0.085 * r))));
        p.setFont(unitFont);
        p.setPen(QColor(0x5f, 0x66, 0x6d));
        const QRectF box(f.center.x() - 0.4 * r, f.center.y() - 0.36 * r, 0.8 * r, 0.14 * r);
        p.drawText(box, Qt::AlignCenter, s.unit);
    }
}

void paintZonesAndBands(QPainter& p, const GaugeScene& s) {
    const double r = s.frame.radius;
    p.setBrush(Qt::NoBrush);
    for (const auto& [id, ptr] : s.pointers->all()) {
        if (ptr.kind != PointerKind::Marker || !ptr.zoneBelow.isValid()) {
            continue;
        }
        QColor fill = ptr.zoneBelow;
        fill.setAlpha(90);
        p.setPen(QPen(fill, radius::BandWidth * r, Qt::SolidLine, Qt::FlatCap));
        drawArc(p, s, s.scale.minimum, ptr.value);
    }
    for (const auto& [id, ptr] : s.pointers->all()) {
        if (ptr.kind != PointerKind::Band) {
            continue;
        }
        QColor fill = ptr.color;
        fill.setAlpha(ptr.draggable ? 110 : 170);
        const double width = (ptr.draggable ? radius::BandWidth : 0.3 * radius::BandWidth) * r;
        p.setPen(QPen(fill, width, Qt::SolidLine, Qt::FlatCap));
        drawArc(p, s, ptr.start, ptr.stop);
    }
}

void paintPointers(QPainter& p, const GaugeScene& s, const QWidget& widget) {
    const DialFrame& f = s.frame;
    const double r = f.radius;
    const QColor outline(0x1c, 0x1f, 0x23);
    for (const auto& [id, ptr] : s.pointers->all()) {
        if (ptr.kind == PointerKind::Marker) {
            const double a = valueToAngle(s.scale, ptr.value);
            const double halfWidth = 7.0; // degrees either side at the base
            QPolygonF triangle;
            triangle << pointAtAngle(f.center, radius::MarkerTip * r, a)
                     << pointAtAngle(f.center, radius::MarkerBase * r, a + halfWidth)
                     << pointAtAngle(f.center, radius::MarkerBase * r, a - halfWidth);
            p.setPen(QPen(outline, std::max(1.0, 0.01 * r)));
            p.setBrush(ptr.color);
            p.drawPolygon(triangle);
        } else if (ptr.kind == PointerKind::Band && ptr.draggable) {
            // Grips at the two ends of a band that can be dragged.
            p.setPen(QPen(outline, std::max(1.0, 0.008 * r)));
            p.setBrush(ptr.color.lighter(115));
            for (double v : {ptr.start, ptr.stop}) {
                const QPointF at =
                    pointAtAngle(f.center, radius::Band * r, valueToAngle(s.scale, v));
                p.drawEllipse(at, 0.035 * r, 0.035 * r);
            }
        }
    }
    if (s.focusRing) {
        p.setPen(QPen(widget.palette().color(QPalette::Highlight), std::max(1.5, 0.015 * r),
                      Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(*s.focusRing, 0.085 * r, 0.085 * r);
    }
}

void paintNeedle(QPainter& p, const GaugeScene& s) {
    const DialFrame& f = s.frame;
    const double r = f.radius;
    const double a = valueToAngle(s.scale, s.reading);
    QPolygonF needle;
    needle << pointAtAngle(f.center, radius::Needle * r, a)
           << pointAtAngle(f.center, 0.035 * r, a + 90.0)
           << pointAtAngle(f.center, 0.14 * r, a + 180.0)
           << pointAtAngle(f.center, 0.035 * r, a - 90.0);
    p.setPen(QPen(QColor(0x10, 0x12, 0x14), std::max(1.0, 0.006 * r)));
    p.setBrush(QColor(0x22, 0x25, 0x29));
    p.drawPolygon(needle);
    QRadialGradient hub(f.center, 0.075 * r, f.center - QPointF(0.02 * r, 0.02 * r));
    hub.setColorAt(0.0, QColor(0x90, 0x96, 0x9c));
    hub.setColorAt(1.0, QColor(0x2a, 0x2d, 0x31));
    p.setBrush(hub);
    p.drawEllipse(f.center, 0.07 * r, 0.07 * r);
}

void paintCaption(QPainter& p, const GaugeScene& s, const QWidget& widget) {
    if (s.caption.isEmpty()) {
        return;
    }
    const double r = s.frame.radius;
    const QPointF c = s.frame.center;
    const QRectF box(c.x() - 0.34 * r, c.y() + 0.42 * r, 0.68 * r, 0.21 * r);
    p.setPen(QPen(QColor(0x10, 0x12, 0x14), std::max(1.0, 0.008 * r)));
    p.setBrush(QColor(0x26, 0x2a, 0x2f));
    p.drawRoundedRect(box, 0.03 * r, 0.03 * r);
    QFont font = widget.font();
    font.setStyleHint(QFont::Monospace);
    font.setFamily(QStringLiteral("DejaVu Sans Mono"));
    font.setBold(true);
    font.setPixelSize(std::max(8, int(std::lround(0.135 * r))));
    const QFontMetricsF fm(font);
    // Shrink long captions to the readout instead of clipping them.
    const double fits = (box.width() - 0.04 * r) / std::max(1.0, fm.horizontalAdvance(s.caption));
    if (fits < 1.0) {
        font.setPixelSize(std::max(6, int(font.pixelSize() * fits)));
    }
    p.setFont(font);
    p.setPen(QColor(0xf2, 0xf4, 0xf5));
    p.drawText(box, Qt::AlignCenter, s.caption);
}

QPixmap transparentLayer(const QWidget& widget) {
    const qreal ratio = widget.devicePixelRatioF();
    QPixmap layer(widget.size() * ratio);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    return layer;
}

bool fits(const QPixmap& layer, const QWidget& widget) {
    return !layer.isNull() && layer.devicePixelRatio() == widget.devicePixelRatioF() &&
           layer.deviceIndependentSize() == QSizeF(widget.size());
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

} // namespace

void GaugePainter::buildLayers(const GaugeScene& scene, const QWidget& widget) {
    back_ = transparentLayer(widget);
    front_ = transparentLayer(widget);
    {
        QPainter p(&back_);
        prepare(p);
        paintFace(p, scene.frame);
        paintHint(p, scene, widget);
    }
    {
        QPainter p(&front_);
        prepare(p);
        paintScale(p, scene, widget);
    }
    ++layerBuilds_;
}

void GaugePainter::paint(QPainter& p, const GaugeScene& scene, const QWidget& widget) {
    if (scene.frame.radius < 10.0 || scene.pointers == nullptr) {
        return;
    }
    if (!fits(back_, widget) || !fits(front_, widget)) {
        buildLayers(scene, widget);
    }
    prepare(p);
    p.drawPixmap(0, 0, back_);
    paintZonesAndBands(p, scene);
    p.drawPixmap(0, 0, front_);
    paintPointers(p, scene, widget);
    paintNeedle(p, scene);
    paintCaption(p, scene, widget);
}

} // namespace qmf::gauge
