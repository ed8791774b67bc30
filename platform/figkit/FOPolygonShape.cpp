#include "figkit/FOPolygonShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Dc.h"

IMPLEMENT_SERIAL(CFOPolygonShape, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
}

CFOPolygonShape::CFOPolygonShape()
{
    SetType(FO_COMP_POLYGON);
    SetPolyObject(TRUE);
}

CFOPolygonShape::CFOPolygonShape(const CFOPolygonShape& src) : CFODrawPortsShape(src) {}

CFOPolygonShape::~CFOPolygonShape() = default;

CFOPolygonShape& CFOPolygonShape::operator=(const CFOPolygonShape& src)
{
    CFODrawPortsShape::operator=(src);
    return *this;
}

CFODrawShape* CFOPolygonShape::Copy() const
{
    return new CFOPolygonShape(*this);
}

void CFOPolygonShape::Create(CRect& rcPos, CString strCaption)
{
    CFODrawPortsShape::Create(rcPos, strCaption);
}

void CFOPolygonShape::Create(const POINT* points, int nCount, CString strCaption)
{
    SetPoints(points, nCount);
    SetObjectCaption(strCaption);
    UpdateComp();
}

void CFOPolygonShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}

void CFOPolygonShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    const int n = GetPointCount();
    if (n < 2)
        return;
    if (!IsTransparent())
        FillPoly(pDC, GetPoints(), n, GetBkColor(), GetPatternColor(), GetBrushType());
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Polygon(GetPoints(), n);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
