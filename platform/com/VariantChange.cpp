// VariantChangeType: conversions between the value types of a VARIANT.
#include "com/SafeArray.h"
#include "com/Variant.h"

#include "com/VariantPriv.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <limits>
#include <string>

namespace
{

// {00020400-0000-0000-C000-000000000046}
constexpr GUID kIidDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr double kMinDate = -657434.0;
constexpr double kMaxDate = 2958466.0; // exclusive: 10000-01-01

// A number taken from a VARIANT: a signed or unsigned integer, a real, or currency (scaled by 10000).
struct Num
{
    enum Kind
    {
        Int,
        UInt,
        Real,
        Cy
    } kind = Int;
    int64_t i = 0;
    uint64_t u = 0;
    double r = 0;
    bool fromBool = false;
    bool overflow = false; // text beyond any number's range
};

bool IsIntegerType(VARTYPE vt)
{
    switch (vt)
    {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
        return true;
    default:
        return false;
    }
}

bool IsNumericType(VARTYPE vt)
{
    return IsIntegerType(vt) || vt == VT_R4 || vt == VT_R8 || vt == VT_CY || vt == VT_DATE || vt == VT_BOOL;
}

bool NumFromVariant(const VARIANT& v, Num& n)
{
    switch (v.vt)
    {
    case VT_EMPTY:
        n.kind = Num::Int;
        n.i = 0;
        return true;
    case VT_I1:
        n.i = v.cVal;
        return true;
    case VT_UI1:
        n.i = v.bVal;
        return true;
    case VT_I2:
        n.i = v.iVal;
        return true;
    case VT_UI2:
        n.i = v.uiVal;
        return true;
    case VT_I4:
        n.i = v.lVal;
        return true;
    case VT_UI4:
        n.i = v.ulVal;
        return true;
    case VT_INT:
        n.i = v.intVal;
        return true;
    case VT_UINT:
        n.i = v.uintVal;
        return true;
    case VT_I8:
        n.i = v.llVal;
        return true;
    case VT_UI8:
        n.kind = Num::UInt;
        n.u = v.ullVal;
        return true;
    case VT_BOOL:
        n.i = v.boolVal ? -1 : 0;
        n.fromBool = true;
        return true;
    case VT_R4:
        n.kind = Num::Real;
        n.r = v.fltVal;
        return true;
    case VT_R8:
        n.kind = Num::Real;
        n.r = v.dblVal;
        return true;
    case VT_DATE:
        n.kind = Num::Real;
        n.r = v.date;
        return true;
    case VT_CY:
        n.kind = Num::Cy;
        n.i = v.cyVal.int64;
        return true;
    default:
        return false;
    }
}

double AsDouble(const Num& n)
{
    switch (n.kind)
    {
    case Num::Int:
        return double(n.i);
    case Num::UInt:
        return double(n.u);
    case Num::Real:
        return n.r;
    case Num::Cy:
        return double(n.i) / 10000.0;
    }
    return 0;
}

bool IsZero(const Num& n)
{
    switch (n.kind)
    {
    case Num::Int:
    case Num::Cy:
        return n.i == 0;
    case Num::UInt:
        return n.u == 0;
    case Num::Real:
        return n.r == 0;
    }
    return true;
}

// Currency to integer, half to even.
int64_t RoundCy(int64_t cy)
{
    int64_t q = cy / 10000;
    const int64_t rem = cy % 10000;
    const int64_t absRem = rem < 0 ? -rem : rem;
    if (absRem > 5000 || (absRem == 5000 && (q & 1)))
        q += rem < 0 ? -1 : 1;
    return q;
}

// The number as a signed integer within [lo, hi].
HRESULT ToSigned(const Num& n, int64_t lo, int64_t hi, int64_t& out)
{
    switch (n.kind)
    {
    case Num::Int:
        out = n.i;
        break;
    case Num::UInt:
        if (n.u > uint64_t(std::numeric_limits<int64_t>::max()))
            return DISP_E_OVERFLOW;
        out = int64_t(n.u);
        break;
    case Num::Real:
    {
        if (std::isnan(n.r))
            return DISP_E_OVERFLOW;
        const double r = std::nearbyint(n.r); // the default rounding: half to even
        if (r < -9223372036854775808.0 || r >= 9223372036854775808.0)
            return DISP_E_OVERFLOW;
        out = int64_t(r);
        break;
    }
    case Num::Cy:
        out = RoundCy(n.i);
        break;
    }
    return (out < lo || out > hi) ? DISP_E_OVERFLOW : S_OK;
}

HRESULT ToUnsigned(const Num& n, uint64_t hi, uint64_t& out)
{
    if (n.fromBool)
    {
        out = n.i ? hi : 0; // true sets every bit
        return S_OK;
    }
    switch (n.kind)
    {
    case Num::UInt:
        out = n.u;
        break;
    case Num::Real:
    {
        if (std::isnan(n.r))
            return DISP_E_OVERFLOW;
        const double r = std::nearbyint(n.r);
        if (r < 0 || r >= 18446744073709551616.0)
            return DISP_E_OVERFLOW;
        out = uint64_t(r);
        break;
    }
    default:
    {
        int64_t s = 0;
        const HRESULT hr = ToSigned(n, 0, std::numeric_limits<int64_t>::max(), s);
        if (FAILED(hr))
            return hr;
        out = uint64_t(s);
        break;
    }
    }
    return out > hi ? DISP_E_OVERFLOW : S_OK;
}

HRESULT NumToVariant(const Num& n, VARTYPE vt, VARIANT& out)
{
    VariantInit(&out);
    int64_t s = 0;
    uint64_t u = 0;
    HRESULT hr = S_OK;
    switch (vt)
    {
    case VT_I1:
        hr = ToSigned(n, INT8_MIN, INT8_MAX, s);
        out.cVal = CHAR(s);
        break;
    case VT_I2:
        hr = ToSigned(n, INT16_MIN, INT16_MAX, s);
        out.iVal = SHORT(s);
        break;
    case VT_I4:
        hr = ToSigned(n, INT32_MIN, INT32_MAX, s);
        out.lVal = LONG(s);
        break;
    case VT_INT:
        hr = ToSigned(n, INT32_MIN, INT32_MAX, s);
        out.intVal = INT(s);
        break;
    case VT_I8:
        hr = ToSigned(n, INT64_MIN, INT64_MAX, s);
        out.llVal = s;
        break;
    case VT_UI1:
        hr = ToUnsigned(n, UINT8_MAX, u);
        out.bVal = BYTE(u);
        break;
    case VT_UI2:
        hr = ToUnsigned(n, UINT16_MAX, u);
        out.uiVal = USHORT(u);
        break;
    case VT_UI4:
        hr = ToUnsigned(n, UINT32_MAX, u);
        out.ulVal = ULONG(u);
        break;
    case VT_UINT:
        hr = ToUnsigned(n, UINT32_MAX, u);
        out.uintVal = UINT(u);
        break;
    case VT_UI8:
        hr = ToUnsigned(n, UINT64_MAX, u);
        out.ullVal = u;
        break;
    case VT_R4:
    {
        const double d = AsDouble(n);
        if (std::isfinite(d) && std::fabs(d) > double(FLT_MAX))
            return DISP_E_OVERFLOW;
        out.fltVal = float(d);
        break;
    }
    case VT_R8:
        out.dblVal = AsDouble(n);
        break;
    case VT_DATE:
    {
        const double d = AsDouble(n);
        if (!(d >= kMinDate && d < kMaxDate))
            return DISP_E_OVERFLOW;
        out.date = d;
        break;
    }
    case VT_CY:
    {
        if (n.kind == Num::Cy)
            out.cyVal.int64 = n.i;
        else if (n.kind == Num::Int)
        {
            if (n.i > INT64_MAX / 10000 || n.i < INT64_MIN / 10000)
                return DISP_E_OVERFLOW;
            out.cyVal.int64 = n.i * 10000;
        }
        else
        {
            const double scaled = std::nearbyint(AsDouble(n) * 10000.0);
            if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0))
                return DISP_E_OVERFLOW;
            out.cyVal.int64 = int64_t(scaled);
        }
        break;
    }
    case VT_BOOL:
        out.boolVal = IsZero(n) ? VARIANT_FALSE : VARIANT_TRUE;
        break;
    default:
        return DISP_E_TYPEMISMATCH;
    }
    if (SUCCEEDED(hr))
        out.vt = vt;
    return hr;
}

// ---- text ----

std::wstring Widen(const char* b, const char* e)
{
    return std::wstring(b, e);
}

std::wstring FormatReal(double d, int precision)
{
    if (std::isnan(d))
        return L"NaN";
    if (std::isinf(d))
        return d < 0 ? L"-Infinity" : L"Infinity";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof(buf), d, std::chars_format::general, precision);
    for (char* p = buf; p != res.ptr; ++p)
        if (*p == 'e')
            *p = 'E';
    return Widen(buf, res.ptr);
}

std::wstring FormatCy(int64_t cy)
{
    const bool negative = cy < 0;
    const uint64_t a = negative ? uint64_t(0) - uint64_t(cy) : uint64_t(cy);
    std::wstring s = std::to_wstring(a / 10000);
    uint64_t frac = a % 10000;
    if (frac)
    {
        wchar_t digits[8];
        swprintf(digits, 8, L"%04u", unsigned(frac));
        std::wstring f = digits;
        while (!f.empty() && f.back() == L'0')
            f.pop_back();
        s += L"." + f;
    }
    return negative ? L"-" + s : s;
}

std::wstring FormatDate(DATE d)
{
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(d, &st))
        return std::wstring();
    wchar_t buf[64];
    std::wstring out;
    const bool hasDate = int64_t(d) != 0;
    const bool hasTime = st.wHour || st.wMinute || st.wSecond;
    if (hasDate || !hasTime)
    {
        if (hasDate)
        {
            swprintf(buf, 64, L"%u/%u/%u", st.wMonth, st.wDay, st.wYear);
            out = buf;
        }
    }
    if (hasTime || !hasDate)
    {
        const unsigned h12 = st.wHour % 12 == 0 ? 12 : st.wHour % 12;
        swprintf(buf, 64, L"%u:%02u:%02u %ls", h12, st.wMinute, st.wSecond, st.wHour < 12 ? L"AM" : L"PM");
        if (!out.empty())
            out += L' ';
        out += buf;
    }
    return out;
}

std::wstring Trim(const wchar_t* s, size_t n)
{
    size_t b = 0, e = n;
    while (b < e && std::iswspace(wint_t(s[b])))
        ++b;
    while (e > b && std::iswspace(wint_t(s[e - 1])))
        --e;
    return std::wstring(s + b, e - b);
}

bool EqualNoCaseAscii(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towlower(wint_t(a[i])) != std::towlower(wint_t(b[i])))
            return false;
    return i == a.size() && b[i] == 0;
}

// C-locale number text: [+|-]digits[.digits][E[+|-]digits], "," allowed between integer digits,
// or &H / &O for hexadecimal / octal integers.
bool ParseNumber(const std::wstring& text, Num& n)
{
    if (text.empty())
        return false;
    if (text.size() > 2 && text[0] == L'&' &&
        (text[1] == L'H' || text[1] == L'h' || text[1] == L'O' || text[1] == L'o'))
    {
        const int base = (text[1] == L'H' || text[1] == L'h') ? 16 : 8;
        uint64_t v = 0;
        for (size_t i = 2; i < text.size(); ++i)
        {
            const wchar_t c = text[i];
            int digit = -1;
            if (c >= L'0' && c <= L'9')
                digit = c - L'0';
            else if (base == 16 && c >= L'a' && c <= L'f')
                digit = c - L'a' + 10;
            else if (base == 16 && c >= L'A' && c <= L'F')
                digit = c - L'A' + 10;
            if (digit < 0 || digit >= base || v > (UINT64_MAX - uint64_t(digit)) / uint64_t(base))
                return false;
            v = v * uint64_t(base) + uint64_t(digit);
        }
        n.kind = Num::UInt;
        n.u = v;
        return true;
    }
    std::string ascii;
    bool integer = true, seenDigit = false, seenPoint = false, seenExp = false;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const wchar_t c = text[i];
        if (c >= L'0' && c <= L'9')
        {
            ascii += char(c);
            seenDigit = true;
        }
        else if ((c == L'+' || c == L'-') && (i == 0 || ascii.back() == 'e'))
            ascii += char(c);
        else if (c == L',' && seenDigit && !seenPoint && !seenExp)
            continue;
        else if (c == L'.' && !seenPoint && !seenExp)
        {
            ascii += '.';
            seenPoint = true;
            integer = false;
        }
        else if ((c == L'e' || c == L'E') && seenDigit && !seenExp)
        {
            ascii += 'e';
            seenExp = true;
            integer = false;
        }
        else
            return false;
    }
    if (!seenDigit)
        return false;
    const char* b = ascii.data();
    const char* e = b + ascii.size();
    if (*b == '+')
        ++b;
    if (integer)
    {
        if (*b != '-')
        {
            uint64_t v = 0;
            auto res = std::from_chars(b, e, v);
            if (res.ec == std::errc() && res.ptr == e)
            {
                if (v <= uint64_t(INT64_MAX))
                    n.kind = Num::Int, n.i = int64_t(v);
                else
                    n.kind = Num::UInt, n.u = v;
                return true;
            }
        }
        else
        {
            int64_t v = 0;
            auto res = std::from_chars(b, e, v);
            if (res.ec == std::errc() && res.ptr == e)
            {
                n.kind = Num::Int;
                n.i = v;
                return true;
            }
        }
    }
    double d = 0;
    auto res = std::from_chars(b, e, d);
    if (res.ptr != e)
        return false;
    if (res.ec == std::errc::result_out_of_range)
    {
        // Too small is zero; too large is out of every range.
        const size_t exp = ascii.find('e');
        if (exp != std::string::npos && exp + 1 < ascii.size() && ascii[exp + 1] == '-')
            d = 0;
        else
        {
            n.overflow = true;
            return true;
        }
    }
    else if (res.ec != std::errc())
        return false;
    n.kind = Num::Real;
    n.r = d;
    return true;
}

bool ReadUInt(const std::wstring& s, size_t& pos, unsigned maxDigits, unsigned& out)
{
    size_t digits = 0;
    out = 0;
    while (pos < s.size() && s[pos] >= L'0' && s[pos] <= L'9' && digits < maxDigits)
    {
        out = out * 10 + unsigned(s[pos] - L'0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}

// "YYYY-MM-DD[ |T]hh:mm[:ss]", "M/D/YYYY[ h:mm[:ss][ AM|PM]]" or "h:mm[:ss][ AM|PM]".
bool ParseDate(const std::wstring& text, DATE& out)
{
    SYSTEMTIME st{};
    size_t pos = 0;
    unsigned a = 0, b = 0, c = 0;
    bool hasDate = false;
    const size_t save = pos;
    if (ReadUInt(text, pos, 4, a) && pos < text.size() && (text[pos] == L'-' || text[pos] == L'/'))
    {
        const wchar_t sep = text[pos++];
        if (!ReadUInt(text, pos, 4, b) || pos >= text.size() || text[pos++] != sep ||
            !ReadUInt(text, pos, 4, c))
            return false;
        if (sep == L'-')
            st.wYear = WORD(a), st.wMonth = WORD(b), st.wDay = WORD(c);
        else
            st.wMonth = WORD(a), st.wDay = WORD(b), st.wYear = WORD(c);
        hasDate = true;
        if (pos < text.size() && (text[pos] == L'T' || text[pos] == L' '))
            ++pos;
        while (pos < text.size() && text[pos] == L' ')
            ++pos;
    }
    else
        pos = save;
    if (!hasDate)
        st.wYear = 1899, st.wMonth = 12, st.wDay = 30;
    if (pos < text.size())
    {
        unsigned h = 0, m = 0, s = 0;
        if (!ReadUInt(text, pos, 2, h) || pos >= text.size() || text[pos++] != L':' ||
            !ReadUInt(text, pos, 2, m))
            return false;
        if (pos < text.size() && text[pos] == L':')
        {
            ++pos;
            if (!ReadUInt(text, pos, 2, s))
                return false;
        }
        while (pos < text.size() && text[pos] == L' ')
            ++pos;
        if (pos < text.size())
        {
            const std::wstring ampm = text.substr(pos);
            const bool pm = EqualNoCaseAscii(ampm, L"PM");
            if (!pm && !EqualNoCaseAscii(ampm, L"AM"))
                return false;
            if (h < 1 || h > 12)
                return false;
            h = (h % 12) + (pm ? 12 : 0);
            pos = text.size();
        }
        st.wHour = WORD(h), st.wMinute = WORD(m), st.wSecond = WORD(s);
    }
    else if (!hasDate)
        return false;
    return SystemTimeToVariantTime(&st, &out) != 0;
}

HRESULT FromText(const std::wstring& text, USHORT flags, VARTYPE vt, VARIANT& out)
{
    VariantInit(&out);
    if (vt == VT_BOOL)
    {
        if (EqualNoCaseAscii(text, L"True") || EqualNoCaseAscii(text, L"#TRUE#"))
        {
            out.vt = VT_BOOL;
            out.boolVal = VARIANT_TRUE;
            return S_OK;
        }
        if (EqualNoCaseAscii(text, L"False") || EqualNoCaseAscii(text, L"#FALSE#"))
        {
            out.vt = VT_BOOL;
            out.boolVal = VARIANT_FALSE;
            return S_OK;
        }
    }
    if (vt == VT_DATE)
    {
        DATE d = 0;
        if (ParseDate(text, d))
        {
            out.vt = VT_DATE;
            out.date = d;
            return S_OK;
        }
    }
    (void)flags;
    Num n;
    if (!ParseNumber(text, n))
        return DISP_E_TYPEMISMATCH;
    if (n.overflow)
        return DISP_E_OVERFLOW;
    return NumToVariant(n, vt, out);
}

HRESULT ToText(const VARIANT& src, USHORT flags, VARIANT& out)
{
    std::wstring text;
    switch (src.vt)
    {
    case VT_EMPTY:
        break;
    case VT_BOOL:
        if (flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL))
            text = src.boolVal ? L"True" : L"False";
        else
            text = src.boolVal ? L"-1" : L"0";
        break;
    case VT_R4:
        text = FormatReal(src.fltVal, 7);
        break;
    case VT_R8:
        text = FormatReal(src.dblVal, 15);
        break;
    case VT_CY:
        text = FormatCy(src.cyVal.int64);
        break;
    case VT_DATE:
        if (!(src.date >= kMinDate && src.date < kMaxDate))
            return DISP_E_OVERFLOW;
        text = FormatDate(src.date);
        break;
    case VT_UI8:
        text = std::to_wstring(src.ullVal);
        break;
    default:
    {
        Num n;
        if (!IsIntegerType(src.vt) || !NumFromVariant(src, n))
            return DISP_E_TYPEMISMATCH;
        text = std::to_wstring(n.i);
        break;
    }
    }
    VariantInit(&out);
    out.bstrVal = SysAllocStringLen(text.data(), UINT(text.size()));
    if (!out.bstrVal)
        return E_OUTOFMEMORY;
    out.vt = VT_BSTR;
    return S_OK;
}

HRESULT ChangeValue(const VARIANT& src, USHORT flags, VARTYPE vt, VARIANT& out)
{
    VariantInit(&out);
    if (vt == VT_EMPTY)
        return S_OK;
    if (src.vt == vt)
        return VariantCopy(&out, &src);
    if ((src.vt & VT_ARRAY) || (vt & VT_ARRAY))
        return DISP_E_TYPEMISMATCH;
    if (vt == VT_NULL)
    {
        if (src.vt != VT_EMPTY)
            return DISP_E_TYPEMISMATCH;
        out.vt = VT_NULL;
        return S_OK;
    }
    if (src.vt == VT_NULL)
        return DISP_E_TYPEMISMATCH;
    if (src.vt == VT_ERROR || vt == VT_ERROR || src.vt == VT_DECIMAL || vt == VT_DECIMAL ||
        src.vt == VT_RECORD || vt == VT_RECORD)
        return DISP_E_TYPEMISMATCH;
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH)
    {
        if (src.vt == VT_EMPTY)
        {
            out.vt = vt;
            return S_OK;
        }
        IUnknown* unk = src.vt == VT_UNKNOWN    ? src.punkVal
                        : src.vt == VT_DISPATCH ? DispatchAsUnknown(src.pdispVal)
                                                : nullptr;
        if (src.vt != VT_UNKNOWN && src.vt != VT_DISPATCH)
            return DISP_E_TYPEMISMATCH;
        if (!unk)
            return DISP_E_TYPEMISMATCH;
        void* p = nullptr;
        const HRESULT hr = unk->QueryInterface(vt == VT_UNKNOWN ? IID_IUnknown : kIidDispatch, &p);
        if (FAILED(hr) || !p)
            return DISP_E_TYPEMISMATCH;
        out.vt = vt;
        out.byref = p;
        return S_OK;
    }
    if (src.vt == VT_UNKNOWN || src.vt == VT_DISPATCH)
        return DISP_E_TYPEMISMATCH; // no value property without the automation layer
    if (vt == VT_BSTR)
        return ToText(src, flags, out);
    if (src.vt == VT_BSTR)
    {
        const BSTR s = src.bstrVal;
        const std::wstring text = s ? Trim(s, SysStringLen(s)) : std::wstring();
        return FromText(text, flags, vt, out);
    }
    if (IsNumericType(src.vt) || src.vt == VT_EMPTY)
    {
        Num n;
        if (!NumFromVariant(src, n))
            return DISP_E_TYPEMISMATCH;
        return NumToVariant(n, vt, out);
    }
    return DISP_E_TYPEMISMATCH;
}

} // namespace

HRESULT VariantChangeTypeEx(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, LCID, USHORT wFlags, VARTYPE vt)
{
    if (!pvargDest || !pvarSrc)
        return E_INVALIDARG;
    if (!ComPriv::IsValidVarType(pvarSrc->vt))
        return DISP_E_BADVARTYPE;
    if ((vt & VT_BYREF) || !ComPriv::IsValidVarType(vt) ||
        ((vt & VT_TYPEMASK) == VT_VARIANT && !(vt & VT_ARRAY)))
        return DISP_E_BADVARTYPE;
    // A by-reference source converts as its value.
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = VariantCopyInd(&value, pvarSrc);
    if (FAILED(hr))
        return hr;
    VARIANT result;
    hr = ChangeValue(value, wFlags, vt, result);
    VariantClear(&value);
    if (FAILED(hr))
        return hr;
    hr = VariantClear(pvargDest);
    if (FAILED(hr))
    {
        VariantClear(&result);
        return hr;
    }
    std::memcpy(pvargDest, &result, sizeof(VARIANT));
    return S_OK;
}

HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt)
{
    return VariantChangeTypeEx(pvargDest, pvarSrc, 0, wFlags, vt);
}
