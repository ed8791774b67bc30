#include "com/DispatchMap.h"

#include "com/ComError.h"
#include "win32/Utf.h"

#include <cwchar>
#include <exception>

void QyrClearExcepInfo(EXCEPINFO* pExcepInfo)
{
    if (!pExcepInfo)
        return;
    SysFreeString(pExcepInfo->bstrSource);
    SysFreeString(pExcepInfo->bstrDescription);
    SysFreeString(pExcepInfo->bstrHelpFile);
    *pExcepInfo = EXCEPINFO{};
}

void QyrFillExcepInfo(EXCEPINFO* pExcepInfo, SCODE scode, LPCOLESTR lpszDescription, LPCOLESTR lpszSource)
{
    if (!pExcepInfo)
        return;
    QyrClearExcepInfo(pExcepInfo);
    pExcepInfo->scode = scode;
    pExcepInfo->bstrDescription = SysAllocString(lpszDescription ? lpszDescription : L"");
    pExcepInfo->bstrSource = SysAllocString(lpszSource ? lpszSource : L"");
}

namespace QyrDisp
{
CoercedArgs::CoercedArgs(UINT count) : v(count <= 4 ? inline_ : new VARIANT[count]), n(count)
{
    for (UINT i = 0; i < n; ++i)
        VariantInit(&v[i]);
}

CoercedArgs::~CoercedArgs()
{
    for (UINT i = 0; i < n; ++i)
        VariantClear(&v[i]);
    if (v != inline_)
        delete[] v;
}

HRESULT CoercedArgs::Coerce(const VARTYPE* vts, DISPPARAMS* pDispParams, UINT* puArgErr)
{
    if (!pDispParams || pDispParams->cArgs != n || (n && !pDispParams->rgvarg))
        return DISP_E_BADPARAMCOUNT;
    for (UINT i = 0; i < n; ++i)
    {
        // rgvarg holds the arguments last first.
        const UINT at = n - 1 - i;
        const VARIANT& src = pDispParams->rgvarg[at];
        HRESULT hr;
        if (vts[i] == VT_VARIANT)
            hr = VariantCopyInd(&v[i], &src);
        else
            hr = VariantChangeType(&v[i], &src, 0, vts[i]);
        if (FAILED(hr))
        {
            if (puArgErr)
                *puArgErr = at;
            // A missing argument or one that cannot be had as the listed type.
            return hr == E_OUTOFMEMORY ? hr : DISP_E_TYPEMISMATCH;
        }
    }
    return S_OK;
}

void VtsToArray(const char* vts, VARTYPE* out, UINT count)
{
    for (UINT i = 0; i < count; ++i)
        out[i] = vts ? VARTYPE((unsigned char)(vts[i])) : VARTYPE(VT_EMPTY);
}

void StoreVoid(VARIANT* pResult)
{
    if (pResult)
        VariantInit(pResult);
}

void StoreResult(VARIANT* pResult, VARTYPE vt, double d)
{
    if (!pResult)
        return;
    VariantInit(pResult);
    pResult->vt = vt;
    if (vt == VT_R4)
        pResult->fltVal = float(d);
    else if (vt == VT_DATE)
        pResult->date = d;
    else
        pResult->dblVal = d;
}

void StoreResult(VARIANT* pResult, VARTYPE vt, float f)
{
    StoreResult(pResult, vt, double(f));
}

void StoreResult(VARIANT* pResult, VARTYPE vt, long long n)
{
    if (!pResult)
        return;
    VariantInit(pResult);
    pResult->vt = vt;
    switch (vt)
    {
    case VT_BOOL:
        pResult->boolVal = n ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case VT_I2:
        pResult->iVal = SHORT(n);
        break;
    case VT_UI1:
        pResult->bVal = BYTE(n);
        break;
    case VT_UI2:
        pResult->uiVal = USHORT(n);
        break;
    case VT_UI4:
        pResult->ulVal = ULONG(n);
        break;
    default:
        pResult->vt = VT_I4;
        pResult->lVal = LONG(n);
        break;
    }
}

void StoreResult(VARIANT* pResult, VARTYPE, BSTR s)
{
    if (!pResult)
    {
        SysFreeString(s);
        return;
    }
    VariantInit(pResult);
    pResult->vt = VT_BSTR;
    pResult->bstrVal = s;
}

void StoreResult(VARIANT* pResult, VARTYPE, VARIANT v)
{
    if (!pResult)
    {
        VariantClear(&v);
        return;
    }
    *pResult = v;
}

void StoreResult(VARIANT* pResult, VARTYPE, IDispatch* p)
{
    if (!pResult)
    {
        if (p)
            p->Release();
        return;
    }
    VariantInit(pResult);
    pResult->vt = VT_DISPATCH;
    pResult->pdispVal = p;
}
} // namespace QyrDisp

const AFX_DISPMAP* CDispatchMapTarget::GetThisDispatchMap()
{
    static const AFX_DISPMAP_ENTRY entries[] = {
        {nullptr, DISPID_UNKNOWN, nullptr, VT_EMPTY, nullptr, nullptr, afxDispMethod}};
    static const AFX_DISPMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_DISPMAP* CDispatchMapTarget::GetDispatchMap() const
{
    return GetThisDispatchMap();
}

namespace
{
const AFX_DISPMAP* BaseOf(const AFX_DISPMAP* map)
{
    return map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr;
}

DISPID IdOf(const AFX_DISPMAP_ENTRY& e, int index, int depth)
{
    return e.lDispID != DISPID_UNKNOWN ? DISPID(e.lDispID) : DISPID(MAKELONG(WORD(index + 1), WORD(depth)));
}

// Calls f(entry, id) for every entry in map order until it returns true; returns that entry.
template <class F> const AFX_DISPMAP_ENTRY* Walk(const AFX_DISPMAP* map, F f)
{
    for (int depth = 0; map; map = BaseOf(map), ++depth)
    {
        int index = 0;
        for (const AFX_DISPMAP_ENTRY* e = map->lpEntries; e && e->lpszName; ++e, ++index)
        {
            if (f(*e, IdOf(*e, index, depth)))
                return e;
        }
    }
    return nullptr;
}
} // namespace

DISPID CDispatchMapTarget::MemberIDFromName(LPCOLESTR lpszName) const
{
    if (!lpszName)
        return DISPID_UNKNOWN;
    DISPID found = DISPID_UNKNOWN;
    Walk(GetDispatchMap(),
         [&](const AFX_DISPMAP_ENTRY& e, DISPID id)
         {
             if (wcscasecmp(e.lpszName, lpszName) != 0)
                 return false;
             found = id;
             return true;
         });
    return found;
}

const AFX_DISPMAP_ENTRY* CDispatchMapTarget::GetDispEntry(DISPID dispid) const
{
    // The usual case: a numbered entry, found by its depth and position.
    if (dispid > 0)
    {
        const AFX_DISPMAP* map = GetDispatchMap();
        for (WORD depth = HIWORD(dispid); map && depth; --depth)
            map = BaseOf(map);
        const int index = int(LOWORD(dispid)) - 1;
        if (map && index >= 0)
        {
            int i = 0;
            const AFX_DISPMAP_ENTRY* e = map->lpEntries;
            for (; e && e->lpszName && i < index; ++e, ++i)
            {
            }
            if (e && e->lpszName && e->lDispID == DISPID_UNKNOWN)
                return e;
        }
    }
    return Walk(GetDispatchMap(), [&](const AFX_DISPMAP_ENTRY& e, DISPID) { return e.lDispID == dispid; });
}

LPCWSTR CDispatchMapTarget::MemberNameFromID(DISPID dispid) const
{
    const AFX_DISPMAP_ENTRY* e = GetDispEntry(dispid);
    return e ? e->lpszName : nullptr;
}

DISPID CDispatchMapTarget::NextMemberID(DISPID dispid) const
{
    bool take = dispid == DISPID_STARTENUM;
    DISPID next = DISPID_UNKNOWN;
    Walk(GetDispatchMap(),
         [&](const AFX_DISPMAP_ENTRY&, DISPID id)
         {
             if (take)
             {
                 next = id;
                 return true;
             }
             take = id == dispid;
             return false;
         });
    return next;
}

HRESULT CDispatchMapTarget::InvokeMember(DISPID dispid, WORD wFlags, DISPPARAMS* pDispParams,
                                         VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    const AFX_DISPMAP_ENTRY* entry = GetDispEntry(dispid);
    if (!entry)
        return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    if (!pDispParams)
        pDispParams = &none;
    if (pDispParams->cArgs < pDispParams->cNamedArgs ||
        (pDispParams->cNamedArgs && !pDispParams->rgdispidNamedArgs))
        return E_INVALIDARG;

    AFX_PDISPTHUNK fn = nullptr;
    if (entry->flags == afxDispProperty && (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)))
    {
        if (pDispParams->cNamedArgs != 1 || pDispParams->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTOPTIONAL;
        fn = entry->pfnSet;
    }
    else if (wFlags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))
    {
        if (pDispParams->cNamedArgs)
            return DISP_E_NONAMEDARGS;
        fn = entry->pfn;
    }
    if (!fn)
        return DISP_E_MEMBERNOTFOUND;

    if (pVarResult)
        VariantInit(pVarResult);
    try
    {
        return fn(this, entry, pDispParams, pVarResult, puArgErr);
    }
    catch (const _com_error& e)
    {
        const _bstr_t description = e.Description();
        QyrFillExcepInfo(pExcepInfo, e.Error(), !description ? e.ErrorMessage() : (const wchar_t*)description,
                         e.Source());
    }
    catch (const std::exception& e)
    {
        QyrFillExcepInfo(pExcepInfo, E_FAIL, Utf8ToWide(e.what()).c_str(), nullptr);
    }
    catch (...)
    {
        if (!DescribeException(pExcepInfo))
            QyrFillExcepInfo(pExcepInfo, E_UNEXPECTED, L"Unknown exception", nullptr);
    }
    return DISP_E_EXCEPTION;
}

BOOL CDispatchMapTarget::DescribeException(EXCEPINFO*)
{
    return FALSE;
}
