// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated chip's register file: identification, power-up values, which registers keep what
// is written, the software reset, the StartMonitoring freeze and the analog inputs.
#include "SimTestSupport.h"

#include <set>

namespace qmf::sim::test {
namespace {

using ChipRegistersTest = ChipTest;

// Registers the chip computes.
const std::set<int> kComputed = {0x00, 0x05, 0x06, 0x0D, 0x0E, 0x70,
                                 0x71, 0xA0, 0xA1, 0xA2, 0xB8, 0xB9};

TEST_F(ChipRegistersTest, PowerUpValuesIdentifyTheChipAndLeaveItQuiet) {
    const std::pair<int, int> expected[] = {{0x0D, 0x41}, {0x0E, 0x12}, {0x00, 0x00}, {0x01, 0x10},
                                            {0x02, 0x03}, {0x03, 0x03}, {0x05, 0x7F}, {0x06, 0x07},
                                            {0x10, 0x00}, {0x11, 0x00}, {0x60, 0xF8}, {0x68, 0x6C},
                                            {0x69, 0x6C}, {0x0B, 0x00}};
    for (const auto& [reg, value] : expected) {
        EXPECT_EQ(read(quint8(reg)), value) << reg;
    }
    EXPECT_GT(rpmFromCount(0, 470), 1500); // the fans spin at start
    EXPECT_GT(rpmFromCount(1, 470), 1500);
}

TEST_F(ChipRegistersTest, ComputedRegistersIgnoreWritesAndTheOthersKeepThem) {
    write(0x01, 0x00); // freeze the measurements so that only writes change the file
    for (int r = 0; r < 256; ++r) {
        if (r == 0x01 || r == 0x0B || r == 0x10 || r == 0x11) {
            continue; // config, reset and fan status have tests of their own
        }
        const quint8 before = read(quint8(r));
        const quint8 value = quint8(r * 7 + 3) == before ? quint8(r * 7 + 4) : quint8(r * 7 + 3);
        write(quint8(r), value);
        EXPECT_EQ(read(quint8(r)), kComputed.count(r) ? before : value) << r;
    }
}

TEST_F(ChipRegistersTest, SoftwareResetRestoresPowerUpValues) {
    std::array<quint8, 256> powerUp{};
    for (int r = 0; r < 256; ++r) {
        powerUp[r] = read(quint8(r));
    }
    const quint8 changed[] = {0x01, 0x07, 0x30, 0x48, 0x60, 0x68, 0x78, 0x81, 0x90, 0xC0};
    for (quint8 r : changed) {
        write(r, 0x05);
    }
    write(0x0B, 0x40); // without bit 7 nothing happens
    EXPECT_EQ(read(0x60), 0x05);
    write(0x0B, 0x80);
    for (quint8 r : changed) {
        EXPECT_EQ(read(r), powerUp[r]) << int(r);
    }
    EXPECT_EQ(read(0x0B), 0x00);
}

TEST_F(ChipRegistersTest, ValuesMoveOnlyWhileMonitoringRuns) {
    const quint8 values[] = {0xA1, 0xA2, 0x70, 0x71, 0xA0, 0xB8, 0xB9};
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
        EXPECT_EQ(read(values[i]), frozen[i]) << int(values[i]);
    }
    write(0x01, 0x10);
    runSeconds(0.1);
    for (int i = 0; i < 4; ++i) { // both diodes hotter, fan 0 faster, fan 1 slower
        EXPECT_NE(read(values[i]), frozen[i]) << int(values[i]);
    }
}

TEST_F(ChipRegistersTest, AnalogInputsDriftSlowly) {
    std::array<std::set<int>, 2> seen;
    std::array<int, 2> last = {read(0xB8), read(0xB9)};
    for (int i = 0; i < 1200; ++i) {
        runSeconds(0.1);
        for (int a = 0; a < 2; ++a) {
            const int value = read(quint8(0xB8 + a));
            ASSERT_LE(std::abs(value - last[a]), 1);
            seen[a].insert(last[a] = value);
        }
    }
    EXPECT_GE(seen[0].size(), 5u);
    EXPECT_GE(seen[1].size(), 3u);
}

} // namespace
} // namespace qmf::sim::test
