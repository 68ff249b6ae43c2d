// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch.hpp"

#include "arithmetic.hpp"
#include "methods.hpp"
#include "strings.hpp"

#include <cmath>
#include <limits>
#include <optional>

namespace vexacalc::detail {

namespace {

enum class Kind { Single, Double, Integer, Boolean };

constexpr int kPositionDescramble = kMiscCount;
constexpr int kPositionTemperature = kMiscCount + 1;

bool sameNameIgnoringCase(const char16_t* given, const char* name) {
    for (; *given && *name; ++given, ++name) {
        const char16_t c = *given;
        if (c >= 0x80)
            return false;
        const auto lower = [](int ch) { return ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch; };
        if (lower(c) != lower(static_cast<unsigned char>(*name)))
            return false;
    }
    return *given == 0 && *name == 0;
}

std::optional<double> numericValue(const VexaVariant& value) {
    switch (value.vt) {
    case VEXA_VT_I2:
        return value.iVal;
    case VEXA_VT_BOOL:
        return value.boolVal;
    case VEXA_VT_R4:
        return value.fltVal;
    case VEXA_VT_R8:
        return value.dblVal;
    case VEXA_VT_BYREF_I2:
        if (value.piVal)
            return *value.piVal;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// Reads the arguments of one call in parameter order, converting each to the
// parameter's type the way automation clients expect.
class Arguments {
public:
    Arguments(const VexaVariant* args, std::uint32_t count, std::uint32_t* argError)
        : args_(args), count_(count), argError_(argError) {}

    bool omitted(std::uint32_t index) const {
        return index >= count_ || args_[index].vt == VEXA_VT_EMPTY;
    }

    const VexaVariant& at(std::uint32_t index) const { return args_[index]; }

    // An omitted optional argument arrives as 0 (False for a Boolean).
    VexaStatus read(std::uint32_t index, Kind kind, double& out) {
        out = 0.0;
        if (omitted(index))
            return VEXA_S_OK;
        const VexaVariant& value = args_[index];
        const std::optional<double> number = numericValue(value);
        if (!number)
            return fail(index, VEXA_DISP_E_TYPEMISMATCH);
        switch (kind) {
        case Kind::Double:
            out = *number;
            return VEXA_S_OK;
        case Kind::Single:
            if (std::isfinite(*number) && std::fabs(*number) > std::numeric_limits<float>::max())
                return fail(index, VEXA_DISP_E_OVERFLOW);
            out = static_cast<float>(*number);
            return VEXA_S_OK;
        case Kind::Integer: {
            const Outcome<std::int16_t> whole = roundToInteger(*number);
            if (!whole)
                return fail(index, VEXA_DISP_E_OVERFLOW);
            out = whole.value();
            return VEXA_S_OK;
        }
        case Kind::Boolean:
            // A Boolean passes as it is; any other nonzero number is True.
            if (value.vt == VEXA_VT_BOOL)
                out = value.boolVal;
            else
                out = *number != 0.0 ? VEXA_TRUE : VEXA_FALSE;
            return VEXA_S_OK;
        }
        return fail(index, VEXA_DISP_E_TYPEMISMATCH);
    }

    VexaStatus fail(std::uint32_t index, VexaStatus status) {
        if (argError_)
            *argError_ = index;
        return status;
    }

private:
    const VexaVariant* args_;
    std::uint32_t count_;
    std::uint32_t* argError_;
};

VexaStatus invokeMisc(MiscFunction function, Arguments& in, VexaVariant& out) {
    static constexpr Kind kKinds[11] = {Kind::Single, Kind::Single,  Kind::Single, Kind::Single,
                                        Kind::Single, Kind::Double,  Kind::Double, Kind::Double,
                                        Kind::Double, Kind::Integer, Kind::Boolean};
    double values[11];
    for (std::uint32_t i = 0; i < 11; ++i)
        if (const VexaStatus status = in.read(i, kKinds[i], values[i]); VEXA_FAILED(status))
            return status;
    const MiscArgs args{static_cast<float>(values[0]),
                        static_cast<float>(values[1]),
                        static_cast<float>(values[2]),
                        static_cast<float>(values[3]),
                        static_cast<float>(values[4]),
                        values[5],
                        values[6],
                        values[7],
                        values[8],
                        static_cast<std::int16_t>(values[9]),
                        static_cast<VexaBool>(values[10])};
    out.vt = VEXA_VT_R4;
    return callMisc(function, args, &out.fltVal);
}

VexaStatus invokeDescramble(Arguments& in, VexaVariant& out) {
    if (in.omitted(0))
        return in.fail(0, VEXA_DISP_E_PARAMNOTFOUND);
    // By reference the caller's variable changes; by value only a copy does.
    std::int16_t copy = 0;
    std::int16_t* data = &copy;
    if (in.at(0).vt == VEXA_VT_BYREF_I2 && in.at(0).piVal) {
        data = in.at(0).piVal;
    } else {
        double value = 0.0;
        if (const VexaStatus status = in.read(0, Kind::Integer, value); VEXA_FAILED(status))
            return status;
        copy = static_cast<std::int16_t>(value);
    }
    out.vt = VEXA_VT_I2;
    return callDescramble2sComp(data, &out.iVal);
}

VexaStatus invokeTemperature(Arguments& in, VexaVariant& out) {
    double value = 0.0;
    double convert = 0.0;
    if (const VexaStatus status = in.read(0, Kind::Integer, value); VEXA_FAILED(status))
        return status;
    if (const VexaStatus status = in.read(1, Kind::Boolean, convert); VEXA_FAILED(status))
        return status;
    std::int16_t result = 0;
    const VexaStatus status =
        callTemperature(static_cast<std::int16_t>(value), static_cast<VexaBool>(convert), &result);
    if (VEXA_SUCCEEDED(status)) {
        out.vt = VEXA_VT_I2;
        out.iVal = result;
    }
    return status;
}

VexaStatus invokeEmptyString(Arguments& in, VexaVariant& out) {
    // The arguments are ignored, but they must still be of a usable type.
    double ignored = 0.0;
    if (const VexaStatus status = in.read(0, Kind::Integer, ignored); VEXA_FAILED(status))
        return status;
    if (const VexaStatus status = in.read(1, Kind::Boolean, ignored); VEXA_FAILED(status))
        return status;
    char16_t* text = nullptr;
    const VexaStatus status = callEmptyString(&text);
    if (VEXA_SUCCEEDED(status)) {
        out.vt = VEXA_VT_STRING;
        out.strVal = text;
    }
    return status;
}

std::uint32_t parameterCount(int position) {
    if (position < kMiscCount)
        return 11;
    return position == kPositionDescramble ? 1 : 2;
}

} // namespace

VexaStatus dispatchIdsOfNames(const ClassInfo& cls, const char16_t* const* names,
                              std::uint32_t nameCount, std::int32_t* dispIds) {
    if (!names || !dispIds)
        return VEXA_E_POINTER;
    if (nameCount == 0)
        return VEXA_E_INVALIDARG;
    VexaStatus status = VEXA_S_OK;
    dispIds[0] = VEXA_DISPID_UNKNOWN;
    if (names[0]) {
        for (int position = 0; position < cls.methodCount(); ++position)
            if (sameNameIgnoringCase(names[0], methodName(cls, position)))
                dispIds[0] = VEXA_DISPID_FIRST + position;
    }
    if (dispIds[0] == VEXA_DISPID_UNKNOWN)
        status = VEXA_DISP_E_UNKNOWNNAME;
    // Arguments are passed by position only, so no argument name is known.
    for (std::uint32_t i = 1; i < nameCount; ++i) {
        dispIds[i] = VEXA_DISPID_UNKNOWN;
        status = VEXA_DISP_E_UNKNOWNNAME;
    }
    return status;
}

VexaStatus dispatchInvoke(const ClassInfo& cls, std::int32_t dispId, const VexaVariant* args,
                          std::uint32_t argCount, VexaVariant* result, std::uint32_t* argError) {
    const std::int64_t position = static_cast<std::int64_t>(dispId) - VEXA_DISPID_FIRST;
    if (position < 0 || position >= cls.methodCount())
        return VEXA_DISP_E_MEMBERNOTFOUND;
    if (argCount > 0 && !args)
        return VEXA_E_POINTER;
    if (argCount > parameterCount(static_cast<int>(position)))
        return VEXA_DISP_E_BADPARAMCOUNT;

    Arguments in(args, argCount, argError);
    VexaVariant out{};
    VexaStatus status = VEXA_E_UNEXPECTED;
    if (position < kMiscCount)
        status = invokeMisc(cls.misc[position], in, out);
    else if (position == kPositionDescramble)
        status = invokeDescramble(in, out);
    else if (position == kPositionTemperature)
        status = invokeTemperature(in, out);
    else
        status = invokeEmptyString(in, out);

    if (result)
        *result = out;
    else if (out.vt == VEXA_VT_STRING)
        freeString(out.strVal);
    return status;
}

} // namespace vexacalc::detail
