#include "figkit/FOHighShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Dc.h"

IMPLEMENT_SERIAL(CFOHighShape, CFORectShape, 0)

namespace
{
const int kVersion = 1;
}

CFOHighShape::CFOHighShape()
{
    SetType(FO_COMP_HIGH);
    SetPatternColor(RGB(0, 128, 255));
}

CFOHighShape::CFOHighShape(const CFOHighShape& src) : CFORectShape(src) {}

CFOHighShape::~CFOHighShape() = default;

CFOHighShape& CFOHighShape::operator=(const CFOHighShape& src)
{
    CFORectShape::operator=(src);
    return *this;
}

CFODrawShape* CFOHighShape::Copy() const
{
    return new CFOHighShape(*this);
}

void CFOHighShape::Serialize(CArchive& ar)
{
    CFORectShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
}

CRect CFOHighShape::LevelRect(const CRect& rc, double fraction, const CString& direction)
{
    CRect level = rc;
    const int w = CFODrawHelper::RoundValue(fraction * rc.Width());
    const int h = CFODrawHelper::RoundValue(fraction * rc.Height());
    if (direction.CompareNoCase(L"top->bottom") == 0)
        level.bottom = rc.top + h;
    else if (direction.CompareNoCase(L"left->right") == 0)
        level.right = rc.left + w;
    else if (direction.CompareNoCase(L"right->left") == 0)
        level.left = rc.right - w;
    else
        level.top = rc.bottom - h;
    return level;
}

void CFOHighShape::OnDrawFlat(CDC* pDC)
{
    const CRect rc = GetOwnRect();
    const CRect box(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
    if (!IsTransparent())
        CFODrawHelper::FillRectangle(pDC, box, GetBkColor(), GetBkColor(), FO_BRUSH_SOLID);
    const CRect level = LevelRect(box, GetValueFraction(), GetStateType());
    if (!level.IsRectEmpty())
        CFODrawHelper::FillRectangle(pDC, level, GetPatternColor(), GetPatternColor(), FO_BRUSH_SOLID);
    CPen pen;
    CPen* oldPen = SelectLinePen(pDC, pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(&box);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    DrawCaptionText(pDC, rc, GetObjectCaption());
}
