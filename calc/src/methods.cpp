// SPDX-License-Identifier: GPL-3.0-or-later
#include "methods.hpp"

#include "strings.hpp"

namespace vexacalc::detail {

float zeroMisc(const MiscArgs&) {
    return 0.0f;
}

VexaStatus callMisc(MiscFunction function, const MiscArgs& args, float* result) {
    if (!result)
        return VEXA_E_POINTER;
    *result = function(args);
    return VEXA_S_OK;
}

VexaStatus callDescramble2sComp(std::int16_t* data, std::int16_t* result) {
    if (!data || !result)
        return VEXA_E_POINTER;
    *result = Descramble2sComp(*data);
    return VEXA_S_OK;
}

VexaStatus callTemperature(std::int16_t value, VexaBool convertToTemp, std::int16_t* result) {
    if (!result)
        return VEXA_E_POINTER;
    const Outcome<std::int16_t> temperature = Temperature(value, convertToTemp);
    if (!temperature)
        return temperature.status(); // no result on failure
    *result = temperature.value();
    return VEXA_S_OK;
}

VexaStatus callEmptyString(char16_t** result) {
    if (!result)
        return VEXA_E_POINTER;
    *result = allocateString(u"");
    return *result ? VEXA_S_OK : VEXA_E_OUTOFMEMORY;
}

} // namespace vexacalc::detail
