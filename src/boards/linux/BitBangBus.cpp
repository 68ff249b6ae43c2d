// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/BitBangBus.h"

#include "boards/linux/BusTiming.h"
#include "boards/linux/PortLines.h"

namespace qmf::linux_hw {

BitBangBus::BitBangBus(PortLines& lines, BusTiming& timing, int halfPeriodUs)
    : lines_(lines), timing_(timing), halfPeriodUs_(halfPeriodUs) {}

void BitBangBus::ensureIdle() {
    lines_.release();
    const PortLines::Levels levels = lines_.read();
    if (levels.sda && levels.scl) {
        return;
    }
    recover();
}

void BitBangBus::recover() {
    lines_.release();
    PortLines::Levels levels = lines_.read();
    if (!levels.scl) {
        const Sample s = waitForScl("with the bus idle; the bus is stuck (a device or a short "
                                    "holds the clock line)");
        levels = {s.sda, s.scl};
    }
    // A device cut off in the middle of sending a byte holds SDA low until it has clocked out
    // the rest of it; clock until it lets go.
    for (int clock = 0; clock < RecoveryClocks && !levels.sda; ++clock) {
        lines_.setScl(false);
        timing_.delayUs(halfPeriodUs_);
        const Sample s = clockHigh();
        levels = {s.sda, s.scl};
    }
    lines_.setScl(false);
    lines_.setSda(false);
    timing_.delayUs(halfPeriodUs_);
    clockHigh();
    lines_.setSda(true);
    timing_.delayUs(halfPeriodUs_);
    levels = lines_.read();
    if (!levels.sda || !levels.scl) {
        throw BusFault(QStringLiteral("the bus is stuck: %1 stays low after nine clocks and a stop "
                                      "(a device or a short is holding it)")
                           .arg(levels.sda ? QStringLiteral("SCL") : QStringLiteral("SDA")));
    }
}

void BitBangBus::start() {
    lines_.setSda(false);
    timing_.delayUs(halfPeriodUs_);
    lines_.setScl(false);
}

void BitBangBus::repeatedStart() {
    lines_.setSda(true);
    timing_.delayUs(halfPeriodUs_);
    const Sample s = clockHigh();
    if (!s.sda) {
        throw BusFault(QStringLiteral("SDA was low before the repeated start: a device did not "
                                      "let go of the data line"));
    }
    lines_.setSda(false);
    timing_.delayUs(halfPeriodUs_);
    lines_.setScl(false);
}

void BitBangBus::stop() {
    lines_.setSda(false);
    timing_.delayUs(halfPeriodUs_);
    clockHigh();
    lines_.setSda(true);
    // Bus free time before the next start.
    timing_.delayUs(halfPeriodUs_);
}

bool BitBangBus::writeByte(quint8 byte) {
    for (int bit = 7; bit >= 0; --bit) {
        writeBit(((byte >> bit) & 1) != 0);
    }
    return !readBit();
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
        lines_.release();
    } catch (...) {
        // The port itself failed; the caller reports that failure already.
    }
}

void BitBangBus::writeBit(bool bit) {
    lines_.setSda(bit);
    timing_.delayUs(halfPeriodUs_);
    const Sample s = clockHigh();
    if (bit && !s.sda) {
        throw BusFault(QStringLiteral("arbitration lost: SDA was low while this side sent a 1 "
                                      "(another master or a confused device drives the bus)"));
    }
    lines_.setScl(false);
}

bool BitBangBus::readBit() {
    lines_.setSda(true);
    timing_.delayUs(halfPeriodUs_);
    const Sample s = clockHigh();
    lines_.setScl(false);
    return s.sda;
}

BitBangBus::Sample BitBangBus::clockHigh() {
    lines_.setScl(true);
    timing_.delayUs(halfPeriodUs_);
    const PortLines::Levels levels = lines_.read();
    if (levels.scl) {
        return {levels.sda, levels.scl};
    }
    waitForScl("by a device (clock stretching timeout)");
    // The device decides when the high half period begins; give it a full one.
    timing_.delayUs(halfPeriodUs_);
    const PortLines::Levels after = lines_.read();
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
        const PortLines::Levels levels = lines_.read();
        if (levels.scl) {
            return {levels.sda, levels.scl};
        }
        if (timing_.nowUs() - started >= StretchTimeoutUs) {
            throw BusFault(QStringLiteral("SCL held low for more than %1 ms %2")
                               .arg(StretchTimeoutUs / 1000)
                               .arg(QLatin1String(where)));
        }
    }
}

} // namespace qmf::linux_hw
