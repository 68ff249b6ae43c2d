// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf {

class SharedState;

// One fan channel: measured speed and limit in RPM, converted from the chip's tachometer counts
// with the fan's oscillator frequency (bits 7:6 of its speed-2 register). The frequency is 0 until
// refreshed, and then Speed and Limit read 0.
class Fan {
public:
    explicit Fan(SharedState& state) : state_(state) {}

    quint8 LimitAddress() const { return limitAddress_; }
    void setLimitAddress(quint8 address) { limitAddress_ = address; }
    quint8 SpeedAddress() const { return speedAddress_; }
    void setSpeedAddress(quint8 address) { speedAddress_ = address; }
    quint8 OscillatorFrequencyAddress() const { return oscAddress_; }
    void setOscillatorFrequencyAddress(quint8 address) { oscAddress_ = address; }

    qint32 Limit();
    void setLimit(qint32 vData);
    qint32 Speed();

    // Reads bits 7:6 of the configuration register, stores and returns the frequency (0, 470,
    // 940 or 1880 Hz).
    qint32 OscillatorFrequency();
    // Sets bits 7:6 for 470/940/1880 (00 for anything else), keeps the other six bits, and
    // stores vData unchanged.
    void setOscillatorFrequency(qint32 vData);
    // The frequency that a speed-2 register byte selects (0, 470, 940 or 1880 Hz).
    static qint32 OscillatorFrequencyOf(quint8 speed2);
    // The frequency the conversions use now, without a chip access.
    qint32 storedOscillatorFrequency() const { return oscillatorFrequency_; }
    // As the OscillatorFrequency read, without a result.
    void RefreshParams();

    // count <-> RPM: 120 x frequency / x, halves to even; x = 0 counts as 1.
    // Throws OverflowError when frequency x 4 does not fit 32 bits.
    static qint32 TachConvert(qint32 x, qint32 oscillatorFrequency);

private:
    quint8 readByte(quint8 address);

    SharedState& state_;
    quint8 limitAddress_ = 0;
    quint8 speedAddress_ = 0;
    qint32 oscillatorFrequency_ = 0;
    quint8 oscAddress_ = 0;
};

} // namespace qmf
