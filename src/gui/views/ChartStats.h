// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <qcustomplot.h>

class QTableWidget;
class QWidget;

namespace qmf {

class StripChart;

// A trace over a span of time, as its line is drawn there (also where the line only crosses the
// span): its value at the span's right end (the newest reading while the chart follows), lowest,
// highest, and mean over time (the area under the line divided by the time it covers, so that a
// level run kept as two points weighs as long as it lasted).
struct SpanStats {
    int points = 0; // 0: nothing in the span; the rest is then NaN
    double current = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    double mean = 0.0;
};
SpanStats spanStats(const QCPGraphDataContainer& data, const QCPRange& span);

// The table beside a chart: one row per trace with its current, minimum, maximum and mean over
// the span the chart shows, filled anew whenever the chart is drawn (so never while it cannot
// be seen), and only cells whose text changed are touched.
class ChartStatsTable : public QObject {
    Q_OBJECT
public:
    ChartStatsTable(StripChart* chart, QWidget* parent);
    QTableWidget* table() const { return table_; }
    void refresh();

private:
    StripChart* chart_;
    QTableWidget* table_;
};

} // namespace qmf
