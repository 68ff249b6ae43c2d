// SPDX-License-Identifier: GPL-3.0-or-later
// The eleven creatable classes: identity and which function each Misc slot runs.
#pragma once

#include "VexaCalculate00/types.h"
#include "methods.hpp"

#include <array>
#include <span>

namespace vexacalc::detail {

inline constexpr int kMiscCount = 10;
// Descramble2sComp, Temperature, Binary, Hex, Oct follow the Misc slots.
inline constexpr int kGenericExtraCount = 5;

struct ClassInfo {
    const char* name;
    VexaGuid clsid;
    VexaGuid iid;
    bool generic; // GenericCalculations has the five extra methods
    std::array<MiscFunction, kMiscCount> misc;

    int methodCount() const { return kMiscCount + (generic ? kGenericExtraCount : 0); }
};

std::span<const ClassInfo> allClasses();
const ClassInfo* findClass(const VexaGuid& clsid);

// Method names in slot order, for the dispatch side.
const char* methodName(const ClassInfo& cls, int position);

} // namespace vexacalc::detail
