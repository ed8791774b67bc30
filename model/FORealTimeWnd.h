// CFORealTimeWnd: the live trend window of a real-time chart shape. It owns the trend engine, a
// position slider under the plot and a random feed; every step records one time tick at the
// sample clock (1000 ms apart at scale 1) and moves the cursor with the newest sample until the
// first span is full, after which the slider is enabled and the person moves the cursor.
#pragma once

#include "figkit/FOBaseSliderCtrl.h"
#include "model/RealTime.h"
#include "model/RndGen.h"

#include <vector>

class CFORealTimeWnd;

// The position slider: a release of the left button moves the window's cursor to it.
class CRTSlider : public CFOBaseSliderCtrl
{
    DECLARE_DYNAMIC(CRTSlider)
public:
    explicit CRTSlider(CFORealTimeWnd* pOwner = nullptr) : m_pOwner(pOwner) {}
    void OnLButtonUp(UINT nFlags, CPoint point) override;

private:
    CFORealTimeWnd* m_pOwner;
};

class CFORealTimeWnd : public CWnd
{
    DECLARE_DYNAMIC(CFORealTimeWnd)
public:
    enum
    {
        SLIDER_ID = 12001,
        SLIDER_HEIGHT = 24,
        FEED_TIMER = 1,
    };

    CFORealTimeWnd();
    ~CFORealTimeWnd() override;

    using CWnd::Create;
    // 1 when the window is set up; 0 when the range is refused ("Setting Range failed") or the
    // engine's setting fails, leaving a window that neither paints nor erases.
    int Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID);
    int Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID, const wchar_t* text, double dMin,
               double dMax, COLORREF crBack);
    void SetRangeAndBackground(double dMin, double dMax, COLORREF crBack);

    // Pens from a point-list text (entry i is line i; short entries are skipped, keeping the ids
    // of the others). Null: TRUE, nothing changed; an empty list: FALSE.
    bool InitChart(const wchar_t* text);
    // The value to each line whose tag is the name, then one step.
    void UpdateByName(const CString& name, double value, const wchar_t* text);
    // Value i to line i, then one step.
    bool UpdateMultiLine(int nCount, const double* values);
    // The random value of each line, then one step (the feed timer's work).
    void FeedRandom();
    void Step();
    // Moves the cursor to a slider position.
    void MoveCursor(int nPos);

    CRealTime& GetEngine() { return m_engine; }
    CRTSlider& GetSlider() { return m_slider; }
    BOOL IsSetupFailed() const { return m_bFailed; }
    BOOL IsFilling() const { return m_bFilling; }
    int GetSliderPos() const { return m_nSliderPos; }
    DWORD GetClock() const { return m_dwClock; }
    DWORD GetCursorClock() const { return m_dwCursorClock; }
    // "%.4f" of each line's display value at the cursor.
    const std::vector<CString>& GetValueTexts() const { return m_values; }
    // A line's value at the cursor on its display range (the display low for equal bounds).
    static double ToDisplay(const CRealTime::Pen& pen, double value);

    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnDestroy() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LayoutPlot();
    void UpdateCursor();
    CRect PlotRect() const;

    CRealTime m_engine;
    RndGen m_random;
    CRTSlider m_slider;
    double m_dScale = 1.0;
    DWORD m_dwStart = 0;
    int m_nSpan = 30;
    int m_nTotal = 120;
    DWORD m_dwClock = 0;
    DWORD m_dwCursorClock = 0;
    BOOL m_bFailed = FALSE;
    BOOL m_bFilling = TRUE;
    int m_nSliderPos = 0;
    std::vector<CString> m_values;
};
