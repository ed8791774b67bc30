#include "figkit/FOPSimpleLabelShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Dc.h"

IMPLEMENT_SERIAL(CFOPSimpleLabelShape, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
}

CFOPSimpleLabelShape::CFOPSimpleLabelShape()
{
    SetType(FO_COMP_SIMPLELABEL);
    SetBrushType(FO_BRUSH_NONE);
    SetPenStyle(FO_PEN_NONE);
}

CFOPSimpleLabelShape::CFOPSimpleLabelShape(const CFOPSimpleLabelShape& src) : CFODrawPortsShape(src) {}

CFOPSimpleLabelShape::~CFOPSimpleLabelShape() = default;

CFOPSimpleLabelShape& CFOPSimpleLabelShape::operator=(const CFOPSimpleLabelShape& src)
{
    CFODrawPortsShape::operator=(src);
    return *this;
}

CFODrawShape* CFOPSimpleLabelShape::Copy() const
{
    return new CFOPSimpleLabelShape(*this);
}

void CFOPSimpleLabelShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}

void CFOPSimpleLabelShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    const CRect rc = GetOwnRect();
    if (!IsTransparent())
        CFODrawHelper::FillRectangle(pDC, CRect(rc.left, rc.top, rc.right + 1, rc.bottom + 1), GetBkColor(),
                                     GetPatternColor(), GetBrushType());
    if (!IsNullPen() && GetPenStyle() != FO_PEN_NONE)
    {
        CPen pen;
        CPen* oldPen = SelectLinePen(pDC, pen);
        CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
        pDC->Rectangle(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
        pDC->SelectObject(oldBrush);
        pDC->SelectObject(oldPen);
    }
    // A text bullet goes before the text, in its own colour: a dot, or a square for the others.
    DWORD bullet = 0;
    if (GetPropDWordValue(bullet, FO_PROP_BULLET_TYPE) && bullet != 0 && rc.Width() > 16)
    {
        COLORREF cr = GetFontColor();
        GetPropColorValue(cr, FO_PROP_BULLET_COLOR);
        const int y = rc.CenterPoint().y;
        const CRect mark(rc.left + 3, y - 3, rc.left + 9, y + 3);
        if (bullet == 1)
        {
            CBrush brush(cr);
            CPen pen(PS_SOLID, 1, cr);
            CGdiObject* oldBrush = pDC->SelectObject(&brush);
            CPen* oldPen = pDC->SelectObject(&pen);
            pDC->Ellipse(&mark);
            pDC->SelectObject(oldPen);
            pDC->SelectObject(oldBrush);
        }
        else
            pDC->FillSolidRect(&mark, cr);
        DrawCaptionText(pDC, CRect(rc.left + 12, rc.top, rc.right, rc.bottom), GetDisplayText());
        return;
    }
    DrawCaptionText(pDC, rc, GetDisplayText());
}

CString CFOPSimpleLabelShape::GetDisplayText() const
{
    if (!GetLabelText().IsEmpty())
        return GetLabelText();
    if (!GetCurrentTextValue().IsEmpty())
        return GetCurrentTextValue();
    const double value = GetCurrentValue();
    if (value == FO_NO_VALUE)
        return CString();
    CString text;
    text.Format(L"%.6g", value);
    return text;
}
