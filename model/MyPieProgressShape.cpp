#include "model/MyPieProgressShape.h"

#include "mfc/Dc.h"

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_SERIAL(CMyPieProgressShape, CFORectShape, 0)

CMyPieProgressShape::CMyPieProgressShape()
{
    SetType(621);
    SetBkColor(0xFF0000);
}

CMyPieProgressShape::CMyPieProgressShape(const CMyPieProgressShape& src) : CFORectShape()
{
    SetType(621);
    SetBkColor(0xFF0000);
    *this = src;
}

CMyPieProgressShape::~CMyPieProgressShape()
{
    m_timer.Stop(this);
}

CMyPieProgressShape& CMyPieProgressShape::operator=(const CMyPieProgressShape& src)
{
    CFORectShape::operator=(src);
    m_nPos = src.m_nPos;
    m_nLower = src.m_nLower;
    m_nUpper = src.m_nUpper;
    m_nStep = src.m_nStep;
    return *this;
}

CFODrawShape* CMyPieProgressShape::Copy() const
{
    return new CMyPieProgressShape(*this);
}

void CMyPieProgressShape::SetRange(int a, int b)
{
    m_nLower = std::min(a, b);
    m_nUpper = std::max(a, b);
    UpdateControl();
}

int CMyPieProgressShape::SetPos(int p)
{
    m_nPos = std::clamp(p, m_nLower, m_nUpper);
    UpdateControl();
    return p;
}

int CMyPieProgressShape::OffsetPos(int d)
{
    const long long p = (long long)m_nPos + d;
    m_nPos = int(std::clamp<long long>(p, m_nLower, m_nUpper));
    UpdateControl();
    return m_nPos;
}

int CMyPieProgressShape::StepIt()
{
    const long long p = std::clamp<long long>((long long)m_nPos + m_nStep, INT_MIN, INT_MAX);
    SetPos(int(p));
    return m_nPos;
}

int CMyPieProgressShape::GetPercent() const
{
    if (m_nUpper == m_nLower)
        return 0;
    return int((double(m_nPos) - m_nLower) / (double(m_nUpper) - m_nLower) * 100);
}

void CMyPieProgressShape::DrawPie(CDC* pDC)
{
    if (XVKIsAnimationOn(this))
        DoStartTimer();
    const CRect r = GetSnapRect();
    const double w = r.right - r.left;
    const double twoPi = 2 * 3.14159265358979;
    auto at = [&](double deg)
    {
        return CPoint(r.left + int(w * std::sin(twoPi * deg / 360)),
                      r.top + int(w * std::cos(twoPi * deg / 360)));
    };
    const int percent = GetPercent();
    const double sweep = percent / 100.0 * 360;
    CString text;
    text.Format(L"%d%%", percent);
    CRect rc = r;
    pDC->DrawText(text, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (sweep == 0)
        return;
    // The wedge in the shape's line pen and pattern colour.
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CBrush brush(GetPatternColor());
    CBrush* oldBrush = pDC->SelectObject(&brush);
    pDC->Pie(&r, at(0), at(sweep));
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void CMyPieProgressShape::OnDrawFlat(CDC* pDC)
{
    CFORectShape::OnDrawFlat(pDC);
    DrawPie(pDC);
}

void CMyPieProgressShape::DoAddCustProp()
{
    CFORectShape::DoAddCustProp();
    XVKAddAnimationProp(this, FALSE);
}

void CMyPieProgressShape::SetParentWnd(CWnd* pWnd)
{
    m_timer.OnParentWnd(this, pWnd);
    CFORectShape::SetParentWnd(pWnd);
}

void CMyPieProgressShape::Animate()
{
    if (GetPos() == 100)
        SetPos(0);
    else
        StepIt();
}

void CMyPieProgressShape::OnTimer(int nTimerId)
{
    if (m_timer.IsMine(nTimerId))
        Animate();
    else
        CFORectShape::OnTimer(nTimerId);
}

BOOL CMyPieProgressShape::DoAnimate()
{
    Animate();
    return TRUE;
}

void CMyPieProgressShape::DoStartTimer()
{
    m_timer.Start(this, TIMER_PERIOD, TRUE);
}
