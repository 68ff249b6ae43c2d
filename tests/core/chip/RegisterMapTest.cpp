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
using enum RegisterFamily;

TEST(RegisterMap, EntriesCarryTheirListNamePageAndBitNamesIndexedByBitNumber) {
    // Bit names bit 7 first, as the list shows them; "" where the register has none.
    // clang-format off
    const std::tuple<int, const char*, RegisterTab, const char*> cases[] = {
        {0x00, "Main Status", Main, "Thermal Event|GPIO/AIN Event|HotPlug/Fan Fault|In Hot Plug Speed|In Alarm Speed|CFAULT out|CFAULT in|INT"},
        {0x21, "", None, "Unused|Unused|Unused|Unused|Unused|Unused|Fan1FaultMask|Fan0FaultMask"},
        {0x92, "Temp 2 HighLimit", Temp, "TempHighLimit7|TempHighLimit6|TempHighLimit5|TempHighLimit4|TempHighLimit3|TempHighLimit2|TempHighLimit1|TempHighLimit0"},
        {0x1A, "Fault0ToFanMask", Fans, ""}, {0x30, "Temp 0 Offset", Temp, ""}, {0x98, "Temp 0 LowLimit", Temp, ""},
        {0x11, "Fan 1 Status", Fans, "HotPlugL|TachFaultL|HotPlugPriority|Sleep|Fault L|Fault|Missing L|Missing"},
        {0xA2, "Temp 2 Value", Temp, ""}, {0xA8, "AIN 0 HighLimit", GpioAin, ""}, {0xB9, "AIN 1 Value", GpioAin, ""}};
    // clang-format on
    for (auto [address, name, tab, bits] : cases) {
        const RegisterEntry* entry = RegisterMap::lookup(address);
        ASSERT_NE(entry, nullptr) << address;
        EXPECT_EQ(entry->Address, address);
        EXPECT_EQ(entry->Name, QLatin1String(name));
        EXPECT_EQ(entry->Tab, tab) << address;
        const std::array<QString, 8>* names = RegisterMap::bitNames(address);
        const QString joined = names ? QStringList(names->rbegin(), names->rend()).join(u'|') : "";
        EXPECT_EQ(joined, QLatin1String(bits)) << address;
    }
    for (int address = 0x93; address <= 0x100; ++address) {
        EXPECT_EQ(RegisterMap::bitNames(address), nullptr) << address;
    }
    EXPECT_EQ(registerTabTitle(GpioAin), QStringLiteral("GPIO /AIN"));
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
    for (int address = -1; address <= 0x100; ++address) {
        const bool outside = address < 0 || address > 0xFF || unknown.count(address) == 1;
        EXPECT_EQ(RegisterMap::lookup(address) == nullptr, outside) << address;
    }
    EXPECT_EQ(RegisterMap::entries().size(), 78u);

    const std::vector<quint8>& listed = RegisterMap::listedAddresses();
    ASSERT_EQ(listed.size(), 76u);
    EXPECT_EQ(listed.front(), 0x00);
    EXPECT_EQ(listed.back(), 0xB9);
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    for (quint8 address : listed) {
        EXPECT_NE(RegisterMap::lookup(address)->Tab, None) << address; // never 0x20 or 0x21
    }
}

TEST(RegisterMap, FamiliesAreBasePlusChannel) {
    // clang-format off
    const std::tuple<RegisterFamily, int, int> cases[] = {
        {FanStatus, 0x10, 2}, {FanControl, 0x18, 2}, {FaultToFanMask, 0x1A, 2}, {FanFaultMask, 0x20, 2},
        {GpioControl, 0x28, 7}, {TempOffset, 0x30, 3}, {GpioFanMask, 0x38, 7}, {TempControl, 0x40, 3},
        {TempFanMask, 0x48, 3}, {AinControl, 0x50, 2}, {AinFanMask, 0x58, 2}, {FanSpeed1, 0x60, 2},
        {FanSpeed2, 0x68, 2}, {FanSpeed, 0x70, 2}, {FanHighLimit, 0x78, 2}, {TempTmin, 0x80, 3},
        {TempTstepHyst, 0x88, 3}, {TempHighLimit, 0x90, 3}, {TempLowLimit, 0x98, 3},
        {TempValue, 0xA0, 3}, {AinHighLimit, 0xA8, 2}, {AinLowLimit, 0xB0, 2}, {AinValue, 0xB8, 2}};
    // clang-format on
    for (auto [family, base, channels] : cases) {
        EXPECT_EQ(RegisterMap::familyChannelCount(family), channels) << base;
        for (int channel = 0; channel < channels; ++channel) {
            EXPECT_EQ(RegisterMap::familyAddress(family, channel), base + channel);
        }
        EXPECT_THROW(RegisterMap::familyAddress(family, -1), std::out_of_range);
        EXPECT_THROW(RegisterMap::familyAddress(family, channels), std::out_of_range);
    }
}

} // namespace
} // namespace qmf
