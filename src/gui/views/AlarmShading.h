// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace qmf::events {
class EventTracker;
}

namespace qmf {

class StripChart;

// The charts' shaded group of alarm periods.
inline const QString AlarmShadingGroup = QStringLiteral("alarms");

// Shades the periods of the alarm events on the charts (translucent red, overlapping alarms as
// one period, a lasting alarm up to the right edge) and keeps the shading up to date as events
// begin, end and are dropped. An alarm seen only by its latch has no length and is not shaded.
// `originMs` is the epoch time at the clock's elapsed-time origin, the base of the charts' keys.
void shadeAlarmPeriods(const QList<StripChart*>& charts, events::EventTracker& tracker,
                       qint64 originMs);

} // namespace qmf
