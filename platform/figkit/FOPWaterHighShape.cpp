#include "figkit/FOPWaterHighShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FOHighShape.h"
#include "mfc/Dc.h"

IMPLEMENT_SERIAL(CFOPWaterHighShape, CFOPolygonShape, 0)

namespace
{
const int kVersion = 1;
}

CFOPWaterHighShape::CFOPWaterHighShape()
{
    SetType(FO_COMP_WATERHIGH);
    SetPatternColor(RGB(0, 128, 255));
}

CFOPWaterHighShape::CFOPWaterHighShape(const CFOPWaterHighShape& src) : CFOPolygonShape(src) {}

CFOPWaterHighShape::~CFOPWaterHighShape() = default;

CFOPWaterHighShape& CFOPWaterHighShape::operator=(const CFOPWaterHighShape& src)
{
    CFOPolygonShape::operator=(src);
    return *this;
}

CFODrawShape* CFOPWaterHighShape::Copy() const
{
    return new CFOPWaterHighShape(*this);
}

void CFOPWaterHighShape::Serialize(CArchive& ar)
{
    CFOPolygonShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}

void CFOPWaterHighShape::OnDrawFlat(CDC* pDC)
{
    const int n = GetPointCount();
    if (n < 3)
        return;
    if (!IsTransparent())
        FillPoly(pDC, GetPoints(), n, GetBkColor(), GetBkColor(), FO_BRUSH_SOLID);
    const CRect rc = GetOwnRect();
    const CRect level = CFOHighShape::LevelRect(CRect(rc.left, rc.top, rc.right + 1, rc.bottom + 1),
                                                GetValueFraction(), GetStateType());
    if (!level.IsRectEmpty())
    {
        const int saved = pDC->SaveDC();
        pDC->IntersectClipRect(&level);
        FillPoly(pDC, GetPoints(), n, GetPatternColor(), GetPatternColor(), FO_BRUSH_SOLID);
        pDC->RestoreDC(saved);
    }
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Polygon(GetPoints(), n);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
