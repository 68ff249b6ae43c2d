// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chip/RegisterMap.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>

namespace qmf {
namespace {

using enum RegisterTab;

TEST(RegisterMap, NamesAndTabsMatchTheList) {
    // clang-format off
    const std::tuple<int, const char*, RegisterTab> cases[] = {
        {0x00, "Main Status", Main}, {0x02, "Fans Supported Control", Fans},
        {0x03, "Fans Supported System", Fans}, {0x04, "GPIO SuptdCtrl", GpioAin},
        {0x05, "GPIO Present/AIN", GpioAin}, {0x06, "Temp DevicesInstalled", Temp},
        {0x08, "Fan HotPlugSpeed", Fans}, {0x09, "Fan FullSpeed", Fans}, {0x0B, "S/W Reset", Main},
        {0x0D, "Manufacturers ID", Main}, {0x0E, "Major/Minor Revision", Main},
        {0x0F, "Test Register", Main}, {0x11, "Fan 1 Status", Fans}, {0x18, "Fan 0 Control", Fans},
        {0x1B, "Fault1ToFanMask", Fans}, {0x20, "", None}, {0x21, "", None},
        {0x2E, "GPIO 6 Control", GpioAin}, {0x32, "Temp 2 Offset", Temp},
        {0x3C, "GPIO 4 FanMask", GpioAin}, {0x41, "Temp 1 Control", Temp},
        {0x4A, "Temp 2 FanMask", Temp}, {0x51, "AIN 1 Control", GpioAin},
        {0x58, "AIN 0 FanMask", GpioAin}, {0x60, "Fan 0 Speed 1", Fans}, {0x69, "Fan 1 Speed 2", Fans},
        {0x70, "Fan 0 Speed", Fans}, {0x79, "Fan 1 HighLimit", Fans}, {0x82, "Temp 2 Tmin", Temp},
        {0x88, "Temp 0 Tstep/Hyst", Temp}, {0x91, "Temp 1 HighLimit", Temp},
        {0x9A, "Temp 2 LowLimit", Temp}, {0xA0, "Temp 0 Value", Temp},
        {0xA9, "AIN 1 HighLimit", GpioAin}, {0xB0, "AIN 0 LowLimit", GpioAin},
        {0xB9, "AIN 1 Value", GpioAin}};
    // clang-format on
    for (auto [address, name, tab] : cases) {
        const RegisterEntry* entry = RegisterMap::lookup(address);
        ASSERT_NE(entry, nullptr) << address;
        EXPECT_EQ(entry->Address, address);
        EXPECT_EQ(entry->Name, QLatin1String(name));
        EXPECT_EQ(entry->Tab, tab) << address;
    }
    EXPECT_EQ(registerTabTitle(GpioAin), QStringLiteral("GPIO /AIN"));
    EXPECT_EQ(registerTabTitle(Fans), QStringLiteral("Fans"));
    EXPECT_EQ(registerTabTitle(None), QString());
}

TEST(RegisterMap, BitNamesAreIndexedByBitNumber) {
    // Bit 7 first, as the list shows them.
    // clang-format off
    const std::pair<int, const char*> cases[] = {
        {0x00, "Thermal Event|GPIO/AIN Event|HotPlug/Fan Fault|In Hot Plug Speed|In Alarm Speed|CFAULT out|CFAULT in|INT"},
        {0x01, "INT Polarity|Force INT|Force CFAULT|StartMonitoring|FreeWheelTest|ARA Disable|Global INT Mask|Install"},
        {0x06, "Unused|Unused|Unused|Unused|Unused|Temp R1|Temp R0|Temp Local"},
        {0x0E, "MajorRevCode 3|MajorRevCode 2|MajorRevCode 1|MajorRevCode 0|MinorRevCode 3|MinorRevCode 2|MinorRevCode 1|MinorRevCode 0"},
        {0x10, "HotPlugL|TachFaultL|HotPlugPriority|Sleep|Fault L|Fault|Missing L|Missing"},
        {0x19, "AlarmOnCFAULT|HotPlugSpeedOnCFAULTIn|DriveFaultOn|ThermalOverRideInSleep|AssertINTonHotUnplug|AssertCFAULTOnHotUnplug|AssertINTOnFault|AssertCFAULTOnFault"},
        {0x2A, "Bit7|Bit6|Bit5|Bit4|Bit3|Bit2|Polarity|Direction"},
        {0x42, "LatchTempFault|INTonUT|AlarmSpeedOnUT|AssertCfaultOnUT|AlarmBelowLow|INTOnOT|AlarmSpeedOnOT|AssertCFAULTOnOT"},
        {0x50, "LatchAINFault|INTOnLowLim|AlarmSpeedOnLowLim|AssertCFAULTOnLowLim|AlarmBelowLow|INTOnHighLim|AlarmSpeedOnHighLim|AssertCFAULTOnHighLim"},
        {0x61, "AlarmSpeed3|AlarmSpeed2|AlarmSpeed1|AlarmSpeed0|NormalSpeed/MinSpeed3|NormalSpeed/MinSpeed2|NormalSpeed/MinSpeed1|NormalSpeed/MinSpeed0"},
        {0x68, "OscFreq1|OscFreq0|PWMFreq1|PWMFreq0|HotPlugSpeed3|HotPlugSpeed2|HotPlugSpeed1|HotPlugSpeed0"},
        {0x78, "TachHighLimit7|TachHighLimit6|TachHighLimit5|TachHighLimit4|TachHighLimit3|TachHighLimit2|TachHighLimit1|TachHighLimit0"},
        {0x92, "TempHighLimit7|TempHighLimit6|TempHighLimit5|TempHighLimit4|TempHighLimit3|TempHighLimit2|TempHighLimit1|TempHighLimit0"}};
    // clang-format on
    for (auto [address, joined] : cases) {
        const std::array<QString, 8>* names = RegisterMap::bitNames(address);
        ASSERT_NE(names, nullptr) << address;
        QStringList bit7to0(names->rbegin(), names->rend());
        EXPECT_EQ(bit7to0.join(u'|'), QLatin1String(joined));
    }
}

TEST(RegisterMap, KnowsExactlyTheListedAddressesPlusTheFanFaultMasks) {
    std::set<int> unknown{0x0A, 0x0C, 0x2F, 0x3F};
    // clang-format off
    const std::pair<int, int> gaps[] = {
        {0x12, 0x17}, {0x1C, 0x1F}, {0x22, 0x27}, {0x33, 0x37}, {0x43, 0x47}, {0x4B, 0x4F},
        {0x52, 0x57}, {0x5A, 0x5F}, {0x62, 0x67}, {0x6A, 0x6F}, {0x72, 0x77}, {0x7A, 0x7F},
        {0x83, 0x87}, {0x8B, 0x8F}, {0x93, 0x97}, {0x9B, 0x9F}, {0xA3, 0xA7}, {0xAA, 0xAF},
        {0xB2, 0xB7}, {0xBA, 0xFF}};
    // clang-format on
    for (auto [first, last] : gaps) {
        for (int address = first; address <= last; ++address) {
            unknown.insert(address);
        }
    }
    for (int address = 0; address <= 0xFF; ++address) {
        EXPECT_EQ(RegisterMap::lookup(address) == nullptr, unknown.count(address) == 1) << address;
    }
    for (int outside : {-1, 0x100, 0x10A}) {
        EXPECT_EQ(RegisterMap::lookup(outside), nullptr);
    }
    EXPECT_EQ(RegisterMap::entries().size(), 78u);
    EXPECT_TRUE(std::is_sorted(RegisterMap::entries().begin(), RegisterMap::entries().end(),
                               [](auto& a, auto& b) { return a.Address < b.Address; }));

    const std::vector<quint8>& listed = RegisterMap::listedAddresses();
    ASSERT_EQ(listed.size(), 76u);
    EXPECT_EQ(listed.front(), 0x00);
    EXPECT_EQ(listed.back(), 0xB9);
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    for (quint8 address : listed) {
        EXPECT_TRUE(address != 0x20 && address != 0x21);
        EXPECT_NE(RegisterMap::lookup(address)->Tab, None);
    }
}

TEST(RegisterMap, ValueOffsetMaskAndHighRegistersHaveNoBitNames) {
    for (int address : {0x1A, 0x1B, 0x30, 0x31, 0x32, 0x98, 0x9A, 0xA0, 0xA2, 0xA8, 0xB1, 0xB9}) {
        ASSERT_NE(RegisterMap::lookup(address), nullptr) << address;
        EXPECT_FALSE(RegisterMap::lookup(address)->BitNames.has_value()) << address;
    }
    for (int address = 0x93; address <= 0x100; ++address) {
        EXPECT_EQ(RegisterMap::bitNames(address), nullptr) << address;
    }
    EXPECT_EQ(RegisterMap::bitNames(0x0C), nullptr);
}

TEST(RegisterMap, FamiliesAreBasePlusChannel) {
    using enum RegisterFamily;
    // clang-format off
    const std::tuple<RegisterFamily, int, int, const char*> cases[] = {
        {FanStatus, 0x10, 2, "Fan 1 Status"}, {FanControl, 0x18, 2, "Fan 1 Control"},
        {FaultToFanMask, 0x1A, 2, "Fault1ToFanMask"}, {FanFaultMask, 0x20, 2, ""},
        {GpioControl, 0x28, 7, "GPIO 1 Control"}, {TempOffset, 0x30, 3, "Temp 1 Offset"},
        {GpioFanMask, 0x38, 7, "GPIO 1 FanMask"}, {TempControl, 0x40, 3, "Temp 1 Control"},
        {TempFanMask, 0x48, 3, "Temp 1 FanMask"}, {AinControl, 0x50, 2, "AIN 1 Control"},
        {AinFanMask, 0x58, 2, "AIN 1 FanMask"}, {FanSpeed1, 0x60, 2, "Fan 1 Speed 1"},
        {FanSpeed2, 0x68, 2, "Fan 1 Speed 2"}, {FanSpeed, 0x70, 2, "Fan 1 Speed"},
        {FanHighLimit, 0x78, 2, "Fan 1 HighLimit"}, {TempTmin, 0x80, 3, "Temp 1 Tmin"},
        {TempTstepHyst, 0x88, 3, "Temp 1 Tstep/Hyst"}, {TempHighLimit, 0x90, 3, "Temp 1 HighLimit"},
        {TempLowLimit, 0x98, 3, "Temp 1 LowLimit"}, {TempValue, 0xA0, 3, "Temp 1 Value"},
        {AinHighLimit, 0xA8, 2, "AIN 1 HighLimit"}, {AinLowLimit, 0xB0, 2, "AIN 1 LowLimit"},
        {AinValue, 0xB8, 2, "AIN 1 Value"}};
    // clang-format on
    for (auto [family, base, channels, nameOfChannel1] : cases) {
        EXPECT_EQ(RegisterMap::familyChannelCount(family), channels) << base;
        for (int channel = 0; channel < channels; ++channel) {
            EXPECT_EQ(RegisterMap::familyAddress(family, channel), base + channel);
        }
        EXPECT_EQ(RegisterMap::lookup(base + 1)->Name, QLatin1String(nameOfChannel1));
        EXPECT_THROW(RegisterMap::familyAddress(family, -1), std::out_of_range);
        EXPECT_THROW(RegisterMap::familyAddress(family, channels), std::out_of_range);
    }
}

} // namespace
} // namespace qmf
