#include "figkit/FORectShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FOPVisualProxy.h"
#include "mfc/Dc.h"

IMPLEMENT_SERIAL(CFORectShape, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
}

CFORectShape::CFORectShape()
{
    SetType(FO_COMP_RECTANGLE);
}

CFORectShape::CFORectShape(const CFORectShape& src) : CFODrawPortsShape(src) {}

CFORectShape::~CFORectShape() = default;

CFORectShape& CFORectShape::operator=(const CFORectShape& src)
{
    CFODrawPortsShape::operator=(src);
    return *this;
}

CFODrawShape* CFORectShape::Copy() const
{
    return new CFORectShape(*this);
}

void CFORectShape::Create(CRect& rcPos, CString strCaption)
{
    CFODrawPortsShape::Create(rcPos, strCaption);
    RemoveAllPorts();
    FOGenerateDefaultPorts(this, {CPoint(500, 0), CPoint(1000, 500), CPoint(500, 1000), CPoint(0, 500)});
}

void CFORectShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}

void CFORectShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    const CRect rc = GetOwnRect();
    if (!IsTransparent())
        CFODrawHelper::FillRectangle(pDC, CRect(rc.left, rc.top, rc.right + 1, rc.bottom + 1), GetBkColor(),
                                     GetPatternColor(), GetBrushType());
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    DrawCaptionText(pDC, rc, GetObjectCaption());
}

void CFORectShape::OnDraw3d(CDC* pDC)
{
    OnDrawFlat(pDC);
    CRect rc = GetOwnRect();
    const int inset = GetLineWidth() > 0 ? GetLineWidth() : 0;
    rc.DeflateRect(inset, inset);
    if (rc.Width() > 2 && rc.Height() > 2)
        pDC->Draw3dRect(&rc, RGB(255, 255, 255), RGB(128, 128, 128));
}
