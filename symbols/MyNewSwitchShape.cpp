#include "symbols/MyNewSwitchShape.h"

#include "mfc/Archive.h"
#include "symbols/SymbolParts.h"

#include <atomic>

IMPLEMENT_SERIAL(CMyNewSwitchShape, CFOCompositeShape, 0)

using namespace SymbolParts;

namespace
{
std::atomic<UINT> g_nResId{CMyNewSwitchShape::RES_ID_RUNTIME};

const COLORREF kBarOn = RGB(255, 0, 0);
const COLORREF kBarOff = RGB(0, 255, 0);
} // namespace

CMyNewSwitchShape::CMyNewSwitchShape()
{
    SetType(TYPE_ID);
}

CMyNewSwitchShape::CMyNewSwitchShape(const CMyNewSwitchShape& src) : CFOCompositeShape(src)
{
    SetType(TYPE_ID);
}

CMyNewSwitchShape& CMyNewSwitchShape::operator=(const CMyNewSwitchShape& src)
{
    if (this != &src)
    {
        CFOCompositeShape::operator=(src);
        ClearParts();
    }
    return *this;
}

CFODrawShape* CMyNewSwitchShape::Copy() const
{
    return new CMyNewSwitchShape(*this);
}

void CMyNewSwitchShape::SetResourceId(UINT nResId)
{
    g_nResId = nResId;
}

UINT CMyNewSwitchShape::GetResourceId()
{
    return g_nResId;
}

void CMyNewSwitchShape::ClearParts()
{
    m_pClickArea = m_pShowBar = m_pOn = m_pOff = nullptr;
}

void CMyNewSwitchShape::Create(CRect& rcPos, CString strCaption)
{
    ClearParts();
    CreateFromResource(this, rcPos, strCaption, GetResourceId(),
                       [](CFOCompositeShape* comp)
                       {
                           if (CFODrawShape* off = comp->FindShapeWithKey1(L"S_OFF"))
                               off->SetVisible(FALSE);
                           if (CFODrawShape* bar = comp->FindShapeWithKey1(L"SHOW_BAR"))
                               bar->SetBkColor(kBarOn);
                       });
}

void CMyNewSwitchShape::Serialize(CArchive& ar)
{
    CFOCompositeShape::Serialize(ar);
    if (ar.IsLoading())
        ClearParts();
}

BOOL CMyNewSwitchShape::OnLButtonUp(UINT nFlags, CPoint point)
{
    CFODrawShape* area = GetClickArea();
    if (area && GetShowBar() && area->GetSnapRect().PtInRect(point) && Show(!IsOn(GetOnPart())))
        UpdateControl();
    return CFOCompositeShape::OnLButtonUp(nFlags, point);
}

void CMyNewSwitchShape::SetCurrentValue(double dValue)
{
    CFOCompositeShape::SetCurrentValue(dValue);
    if (IsRunValue(this, dValue))
        Show(dValue != 0.0);
}

BOOL CMyNewSwitchShape::Show(BOOL bOn)
{
    CFODrawShape* bar = GetShowBar();
    if (!bar || !ShowState(GetOnPart(), GetOffPart(), bOn))
        return FALSE;
    bar->SetBkColor(bOn ? kBarOn : kBarOff);
    return TRUE;
}

CFODrawShape* CMyNewSwitchShape::GetClickArea()
{
    return Get(this, m_pClickArea, L"CLICK_AREA", FindBy::Key1);
}

CFODrawShape* CMyNewSwitchShape::GetShowBar()
{
    return Get(this, m_pShowBar, L"SHOW_BAR", FindBy::Key1);
}

CFODrawShape* CMyNewSwitchShape::GetOnPart()
{
    return Get(this, m_pOn, L"S_ON", FindBy::Key1);
}

CFODrawShape* CMyNewSwitchShape::GetOffPart()
{
    return Get(this, m_pOff, L"S_OFF", FindBy::Key1);
}
