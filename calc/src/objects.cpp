// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects.hpp"

#include "VexaCalculate00/identifiers.h"
#include "VexaCalculate00/interfaces.h"
#include "dispatch.hpp"
#include "methods.hpp"
#include "misc_args.hpp"
#include "module_counts.hpp"

#include <atomic>
#include <cstdint>
#include <new>
#include <type_traits>

namespace vexacalc::detail {

namespace {

// The interface pointer is the object's address: its first member is the table.
struct Object {
    const void* vtbl;
    std::atomic<std::uint32_t> references;
    const ClassInfo* cls;
};
static_assert(std::is_standard_layout_v<Object>);

template <class Self> Object* objectOf(Self* self) {
    return reinterpret_cast<Object*>(self);
}

bool answersTo(const ClassInfo& cls, const VexaGuid& iid) {
    return iid == VEXA_IID_IUnknown || iid == VEXA_IID_IDispatch || iid == cls.iid;
}

template <class Self> VexaStatus queryInterface(Self* self, const VexaGuid* iid, void** object) {
    if (!object)
        return VEXA_E_POINTER;
    *object = nullptr;
    if (!self || !iid)
        return VEXA_E_POINTER;
    Object* target = objectOf(self);
    if (!answersTo(*target->cls, *iid))
        return VEXA_E_NOINTERFACE;
    target->references.fetch_add(1, std::memory_order_relaxed);
    *object = self;
    return VEXA_S_OK;
}

template <class Self> std::uint32_t addRef(Self* self) {
    return objectOf(self)->references.fetch_add(1, std::memory_order_relaxed) + 1;
}

template <class Self> std::uint32_t release(Self* self) {
    Object* target = objectOf(self);
    const std::uint32_t left = target->references.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) {
        delete target;
        countObjectDestroyed();
    }
    return left;
}

template <class Self> VexaStatus getTypeInfoCount(Self*, std::uint32_t* count) {
    if (!count)
        return VEXA_E_POINTER;
    *count = 0; // no type information is offered
    return VEXA_S_OK;
}

template <class Self> VexaStatus getTypeInfo(Self*, std::uint32_t, std::uint32_t, void** typeInfo) {
    if (typeInfo)
        *typeInfo = nullptr;
    return VEXA_E_NOTIMPL;
}

template <class Self>
VexaStatus getIDsOfNames(Self* self, const VexaGuid*, const char16_t* const* names,
                         std::uint32_t nameCount, std::uint32_t, std::int32_t* dispIds) {
    if (!self)
        return VEXA_E_POINTER;
    return dispatchIdsOfNames(*objectOf(self)->cls, names, nameCount, dispIds);
}

template <class Self>
VexaStatus invoke(Self* self, std::int32_t dispId, const VexaVariant* args, std::uint32_t argCount,
                  VexaVariant* result, std::uint32_t* argError) {
    if (!self)
        return VEXA_E_POINTER;
    return dispatchInvoke(*objectOf(self)->cls, dispId, args, argCount, result, argError);
}

template <class Self, int Slot> VexaStatus misc(Self* self, VEXA_MISC_PARAMS, float* result) {
    if (!self)
        return VEXA_E_POINTER;
    return callMisc(objectOf(self)->cls->misc[Slot], VEXA_MISC_ARGS_FROM_PARAMS, result);
}

VexaStatus descramble2sComp(VexaGenericCalculations*, std::int16_t* data, std::int16_t* result) {
    return callDescramble2sComp(data, result);
}

VexaStatus temperature(VexaGenericCalculations*, std::int16_t value, VexaBool convertToTemp,
                       std::int16_t* result) {
    return callTemperature(value, convertToTemp, result);
}

VexaStatus emptyString(VexaGenericCalculations*, std::int16_t, VexaBool, char16_t** result) {
    return callEmptyString(result);
}

#define VEXA_DISPATCH_ENTRIES_(Self)                                                               \
    .QueryInterface = queryInterface<Self>, .AddRef = addRef<Self>, .Release = release<Self>,      \
    .GetTypeInfoCount = getTypeInfoCount<Self>, .GetTypeInfo = getTypeInfo<Self>,                  \
    .GetIDsOfNames = getIDsOfNames<Self>, .Invoke = invoke<Self>
#define VEXA_MISC_ENTRIES_(Self)                                                                   \
    .Misc0 = misc<Self, 0>, .Misc1 = misc<Self, 1>, .Misc2 = misc<Self, 2>,                        \
    .Misc3 = misc<Self, 3>, .Misc4 = misc<Self, 4>, .Misc5 = misc<Self, 5>,                        \
    .Misc6 = misc<Self, 6>, .Misc7 = misc<Self, 7>, .Misc8 = misc<Self, 8>, .Misc9 = misc<Self, 9>

// Code0 ... Code9 share one table; each object's class decides what its slots do.
const VexaCodeVtbl kCodeVtbl = {VEXA_DISPATCH_ENTRIES_(VexaCode), VEXA_MISC_ENTRIES_(VexaCode)};

const VexaGenericCalculationsVtbl kGenericVtbl = {
    VEXA_DISPATCH_ENTRIES_(VexaGenericCalculations),
    VEXA_MISC_ENTRIES_(VexaGenericCalculations),
    .Descramble2sComp = descramble2sComp,
    .Temperature = temperature,
    .Binary = emptyString,
    .Hex = emptyString,
    .Oct = emptyString,
};

} // namespace

VexaStatus createObject(const ClassInfo& cls, const VexaGuid& iid, void** object) {
    *object = nullptr;
    if (!answersTo(cls, iid))
        return VEXA_E_NOINTERFACE;
    const void* vtbl = cls.generic ? static_cast<const void*>(&kGenericVtbl)
                                   : static_cast<const void*>(&kCodeVtbl);
    auto* created = new (std::nothrow) Object{vtbl, 1u, &cls};
    if (!created)
        return VEXA_E_OUTOFMEMORY;
    countObjectCreated();
    *object = created;
    return VEXA_S_OK;
}

} // namespace vexacalc::detail
