// SPDX-License-Identifier: GPL-3.0-or-later
// The class factory of each class and the hosting entry points that hand it out.
#include "VexaCalculate00/entrypoints.h"
#include "VexaCalculate00/identifiers.h"
#include "VexaCalculate00/interfaces.h"
#include "classes.hpp"
#include "module_counts.hpp"
#include "objects.hpp"

#include <atomic>
#include <cstdint>
#include <new>
#include <type_traits>

namespace vexacalc::detail {

namespace {

struct Factory {
    const VexaClassFactoryVtbl* vtbl;
    std::atomic<std::uint32_t> references;
    const ClassInfo* cls;
};
static_assert(std::is_standard_layout_v<Factory>);

Factory* factoryOf(VexaClassFactory* self) {
    return reinterpret_cast<Factory*>(self);
}

bool isFactoryInterface(const VexaGuid& iid) {
    return iid == VEXA_IID_IUnknown || iid == VEXA_IID_IClassFactory;
}

VexaStatus factoryQueryInterface(VexaClassFactory* self, const VexaGuid* iid, void** object) {
    if (!object)
        return VEXA_E_POINTER;
    *object = nullptr;
    if (!self || !iid)
        return VEXA_E_POINTER;
    if (!isFactoryInterface(*iid))
        return VEXA_E_NOINTERFACE;
    factoryOf(self)->references.fetch_add(1, std::memory_order_relaxed);
    *object = self;
    return VEXA_S_OK;
}

std::uint32_t factoryAddRef(VexaClassFactory* self) {
    return factoryOf(self)->references.fetch_add(1, std::memory_order_relaxed) + 1;
}

std::uint32_t factoryRelease(VexaClassFactory* self) {
    Factory* factory = factoryOf(self);
    const std::uint32_t left = factory->references.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) {
        delete factory;
        countObjectDestroyed();
    }
    return left;
}

VexaStatus factoryCreateInstance(VexaClassFactory* self, VexaUnknown* outer, const VexaGuid* iid,
                                 void** object) {
    if (!object)
        return VEXA_E_POINTER;
    *object = nullptr;
    if (!self || !iid)
        return VEXA_E_POINTER;
    if (outer)
        return VEXA_CLASS_E_NOAGGREGATION;
    return createObject(*factoryOf(self)->cls, *iid, object);
}

VexaStatus factoryLockServer(VexaClassFactory*, std::int32_t lock) {
    if (lock) {
        countLockTaken();
        return VEXA_S_OK;
    }
    return countLockReleased() ? VEXA_S_OK : VEXA_E_UNEXPECTED;
}

const VexaClassFactoryVtbl kFactoryVtbl = {
    .QueryInterface = factoryQueryInterface,
    .AddRef = factoryAddRef,
    .Release = factoryRelease,
    .CreateInstance = factoryCreateInstance,
    .LockServer = factoryLockServer,
};

} // namespace

} // namespace vexacalc::detail

using namespace vexacalc::detail;

extern "C" VEXA_API VexaStatus DllGetClassObject(const VexaGuid* clsid, const VexaGuid* iid,
                                                 void** object) {
    if (!object)
        return VEXA_E_POINTER;
    *object = nullptr;
    if (!clsid || !iid)
        return VEXA_E_POINTER;
    const ClassInfo* cls = findClass(*clsid);
    if (!cls)
        return VEXA_CLASS_E_CLASSNOTAVAILABLE;
    if (!isFactoryInterface(*iid))
        return VEXA_E_NOINTERFACE;
    auto* factory = new (std::nothrow) Factory{&kFactoryVtbl, 1u, cls};
    if (!factory)
        return VEXA_E_OUTOFMEMORY;
    countObjectCreated();
    *object = factory;
    return VEXA_S_OK;
}

extern "C" VEXA_API VexaStatus DllCanUnloadNow(void) {
    return moduleInUse() ? VEXA_S_FALSE : VEXA_S_OK;
}
