#include "figkit/FOWndControlShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"
#include "mfc/Wnd.h"

IMPLEMENT_SERIAL(CFOWndControlShape, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
}

CFOWndControlShape::CFOWndControlShape()
{
    SetType(FO_COMP_WNDCONTROL);
}

CFOWndControlShape::CFOWndControlShape(UINT nCtrlID) : CFOWndControlShape()
{
    m_nCtrlID = nCtrlID;
}

CFOWndControlShape::CFOWndControlShape(const CFOWndControlShape& src) : CFODrawPortsShape(src)
{
    m_nCtrlID = src.m_nCtrlID;
}

CFOWndControlShape::~CFOWndControlShape()
{
    DestroyWnd();
}

CFOWndControlShape& CFOWndControlShape::operator=(const CFOWndControlShape& src)
{
    CFODrawPortsShape::operator=(src);
    m_nCtrlID = src.m_nCtrlID;
    return *this;
}

CFODrawShape* CFOWndControlShape::Copy() const
{
    return new CFOWndControlShape(*this);
}

int CFOWndControlShape::CreateWnd(CWnd*, int nID)
{
    m_nCtrlID = UINT(nID);
    return 0;
}

void CFOWndControlShape::DestroyWnd()
{
    CWnd* wnd = m_pWnd;
    m_pWnd = nullptr;
    if (!wnd)
        return;
    if (wnd->GetSafeHwnd())
        wnd->DestroyWindow();
    delete wnd;
}

void CFOWndControlShape::SetWnd(CWnd* pWnd)
{
    if (pWnd == m_pWnd)
        return;
    DestroyWnd();
    m_pWnd = pWnd;
    UpdateComp();
}

void CFOWndControlShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
        ar << m_nCtrlID;
    else
        ar >> m_nCtrlID;
}

void CFOWndControlShape::SetParentWnd(CWnd* pWnd)
{
    CWnd* old = GetParentWnd();
    CFODrawPortsShape::SetParentWnd(pWnd);
    if (!pWnd || (old && old != pWnd))
        DestroyWnd();
    // A window object without its window (a new shape keeps one ready) is no window yet.
    if (pWnd && pWnd->GetSafeHwnd() && !(m_pWnd && m_pWnd->GetSafeHwnd()))
    {
        CreateWnd(pWnd, int(m_nCtrlID));
        UpdateComp();
        if (m_pWnd && m_pWnd->GetSafeHwnd() && !IsVisible())
            m_pWnd->ShowWindow(SW_HIDE);
    }
}

void CFOWndControlShape::PlaceWnd()
{
    if (!m_pWnd || !m_pWnd->GetSafeHwnd())
        return;
    CRect rc = GetDrawRect();
    if (const auto* canvas = dynamic_cast<const CFOPCanvasCore*>(GetParentWnd()))
        rc = canvas->CanvasToClient(rc, FALSE);
    m_pWnd->MoveWindow(&rc);
}

void CFOWndControlShape::UpdateComp()
{
    CFODrawPortsShape::UpdateComp();
    PlaceWnd();
}

void CFOWndControlShape::SetVisible(BOOL bVisible)
{
    CFODrawPortsShape::SetVisible(bVisible);
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        m_pWnd->ShowWindow(bVisible ? SW_SHOW : SW_HIDE);
}

void CFOWndControlShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        return;
    const CRect rc = GetOwnRect();
    CFODrawHelper::FillRectangle(pDC, CRect(rc.left, rc.top, rc.right + 1, rc.bottom + 1), GetBkColor(),
                                 GetPatternColor(), FO_BRUSH_SOLID);
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    DrawCaptionText(pDC, rc, GetObjectCaption());
}
