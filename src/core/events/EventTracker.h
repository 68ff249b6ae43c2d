// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/events/ChipEvent.h"
#include "core/events/StatusImage.h"

#include <QObject>
#include <deque>
#include <memory>
#include <optional>

namespace qmf {
class Clock;
}

namespace qmf::events {

// Turns the chip's status readings into alarm events with a begin and an end. Register access
// hands it every byte read (noteRead), so the readings the views make anyway feed it at no cost;
// the events poll reads only what nobody has read lately (nextDueRegister).
//
// An alarm begins at the first reading that shows it and ends at the first that shows it gone:
// a temperature outside its limits while the main status reports a thermal event, a fan's live
// missing or fault bit, the CFAULT output or input bit of the main status. A latched fan bit
// whose live bit was never seen set tells of an alarm that came and went between two readings:
// it is kept as an event that begins and ends at the reading that found the latch. A condition
// whose registers are not fresh is not judged: it stays as it was.
//
// The history keeps the newest `capacity` events; the counts per kind cover the whole run.
class EventTracker final : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype DefaultCapacity = 10000;
    // The events poll's period; a register read this recently by anyone is not read again.
    static constexpr qint64 PollPeriodMs = 500;
    static constexpr qint64 DueAgeMs = 400;

    explicit EventTracker(qsizetype capacity = DefaultCapacity, QObject* parent = nullptr);
    ~EventTracker() override;

    // Times come from this clock (the system clock without one).
    void setClock(const Clock* clock);
    const Clock& clock() const;

    // --- fed by register access -----------------------------------------------------------------
    void noteRead(quint8 reg, quint8 value);
    // The register the events poll should read next to judge every alarm on fresh bytes, or none
    // when all are fresh: the status registers always, the temperatures and limits while the
    // chip reports a thermal event or a temperature alarm lasts.
    std::optional<quint8> nextDueRegister() const;

    // --- the events, oldest first ---------------------------------------------------------------
    qsizetype size() const { return qsizetype(events_.size()); }
    qsizetype capacity() const { return capacity_; }
    const ChipEvent& at(qsizetype index) const { return events_[std::size_t(index)]; }
    // The event with that serial, or nullptr when there was none or it has been dropped.
    const ChipEvent* find(quint64 serial) const;
    quint64 lastSerial() const { return nextSerial_ - 1; }

    // --- counts ---------------------------------------------------------------------------------
    // Events of that kind begun since the start, dropped ones included.
    quint64 count(EventKind kind) const { return counts_[std::size_t(kind)]; }
    // Alarms of that kind lasting now.
    int activeCount(EventKind kind) const;
    int activeCount() const;

signals:
    // An event is about to be appended / was appended (it has begun).
    void aboutToBegin();
    void began(quint64 serial);
    // The event ended (its end is set).
    void ended(quint64 serial);
    // The oldest event is about to go / went, to make room.
    void aboutToDropOldest();
    void droppedOldest();

private:
    static constexpr int MaxChannels = 3;
    void judgeCfault(quint8 mainStatus);
    void judgeTemperature(int channel, qint64 nowMs);
    void judgeFan(int fan, quint8 status, std::optional<quint8> previous);
    // Begins or ends the alarm of that kind and channel; makeText() names a beginning one. The
    // text is made only then: most readings change nothing, and they come many times a second.
    template <class MakeText> void set(EventKind kind, int channel, bool on, MakeText makeText);
    void end(EventKind kind, int channel);
    quint64 append(EventKind kind, int channel, const QString& text, bool latchedOnly);
    ChipEvent* findMutable(quint64 serial);

    qsizetype capacity_;
    const Clock* clock_ = nullptr;
    std::unique_ptr<Clock> ownClock_;
    StatusImage image_;
    std::deque<ChipEvent> events_;
    quint64 nextSerial_ = 1;
    std::array<quint64, EventKindCount> counts_{};
    // The serial of the lasting alarm of each kind and channel, 0 for none.
    std::array<std::array<quint64, MaxChannels>, EventKindCount> active_{};
};

} // namespace qmf::events
