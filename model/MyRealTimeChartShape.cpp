#include "model/MyRealTimeChartShape.h"

#include "figkit/FOValueProperties.h"
#include "model/FORealTimeWnd.h"
#include "model/XVKValueSet.h"

#include <memory>

IMPLEMENT_SERIAL(CMyRealTimeChartShape, CFOWndControlShape, 0)

CMyRealTimeChartShape::CMyRealTimeChartShape()
{
    SetType(632);
}

CMyRealTimeChartShape::CMyRealTimeChartShape(const CMyRealTimeChartShape& src) : CFOWndControlShape(src) {}

CMyRealTimeChartShape::~CMyRealTimeChartShape() = default;

CFODrawShape* CMyRealTimeChartShape::Copy() const
{
    return new CMyRealTimeChartShape(*this);
}

CFORealTimeWnd* CMyRealTimeChartShape::GetChartWnd() const
{
    return dynamic_cast<CFORealTimeWnd*>(GetWnd());
}

int CMyRealTimeChartShape::CreateWnd(CWnd* pParent, int nMode)
{
    const CRect rc = GetDrawRect();
    auto wnd = std::make_unique<CFORealTimeWnd>();
    const DWORD style = WS_CHILD | WS_VISIBLE;
    if (nMode == 0)
    {
        CString text;
        GetPropStringValue(text, 15009);
        wnd->Create(style, rc, pParent, GetCtrlID(), text.GetString(), GetMinValue(), GetMaxValue(),
                    GetBkColor());
    }
    else
        wnd->Create(style, rc, pParent, GetCtrlID());
    if (!wnd->GetSafeHwnd())
        return 0;
    wnd->SetRangeAndBackground(GetMinValue(), GetMaxValue(), GetBkColor());
    wnd->EnableWindow(FALSE);
    SetWnd(wnd.release());
    return 0;
}

void CMyRealTimeChartShape::DoAddCustProp()
{
    CFODrawShape::DoAddCustProp();
    const CFOValueProperties list(15009, FO_VALUE::MakeString(CString()));
    const CFOValueProperties p28(15028, FO_VALUE::MakeInt(1));
    const CFOValueProperties p29(15029, FO_VALUE::MakeInt(1000));
    AddNewProperty(&list);
    AddNewProperty(&p28);
    AddNewProperty(&p29);
}

void CMyRealTimeChartShape::DoEndPropChange()
{
    if (CFORealTimeWnd* wnd = GetChartWnd())
        wnd->SetRangeAndBackground(GetMinValue(), GetMaxValue(), GetBkColor());
}

bool CMyRealTimeChartShape::AddALine(DWORD crColor, double dMin, double dMax, const wchar_t* name,
                                     const wchar_t* text2, const wchar_t* text3, double dLow, double dHigh,
                                     int nStyle, int nWidth)
{
    CFORealTimeWnd* wnd = GetChartWnd();
    return wnd &&
           wnd->GetEngine().AddLine(crColor, dMin, dMax, name, text2, text3, dLow, dHigh, nStyle, nWidth);
}

void CMyRealTimeChartShape::SetLineData(int nLine, double value)
{
    if (CFORealTimeWnd* wnd = GetChartWnd())
        wnd->GetEngine().SetLineData(nLine, value);
}

void CMyRealTimeChartShape::UpdateLineData(const CString& name, double value)
{
    CString text;
    GetPropStringValue(text, 15009);
    CFORealTimeWnd* wnd = GetChartWnd();
    if (wnd && !text.IsEmpty())
        wnd->UpdateByName(name, value, text.GetString());
}

bool CMyRealTimeChartShape::InitChart(const wchar_t* text)
{
    CFORealTimeWnd* wnd = GetChartWnd();
    return wnd && wnd->InitChart(text);
}

bool CMyRealTimeChartShape::UpdateChartData()
{
    return XVKFeedChart(this,
                        [this](int nCount, double* values) { UpdateMultiLineData(nCount, nullptr, values); });
}

bool CMyRealTimeChartShape::UpdateMultiLineData(int nCount, const wchar_t* const*, double* values)
{
    if (CFORealTimeWnd* wnd = GetChartWnd())
        wnd->UpdateMultiLine(nCount, values);
    return true;
}
