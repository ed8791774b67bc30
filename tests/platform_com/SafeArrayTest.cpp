#include "com/SafeArray.h"

#include "CountedUnknown.h"

#include <gtest/gtest.h>

TEST(SafeArrayTest, VectorDescriptorAndBounds)
{
    struct Case
    {
        VARTYPE vt;
        ULONG size;
        USHORT feature;
    } cases[] = {
        {VT_UI1, 1, 0},
        {VT_I2, 2, 0},
        {VT_BOOL, 2, 0},
        {VT_I4, 4, 0},
        {VT_R4, 4, 0},
        {VT_R8, 8, 0},
        {VT_CY, 8, 0},
        {VT_DATE, 8, 0},
        {VT_I8, 8, 0},
        {VT_BSTR, sizeof(BSTR), FADF_BSTR},
        {VT_UNKNOWN, sizeof(void*), FADF_UNKNOWN},
        {VT_DISPATCH, sizeof(void*), FADF_DISPATCH},
        {VT_VARIANT, sizeof(VARIANT), FADF_VARIANT},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.vt);
        SAFEARRAY* psa = SafeArrayCreateVector(c.vt, -2, 5);
        ASSERT_NE(nullptr, psa);
        EXPECT_EQ(1u, SafeArrayGetDim(psa));
        EXPECT_EQ(c.size, SafeArrayGetElemsize(psa));
        EXPECT_EQ(FADF_HAVEVARTYPE | c.feature, psa->fFeatures);
        VARTYPE vt = 0;
        EXPECT_EQ(S_OK, SafeArrayGetVartype(psa, &vt));
        EXPECT_EQ(c.vt, vt);
        LONG lb = 0, ub = 0;
        EXPECT_EQ(S_OK, SafeArrayGetLBound(psa, 1, &lb));
        EXPECT_EQ(S_OK, SafeArrayGetUBound(psa, 1, &ub));
        EXPECT_EQ(-2, lb);
        EXPECT_EQ(2, ub);
        EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetLBound(psa, 2, &lb));
        EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetUBound(psa, 0, &ub));
        EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
    }
    EXPECT_EQ(nullptr, SafeArrayCreateVector(VT_EMPTY, 0, 1));
    EXPECT_EQ(nullptr, SafeArrayCreateVector(VT_I4, 0, 0xFFFFFFFFu));
    EXPECT_EQ(S_OK, SafeArrayDestroy(nullptr));
}

TEST(SafeArrayTest, BstrElementsAreCopiedInAndOut)
{
    SAFEARRAY* psa = SafeArrayCreateVector(VT_BSTR, 1, 3);
    BSTR s = SysAllocString(L"first");
    LONG i = 1;
    ASSERT_EQ(S_OK, SafeArrayPutElement(psa, &i, s));
    SysFreeString(s); // the array holds its own copy
    s = SysAllocString(L"replaced");
    ASSERT_EQ(S_OK, SafeArrayPutElement(psa, &i, s)); // frees the old element
    SysFreeString(s);
    i = 3;
    s = SysAllocString(L"third");
    SafeArrayPutElement(psa, &i, s);
    SysFreeString(s);

    i = 1;
    BSTR got = nullptr;
    ASSERT_EQ(S_OK, SafeArrayGetElement(psa, &i, &got));
    EXPECT_STREQ(L"replaced", got);
    SysFreeString(got);
    i = 2;
    ASSERT_EQ(S_OK, SafeArrayGetElement(psa, &i, &got));
    EXPECT_EQ(nullptr, got);
    i = 4;
    EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetElement(psa, &i, &got));
    i = 0;
    EXPECT_EQ(DISP_E_BADINDEX, SafeArrayPutElement(psa, &i, nullptr));

    SAFEARRAY* copy = nullptr;
    ASSERT_EQ(S_OK, SafeArrayCopy(psa, &copy));
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
    i = 3;
    ASSERT_EQ(S_OK, SafeArrayGetElement(copy, &i, &got));
    EXPECT_STREQ(L"third", got);
    SysFreeString(got);
    EXPECT_EQ(S_OK, SafeArrayDestroy(copy)); // ASan reports any element left behind
}

TEST(SafeArrayTest, LockingBlocksDestroyAndRedim)
{
    SAFEARRAY* psa = SafeArrayCreateVector(VT_I4, 0, 4);
    void* data = nullptr;
    ASSERT_EQ(S_OK, SafeArrayAccessData(psa, &data));
    static_cast<LONG*>(data)[2] = 42;
    EXPECT_EQ(S_OK, SafeArrayLock(psa));
    EXPECT_EQ(2u, psa->cLocks);
    EXPECT_EQ(DISP_E_ARRAYISLOCKED, SafeArrayDestroy(psa));
    SAFEARRAYBOUND bound = {8, 0};
    EXPECT_EQ(DISP_E_ARRAYISLOCKED, SafeArrayRedim(psa, &bound));
    EXPECT_EQ(S_OK, SafeArrayUnlock(psa));
    EXPECT_EQ(S_OK, SafeArrayUnaccessData(psa));
    EXPECT_EQ(E_UNEXPECTED, SafeArrayUnlock(psa));

    LONG i = 2, v = 0;
    EXPECT_EQ(S_OK, SafeArrayGetElement(psa, &i, &v));
    EXPECT_EQ(42, v);
    EXPECT_EQ(S_OK, SafeArrayRedim(psa, &bound));
    i = 7;
    EXPECT_EQ(S_OK, SafeArrayGetElement(psa, &i, &v));
    EXPECT_EQ(0, v);
    i = 2;
    EXPECT_EQ(S_OK, SafeArrayGetElement(psa, &i, &v));
    EXPECT_EQ(42, v);
    EXPECT_EQ(0u, psa->cLocks);
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
}

TEST(SafeArrayTest, VariantAndInterfaceElements)
{
    CCountedUnknown unk;
    SAFEARRAY* psa = SafeArrayCreateVector(VT_VARIANT, 0, 2);
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(L"text");
    LONG i = 0;
    ASSERT_EQ(S_OK, SafeArrayPutElement(psa, &i, &v));
    VariantClear(&v);
    v.vt = VT_UNKNOWN;
    v.punkVal = &unk;
    i = 1;
    ASSERT_EQ(S_OK, SafeArrayPutElement(psa, &i, &v));
    EXPECT_EQ(2, unk.Refs());

    VARIANT out;
    VariantInit(&out);
    i = 0;
    ASSERT_EQ(S_OK, SafeArrayGetElement(psa, &i, &out));
    EXPECT_EQ(VT_BSTR, out.vt);
    EXPECT_STREQ(L"text", out.bstrVal);
    VariantClear(&out);

    SAFEARRAY* units = SafeArrayCreateVector(VT_UNKNOWN, 0, 1);
    i = 0;
    ASSERT_EQ(S_OK, SafeArrayPutElement(units, &i, &unk));
    EXPECT_EQ(3, unk.Refs());
    IUnknown* got = nullptr;
    ASSERT_EQ(S_OK, SafeArrayGetElement(units, &i, &got));
    EXPECT_EQ(&unk, got);
    EXPECT_EQ(4, unk.Refs());
    got->Release();
    ASSERT_EQ(S_OK, SafeArrayPutElement(units, &i, nullptr));
    EXPECT_EQ(2, unk.Refs());

    EXPECT_EQ(S_OK, SafeArrayDestroy(units));
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
    EXPECT_EQ(1, unk.Refs());
}

TEST(SafeArrayTest, TwoDimensions)
{
    SAFEARRAYBOUND bounds[2] = {{2, 1}, {3, 10}}; // dimension 1: 1..2, dimension 2: 10..12
    SAFEARRAY* psa = SafeArrayCreate(VT_I4, 2, bounds);
    ASSERT_NE(nullptr, psa);
    LONG lb = 0, ub = 0;
    SafeArrayGetLBound(psa, 2, &lb);
    SafeArrayGetUBound(psa, 2, &ub);
    EXPECT_EQ(10, lb);
    EXPECT_EQ(12, ub);
    for (LONG r = 1; r <= 2; ++r)
        for (LONG c = 10; c <= 12; ++c)
        {
            LONG idx[2] = {r, c};
            LONG value = r * 100 + c;
            ASSERT_EQ(S_OK, SafeArrayPutElement(psa, idx, &value));
        }
    const LONG* data = static_cast<const LONG*>(psa->pvData);
    EXPECT_EQ(110, data[0]); // dimension 1 varies fastest
    EXPECT_EQ(210, data[1]);
    EXPECT_EQ(111, data[2]);
    SAFEARRAYBOUND more = {4, 10};
    ASSERT_EQ(S_OK, SafeArrayRedim(psa, &more));
    LONG idx[2] = {2, 13}, value = -1;
    EXPECT_EQ(S_OK, SafeArrayGetElement(psa, idx, &value));
    EXPECT_EQ(0, value);
    idx[1] = 12;
    EXPECT_EQ(S_OK, SafeArrayGetElement(psa, idx, &value));
    EXPECT_EQ(212, value);
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
}
