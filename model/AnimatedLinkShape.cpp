#include "model/AnimatedLinkShape.h"

#include "mfc/Dc.h"

#include <cmath>

IMPLEMENT_SERIAL(CAnimatedLinkShape, CFOLinkShape, 0)
IMPLEMENT_SERIAL(CExtEllipseShape, CFOEllipseShape2, 0)

// CAnimatedLinkShape

CAnimatedLinkShape::CAnimatedLinkShape()
{
    SetType(622);
}

CAnimatedLinkShape::CAnimatedLinkShape(const CAnimatedLinkShape& src) : CFOLinkShape()
{
    SetType(622);
    *this = src;
}

CAnimatedLinkShape::~CAnimatedLinkShape()
{
    m_timer.Stop(this);
}

CAnimatedLinkShape& CAnimatedLinkShape::operator=(const CAnimatedLinkShape& src)
{
    CFOLinkShape::operator=(src);
    return *this;
}

CFODrawShape* CAnimatedLinkShape::Copy() const
{
    return new CAnimatedLinkShape(*this);
}

void CAnimatedLinkShape::Create(const POINT* points, int nCount, CFOPortShape* pFrom, CFOPortShape* pTo)
{
    CFOLinkShape::Create(points, nCount, pFrom, pTo);
}

void CAnimatedLinkShape::Create(const CArray<CPoint, CPoint>* pPoints, CFOPortShape* pFrom, CFOPortShape* pTo)
{
    CFOLinkShape::Create(pPoints, pFrom, pTo);
}

void CAnimatedLinkShape::RelayoutTrackPoints()
{
    CFOLinkShape::RelayoutTrackPoints();
}

void CAnimatedLinkShape::Step()
{
    m_fDistance += 3.0f;
    UpdateControl();
}

CPoint CAnimatedLinkShape::CalcDotPoint()
{
    const int count = GetPointCount();
    // A link of fewer than two points has no segment: the dot stays on its one point.
    if (count < 2)
    {
        m_nSegment = 0;
        m_fDistance = 0.0f;
        return count == 1 ? GetPoint(0) : CPoint(0, 0);
    }
    if (m_nSegment >= count - 1 || m_nSegment < 0)
        m_nSegment = 0;
    const CPoint p0 = GetPoint(m_nSegment);
    const CPoint p1 = GetPoint(m_nSegment + 1);
    const double dx = double(p1.x) - p0.x, dy = double(p1.y) - p0.y;
    const float len = float(std::sqrt(dx * dx + dy * dy));
    if (len > m_fDistance)
    {
        if (len < 1.0f)
            return p1;
        const float f = m_fDistance / len;
        return CPoint(int(float(p0.x) + float(dx) * f), int(float(p0.y) + float(dy) * f));
    }
    ++m_nSegment;
    m_fDistance = 0.0f;
    return p1;
}

void CAnimatedLinkShape::DrawDot(CDC* pDC)
{
    const CPoint dot = CalcDotPoint();
    const int x = int(double(dot.x) - 3.0), y = int(double(dot.y) - 3.0);
    CBrush brush(0x000000FF);
    CBrush* old = pDC->SelectObject(&brush);
    CPen pen(PS_NULL, 0, COLORREF(0));
    CPen* oldPen = pDC->SelectObject(&pen);
    pDC->Ellipse(x, y, x + 7, y + 7);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(old);
}

void CAnimatedLinkShape::OnDrawFlat(CDC* pDC)
{
    CFOLinkShape::OnDrawFlat(pDC);
    if (XVKIsAnimationOn(this))
        DoStartTimer();
    DrawDot(pDC);
}

void CAnimatedLinkShape::DoAddCustProp()
{
    CFOLinkShape::DoAddCustProp();
    XVKAddAnimationProp(this, FALSE);
}

void CAnimatedLinkShape::SetParentWnd(CWnd* pWnd)
{
    m_timer.OnParentWnd(this, pWnd);
    CFOLinkShape::SetParentWnd(pWnd);
}

void CAnimatedLinkShape::OnTimer(int nTimerId)
{
    if (m_timer.IsMine(nTimerId))
        Step();
    else
        CFOLinkShape::OnTimer(nTimerId);
}

BOOL CAnimatedLinkShape::DoAnimate()
{
    Step();
    return TRUE;
}

void CAnimatedLinkShape::DoStartTimer()
{
    m_timer.Start(this, TIMER_PERIOD, TRUE);
}

// CExtEllipseShape

CExtEllipseShape::CExtEllipseShape()
{
    SetType(605);
    SetLineWidth(2);
    SetBkColor(BLINK_ON);
}

CExtEllipseShape::CExtEllipseShape(const CExtEllipseShape& src) : CFOEllipseShape2()
{
    SetType(605);
    SetLineWidth(2);
    SetBkColor(BLINK_ON);
    *this = src;
}

CExtEllipseShape::~CExtEllipseShape()
{
    m_timer.Stop(this);
}

CExtEllipseShape& CExtEllipseShape::operator=(const CExtEllipseShape& src)
{
    CFOEllipseShape2::operator=(src);
    return *this;
}

CFODrawShape* CExtEllipseShape::Copy() const
{
    return new CExtEllipseShape(*this);
}

void CExtEllipseShape::Blink()
{
    m_nBlink = m_nBlink ? 0 : 1;
    SetBkColor(m_nBlink ? BLINK_ON : BLINK_OFF);
}

void CExtEllipseShape::OnDrawFlat(CDC* pDC)
{
    if (XVKIsAnimationOn(this))
        DoStartTimer();
    CFOEllipseShape2::OnDrawFlat(pDC);
}

void CExtEllipseShape::DoAddCustProp()
{
    CFOEllipseShape2::DoAddCustProp();
    XVKAddAnimationProp(this, FALSE);
}

void CExtEllipseShape::SetParentWnd(CWnd* pWnd)
{
    m_timer.OnParentWnd(this, pWnd);
    CFOEllipseShape2::SetParentWnd(pWnd);
}

void CExtEllipseShape::OnTimer(int nTimerId)
{
    if (!m_timer.IsMine(nTimerId))
    {
        CFOEllipseShape2::OnTimer(nTimerId);
        return;
    }
    Blink();
    UpdateControl();
}

BOOL CExtEllipseShape::DoAnimate()
{
    Blink();
    return TRUE;
}

void CExtEllipseShape::DoStartTimer()
{
    m_timer.Start(this, TIMER_PERIOD, TRUE);
}
