#include "figkit/FOGeometry.h"

#include <algorithm>

FOPSimplePolygon::FOPSimplePolygon(const POINT* points, int count)
{
    if (points && count > 0)
        m_points.assign(points, points + count);
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
