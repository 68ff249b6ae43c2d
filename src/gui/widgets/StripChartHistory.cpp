// SPDX-License-Identifier: GPL-3.0-or-later
// The strip chart's kept history, following the newest point or not, whole traces at once, and
// hidden traces.
#include "gui/widgets/StripChart.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace qmf {

void StripChart::setWindowSeconds(double seconds) {
    if (!(seconds > 0)) {
        throw std::invalid_argument("a strip chart window must be longer than 0 s");
    }
    windowSeconds_ = seconds;
    scrollTo(latestKey_);
}

void StripChart::setHistorySeconds(double seconds) {
    historySeconds_ = std::max(0.0, seconds);
    dropScrolledOut();
    requestReplot();
}

double StripChart::keptSeconds() const {
    if (std::isinf(windowSeconds_)) {
        return historySeconds_ > 0.0 ? historySeconds_ : windowSeconds_;
    }
    return std::max(windowSeconds_, historySeconds_);
}

void StripChart::setFollowing(bool following) {
    if (following_ == following) {
        return;
    }
    following_ = following;
    if (following_) {
        showLatest();
        requestReplot();
    }
    emit followingChanged(following_);
}

void StripChart::showLatest() {
    if (std::isinf(windowSeconds_)) {
        const double oldest = oldestKey();
        xAxis->setRange(oldest < latestKey_ ? oldest : latestKey_ - 1.0, latestKey_);
    } else {
        xAxis->setRange(latestKey_ - windowSeconds_, latestKey_);
    }
}

double StripChart::oldestKey() const {
    double oldest = latestKey_;
    for (const Trace& t : traces_) {
        if (!t.graph->data()->isEmpty()) {
            oldest = std::min(oldest, t.graph->data()->constBegin()->key);
        }
    }
    return oldest;
}

void StripChart::setTraceData(int index, const QVector<double>& keys,
                              const QVector<double>& values) {
    if (keys.size() != values.size()) {
        throw std::invalid_argument("a strip chart trace needs one value per key");
    }
    const Trace& t = trace(index);
    QVector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    if (!std::is_sorted(keys.begin(), keys.end())) {
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return keys[a] < keys[b]; });
    }
    // As addPoint does: a value equal to the two before it moves the run's end.
    QVector<QCPGraphData> points;
    points.reserve(keys.size());
    for (int i : order) {
        const qsizetype n = points.size();
        if (n >= 2 && points[n - 1].value == values[i] && points[n - 2].value == values[i]) {
            points[n - 1].key = keys[i];
        } else {
            points.append(QCPGraphData(keys[i], values[i]));
        }
    }
    t.graph->data()->set(points, true);
    latestKey_ = std::max(latestKey_, points.isEmpty() ? latestKey_ : points.constLast().key);
    requestReplot();
}

void StripChart::setTraceVisible(int index, bool visible) {
    QCPGraph* graph = trace(index).graph;
    graph->setVisible(visible);
    if (QCPPlottableLegendItem* item = legend->itemWithPlottable(graph)) {
        // A hidden trace's legend entry greys out, so that it can be clicked on again.
        item->setTextColor(visible ? Qt::black : QColor(0xa0, 0xa0, 0xa0));
    }
    requestReplot();
}

bool StripChart::traceVisible(int index) const {
    return trace(index).graph->visible();
}

} // namespace qmf
