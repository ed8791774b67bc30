#include "com/Com.h"

#include "CountedUnknown.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ComUtilTest, BstrWrapperSharesAndConverts)
{
    _bstr_t a(L"Gr\u00fc\u00df");
    _bstr_t b = a;
    EXPECT_EQ(static_cast<const wchar_t*>(a), static_cast<const wchar_t*>(b)); // shared
    EXPECT_STREQ("Gr\xC3\xBC\xC3\x9F", static_cast<const char*>(a));
    EXPECT_EQ(4u, a.length());
    b += L" x";
    EXPECT_STREQ(L"Gr\u00fc\u00df", static_cast<const wchar_t*>(a));
    EXPECT_STREQ(L"Gr\u00fc\u00df x", static_cast<const wchar_t*>(b));
    EXPECT_TRUE(_bstr_t("abc") == _bstr_t(L"abc"));
    EXPECT_TRUE(_bstr_t(L"abc") < _bstr_t(L"abd"));
    EXPECT_TRUE(_bstr_t() == _bstr_t(L""));
    EXPECT_TRUE(!_bstr_t());
    EXPECT_EQ(nullptr, static_cast<const char*>(_bstr_t()));
    EXPECT_STREQ(L"x-y", static_cast<const wchar_t*>(L"x-" + _bstr_t("y")));

    BSTR owned = SysAllocString(L"owned");
    _bstr_t attached(owned, false);
    EXPECT_EQ(owned, static_cast<const wchar_t*>(attached));
    BSTR detached = attached.Detach();
    EXPECT_EQ(owned, detached);
    EXPECT_TRUE(!attached);
    SysFreeString(detached);

    _bstr_t out;
    *out.GetAddress() = SysAllocString(L"filled");
    EXPECT_STREQ("filled", static_cast<const char*>(out));
    BSTR copy = out.copy();
    EXPECT_NE(copy, static_cast<const wchar_t*>(out));
    SysFreeString(copy);

    EXPECT_STREQ(L"12", static_cast<const wchar_t*>(_bstr_t(_variant_t(12))));
}

TEST(ComUtilTest, VariantWrapperConstructsConvertsAndThrows)
{
    EXPECT_EQ(VT_I4, _variant_t(5).vt);
    EXPECT_EQ(VT_I4, _variant_t(LONG(5)).vt);
    EXPECT_EQ(VT_I8, _variant_t(LONGLONG(5)).vt);
    EXPECT_EQ(VT_BOOL, _variant_t(true).vt);
    EXPECT_EQ(VT_BOOL, _variant_t(short(1), VT_BOOL).vt);
    EXPECT_EQ(VT_DATE, _variant_t(1.5, VT_DATE).vt);
    EXPECT_EQ(VT_ERROR, _variant_t(5, VT_ERROR).vt);
    EXPECT_EQ(VT_BSTR, _variant_t("text").vt);
    EXPECT_EQ(VT_UI1, _variant_t(BYTE(1)).vt);

    _variant_t text(L"42");
    EXPECT_EQ(42, static_cast<int>(text));
    EXPECT_DOUBLE_EQ(42.0, static_cast<double>(text));
    EXPECT_TRUE(static_cast<bool>(text));
    EXPECT_STREQ(L"2.5", static_cast<const wchar_t*>(static_cast<_bstr_t>(_variant_t(2.5))));
    EXPECT_EQ(VT_BSTR, text.vt); // extractors leave the variant as it is

    try
    {
        (void)static_cast<short>(_variant_t(L"not a number"));
        FAIL() << "no exception";
    }
    catch (const _com_error& e)
    {
        EXPECT_EQ(DISP_E_TYPEMISMATCH, e.Error());
        EXPECT_STREQ(L"Type mismatch.", e.ErrorMessage());
    }
    EXPECT_THROW((void)static_cast<BYTE>(_variant_t(256)), _com_error);

    _variant_t v(L"7");
    v.ChangeType(VT_I2);
    EXPECT_EQ(VT_I2, v.vt);
    EXPECT_EQ(7, v.iVal);
    EXPECT_THROW(v.ChangeType(VT_DISPATCH), _com_error);

    CCountedUnknown unk;
    {
        _variant_t holder(static_cast<IUnknown*>(&unk));
        _variant_t second = holder;
        EXPECT_EQ(3, unk.Refs());
        IUnknown* p = holder;
        EXPECT_EQ(4, unk.Refs());
        p->Release();
        _variant_t moved(std::move(second));
        EXPECT_EQ(VT_EMPTY, second.vt);
        VARIANT raw = moved.Detach();
        EXPECT_EQ(3, unk.Refs());
        VariantClear(&raw);
    }
    EXPECT_EQ(1, unk.Refs());

    _variant_t a(L"same"), b(L"same"), c(L"other");
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a != c);
    EXPECT_TRUE(_variant_t(1) != _variant_t(short(1)));
}

TEST(ComErrorTest, MessagesAndDescriptions)
{
    struct Case
    {
        HRESULT hr;
        const wchar_t* message;
    } cases[] = {
        {E_FAIL, L"Unspecified error"},
        {E_NOINTERFACE, L"No such interface supported"},
        {E_INVALIDARG, L"The parameter is incorrect."},
        {DISP_E_ARRAYISLOCKED, L"Memory is locked."},
        {HRESULT(0x80040205u), L"IDispatch error #5"},
        {HRESULT(0x8123ABCDu), L"Unknown error 0x8123ABCD"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.message, _com_error(c.hr).ErrorMessage()) << std::hex << c.hr;

    EXPECT_EQ(5, _com_error(HRESULT(0x80040205u)).WCode());
    EXPECT_EQ(0, _com_error(E_FAIL).WCode());
    EXPECT_TRUE(!_com_error(E_FAIL).Description());
    const _com_error described(DISP_E_EXCEPTION, L"Script failed", L"JScript");
    const _com_error copied = described;
    EXPECT_STREQ(L"Script failed", static_cast<const wchar_t*>(copied.Description()));
    EXPECT_STREQ(L"JScript", static_cast<const wchar_t*>(copied.Source()));
    EXPECT_THROW(_com_issue_error(E_POINTER), _com_error);
}
