// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/StripChart.h"

#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace qmf {

namespace {

// Rounds a range outwards to half a decade of its span, so that the axis labels stay put while
// the data wander a little inside it.
QCPRange roundedOutwards(double lower, double upper) {
    const double span = upper - lower;
    if (!(span > 0) || !std::isfinite(span)) {
        return {lower, upper};
    }
    const double unit = std::pow(10.0, std::floor(std::log10(span))) / 2.0;
    return {std::floor(lower / unit) * unit, std::ceil(upper / unit) * unit};
}

// The value the line passes through at key between two points; NaN where no line passes.
double lineValueAt(const QCPGraphDataContainer& data, double key) {
    const auto after = data.findEnd(key, false);
    if (after == data.constBegin() || after == data.constEnd()) {
        return std::nan("");
    }
    const auto before = after - 1;
    if (!(before->key < key && key < after->key)) {
        return std::nan(""); // on a point: getValueRange has it
    }
    return before->value +
           (after->value - before->value) * (key - before->key) / (after->key - before->key);
}

} // namespace

StripChart::TraceStyle StripChart::standardStyle(int number) {
    // Colour-blind-safe hues, dark enough to read on white; neighbours differ in hue and
    // the pairs that could be confused also in dash pattern. One-pixel lines take the plot's
    // fast line path: a full redraw of five minutes of five traces stays well under 1 ms.
    static const TraceStyle styles[StandardStyleCount] = {
        {QColor(0x00, 0x00, 0x00), Qt::SolidLine, 1.0}, // black
        {QColor(0x7f, 0x7f, 0x7f), Qt::SolidLine, 1.0}, // grey
        {QColor(0xe6, 0x9f, 0x00), Qt::SolidLine, 1.0}, // orange
        {QColor(0x00, 0x72, 0xb2), Qt::SolidLine, 1.0}, // blue
        {QColor(0x56, 0xb4, 0xe9), Qt::DashLine, 1.0},  // sky blue, dashed
        {QColor(0xd5, 0x5e, 0x00), Qt::SolidLine, 1.0}, // vermilion
        {QColor(0x00, 0x9e, 0x73), Qt::SolidLine, 1.0}, // bluish green
        {QColor(0xcc, 0x79, 0xa7), Qt::DashLine, 1.0},  // reddish purple, dashed
        {QColor(0x99, 0x99, 0x33), Qt::SolidLine, 1.0}, // olive
        {QColor(0x88, 0x22, 0x55), Qt::DotLine, 1.0},   // wine, dotted
    };
    const int index = ((number % StandardStyleCount) + StandardStyleCount) % StandardStyleCount;
    return styles[index];
}

StripChart::StripChart(QWidget* parent) : QCustomPlot(parent) {
    setAccessibleName(QStringLiteral("Strip chart"));
    // No smaller width than the plot's layout asks for: below it the legend cuts its texts.
    setMinimumHeight(200);

    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeSpec(Qt::LocalTime);
    xAxis->setTicker(ticker);
    xAxis2->setVisible(false);
    yAxis->setRange(0, 1000);
    yAxis2->setRange(0, 10);
    yAxis2->setVisible(false);
    for (QCPAxis* axis : {xAxis, yAxis, yAxis2}) {
        axis->grid()->setSubGridVisible(false);
    }
    yAxis2->grid()->setVisible(false); // one grid is enough; the left axis draws it
    xAxis->grid()->setPen(QPen(QColor(0xd0, 0xd0, 0xd0), 0, Qt::DotLine));
    yAxis->grid()->setPen(QPen(QColor(0xd0, 0xd0, 0xd0), 0, Qt::DotLine));
    yAxis->grid()->setZeroLinePen(QPen(QColor(0x90, 0x90, 0x90), 0, Qt::SolidLine));

    // The legend goes in its own row below the plot, so that it never covers a trace.
    axisRect()->insetLayout()->take(legend);
    legendRow_ = new QCPLayoutGrid;
    legendRow_->setMargins(QMargins(6, 0, 6, 4));
    legendRow_->addElement(0, 0, legend);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setBorderPen(Qt::NoPen);
    legend->setBrush(Qt::NoBrush);
    setLegendVisible(true);

    // Solid traces as separate line segments instead of one polyline: much cheaper to draw.
    setPlottingHint(QCP::phFastPolylines, true);
    // Traces are mostly level runs and steps: unsmoothed one-pixel lines keep them crisp, in
    // their own colour, and cost a fraction of smoothed ones.
    setNotAntialiasedElements(QCP::aePlottables);

    connect(this, &QCustomPlot::beforeReplot, this, [this] {
        stale_ = false; // whoever asked for it, this drawing shows every change
        fitValueAxes();
        placeShading();
    });
    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    connect(refreshTimer_, &QTimer::timeout, this, [this] { refreshNow(); });
}

StripChart::~StripChart() {
    // A hidden legend row is outside the layout tree the plot deletes; it must go while the
    // plot's layers still exist.
    if (legendRow_->layout() == nullptr) {
        delete legendRow_;
    }
}

void StripChart::setTimeAxis(const QString& label, const QString& tickFormat) {
    xAxis->setLabel(label);
    if (auto ticker = xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>()) {
        ticker->setDateTimeFormat(tickFormat);
    }
}

void StripChart::setValueAxis(ValueAxis axis, const QString& label, const AxisFit& fit) {
    axisFor(axis)->setLabel(label);
    (axis == ValueAxis::Left ? leftFit_ : rightFit_) = fit;
    if (axis == ValueAxis::Right) {
        yAxis2->setVisible(true);
    }
    replot(rpQueuedReplot);
}

void StripChart::setSideMargins(int left, int right) {
    axisRect()->setAutoMargins(QCP::msTop | QCP::msBottom);
    axisRect()->setMargins(QMargins(left, 0, right, 0));
    replot(rpQueuedReplot);
}

void StripChart::setLegendVisible(bool visible) {
    legend->setVisible(visible);
    const bool placed = plotLayout()->rowCount() > 1;
    if (visible && !placed) {
        plotLayout()->addElement(1, 0, legendRow_);
        plotLayout()->setRowStretchFactor(1, 0.001);
    } else if (!visible && placed) {
        // Taken out of the layout (not deleted), so that the plot gets the whole height.
        plotLayout()->take(legendRow_);
        plotLayout()->simplify();
    }
    replot(rpQueuedReplot);
}

int StripChart::addTrace(const QString& name, const TraceStyle& style, ValueAxis axis) {
    QCPAxis* valueAxis = axisFor(axis);
    valueAxis->setVisible(true);
    QCPGraph* graph = addGraph(xAxis, valueAxis);
    graph->setName(name);
    graph->setPen(QPen(style.color, style.width, style.line, Qt::FlatCap, Qt::BevelJoin));
    graph->setAdaptiveSampling(true);
    traces_.append({graph, style, axis});
    replot(rpQueuedReplot);
    return int(traces_.size()) - 1;
}

const StripChart::Trace& StripChart::trace(int index) const {
    if (index < 0 || index >= traces_.size()) {
        throw std::out_of_range("strip chart trace " + std::to_string(index) + " does not exist");
    }
    return traces_[index];
}

QString StripChart::traceName(int index) const {
    return trace(index).graph->name();
}

StripChart::TraceStyle StripChart::traceStyle(int index) const {
    return trace(index).style;
}

StripChart::ValueAxis StripChart::traceAxis(int index) const {
    return trace(index).axis;
}

int StripChart::pointCount(int index) const {
    return trace(index).graph->dataCount();
}

void StripChart::addPoint(int index, double key, double value) {
    const QSharedPointer<QCPGraphDataContainer> data = trace(index).graph->data();
    // A reading equal to the two before it only lengthens their level run: the run's end moves
    // instead of a point being added. The line drawn is the same; steady readings cost two
    // points instead of ten a second, to keep and to draw.
    const int count = data->size();
    const auto last = data->end() - 1;
    if (count >= 2 && key >= last->key && last->value == value && (last - 1)->value == value) {
        last->key = key;
    } else {
        data->add(QCPGraphData(key, value));
    }
    if (key > latestKey_) {
        scrollTo(key);
    } else {
        requestReplot();
    }
}

void StripChart::scrollTo(double key) {
    latestKey_ = key;
    dropScrolledOut();
    if (following_) {
        showLatest();
    }
    requestReplot();
}

void StripChart::clear() {
    for (const Trace& t : traces_) {
        t.graph->data()->clear();
    }
    requestReplot();
}

void StripChart::setRefreshIntervalMs(int ms) {
    refreshMs_ = std::max(0, ms);
}

void StripChart::requestReplot() {
    stale_ = true;
    if (!isOnScreen()) {
        return;
    }
    if (refreshMs_ == 0) {
        QTimer::singleShot(0, this, [this] { refreshNow(); });
    } else if (!refreshTimer_->isActive()) {
        refreshTimer_->start(refreshMs_);
    }
}

void StripChart::refreshNow() {
    if (stale_ && isOnScreen()) {
        replot();
    }
}

bool StripChart::isOnScreen() const {
    if (!isVisible()) {
        return false;
    }
    for (const QWidget* w = this; w != nullptr; w = w->parentWidget()) {
        if (w->isMinimized()) {
            return false;
        }
    }
    return true;
}

void StripChart::showEvent(QShowEvent* event) {
    QCustomPlot::showEvent(event);
    watchWindows();
    if (stale_) {
        requestReplot();
    }
}

// A minimised window (or MDI sub-window) keeps its children visible: watch the windows around
// the chart, so that what changed while they were minimised is drawn when they come back.
void StripChart::watchWindows() {
    for (const QPointer<QWidget>& w : std::as_const(watched_)) {
        if (w) {
            w->removeEventFilter(this);
        }
    }
    watched_.clear();
    for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (w->isWindow() || w->inherits("QMdiSubWindow")) {
            w->installEventFilter(this);
            watched_.append(w);
        }
    }
}

bool StripChart::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && stale_) {
        // The new state is in force once the event has been handled.
        QTimer::singleShot(0, this, [this] {
            if (stale_) {
                requestReplot();
            }
        });
    }
    return QCustomPlot::eventFilter(watched, event);
}

void StripChart::dropScrolledOut() {
    const double oldest = latestKey_ - keptSeconds();
    for (const Trace& t : traces_) {
        // The last point before the window stays, so that every line enters from the left edge,
        // also a level run that began long before; a trace with nothing in the window empties.
        const QSharedPointer<QCPGraphDataContainer> data = t.graph->data();
        const auto edge = data->findBegin(oldest, true);
        if (edge == data->constEnd()) {
            continue;
        }
        if (edge->key < oldest && edge + 1 == data->constEnd()) {
            data->clear();
        } else {
            data->removeBefore(edge->key);
        }
    }
}

QCPAxis* StripChart::axisFor(ValueAxis axis) const {
    return axis == ValueAxis::Left ? yAxis : yAxis2;
}

const StripChart::AxisFit& StripChart::fitFor(ValueAxis axis) const {
    return axis == ValueAxis::Left ? leftFit_ : rightFit_;
}

void StripChart::fitValueAxes() {
    fitValueAxis(ValueAxis::Left);
    fitValueAxis(ValueAxis::Right);
}

void StripChart::fitValueAxis(ValueAxis axis) {
    const QCPRange shownKeys = xAxis->range();
    bool any = false;
    QCPRange data;
    for (const Trace& t : traces_) {
        if (t.axis != axis || !t.graph->visible()) {
            continue;
        }
        bool found = false;
        QCPRange range = t.graph->getValueRange(found, QCP::sdBoth, shownKeys);
        // Where the line crosses the edges: a level run kept as its two ends, both out of sight,
        // still draws its line across.
        for (double edge : {shownKeys.lower, shownKeys.upper}) {
            const double value = lineValueAt(*t.graph->data(), edge);
            if (!std::isnan(value)) {
                range = found ? QCPRange(std::min(range.lower, value), std::max(range.upper, value))
                              : QCPRange(value, value);
                found = true;
            }
        }
        if (found) {
            if (any) {
                data.expand(range);
            } else {
                data = range;
            }
            any = true;
        }
    }
    if (!any) {
        return; // nothing shown: the axis keeps its range
    }
    const AxisFit& fit = fitFor(axis);
    if (fit.includeZero) {
        data.expand(0.0);
    }
    const double pad = data.size() / 10.0;
    double lower = data.lower - pad;
    double upper = data.upper + pad;
    const bool floorAtZero = fit.includeZero && data.lower >= 0.0;
    if (upper - lower < fit.minimumSpan) {
        const double centre = (data.lower + data.upper) / 2.0;
        lower = centre - fit.minimumSpan / 2.0;
        upper = centre + fit.minimumSpan / 2.0;
    }
    if (floorAtZero && lower < 0.0) {
        upper -= lower;
        lower = 0.0;
    }
    axisFor(axis)->setRange(roundedOutwards(lower, upper));
}

} // namespace qmf
