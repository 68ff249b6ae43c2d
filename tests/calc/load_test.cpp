// SPDX-License-Identifier: GPL-3.0-or-later
// Binding the way the evaluation program does: find the library through the
// registration record, load it, and call Code0 through its function table.
#include "calc_test_support.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

using calctest::ScopedEnv;
using calctest::TempDir;

struct Closer {
    void operator()(void* handle) const { ::dlclose(handle); }
};

TEST(LoadByPath, ResolvesLoadsCreatesAndCallsMisc2) {
    TempDir config;
    ScopedEnv xdg("XDG_CONFIG_HOME", config.path().string());
    {
        const std::unique_ptr<void, Closer> registrar(::dlopen(VEXA_LIBRARY_PATH, RTLD_NOW));
        ASSERT_NE(registrar, nullptr) << ::dlerror();
        auto reg = reinterpret_cast<VexaDllRegisterServerFn>(
            ::dlsym(registrar.get(), "DllRegisterServer"));
        ASSERT_NE(reg, nullptr);
        ASSERT_EQ(reg(), VEXA_S_OK);
    }

    const auto path = vexacalc::LookupClassLibrary(VEXA_CLSID_Code0);
    ASSERT_TRUE(path.has_value());
    const std::unique_ptr<void, Closer> library(::dlopen(path->c_str(), RTLD_NOW | RTLD_LOCAL));
    ASSERT_NE(library, nullptr) << ::dlerror();
    auto getClassObject =
        reinterpret_cast<VexaDllGetClassObjectFn>(::dlsym(library.get(), "DllGetClassObject"));
    auto canUnloadNow =
        reinterpret_cast<VexaDllCanUnloadNowFn>(::dlsym(library.get(), "DllCanUnloadNow"));
    ASSERT_NE(getClassObject, nullptr);
    ASSERT_NE(canUnloadNow, nullptr);

    void* factoryOut = nullptr;
    ASSERT_EQ(getClassObject(&VEXA_CLSID_Code0, &VEXA_IID_IClassFactory, &factoryOut), VEXA_S_OK);
    auto* factory = static_cast<VexaClassFactory*>(factoryOut);
    void* objectOut = nullptr;
    ASSERT_EQ(factory->vtbl->CreateInstance(factory, nullptr, &VEXA_IID_Code0, &objectOut),
              VEXA_S_OK);
    factory->vtbl->Release(factory);
    auto* code0 = static_cast<VexaCode*>(objectOut);

    struct Row {
        float value;
        VexaBool toTemperature;
        float expected;
    };
    const Row rows[] = {{201, VEXA_TRUE, -55}, {25, VEXA_TRUE, 25}, {-55, VEXA_FALSE, 201}};
    for (const Row& row : rows) {
        float result = 0;
        // The program passes the reading as the only pointer value, PointerType 0.
        ASSERT_EQ(code0->vtbl->Misc2(code0, 0, 0, row.value, 0, 0, 0, 0, 0, 0, 0, row.toTemperature,
                                     &result),
                  VEXA_S_OK);
        EXPECT_EQ(result, row.expected) << row.value;
    }
    EXPECT_EQ(canUnloadNow(), VEXA_S_FALSE);
    EXPECT_EQ(code0->vtbl->Release(code0), 0u);
    EXPECT_EQ(canUnloadNow(), VEXA_S_OK);
}

} // namespace
