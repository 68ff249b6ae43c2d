// SPDX-License-Identifier: GPL-3.0-or-later
#include "VexaCalculate00/calculations.hpp"
#include "misc_args.hpp"

namespace vexacalc::GenericCalculations {

float Misc0(const MiscArgs& args) {
    return detail::selectedPointerValue(args).value_or(0.0f);
}

} // namespace vexacalc::GenericCalculations
