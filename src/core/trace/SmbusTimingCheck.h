// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <functional>

namespace qmf::trace {

// The SMBus timing of a 100 kHz bus, as the checker applies it.
enum class TimingRule {
    Low,            // tLOW >= 4.7 us: every clock low period
    HighMin,        // tHIGH >= 4.0 us: every clock pulse without a start or stop in it
    HighMax,        // tHIGH <= 50 us: the same pulses (longer looks like an idle bus)
    HoldStart,      // tHD;STA >= 4.0 us: start (or repeated start) to the clock going low
    SetupStart,     // tSU;STA >= 4.7 us: clock high to a repeated start
    SetupStop,      // tSU;STO >= 4.0 us: clock high to the stop
    BusFree,        // tBUF >= 4.7 us: a stop to the next start
    SetupData,      // tSU;DAT >= 250 ns: a data change to the clock going high
    HoldData,       // tHD;DAT >= 300 ns: the clock going low to a data change
    ClockTimeout,   // tTIMEOUT: the clock low no longer than 35 ms
    ClockFrequency, // fSMB <= 100 kHz: rising clock edges of one transfer at least 10 us apart
};
inline constexpr int TimingRuleCount = 11;

struct TimingLimit {
    const char* name; // "tLOW"
    qint64 limitNs;
    bool atLeast; // the measured time must be at least the limit (else at most)
};
const TimingLimit& timingLimit(TimingRule rule);

struct TimingViolation {
    qint64 timeNs; // where the measured interval begins
    TimingRule rule;
    qint64 measuredNs; // the interval
};

// "tLOW 3 us, at least 4.7 us"
QString describe(const TimingViolation& violation);
// "1.5 us", "250 ns", "40 ms": the shortest exact unit that reads well.
QString durationText(qint64 ns);

// What the checker saw.
struct TimingSummary {
    quint64 clocks = 0; // rising clock edges
    quint64 starts = 0; // starts and repeated starts
    quint64 stops = 0;
    qint64 shortestClockNs = 0; // the shortest clock period within a transfer; 0 when none
    std::array<quint64, TimingRuleCount> violations{};
    quint64 violationCount() const;
    // From the shortest clock period; 0 when there was none.
    double maxClockFrequencyKHz() const;
};

// Follows the levels of SCL and SDA through a trace and reports every violation of the SMBus
// 100 kHz timing, as it finds it. Changes of both lines at one time count as simultaneous: a data
// change with the clock edge has no setup or hold time, and is no start or stop.
class SmbusTimingCheck {
public:
    std::function<void(const TimingViolation&)> onViolation;

    // The levels from `timeNs` on (times never decrease).
    void levels(qint64 timeNs, bool scl, bool sda);
    // The end of the trace: a clock still held low counts up to here.
    void finish(qint64 endNs);

    const TimingSummary& summary() const { return summary_; }

private:
    void sdaChanged(qint64 t, bool sda);
    void sclRose(qint64 t);
    void sclFell(qint64 t);
    void check(TimingRule rule, qint64 from, qint64 to);

    TimingSummary summary_;
    bool started_ = false;
    bool scl_ = true, sda_ = true;
    bool busy_ = false; // between a start and a stop
    bool highHasCondition_ = false;
    bool dataChangedInLow_ = false;
    qint64 sclRise_ = -1, sclFall_ = -1, dataChange_ = -1, start_ = -1, stop_ = -1;
    qint64 clockRise_ = -1; // the last rising edge of this transfer, for the clock period
};

} // namespace qmf::trace
