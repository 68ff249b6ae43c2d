// SPDX-License-Identifier: GPL-3.0-or-later
// Function-table layouts of the component's interfaces. An interface pointer
// points at a struct whose first member is the table; every slot takes that
// interface pointer first. Slot order is part of the binary contract.
#ifndef VEXACALCULATE00_INTERFACES_H
#define VEXACALCULATE00_INTERFACES_H

#include "VexaCalculate00/types.h"

/* Slots 0-2 of every interface: identity and reference counting. */
#define VEXA_UNKNOWN_SLOTS(Self)                                                                   \
    VexaStatus (*QueryInterface)(Self * self, const VexaGuid* iid, void** object);                 \
    uint32_t (*AddRef)(Self * self);                                                               \
    uint32_t (*Release)(Self * self);

/* Slots 3-6 of every dual interface: late binding by name and dispatch identifier.
   GetIDsOfNames maps names (case-insensitive) to identifiers; only the first name may be
   given, argument names are not supported. Invoke takes the arguments in parameter order
   (args[0] is the first parameter); fewer arguments than parameters, or VEXA_VT_EMPTY,
   leave the remaining optional parameters at 0. The caller owns *result afterwards
   (a VEXA_VT_STRING result is freed with VexaCalculate00_FreeString); argError, when
   not null, receives the index of an argument that could not be converted. */
#define VEXA_DISPATCH_SLOTS(Self)                                                                  \
    VEXA_UNKNOWN_SLOTS(Self)                                                                       \
    VexaStatus (*GetTypeInfoCount)(Self * self, uint32_t * count);                                 \
    VexaStatus (*GetTypeInfo)(Self * self, uint32_t index, uint32_t locale, void** typeInfo);      \
    VexaStatus (*GetIDsOfNames)(Self * self, const VexaGuid* reserved,                             \
                                const char16_t* const* names, uint32_t nameCount, uint32_t locale, \
                                int32_t* dispIds);                                                 \
    VexaStatus (*Invoke)(Self * self, int32_t dispId, const VexaVariant* args, uint32_t argCount,  \
                         VexaVariant* result, uint32_t* argError);

/* The eleven parameters shared by Misc0 ... Misc9 of every class. */
#define VEXA_MISC_PARAMS                                                                           \
    float ScaleMax, float ScaleMin, float CurrentMaxOrOnlyPointerValue,                            \
        float CurrentMinPointerValue, float CurrentDisplayValue, double Constant1,                 \
        double Constant2, double Constant3, double Constant4, int16_t PointerType,                 \
        VexaBool ConvertTo

#define VEXA_MISC_SLOTS(Self)                                                                      \
    VexaStatus (*Misc0)(Self * self, VEXA_MISC_PARAMS, float* result);                             \
    VexaStatus (*Misc1)(Self * self, VEXA_MISC_PARAMS, float* result);                             \
    VexaStatus (*Misc2)(Self * self, VEXA_MISC_PARAMS, float* result);                             \
    VexaStatus (*Misc3)(Self * self, VEXA_MISC_PARAMS, float* result);                             \
    VexaStatus (*Misc4)(Self * self, VEXA_MISC_PARAMS, float* result);                             \
    VexaStatus (*Misc5)(Self * self, VEXA_MISC_PARAMS, float* result);                             \
    VexaStatus (*Misc6)(Self * self, VEXA_MISC_PARAMS, float* result);                             \
    VexaStatus (*Misc7)(Self * self, VEXA_MISC_PARAMS, float* result);                             \
    VexaStatus (*Misc8)(Self * self, VEXA_MISC_PARAMS, float* result);                             \
    VexaStatus (*Misc9)(Self * self, VEXA_MISC_PARAMS, float* result);

typedef struct VexaUnknown VexaUnknown;
typedef struct VexaUnknownVtbl {
    VEXA_UNKNOWN_SLOTS(VexaUnknown)
} VexaUnknownVtbl;
struct VexaUnknown {
    const VexaUnknownVtbl* vtbl;
};

typedef struct VexaDispatch VexaDispatch;
typedef struct VexaDispatchVtbl {
    VEXA_DISPATCH_SLOTS(VexaDispatch)
} VexaDispatchVtbl;
struct VexaDispatch {
    const VexaDispatchVtbl* vtbl;
};

/* The class factory handed out by DllGetClassObject. */
typedef struct VexaClassFactory VexaClassFactory;
typedef struct VexaClassFactoryVtbl {
    VEXA_UNKNOWN_SLOTS(VexaClassFactory)
    /* outer must be null (no aggregation); iid selects the interface put in *object. */
    VexaStatus (*CreateInstance)(VexaClassFactory* self, VexaUnknown* outer, const VexaGuid* iid,
                                 void** object);
    /* lock nonzero keeps the library loaded, zero releases one such lock. */
    VexaStatus (*LockServer)(VexaClassFactory* self, int32_t lock);
} VexaClassFactoryVtbl;
struct VexaClassFactory {
    const VexaClassFactoryVtbl* vtbl;
};

/* _Code0 ... _Code9 share one layout: seven inherited slots, then Misc0 ... Misc9. */
typedef struct VexaCode VexaCode;
typedef struct VexaCodeVtbl {
    VEXA_DISPATCH_SLOTS(VexaCode)
    VEXA_MISC_SLOTS(VexaCode)
} VexaCodeVtbl;
struct VexaCode {
    const VexaCodeVtbl* vtbl;
};

/* _GenericCalculations: seven inherited slots, Misc0 ... Misc9, then five more. */
typedef struct VexaGenericCalculations VexaGenericCalculations;
typedef struct VexaGenericCalculationsVtbl {
    VEXA_DISPATCH_SLOTS(VexaGenericCalculations)
    VEXA_MISC_SLOTS(VexaGenericCalculations)
    /* Data is changed in place and also returned. */
    VexaStatus (*Descramble2sComp)(VexaGenericCalculations* self, int16_t* Data, int16_t* result);
    VexaStatus (*Temperature)(VexaGenericCalculations* self, int16_t Value, VexaBool ConvertToTemp,
                              int16_t* result);
    /* String results are NUL-terminated UTF-16, freed with VexaCalculate00_FreeString. */
    VexaStatus (*Binary)(VexaGenericCalculations* self, int16_t DecValue, VexaBool ConvertToBinary,
                         char16_t** result);
    VexaStatus (*Hex)(VexaGenericCalculations* self, int16_t HexValue, VexaBool ConvertToHex,
                      char16_t** result);
    VexaStatus (*Oct)(VexaGenericCalculations* self, int16_t OctValue, VexaBool ConvertToOct,
                      char16_t** result);
} VexaGenericCalculationsVtbl;
struct VexaGenericCalculations {
    const VexaGenericCalculationsVtbl* vtbl;
};

/* Entry points as a client finds them with dlsym(). */
typedef VexaStatus (*VexaDllGetClassObjectFn)(const VexaGuid* clsid, const VexaGuid* iid,
                                              void** object);
typedef VexaStatus (*VexaDllCanUnloadNowFn)(void);
typedef VexaStatus (*VexaDllRegisterServerFn)(void);
typedef VexaStatus (*VexaDllUnregisterServerFn)(void);
typedef void (*VexaFreeStringFn)(char16_t* text);

#endif
