// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/sim/SimulatedChip.h"
#include "boards/sim/TemperatureCode.h"
#include "core/time/Clock.h"

#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace qmf::sim::test {

// A simulated chip on a hand-driven clock.
class ChipTest : public ::testing::Test {
protected:
    ManualClock clock;
    SimulatedChip chip{clock};

    quint8 read(quint8 reg) { return chip.readRegister(reg); }
    void write(quint8 reg, quint8 value) { chip.writeRegister(reg, value); }
    int temperatureReading(int channel) { return decodeTemperature(read(quint8(0xA0 + channel))); }
    void runSeconds(double seconds) { clock.advanceMs(qint64(seconds * 1000.0)); }
    // Speed the program computes from the tachometer count at the given oscillator frequency.
    double rpmFromCount(int fan, double oscillatorHz) {
        const quint8 count = read(quint8(0x70 + fan));
        return count == 0 ? 0.0 : 120.0 * oscillatorHz / count;
    }
};

} // namespace qmf::sim::test
