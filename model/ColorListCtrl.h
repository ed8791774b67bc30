// CColorListCtrl: an owner-drawn report list whose cells each carry a background and a text colour
// index (see ColorFromIndex). Each row owns its CMyLParam, freed with the row.
#pragma once

#include "mfc/ListCtrl.h"

#include <vector>

class CStringArray;
class CByteArray;

struct CMyLParam
{
    explicit CMyLParam(int nColumns)
        : m_nColumns(nColumns), m_aBack(size_t(nColumns), 0), m_aText(size_t(nColumns), 1)
    {
    }
    int m_nColumns;
    std::vector<int> m_aBack;
    std::vector<int> m_aText;
};

class CColorListCtrl : public CListCtrl
{
    DECLARE_DYNAMIC(CColorListCtrl)
public:
    explicit CColorListCtrl(int nColumns = 3);
    ~CColorListCtrl() override;

    // 0, or 1 (an argument missing), 2 (name count), 3 (width count), 4 (widths not adding to 100).
    int SetColumns(const CStringArray* pNames, const CByteArray* pWidths);
    // The row's index, or -1 (texts missing or not one per column, or the insertion failed).
    int InsertRow(const CStringArray* pTexts, int nIndex);
    bool SetCellBackColor(int nColorIndex, int nRow, int nColumn);
    bool SetCellTextColor(int nColorIndex, int nRow, int nColumn);
    BOOL DeleteRow(int nRow);
    void DeleteAllRows();
    CMyLParam* GetRowParam(int nRow) const;
    // A row's bounds, or a cell inside it; shrunk by 1 on each side for the text area.
    BOOL GetRowRect(int nRow, CRect& rc, BOOL bTextArea) const;
    BOOL GetCellRect(int nRow, int nColumn, CRect& rc, BOOL bTextArea) const;
    BOOL IsPainted() const { return m_bPainted; }
    int GetColumnTotal() const { return m_nColumnCount; }

    static COLORREF ColorFromIndex(int nIndex);
    // The drawing mode of a row: 1 focused, 2 highlighted, 3 normal, 4 highlighted without focus.
    static int DrawMode(BOOL bDisabled, BOOL bGrayed, BOOL bListFocus, BOOL bRowFocus, BOOL bHighlighted);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The dotted column lines.
    void OnDrawAfterItems(CDC* pDC) override;
    void OnDestroy() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnKillFocus(CWnd* pNewWnd) override;

private:
    bool SetCellColor(bool bBack, int nColorIndex, int nRow, int nColumn);
    void RedrawFocusAndSelection();

    int m_nColumnCount;
    int m_bColumnLines = 1;
    int m_bDottedFocus = 0;
    int m_bPainted = 0;
};
