// SPDX-License-Identifier: GPL-3.0-or-later
// The library's arithmetic as plain C++ functions, for clients that link the
// library directly. The component layer and the C entry points wrap these.
#pragma once

#include "VexaCalculate00/export.h"
#include "VexaCalculate00/types.h"

#include <cstdint>

namespace vexacalc {

// A runtime error of a calculation (overflow, division by zero), as its status.
struct Failure {
    VexaStatus status;
};

// The value of a calculation that may raise a runtime error, or that error.
template <class T> class Outcome {
public:
    Outcome(T value) : value_(value) {}
    Outcome(Failure failure) : status_(failure.status) {}

    bool ok() const noexcept { return VEXA_SUCCEEDED(status_); }
    explicit operator bool() const noexcept { return ok(); }
    VexaStatus status() const noexcept { return status_; }
    // Only meaningful when ok().
    T value() const noexcept { return value_; }
    T valueOr(T fallback) const noexcept { return ok() ? value_ : fallback; }

private:
    T value_{};
    VexaStatus status_ = VEXA_S_OK;
};

// The eleven parameters shared by Misc0 ... Misc9; an omitted argument is 0.
struct MiscArgs {
    float ScaleMax = 0.0f;
    float ScaleMin = 0.0f;
    float CurrentMaxOrOnlyPointerValue = 0.0f;
    float CurrentMinPointerValue = 0.0f;
    float CurrentDisplayValue = 0.0f;
    double Constant1 = 0.0;
    double Constant2 = 0.0;
    double Constant3 = 0.0;
    double Constant4 = 0.0;
    std::int16_t PointerType = 0;
    VexaBool ConvertTo = VEXA_FALSE;
};

// Inverts bits 0-6 of value step by step (a set bit is cleared together with
// bits 8-15), then sets bit 0. Changes value in place and returns it.
VEXA_API std::int16_t ComplementLowBits(std::int16_t& value);

// ComplementLowBits applied to data in place; returns the new value.
VEXA_API std::int16_t Descramble2sComp(std::int16_t& data);

// Register byte <-> signed temperature. Fails with VEXA_E_OVERFLOW where the
// magnitude of a negative value does not fit an Integer (-32768).
VEXA_API Outcome<std::int16_t> Temperature(std::int16_t value, VexaBool convertToTemp);

namespace GenericCalculations {
// The pointer value PointerType selects (0, 1, 2), else 0.
VEXA_API float Misc0(const MiscArgs& args);
} // namespace GenericCalculations

// The working conversions. A runtime error inside one gives 0, never a failure.
namespace Code0 {
// Gauge position (0-255) <-> scale value.
VEXA_API float Misc0(const MiscArgs& args);
// Tachometer count <-> fan speed in revolutions per minute.
VEXA_API float Misc1(const MiscArgs& args);
// Temperature register byte <-> signed temperature.
VEXA_API float Misc2(const MiscArgs& args);
} // namespace Code0

} // namespace vexacalc
