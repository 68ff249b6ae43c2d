// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/ChartCursor.h"

#include "gui/widgets/StripChart.h"

#include <QDateTime>
#include <QEvent>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace qmf {

namespace {

const QString CursorLayer = QStringLiteral("cursor");

// The value a trace's line passes through at key; NaN outside its points.
double valueAt(const QCPGraph& graph, double key) {
    const auto data = graph.data();
    const auto after =
        std::upper_bound(data->constBegin(), data->constEnd(), key,
                         [](double k, const QCPGraphData& point) { return k < point.key; });
    if (after == data->constBegin()) {
        return std::nan("");
    }
    const auto at = after - 1;
    if (after == data->constEnd()) {
        return at->key == key ? at->value : std::nan("");
    }
    const double t = (key - at->key) / (after->key - at->key);
    return at->value + (after->value - at->value) * t;
}

} // namespace

ChartCursor::ChartCursor(QList<StripChart*> charts, QStringList units, QObject* parent)
    : QObject(parent), charts_(std::move(charts)), units_(std::move(units)), key_(std::nan("")) {
    for (StripChart* chart : std::as_const(charts_)) {
        chart->setMouseTracking(true);
        chart->installEventFilter(this);
        if (chart->layer(CursorLayer) == nullptr) {
            chart->addLayer(CursorLayer, chart->layer(QStringLiteral("overlay")),
                            QCustomPlot::limBelow);
            chart->layer(CursorLayer)->setMode(QCPLayer::lmBuffered);
        }
        auto* line = new QCPItemStraightLine(chart);
        line->setLayer(CursorLayer);
        line->setSelectable(false);
        line->setPen(QPen(QColor(0x30, 0x30, 0x30), 1, Qt::DashLine));
        line->point1->setTypeY(QCPItemPosition::ptAxisRectRatio);
        line->point2->setTypeY(QCPItemPosition::ptAxisRectRatio);
        line->setVisible(false);
        lines_.append(line);
        connect(chart, &QCustomPlot::mouseMove, this, [this, chart](QMouseEvent* event) {
            const QPointF at = event->position();
            showAt(chart->axisRect()->rect().contains(at.toPoint())
                       ? chart->xAxis->pixelToCoord(at.x())
                       : std::nan(""));
        });
    }
    if (!charts_.isEmpty()) {
        StripChart* first = charts_.first();
        label_ = new QCPItemText(first);
        label_->setLayer(CursorLayer);
        label_->setSelectable(false);
        label_->setClipToAxisRect(true);
        label_->position->setType(QCPItemPosition::ptAxisRectRatio);
        label_->position->setCoords(0.005, 0.01);
        label_->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        label_->setTextAlignment(Qt::AlignLeft);
        label_->setPadding(QMargins(4, 2, 4, 2));
        label_->setBrush(QColor(255, 255, 255, 225));
        label_->setPen(QPen(QColor(0x90, 0x90, 0x90)));
        label_->setVisible(false);
    }
}

void ChartCursor::showAt(double key) {
    const bool shown = !std::isnan(key);
    if (!shown && !isShown()) {
        return;
    }
    key_ = key;
    for (int i = 0; i < charts_.size(); ++i) {
        lines_[i]->setVisible(shown);
        if (shown) {
            lines_[i]->point1->setCoords(key, 0.0);
            lines_[i]->point2->setCoords(key, 1.0);
        }
    }
    if (label_ != nullptr) {
        label_->setVisible(shown);
        if (shown) {
            label_->setText(describe(key));
        }
    }
    for (StripChart* chart : std::as_const(charts_)) {
        // Only the cursor's own layer is drawn again; a chart that cannot be seen waits.
        if (chart->isOnScreen()) {
            chart->layer(CursorLayer)->replot();
        }
    }
}

bool ChartCursor::isShown() const {
    return !std::isnan(key_);
}

QString ChartCursor::text() const {
    return label_ != nullptr && label_->visible() ? label_->text() : QString();
}

QString ChartCursor::describe(double key) const {
    const StripChart& chart = *charts_.first();
    QStringList lines{QDateTime::fromMSecsSinceEpoch(qint64(std::floor(key * 1000.0)))
                          .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))};
    for (int trace = 0; trace < chart.traceCount(); ++trace) {
        if (!chart.traceVisible(trace)) {
            continue;
        }
        const double value = valueAt(*chart.graph(trace), key);
        lines << QStringLiteral("%1: %2 %3")
                     .arg(chart.traceName(trace),
                          std::isnan(value) ? QStringLiteral("-") : QString::number(value, 'f', 1),
                          units_.value(trace));
    }
    return lines.join(QLatin1Char('\n'));
}

bool ChartCursor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Leave) {
        showAt(std::nan(""));
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qmf
