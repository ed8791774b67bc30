#include "model/FORealTimeWnd.h"

#include "mfc/Dc.h"
#include "mfc/ModalHook.h"
#include "model/ChartPointList.h"

#include <QImage>

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CRTSlider, CFOBaseSliderCtrl)
IMPLEMENT_DYNAMIC(CFORealTimeWnd, CWnd)

namespace
{
const UINT kGetDlgCode = 0x0087;
const LRESULT kArrowsTabChars = 131;
} // namespace

void CRTSlider::OnLButtonUp(UINT nFlags, CPoint point)
{
    CFOBaseSliderCtrl::OnLButtonUp(nFlags, point);
    const int pos = GetPos();
    if (m_pOwner && pos != m_pOwner->GetSliderPos())
        m_pOwner->MoveCursor(pos);
}

CFORealTimeWnd::CFORealTimeWnd() : m_random(0.1f), m_slider(this) {}

CFORealTimeWnd::~CFORealTimeWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

int CFORealTimeWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID)
{
    return Create(dwStyle, rect, pParent, nID, nullptr, 0.0, 100.0, RGB(255, 255, 255));
}

int CFORealTimeWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID, const wchar_t* text,
                           double dMin, double dMax, COLORREF crBack)
{
    if (!CWnd::Create(nullptr, L"DropColorPaletteWnd", dwStyle, rect, pParent, nID))
        return 0;
    if (!m_engine.SetRange(0.0, dMin, 1.0, dMax))
    {
        m_bFailed = TRUE;
        AfxMessageBox(L"Setting Range failed");
        return 0;
    }
    m_engine.SetBackColor(crBack);
    if (!m_engine.InitialSetting(m_dScale, m_dwStart, m_nSpan, m_nTotal, 6, true))
    {
        m_bFailed = TRUE;
        return 0;
    }
    LayoutPlot();
    if (text)
        InitChart(text);
    const CRect data = m_engine.GetDataRect();
    const CRect slider(data.left, PlotRect().bottom, data.right, PlotRect().bottom + SLIDER_HEIGHT);
    m_slider.Create(WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS, slider, this, SLIDER_ID);
    m_slider.SetRange(0, int(m_nSpan * m_dScale));
    m_slider.SendMessage(TBM_SETPAGESIZE, 0, 1);
    m_slider.SendMessage(TBM_SETPOS, TRUE, 0);
    m_slider.EnableWindow(FALSE);
    UpdateWindow();
    return 1;
}

void CFORealTimeWnd::SetRangeAndBackground(double dMin, double dMax, COLORREF crBack)
{
    m_engine.SetRange(m_engine.GetXMin(), dMin, m_engine.GetXMax(), dMax);
    m_engine.SetBackColor(crBack);
    UpdateWindow();
}

CRect CFORealTimeWnd::PlotRect() const
{
    CRect client;
    GetClientRect(&client);
    client.bottom = std::max(client.top, client.bottom - SLIDER_HEIGHT);
    return client;
}

void CFORealTimeWnd::LayoutPlot()
{
    m_engine.Layout(PlotRect());
}

bool CFORealTimeWnd::InitChart(const wchar_t* text)
{
    if (!text)
        return true;
    CArray<XVK_CHART_ENTRY> entries;
    XVKGetChartPointList(entries, text);
    if (entries.GetSize() == 0)
        return false;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        XVK_CHART_LINE def;
        if (entries[i].strDef.IsEmpty() || !XVKParseChartLine(entries[i].strDef, def))
            continue;
        // A skipped entry before this one keeps its place, so line i stays entry i.
        while (m_engine.GetLineCount() < int(i))
            m_engine.AddLine(0, 0.0, 0.0, L"", L"N/A", L"N/A", 0.0, 100.0, 0, -1);
        m_engine.InsertLine(int(i), def.crColor, def.dMin, def.dMax, entries[i].strName.GetString(), L"N/A",
                            L"N/A", 0.0, 100.0, 0, 0);
    }
    return true;
}

void CFORealTimeWnd::UpdateByName(const CString& name, double value, const wchar_t* text)
{
    CArray<XVK_CHART_ENTRY> entries;
    XVKGetChartPointList(entries, text ? text : L"");
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        XVK_CHART_LINE def;
        if (XVKParseChartLine(entries[i].strDef, def) && def.strTag == name)
            m_engine.SetLineData(int(i), value);
    }
    Step();
}

bool CFORealTimeWnd::UpdateMultiLine(int nCount, const double* values)
{
    for (int i = 0; values && i < nCount; ++i)
        m_engine.SetLineData(i, values[i]);
    Step();
    return true;
}

void CFORealTimeWnd::FeedRandom()
{
    for (int i = 0; i < m_engine.GetLineCount(); ++i)
    {
        const CRealTime::Pen* pen = m_engine.GetLine(i);
        m_engine.SetLineData(i, pen->dMin + (pen->dMax - pen->dMin) * double(m_random.randm()));
    }
    Step();
}

double CFORealTimeWnd::ToDisplay(const CRealTime::Pen& pen, double value)
{
    if (!(pen.dMax != pen.dMin))
        return pen.dDisplayLow;
    return pen.dDisplayLow +
           (value - pen.dMin) * (pen.dDisplayHigh - pen.dDisplayLow) / (pen.dMax - pen.dMin);
}

void CFORealTimeWnd::UpdateCursor()
{
    m_engine.SetTotalLapseTime((double(m_dwClock) - m_dwStart) / 1000.0);
    const int idx = m_engine.RingIndexAt(m_nSliderPos);
    m_dwCursorClock = idx >= 0 ? m_engine.GetTick(idx) : 0;
    m_engine.SetCursorTime((double(m_dwCursorClock) - m_dwStart) / 1000.0);
    m_engine.SetCursorPos(m_nSliderPos);
    m_values.assign(size_t(m_engine.GetLineCount()), CString());
    for (int i = 0; i < m_engine.GetLineCount(); ++i)
    {
        const CRealTime::Sample* s = m_engine.SampleAt(i, idx);
        m_values[size_t(i)].Format(L"%.4f", ToDisplay(*m_engine.GetLine(i), s ? s->dValue : 0.0));
    }
}

void CFORealTimeWnd::Step()
{
    if (m_bFailed)
        return;
    m_engine.AddTimeTick(m_dwClock);
    m_dwClock += DWORD(1000.0 / m_dScale + 0.5);
    if (m_bFilling)
    {
        const int points = int(m_nSpan * m_dScale);
        m_nSliderPos = std::min(m_nSliderPos + 1, points);
        if (m_slider.GetSafeHwnd())
            m_slider.SetPos(m_nSliderPos);
        if (m_nSliderPos >= points)
        {
            m_bFilling = FALSE;
            if (m_slider.GetSafeHwnd())
                m_slider.EnableWindow(TRUE);
        }
    }
    UpdateCursor();
    if (GetSafeHwnd())
    {
        const CRect data = m_engine.GetDataRect();
        InvalidateRect(&data, FALSE);
    }
}

void CFORealTimeWnd::MoveCursor(int nPos)
{
    m_nSliderPos = nPos;
    UpdateCursor();
    if (GetSafeHwnd())
    {
        const CRect data = m_engine.GetDataRect();
        InvalidateRect(&data, FALSE);
    }
}

void CFORealTimeWnd::OnPaint()
{
    CPaintDC dc(this);
    if (m_bFailed)
        return;
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    QImage image(client.Width(), client.Height(), QImage::Format_RGB32);
    {
        CImageDC mem(image);
        mem.FillSolidRect(&client, m_engine.GetBackColor());
        m_engine.Draw(&mem, PlotRect(), L"Time", L"Put Y Axis string here");
        dc.BitBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
    }
}

void CFORealTimeWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_bFailed)
        return;
    LayoutPlot();
    if (m_slider.GetSafeHwnd())
    {
        const CRect data = m_engine.GetDataRect();
        const CRect slider(data.left, PlotRect().bottom, data.right, PlotRect().bottom + SLIDER_HEIGHT);
        m_slider.MoveWindow(&slider);
    }
}

void CFORealTimeWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == FEED_TIMER)
        FeedRandom();
    else
        CWnd::OnTimer(nIDEvent);
}

void CFORealTimeWnd::OnDestroy()
{
    if (!m_bFailed)
        KillTimer(FEED_TIMER);
    CWnd::OnDestroy();
}

void CFORealTimeWnd::OnLButtonDown(UINT, CPoint)
{
    SetFocus();
}

LRESULT CFORealTimeWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kGetDlgCode)
        return kArrowsTabChars;
    if (message == WM_ERASEBKGND && !m_bFailed)
        return TRUE;
    return CWnd::WindowProc(message, wParam, lParam);
}
