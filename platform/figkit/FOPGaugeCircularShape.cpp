#include "figkit/FOPGaugeCircularShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

IMPLEMENT_SERIAL(CFOPGaugeCircularShape, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
const int kTicks = 10;

// Angle on the screen (degrees, counter-clockwise from 3 o'clock) of a position 0 to 1 of the sweep.
double SweepAngle(double f)
{
    return 225.0 - 270.0 * f;
}
} // namespace

CFOPGaugeCircularShape::CFOPGaugeCircularShape()
{
    SetType(FO_COMP_GAUGE_CIRCULAR);
}

CFOPGaugeCircularShape::CFOPGaugeCircularShape(const CFOPGaugeCircularShape& src) : CFODrawPortsShape(src) {}

CFOPGaugeCircularShape::~CFOPGaugeCircularShape() = default;

CFOPGaugeCircularShape& CFOPGaugeCircularShape::operator=(const CFOPGaugeCircularShape& src)
{
    CFODrawPortsShape::operator=(src);
    return *this;
}

CFODrawShape* CFOPGaugeCircularShape::Copy() const
{
    return new CFOPGaugeCircularShape(*this);
}

void CFOPGaugeCircularShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}

void CFOPGaugeCircularShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    const CRect rc = GetOwnRect();
    const int size = std::min(rc.Width(), rc.Height());
    if (size < 4)
        return;
    const CPoint c = rc.CenterPoint();
    const int r = size / 2;
    const CRect dial(c.x - r, c.y - r, c.x + r, c.y + r);
    CFODrawHelper::FillEllipse(pDC, dial, GetBkColor(), GetPatternColor(), GetBrushType());
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Ellipse(&dial);
    auto at = [&](double f, double radius)
    {
        const double a = SweepAngle(f) * std::numbers::pi / 180.0;
        return CPoint(CFODrawHelper::RoundValue(c.x + radius * std::cos(a)),
                      CFODrawHelper::RoundValue(c.y - radius * std::sin(a)));
    };
    for (int i = 0; i <= kTicks; ++i)
    {
        pDC->MoveTo(at(double(i) / kTicks, r * 0.8));
        pDC->LineTo(at(double(i) / kTicks, r * 0.95));
    }
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    CPen needle(PS_SOLID, std::max(1, size / 40), GetFontColor());
    oldPen = pDC->SelectObject(&needle);
    pDC->MoveTo(c);
    pDC->LineTo(at(GetValueFraction(), r * 0.75));
    pDC->SelectObject(oldPen);
}
