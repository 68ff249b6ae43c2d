// SPDX-License-Identifier: GPL-3.0-or-later
// Functions exported by libVexaCalculate00.so with C linkage.
#ifndef VEXACALCULATE00_ENTRYPOINTS_H
#define VEXACALCULATE00_ENTRYPOINTS_H

#include "VexaCalculate00/export.h"
#include "VexaCalculate00/interfaces.h"
#include "VexaCalculate00/types.h"

#include <stddef.h>

VEXA_EXTERN_C_BEGIN

/* Component hosting. DllCanUnloadNow gives VEXA_S_OK when no object, factory or
   factory lock remains, VEXA_S_FALSE otherwise. */
VEXA_API VexaStatus DllGetClassObject(const VexaGuid* clsid, const VexaGuid* iid, void** object);
VEXA_API VexaStatus DllCanUnloadNow(void);
VEXA_API VexaStatus DllRegisterServer(void);
VEXA_API VexaStatus DllUnregisterServer(void);

/* Resolves a registered class identifier to the library path recorded for it.
   VEXA_REGDB_E_CLASSNOTREG when it is not registered, VEXA_E_NOT_SUFFICIENT_BUFFER
   when capacity (bytes, terminating NUL included) is too small. */
VEXA_API VexaStatus VexaCalculate00_LookupClass(const VexaGuid* clsid, char* path, size_t capacity);

/* Frees a string result; a null pointer is ignored. */
VEXA_API void VexaCalculate00_FreeString(char16_t* text);

/* One function per method, named <Class>_<Method>, arguments in the method's order, the
   result written through the last pointer. For example Code0_Misc2(..., &result). */
#define VEXA_DECLARE_MISC_(Class, N)                                                               \
    VEXA_API VexaStatus Class##_Misc##N(VEXA_MISC_PARAMS, float* result);
#define VEXA_DECLARE_MISC_METHODS(Class)                                                           \
    VEXA_DECLARE_MISC_(Class, 0)                                                                   \
    VEXA_DECLARE_MISC_(Class, 1)                                                                   \
    VEXA_DECLARE_MISC_(Class, 2)                                                                   \
    VEXA_DECLARE_MISC_(Class, 3)                                                                   \
    VEXA_DECLARE_MISC_(Class, 4)                                                                   \
    VEXA_DECLARE_MISC_(Class, 5)                                                                   \
    VEXA_DECLARE_MISC_(Class, 6)                                                                   \
    VEXA_DECLARE_MISC_(Class, 7)                                                                   \
    VEXA_DECLARE_MISC_(Class, 8)                                                                   \
    VEXA_DECLARE_MISC_(Class, 9)

/* GenericCalculations_Misc0 ... _Misc9, Code0_Misc0 ... Code9_Misc9 */
VEXA_DECLARE_MISC_METHODS(GenericCalculations)
VEXA_DECLARE_MISC_METHODS(Code0)
VEXA_DECLARE_MISC_METHODS(Code1)
VEXA_DECLARE_MISC_METHODS(Code2)
VEXA_DECLARE_MISC_METHODS(Code3)
VEXA_DECLARE_MISC_METHODS(Code4)
VEXA_DECLARE_MISC_METHODS(Code5)
VEXA_DECLARE_MISC_METHODS(Code6)
VEXA_DECLARE_MISC_METHODS(Code7)
VEXA_DECLARE_MISC_METHODS(Code8)
VEXA_DECLARE_MISC_METHODS(Code9)

VEXA_API VexaStatus GenericCalculations_Descramble2sComp(int16_t* Data, int16_t* result);
VEXA_API VexaStatus GenericCalculations_Temperature(int16_t Value, VexaBool ConvertToTemp,
                                                    int16_t* result);
VEXA_API VexaStatus GenericCalculations_Binary(int16_t DecValue, VexaBool ConvertToBinary,
                                               char16_t** result);
VEXA_API VexaStatus GenericCalculations_Hex(int16_t HexValue, VexaBool ConvertToHex,
                                            char16_t** result);
VEXA_API VexaStatus GenericCalculations_Oct(int16_t OctValue, VexaBool ConvertToOct,
                                            char16_t** result);

VEXA_EXTERN_C_END

#endif
