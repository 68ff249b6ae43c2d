// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace qmf {

// The register-list page that shows a register; None for registers the list does not show.
enum class RegisterTab { None, Main, GpioAin, Temp, Fans };

// The page title as the register list shows it: "Main", "GPIO /AIN", "Temp", "Fans" ("" for None).
QString registerTabTitle(RegisterTab tab);

struct RegisterEntry {
    quint8 Address = 0;
    QString Name; // the name shown in the register list; empty for the two unlisted registers
    RegisterTab Tab = RegisterTab::None;
    // BitNames[n] is the caption of bit n (0 = least significant). None: captions stay as they are.
    std::optional<std::array<QString, 8>> BitNames;
};

// Registers that come in channels at base address + channel number.
enum class RegisterFamily {
    FanStatus,      // 0x10 + fan
    FanControl,     // 0x18 + fan
    FaultToFanMask, // 0x1A + fan
    FanFaultMask,   // 0x20 + fan (not listed)
    GpioControl,    // 0x28 + gpio
    TempOffset,     // 0x30 + temperature channel
    GpioFanMask,    // 0x38 + gpio
    TempControl,    // 0x40 + temperature channel
    TempFanMask,    // 0x48 + temperature channel
    AinControl,     // 0x50 + ain
    AinFanMask,     // 0x58 + ain
    FanSpeed1,      // 0x60 + fan
    FanSpeed2,      // 0x68 + fan
    FanSpeed,       // 0x70 + fan
    FanHighLimit,   // 0x78 + fan
    TempTmin,       // 0x80 + temperature channel
    TempTstepHyst,  // 0x88 + temperature channel
    TempHighLimit,  // 0x90 + temperature channel
    TempLowLimit,   // 0x98 + temperature channel
    TempValue,      // 0xA0 + temperature channel
    AinHighLimit,   // 0xA8 + ain
    AinLowLimit,    // 0xB0 + ain
    AinValue,       // 0xB8 + ain
};

// The chip's registers as the program knows them: 76 listed registers plus 0x20 and 0x21.
namespace RegisterMap {

// The entry at an address, or nullptr when the map has none (any int is accepted).
const RegisterEntry* lookup(int address);

// The name the register list shows for an address, "-" for an address it does not list.
QString displayName(int address);
// Every entry (78), in ascending address order.
const std::vector<RegisterEntry>& entries();

// The 76 listed addresses in ascending order, 0x00 first and 0xB9 last.
const std::vector<quint8>& listedAddresses();

// Bit names of an address (indexed by bit number), or nullptr when it has none.
const std::array<QString, 8>* bitNames(int address);

// Base + channel. Throws std::out_of_range for a channel the family does not have
// (fans 0-1, GPIO 0-6, temperature channels 0-2, AIN 0-1).
quint8 familyAddress(RegisterFamily family, int channel);

// How many channels a family has.
int familyChannelCount(RegisterFamily family);

} // namespace RegisterMap

// Fixed addresses used across the program.
namespace Reg {
constexpr quint8 MainStatus = 0x00;
constexpr quint8 Config = 0x01;
constexpr quint8 GpioPresentAin = 0x05;
constexpr quint8 TempDevicesInstalled = 0x06;
constexpr quint8 SoftwareReset = 0x0B;
constexpr quint8 FanSpinUp = 0x0C; // not in the map; the wizards address it directly
constexpr quint8 ManufacturerId = 0x0D;
constexpr quint8 Revision = 0x0E;
constexpr quint8 ManufacturerIdValue = 0x41; // what register 0x0D of a QMF4150 reads
} // namespace Reg

} // namespace qmf
