// _bstr_t and _variant_t: owning wrappers of BSTR and VARIANT. Failed conversions and allocations
// throw _com_error (through _com_issue_error).
#pragma once

#include "com/Variant.h"

#include <memory>
#include <string>

// Throws _com_error(hr); defined with _com_error in ComError.cpp.
[[noreturn]] void _com_issue_error(HRESULT hr);

class _variant_t;

// Copies share one reference-counted BSTR, as the original wrapper does; assignments give the
// object a new one. The narrow form (operator const char*) is UTF-8, made when first asked for.
class _bstr_t
{
public:
    _bstr_t() noexcept = default;
    _bstr_t(const _bstr_t& s) noexcept = default;
    _bstr_t(_bstr_t&& s) noexcept = default;
    _bstr_t(const char* s);
    _bstr_t(const wchar_t* s);
    _bstr_t(const std::wstring& s);
    _bstr_t(const _variant_t& var);
    // fCopy false takes ownership of bstr.
    _bstr_t(BSTR bstr, bool fCopy);
    ~_bstr_t() = default;

    _bstr_t& operator=(const _bstr_t& s) noexcept = default;
    _bstr_t& operator=(_bstr_t&& s) noexcept = default;
    _bstr_t& operator=(const char* s);
    _bstr_t& operator=(const wchar_t* s);
    _bstr_t& operator=(const _variant_t& var);

    _bstr_t& operator+=(const _bstr_t& s);
    _bstr_t operator+(const _bstr_t& s) const;
    friend _bstr_t operator+(const char* s1, const _bstr_t& s2);
    friend _bstr_t operator+(const wchar_t* s1, const _bstr_t& s2);

    operator const wchar_t*() const noexcept;
    operator wchar_t*() const noexcept;
    operator const char*() const;
    bool operator!() const noexcept;
    bool operator==(const _bstr_t& s) const noexcept;
    bool operator!=(const _bstr_t& s) const noexcept;
    bool operator<(const _bstr_t& s) const noexcept;
    bool operator>(const _bstr_t& s) const noexcept;
    bool operator<=(const _bstr_t& s) const noexcept;
    bool operator>=(const _bstr_t& s) const noexcept;

    // A new BSTR the caller owns (fCopy), or the wrapped one.
    BSTR copy(bool fCopy = true) const;
    unsigned int length() const noexcept;
    // Takes ownership of s / gives up ownership of the wrapped BSTR (null when empty).
    void Attach(BSTR s);
    BSTR Detach();
    void Assign(BSTR s);
    // The wrapped BSTR itself, which stays owned by the wrapper.
    BSTR& GetBSTR();
    // Frees the text and returns the address of an empty BSTR to be filled by an [out] call.
    BSTR* GetAddress();

private:
    struct Data;
    void Own(BSTR s);
    std::shared_ptr<Data> m_data;
};

// A VARIANT that frees what it holds. int and LONG values are VT_I4, 64-bit integers VT_I8.
class _variant_t : public VARIANT
{
public:
    _variant_t() noexcept;
    _variant_t(const VARIANT& varSrc);
    _variant_t(const VARIANT* pSrc);
    _variant_t(const _variant_t& varSrc);
    _variant_t(_variant_t&& varSrc) noexcept;
    // fCopy false takes over varSrc, which is left VT_EMPTY.
    _variant_t(VARIANT& varSrc, bool fCopy);
    // VT_I2 or VT_BOOL.
    _variant_t(short sSrc, VARTYPE vtSrc = VT_I2);
    // VT_I4, VT_INT or VT_ERROR.
    _variant_t(int lSrc, VARTYPE vtSrc = VT_I4);
    _variant_t(long lSrc);
    _variant_t(long long llSrc);
    _variant_t(float fltSrc) noexcept;
    // VT_R8 or VT_DATE.
    _variant_t(double dblSrc, VARTYPE vtSrc = VT_R8);
    _variant_t(const CY& cySrc) noexcept;
    _variant_t(const _bstr_t& bstrSrc);
    _variant_t(const wchar_t* pSrc);
    _variant_t(const char* pSrc);
    _variant_t(IDispatch* pSrc, bool fAddRef = true) noexcept;
    _variant_t(bool boolSrc) noexcept;
    _variant_t(IUnknown* pSrc, bool fAddRef = true) noexcept;
    _variant_t(BYTE bSrc) noexcept;
    _variant_t(char cSrc) noexcept;
    _variant_t(unsigned short usSrc) noexcept;
    _variant_t(unsigned int uiSrc, VARTYPE vtSrc = VT_UI4);
    _variant_t(unsigned long ulSrc);
    _variant_t(unsigned long long ullSrc);
    ~_variant_t();

    _variant_t& operator=(const VARIANT& varSrc);
    _variant_t& operator=(const VARIANT* pSrc);
    _variant_t& operator=(const _variant_t& varSrc);
    _variant_t& operator=(_variant_t&& varSrc) noexcept;
    _variant_t& operator=(short sSrc);
    _variant_t& operator=(int lSrc);
    _variant_t& operator=(long lSrc);
    _variant_t& operator=(long long llSrc);
    _variant_t& operator=(float fltSrc);
    _variant_t& operator=(double dblSrc);
    _variant_t& operator=(const CY& cySrc);
    _variant_t& operator=(const _bstr_t& bstrSrc);
    _variant_t& operator=(const wchar_t* pSrc);
    _variant_t& operator=(const char* pSrc);
    _variant_t& operator=(IDispatch* pSrc);
    _variant_t& operator=(bool boolSrc);
    _variant_t& operator=(IUnknown* pSrc);
    _variant_t& operator=(BYTE bSrc);
    _variant_t& operator=(char cSrc);
    _variant_t& operator=(unsigned short usSrc);
    _variant_t& operator=(unsigned int uiSrc);
    _variant_t& operator=(unsigned long ulSrc);
    _variant_t& operator=(unsigned long long ullSrc);

    // Same type and value (strings by their text, interfaces by address, arrays by identity).
    // The _variant_t forms make a comparison of two _variant_t one exact match, the same both ways
    // round, rather than two conversions to VARIANT.
    bool operator==(const _variant_t& varSrc) const noexcept;
    bool operator==(const VARIANT& varSrc) const noexcept;
    bool operator==(const VARIANT* pSrc) const noexcept;
    bool operator!=(const _variant_t& varSrc) const noexcept;
    bool operator!=(const VARIANT& varSrc) const noexcept;
    bool operator!=(const VARIANT* pSrc) const noexcept;

    // Extractors convert with VariantChangeType and throw _com_error when that fails.
    operator short() const;
    operator int() const;
    operator long() const;
    operator long long() const;
    operator float() const;
    operator double() const;
    operator CY() const;
    operator _bstr_t() const;
    operator IDispatch*() const;
    operator bool() const;
    operator IUnknown*() const;
    operator BYTE() const;
    operator char() const;
    operator unsigned short() const;
    operator unsigned int() const;
    operator unsigned long() const;
    operator unsigned long long() const;

    void Clear();
    void Attach(VARIANT& varSrc);
    VARIANT Detach() noexcept;
    VARIANT& GetVARIANT() noexcept;
    // Clears and returns the address for an [out] call to fill.
    VARIANT* GetAddress();
    // Converts this (or pSrc into this) in place; throws on failure.
    void ChangeType(VARTYPE vartype, const _variant_t* pSrc = nullptr);
    void SetString(const char* pSrc);
};
