// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/BitBangBus.h"

#include "boards/linux/BusTiming.h"
#include "core/link/BusHealth.h"
#include "core/trace/LineObserver.h"

#include <algorithm>

namespace qmf::linux_hw {

BitBangBus::BitBangBus(PortLines& lines, BusTiming& timing, int halfPeriodUs, BusWatch watch)
    : lines_(lines), timing_(timing), halfPeriodUs_(halfPeriodUs),
      highUs_(std::min(halfPeriodUs, MaxClockHighUs)), watch_(watch) {}

void BitBangBus::setSda(bool high) {
    if (lines_.setSda(high) && watch_.lines) {
        read();
    }
}

void BitBangBus::setScl(bool high) {
    if (high && watch_.lines) {
        // A device changes SDA while the clock is low; the trace must see that before the
        // clock rises, not with it.
        read();
    }
    if (lines_.setScl(high) && watch_.lines) {
        read();
    }
}

void BitBangBus::release() {
    lines_.release();
    if (watch_.lines) {
        read();
    }
}

PortLines::Levels BitBangBus::read() {
    const PortLines::Levels levels = lines_.read();
    if (watch_.lines) {
        watch_.lines->observe(timing_.nowUs(), levels.scl, levels.sda);
    }
    return levels;
}

void BitBangBus::ensureIdle() {
    release();
    const PortLines::Levels levels = read();
    if (levels.sda && levels.scl) {
        return;
    }
    recover();
}

void BitBangBus::recover() {
    if (watch_.health) {
        watch_.health->stuckBusRecovery();
    }
    release();
    PortLines::Levels levels = read();
    if (!levels.scl) {
        const Sample s = waitForScl("with the bus idle; the bus is stuck (a device or a short "
                                    "holds the clock line)");
        levels = {s.sda, s.scl};
    }
    // A device cut off in the middle of sending a byte holds SDA low until it has clocked out
    // the rest of it; clock until it lets go.
    for (int clock = 0; clock < RecoveryClocks && !levels.sda; ++clock) {
        setScl(false);
        timing_.delayUs(halfPeriodUs_);
        const Sample s = clockHigh();
        levels = {s.sda, s.scl};
    }
    setScl(false);
    setSda(false);
    timing_.delayUs(halfPeriodUs_);
    clockHigh();
    setSda(true);
    timing_.delayUs(halfPeriodUs_);
    levels = read();
    if (!levels.sda || !levels.scl) {
        throw BusFault(QStringLiteral("the bus is stuck: %1 stays low after nine clocks and a stop "
                                      "(a device or a short is holding it)")
                           .arg(levels.sda ? QStringLiteral("SCL") : QStringLiteral("SDA")));
    }
}

void BitBangBus::start() {
    setSda(false);
    timing_.delayUs(halfPeriodUs_);
    setScl(false);
}

void BitBangBus::repeatedStart() {
    setSda(true);
    timing_.delayUs(halfPeriodUs_);
    const Sample s = clockHigh();
    if (!s.sda) {
        throw BusFault(QStringLiteral("SDA was low before the repeated start: a device did not "
                                      "let go of the data line"));
    }
    setSda(false);
    timing_.delayUs(halfPeriodUs_);
    setScl(false);
}

void BitBangBus::stop() {
    setSda(false);
    timing_.delayUs(halfPeriodUs_);
    clockHigh();
    setSda(true);
    // Bus free time before the next start.
    timing_.delayUs(halfPeriodUs_);
}

bool BitBangBus::writeByte(quint8 byte) {
    for (int bit = 7; bit >= 0; --bit) {
        writeBit(((byte >> bit) & 1) != 0);
    }
    const bool acknowledged = !readBit();
    if (!acknowledged && watch_.health) {
        watch_.health->nack();
    }
    return acknowledged;
}

quint8 BitBangBus::readByte(bool acknowledge) {
    quint8 value = 0;
    for (int bit = 0; bit < 8; ++bit) {
        value = quint8((value << 1) | (readBit() ? 1 : 0));
    }
    writeBit(!acknowledge);
    return value;
}

void BitBangBus::abandon() noexcept {
    try {
        release();
    } catch (...) {
        // The port itself failed; the caller reports that failure already.
    }
}

void BitBangBus::writeBit(bool bit) {
    setSda(bit);
    timing_.delayUs(halfPeriodUs_);
    const Sample s = clockHigh();
    if (bit && !s.sda) {
        throw BusFault(QStringLiteral("arbitration lost: SDA was low while this side sent a 1 "
                                      "(another master or a confused device drives the bus)"));
    }
    setScl(false);
}

bool BitBangBus::readBit() {
    setSda(true);
    timing_.delayUs(halfPeriodUs_);
    const Sample s = clockHigh();
    setScl(false);
    return s.sda;
}

BitBangBus::Sample BitBangBus::clockHigh() {
    setScl(true);
    timing_.delayUs(highUs_);
    const PortLines::Levels levels = read();
    if (levels.scl) {
        return {levels.sda, levels.scl};
    }
    if (watch_.health) {
        watch_.health->clockStretchWait();
    }
    waitForScl("by a device (clock stretching timeout)");
    // The device decides when the high half period begins; give it a full one.
    timing_.delayUs(highUs_);
    const PortLines::Levels after = read();
    if (!after.scl) {
        throw BusFault(QStringLiteral("arbitration lost: SCL went low during its high half period "
                                      "(another master drives the bus)"));
    }
    return {after.sda, after.scl};
}

BitBangBus::Sample BitBangBus::waitForScl(const char* where) {
    const qint64 started = timing_.nowUs();
    for (;;) {
        timing_.delayUs(halfPeriodUs_);
        const PortLines::Levels levels = read();
        if (levels.scl) {
            return {levels.sda, levels.scl};
        }
        if (timing_.nowUs() - started >= StretchTimeoutUs) {
            if (watch_.health) {
                watch_.health->timeout();
            }
            throw BusFault(QStringLiteral("SCL held low for more than %1 ms %2")
                               .arg(StretchTimeoutUs / 1000)
                               .arg(QLatin1String(where)));
        }
    }
}

} // namespace qmf::linux_hw
