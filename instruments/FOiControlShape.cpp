#include "instruments/FOiControlShape.h"

#include "activex/OleControlWnd.h"
#include "com/Bstr.h"
#include "com/ComError.h"
#include "figkit/FODataModel.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

#include <cstdint>
#include <cmath>
#include <cwchar>
#include <vector>

IMPLEMENT_SERIAL(CFOiControlShape, CFOWndControlShape, 0)

CFOiControlShape::CFOiControlShape() : CFOWndControlShape(1) {}

CFOiControlShape::CFOiControlShape(UINT nType, UINT nID) : CFOWndControlShape(nID)
{
    SetType(nType);
    SetLineWidth(2);
    SetBkColor(0xFFCC00);
    m_nFrameInset = 10;
}

CFOiControlShape::CFOiControlShape(const CFOiControlShape& src) : CFOWndControlShape(1)
{
    *this = src;
}

CFOiControlShape::~CFOiControlShape() = default;

CFOiControlShape& CFOiControlShape::operator=(const CFOiControlShape& src)
{
    if (this == &src)
        return *this;
    CFOWndControlShape::operator=(src);
    m_clsid = src.m_clsid;
    m_strCtrlName = src.m_strCtrlName;
    m_strCreateString = src.m_strCreateString;
    m_ocxData = src.m_ocxData;
    return *this;
}

CFODrawShape* CFOiControlShape::Copy() const
{
    return new CFOiControlShape(*this);
}

void CFOiControlShape::Serialize(CArchive& ar)
{
    CFOWndControlShape::Serialize(ar);
    if (ar.IsStoring())
    {
        m_ocxData.Serialize(ar);
        ar << DWORD(m_clsid.Data1) << m_clsid.Data2 << m_clsid.Data3;
        for (BYTE b : m_clsid.Data4)
            ar << b;
        ar << m_strCtrlName << m_strCreateString;
        return;
    }
    CExtOcx data;
    data.Serialize(ar);
    CLSID clsid = {};
    DWORD data1 = 0;
    ar >> data1 >> clsid.Data2 >> clsid.Data3;
    clsid.Data1 = data1;
    for (BYTE& b : clsid.Data4)
        ar >> b;
    CString name, create;
    ar >> name >> create;
    m_ocxData = data;
    m_clsid = clsid;
    m_strCtrlName = name;
    m_strCreateString = create;
}

BOOL CFOiControlShape::IsDesignMode() const
{
    CFODataModel* model = GetModel();
    return model ? model->IsDesignMode() : TRUE;
}

void CFOiControlShape::Create(CRect& rcPos, CString strCaption)
{
    if (IsDesignMode())
        m_bDesignFrame = TRUE;
    CFOWndControlShape::Create(rcPos, strCaption);
}

void CFOiControlShape::SetParentWnd(CWnd* pWnd)
{
    CFOWndControlShape::SetParentWnd(pWnd);
}

void CFOiControlShape::InitFromRow(LPCWSTR lpszCreateString)
{
    const INSTRUMENT_SHAPE_ROW* row = GetRow();
    if (!row)
        return;
    m_strCreateString = lpszCreateString;
    m_strCtrlName = row->lpszCtrlName;
    CLSIDFromString(row->lpszClsid, &m_clsid);
    EnsureWrapper();
}

COleControlWnd* CFOiControlShape::GetCtrl() const
{
    return static_cast<COleControlWnd*>(GetWnd());
}

BOOL CFOiControlShape::HasControl() const
{
    COleControlWnd* ctrl = GetCtrl();
    return ctrl && ctrl->GetSafeHwnd() && ctrl->GetControlUnknown();
}

BOOL CFOiControlShape::PositionCorrect() const
{
    CRect rc = GetDrawRect();
    rc.DeflateRect(1, 1);
    return rc.Width() >= 20 && rc.Height() >= 20;
}

void CFOiControlShape::EnsureWrapper()
{
    const INSTRUMENT_SHAPE_ROW* row = GetRow();
    if (GetWnd() || !row || !row->pWrapperClass)
        return;
    CObject* made = row->pWrapperClass->CreateObject();
    auto* wnd = dynamic_cast<COleControlWnd*>(made);
    if (!wnd)
    {
        delete made;
        return;
    }
    // Not through SetWnd: the shape has not changed by gaining an object without a window.
    m_pWnd = wnd;
}

int CFOiControlShape::CreateWnd(CWnd* pParent, int nID)
{
    if (nID > 0)
        SetCtrlID(UINT(nID));
    return CreateControlWnd(pParent, IsDesignMode()) ? 0 : -1;
}

BOOL CFOiControlShape::CreateControlWnd(CWnd* pParentWnd, BOOL bDisable)
{
    EnsureWrapper();
    COleControlWnd* ctrl = GetCtrl();
    if (!ctrl || ctrl->GetSafeHwnd())
        return FALSE;
    const CRect rc = GetDrawRect();
    std::unique_ptr<COleStreamFile> state = LoadOcxFile();
    BSTR create = SysAllocString(m_strCreateString.GetString());
    BOOL made = ctrl->CreateControl(GetClsid(), nullptr, WS_CHILD | WS_VISIBLE, rc, pParentWnd, GetCtrlID(),
                                    state.get(), FALSE, create);
    // A state the control cannot read: it runs on its defaults, and the shape keeps the bytes
    // until its pages are accepted.
    if (!made && state)
        made = ctrl->CreateControl(GetClsid(), nullptr, WS_CHILD | WS_VISIBLE, rc, pParentWnd, GetCtrlID(),
                                   nullptr, FALSE, create);
    SysFreeString(create);
    if (!made)
        return FALSE;
    if (bDisable)
        ctrl->EnableWindow(FALSE);
    if (!CFODrawShape::IsVisible())
        ctrl->ShowWindow(SW_HIDE);
    return OnPostCreate();
}

BOOL CFOiControlShape::PlaceControl(CDC* pDC)
{
    COleControlWnd* ctrl = GetCtrl();
    if (!ctrl || !ctrl->GetSafeHwnd())
        return FALSE;
    COleControlSite* site = ctrl->GetControlSite();
    if (site && !site->GetInPlaceObject())
        return TRUE;
    const BOOL hidden = !CFODrawShape::IsVisible();
    if (!hidden)
        ctrl->ShowWindow(SW_HIDE);
    CRect rc = GetOwnRect();
    if (m_bDesignFrame)
    {
        FillPoly(pDC, GetPoints(), GetPointCount(), GetBkColor(), GetPatternColor(), GetBrushType());
        rc.DeflateRect(m_nFrameInset, m_nFrameInset);
    }
    pDC->LPtoDP(&rc);
    rc.NormalizeRect();
    ctrl->MoveWindow(rc.left, rc.top, rc.Width(), rc.Height(), FALSE);
    if (!hidden)
        ctrl->ShowWindow(SW_SHOW);
    return TRUE;
}

void CFOiControlShape::OnDraw3d(CDC* pDC)
{
    if (!PlaceControl(pDC))
        FillPoly(pDC, GetPoints(), GetPointCount(), GetBkColor(), GetPatternColor(), GetBrushType());
}

void CFOiControlShape::OnDrawFlat(CDC* pDC)
{
    // The control paints itself whichever look the shape has.
    if (!PlaceControl(pDC))
        CFOWndControlShape::OnDrawFlat(pDC);
}

IUnknown* CFOiControlShape::GetOleIDispatch(BOOL bUnknown) const
{
    COleControlWnd* ctrl = GetCtrl();
    LPUNKNOWN unk = ctrl ? ctrl->GetControlUnknown() : nullptr;
    if (!unk || bUnknown)
        return unk;
    IDispatch* disp = nullptr;
    if (FAILED(unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))))
        return nullptr;
    return disp;
}

IPersistStreamInit* CFOiControlShape::GetOleFile(COleStreamFile* pFile) const
{
    LPUNKNOWN unk = GetOleIDispatch(TRUE);
    if (!unk || !pFile)
        return nullptr;
    IPersistStreamInit* persist = nullptr;
    if (FAILED(unk->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))))
        return nullptr;
    if (!pFile->CreateMemoryStream())
    {
        persist->Release();
        return nullptr;
    }
    return persist;
}

BOOL CFOiControlShape::FetchOcxData(CExtOcx* pOcx)
{
    COleStreamFile file;
    CComPtr<IPersistStreamInit> persist;
    persist.Attach(GetOleFile(&file));
    if (!persist)
        return FALSE;
    if (FAILED(persist->Save(file.GetStream(), TRUE)))
        return FALSE;
    const ULONGLONG length = file.GetLength();
    if (length == 0 || length > 0xFFFFFFFFull)
        return FALSE;
    std::vector<BYTE> bytes(static_cast<size_t>(length));
    file.SeekToBegin();
    if (file.Read(bytes.data(), UINT(bytes.size())) != bytes.size())
        return FALSE;
    (pOcx ? *pOcx : m_ocxData).SetData(bytes.data(), DWORD(bytes.size()));
    return TRUE;
}

std::unique_ptr<COleStreamFile> CFOiControlShape::LoadOcxFile(const CExtOcx* pOcx) const
{
    const CExtOcx& data = pOcx ? *pOcx : m_ocxData;
    if (data.GetLength() == 0)
        return nullptr;
    auto file = std::make_unique<COleStreamFile>();
    if (!file->CreateMemoryStream() || !file->Write(data.GetData(), data.GetLength()))
        return nullptr;
    file->SeekToBegin();
    return file;
}

BOOL CFOiControlShape::LoadOcxData(const CExtOcx* pOcx)
{
    const CExtOcx& data = pOcx ? *pOcx : m_ocxData;
    if (data.GetLength() == 0)
        return TRUE;
    COleStreamFile file;
    CComPtr<IPersistStreamInit> persist;
    persist.Attach(GetOleFile(&file));
    if (!persist || !file.Write(data.GetData(), data.GetLength()))
        return FALSE;
    file.SeekToBegin();
    persist->Load(file.GetStream());
    return TRUE;
}

BOOL CFOiControlShape::OnEditProperties(CView*)
{
    LPUNKNOWN unk = GetOleIDispatch(TRUE);
    CComPtr<IOleObject> ole;
    if (!unk || FAILED(unk->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole))))
        return FALSE;
    CComPtr<IOleClientSite> site;
    if (ole->GetClientSite(&site) != S_OK)
        return FALSE;
    CRect rc = GetDrawRect();
    CWnd* canvas = GetParentWnd();
    const HRESULT hr =
        ole->DoVerb(OLEIVERB_PROPERTIES, nullptr, site, 0, canvas ? canvas->GetSafeHwnd() : nullptr, &rc);
    site.Release();
    if (hr != S_OK)
        return FALSE;
    FetchOcxData();
    return TRUE;
}

std::vector<BYTE> CFOiControlShape::GetControlState() const
{
    const BYTE* data = m_ocxData.GetData();
    return data ? std::vector<BYTE>(data, data + m_ocxData.GetLength()) : std::vector<BYTE>();
}

void CFOiControlShape::SetControlState(const std::vector<BYTE>& state)
{
    m_ocxData.SetData(state.empty() ? nullptr : state.data(), DWORD(state.size()));
    if (!HasControl())
        return;
    if (state.empty())
    {
        CComPtr<IPersistStreamInit> persist;
        LPUNKNOWN unk = GetOleIDispatch(TRUE);
        if (unk && SUCCEEDED(unk->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))))
            persist->InitNew();
    }
    else
    {
        LoadOcxData();
    }
    GetCtrl()->Invalidate(FALSE);
}

// Value, text and visibility

LONG CFOiControlShape::SaturateToLong(double d)
{
    if (std::isnan(d))
        return 0;
    if (d >= double(INT32_MAX))
        return INT32_MAX;
    if (d <= double(INT32_MIN))
        return INT32_MIN;
    return LONG(std::trunc(d));
}

double CFOiControlShape::GetCurrentValue() const
{
    const INSTRUMENT_SHAPE_ROW* row = GetRow();
    if (row && row->value == EShapeValue::Edit)
        return std::wcstod(GetCurrentTextValue().GetString(), nullptr);
    if (!row || !HasControl())
        return CFOWndControlShape::GetCurrentValue();
    try
    {
        switch (row->value)
        {
        case EShapeValue::R8:
        {
            double d = 0;
            GetCtrl()->GetProperty(row->dispValue, VT_R8, &d);
            return d;
        }
        case EShapeValue::I4:
        {
            long n = 0;
            GetCtrl()->GetProperty(row->dispValue, VT_I4, &n);
            return double(n);
        }
        case EShapeValue::Bool:
        {
            BOOL b = FALSE;
            GetCtrl()->GetProperty(row->dispValue, VT_BOOL, &b);
            return b ? 1.0 : 0.0;
        }
        case EShapeValue::BarMethod:
        {
            double d = 0;
            GetCtrl()->InvokeHelper(51, DISPATCH_METHOD, VT_R8, &d, VTS_I4, long(0));
            return d;
        }
        default:
            break;
        }
    }
    catch (const _com_error&)
    {
        // A control that refuses the read: the shape's own value stands.
    }
    return CFOWndControlShape::GetCurrentValue();
}

void CFOiControlShape::SetCurrentValue(double dValue)
{
    const INSTRUMENT_SHAPE_ROW* row = GetRow();
    if (row && row->value == EShapeValue::Hex)
    {
        CString hex;
        hex.Format(L"%X", unsigned(SaturateToLong(dValue)));
        SetCurrentTextValue(hex);
    }
    else if (row && row->value == EShapeValue::Edit)
    {
        CString text;
        text.Format(L"%g", dValue);
        SetCurrentTextValue(text);
    }
    else if (row && HasControl())
    {
        try
        {
            switch (row->value)
            {
            case EShapeValue::R8:
                GetCtrl()->SetProperty(row->dispValue, VT_R8, dValue);
                break;
            case EShapeValue::I4:
                GetCtrl()->SetProperty(row->dispValue, VT_I4, long(SaturateToLong(dValue)));
                break;
            case EShapeValue::Bool:
                GetCtrl()->SetProperty(row->dispValue, VT_BOOL, int(SaturateToLong(dValue) != 0));
                break;
            case EShapeValue::BarMethod:
                GetCtrl()->InvokeHelper(54, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_R8, long(0),
                                        dValue);
                break;
            default:
                break;
            }
        }
        catch (const _com_error&)
        {
            // The shape keeps the value all the same.
        }
    }
    CFOWndControlShape::SetCurrentValue(dValue);
}

void CFOiControlShape::SetCurrentTextValue(const CString& strValue)
{
    const INSTRUMENT_SHAPE_ROW* row = GetRow();
    if (row && row->bText && HasControl())
    {
        try
        {
            GetCtrl()->SetProperty(row->dispText, VT_BSTR, strValue.GetString());
        }
        catch (const _com_error&)
        {
        }
    }
    CFOWndControlShape::SetCurrentTextValue(strValue);
}

void CFOiControlShape::SetVisible(BOOL bVisible)
{
    const INSTRUMENT_SHAPE_ROW* row = GetRow();
    if (row && row->bVisible && HasControl())
    {
        try
        {
            GetCtrl()->SetProperty(row->dispVisible, VT_BOOL, int(bVisible != FALSE));
        }
        catch (const _com_error&)
        {
        }
    }
    CFOWndControlShape::SetVisible(bVisible);
}

BOOL CFOiControlShape::IsVisible() const
{
    const INSTRUMENT_SHAPE_ROW* row = GetRow();
    if (row && row->value == EShapeValue::Edit && row->bVisible && HasControl())
    {
        try
        {
            BOOL b = FALSE;
            GetCtrl()->GetProperty(row->dispVisible, VT_BOOL, &b);
            return b;
        }
        catch (const _com_error&)
        {
        }
    }
    return CFODrawShape::IsVisible();
}
