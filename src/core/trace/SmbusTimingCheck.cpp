// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/trace/SmbusTimingCheck.h"

namespace qmf::trace {

namespace {

constexpr TimingLimit Limits[TimingRuleCount] = {
    {"tLOW", 4700, true},          {"tHIGH", 4000, true},         {"tHIGH", 50000, false},
    {"tHD;STA", 4000, true},       {"tSU;STA", 4700, true},       {"tSU;STO", 4000, true},
    {"tBUF", 4700, true},          {"tSU;DAT", 250, true},        {"tHD;DAT", 300, true},
    {"tTIMEOUT", 35000000, false}, {"clock period", 10000, true},
};

QString trimmed(double value) {
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0'))) {
        text.chop(1);
    }
    if (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
    }
    return text;
}

} // namespace

const TimingLimit& timingLimit(TimingRule rule) {
    return Limits[int(rule)];
}

QString durationText(qint64 ns) {
    if (ns < 1000) {
        return QStringLiteral("%1 ns").arg(ns);
    }
    if (ns < 1000000) {
        return trimmed(double(ns) / 1e3) + QStringLiteral(" us");
    }
    return trimmed(double(ns) / 1e6) + QStringLiteral(" ms");
}

QString describe(const TimingViolation& violation) {
    const TimingLimit& limit = timingLimit(violation.rule);
    QString text = QStringLiteral("%1 %2, %3 %4")
                       .arg(QLatin1String(limit.name), durationText(violation.measuredNs),
                            limit.atLeast ? QStringLiteral("at least") : QStringLiteral("at most"),
                            durationText(limit.limitNs));
    if (violation.rule == TimingRule::ClockFrequency) {
        text += QStringLiteral(" (faster than 100 kHz)");
    } else if (violation.rule == TimingRule::ClockTimeout) {
        text += QStringLiteral(" (SCL held low: an SMBus device resets its interface)");
    }
    return text;
}

quint64 TimingSummary::violationCount() const {
    quint64 total = 0;
    for (const quint64 count : violations) {
        total += count;
    }
    return total;
}

double TimingSummary::maxClockFrequencyKHz() const {
    return shortestClockNs > 0 ? 1e6 / double(shortestClockNs) : 0.0;
}

void SmbusTimingCheck::check(TimingRule rule, qint64 from, qint64 to) {
    const TimingLimit& limit = Limits[int(rule)];
    const qint64 measured = to - from;
    if (limit.atLeast ? measured >= limit.limitNs : measured <= limit.limitNs) {
        return;
    }
    ++summary_.violations[size_t(rule)];
    if (onViolation) {
        onViolation({from, rule, measured});
    }
}

void SmbusTimingCheck::levels(qint64 timeNs, bool scl, bool sda) {
    if (!started_) {
        started_ = true;
        scl_ = scl;
        sda_ = sda;
        return;
    }
    const bool sclChanges = scl != scl_;
    const bool sdaChanges = sda != sda_;
    if (sclChanges && !scl) {
        // The clock falls first, so that data changing with it has no hold time.
        sclFell(timeNs);
        scl_ = false;
    }
    if (sdaChanges) {
        sdaChanged(timeNs, sda);
        sda_ = sda;
    }
    if (sclChanges && scl) {
        // Data changing with the rising clock has no setup time, and is no start or stop.
        sclRose(timeNs);
        scl_ = true;
    }
}

void SmbusTimingCheck::sdaChanged(qint64 t, bool sda) {
    if (!scl_) {
        if (sclFall_ >= 0 && !dataChangedInLow_) {
            check(TimingRule::HoldData, sclFall_, t);
        }
        dataChangedInLow_ = true;
        dataChange_ = t;
        return;
    }
    highHasCondition_ = true;
    if (!sda) {
        ++summary_.starts;
        if (busy_) {
            if (sclRise_ >= 0) {
                check(TimingRule::SetupStart, sclRise_, t);
            }
        } else if (stop_ >= 0) {
            check(TimingRule::BusFree, stop_, t);
        }
        busy_ = true;
        start_ = t;
        clockRise_ = -1;
        return;
    }
    ++summary_.stops;
    if (busy_ && sclRise_ >= 0) {
        check(TimingRule::SetupStop, sclRise_, t);
    }
    busy_ = false;
    stop_ = t;
    start_ = -1;
    clockRise_ = -1;
}

void SmbusTimingCheck::sclRose(qint64 t) {
    ++summary_.clocks;
    if (sclFall_ >= 0) {
        check(TimingRule::Low, sclFall_, t);
        check(TimingRule::ClockTimeout, sclFall_, t);
        if (t - sclFall_ > timingLimit(TimingRule::ClockTimeout).limitNs) {
            // Every SMBus device has reset its interface by now: the transfer is over, and what
            // follows is a new start, not a repeated one.
            busy_ = false;
            stop_ = -1;
            start_ = -1;
            clockRise_ = -1;
        }
    }
    if (dataChangedInLow_) {
        check(TimingRule::SetupData, dataChange_, t);
    }
    if (busy_) {
        if (clockRise_ >= 0) {
            const qint64 period = t - clockRise_;
            if (summary_.shortestClockNs == 0 || period < summary_.shortestClockNs) {
                summary_.shortestClockNs = period;
            }
            check(TimingRule::ClockFrequency, clockRise_, t);
        }
        clockRise_ = t;
    }
    sclRise_ = t;
    highHasCondition_ = false;
    dataChangedInLow_ = false;
}

void SmbusTimingCheck::sclFell(qint64 t) {
    if (sclRise_ >= 0 && !highHasCondition_) {
        check(TimingRule::HighMin, sclRise_, t);
        check(TimingRule::HighMax, sclRise_, t);
    }
    if (start_ >= 0) {
        check(TimingRule::HoldStart, start_, t);
        start_ = -1;
    }
    sclFall_ = t;
    dataChangedInLow_ = false;
}

void SmbusTimingCheck::finish(qint64 endNs) {
    if (started_ && !scl_ && sclFall_ >= 0) {
        check(TimingRule::ClockTimeout, sclFall_, qMax(endNs, sclFall_));
    }
}

} // namespace qmf::trace
