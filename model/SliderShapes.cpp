#include "model/SliderShapes.h"

#include "figkit/FOGlobalData.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Archive.h"
#include "model/ShapeAnimation.h"
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
    XVKSetCornerPoints(this, rcPos);
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

void CMyHorzSliderShape::SetCurrentValue(double dValue)
{
    CFODrawShape::SetCurrentValue(dValue);
    if (m_bDragging || dValue == FO_NO_VALUE || std::isnan(dValue))
        return;
    SetCurValue(int(std::clamp(std::trunc(dValue), -2147483648.0, 2147483647.0)));
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
    const BOOL vert = IsVertical();
    return ValueAlong(GetMinValue(), GetMaxValue(), (vert ? point.y - r.top : point.x - r.left) - 8,
                      (vert ? r.Height() : r.Width()) - 16);
}

int CMyHorzSliderShape::ThumbCentre(const CRect& rc) const
{
    const BOOL vert = IsVertical();
    return ThumbAlong(GetMinValue(), GetMaxValue(), GetCurValue(), (vert ? rc.top : rc.left) + 8,
                      (vert ? rc.Height() : rc.Width()) - 16);
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

void CMyHorzSliderShape::DrawSlider(CDC* pDC, BOOL b3d)
{
    const BOOL vert = IsVertical();
    const CRect r = vert ? EnsureMinimumSize(24, 60) : EnsureMinimumSize(60, 24);
    pDC->FillSolidRect(&r, GetBkColor());
    CRect inner = r;
    inner.DeflateRect(1, 1);
    // Laid out along the groove and across it; the vertical slider is the same turned upright.
    const int from = vert ? inner.top : inner.left;
    const int to = vert ? inner.bottom : inner.right;
    const int side = vert ? inner.left : inner.top;
    auto box = [vert](int a0, int c0, int a1, int c1)
    { return vert ? CRect(c0, a0, c1, a1) : CRect(a0, c0, a1, c1); };
    const int groove = side + 12;
    const int thumb = ThumbCentre(r);
    if (b3d)
    {
        pDC->FillSolidRect(box(from + 8, groove - 3, to - 8, groove + 3), 0);
        m_rcThumb = box(thumb - 7, side + 3, thumb + 7, side + 24);
        pDC->FillSolidRect(&m_rcThumb, gfxData.m_crBtnFace);
        CRect bevel = m_rcThumb;
        pDC->Draw3dRect(&bevel, gfxData.m_crBtnLight, gfxData.m_crBtnDkShadow);
        bevel.DeflateRect(1, 1);
        pDC->Draw3dRect(&bevel, gfxData.m_crBtnHilite, gfxData.m_crBtnShadow);
        bevel.DeflateRect(1, 1);
        pDC->Draw3dRect(&bevel, gfxData.m_crBtnFace, gfxData.m_crBtnFace);
        bevel.DeflateRect(1, 1);
        pDC->Draw3dRect(&bevel, gfxData.m_crBtnHilite, gfxData.m_crBtnShadow);
        return;
    }
    pDC->Draw3dRect(box(from + 7, groove - 2, to - 7, groove + 2), 0x474747, 0xFFFFFF);
    m_rcThumb = box(thumb - 5, side + 3, thumb + 5, side + 24);
    pDC->FillSolidRect(&m_rcThumb, gfxData.m_crBtnFace);
    pDC->Draw3dRect(&m_rcThumb, 0xFFFFFF, 0x000000);
}

void CMyHorzSliderShape::OnDrawFlat(CDC* pDC)
{
    CFODrawShape::OnDrawFlat(pDC);
    DrawSlider(pDC, FALSE);
}

void CMyHorzSliderShape::OnDraw3d(CDC* pDC)
{
    CFODrawShape::OnDraw3d(pDC);
    DrawSlider(pDC, TRUE);
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
