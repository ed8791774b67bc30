#include "figkit/FOTimeChartShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <cmath>
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

void CFOTimeChartShape::SetCurrentValue(double dValue)
{
    CFORectShape::SetCurrentValue(dValue);
    if (!std::isfinite(dValue) || dValue == FO_NO_VALUE)
        return;
    m_samples.push_back(dValue);
    while (m_samples.size() > MAX_SAMPLES)
        m_samples.pop_front();
}

void CFOTimeChartShape::Serialize(CArchive& ar)
{
    CFORectShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsLoading())
        m_samples.clear();
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
    if (m_samples.size() >= 2 && range != 0.0 && std::isfinite(range))
    {
        // One sample per pixel, newest at the right edge.
        const int n = std::min(int(m_samples.size()), rc.Width() + 1);
        std::vector<CPoint> pts;
        pts.reserve(size_t(n));
        for (int i = 0; i < n; ++i)
        {
            const double v = m_samples[m_samples.size() - size_t(n) + size_t(i)];
            const double f = std::clamp((v - GetMinValue()) / range, 0.0, 1.0);
            pts.emplace_back(rc.right - (n - 1 - i), CFODrawHelper::RoundValue(rc.bottom - f * rc.Height()));
        }
        CPen line(PS_SOLID, std::max(1, GetLineWidth()), GetLineColor());
        oldPen = pDC->SelectObject(&line);
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
