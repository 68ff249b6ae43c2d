// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf::linux_hw {

// Microsecond time for the bit-banged bus: its clock periods, clock-stretching waits and
// timeouts. Tests and the pin-level simulation use ManualBusTiming, so nothing sleeps there.
class BusTiming {
public:
    virtual ~BusTiming() = default;
    // Monotonic microseconds since an arbitrary origin.
    virtual qint64 nowUs() = 0;
    virtual void delayUs(int microseconds) = 0;
};

// Real time. Delays are busy waits on the monotonic clock: a bus clock half period is a few
// microseconds, far below what a sleeping thread can be woken for, and the SMBus sets an upper
// limit on the clock's high time that an oversleep would break.
class SystemBusTiming final : public BusTiming {
public:
    qint64 nowUs() override;
    void delayUs(int microseconds) override;
};

// Time that moves only by delays (and by advanceUs): simulated buses run at full speed.
class ManualBusTiming final : public BusTiming {
public:
    qint64 nowUs() override { return now_; }
    void delayUs(int microseconds) override {
        if (microseconds > 0) {
            now_ += microseconds;
        }
    }
    void advanceUs(qint64 microseconds) { now_ += microseconds; }

private:
    qint64 now_ = 0;
};

} // namespace qmf::linux_hw
