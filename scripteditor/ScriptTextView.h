// CScriptTextView: shows the lines of a script buffer in a fixed-pitch font with syntax colours, a
// margin of line marks, a caret and scroll bars; moves the caret, selects with keys and mouse,
// copies, drags text out, keeps bookmarks and prints. The editing view derives from it.
#pragma once

#include "scripteditor/ScriptSyntax.h"
#include "scripteditor/ScriptTextBuffer.h"

#include "mfc/Gdi.h"
#include "mfc/OleDragDrop.h"
#include "mfc/View.h"
#include "mfc/Print.h"

#include <QImage>

#include <memory>
#include <vector>

// Caret movement: the odd id of each pair extends the selection.
#define ID_EDIT_CHAR_LEFT 37100
#define ID_EDIT_EXT_CHAR_LEFT 37101
#define ID_EDIT_CHAR_RIGHT 37102
#define ID_EDIT_EXT_CHAR_RIGHT 37103
#define ID_EDIT_WORD_LEFT 37104
#define ID_EDIT_EXT_WORD_LEFT 37105
#define ID_EDIT_WORD_RIGHT 37106
#define ID_EDIT_EXT_WORD_RIGHT 37107
#define ID_EDIT_LINE_UP 37108
#define ID_EDIT_EXT_LINE_UP 37109
#define ID_EDIT_LINE_DOWN 37110
#define ID_EDIT_EXT_LINE_DOWN 37111
#define ID_EDIT_SCROLL_UP 37112
#define ID_EDIT_SCROLL_DOWN 37113
#define ID_EDIT_PAGE_UP 37114
#define ID_EDIT_EXT_PAGE_UP 37115
#define ID_EDIT_PAGE_DOWN 37116
#define ID_EDIT_EXT_PAGE_DOWN 37117
#define ID_EDIT_LINE_END 37118
#define ID_EDIT_EXT_LINE_END 37119
#define ID_EDIT_HOME 37120
#define ID_EDIT_EXT_HOME 37121
#define ID_EDIT_TEXT_BEGIN 37122
#define ID_EDIT_EXT_TEXT_BEGIN 37123
#define ID_EDIT_TEXT_END 37124
#define ID_EDIT_EXT_TEXT_END 37125
#define ID_EDIT_REPEAT 37126
#define ID_EDIT_TOGGLE_BOOKMARK0 37200
#define ID_EDIT_TOGGLE_BOOKMARK9 37209
#define ID_EDIT_GO_BOOKMARK0 37210
#define ID_EDIT_GO_BOOKMARK9 37219
#define ID_EDIT_TOGGLE_BOOKMARK 37223
#define ID_EDIT_GOTO_NEXT_BOOKMARK 37224
#define ID_EDIT_GOTO_PREV_BOOKMARK 37225
#define ID_EDIT_CLEAR_ALL_BOOKMARKS 37226
#define ID_EDIT_FIND 0xE124
#define ID_EDIT_REPLACE 0xE129
#define ID_FILE_PAGE_SETUP 0xE105

#define IDR_SCRIPT_ACCEL 2901
#define IDB_SCRIPT_MARGIN_ICONS 2902
#define IDC_SCRIPT_MARGIN_CURSOR 2900
#define IDS_SCRIPT_UNDO_FMT 2910
#define IDS_SCRIPT_UNDO 2911
#define IDS_SCRIPT_REDO_FMT 2912
#define IDS_SCRIPT_REDO 2913

#define SCRIPT_DRAG_TIMER 1001

class COleDataSource;

inline bool SamePoint(const POINT& a, const POINT& b)
{
    return a.x == b.x && a.y == b.y;
}

class CScriptTextView : public CView, public CScriptBufferClient
{
    DECLARE_DYNCREATE(CScriptTextView)
public:
    CScriptTextView();
    ~CScriptTextView() override;

    void AttachToBuffer(CScriptTextBuffer* pBuf = nullptr);
    void DetachFromBuffer();
    CScriptTextBuffer* GetBuffer() const { return m_pTextBuffer; }
    void SetFont(const LOGFONT& lf);
    void GetFont(LOGFONT& lf) const { lf = m_lfBaseFont; }

    // Points are (character, line).
    CPoint GetCursorPos() const { return m_ptCursorPos; }
    void SetCursorPos(const CPoint& ptCursorPos);
    void SetAnchor(const CPoint& ptNewAnchor) { m_ptAnchor = ptNewAnchor; }
    void SetSelection(const CPoint& ptStart, const CPoint& ptEnd);
    void GetSelection(CPoint& ptStart, CPoint& ptEnd);
    BOOL IsSelection();
    void EnsureVisible(CPoint pt);
    int GetTopLine() const { return m_nTopLine; }
    int GetOffsetChar() const { return m_nOffsetChar; }
    int GetTabSize() const { return m_nTabSize; }
    int GetLineHeight();
    int GetCharWidth();
    int GetMarginWidth() const { return 20; }
    int GetScreenLines();
    int GetScreenChars();
    int GetMaxLineLength();
    BOOL IsMouseSelecting() const { return m_bDragSelection; }
    BOOL IsDraggingText() const { return m_bDraggingText; }
    BOOL GetPrintHeader() const { return m_bPrintHeader; }
    BOOL GetPrintFooter() const { return m_bPrintFooter; }
    void SetPrintHeader(BOOL b) { m_bPrintHeader = b; }
    void SetPrintFooter(BOOL b) { m_bPrintFooter = b; }
    int GetPrintPageCount() const { return m_nPrintPages; }

    CPoint ClientToText(const CPoint& point);
    CPoint TextToClient(const CPoint& point);
    int CalculateActualOffset(int nLineIndex, int nCharIndex);
    int ApproxActualOffset(int nLineIndex, int nOffset);
    void InvalidateLines(int nLine1, int nLine2, BOOL bInvalidateMargin = FALSE);

    // The view's operations, in their slot order.
    virtual void ResetView();
    virtual void PrintHeader(CDC* pdc, int nPageNum);
    virtual void PrintFooter(CDC* pdc, int nPageNum);
    virtual void GetPrintHeaderText(int nPageNum, CString& text);
    virtual void GetPrintFooterText(int nPageNum, CString& text);
    virtual void UpdateSiblingScrollPos(BOOL bHorz);
    virtual void OnUpdateSibling(CScriptTextView* pUpdateSource, BOOL bHorz);
    virtual int GetLineCount();
    virtual int GetLineLength(int nLineIndex);
    virtual int GetLineActualLength(int nLineIndex);
    virtual LPCWSTR GetLineChars(int nLineIndex);
    virtual DWORD GetLineFlags(int nLineIndex);
    virtual void GetText(const CPoint& ptStart, const CPoint& ptEnd, CString& text);
    virtual BOOL TextInClipboard();
    virtual BOOL PutToClipboard(const CString& text);
    virtual BOOL GetFromClipboard(CString& text);
    virtual HGLOBAL PrepareDragData();
    virtual COLORREF GetColor(int nColorIndex);
    virtual void GetLineColors(int nLineIndex, COLORREF& crBkgnd, COLORREF& crText, BOOL& bDrawWhitespace);
    virtual BOOL GetBold(int nColorIndex);
    virtual BOOL GetItalic(int nColorIndex);
    virtual void DrawSingleLine(CDC* pdc, const CRect& rect, int nLineIndex);
    virtual void DrawMargin(CDC* pdc, const CRect& rect, int nLineIndex);
    virtual DWORD ParseLine(DWORD dwCookie, int nLineIndex, std::vector<TEXTBLOCK>* pBuf);
    virtual HINSTANCE GetResourceHandle();
    virtual int GetLineWidthInBytes(int nLineIndex);
    virtual CScriptTextBuffer* LocateTextBuffer();
    void UpdateView(CScriptBufferClient* pSource, CUpdateContext* pContext, DWORD dwFlags,
                    int nLineIndex = -1) override;
    void OnEditOperation(int nAction, LPCWSTR pszText) override;
    // Effects the view allows when its text is dragged out, and what follows the drop here.
    virtual DROPEFFECT GetDropEffect();
    virtual void OnDropSource(DROPEFFECT de);

    // The state of line N that line N + 1 starts in (parsing forward from the last known one).
    DWORD GetParseCookie(int nLineIndex);
    // The line bitmap's width (for tests): dropped on resize and font change.
    BOOL HasLineBitmap() const { return m_pCacheBitmap != nullptr; }

    // CView
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
    // Printing
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    // Handlers
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnDestroy() override;
    void OnSize(UINT nType, int cx, int cy) override;
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void OnRButtonDown(UINT nFlags, CPoint point) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnSysColorChange();
    afx_msg void OnEditCopy();
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnEditSelectAll();
    afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    afx_msg void OnEditFind();
    afx_msg void OnEditRepeat();
    afx_msg void OnUpdateEditRepeat(CCmdUI* pCmdUI);
    afx_msg void OnCaretCommand(UINT nID);
    afx_msg void OnFilePageSetup();
    afx_msg void OnToggleNumBookmark(UINT nCmdID);
    afx_msg void OnGoBookmark(UINT nCmdID);
    afx_msg void OnToggleBookmark();
    afx_msg void OnNextBookmark();
    afx_msg void OnPrevBookmark();
    afx_msg void OnClearAllBookmarks();
    afx_msg void OnUpdateBookmarkExists(CCmdUI* pCmdUI);

protected:
    void MoveLeft(BOOL bSelect);
    void MoveRight(BOOL bSelect);
    void MoveWordLeft(BOOL bSelect);
    void MoveWordRight(BOOL bSelect);
    void MoveUp(BOOL bSelect);
    void MoveDown(BOOL bSelect);
    void MoveHome(BOOL bSelect);
    void MoveEnd(BOOL bSelect);
    void MovePgUp(BOOL bSelect);
    void MovePgDn(BOOL bSelect);
    void MoveCtrlHome(BOOL bSelect);
    void MoveCtrlEnd(BOOL bSelect);
    void ScrollUp();
    void ScrollDown();
    void FinishMove(BOOL bSelect, BOOL bKeepIdeal = FALSE);

    void ScrollToLine(int nNewTopLine, BOOL bTrackScrollBar = TRUE);
    void ScrollToChar(int nNewOffsetChar, BOOL bTrackScrollBar = TRUE);
    void RecalcVertScrollBar(BOOL bPositionOnly = FALSE);
    void RecalcHorzScrollBar(BOOL bPositionOnly = FALSE);
    void RecalcScrollBar(int nBar, BOOL bPositionOnly);
    // Where a scroll code takes the top line (SB_VERT) or the left column (SB_HORZ).
    int ScrollTarget(int nBar, UINT nSBCode);
    void PrintCentred(CDC* pdc, const CString& text, int nTop);
    void UpdateCaret();
    void PrepareSelBounds();
    BOOL IsInsideSelection(const CPoint& ptTextPos);
    BOOL IsInsideSelBlock(CPoint ptTextPos);
    CPoint WordToLeft(CPoint pt);
    CPoint WordToRight(CPoint pt);
    void AdjustTextPoint(CPoint& point);
    void SelectWholeLines(int nAnchorLine, int nLine);
    void CalcLineCharDim();
    CFont* GetFont(BOOL bItalic = FALSE, BOOL bBold = FALSE);
    void DrawLineText(CDC* pdc, CPoint& ptOrigin, const CRect& rcClip, int nColorIndex, LPCWSTR pszChars,
                      int nOffset, int nCount, int& nCol, int nLineIndex);
    void ExpandChars(LPCWSTR pszChars, int nOffset, int nCount, CString& line);
    void RecalcPageLayouts(CDC* pdc, CPrintInfo* pInfo);
    int PrintLineHeight(CDC* pdc, int nLine);
    void GetPrintMargins(LONG& nLeft, LONG& nTop, LONG& nRight, LONG& nBottom);
    void DrawMarginIcon(CDC* pdc, int nImage, int x, int y);
    void SetMarginCursor(const CPoint& point);
    void ExtendSelectionTo(const CPoint& ptNew);
    void DragSelectionOut();
    void GoToLine(int nLine);

    // View state.
    LOGFONT m_lfBaseFont;
    std::unique_ptr<CFont> m_apFonts[4];
    int m_nLineHeight = -1, m_nCharWidth = -1;
    int m_nTabSize = 4;
    BOOL m_bSelMargin = TRUE;
    int m_nScreenLines = -1, m_nScreenChars = -1;
    int m_nMaxLineLength = -1;
    int m_nIdealCharPos = -1;
    CPoint m_ptAnchor, m_ptCursorPos, m_ptSelStart, m_ptSelEnd, m_ptDrawSelStart, m_ptDrawSelEnd;
    int m_nTopLine = 0, m_nOffsetChar = 0;
    BOOL m_bFocused = FALSE, m_bCursorHidden = FALSE;
    std::vector<DWORD> m_ParseCookies;
    std::vector<int> m_pnActualLineLength;
    std::unique_ptr<CBitmap> m_pCacheBitmap;
    std::unique_ptr<QImage> m_pIcons;
    CScriptTextBuffer* m_pTextBuffer = nullptr;
    HACCEL m_hAccel = nullptr;
    BOOL m_bVertScrollBarLocked = FALSE, m_bHorzScrollBarLocked = FALSE;

    // Mouse and drag state.
    BOOL m_bDragSelection = FALSE, m_bWordSelection = FALSE, m_bLineSelection = FALSE;
    UINT_PTR m_nDragSelTimer = 0;
    BOOL m_bPreparingToDrag = FALSE, m_bDraggingText = FALSE;
    CPoint m_ptDraggedTextBegin, m_ptDraggedTextEnd;
    BOOL m_bBookmarkExist = FALSE;
    BOOL m_bLastSearch = FALSE;
    CPoint m_ptLastMouse;

    // Print state.
    std::vector<int> m_pnPages;
    std::vector<int> m_pnPrintHeights;
    int m_nPrintPages = 0;
    std::unique_ptr<CFont> m_pPrintFont;
    int m_nPrintLineHeight = 0;
    CRect m_rcPrintPage, m_rcPrintArea;
    BOOL m_bPrintHeader = FALSE, m_bPrintFooter = TRUE;

    DECLARE_MESSAGE_MAP()
};
