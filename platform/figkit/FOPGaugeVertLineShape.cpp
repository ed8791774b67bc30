#include "figkit/FOPGaugeVertLineShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Dc.h"

IMPLEMENT_SERIAL(CFOPGaugeVertLineShape, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
const int kTicks = 10;
} // namespace

CFOPGaugeVertLineShape::CFOPGaugeVertLineShape()
{
    SetType(FO_COMP_GAUGE_VERTLINE);
    SetPatternColor(RGB(0, 160, 0));
}

CFOPGaugeVertLineShape::CFOPGaugeVertLineShape(const CFOPGaugeVertLineShape& src) : CFODrawPortsShape(src) {}

CFOPGaugeVertLineShape::~CFOPGaugeVertLineShape() = default;

CFOPGaugeVertLineShape& CFOPGaugeVertLineShape::operator=(const CFOPGaugeVertLineShape& src)
{
    CFODrawPortsShape::operator=(src);
    return *this;
}

CFODrawShape* CFOPGaugeVertLineShape::Copy() const
{
    return new CFOPGaugeVertLineShape(*this);
}

void CFOPGaugeVertLineShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}

void CFOPGaugeVertLineShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    const CRect rc = GetOwnRect();
    if (rc.Width() < 4 || rc.Height() < 4)
        return;
    CFODrawHelper::FillRectangle(pDC, CRect(rc.left, rc.top, rc.right + 1, rc.bottom + 1), GetBkColor(),
                                 GetBkColor(), FO_BRUSH_SOLID);
    // The bar takes the right half, the scale the left.
    const int mid = rc.left + rc.Width() / 2;
    const int top = CFODrawHelper::RoundValue(rc.bottom - GetValueFraction() * rc.Height());
    CFODrawHelper::FillRectangle(pDC, CRect(mid + 1, top, rc.right, rc.bottom), GetPatternColor(),
                                 GetPatternColor(), FO_BRUSH_SOLID);
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    for (int i = 0; i <= kTicks; ++i)
    {
        const int y = rc.bottom - rc.Height() * i / kTicks;
        pDC->MoveTo(rc.left + rc.Width() / 4, y);
        pDC->LineTo(mid, y);
    }
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
