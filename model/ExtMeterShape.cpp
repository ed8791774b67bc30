#include "model/ExtMeterShape.h"

#include "mfc/SysColor.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CExtMeterShape, CFODrawPortsShape, 0)

namespace
{
const double kDegree = std::atan(1.0) * 4 / 180;

int Round(double v)
{
    if (!std::isfinite(v))
        return 0;
    v = std::clamp(v, -1.0e9, 1.0e9);
    return int(v < 0 ? v - 0.5 : v + 0.5);
}

void Defaults(CExtMeterShape& m)
{
    m.SetBkColor(RGB(255, 204, 0));
    m.SetType(607);
}
} // namespace

CExtMeterShape::CExtMeterShape()
{
    Defaults(*this);
}

CExtMeterShape::CExtMeterShape(const CExtMeterShape& src) : CFODrawPortsShape()
{
    Defaults(*this);
    *this = src;
}

CExtMeterShape::~CExtMeterShape()
{
    m_timer.Stop(this);
}

CExtMeterShape& CExtMeterShape::operator=(const CExtMeterShape& src)
{
    CFODrawPortsShape::operator=(src);
    m_dValue = src.m_dValue;
    m_dMaxValue = src.m_dMaxValue;
    m_dMinValue = src.m_dMinValue;
    m_nScaleDecimals = src.m_nScaleDecimals;
    m_nValueDecimals = src.m_nValueDecimals;
    m_strUnits = src.m_strUnits;
    m_crNeedle = src.m_crNeedle;
    m_timer.Stop(this);
    return *this;
}

CFODrawShape* CExtMeterShape::Copy() const
{
    return new CExtMeterShape(*this);
}

void CExtMeterShape::Create(CRect& rcPos, CString strCaption)
{
    XVKSetCornerPoints(this, rcPos);
    CFODrawPortsShape::Create(rcPos, strCaption);
    m_dValue = 0.0;
    m_bShowValue = FALSE;
    m_dMaxValue = 5.0;
    m_dMinValue = -5.0;
    m_nScaleDecimals = 1;
    m_nValueDecimals = 3;
    m_strUnits = L"Volts";
    m_crNeedle = 255;
    CreateDefaultPort(0.5, 0.5);
    UpdateComp();
}

void CExtMeterShape::SetCurrentValue(double dValue)
{
    CFODrawPortsShape::SetCurrentValue(dValue);
    if (dValue == FO_NO_VALUE || !std::isfinite(dValue))
        return;
    m_bShowValue = TRUE;
    if (GetMinValue() < GetMaxValue())
        SetRange(GetMinValue(), GetMaxValue());
    m_dValue = dValue;
}

void CExtMeterShape::SetMeterValue(double dValue)
{
    m_dValue = dValue;
    UpdateControl();
}

CPoint CExtMeterShape::DialPoint(double dAngle, double dRadius) const
{
    return CPoint(Round(m_nCenterX + dRadius * std::cos(dAngle)),
                  Round(m_nCenterY - dRadius * std::sin(dAngle)));
}

double CExtMeterShape::GetNeedleAngle() const
{
    const double start = 120 * kDegree, end = 60 * kDegree;
    double angle;
    if (m_dMaxValue == m_dMinValue || !std::isfinite(m_dMaxValue - m_dMinValue))
        angle = m_dValue > m_dMaxValue ? end : start;
    else
        angle = (m_dValue - m_dMinValue) * (end - start) / (m_dMaxValue - m_dMinValue) + start;
    if (!std::isfinite(angle))
        angle = start;
    return std::clamp(angle, end, start) / kDegree;
}

void CExtMeterShape::AnimateStep()
{
    m_dPosition += m_dStep;
    if (m_dMaxValue < m_dPosition)
    {
        m_dStep = -std::fabs(m_dStep);
        m_dPosition = m_dMaxValue - m_dStep;
    }
    else if (m_dMinValue > m_dPosition)
    {
        m_dStep = std::fabs(m_dStep);
        m_dPosition = m_dMinValue + m_dStep;
    }
}

void CExtMeterShape::DrawBody(CDC* pDC)
{
    if (XVKIsAnimationOn(this))
        DoStartTimer();
    CRect rc = GetSnapRect();
    rc.NormalizeRect();
    FillPoly(pDC, GetPoints(), GetPointCount(), GetBkColor(), GetPatternColor(), GetBrushType());
    DrawMeterScale(pDC, rc);
    DrawMeterNeedle(pDC);
    DrawMeterValue(pDC);
}

void CExtMeterShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    DrawBody(pDC);
}

void CExtMeterShape::OnDraw3d(CDC* pDC)
{
    CFODrawPortsShape::OnDraw3d(pDC);
    DrawBody(pDC);
}

void CExtMeterShape::DrawMeterScale(CDC* pDC, const CRect& rect)
{
    const int h = rect.bottom - rect.top, w = rect.right - rect.left;
    m_nCenterX = (rect.left + rect.right) / 2;
    m_nCenterY = rect.bottom - h / 16;
    m_nRadiusOuter = h * 6 / 8;
    m_nRadiusInner = m_nRadiusOuter / 2;
    m_dRadiansStart = 120 * kDegree;
    m_dRadiansEnd = 60 * kDegree;
    const int m = 13, n = 26;
    for (int i = 0; i < m; ++i)
        m_aBand[i] = DialPoint((60 + 5 * i) * kDegree, m_nRadiusOuter);
    for (int i = 0; i < m; ++i)
        m_aBand[m + i] = DialPoint((120 - 5 * i) * kDegree, m_nRadiusInner);
    CPoint bevel[BAND_POINTS];
    for (int i = 0; i < n; ++i)
    {
        bevel[i] = m_aBand[i];
        bevel[i].y += i < m ? -1 : 1;
    }
    bevel[0].x += 1;
    bevel[m].x -= 1;
    bevel[n - 1].x += 1;

    m_crWindow = GetSysColor(COLOR_WINDOW);
    m_crShadow = GetSysColor(COLOR_BTNSHADOW);
    m_crHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    m_crText = GetSysColor(COLOR_BTNTEXT);

    CPen shadow(PS_SOLID, 1, m_crShadow), highlight(PS_SOLID, 1, m_crHighlight), text(PS_SOLID, 1, m_crText);
    CPen* oldPen = pDC->SelectObject(&shadow);
    pDC->MoveTo(bevel[0]);
    pDC->PolylineTo(bevel, m + 1);
    pDC->SelectObject(&highlight);
    pDC->PolylineTo(bevel + m, n - m);
    pDC->LineTo(bevel[0]);

    CBrush window(m_crWindow);
    CBrush* oldBrush = pDC->SelectObject(&window);
    pDC->SelectObject(&text);
    pDC->Polygon(m_aBand, n);
    const double tick = m_nRadiusOuter - (m_nRadiusOuter - m_nRadiusInner) * 0.1;
    for (int a = 90; a > 60; a -= 15)
    {
        pDC->MoveTo(DialPoint(a * kDegree, m_nRadiusOuter));
        pDC->LineTo(DialPoint(a * kDegree, tick));
    }
    for (int a = 105; a < 120; a += 15)
    {
        pDC->MoveTo(DialPoint(a * kDegree, m_nRadiusOuter));
        pDC->LineTo(DialPoint(a * kDegree, tick));
    }

    const int y = bevel[n - 1].y;
    m_rectValue.left = rect.left + w / 20;
    m_rectValue.right = rect.right - w / 20;
    m_rectValue.bottom = rect.bottom - w / 20;
    m_rectValue.top = rect.bottom - (rect.bottom - y) * 60 / 100;
    pDC->SelectObject(&shadow);
    pDC->MoveTo(m_rectValue.left, m_rectValue.bottom);
    pDC->LineTo(m_rectValue.left, m_rectValue.top);
    pDC->LineTo(m_rectValue.right, m_rectValue.top);
    pDC->SelectObject(&highlight);
    pDC->LineTo(m_rectValue.right, m_rectValue.bottom);
    pDC->LineTo(m_rectValue.left, m_rectValue.bottom);

    m_fontValue.DeleteObject();
    const int fontHeight = std::clamp(int((m_rectValue.bottom - m_rectValue.top) * 85 / 100), -2000, 2000);
    m_fontValue.CreateFont(fontHeight, 0, 0, 0, 400, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, L"Arial");
    CFont* oldFont = pDC->SelectObject(&m_fontValue);
    TEXTMETRIC tm = {};
    pDC->GetTextMetrics(&tm);
    m_nTextHeight = tm.tmHeight;
    m_nValueBaseline = m_rectValue.bottom - m_nTextHeight / 4;
    m_nValueCenter = m_rectValue.left + (m_rectValue.right - m_rectValue.left) / 2;

    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = pDC->SetTextColor(m_crText);
    const UINT oldAlign = pDC->SetTextAlign(TA_CENTER | TA_BASELINE);
    pDC->TextOut(m_nValueCenter, m_rectValue.top - m_nTextHeight / 4, m_strUnits);
    CString s;
    const int labelY = m_aBand[m / 2].y - m_nTextHeight * 25 / 100;
    pDC->SetTextAlign(TA_LEFT | TA_BASELINE);
    s.Format(L"%.*lf", std::clamp(m_nScaleDecimals, 0, 20), m_dMinValue);
    pDC->TextOut((rect.left + m_aBand[m - 1].x) / 2, labelY, s);
    pDC->SetTextAlign(TA_RIGHT | TA_BASELINE);
    s.Format(L"%.*lf", std::clamp(m_nScaleDecimals, 0, 20), m_dMaxValue);
    pDC->TextOut((rect.right + m_aBand[0].x) / 2, labelY, s);
    pDC->SetTextAlign(oldAlign);
    pDC->SetTextColor(oldColor);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(oldFont);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void CExtMeterShape::DrawMeterNeedle(CDC* pDC)
{
    const double angle = GetNeedleAngle() * kDegree;
    const POINT pts[3] = {{m_nCenterX + m_nRadiusInner / 20, m_nCenterY},
                          DialPoint(angle, m_nRadiusOuter),
                          {m_nCenterX - m_nRadiusInner / 20, m_nCenterY}};
    CBrush brush(m_crNeedle);
    CPen pen(PS_SOLID, 1, m_crNeedle);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    CPen* oldPen = pDC->SelectObject(&pen);
    pDC->Polygon(pts, 3);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
}

void CExtMeterShape::DrawMeterValue(CDC* pDC)
{
    CFont* oldFont = pDC->SelectObject(&m_fontValue);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const UINT oldAlign = pDC->SetTextAlign(TA_CENTER | TA_BASELINE);
    CString s;
    s.Format(L"%.*f", std::clamp(m_nValueDecimals, 0, 20), m_dValue);
    pDC->TextOut(m_nValueCenter, m_nValueBaseline, s);
    pDC->SetTextAlign(oldAlign);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(oldFont);
}

void CExtMeterShape::DoAddCustProp()
{
    CFODrawPortsShape::DoAddCustProp();
    XVKAddAnimationProp(this, FALSE);
}

void CExtMeterShape::SetParentWnd(CWnd* pWnd)
{
    m_timer.OnParentWnd(this, pWnd);
    CFODrawPortsShape::SetParentWnd(pWnd);
}

void CExtMeterShape::OnTimer(int nTimerId)
{
    if (!m_timer.IsMine(nTimerId))
    {
        CFODrawPortsShape::OnTimer(nTimerId);
        return;
    }
    if (m_bShowValue)
        return;
    AnimateStep();
    SetMeterValue(m_dPosition);
}

BOOL CExtMeterShape::DoAnimate()
{
    if (m_bShowValue)
        return FALSE;
    AnimateStep();
    m_dValue = m_dPosition;
    return TRUE;
}

void CExtMeterShape::DoStartTimer()
{
    m_timer.Start(this, TIMER_PERIOD, TRUE);
}
