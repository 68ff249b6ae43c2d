// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf {

class SharedState;

// One of the chip's three temperature channels: its reading and its two limits, in whole degrees
// Celsius, converted from and to the chip's signed register encoding. Nothing is cached; every
// read goes to the chip through the shared single-register protocol.
class Temperature {
public:
    explicit Temperature(SharedState& state) : state_(state) {}

    qint16 ValueAddressPointer() const { return valueAddress_; }
    void setValueAddressPointer(qint16 address) { valueAddress_ = address; }
    qint16 MinAddressPointer() const { return minAddress_; }
    void setMinAddressPointer(qint16 address) { minAddress_ = address; }
    qint16 MaxAddressPointer() const { return maxAddress_; }
    void setMaxAddressPointer(qint16 address) { maxAddress_ = address; }

    qint16 MinLimit();
    void setMinLimit(qint16 vData);
    qint16 MaxLimit();
    void setMaxLimit(qint16 vData);
    qint16 Value();

    // The conversions, public so that other parts share one implementation of them.
    static qint16 RegisterToTemperature(qint16 byte);
    // Throws OverflowError for -32768, whose magnitude does not fit 16 bits.
    static qint16 TemperatureToRegister(qint16 temperature);

private:
    qint16 readConverted(qint16 address);
    void writeConverted(qint16 address, qint16 temperature);

    SharedState& state_;
    qint16 maxAddress_ = 0;
    qint16 minAddress_ = 0;
    qint16 valueAddress_ = 0;
};

} // namespace qmf
