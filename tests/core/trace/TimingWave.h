// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QtGlobal>

namespace qmf::test {

// Levels of SCL and SDA at a time, as a trace gives them.
struct LineLevels {
    qint64 timeNs;
    bool scl;
    bool sda;
    bool operator==(const LineLevels&) const = default;
};

// SMBus transfers drawn with chosen timing (nanoseconds), for the timing check: every interval
// the check measures is one of these fields, so a test shortens exactly one of them.
struct TimingWave {
    qint64 low = 5000, high = 5000, holdStart = 5000, setupStart = 5000, setupStop = 5000,
           busFree = 5000, holdData = 1000;
    // The nth clock (counted from 0) is held low this much longer.
    int stretchedClock = -1;
    qint64 stretchNs = 0;

    QList<LineLevels> levels{{0, true, true}};
    qint64 t = 0;
    bool scl = true, sda = true;
    int clocks = 0;

    void at(qint64 time, bool newScl, bool newSda) {
        t = time;
        scl = newScl;
        sda = newSda;
        if (!levels.isEmpty() && levels.back().timeNs == t) {
            levels.back() = {t, scl, sda};
        } else {
            levels.append({t, scl, sda});
        }
    }
    // From the clock's falling edge at t: data at t + holdData, rising edge at t + low.
    qint64 lowPeriod(bool data) {
        const qint64 fall = t;
        if (data != sda) {
            at(fall + holdData, false, data);
        }
        qint64 rise = fall + low;
        if (clocks++ == stretchedClock) {
            rise += stretchNs;
        }
        at(rise, true, data);
        return rise;
    }
    void start() {
        at(t + busFree, true, false);
        at(t + holdStart, false, false);
    }
    void bit(bool b) {
        const qint64 rise = lowPeriod(b);
        at(rise + high, false, b);
    }
    void byte(quint8 value, bool ack = true) {
        for (int i = 7; i >= 0; --i) {
            bit(((value >> i) & 1) != 0);
        }
        bit(!ack);
    }
    void repeatedStart() {
        const qint64 rise = lowPeriod(true);
        at(rise + setupStart, true, false);
        at(t + holdStart, false, false);
    }
    void stop() {
        const qint64 rise = lowPeriod(false);
        at(rise + setupStop, true, true);
    }
    // A register read: the address, the register, a repeated start, the address again, one
    // byte read and not acknowledged, the stop.
    void readTransfer(quint8 device = 0x5E, quint8 reg = 0x0D, quint8 value = 0x41) {
        start();
        byte(device);
        byte(reg);
        repeatedStart();
        byte(quint8(device | 1));
        byte(value, false);
        stop();
    }
};

} // namespace qmf::test
