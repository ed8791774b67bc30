#include "figkit/FOLineShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CFOLineShape, CFODrawShape, 0)

namespace
{
const int kVersion = 1;

double SegmentDistance(const CPoint& p, const CPoint& a, const CPoint& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double x = a.x + t * dx - p.x, y = a.y + t * dy - p.y;
    return std::sqrt(x * x + y * y);
}
} // namespace

CFOLineShape::CFOLineShape()
{
    SetType(FO_COMP_LINE);
    SetBrushType(0);
}

CFOLineShape::CFOLineShape(const CFOLineShape& src) : CFODrawShape(src)
{
    m_nStartArrow = src.m_nStartArrow;
    m_nEndArrow = src.m_nEndArrow;
    m_nArrowSize = src.m_nArrowSize;
    m_aStartArrow = src.m_aStartArrow;
    m_aEndArrow = src.m_aEndArrow;
}

CFOLineShape::~CFOLineShape() = default;

CFOLineShape& CFOLineShape::operator=(const CFOLineShape& src)
{
    CFODrawShape::operator=(src);
    m_nStartArrow = src.m_nStartArrow;
    m_nEndArrow = src.m_nEndArrow;
    m_nArrowSize = src.m_nArrowSize;
    m_aStartArrow = src.m_aStartArrow;
    m_aEndArrow = src.m_aEndArrow;
    return *this;
}

CFODrawShape* CFOLineShape::Copy() const
{
    return new CFOLineShape(*this);
}

void CFOLineShape::Create(CRect& rcPos, CString strCaption)
{
    if (GetPointCount() == 0)
    {
        const POINT pts[2] = {{rcPos.left, rcPos.top}, {rcPos.right, rcPos.bottom}};
        SetPoints(pts, 2);
        SetObjectCaption(strCaption);
        UpdateComp();
        return;
    }
    CFODrawShape::Create(rcPos, strCaption);
    UpdateComp();
}

void CFOLineShape::Create(const POINT* points, int nCount)
{
    SetPoints(points, nCount);
    UpdateComp();
}

void CFOLineShape::Create(const CArray<CPoint, CPoint>* pPoints)
{
    if (!pPoints)
        return;
    Create(pPoints->GetData(), int(pPoints->GetSize()));
}

void CFOLineShape::Serialize(CArchive& ar)
{
    CFODrawShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
    {
        ar << m_nStartArrow << m_nEndArrow << m_nArrowSize;
        return;
    }
    int size = 8;
    ar >> m_nStartArrow >> m_nEndArrow >> size;
    SetArrowSize(size);
    UpdateComp();
}

std::vector<CPoint> CFOLineShape::ArrowHead(const CPoint& tip, const CPoint& from, int nSize, int nKind)
{
    // The standard arrow is half as long again and narrower.
    const double length = nKind == FO_ARROW_STANDARD ? nSize * 1.5 : nSize;
    const double halfWidth = nKind == FO_ARROW_STANDARD ? nSize / 3.0 : nSize / 2.0;
    const double dx = tip.x - from.x, dy = tip.y - from.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len <= 0)
        return {};
    const double ux = dx / len, uy = dy / len;
    const double bx = tip.x - ux * length, by = tip.y - uy * length;
    const double half = halfWidth;
    return {tip, CPoint(CFODrawHelper::RoundValue(bx - uy * half), CFODrawHelper::RoundValue(by + ux * half)),
            CPoint(CFODrawHelper::RoundValue(bx + uy * half), CFODrawHelper::RoundValue(by - ux * half))};
}

void CFOLineShape::BuildLineStartObject()
{
    m_aStartArrow.clear();
    if (m_nStartArrow != FO_ARROW_NONE && GetPointCount() >= 2)
        m_aStartArrow = ArrowHead(GetPoint(0), GetPoint(1), m_nArrowSize, m_nStartArrow);
}

void CFOLineShape::BuildLineEndObject()
{
    m_aEndArrow.clear();
    const int n = GetPointCount();
    if (m_nEndArrow != FO_ARROW_NONE && n >= 2)
        m_aEndArrow = ArrowHead(GetPoint(n - 1), GetPoint(n - 2), m_nArrowSize, m_nEndArrow);
}

void CFOLineShape::UpdateComp()
{
    CFODrawShape::UpdateComp();
    BuildLineStartObject();
    BuildLineEndObject();
}

BOOL CFOLineShape::PtInShape(CPoint point) const
{
    const CPoint own = CanvasToOwn(point);
    const double tolerance = GetLineWidth() / 2.0 + 3.0;
    for (int i = 0; i + 1 < GetPointCount(); ++i)
        if (SegmentDistance(own, GetPoint(i), GetPoint(i + 1)) <= tolerance)
            return TRUE;
    return FALSE;
}

void CFOLineShape::GetPathSimplePolygon(FOPSimpleCompositePolygon& polygon) const
{
    FOPSimplePolygon p;
    for (int i = 0; i < GetPointCount(); ++i)
        p.Add(OwnToCanvas(GetPoint(i)));
    polygon.Append(p);
}

void CFOLineShape::OnDrawFlat(CDC* pDC)
{
    if (!pDC || GetPointCount() < 2)
        return;
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    pDC->Polyline(GetPoints(), GetPointCount());
    pDC->SelectObject(oldPen);
    for (const std::vector<CPoint>* head : {&m_aStartArrow, &m_aEndArrow})
        if (head->size() == 3)
            CFODrawHelper::FillPoly(pDC, head->data(), 3, GetLineColor(), GetLineColor(), FO_BRUSH_SOLID);
}

void CFOLineShape::OnDrawTrackCustom(CDC* pDC)
{
    if (pDC && GetTrackPointCount() >= 2)
        pDC->Polyline(GetTrackPoints(), GetTrackPointCount());
}
