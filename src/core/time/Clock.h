// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QElapsedTimer>

namespace qmf {

// Every time-dependent behaviour (simulated physics, log intervals) asks a Clock, so that tests
// and benchmarks can drive time by hand instead of waiting for it.
class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic milliseconds since an arbitrary origin; never goes back.
    virtual qint64 elapsedMs() const = 0;
    // Local wall-clock time, for time-of-day stamps.
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    SystemClock() { timer_.start(); }
    qint64 elapsedMs() const override { return timer_.elapsed(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }

private:
    QElapsedTimer timer_;
};

// A clock that moves only when told to; wall time and monotonic time advance together.
class ManualClock final : public Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 1, 5), QTime(12, 0, 0)))
        : now_(std::move(start)) {}
    qint64 elapsedMs() const override { return elapsed_; }
    QDateTime now() const override { return now_.addMSecs(elapsed_); }
    void advanceMs(qint64 ms) { elapsed_ += ms; }
    // Moves the wall clock without touching monotonic time (a change of the system clock).
    void setNow(const QDateTime& now) { now_ = now.addMSecs(-elapsed_); }

private:
    QDateTime now_;
    qint64 elapsed_ = 0;
};

} // namespace qmf
