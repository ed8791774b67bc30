#include "figkit/FOArea.h"

void CFOArea::SetPoints(const POINT* points, int count)
{
    m_points = FOPSimplePolygon(points, count);
}
