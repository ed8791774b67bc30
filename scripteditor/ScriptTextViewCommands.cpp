// The text view's interaction: caret movement, mouse selection, clipboard, dragging text out,
// bookmarks, page setup and printing.
#include "ScriptTextView.h"

#include "mfc/Clipboard.h"
#include "mfc/ModalHook.h"
#include "mfc/OleDragDrop.h"
#include "mfc/PageSetupDlg.h"
#include "mfc/WaitCursor.h"
#include "mfc/WinApp.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <cwctype>

namespace
{
const wchar_t kPageSetupSection[] = L"ScriptEdit\\PageSetup";
const wchar_t* const kMarginKeys[] = {L"LeftMargin", L"TopMargin", L"RightMargin", L"BottomMargin"};

bool IsWordChar(wchar_t c)
{
    return std::iswalnum(wint_t(c)) || c == L'_';
}

bool IsBlank(wchar_t c)
{
    return std::iswspace(wint_t(c)) != 0;
}

// The text in the ANSI code page (UTF-8 here) with its terminating zero, in a new global block.
HGLOBAL AnsiBlock(const CString& text)
{
    const std::string bytes = QString::fromStdWString(text.str()).toUtf8().toStdString();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    if (!h)
        return nullptr;
    if (auto* p = static_cast<char*>(GlobalLock(h)))
    {
        std::memcpy(p, bytes.c_str(), bytes.size() + 1);
        GlobalUnlock(h);
    }
    return h;
}
} // namespace

// --- caret movement -------------------------------------------------------------------------------

void CScriptTextView::FinishMove(BOOL bSelect, BOOL bKeepIdeal)
{
    if (!bKeepIdeal)
        m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    EnsureVisible(m_ptCursorPos);
    UpdateCaret();
    if (!bSelect)
        m_ptAnchor = m_ptCursorPos;
    SetSelection(m_ptAnchor, m_ptCursorPos);
}

void CScriptTextView::MoveLeft(BOOL bSelect)
{
    PrepareSelBounds();
    if (!SamePoint(m_ptDrawSelStart, m_ptDrawSelEnd) && !bSelect)
        m_ptCursorPos = m_ptDrawSelStart;
    else if (m_ptCursorPos.x == 0)
    {
        if (m_ptCursorPos.y > 0)
        {
            --m_ptCursorPos.y;
            m_ptCursorPos.x = GetLineLength(m_ptCursorPos.y);
        }
    }
    else
        --m_ptCursorPos.x;
    FinishMove(bSelect);
}

void CScriptTextView::MoveRight(BOOL bSelect)
{
    PrepareSelBounds();
    if (!SamePoint(m_ptDrawSelStart, m_ptDrawSelEnd) && !bSelect)
        m_ptCursorPos = m_ptDrawSelEnd;
    else if (m_ptCursorPos.x == GetLineLength(m_ptCursorPos.y))
    {
        if (m_ptCursorPos.y < GetLineCount() - 1)
        {
            ++m_ptCursorPos.y;
            m_ptCursorPos.x = 0;
        }
    }
    else
        ++m_ptCursorPos.x;
    FinishMove(bSelect);
}

void CScriptTextView::MoveWordLeft(BOOL bSelect)
{
    PrepareSelBounds();
    if (!SamePoint(m_ptDrawSelStart, m_ptDrawSelEnd) && !bSelect)
    {
        MoveLeft(bSelect);
        return;
    }
    if (m_ptCursorPos.x == 0)
    {
        MoveLeft(bSelect);
        return;
    }
    const LPCWSTR chars = GetLineChars(m_ptCursorPos.y);
    int nPos = m_ptCursorPos.x;
    while (nPos > 0 && IsBlank(chars[nPos - 1]))
        --nPos;
    if (nPos > 0)
    {
        const bool bWord = IsWordChar(chars[nPos - 1]);
        while (nPos > 0 && !IsBlank(chars[nPos - 1]) && IsWordChar(chars[nPos - 1]) == bWord)
            --nPos;
    }
    m_ptCursorPos.x = nPos;
    FinishMove(bSelect);
}

void CScriptTextView::MoveWordRight(BOOL bSelect)
{
    PrepareSelBounds();
    if (!SamePoint(m_ptDrawSelStart, m_ptDrawSelEnd) && !bSelect)
    {
        MoveRight(bSelect);
        return;
    }
    const int nLength = GetLineLength(m_ptCursorPos.y);
    if (m_ptCursorPos.x == nLength)
    {
        MoveRight(bSelect);
        return;
    }
    const LPCWSTR chars = GetLineChars(m_ptCursorPos.y);
    int nPos = m_ptCursorPos.x;
    if (!IsBlank(chars[nPos]))
    {
        const bool bWord = IsWordChar(chars[nPos]);
        while (nPos < nLength && !IsBlank(chars[nPos]) && IsWordChar(chars[nPos]) == bWord)
            ++nPos;
    }
    while (nPos < nLength && IsBlank(chars[nPos]))
        ++nPos;
    m_ptCursorPos.x = nPos;
    FinishMove(bSelect);
}

void CScriptTextView::MoveUp(BOOL bSelect)
{
    PrepareSelBounds();
    if (!SamePoint(m_ptDrawSelStart, m_ptDrawSelEnd) && !bSelect)
        m_ptCursorPos = m_ptDrawSelStart;
    if (m_ptCursorPos.y > 0)
    {
        if (m_nIdealCharPos == -1)
            m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
        --m_ptCursorPos.y;
        m_ptCursorPos.x =
            std::min(ApproxActualOffset(m_ptCursorPos.y, m_nIdealCharPos), GetLineLength(m_ptCursorPos.y));
    }
    FinishMove(bSelect, TRUE);
}

void CScriptTextView::MoveDown(BOOL bSelect)
{
    PrepareSelBounds();
    if (!SamePoint(m_ptDrawSelStart, m_ptDrawSelEnd) && !bSelect)
        m_ptCursorPos = m_ptDrawSelEnd;
    if (m_ptCursorPos.y < GetLineCount() - 1)
    {
        if (m_nIdealCharPos == -1)
            m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
        ++m_ptCursorPos.y;
        m_ptCursorPos.x =
            std::min(ApproxActualOffset(m_ptCursorPos.y, m_nIdealCharPos), GetLineLength(m_ptCursorPos.y));
    }
    FinishMove(bSelect, TRUE);
}

void CScriptTextView::MoveHome(BOOL bSelect)
{
    const int nLength = GetLineLength(m_ptCursorPos.y);
    const LPCWSTR chars = GetLineChars(m_ptCursorPos.y);
    int nHomePos = 0;
    while (nHomePos < nLength && IsBlank(chars[nHomePos]))
        ++nHomePos;
    if (nHomePos == nLength || m_ptCursorPos.x == nHomePos)
        m_ptCursorPos.x = 0;
    else
        m_ptCursorPos.x = nHomePos;
    FinishMove(bSelect);
}

void CScriptTextView::MoveEnd(BOOL bSelect)
{
    m_ptCursorPos.x = GetLineLength(m_ptCursorPos.y);
    FinishMove(bSelect);
}

void CScriptTextView::MovePgUp(BOOL bSelect)
{
    const int nStep = std::max(1, GetScreenLines() - 1);
    ScrollToLine(std::max(0, m_nTopLine - nStep));
    if (m_nIdealCharPos == -1)
        m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    m_ptCursorPos.y = std::max(0, m_ptCursorPos.y - nStep);
    m_ptCursorPos.x =
        std::min(ApproxActualOffset(m_ptCursorPos.y, m_nIdealCharPos), GetLineLength(m_ptCursorPos.y));
    FinishMove(bSelect, TRUE);
}

void CScriptTextView::MovePgDn(BOOL bSelect)
{
    const int nStep = std::max(1, GetScreenLines() - 1);
    const int nLast = GetLineCount() - 1;
    ScrollToLine(std::min(std::max(0, GetLineCount() - GetScreenLines()), m_nTopLine + nStep));
    if (m_nIdealCharPos == -1)
        m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    m_ptCursorPos.y = std::min(nLast, m_ptCursorPos.y + nStep);
    m_ptCursorPos.x =
        std::min(ApproxActualOffset(m_ptCursorPos.y, m_nIdealCharPos), GetLineLength(m_ptCursorPos.y));
    FinishMove(bSelect, TRUE);
}

void CScriptTextView::MoveCtrlHome(BOOL bSelect)
{
    m_ptCursorPos = CPoint(0, 0);
    FinishMove(bSelect);
}

void CScriptTextView::MoveCtrlEnd(BOOL bSelect)
{
    m_ptCursorPos.y = GetLineCount() - 1;
    m_ptCursorPos.x = GetLineLength(m_ptCursorPos.y);
    FinishMove(bSelect);
}

void CScriptTextView::ScrollUp()
{
    if (m_nTopLine > 0)
        ScrollToLine(m_nTopLine - 1);
}

void CScriptTextView::ScrollDown()
{
    if (m_nTopLine < GetLineCount() - 1)
        ScrollToLine(m_nTopLine + 1);
}

void CScriptTextView::OnCaretCommand(UINT nID)
{
    const BOOL bSelect = (nID - ID_EDIT_CHAR_LEFT) % 2 == 1;
    switch (nID & ~1u)
    {
    case ID_EDIT_CHAR_LEFT:
        MoveLeft(bSelect);
        break;
    case ID_EDIT_CHAR_RIGHT:
        MoveRight(bSelect);
        break;
    case ID_EDIT_WORD_LEFT:
        MoveWordLeft(bSelect);
        break;
    case ID_EDIT_WORD_RIGHT:
        MoveWordRight(bSelect);
        break;
    case ID_EDIT_LINE_UP:
        MoveUp(bSelect);
        break;
    case ID_EDIT_LINE_DOWN:
        MoveDown(bSelect);
        break;
    case ID_EDIT_SCROLL_UP:
        if (nID == ID_EDIT_SCROLL_UP)
            ScrollUp();
        else
            ScrollDown();
        break;
    case ID_EDIT_PAGE_UP:
        MovePgUp(bSelect);
        break;
    case ID_EDIT_PAGE_DOWN:
        MovePgDn(bSelect);
        break;
    case ID_EDIT_LINE_END:
        MoveEnd(bSelect);
        break;
    case ID_EDIT_HOME:
        MoveHome(bSelect);
        break;
    case ID_EDIT_TEXT_BEGIN:
        MoveCtrlHome(bSelect);
        break;
    case ID_EDIT_TEXT_END:
        MoveCtrlEnd(bSelect);
        break;
    default:
        break;
    }
}

// --- words and lines for the mouse ----------------------------------------------------------------

CPoint CScriptTextView::WordToLeft(CPoint pt)
{
    const LPCWSTR chars = GetLineChars(pt.y);
    while (pt.x > 0 && IsWordChar(chars[pt.x - 1]))
        --pt.x;
    return pt;
}

CPoint CScriptTextView::WordToRight(CPoint pt)
{
    const int nLength = GetLineLength(pt.y);
    const LPCWSTR chars = GetLineChars(pt.y);
    while (pt.x < nLength && IsWordChar(chars[pt.x]))
        ++pt.x;
    return pt;
}

void CScriptTextView::SelectWholeLines(int nAnchorLine, int nLine)
{
    const int nLast = GetLineCount() - 1;
    const int lo = std::min(nAnchorLine, nLine), hi = std::max(nAnchorLine, nLine);
    const CPoint ptStart(0, lo);
    const CPoint ptEnd = hi < nLast ? CPoint(0, hi + 1) : CPoint(GetLineLength(hi), hi);
    m_ptCursorPos = nLine >= nAnchorLine ? ptEnd : ptStart;
    m_ptAnchor = nLine >= nAnchorLine ? ptStart : ptEnd;
    UpdateCaret();
    SetSelection(ptStart, ptEnd);
}

// --- mouse ----------------------------------------------------------------------------------------

void CScriptTextView::OnLButtonDown(UINT nFlags, CPoint point)
{
    const BOOL bShift = (nFlags & MK_SHIFT) != 0;
    const BOOL bControl = (nFlags & MK_CONTROL) != 0;
    SetFocus();
    if (point.x < GetMarginWidth())
    {
        AdjustTextPoint(point);
        if (bControl)
        {
            OnEditSelectAll();
            return;
        }
        m_ptCursorPos = ClientToText(point);
        m_ptCursorPos.x = 0;
        const int nAnchorLine = bShift ? m_ptAnchor.y : m_ptCursorPos.y;
        SelectWholeLines(nAnchorLine, m_ptCursorPos.y);
        m_ptAnchor = CPoint(0, nAnchorLine);
        m_nDragSelTimer = SetTimer(SCRIPT_DRAG_TIMER, 100, nullptr);
        m_bDragSelection = TRUE;
        m_bWordSelection = FALSE;
        m_bLineSelection = TRUE;
        return;
    }
    CPoint ptText = point;
    AdjustTextPoint(ptText);
    ptText = ClientToText(ptText);
    if (IsInsideSelBlock(ptText))
    {
        m_bPreparingToDrag = TRUE;
        return;
    }
    m_ptCursorPos = ptText;
    if (!bShift)
        m_ptAnchor = m_ptCursorPos;
    CPoint ptStart = m_ptAnchor, ptEnd = m_ptCursorPos;
    if (bControl)
    {
        const bool bBack = m_ptCursorPos.y < m_ptAnchor.y ||
                           (m_ptCursorPos.y == m_ptAnchor.y && m_ptCursorPos.x < m_ptAnchor.x);
        ptStart = WordToLeft(bBack ? m_ptCursorPos : m_ptAnchor);
        ptEnd = WordToRight(bBack ? m_ptAnchor : m_ptCursorPos);
        m_ptCursorPos = bBack ? ptStart : ptEnd;
    }
    m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    EnsureVisible(m_ptCursorPos);
    SetSelection(ptStart, ptEnd);
    m_nDragSelTimer = SetTimer(SCRIPT_DRAG_TIMER, 100, nullptr);
    m_bDragSelection = TRUE;
    m_bWordSelection = bControl;
    m_bLineSelection = FALSE;
}

void CScriptTextView::OnMouseMove(UINT nFlags, CPoint point)
{
    (void)nFlags;
    m_ptLastMouse = point;
    if (m_bDragSelection)
    {
        const BOOL bOnMargin = point.x < GetMarginWidth();
        CPoint pt = point;
        AdjustTextPoint(pt);
        const CPoint ptNew = ClientToText(pt);
        if (m_bLineSelection)
        {
            if (bOnMargin)
            {
                SelectWholeLines(m_ptAnchor.y, ptNew.y);
                return;
            }
            m_bLineSelection = FALSE;
            if (QWidget* client = GetClientWidget())
                client->setCursor(Qt::IBeamCursor);
        }
        ExtendSelectionTo(ptNew);
        return;
    }
    if (m_bPreparingToDrag)
    {
        m_bPreparingToDrag = FALSE;
        DragSelectionOut();
        return;
    }
    SetMarginCursor(point);
}

void CScriptTextView::ExtendSelectionTo(const CPoint& ptNew)
{
    if (m_bWordSelection)
    {
        const bool bBack = ptNew.y < m_ptAnchor.y || (ptNew.y == m_ptAnchor.y && ptNew.x < m_ptAnchor.x);
        const CPoint ptStart = WordToLeft(bBack ? ptNew : m_ptAnchor);
        const CPoint ptEnd = WordToRight(bBack ? m_ptAnchor : ptNew);
        m_ptCursorPos = bBack ? ptStart : ptEnd;
        UpdateCaret();
        SetSelection(ptStart, ptEnd);
    }
    else
    {
        m_ptCursorPos = ptNew;
        UpdateCaret();
        SetSelection(m_ptAnchor, m_ptCursorPos);
    }
}

void CScriptTextView::DragSelectionOut()
{
    HGLOBAL hData = PrepareDragData();
    if (!hData)
        return;
    if (m_pTextBuffer)
        m_pTextBuffer->OpenUndoGroup(FALSE);
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, hData);
    m_bDraggingText = TRUE;
    const DROPEFFECT de = source.DoDragDrop(GetDropEffect());
    if (de != DROPEFFECT_NONE)
        OnDropSource(de);
    m_bDraggingText = FALSE;
    if (m_pTextBuffer)
        m_pTextBuffer->CloseUndoGroup(this);
}

void CScriptTextView::OnLButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    if (m_bDragSelection)
    {
        const BOOL bOnMargin = point.x < GetMarginWidth();
        CPoint pt = point;
        AdjustTextPoint(pt);
        const CPoint ptNew = ClientToText(pt);
        if (m_bLineSelection && bOnMargin)
            SelectWholeLines(m_ptAnchor.y, ptNew.y);
        else
            ExtendSelectionTo(ptNew);
        EnsureVisible(m_ptCursorPos);
        KillTimer(m_nDragSelTimer);
        m_nDragSelTimer = 0;
        m_bDragSelection = FALSE;
    }
    if (m_bPreparingToDrag)
    {
        m_bPreparingToDrag = FALSE;
        AdjustTextPoint(point);
        m_ptCursorPos = ClientToText(point);
        m_ptAnchor = m_ptCursorPos;
        EnsureVisible(m_ptCursorPos);
        UpdateCaret();
        SetSelection(m_ptCursorPos, m_ptCursorPos);
    }
}

void CScriptTextView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != SCRIPT_DRAG_TIMER || !m_bDragSelection)
    {
        CView::OnTimer(nIDEvent);
        return;
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    const CPoint pt = m_ptLastMouse;
    const int nLineHeight = GetLineHeight();
    BOOL bChanged = FALSE;
    int nNewTopLine = m_nTopLine;
    if (pt.y < rcClient.top)
        nNewTopLine -= pt.y < rcClient.top - nLineHeight ? 3 : 1;
    else if (pt.y >= rcClient.bottom)
        nNewTopLine += pt.y >= rcClient.bottom + nLineHeight ? 3 : 1;
    nNewTopLine = std::clamp(nNewTopLine, 0, GetLineCount() - 1);
    if (nNewTopLine != m_nTopLine)
    {
        ScrollToLine(nNewTopLine);
        bChanged = TRUE;
    }
    int nNewOffset = m_nOffsetChar;
    if (pt.x < rcClient.left)
        --nNewOffset;
    else if (pt.x >= rcClient.right)
        ++nNewOffset;
    nNewOffset = std::clamp(nNewOffset, 0, std::max(0, GetMaxLineLength() - 1));
    if (nNewOffset != m_nOffsetChar)
    {
        ScrollToChar(nNewOffset);
        bChanged = TRUE;
    }
    if (bChanged)
    {
        CPoint ptText = pt;
        AdjustTextPoint(ptText);
        const CPoint ptNew = ClientToText(ptText);
        if (m_bLineSelection)
            SelectWholeLines(m_ptAnchor.y, ptNew.y);
        else
            ExtendSelectionTo(ptNew);
    }
}

void CScriptTextView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    (void)nFlags;
    if (m_bDragSelection)
        return;
    AdjustTextPoint(point);
    m_ptCursorPos = ClientToText(point);
    m_ptAnchor = m_ptCursorPos;
    const CPoint ptStart = WordToLeft(m_ptCursorPos);
    const CPoint ptEnd = WordToRight(m_ptCursorPos);
    m_ptAnchor = ptStart;
    m_ptCursorPos = ptEnd;
    UpdateCaret();
    EnsureVisible(m_ptCursorPos);
    SetSelection(ptStart, ptEnd);
    m_nDragSelTimer = SetTimer(SCRIPT_DRAG_TIMER, 100, nullptr);
    m_bDragSelection = TRUE;
    m_bWordSelection = TRUE;
    m_bLineSelection = FALSE;
}

void CScriptTextView::OnRButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    CPoint pt = point;
    AdjustTextPoint(pt);
    pt = ClientToText(pt);
    if (!IsInsideSelBlock(pt))
    {
        m_ptAnchor = m_ptCursorPos = pt;
        SetSelection(m_ptCursorPos, m_ptCursorPos);
        EnsureVisible(m_ptCursorPos);
        UpdateCaret();
    }
}

// --- clipboard and drag data ----------------------------------------------------------------------

BOOL CScriptTextView::TextInClipboard()
{
    return IsClipboardFormatAvailable(CF_TEXT);
}

BOOL CScriptTextView::PutToClipboard(const CString& text)
{
    if (text.IsEmpty())
        return FALSE;
    CWaitCursor wait;
    HGLOBAL h = AnsiBlock(text);
    if (!h)
        return FALSE;
    if (!OpenClipboard(m_hWnd))
    {
        GlobalFree(h);
        return FALSE;
    }
    BOOL bOK = EmptyClipboard() && SetClipboardData(CF_TEXT, h) != nullptr;
    if (!bOK)
        GlobalFree(h);
    CloseClipboard();
    return bOK;
}

BOOL CScriptTextView::GetFromClipboard(CString& text)
{
    if (!OpenClipboard(m_hWnd))
        return FALSE;
    BOOL bOK = FALSE;
    if (HANDLE h = GetClipboardData(CF_TEXT))
    {
        if (const auto* p = static_cast<const char*>(GlobalLock(h)))
        {
            const size_t n = strnlen(p, GlobalSize(h));
            text = CString(QString::fromUtf8(p, qsizetype(n)).toStdWString());
            GlobalUnlock(h);
            bOK = TRUE;
        }
    }
    CloseClipboard();
    return bOK;
}

HGLOBAL CScriptTextView::PrepareDragData()
{
    PrepareSelBounds();
    if (SamePoint(m_ptDrawSelStart, m_ptDrawSelEnd))
        return nullptr;
    CString text;
    GetText(m_ptDrawSelStart, m_ptDrawSelEnd, text);
    HGLOBAL h = AnsiBlock(text);
    if (!h)
        return nullptr;
    m_ptDraggedTextBegin = m_ptDrawSelStart;
    m_ptDraggedTextEnd = m_ptDrawSelEnd;
    return h;
}

DROPEFFECT CScriptTextView::GetDropEffect()
{
    return DROPEFFECT_COPY;
}

void CScriptTextView::OnDropSource(DROPEFFECT) {}

void CScriptTextView::OnEditCopy()
{
    PrepareSelBounds();
    if (SamePoint(m_ptDrawSelStart, m_ptDrawSelEnd))
        return;
    CString text;
    GetText(m_ptDrawSelStart, m_ptDrawSelEnd, text);
    PutToClipboard(text);
}

void CScriptTextView::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!SamePoint(m_ptSelStart, m_ptSelEnd));
}

void CScriptTextView::OnEditSelectAll()
{
    const int nLast = GetLineCount() - 1;
    m_ptCursorPos = CPoint(GetLineLength(nLast), nLast);
    m_ptAnchor = CPoint(0, 0);
    SetSelection(m_ptAnchor, m_ptCursorPos);
    UpdateCaret();
}

void CScriptTextView::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CScriptTextView::OnEditFind() {}

void CScriptTextView::OnEditRepeat() {}

void CScriptTextView::OnUpdateEditRepeat(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bLastSearch);
}

// --- bookmarks ------------------------------------------------------------------------------------

void CScriptTextView::GoToLine(int nLine)
{
    const CPoint pt(0, nLine);
    m_ptCursorPos = m_ptAnchor = pt;
    SetSelection(pt, pt);
    EnsureVisible(pt);
    UpdateCaret();
}

void CScriptTextView::OnToggleNumBookmark(UINT nCmdID)
{
    if (!m_pTextBuffer)
        return;
    const DWORD dwMask = LF_BOOKMARK(nCmdID - ID_EDIT_TOGGLE_BOOKMARK0);
    const DWORD dwFlags = GetLineFlags(m_ptCursorPos.y);
    m_pTextBuffer->SetLineFlag(m_ptCursorPos.y, dwMask, (dwFlags & dwMask) == 0, TRUE);
}

void CScriptTextView::OnGoBookmark(UINT nCmdID)
{
    if (!m_pTextBuffer)
        return;
    const int nLine = m_pTextBuffer->FindFlaggedLine(LF_BOOKMARK(nCmdID - ID_EDIT_GO_BOOKMARK0));
    if (nLine >= 0)
        GoToLine(nLine);
}

void CScriptTextView::OnToggleBookmark()
{
    if (!m_pTextBuffer)
        return;
    const int nLine = m_ptCursorPos.y;
    const BOOL bSet = (GetLineFlags(nLine) & LF_BOOKMARKS) == 0;
    m_pTextBuffer->SetLineFlag(nLine, LF_BOOKMARKS, bSet, FALSE);
    m_bBookmarkExist = m_pTextBuffer->FindNextMarkedLine(0) >= 0;
}

void CScriptTextView::OnNextBookmark()
{
    if (!m_pTextBuffer)
        return;
    const int nLine = m_pTextBuffer->FindNextMarkedLine(m_ptCursorPos.y);
    if (nLine >= 0)
        GoToLine(nLine);
}

void CScriptTextView::OnPrevBookmark()
{
    if (!m_pTextBuffer)
        return;
    const int nLine = m_pTextBuffer->FindPrevMarkedLine(m_ptCursorPos.y);
    if (nLine >= 0)
        GoToLine(nLine);
}

void CScriptTextView::OnClearAllBookmarks()
{
    if (!m_pTextBuffer)
        return;
    for (int i = 0; i < m_pTextBuffer->GetLineCount(); ++i)
        if (m_pTextBuffer->GetLineFlags(i) & LF_BOOKMARKS)
            m_pTextBuffer->SetLineFlag(i, LF_BOOKMARKS, FALSE, FALSE);
    m_bBookmarkExist = FALSE;
}

void CScriptTextView::OnUpdateBookmarkExists(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bBookmarkExist);
}

// --- page setup and printing ----------------------------------------------------------------------

void CScriptTextView::GetPrintMargins(LONG& nLeft, LONG& nTop, LONG& nRight, LONG& nBottom)
{
    LONG* values[] = {&nLeft, &nTop, &nRight, &nBottom};
    CWinApp* pApp = AfxGetApp();
    for (int i = 0; i < 4; ++i)
        *values[i] = pApp ? LONG(pApp->GetProfileInt(kPageSetupSection, kMarginKeys[i], 1000)) : 1000;
}

void CScriptTextView::OnFilePageSetup()
{
    CPageSetupDialog dlg(
        PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS | PSD_DISABLEORIENTATION | PSD_DISABLEPAPER, this);
    GetPrintMargins(dlg.m_psd.rtMargin.left, dlg.m_psd.rtMargin.top, dlg.m_psd.rtMargin.right,
                    dlg.m_psd.rtMargin.bottom);
    if (dlg.DoModal() != IDOK)
        return;
    if (CWinApp* pApp = AfxGetApp())
    {
        const LONG values[] = {dlg.m_psd.rtMargin.left, dlg.m_psd.rtMargin.top, dlg.m_psd.rtMargin.right,
                               dlg.m_psd.rtMargin.bottom};
        for (int i = 0; i < 4; ++i)
            pApp->WriteProfileInt(kPageSetupSection, kMarginKeys[i], int(values[i]));
    }
}

BOOL CScriptTextView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

void CScriptTextView::OnBeginPrinting(CDC* pDC, CPrintInfo*)
{
    auto* pPrinter = dynamic_cast<CPrinterDC*>(pDC);
    const int nDpiX = pPrinter ? pPrinter->GetDpiX() : AFX_DC_LOGPIXELS;
    const int nDpiY = pPrinter ? pPrinter->GetDpiY() : AFX_DC_LOGPIXELS;
    CFont* pScreen = GetFont();
    const QFont screen = pScreen ? pScreen->ToQFont() : QFont();
    const int nScreenPixels = screen.pixelSize() > 0 ? screen.pixelSize() : GetLineHeight();
    LOGFONT lf = m_lfBaseFont;
    // Half the screen size on paper.
    lf.lfHeight = -std::max(1, nScreenPixels * nDpiY / (2 * AFX_DC_LOGPIXELS));
    lf.lfWidth = lf.lfWidth * nDpiX / (2 * AFX_DC_LOGPIXELS);
    m_pPrintFont = std::make_unique<CFont>();
    if (m_pPrintFont->CreateFontIndirect(&lf))
        pDC->SelectObject(m_pPrintFont.get());
    m_pnPages.clear();
    m_nPrintPages = 0;
}

void CScriptTextView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    if (pInfo)
        pInfo->m_bContinuePrinting = m_nPrintPages == 0 || pInfo->m_nCurPage <= UINT(m_nPrintPages);
}

int CScriptTextView::PrintLineHeight(CDC* pdc, int nLine)
{
    const int nLength = GetLineLength(nLine);
    if (nLength == 0)
        return m_nPrintLineHeight;
    CString line;
    ExpandChars(GetLineChars(nLine), 0, nLength, line);
    CRect rc(m_rcPrintArea.left, 0, m_rcPrintArea.right, 0);
    pdc->DrawText(line, &rc, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT | DT_LEFT | DT_TOP);
    return std::max(m_nPrintLineHeight, rc.Height());
}

void CScriptTextView::RecalcPageLayouts(CDC* pdc, CPrintInfo* pInfo)
{
    auto* pPrinter = dynamic_cast<CPrinterDC*>(pdc);
    const CSize page = pPrinter ? pPrinter->GetPageSize() : pInfo->m_rectDraw.Size();
    const int nDpiX = pPrinter ? pPrinter->GetDpiX() : AFX_DC_LOGPIXELS;
    const int nDpiY = pPrinter ? pPrinter->GetDpiY() : AFX_DC_LOGPIXELS;
    m_rcPrintPage = CRect(0, 0, page.cx, page.cy);
    m_rcPrintPage.NormalizeRect();
    m_nPrintLineHeight = std::max(1, int(pdc->GetTextExtent(CString(L"X")).cy));
    LONG l = 0, t = 0, r = 0, b = 0;
    GetPrintMargins(l, t, r, b);
    auto toX = [nDpiX](LONG v) { return int(std::clamp<long long>(v, 0, 1000000) * nDpiX / 2540); };
    auto toY = [nDpiY](LONG v) { return int(std::clamp<long long>(v, 0, 1000000) * nDpiY / 2540); };
    m_rcPrintArea = CRect(m_rcPrintPage.left + toX(l), m_rcPrintPage.top + toY(t),
                          m_rcPrintPage.right - toX(r), m_rcPrintPage.bottom - toY(b));
    if (m_bPrintHeader)
        m_rcPrintArea.top += m_nPrintLineHeight * 3 / 2;
    if (m_bPrintFooter)
        m_rcPrintArea.bottom -= m_nPrintLineHeight * 3 / 2;
    // Margins that leave no room: keep one line and one character inside the page.
    const int nMinWidth = std::max(1, int(pdc->GetTextExtent(CString(L"X")).cx));
    if (m_rcPrintArea.Width() < nMinWidth)
    {
        m_rcPrintArea.left = std::clamp(int(m_rcPrintArea.left), 0, std::max(0, page.cx - nMinWidth));
        m_rcPrintArea.right = m_rcPrintArea.left + nMinWidth;
    }
    if (m_rcPrintArea.Height() < m_nPrintLineHeight)
    {
        m_rcPrintArea.top = std::clamp(int(m_rcPrintArea.top), 0, std::max(0, page.cy - m_nPrintLineHeight));
        m_rcPrintArea.bottom = m_rcPrintArea.top + m_nPrintLineHeight;
    }
    m_pnPages.assign(1, 0);
    int y = m_rcPrintArea.top;
    const int nLineCount = GetLineCount();
    m_pnPrintHeights.assign(size_t(nLineCount), 0);
    for (int i = 0; i < nLineCount; ++i)
    {
        const int h = PrintLineHeight(pdc, i);
        m_pnPrintHeights[size_t(i)] = h;
        // A line taller than the page gets a page of its own, cut at the bottom.
        if (y + h > m_rcPrintArea.bottom && y > m_rcPrintArea.top)
        {
            m_pnPages.push_back(i);
            y = m_rcPrintArea.top;
        }
        y += h;
    }
    m_nPrintPages = int(m_pnPages.size());
    if (pInfo)
        pInfo->SetMaxPage(UINT(m_nPrintPages));
}

void CScriptTextView::GetPrintHeaderText(int, CString& text)
{
    text.Empty();
}

void CScriptTextView::GetPrintFooterText(int nPageNum, CString& text)
{
    text.Format(L"Page %d/%d", nPageNum, m_nPrintPages);
}

void CScriptTextView::PrintCentred(CDC* pdc, const CString& text, int nTop)
{
    if (text.IsEmpty())
        return;
    CRect rc(m_rcPrintArea.left, nTop, m_rcPrintArea.right, nTop + m_nPrintLineHeight);
    pdc->DrawText(text, &rc, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CScriptTextView::PrintHeader(CDC* pdc, int nPageNum)
{
    CString text;
    GetPrintHeaderText(nPageNum, text);
    PrintCentred(pdc, text, m_rcPrintArea.top - m_nPrintLineHeight * 3 / 2);
}

void CScriptTextView::PrintFooter(CDC* pdc, int nPageNum)
{
    CString text;
    GetPrintFooterText(nPageNum, text);
    PrintCentred(pdc, text, m_rcPrintArea.bottom + m_nPrintLineHeight / 2);
}

void CScriptTextView::OnPrint(CDC* pdc, CPrintInfo* pInfo)
{
    if (m_pnPages.empty())
        RecalcPageLayouts(pdc, pInfo);
    const int nPage = int(pInfo->m_nCurPage);
    if (nPage < 1 || nPage > m_nPrintPages)
        return;
    pdc->SetTextColor(RGB(0, 0, 0));
    pdc->SetBkMode(TRANSPARENT);
    if (m_bPrintHeader)
        PrintHeader(pdc, nPage);
    if (m_bPrintFooter)
        PrintFooter(pdc, nPage);
    const int nFirst = m_pnPages[size_t(nPage - 1)];
    const int nLast = nPage < m_nPrintPages ? m_pnPages[size_t(nPage)] - 1 : GetLineCount() - 1;
    int y = m_rcPrintArea.top;
    pdc->SaveDC();
    pdc->IntersectClipRect(&m_rcPrintPage);
    for (int i = nFirst; i <= nLast; ++i)
    {
        const int h =
            size_t(i) < m_pnPrintHeights.size() ? m_pnPrintHeights[size_t(i)] : PrintLineHeight(pdc, i);
        if (GetLineLength(i) > 0)
        {
            CString line;
            ExpandChars(GetLineChars(i), 0, GetLineLength(i), line);
            CRect rc(m_rcPrintArea.left, y, m_rcPrintArea.right, y + h);
            pdc->DrawText(line, &rc, DT_WORDBREAK | DT_NOPREFIX | DT_LEFT | DT_TOP);
        }
        y += h;
    }
    pdc->RestoreDC(-1);
}

void CScriptTextView::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_pPrintFont.reset();
    m_pnPages.clear();
    m_pnPrintHeights.clear();
    m_nPrintPages = 0;
}
