// The trend engine of the real-time chart window. CRealTimeDraw keeps the layout, colours and
// drawing primitives; CRealTime adds the pen table, one sample buffer per pen and a ring of time
// ticks. Sample slot i belongs to ring tick i, so a pen's value and the time it was taken share an
// index. The engine draws into any DC; the window decides when.
#pragma once

#include "mfc/CString.h"
#include "mfc/Geometry.h"
#include "win32/WinTypes.h"

#include <string>
#include <vector>

class CDC;

// An owned wide string with its length.
class CStr
{
public:
    CStr() = default;
    CStr(const wchar_t* s) { Assign(s); }
    CStr& operator=(const wchar_t* s)
    {
        Assign(s);
        return *this;
    }
    const wchar_t* GetString() const { return m_str.c_str(); }
    int GetLength() const { return int(m_str.size()); }
    // "%16.16f" with a trailing "." removed.
    void SetNumber(double value);
    bool operator!=(const CStr& other) const { return m_str != other.m_str; }
    bool operator==(const CStr& other) const { return m_str == other.m_str; }
    // "?" matches one character, "*" any run.
    bool Match(const wchar_t* pattern) const;

private:
    void Assign(const wchar_t* s) { m_str = s ? s : L""; }
    std::wstring m_str;
};

class CRealTimeDraw
{
public:
    CRealTimeDraw();
    virtual ~CRealTimeDraw() = default;

    // FALSE (old range kept) when yMin is not below yMax.
    bool SetRange(double xMin, double yMin, double xMax, double yMax);
    double GetXMin() const { return m_dXMin; }
    double GetXMax() const { return m_dXMax; }
    double GetYMin() const { return m_dYMin; }
    double GetYMax() const { return m_dYMax; }
    // Lays the plot out in a rectangle.
    void Layout(const CRect& rc);
    const CRect& GetPlotRect() const { return m_rcPlot; }
    const CRect& GetDataRect() const { return m_rcData; }
    COLORREF GetBackColor() const { return m_crBack; }
    void SetBackColor(COLORREF cr) { m_crBack = cr; }

    // The number text of a value with a precision.
    static CString NumberText(float x, int nPrecision);
    // Writes text anchored at (x, y): nHAlign 0 left, 1 centre, 2 right; nVAlign 0 top, 1
    // centre, 2 bottom; turned by an angle in degrees.
    static void DrawAlignedText(CDC* pDC, int x, int y, const CString& text, int nHAlign, int nVAlign,
                                double dAngle);

protected:
    double m_dXMin = 0, m_dXMax = 1, m_dYMin = 0, m_dYMax = 100;
    double m_fLeft = 0.0, m_fTop = 0.0, m_fRight = 1.0, m_fBottom = 1.0;
    CRect m_rcPlot;
    CRect m_rcData;
    double m_dMsPerPixel = 1.0;
    double m_dUnitsPerPixel = 1.0;
    int m_nFontSize = 0;
    COLORREF m_crBack = RGB(255, 255, 255);
    COLORREF m_crGrid = RGB(192, 192, 192);
    COLORREF m_crFrame = 0;
    COLORREF m_crAxisLabel = RGB(0, 0, 255);
    COLORREF m_crTitle = RGB(255, 0, 0);
    int m_nXGrids = 10, m_nYGrids = 10;
    int m_nXTicks = 50, m_nYTicks = 50;
    int m_nXPrecision = 0, m_nYPrecision = 0;
    BOOL m_bLegendBox = TRUE;
    BOOL m_bLegendRows = TRUE;
    CString m_strFace = L"Arial";
    COLORREF m_aPenColors[16];
};

class CRealTime : public CRealTimeDraw
{
public:
    struct Sample
    {
        bool bSet = false;
        double dValue = 0.0;
    };
    struct Pen
    {
        COLORREF crColor = 0;
        int nStyle = 0;
        int nWidth = 0;
        std::vector<Sample> buffer;
        CStr strName, strText2, strText3;
        double dDisplayLow = 0.0, dDisplayHigh = 100.0;
        double dMin = 0.0, dMax = 100.0;
    };

    CRealTime();

    // Time bookkeeping; FALSE when a backward span is refused (the person is asked first).
    bool InitialSetting(double dScale, DWORD dwStart, int nSpan, int nTotal, int nGridDivisor, bool bForward);
    int GetCapacity() const { return m_nCapacity; }
    int GetVisiblePoints() const { return m_nVisible; }
    int GetPages() const { return m_nPages; }
    int GetTickCount() const { return m_nCount; }
    bool IsFull() const { return m_nCapacity > 0 && m_nCount >= m_nCapacity; }
    DWORD GetTick(int index) const;

    bool AddLine(COLORREF cr, double dMin, double dMax, const wchar_t* name, const wchar_t* t2,
                 const wchar_t* t3, double dLow, double dHigh, int nStyle, int nWidth);
    // At 0 to the count, else FALSE.
    bool InsertLine(int nAt, COLORREF cr, double dMin, double dMax, const wchar_t* name, const wchar_t* t2,
                    const wchar_t* t3, double dLow, double dHigh, int nStyle, int nWidth);
    int GetLineCount() const { return int(m_pens.size()); }
    const Pen* GetLine(int i) const { return (i >= 0 && i < GetLineCount()) ? &m_pens[size_t(i)] : nullptr; }
    // Stores the value for the next tick; an unknown line is ignored.
    void SetLineData(int nLine, double dValue);
    void AddTimeTick(DWORD dwTick);
    // The ring index of the nPos-th point on show (-1 when there is none).
    int RingIndexAt(int nPos) const;
    // The sample of a line at a ring index (null when none).
    const Sample* SampleAt(int nLine, int nRingIndex) const;
    void SetCursorTime(double dSeconds) { m_dCursorTime = dSeconds; }
    void SetTotalLapseTime(double dSeconds) { m_dLapseTime = dSeconds; }
    double GetCursorTime() const { return m_dCursorTime; }
    double GetTotalLapseTime() const { return m_dLapseTime; }
    void SetCursorPos(int nPos) { m_nCursorPos = nPos; }
    int GetCursorPos() const { return m_nCursorPos; }
    // The cursor's x in the data area.
    int CursorX() const;

    // Draws everything into the DC over rc; on the screen through an off-screen picture.
    void Draw(CDC* pDC, const CRect& rc, const CString& xTitle, const CString& yTitle);

private:
    int FirstShownIndex(int& nShown) const;
    void DrawContent(CDC* pDC, const CString& xTitle, const CString& yTitle);
    void DrawTimeAxis(CDC* pDC);
    void DrawValueAxes(CDC* pDC);
    void DrawGrid(CDC* pDC);
    void DrawLines(CDC* pDC);
    void DrawCursor(CDC* pDC);

    std::vector<Pen> m_pens;
    std::vector<DWORD> m_ticks;
    int m_nCount = 0;
    int m_nWrap = 0;
    int m_nFirst = 0, m_nLast = 0;
    double m_dScale = 1.0;
    DWORD m_dwStart = 0;
    int m_nSpan = 30, m_nTotal = 120, m_nDivisor = 6;
    bool m_bForward = true;
    int m_nCapacity = 0;
    int m_nPages = 0;
    int m_nVisible = 0;
    double m_dCursorTime = 0.0, m_dLapseTime = 0.0;
    int m_nCursorPos = 0;
    int m_nCursorWidth = 2;
    COLORREF m_crCursor = RGB(255, 0, 0);
    std::vector<CPoint> m_points;
};
