#include "figkit/FOStaticShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

IMPLEMENT_SERIAL(CFOStaticShape, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
}

CFOStaticShape::CFOStaticShape()
{
    SetType(FO_COMP_STATIC);
    SetBrushType(FO_BRUSH_NONE);
    SetNullPen(TRUE);
}

CFOStaticShape::CFOStaticShape(const CFOStaticShape& src) : CFODrawPortsShape(src)
{
    m_nInitRotate = src.m_nInitRotate;
}

CFOStaticShape::~CFOStaticShape() = default;

CFOStaticShape& CFOStaticShape::operator=(const CFOStaticShape& src)
{
    CFODrawPortsShape::operator=(src);
    m_nInitRotate = src.m_nInitRotate;
    return *this;
}

CFODrawShape* CFOStaticShape::Copy() const
{
    return new CFOStaticShape(*this);
}

void CFOStaticShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
        ar << m_nInitRotate;
    else
        ar >> m_nInitRotate;
}

void CFOStaticShape::MakeFont(CFont& font) const
{
    CFont base;
    base.CreatePointFont(std::clamp(GetPointSize(), 1, 500) * 10,
                         GetFaceName().IsEmpty() ? nullptr : GetFaceName().GetString());
    LOGFONT lf;
    base.GetLogFont(&lf);
    lf.lfWeight = GetWeight() > 0 ? GetWeight() : 400;
    lf.lfItalic = GetItalic() ? 1 : 0;
    lf.lfUnderline = GetUnderline() ? 1 : 0;
    lf.lfStrikeOut = GetStrikeout() ? 1 : 0;
    font.CreateFontIndirect(&lf);
}

CSize CFOStaticShape::GetTextSize(CDC* pDC, const CRect& rc) const
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    CImageDC scratchDC(scratch);
    CDC* dc = pDC && pDC->GetPainter() ? pDC : &scratchDC;
    CFont font;
    MakeFont(font);
    CFont* old = dc->SelectObject(&font);
    CRect calc = rc;
    const CString text = GetObjectCaption().IsEmpty() ? CString(L" ") : GetObjectCaption();
    dc->DrawText(text, &calc, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    dc->SelectObject(old);
    return CSize(calc.Width(), calc.Height());
}

void CFOStaticShape::AdjustTextBoxSize(int)
{
    const CRect rc = GetSnapRect();
    const CSize size = GetTextSize(nullptr, CRect(rc.left, rc.top, rc.left + 100000, rc.top + 100000));
    if (size.cx > rc.Width())
        PositionShape(CRect(rc.left, rc.top, rc.left + size.cx, rc.bottom));
}

void CFOStaticShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    const CRect rc = GetOwnRect();
    const int n = GetPointCount();
    if (GetBrushType() != FO_BRUSH_NONE && n >= 3)
        FillPoly(pDC, GetPoints(), n, GetBkColor(), GetPatternColor(), GetBrushType());
    const CString& text = GetObjectCaption();
    if (text.IsEmpty() || !pDC)
        return;
    QPainter* painter = pDC->GetPainter();
    const int saved = pDC->SaveDC();
    if (painter && m_nInitRotate % 3600 != 0)
    {
        const QPointF c(rc.CenterPoint().x, rc.CenterPoint().y);
        painter->translate(c);
        painter->rotate(m_nInitRotate / 10.0);
        painter->translate(-c);
    }
    CFont font;
    MakeFont(font);
    CFont* old = pDC->SelectObject(&font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetFontColor());
    CRect box = rc;
    pDC->DrawText(text, &box, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    pDC->SelectObject(old);
    pDC->RestoreDC(saved);
}
