// CExtListCtrl and CExtHeaderCtrl: the editor's owner-drawn report list and its header. The list
// draws each cell on the column's or the cell's own background colour (the cell's wins) and places
// the text by the column's alignment; the header paints its columns with a two-part gradient and
// can be made taller by a factor.
#pragma once

#include "mfc/Collections.h"
#include "mfc/HeaderCtrl.h"
#include "mfc/ListCtrl.h"

#include <vector>

class CExtHeaderCtrl : public CHeaderCtrl
{
    DECLARE_DYNAMIC(CExtHeaderCtrl)
public:
    CExtHeaderCtrl() = default;

    int OnLayout(int nDefaultHeight) override;
    void OnPaint(CDC* pDC) override;

    // The gradient of a header cell of the given height, top to bottom, as painted.
    static COLORREF GradientAt(int y, int nHeight);

    CStringArray m_strCaptions; // one caption per column
    CString m_strAlign;         // one code per column: '0' left, '1' centre, '2' right
    int m_nBkRed = 171;
    int m_nBkGreen = 199;
    int m_nBkBlue = 235;
    int m_nGradientStep = 8;
    float m_fHeightFactor = 1.0f;
    int m_nFontHeight = 15;
    int m_nReserved1 = 0;
    int m_nReserved2 = 0;
    COLORREF m_crText = 0;
};

class CExtListCtrl : public CListCtrl
{
    DECLARE_DYNAMIC(CExtListCtrl)
public:
    CExtListCtrl() = default;
    ~CExtListCtrl() override;

    using CListCtrl::Create;
    // Both make the list owner-drawn and give it the gradient header.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    void SetHeaderBkColor(int nRed, int nGreen, int nBlue, int nStep);
    void SetHeaderHeight(float fFactor);
    void SetHeaderTextColor(COLORREF cr) { m_header.m_crText = cr; }
    // A later colour for the same column or cell replaces the earlier one.
    void SetColBkColor(int nCol, COLORREF cr);
    void SetCellBkColor(int nCol, int nRow, COLORREF cr);
    void SetColTextColor(int nCol, COLORREF cr);
    void SetCellTextColor(int nCol, int nRow, COLORREF cr);
    BOOL SetTextColor(COLORREF cr);
    void SetFontSize(int nHeight, int nWidth);
    // Appends the heading and its alignment code to the header, then inserts the column.
    int InsertColumn(int nCol, LPCWSTR lpszHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    void SetRowHeight(int nHeight);
    int GetRowHeight() const { return m_nRowHeight; }

    // The recorded colours of a column or a cell; FALSE when none is recorded.
    BOOL GetColBkColor(int nCol, COLORREF& cr) const;
    BOOL GetCellBkColor(int nCol, int nRow, COLORREF& cr) const;
    INT_PTR GetColBkCount() const { return INT_PTR(m_colBk.size()); }
    INT_PTR GetCellBkCount() const { return INT_PTR(m_cellBk.size()); }
    CExtHeaderCtrl& GetExtHeader() { return m_header; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

private:
    struct CColColour
    {
        int nCol;
        COLORREF cr;
    };
    struct CCellColour
    {
        int nCol;
        int nRow;
        COLORREF cr;
    };
    // Draws the row's small image at the cell's left; the width it takes (0 without one).
    int DrawRowImage(CDC* pDC, int nRow, const CRect& rcCell);
    static void Record(std::vector<CColColour>& list, int nCol, COLORREF cr);
    static void Record(std::vector<CCellColour>& list, int nCol, int nRow, COLORREF cr);
    void TakeOver();

    CExtHeaderCtrl m_header;
    int m_nRowHeight = 0;
    std::vector<CColColour> m_colBk;
    std::vector<CCellColour> m_cellBk;
    std::vector<CColColour> m_colText;
    std::vector<CCellColour> m_cellText;
    COLORREF m_crText = 0;
    int m_nFontHeight = 12;
    int m_nFontWidth = 0;
};
