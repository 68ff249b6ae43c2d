// SPDX-License-Identifier: GPL-3.0-or-later
// Class factories, objects, the unload rule, and calls through the function tables, through
// the plain C functions and by dispatch identifier.
#include "calc_test_support.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using calctest::create;

using MiscEntry = VexaStatus (*)(VEXA_MISC_PARAMS, float* result);

struct ClassIds {
    const char* name;
    const VexaGuid& clsid;
    const VexaGuid& iid;
    MiscEntry misc[10]; // the exported functions <Class>_Misc0 ... <Class>_Misc9
};

#define VEXA_TEST_MISC_(C)                                                                         \
    {                                                                                              \
        C##_Misc0, C##_Misc1, C##_Misc2, C##_Misc3, C##_Misc4, C##_Misc5, C##_Misc6, C##_Misc7,    \
            C##_Misc8, C##_Misc9                                                                   \
    }

const ClassIds kClasses[] = {
    {"GenericCalculations", VEXA_CLSID_GenericCalculations, VEXA_IID_GenericCalculations,
     VEXA_TEST_MISC_(GenericCalculations)},
    {"Code0", VEXA_CLSID_Code0, VEXA_IID_Code0, VEXA_TEST_MISC_(Code0)},
    {"Code1", VEXA_CLSID_Code1, VEXA_IID_Code1, VEXA_TEST_MISC_(Code1)},
    {"Code2", VEXA_CLSID_Code2, VEXA_IID_Code2, VEXA_TEST_MISC_(Code2)},
    {"Code3", VEXA_CLSID_Code3, VEXA_IID_Code3, VEXA_TEST_MISC_(Code3)},
    {"Code4", VEXA_CLSID_Code4, VEXA_IID_Code4, VEXA_TEST_MISC_(Code4)},
    {"Code5", VEXA_CLSID_Code5, VEXA_IID_Code5, VEXA_TEST_MISC_(Code5)},
    {"Code6", VEXA_CLSID_Code6, VEXA_IID_Code6, VEXA_TEST_MISC_(Code6)},
    {"Code7", VEXA_CLSID_Code7, VEXA_IID_Code7, VEXA_TEST_MISC_(Code7)},
    {"Code8", VEXA_CLSID_Code8, VEXA_IID_Code8, VEXA_TEST_MISC_(Code8)},
    {"Code9", VEXA_CLSID_Code9, VEXA_IID_Code9, VEXA_TEST_MISC_(Code9)},
};

// Every object answers to IUnknown, IDispatch and its own interface, with the same pointer, and
// to no other class's interface; its Misc2 slot converts only in Code0.
TEST(Component, EveryClassIsCreatedByItsIdentifierAndAnswersItsInterfaces) {
    ASSERT_EQ(DllCanUnloadNow(), VEXA_S_OK);
    for (const ClassIds& cls : kClasses) {
        auto* object = create<VexaCode>(cls.clsid, cls.iid);
        ASSERT_NE(object, nullptr) << cls.name;
        for (const ClassIds& other : kClasses)
            for (const VexaGuid* iid : {&VEXA_IID_IUnknown, &VEXA_IID_IDispatch, &other.iid}) {
                void* answer = &answer;
                const bool own = iid != &other.iid || &other == &cls;
                EXPECT_EQ(object->vtbl->QueryInterface(object, iid, &answer),
                          own ? VEXA_S_OK : VEXA_E_NOINTERFACE)
                    << cls.name << " asked for " << other.name;
                EXPECT_EQ(answer, own ? object : nullptr);
                if (answer == object)
                    object->vtbl->Release(object);
            }
        float result = 0;
        ASSERT_EQ(object->vtbl->Misc2(object, 0, 0, 201, 0, 0, 0, 0, 0, 0, 0, VEXA_TRUE, &result),
                  VEXA_S_OK);
        EXPECT_EQ(result, cls.misc[2] == Code0_Misc2 ? -55.0f : 0.0f) << cls.name;
        EXPECT_EQ(object->vtbl->Release(object), 0u) << cls.name;
    }
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_OK);
}

// Unknown classes, interfaces and aggregation are refused; the library may be unloaded only
// when no factory, object or lock is left.
TEST(Component, FactoriesRefuseWhatTheyCannotMakeAndHoldTheLibrary) {
    void* out = &out;
    EXPECT_EQ(DllGetClassObject(&VEXA_IID_Code0, &VEXA_IID_IClassFactory, &out),
              VEXA_CLASS_E_CLASSNOTAVAILABLE); // an interface id is no class id
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(DllGetClassObject(&VEXA_CLSID_Code0, &VEXA_IID_Code0, &out), VEXA_E_NOINTERFACE);
    EXPECT_EQ(DllGetClassObject(&VEXA_CLSID_Code0, &VEXA_IID_IClassFactory, nullptr),
              VEXA_E_POINTER);
    ASSERT_EQ(DllCanUnloadNow(), VEXA_S_OK);
    ASSERT_EQ(DllGetClassObject(&VEXA_CLSID_Code0, &VEXA_IID_IClassFactory, &out), VEXA_S_OK);
    auto* factory = static_cast<VexaClassFactory*>(out);
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_FALSE) << "a live factory";
    VexaUnknown outer{};
    EXPECT_EQ(factory->vtbl->CreateInstance(factory, &outer, &VEXA_IID_Code0, &out),
              VEXA_CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->vtbl->CreateInstance(factory, nullptr, &VEXA_IID_GenericCalculations, &out),
              VEXA_E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    ASSERT_EQ(factory->vtbl->CreateInstance(factory, nullptr, &VEXA_IID_Code0, &out), VEXA_S_OK);
    auto* code = static_cast<VexaCode*>(out);
    ASSERT_EQ(factory->vtbl->LockServer(factory, 1), VEXA_S_OK);
    EXPECT_EQ(factory->vtbl->Release(factory), 0u);
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_FALSE) << "a live object and a lock";
    EXPECT_EQ(code->vtbl->AddRef(code), 2u);
    EXPECT_EQ(code->vtbl->Release(code), 1u);
    EXPECT_EQ(code->vtbl->Release(code), 0u);
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_FALSE) << "the lock alone";
    ASSERT_EQ(DllGetClassObject(&VEXA_CLSID_Code5, &VEXA_IID_IClassFactory, &out), VEXA_S_OK);
    factory = static_cast<VexaClassFactory*>(out);
    ASSERT_EQ(factory->vtbl->LockServer(factory, 0), VEXA_S_OK);
    EXPECT_EQ(factory->vtbl->LockServer(factory, 0), VEXA_E_UNEXPECTED) << "no lock left";
    factory->vtbl->Release(factory);
    EXPECT_EQ(DllCanUnloadNow(), VEXA_S_OK);
}

// The value to convert is the display value: each argument must arrive in its own place.
TEST(EntryPoints, OnlyTheWorkingMethodsGiveNonZero) {
    const MiscEntry working[] = {GenericCalculations_Misc0, Code0_Misc0, Code0_Misc1, Code0_Misc2};
    const float results[] = {200, 210, 282, -55};
    for (const ClassIds& cls : kClasses)
        for (int slot = 0; slot < 10; ++slot) {
            float expected = 0.0f, result = -1.0f;
            for (int i = 0; i < 4; ++i)
                expected = working[i] == cls.misc[slot] ? results[i] : expected;
            ASSERT_EQ(cls.misc[slot](265, 10, 7, 9, 200, 2, 470, 0, 0, 2, VEXA_TRUE, &result),
                      VEXA_S_OK);
            EXPECT_EQ(result, expected) << cls.name << "_Misc" << slot;
            EXPECT_EQ(cls.misc[slot](0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr), VEXA_E_POINTER);
        }
}

TEST(EntryPoints, EmptyStringsToFreeAndNoValueFromARefusedOrFailedCall) {
    using StringEntry = VexaStatus (*)(int16_t, VexaBool, char16_t**);
    for (StringEntry entry :
         {GenericCalculations_Binary, GenericCalculations_Hex, GenericCalculations_Oct}) {
        char16_t* text = nullptr;
        ASSERT_EQ(entry(5, VEXA_TRUE, &text), VEXA_S_OK);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::u16string(text), u"");
        VexaCalculate00_FreeString(text);
        EXPECT_EQ(entry(5, VEXA_TRUE, nullptr), VEXA_E_POINTER);
    }
    VexaCalculate00_FreeString(nullptr);
    int16_t data = 1;
    EXPECT_EQ(GenericCalculations_Descramble2sComp(nullptr, &data), VEXA_E_POINTER);
    EXPECT_EQ(GenericCalculations_Descramble2sComp(&data, nullptr), VEXA_E_POINTER);
    EXPECT_EQ(GenericCalculations_Temperature(-32768, VEXA_FALSE, &data), VEXA_E_OVERFLOW);
    EXPECT_EQ(data, 1) << "no value handed back by a refused or failed call";
    EXPECT_EQ(GenericCalculations_Temperature(1, VEXA_TRUE, nullptr), VEXA_E_POINTER);
}

constexpr int32_t kMisc0 = 0x60030000, kMisc2 = 0x60030002, kDescramble = 0x6003000A,
                  kTemperature = 0x6003000B;

// Calls by dispatch identifier, with tagged values made by i2, r4, r8 and b.
class Dispatch : public ::testing::Test {
protected:
    static VexaVariant i2(int16_t v) { return {.vt = VEXA_VT_I2, .reserved = {}, .iVal = v}; }
    static VexaVariant r4(float v) { return {.vt = VEXA_VT_R4, .reserved = {}, .fltVal = v}; }
    static VexaVariant r8(double v) { return {.vt = VEXA_VT_R8, .reserved = {}, .dblVal = v}; }
    static VexaVariant b(VexaBool v) { return {.vt = VEXA_VT_BOOL, .reserved = {}, .boolVal = v}; }
    void SetUp() override { ASSERT_TRUE(code0_ && generic_); }
    void TearDown() override {
        for (VexaDispatch* object : {code0_, generic_})
            if (object)
                object->vtbl->Release(object);
        EXPECT_EQ(DllCanUnloadNow(), VEXA_S_OK);
    }

    static VexaStatus call(VexaDispatch* object, int32_t id, std::vector<VexaVariant> args,
                           VexaVariant& result, uint32_t* argError = nullptr) {
        return object->vtbl->Invoke(object, id, args.data(), static_cast<uint32_t>(args.size()),
                                    &result, argError);
    }

    VexaDispatch* code0_ = calctest::create<VexaDispatch>(VEXA_CLSID_Code0, VEXA_IID_Code0);
    VexaDispatch* generic_ = calctest::create<VexaDispatch>(VEXA_CLSID_GenericCalculations,
                                                            VEXA_IID_GenericCalculations);
};

TEST_F(Dispatch, NamesMapToIdentifiersInSlotOrderIgnoringCase) {
    const struct {
        VexaDispatch* object;
        const char16_t* name;
        int32_t id;
    } cases[] = {
        {code0_, u"MISC2", kMisc2},
        {generic_, u"descramble2scomp", kDescramble},
        {generic_, u"Oct", 0x6003000E},
        {code0_, u"Temperature", VEXA_DISPID_UNKNOWN},
        {code0_, u"Misc22", VEXA_DISPID_UNKNOWN},
    };
    for (const auto& c : cases) {
        int32_t id = 0;
        c.object->vtbl->GetIDsOfNames(c.object, nullptr, &c.name, 1, VEXA_TYPELIB_LOCALE, &id);
        EXPECT_EQ(id, c.id) << "row " << &c - cases;
    }
}

TEST_F(Dispatch, CallsConvertArgumentsAndOmittedOnesAreZero) {
    VexaVariant result{};
    // ScaleMax, ScaleMin, CurrentMaxOrOnlyPointerValue; the rest omitted.
    ASSERT_EQ(call(code0_, kMisc2, {r4(0), r4(0), r4(201)}, result), VEXA_S_OK);
    EXPECT_EQ(result.vt, VEXA_VT_R4);
    EXPECT_EQ(result.fltVal, 201.0f) << "ConvertTo omitted is False: a positive value passes";

    std::vector<VexaVariant> args(11);
    const struct {
        int index;
        VexaVariant value;
        float expected;
    } steps[] = {
        {2, i2(201), 201.0f},   {10, b(VEXA_TRUE), -55.0f},
        {4, r8(246.0), -55.0f}, {9, r8(2.5), -9.0f}, // PointerType rounds half to even: 2
        {9, i2(0), -55.0f},     {10, i2(1), -55.0f}, // a nonzero number given for a Boolean is True
        {10, b(1), 0.0f} // a malformed Boolean reaches the method as it is
    };
    for (const auto& step : steps) {
        args[step.index] = step.value;
        ASSERT_EQ(call(code0_, kMisc2, args, result), VEXA_S_OK);
        EXPECT_EQ(result.fltVal, step.expected) << "after setting argument " << step.index;
    }
}

TEST_F(Dispatch, ResultsFailuresAndBadCalls) {
    int16_t data = 54;
    VexaVariant byRef{};
    byRef.vt = VEXA_VT_BYREF_I2;
    byRef.piVal = &data;
    VexaVariant result{};
    ASSERT_EQ(call(generic_, kDescramble, {byRef}, result), VEXA_S_OK);
    EXPECT_EQ(result.vt, VEXA_VT_I2);
    EXPECT_EQ(result.iVal, 73);
    EXPECT_EQ(data, 73) << "Data is passed by reference";
    ASSERT_EQ(call(generic_, kTemperature, {i2(-55), b(VEXA_FALSE)}, result), VEXA_S_OK);
    EXPECT_EQ(result.iVal, 201);
    EXPECT_EQ(call(generic_, kTemperature, {i2(-32768), b(VEXA_FALSE)}, result), VEXA_E_OVERFLOW);
    EXPECT_EQ(result.vt, VEXA_VT_EMPTY) << "no result after a failure";
    ASSERT_EQ(call(generic_, 0x6003000C, {i2(5), b(VEXA_TRUE)}, result), VEXA_S_OK);
    ASSERT_EQ(result.vt, VEXA_VT_STRING) << "Binary";
    EXPECT_EQ(std::u16string(result.strVal), u"");
    VexaCalculate00_FreeString(result.strVal);
    // Without a place for the result the string is not leaked (checked under the sanitizers).
    EXPECT_EQ(generic_->vtbl->Invoke(generic_, 0x6003000D, nullptr, 0, nullptr, nullptr),
              VEXA_S_OK);

    VexaVariant text{};
    text.vt = VEXA_VT_STRING;
    const struct {
        VexaDispatch* object;
        int32_t id;
        std::vector<VexaVariant> args;
        VexaStatus status;
        uint32_t argError;
    } cases[] = {
        {generic_, kDescramble, {}, VEXA_DISP_E_PARAMNOTFOUND, 0},
        {generic_, kTemperature, {r8(40000.0), b(VEXA_FALSE)}, VEXA_DISP_E_OVERFLOW, 0},
        {code0_, kMisc0, {r4(1), text}, VEXA_DISP_E_TYPEMISMATCH, 1},
        {code0_, kMisc0, {r4(1), r4(2), r8(1e300)}, VEXA_DISP_E_OVERFLOW, 2},
        {code0_, kMisc0, std::vector<VexaVariant>(12), VEXA_DISP_E_BADPARAMCOUNT, 99},
        {code0_, kDescramble, {i2(1)}, VEXA_DISP_E_MEMBERNOTFOUND, 99},
        {generic_, 0x6003000F, {}, VEXA_DISP_E_MEMBERNOTFOUND, 99},
        {generic_, 0x5FFFFFFF, {}, VEXA_DISP_E_MEMBERNOTFOUND, 99},
    };
    for (const auto& c : cases) {
        uint32_t argError = 99;
        EXPECT_EQ(call(c.object, c.id, c.args, result, &argError), c.status)
            << "row " << &c - cases;
        EXPECT_EQ(argError, c.argError) << "row " << &c - cases;
    }
}

} // namespace
