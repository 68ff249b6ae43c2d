// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the calculation library's tests.
#pragma once

#include "VexaCalculate00/VexaCalculate00.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace calctest {

// Sets (or, with nullopt, unsets) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        set(value);
    }
    ~ScopedEnv() { set(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        value ? ::setenv(name_, value->c_str(), 1) : ::unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

// An object made by the class's factory, as a client asks for it; null when that fails.
template <class T = VexaUnknown>
T* create(const VexaGuid& clsid, const VexaGuid& iid,
          VexaDllGetClassObjectFn getClassObject = DllGetClassObject) {
    void* factory = nullptr;
    if (getClassObject(&clsid, &VEXA_IID_IClassFactory, &factory) != VEXA_S_OK)
        return nullptr;
    auto* f = static_cast<VexaClassFactory*>(factory);
    void* object = nullptr;
    f->vtbl->CreateInstance(f, nullptr, &iid, &object);
    f->vtbl->Release(f);
    return static_cast<T*>(object);
}

} // namespace calctest
