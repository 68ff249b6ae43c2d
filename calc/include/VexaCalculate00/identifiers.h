// SPDX-License-Identifier: GPL-3.0-or-later
// The component's identity: type library, class and interface identifiers.
#ifndef VEXACALCULATE00_IDENTIFIERS_H
#define VEXACALCULATE00_IDENTIFIERS_H

#include "VexaCalculate00/types.h"

/* All of the component's own identifiers share this tail. */
#define VEXA_GUID_TAIL_                                                                            \
    { 0xAB, 0x6C, 0x00, 0xC0, 0x4F, 0x7E, 0x5B, 0xFB }
#define VEXA_OWN_GUID_(first)                                                                      \
    { (first), 0x13D0, 0x11D5, VEXA_GUID_TAIL_ }

/* Type library VexaCalculateDLL, version 1.0, locale 0x0409. */
static const VexaGuid VEXA_LIBID_VexaCalculateDLL = VEXA_OWN_GUID_(0x09D5599Bu);

/* Classes (CLSID) and their default dual interfaces (IID of _GenericCalculations, _Code0 ...). */
static const VexaGuid VEXA_IID_GenericCalculations = VEXA_OWN_GUID_(0x09D5599Cu);
static const VexaGuid VEXA_CLSID_GenericCalculations = VEXA_OWN_GUID_(0x09D5599Du);
static const VexaGuid VEXA_IID_Code0 = VEXA_OWN_GUID_(0x09D5599Eu);
static const VexaGuid VEXA_CLSID_Code0 = VEXA_OWN_GUID_(0x09D5599Fu);
static const VexaGuid VEXA_IID_Code1 = VEXA_OWN_GUID_(0x09D559A0u);
static const VexaGuid VEXA_CLSID_Code1 = VEXA_OWN_GUID_(0x09D559A1u);
static const VexaGuid VEXA_IID_Code2 = VEXA_OWN_GUID_(0x09D559A2u);
static const VexaGuid VEXA_CLSID_Code2 = VEXA_OWN_GUID_(0x09D559A3u);
static const VexaGuid VEXA_IID_Code3 = VEXA_OWN_GUID_(0x09D559A4u);
static const VexaGuid VEXA_CLSID_Code3 = VEXA_OWN_GUID_(0x09D559A5u);
static const VexaGuid VEXA_IID_Code4 = VEXA_OWN_GUID_(0x09D559A6u);
static const VexaGuid VEXA_CLSID_Code4 = VEXA_OWN_GUID_(0x09D559A7u);
static const VexaGuid VEXA_IID_Code5 = VEXA_OWN_GUID_(0x09D559A8u);
static const VexaGuid VEXA_CLSID_Code5 = VEXA_OWN_GUID_(0x09D559A9u);
static const VexaGuid VEXA_IID_Code6 = VEXA_OWN_GUID_(0x09D559AAu);
static const VexaGuid VEXA_CLSID_Code6 = VEXA_OWN_GUID_(0x09D559ABu);
static const VexaGuid VEXA_IID_Code7 = VEXA_OWN_GUID_(0x09D559ACu);
static const VexaGuid VEXA_CLSID_Code7 = VEXA_OWN_GUID_(0x09D559ADu);
static const VexaGuid VEXA_IID_Code8 = VEXA_OWN_GUID_(0x09D559AEu);
static const VexaGuid VEXA_CLSID_Code8 = VEXA_OWN_GUID_(0x09D559AFu);
static const VexaGuid VEXA_IID_Code9 = VEXA_OWN_GUID_(0x09D559B0u);
static const VexaGuid VEXA_CLSID_Code9 = VEXA_OWN_GUID_(0x09D559B1u);

/* The generic interfaces every object and factory answers to. */
static const VexaGuid VEXA_IID_IUnknown = {
    0x00000000u, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const VexaGuid VEXA_IID_IDispatch = {
    0x00020400u, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const VexaGuid VEXA_IID_IClassFactory = {
    0x00000001u, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

#undef VEXA_OWN_GUID_
#undef VEXA_GUID_TAIL_

#ifdef __cplusplus
inline bool operator==(const VexaGuid& a, const VexaGuid& b) {
    if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.data4[i] != b.data4[i])
            return false;
    return true;
}
#endif

#endif
