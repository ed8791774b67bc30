#include "figkit/FOPIndicator.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FOPMeterScale.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CFOPIndicator, CObject, 0)
IMPLEMENT_SERIAL(CFOPIndicatorKnob, CFOPIndicator, 0)
IMPLEMENT_SERIAL(CFOPIndicatorNumber, CFOPIndicator, 0)
IMPLEMENT_SERIAL(CFOPIndicatorElliptical, CFOPIndicator, 0)
IMPLEMENT_SERIAL(CFOPIndicatorBar, CFOPIndicator, 0)

namespace
{
const int kIndicatorVersion = 1;

void Refuse(CArchive& ar)
{
    AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
}

double ReadFinite(CArchive& ar)
{
    double d;
    ar >> d;
    if (!std::isfinite(d))
        Refuse(ar);
    return d;
}

const CFOPMeterEllipticalScale* AsElliptical(const CFOPMeterScale* pScale)
{
    return dynamic_cast<const CFOPMeterEllipticalScale*>(pScale);
}
} // namespace

double CFOPIndicator::Quantize(double dValue) const
{
    const double u = m_dQuantizeUnit;
    if (!(u > 0.0) || !std::isfinite(u) || !std::isfinite(dValue))
        return dValue;
    return std::round(dValue / u) * u;
}

void CFOPIndicator::AddPhase(double dStart, double dEnd, COLORREF crColor)
{
    if (int(m_aPhases.size()) < MAX_PHASES)
        m_aPhases.push_back({dStart, dEnd, crColor});
}

COLORREF CFOPIndicator::PhaseColorAt(double dValue, COLORREF crDefault) const
{
    for (const FOPIndicatorPhase& p : m_aPhases)
        if (dValue >= std::min(p.dStart, p.dEnd) && dValue <= std::max(p.dStart, p.dEnd))
            return p.crColor;
    return crDefault;
}

void CFOPIndicator::Draw(CDC*, const CFOPMeterScale*) {}

void CFOPIndicator::Serialize(CArchive& ar)
{
    FOSerializeVersion(ar, kIndicatorVersion);
    if (ar.IsStoring())
    {
        ar << m_dValue << m_dQuantizeUnit << LONG(m_aPhases.size());
        for (const FOPIndicatorPhase& p : m_aPhases)
            ar << p.dStart << p.dEnd << DWORD(p.crColor);
        return;
    }
    ar >> m_dValue;
    m_dQuantizeUnit = ReadFinite(ar);
    LONG count;
    ar >> count;
    if (count < 0 || count > MAX_PHASES)
        Refuse(ar);
    m_aPhases.clear();
    for (LONG i = 0; i < count; ++i)
    {
        FOPIndicatorPhase p;
        p.dStart = ReadFinite(ar);
        p.dEnd = ReadFinite(ar);
        DWORD cr;
        ar >> cr;
        p.crColor = cr;
        m_aPhases.push_back(p);
    }
}

// Knob

void CFOPIndicatorKnob::Draw(CDC* pDC, const CFOPMeterScale* pScale)
{
    const CFOPMeterEllipticalScale* scale = AsElliptical(pScale);
    if (!pDC || !scale || scale->GetRadius() < 4)
        return;
    const CPoint c = scale->GetCentre();
    const int r = scale->GetRadius() * 55 / 100;
    const CRect knob(c.x - r, c.y - r, c.x + r, c.y + r);
    // The face lit from the top left.
    CFODrawHelper::FillEllipse(pDC, knob, gfxData.m_crBtnHilite, gfxData.m_crBtnFace,
                               FO_BRUSH_GRADIENT_FIRST + 2);
    CPen rim(PS_SOLID, 1, gfxData.m_crBtnShadow);
    CPen* old = pDC->SelectObject(&rim);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Ellipse(&knob);
    pDC->SelectObject(oldBrush);
    CPen mark(PS_SOLID, std::max(2, r / 12), RGB(200, 0, 0));
    pDC->SelectObject(&mark);
    pDC->MoveTo(scale->ValueToRadiusPoint(m_dValue, 0.15));
    pDC->LineTo(scale->ValueToRadiusPoint(m_dValue, 0.5));
    pDC->SelectObject(old);
}

// Number

CString CFOPIndicatorNumber::FormatValue() const
{
    CString s;
    if (!std::isfinite(m_dValue))
        s = L"---";
    else if (m_dQuantizeUnit >= 1.0)
        s.Format(L"%.0f", m_dValue);
    else
        s.Format(L"%.2f", m_dValue);
    return s;
}

void CFOPIndicatorNumber::Draw(CDC* pDC, const CFOPMeterScale* pScale)
{
    if (!pDC || !pScale || !pScale->GetMeterShape())
        return;
    const CRect meter = pScale->GetMeterShape()->GetMeterRect();
    const int cx = std::min(int(m_szBox.cx), meter.Width() / 2);
    const int cy = std::min(int(m_szBox.cy), meter.Height() / 5);
    if (cx < 4 || cy < 4)
        return;
    const CPoint c = meter.CenterPoint();
    const int top = c.y + meter.Height() / 2 - meter.Height() / 5 - cy / 2;
    CRect box(c.x - cx / 2, top, c.x - cx / 2 + cx, top + cy);
    pDC->FillSolidRect(&box, m_crBack);
    pDC->Draw3dRect(&box, gfxData.m_crBtnShadow, gfxData.m_crBtnHilite);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldText = pDC->SetTextColor(m_crText);
    pDC->DrawText(FormatValue(), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetTextColor(oldText);
    pDC->SetBkMode(oldMode);
}

void CFOPIndicatorNumber::Serialize(CArchive& ar)
{
    CFOPIndicator::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << LONG(m_szBox.cx) << LONG(m_szBox.cy) << DWORD(m_crBack) << DWORD(m_crText);
        return;
    }
    LONG cx, cy;
    DWORD back, text;
    ar >> cx >> cy >> back >> text;
    if (cx < 0 || cy < 0 || cx > 10000 || cy > 10000)
        Refuse(ar);
    m_szBox = CSize(cx, cy);
    m_crBack = back;
    m_crText = text;
}

// Elliptical

void CFOPIndicatorElliptical::Draw(CDC* pDC, const CFOPMeterScale* pScale)
{
    const CFOPMeterEllipticalScale* scale = AsElliptical(pScale);
    if (!pDC || !scale || scale->GetRadius() < 4)
        return;
    CPen none(PS_NULL, 0, COLORREF(0));
    CPen* old = pDC->SelectObject(&none);
    for (const FOPIndicatorPhase& p : m_aPhases)
    {
        // A band between 60 % and 72 % of the radius.
        const double from = std::max(p.dStart, double(scale->GetMinimum()));
        const double to = std::min(p.dEnd, double(scale->GetMaximum()));
        if (!(to > from))
            continue;
        // About one corner every 4 pixels of the ring.
        const int steps = std::clamp(scale->GetRadius() / 4, 4, 24);
        std::vector<POINT> pts;
        for (int i = 0; i <= steps; ++i)
            pts.push_back(scale->ValueToRadiusPoint(from + (to - from) * i / steps, 0.72));
        for (int i = steps; i >= 0; --i)
            pts.push_back(scale->ValueToRadiusPoint(from + (to - from) * i / steps, 0.6));
        CBrush brush(p.crColor);
        CBrush* oldBrush = pDC->SelectObject(&brush);
        pDC->Polygon(pts.data(), int(pts.size()));
        pDC->SelectObject(oldBrush);
    }
    const CPoint c = scale->GetCentre();
    const int hub = std::max(2, scale->GetRadius() / 12);
    CPen needle(PS_SOLID, std::max(2, scale->GetRadius() / 30), RGB(32, 32, 32));
    pDC->SelectObject(&needle);
    pDC->MoveTo(c);
    pDC->LineTo(scale->ValueToRadiusPoint(m_dValue, 0.85));
    CBrush hubBrush(RGB(32, 32, 32));
    CBrush* oldBrush = pDC->SelectObject(&hubBrush);
    pDC->Ellipse(c.x - hub, c.y - hub, c.x + hub, c.y + hub);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(old);
}

// Bar

void CFOPIndicatorBar::Draw(CDC* pDC, const CFOPMeterScale* pScale)
{
    if (!pDC || !pScale || !pScale->GetMeterShape())
        return;
    const double w = std::isfinite(m_dBarWidth) ? std::clamp(m_dBarWidth, 1.0, 200.0) : 1.0;
    const int half = std::max(1, int(w / 2));
    auto band = [&](double from, double to, int nSide, int nWidth, COLORREF cr)
    {
        const CPoint a0 = pScale->ValueToPoint(from, nSide), a1 = pScale->ValueToPoint(from, nSide + nWidth);
        const CPoint b0 = pScale->ValueToPoint(to, nSide), b1 = pScale->ValueToPoint(to, nSide + nWidth);
        const POINT pts[4] = {a0, b0, b1, a1};
        CFODrawHelper::FillPoly(pDC, pts, 4, cr, cr, FO_BRUSH_SOLID);
    };
    // The phases as a thin strip beside the bar, then the bar up to the value.
    for (const FOPIndicatorPhase& p : m_aPhases)
        band(p.dStart, p.dEnd, half + 2, std::max(2, half / 2), p.crColor);
    const double lo = pScale->GetMinimum();
    const double v = pScale->FractionToValue(pScale->ValueToFraction(m_dValue));
    band(lo, pScale->GetMaximum(), -half, 2 * half, gfxData.m_crBtnShadow);
    if (v > lo)
        band(lo, v, -half, 2 * half, PhaseColorAt(v, RGB(0, 128, 0)));
}

void CFOPIndicatorBar::Serialize(CArchive& ar)
{
    CFOPIndicator::Serialize(ar);
    if (ar.IsStoring())
        ar << m_dBarWidth;
    else
        m_dBarWidth = ReadFinite(ar);
}
