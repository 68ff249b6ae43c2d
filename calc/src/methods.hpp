// SPDX-License-Identifier: GPL-3.0-or-later
// The methods of the component's classes at status level: the function table,
// the dispatch side and the C entry points all call through here, so that the
// three ways in behave alike.
#pragma once

#include "VexaCalculate00/calculations.hpp"
#include "VexaCalculate00/types.h"

#include <cstdint>

namespace vexacalc::detail {

using MiscFunction = float (*)(const MiscArgs&);

// Misc3 ... Misc9 of Code0, Misc1 ... Misc9 of GenericCalculations and every
// method of Code1 ... Code9.
float zeroMisc(const MiscArgs& args);

VexaStatus callMisc(MiscFunction function, const MiscArgs& args, float* result);
VexaStatus callDescramble2sComp(std::int16_t* data, std::int16_t* result);
VexaStatus callTemperature(std::int16_t value, VexaBool convertToTemp, std::int16_t* result);
// Binary, Hex and Oct: always the empty string.
VexaStatus callEmptyString(char16_t** result);

} // namespace vexacalc::detail
