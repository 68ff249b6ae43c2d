// SPDX-License-Identifier: GPL-3.0-or-later
// Limits, fan faults and events: the status registers and the speed each fan is driven at.
#include "SimTestSupport.h"

namespace qmf::sim::test {
namespace {

TEST(ChipStatus, LimitsAndConfigSetMainStatusBits) {
    const std::vector<std::tuple<const char*, Writes, int>> cases = {
        {"TDM 1 below its low limit", {{0x99, 50}}, 0x80},
        {"local above a negative high limit", {{0x90, 0x81}}, 0x80},
        {"negative low limit is no event", {{0x98, 0x81}}, 0x00},
        {"AIN 0 above its high limit", {{0xA8, 0x10}}, 0x40},
        {"AIN 1 below its low limit", {{0xB1, 0xF0}}, 0x40},
        {"over-temperature with INT enabled", {{0x41, 0x04}, {0x91, 20}}, 0x81},
        {"INT masked globally", {{0x41, 0x04}, {0x91, 20}, {0x01, 0x12}}, 0x80},
        {"under-temperature with CFAULT enabled", {{0x42, 0x10}, {0x9A, 50}}, 0x84},
        {"forced INT", {{0x01, 0x50}}, 0x01},
        {"forced CFAULT", {{0x01, 0x30}}, 0x04},
    };
    for (const auto& [what, writes, expected] : cases) {
        EXPECT_EQ(SimChip(writes, 0.1).read(0x00), expected) << what;
    }
}

TEST(ChipStatus, RunningFanSlowerThanItsLimitIsAFault) {
    const std::vector<std::tuple<const char*, Writes, bool>> cases = {
        {"count within the limit", {{0x78, 0x80}}, false},
        {"count above the limit", {{0x78, 20}}, true},
        {"measurement disabled", {{0x68, 0x2C}, {0x78, 20}}, false},
        {"fan not driven", {{0x60, 0xF0}, {0x78, 20}}, false},
    };
    for (const auto& [what, writes, fault] : cases) {
        SimChip s(writes, 20);
        EXPECT_EQ(s.read(0x10), fault ? 0x4C : 0x00) << what; // TachFaultL, Fault L, Fault
        EXPECT_EQ(bool(s.read(0x00) & 0x20), fault) << what;
    }
    // A fault on fan 0 drives fan 1 to alarm speed when 0x20 says so.
    EXPECT_DOUBLE_EQ(SimChip({{0x61, 0xC8}, {0x20, 0x02}, {0x78, 20}}, 0.1).chip.fanDutyPercent(1),
                     duty(12));
}

TEST(ChipStatus, SpeedPrecedenceIsFullThenAlarmThenHotPlug) {
    // Fan 0: alarm code 5, normal 8, hot-plug 12; no channel controls it.
    const Writes setup = {{0x60, 0x58}, {0x68, 0x4C}, {0x48, 0x03}, {0x49, 0x03}, {0x4A, 0x03}};
    const std::vector<std::tuple<const char*, Writes, double, int>> cases = {
        {"normal", {}, duty(8), 0x00},
        {"hot-plug", {{0x08, 0x01}}, duty(12), 0x10},
        {"alarm", {{0x07, 0x01}}, duty(5), 0x08},
        {"alarm over hot-plug", {{0x07, 0x01}, {0x08, 0x01}}, duty(5), 0x08},
        {"hot-plug priority", {{0x07, 0x01}, {0x08, 0x01}, {0x10, 0x20}}, duty(12), 0x10},
        {"full over alarm", {{0x07, 0x01}, {0x09, 0x01}}, 100.0, 0x00},
        {"other fan's bits", {{0x07, 0x02}, {0x09, 0x02}}, duty(8), 0x00},
        {"not supported", {{0x09, 0x01}, {0x02, 0x02}}, 0.0, 0x00},
    };
    for (const auto& [what, writes, expectedDuty, mainBits] : cases) {
        Writes all = setup;
        all.insert(all.end(), writes.begin(), writes.end());
        SimChip s(all, 0.1);
        EXPECT_DOUBLE_EQ(s.chip.fanDutyPercent(0), expectedDuty) << what;
        EXPECT_EQ(s.read(0x00) & 0x18, mainBits) << what; // In Hot Plug / In Alarm Speed
    }
}

TEST(ChipStatus, HotDiodeWithItsMaskBitSetDrivesTheFanToAlarmSpeed) {
    // Alarm code 13, normal 8. With the mask bit clear TDM 2's AFC takes the fan to 100 % instead.
    for (const auto& [control, mask, expected] :
         {std::tuple{0x02, 0x01, duty(13)}, {0x00, 0x01, duty(8)}, {0x02, 0x02, 100.0}}) {
        SCOPED_TRACE(::testing::Message() << control << "/" << mask);
        SimChip s({{0x60, 0xD8}, {0x42, control}, {0x4A, mask}, {0x92, 40}});
        s.chip.setHeaters(true, false);
        s.runSeconds(60);
        EXPECT_TRUE(s.read(0x00) & 0x80);
        EXPECT_DOUBLE_EQ(s.chip.fanDutyPercent(0), expected);
        EXPECT_EQ(bool(s.read(0x00) & 0x08), control != 0); // mask 2: fan 1's alarm
    }
}

using ChipStatusTest = ChipTest;

TEST_F(ChipStatusTest, DisconnectedFanIsMissingAndSendsTheOtherToHotPlugSpeed) {
    chip.setFanConnected(1, false);
    runSeconds(0.1);
    EXPECT_EQ(read(0x11), 0x83); // HotPlugL, Missing L, Missing
    EXPECT_EQ(read(0x71), 0xFF); // no tachometer pulses
    EXPECT_EQ(read(0x00), 0x30); // HotPlug/Fan Fault, In Hot Plug Speed
    EXPECT_DOUBLE_EQ(chip.fanDutyPercent(0), duty(0x6C & 0x0F));

    chip.setFanConnected(1, true);
    runSeconds(5);
    EXPECT_EQ(read(0x11), 0x82); // the latches stay
    EXPECT_EQ(read(0x00), 0x00);
    write(0x11, 0x68); // a 0 clears a latch and a 1 cannot set one; HotPlugPriority takes its 1
    EXPECT_EQ(read(0x11), 0x20);
}

TEST_F(ChipStatusTest, AssertedGpioAndCfaultInputDriveTheFans) {
    write(0x38, 0x01); // GPIO 0 -> fan 0 alarm
    chip.setGpioInputs(0x7E);
    EXPECT_EQ(read(0x05), 0x7E);
    EXPECT_EQ(read(0x00), 0x48);
    EXPECT_DOUBLE_EQ(chip.fanDutyPercent(0), 100.0);
    write(0x28, 0x02); // active high: a low pin is not asserted
    EXPECT_EQ(read(0x00), 0x00);
    EXPECT_DOUBLE_EQ(chip.fanDutyPercent(0), duty(8));

    write(0x19, 0x40); // fan 1: hot-plug speed while CFAULT is pulled in
    chip.setCfaultInput(true);
    EXPECT_EQ(read(0x00), 0x12);
    EXPECT_DOUBLE_EQ(chip.fanDutyPercent(1), duty(12));
    chip.setCfaultInput(false);
    EXPECT_EQ(read(0x00), 0x00);
}

} // namespace
} // namespace qmf::sim::test
