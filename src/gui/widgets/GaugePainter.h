// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/widgets/GaugePointers.h"

#include <QPixmap>
#include <QRectF>
#include <QString>
#include <optional>

class QPainter;
class QWidget;

namespace qmf::gauge {

// What one picture of a round gauge shows.
struct GaugeScene {
    DialFrame frame;
    QRectF hintStrip; // where the hint line goes; empty without a hint
    DialScale scale;
    const PointerModel* pointers = nullptr;
    double reading = 0.0;
    QString caption;
    QString hint;
    QString unit;
    std::optional<QPointF> focusRing; // the handle the keyboard moves, while focused
};

// Draws a round gauge. What does not change between readings (bezel, face, hint line, scale
// line, ticks, labels, unit) is drawn once into two cached layers and only copied afterwards;
// zones and bands go between the two layers, so the ticks stay readable on top of them.
class GaugePainter {
public:
    // Draws the scene on `widget`'s own painter, taking its font and palette.
    void paint(QPainter& p, const GaugeScene& scene, const QWidget& widget);

    // The cached layers are stale: the scale, unit, hint, font or palette changed. A new size
    // or pixel ratio is noticed without this.
    void invalidate() {
        back_ = QPixmap();
        front_ = QPixmap();
    }

    // How often the cached layers were drawn (for tests and benchmarks).
    int layerBuilds() const { return layerBuilds_; }

private:
    void buildLayers(const GaugeScene& scene, const QWidget& widget);

    QPixmap back_;  // bezel, face and hint
    QPixmap front_; // scale line, ticks, labels and unit, on a transparent ground
    int layerBuilds_ = 0;
};

} // namespace qmf::gauge
