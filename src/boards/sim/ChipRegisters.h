// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Register addresses and bits that the simulated chip gives a meaning to. Channel registers are
// base + channel (fan 0..1, temperature channel 0..2, AIN 0..1, GPIO 0..6).
namespace qmf::sim::reg {

constexpr int kFans = 2;
constexpr int kTempChannels = 3;
constexpr int kAins = 2;
constexpr int kGpios = 7;

constexpr quint8 MainStatus = 0x00;
constexpr quint8 Config = 0x01;
constexpr quint8 FansSupportedControl = 0x02;
constexpr quint8 FansSupportedSystem = 0x03;
constexpr quint8 GpioSupport = 0x04;
constexpr quint8 GpioLevels = 0x05;
constexpr quint8 TempInstalled = 0x06;
constexpr quint8 FanAlarmSpeed = 0x07;
constexpr quint8 FanHotPlugSpeed = 0x08;
constexpr quint8 FanFullSpeed = 0x09;
constexpr quint8 SoftwareReset = 0x0B;
constexpr quint8 SpinUp = 0x0C;
constexpr quint8 ManufacturerId = 0x0D;
constexpr quint8 Revision = 0x0E;
constexpr quint8 FanStatus = 0x10;
constexpr quint8 FanControl = 0x18;
constexpr quint8 FanFaultMask = 0x20;
constexpr quint8 GpioControl = 0x28;
constexpr quint8 TempOffset = 0x30;
constexpr quint8 GpioFanMask = 0x38;
constexpr quint8 TempControl = 0x40;
constexpr quint8 TempFanMask = 0x48;
constexpr quint8 AinControl = 0x50;
constexpr quint8 AinFanMask = 0x58;
constexpr quint8 FanSpeed1 = 0x60; // bits 7..4 alarm code, 3..0 normal (minimum) code
constexpr quint8 FanSpeed2 = 0x68; // bits 7..6 oscillator, 5..4 PWM frequency, 3..0 hot-plug code
constexpr quint8 FanCount = 0x70;
constexpr quint8 FanHighLimit = 0x78;
constexpr quint8 TempTmin = 0x80;
constexpr quint8 TempRangeHyst = 0x88; // bits 7..4 hysteresis, 3..0 Trange code
constexpr quint8 TempHighLimit = 0x90;
constexpr quint8 TempLowLimit = 0x98;
constexpr quint8 TempValue = 0xA0;
constexpr quint8 AinHighLimit = 0xA8;
constexpr quint8 AinLowLimit = 0xB0;
constexpr quint8 AinValue = 0xB8;

constexpr quint8 IdValue = 0x41;
constexpr quint8 RevisionValue = 0x12; // major 1, minor 2

namespace bit {
// Config (0x01)
constexpr quint8 ForceInt = 0x40;
constexpr quint8 ForceCfault = 0x20;
constexpr quint8 StartMonitoring = 0x10;
constexpr quint8 GlobalIntMask = 0x02;
// Main status (0x00)
constexpr quint8 ThermalEvent = 0x80;
constexpr quint8 GpioAinEvent = 0x40;
constexpr quint8 HotPlugFanFault = 0x20;
constexpr quint8 InHotPlugSpeed = 0x10;
constexpr quint8 InAlarmSpeed = 0x08;
constexpr quint8 CfaultOut = 0x04;
constexpr quint8 CfaultIn = 0x02;
constexpr quint8 Int = 0x01;
// Fan status (0x10 + fan)
constexpr quint8 HotPlugLatched = 0x80;
constexpr quint8 TachFaultLatched = 0x40;
constexpr quint8 HotPlugPriority = 0x20;
constexpr quint8 Sleep = 0x10;
constexpr quint8 FaultLatched = 0x08;
constexpr quint8 Fault = 0x04;
constexpr quint8 MissingLatched = 0x02;
constexpr quint8 Missing = 0x01;
constexpr quint8 FanStatusWritable = HotPlugPriority | Sleep;
constexpr quint8 FanStatusLatches =
    HotPlugLatched | TachFaultLatched | FaultLatched | MissingLatched;
// Fan control (0x18 + fan)
constexpr quint8 AlarmOnCfault = 0x80;
constexpr quint8 HotPlugOnCfaultIn = 0x40;
constexpr quint8 IntOnHotUnplug = 0x08;
constexpr quint8 CfaultOnHotUnplug = 0x04;
constexpr quint8 IntOnFault = 0x02;
constexpr quint8 CfaultOnFault = 0x01;
// Temperature control (0x40 + channel) and AIN control (0x50 + ain) share their layout:
// bits 6..4 act below the low limit, bits 2..0 above the high limit.
constexpr quint8 IntOnLow = 0x40;
constexpr quint8 AlarmOnLow = 0x20;
constexpr quint8 CfaultOnLow = 0x10;
constexpr quint8 IntOnHigh = 0x04;
constexpr quint8 AlarmOnHigh = 0x02;
constexpr quint8 CfaultOnHigh = 0x01;
// GPIO control (0x28 + gpio)
constexpr quint8 GpioActiveHigh = 0x02;
constexpr quint8 GpioOutput = 0x01;
} // namespace bit

// Registers the chip computes; a write to them is ignored.
constexpr bool isReadOnly(int r) {
    return r == MainStatus || r == GpioLevels || r == TempInstalled || r == ManufacturerId ||
           r == Revision || (r >= FanCount && r < FanCount + kFans) ||
           (r >= TempValue && r < TempValue + kTempChannels) ||
           (r >= AinValue && r < AinValue + kAins);
}

} // namespace qmf::sim::reg
