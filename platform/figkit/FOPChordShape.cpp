#include "figkit/FOPChordShape.h"

#include <algorithm>

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Dc.h"

#include <cmath>

IMPLEMENT_SERIAL(CFOPChordShape, CFOEllipseShape2, 0)

namespace
{
const int kVersion = 1;
}

CFOPChordShape::CFOPChordShape()
{
    SetType(FO_COMP_CHORD);
    SetPatternColor(RGB(0, 128, 255));
}

CFOPChordShape::CFOPChordShape(const CFOPChordShape& src) : CFOEllipseShape2(src) {}

CFOPChordShape::~CFOPChordShape() = default;

CFOPChordShape& CFOPChordShape::operator=(const CFOPChordShape& src)
{
    CFOEllipseShape2::operator=(src);
    return *this;
}

CFODrawShape* CFOPChordShape::Copy() const
{
    return new CFOPChordShape(*this);
}

void CFOPChordShape::Serialize(CArchive& ar)
{
    CFOEllipseShape2::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}

void CFOPChordShape::FillChord(CDC* pDC, const CRect& rc, double fraction, COLORREF crFill)
{
    if (fraction <= 0.0 || rc.Width() <= 0 || rc.Height() <= 0)
        return;
    const int y = CFODrawHelper::RoundValue(rc.bottom - fraction * rc.Height());
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(rc.left, y, rc.right + 1, rc.bottom + 1);
    CFODrawHelper::FillEllipse(pDC, CRect(rc.left, rc.top, rc.right + 1, rc.bottom + 1), crFill, crFill,
                               FO_BRUSH_SOLID);
    pDC->RestoreDC(saved);
}

void CFOPChordShape::OnDrawFlat(CDC* pDC)
{
    const CRect rc = GetOwnRect();
    if (!IsTransparent())
        CFODrawHelper::FillEllipse(pDC, CRect(rc.left, rc.top, rc.right + 1, rc.bottom + 1), GetBkColor(),
                                   GetBkColor(), FO_BRUSH_SOLID);
    FillChord(pDC, rc, GetValueFraction(), GetPatternColor());
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Ellipse(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    DrawCaptionText(pDC, rc, GetObjectCaption());
}

void CFOPChordShape::SetChordAnchors(const CPoint& ptStart, const CPoint& ptEnd, const CRect& rcEllipse)
{
    m_ptChordStart = ptStart;
    m_ptChordEnd = ptEnd;
    m_rcChord = rcEllipse;
}

void CFOPChordShape::SetChordPolygon(const POINT* points, int nCount)
{
    m_aChordPoints.assign(points, points + std::max(0, nCount));
}

void CFOPChordShape::DrawChordPolygon(CDC* pDC)
{
    const int n = int(m_aChordPoints.size());
    if (!pDC || n < 3)
        return;
    FillPoly(pDC, m_aChordPoints.data(), n, GetBkColor(), GetPatternColor(), GetBrushType());
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Polygon(m_aChordPoints.data(), n);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
