// SPDX-License-Identifier: GPL-3.0-or-later
// What the register map shows as a register's meaning, from the program's own conversions.
#include "core/measure/RegisterMeaning.h"

#include <gtest/gtest.h>
#include <map>

namespace qmf::test {
namespace {

TEST(RegisterMeaning, DecodesTemperaturesSpeedCodesAndTachometerCounts) {
    // Fan 0 runs its tachometer at 470 Hz (speed-2 register 6C); fan 1's speed-2 register has not
    // been read, and nothing is known of the others.
    const std::map<quint8, quint8> known = {{0x68, 0x6C}};
    const RegisterLookup lookup = [&known](quint8 reg) -> std::optional<quint8> {
        const auto it = known.find(reg);
        return it == known.end() ? std::nullopt : std::optional<quint8>(it->second);
    };
    const struct {
        quint8 reg, value;
        const char* meaning;
    } cases[] = {
        {0xA0, 0x19, "25 \u00B0C"},
        {0xA2, 0xD8, "-39 \u00B0C"},
        {0x80, 40, "40 \u00B0C"},
        {0x91, 80, "80 \u00B0C"},
        {0x9A, 0x00, "0 \u00B0C"},
        {0x88, 0x42, "Trange 20 \u00B0C, hysteresis 4 \u00B0C"},
        {0x8A, 0x07, "Trange code 7, hysteresis 0 \u00B0C"},
        {0x60, 0xF8, "normal 53.33 %, alarm 100 %"},
        {0x61, 0x03, "normal 20 %, alarm 0 %"},
        {0x68, 0x6C, "hot-plug 80 %, oscillator 470 Hz"},
        {0x69, 0xC1, "hot-plug 6.67 %, oscillator 1880 Hz"},
        {0x70, 0x80, "441 RPM"},
        {0x78, 0x80, "441 RPM"},
        {0x71, 0x80, ""}, // fan 1's frequency is not known
        {0x00, 0x80, ""},
        {0x0D, 0x41, ""},
        {0x30, 0x05, ""},
        {0xFF, 0x00, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(registerMeaning(c.reg, c.value, lookup).toStdString(), c.meaning)
            << "register " << int(c.reg);
    }
    EXPECT_EQ(registerMeaning(0x70, 0x80, {}).toStdString(), "");
}

} // namespace
} // namespace qmf::test
