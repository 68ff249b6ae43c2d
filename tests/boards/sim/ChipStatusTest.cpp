// SPDX-License-Identifier: GPL-3.0-or-later
// Limits, fan faults and events: the status registers and the speed each fan is driven at.
#include "SimTestSupport.h"

#include <vector>

namespace qmf::sim::test {
namespace {

constexpr double duty(int code) {
    return code * 100.0 / 15;
}

struct Write {
    quint8 reg, value;
};

TEST(ChipStatus, LimitsAndConfigSetMainStatusBits) {
    struct Case {
        const char* what;
        std::vector<Write> writes;
        quint8 expected;
    };
    const std::vector<Case> cases = {
        {"nothing", {}, 0x00},
        {"TDM 1 below its low limit", {{0x99, 50}}, 0x80},
        {"TDM 1 above its high limit", {{0x91, 20}}, 0x80},
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ManualClock clock;
        SimulatedChip chip(clock);
        for (const Write& w : c.writes) {
            chip.writeRegister(w.reg, w.value);
        }
        clock.advanceMs(100);
        EXPECT_EQ(chip.readRegister(0x00), c.expected);
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
    EXPECT_EQ(read(0x10) & 0x01, 0);

    chip.setFanConnected(1, true);
    runSeconds(5);
    EXPECT_EQ(read(0x11), 0x82); // the latches stay
    EXPECT_EQ(read(0x00), 0x00);
    write(0x11, 0x20); // clears the latches, sets HotPlugPriority
    EXPECT_EQ(read(0x11), 0x20);
    write(0x11, 0xFF); // a 1 cannot set a latch
    EXPECT_EQ(read(0x11), 0x30);
}

TEST_F(ChipStatusTest, FanOutsideTheSystemIsNotReportedMissing) {
    write(0x03, 0x01);
    chip.setFanConnected(1, false);
    runSeconds(0.1);
    EXPECT_EQ(read(0x11), 0x00);
    EXPECT_EQ(read(0x00) & 0x30, 0);
}

TEST_F(ChipStatusTest, RunningFanSlowerThanItsLimitIsAFault) {
    struct Case {
        const char* what;
        std::vector<Write> writes;
        bool fault;
    };
    const std::vector<Case> cases = {
        {"count within the limit", {{0x78, 0x80}}, false},
        {"count above the limit", {{0x78, 20}}, true},
        {"measurement disabled", {{0x68, 0x2C}, {0x78, 20}}, false},
        {"fan not driven", {{0x60, 0xF0}, {0x78, 20}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ManualClock clk;
        SimulatedChip sim(clk);
        for (const Write& w : c.writes) {
            sim.writeRegister(w.reg, w.value);
        }
        clk.advanceMs(20'000);
        EXPECT_EQ(sim.readRegister(0x10), c.fault ? 0x4C : 0x00);
        EXPECT_EQ(bool(sim.readRegister(0x00) & 0x20), c.fault);
    }
}

TEST_F(ChipStatusTest, FanFaultMaskSendsAFanToAlarmSpeed) {
    write(0x61, 0xC8);
    write(0x20, 0x02); // a fault on fan 0 drives fan 1 to alarm speed
    runSeconds(0.1);
    EXPECT_DOUBLE_EQ(chip.fanDutyPercent(1), duty(8));
    write(0x78, 20);
    runSeconds(0.1);
    EXPECT_DOUBLE_EQ(chip.fanDutyPercent(1), duty(12));
    EXPECT_TRUE(read(0x00) & 0x08);
}

TEST_F(ChipStatusTest, SpeedPrecedenceIsFullThenAlarmThenHotPlug) {
    struct Case {
        const char* what;
        std::vector<Write> writes;
        double duty;
        quint8 mainBits; // In Hot Plug Speed / In Alarm Speed
    };
    // Fan 0: alarm code 5, normal 8, hot-plug 12; no channel controls it.
    const std::vector<Write> setup = {
        {0x60, 0x58}, {0x68, 0x4C}, {0x48, 0x03}, {0x49, 0x03}, {0x4A, 0x03}};
    const std::vector<Case> cases = {
        {"normal", {}, duty(8), 0x00},
        {"hot-plug", {{0x08, 0x01}}, duty(12), 0x10},
        {"alarm", {{0x07, 0x01}}, duty(5), 0x08},
        {"alarm over hot-plug", {{0x07, 0x01}, {0x08, 0x01}}, duty(5), 0x08},
        {"hot-plug priority", {{0x07, 0x01}, {0x08, 0x01}, {0x10, 0x20}}, duty(12), 0x10},
        {"full over alarm", {{0x07, 0x01}, {0x09, 0x01}}, 100.0, 0x00},
        {"other fan's bits", {{0x07, 0x02}, {0x09, 0x02}}, duty(8), 0x00},
        {"not supported", {{0x09, 0x01}, {0x02, 0x02}}, 0.0, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ManualClock clk;
        SimulatedChip sim(clk);
        for (const Write& w : setup) {
            sim.writeRegister(w.reg, w.value);
        }
        for (const Write& w : c.writes) {
            sim.writeRegister(w.reg, w.value);
        }
        clk.advanceMs(100);
        EXPECT_DOUBLE_EQ(sim.fanDutyPercent(0), c.duty);
        EXPECT_EQ(sim.readRegister(0x00) & 0x18, c.mainBits);
    }
}

TEST_F(ChipStatusTest, HotDiodeWithItsMaskBitSetDrivesTheFanToAlarmSpeed) {
    struct Case {
        quint8 control, mask;
        double duty;
    };
    // Alarm code 13, normal 8. With the mask bit clear TDM 2's AFC takes the fan to 100 % instead.
    for (const Case c :
         {Case{0x02, 0x01, duty(13)}, Case{0x00, 0x01, duty(8)}, Case{0x02, 0x02, 100.0}}) {
        SCOPED_TRACE(::testing::Message() << int(c.control) << "/" << int(c.mask));
        ManualClock clk;
        SimulatedChip sim(clk);
        sim.writeRegister(0x60, 0xD8);
        sim.writeRegister(0x42, c.control);
        sim.writeRegister(0x4A, c.mask);
        sim.writeRegister(0x92, 40);
        sim.setHeaters(true, false);
        clk.advanceMs(60'000);
        EXPECT_TRUE(sim.readRegister(0x00) & 0x80);
        EXPECT_DOUBLE_EQ(sim.fanDutyPercent(0), c.duty);
        // Mask 0x02 sends fan 1 to alarm speed instead.
        EXPECT_EQ(bool(sim.readRegister(0x00) & 0x08), c.control != 0);
    }
}

TEST_F(ChipStatusTest, AssertedGpioAndCfaultInputDriveTheFans) {
    write(0x38, 0x01); // GPIO 0 -> fan 0 alarm
    chip.setGpioInputs(0x7E);
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

TEST_F(ChipStatusTest, FanIndexOutsideTheChipIsRefused) {
    EXPECT_THROW(chip.setFanConnected(2, false), std::out_of_range);
    EXPECT_THROW(chip.fanRpm(-1), std::out_of_range);
    EXPECT_THROW(chip.temperature(3), std::out_of_range);
}

} // namespace
} // namespace qmf::sim::test
