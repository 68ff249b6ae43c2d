// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/sim/SimulatedChip.h"
#include "boards/sim/TemperatureCode.h"
#include "core/time/Clock.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace qmf::sim::test {

using Writes = std::vector<std::pair<int, int>>;

constexpr double duty(int code) {
    return code * 100.0 / 15;
}

// A simulated chip on a hand-driven clock: the writes applied, then the time run.
struct SimChip {
    explicit SimChip(const Writes& writes = {}, double seconds = 0) {
        for (const auto& [reg, value] : writes) {
            write(reg, value);
        }
        runSeconds(seconds);
    }
    quint8 read(int reg) { return chip.readRegister(quint8(reg)); }
    void write(int reg, int value) { chip.writeRegister(quint8(reg), quint8(value)); }
    int temperatureReading(int channel) { return decodeTemperature(read(0xA0 + channel)); }
    void runSeconds(double seconds) { clock.advanceMs(qint64(seconds * 1000.0)); }

    ManualClock clock;
    SimulatedChip chip{clock};
};

class ChipTest : public ::testing::Test, public SimChip {};

} // namespace qmf::sim::test
