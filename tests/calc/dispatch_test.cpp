// SPDX-License-Identifier: GPL-3.0-or-later
// Late binding: names to dispatch identifiers and calls with tagged values.
#include "calc_test_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

VexaVariant i2(int16_t v) {
    VexaVariant x{};
    x.vt = VEXA_VT_I2;
    x.iVal = v;
    return x;
}
VexaVariant r4(float v) {
    VexaVariant x{};
    x.vt = VEXA_VT_R4;
    x.fltVal = v;
    return x;
}
VexaVariant r8(double v) {
    VexaVariant x{};
    x.vt = VEXA_VT_R8;
    x.dblVal = v;
    return x;
}
VexaVariant boolean(VexaBool v) {
    VexaVariant x{};
    x.vt = VEXA_VT_BOOL;
    x.boolVal = v;
    return x;
}

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        code0_ = make(VEXA_CLSID_Code0, VEXA_IID_Code0);
        generic_ = make(VEXA_CLSID_GenericCalculations, VEXA_IID_GenericCalculations);
        ASSERT_NE(code0_, nullptr);
        ASSERT_NE(generic_, nullptr);
    }
    void TearDown() override {
        code0_->vtbl->Release(code0_);
        generic_->vtbl->Release(generic_);
        EXPECT_EQ(DllCanUnloadNow(), VEXA_S_OK);
    }

    static VexaDispatch* make(const VexaGuid& clsid, const VexaGuid& iid) {
        void* factory = nullptr;
        if (DllGetClassObject(&clsid, &VEXA_IID_IClassFactory, &factory) != VEXA_S_OK)
            return nullptr;
        auto* f = static_cast<VexaClassFactory*>(factory);
        void* object = nullptr;
        f->vtbl->CreateInstance(f, nullptr, &iid, &object);
        f->vtbl->Release(f);
        return static_cast<VexaDispatch*>(object);
    }

    static int32_t idOf(VexaDispatch* object, const char16_t* name) {
        int32_t id = 0;
        const char16_t* names[] = {name};
        object->vtbl->GetIDsOfNames(object, nullptr, names, 1, VEXA_TYPELIB_LOCALE, &id);
        return id;
    }

    static VexaStatus call(VexaDispatch* object, int32_t id, std::vector<VexaVariant> args,
                           VexaVariant& result, uint32_t* argError = nullptr) {
        return object->vtbl->Invoke(object, id, args.data(), static_cast<uint32_t>(args.size()),
                                    &result, argError);
    }

    VexaDispatch* code0_ = nullptr;
    VexaDispatch* generic_ = nullptr;
};

TEST_F(Dispatch, NamesMapToIdentifiersInSlotOrderIgnoringCase) {
    EXPECT_EQ(idOf(code0_, u"Misc0"), 0x60030000);
    EXPECT_EQ(idOf(code0_, u"misc2"), 0x60030002);
    EXPECT_EQ(idOf(code0_, u"MISC9"), 0x60030009);
    EXPECT_EQ(idOf(generic_, u"descramble2scomp"), 0x6003000A);
    EXPECT_EQ(idOf(generic_, u"Temperature"), 0x6003000B);
    EXPECT_EQ(idOf(generic_, u"Oct"), 0x6003000E);
    EXPECT_EQ(idOf(code0_, u"Temperature"), VEXA_DISPID_UNKNOWN) << "Code0 has no Temperature";
    EXPECT_EQ(idOf(code0_, u"Misc"), VEXA_DISPID_UNKNOWN);
    EXPECT_EQ(idOf(code0_, u"Misc22"), VEXA_DISPID_UNKNOWN);

    const char16_t* withArgument[] = {u"Misc2", u"ConvertTo"};
    int32_t ids[2] = {0, 0};
    EXPECT_EQ(code0_->vtbl->GetIDsOfNames(code0_, nullptr, withArgument, 2, 0, ids),
              VEXA_DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], 0x60030002);
    EXPECT_EQ(ids[1], VEXA_DISPID_UNKNOWN);
}

TEST_F(Dispatch, OffersNoTypeInformation) {
    uint32_t count = 99;
    ASSERT_EQ(code0_->vtbl->GetTypeInfoCount(code0_, &count), VEXA_S_OK);
    EXPECT_EQ(count, 0u);
    void* info = &info;
    EXPECT_TRUE(VEXA_FAILED(code0_->vtbl->GetTypeInfo(code0_, 0, 0, &info)));
    EXPECT_EQ(info, nullptr);
}

TEST_F(Dispatch, CallsConvertArgumentsAndOmittedOnesAreZero) {
    VexaVariant result{};
    // ScaleMax, ScaleMin, CurrentMaxOrOnlyPointerValue; the rest omitted.
    ASSERT_EQ(call(code0_, 0x60030002, {r4(0), r4(0), r4(201)}, result), VEXA_S_OK);
    EXPECT_EQ(result.vt, VEXA_VT_R4);
    EXPECT_EQ(result.fltVal, 201.0f) << "ConvertTo omitted is False: a positive value passes";

    std::vector<VexaVariant> args(11);
    args[2] = i2(201);
    args[10] = boolean(VEXA_TRUE);
    ASSERT_EQ(call(code0_, 0x60030002, args, result), VEXA_S_OK);
    EXPECT_EQ(result.fltVal, -55.0f);

    args[4] = r8(246.0);
    args[9] = r8(2.5); // PointerType rounds half to even: 2
    ASSERT_EQ(call(code0_, 0x60030002, args, result), VEXA_S_OK);
    EXPECT_EQ(result.fltVal, -9.0f);

    args[9] = i2(0);
    args[10] = i2(1); // a nonzero number given for a Boolean is True
    ASSERT_EQ(call(code0_, 0x60030002, args, result), VEXA_S_OK);
    EXPECT_EQ(result.fltVal, -55.0f);

    args[10] = boolean(1); // a malformed Boolean reaches the method as it is
    ASSERT_EQ(call(code0_, 0x60030002, args, result), VEXA_S_OK);
    EXPECT_EQ(result.fltVal, 0.0f);
}

TEST_F(Dispatch, DataIsPassedByReference) {
    int16_t data = 54;
    VexaVariant byRef{};
    byRef.vt = VEXA_VT_BYREF_I2;
    byRef.piVal = &data;
    VexaVariant result{};
    ASSERT_EQ(call(generic_, 0x6003000A, {byRef}, result), VEXA_S_OK);
    EXPECT_EQ(result.vt, VEXA_VT_I2);
    EXPECT_EQ(result.iVal, 73);
    EXPECT_EQ(data, 73);

    ASSERT_EQ(call(generic_, 0x6003000A, {i2(0x0100)}, result), VEXA_S_OK);
    EXPECT_EQ(result.iVal, 0x017F);
    EXPECT_EQ(call(generic_, 0x6003000A, {}, result), VEXA_DISP_E_PARAMNOTFOUND);
}

TEST_F(Dispatch, MethodFailuresAndBadCallsAreReported) {
    VexaVariant result{};
    ASSERT_EQ(call(generic_, 0x6003000B, {i2(-55), boolean(VEXA_FALSE)}, result), VEXA_S_OK);
    EXPECT_EQ(result.iVal, 201);

    EXPECT_EQ(call(generic_, 0x6003000B, {i2(-32768), boolean(VEXA_FALSE)}, result),
              VEXA_E_OVERFLOW);
    EXPECT_EQ(result.vt, VEXA_VT_EMPTY) << "no result after a failure";

    uint32_t argError = 99;
    EXPECT_EQ(call(generic_, 0x6003000B, {r8(40000.0), boolean(VEXA_FALSE)}, result, &argError),
              VEXA_DISP_E_OVERFLOW);
    EXPECT_EQ(argError, 0u);

    VexaVariant text{};
    text.vt = VEXA_VT_STRING;
    text.strVal = nullptr;
    EXPECT_EQ(call(code0_, 0x60030000, {r4(1), text}, result, &argError), VEXA_DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 1u);
    EXPECT_EQ(call(code0_, 0x60030000, {r8(1e300)}, result, &argError), VEXA_DISP_E_OVERFLOW);

    EXPECT_EQ(call(code0_, 0x60030000, std::vector<VexaVariant>(12), result),
              VEXA_DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(call(code0_, 0x6003000A, {i2(1)}, result), VEXA_DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(call(generic_, 0x6003000F, {}, result), VEXA_DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(call(generic_, 0x5FFFFFFF, {}, result), VEXA_DISP_E_MEMBERNOTFOUND);
}

TEST_F(Dispatch, StringResultsComeBackTagged) {
    VexaVariant result{};
    ASSERT_EQ(call(generic_, idOf(generic_, u"Binary"), {i2(5), boolean(VEXA_TRUE)}, result),
              VEXA_S_OK);
    ASSERT_EQ(result.vt, VEXA_VT_STRING);
    ASSERT_NE(result.strVal, nullptr);
    EXPECT_EQ(result.strVal[0], u'\0');
    VexaCalculate00_FreeString(result.strVal);
    // Without a place for the result the string is not leaked (checked under the sanitizers).
    EXPECT_EQ(generic_->vtbl->Invoke(generic_, 0x6003000D, nullptr, 0, nullptr, nullptr),
              VEXA_S_OK);
}

} // namespace
