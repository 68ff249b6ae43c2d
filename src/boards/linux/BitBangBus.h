// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/PortLines.h"

#include <QString>
#include <QtGlobal>
#include <stdexcept>

namespace qmf {
class BusHealth;
namespace trace {
class LineObserver;
}
} // namespace qmf

namespace qmf::linux_hw {

class BusTiming;

// A bus condition the engine could not get past: a stuck line, a clock held low too long, lost
// arbitration. The bus engine turns it into a LinkError naming the transfer.
class BusFault : public std::runtime_error {
public:
    explicit BusFault(const QString& reason)
        : std::runtime_error(reason.toStdString()), reason_(reason) {}
    const QString& reason() const { return reason_; }

private:
    QString reason_;
};

// Who watches the bus: a waveform trace of the lines and the link's health counters. Either may
// be absent; watching costs nothing then.
struct BusWatch {
    trace::LineObserver* lines = nullptr;
    BusHealth* health = nullptr;
};

// The SMBus master's bit level on a printer port's lines: conditions, bits and bytes, clock
// stretching and bus recovery. Each SCL clock costs at most four port operations: set SDA
// (skipped when it does not change), release SCL, one status read that both confirms SCL high
// and samples SDA, pull SCL low. While a trace watches, every change is read back from the port
// as well, so that the trace shows what the lines did (a device's acknowledge included), not
// what this side wanted.
class BitBangBus {
public:
    // A device may stretch the clock, but the SMBus lets a device time out a clock held low
    // longer than 25 ms, so the master gives up well before that.
    static constexpr qint64 StretchTimeoutUs = 20000;
    // Clocks that bring any device out of a byte it was sending (eight bits and the
    // acknowledge), as the SMBus recovery procedure asks.
    static constexpr int RecoveryClocks = 9;
    // A clock high for longer than 50 us looks like an idle bus to an SMBus device, so the high
    // half of a clock waits at most this long; the rest is for the sample and the write that
    // ends it.
    static constexpr int MaxClockHighUs = 45;

    BitBangBus(PortLines& lines, BusTiming& timing, int halfPeriodUs, BusWatch watch = {});

    // Confirms both lines are high before a transfer; recovers a stuck bus or throws BusFault.
    void ensureIdle();
    void start();
    void repeatedStart();
    void stop();
    // True when the device acknowledged the byte.
    bool writeByte(quint8 byte);
    // Reads one byte and answers it with an acknowledge (more to come) or not (the last byte).
    quint8 readByte(bool acknowledge);
    // Nine clocks (fewer once SDA is free) and a stop; throws BusFault when the bus stays stuck.
    void recover();
    // After a failure: releases both lines; never throws.
    void abandon() noexcept;

private:
    void writeBit(bool bit);
    bool readBit();
    // Releases SCL and waits out the high half period; returns the levels sampled then.
    struct Sample {
        bool sda;
        bool scl;
    };
    Sample clockHigh();
    // Waits for a device to let SCL go high; throws BusFault after StretchTimeoutUs.
    Sample waitForScl(const char* where);

    // The port's lines, reported to the trace when one watches.
    void setSda(bool high);
    void setScl(bool high);
    void release();
    PortLines::Levels read();

    PortLines& lines_;
    BusTiming& timing_;
    int halfPeriodUs_;
    int highUs_;
    BusWatch watch_;
};

} // namespace qmf::linux_hw
