// SPDX-License-Identifier: GPL-3.0-or-later
// The tool converts temperature bytes with the core's rule; the program's graph window converts
// them with the calculation library's Code0.Misc2 and rounds to whole degrees. They must agree.
#include "core/measure/Temperature.h"
#include "core/text/Rounding.h"

#include <VexaCalculate00/calculations.hpp>
#include <gtest/gtest.h>

namespace qmf::cli::test {
namespace {

TEST(TemperatureRule, CoreAndCalculationLibraryAgreeForEveryByte) {
    for (int byte = 0; byte < 256; ++byte) {
        vexacalc::MiscArgs args;
        args.CurrentMaxOrOnlyPointerValue = float(byte);
        args.PointerType = 0;
        args.ConvertTo = VEXA_TRUE;
        const auto library = text::roundToInt16(vexacalc::Code0::Misc2(args));
        ASSERT_TRUE(library) << byte;
        EXPECT_EQ(Temperature::RegisterToTemperature(qint16(byte)), *library) << byte;
    }
    // A few by hand: positive bytes are the temperature, the rest negative.
    EXPECT_EQ(Temperature::RegisterToTemperature(0x55), 85);
    EXPECT_EQ(Temperature::RegisterToTemperature(0x80), -127);
    EXPECT_EQ(Temperature::RegisterToTemperature(0xC9), -55);
    EXPECT_EQ(Temperature::RegisterToTemperature(0xFE), -1);
}

} // namespace
} // namespace qmf::cli::test
