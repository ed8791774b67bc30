#include "model/MyPushChartShape.h"

#include "figkit/FODrawHelper.h"
#include "figkit/FOValueProperties.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"
#include "model/ChartPointList.h"
#include "model/XVKValueSet.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <ctime>
#include <memory>

IMPLEMENT_SERIAL(CMyPushChartShape, CFORectShape, 0)

namespace
{
// The date range a time label can show: about 9,900 years either way.
const long long kMaxSpanSeconds = 3615897LL * 86400LL;

long long MulDivRounded(long long a, long long b, long long c)
{
    const long long p = a * b;
    return p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c);
}

BYTE Shade(BYTE c, int d)
{
    return c == 0 ? 0 : BYTE(std::clamp(int(c) + d, 0, 255));
}

COLORREF ShadeColor(COLORREF cr, int d)
{
    return RGB(Shade(GetRValue(cr), d), Shade(GetGValue(cr), d), Shade(GetBValue(cr), d));
}
} // namespace

CMyPushChartShape::CMyPushChartShape()
{
    SetType(615);
    SetPeekRange(0, 100);
    SetLabelForMax(L"100");
    SetLabelForMin(L"0");
    SetGridSize(20);
    SetBGColor(0);
    SetGridColor(RGB(0, 150, 0));
    SetRotateProtect(TRUE);
    SetPolyObject(FALSE);
}

CMyPushChartShape::CMyPushChartShape(const CMyPushChartShape& src) : CFORectShape(src)
{
    CopyMembers(src);
}

CMyPushChartShape::~CMyPushChartShape() = default;

CMyPushChartShape& CMyPushChartShape::operator=(const CMyPushChartShape& src)
{
    if (this == &src)
        return *this;
    CFORectShape::operator=(src);
    CopyMembers(src);
    return *this;
}

void CMyPushChartShape::CopyMembers(const CMyPushChartShape& src)
{
    m_crBG = src.m_crBG;
    m_crGrid = src.m_crGrid;
    m_strLabelMax = src.m_strLabelMax;
    m_strLabelMin = src.m_strLabelMin;
    m_bShowLabels = src.m_bShowLabels;
    m_bShowGrid = src.m_bShowGrid;
    m_nGridOffset = src.m_nGridOffset;
    m_nCapacity = src.m_nCapacity;
    m_nMaxPeek = src.m_nMaxPeek;
    m_nMinPeek = src.m_nMinPeek;
    m_nGridSize = src.m_nGridSize;
    m_nOffset = src.m_nOffset;
    m_dIncrease = src.m_dIncrease;
    m_nReserved = src.m_nReserved;
    m_nTimerRate = src.m_nTimerRate;
    m_nInterval = src.m_nInterval;
    DeleteLines();
}

CFODrawShape* CMyPushChartShape::Copy() const
{
    return new CMyPushChartShape(*this);
}

void CMyPushChartShape::Create(CRect& rcPos, CString strCaption)
{
    CFORectShape::Create(rcPos, strCaption);
    RemoveAllPorts();
}

void CMyPushChartShape::Serialize(CArchive& ar)
{
    CFORectShape::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_bShowLabels << m_bShowGrid << m_nCapacity << m_nMaxPeek << m_nMinPeek << m_nGridSize
           << m_nOffset << m_dIncrease << m_nReserved << m_nTimerRate;
        return;
    }
    DeleteLines();
    ar >> m_bShowLabels >> m_bShowGrid >> m_nCapacity >> m_nMaxPeek >> m_nMinPeek >> m_nGridSize >>
        m_nOffset >> m_dIncrease >> m_nReserved >> m_nTimerRate;
}

void CMyPushChartShape::GeometryUpdated(CFOArea* pArea)
{
    CFORectShape::GeometryUpdated(pArea);
    m_nCapacity = -1;
}

BOOL CMyPushChartShape::OnLButtonUp(UINT nFlags, CPoint point)
{
    CStringArray states;
    if (GetStateList(states) < 2)
        return FALSE;
    return CFORectShape::OnLButtonUp(nFlags, point);
}

void CMyPushChartShape::DoAddCustProp()
{
    CFORectShape::DoAddCustProp();
    const CFOValueProperties list(15009, FO_VALUE::MakeString(CString()));
    const CFOValueProperties p28(15028, FO_VALUE::MakeInt(1));
    const CFOValueProperties p29(15029, FO_VALUE::MakeInt(1000));
    AddNewProperty(&list);
    AddNewProperty(&p28);
    AddNewProperty(&p29);
}

void CMyPushChartShape::OnDrawFlat(CDC* pDC)
{
    CFORectShape::OnDrawFlat(pDC);
    DoPaint(pDC);
}

void CMyPushChartShape::OnDraw3d(CDC* pDC)
{
    CFORectShape::OnDraw3d(pDC);
    DoPaint(pDC);
}

void CMyPushChartShape::SetMinPeek(int n)
{
    m_nMinPeek = n;
    // The lowest int has no positive twin: its offset stops at the highest.
    m_nOffset = n < 0 ? int(std::min(-static_cast<long long>(n), static_cast<long long>(INT_MAX))) : 0;
}

void CMyPushChartShape::SetPeekRange(int nMin, int nMax)
{
    SetMinPeek(nMin);
    SetMaxPeek(nMax);
}

void CMyPushChartShape::SetInterval(WORD n)
{
    m_nInterval = n;
    m_nCapacity = -1;
}

double CMyPushChartShape::SafeIncrease() const
{
    return (std::isfinite(m_dIncrease) && m_dIncrease > 0.0) ? m_dIncrease : 1.0;
}

// --- Lines ---------------------------------------------------------------------------------------

BOOL CMyPushChartShape::AddLine(UINT nId, COLORREF crColor, UINT nPenWidth)
{
    auto line = std::make_unique<FOP_PUSHLINE>();
    line->nLineId = nId;
    line->crColor = crColor;
    line->nPenWidth = int(nPenWidth);
    m_lines.push_back(std::move(line));
    return TRUE;
}

void CMyPushChartShape::RemoveLine(UINT nId)
{
    for (size_t i = m_lines.size(); i-- > 0;)
        if (m_lines[i]->nLineId == nId)
            m_lines.erase(m_lines.begin() + std::ptrdiff_t(i));
}

FOP_PUSHLINE* CMyPushChartShape::internal_LineFromID(UINT nId) const
{
    for (size_t i = m_lines.size(); i-- > 0;)
        if (m_lines[i]->nLineId == nId)
            return m_lines[i].get();
    return nullptr;
}

const FOP_PUSHLINE* CMyPushChartShape::GetLineAt(int i) const
{
    return (i >= 0 && i < GetLineCount()) ? m_lines[size_t(i)].get() : nullptr;
}

BOOL CMyPushChartShape::SetLineColor(COLORREF cr, UINT nId)
{
    FOP_PUSHLINE* line = internal_LineFromID(nId);
    if (!line)
        return FALSE;
    line->crColor = cr;
    return TRUE;
}

COLORREF CMyPushChartShape::GetLineColor(UINT nId) const
{
    const FOP_PUSHLINE* line = internal_LineFromID(nId);
    return line ? line->crColor : 0;
}

void CMyPushChartShape::ShowAsBar(UINT nId, BOOL bBar)
{
    if (FOP_PUSHLINE* line = internal_LineFromID(nId))
        line->bShowAsBar = bBar;
}

BOOL CMyPushChartShape::Push(int nValue, UINT nId)
{
    FOP_PUSHLINE* line = internal_LineFromID(nId);
    if (!line)
        return FALSE;
    // Offset only records a negative minimum; the sample counts from the minimum once.
    const int clamped = std::max(m_nMinPeek, std::min(m_nMaxPeek, nValue));
    line->samples.push_back(int(static_cast<long long>(clamped) - m_nMinPeek));
    return TRUE;
}

void CMyPushChartShape::Update()
{
    size_t n = 0;
    for (const auto& line : m_lines)
        n = std::max(n, line->samples.size());
    if (m_nCapacity >= 0 && static_cast<long long>(n) >= m_nCapacity)
    {
        const long long shift = (static_cast<long long>(n) - m_nCapacity + 1) * SafeInterval();
        m_nGridOffset = int((m_nGridOffset - shift) % SafeGridSize());
    }
    UpdateControl();
}

// --- Point list ----------------------------------------------------------------------------------

bool CMyPushChartShape::InitChart(const wchar_t* text)
{
    if (!text)
    {
        RemoveLine(0);
        AddLine(0, RGB(255, 255, 255), 2);
        m_nTimerRate = 10;
        SetInterval(4);
        return true;
    }
    CArray<XVK_CHART_ENTRY> entries;
    XVKGetChartPointList(entries, text);
    if (entries.GetSize() == 0)
        return false;
    double dMin = 0.0, dMax = 0.0;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        XVK_CHART_LINE def;
        if (entries[i].strDef.IsEmpty() || !XVKParseChartLine(entries[i].strDef, def))
            continue;
        AddLine(UINT(i), def.crColor, 2);
        dMin = std::min(dMin, def.dMin);
        dMax = std::max(dMax, def.dMax);
    }
    if (dMin < dMax)
    {
        // Out-of-range numbers stop at the ends of int.
        SetMinPeek(int(std::clamp(dMin, -2147483648.0, 2147483647.0)));
        SetMaxPeek(int(std::clamp(dMax, -2147483648.0, 2147483647.0)));
    }
    m_nTimerRate = 10;
    SetInterval(4);
    return true;
}

bool CMyPushChartShape::UpdateChartData()
{
    return XVKFeedChart(this,
                        [this](int nCount, double* values) { UpdateMultiLineData(nCount, nullptr, values); });
}

bool CMyPushChartShape::UpdateMultiLineData(int nCount, const wchar_t* const*, double* values)
{
    for (int i = 0; values && i < nCount; ++i)
    {
        const double v = values[i];
        // Truncated toward zero; what int cannot hold stops at its ends.
        const int n = std::isnan(v) ? 0 : int(std::clamp(std::trunc(v), -2147483648.0, 2147483647.0));
        Push(n, UINT(i));
    }
    return true;
}

// --- Drawing -------------------------------------------------------------------------------------

void CMyPushChartShape::DoPaint(CDC* pDC)
{
    if (!pDC)
        return;
    CRect rc = GetSnapRect();
    pDC->FillSolidRect(&rc, GetBkColor());
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    if (m_bShowLabels)
        internal_DrawMinMax(*pDC, rc);
    if (m_bShowGrid)
        internal_DrawGrid(*pDC, rc);
    internal_DrawLines(*pDC, rc);
    pDC->SetBkMode(oldMode);
}

void CMyPushChartShape::internal_DrawGrid(CDC& dc, CRect& r)
{
    const int gs = SafeGridSize();
    CPen pen(PS_SOLID, 1, m_crGrid);
    CBrush brush(GetPatternColor());
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(&brush);
    dc.Rectangle(r.left, r.top + gs, r.right - gs, r.bottom);
    for (int y = r.bottom - 1; y >= r.top + gs; y -= gs)
    {
        dc.MoveTo(r.left, y);
        dc.LineTo(r.right - gs, y);
    }
    for (int x = r.left + m_nGridOffset; x < r.right - gs; x += gs)
    {
        if (x < r.left)
            continue;
        dc.MoveTo(x, r.top + gs);
        dc.LineTo(x, r.bottom);
    }
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

void CMyPushChartShape::internal_DrawLines(CDC& dc, CRect& r)
{
    const int gs = SafeGridSize();
    const int interval = SafeInterval();
    if (m_nCapacity == -1 || m_nCapacity == 0 || m_nCapacity < -1)
        m_nCapacity = std::max(1, int(std::ceil(double(r.Width() - gs) / interval)) + 1);
    size_t n = 0;
    for (const auto& line : m_lines)
        n = std::max(n, line->samples.size());
    if (n == 0)
        return;
    const double inc = SafeIncrease();
    // Heights far outside the picture stop there.
    auto height = [&](int v)
    { return CFODrawHelper::RoundValue(std::clamp(double(v) / inc * gs, -1.0e6, 1.0e6)); };
    for (const auto& ptr : m_lines)
    {
        FOP_PUSHLINE& line = *ptr;
        if (line.samples.empty())
            line.samples.push_back(m_nMinPeek);
        while (line.samples.size() < n)
            line.samples.push_back(line.samples.back());
        while (!line.samples.empty() && static_cast<long long>(line.samples.size()) >= m_nCapacity)
            line.samples.pop_front();
        if (line.samples.empty())
            return;
        // A line in the plot area's own colour (a chart bound in the editor takes the shape's line
        // colour, black by default, over its black grid) would show nothing: it draws in the opposite.
        const COLORREF plot = m_bShowGrid ? GetPatternColor() : GetBkColor();
        CPen pen(PS_SOLID, line.nPenWidth, line.crColor == plot ? line.crColor ^ 0xFFFFFF : line.crColor);
        CPen* oldPen = dc.SelectObject(&pen);
        if (!line.bShowAsBar)
        {
            std::vector<CPoint> pts;
            pts.reserve(line.samples.size());
            int i = 0;
            for (int v : line.samples)
                pts.emplace_back(r.left + i++ * interval, r.bottom - height(v));
            if (pts.size() == 1)
            {
                dc.MoveTo(pts[0]);
                dc.LineTo(pts[0]);
            }
            else
                dc.Polyline(pts.data(), int(pts.size()));
        }
        else
        {
            dc.MoveTo(r.left, r.bottom);
            int i = 0;
            for (int v : line.samples)
            {
                const int x = r.left + i++ * interval + 1;
                CRect bar(x, r.bottom - height(v), x + interval - 1, r.bottom);
                internal_DrawBar(dc, bar, line);
            }
        }
        dc.SelectObject(oldPen);
    }
}

void CMyPushChartShape::internal_DrawBar(CDC& dc, CRect& rc, FOP_PUSHLINE& line)
{
    CRect box = rc;
    box.NormalizeRect();
    dc.FillSolidRect(&box, line.crColor);
    dc.Draw3dRect(&box, ShadeColor(line.crColor, 40), ShadeColor(line.crColor, -40));
}

void CMyPushChartShape::internal_DrawMinMax(CDC& dc, CRect& r)
{
    const int gs = SafeGridSize();
    const int interval = SafeInterval();
    const COLORREF oldText = dc.SetTextColor(GetFontColor());
    const CSize maxSize = dc.GetTextExtent(m_strLabelMax);
    const CSize minSize = dc.GetTextExtent(m_strLabelMin);
    const int labelWidth = std::max(maxSize.cx, minSize.cx) + 6;
    const int bottomMargin = maxSize.cy + 6;
    CPen pen(PS_SOLID, 1, m_crGrid);
    CPen* oldPen = dc.SelectObject(&pen);
    const double inc = SafeIncrease();
    int n = 0;
    for (int y = r.bottom - bottomMargin - 1; y >= r.top; y -= 2 * gs, ++n)
    {
        CString label;
        label.Format(L"%u", unsigned(std::min(2.0 * n * inc, 2147483647.0)));
        dc.TextOut(r.left + labelWidth / 2 - maxSize.cx / 2, y - gs / 3, label);
        dc.MoveTo(r.left + labelWidth + 6, y);
        dc.LineTo(r.left + labelWidth, y);
    }
    const int x0 = r.left + labelWidth + 6;
    const int columns = x0 < r.right ? (r.right - x0 + interval - 1) / interval : 0;
    const CSize timeSize = dc.GetTextExtent(L"00:00:00");
    const long long now = static_cast<long long>(std::time(nullptr));
    bool anyLabel = false, anyTick = false;
    int lastLabel = 0, lastTick = 0;
    int k = 0;
    for (int x = x0 + interval; x < r.right; x += interval, ++k)
    {
        if (!anyLabel || x - lastLabel >= 200)
        {
            const CString text = GenXAxisTextAt(now, columns, k);
            const CSize size = dc.GetTextExtent(text);
            dc.TextOut(x - size.cx / 2, r.bottom - bottomMargin + timeSize.cy / 3, text);
            lastLabel = x;
            anyLabel = true;
        }
        if (!anyTick || x - lastTick >= 20)
        {
            dc.MoveTo(x, r.bottom - bottomMargin);
            dc.LineTo(x, r.bottom - bottomMargin + 4);
            lastTick = x;
            anyTick = true;
        }
    }
    dc.MoveTo(x0, r.top + gs);
    dc.LineTo(x0, r.bottom - bottomMargin);
    dc.SelectObject(oldPen);
    dc.SetTextColor(oldText);
    r.left += labelWidth + 6;
    r.bottom -= bottomMargin;
}

CString CMyPushChartShape::DoGenXAxisText(const int& nColumns, const int& nIndex, const double&,
                                          const CString&)
{
    return GenXAxisTextAt(static_cast<long long>(std::time(nullptr)), nColumns, nIndex);
}

CString CMyPushChartShape::GenXAxisTextAt(long long tNow, int nColumns, int nIndex) const
{
    const long long steps = static_cast<long long>(nColumns) - nIndex - 1;
    const long long span = m_nInterval >= 40 ? steps * m_nTimerRate : MulDivRounded(steps, m_nTimerRate, 100);
    if (span > kMaxSpanSeconds || span < -kMaxSpanSeconds)
        return L"Invalid DateTime";
    const time_t t = time_t(tNow - span);
    struct tm local = {};
    if (!localtime_r(&t, &local))
        return L"Invalid DateTime";
    char buf[32];
    if (std::strftime(buf, sizeof buf, "%H:%M:%S", &local) == 0)
        return L"Invalid DateTime";
    return CString::FromUtf8(buf);
}
