#include "figkit/FOGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

FOPSimplePolygon::FOPSimplePolygon(const POINT* points, int count)
{
    if (points && count > 0)
    {
        m_points.assign(points, points + count);
        m_flags.assign(size_t(count), FOP_POINT_NORMAL);
    }
}

BOOL FOPSimplePolygon::HasCurves() const
{
    for (BYTE f : m_flags)
        if (f == FOP_POINT_CONTROL)
            return TRUE;
    return FALSE;
}

void FOPSimplePolygon::MoveFirstTo(const POINT& pt)
{
    m_points.clear();
    m_flags.clear();
    Add(pt);
}

void FOPSimplePolygon::BezierTo(const POINT& c1, const POINT& c2, const POINT& pt)
{
    Add(c1, FOP_POINT_CONTROL);
    Add(c2, FOP_POINT_CONTROL);
    Add(pt);
}

void FOPSimpleCompositePolygon::Insert(const FOPSimplePolygon& polygon, int nPos)
{
    if (nPos < 0 || size_t(nPos) >= m_polygons.size())
        m_polygons.push_back(polygon);
    else
        m_polygons.insert(m_polygons.begin() + nPos, polygon);
}

BOOL FOPSimpleCompositePolygon::IsAllSame() const
{
    for (const FOPSimplePolygon& p : m_polygons)
        if (p.IsClosed() != m_polygons.front().IsClosed())
            return FALSE;
    return TRUE;
}

int FOPSimpleCompositePolygon::GetPointCount() const
{
    int n = 0;
    for (const FOPSimplePolygon& p : m_polygons)
        n += p.GetCount();
    return n;
}

FOPRect FOPSimplePolygon::GetBoundRect() const
{
    if (m_points.empty())
        return FOPRect();
    FOPRect rc(m_points[0].x, m_points[0].y, m_points[0].x, m_points[0].y);
    for (const FOPPoint& pt : m_points)
    {
        rc.left = std::min(rc.left, pt.x);
        rc.top = std::min(rc.top, pt.y);
        rc.right = std::max(rc.right, pt.x);
        rc.bottom = std::max(rc.bottom, pt.y);
    }
    return rc;
}

BOOL FOPSimplePolygon::IsInside(const POINT& pt) const
{
    const size_t n = m_points.size();
    if (n == 0)
        return FALSE;
    if (n == 1)
        return m_points[0].x == pt.x && m_points[0].y == pt.y;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++)
    {
        const FOPPoint& a = m_points[i];
        const FOPPoint& b = m_points[j];
        // On the edge from b to a?
        const long long cross = (long long)(b.x - a.x) * (pt.y - a.y) - (long long)(b.y - a.y) * (pt.x - a.x);
        if (cross == 0 && pt.x >= std::min(a.x, b.x) && pt.x <= std::max(a.x, b.x) &&
            pt.y >= std::min(a.y, b.y) && pt.y <= std::max(a.y, b.y))
            return TRUE;
        if ((a.y > pt.y) != (b.y > pt.y))
        {
            const double xCross = a.x + double(pt.y - a.y) * (b.x - a.x) / double(b.y - a.y);
            if (pt.x < xCross)
                inside = !inside;
        }
    }
    return inside;
}

FOPRect FOPSimpleCompositePolygon::GetBoundRect() const
{
    FOPRect rc;
    bool first = true;
    for (const FOPSimplePolygon& p : m_polygons)
    {
        if (p.IsEmpty())
            continue;
        const FOPRect b = p.GetBoundRect();
        if (first)
            rc = b;
        else
        {
            rc.left = std::min(rc.left, b.left);
            rc.top = std::min(rc.top, b.top);
            rc.right = std::max(rc.right, b.right);
            rc.bottom = std::max(rc.bottom, b.bottom);
        }
        first = false;
    }
    return rc;
}

BOOL FOPSimpleCompositePolygon::IsInside(const POINT& pt) const
{
    for (const FOPSimplePolygon& p : m_polygons)
        if (p.IsInside(pt))
            return TRUE;
    return FALSE;
}

namespace
{
int RoundCoord(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::lround(std::clamp(v, -1.0e8, 1.0e8)));
}
} // namespace

void FOPSimplePolygon::ArcTo(const POINT& ptVia, const POINT& ptTo)
{
    if (m_points.empty())
    {
        Add(ptTo);
        return;
    }
    const double ax = m_points.back().x, ay = m_points.back().y;
    const double bx = ptVia.x, by = ptVia.y, cx = ptTo.x, cy = ptTo.y;
    const double d = 2.0 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
    if (std::fabs(d) < 1e-9)
    {
        Add(ptTo);
        return;
    }
    const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    const double ux = (a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d;
    const double uy = (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d;
    const double r = std::hypot(ax - ux, ay - uy);
    const double t0 = std::atan2(ay - uy, ax - ux);
    double t1 = std::atan2(by - uy, bx - ux);
    double t2 = std::atan2(cy - uy, cx - ux);
    // Go round the way that passes the middle point.
    const double twoPi = 2.0 * std::numbers::pi;
    auto ccw = [&](double from, double to)
    {
        double x = std::fmod(to - from, twoPi);
        return x < 0 ? x + twoPi : x;
    };
    double sweep = ccw(t0, t2);
    if (ccw(t0, t1) > sweep)
        sweep -= twoPi;
    const int n = std::clamp(int(std::fabs(sweep) * r / 4.0), 4, 64);
    for (int i = 1; i <= n; ++i)
    {
        const double t = t0 + sweep * i / n;
        Add(CPoint(RoundCoord(ux + r * std::cos(t)), RoundCoord(uy + r * std::sin(t))));
    }
    m_points.back() = FOPPoint(ptTo);
}

void FOPSimplePolygon::AddEllipseArc(const POINT& ptCentre, double rx, double ry, double dStart, double dEnd,
                                     int nSegments)
{
    nSegments = std::clamp(nSegments, 1, 720);
    for (int i = 0; i <= nSegments; ++i)
    {
        const double a = (dStart + (dEnd - dStart) * i / nSegments) * std::numbers::pi / 180.0;
        Add(CPoint(RoundCoord(ptCentre.x + rx * std::cos(a)), RoundCoord(ptCentre.y - ry * std::sin(a))));
    }
}
