// CMyPushChartShape (type 615): a strip chart whose lines keep queues of integer samples that
// callers push; it draws the newest samples that fit its width, scrolls a vertical grid with them
// and labels the axes with values and clock times. Lines belong to the chart and are neither
// stored nor copied.
#pragma once

#include "figkit/FORectShape.h"

#include <list>
#include <memory>
#include <vector>

class CStringArray;

struct FOP_PUSHLINE
{
    COLORREF crColor = RGB(0, 255, 0);
    UINT nLineId = 0;
    int bShowAsBar = 0;
    int nPenWidth = 1;
    // Oldest at the front.
    std::list<int> samples;
};

class CMyPushChartShape : public CFORectShape
{
    DECLARE_SERIAL(CMyPushChartShape)
public:
    CMyPushChartShape();
    CMyPushChartShape(const CMyPushChartShape& src);
    ~CMyPushChartShape() override;
    // Every stored member but the lines; the target is left with none.
    CMyPushChartShape& operator=(const CMyPushChartShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // Base record, then ShowLabels, ShowGrid, Capacity, MaxPeek, MinPeek, GridSize, Offset,
    // IncreaseValue (double), Reserved, TimerRate. Loading deletes the lines first.
    void Serialize(CArchive& ar) override;
    void GeometryUpdated(CFOArea* pArea) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint point) override;
    void DoAddCustProp() override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;

    COLORREF GetGridColor() const { return m_crGrid; }
    void SetGridColor(COLORREF cr) { m_crGrid = cr; }
    COLORREF GetBGColor() const { return m_crBG; }
    void SetBGColor(COLORREF cr) { m_crBG = cr; }
    WORD GetGridSize() const { return WORD(m_nGridSize); }
    // Below 3 becomes 3.
    void SetGridSize(WORD nSize) { m_nGridSize = nSize < 3 ? 3 : nSize; }
    int GetMaxPeek() const { return m_nMaxPeek; }
    void SetMaxPeek(int n) { m_nMaxPeek = n; }
    int GetMinPeek() const { return m_nMinPeek; }
    // Also sets Offset (-min for a negative min, else 0).
    void SetMinPeek(int n);
    void SetPeekRange(int nMin, int nMax);
    CString GetLabelForMax() const { return m_strLabelMax; }
    void SetLabelForMax(const wchar_t* s) { m_strLabelMax = s ? s : L""; }
    CString GetLabelForMin() const { return m_strLabelMin; }
    void SetLabelForMin(const wchar_t* s) { m_strLabelMin = s ? s : L""; }
    WORD GetInterval() const { return m_nInterval; }
    // Also makes the next paint recompute Capacity.
    void SetInterval(WORD n);
    int GetTimerRate() const { return m_nTimerRate; }
    void SetTimerRate(const int& n) { m_nTimerRate = n; }
    double GetIncreaseValue() const { return m_dIncrease; }
    void SetIncreaseValue(const double& d) { m_dIncrease = d; }
    void ShowGrid(BOOL b) { m_bShowGrid = b; }
    void ShowLabels(BOOL b) { m_bShowLabels = b; }
    BOOL IsGridShown() const { return m_bShowGrid; }
    BOOL AreLabelsShown() const { return m_bShowLabels; }
    int GetCapacity() const { return m_nCapacity; }
    int GetGridOffset() const { return m_nGridOffset; }
    int GetOffset() const { return m_nOffset; }
    int GetReserved() const { return m_nReserved; }

    BOOL AddLine(UINT nId, COLORREF crColor, UINT nPenWidth);
    // Deletes every line with the id.
    void RemoveLine(UINT nId);
    // The last added line with the id, or null.
    FOP_PUSHLINE* internal_LineFromID(UINT nId) const;
    int GetLineCount() const { return int(m_lines.size()); }
    const FOP_PUSHLINE* GetLineAt(int i) const;
    BOOL SetLineColor(COLORREF cr, UINT nId);
    COLORREF GetLineColor(UINT nId) const;
    void ShowAsBar(UINT nId, BOOL bBar);
    // Clamps to [MinPeek, MaxPeek] and queues (clamped - MinPeek) on the line; FALSE for no line.
    BOOL Push(int nValue, UINT nId);
    // Scrolls the grid by the samples that no longer fit, then repaints.
    void Update();

    // Lines from a point-list text: an entry with a definition of five fields adds line i (its
    // position) in its colour, pen width 2; shorter ones are skipped. The widest range of them
    // becomes the peek range when min < max. Null text: one white line 0. FALSE for an empty list.
    bool InitChart(const wchar_t* text);
    // One sample per line from the item set in the item data, else the current value to line 0
    // when a tag is bound (FALSE without one).
    bool UpdateChartData();
    // Value i (truncated) to line i.
    bool UpdateMultiLineData(int nCount, const wchar_t* const* names, double* values);

    virtual void DoPaint(CDC* pDC);
    virtual void internal_DrawGrid(CDC& dc, CRect& rc);
    virtual void internal_DrawLines(CDC& dc, CRect& rc);
    virtual void internal_DrawBar(CDC& dc, CRect& rc, FOP_PUSHLINE& line);
    virtual void internal_DrawMinMax(CDC& dc, CRect& rc);
    // The clock time a time label shows: now minus the columns' time span, "%H:%M:%S"; a span out
    // of the date range gives "Invalid DateTime".
    virtual CString DoGenXAxisText(const int& nColumns, const int& nIndex, const double& dSpan,
                                   const CString& strText);
    // The same for a given time now (seconds of the C clock).
    CString GenXAxisTextAt(long long tNow, int nColumns, int nIndex) const;

protected:
    // What the drawing uses of values that could hang or divide it.
    int SafeGridSize() const { return m_nGridSize < 3 ? 3 : m_nGridSize > 10000 ? 10000 : m_nGridSize; }
    int SafeInterval() const { return m_nInterval < 1 ? 1 : m_nInterval; }
    double SafeIncrease() const;
    void DeleteLines() { m_lines.clear(); }

private:
    void CopyMembers(const CMyPushChartShape& src);

    COLORREF m_crBG = 0;
    COLORREF m_crGrid = RGB(0, 150, 0);
    CString m_strLabelMax = L"100";
    CString m_strLabelMin = L"0";
    int m_bShowLabels = 1;
    int m_bShowGrid = 1;
    int m_nGridOffset = 0;
    int m_nCapacity = -1;
    int m_nMaxPeek = 100;
    int m_nMinPeek = 0;
    int m_nGridSize = 20;
    int m_nOffset = 0;
    double m_dIncrease = 50.0;
    int m_nReserved = 1;
    int m_nTimerRate = 2;
    WORD m_nInterval = 80;
    std::vector<std::unique_ptr<FOP_PUSHLINE>> m_lines;
};
