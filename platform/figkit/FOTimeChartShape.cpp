#include "figkit/FOTimeChartShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

IMPLEMENT_SERIAL(CFOTimeChartShape, CFORectShape, 0)

namespace
{
const int kVersion = 1;
const int kGridCells = 10;
} // namespace

CFOTimeChartShape::CFOTimeChartShape()
{
    SetType(FO_COMP_TIMECHART);
    SetBkColor(RGB(0, 0, 0));
    SetPatternColor(RGB(0, 128, 0));
    SetLineColor(RGB(0, 255, 0));
}

CFOTimeChartShape::CFOTimeChartShape(const CFOTimeChartShape& src) : CFORectShape(src) {}

CFOTimeChartShape::~CFOTimeChartShape() = default;

CFOTimeChartShape& CFOTimeChartShape::operator=(const CFOTimeChartShape& src)
{
    CFORectShape::operator=(src);
    return *this;
}

CFODrawShape* CFOTimeChartShape::Copy() const
{
    return new CFOTimeChartShape(*this);
}

void CFOTimeChartShape::AddLine(const CString& strName, COLORREF crColor)
{
    LineAt(int(m_lines.size()), strName.GetString()).crColor = crColor;
}

CFOTimeChartShape::Line& CFOTimeChartShape::LineAt(int nIndex, const wchar_t* pszName)
{
    if (pszName)
        for (Line& line : m_lines)
            if (line.strName.CompareNoCase(pszName) == 0)
                return line;
    if (!pszName && nIndex < int(m_lines.size()))
        return m_lines[size_t(nIndex)];
    // Lines after the first take colours of their own.
    static const COLORREF kColors[] = {RGB(255, 255, 0), RGB(0, 255, 255),   RGB(255, 0, 255),
                                       RGB(255, 128, 0), RGB(255, 255, 255), RGB(255, 0, 0)};
    Line line;
    line.strName = pszName ? CString(pszName) : CString();
    line.crColor = m_lines.empty() ? GetLineColor() : kColors[(m_lines.size() - 1) % std::size(kColors)];
    m_lines.push_back(line);
    return m_lines.back();
}

void CFOTimeChartShape::UpdateMultiLineData(int nCount, const wchar_t* const* names, const double* values)
{
    for (int i = 0; values && i < nCount; ++i)
    {
        const double v = values[i];
        if (!std::isfinite(v) || v == FO_NO_VALUE)
            continue;
        std::deque<double>& samples = LineAt(i, names ? (names[i] ? names[i] : L"") : nullptr).samples;
        samples.push_back(v);
        while (samples.size() > MAX_SAMPLES)
            samples.pop_front();
    }
}

CString CFOTimeChartShape::GetLineName(int nLine) const
{
    return nLine >= 0 && nLine < int(m_lines.size()) ? m_lines[size_t(nLine)].strName : CString();
}

int CFOTimeChartShape::GetSampleCount(int nLine) const
{
    return nLine >= 0 && nLine < int(m_lines.size()) ? int(m_lines[size_t(nLine)].samples.size()) : 0;
}

double CFOTimeChartShape::GetSample(int nLine, int nIndex) const
{
    if (nLine < 0 || nLine >= int(m_lines.size()))
        return 0.0;
    const std::deque<double>& samples = m_lines[size_t(nLine)].samples;
    return nIndex >= 0 && nIndex < int(samples.size()) ? samples[size_t(nIndex)] : 0.0;
}

void CFOTimeChartShape::Serialize(CArchive& ar)
{
    CFORectShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsLoading())
        m_lines.clear();
}

void CFOTimeChartShape::OnDrawFlat(CDC* pDC)
{
    const CRect rc = GetOwnRect();
    if (rc.Width() < 2 || rc.Height() < 2)
        return;
    pDC->FillSolidRect(rc.left, rc.top, rc.Width() + 1, rc.Height() + 1, GetBkColor());
    CPen grid(PS_SOLID, 1, GetPatternColor());
    CPen* oldPen = pDC->SelectObject(&grid);
    for (int i = 1; i < kGridCells; ++i)
    {
        const int x = rc.left + rc.Width() * i / kGridCells;
        const int y = rc.top + rc.Height() * i / kGridCells;
        pDC->MoveTo(x, rc.top);
        pDC->LineTo(x, rc.bottom);
        pDC->MoveTo(rc.left, y);
        pDC->LineTo(rc.right, y);
    }
    pDC->SelectObject(oldPen);

    const double range = GetMaxValue() - GetMinValue();
    for (const Line& line : m_lines)
    {
        const std::deque<double>& samples = line.samples;
        if (samples.size() < 2 || range == 0.0 || !std::isfinite(range))
            continue;
        // One sample per pixel, newest at the right edge.
        const int n = std::min(int(samples.size()), rc.Width() + 1);
        std::vector<CPoint> pts;
        pts.reserve(size_t(n));
        for (int i = 0; i < n; ++i)
        {
            const double v = samples[samples.size() - size_t(n) + size_t(i)];
            const double f = std::clamp((v - GetMinValue()) / range, 0.0, 1.0);
            pts.emplace_back(rc.right - (n - 1 - i), CFODrawHelper::RoundValue(rc.bottom - f * rc.Height()));
        }
        CPen pen(PS_SOLID, std::max(1, std::min(GetLineWidth(), 20)), line.crColor);
        oldPen = pDC->SelectObject(&pen);
        pDC->Polyline(pts.data(), int(pts.size()));
        pDC->SelectObject(oldPen);
    }
    CPen frame(PS_SOLID, 1, GetPatternColor());
    oldPen = pDC->SelectObject(&frame);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
