#include "com/ComError.h"
#include "com/SafeArray.h"
#include "com/Variant.h"

#include "CountedUnknown.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{

_variant_t Cy(LONGLONG scaled)
{
    CY cy;
    cy.int64 = scaled;
    return _variant_t(cy);
}

_variant_t Date(double d)
{
    return _variant_t(d, VT_DATE);
}

_variant_t Bool(bool b)
{
    return _variant_t(b);
}

std::string Describe(const VARIANT& v)
{
    _variant_t copy(v);
    std::string s = "vt=" + std::to_string(v.vt);
    if (SUCCEEDED(VariantChangeType(&copy, &copy, VARIANT_ALPHABOOL, VT_BSTR)))
        s += " \"" + std::string(static_cast<const char*>(_bstr_t(copy.bstrVal, true))) + "\"";
    return s;
}

struct ChangeCase
{
    _variant_t from;
    VARTYPE to;
    USHORT flags;
    HRESULT hr;
    _variant_t expected;
};

} // namespace

TEST(VariantTest, ChangeTypeTable)
{
    const ChangeCase cases[] = {
        // numbers among each other; floats round half to even
        {_variant_t(42), VT_R8, 0, S_OK, _variant_t(42.0)},
        {_variant_t(2.5), VT_I4, 0, S_OK, _variant_t(2)},
        {_variant_t(3.5), VT_I4, 0, S_OK, _variant_t(4)},
        {_variant_t(-2.5), VT_I4, 0, S_OK, _variant_t(-2)},
        {_variant_t(1e10), VT_I4, 0, DISP_E_OVERFLOW, {}},
        {_variant_t(300), VT_UI1, 0, DISP_E_OVERFLOW, {}},
        {_variant_t(255), VT_UI1, 0, S_OK, _variant_t(BYTE(255))},
        {_variant_t(-1), VT_UI4, 0, DISP_E_OVERFLOW, {}},
        {_variant_t(70000), VT_I2, 0, DISP_E_OVERFLOW, {}},
        {_variant_t(-32768), VT_I2, 0, S_OK, _variant_t(short(-32768))},
        {_variant_t(1e300), VT_R4, 0, DISP_E_OVERFLOW, {}},
        {_variant_t(std::nan("")), VT_I8, 0, DISP_E_OVERFLOW, {}},
        {_variant_t(18446744073709551615ull), VT_I8, 0, DISP_E_OVERFLOW, {}},
        {_variant_t(7), VT_UI8, 0, S_OK, _variant_t(7ull)},
        // currency
        {_variant_t(1.23456), VT_CY, 0, S_OK, Cy(12346)},
        {Cy(15000), VT_I4, 0, S_OK, _variant_t(2)},
        {Cy(25000), VT_I4, 0, S_OK, _variant_t(2)},
        {Cy(-15000), VT_I4, 0, S_OK, _variant_t(-2)},
        {_variant_t(1000000000000000ll), VT_CY, 0, DISP_E_OVERFLOW, {}},
        // text to numbers, C-locale
        {_variant_t(L"123"), VT_I4, 0, S_OK, _variant_t(123)},
        {_variant_t(L" 1.5 "), VT_R8, 0, S_OK, _variant_t(1.5)},
        {_variant_t(L"1.5e3"), VT_I4, 0, S_OK, _variant_t(1500)},
        {_variant_t(L"-0.25"), VT_R4, 0, S_OK, _variant_t(-0.25f)},
        {_variant_t(L"1,000"), VT_I4, 0, S_OK, _variant_t(1000)},
        {_variant_t(L"&HFF"), VT_I4, 0, S_OK, _variant_t(255)},
        {_variant_t(L"abc"), VT_I4, 0, DISP_E_TYPEMISMATCH, {}},
        {_variant_t(L""), VT_I4, 0, DISP_E_TYPEMISMATCH, {}},
        {_variant_t(L"1.5.2"), VT_R8, 0, DISP_E_TYPEMISMATCH, {}},
        {_variant_t(L"99999999999"), VT_I4, 0, DISP_E_OVERFLOW, {}},
        {_variant_t(L"1e999"), VT_R8, 0, DISP_E_OVERFLOW, {}},
        {_variant_t(L"1e-999"), VT_R8, 0, S_OK, _variant_t(0.0)},
        {_variant_t(L"1.2345"), VT_CY, 0, S_OK, Cy(12345)},
        // numbers to text
        {_variant_t(0.1), VT_BSTR, 0, S_OK, _variant_t(L"0.1")},
        {_variant_t(1e20), VT_BSTR, 0, S_OK, _variant_t(L"1E+20")},
        {_variant_t(1e-5), VT_BSTR, 0, S_OK, _variant_t(L"1E-05")},
        {_variant_t(1.1f), VT_BSTR, 0, S_OK, _variant_t(L"1.1")},
        {_variant_t(-7), VT_BSTR, 0, S_OK, _variant_t(L"-7")},
        {_variant_t(18446744073709551615ull), VT_BSTR, 0, S_OK, _variant_t(L"18446744073709551615")},
        {Cy(12345), VT_BSTR, 0, S_OK, _variant_t(L"1.2345")},
        {Cy(-5000), VT_BSTR, 0, S_OK, _variant_t(L"-0.5")},
        // booleans
        {Bool(true), VT_I4, 0, S_OK, _variant_t(-1)},
        {Bool(true), VT_UI1, 0, S_OK, _variant_t(BYTE(255))},
        {Bool(true), VT_BSTR, 0, S_OK, _variant_t(L"-1")},
        {Bool(true), VT_BSTR, VARIANT_ALPHABOOL, S_OK, _variant_t(L"True")},
        {Bool(false), VT_BSTR, VARIANT_ALPHABOOL, S_OK, _variant_t(L"False")},
        {_variant_t(5), VT_BOOL, 0, S_OK, Bool(true)},
        {_variant_t(0.0), VT_BOOL, 0, S_OK, Bool(false)},
        {_variant_t(L"True"), VT_BOOL, 0, S_OK, Bool(true)},
        {_variant_t(L"false"), VT_BOOL, 0, S_OK, Bool(false)},
        {_variant_t(L"0"), VT_BOOL, 0, S_OK, Bool(false)},
        {_variant_t(L"maybe"), VT_BOOL, 0, DISP_E_TYPEMISMATCH, {}},
        // dates
        {Date(0.5), VT_BSTR, 0, S_OK, _variant_t(L"12:00:00 PM")},
        {Date(45000.25), VT_BSTR, 0, S_OK, _variant_t(L"3/15/2023 6:00:00 AM")},
        {Date(45000), VT_BSTR, 0, S_OK, _variant_t(L"3/15/2023")},
        {_variant_t(L"2024-02-29 13:45:00"), VT_DATE, 0, S_OK, Date(45351 + (13 * 60 + 45) / 1440.0)},
        {_variant_t(L"3/15/2023 6:00 AM"), VT_DATE, 0, S_OK, Date(45000.25)},
        {_variant_t(3e6), VT_DATE, 0, DISP_E_OVERFLOW, {}},
        {_variant_t(L"2023-02-30"), VT_DATE, 0, DISP_E_TYPEMISMATCH, {}},
        // empty and null
        {_variant_t(), VT_I4, 0, S_OK, _variant_t(0)},
        {_variant_t(), VT_BSTR, 0, S_OK, _variant_t(L"")},
        {_variant_t(), VT_BOOL, 0, S_OK, Bool(false)},
        {_variant_t(42), VT_EMPTY, 0, S_OK, _variant_t()},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(Describe(c.from) + " -> " + std::to_string(c.to));
        _variant_t out(L"untouched");
        EXPECT_EQ(c.hr, VariantChangeType(&out, &c.from, c.flags, c.to));
        if (SUCCEEDED(c.hr))
        {
            EXPECT_TRUE(out == c.expected) << Describe(out);
        }
        else
        {
            EXPECT_TRUE(out == _variant_t(L"untouched")) << "a failed conversion changed its destination";
        }
    }
}

TEST(VariantTest, NullErrorsAndInterfaces)
{
    VARIANT null;
    VariantInit(&null);
    null.vt = VT_NULL;
    _variant_t out;
    EXPECT_EQ(DISP_E_TYPEMISMATCH, VariantChangeType(&out, &null, 0, VT_I4));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, VariantChangeType(&out, &null, 0, VT_BSTR));
    EXPECT_EQ(S_OK, VariantChangeType(&out, &null, 0, VT_NULL));
    EXPECT_EQ(VT_NULL, out.vt);
    _variant_t error(5, VT_ERROR);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, VariantChangeType(&out, &error, 0, VT_I4));
    EXPECT_EQ(DISP_E_BADVARTYPE, VariantChangeType(&out, &error, 0, VARTYPE(200)));
    EXPECT_EQ(DISP_E_BADVARTYPE, VariantChangeType(&out, &error, 0, VT_I4 | VT_BYREF));

    CCountedUnknown unk;
    {
        _variant_t v(static_cast<IUnknown*>(&unk));
        EXPECT_EQ(2, unk.Refs());
        EXPECT_EQ(DISP_E_TYPEMISMATCH, VariantChangeType(&out, &v, 0, VT_I4));
        _variant_t copy;
        EXPECT_EQ(S_OK, VariantCopy(&copy, &v));
        EXPECT_EQ(3, unk.Refs());
        EXPECT_EQ(DISP_E_TYPEMISMATCH, VariantChangeType(&out, &v, 0, VT_DISPATCH)); // no IDispatch
    }
    EXPECT_EQ(1, unk.Refs());
}

TEST(VariantTest, InPlaceAndByReference)
{
    _variant_t v(L"17");
    EXPECT_EQ(S_OK, VariantChangeType(&v, &v, 0, VT_I4));
    EXPECT_EQ(VT_I4, v.vt);
    EXPECT_EQ(17, v.lVal);
    v = 300;
    EXPECT_EQ(DISP_E_OVERFLOW, VariantChangeType(&v, &v, 0, VT_I1));
    EXPECT_EQ(300, v.lVal);

    LONG target = 99;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_I4 | VT_BYREF;
    ref.plVal = &target;
    _variant_t text;
    EXPECT_EQ(S_OK, VariantChangeType(&text, &ref, 0, VT_BSTR));
    EXPECT_TRUE(text == _variant_t(L"99"));
    _variant_t copy;
    EXPECT_EQ(S_OK, VariantCopy(&copy, &ref));
    EXPECT_EQ(&target, copy.plVal); // the reference itself
    EXPECT_EQ(S_OK, VariantCopyInd(&copy, &ref));
    EXPECT_EQ(VT_I4, copy.vt);
    EXPECT_EQ(99, copy.lVal);
    EXPECT_EQ(S_OK, VariantClear(&ref)); // owns nothing
    EXPECT_EQ(99, target);

    BSTR s = SysAllocString(L"by ref");
    VARIANT bref;
    VariantInit(&bref);
    bref.vt = VT_BSTR | VT_BYREF;
    bref.pbstrVal = &s;
    EXPECT_EQ(S_OK, VariantCopyInd(&copy, &bref));
    EXPECT_TRUE(copy == _variant_t(L"by ref"));
    EXPECT_NE(s, copy.bstrVal);
    SysFreeString(s);
}

TEST(VariantTest, ArraysCopyDeeplyAndClearFrees)
{
    SAFEARRAY* psa = SafeArrayCreateVector(VT_BSTR, 0, 2);
    LONG i = 1;
    BSTR s = SysAllocString(L"element");
    SafeArrayPutElement(psa, &i, s);
    SysFreeString(s);
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ARRAY | VT_BSTR;
    v.parray = psa;
    _variant_t copy;
    ASSERT_EQ(S_OK, VariantCopy(&copy, &v));
    EXPECT_NE(psa, copy.parray);
    BSTR got = nullptr;
    SafeArrayGetElement(copy.parray, &i, &got);
    EXPECT_STREQ(L"element", got);
    SysFreeString(got);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, VariantChangeType(&copy, &v, 0, VT_I4));

    SafeArrayLock(psa);
    EXPECT_EQ(DISP_E_ARRAYISLOCKED, VariantClear(&v));
    SafeArrayUnlock(psa);
    EXPECT_EQ(S_OK, VariantClear(&v));
    EXPECT_EQ(VT_EMPTY, v.vt);
}

TEST(VariantTest, DateHelpers)
{
    struct Case
    {
        DATE date;
        SYSTEMTIME st;
    } cases[] = {
        {0.0, {1899, 12, 6, 30, 0, 0, 0, 0}},
        {2.5, {1900, 1, 1, 1, 12, 0, 0, 0}},
        {-1.25, {1899, 12, 5, 29, 6, 0, 0, 0}},
        {45351.5, {2024, 2, 4, 29, 12, 0, 0, 0}},
        {-657434.0, {100, 1, 5, 1, 0, 0, 0, 0}},
        {2958465.0 + 86399.0 / 86400.0, {9999, 12, 5, 31, 23, 59, 59, 0}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.date);
        SYSTEMTIME st{};
        ASSERT_TRUE(VariantTimeToSystemTime(c.date, &st));
        EXPECT_EQ(0, std::memcmp(&c.st, &st, sizeof(st)));
        DATE back = 0;
        SYSTEMTIME in = c.st;
        ASSERT_TRUE(SystemTimeToVariantTime(&in, &back));
        EXPECT_NEAR(c.date, back, 1e-9);
    }
    SYSTEMTIME st{};
    // Half a second rounds up to the next second, across midnight too.
    ASSERT_TRUE(VariantTimeToSystemTime(1.0 - 0.4 / 86400.0, &st));
    EXPECT_EQ(31, st.wDay);
    EXPECT_EQ(0, st.wHour);
    EXPECT_FALSE(VariantTimeToSystemTime(3e6, &st));
    EXPECT_FALSE(VariantTimeToSystemTime(std::nan(""), &st));
    SYSTEMTIME bad = {2023, 2, 0, 29, 0, 0, 0, 0};
    DATE d;
    EXPECT_FALSE(SystemTimeToVariantTime(&bad, &d));
}
