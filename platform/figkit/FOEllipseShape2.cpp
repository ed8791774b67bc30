#include "figkit/FOEllipseShape2.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FOPVisualProxy.h"
#include "mfc/Dc.h"

#include <cmath>
#include <numbers>

IMPLEMENT_SERIAL(CFOEllipseShape2, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
}

CFOEllipseShape2::CFOEllipseShape2()
{
    SetType(FO_COMP_ELLIPSE);
}

CFOEllipseShape2::CFOEllipseShape2(const CFOEllipseShape2& src) : CFODrawPortsShape(src) {}

CFOEllipseShape2::~CFOEllipseShape2() = default;

CFOEllipseShape2& CFOEllipseShape2::operator=(const CFOEllipseShape2& src)
{
    CFODrawPortsShape::operator=(src);
    return *this;
}

CFODrawShape* CFOEllipseShape2::Copy() const
{
    return new CFOEllipseShape2(*this);
}

void CFOEllipseShape2::Create(CRect& rcPos, CString strCaption)
{
    CFODrawPortsShape::Create(rcPos, strCaption);
    RemoveAllPorts();
    FOGenerateDefaultPorts(this, {CPoint(500, 0), CPoint(1000, 500), CPoint(500, 1000), CPoint(0, 500)});
}

void CFOEllipseShape2::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}

BOOL CFOEllipseShape2::PtInShape(CPoint point) const
{
    const CRect rc = GetOwnRect();
    if (rc.Width() <= 0 || rc.Height() <= 0)
        return FALSE;
    const CPoint own = CanvasToOwn(point);
    const double rx = rc.Width() / 2.0, ry = rc.Height() / 2.0;
    const double dx = (own.x - (rc.left + rx)) / rx, dy = (own.y - (rc.top + ry)) / ry;
    return dx * dx + dy * dy <= 1.0;
}

void CFOEllipseShape2::GetPathSimplePolygon(FOPSimpleCompositePolygon& polygon) const
{
    const CRect rc = GetOwnRect();
    FOPSimplePolygon p;
    const double rx = rc.Width() / 2.0, ry = rc.Height() / 2.0;
    for (int i = 0; i < 36; ++i)
    {
        const double a = i * std::numbers::pi / 18.0;
        p.Add(OwnToCanvas(CPoint(CFODrawHelper::RoundValue(rc.left + rx + rx * std::cos(a)),
                                 CFODrawHelper::RoundValue(rc.top + ry + ry * std::sin(a)))));
    }
    polygon.Append(p);
}

void CFOEllipseShape2::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    const CRect rc = GetOwnRect();
    const CRect box(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
    // A solid fill goes with the outline in one Ellipse call (the same pixels as filling first), so
    // that the DC can draw the whole figure from a picture it keeps.
    const bool solid = !IsTransparent() && GetBrushType() == FO_BRUSH_SOLID;
    if (!IsTransparent() && !solid)
        CFODrawHelper::FillEllipse(pDC, box, GetBkColor(), GetPatternColor(), GetBrushType());
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CBrush brush;
    CGdiObject* oldBrush = nullptr;
    if (solid)
    {
        brush.CreateSolidBrush(GetBkColor());
        oldBrush = pDC->SelectObject(&brush);
    }
    else
    {
        oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    }
    pDC->Ellipse(&box);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    DrawCaptionText(pDC, rc, GetObjectCaption());
}

void CFOEllipseShape2::OnDraw3d(CDC* pDC)
{
    OnDrawFlat(pDC);
    CRect rc = GetOwnRect();
    rc.DeflateRect(rc.Width() / 4, rc.Height() / 4);
    if (rc.Width() > 2 && rc.Height() > 2)
    {
        CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
        CPen* old = pDC->SelectObject(&pen);
        const CRect box(GetOwnRect().left + 2, GetOwnRect().top + 2, GetOwnRect().right - 1,
                        GetOwnRect().bottom - 1);
        pDC->Arc(&box, CPoint(box.right, box.top), CPoint(box.left, box.bottom));
        pDC->SelectObject(old);
    }
}

void CFOEllipseShape2::OnDrawShadow(CDC* pDC)
{
    CRect rc = GetOwnRect();
    rc.OffsetRect(GetShadowOffset());
    CFODrawHelper::FillEllipse(pDC, CRect(rc.left, rc.top, rc.right + 1, rc.bottom + 1), GetShadowColor(),
                               GetShadowColor(), FO_BRUSH_SOLID);
}
