// SPDX-License-Identifier: GPL-3.0-or-later
// Class factories, objects, interface identity and the unload rule.
#include "calc_test_support.h"

#include <gtest/gtest.h>

namespace {

struct ClassIds {
    const char* name;
    const VexaGuid& clsid;
    const VexaGuid& iid;
};

const ClassIds kClasses[] = {
    {"GenericCalculations", VEXA_CLSID_GenericCalculations, VEXA_IID_GenericCalculations},
    {"Code0", VEXA_CLSID_Code0, VEXA_IID_Code0},
    {"Code1", VEXA_CLSID_Code1, VEXA_IID_Code1},
    {"Code2", VEXA_CLSID_Code2, VEXA_IID_Code2},
    {"Code3", VEXA_CLSID_Code3, VEXA_IID_Code3},
    {"Code4", VEXA_CLSID_Code4, VEXA_IID_Code4},
    {"Code5", VEXA_CLSID_Code5, VEXA_IID_Code5},
    {"Code6", VEXA_CLSID_Code6, VEXA_IID_Code6},
    {"Code7", VEXA_CLSID_Code7, VEXA_IID_Code7},
    {"Code8", VEXA_CLSID_Code8, VEXA_IID_Code8},
    {"Code9", VEXA_CLSID_Code9, VEXA_IID_Code9},
};

VexaClassFactory* factoryFor(const VexaGuid& clsid) {
    void* factory = nullptr;
    EXPECT_EQ(DllGetClassObject(&clsid, &VEXA_IID_IClassFactory, &factory), VEXA_S_OK);
    return static_cast<VexaClassFactory*>(factory);
}

VexaUnknown* create(const VexaGuid& clsid, const VexaGuid& iid) {
    VexaClassFactory* factory = factoryFor(clsid);
    if (!factory)
        return nullptr;
    void* object = nullptr;
    EXPECT_EQ(factory->vtbl->CreateInstance(factory, nullptr, &iid, &object), VEXA_S_OK);
    factory->vtbl->Release(factory);
    return static_cast<VexaUnknown*>(object);
}

TEST(Component, EveryClassIsCreatedByItsIdentifierAndAnswersItsInterfaces) {
    ASSERT_EQ(DllCanUnloadNow(), VEXA_S_OK);
    for (const ClassIds& cls : kClasses) {
        VexaUnknown* object = create(cls.clsid, cls.iid);
        ASSERT_NE(object, nullptr) << cls.name;
        for (const VexaGuid* iid : {&VEXA_IID_IUnknown, &VEXA_IID_IDispatch, &cls.iid}) {
            void* same = nullptr;
            ASSERT_EQ(object->vtbl->QueryInterface(object, iid, &same), VEXA_S_OK) << cls.name;
            EXPECT_EQ(same, object);
            object->vtbl->Release(object);
        }
        // Each object answers to its own interface only.
        for (const ClassIds& other : kClasses) {
            if (&other == &cls)
                continue;
            void* wrong = &wrong;
            EXPECT_EQ(object->vtbl->QueryInterface(object, &other.iid, &wrong), VEXA_E_NOINTERFACE)
                << cls.name << " asked for " << other.name;
            EXPECT_EQ(wrong, nullptr);
        }
        EXPECT_EQ(object->vtbl->Release(object), 0u) << cls.name;
    }
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_OK);
}

TEST(Component, RefusesUnknownClassesInterfacesAndAggregation) {
    void* out = &out;
    EXPECT_EQ(DllGetClassObject(&VEXA_IID_Code0, &VEXA_IID_IClassFactory, &out),
              VEXA_CLASS_E_CLASSNOTAVAILABLE); // an interface id is no class id
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(DllGetClassObject(&VEXA_CLSID_Code0, &VEXA_IID_Code0, &out), VEXA_E_NOINTERFACE);
    EXPECT_EQ(DllGetClassObject(&VEXA_CLSID_Code0, &VEXA_IID_IClassFactory, nullptr),
              VEXA_E_POINTER);

    VexaClassFactory* factory = factoryFor(VEXA_CLSID_Code0);
    ASSERT_NE(factory, nullptr);
    VexaUnknown outer{};
    EXPECT_EQ(factory->vtbl->CreateInstance(factory, &outer, &VEXA_IID_Code0, &out),
              VEXA_CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->vtbl->CreateInstance(factory, nullptr, &VEXA_IID_GenericCalculations, &out),
              VEXA_E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    factory->vtbl->Release(factory);
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_OK);
}

TEST(Component, UnloadWaitsForObjectsFactoriesAndLocks) {
    ASSERT_EQ(DllCanUnloadNow(), VEXA_S_OK);
    VexaClassFactory* factory = factoryFor(VEXA_CLSID_Code0);
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_FALSE) << "a live factory";

    void* object = nullptr;
    ASSERT_EQ(factory->vtbl->CreateInstance(factory, nullptr, &VEXA_IID_Code0, &object), VEXA_S_OK);
    auto* code = static_cast<VexaCode*>(object);
    ASSERT_EQ(factory->vtbl->LockServer(factory, 1), VEXA_S_OK);
    EXPECT_EQ(factory->vtbl->Release(factory), 0u);
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_FALSE) << "a live object and a lock";

    EXPECT_EQ(code->vtbl->AddRef(code), 2u);
    EXPECT_EQ(code->vtbl->Release(code), 1u);
    EXPECT_EQ(code->vtbl->Release(code), 0u);
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_FALSE) << "the lock alone";

    factory = factoryFor(VEXA_CLSID_Code5);
    ASSERT_EQ(factory->vtbl->LockServer(factory, 0), VEXA_S_OK);
    EXPECT_EQ(factory->vtbl->LockServer(factory, 0), VEXA_E_UNEXPECTED) << "no lock left";
    factory->vtbl->Release(factory);
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_OK);
}

TEST(Component, CallsThroughTheFunctionTable) {
    auto* code0 = reinterpret_cast<VexaCode*>(create(VEXA_CLSID_Code0, VEXA_IID_Code0));
    ASSERT_NE(code0, nullptr);
    float result = 0;
    ASSERT_EQ(code0->vtbl->Misc2(code0, 0, 0, 201, 0, 0, 0, 0, 0, 0, 0, VEXA_TRUE, &result),
              VEXA_S_OK);
    EXPECT_EQ(result, -55.0f);
    ASSERT_EQ(code0->vtbl->Misc1(code0, 0, 0, 255, 0, 0, 2, 470, 0, 0, 0, VEXA_TRUE, &result),
              VEXA_S_OK);
    EXPECT_EQ(result, 221.0f);
    ASSERT_EQ(code0->vtbl->Misc3(code0, 0, 0, 201, 0, 0, 0, 0, 0, 0, 0, VEXA_TRUE, &result),
              VEXA_S_OK);
    EXPECT_EQ(result, 0.0f);
    code0->vtbl->Release(code0);

    auto* code7 = reinterpret_cast<VexaCode*>(create(VEXA_CLSID_Code7, VEXA_IID_Code7));
    ASSERT_EQ(code7->vtbl->Misc2(code7, 0, 0, 201, 0, 0, 0, 0, 0, 0, 0, VEXA_TRUE, &result),
              VEXA_S_OK);
    EXPECT_EQ(result, 0.0f) << "Code7 does not convert";
    code7->vtbl->Release(code7);

    auto* generic = reinterpret_cast<VexaGenericCalculations*>(
        create(VEXA_CLSID_GenericCalculations, VEXA_IID_GenericCalculations));
    ASSERT_NE(generic, nullptr);
    int16_t data = 10;
    int16_t value = 0;
    ASSERT_EQ(generic->vtbl->Descramble2sComp(generic, &data, &value), VEXA_S_OK);
    EXPECT_EQ(value, 117);
    EXPECT_EQ(data, 117);
    ASSERT_EQ(generic->vtbl->Temperature(generic, -55, VEXA_FALSE, &value), VEXA_S_OK);
    EXPECT_EQ(value, 201);
    EXPECT_EQ(generic->vtbl->Temperature(generic, -32768, VEXA_FALSE, &value), VEXA_E_OVERFLOW);
    EXPECT_EQ(value, 201);
    ASSERT_EQ(generic->vtbl->Misc0(generic, 0, 0, 1, 2, 3, 0, 0, 0, 0, 2, 0, &result), VEXA_S_OK);
    EXPECT_EQ(result, 3.0f);
    char16_t* text = nullptr;
    ASSERT_EQ(generic->vtbl->Oct(generic, 8, VEXA_TRUE, &text), VEXA_S_OK);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text[0], u'\0');
    VexaCalculate00_FreeString(text);
    generic->vtbl->Release(generic);
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_OK);
}

} // namespace
