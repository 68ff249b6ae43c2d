// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <qcustomplot.h>

namespace qmf {

// A real-time strip chart: named traces over a time-of-day axis that scrolls, showing the last
// windowSeconds() of history at full resolution. Points that have scrolled out of the window are
// dropped, so the chart holds a bounded number of points however long it runs; a run of equal
// readings is kept as its two ends, which draw the same line. Keys are seconds
// since the epoch (QCPAxisTickerDateTime's convention); values go on the left or right axis, each
// of which fits the shown data.
class StripChart : public QCustomPlot {
    Q_OBJECT
public:
    enum class ValueAxis { Left, Right };

    struct TraceStyle {
        QColor color;
        Qt::PenStyle line = Qt::SolidLine;
        qreal width = 1.0;
        friend bool operator==(const TraceStyle&, const TraceStyle&) = default;
    };

    // How a value axis fits its data: padded by a tenth of the span, at least minimumSpan wide,
    // and with zero kept in view when includeZero is set (a speed axis that starts at 0 reads
    // truer than one that zooms into noise).
    struct AxisFit {
        bool includeZero = false;
        double minimumSpan = 10.0;
    };

    // The chart's numbered trace styles, all distinct; numbers outside 0..StandardStyleCount-1
    // wrap around.
    static constexpr int StandardStyleCount = 10;
    static TraceStyle standardStyle(int number);

    explicit StripChart(QWidget* parent = nullptr);
    ~StripChart() override;

    // The time axis: its label, and the tick-label format in QDateTime::toString form.
    void setTimeAxis(const QString& label, const QString& tickFormat);
    // Shows (Right) or hides the axis; a trace on a hidden axis shows it.
    void setValueAxis(ValueAxis axis, const QString& label, const AxisFit& fit);

    // Fixed widths left and right of the plot area, so that charts stacked above each other
    // share one time scale; the heights stay automatic.
    void setSideMargins(int left, int right);

    // The legend row below the plot (shown at first).
    void setLegendVisible(bool visible);

    // The span the time axis shows while it follows the newest point; +infinity shows all that
    // is kept, from the oldest point on.
    void setWindowSeconds(double seconds);
    double windowSeconds() const { return windowSeconds_; }

    // How far back points are kept (at least the window; the window alone at first), so that
    // the user can look back past the shown span.
    void setHistorySeconds(double seconds);
    double historySeconds() const { return historySeconds_; }

    // Whether the time axis follows the newest point (at first it does). While it does not, new
    // points are kept without moving the axis; following again scrolls to the newest.
    void setFollowing(bool following);
    bool following() const { return following_; }

    // The oldest key any trace holds (latestKey() when none).
    double oldestKey() const;

    // Replaces a trace's points at once (keys need not be in order); a level run is kept as its
    // two ends, as addPoint keeps it. The axis is not moved.
    void setTraceData(int trace, const QVector<double>& keys, const QVector<double>& values);

    // Adds a trace and its legend entry; returns its index (0, 1, ...).
    int addTrace(const QString& name, const TraceStyle& style, ValueAxis axis = ValueAxis::Left);
    int traceCount() const { return int(traces_.size()); }
    QString traceName(int trace) const;
    TraceStyle traceStyle(int trace) const;
    ValueAxis traceAxis(int trace) const;
    // The points the trace holds now (a level run counts as its two ends).
    int pointCount(int trace) const;

    // Adds a point and scrolls the window so that it ends at the newest key. A trace index out
    // of range throws std::out_of_range.
    void addPoint(int trace, double key, double value);
    // Scrolls the window to end at key (also without new points) and drops what scrolled out.
    void scrollTo(double key);
    double latestKey() const { return latestKey_; }

    // Shows or hides a trace; a hidden trace leaves the value axes' fit.
    void setTraceVisible(int trace, bool visible);
    bool traceVisible(int trace) const;

    // Removes every point of every trace.
    void clear();

    // New points are drawn at most this often (ms); 0 draws on every change, at the next turn of
    // the event loop. Redrawing costs about a millisecond, while a 100 ms tick moves a five-minute
    // window by a fraction of a pixel, so the default is twice a second. Nothing is drawn while
    // the chart cannot be seen (hidden, or its window or sub-window minimised); what changed
    // meanwhile is drawn once when it shows again.

    void setRefreshIntervalMs(int ms);
    int refreshIntervalMs() const { return refreshMs_; }

    // The chart is on screen: visible, with no minimised window around it.
    bool isOnScreen() const;

    // A time span in the chart's keys (seconds since the epoch); an end of +infinity is still
    // open and reaches the right edge.
    struct TimeSpan {
        double begin = 0.0;
        double end = 0.0;
    };
    // Shades each span over the plot's whole height, behind the grid and the traces, in colour
    // (give it some transparency). The spans of one group replace that group's earlier ones; an
    // empty list removes the group. Shading scrolls with the time axis and is never dropped.
    void setShadedSpans(const QString& group, const QList<TimeSpan>& spans, const QColor& colour);
    int shadedSpanCount(const QString& group) const;

signals:
    void followingChanged(bool following);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Trace {
        QCPGraph* graph = nullptr;
        TraceStyle style;
        ValueAxis axis = ValueAxis::Left;
    };

    QCPAxis* axisFor(ValueAxis axis) const;
    const AxisFit& fitFor(ValueAxis axis) const;
    void fitValueAxes();
    void fitValueAxis(ValueAxis axis);
    void dropScrolledOut();
    double keptSeconds() const;
    void showLatest();
    void requestReplot();
    void refreshNow();
    void watchWindows();
    const Trace& trace(int index) const;
    void placeShading();

    struct Shade {
        QCPItemRect* rect = nullptr;
        TimeSpan span;
    };

    QCPLayoutGrid* legendRow_ = nullptr; // owned by the plot layout, or by this chart when hidden
    QList<Trace> traces_;
    QTimer* refreshTimer_ = nullptr;
    int refreshMs_ = 500;
    bool stale_ = false; // changed since the last drawing
    QList<QPointer<QWidget>> watched_;
    QHash<QString, QList<Shade>> shading_;
    double windowSeconds_ = 300.0;
    double historySeconds_ = 0.0; // beyond the window
    bool following_ = true;
    double latestKey_ = 0.0;
    AxisFit leftFit_{true, 1000.0};
    AxisFit rightFit_{false, 10.0};
};

} // namespace qmf
