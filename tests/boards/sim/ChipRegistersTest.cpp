// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated chip's register file: identification, power-up values, which registers keep what
// is written, the software reset, the StartMonitoring freeze and the analog inputs.
#include "SimTestSupport.h"

#include <set>

namespace qmf::sim::test {
namespace {

using ChipRegistersTest = ChipTest;

TEST_F(ChipRegistersTest, PowerUpValuesIdentifyTheChipAndLeaveItQuiet) {
    struct Case {
        quint8 reg, value;
    };
    for (const Case c :
         {Case{0x0D, 0x41}, Case{0x0E, 0x12}, Case{0x00, 0x00}, Case{0x01, 0x10}, Case{0x02, 0x03},
          Case{0x03, 0x03}, Case{0x05, 0x7F}, Case{0x06, 0x07}, Case{0x10, 0x00}, Case{0x11, 0x00},
          Case{0x60, 0xF8}, Case{0x68, 0x6C}, Case{0x69, 0x6C}, Case{0x0B, 0x00}}) {
        SCOPED_TRACE(c.reg);
        EXPECT_EQ(read(c.reg), c.value);
    }
    // The fans spin at start.
    EXPECT_GT(rpmFromCount(0, 470), 1500);
    EXPECT_GT(rpmFromCount(1, 470), 1500);
}

// Registers the chip computes; everything else except 0x0B and the fan status keeps its byte.
const std::set<int> kComputed = {0x00, 0x05, 0x06, 0x0D, 0x0E, 0x70,
                                 0x71, 0xA0, 0xA1, 0xA2, 0xB8, 0xB9};

TEST_F(ChipRegistersTest, ComputedRegistersIgnoreWrites) {
    for (int r : kComputed) {
        SCOPED_TRACE(r);
        const quint8 before = read(quint8(r));
        write(quint8(r), quint8(before ^ 0x5A));
        EXPECT_EQ(read(quint8(r)), before);
    }
}

TEST_F(ChipRegistersTest, EveryOtherRegisterKeepsWhatIsWritten) {
    write(0x01, 0x00); // freeze the measurements so that only writes change the file
    for (int r = 0; r < 256; ++r) {
        if (kComputed.count(r) || r == 0x0B || r == 0x10 || r == 0x11 || r == 0x01) {
            continue;
        }
        SCOPED_TRACE(r);
        const quint8 value = quint8(r * 7 + 3);
        write(quint8(r), value);
        EXPECT_EQ(read(quint8(r)), value);
    }
}

TEST_F(ChipRegistersTest, SoftwareResetRestoresPowerUpValues) {
    std::array<quint8, 256> powerUp{};
    for (int r = 0; r < 256; ++r) {
        powerUp[r] = read(quint8(r));
    }
    for (quint8 r : {0x01, 0x07, 0x30, 0x48, 0x60, 0x68, 0x78, 0x81, 0x90, 0xC0}) {
        write(r, 0x05);
    }
    write(0x0B, 0x40); // without bit 7 nothing happens
    EXPECT_EQ(read(0x60), 0x05);
    write(0x0B, 0x80);
    for (quint8 r : {0x01, 0x07, 0x30, 0x48, 0x60, 0x68, 0x78, 0x81, 0x90, 0xC0, 0x0B}) {
        SCOPED_TRACE(r);
        EXPECT_EQ(read(r), powerUp[r]);
    }
}

TEST_F(ChipRegistersTest, ValuesMoveOnlyWhileMonitoringRuns) {
    const quint8 values[] = {0xA0, 0xA1, 0xA2, 0x70, 0x71, 0xB8, 0xB9};
    write(0x01, 0x00);
    std::array<quint8, 7> frozen{};
    for (int i = 0; i < 7; ++i) {
        frozen[i] = read(values[i]);
    }
    chip.setHeaters(true, true);
    write(0x60, 0xFF);
    write(0x61, 0xF2);
    runSeconds(60);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(values[i]);
        EXPECT_EQ(read(values[i]), frozen[i]);
    }
    write(0x01, 0x10);
    runSeconds(0.1);
    for (int i = 1; i < 5; ++i) { // both diodes hotter, fan 0 faster, fan 1 slower
        SCOPED_TRACE(values[i]);
        EXPECT_NE(read(values[i]), frozen[i]);
    }
}

TEST_F(ChipRegistersTest, AnalogInputsDriftSlowlyWithinTheirRange) {
    std::array<std::set<int>, 2> seen;
    std::array<int, 2> last = {read(0xB8), read(0xB9)};
    for (int i = 0; i < 1200; ++i) {
        runSeconds(0.1);
        for (int a = 0; a < 2; ++a) {
            const int value = read(quint8(0xB8 + a));
            ASSERT_LE(std::abs(value - last[a]), 1);
            ASSERT_GT(value, 40);
            ASSERT_LT(value, 200);
            seen[a].insert(value);
            last[a] = value;
        }
    }
    EXPECT_GE(seen[0].size(), 5u);
    EXPECT_GE(seen[1].size(), 3u);
}

TEST_F(ChipRegistersTest, GpioLevelsAppearInRegister05) {
    struct Case {
        quint8 levels, support, expected;
    };
    for (const Case c : {Case{0x55, 0x7F, 0x55}, Case{0x2A, 0x7F, 0x2A}, Case{0xFF, 0x7F, 0x7F},
                         Case{0x7F, 0x0F, 0x0F}}) {
        chip.setGpioInputs(c.levels);
        write(0x04, c.support);
        EXPECT_EQ(read(0x05), c.expected);
    }
}

} // namespace
} // namespace qmf::sim::test
