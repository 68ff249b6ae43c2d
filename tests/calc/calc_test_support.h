// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the calculation library's tests.
#pragma once

#include "VexaCalculate00/VexaCalculate00.h"

#include <cstdlib>
#include <filesystem>
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
        if (value)
            ::setenv(name_, value->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

// A fresh directory, removed with everything in it at the end of the scope.
class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "calc-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Arguments for the Misc methods, in their parameter order.
struct Misc {
    float scaleMax = 0, scaleMin = 0, maxPointer = 0, minPointer = 0, display = 0;
    double constant1 = 0, constant2 = 0, constant3 = 0, constant4 = 0;
    int16_t pointerType = 0;
    VexaBool convertTo = VEXA_FALSE;
};

using MiscEntry = VexaStatus (*)(VEXA_MISC_PARAMS, float* result);

inline float callMisc(MiscEntry entry, const Misc& m) {
    float result = -12345.0f;
    const VexaStatus status =
        entry(m.scaleMax, m.scaleMin, m.maxPointer, m.minPointer, m.display, m.constant1,
              m.constant2, m.constant3, m.constant4, m.pointerType, m.convertTo, &result);
    return status == VEXA_S_OK ? result : -99999.0f;
}

} // namespace calctest
