#include "model/MyDeferentShape.h"

#include "figkit/FODataModel.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

#include <algorithm>

IMPLEMENT_SERIAL(CMyBackShape, CFOBackShape, 0)
IMPLEMENT_SERIAL(CMyDeferentShape, CFORectShape, 0)

// CMyBackShape

CMyBackShape::CMyBackShape(CFODataModel* pModel) : CFOBackShape(pModel) {}

CMyBackShape::CMyBackShape(const CMyBackShape& src) : CFOBackShape()
{
    *this = src;
}

CMyBackShape::~CMyBackShape() = default;

CMyBackShape& CMyBackShape::operator=(const CMyBackShape& src)
{
    CFOBackShape::operator=(src);
    return *this;
}

CFODrawShape* CMyBackShape::Copy() const
{
    return new CMyBackShape(*this);
}

// CMyDeferentShape

CMyDeferentShape::CMyDeferentShape()
{
    SetType(626);
    SetPolyObject(FALSE);
    SetRotateProtect(TRUE);
}

CMyDeferentShape::CMyDeferentShape(const CMyDeferentShape& src) : CFORectShape()
{
    SetType(626);
    SetPolyObject(FALSE);
    SetRotateProtect(TRUE);
    *this = src;
}

CMyDeferentShape::~CMyDeferentShape()
{
    m_timer.Stop(this);
}

CMyDeferentShape& CMyDeferentShape::operator=(const CMyDeferentShape& src)
{
    CFORectShape::operator=(src);
    m_nBandWidth = src.m_nBandWidth;
    m_nOrientation = src.m_nOrientation;
    return *this;
}

CFODrawShape* CMyDeferentShape::Copy() const
{
    return new CMyDeferentShape(*this);
}

void CMyDeferentShape::Create(CRect& rcPos, CString strCaption)
{
    CFORectShape::Create(rcPos, strCaption);
    RemoveAllPorts();
}

void CMyDeferentShape::Serialize(CArchive& ar)
{
    CFORectShape::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << LONG(m_nBandWidth) << LONG(m_nOrientation);
        return;
    }
    LONG width, orientation;
    ar >> width >> orientation;
    if (width < -MAX_BAND_WIDTH || width > MAX_BAND_WIDTH)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    m_nBandWidth = int(width);
    m_nOrientation = int(orientation);
    m_nColorFlag = 1;
}

std::vector<CMyDeferentShape::Band> CMyDeferentShape::LayoutBands(int nFrom, int nTo)
{
    std::vector<Band> bands;
    const int width = std::max(1, m_nBandWidth);
    // A phase outside the band keeps drawing within the rectangle.
    const int phase = std::clamp(m_nPhase, 0, std::max(0, nTo - nFrom));
    auto add = [&](int a, int b) { bands.push_back({a, b, m_nColorFlag == 0}); };
    if (phase > 0)
    {
        add(nFrom, nFrom + phase);
        m_nColorFlag = !m_nColorFlag;
    }
    int x = nFrom + phase;
    for (; x < nTo - width; x += width)
    {
        add(x, x + width);
        m_nColorFlag = !m_nColorFlag;
    }
    if (x < nTo)
        add(x, nTo);
    return bands;
}

void CMyDeferentShape::DrawBands(CDC* pDC)
{
    const CRect r = GetSnapRect();
    const bool across = m_nOrientation == 0;
    for (const Band& b : LayoutBands(across ? r.left : r.top, across ? r.right : r.bottom))
    {
        CBrush brush(b.bPattern ? GetPatternColor() : GetBkColor());
        const CRect band =
            across ? CRect(b.nFrom, r.top, b.nTo, r.bottom) : CRect(r.left, b.nFrom, r.right, b.nTo);
        pDC->FillRect(&band, &brush);
    }
}

void CMyDeferentShape::Step()
{
    const int width = std::max(1, m_nBandWidth);
    m_nPhase += width / 4;
    if (m_nPhase >= width)
    {
        m_nPhase = width / 4;
        m_nColorFlag = !m_nColorFlag;
    }
}

BOOL CMyDeferentShape::OnLButtonDown(UINT nFlags, CPoint point)
{
    return CFODrawShape::OnLButtonDown(nFlags, point);
}

BOOL CMyDeferentShape::OnLButtonUp(UINT nFlags, CPoint point)
{
    return CFODrawShape::OnLButtonUp(nFlags, point);
}

void CMyDeferentShape::OnDrawFlat(CDC* pDC)
{
    CFORectShape::OnDrawFlat(pDC);
    if (XVKIsAnimationOn(this))
        DoStartTimer();
    DrawBands(pDC);
}

void CMyDeferentShape::DoAddCustProp()
{
    CFORectShape::DoAddCustProp();
    XVKAddAnimationProp(this, FALSE);
}

void CMyDeferentShape::SetParentWnd(CWnd* pWnd)
{
    m_timer.OnParentWnd(this, pWnd);
    CFORectShape::SetParentWnd(pWnd);
}

void CMyDeferentShape::OnTimer(int nTimerId)
{
    if (!m_timer.IsMine(nTimerId))
    {
        CFORectShape::OnTimer(nTimerId);
        return;
    }
    Step();
    UpdateControl();
}

BOOL CMyDeferentShape::DoAnimate()
{
    Step();
    return TRUE;
}

void CMyDeferentShape::DoStartTimer()
{
    m_timer.Start(this, TIMER_PERIOD, TRUE);
}
