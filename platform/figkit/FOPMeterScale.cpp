#include "figkit/FOPMeterScale.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

IMPLEMENT_SERIAL(CFOPMeterScale, CObject, 0)
IMPLEMENT_SERIAL(CFOPMeterEllipticalScale, CFOPMeterScale, 0)

namespace
{
const int kScaleVersion = 1;
const int kMaxTicks = 400;
const int kStyleMax[CFOPMeterScale::STYLE_COUNT] = {4, 4, 4, 3, 6};

double Radians(double deg)
{
    return deg * std::numbers::pi / 180.0;
}

void Refuse(CArchive& ar)
{
    AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
}
} // namespace

CFOPMeterScale::CFOPMeterScale() = default;

int CFOPMeterScale::GetStyle(int nIndex) const
{
    return nIndex >= 0 && nIndex < STYLE_COUNT ? m_aStyles[nIndex] : 0;
}

void CFOPMeterScale::SetStyle(int nIndex, int nValue)
{
    // A value outside the member's range keeps the style it had.
    if (nIndex >= 0 && nIndex < STYLE_COUNT && nValue >= 0 && nValue <= kStyleMax[nIndex])
        m_aStyles[nIndex] = nValue;
}

double CFOPMeterScale::ValueToFraction(double dValue) const
{
    if (!std::isfinite(dValue))
        return 0.0;
    if (m_nMaximum == m_nMinimum)
        return dValue > m_nMaximum ? 1.0 : 0.0;
    const double f = (dValue - m_nMinimum) / (double(m_nMaximum) - m_nMinimum);
    return std::clamp(f, 0.0, 1.0);
}

double CFOPMeterScale::FractionToValue(double dFraction) const
{
    return m_nMinimum + (double(m_nMaximum) - m_nMinimum) * dFraction;
}

CPoint CFOPMeterScale::ValueToPoint(double dValue, int nSide) const
{
    if (!m_pHost)
        return CPoint(0, 0);
    const CPoint a = m_pHost->GetMeterStartPoint();
    const CPoint b = m_pHost->GetMeterEndPoint();
    const double f = ValueToFraction(dValue);
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    // The side is to the right when walking from the start to the end.
    const double sx = len > 0 ? -dy / len : 0.0, sy = len > 0 ? dx / len : 0.0;
    return CPoint(CFODrawHelper::RoundValue(a.x + dx * f - sx * nSide),
                  CFODrawHelper::RoundValue(a.y + dy * f - sy * nSide));
}

double CFOPMeterScale::PointToValue(CPoint point) const
{
    if (!m_pHost)
        return m_nMinimum;
    const CPoint a = m_pHost->GetMeterStartPoint();
    const CPoint b = m_pHost->GetMeterEndPoint();
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    if (len2 <= 0.0)
        return m_nMinimum;
    const double f = ((point.x - a.x) * dx + (point.y - a.y) * dy) / len2;
    return FractionToValue(f);
}

int CFOPMeterScale::TickCount() const
{
    const double span = double(m_nMaximum) - m_nMinimum;
    if (!(m_dTickUnit > 0.0) || !std::isfinite(m_dTickUnit) || span <= 0.0)
        return 0;
    return int(std::min(double(kMaxTicks), std::floor(span / m_dTickUnit + 1e-9))) + 1;
}

CString CFOPMeterScale::FormatLabel(double dValue) const
{
    CString s;
    s.Format(L"%.*f", GetStyle(4), dValue);
    return s;
}

void CFOPMeterScale::Draw(CDC* pDC)
{
    if (!pDC || !m_pHost)
        return;
    const CPoint a = m_pHost->GetMeterStartPoint();
    const CPoint b = m_pHost->GetMeterEndPoint();
    CPen pen(PS_SOLID, 1, m_crScale);
    CPen* old = pDC->SelectObject(&pen);
    pDC->MoveTo(a);
    pDC->LineTo(b);
    const int ticks = TickCount();
    const int freq = std::max(1, m_nMajorFrequency);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldText = pDC->SetTextColor(m_crLabel);
    const UINT oldAlign = pDC->SetTextAlign(TA_RIGHT | TA_BASELINE);
    for (int i = 0; i < ticks; ++i)
    {
        const double v = m_nMinimum + i * m_dTickUnit;
        const bool major = i % freq == 0;
        const int len = 2 + 2 * (major ? GetStyle(2) : GetStyle(1));
        if (GetStyle(0) != 0)
        {
            pDC->MoveTo(ValueToPoint(v, 0));
            pDC->LineTo(ValueToPoint(v, -len));
        }
        if (major && GetStyle(3) != 0)
        {
            const CPoint p = ValueToPoint(v, -len - 3);
            pDC->TextOut(p.x, p.y + 4, FormatLabel(v));
        }
    }
    pDC->SetTextAlign(oldAlign);
    pDC->SetTextColor(oldText);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(old);
}

void CFOPMeterScale::Serialize(CArchive& ar)
{
    FOSerializeVersion(ar, kScaleVersion);
    if (ar.IsStoring())
    {
        ar << LONG(m_nMinimum) << LONG(m_nMaximum) << m_dTickUnit << LONG(m_nMajorFrequency)
           << DWORD(m_crScale) << DWORD(m_crLabel);
        for (int s : m_aStyles)
            ar << LONG(s);
        return;
    }
    LONG mn, mx, freq;
    double unit;
    DWORD c1, c2;
    ar >> mn >> mx >> unit >> freq >> c1 >> c2;
    if (!std::isfinite(unit) || freq < 0)
        Refuse(ar);
    m_nMinimum = int(mn);
    m_nMaximum = int(mx);
    m_dTickUnit = unit;
    m_nMajorFrequency = int(freq);
    m_crScale = c1;
    m_crLabel = c2;
    for (int i = 0; i < STYLE_COUNT; ++i)
    {
        LONG s;
        ar >> s;
        if (s < 0 || s > kStyleMax[i])
            Refuse(ar);
        m_aStyles[i] = int(s);
    }
}

// Elliptical scale

double CFOPMeterEllipticalScale::ValueToAngle(double dValue) const
{
    // The scale's angles run clockwise on the screen; the result counts the other way.
    return -(m_dStartAngle + m_dSweepAngle * ValueToFraction(dValue));
}

CPoint CFOPMeterEllipticalScale::GetCentre() const
{
    return m_pHost ? m_pHost->GetMeterRect().CenterPoint() : CPoint(0, 0);
}

int CFOPMeterEllipticalScale::GetRadius() const
{
    if (!m_pHost)
        return 0;
    const CRect rc = m_pHost->GetMeterRect();
    return std::max(0, std::min(rc.Width(), rc.Height()) / 2);
}

CPoint CFOPMeterEllipticalScale::ValueToRadiusPoint(double dValue, double dRadiusFraction) const
{
    const CPoint c = GetCentre();
    const double a = Radians(ValueToAngle(dValue));
    const double r = GetRadius() * dRadiusFraction;
    return CPoint(CFODrawHelper::RoundValue(c.x + r * std::cos(a)),
                  CFODrawHelper::RoundValue(c.y - r * std::sin(a)));
}

CPoint CFOPMeterEllipticalScale::ValueToPoint(double dValue, int) const
{
    return ValueToRadiusPoint(dValue, 0.9);
}

double CFOPMeterEllipticalScale::PointToValue(CPoint point) const
{
    const CPoint c = GetCentre();
    if (point == c || m_dSweepAngle == 0.0 || !std::isfinite(m_dSweepAngle))
        return m_nMinimum;
    // Clockwise on the screen, like the scale's angles.
    const double deg = std::atan2(double(point.y - c.y), double(point.x - c.x)) * 180.0 / std::numbers::pi;
    double d = std::fmod(deg - m_dStartAngle, 360.0);
    if (d < 0)
        d += 360.0;
    const double sweep = std::fabs(m_dSweepAngle);
    // In the gap past the end: the nearer end.
    if (d > sweep)
        d = (d - sweep) < (360.0 - d) ? sweep : 0.0;
    return FractionToValue(d / sweep);
}

void CFOPMeterEllipticalScale::Draw(CDC* pDC)
{
    if (!pDC || !m_pHost || GetRadius() < 4)
        return;
    const CPoint c = GetCentre();
    const int r = GetRadius();
    // The ring the scale stands on.
    const CRect ring(c.x - r, c.y - r, c.x + r, c.y + r);
    CFODrawHelper::FillEllipse(pDC, ring, m_crScale, m_crScale, m_nScaleStyle == 0 ? 0 : 1);
    CPen pen(PS_SOLID, 1, m_crLabel);
    CPen* old = pDC->SelectObject(&pen);
    const int ticks = TickCount();
    const int freq = std::max(1, m_nMajorFrequency);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldText = pDC->SetTextColor(m_crLabel);
    const UINT oldAlign = pDC->SetTextAlign(TA_CENTER | TA_BASELINE);
    // Minor ticks closer than 3 pixels on the ring would only blur it.
    const double spacing =
        ticks > 1 ? 2.0 * std::numbers::pi * r * std::fabs(m_dSweepAngle) / 360.0 / (ticks - 1) : 0;
    const bool minors = spacing >= 3.0;
    for (int i = 0; i < ticks; ++i)
    {
        const double v = m_nMinimum + i * m_dTickUnit;
        const bool major = i % freq == 0;
        if (!major && !minors)
            continue;
        pDC->MoveTo(ValueToRadiusPoint(v, major ? 0.78 : 0.84));
        pDC->LineTo(ValueToRadiusPoint(v, 0.92));
        if (major && GetStyle(3) != 0 && r >= 40)
        {
            const CPoint p = ValueToRadiusPoint(v, 0.66);
            pDC->TextOut(p.x, p.y + 4, FormatLabel(v));
        }
    }
    pDC->SetTextAlign(oldAlign);
    pDC->SetTextColor(oldText);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(old);
}

void CFOPMeterEllipticalScale::Serialize(CArchive& ar)
{
    CFOPMeterScale::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_dStartAngle << m_dSweepAngle << LONG(m_nScaleStyle);
        return;
    }
    double start, sweep;
    LONG style;
    ar >> start >> sweep >> style;
    if (!std::isfinite(start) || !std::isfinite(sweep) || std::fabs(sweep) > 360.0)
        Refuse(ar);
    m_dStartAngle = start;
    m_dSweepAngle = sweep;
    m_nScaleStyle = int(style);
}
