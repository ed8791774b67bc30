// The drawing core of the data grid: geometry, colours, fonts, current cell and selection, drawn
// into the window it is attached to. It is not a window; the derived grid supplies rows, columns,
// widths, texts, formats, images and editors through the virtual operations. Cell coordinates are
// absolute here (fixed rows and columns first); the operations on cell content speak in data
// coordinates (absolute less the fixed counts).
#pragma once

#include "symbols/FOXCellCtrl.h"

#include "mfc/ImageList.h"

class CWnd;

// Window style bits of a grid.
#define FOXGS_NOGRIDLINES 0x0001
#define FOXGS_ROWSELECT 0x0002
#define FOXGS_FLATHEADERS 0x0004
#define FOXGS_KEEPHEADERHEIGHT 0x0008
#define FOXGS_RESIZEDATACOLUMNS 0x0010
#define FOXGS_RANGESELECT 0x0020

// The colour scheme of a grid (one per grid, handed out for every cell).
struct FOXGridColors
{
    COLORREF crNormalBack = 0;
    COLORREF crNormalText = 0;
    COLORREF crCurrentBack = 0;
    COLORREF crCurrentText = 0;
    COLORREF crSelectedBack = 0;
    COLORREF crSelectedText = 0;
    COLORREF crLineLeft = 0;
    COLORREF crLineTop = 0;
    COLORREF crLineRight = 0;
    COLORREF crLineBottom = 0;
    BYTE nLineJoin = 0;
    FOXFocusFrame focus;
    CFont* pCurrentFont = nullptr;
    CFont* pOtherFont = nullptr;
};

// How a cell is drawn: DrawText flags, a DrawFrameControl type and state, an image kind.
struct FOXCellFormat
{
    UINT nDrawText = 5;
    UINT nFrameType = 0;
    UINT nFrameState = 0;
    UINT nImageKind = 0;
};

// What an image-list cell is drawn with; GetCellImageList fills in the list and the index.
struct FOXImageListDraw
{
    DWORD cbSize = 0;
    HIMAGELIST himl = nullptr;
    int i = 0;
    CDC* pDC = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    COLORREF rgbBk = 0;
    COLORREF rgbFg = 0;
    UINT fState = 0;
};
#define FOX_CLR_NONE 0xFFFFFFFFu

class CFOExtGridCore
{
public:
    CFOExtGridCore();
    virtual ~CFOExtGridCore();
    CFOExtGridCore(const CFOExtGridCore&) = delete;
    CFOExtGridCore& operator=(const CFOExtGridCore&) = delete;

    // Slots 0 to 27.
    virtual void OnDraw(CDC* pDC);
    virtual void DrawFixedFrame(CDC* pDC, CRect rc);
    virtual void DrawRow(CDC* pDC, int nRow, int nTop, const CRect& rcArea);
    virtual void DrawCell(CDC* pDC, int nCol, int nRow, int nLeft, int nTop);
    virtual void DrawHeaderCell(CDC* pDC, int nCol, int nRow, int nLeft, int nTop);
    virtual void DrawRowHeaderCell(CDC* pDC, int nCol, int nRow, int nLeft, int nTop);
    virtual int GetRowCount() const { return 0; }
    virtual int GetColumnCount(int nRow) const
    {
        (void)nRow;
        return 0;
    }
    virtual int GetColumnWidth(int nCol, int nRow) const = 0;
    virtual void SetColumnWidth(int nCol, int nRow, int nWidth) = 0;
    virtual CFOXCellCtrl* CreateCellCtrl(int nCol, int nRow, DWORD dwStyle, UINT nID);
    virtual void SetCellCtrl(int nCol, int nRow, CFOXCellCtrl* pCtrl) { (void)nCol, (void)nRow, (void)pCtrl; }
    virtual void LoadCellCtrl(int nCol, int nRow, CFOXCellCtrl* pCtrl);
    virtual CFOXCellCtrl* GetCellCtrl(int nCol, int nRow) const
    {
        (void)nCol, (void)nRow;
        return m_pDefaultCtrl;
    }
    virtual DWORD GetEditorStyle(int nCol, int nRow) const
    {
        (void)nCol, (void)nRow;
        return WS_CHILD;
    }
    virtual BOOL NotifyCellChange(int nCol, int nRow) = 0;
    virtual void OnCellChange(int nCol, int nRow) = 0;
    virtual FOXGridColors* GetColors(int nCol, int nRow)
    {
        (void)nCol, (void)nRow;
        return &m_colors;
    }
    virtual BOOL HasCellImage(int nCol, int nRow) const
    {
        (void)nCol, (void)nRow;
        return FALSE;
    }
    virtual int GetCellImageType(int nCol, int nRow) const
    {
        (void)nCol, (void)nRow;
        return 0;
    }
    virtual BOOL GetCellImageSize(int nCol, int nRow, CSize& size) const
    {
        (void)nCol, (void)nRow;
        size = CSize(0, 0);
        return FALSE;
    }
    virtual HGDIOBJ GetCellImage(int nCol, int nRow, UINT nState) const
    {
        (void)nCol, (void)nRow, (void)nState;
        return nullptr;
    }
    virtual void GetCellImageList(int nCol, int nRow, FOXImageListDraw* pParams, UINT nState) const
    {
        (void)nCol, (void)nRow, (void)pParams, (void)nState;
    }
    virtual void OnCurrentCellChanged(int nCol, int nRow) { (void)nCol, (void)nRow; }
    virtual void OnCurrentRowChanged(int nRow) { (void)nRow; }
    virtual FOXCellFormat GetCellFormat(int nCol, int nRow) const
    {
        (void)nCol, (void)nRow;
        return FOXCellFormat();
    }
    virtual FOXCellValue GetCellText(int nCol, int nRow) const;
    // The title and its DrawText flags.
    virtual FOXCellValue GetColumnTitle(int nCol, int nRow) const = 0;

    void SetWnd(CWnd* pWnd) { m_pWnd = pWnd; }
    CWnd* GetWnd() const { return m_pWnd; }
    void RecalcMetrics();
    // Data coordinates of the selection.
    void GetSelection(int& nFirstCol, int& nLastCol, int& nFirstRow, int& nLastRow) const;
    // Column and row under a content point (x and y counted from the content's left and top).
    int ColumnAt(int x, int nRow) const;
    int PixelToRow(int y) const;
    // Whether x (client) lies on a column's right border that may be dragged; the column is absolute.
    BOOL ColumnBorderAt(int x, int& nCol, int& nRow) const;
    void DrawArea(CDC* pDC, const CRect& rc);
    void DrawOneCell(CDC* pDC, int nCol, int nRow);
    void DrawOneRow(CDC* pDC, int nRow);
    void DrawFocusFrame(CDC* pDC, const CRect& rc);
    void DrawRaisedFrame(CDC* pDC, const CRect& rc, COLORREF crLeft, COLORREF crTop, COLORREF crRight,
                         COLORREF crBottom, int nJoin);
    void DrawCellImage(CDC* pDC, int nCol, int nRow, const CRect& rcImage, UINT nState);
    void DrawFrameControlCell(CDC* pDC, CRect rc, const FOXCellFormat& fmt, const FOXCellValue& value);
    // The common-controls version this platform answers for (6.0).
    static HRESULT GetComctlVersion(DWORD& dwMajor, DWORD& dwMinor);
    // Average character width and height of a font.
    CSize GetFontMetrics(CFont* pFont) const;

    // Geometry on screen.
    int GetFixedWidth() const { return m_nFixedCols * m_nFixedColWidth; }
    int GetFixedHeight() const { return m_nFixedRows * m_nHeaderHeight; }
    // Left edge of an absolute column on screen (-1 for column 0), and the content top of a row.
    int ColumnLeft(int nCol) const;
    int RowContentTop(int nRow) const;
    int RowTop(int nRow) const;
    int AbsColumnWidth(int nCol) const;
    // The client rectangle of an absolute cell.
    CRect CellRect(int nCol, int nRow) const;
    // Repaints a rectangle of the owner window (what the window DC of the original drew at once).
    void RedrawRect(const CRect& rc);
    void RedrawCell(int nCol, int nRow);
    void RedrawRow(int nRow);
    DWORD GetGridStyle() const;

    // State (absolute coordinates), public for the window class, the tests and the benchmarks.
    CWnd* m_pWnd = nullptr;
    HCURSOR m_hResizeCursor = nullptr;
    int m_bResizeArmed = 0;
    int m_bResizing = 0;
    int m_nResizeCol = 0;
    int m_nResizeRow = 0;
    int m_nHeaderHeight = 21;
    int m_nRowHeight = 21;
    int m_nTotalWidth = 0;
    int m_nLinesPerRow = 1;
    int m_nCurCol = 1;
    int m_nCurRow = 1;
    int m_nSelEndCol = 1;
    int m_nSelEndRow = 1;
    int m_nSortCol = -1;
    int m_nSortRow = -1;
    int m_nSortOrder = 2;
    CFont m_font;
    CFont* m_pBoldFont = nullptr;
    int m_nHExtent = 0;
    int m_nVExtent = 0;
    int m_nPageWidth = 0;
    int m_nPageHeight = 0;
    int m_nHLineStep = 0;
    int m_nVLineStep = 0;
    int m_nExtraWidth = 0;
    int m_nExtraHeight = 0;
    int m_nScrollGuard = 0;
    int m_nHOffset = 0;
    int m_nVOffset = 0;
    float m_fVScale = 1.0f;
    float m_fHScale = 1.0f;
    int m_nFixedRows = 1;
    int m_nFixedCols = 1;
    int m_nFixedColWidth = 8;
    int m_nPressedHeaderCol = -1;
    int m_nPressedHeaderRow = -1;
    int m_nPressedRowHeaderCol = -1;
    int m_nPressedRowHeaderRow = -1;
    int m_bCornerPressed = 0;
    FOXGridColors m_colors;
    int m_nSelFirstCol = 1;
    int m_nSelFirstRow = 1;
    int m_nSelLastCol = 1;
    int m_nSelLastRow = 1;
    CFOXCellCtrl* m_pDefaultCtrl = nullptr;
    // A fixed column width dragged by the user, which the metrics keep (-1: none).
    int m_nDraggedFixedWidth = -1;

protected:
    // Makes the bold and normal fonts from a LOGFONT; FALSE when either cannot be made.
    BOOL MakeFonts(LOGFONTW lf);
};
