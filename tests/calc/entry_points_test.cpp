// SPDX-License-Identifier: GPL-3.0-or-later
// The plain C functions, one per method.
#include "calc_test_support.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using calctest::callMisc;
using calctest::Misc;
using calctest::MiscEntry;

#define VEXA_TEST_ROW_(Class, N)                                                                   \
    { #Class "_Misc" #N, Class##_Misc##N }
#define VEXA_TEST_ROWS_(Class)                                                                     \
    VEXA_TEST_ROW_(Class, 0), VEXA_TEST_ROW_(Class, 1), VEXA_TEST_ROW_(Class, 2),                  \
        VEXA_TEST_ROW_(Class, 3), VEXA_TEST_ROW_(Class, 4), VEXA_TEST_ROW_(Class, 5),              \
        VEXA_TEST_ROW_(Class, 6), VEXA_TEST_ROW_(Class, 7), VEXA_TEST_ROW_(Class, 8),              \
        VEXA_TEST_ROW_(Class, 9)

struct Entry {
    std::string name;
    MiscEntry function;
};

const Entry kAllMisc[] = {
    VEXA_TEST_ROWS_(GenericCalculations),
    VEXA_TEST_ROWS_(Code0),
    VEXA_TEST_ROWS_(Code1),
    VEXA_TEST_ROWS_(Code2),
    VEXA_TEST_ROWS_(Code3),
    VEXA_TEST_ROWS_(Code4),
    VEXA_TEST_ROWS_(Code5),
    VEXA_TEST_ROWS_(Code6),
    VEXA_TEST_ROWS_(Code7),
    VEXA_TEST_ROWS_(Code8),
    VEXA_TEST_ROWS_(Code9),
};

TEST(EntryPoints, OnlyTheWorkingMethodsGiveNonZero) {
    // Arguments every working method turns into a nonzero value.
    Misc m;
    m.scaleMin = 10;
    m.scaleMax = 265;
    m.maxPointer = 200;
    m.constant1 = 2;
    m.constant2 = 470;
    m.pointerType = 0;
    m.convertTo = VEXA_TRUE;
    const std::pair<std::string, float> working[] = {
        {"GenericCalculations_Misc0", 200.0f},
        {"Code0_Misc0", 210.0f},
        {"Code0_Misc1", 282.0f},
        {"Code0_Misc2", -55.0f},
    };
    ASSERT_EQ(std::size(kAllMisc), 110u);
    for (const Entry& entry : kAllMisc) {
        float expected = 0.0f;
        for (const auto& [name, value] : working)
            if (name == entry.name)
                expected = value;
        EXPECT_EQ(callMisc(entry.function, m), expected) << entry.name;
    }
}

TEST(EntryPoints, ArgumentsArriveInMethodOrder) {
    Misc m;
    m.display = 246;
    m.pointerType = 2;
    m.convertTo = VEXA_TRUE;
    EXPECT_EQ(callMisc(Code0_Misc2, m), -9.0f);
    m.convertTo = VEXA_FALSE;
    m.display = -10;
    EXPECT_EQ(callMisc(Code0_Misc2, m), 245.0f);
}

TEST(EntryPoints, NullResultPointersAreRefused) {
    for (const Entry& entry : kAllMisc)
        EXPECT_EQ(entry.function(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), VEXA_E_POINTER)
            << entry.name;
    EXPECT_EQ(GenericCalculations_Temperature(1, VEXA_TRUE, nullptr), VEXA_E_POINTER);
    EXPECT_EQ(GenericCalculations_Binary(1, VEXA_TRUE, nullptr), VEXA_E_POINTER);
}

TEST(EntryPoints, StringMethodsGiveAnEmptyStringToFree) {
    using StringEntry = VexaStatus (*)(int16_t, VexaBool, char16_t**);
    for (StringEntry entry :
         {GenericCalculations_Binary, GenericCalculations_Hex, GenericCalculations_Oct}) {
        for (int16_t value : {0, 5, -1}) {
            char16_t* text = nullptr;
            ASSERT_EQ(entry(value, VEXA_TRUE, &text), VEXA_S_OK);
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(std::u16string(text), u"");
            VexaCalculate00_FreeString(text);
        }
    }
    VexaCalculate00_FreeString(nullptr);
}

} // namespace
