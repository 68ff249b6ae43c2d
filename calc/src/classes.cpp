// SPDX-License-Identifier: GPL-3.0-or-later
#include "classes.hpp"

#include "VexaCalculate00/calculations.hpp"
#include "VexaCalculate00/identifiers.h"

namespace vexacalc::detail {

namespace {

constexpr std::array<MiscFunction, kMiscCount> kAllZero{zeroMisc, zeroMisc, zeroMisc, zeroMisc,
                                                        zeroMisc, zeroMisc, zeroMisc, zeroMisc,
                                                        zeroMisc, zeroMisc};

const std::array<ClassInfo, 11> kClasses{{
    {"GenericCalculations",
     VEXA_CLSID_GenericCalculations,
     VEXA_IID_GenericCalculations,
     true,
     {GenericCalculations::Misc0, zeroMisc, zeroMisc, zeroMisc, zeroMisc, zeroMisc, zeroMisc,
      zeroMisc, zeroMisc, zeroMisc}},
    {"Code0",
     VEXA_CLSID_Code0,
     VEXA_IID_Code0,
     false,
     {Code0::Misc0, Code0::Misc1, Code0::Misc2, zeroMisc, zeroMisc, zeroMisc, zeroMisc, zeroMisc,
      zeroMisc, zeroMisc}},
    {"Code1", VEXA_CLSID_Code1, VEXA_IID_Code1, false, kAllZero},
    {"Code2", VEXA_CLSID_Code2, VEXA_IID_Code2, false, kAllZero},
    {"Code3", VEXA_CLSID_Code3, VEXA_IID_Code3, false, kAllZero},
    {"Code4", VEXA_CLSID_Code4, VEXA_IID_Code4, false, kAllZero},
    {"Code5", VEXA_CLSID_Code5, VEXA_IID_Code5, false, kAllZero},
    {"Code6", VEXA_CLSID_Code6, VEXA_IID_Code6, false, kAllZero},
    {"Code7", VEXA_CLSID_Code7, VEXA_IID_Code7, false, kAllZero},
    {"Code8", VEXA_CLSID_Code8, VEXA_IID_Code8, false, kAllZero},
    {"Code9", VEXA_CLSID_Code9, VEXA_IID_Code9, false, kAllZero},
}};

constexpr const char* kMethodNames[kMiscCount + kGenericExtraCount] = {"Misc0",
                                                                       "Misc1",
                                                                       "Misc2",
                                                                       "Misc3",
                                                                       "Misc4",
                                                                       "Misc5",
                                                                       "Misc6",
                                                                       "Misc7",
                                                                       "Misc8",
                                                                       "Misc9",
                                                                       "Descramble2sComp",
                                                                       "Temperature",
                                                                       "Binary",
                                                                       "Hex",
                                                                       "Oct"};

} // namespace

std::span<const ClassInfo> allClasses() {
    return kClasses;
}

const ClassInfo* findClass(const VexaGuid& clsid) {
    for (const ClassInfo& cls : kClasses)
        if (cls.clsid == clsid)
            return &cls;
    return nullptr;
}

const char* methodName(const ClassInfo& cls, int position) {
    if (position < 0 || position >= cls.methodCount())
        return nullptr;
    return kMethodNames[position];
}

} // namespace vexacalc::detail
