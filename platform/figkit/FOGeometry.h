// The diagram library's geometry values: points, rectangles and simple polygons.
#pragma once

#include "mfc/Geometry.h"

#include <cstdlib>
#include <vector>

class FOPPoint : public CPoint
{
public:
    FOPPoint() : CPoint(0, 0) {}
    FOPPoint(int x, int y) : CPoint(x, y) {}
    FOPPoint(const POINT& pt) : CPoint(pt) {}

    int ManhattanLength() const { return std::abs(int(x)) + std::abs(int(y)); }
};

class FOPRect : public CRect
{
public:
    FOPRect() : CRect(0, 0, 0, 0) {}
    FOPRect(int l, int t, int r, int b) : CRect(l, t, r, b) {}
    FOPRect(const RECT& rc) : CRect(rc) {}
};

// A polygon given by its corner points. A point may be a control point of a cubic Bezier segment:
// each curve is two control points followed by its end point.
class FOPSimplePolygon
{
public:
    enum
    {
        FOP_POINT_NORMAL = 0,
        FOP_POINT_CONTROL = 1,
    };

    FOPSimplePolygon() = default;
    // The growth arguments are kept for the callers' sake.
    FOPSimplePolygon(int, int) {}
    FOPSimplePolygon(const POINT* points, int count);

    int GetCount() const { return int(m_points.size()); }
    int GetPointCount() const { return int(m_points.size()); }
    BOOL IsEmpty() const { return m_points.empty(); }
    void Add(const POINT& pt, BYTE flag = FOP_POINT_NORMAL)
    {
        m_points.push_back(FOPPoint(pt));
        m_flags.push_back(flag);
    }
    void RemoveAll()
    {
        m_points.clear();
        m_flags.clear();
        m_bClosed = FALSE;
    }
    BYTE GetFlag(int i) const { return m_flags.at(size_t(i)); }
    BOOL IsControlPoint(int i) const { return m_flags.at(size_t(i)) == FOP_POINT_CONTROL; }
    BOOL HasCurves() const;
    // Path building: the first point (replacing every point), a line, a cubic Bezier, closing.
    void MoveFirstTo(const POINT& pt);
    void LineTo(const POINT& pt) { Add(pt); }
    void BezierTo(const POINT& c1, const POINT& c2, const POINT& pt);
    void Close() { m_bClosed = TRUE; }
    BOOL IsClosed() const { return m_bClosed; }
    void SetClosed(BOOL b) { m_bClosed = b; }
    const FOPPoint& operator[](int i) const { return m_points.at(size_t(i)); }
    FOPPoint& operator[](int i) { return m_points.at(size_t(i)); }
    const FOPPoint* GetData() const { return m_points.data(); }

    // Smallest rectangle holding every point (right and bottom are the largest coordinates).
    FOPRect GetBoundRect() const;
    // Even-odd rule; a point on an edge counts as inside.
    BOOL IsInside(const POINT& pt) const;

    // Appends the circular arc from the last point through ptVia to ptTo (a straight line when the
    // three lie on one line, or with no last point).
    void ArcTo(const POINT& ptVia, const POINT& ptTo);
    // Appends nSegments + 1 points of the ellipse about ptCentre with radii rx, ry from angle
    // dStart to dEnd (degrees, counter-clockwise from 3 o'clock, y down on the screen).
    void AddEllipseArc(const POINT& ptCentre, double rx, double ry, double dStart, double dEnd,
                       int nSegments);

private:
    std::vector<FOPPoint> m_points;
    std::vector<BYTE> m_flags;
    BOOL m_bClosed = FALSE;
};

// Several simple polygons that make up one outline.
class FOPSimpleCompositePolygon
{
public:
    FOPSimpleCompositePolygon() = default;
    FOPSimpleCompositePolygon(int, int) {}
    // Inserts before nPos (65535 or any position past the end appends).
    void Insert(const FOPSimplePolygon& polygon, int nPos = 65535);
    // Every polygon closed, or every one open.
    BOOL IsAllSame() const;
    int GetPointCount() const;
    int Count() const { return int(m_polygons.size()); }
    void Append(const FOPSimplePolygon& polygon) { m_polygons.push_back(polygon); }
    void RemoveAll() { m_polygons.clear(); }
    const FOPSimplePolygon& GetObject(int i) const { return m_polygons.at(size_t(i)); }
    const FOPSimplePolygon& operator[](int i) const { return m_polygons.at(size_t(i)); }
    FOPRect GetBoundRect() const;
    BOOL IsInside(const POINT& pt) const;

private:
    std::vector<FOPSimplePolygon> m_polygons;
};
