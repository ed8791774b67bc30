// Dispatch maps and the automation identity of command targets.
#include "com/ComError.h"
#include "mfc/OleDispatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
int g_destroyed = 0;

class CBaseHost : public CCmdTargetDispatch
{
public:
    CBaseHost() { EnableAutomation(); }
    ~CBaseHost() override { ++g_destroyed; }

    double Sub(double a, double b) { return a - b; }
    BSTR Echo(LPCWSTR s) { return SysAllocString(s); }
    void Fail(LONG code) { throw _com_error(HRESULT(code), L"failed on purpose"); }
    short Half(short v) { return short(v / 2); }
    BOOL IsPositive(double v) { return v > 0; }
    LONG GetCount() { return m_count; }
    void SetCount(LONG n) { m_count = n; }
    VARIANT Same(const VARIANT& v)
    {
        VARIANT r;
        VariantInit(&r);
        VariantCopy(&r, &v);
        return r;
    }
    LONG Fixed() { return 77; }

    LONG m_count = 0;
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CBaseHost, CCmdTargetDispatch)
DISP_FUNCTION(CBaseHost, "Sub", Sub, VT_R8, VTS_R8 VTS_R8)
DISP_FUNCTION(CBaseHost, "Echo", Echo, VT_BSTR, VTS_BSTR)
DISP_FUNCTION(CBaseHost, "Fail", Fail, VT_EMPTY, VTS_I4)
DISP_FUNCTION(CBaseHost, "Half", Half, VT_I2, VTS_I2)
DISP_FUNCTION(CBaseHost, "IsPositive", IsPositive, VT_BOOL, VTS_R8)
DISP_PROPERTY_EX(CBaseHost, "Count", GetCount, SetCount, VT_I4)
DISP_FUNCTION(CBaseHost, "Same", Same, VT_VARIANT, VTS_VARIANT)
DISP_FUNCTION_ID(CBaseHost, "Fixed", 500, Fixed, VT_I4, VTS_NONE)
END_DISPATCH_MAP()

class CDerivedHost : public CBaseHost
{
public:
    LONG Extra() { return 5; }

protected:
    BOOL IsDispatchIID(REFIID riid) const override { return IsEqualIID(riid, kPrivateIid); }

public:
    static constexpr GUID kPrivateIid = {
        0x5A7093B6, 0x5AF0, 0x429E, {0xB5, 0x5C, 0x9A, 0x18, 0x4A, 0x29, 0x4B, 0x2E}};
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CDerivedHost, CBaseHost)
DISP_FUNCTION(CDerivedHost, "Extra", Extra, VT_I4, VTS_NONE)
END_DISPATCH_MAP()

DISPID IdOf(IDispatch* p, const wchar_t* name)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 12345;
    p->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

// Calls a method with its arguments written left to right.
HRESULT Call(IDispatch* p, const wchar_t* name, std::vector<_variant_t> args, VARIANT* result,
             EXCEPINFO* info = nullptr, UINT* argErr = nullptr, WORD flags = DISPATCH_METHOD)
{
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS dp = {reversed.data(), nullptr, UINT(reversed.size()), 0};
    return p->Invoke(IdOf(p, name), IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, result, info, argErr);
}
} // namespace

TEST(DispatchMap, IdsCarryPositionAndDepthAndNamesIgnoreCase)
{
    CBaseHost base;
    CDerivedHost derived;
    IDispatch* b = base.GetIDispatch(FALSE);
    IDispatch* d = derived.GetIDispatch(FALSE);

    EXPECT_EQ(IdOf(b, L"Sub"), 1);
    EXPECT_EQ(IdOf(b, L"echo"), 2);
    EXPECT_EQ(IdOf(b, L"SAME"), 7);
    EXPECT_EQ(IdOf(b, L"Fixed"), 500);
    // A derived map puts the base's entries one level down.
    EXPECT_EQ(IdOf(d, L"Extra"), 1);
    EXPECT_EQ(IdOf(d, L"sub"), 0x10001);
    EXPECT_EQ(IdOf(d, L"Fixed"), 500);

    LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Nope")};
    DISPID id = 0;
    EXPECT_EQ(b->GetIDsOfNames(IID_NULL, unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);

    // Ids of one object do not reach members of another level.
    _variant_t r;
    EXPECT_EQ(d->Invoke(0x10008, IID_NULL, 0, DISPATCH_METHOD, nullptr, &r, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(d->Invoke(0x10001 + 0x10000, IID_NULL, 0, DISPATCH_METHOD, nullptr, &r, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

TEST(DispatchMap, InvokeTakesReversedArgumentsAndConvertsThem)
{
    CDerivedHost host;
    IDispatch* p = host.GetIDispatch(FALSE);
    _variant_t r;
    ASSERT_EQ(Call(p, L"Sub", {_variant_t(10.0), _variant_t(L"3")}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_R8);
    EXPECT_DOUBLE_EQ(r.dblVal, 7.0);

    r.Clear();
    ASSERT_EQ(Call(p, L"Echo", {_variant_t(42)}, &r), S_OK);
    ASSERT_EQ(r.vt, VT_BSTR);
    EXPECT_STREQ(r.bstrVal, L"42");

    r.Clear();
    ASSERT_EQ(Call(p, L"Half", {_variant_t(9)}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_I2);
    EXPECT_EQ(r.iVal, 4);

    r.Clear();
    ASSERT_EQ(Call(p, L"IsPositive", {_variant_t(-1.0)}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_BOOL);
    EXPECT_EQ(r.boolVal, VARIANT_FALSE);

    r.Clear();
    ASSERT_EQ(Call(p, L"Same", {_variant_t(L"text")}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_BSTR);

    r.Clear();
    ASSERT_EQ(Call(p, L"extra", {}, &r, nullptr, nullptr, DISPATCH_METHOD | DISPATCH_PROPERTYGET), S_OK);
    EXPECT_EQ(r.lVal, 5);

    // A null result is allowed; the member's BSTR is freed.
    ASSERT_EQ(Call(p, L"Echo", {_variant_t(L"x")}, nullptr), S_OK);
}

TEST(DispatchMap, BadCallsAreRefused)
{
    CBaseHost host;
    IDispatch* p = host.GetIDispatch(FALSE);
    _variant_t r;
    EXPECT_EQ(Call(p, L"Sub", {_variant_t(1.0)}, &r), DISP_E_BADPARAMCOUNT);
    UINT argErr = 99;
    EXPECT_EQ(Call(p, L"Sub", {_variant_t(L"abc"), _variant_t(1.0)}, &r, nullptr, &argErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 1u); // the first argument sits last in rgvarg
    EXPECT_EQ(Call(p, L"Sub", {_variant_t(1.0), _variant_t(1.0)}, &r, nullptr, nullptr, DISPATCH_PROPERTYPUT),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(p->Invoke(1, IID_IDispatch, 0, DISPATCH_METHOD, nullptr, &r, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);

    EXCEPINFO info = {};
    EXPECT_EQ(Call(p, L"Fail", {_variant_t(int(E_ACCESSDENIED))}, &r, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, E_ACCESSDENIED);
    EXPECT_STREQ(info.bstrDescription, L"failed on purpose");
    QyrClearExcepInfo(&info);
}

TEST(DispatchMap, PropertiesGetAndPut)
{
    CBaseHost host;
    IDispatch* p = host.GetIDispatch(FALSE);
    const DISPID id = IdOf(p, L"count");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R8;
    value.dblVal = 12.0;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put = {&value, &named, 1, 1};
    ASSERT_EQ(p->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(host.m_count, 12);

    DISPPARAMS unnamed = {&value, nullptr, 1, 0};
    EXPECT_EQ(p->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed, nullptr, nullptr, nullptr),
              DISP_E_PARAMNOTOPTIONAL);

    _variant_t r;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    ASSERT_EQ(p->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &r, nullptr, nullptr), S_OK);
    EXPECT_EQ(r.vt, VT_I4);
    EXPECT_EQ(r.lVal, 12);
}

TEST(DispatchMap, MembersEnumerateInMapOrder)
{
    CDerivedHost host;
    CComQIPtr<IDispatchEx> ex(host.GetControllingUnknown());
    ASSERT_TRUE(ex);
    std::vector<std::wstring> names;
    DISPID id = DISPID_STARTENUM;
    while (ex->GetNextDispID(fdexEnumAll, id, &id) == S_OK)
    {
        BSTR name = nullptr;
        ASSERT_EQ(ex->GetMemberName(id, &name), S_OK);
        names.emplace_back(name);
        SysFreeString(name);
    }
    const std::vector<std::wstring> expected = {L"Extra",      L"Sub",   L"Echo", L"Fail", L"Half",
                                                L"IsPositive", L"Count", L"Same", L"Fixed"};
    EXPECT_EQ(names, expected);
}

TEST(DispatchMap, IdentityAndLifetime)
{
    g_destroyed = 0;
    auto* host = new CDerivedHost;
    EXPECT_EQ(host->GetRefCount(), 1u);
    IDispatch* p = host->GetIDispatch(TRUE);
    EXPECT_EQ(host->GetRefCount(), 2u);

    IUnknown* a = nullptr;
    IUnknown* b = nullptr;
    ASSERT_EQ(p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a)), S_OK);
    ASSERT_EQ(p->QueryInterface(CDerivedHost::kPrivateIid, reinterpret_cast<void**>(&b)), S_OK);
    EXPECT_EQ(a, b);
    void* none = nullptr;
    EXPECT_EQ(p->QueryInterface(GUID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}, &none), E_NOINTERFACE);
    a->Release();
    b->Release();

    p->Release();
    EXPECT_EQ(g_destroyed, 0);
    host->ExternalRelease();
    EXPECT_EQ(g_destroyed, 1);

    // Without automation there is no dispatch interface.
    CCmdTargetDispatch plain;
    EXPECT_EQ(plain.GetIDispatch(FALSE), nullptr);
}
