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
