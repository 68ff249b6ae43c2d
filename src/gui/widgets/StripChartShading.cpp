// SPDX-License-Identifier: GPL-3.0-or-later
// The strip chart's shaded time spans.
#include "gui/widgets/StripChart.h"

#include <algorithm>
#include <cmath>

namespace qmf {

namespace {

const QString ShadingLayer = QStringLiteral("shading");

} // namespace

void StripChart::setShadedSpans(const QString& group, const QList<TimeSpan>& spans,
                                const QColor& colour) {
    for (const Shade& shade : shading_.value(group)) {
        removeItem(shade.rect);
    }
    shading_.remove(group);
    if (!spans.isEmpty()) {
        if (layer(ShadingLayer) == nullptr) {
            // Above the axis rect's background, below the grid and the traces.
            addLayer(ShadingLayer, layer(QStringLiteral("grid")), limBelow);
        }
        QList<Shade>& shades = shading_[group];
        for (const TimeSpan& span : spans) {
            if (std::isnan(span.begin) || std::isnan(span.end)) {
                continue; // no place in time
            }
            auto* rect = new QCPItemRect(this);
            rect->setLayer(ShadingLayer);
            rect->setSelectable(false);
            rect->setPen(Qt::NoPen);
            rect->setBrush(colour);
            for (QCPItemPosition* corner : {rect->topLeft, rect->bottomRight}) {
                corner->setAxes(xAxis, yAxis);
                corner->setAxisRect(axisRect());
                corner->setTypeX(QCPItemPosition::ptPlotCoords);
                corner->setTypeY(QCPItemPosition::ptAxisRectRatio);
            }
            shades.append({rect, span});
        }
    }
    placeShading();
    requestReplot();
}

int StripChart::shadedSpanCount(const QString& group) const {
    return int(shading_.value(group).size());
}

// Ends far outside the shown range (an open end at infinity) are drawn at its edges' outside,
// so that the painter never gets coordinates it cannot hold.
void StripChart::placeShading() {
    const QCPRange shown = xAxis->range();
    const double lowest = shown.lower - shown.size();
    const double highest = shown.upper + shown.size();
    for (const QList<Shade>& shades : std::as_const(shading_)) {
        for (const Shade& shade : shades) {
            const double begin = std::clamp(shade.span.begin, lowest, highest);
            const double end = std::clamp(shade.span.end, lowest, highest);
            shade.rect->topLeft->setCoords(begin, 0.0);
            shade.rect->bottomRight->setCoords(end, 1.0);
        }
    }
}

} // namespace qmf
