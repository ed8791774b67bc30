// The working grid over the drawing core: the column table and the row count, the per-column
// in-place editors, the current cell and selection moved by keys and mouse, column resizing,
// scrolling, and the five messages that tell the parent window about changes.
#pragma once

#include "symbols/FOExtGridCore.h"

#include "mfc/Collections.h"

// Messages to the grid window's parent.
#define FOXGN_CURRENTCELL 0x785
#define FOXGN_COLUMNRESIZED 0x786
#define FOXGN_CELLCHANGE 0x787
#define FOXGN_ROWCOUNT 0x788
#define FOXGN_SELECTION 0x78A

// One data column.
struct ColInfo
{
    CString strTitle;
    DWORD dwHeaderFormat = 0;
    DWORD dwCellFormat = 0;
    int nFrameType = 0;
    int nFrameState = 0;
    int nImageKind = 0;
    int nImageWidth = 0;
    int nImageHeight = 0;
    BYTE nEditorKind = 0;
    DWORD dwEditorStyle = 0;
    int nCtrlId = 0;
    CFOXCellCtrl* pEditor = nullptr;
    int nWidth = 0;
};

// What InsertColumn and AddColumn take.
struct FOXColumnDesc
{
    CString strTitle;
    DWORD dwCellFormat = DT_LEFT | DT_VCENTER | DT_NOPREFIX;
    DWORD dwHeaderFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    int nFrameType = 0;
    int nFrameState = 0;
    int nCtrlId = 0;
};

class CFOExtGrid : public CFOExtGridCore
{
public:
    CFOExtGrid() = default;
    ~CFOExtGrid() override;

    int GetRowCount() const override { return m_nRowCount; }
    int GetColumnCount(int nRow) const override
    {
        (void)nRow;
        return int(m_columns.GetSize());
    }
    int GetColumnWidth(int nCol, int nRow) const override;
    void SetColumnWidth(int nCol, int nRow, int nWidth) override;
    CFOXCellCtrl* CreateCellCtrl(int nCol, int nRow, DWORD dwStyle, UINT nID) override;
    void SetCellCtrl(int nCol, int nRow, CFOXCellCtrl* pCtrl) override;
    CFOXCellCtrl* GetCellCtrl(int nCol, int nRow) const override;
    DWORD GetEditorStyle(int nCol, int nRow) const override;
    BOOL NotifyCellChange(int nCol, int nRow) override;
    void OnCellChange(int nCol, int nRow) override { (void)nCol, (void)nRow; }
    BOOL HasCellImage(int nCol, int nRow) const override;
    int GetCellImageType(int nCol, int nRow) const override;
    BOOL GetCellImageSize(int nCol, int nRow, CSize& size) const override;
    FOXCellFormat GetCellFormat(int nCol, int nRow) const override;
    FOXCellValue GetCellText(int nCol, int nRow) const override;
    FOXCellValue GetColumnTitle(int nCol, int nRow) const override;
    // Slots 28 to 38.
    virtual BOOL DestroyCellCtrl(int nCol);
    virtual int GetFixedRowCount() const { return m_nFixedRows; }
    virtual int GetFixedColumnCount() const { return m_nFixedCols; }
    virtual void OnCornerClick();
    virtual void OnHeaderClick(int nCol, int nRow);
    virtual void OnHeaderClickUp(int nCol, int nRow) { (void)nCol, (void)nRow; }
    virtual void OnRowHeaderClick(int nCol, int nRow);
    virtual void OnRowHeaderClickUp(int nCol, int nRow) { (void)nCol, (void)nRow; }
    virtual void OnHeaderDblClick(int nCol, int nRow) { OnHeaderClick(nCol, nRow); }
    virtual void OnRowHeaderDblClick(int nCol, int nRow) { OnRowHeaderClick(nCol, nRow); }
    virtual int GetColumnCtrlId(int nCol) const;

    int InsertColumn(int nPos, int nWidth, FOXColumnDesc desc);
    int AddColumn(int nWidth, const FOXColumnDesc& desc);
    BOOL SetColumnEditor(int nCol, BYTE nKind, DWORD dwStyle, int nId);
    BOOL SetColumnImage(int nCol, int nWidth, int nHeight, int nKind);
    void SetRowCount(int nCount, BOOL bNotify);
    void RemoveAllColumns();
    const ColInfo& GetColumn(int nCol) const;

    // Current cell, selection, editing and keys (absolute coordinates).
    BOOL SetCurrentCell(int nCol, int nRow);
    BOOL ExtendSelection(int nCol, int nRow);
    BOOL SetSelection(int nFirstCol, int nFirstRow, int nLastCol, int nLastRow);
    BOOL EndCellEdit(BOOL bForce);
    void ShowCellCtrl(int nCol, int nRow);
    void ScrollTo(int x, int y);
    BOOL OnNavigateKey(UINT nKey);
    // The editor of the current cell, or null.
    CFOXCellCtrl* GetCurrentCtrl() const;
    void HideCurrentCtrl();

    // Mouse, resizing and scrolling.
    BOOL OnLButtonDown(UINT nFlags, CPoint point);
    BOOL OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt, BOOL bFocus);
    BOOL OnSetCursor(UINT nHitTest);
    void EndColumnResize(int x);
    void UpdateScrollSizes();
    void SetScrollSizes(int nWidth, int nHeight);
    void UpdateScrollBars();
    BOOL ScrollBy(int dx, int dy, BOOL bScroll);
    BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll);
    void RedrawFocus();
    // Scrolls the cell into view (the rule of SetCurrentCell); TRUE when an offset changed.
    BOOL ScrollIntoView(int nCol, int nRow);

    // The one-pixel line shown while a column border is dragged (empty otherwise).
    CRect m_rcTrack;
    BYTE m_bFocused = 0;
    CArray<ColInfo, const ColInfo&> m_columns;
    int m_nRowCount = 0;

protected:
    ColInfo& Column(int nCol);
    BOOL IsDataCell(int nCol, int nRow) const;
    BOOL HasBar(int nBar) const;
    void SetTrackLine(int x);
    void HideTrackLine();
    void RedrawSelectionDiff(int oFC, int oFR, int oLC, int oLR);
    void ReleaseCaptureOf();
    void SpanWithShift(int nClicked, int nSelFirst, int nSelLast, int& nFirst, int& nLast) const;
};
