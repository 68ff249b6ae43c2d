// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <array>

namespace qmf::events {

// What an alarm event is about. The names (kindName) are stable: files and counters outside the
// program key on them.
enum class EventKind {
    TemperatureHigh, // a temperature above its high limit
    TemperatureLow,  // a temperature below its low limit
    FanMissing,
    FanFault,
    Cfault,      // the chip drives its CFAULT output
    CfaultInput, // the CFAULT line is pulled from outside
};
inline constexpr std::size_t EventKindCount = 6;
inline constexpr std::array<EventKind, EventKindCount> AllEventKinds = {
    EventKind::TemperatureHigh, EventKind::TemperatureLow, EventKind::FanMissing,
    EventKind::FanFault,        EventKind::Cfault,         EventKind::CfaultInput};

// "temperature_high", "temperature_low", "fan_missing", "fan_fault", "cfault", "cfault_input".
QString kindName(EventKind kind);

// One alarm from the time a reading first showed it to the time a reading first showed it gone.
struct ChipEvent {
    quint64 serial = 0; // 1 for the first event of the run, one more for each after it
    EventKind kind = EventKind::Cfault;
    int channel = 0;    // temperature 0..2 or fan 0..1; 0 for the CFAULT kinds
    qint64 beginMs = 0; // the clock's monotonic time
    qint64 endMs = 0;   // valid once ended
    QDateTime begin;    // wall-clock time
    QDateTime end;      // invalid while the alarm lasts
    // Only a latched status bit told of it: it began and ended between two readings.
    bool latchedOnly = false;
    QString text; // "Temperature 1 above high limit (81 C > 80 C)", "Fan 0 missing", ...

    bool active() const { return !end.isValid(); }
};

} // namespace qmf::events
