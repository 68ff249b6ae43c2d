// SPDX-License-Identifier: GPL-3.0-or-later
// Value types shared by every interface of the library: identifiers, status
// codes, the 16-bit Boolean and the tagged value used by the dispatch side.
#ifndef VEXACALCULATE00_TYPES_H
#define VEXACALCULATE00_TYPES_H

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

/* A 128-bit class, interface or type library identifier. */
typedef struct VexaGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
} VexaGuid;

/* Every method and entry point returns a 32-bit status: 0 or positive is
   success, negative is failure. The values are the conventional ones for
   in-process components so that they read the same in any tool. */
typedef int32_t VexaStatus;

#define VEXA_SUCCEEDED(status) ((VexaStatus)(status) >= 0)
#define VEXA_FAILED(status) ((VexaStatus)(status) < 0)

#define VEXA_S_OK ((VexaStatus)0)
#define VEXA_S_FALSE ((VexaStatus)1)
#define VEXA_E_NOTIMPL ((VexaStatus)0x80004001u)
#define VEXA_E_NOINTERFACE ((VexaStatus)0x80004002u)
#define VEXA_E_POINTER ((VexaStatus)0x80004003u)
#define VEXA_E_FAIL ((VexaStatus)0x80004005u)
#define VEXA_E_UNEXPECTED ((VexaStatus)0x8000FFFFu)
#define VEXA_E_OUTOFMEMORY ((VexaStatus)0x8007000Eu)
#define VEXA_E_INVALIDARG ((VexaStatus)0x80070057u)
#define VEXA_E_NOT_SUFFICIENT_BUFFER ((VexaStatus)0x8007007Au)
/* Runtime errors raised inside a method. */
#define VEXA_E_OVERFLOW ((VexaStatus)0x800A0006u)
#define VEXA_E_DIVISIONBYZERO ((VexaStatus)0x800A000Bu)
/* Class factory and registration. */
#define VEXA_CLASS_E_NOAGGREGATION ((VexaStatus)0x80040110u)
#define VEXA_CLASS_E_CLASSNOTAVAILABLE ((VexaStatus)0x80040111u)
#define VEXA_REGDB_E_CLASSNOTREG ((VexaStatus)0x80040154u)
#define VEXA_SELFREG_E_CLASS ((VexaStatus)0x80040201u)
/* Dispatch side. */
#define VEXA_DISP_E_MEMBERNOTFOUND ((VexaStatus)0x80020003u)
#define VEXA_DISP_E_PARAMNOTFOUND ((VexaStatus)0x80020004u)
#define VEXA_DISP_E_TYPEMISMATCH ((VexaStatus)0x80020005u)
#define VEXA_DISP_E_UNKNOWNNAME ((VexaStatus)0x80020006u)
#define VEXA_DISP_E_OVERFLOW ((VexaStatus)0x8002000Au)
#define VEXA_DISP_E_BADPARAMCOUNT ((VexaStatus)0x8002000Eu)

/* Boolean values cross the interfaces as 16 bits: True is -1, False is 0. */
typedef int16_t VexaBool;
#define VEXA_TRUE ((VexaBool)-1)
#define VEXA_FALSE ((VexaBool)0)

/* Tags of VexaVariant. VEXA_VT_EMPTY marks an omitted argument. */
#define VEXA_VT_EMPTY ((uint16_t)0)
#define VEXA_VT_I2 ((uint16_t)2)     /* Integer: iVal */
#define VEXA_VT_R4 ((uint16_t)4)     /* Single: fltVal */
#define VEXA_VT_R8 ((uint16_t)5)     /* Double: dblVal */
#define VEXA_VT_STRING ((uint16_t)8) /* String: strVal, freed with VexaCalculate00_FreeString */
#define VEXA_VT_BOOL ((uint16_t)11)  /* Boolean: boolVal */
#define VEXA_VT_BYREF ((uint16_t)0x4000)
#define VEXA_VT_BYREF_I2                                                                           \
    ((uint16_t)(VEXA_VT_BYREF | VEXA_VT_I2)) /* Integer by reference: piVal                        \
                                              */

/* A minimal tagged value for calls by dispatch identifier. */
typedef struct VexaVariant {
    uint16_t vt;
    uint16_t reserved[3];
    union {
        int16_t iVal;
        VexaBool boolVal;
        float fltVal;
        double dblVal;
        char16_t* strVal;
        int16_t* piVal;
    };
} VexaVariant;

/* Dispatch identifiers of a class's own methods start here, in slot order. */
#define VEXA_DISPID_FIRST ((int32_t)0x60030000)
#define VEXA_DISPID_UNKNOWN ((int32_t)-1)

/* Locale of the type library. */
#define VEXA_TYPELIB_LOCALE 0x0409u
#define VEXA_TYPELIB_VERSION_MAJOR 1u
#define VEXA_TYPELIB_VERSION_MINOR 0u

#endif
