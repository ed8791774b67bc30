#include "com/SafeArray.h"
#include "com/Variant.h"

#include "com/VariantPriv.h"
#include "win32/System.h"

#include <cmath>
#include <cstring>

namespace
{

const int64_t kDateEpoch = DaysFromCivil(1899, 12, 30);

} // namespace

namespace ComPriv
{

bool IsValidVarType(VARTYPE vt)
{
    if (vt & ~(VT_BYREF | VT_ARRAY | VT_TYPEMASK))
        return false;
    const VARTYPE base = vt & VT_TYPEMASK;
    switch (base)
    {
    case VT_EMPTY:
    case VT_NULL:
        return !(vt & (VT_BYREF | VT_ARRAY));
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
    case VT_DECIMAL:
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_RECORD:
        return true;
    case VT_VARIANT:
        return (vt & (VT_BYREF | VT_ARRAY)) != 0;
    default:
        return false;
    }
}

size_t ScalarSize(VARTYPE base)
{
    switch (base)
    {
    case VT_I1:
    case VT_UI1:
        return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
        return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
        return 8;
    default:
        return 0;
    }
}

} // namespace ComPriv

void VariantInit(VARIANTARG* pvarg)
{
    if (!pvarg)
        return;
    std::memset(pvarg, 0, sizeof(VARIANT));
    pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* pvarg)
{
    if (!pvarg)
        return E_INVALIDARG;
    const VARTYPE vt = pvarg->vt;
    if (!ComPriv::IsValidVarType(vt))
        return DISP_E_BADVARTYPE;
    if (!(vt & VT_BYREF))
    {
        if (vt & VT_ARRAY)
        {
            const HRESULT hr = SafeArrayDestroy(pvarg->parray);
            if (FAILED(hr))
                return hr;
        }
        else if (vt == VT_BSTR)
            SysFreeString(pvarg->bstrVal);
        else if (vt == VT_UNKNOWN && pvarg->punkVal)
            pvarg->punkVal->Release();
        else if (vt == VT_DISPATCH && pvarg->pdispVal)
            DispatchAsUnknown(pvarg->pdispVal)->Release();
    }
    VariantInit(pvarg);
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc)
{
    if (!pvargDest || !pvargSrc)
        return E_INVALIDARG;
    if (pvargDest == pvargSrc)
        return S_OK;
    const VARTYPE vt = pvargSrc->vt;
    if (!ComPriv::IsValidVarType(vt))
        return DISP_E_BADVARTYPE;
    VARIANT copy;
    std::memcpy(&copy, pvargSrc, sizeof(VARIANT));
    if (!(vt & VT_BYREF))
    {
        if (vt & VT_ARRAY)
        {
            const HRESULT hr = SafeArrayCopy(pvargSrc->parray, &copy.parray);
            if (FAILED(hr))
                return hr;
        }
        else if (vt == VT_BSTR && pvargSrc->bstrVal)
        {
            copy.bstrVal = SysAllocStringLen(pvargSrc->bstrVal, SysStringLen(pvargSrc->bstrVal));
            if (!copy.bstrVal)
                return E_OUTOFMEMORY;
        }
        else if (vt == VT_UNKNOWN && copy.punkVal)
            copy.punkVal->AddRef();
        else if (vt == VT_DISPATCH && copy.pdispVal)
            DispatchAsUnknown(copy.pdispVal)->AddRef();
    }
    const HRESULT hr = VariantClear(pvargDest);
    if (FAILED(hr))
    {
        VariantClear(&copy);
        return hr;
    }
    std::memcpy(pvargDest, &copy, sizeof(VARIANT));
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT* pvarDest, const VARIANTARG* pvargSrc)
{
    if (!pvarDest || !pvargSrc)
        return E_INVALIDARG;
    if (!(pvargSrc->vt & VT_BYREF))
        return VariantCopy(pvarDest, pvargSrc);
    if (!ComPriv::IsValidVarType(pvargSrc->vt) || !pvargSrc->byref)
        return pvargSrc->byref ? DISP_E_BADVARTYPE : E_INVALIDARG;
    const VARTYPE vt = pvargSrc->vt & ~VT_BYREF;
    VARIANT value;
    VariantInit(&value);
    if (vt == VT_VARIANT)
    {
        const VARIANT* inner = pvargSrc->pvarVal;
        if (inner->vt == (VT_VARIANT | VT_BYREF))
            return E_INVALIDARG;
        const HRESULT hr = VariantCopyInd(&value, inner);
        if (FAILED(hr))
            return hr;
    }
    else
    {
        // A VARIANT of the plain type sharing the referenced value, then a real copy of that.
        VARIANT view;
        VariantInit(&view);
        view.vt = vt;
        if (vt & VT_ARRAY)
            view.parray = *pvargSrc->pparray;
        else if (vt == VT_BSTR)
            view.bstrVal = *pvargSrc->pbstrVal;
        else if (vt == VT_UNKNOWN)
            view.punkVal = *pvargSrc->ppunkVal;
        else if (vt == VT_DISPATCH)
            view.pdispVal = *pvargSrc->ppdispVal;
        else if (const size_t size = ComPriv::ScalarSize(vt))
            std::memcpy(&view.llVal, pvargSrc->byref, size);
        else
            return DISP_E_BADVARTYPE;
        const HRESULT hr = VariantCopy(&value, &view);
        if (FAILED(hr))
            return hr;
    }
    const HRESULT hr = VariantClear(pvarDest);
    if (FAILED(hr))
    {
        VariantClear(&value);
        return hr;
    }
    std::memcpy(pvarDest, &value, sizeof(VARIANT));
    return S_OK;
}

INT VariantTimeToSystemTime(DATE vtime, LPSYSTEMTIME st)
{
    if (!st || !std::isfinite(vtime) || vtime < -657434.0 || vtime >= 2958466.0)
        return FALSE;
    int64_t days = int64_t(vtime); // toward zero: the fraction is the time of day for either sign
    const double frac = std::fabs(vtime - double(days));
    int64_t secs = std::llround(frac * 86400.0);
    if (secs >= 86400)
    {
        secs -= 86400;
        ++days;
    }
    int64_t y;
    unsigned m, d;
    CivilFromDays(days + kDateEpoch, y, m, d);
    if (y < 100 || y > 9999)
        return FALSE;
    st->wYear = WORD(y);
    st->wMonth = WORD(m);
    st->wDay = WORD(d);
    st->wDayOfWeek = DayOfWeekFromDays(days + kDateEpoch);
    st->wHour = WORD(secs / 3600);
    st->wMinute = WORD((secs / 60) % 60);
    st->wSecond = WORD(secs % 60);
    st->wMilliseconds = 0;
    return TRUE;
}

INT SystemTimeToVariantTime(LPSYSTEMTIME st, DATE* pvtime)
{
    if (!st || !pvtime || st->wYear < 100 || st->wYear > 9999 || st->wMonth < 1 || st->wMonth > 12 ||
        st->wDay < 1 || st->wDay > DaysInMonth(st->wYear, st->wMonth) || st->wHour > 23 || st->wMinute > 59 ||
        st->wSecond > 59)
        return FALSE;
    const int64_t days = DaysFromCivil(st->wYear, st->wMonth, st->wDay) - kDateEpoch;
    const double time = (st->wHour * 3600.0 + st->wMinute * 60.0 + st->wSecond) / 86400.0;
    *pvtime = days >= 0 ? double(days) + time : double(days) - time;
    return TRUE;
}
