#include "model/RealTime.h"

#include "mfc/Dc.h"
#include "mfc/ModalHook.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

// --- CStr ------------------------------------------------------------------------------------------

void CStr::SetNumber(double value)
{
    wchar_t buf[512];
    std::swprintf(buf, 512, L"%16.16f", value);
    m_str = buf;
    if (!m_str.empty() && m_str.back() == L'.')
        m_str.pop_back();
}

namespace
{
bool WildMatch(const wchar_t* s, const wchar_t* p)
{
    const wchar_t* star = nullptr;
    const wchar_t* resume = nullptr;
    while (*s)
    {
        if (*p == L'*')
        {
            star = p++;
            resume = s;
        }
        else if (*p == L'?' || *p == *s)
        {
            ++p;
            ++s;
        }
        else if (star)
        {
            p = star + 1;
            s = ++resume;
        }
        else
            return false;
    }
    while (*p == L'*')
        ++p;
    return *p == 0;
}

CString Clock(long long seconds)
{
    CString s;
    s.Format(L"%d:%d:%d", int(seconds / 3600), int(seconds / 60 % 60), int(seconds % 60));
    return s;
}

// A y that a pen can draw: huge values stop far outside the picture.
int ClampCoord(double v)
{
    if (std::isnan(v))
        return 0;
    return int(std::clamp(v, -1.0e6, 1.0e6));
}
} // namespace

bool CStr::Match(const wchar_t* pattern) const
{
    return WildMatch(m_str.c_str(), pattern ? pattern : L"");
}

// --- CRealTimeDraw ---------------------------------------------------------------------------------

CRealTimeDraw::CRealTimeDraw()
{
    const COLORREF pens[16] = {RGB(255, 255, 255), RGB(0, 0, 0),     RGB(255, 0, 0),     RGB(0, 255, 0),
                               RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255),   RGB(128, 128, 128),
                               RGB(128, 128, 0),   RGB(128, 0, 128), RGB(0, 128, 128),   RGB(128, 0, 0),
                               RGB(0, 128, 0),     RGB(0, 0, 128),   RGB(192, 192, 192), RGB(255, 255, 0)};
    std::copy(std::begin(pens), std::end(pens), m_aPenColors);
}

bool CRealTimeDraw::SetRange(double xMin, double yMin, double xMax, double yMax)
{
    if (!(yMin < yMax))
        return false;
    m_dXMin = xMin;
    m_dYMin = yMin;
    m_dXMax = xMax;
    m_dYMax = yMax;
    return true;
}

void CRealTimeDraw::Layout(const CRect& rc)
{
    const int w = rc.Width(), h = rc.Height();
    m_rcPlot = CRect(rc.left + int(w * m_fLeft), rc.top + int(h * m_fTop), rc.left + int(w * m_fRight),
                     rc.top + int(h * m_fBottom));
    const int pw = m_rcPlot.Width(), ph = m_rcPlot.Height();
    const int right = (m_bLegendBox && m_bLegendRows) ? pw / 8 * 3 / 2 : pw / 8;
    m_rcData = CRect(m_rcPlot.left + pw / 8, m_rcPlot.top + ph / 10, m_rcPlot.right - right,
                     m_rcPlot.bottom - ph / 6);
    m_dMsPerPixel = (m_dXMax - m_dXMin) / std::max(1, m_rcData.Width());
    m_dUnitsPerPixel = (m_dYMax - m_dYMin) / std::max(1, m_rcData.Height());
    m_nFontSize = std::min(m_rcData.Width(), m_rcData.Height());
}

CString CRealTimeDraw::NumberText(float x, int nPrecision)
{
    wchar_t buf[512];
    if (nPrecision <= 0)
    {
        std::swprintf(buf, 512, L"%.f", double(x));
        return buf;
    }
    std::swprintf(buf, 512, L"%.*f", std::min(nPrecision, 5), double(x));
    if (std::fabs(x) > 0.99999f)
    {
        const double back = std::wcstod(buf, nullptr);
        std::swprintf(buf, 512, L"%12.12f", back);
        CString s(buf);
        if (s.Right(1) == L".")
            s = s.Left(s.GetLength() - 1);
        return s;
    }
    if (std::fabs(x) < 1e-10f)
        return L"0";
    CString s(buf);
    while (s.GetLength() > 1 && s.Right(1) == L"0")
        s = s.Left(s.GetLength() - 1);
    if (s.Right(1) == L".")
        s = s.Left(s.GetLength() - 1);
    return s;
}

void CRealTimeDraw::DrawAlignedText(CDC* pDC, int x, int y, const CString& text, int nHAlign, int nVAlign,
                                    double dAngle)
{
    const CSize size = pDC->GetTextExtent(text);
    const double a = dAngle * 3.14159265358979323846 / 180.0;
    const double along = size.cx * (nHAlign == 2 ? 1.0 : nHAlign == 1 ? 0.5 : 0.0);
    const double across = size.cy * (nVAlign == 2 ? 1.0 : nVAlign == 1 ? 0.5 : 0.0);
    const int px = int(std::lround(x - along * std::cos(a) - across * std::sin(a)));
    const int py = int(std::lround(y + along * std::sin(a) - across * std::cos(a)));
    const UINT old = pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->TextOut(px, py, text);
    pDC->SetTextAlign(old);
}

// --- CRealTime -------------------------------------------------------------------------------------

CRealTime::CRealTime() = default;

bool CRealTime::InitialSetting(double dScale, DWORD dwStart, int nSpan, int nTotal, int nGridDivisor,
                               bool bForward)
{
    if (!(dScale > 0.0) || !std::isfinite(dScale) || nSpan <= 0 || nTotal <= 0)
        return false;
    nTotal = nTotal / nSpan * nSpan;
    if (nTotal == nSpan)
        ++nTotal;
    if (!bForward && !(1000.0 * nSpan > double(dwStart)))
    {
        const int answer =
            AfxShowMessageBox(nullptr,
                              L"<1000 * TimeSpan - StartTime> must be positive value\nin initial "
                              L"backward drawing. Changed to foreward drawing?",
                              L"From InitialSetting() ...", MB_YESNO, 0);
        if (answer != IDYES)
            return false;
        bForward = true;
    }
    const double capacity = nTotal * dScale + 1.5;
    const double visible = nSpan * dScale + 1.5;
    // A ring no one could fill is refused rather than allocated.
    if (capacity > 10000000.0 || visible > capacity)
        return false;
    m_dScale = dScale;
    m_dwStart = dwStart;
    m_nSpan = nSpan;
    m_nTotal = nTotal;
    m_nDivisor = std::max(1, nGridDivisor);
    m_bForward = bForward;
    m_nCapacity = int(capacity);
    m_nPages = nTotal / nSpan;
    m_nVisible = int(visible);
    if (bForward)
        m_dXMin = dwStart, m_dXMax = dwStart + 1000.0 * nSpan;
    else
        m_dXMin = dwStart - 1000.0 * nSpan, m_dXMax = dwStart;
    m_ticks.assign(size_t(m_nCapacity), 0);
    m_nCount = m_nWrap = m_nFirst = m_nLast = 0;
    for (Pen& p : m_pens)
        p.buffer.assign(size_t(m_nCapacity) + 1, Sample());
    m_points.reserve(size_t(m_nVisible));
    m_bLegendBox = m_bLegendRows = FALSE;
    return true;
}

DWORD CRealTime::GetTick(int index) const
{
    return (index >= 0 && index < m_nCount) ? m_ticks[size_t(index)] : 0;
}

bool CRealTime::AddLine(COLORREF cr, double dMin, double dMax, const wchar_t* name, const wchar_t* t2,
                        const wchar_t* t3, double dLow, double dHigh, int nStyle, int nWidth)
{
    return InsertLine(GetLineCount(), cr, dMin, dMax, name, t2, t3, dLow, dHigh, nStyle, nWidth);
}

bool CRealTime::InsertLine(int nAt, COLORREF cr, double dMin, double dMax, const wchar_t* name,
                           const wchar_t* t2, const wchar_t* t3, double dLow, double dHigh, int nStyle,
                           int nWidth)
{
    if (nAt < 0 || nAt > GetLineCount())
        return false;
    Pen pen;
    pen.crColor = cr;
    pen.nStyle = std::clamp(nStyle, 0, 2);
    pen.nWidth = nWidth;
    pen.buffer.assign(size_t(m_nCapacity) + 1, Sample());
    pen.strName = name;
    pen.strText2 = t2;
    pen.strText3 = t3;
    pen.dDisplayLow = dLow;
    pen.dDisplayHigh = dHigh;
    pen.dMin = dMin;
    pen.dMax = dMax;
    m_pens.insert(m_pens.begin() + nAt, std::move(pen));
    return true;
}

void CRealTime::SetLineData(int nLine, double dValue)
{
    if (nLine < 0 || nLine >= GetLineCount())
        return;
    const int slot = IsFull() ? m_nWrap : m_nCount;
    std::vector<Sample>& buffer = m_pens[size_t(nLine)].buffer;
    if (slot >= 0 && slot < int(buffer.size()))
        buffer[size_t(slot)] = Sample{true, dValue};
}

void CRealTime::AddTimeTick(DWORD dwTick)
{
    if (m_nCapacity <= 0)
        return;
    if (!IsFull())
        m_ticks[size_t(m_nCount++)] = dwTick;
    else
    {
        m_ticks[size_t(m_nWrap)] = dwTick;
        m_nWrap = (m_nWrap + 1) % m_nCapacity;
    }
    if (double(dwTick) > m_dXMax)
    {
        const double width = m_dXMax - m_dXMin;
        if (m_bForward)
        {
            m_dXMax = dwTick;
            m_dXMin = dwTick - width;
        }
        else
        {
            m_nFirst = (m_nFirst + 1) % m_nCapacity;
            m_nLast = (m_nLast + 1) % m_nCapacity;
            m_dXMin = GetTick(m_nFirst);
            m_dXMax = std::max(double(GetTick(m_nLast)), m_dXMin + width);
        }
    }
}

int CRealTime::FirstShownIndex(int& nShown) const
{
    nShown = std::min(m_nCount, m_nVisible);
    if (!IsFull())
        return m_nCount - nShown;
    return ((m_nWrap - nShown) % m_nCapacity + m_nCapacity) % m_nCapacity;
}

int CRealTime::RingIndexAt(int nPos) const
{
    int shown = 0;
    const int first = FirstShownIndex(shown);
    if (shown == 0)
        return -1;
    nPos = std::clamp(nPos, 0, shown - 1);
    return (first + nPos) % std::max(1, m_nCapacity);
}

const CRealTime::Sample* CRealTime::SampleAt(int nLine, int nRingIndex) const
{
    const Pen* pen = GetLine(nLine);
    if (!pen || nRingIndex < 0 || nRingIndex >= int(pen->buffer.size()))
        return nullptr;
    return &pen->buffer[size_t(nRingIndex)];
}

int CRealTime::CursorX() const
{
    int x = m_rcData.left;
    if (m_nVisible > 1)
        x += int(double(m_rcData.Width()) * m_nCursorPos / (m_nVisible - 1));
    return std::clamp(x, m_rcData.left + 1, std::max(m_rcData.left + 1, m_rcData.right - 1));
}

void CRealTime::Draw(CDC* pDC, const CRect& rc, const CString& xTitle, const CString& yTitle)
{
    if (!pDC)
        return;
    Layout(rc);
    DrawContent(pDC, xTitle, yTitle);
}

void CRealTime::DrawContent(CDC* pDC, const CString& xTitle, const CString& yTitle)
{
    pDC->FillSolidRect(&m_rcPlot, m_crBack);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    LOGFONT lf = {};
    lf.lfHeight = -std::max(10, m_nFontSize / 20);
    lf.lfWeight = 700;
    std::wcsncpy(lf.lfFaceName, m_strFace.GetString(), 31);
    CFont title;
    title.CreateFontIndirect(&lf);
    CFont* oldFont = pDC->SelectObject(&title);
    pDC->SetTextColor(m_crTitle);
    const int bottomMargin = m_rcPlot.bottom - m_rcData.bottom;
    DrawAlignedText(pDC, (m_rcData.left + m_rcData.right) / 2, m_rcData.bottom + bottomMargin * 2 / 5, xTitle,
                    1, 0, 0.0);
    lf.lfEscapement = lf.lfOrientation = 900;
    CFont rotated;
    rotated.CreateFontIndirect(&lf);
    pDC->SelectObject(&rotated);
    DrawAlignedText(pDC, m_rcPlot.left + 2, (m_rcData.top + m_rcData.bottom) / 2, yTitle, 1, 0, 90.0);
    LOGFONT small = {};
    small.lfHeight = -std::max(9, m_nFontSize / 25);
    small.lfWeight = 500;
    std::wcsncpy(small.lfFaceName, m_strFace.GetString(), 31);
    CFont labels;
    labels.CreateFontIndirect(&small);
    pDC->SelectObject(&labels);
    CPen frame(PS_SOLID, 1, m_crFrame);
    CPen* oldPen = pDC->SelectObject(&frame);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(&m_rcData);
    DrawTimeAxis(pDC);
    DrawValueAxes(pDC);
    DrawGrid(pDC);
    DrawLines(pDC);
    DrawCursor(pDC);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldFont);
    pDC->SetBkMode(oldMode);
}

void CRealTime::DrawTimeAxis(CDC* pDC)
{
    const int bm = m_rcPlot.bottom - m_rcData.bottom;
    const int step = std::max(1, m_nSpan / m_nDivisor);
    pDC->SetTextColor(m_crAxisLabel);
    bool first = true;
    for (int i = 0; i < m_nVisible; ++i)
    {
        const double t = std::floor(i * 1000.0 / m_dScale + m_dXMin + 0.5);
        const int x = m_rcData.left + int((t - m_dXMin) / m_dMsPerPixel);
        const long long ms = (long long)t;
        const bool major = ms % 1000 == 0 && (ms / 1000) % step == 0;
        pDC->MoveTo(x, m_rcData.bottom);
        pDC->LineTo(x, m_rcData.bottom + (major ? bm / 7 : bm / 14));
        if (!major)
            continue;
        const bool last = i + step * m_dScale >= m_nVisible;
        const int align = first ? 0 : (last && m_nCount >= m_nVisible) ? 2 : 1;
        DrawAlignedText(pDC, x, m_rcData.bottom + bm / 5, Clock(ms / 1000), align, 0, 0.0);
        first = false;
    }
    CString left, right;
    left.Format(L"%s (%s)", L"Cursor time", Clock((long long)m_dCursorTime).GetString());
    right.Format(L"%s (%s)", L"Total lapse time", Clock((long long)m_dLapseTime).GetString());
    pDC->SetTextColor(m_crFrame);
    DrawAlignedText(pDC, m_rcData.left, m_rcPlot.bottom - 2, left, 0, 2, 0.0);
    DrawAlignedText(pDC, m_rcData.right, m_rcPlot.bottom - 2, right, 2, 2, 0.0);
}

void CRealTime::DrawValueAxes(CDC* pDC)
{
    const int margin = m_rcData.left - m_rcPlot.left;
    const int ticks = std::max(1, m_nYTicks);
    const int every = std::max(1, ticks / 10);
    pDC->SetTextColor(m_crAxisLabel);
    const bool right = !(m_bLegendBox && m_bLegendRows);
    for (int k = 0; k <= ticks; ++k)
    {
        const int y = m_rcData.top + int(double(m_rcData.Height()) * k / ticks);
        const bool major = k % every == 0;
        const int len = major ? margin / 10 : margin / 20;
        pDC->MoveTo(m_rcData.left, y);
        pDC->LineTo(m_rcData.left - len, y);
        if (right)
        {
            pDC->MoveTo(m_rcData.right, y);
            pDC->LineTo(m_rcData.right + len, y);
        }
        if (!major)
            continue;
        const CString label = NumberText(float(m_dYMax - k * (m_dYMax - m_dYMin) / ticks), m_nYPrecision);
        DrawAlignedText(pDC, m_rcData.left - margin / 6, y, label, 2, 1, 0.0);
        if (right)
            DrawAlignedText(pDC, m_rcData.right + margin / 6, y, label, 0, 1, 0.0);
    }
}

void CRealTime::DrawGrid(CDC* pDC)
{
    CPen dotted(PS_DOT, 1, m_crGrid);
    CPen* old = pDC->SelectObject(&dotted);
    const int step = std::max(1, m_nSpan / m_nDivisor);
    for (int i = 0; i < m_nVisible; ++i)
    {
        const long long ms = (long long)std::floor(i * 1000.0 / m_dScale + m_dXMin + 0.5);
        if (ms % 1000 != 0 || (ms / 1000) % step != 0)
            continue;
        const int x = m_rcData.left + int((double(ms) - m_dXMin) / m_dMsPerPixel);
        if (x <= m_rcData.left || x >= m_rcData.right)
            continue;
        pDC->MoveTo(x, m_rcData.top + 1);
        pDC->LineTo(x, m_rcData.bottom - 1);
    }
    const int rows = std::max(1, m_nYGrids);
    for (int k = 1; k < rows; ++k)
    {
        const int y = m_rcData.top + m_rcData.Height() * k / rows;
        pDC->MoveTo(m_rcData.left + 1, y);
        pDC->LineTo(m_rcData.right - 1, y);
    }
    pDC->SelectObject(old);
}

void CRealTime::DrawLines(CDC* pDC)
{
    if (m_nCount < 2 || m_nCapacity <= 0)
        return;
    int shown = 0;
    const int first = FirstShownIndex(shown);
    static const int kStyles[3] = {PS_SOLID, PS_DASH, PS_DOT};
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&m_rcData);
    for (const Pen& pen : m_pens)
    {
        // A pen of negative width only holds the place of a skipped entry.
        if (pen.nWidth < 0)
            continue;
        m_points.clear();
        for (int k = 0; k < shown; ++k)
        {
            const int idx = (first + k) % m_nCapacity;
            const Sample& s = pen.buffer[size_t(idx)];
            if (!s.bSet)
                continue;
            const int x =
                m_rcData.left + ClampCoord((double(m_ticks[size_t(idx)]) - m_dXMin) / m_dMsPerPixel);
            if (x < m_rcData.left || x > m_rcData.right)
                continue;
            const int y = ClampCoord(m_rcData.bottom - (s.dValue - m_dYMin) / m_dUnitsPerPixel);
            m_points.emplace_back(x, y);
        }
        if (m_points.size() < 2)
            continue;
        CPen p(kStyles[std::clamp(pen.nStyle, 0, 2)], pen.nWidth, pen.crColor);
        CPen* old = pDC->SelectObject(&p);
        pDC->Polyline(m_points.data(), int(m_points.size()));
        pDC->SelectObject(old);
    }
    pDC->RestoreDC(saved);
}

void CRealTime::DrawCursor(CDC* pDC)
{
    CPen pen(PS_SOLID, m_nCursorWidth, m_crCursor);
    CPen* old = pDC->SelectObject(&pen);
    const int x = CursorX();
    pDC->MoveTo(x, m_rcData.top);
    pDC->LineTo(x, m_rcData.bottom);
    pDC->SelectObject(old);
}
