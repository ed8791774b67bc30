#include "figkit/FOBackShape.h"

#include "figkit/FOArchiveHelper.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

IMPLEMENT_SERIAL(CFOBackShape, CFODrawShape, 0)

namespace
{
const int kVersion = 1;
}

CFOBackShape::CFOBackShape(IFOShapeOwner* pOwner)
{
    SetType(FO_COMP_BACK);
    SetModel(pOwner);
}

CFOBackShape::CFOBackShape(const CFOBackShape& src) : CFODrawShape(src)
{
    *this = src;
}

CFOBackShape::~CFOBackShape() = default;

CFOBackShape& CFOBackShape::operator=(const CFOBackShape& src)
{
    CFODrawShape::operator=(src);
    m_bShowGrid = src.m_bShowGrid;
    m_nGridSize = src.m_nGridSize;
    m_crGrid = src.m_crGrid;
    m_bShowMargin = src.m_bShowMargin;
    return *this;
}

CFODrawShape* CFOBackShape::Copy() const
{
    return new CFOBackShape(*this);
}

void CFOBackShape::OnDraw(CDC* pDC)
{
    if (!pDC || !IsVisible())
        return;
    const CRect page = GetOwner() ? GetOwner()->GetPagePosition() : GetDrawRect();
    OnDrawBack(pDC, page);
    if (m_bShowGrid)
        OnDrawGrid(pDC, page);
    if (m_bShowMargin)
        OnDrawPageMargin(pDC, page);
}

void CFOBackShape::OnDrawBack(CDC* pDC, const CRect& rcPage)
{
    const COLORREF back = GetOwner() ? GetOwner()->GetPageBkColor() : GetBkColor();
    pDC->FillSolidRect(&rcPage, back);
}

void CFOBackShape::OnDrawPageMargin(CDC* pDC, const CRect& rcPage)
{
    CPen pen(PS_DOT, 1, RGB(128, 128, 128));
    CPen* old = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    CRect rc = rcPage;
    rc.DeflateRect(10, 10);
    pDC->Rectangle(&rc);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(old);
}

void CFOBackShape::OnDrawGrid(CDC* pDC, const CRect& rcPage)
{
    CPen pen(PS_SOLID, 1, m_crGrid);
    CPen* old = pDC->SelectObject(&pen);
    for (int x = rcPage.left + m_nGridSize; x < rcPage.right; x += m_nGridSize)
    {
        pDC->MoveTo(x, rcPage.top);
        pDC->LineTo(x, rcPage.bottom);
    }
    for (int y = rcPage.top + m_nGridSize; y < rcPage.bottom; y += m_nGridSize)
    {
        pDC->MoveTo(rcPage.left, y);
        pDC->LineTo(rcPage.right, y);
    }
    pDC->SelectObject(old);
}

void CFOBackShape::Serialize(CArchive& ar)
{
    CFODrawShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
    {
        ar << m_bShowGrid << m_nGridSize << m_crGrid << m_bShowMargin;
        return;
    }
    int grid = 20;
    ar >> m_bShowGrid >> grid >> m_crGrid >> m_bShowMargin;
    SetGridSize(grid);
}
