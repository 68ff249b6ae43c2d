// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf::events {

// The chip's status registers decoded into the alarms they report, channel by channel. Pure
// functions over the bytes read, so that every view (and a log of alarm events) reads them alike.

// Main status (00h).
namespace mainstatus {
inline constexpr quint8 Address = 0x00;
inline constexpr quint8 ThermalEvent = 0x80; // a temperature is outside its limits
inline constexpr quint8 GpioAinEvent = 0x40;
inline constexpr quint8 HotPlugFanFault = 0x20;
} // namespace mainstatus

// Fan n status (10h + n): the live bits and the latched ones, which stay set after the cause
// has gone until they are cleared.
namespace fanstatus {
inline constexpr quint8 Address = 0x10; // fan 0; fan 1 at 11h
inline constexpr quint8 Missing = 0x01;
inline constexpr quint8 MissingLatched = 0x02;
inline constexpr quint8 Fault = 0x04;
inline constexpr quint8 FaultLatched = 0x08;
} // namespace fanstatus

struct FanStatus {
    bool missing = false;
    bool missingLatched = false;
    bool fault = false;
    bool faultLatched = false;

    // The fan is missing or faulty now, or was since its latches were last cleared.
    bool alarm() const { return missing || missingLatched || fault || faultLatched; }
    bool operator==(const FanStatus&) const = default;
};

FanStatus decodeFanStatus(quint8 fanStatusRegister);

// Where a temperature stands against its channel's limits: above the high limit or below the
// low limit is outside (a value equal to a limit is inside, as the chip compares).
enum class LimitSide { Inside, AboveHigh, BelowLow };

struct TemperatureStatus {
    bool thermalEvent = false; // 00h reports a temperature outside its limits
    LimitSide side = LimitSide::Inside;

    // The chip reports a thermal event and this channel is one outside its limits.
    bool alarm() const { return thermalEvent && side != LimitSide::Inside; }
    bool operator==(const TemperatureStatus&) const = default;
};

// From the main status byte and the channel's value and limits in whole degrees Celsius.
TemperatureStatus decodeTemperatureStatus(quint8 mainStatus, qint16 value, qint16 lowLimit,
                                          qint16 highLimit);

// The same from the channel's register bytes (value A0h+n, low limit 98h+n, high limit 90h+n) in
// the chip's signed temperature encoding.
TemperatureStatus decodeTemperatureStatusBytes(quint8 mainStatus, quint8 value, quint8 lowLimit,
                                               quint8 highLimit);

} // namespace qmf::events
