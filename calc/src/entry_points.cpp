// SPDX-License-Identifier: GPL-3.0-or-later
// Plain C functions, one per method, for clients that bind by symbol name
// (scripting languages through their foreign-function interfaces).
#include "VexaCalculate00/entrypoints.h"
#include "VexaCalculate00/identifiers.h"
#include "classes.hpp"
#include "methods.hpp"
#include "misc_args.hpp"
#include "strings.hpp"

using namespace vexacalc::detail;

namespace {

const ClassInfo& classNamed(const VexaGuid& clsid) {
    return *findClass(clsid); // every caller passes one of the library's own identifiers
}

} // namespace

#define VEXA_DEFINE_MISC_(Class, N)                                                                \
    extern "C" VEXA_API VexaStatus Class##_Misc##N(VEXA_MISC_PARAMS, float* result) {              \
        static const MiscFunction function = classNamed(VEXA_CLSID_##Class).misc[N];               \
        return callMisc(function, VEXA_MISC_ARGS_FROM_PARAMS, result);                             \
    }
#define VEXA_DEFINE_MISC_METHODS_(Class)                                                           \
    VEXA_DEFINE_MISC_(Class, 0)                                                                    \
    VEXA_DEFINE_MISC_(Class, 1)                                                                    \
    VEXA_DEFINE_MISC_(Class, 2)                                                                    \
    VEXA_DEFINE_MISC_(Class, 3)                                                                    \
    VEXA_DEFINE_MISC_(Class, 4)                                                                    \
    VEXA_DEFINE_MISC_(Class, 5)                                                                    \
    VEXA_DEFINE_MISC_(Class, 6)                                                                    \
    VEXA_DEFINE_MISC_(Class, 7)                                                                    \
    VEXA_DEFINE_MISC_(Class, 8)                                                                    \
    VEXA_DEFINE_MISC_(Class, 9)

VEXA_DEFINE_MISC_METHODS_(GenericCalculations)
VEXA_DEFINE_MISC_METHODS_(Code0)
VEXA_DEFINE_MISC_METHODS_(Code1)
VEXA_DEFINE_MISC_METHODS_(Code2)
VEXA_DEFINE_MISC_METHODS_(Code3)
VEXA_DEFINE_MISC_METHODS_(Code4)
VEXA_DEFINE_MISC_METHODS_(Code5)
VEXA_DEFINE_MISC_METHODS_(Code6)
VEXA_DEFINE_MISC_METHODS_(Code7)
VEXA_DEFINE_MISC_METHODS_(Code8)
VEXA_DEFINE_MISC_METHODS_(Code9)

extern "C" VEXA_API VexaStatus GenericCalculations_Descramble2sComp(int16_t* Data,
                                                                    int16_t* result) {
    return callDescramble2sComp(Data, result);
}

extern "C" VEXA_API VexaStatus GenericCalculations_Temperature(int16_t Value,
                                                               VexaBool ConvertToTemp,
                                                               int16_t* result) {
    return callTemperature(Value, ConvertToTemp, result);
}

extern "C" VEXA_API VexaStatus GenericCalculations_Binary(int16_t, VexaBool, char16_t** result) {
    return callEmptyString(result);
}

extern "C" VEXA_API VexaStatus GenericCalculations_Hex(int16_t, VexaBool, char16_t** result) {
    return callEmptyString(result);
}

extern "C" VEXA_API VexaStatus GenericCalculations_Oct(int16_t, VexaBool, char16_t** result) {
    return callEmptyString(result);
}

extern "C" VEXA_API void VexaCalculate00_FreeString(char16_t* text) {
    freeString(text);
}
