// The outline points of a shape while its geometry is brought up to date.
#pragma once

#include "figkit/FOGeometry.h"

class CFOArea
{
public:
    void SetPoints(const POINT* points, int count);
    void AddPoint(const POINT& pt) { m_points.Add(pt); }
    int GetCount() const { return m_points.GetCount(); }
    const FOPSimplePolygon& GetPolygon() const { return m_points; }
    // Smallest rectangle holding every point; empty when there are none.
    CRect GetBoundingRect() const { return m_points.GetBoundRect(); }

private:
    FOPSimplePolygon m_points;
};
