// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/ChartNavigation.h"

#include "gui/widgets/StripChart.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>
#include <cmath>
#include <limits>

namespace qmf {

const QList<double>& ChartNavigation::spans() {
    static const QList<double> seconds{60.0, 300.0, 600.0, 3600.0,
                                       std::numeric_limits<double>::infinity()};
    return seconds;
}

const QStringList& ChartNavigation::spanNames() {
    static const QStringList names{QStringLiteral("1 min"), QStringLiteral("5 min"),
                                   QStringLiteral("10 min"), QStringLiteral("1 h"),
                                   QStringLiteral("All kept")};
    return names;
}

ChartNavigation::ChartNavigation(QList<StripChart*> charts, QWidget* controlsParent, bool live,
                                 int spanIndex)
    : QObject(controlsParent), charts_(std::move(charts)) {
    spanBox_ = new QComboBox(controlsParent);
    spanBox_->setObjectName(QStringLiteral("ChartSpanCBO"));
    spanBox_->setAccessibleName(QStringLiteral("Time span shown"));
    spanBox_->addItems(spanNames());
    spanBox_->setCurrentIndex(spanIndex);
    liveButton_ = new QPushButton(QStringLiteral("Live"), controlsParent);
    liveButton_->setObjectName(QStringLiteral("LiveCMD"));
    liveButton_->setToolTip(QStringLiteral("Follow the newest readings again"));
    liveButton_->setEnabled(false);
    liveButton_->setVisible(live);

    for (StripChart* chart : std::as_const(charts_)) {
        chart->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
        chart->axisRect()->setRangeDrag(Qt::Horizontal);
        chart->axisRect()->setRangeZoom(Qt::Horizontal);
        chart->axisRect()->setRangeDragAxes(chart->xAxis, nullptr);
        chart->axisRect()->setRangeZoomAxes(chart->xAxis, nullptr);
        // The plot reports the wheel and the drag before it moves the axis.
        connect(chart, &QCustomPlot::mouseWheel, this, [this] { pause(); });
        connect(chart, &QCustomPlot::mouseMove, this, [this](QMouseEvent* event) {
            if (event->buttons() & Qt::LeftButton) {
                pause();
            }
        });
        connect(chart->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
                [this, chart](const QCPRange& range) { rangeChanged(chart, range); });
    }
    connect(spanBox_, &QComboBox::currentIndexChanged, this, [this](int i) { chooseSpan(i); });
    connect(liveButton_, &QPushButton::clicked, this, [this] { goLive(); });
    chooseSpan(spanIndex);
}

void ChartNavigation::chooseSpan(int index) {
    if (index < 0 || index >= spans().size()) {
        return;
    }
    const double span = spans()[index];
    StripChart* lead = charts_.value(0);
    // Looking back, the span keeps the right edge where the user left it.
    const bool following = lead == nullptr || lead->following();
    const double right = lead != nullptr ? lead->xAxis->range().upper : 0.0;
    for (StripChart* chart : std::as_const(charts_)) {
        chart->setWindowSeconds(span);
    }
    if (!following && lead != nullptr) {
        const double left = std::isinf(span) ? lead->oldestKey() : right - span;
        lead->xAxis->setRange(left, right);
        for (StripChart* chart : std::as_const(charts_)) {
            chart->replot(QCustomPlot::rpQueuedReplot);
        }
    }
}

void ChartNavigation::pause() {
    for (StripChart* chart : std::as_const(charts_)) {
        chart->setFollowing(false);
    }
    liveButton_->setEnabled(true);
}

void ChartNavigation::goLive() {
    for (StripChart* chart : std::as_const(charts_)) {
        chart->setFollowing(true);
    }
    liveButton_->setEnabled(false);
    if (!charts_.isEmpty()) {
        rangeChanged(charts_.first(), charts_.first()->xAxis->range());
    }
}

// While following, the lead's range is everyone's (a chart without traces would otherwise show
// only its last second of "all kept"); while looking back, whichever chart the user moved leads.
void ChartNavigation::rangeChanged(StripChart* source, const QCPRange& range) {
    if (syncing_ || charts_.isEmpty()) {
        return;
    }
    syncing_ = true;
    StripChart* lead = charts_.first();
    if (source == lead || !source->following()) {
        for (StripChart* chart : std::as_const(charts_)) {
            if (chart != source && chart->xAxis->range() != range) {
                chart->xAxis->setRange(range);
                if (!source->following()) {
                    chart->replot(QCustomPlot::rpQueuedReplot);
                }
            }
        }
    } else {
        source->xAxis->setRange(lead->xAxis->range());
    }
    syncing_ = false;
}

} // namespace qmf
