// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chip/RegisterMap.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>

namespace qmf {
namespace {

struct EntryCase {
    int address;
    const char* name;
    RegisterTab tab;
};

class RegisterNames : public ::testing::TestWithParam<EntryCase> {};

TEST_P(RegisterNames, MatchTheListExactly) {
    const RegisterEntry* entry = RegisterMap::lookup(GetParam().address);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Address, GetParam().address);
    EXPECT_EQ(entry->Name, QString::fromUtf8(GetParam().name));
    EXPECT_EQ(entry->Tab, GetParam().tab);
}

INSTANTIATE_TEST_SUITE_P(
    Sample, RegisterNames,
    ::testing::Values(EntryCase{0x00, "Main Status", RegisterTab::Main},
                      EntryCase{0x01, "Config", RegisterTab::Main},
                      EntryCase{0x02, "Fans Supported Control", RegisterTab::Fans},
                      EntryCase{0x03, "Fans Supported System", RegisterTab::Fans},
                      EntryCase{0x04, "GPIO SuptdCtrl", RegisterTab::GpioAin},
                      EntryCase{0x05, "GPIO Present/AIN", RegisterTab::GpioAin},
                      EntryCase{0x06, "Temp DevicesInstalled", RegisterTab::Temp},
                      EntryCase{0x07, "Fan Alarm Speed", RegisterTab::Fans},
                      EntryCase{0x08, "Fan HotPlugSpeed", RegisterTab::Fans},
                      EntryCase{0x09, "Fan FullSpeed", RegisterTab::Fans},
                      EntryCase{0x0B, "S/W Reset", RegisterTab::Main},
                      EntryCase{0x0D, "Manufacturers ID", RegisterTab::Main},
                      EntryCase{0x0E, "Major/Minor Revision", RegisterTab::Main},
                      EntryCase{0x0F, "Test Register", RegisterTab::Main},
                      EntryCase{0x11, "Fan 1 Status", RegisterTab::Fans},
                      EntryCase{0x18, "Fan 0 Control", RegisterTab::Fans},
                      EntryCase{0x1A, "Fault0ToFanMask", RegisterTab::Fans},
                      EntryCase{0x1B, "Fault1ToFanMask", RegisterTab::Fans},
                      EntryCase{0x20, "", RegisterTab::None},
                      EntryCase{0x21, "", RegisterTab::None},
                      EntryCase{0x2E, "GPIO 6 Control", RegisterTab::GpioAin},
                      EntryCase{0x32, "Temp 2 Offset", RegisterTab::Temp},
                      EntryCase{0x3C, "GPIO 4 FanMask", RegisterTab::GpioAin},
                      EntryCase{0x41, "Temp 1 Control", RegisterTab::Temp},
                      EntryCase{0x4A, "Temp 2 FanMask", RegisterTab::Temp},
                      EntryCase{0x51, "AIN 1 Control", RegisterTab::GpioAin},
                      EntryCase{0x58, "AIN 0 FanMask", RegisterTab::GpioAin},
                      EntryCase{0x60, "Fan 0 Speed 1", RegisterTab::Fans},
                      EntryCase{0x69, "Fan 1 Speed 2", RegisterTab::Fans},
                      EntryCase{0x70, "Fan 0 Speed", RegisterTab::Fans},
                      EntryCase{0x79, "Fan 1 HighLimit", RegisterTab::Fans},
                      EntryCase{0x82, "Temp 2 Tmin", RegisterTab::Temp},
                      EntryCase{0x88, "Temp 0 Tstep/Hyst", RegisterTab::Temp},
                      EntryCase{0x91, "Temp 1 HighLimit", RegisterTab::Temp},
                      EntryCase{0x9A, "Temp 2 LowLimit", RegisterTab::Temp},
                      EntryCase{0xA0, "Temp 0 Value", RegisterTab::Temp},
                      EntryCase{0xA9, "AIN 1 HighLimit", RegisterTab::GpioAin},
                      EntryCase{0xB0, "AIN 0 LowLimit", RegisterTab::GpioAin},
                      EntryCase{0xB9, "AIN 1 Value", RegisterTab::GpioAin}));

// Bit names as the list shows them, bit 7 first.
struct BitsCase {
    int address;
    std::array<const char*, 8> bit7to0;
};

class RegisterBitNames : public ::testing::TestWithParam<BitsCase> {};

TEST_P(RegisterBitNames, AreIndexedByBitNumber) {
    const std::array<QString, 8>* names = RegisterMap::bitNames(GetParam().address);
    ASSERT_NE(names, nullptr);
    for (int bit = 0; bit < 8; ++bit) {
        EXPECT_EQ((*names)[bit], QString::fromUtf8(GetParam().bit7to0[7 - bit])) << "bit " << bit;
    }
    EXPECT_EQ(RegisterMap::lookup(GetParam().address)->BitNames.value(), *names);
}

INSTANTIATE_TEST_SUITE_P(
    Sample, RegisterBitNames,
    ::testing::Values(
        BitsCase{0x00,
                 {"Thermal Event", "GPIO/AIN Event", "HotPlug/Fan Fault", "In Hot Plug Speed",
                  "In Alarm Speed", "CFAULT out", "CFAULT in", "INT"}},
        BitsCase{0x01,
                 {"INT Polarity", "Force INT", "Force CFAULT", "StartMonitoring", "FreeWheelTest",
                  "ARA Disable", "Global INT Mask", "Install"}},
        BitsCase{0x04,
                 {"Unused", "GPIO6 Support", "GPIO5 Support", "GPIO4 Support", "GPIO3 Support",
                  "GPIO2 Support", "GPIO1 Support", "GPIO0 Support"}},
        BitsCase{
            0x06,
            {"Unused", "Unused", "Unused", "Unused", "Unused", "Temp R1", "Temp R0", "Temp Local"}},
        BitsCase{0x08,
                 {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan1 HP Speed",
                  "Fan0 HP Speed"}},
        BitsCase{0x0D,
                 {"ManufacturersID", "Unused", "Unused", "Unused", "Unused", "Unused", "Unused",
                  "Unused"}},
        BitsCase{0x0E,
                 {"MajorRevCode 3", "MajorRevCode 2", "MajorRevCode 1", "MajorRevCode 0",
                  "MinorRevCode 3", "MinorRevCode 2", "MinorRevCode 1", "MinorRevCode 0"}},
        BitsCase{0x10,
                 {"HotPlugL", "TachFaultL", "HotPlugPriority", "Sleep", "Fault L", "Fault",
                  "Missing L", "Missing"}},
        BitsCase{0x19,
                 {"AlarmOnCFAULT", "HotPlugSpeedOnCFAULTIn", "DriveFaultOn",
                  "ThermalOverRideInSleep", "AssertINTonHotUnplug", "AssertCFAULTOnHotUnplug",
                  "AssertINTOnFault", "AssertCFAULTOnFault"}},
        BitsCase{0x21,
                 {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan1FaultMask",
                  "Fan0FaultMask"}},
        BitsCase{0x2A, {"Bit7", "Bit6", "Bit5", "Bit4", "Bit3", "Bit2", "Polarity", "Direction"}},
        BitsCase{0x3E,
                 {"Unused", "Unused", "Unused", "Unused", "Unused", "Unused", "Fan 1", "Fan 0"}},
        BitsCase{0x42,
                 {"LatchTempFault", "INTonUT", "AlarmSpeedOnUT", "AssertCfaultOnUT",
                  "AlarmBelowLow", "INTOnOT", "AlarmSpeedOnOT", "AssertCFAULTOnOT"}},
        BitsCase{0x50,
                 {"LatchAINFault", "INTOnLowLim", "AlarmSpeedOnLowLim", "AssertCFAULTOnLowLim",
                  "AlarmBelowLow", "INTOnHighLim", "AlarmSpeedOnHighLim", "AssertCFAULTOnHighLim"}},
        BitsCase{0x61,
                 {"AlarmSpeed3", "AlarmSpeed2", "AlarmSpeed1", "AlarmSpeed0",
                  "NormalSpeed/MinSpeed3", "NormalSpeed/MinSpeed2", "NormalSpeed/MinSpeed1",
                  "NormalSpeed/MinSpeed0"}},
        BitsCase{0x68,
                 {"OscFreq1", "OscFreq0", "PWMFreq1", "PWMFreq0", "HotPlugSpeed3", "HotPlugSpeed2",
                  "HotPlugSpeed1", "HotPlugSpeed0"}},
        BitsCase{0x71,
                 {"FanSpeed7", "FanSpeed6", "FanSpeed5", "FanSpeed4", "FanSpeed3", "FanSpeed2",
                  "FanSpeed1", "FanSpeed0"}},
        BitsCase{0x78,
                 {"TachHighLimit7", "TachHighLimit6", "TachHighLimit5", "TachHighLimit4",
                  "TachHighLimit3", "TachHighLimit2", "TachHighLimit1", "TachHighLimit0"}},
        BitsCase{0x81,
                 {"TempTMin7", "TempTMin6", "TempTMin5", "TempTMin4", "TempTMin3", "TempTMin2",
                  "TempTMin1", "TempTMin0"}},
        BitsCase{0x8A,
                 {"TempHyst3", "TempHyst2", "TempHyst1", "TempHyst0", "TempTrange3", "TempTrange2",
                  "TempTrange1", "TempTrange0"}},
        BitsCase{0x92,
                 {"TempHighLimit7", "TempHighLimit6", "TempHighLimit5", "TempHighLimit4",
                  "TempHighLimit3", "TempHighLimit2", "TempHighLimit1", "TempHighLimit0"}}));

// Addresses inside the listed range that the map does not know.
std::set<int> unknownAddresses() {
    std::set<int> result{0x0A, 0x0C, 0x2F, 0x3F};
    const std::pair<int, int> ranges[] = {{0x12, 0x17}, {0x1C, 0x1F}, {0x22, 0x27}, {0x33, 0x37},
                                          {0x43, 0x47}, {0x4B, 0x4F}, {0x52, 0x57}, {0x5A, 0x5F},
                                          {0x62, 0x67}, {0x6A, 0x6F}, {0x72, 0x77}, {0x7A, 0x7F},
                                          {0x83, 0x87}, {0x8B, 0x8F}, {0x93, 0x97}, {0x9B, 0x9F},
                                          {0xA3, 0xA7}, {0xAA, 0xAF}, {0xB2, 0xB7}, {0xBA, 0xFF}};
    for (auto [first, last] : ranges) {
        for (int address = first; address <= last; ++address) {
            result.insert(address);
        }
    }
    return result;
}

TEST(RegisterMapShape, HasAnEntryForExactlyTheKnownAddresses) {
    const std::set<int> unknown = unknownAddresses();
    for (int address = 0; address <= 0xFF; ++address) {
        const bool known = RegisterMap::lookup(address) != nullptr;
        EXPECT_EQ(known, !unknown.count(address)) << "address " << address;
    }
    EXPECT_EQ(RegisterMap::lookup(-1), nullptr);
    EXPECT_EQ(RegisterMap::lookup(0x100), nullptr);
    EXPECT_EQ(RegisterMap::lookup(0x10A), nullptr); // not taken modulo 256
    EXPECT_EQ(RegisterMap::entries().size(), 78u);
    EXPECT_EQ(256 - unknown.size(), 78u);
}

TEST(RegisterMapShape, ListsSeventySixAddressesInAscendingOrder) {
    const std::vector<quint8>& listed = RegisterMap::listedAddresses();
    ASSERT_EQ(listed.size(), 76u);
    EXPECT_EQ(listed.front(), 0x00);
    EXPECT_EQ(listed.back(), 0xB9);
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    EXPECT_EQ(std::adjacent_find(listed.begin(), listed.end()), listed.end());
    for (quint8 address : listed) {
        EXPECT_NE(address, 0x20);
        EXPECT_NE(address, 0x21);
        const RegisterEntry* entry = RegisterMap::lookup(address);
        ASSERT_NE(entry, nullptr);
        EXPECT_NE(entry->Tab, RegisterTab::None);
        EXPECT_FALSE(entry->Name.isEmpty());
    }
}

TEST(RegisterMapShape, EntriesAreInAscendingAddressOrder) {
    const auto& entries = RegisterMap::entries();
    for (size_t i = 1; i < entries.size(); ++i) {
        EXPECT_LT(entries[i - 1].Address, entries[i].Address);
    }
}

TEST(RegisterMapShape, UnlistedFanFaultMasksHaveBitNamesButNoTab) {
    for (int address : {0x20, 0x21}) {
        const RegisterEntry* entry = RegisterMap::lookup(address);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->Tab, RegisterTab::None);
        ASSERT_TRUE(entry->BitNames.has_value());
        EXPECT_EQ((*entry->BitNames)[0], QStringLiteral("Fan0FaultMask"));
        EXPECT_EQ((*entry->BitNames)[1], QStringLiteral("Fan1FaultMask"));
    }
}

TEST(RegisterMapShape, ValueAndLimitRegistersHaveNoBitNames) {
    for (int address : {0x1A, 0x1B, 0x30, 0x31, 0x32, 0x98, 0x99, 0x9A, 0xA0, 0xA1, 0xA2, 0xA8,
                        0xA9, 0xB0, 0xB1, 0xB8, 0xB9}) {
        ASSERT_NE(RegisterMap::lookup(address), nullptr) << address;
        EXPECT_EQ(RegisterMap::bitNames(address), nullptr) << address;
        EXPECT_FALSE(RegisterMap::lookup(address)->BitNames.has_value()) << address;
    }
    for (int address = 0x93; address <= 0xFF; ++address) {
        EXPECT_EQ(RegisterMap::bitNames(address), nullptr) << address;
    }
    EXPECT_EQ(RegisterMap::bitNames(0x0C), nullptr);
    EXPECT_EQ(RegisterMap::bitNames(-5), nullptr);
}

TEST(RegisterMapShape, TabTitlesAreThePageCaptions) {
    EXPECT_EQ(registerTabTitle(RegisterTab::Main), QStringLiteral("Main"));
    EXPECT_EQ(registerTabTitle(RegisterTab::GpioAin), QStringLiteral("GPIO /AIN"));
    EXPECT_EQ(registerTabTitle(RegisterTab::Temp), QStringLiteral("Temp"));
    EXPECT_EQ(registerTabTitle(RegisterTab::Fans), QStringLiteral("Fans"));
    EXPECT_EQ(registerTabTitle(RegisterTab::None), QString());
}

struct FamilyCase {
    RegisterFamily family;
    int base;
    int channels;
    const char* nameOfChannel1; // "" where the family is not listed
};

class RegisterFamilies : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(RegisterFamilies, AreBasePlusChannel) {
    const FamilyCase& c = GetParam();
    EXPECT_EQ(RegisterMap::familyChannelCount(c.family), c.channels);
    for (int channel = 0; channel < c.channels; ++channel) {
        const quint8 address = RegisterMap::familyAddress(c.family, channel);
        EXPECT_EQ(address, c.base + channel);
        EXPECT_NE(RegisterMap::lookup(address), nullptr) << int(address);
    }
    EXPECT_EQ(RegisterMap::lookup(RegisterMap::familyAddress(c.family, 1))->Name,
              QString::fromUtf8(c.nameOfChannel1));
    EXPECT_THROW(RegisterMap::familyAddress(c.family, -1), std::out_of_range);
    EXPECT_THROW(RegisterMap::familyAddress(c.family, c.channels), std::out_of_range);
}

INSTANTIATE_TEST_SUITE_P(
    All, RegisterFamilies,
    ::testing::Values(FamilyCase{RegisterFamily::FanStatus, 0x10, 2, "Fan 1 Status"},
                      FamilyCase{RegisterFamily::FanControl, 0x18, 2, "Fan 1 Control"},
                      FamilyCase{RegisterFamily::FaultToFanMask, 0x1A, 2, "Fault1ToFanMask"},
                      FamilyCase{RegisterFamily::FanFaultMask, 0x20, 2, ""},
                      FamilyCase{RegisterFamily::GpioControl, 0x28, 7, "GPIO 1 Control"},
                      FamilyCase{RegisterFamily::TempOffset, 0x30, 3, "Temp 1 Offset"},
                      FamilyCase{RegisterFamily::GpioFanMask, 0x38, 7, "GPIO 1 FanMask"},
                      FamilyCase{RegisterFamily::TempControl, 0x40, 3, "Temp 1 Control"},
                      FamilyCase{RegisterFamily::TempFanMask, 0x48, 3, "Temp 1 FanMask"},
                      FamilyCase{RegisterFamily::AinControl, 0x50, 2, "AIN 1 Control"},
                      FamilyCase{RegisterFamily::AinFanMask, 0x58, 2, "AIN 1 FanMask"},
                      FamilyCase{RegisterFamily::FanSpeed1, 0x60, 2, "Fan 1 Speed 1"},
                      FamilyCase{RegisterFamily::FanSpeed2, 0x68, 2, "Fan 1 Speed 2"},
                      FamilyCase{RegisterFamily::FanSpeed, 0x70, 2, "Fan 1 Speed"},
                      FamilyCase{RegisterFamily::FanHighLimit, 0x78, 2, "Fan 1 HighLimit"},
                      FamilyCase{RegisterFamily::TempTmin, 0x80, 3, "Temp 1 Tmin"},
                      FamilyCase{RegisterFamily::TempTstepHyst, 0x88, 3, "Temp 1 Tstep/Hyst"},
                      FamilyCase{RegisterFamily::TempHighLimit, 0x90, 3, "Temp 1 HighLimit"},
                      FamilyCase{RegisterFamily::TempLowLimit, 0x98, 3, "Temp 1 LowLimit"},
                      FamilyCase{RegisterFamily::TempValue, 0xA0, 3, "Temp 1 Value"},
                      FamilyCase{RegisterFamily::AinHighLimit, 0xA8, 2, "AIN 1 HighLimit"},
                      FamilyCase{RegisterFamily::AinLowLimit, 0xB0, 2, "AIN 1 LowLimit"},
                      FamilyCase{RegisterFamily::AinValue, 0xB8, 2, "AIN 1 Value"}));

} // namespace
} // namespace qmf
