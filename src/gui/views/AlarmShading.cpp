// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/AlarmShading.h"

#include "core/events/EventTracker.h"
#include "gui/widgets/StripChart.h"

#include <QPointer>
#include <algorithm>
#include <limits>

namespace qmf {

namespace {

QList<StripChart::TimeSpan> alarmSpans(const events::EventTracker& tracker, qint64 originMs) {
    QList<StripChart::TimeSpan> spans;
    for (qsizetype i = 0; i < tracker.size(); ++i) {
        const events::ChipEvent& e = tracker.at(i);
        if (e.latchedOnly) {
            continue;
        }
        const double begin = double(originMs + e.beginMs) / 1000.0;
        const double end = e.active() ? std::numeric_limits<double>::infinity()
                                      : double(originMs + e.endMs) / 1000.0;
        spans.append({begin, end});
    }
    std::sort(spans.begin(), spans.end(),
              [](const auto& a, const auto& b) { return a.begin < b.begin; });
    // Overlapping alarms make one period, so that the shade's depth does not vary.
    QList<StripChart::TimeSpan> merged;
    for (const StripChart::TimeSpan& span : spans) {
        if (!merged.isEmpty() && span.begin <= merged.last().end) {
            merged.last().end = std::max(merged.last().end, span.end);
        } else {
            merged.append(span);
        }
    }
    return merged;
}

} // namespace

void shadeAlarmPeriods(const QList<StripChart*>& charts, events::EventTracker& tracker,
                       qint64 originMs) {
    if (charts.isEmpty()) {
        return;
    }
    QList<QPointer<StripChart>> targets(charts.begin(), charts.end());
    const auto update = [targets, &tracker, originMs] {
        const QList<StripChart::TimeSpan> spans = alarmSpans(tracker, originMs);
        for (const QPointer<StripChart>& chart : targets) {
            if (chart) {
                chart->setShadedSpans(AlarmShadingGroup, spans, QColor(255, 0, 0, 48));
            }
        }
    };
    using events::EventTracker;
    for (auto signal : {&EventTracker::began, &EventTracker::ended}) {
        QObject::connect(&tracker, signal, charts.first(), update);
    }
    QObject::connect(&tracker, &EventTracker::droppedOldest, charts.first(), update);
    update();
}

} // namespace qmf
