#include "model/FOHighEllipseShape.h"

#include "figkit/FODrawHelper.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOValueProperties.h"
#include "mfc/Archive.h"
#include "model/ShapeAnimation.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CFOHighEllipseShape, CFOPChordShape, VERSIONABLE_SCHEMA | 1)

namespace
{
const wchar_t kDirections[] = L"From bottom to top@From top to bottom@From right to left@From left to right";
// Segments of the arc polygon: a multiple of 3, as curve pieces want.
const int kArcSegments = 48;
} // namespace

CFOHighEllipseShape::CFOHighEllipseShape()
{
    SetType(699);
    SetBkColor(0x00800000);
    SetFontColor(0x00FFFFFF);
    SetCurrentValue(60.0);
    SetPolyObject(FALSE);
    SetRotateProtect(TRUE);
    SetStateString(kDirections);
    SetStateType(L"From left to right");
}

CFOHighEllipseShape::CFOHighEllipseShape(const CFOHighEllipseShape& src) : CFOPChordShape()
{
    *this = src;
}

CFOHighEllipseShape::~CFOHighEllipseShape() = default;

CFOHighEllipseShape& CFOHighEllipseShape::operator=(const CFOHighEllipseShape& src)
{
    CFOPChordShape::operator=(src);
    return *this;
}

CFODrawShape* CFOHighEllipseShape::Copy() const
{
    return new CFOHighEllipseShape(*this);
}

void CFOHighEllipseShape::Create(CRect& rcPos, CString strCaption)
{
    XVKSetCornerPoints(this, rcPos);
    CFOPChordShape::Create(rcPos, strCaption);
}

void CFOHighEllipseShape::Serialize(CArchive& ar)
{
    CFOPChordShape::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << GetCurrentValue();
        return;
    }
    double v;
    ar >> v;
    SetCurrentValue(v);
    m_bPressed = FALSE;
}

void CFOHighEllipseShape::DoAddCustProp()
{
    CFODrawShape::DoAddCustProp();
    const CFOValueProperties prop(PROP_DIRECTION, FO_VALUE::MakeInt(FROM_LEFT));
    AddNewProperty(&prop);
}

void CFOHighEllipseShape::DoSubMenuChange(const int& nIndex, const CString& strState)
{
    SetStateType(strState);
    PutPropIntValue(PROP_DIRECTION, nIndex);
}

int CFOHighEllipseShape::GetDirection() const
{
    int d = 0;
    GetPropIntValue(d, PROP_DIRECTION);
    return d;
}

double CFOHighEllipseShape::ValueFromPoint(CPoint point) const
{
    const CRect r = GetSnapRect();
    double dist = 0, span = 0;
    switch (GetDirection())
    {
    case FROM_BOTTOM:
        dist = r.bottom - point.y;
        span = r.bottom - r.top;
        break;
    case FROM_TOP:
        dist = point.y - r.top;
        span = r.bottom - r.top;
        break;
    case FROM_RIGHT:
        dist = r.right - point.x;
        span = r.right - r.left;
        break;
    default:
        dist = point.x - r.left;
        span = r.right - r.left;
        break;
    }
    dist = std::max(0.0, dist);
    const double lo = GetMinValue(), hi = GetMaxValue();
    double v = span > 0 ? lo + (hi - lo) * dist / span : lo;
    if (!std::isfinite(v) || v < lo)
        v = lo;
    if (v > hi)
        v = hi;
    BOOL snap = FALSE;
    GetPropBoolValue(snap, PROP_SNAP);
    if (v != hi && v != lo && snap)
    {
        double step = 1.0;
        GetPropDoubleValue(step, PROP_SNAP_STEP);
        if (step > 0 && std::isfinite(step))
            v = std::trunc(v / step) * step;
    }
    return v;
}

int CFOHighEllipseShape::GetFillHalfAngle() const
{
    const double dv = GetCurrentValue();
    if (!std::isfinite(dv) || dv == FO_NO_VALUE)
        return -1;
    const long long v = (long long)std::clamp(std::trunc(dv), -1e12, 1e12);
    const long long lo = (long long)std::clamp(std::trunc(GetMinValue()), -1e12, 1e12);
    const long long hi = (long long)std::clamp(std::trunc(GetMaxValue()), -1e12, 1e12);
    if (hi <= lo)
        return v > hi ? 18000 : -1;
    if (v <= lo)
        return -1;
    if (v - lo >= hi - lo)
        return 18000;
    return int((18000LL * (v - lo) + (hi - lo) / 2) / (hi - lo));
}

void CFOHighEllipseShape::FillAngles(int a, int nDirection, int& s, int& e)
{
    switch (nDirection)
    {
    case FROM_BOTTOM:
        s = 27000 - a;
        e = s <= 18000 ? 18000 - s : 54000 - s;
        break;
    case FROM_TOP:
        e = a + 9000;
        s = e <= 18000 ? 18000 - e : 54000 - e;
        break;
    case FROM_RIGHT:
        e = a;
        s = 36000 - a;
        break;
    case FROM_LEFT:
        s = 18000 - a;
        e = 36000 - s;
        break;
    default:
        s = e = 0;
        break;
    }
}

void CFOHighEllipseShape::BuildSegment(const CRect& rc, int nStart, int nEnd)
{
    const CPoint c = rc.CenterPoint();
    const int w = std::max(1, int(rc.Width())), h = std::max(1, int(rc.Height()));
    const CPoint p0 = CFODrawHelper::CalcTouchPoint(rc, nStart);
    const CPoint p1 = CFODrawHelper::CalcTouchPoint(rc, nEnd);
    SetChordAnchors(p0, p1, rc);
    // The arc's own angles with the aspect ratio taken out.
    auto param = [&](const CPoint& p)
    { return CFODrawHelper::GetAngle(CPoint(CFODrawHelper::MulDivLargeValue(p.x - c.x, h, w), p.y - c.y)); };
    double a0 = param(p0) / 100.0;
    double a1 = param(p1) / 100.0;
    if (a1 <= a0)
        a1 += 360.0;
    FOPSimplePolygon poly;
    poly.AddEllipseArc(c, w / 2.0, h / 2.0, a0, a1, kArcSegments);
    SetChordPolygon(poly.GetData(), poly.GetCount());
}

void CFOHighEllipseShape::OnDraw3d(CDC* pDC)
{
    CRect r = GetDrawRect();
    r.NormalizeRect();
    const int a = GetFillHalfAngle();
    if (a < 0)
    {
        OnDrawCaption(pDC, r);
        return;
    }
    if (a < 18000)
    {
        int s = 0, e = 0;
        FillAngles(a, GetDirection(), s, e);
        BuildSegment(r, CFODrawHelper::NormAngle360(s), CFODrawHelper::NormAngle360(e));
        if ((GetChordPointCount() - 1) % 3 == 0)
            DrawChordPolygon(pDC);
        OnDrawCaption(pDC, r);
        return;
    }
    CFODrawHelper::FillEllipse(pDC, r, GetBkColor(), GetPatternColor(), GetBrushType());
    OnDrawCaption(pDC, r);
}

void CFOHighEllipseShape::OnDrawCaption(CDC* pDC, CRect rc)
{
    rc.right -= 20;
    const int old = pDC->SetBkMode(TRANSPARENT);
    DrawCaptionText(pDC, rc, GetObjectCaption());
    pDC->SetBkMode(old);
}

BOOL CFOHighEllipseShape::OnLButtonDown(UINT nFlags, CPoint point)
{
    CFOPChordShape::OnLButtonDown(nFlags, point);
    m_bPressed = GetSnapRect().PtInRect(point);
    return m_bPressed;
}

BOOL CFOHighEllipseShape::OnMouseMove(UINT nFlags, CPoint point)
{
    CFOPChordShape::OnMouseMove(nFlags, point);
    if (!m_bPressed)
        return FALSE;
    SetCurrentValue(ValueFromPoint(point));
    UpdateControl();
    return TRUE;
}

BOOL CFOHighEllipseShape::OnLButtonUp(UINT nFlags, CPoint point)
{
    CFOPChordShape::OnLButtonUp(nFlags, point);
    m_bPressed = FALSE;
    SetCurrentValue(ValueFromPoint(point));
    UpdateControl();
    if (auto* canvas = dynamic_cast<CFOPCanvasCore*>(GetParentWnd()))
        canvas->DoButtonClickEvent(this, -1);
    return TRUE;
}

void CFOHighEllipseShape::OnCancelMode()
{
    if (!m_bPressed)
        return;
    m_bPressed = FALSE;
    UpdateControl();
}
