// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the shared Misc parameters.
#pragma once

#include "VexaCalculate00/calculations.hpp"

#include <optional>

namespace vexacalc::detail {

// The value PointerType chooses: 0 the max (or only) pointer, 1 the min pointer,
// 2 the display value; nothing for any other PointerType.
inline std::optional<float> selectedPointerValue(const MiscArgs& args) {
    switch (args.PointerType) {
    case 0:
        return args.CurrentMaxOrOnlyPointerValue;
    case 1:
        return args.CurrentMinPointerValue;
    case 2:
        return args.CurrentDisplayValue;
    default:
        return std::nullopt;
    }
}

// Only the two Boolean values pick a direction; anything else picks none.
inline bool isBoolean(VexaBool value) {
    return value == VEXA_TRUE || value == VEXA_FALSE;
}

} // namespace vexacalc::detail

// Builds MiscArgs from parameters named as in VEXA_MISC_PARAMS.
#define VEXA_MISC_ARGS_FROM_PARAMS                                                                 \
    vexacalc::MiscArgs {                                                                           \
        ScaleMax, ScaleMin, CurrentMaxOrOnlyPointerValue, CurrentMinPointerValue,                  \
            CurrentDisplayValue, Constant1, Constant2, Constant3, Constant4, PointerType,          \
            ConvertTo                                                                              \
    }
