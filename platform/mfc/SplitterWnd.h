// CSplitterWnd: the client of a frame cut into rows and columns of views. A dynamic splitter starts
// with one view and grows to at most its maximum rows and columns, each new pane a view of the same
// class on the same document; dragging a divider moves it, dragging it to within the minimum size
// of the edge removes that row or column (its views are destroyed). Panes have ids
// AFX_IDW_PANE_FIRST + row * 16 + column. CSplitterWndEx is the same with the look of the
// extended framework.
#pragma once

#include "mfc/FrameWnd.h"

#include <vector>

#define SPLS_DYNAMIC_SPLIT 0x0001
#define WS_HSCROLL_SPLITTER WS_HSCROLL

class CSplitterWnd : public CWnd
{
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd();
    ~CSplitterWnd() override;

    using CWnd::Create;
    // A dynamic splitter: the first view from pContext; FALSE when it cannot be made.
    BOOL Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin, CCreateContext* pContext,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | SPLS_DYNAMIC_SPLIT,
                UINT nID = AFX_IDW_PANE_FIRST);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetMaxRowCount() const { return m_nMaxRows; }
    int GetMaxColumnCount() const { return m_nMaxCols; }
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    BOOL IsDynamic() const { return (m_dwStyle & SPLS_DYNAMIC_SPLIT) != 0; }

    // A second row (column) of views, the divider cyBefore (cxBefore) from the top (left).
    virtual BOOL SplitRow(int cyBefore);
    virtual BOOL SplitColumn(int cxBefore);
    virtual void DeleteRow(int rowDelete);
    virtual void DeleteColumn(int colDelete);
    // Splits into the most rows and columns at the middle (the Window > Split command).
    virtual BOOL DoKeyboardSplit();
    // The divider positions: the height of row 0, the width of column 0.
    int GetRowSplit() const { return m_cyRow0; }
    int GetColumnSplit() const { return m_cxCol0; }
    virtual void RecalcLayout();

    void OnSize(UINT nType, int cx, int cy) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;

    enum
    {
        SPLITTER_GAP = 6
    };

protected:
    virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                            CCreateContext* pContext);
    // The view class and document of the first pane, for new panes.
    BOOL MakeContext(CCreateContext& context) const;
    void DestroyPane(int row, int col);
    void RenumberPanes();

    int m_nMaxRows = 1;
    int m_nMaxCols = 1;
    int m_nRows = 0;
    int m_nCols = 0;
    CSize m_sizeMin = CSize(10, 10);
    DWORD m_dwStyle = 0;
    int m_cyRow0 = 0;
    int m_cxCol0 = 0;
    CRuntimeClass* m_pDynamicViewClass = nullptr;
    // What a drag moves: 1 the row divider, 2 the column divider, 3 both.
    int m_nTracking = 0;
    // panes[row][col]
    CWnd* m_panes[2][2] = {{nullptr, nullptr}, {nullptr, nullptr}};
};

class CSplitterWndEx : public CSplitterWnd
{
    DECLARE_DYNAMIC(CSplitterWndEx)
public:
    CSplitterWndEx() = default;
};
