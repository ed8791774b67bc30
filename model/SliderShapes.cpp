#include "model/SliderShapes.h"

#include "figkit/FOGlobalData.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>

IMPLEMENT_SERIAL(CMyHorzSliderShape, CFODrawShape, 0)
IMPLEMENT_SERIAL(CMyVertSliderShape, CMyHorzSliderShape, 0)

namespace
{
int ToInt(double d)
{
    if (!std::isfinite(d))
        return 0;
    return int(std::clamp(std::trunc(d), double(INT_MIN), double(INT_MAX)));
}

int TextToInt(const CString& s)
{
    return s.IsEmpty() ? 0 : ToInt(std::wcstod(s.GetString(), nullptr));
}

// The value of an offset along a groove of `span`.
int ValueAlong(double lo, double hi, int nOffset, int nSpan)
{
    const long long l = ToInt(lo), h = ToInt(hi);
    const long long offset = std::max(0, nOffset);
    long long v = nSpan > 0 ? l + (h - l) * offset / nSpan : l;
    v = std::clamp(v, std::min(l, h), std::max(l, h));
    return int(v);
}

// Where the thumb's centre stands along a groove from `start` over `span`.
int ThumbAlong(double lo, double hi, int nValue, int nStart, int nSpan)
{
    const long long l = ToInt(lo), h = ToInt(hi);
    if (h == l)
        return nStart;
    const long long v = std::clamp<long long>(nValue, std::min(l, h), std::max(l, h));
    return nStart + int((v - l) * std::max(0, nSpan) / (h - l));
}
} // namespace

CMyHorzSliderShape::CMyHorzSliderShape()
{
    SetType(624);
}

CMyHorzSliderShape::CMyHorzSliderShape(const CMyHorzSliderShape& src) : CFODrawShape()
{
    SetType(624);
    *this = src;
}

CMyHorzSliderShape::~CMyHorzSliderShape() = default;

CMyHorzSliderShape& CMyHorzSliderShape::operator=(const CMyHorzSliderShape& src)
{
    CFODrawShape::operator=(src);
    m_strCurrentText = src.m_strCurrentText;
    return *this;
}

CFODrawShape* CMyHorzSliderShape::Copy() const
{
    return new CMyHorzSliderShape(*this);
}

void CMyHorzSliderShape::Create(CRect& rcPos, CString strCaption)
{
    rcPos.NormalizeRect();
    const CPoint pts[4] = {{rcPos.left, rcPos.top},
                           {rcPos.right, rcPos.top},
                           {rcPos.right, rcPos.bottom},
                           {rcPos.left, rcPos.bottom}};
    AllocMemory(4);
    SetPoints(pts, 4);
    CFODrawShape::Create(rcPos, strCaption);
}

void CMyHorzSliderShape::Serialize(CArchive& ar)
{
    CFODrawShape::Serialize(ar);
    if (ar.IsStoring())
        ar << m_strCurrentText;
    else
    {
        ar >> m_strCurrentText;
        m_bDragging = FALSE;
    }
}

void CMyHorzSliderShape::CaptureMouse(BOOL)
{
    // The canvas sends every move and the release to the shape that took the press.
}

void CMyHorzSliderShape::SetCurrentText(const CString& strText)
{
    m_strCurrentText = strText;
    if (auto* canvas = dynamic_cast<CFOPCanvasCore*>(GetParentWnd()))
        canvas->DoEditTextChangeEvent(this, strText);
}

int CMyHorzSliderShape::GetCurValue() const
{
    return TextToInt(m_strCurrentText);
}

void CMyHorzSliderShape::SetCurValue(const int& nValue)
{
    m_strCurrentText.Format(L"%d", nValue);
}

void CMyHorzSliderShape::GetCurrentEditText(CString& strOut) const
{
    strOut.Format(L"%d", GetCurValue());
}

void CMyHorzSliderShape::SetCurrentEditText(const CString& strText)
{
    SetCurValue(TextToInt(strText));
}

int CMyHorzSliderShape::ValueFromPoint(CPoint point) const
{
    const CRect r = GetSnapRect();
    return ValueAlong(GetMinValue(), GetMaxValue(), point.x - r.left - 8, r.Width() - 16);
}

int CMyHorzSliderShape::ThumbCentre(const CRect& rc) const
{
    return ThumbAlong(GetMinValue(), GetMaxValue(), GetCurValue(), rc.left + 8, rc.Width() - 16);
}

BOOL CMyHorzSliderShape::OnLButtonDown(UINT nFlags, CPoint point)
{
    CFODrawShape::OnLButtonDown(nFlags, point);
    m_bDragging = m_rcThumb.PtInRect(point);
    return TRUE;
}

BOOL CMyHorzSliderShape::OnMouseMove(UINT nFlags, CPoint point)
{
    CFODrawShape::OnMouseMove(nFlags, point);
    if (!m_bDragging)
        return FALSE;
    SetCurValue(ValueFromPoint(point));
    UpdateControl();
    return TRUE;
}

BOOL CMyHorzSliderShape::OnLButtonUp(UINT nFlags, CPoint point)
{
    CFODrawShape::OnLButtonUp(nFlags, point);
    m_bDragging = FALSE;
    SetCurValue(ValueFromPoint(point));
    UpdateControl();
    if (auto* canvas = dynamic_cast<CFOPCanvasCore*>(GetParentWnd()))
        canvas->DoButtonClickEvent(this, -1);
    return TRUE;
}

void CMyHorzSliderShape::OnCancelMode()
{
    if (!m_bDragging)
        return;
    m_bDragging = FALSE;
    UpdateControl();
}

CRect CMyHorzSliderShape::EnsureMinimumSize(int nMinWidth, int nMinHeight)
{
    CRect r = GetDrawRect();
    r.NormalizeRect();
    if (r.Width() >= nMinWidth && r.Height() >= nMinHeight)
        return r;
    r.right = r.left + std::max(int(r.Width()), nMinWidth);
    r.bottom = r.top + std::max(int(r.Height()), nMinHeight);
    CPoint pts[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    if (const CFOMatrix* m = GetMatrixData())
        for (CPoint& pt : pts)
            pt = CPoint(m->ChangeValueBack(pt));
    SetPoints(pts, 4);
    UpdateComp();
    return r;
}

void CMyHorzSliderShape::DrawThumb3d(CDC* pDC, const CRect& rc)
{
    pDC->FillSolidRect(&rc, gfxData.m_crBtnFace);
    CRect bevel = rc;
    pDC->Draw3dRect(&bevel, gfxData.m_crBtnLight, gfxData.m_crBtnDkShadow);
    bevel.DeflateRect(1, 1);
    pDC->Draw3dRect(&bevel, gfxData.m_crBtnHilite, gfxData.m_crBtnShadow);
    bevel.DeflateRect(1, 1);
    pDC->Draw3dRect(&bevel, gfxData.m_crBtnFace, gfxData.m_crBtnFace);
    bevel.DeflateRect(1, 1);
    pDC->Draw3dRect(&bevel, gfxData.m_crBtnHilite, gfxData.m_crBtnShadow);
}

void CMyHorzSliderShape::OnDrawFlat(CDC* pDC)
{
    CFODrawShape::OnDrawFlat(pDC);
    const CRect r = EnsureMinimumSize(60, 24);
    pDC->FillSolidRect(&r, GetBkColor());
    CRect inner = r;
    inner.DeflateRect(1, 1);
    const int y = inner.top + 12;
    pDC->Draw3dRect(CRect(inner.left + 7, y - 2, inner.right - 7, y + 2), 0x474747, 0xFFFFFF);
    const int x = ThumbCentre(r);
    m_rcThumb = CRect(x - 5, inner.top + 3, x + 5, inner.top + 24);
    pDC->FillSolidRect(&m_rcThumb, gfxData.m_crBtnFace);
    pDC->Draw3dRect(&m_rcThumb, 0xFFFFFF, 0x000000);
}

void CMyHorzSliderShape::OnDraw3d(CDC* pDC)
{
    CFODrawShape::OnDraw3d(pDC);
    const CRect r = EnsureMinimumSize(60, 24);
    pDC->FillSolidRect(&r, GetBkColor());
    CRect inner = r;
    inner.DeflateRect(1, 1);
    const int y = inner.top + 12;
    pDC->FillSolidRect(CRect(inner.left + 8, y - 3, inner.right - 8, y + 3), 0);
    const int x = ThumbCentre(r);
    m_rcThumb = CRect(x - 7, inner.top + 3, x + 7, inner.top + 24);
    DrawThumb3d(pDC, m_rcThumb);
}

// CMyVertSliderShape

CMyVertSliderShape::CMyVertSliderShape()
{
    SetType(625);
}

CMyVertSliderShape::CMyVertSliderShape(const CMyVertSliderShape& src) : CMyHorzSliderShape()
{
    SetType(625);
    CMyHorzSliderShape::operator=(src);
}

CFODrawShape* CMyVertSliderShape::Copy() const
{
    return new CMyVertSliderShape(*this);
}

int CMyVertSliderShape::ValueFromPoint(CPoint point) const
{
    const CRect r = GetSnapRect();
    return ValueAlong(GetMinValue(), GetMaxValue(), point.y - r.top - 8, r.Height() - 16);
}

int CMyVertSliderShape::ThumbCentre(const CRect& rc) const
{
    return ThumbAlong(GetMinValue(), GetMaxValue(), GetCurValue(), rc.top + 8, rc.Height() - 16);
}

void CMyVertSliderShape::OnDrawFlat(CDC* pDC)
{
    CFODrawShape::OnDrawFlat(pDC);
    const CRect r = EnsureMinimumSize(24, 60);
    pDC->FillSolidRect(&r, GetBkColor());
    CRect inner = r;
    inner.DeflateRect(1, 1);
    const int x = inner.left + 12;
    pDC->Draw3dRect(CRect(x - 2, inner.top + 7, x + 2, inner.bottom - 7), 0x474747, 0xFFFFFF);
    const int y = ThumbCentre(r);
    m_rcThumb = CRect(inner.left + 3, y - 5, inner.left + 24, y + 5);
    pDC->FillSolidRect(&m_rcThumb, gfxData.m_crBtnFace);
    pDC->Draw3dRect(&m_rcThumb, 0xFFFFFF, 0x000000);
}

void CMyVertSliderShape::OnDraw3d(CDC* pDC)
{
    CFODrawShape::OnDraw3d(pDC);
    const CRect r = EnsureMinimumSize(24, 60);
    pDC->FillSolidRect(&r, GetBkColor());
    CRect inner = r;
    inner.DeflateRect(1, 1);
    const int x = inner.left + 12;
    pDC->FillSolidRect(CRect(x - 3, inner.top + 8, x + 3, inner.bottom - 8), 0);
    const int y = ThumbCentre(r);
    m_rcThumb = CRect(inner.left + 3, y - 7, inner.left + 24, y + 7);
    DrawThumb3d(pDC, m_rcThumb);
}
