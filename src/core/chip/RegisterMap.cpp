// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chip/RegisterMap.h"

#include <stdexcept>

namespace qmf {

namespace {

struct Row {
    quint8 address;
    const char* name;
    RegisterTab tab;
    // Bit names from bit 7 down to bit 0, the order in which the list shows them; {} for none.
    std::array<const char*, 8> bit7to0;
};

// clang-format off
constexpr Row Rows[] = {
    {0x00, "Main Status", RegisterTab::Main, {"Thermal Event", "GPIO/AIN Event", "HotPlug/Fan Fault", "In Hot Plug Speed", "In Alarm Speed", "CFAULT out", "CFAULT in", "INT"}},
    {0x01, "Config", RegisterTab::Main, {"INT Polarity", "Force INT", "Force CFAULT", "StartMonitoring", "FreeWheelTest", "ARA Disable", "Global INT Mask", "Install"}},
    {0x02, "Fans Supported Control", RegisterTab::Fans, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1 Support", "Fan 0 Support"}},
    {0x03, "Fans Supported System", RegisterTab::Fans, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1 On", "Fan 0 On"}},
    {0x04, "GPIO SuptdCtrl", RegisterTab::GpioAin, {"Unused", "GPIO6 Support", "GPIO5 Support", "GPIO4 Support", "GPIO3 Support", "GPIO2 Support", "GPIO1 Support", "GPIO0 Support"}},
    {0x05, "GPIO Present/AIN", RegisterTab::GpioAin, {"Unused", "GPIO 6 On", "GPIO 5 On", "GPIO 4 On", "GPIO 3 On", "GPIO 2 On", "GPIO 1 On", "GPIO 0 On"}},
    {0x06, "Temp DevicesInstalled", RegisterTab::Temp, {"Unused", "Unused", "Unused", "Unused", "Unused", "Temp R1", "Temp R0", "Temp Local"}},
    {0x07, "Fan Alarm Speed", RegisterTab::Fans, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan1 AlarmSpeed", "Fan0 AlarmSpeed"}},
    {0x08, "Fan HotPlugSpeed", RegisterTab::Fans, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan1 HP Speed", "Fan0 HP Speed"}},
    {0x09, "Fan FullSpeed", RegisterTab::Fans, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan1 FullSpeed", "Fan0 FullSpeed"}},
    {0x0B, "S/W Reset", RegisterTab::Main, {"SW Reset", "Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Unused"}},
    {0x0D, "Manufacturers ID", RegisterTab::Main, {"ManufacturersID", "Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Unused"}},
    {0x0E, "Major/Minor Revision", RegisterTab::Main, {"MajorRevCode 3", "MajorRevCode 2", "MajorRevCode 1", "MajorRevCode 0", "MinorRevCode 3", "MinorRevCode 2", "MinorRevCode 1", "MinorRevCode 0"}},
    {0x0F, "Test Register", RegisterTab::Main, {"DoNotUse", "DoNotUse", "DoNotUse", "DoNotUse", "DoNotUse", "DoNotUse", "DoNotUse", "DoNotUse"}},
    {0x10, "Fan 0 Status", RegisterTab::Fans, {"HotPlugL", "TachFaultL", "HotPlugPriority", "Sleep", "Fault L", "Fault", "Missing L", "Missing"}},
    {0x11, "Fan 1 Status", RegisterTab::Fans, {"HotPlugL", "TachFaultL", "HotPlugPriority", "Sleep", "Fault L", "Fault", "Missing L", "Missing"}},
    {0x18, "Fan 0 Control", RegisterTab::Fans, {"AlarmOnCFAULT", "HotPlugSpeedOnCFAULTIn", "DriveFaultOn", "ThermalOverRideInSleep", "AssertINTonHotUnplug", "AssertCFAULTOnHotUnplug", "AssertINTOnFault", "AssertCFAULTOnFault"}},
    {0x19, "Fan 1 Control", RegisterTab::Fans, {"AlarmOnCFAULT", "HotPlugSpeedOnCFAULTIn", "DriveFaultOn", "ThermalOverRideInSleep", "AssertINTonHotUnplug", "AssertCFAULTOnHotUnplug", "AssertINTOnFault", "AssertCFAULTOnFault"}},
    {0x1A, "Fault0ToFanMask", RegisterTab::Fans, {}},
    {0x1B, "Fault1ToFanMask", RegisterTab::Fans, {}},
    {0x20, "", RegisterTab::None, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan1FaultMask", "Fan0FaultMask"}},
    {0x21, "", RegisterTab::None, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan1FaultMask", "Fan0FaultMask"}},
    {0x28, "GPIO 0 Control", RegisterTab::GpioAin, {"Bit7", "Bit6", "Bit5", "Bit4", "Bit3", "Bit2", "Polarity", "Direction"}},
    {0x29, "GPIO 1 Control", RegisterTab::GpioAin, {"Bit7", "Bit6", "Bit5", "Bit4", "Bit3", "Bit2", "Polarity", "Direction"}},
    {0x2A, "GPIO 2 Control", RegisterTab::GpioAin, {"Bit7", "Bit6", "Bit5", "Bit4", "Bit3", "Bit2", "Polarity", "Direction"}},
    {0x2B, "GPIO 3 Control", RegisterTab::GpioAin, {"Bit7", "Bit6", "Bit5", "Bit4", "Bit3", "Bit2", "Polarity", "Direction"}},
    {0x2C, "GPIO 4 Control", RegisterTab::GpioAin, {"Bit7", "Bit6", "Bit5", "Bit4", "Bit3", "Bit2", "Polarity", "Direction"}},
    {0x2D, "GPIO 5 Control", RegisterTab::GpioAin, {"Bit7", "Bit6", "Bit5", "Bit4", "Bit3", "Bit2", "Polarity", "Direction"}},
    {0x2E, "GPIO 6 Control", RegisterTab::GpioAin, {"Bit7", "Bit6", "Bit5", "Bit4", "Bit3", "Bit2", "Polarity", "Direction"}},
    {0x30, "Temp 0 Offset", RegisterTab::Temp, {}},
    {0x31, "Temp 1 Offset", RegisterTab::Temp, {}},
    {0x32, "Temp 2 Offset", RegisterTab::Temp, {}},
    {0x38, "GPIO 0 FanMask", RegisterTab::GpioAin, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x39, "GPIO 1 FanMask", RegisterTab::GpioAin, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x3A, "GPIO 2 FanMask", RegisterTab::GpioAin, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x3B, "GPIO 3 FanMask", RegisterTab::GpioAin, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x3C, "GPIO 4 FanMask", RegisterTab::GpioAin, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x3D, "GPIO 5 FanMask", RegisterTab::GpioAin, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x3E, "GPIO 6 FanMask", RegisterTab::GpioAin, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x40, "Temp 0 Control", RegisterTab::Temp, {"LatchTempFault", "INTonUT", "AlarmSpeedOnUT", "AssertCfaultOnUT", "AlarmBelowLow", "INTOnOT", "AlarmSpeedOnOT", "AssertCFAULTOnOT"}},
    {0x41, "Temp 1 Control", RegisterTab::Temp, {"LatchTempFault", "INTonUT", "AlarmSpeedOnUT", "AssertCfaultOnUT", "AlarmBelowLow", "INTOnOT", "AlarmSpeedOnOT", "AssertCFAULTOnOT"}},
    {0x42, "Temp 2 Control", RegisterTab::Temp, {"LatchTempFault", "INTonUT", "AlarmSpeedOnUT", "AssertCfaultOnUT", "AlarmBelowLow", "INTOnOT", "AlarmSpeedOnOT", "AssertCFAULTOnOT"}},
    {0x48, "Temp 0 FanMask", RegisterTab::Temp, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x49, "Temp 1 FanMask", RegisterTab::Temp, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x4A, "Temp 2 FanMask", RegisterTab::Temp, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x50, "AIN 0 Control", RegisterTab::GpioAin, {"LatchAINFault", "INTOnLowLim", "AlarmSpeedOnLowLim", "AssertCFAULTOnLowLim", "AlarmBelowLow", "INTOnHighLim", "AlarmSpeedOnHighLim", "AssertCFAULTOnHighLim"}},
    {0x51, "AIN 1 Control", RegisterTab::GpioAin, {"LatchAINFault", "INTOnLowLim", "AlarmSpeedOnLowLim", "AssertCFAULTOnLowLim", "AlarmBelowLow", "INTOnHighLim", "AlarmSpeedOnHighLim", "AssertCFAULTOnHighLim"}},
    {0x58, "AIN 0 FanMask", RegisterTab::GpioAin, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x59, "AIN 1 FanMask", RegisterTab::GpioAin, {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
    {0x60, "Fan 0 Speed 1", RegisterTab::Fans, {"AlarmSpeed3", "AlarmSpeed2", "AlarmSpeed1", "AlarmSpeed0", "NormalSpeed/MinSpeed3", "NormalSpeed/MinSpeed2", "NormalSpeed/MinSpeed1", "NormalSpeed/MinSpeed0"}},
    {0x61, "Fan 1 Speed 1", RegisterTab::Fans, {"AlarmSpeed3", "AlarmSpeed2", "AlarmSpeed1", "AlarmSpeed0", "NormalSpeed/MinSpeed3", "NormalSpeed/MinSpeed2", "NormalSpeed/MinSpeed1", "NormalSpeed/MinSpeed0"}},
    {0x68, "Fan 0 Speed 2", RegisterTab::Fans, {"OscFreq1", "OscFreq0", "PWMFreq1", "PWMFreq0", "HotPlugSpeed3", "HotPlugSpeed2", "HotPlugSpeed1", "HotPlugSpeed0"}},
    {0x69, "Fan 1 Speed 2", RegisterTab::Fans, {"OscFreq1", "OscFreq0", "PWMFreq1", "PWMFreq0", "HotPlugSpeed3", "HotPlugSpeed2", "HotPlugSpeed1", "HotPlugSpeed0"}},
    {0x70, "Fan 0 Speed", RegisterTab::Fans, {"FanSpeed7", "FanSpeed6", "FanSpeed5", "FanSpeed4", "FanSpeed3", "FanSpeed2", "FanSpeed1", "FanSpeed0"}},
    {0x71, "Fan 1 Speed", RegisterTab::Fans, {"FanSpeed7", "FanSpeed6", "FanSpeed5", "FanSpeed4", "FanSpeed3", "FanSpeed2", "FanSpeed1", "FanSpeed0"}},
    {0x78, "Fan 0 HighLimit", RegisterTab::Fans, {"TachHighLimit7", "TachHighLimit6", "TachHighLimit5", "TachHighLimit4", "TachHighLimit3", "TachHighLimit2", "TachHighLimit1", "TachHighLimit0"}},
    {0x79, "Fan 1 HighLimit", RegisterTab::Fans, {"TachHighLimit7", "TachHighLimit6", "TachHighLimit5", "TachHighLimit4", "TachHighLimit3", "TachHighLimit2", "TachHighLimit1", "TachHighLimit0"}},
    {0x80, "Temp 0 Tmin", RegisterTab::Temp, {"TempTMin7", "TempTMin6", "TempTMin5", "TempTMin4", "TempTMin3", "TempTMin2", "TempTMin1", "TempTMin0"}},
    {0x81, "Temp 1 Tmin", RegisterTab::Temp, {"TempTMin7", "TempTMin6", "TempTMin5", "TempTMin4", "TempTMin3", "TempTMin2", "TempTMin1", "TempTMin0"}},
    {0x82, "Temp 2 Tmin", RegisterTab::Temp, {"TempTMin7", "TempTMin6", "TempTMin5", "TempTMin4", "TempTMin3", "TempTMin2", "TempTMin1", "TempTMin0"}},
    {0x88, "Temp 0 Tstep/Hyst", RegisterTab::Temp, {"TempHyst3", "TempHyst2", "TempHyst1", "TempHyst0", "TempTrange3", "TempTrange2", "TempTrange1", "TempTrange0"}},
    {0x89, "Temp 1 Tstep/Hyst", RegisterTab::Temp, {"TempHyst3", "TempHyst2", "TempHyst1", "TempHyst0", "TempTrange3", "TempTrange2", "TempTrange1", "TempTrange0"}},
    {0x8A, "Temp 2 Tstep/Hyst", RegisterTab::Temp, {"TempHyst3", "TempHyst2", "TempHyst1", "TempHyst0", "TempTrange3", "TempTrange2", "TempTrange1", "TempTrange0"}},
    {0x90, "Temp 0 HighLimit", RegisterTab::Temp, {"TempHighLimit7", "TempHighLimit6", "TempHighLimit5", "TempHighLimit4", "TempHighLimit3", "TempHighLimit2", "TempHighLimit1", "TempHighLimit0"}},
    {0x91, "Temp 1 HighLimit", RegisterTab::Temp, {"TempHighLimit7", "TempHighLimit6", "TempHighLimit5", "TempHighLimit4", "TempHighLimit3", "TempHighLimit2", "TempHighLimit1", "TempHighLimit0"}},
    {0x92, "Temp 2 HighLimit", RegisterTab::Temp, {"TempHighLimit7", "TempHighLimit6", "TempHighLimit5", "TempHighLimit4", "TempHighLimit3", "TempHighLimit2", "TempHighLimit1", "TempHighLimit0"}},
    {0x98, "Temp 0 LowLimit", RegisterTab::Temp, {}},
    {0x99, "Temp 1 LowLimit", RegisterTab::Temp, {}},
    {0x9A, "Temp 2 LowLimit", RegisterTab::Temp, {}},
    {0xA0, "Temp 0 Value", RegisterTab::Temp, {}},
    {0xA1, "Temp 1 Value", RegisterTab::Temp, {}},
    {0xA2, "Temp 2 Value", RegisterTab::Temp, {}},
    {0xA8, "AIN 0 HighLimit", RegisterTab::GpioAin, {}},
    {0xA9, "AIN 1 HighLimit", RegisterTab::GpioAin, {}},
    {0xB0, "AIN 0 LowLimit", RegisterTab::GpioAin, {}},
    {0xB1, "AIN 1 LowLimit", RegisterTab::GpioAin, {}},
    {0xB8, "AIN 0 Value", RegisterTab::GpioAin, {}},
    {0xB9, "AIN 1 Value", RegisterTab::GpioAin, {}},
};
// clang-format on

struct FamilyInfo {
    quint8 base;
    int channels;
};

constexpr int Fans = 2, Gpios = 7, TempChannels = 3, Ains = 2;

FamilyInfo familyInfo(RegisterFamily family) {
    switch (family) {
    case RegisterFamily::FanStatus:
        return {0x10, Fans};
    case RegisterFamily::FanControl:
        return {0x18, Fans};
    case RegisterFamily::FaultToFanMask:
        return {0x1A, Fans};
    case RegisterFamily::FanFaultMask:
        return {0x20, Fans};
    case RegisterFamily::GpioControl:
        return {0x28, Gpios};
    case RegisterFamily::TempOffset:
        return {0x30, TempChannels};
    case RegisterFamily::GpioFanMask:
        return {0x38, Gpios};
    case RegisterFamily::TempControl:
        return {0x40, TempChannels};
    case RegisterFamily::TempFanMask:
        return {0x48, TempChannels};
    case RegisterFamily::AinControl:
        return {0x50, Ains};
    case RegisterFamily::AinFanMask:
        return {0x58, Ains};
    case RegisterFamily::FanSpeed1:
        return {0x60, Fans};
    case RegisterFamily::FanSpeed2:
        return {0x68, Fans};
    case RegisterFamily::FanSpeed:
        return {0x70, Fans};
    case RegisterFamily::FanHighLimit:
        return {0x78, Fans};
    case RegisterFamily::TempTmin:
        return {0x80, TempChannels};
    case RegisterFamily::TempTstepHyst:
        return {0x88, TempChannels};
    case RegisterFamily::TempHighLimit:
        return {0x90, TempChannels};
    case RegisterFamily::TempLowLimit:
        return {0x98, TempChannels};
    case RegisterFamily::TempValue:
        return {0xA0, TempChannels};
    case RegisterFamily::AinHighLimit:
        return {0xA8, Ains};
    case RegisterFamily::AinLowLimit:
        return {0xB0, Ains};
    case RegisterFamily::AinValue:
        return {0xB8, Ains};
    }
    throw std::out_of_range("unknown register family");
}

struct Map {
    std::vector<RegisterEntry> entries;
    std::vector<quint8> listed;
    std::array<int, 256> indexByAddress; // -1: no entry

    Map() {
        indexByAddress.fill(-1);
        for (const Row& row : Rows) {
            RegisterEntry entry;
            entry.Address = row.address;
            entry.Name = QString::fromUtf8(row.name);
            entry.Tab = row.tab;
            if (row.bit7to0[0] != nullptr) {
                std::array<QString, 8> names;
                for (int bit = 0; bit < 8; ++bit) {
                    names[bit] = QString::fromUtf8(row.bit7to0[7 - bit]);
                }
                entry.BitNames = std::move(names);
            }
            indexByAddress[row.address] = int(entries.size());
            entries.push_back(std::move(entry));
            if (row.tab != RegisterTab::None) {
                listed.push_back(row.address);
            }
        }
    }
};

const Map& map() {
    static const Map instance;
    return instance;
}

} // namespace

QString registerTabTitle(RegisterTab tab) {
    switch (tab) {
    case RegisterTab::Main:
        return QStringLiteral("Main");
    case RegisterTab::GpioAin:
        return QStringLiteral("GPIO /AIN");
    case RegisterTab::Temp:
        return QStringLiteral("Temp");
    case RegisterTab::Fans:
        return QStringLiteral("Fans");
    case RegisterTab::None:
        break;
    }
    return {};
}

namespace RegisterMap {

const RegisterEntry* lookup(int address) {
    if (address < 0 || address > 0xFF) {
        return nullptr;
    }
    const int index = map().indexByAddress[address];
    return index < 0 ? nullptr : &map().entries[index];
}

QString displayName(int address) {
    const RegisterEntry* entry = lookup(address);
    return entry && !entry->Name.isEmpty() ? entry->Name : QStringLiteral("-");
}

const std::vector<RegisterEntry>& entries() {
    return map().entries;
}

const std::vector<quint8>& listedAddresses() {
    return map().listed;
}

const std::array<QString, 8>* bitNames(int address) {
    const RegisterEntry* entry = lookup(address);
    return entry && entry->BitNames ? &*entry->BitNames : nullptr;
}

quint8 familyAddress(RegisterFamily family, int channel) {
    const FamilyInfo info = familyInfo(family);
    if (channel < 0 || channel >= info.channels) {
        throw std::out_of_range("channel " + std::to_string(channel) +
                                " is not in the register family");
    }
    return quint8(info.base + channel);
}

int familyChannelCount(RegisterFamily family) {
    return familyInfo(family).channels;
}

} // namespace RegisterMap

} // namespace qmf
