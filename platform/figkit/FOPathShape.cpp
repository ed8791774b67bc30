#include "figkit/FOPathShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

#include <QPainterPath>

#include <numeric>

IMPLEMENT_SERIAL(CFOPathShape, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
// Line segments per Bezier segment when drawing.
const int kCurveSteps = 16;
} // namespace

CFOPathShape::CFOPathShape()
{
    SetType(FO_COMP_PATH);
    SetPolyObject(TRUE);
}

CFOPathShape::CFOPathShape(const CFOPathShape& src) : CFODrawPortsShape(src)
{
    m_nKind = src.m_nKind;
    m_aSubCounts = src.m_aSubCounts;
    m_aSubClosed = src.m_aSubClosed;
    m_aFlags = src.m_aFlags;
}

CFOPathShape::~CFOPathShape() = default;

CFOPathShape& CFOPathShape::operator=(const CFOPathShape& src)
{
    CFODrawPortsShape::operator=(src);
    m_nKind = src.m_nKind;
    m_aSubCounts = src.m_aSubCounts;
    m_aSubClosed = src.m_aSubClosed;
    m_aFlags = src.m_aFlags;
    return *this;
}

CFODrawShape* CFOPathShape::Copy() const
{
    return new CFOPathShape(*this);
}

void CFOPathShape::Create(const FOPSimpleCompositePolygon& polygon, int nKind, CString strCaption)
{
    std::vector<CPoint> points;
    m_aSubCounts.clear();
    m_aSubClosed.clear();
    m_aFlags.clear();
    for (int i = 0; i < polygon.Count(); ++i)
    {
        const FOPSimplePolygon& p = polygon[i];
        if (p.IsEmpty())
            continue;
        m_aSubCounts.push_back(p.GetCount());
        m_aSubClosed.push_back(p.IsClosed() ? 1 : 0);
        for (int k = 0; k < p.GetCount(); ++k)
        {
            points.push_back(p[k]);
            m_aFlags.push_back(p.GetFlag(k));
        }
    }
    m_nKind = nKind;
    SetPoints(points.data(), int(points.size()));
    SetObjectCaption(strCaption);
    UpdateComp();
}

void CFOPathShape::Create(CRect& rcPos, CString strCaption)
{
    CFODrawPortsShape::Create(rcPos, strCaption);
    m_aSubCounts.assign(1, GetPointCount());
    m_aSubClosed.assign(1, 1);
    m_aFlags.assign(size_t(GetPointCount()), FOPSimplePolygon::FOP_POINT_NORMAL);
    m_nKind = FO_PATH_CLOSED;
}

void CFOPathShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
    {
        ar << m_nKind;
        ar.WriteCount(m_aSubCounts.size());
        for (size_t i = 0; i < m_aSubCounts.size(); ++i)
            ar << m_aSubCounts[i] << BYTE(m_aSubClosed[i]);
        ar.WriteCount(m_aFlags.size());
        for (BYTE f : m_aFlags)
            ar << f;
        return;
    }
    ar >> m_nKind;
    const DWORD_PTR subs = ar.ReadCount(5);
    m_aSubCounts.assign(subs, 0);
    m_aSubClosed.assign(subs, 0);
    long long total = 0;
    for (DWORD_PTR i = 0; i < subs; ++i)
    {
        ar >> m_aSubCounts[i] >> m_aSubClosed[i];
        if (m_aSubCounts[i] < 0)
            AfxThrowArchiveException(CArchiveException::badIndex);
        total += m_aSubCounts[i];
    }
    const DWORD_PTR flags = ar.ReadCount(1);
    if (total != GetPointCount() || flags != DWORD_PTR(GetPointCount()))
        AfxThrowArchiveException(CArchiveException::badIndex);
    m_aFlags.assign(flags, 0);
    for (DWORD_PTR i = 0; i < flags; ++i)
        ar >> m_aFlags[i];
}

void CFOPathShape::GetPathSimplePolygon(FOPSimpleCompositePolygon& polygon) const
{
    polygon.RemoveAll();
    int at = 0;
    const int n = GetPointCount();
    for (size_t s = 0; s < m_aSubCounts.size() && at < n; ++s)
    {
        FOPSimplePolygon p;
        for (int k = 0; k < m_aSubCounts[s] && at < n; ++k, ++at)
            p.Add(OwnToCanvas(GetPoint(at)), at < int(m_aFlags.size()) ? m_aFlags[size_t(at)] : 0);
        p.SetClosed(m_aSubClosed[s] != 0);
        polygon.Append(p);
    }
}

std::vector<std::vector<CPoint>> CFOPathShape::GetFlattened() const
{
    std::vector<std::vector<CPoint>> out;
    const int n = GetPointCount();
    const CPoint* pts = GetPoints();
    auto flag = [this](int i) { return i < int(m_aFlags.size()) ? m_aFlags[size_t(i)] : BYTE(0); };
    int at = 0;
    for (size_t s = 0; s < m_aSubCounts.size() && at < n; ++s)
    {
        std::vector<CPoint> poly;
        const int end = std::min(n, at + m_aSubCounts[s]);
        for (int i = at; i < end; ++i)
        {
            if (flag(i) == FOPSimplePolygon::FOP_POINT_CONTROL && i + 2 < end && !poly.empty())
            {
                const QPointF p0 = QPointF(poly.back().x, poly.back().y);
                const QPointF c1(pts[i].x, pts[i].y), c2(pts[i + 1].x, pts[i + 1].y),
                    p3(pts[i + 2].x, pts[i + 2].y);
                for (int k = 1; k <= kCurveSteps; ++k)
                {
                    const double t = double(k) / kCurveSteps, u = 1 - t;
                    const QPointF q =
                        u * u * u * p0 + 3 * u * u * t * c1 + 3 * u * t * t * c2 + t * t * t * p3;
                    poly.push_back(
                        CPoint(CFODrawHelper::RoundValue(q.x()), CFODrawHelper::RoundValue(q.y())));
                }
                i += 2;
                continue;
            }
            poly.push_back(pts[i]);
        }
        out.push_back(std::move(poly));
        at = end;
    }
    return out;
}

BOOL CFOPathShape::PtInShape(CPoint point) const
{
    if (!GetDrawRect().PtInRect(point))
        return FALSE;
    const CPoint own = CanvasToOwn(point);
    for (const std::vector<CPoint>& poly : GetFlattened())
    {
        FOPSimplePolygon p(poly.data(), int(poly.size()));
        if (p.IsInside(own))
            return TRUE;
    }
    return m_nKind != FO_PATH_CLOSED;
}

void CFOPathShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    const std::vector<std::vector<CPoint>> polys = GetFlattened();
    if (m_nKind == FO_PATH_CLOSED && !IsTransparent())
    {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        for (const std::vector<CPoint>& poly : polys)
        {
            if (poly.size() < 3)
                continue;
            QPolygonF q;
            for (const CPoint& pt : poly)
                q << QPointF(pt.x, pt.y);
            path.addPolygon(q);
            path.closeSubpath();
        }
        CFODrawHelper::FillPath(pDC, path, GetBkColor(), GetPatternColor(), GetBrushType());
    }
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    for (size_t s = 0; s < polys.size(); ++s)
    {
        const std::vector<CPoint>& poly = polys[s];
        if (poly.size() < 2)
            continue;
        if (s < m_aSubClosed.size() && m_aSubClosed[s])
            pDC->Polygon(poly.data(), int(poly.size()));
        else
            pDC->Polyline(poly.data(), int(poly.size()));
    }
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
