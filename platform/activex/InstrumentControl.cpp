#include "activex/InstrumentControl.h"

#include "activex/InstrumentPropPage.h"
#include "activex/InstrumentRenderers.h"
#include "com/Bstr.h"
#include "mfc/Wnd.h"

#include <algorithm>
#include <cmath>

namespace
{
// The argument of a put, or null when there is none.
const VARIANT* PutArgument(const DISPPARAMS* params)
{
    return params && params->cArgs >= 1 ? &params->rgvarg[0] : nullptr;
}

HRESULT Convert(const VARIANT& from, VARTYPE vt, VARIANT& to)
{
    VariantInit(&to);
    const HRESULT hr = VariantChangeType(&to, &from, 0, vt);
    return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

HRESULT ReadDouble(const VARIANT& from, double& d)
{
    VARIANT v;
    const HRESULT hr = Convert(from, VT_R8, v);
    if (SUCCEEDED(hr))
        d = v.dblVal;
    return hr;
}

HRESULT ReadLong(const VARIANT& from, LONG& n)
{
    VARIANT v;
    const HRESULT hr = Convert(from, VT_I4, v);
    if (SUCCEEDED(hr))
        n = v.lVal;
    return hr;
}

HRESULT ReadBool(const VARIANT& from, BOOL& b)
{
    VARIANT v;
    const HRESULT hr = Convert(from, VT_BOOL, v);
    if (SUCCEEDED(hr))
        b = v.boolVal != VARIANT_FALSE;
    return hr;
}

void SetResult(VARIANT* result, VARTYPE vt, double d)
{
    if (!result)
        return;
    VariantInit(result);
    result->vt = vt;
    if (vt == VT_R8)
        result->dblVal = d;
    else if (vt == VT_I4)
        result->lVal = LONG(d);
    else
        result->boolVal = d != 0.0 ? VARIANT_TRUE : VARIANT_FALSE;
}

VARTYPE TypeOf(EInstrumentValue kind)
{
    return kind == EInstrumentValue::I4 ? VT_I4 : kind == EInstrumentValue::Bool ? VT_BOOL : VT_R8;
}
} // namespace

CInstrumentControl::CInstrumentControl(const INSTRUMENT_CONTROL_INFO& info)
    : m_info(info), m_settings(InstrumentDefaultSettings(info.renderer, info.nCount))
{
}

void CInstrumentControl::SetSettings(const CInstrumentSettings& settings)
{
    m_settings = settings;
    m_foreign.clear();
    m_bForeign = FALSE;
    m_bDirty = TRUE;
    Repaint();
}

void CInstrumentControl::Repaint()
{
    if (!m_site)
        return;
    if (CWnd* wnd = CWnd::FromHandle(m_site->GetSiteWindow()))
        wnd->Invalidate(FALSE);
}

// IDispatch

HRESULT CInstrumentControl::PutValue(const VARIANT& v)
{
    double d = 0.0;
    HRESULT hr = S_OK;
    if (m_info.valueKind == EInstrumentValue::I4)
    {
        LONG n = 0;
        hr = ReadLong(v, n);
        d = n;
    }
    else if (m_info.valueKind == EInstrumentValue::Bool)
    {
        BOOL b = FALSE;
        hr = ReadBool(v, b);
        d = b ? 1.0 : 0.0;
    }
    else
    {
        hr = ReadDouble(v, d);
    }
    if (FAILED(hr))
        return hr;
    m_dValue = d;
    return S_OK;
}

HRESULT CInstrumentControl::Invoke(DISPID id, REFIID, LCID, WORD wFlags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*)
{
    const bool put = (wFlags & DISPATCH_PROPERTYPUT) != 0;
    const bool get = (wFlags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0 && !put;
    const VARIANT* arg = PutArgument(params);
    HRESULT hr = DISP_E_MEMBERNOTFOUND;

    if (m_info.valueKind == EInstrumentValue::BarMethod &&
        (id == INSTRUMENT_DISPID_SETBAR || id == INSTRUMENT_DISPID_GETBAR) && (wFlags & DISPATCH_METHOD))
    {
        // Arguments come last first: the bar index is the first argument.
        const UINT want = id == INSTRUMENT_DISPID_SETBAR ? 2 : 1;
        if (!params || params->cArgs != want)
            return DISP_E_BADPARAMCOUNT;
        LONG bar = 0;
        if (FAILED(hr = ReadLong(params->rgvarg[want - 1], bar)))
            return hr;
        if (bar < 0 || bar >= INSTRUMENT_BAR_COUNT)
            return DISP_E_BADINDEX;
        if (id == INSTRUMENT_DISPID_GETBAR)
        {
            SetResult(result, VT_R8, m_aBars[bar]);
            return S_OK;
        }
        double d = 0.0;
        if (FAILED(hr = ReadDouble(params->rgvarg[0], d)))
            return hr;
        m_aBars[bar] = d;
        if (bar == 0)
            m_dValue = d;
        ++m_nPuts;
        Repaint();
        return S_OK;
    }

    if (m_info.valueKind != EInstrumentValue::None && m_info.valueKind != EInstrumentValue::BarMethod &&
        id == m_info.dispValue)
    {
        if (get)
        {
            SetResult(result, TypeOf(m_info.valueKind), m_dValue);
            return S_OK;
        }
        if (put && arg && SUCCEEDED(hr = PutValue(*arg)))
            ++m_nPuts;
    }
    else if (m_info.bText && id == m_info.dispText)
    {
        if (get)
        {
            if (result)
            {
                VariantInit(result);
                result->vt = VT_BSTR;
                result->bstrVal = SysAllocString(m_strText.GetString());
            }
            return S_OK;
        }
        VARIANT v;
        if (put && arg && SUCCEEDED(hr = Convert(*arg, VT_BSTR, v)))
        {
            m_strText = CString(v.bstrVal ? v.bstrVal : L"");
            VariantClear(&v);
            ++m_nPuts;
        }
    }
    else if (m_info.bVisible && id == m_info.dispVisible)
    {
        if (get)
        {
            SetResult(result, VT_BOOL, m_bVisible ? 1.0 : 0.0);
            return S_OK;
        }
        if (put && arg && SUCCEEDED(hr = ReadBool(*arg, m_bVisible)))
            ++m_nPuts;
    }
    else
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (put && !arg)
        return DISP_E_BADPARAMCOUNT;
    if (SUCCEEDED(hr))
        Repaint();
    return hr;
}

// IPersistStreamInit

HRESULT CInstrumentControl::GetClassID(CLSID* pClassID)
{
    if (!pClassID)
        return E_POINTER;
    *pClassID = m_info.clsid;
    return S_OK;
}

HRESULT CInstrumentControl::IsDirty()
{
    return m_bDirty ? S_OK : S_FALSE;
}

HRESULT CInstrumentControl::Load(LPSTREAM pStm)
{
    if (!pStm)
        return E_POINTER;
    // The rest of the stream is this control's state.
    ULONGLONG size = 0, pos = 0;
    if (FAILED(pStm->GetSize(&size)) || FAILED(pStm->Seek(0, STREAM_SEEK_CUR, &pos)) || pos > size ||
        size - pos > kMaxState)
        return STG_E_READFAULT;
    std::vector<BYTE> bytes(size_t(size - pos));
    ULONG got = 0;
    if (!bytes.empty() &&
        (FAILED(pStm->Read(bytes.data(), ULONG(bytes.size()), &got)) || got != bytes.size()))
        return STG_E_READFAULT;
    CInstrumentSettings settings = InstrumentDefaultSettings(m_info.renderer, m_info.nCount);
    m_bForeign = !InstrumentStateRead(bytes.data(), bytes.size(), m_info.renderer, settings);
    m_foreign = m_bForeign ? std::move(bytes) : std::vector<BYTE>();
    m_settings = settings;
    m_bDirty = FALSE;
    Repaint();
    return S_OK;
}

HRESULT CInstrumentControl::Save(LPSTREAM pStm, BOOL fClearDirty)
{
    if (!pStm)
        return E_POINTER;
    const std::vector<BYTE> bytes =
        m_bForeign ? m_foreign : InstrumentStateWrite(m_info.renderer, m_settings);
    ULONG put = 0;
    const HRESULT hr = pStm->Write(bytes.data(), ULONG(bytes.size()), &put);
    if (FAILED(hr) || put != bytes.size())
        return FAILED(hr) ? hr : STG_E_INVALIDFUNCTION;
    if (fClearDirty)
        m_bDirty = FALSE;
    return S_OK;
}

HRESULT CInstrumentControl::GetSizeMax(ULONGLONG* pcbSize)
{
    if (!pcbSize)
        return E_POINTER;
    *pcbSize = m_bForeign ? m_foreign.size() : InstrumentStateWrite(m_info.renderer, m_settings).size();
    return S_OK;
}

HRESULT CInstrumentControl::InitNew()
{
    m_settings = InstrumentDefaultSettings(m_info.renderer, m_info.nCount);
    m_foreign.clear();
    m_bForeign = FALSE;
    m_bDirty = FALSE;
    return S_OK;
}

// IOleObject

HRESULT CInstrumentControl::SetClientSite(IOleClientSite* pClientSite)
{
    m_site = pClientSite;
    return S_OK;
}

HRESULT CInstrumentControl::GetClientSite(IOleClientSite** ppClientSite)
{
    if (!ppClientSite)
        return E_POINTER;
    *ppClientSite = m_site;
    if (!m_site)
        return E_FAIL;
    m_site->AddRef();
    return S_OK;
}

HRESULT CInstrumentControl::DoVerb(LONG iVerb, MSG*, IOleClientSite*, LONG, HWND hwndParent, LPCRECT)
{
    if (iVerb != OLEIVERB_PROPERTIES)
        return iVerb == OLEIVERB_PRIMARY || iVerb == OLEIVERB_SHOW ? S_OK : OLEOBJ_E_NOVERBS;
    CInstrumentPropPage page(m_info, m_settings, CWnd::FromHandle(hwndParent));
    if (page.DoModal() != IDOK)
        return S_FALSE;
    SetSettings(page.m_settings);
    return S_OK;
}

// IQyrControlView

HRESULT CInstrumentControl::Draw(CDC* pDC, LPCRECT lprcBounds)
{
    if (!pDC || !lprcBounds)
        return E_POINTER;
    if (m_bVisible)
        InstrumentDraw(pDC, *lprcBounds, *this);
    return S_OK;
}
