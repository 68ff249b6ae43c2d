// SPDX-License-Identifier: GPL-3.0-or-later
// The working conversions of Code0. A runtime error inside one of them skips
// the assignment of the result, so the method gives 0 and still succeeds.
#include "VexaCalculate00/calculations.hpp"
#include "arithmetic.hpp"
#include "misc_args.hpp"

#include <cmath>
#include <cstdint>

namespace vexacalc::Code0 {

namespace {

constexpr float kPositions = 255.0f; // gauge positions 0..255
constexpr float kMaxSpeed = 6500.0f;
constexpr double kMaxCount = 255.0;
constexpr double kTicksPerMinute = 4.0 * 60.0;

} // namespace

float Misc0(const MiscArgs& args) {
    const auto v = detail::selectedPointerValue(args);
    if (!v || !detail::isBoolean(args.ConvertTo))
        return 0.0f;
    // A step that cannot be computed gives 0 in both directions rather than a
    // zero step that would map every position to ScaleMin.
    const Outcome<float> span = detail::subtractSingle(args.ScaleMax, args.ScaleMin);
    if (!span)
        return 0.0f;
    const float step = span.value() / kPositions;
    if (args.ConvertTo == VEXA_TRUE) {
        const float scaled = args.ScaleMin + step * *v;
        return std::isfinite(scaled) ? scaled : 0.0f;
    }
    // Scale to raw: no offset is removed, as the gauges expect.
    const Outcome<float> raw = detail::divideSingle(*v, step);
    return raw ? std::floor(raw.value()) : 0.0f;
}

float Misc1(const MiscArgs& args) {
    MiscArgs clamped = args;
    for (float* pointer : {&clamped.CurrentMaxOrOnlyPointerValue, &clamped.CurrentMinPointerValue,
                           &clamped.CurrentDisplayValue}) {
        if (!(*pointer >= 1.0f)) // below 1 or not a number
            *pointer = 1.0f;
    }
    const auto selected = detail::selectedPointerValue(clamped);
    if (!selected || !detail::isBoolean(args.ConvertTo))
        return 0.0f;
    const bool toSpeed = args.ConvertTo == VEXA_TRUE;
    double v = *selected;
    if (!toSpeed && v > kMaxSpeed)
        v = kMaxSpeed;
    // Count and speed are inversely proportional, so one quotient serves both ways.
    const double k = args.Constant2 * kTicksPerMinute;
    const Outcome<double> quotient = detail::divideDouble(k, v * args.Constant1);
    if (!quotient)
        return 0.0f;
    double result = std::floor(quotient.value());
    if (!toSpeed && result > kMaxCount)
        result = kMaxCount;
    return detail::toSingle(result).valueOr(0.0f);
}

float Misc2(const MiscArgs& args) {
    const auto v = detail::selectedPointerValue(args);
    if (!v || !detail::isBoolean(args.ConvertTo))
        return 0.0f;
    // An infinity is an overflow like NaN and like every value beyond an Integer, even on the
    // side that would otherwise pass unchanged.
    if (!std::isfinite(*v))
        return 0.0f;
    if (args.ConvertTo == VEXA_TRUE) {
        if (*v < 128.0f)
            return *v;
        const Outcome<std::int16_t> whole = detail::roundToInteger(*v);
        if (!whole)
            return 0.0f;
        auto magnitude = static_cast<std::int16_t>(whole.value() & 0x7F);
        return static_cast<float>(-ComplementLowBits(magnitude));
    }
    if (*v >= 0.0f)
        return *v;
    const Outcome<std::int16_t> magnitude = detail::roundToInteger(std::fabs(*v));
    if (!magnitude)
        return 0.0f;
    auto bits = magnitude.value();
    return static_cast<float>(ComplementLowBits(bits) | 0x80);
}

} // namespace vexacalc::Code0
