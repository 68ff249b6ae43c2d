// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/events/EventTracker.h"

#include "core/events/ChipStatus.h"
#include "core/measure/Temperature.h"
#include "core/time/Clock.h"

#include <algorithm>
#include <numeric>

namespace qmf::events {

namespace {

constexpr quint8 CfaultOut = 0x04;
constexpr quint8 CfaultIn = 0x02;

QString temperatureText(int channel, LimitSide side, qint16 value, qint16 limit) {
    const bool high = side == LimitSide::AboveHigh;
    return QStringLiteral("Temperature %1 %2 limit (%3 C %4 %5 C)")
        .arg(channel)
        .arg(high ? QStringLiteral("above high") : QStringLiteral("below low"))
        .arg(value)
        .arg(high ? QLatin1Char('>') : QLatin1Char('<'))
        .arg(limit);
}

QString fanText(int fan, const char* what) {
    return QStringLiteral("Fan %1 %2").arg(fan).arg(QLatin1String(what));
}

} // namespace

QString kindName(EventKind kind) {
    switch (kind) {
    case EventKind::TemperatureHigh:
        return QStringLiteral("temperature_high");
    case EventKind::TemperatureLow:
        return QStringLiteral("temperature_low");
    case EventKind::FanMissing:
        return QStringLiteral("fan_missing");
    case EventKind::FanFault:
        return QStringLiteral("fan_fault");
    case EventKind::Cfault:
        return QStringLiteral("cfault");
    case EventKind::CfaultInput:
        return QStringLiteral("cfault_input");
    }
    return {};
}

template <class MakeText>
void EventTracker::set(EventKind kind, int channel, bool on, MakeText makeText) {
    quint64& serial = active_[std::size_t(kind)][std::size_t(channel)];
    if (on && serial == 0) {
        serial = append(kind, channel, makeText(), false);
    } else if (!on && serial != 0) {
        const quint64 ending = std::exchange(serial, 0);
        if (ChipEvent* event = findMutable(ending)) {
            event->endMs = clock().elapsedMs();
            event->end = clock().now();
            emit ended(ending);
        }
    }
}

void EventTracker::end(EventKind kind, int channel) {
    set(kind, channel, false, [] { return QString(); });
}

EventTracker::EventTracker(qsizetype capacity, QObject* parent)
    : QObject(parent), capacity_(std::max<qsizetype>(1, capacity)) {}

EventTracker::~EventTracker() = default;

void EventTracker::setClock(const Clock* clock) {
    clock_ = clock;
}

const Clock& EventTracker::clock() const {
    if (clock_ != nullptr) {
        return *clock_;
    }
    if (!ownClock_) {
        const_cast<EventTracker*>(this)->ownClock_ = std::make_unique<SystemClock>();
    }
    return *ownClock_;
}

void EventTracker::noteRead(quint8 reg, quint8 value) {
    if (!StatusImage::watched(reg)) {
        return;
    }
    const qint64 now = clock().elapsedMs();
    const std::optional<quint8> previous = image_.last(reg);
    image_.note(reg, value, now);
    if (reg == StatusImage::MainStatus) {
        judgeCfault(value);
    }
    if (reg >= StatusImage::FanStatus && reg < StatusImage::FanStatus + StatusImage::Fans) {
        judgeFan(reg - StatusImage::FanStatus, value, previous);
        return;
    }
    // The main status and the devices installed bear on every channel; a value or limit on its
    // own channel.
    for (int channel = 0; channel < StatusImage::TempChannels; ++channel) {
        const bool own = reg == StatusImage::TempValue + channel ||
                         reg == StatusImage::TempHighLimit + channel ||
                         reg == StatusImage::TempLowLimit + channel;
        if (own || reg == StatusImage::MainStatus || reg == StatusImage::TempInstalled) {
            judgeTemperature(channel, now);
        }
    }
}

void EventTracker::judgeCfault(quint8 mainStatus) {
    set(EventKind::Cfault, 0, mainStatus & CfaultOut,
        [] { return QStringLiteral("CFAULT asserted"); });
    set(EventKind::CfaultInput, 0, mainStatus & CfaultIn,
        [] { return QStringLiteral("CFAULT input asserted"); });
}

void EventTracker::judgeTemperature(int channel, qint64 nowMs) {
    const auto main = image_.fresh(StatusImage::MainStatus, nowMs);
    if (!main) {
        return;
    }
    const auto installed = image_.fresh(StatusImage::TempInstalled, nowMs);
    const bool judged = installed ? ((*installed >> channel) & 1) != 0 : true;
    if (!(*main & mainstatus::ThermalEvent) || !judged) {
        end(EventKind::TemperatureHigh, channel);
        end(EventKind::TemperatureLow, channel);
        return;
    }
    const auto value = image_.fresh(quint8(StatusImage::TempValue + channel), nowMs);
    const auto low = image_.fresh(quint8(StatusImage::TempLowLimit + channel), nowMs);
    const auto high = image_.fresh(quint8(StatusImage::TempHighLimit + channel), nowMs);
    if (!value || !low || !high) {
        return;
    }
    const TemperatureStatus status = decodeTemperatureStatusBytes(*main, *value, *low, *high);
    const qint16 celsius = Temperature::RegisterToTemperature(*value);
    const quint8 highByte = *high, lowByte = *low;
    set(EventKind::TemperatureHigh, channel, status.side == LimitSide::AboveHigh, [=] {
        return temperatureText(channel, LimitSide::AboveHigh, celsius,
                               Temperature::RegisterToTemperature(highByte));
    });
    set(EventKind::TemperatureLow, channel, status.side == LimitSide::BelowLow, [=] {
        return temperatureText(channel, LimitSide::BelowLow, celsius,
                               Temperature::RegisterToTemperature(lowByte));
    });
}

void EventTracker::judgeFan(int fan, quint8 status, std::optional<quint8> previous) {
    const FanStatus now = decodeFanStatus(status);
    const FanStatus before = previous ? decodeFanStatus(*previous) : FanStatus{};
    struct Condition {
        EventKind kind;
        bool live;
        bool latched;
        bool latchedBefore;
        const char* text;
    };
    const Condition conditions[] = {
        {EventKind::FanMissing, now.missing, now.missingLatched, before.missingLatched, "missing"},
        {EventKind::FanFault, now.fault, now.faultLatched, before.faultLatched, "fault"},
    };
    for (const Condition& c : conditions) {
        const bool wasActive = active_[std::size_t(c.kind)][std::size_t(fan)] != 0;
        set(c.kind, fan, c.live, [&] { return fanText(fan, c.text); });
        if (c.latched && !c.live && !c.latchedBefore && !wasActive) {
            const quint64 serial =
                append(c.kind, fan, fanText(fan, c.text) + QStringLiteral(" (latched)"), true);
            if (ChipEvent* event = findMutable(serial)) {
                event->end = event->begin;
                event->endMs = event->beginMs;
                emit ended(serial);
            }
        }
    }
}

quint64 EventTracker::append(EventKind kind, int channel, const QString& text, bool latchedOnly) {
    if (size() >= capacity_) {
        emit aboutToDropOldest();
        events_.pop_front();
        emit droppedOldest();
    }
    ChipEvent event;
    event.serial = nextSerial_++;
    event.kind = kind;
    event.channel = channel;
    event.beginMs = clock().elapsedMs();
    event.begin = clock().now();
    event.latchedOnly = latchedOnly;
    event.text = text;
    ++counts_[std::size_t(kind)];
    emit aboutToBegin();
    events_.push_back(std::move(event));
    emit began(events_.back().serial);
    return events_.back().serial;
}

const ChipEvent* EventTracker::find(quint64 serial) const {
    return const_cast<EventTracker*>(this)->findMutable(serial);
}

ChipEvent* EventTracker::findMutable(quint64 serial) {
    // Serials rise by one with no gaps, so the position follows from the oldest one kept.
    if (events_.empty() || serial < events_.front().serial) {
        return nullptr;
    }
    const quint64 index = serial - events_.front().serial;
    return index < events_.size() ? &events_[std::size_t(index)] : nullptr;
}

int EventTracker::activeCount(EventKind kind) const {
    const auto& perChannel = active_[std::size_t(kind)];
    return int(
        std::count_if(perChannel.begin(), perChannel.end(), [](quint64 s) { return s != 0; }));
}

int EventTracker::activeCount() const {
    int total = 0;
    for (EventKind kind : AllEventKinds) {
        total += activeCount(kind);
    }
    return total;
}

std::optional<quint8> EventTracker::nextDueRegister() const {
    const qint64 now = clock().elapsedMs();
    const auto due = [&](quint8 reg) {
        const auto age = image_.age(reg, now);
        return !age || *age >= DueAgeMs;
    };
    for (quint8 reg : {StatusImage::MainStatus, quint8(StatusImage::FanStatus),
                       quint8(StatusImage::FanStatus + 1)}) {
        if (due(reg)) {
            return reg;
        }
    }
    const auto main = image_.fresh(StatusImage::MainStatus, now);
    const bool thermal = main && (*main & mainstatus::ThermalEvent);
    if (!thermal && activeCount(EventKind::TemperatureHigh) == 0 &&
        activeCount(EventKind::TemperatureLow) == 0) {
        return std::nullopt;
    }
    if (due(StatusImage::TempInstalled)) {
        return StatusImage::TempInstalled;
    }
    for (int channel = 0; channel < StatusImage::TempChannels; ++channel) {
        for (quint8 base :
             {StatusImage::TempValue, StatusImage::TempLowLimit, StatusImage::TempHighLimit}) {
            if (due(quint8(base + channel))) {
                return quint8(base + channel);
            }
        }
    }
    return std::nullopt;
}

} // namespace qmf::events
