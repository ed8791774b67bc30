#include "model/XFODemoShape.h"

#include "figkit/FODataModel.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FOPSimpleLabelShape.h"

#include <cstdlib>

IMPLEMENT_SERIAL(CXFODemoShape, CFOCompositeShape, 0)

namespace
{
const wchar_t kTitle[] = L"Quendrel Solutions";
const wchar_t kLink[] = L"www.quendrel.example";
} // namespace

CXFODemoShape::CXFODemoShape()
{
    SetType(XFO_DEMO_SHAPE_TYPE);
}

CXFODemoShape::CXFODemoShape(const CXFODemoShape& src) : CFOCompositeShape()
{
    SetType(XFO_DEMO_SHAPE_TYPE);
    CFOCompositeShape::operator=(src);
}

CXFODemoShape::~CXFODemoShape()
{
    m_timer.Stop(this);
}

CXFODemoShape& CXFODemoShape::operator=(const CXFODemoShape& src)
{
    CFOCompositeShape::operator=(src);
    return *this;
}

CFODrawShape* CXFODemoShape::Copy() const
{
    return new CXFODemoShape(*this);
}

COLORREF CXFODemoShape::RandomColor()
{
    const int r = std::rand() % 255;
    const int g = std::rand() % 255;
    const int b = std::rand() % 255;
    return RGB(BYTE(r), BYTE(g), BYTE(b));
}

CRect CXFODemoShape::GetRandomPosition(const CRect& r) const
{
    const CRect page = GetModel() ? GetModel()->GetPagePosition() : CRect();
    const int spanX = page.Width() - r.Width();
    const int spanY = page.Height() - r.Height();
    const int x = spanX > 0 ? std::rand() % spanX : 0;
    const int y = spanY > 0 ? std::rand() % spanY : 0;
    return CRect(x, y, x + r.Width(), y + r.Height());
}

void CXFODemoShape::Create(CRect& rcPos, CString strCaption)
{
    CRect rc = rcPos;
    if (rc.IsRectEmpty())
        rc = GetRandomPosition(CRect(0, 0, 140, 40));
    CFOCompositeShape::Create(rc, strCaption);
    const COLORREF c = RandomColor();
    CFOPSimpleLabelShape* title = AddText(L"Title", kTitle, CRect(0, 0, 140, 40));
    title->SetBrushType(1);
    title->SetBkColor(RGB(255, BYTE(std::rand() % 255), 0));
    title->SetPenStyle(0);
    title->SetNullPen(FALSE);
    CFOPSimpleLabelShape* link = AddText(L"Link", kLink, CRect(0, 40, 140, 76));
    link->SetBrushType(1);
    link->SetBkColor(c);
    link->SetPenStyle(0);
    link->SetNullPen(FALSE);
    RemoveAllPorts();
    PositionShape(rc);
    SetResizeProtect(TRUE);
    SetRotateProtect(TRUE);
    SetTransparent(TRUE);
}

void CXFODemoShape::Serialize(CArchive& ar)
{
    CFOCompositeShape::Serialize(ar);
}

void CXFODemoShape::ChangeShapeLook()
{
    const CRect old = GetSnapRect();
    PositionShape(GetRandomPosition(old));
    InvalRect(old);
    SetBkColor(RandomColor());
}

void CXFODemoShape::AnimateShapeLook()
{
    SetTransparentValue(m_nTickCount & 0xFF);
}

void CXFODemoShape::DoStartTimer()
{
    m_timer.Start(this, TIMER_PERIOD, TRUE);
}

void CXFODemoShape::SetParentWnd(CWnd* pWnd)
{
    m_timer.OnParentWnd(this, pWnd);
    CFOCompositeShape::SetParentWnd(pWnd);
}

void CXFODemoShape::OnTimer(int nTimerId)
{
    if (!m_timer.IsMine(nTimerId))
    {
        CFOCompositeShape::OnTimer(nTimerId);
        return;
    }
    ++m_nTickCount;
    if (m_nTickCount % TICKS_PER_JUMP == 0)
    {
        ++m_nChangeCount;
        ChangeShapeLook();
    }
    else
    {
        AnimateShapeLook();
    }
    UpdateControl();
}

void CXFODemoShape::OnDrawFlat(CDC* pDC)
{
    CFOCompositeShape::OnDrawFlat(pDC);
    DoStartTimer();
}

void CXFODemoShape::OnDraw3d(CDC* pDC)
{
    CFOCompositeShape::OnDraw3d(pDC);
    DoStartTimer();
}
