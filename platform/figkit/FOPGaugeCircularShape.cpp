#include "figkit/FOPGaugeCircularShape.h"

#include "figkit/FODrawHelper.h"
#include "mfc/Dc.h"

#include <algorithm>

IMPLEMENT_SERIAL(CFOPGaugeCircularShape, CFOPGaugeShapeBase, 0)

CFOPGaugeCircularShape::CFOPGaugeCircularShape()
{
    SetType(FO_COMP_GAUGE_CIRCULAR);
}

CFOPGaugeCircularShape::CFOPGaugeCircularShape(const CFOPGaugeCircularShape& src) : CFOPGaugeShapeBase(src) {}

CFOPGaugeCircularShape::~CFOPGaugeCircularShape() = default;

CFOPGaugeCircularShape& CFOPGaugeCircularShape::operator=(const CFOPGaugeCircularShape& src)
{
    CFOPGaugeShapeBase::operator=(src);
    return *this;
}

CFODrawShape* CFOPGaugeCircularShape::Copy() const
{
    return new CFOPGaugeCircularShape(*this);
}

CFOPMeterScale* CFOPGaugeCircularShape::GenMeterScale()
{
    return new CFOPMeterEllipticalScale;
}

CFOPIndicator* CFOPGaugeCircularShape::GenIndicator()
{
    return new CFOPIndicatorKnob;
}

CFOPIndicator* CFOPGaugeCircularShape::GenNumber()
{
    return new CFOPIndicatorNumber;
}

void CFOPGaugeCircularShape::DrawFace(CDC* pDC)
{
    const CRect rc = GetDrawRect();
    const int size = std::min(rc.Width(), rc.Height());
    if (size < 4)
        return;
    const CPoint c = rc.CenterPoint();
    const CRect dial(c.x - size / 2, c.y - size / 2, c.x + size / 2, c.y + size / 2);
    CFODrawHelper::FillEllipse(pDC, dial, GetBkColor(), GetPatternColor(), GetBrushType());
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Ellipse(&dial);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
