#include "com/ComUtil.h"

#include "com/ComError.h"
#include "com/VariantPriv.h"
#include "win32/Utf.h"

#include <cstring>
#include <mutex>
#include <string_view>

// ---- _bstr_t ----

struct _bstr_t::Data
{
    BSTR wide = nullptr;
    std::mutex mutex;
    std::string narrow;
    BSTR narrowFor = nullptr; // the text the narrow form was made from
    UINT narrowLen = 0;

    explicit Data(BSTR s) : wide(s) {}
    ~Data() { SysFreeString(wide); }
    Data(const Data&) = delete;
    Data& operator=(const Data&) = delete;
};

namespace
{

BSTR CopyOf(const wchar_t* s, size_t n)
{
    BSTR b = SysAllocStringLen(s, UINT(n));
    if (!b)
        _com_issue_error(E_OUTOFMEMORY);
    return b;
}

std::wstring_view View(BSTR s)
{
    return s ? std::wstring_view(s, SysStringLen(s)) : std::wstring_view();
}

} // namespace

void _bstr_t::Own(BSTR s)
{
    m_data = std::make_shared<Data>(s);
}

_bstr_t::_bstr_t(const char* s)
{
    if (s)
    {
        const std::wstring w = Utf8ToWide(s);
        Own(CopyOf(w.data(), w.size()));
    }
}

_bstr_t::_bstr_t(const wchar_t* s)
{
    if (s)
        Own(CopyOf(s, std::wcslen(s)));
}

_bstr_t::_bstr_t(const std::wstring& s)
{
    Own(CopyOf(s.data(), s.size()));
}

_bstr_t::_bstr_t(const _variant_t& var)
{
    if (var.vt == VT_BSTR)
    {
        if (var.bstrVal)
            Own(CopyOf(var.bstrVal, SysStringLen(var.bstrVal)));
        return;
    }
    VARIANT tmp;
    VariantInit(&tmp);
    const HRESULT hr = VariantChangeType(&tmp, &var, 0, VT_BSTR);
    if (FAILED(hr))
        _com_issue_error(hr);
    Own(tmp.bstrVal);
}

_bstr_t::_bstr_t(BSTR bstr, bool fCopy)
{
    if (fCopy)
    {
        if (bstr)
            Own(CopyOf(bstr, SysStringLen(bstr)));
    }
    else
        Own(bstr);
}

_bstr_t& _bstr_t::operator=(const char* s)
{
    return *this = _bstr_t(s);
}
_bstr_t& _bstr_t::operator=(const wchar_t* s)
{
    return *this = _bstr_t(s);
}
_bstr_t& _bstr_t::operator=(const _variant_t& var)
{
    return *this = _bstr_t(var);
}

_bstr_t& _bstr_t::operator+=(const _bstr_t& s)
{
    const std::wstring joined = std::wstring(View(*this)) + std::wstring(View(s));
    if (!m_data && !s.m_data)
        return *this;
    Own(CopyOf(joined.data(), joined.size()));
    return *this;
}

_bstr_t _bstr_t::operator+(const _bstr_t& s) const
{
    _bstr_t r(*this);
    r += s;
    return r;
}

_bstr_t operator+(const char* s1, const _bstr_t& s2)
{
    return _bstr_t(s1) + s2;
}
_bstr_t operator+(const wchar_t* s1, const _bstr_t& s2)
{
    return _bstr_t(s1) + s2;
}

_bstr_t::operator const wchar_t*() const noexcept
{
    return m_data ? m_data->wide : nullptr;
}
_bstr_t::operator wchar_t*() const noexcept
{
    return m_data ? m_data->wide : nullptr;
}

_bstr_t::operator const char*() const
{
    if (!m_data || !m_data->wide)
        return nullptr;
    std::lock_guard lock(m_data->mutex);
    const UINT len = SysStringLen(m_data->wide);
    if (m_data->narrowFor != m_data->wide || m_data->narrowLen != len)
    {
        m_data->narrow = WideToUtf8(View(m_data->wide));
        m_data->narrowFor = m_data->wide;
        m_data->narrowLen = len;
    }
    return m_data->narrow.c_str();
}

bool _bstr_t::operator!() const noexcept
{
    return !m_data || !m_data->wide;
}
bool _bstr_t::operator==(const _bstr_t& s) const noexcept
{
    return View(*this) == View(s);
}
bool _bstr_t::operator!=(const _bstr_t& s) const noexcept
{
    return View(*this) != View(s);
}
bool _bstr_t::operator<(const _bstr_t& s) const noexcept
{
    return View(*this) < View(s);
}
bool _bstr_t::operator>(const _bstr_t& s) const noexcept
{
    return View(*this) > View(s);
}
bool _bstr_t::operator<=(const _bstr_t& s) const noexcept
{
    return View(*this) <= View(s);
}
bool _bstr_t::operator>=(const _bstr_t& s) const noexcept
{
    return View(*this) >= View(s);
}

BSTR _bstr_t::copy(bool fCopy) const
{
    BSTR s = *this;
    if (!fCopy || !s)
        return s;
    return CopyOf(s, SysStringLen(s));
}

unsigned int _bstr_t::length() const noexcept
{
    return m_data ? SysStringLen(m_data->wide) : 0;
}

void _bstr_t::Attach(BSTR s)
{
    Own(s);
}

BSTR _bstr_t::Detach()
{
    if (!m_data)
        return nullptr;
    BSTR s;
    if (m_data.use_count() == 1)
    {
        s = m_data->wide;
        m_data->wide = nullptr;
    }
    else
        s = copy(true); // shared with other copies: they keep theirs
    m_data.reset();
    return s;
}

void _bstr_t::Assign(BSTR s)
{
    if (!s)
    {
        m_data.reset();
        return;
    }
    Own(CopyOf(s, SysStringLen(s)));
}

BSTR& _bstr_t::GetBSTR()
{
    if (!m_data)
        Own(nullptr);
    return m_data->wide;
}

BSTR* _bstr_t::GetAddress()
{
    Own(nullptr);
    return &m_data->wide;
}

// ---- _variant_t ----

namespace
{

void Check(HRESULT hr)
{
    if (FAILED(hr))
        _com_issue_error(hr);
}

// The value converted to vt in a temporary the caller must clear.
VARIANT Converted(const VARIANT& v, VARTYPE vt)
{
    VARIANT tmp;
    VariantInit(&tmp);
    Check(VariantChangeType(&tmp, &v, 0, vt));
    return tmp;
}

} // namespace

_variant_t::_variant_t() noexcept
{
    VariantInit(this);
}

_variant_t::_variant_t(const VARIANT& varSrc)
{
    VariantInit(this);
    Check(VariantCopy(this, &varSrc));
}

_variant_t::_variant_t(const VARIANT* pSrc)
{
    VariantInit(this);
    if (!pSrc)
        _com_issue_error(E_POINTER);
    Check(VariantCopy(this, pSrc));
}

_variant_t::_variant_t(const _variant_t& varSrc)
{
    VariantInit(this);
    Check(VariantCopy(this, &varSrc));
}

_variant_t::_variant_t(_variant_t&& varSrc) noexcept
{
    std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&varSrc), sizeof(VARIANT));
    VariantInit(&varSrc);
}

_variant_t::_variant_t(VARIANT& varSrc, bool fCopy)
{
    VariantInit(this);
    if (fCopy)
        Check(VariantCopy(this, &varSrc));
    else
    {
        std::memcpy(static_cast<VARIANT*>(this), &varSrc, sizeof(VARIANT));
        VariantInit(&varSrc);
    }
}

_variant_t::_variant_t(short sSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc != VT_I2 && vtSrc != VT_BOOL)
        _com_issue_error(E_INVALIDARG);
    vt = vtSrc;
    if (vtSrc == VT_BOOL)
        boolVal = sSrc ? VARIANT_TRUE : VARIANT_FALSE;
    else
        iVal = sSrc;
}

_variant_t::_variant_t(int lSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc != VT_I4 && vtSrc != VT_INT && vtSrc != VT_ERROR && vtSrc != VT_BOOL)
        _com_issue_error(E_INVALIDARG);
    vt = vtSrc;
    if (vtSrc == VT_BOOL)
        boolVal = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
    else
        lVal = lSrc;
}

_variant_t::_variant_t(long lSrc)
{
    VariantInit(this);
    vt = VT_I8;
    llVal = lSrc;
}

_variant_t::_variant_t(long long llSrc)
{
    VariantInit(this);
    vt = VT_I8;
    llVal = llSrc;
}

_variant_t::_variant_t(float fltSrc) noexcept
{
    VariantInit(this);
    vt = VT_R4;
    fltVal = fltSrc;
}

_variant_t::_variant_t(double dblSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc != VT_R8 && vtSrc != VT_DATE)
        _com_issue_error(E_INVALIDARG);
    vt = vtSrc;
    dblVal = dblSrc;
}

_variant_t::_variant_t(const CY& cySrc) noexcept
{
    VariantInit(this);
    vt = VT_CY;
    cyVal = cySrc;
}

_variant_t::_variant_t(const _bstr_t& bstrSrc)
{
    VariantInit(this);
    bstrVal = bstrSrc.copy();
    vt = VT_BSTR;
}

_variant_t::_variant_t(const wchar_t* pSrc)
{
    VariantInit(this);
    if (pSrc)
    {
        bstrVal = SysAllocString(pSrc);
        if (!bstrVal)
            _com_issue_error(E_OUTOFMEMORY);
    }
    vt = VT_BSTR;
}

_variant_t::_variant_t(const char* pSrc)
{
    VariantInit(this);
    SetString(pSrc);
}

_variant_t::_variant_t(IDispatch* pSrc, bool fAddRef) noexcept
{
    VariantInit(this);
    vt = VT_DISPATCH;
    pdispVal = pSrc;
    if (pSrc && fAddRef)
        DispatchAsUnknown(pSrc)->AddRef();
}

_variant_t::_variant_t(bool boolSrc) noexcept
{
    VariantInit(this);
    vt = VT_BOOL;
    boolVal = boolSrc ? VARIANT_TRUE : VARIANT_FALSE;
}

_variant_t::_variant_t(IUnknown* pSrc, bool fAddRef) noexcept
{
    VariantInit(this);
    vt = VT_UNKNOWN;
    punkVal = pSrc;
    if (pSrc && fAddRef)
        pSrc->AddRef();
}

_variant_t::_variant_t(BYTE bSrc) noexcept
{
    VariantInit(this);
    vt = VT_UI1;
    bVal = bSrc;
}

_variant_t::_variant_t(char cSrc) noexcept
{
    VariantInit(this);
    vt = VT_I1;
    cVal = cSrc;
}

_variant_t::_variant_t(unsigned short usSrc) noexcept
{
    VariantInit(this);
    vt = VT_UI2;
    uiVal = usSrc;
}

_variant_t::_variant_t(unsigned int uiSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc != VT_UI4 && vtSrc != VT_UINT)
        _com_issue_error(E_INVALIDARG);
    vt = vtSrc;
    ulVal = uiSrc;
}

_variant_t::_variant_t(unsigned long ulSrc)
{
    VariantInit(this);
    vt = VT_UI8;
    ullVal = ulSrc;
}

_variant_t::_variant_t(unsigned long long ullSrc)
{
    VariantInit(this);
    vt = VT_UI8;
    ullVal = ullSrc;
}

_variant_t::~_variant_t()
{
    VariantClear(this);
}

_variant_t& _variant_t::operator=(const VARIANT& varSrc)
{
    Check(VariantCopy(this, &varSrc));
    return *this;
}

_variant_t& _variant_t::operator=(const VARIANT* pSrc)
{
    if (!pSrc)
        _com_issue_error(E_POINTER);
    Check(VariantCopy(this, pSrc));
    return *this;
}

_variant_t& _variant_t::operator=(const _variant_t& varSrc)
{
    Check(VariantCopy(this, &varSrc));
    return *this;
}

_variant_t& _variant_t::operator=(_variant_t&& varSrc) noexcept
{
    if (this != &varSrc)
    {
        VariantClear(this);
        std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&varSrc), sizeof(VARIANT));
        VariantInit(&varSrc);
    }
    return *this;
}

_variant_t& _variant_t::operator=(short sSrc)
{
    return *this = _variant_t(sSrc);
}
_variant_t& _variant_t::operator=(int lSrc)
{
    return *this = _variant_t(lSrc);
}
_variant_t& _variant_t::operator=(long lSrc)
{
    return *this = _variant_t(lSrc);
}
_variant_t& _variant_t::operator=(long long llSrc)
{
    return *this = _variant_t(llSrc);
}
_variant_t& _variant_t::operator=(float fltSrc)
{
    return *this = _variant_t(fltSrc);
}
_variant_t& _variant_t::operator=(double dblSrc)
{
    return *this = _variant_t(dblSrc);
}
_variant_t& _variant_t::operator=(const CY& cySrc)
{
    return *this = _variant_t(cySrc);
}
_variant_t& _variant_t::operator=(const _bstr_t& bstrSrc)
{
    return *this = _variant_t(bstrSrc);
}
_variant_t& _variant_t::operator=(const wchar_t* pSrc)
{
    return *this = _variant_t(pSrc);
}
_variant_t& _variant_t::operator=(const char* pSrc)
{
    return *this = _variant_t(pSrc);
}
_variant_t& _variant_t::operator=(IDispatch* pSrc)
{
    return *this = _variant_t(pSrc);
}
_variant_t& _variant_t::operator=(bool boolSrc)
{
    return *this = _variant_t(boolSrc);
}
_variant_t& _variant_t::operator=(IUnknown* pSrc)
{
    return *this = _variant_t(pSrc);
}
_variant_t& _variant_t::operator=(BYTE bSrc)
{
    return *this = _variant_t(bSrc);
}
_variant_t& _variant_t::operator=(char cSrc)
{
    return *this = _variant_t(cSrc);
}
_variant_t& _variant_t::operator=(unsigned short usSrc)
{
    return *this = _variant_t(usSrc);
}
_variant_t& _variant_t::operator=(unsigned int uiSrc)
{
    return *this = _variant_t(uiSrc);
}
_variant_t& _variant_t::operator=(unsigned long ulSrc)
{
    return *this = _variant_t(ulSrc);
}
_variant_t& _variant_t::operator=(unsigned long long ullSrc)
{
    return *this = _variant_t(ullSrc);
}

bool _variant_t::operator==(const VARIANT& v) const noexcept
{
    if (vt != v.vt)
        return false;
    if (vt & (VT_BYREF | VT_ARRAY))
        return byref == v.byref;
    switch (vt)
    {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_BSTR:
        return View(bstrVal) == View(v.bstrVal);
    case VT_R4:
        return fltVal == v.fltVal;
    case VT_R8:
    case VT_DATE:
        return dblVal == v.dblVal;
    case VT_BOOL:
        return (boolVal != 0) == (v.boolVal != 0);
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return punkVal == v.punkVal;
    default:
    {
        const size_t size = ComPriv::ScalarSize(vt);
        return size && std::memcmp(&llVal, &v.llVal, size) == 0;
    }
    }
}

bool _variant_t::operator==(const _variant_t& varSrc) const noexcept
{
    return *this == static_cast<const VARIANT&>(varSrc);
}
bool _variant_t::operator==(const VARIANT* pSrc) const noexcept
{
    return pSrc && *this == *pSrc;
}
bool _variant_t::operator!=(const _variant_t& varSrc) const noexcept
{
    return !(*this == varSrc);
}
bool _variant_t::operator!=(const VARIANT& varSrc) const noexcept
{
    return !(*this == varSrc);
}
bool _variant_t::operator!=(const VARIANT* pSrc) const noexcept
{
    return !(*this == pSrc);
}

namespace
{

// The member for vartype, converting a copy when the variant holds another type.
template <typename T, typename M> T Extract(const VARIANT& v, VARTYPE want, M VARIANT::*member)
{
    if (v.vt == want)
        return T(v.*member);
    const VARIANT tmp = Converted(v, want);
    return T(tmp.*member);
}

} // namespace

_variant_t::operator short() const
{
    return Extract<short>(*this, VT_I2, &VARIANT::iVal);
}
_variant_t::operator int() const
{
    return Extract<int>(*this, VT_I4, &VARIANT::lVal);
}
_variant_t::operator long() const
{
    return Extract<long>(*this, VT_I8, &VARIANT::llVal);
}
_variant_t::operator long long() const
{
    return Extract<long long>(*this, VT_I8, &VARIANT::llVal);
}
_variant_t::operator float() const
{
    return Extract<float>(*this, VT_R4, &VARIANT::fltVal);
}
_variant_t::operator double() const
{
    return Extract<double>(*this, VT_R8, &VARIANT::dblVal);
}
_variant_t::operator CY() const
{
    return Extract<CY>(*this, VT_CY, &VARIANT::cyVal);
}
_variant_t::operator BYTE() const
{
    return Extract<BYTE>(*this, VT_UI1, &VARIANT::bVal);
}
_variant_t::operator char() const
{
    return Extract<char>(*this, VT_I1, &VARIANT::cVal);
}
_variant_t::operator unsigned short() const
{
    return Extract<unsigned short>(*this, VT_UI2, &VARIANT::uiVal);
}
_variant_t::operator unsigned int() const
{
    return Extract<unsigned int>(*this, VT_UI4, &VARIANT::ulVal);
}
_variant_t::operator unsigned long() const
{
    return Extract<unsigned long>(*this, VT_UI8, &VARIANT::ullVal);
}
_variant_t::operator unsigned long long() const
{
    return Extract<unsigned long long>(*this, VT_UI8, &VARIANT::ullVal);
}

_variant_t::operator bool() const
{
    if (vt == VT_BOOL)
        return boolVal != 0;
    VARIANT tmp = Converted(*this, VT_BOOL);
    return tmp.boolVal != 0;
}

_variant_t::operator _bstr_t() const
{
    if (vt == VT_BSTR)
        return _bstr_t(bstrVal, true);
    VARIANT tmp = Converted(*this, VT_BSTR);
    return _bstr_t(tmp.bstrVal, false);
}

_variant_t::operator IDispatch*() const
{
    if (vt == VT_DISPATCH)
    {
        if (pdispVal)
            DispatchAsUnknown(pdispVal)->AddRef();
        return pdispVal;
    }
    VARIANT tmp = Converted(*this, VT_DISPATCH);
    return tmp.pdispVal; // the conversion's reference goes to the caller
}

_variant_t::operator IUnknown*() const
{
    if (vt == VT_UNKNOWN)
    {
        if (punkVal)
            punkVal->AddRef();
        return punkVal;
    }
    VARIANT tmp = Converted(*this, VT_UNKNOWN);
    return tmp.punkVal;
}

void _variant_t::Clear()
{
    Check(VariantClear(this));
}

void _variant_t::Attach(VARIANT& varSrc)
{
    Clear();
    std::memcpy(static_cast<VARIANT*>(this), &varSrc, sizeof(VARIANT));
    VariantInit(&varSrc);
}

VARIANT _variant_t::Detach() noexcept
{
    VARIANT v;
    std::memcpy(&v, static_cast<VARIANT*>(this), sizeof(VARIANT));
    VariantInit(this);
    return v;
}

VARIANT& _variant_t::GetVARIANT() noexcept
{
    return *this;
}

VARIANT* _variant_t::GetAddress()
{
    Clear();
    return this;
}

void _variant_t::ChangeType(VARTYPE vartype, const _variant_t* pSrc)
{
    Check(VariantChangeType(this, pSrc ? pSrc : this, 0, vartype));
}

void _variant_t::SetString(const char* pSrc)
{
    BSTR s = nullptr;
    if (pSrc)
    {
        const std::wstring w = Utf8ToWide(pSrc);
        s = SysAllocStringLen(w.data(), UINT(w.size()));
        if (!s)
            _com_issue_error(E_OUTOFMEMORY);
    }
    VariantClear(this);
    vt = VT_BSTR;
    bstrVal = s;
}
