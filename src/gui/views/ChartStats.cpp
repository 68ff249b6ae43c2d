// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/ChartStats.h"

#include "gui/widgets/StripChart.h"

#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <vector>

namespace qmf {

SpanStats spanStats(const QCPGraphDataContainer& data, const QCPRange& span) {
    // The line as drawn inside the span: the points in it, and where the lines from the points
    // just outside cross its edges (a level run kept as its two ends may have none inside).
    std::vector<QCPGraphData> line;
    const auto byKey = [](const QCPGraphData& point, double key) { return point.key < key; };
    auto it = std::lower_bound(data.constBegin(), data.constEnd(), span.lower, byKey);
    const auto crossing = [](const QCPGraphData& a, const QCPGraphData& b, double key) {
        return QCPGraphData(key, a.value + (b.value - a.value) * (key - a.key) / (b.key - a.key));
    };
    if (it != data.constBegin() && it != data.constEnd() && it->key > span.lower) {
        line.push_back(crossing(*(it - 1), *it, span.lower));
    }
    for (; it != data.constEnd() && it->key <= span.upper; ++it) {
        line.push_back(*it);
    }
    if (it != data.constBegin() && it != data.constEnd() && (it - 1)->key < span.upper) {
        line.push_back(crossing(*(it - 1), *it, span.upper));
    }

    SpanStats stats;
    double area = 0.0;
    double covered = 0.0;
    const QCPGraphData* previous = nullptr;
    for (const QCPGraphData& point : line) {
        if (std::isnan(point.value)) {
            previous = nullptr; // a gap in the line
            continue;
        }
        if (stats.points == 0) {
            stats.minimum = stats.maximum = point.value;
        }
        ++stats.points;
        stats.current = point.value;
        stats.minimum = std::min(stats.minimum, point.value);
        stats.maximum = std::max(stats.maximum, point.value);
        if (previous != nullptr) {
            const double dt = point.key - previous->key;
            area += (point.value + previous->value) / 2.0 * dt;
            covered += dt;
        }
        previous = &point;
    }
    if (stats.points == 0) {
        stats.current = stats.minimum = stats.maximum = stats.mean = std::nan("");
    } else {
        stats.mean = covered > 0.0 ? area / covered : stats.current;
    }
    return stats;
}

ChartStatsTable::ChartStatsTable(StripChart* chart, QWidget* parent)
    : QObject(parent), chart_(chart), table_(new QTableWidget(parent)) {
    table_->setObjectName(QStringLiteral("ChartStatsTBL"));
    table_->setAccessibleName(QStringLiteral("Readings over the shown span"));
    table_->setColumnCount(4);
    table_->setHorizontalHeaderLabels({QStringLiteral("Current"), QStringLiteral("Min"),
                                       QStringLiteral("Max"), QStringLiteral("Mean")});
    table_->setRowCount(chart_->traceCount());
    QStringList names;
    for (int trace = 0; trace < chart_->traceCount(); ++trace) {
        names << chart_->traceName(trace);
        for (int column = 0; column < 4; ++column) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            table_->setItem(trace, column, item);
        }
    }
    table_->setVerticalHeaderLabels(names);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Fixed columns wide enough for any reading: the table never changes its width as values
    // come and go, so that the chart beside it keeps its size.
    const QFontMetrics metrics = table_->fontMetrics();
    const int column = std::max(metrics.horizontalAdvance(QStringLiteral("Current")),
                                metrics.horizontalAdvance(QStringLiteral("-00000.0"))) +
                       16;
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setDefaultSectionSize(column);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    // The headers' own minimum hints are squares taller than one row: their real sizes are
    // their minimum.
    table_->horizontalHeader()->setMinimumHeight(table_->horizontalHeader()->sizeHint().height());
    table_->verticalHeader()->setMinimumWidth(table_->verticalHeader()->sizeHint().width());
    table_->setFixedWidth(table_->verticalHeader()->sizeHint().width() + 4 * column +
                          2 * table_->frameWidth() + 2);
    connect(chart_, &QCustomPlot::afterReplot, this, [this] { refresh(); });
    refresh();
}

void ChartStatsTable::refresh() {
    const QCPRange span = chart_->xAxis->range();
    for (int trace = 0; trace < chart_->traceCount(); ++trace) {
        const SpanStats stats = spanStats(*chart_->graph(trace)->data(), span);
        const double values[4] = {stats.current, stats.minimum, stats.maximum, stats.mean};
        for (int column = 0; column < 4; ++column) {
            // Readings are whole numbers; the mean gets a decimal.
            const QString text = std::isnan(values[column])
                                     ? QStringLiteral("-")
                                     : QString::number(values[column], 'f', column == 3 ? 1 : 0);
            QTableWidgetItem* item = table_->item(trace, column);
            if (item->text() != text) {
                item->setText(text);
            }
            const QColor colour = chart_->traceVisible(trace)
                                      ? table_->palette().color(QPalette::Text)
                                      : QColor(0xa0, 0xa0, 0xa0);
            if (item->foreground().color() != colour) {
                item->setForeground(colour);
            }
        }
    }
}

} // namespace qmf
