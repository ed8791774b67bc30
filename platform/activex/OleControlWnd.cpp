#include "activex/OleControlWnd.h"

#include "com/Bstr.h"
#include "com/ClassRegistry.h"
#include "com/ComError.h"
#include "mfc/Dc.h"

#include <cstdarg>
#include <vector>

IMPLEMENT_DYNCREATE(COleControlWnd, CWnd)

BEGIN_MESSAGE_MAP(COleControlWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

HWND COleControlSite::GetSiteWindow()
{
    return m_pWnd ? m_pWnd->GetSafeHwnd() : nullptr;
}

COleControlWnd::COleControlWnd() = default;

COleControlWnd::~COleControlWnd()
{
    DestroyWindow();
    ReleaseControl();
}

BOOL COleControlWnd::CreateControl(REFCLSID clsid, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                                   CWnd* pParentWnd, UINT nID, COleStreamFile* pPersist, BOOL, BSTR)
{
    if (m_pSite || GetSafeHwnd())
        return FALSE;
    CComPtr<IUnknown> unk;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&unk))))
        return FALSE;
    CComPtr<IOleObject> ole;
    if (FAILED(unk->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole))))
        return FALSE;
    CComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(unk->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))))
    {
        LPSTREAM stream = pPersist ? pPersist->GetStream() : nullptr;
        if (FAILED(stream ? persist->Load(stream) : persist->InitNew()))
            return FALSE;
    }
    else if (pPersist)
    {
        return FALSE;
    }

    CComPtr<COleControlSite> site = QyrNewObject<COleControlSite>(this);
    ole->SetClientSite(site);
    if (!Create(nullptr, lpszWindowName, dwStyle, rect, pParentWnd, nID))
    {
        ole->SetClientSite(nullptr);
        site->Detach();
        return FALSE;
    }
    site->SetInPlaceObject(unk);
    m_pSite = site;
    m_pSite->AddRef();
    return TRUE;
}

LPUNKNOWN COleControlWnd::GetControlUnknown() const
{
    return m_pSite ? m_pSite->GetInPlaceObject() : nullptr;
}

void COleControlWnd::ReleaseControl()
{
    COleControlSite* site = m_pSite;
    m_pSite = nullptr;
    if (!site)
        return;
    CComPtr<IOleObject> ole;
    if (LPUNKNOWN unk = site->GetInPlaceObject();
        unk && SUCCEEDED(unk->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole))))
        ole->SetClientSite(nullptr);
    site->SetInPlaceObject(nullptr);
    site->Detach();
    site->Release();
}

BOOL COleControlWnd::DestroyWindow()
{
    const BOOL had = GetSafeHwnd() != nullptr;
    if (had)
        CWnd::DestroyWindow();
    ReleaseControl();
    return had;
}

void COleControlWnd::OnPaint()
{
    CPaintDC dc(this);
    CComPtr<IQyrControlView> view;
    LPUNKNOWN unk = GetControlUnknown();
    if (!unk || !dc.GetPainter() ||
        FAILED(unk->QueryInterface(IID_IQyrControlView, reinterpret_cast<void**>(&view))))
        return;
    CRect rc;
    GetClientRect(&rc);
    view->Draw(&dc, &rc);
}

namespace
{
// Arguments owned until the call returns.
struct CArgList
{
    std::vector<VARIANT> args;
    ~CArgList()
    {
        for (VARIANT& v : args)
            VariantClear(&v);
    }
};

void ReadArgs(CArgList& list, const char* pbParamInfo, va_list argList)
{
    for (const char* p = pbParamInfo ? pbParamInfo : ""; *p; ++p)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VARTYPE(BYTE(*p));
        switch (v.vt)
        {
        case VT_I4:
            v.lVal = LONG(va_arg(argList, long));
            break;
        case VT_R8:
            v.dblVal = va_arg(argList, double);
            break;
        case VT_BOOL:
            v.boolVal = va_arg(argList, int) ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case VT_BSTR:
            v.bstrVal = SysAllocString(va_arg(argList, LPCWSTR));
            break;
        default:
            throw _com_error(DISP_E_BADVARTYPE);
        }
        list.args.push_back(v);
    }
}

void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet)
{
    if (vtRet == VT_EMPTY || !pvRet)
        return;
    VARIANT converted;
    VariantInit(&converted);
    const HRESULT hr = VariantChangeType(&converted, &result, 0, vtRet);
    if (FAILED(hr))
        throw _com_error(hr);
    switch (vtRet)
    {
    case VT_I4:
        *static_cast<long*>(pvRet) = converted.lVal;
        break;
    case VT_R8:
        *static_cast<double*>(pvRet) = converted.dblVal;
        break;
    case VT_BOOL:
        *static_cast<BOOL*>(pvRet) = converted.boolVal ? TRUE : FALSE;
        break;
    case VT_BSTR:
        *static_cast<CString*>(pvRet) = CString(converted.bstrVal ? converted.bstrVal : L"");
        break;
    default:
        VariantClear(&converted);
        throw _com_error(DISP_E_BADVARTYPE);
    }
    VariantClear(&converted);
}
} // namespace

void COleControlWnd::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                   const char* pbParamInfo, va_list argList) const
{
    LPUNKNOWN unk = GetControlUnknown();
    CComPtr<IDispatch> disp;
    if (!unk || FAILED(unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))))
        return;
    CArgList list;
    ReadArgs(list, pbParamInfo, argList);
    // COM takes the arguments last first.
    std::vector<VARIANT> reversed(list.args.rbegin(), list.args.rend());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.data(), nullptr, UINT(reversed.size()), 0};
    if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
    {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = disp->Invoke(dwDispID, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params,
                                    vtRet == VT_EMPTY ? nullptr : &result, nullptr, nullptr);
    if (FAILED(hr))
        throw _com_error(hr);
    try
    {
        StoreResult(result, vtRet, pvRet);
    }
    catch (...)
    {
        VariantClear(&result);
        throw;
    }
    VariantClear(&result);
}

void COleControlWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                  const char* pbParamInfo, ...)
{
    va_list args;
    va_start(args, pbParamInfo);
    try
    {
        InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
    }
    catch (...)
    {
        va_end(args);
        throw;
    }
    va_end(args);
}

void COleControlWnd::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    const_cast<COleControlWnd*>(this)->InvokeHelper(dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp, VTS_NONE);
}
