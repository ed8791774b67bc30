#include "ScriptTextView.h"

#include "mfc/Clipboard.h"
#include "mfc/OleDragDrop.h"
#include "mfc/PageSetupDlg.h"
#include "mfc/ResourceModule.h"
#include "mfc/SysColor.h"
#include "mfc/WaitCursor.h"
#include "mfc/WinApp.h"

#include <QCursor>
#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <cwctype>

namespace
{
constexpr DWORD kUnknownCookie = DWORD(-1);
constexpr COLORREF kNoColor = COLORREF(-1);

// Line flags in the order their marks are looked for; the index is the image of bitmap 2902.
const DWORD kMarkFlags[] = {0x10000, 0x20000, 0x40000, 0x2,   0x4, 0x8,     0x10,    0x20,
                            0x40,    0x80,    0x100,   0x200, 0x1, 0x80000, 0x100000};

} // namespace

#ifndef WM_SYSCOLORCHANGE
#define WM_SYSCOLORCHANGE 0x0015
#endif

IMPLEMENT_DYNCREATE(CScriptTextView, CView)

#define ON_WM_VSCROLL_TEXT()                                                                                 \
    AFX_WND_THUNK(WM_VSCROLL, p->OnVScroll(LOWORD(c.wParam), HIWORD(c.wParam), nullptr))
#define ON_WM_HSCROLL_TEXT()                                                                                 \
    AFX_WND_THUNK(WM_HSCROLL, p->OnHScroll(LOWORD(c.wParam), HIWORD(c.wParam), nullptr))
#define ON_WM_SYSCOLORCHANGE_TEXT() AFX_WND_THUNK(WM_SYSCOLORCHANGE, p->OnSysColorChange())

BEGIN_MESSAGE_MAP(CScriptTextView, CView)
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_VSCROLL_TEXT()
ON_WM_HSCROLL_TEXT()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_TIMER()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_COMMAND(ID_EDIT_COPY, &CScriptTextView::OnEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CScriptTextView::OnUpdateEditCopy)
ON_COMMAND(ID_EDIT_SELECT_ALL, &CScriptTextView::OnEditSelectAll)
ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, &CScriptTextView::OnUpdateEditSelectAll)
ON_WM_SYSCOLORCHANGE_TEXT()
ON_WM_CREATE()
ON_COMMAND(ID_EDIT_FIND, &CScriptTextView::OnEditFind)
ON_COMMAND(ID_EDIT_REPEAT, &CScriptTextView::OnEditRepeat)
ON_UPDATE_COMMAND_UI(ID_EDIT_REPEAT, &CScriptTextView::OnUpdateEditRepeat)
ON_COMMAND_RANGE(ID_EDIT_CHAR_LEFT, ID_EDIT_EXT_TEXT_END, &CScriptTextView::OnCaretCommand)
ON_COMMAND(ID_FILE_PAGE_SETUP, &CScriptTextView::OnFilePageSetup)
ON_COMMAND_RANGE(ID_EDIT_TOGGLE_BOOKMARK0, ID_EDIT_TOGGLE_BOOKMARK9, &CScriptTextView::OnToggleNumBookmark)
ON_COMMAND_RANGE(ID_EDIT_GO_BOOKMARK0, ID_EDIT_GO_BOOKMARK9, &CScriptTextView::OnGoBookmark)
ON_COMMAND(ID_EDIT_TOGGLE_BOOKMARK, &CScriptTextView::OnToggleBookmark)
ON_COMMAND(ID_EDIT_GOTO_NEXT_BOOKMARK, &CScriptTextView::OnNextBookmark)
ON_COMMAND(ID_EDIT_GOTO_PREV_BOOKMARK, &CScriptTextView::OnPrevBookmark)
ON_COMMAND(ID_EDIT_CLEAR_ALL_BOOKMARKS, &CScriptTextView::OnClearAllBookmarks)
ON_UPDATE_COMMAND_UI(ID_EDIT_GOTO_NEXT_BOOKMARK, &CScriptTextView::OnUpdateBookmarkExists)
ON_UPDATE_COMMAND_UI(ID_EDIT_GOTO_PREV_BOOKMARK, &CScriptTextView::OnUpdateBookmarkExists)
ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR_ALL_BOOKMARKS, &CScriptTextView::OnUpdateBookmarkExists)
END_MESSAGE_MAP()

CScriptTextView::CScriptTextView()
{
    std::memset(&m_lfBaseFont, 0, sizeof(m_lfBaseFont));
    std::wcscpy(m_lfBaseFont.lfFaceName, L"FixedSys");
    m_lfBaseFont.lfWeight = FW_NORMAL;
    m_lfBaseFont.lfCharSet = DEFAULT_CHARSET;
    ResetView();
}

CScriptTextView::~CScriptTextView()
{
    if (m_pTextBuffer)
        m_pTextBuffer->DetachView(this);
}

// --- buffer and lines -----------------------------------------------------------------------------

void CScriptTextView::AttachToBuffer(CScriptTextBuffer* pBuf)
{
    if (m_pTextBuffer)
        m_pTextBuffer->DetachView(this);
    m_pTextBuffer = pBuf ? pBuf : LocateTextBuffer();
    if (m_pTextBuffer)
        m_pTextBuffer->AttachView(this);
    ResetView();
    RecalcVertScrollBar();
    RecalcHorzScrollBar();
}

void CScriptTextView::DetachFromBuffer()
{
    if (m_pTextBuffer)
    {
        m_pTextBuffer->DetachView(this);
        m_pTextBuffer = nullptr;
        ResetView();
    }
}

CScriptTextBuffer* CScriptTextView::LocateTextBuffer()
{
    return nullptr;
}

int CScriptTextView::GetLineCount()
{
    return m_pTextBuffer && m_pTextBuffer->GetLineCount() > 0 ? m_pTextBuffer->GetLineCount() : 1;
}

int CScriptTextView::GetLineLength(int nLineIndex)
{
    return m_pTextBuffer && m_pTextBuffer->GetLineCount() > 0 ? m_pTextBuffer->GetLineLength(nLineIndex) : 0;
}

LPCWSTR CScriptTextView::GetLineChars(int nLineIndex)
{
    return m_pTextBuffer && m_pTextBuffer->GetLineCount() > 0 ? m_pTextBuffer->GetLineChars(nLineIndex) : L"";
}

DWORD CScriptTextView::GetLineFlags(int nLineIndex)
{
    return m_pTextBuffer && m_pTextBuffer->GetLineCount() > 0 ? m_pTextBuffer->GetLineFlags(nLineIndex) : 0;
}

int CScriptTextView::GetLineWidthInBytes(int nLineIndex)
{
    return m_pTextBuffer && m_pTextBuffer->GetLineCount() > 0 ? m_pTextBuffer->GetLineWidthInBytes(nLineIndex)
                                                              : 0;
}

void CScriptTextView::GetText(const CPoint& ptStart, const CPoint& ptEnd, CString& text)
{
    if (m_pTextBuffer && m_pTextBuffer->GetLineCount() > 0)
        m_pTextBuffer->GetTextRange(ptStart.y, ptStart.x, ptEnd.y, ptEnd.x, text, L"\r\n");
    else
        text.Empty();
}

int CScriptTextView::GetLineActualLength(int nLineIndex)
{
    const size_t n = size_t(GetLineCount());
    if (m_pnActualLineLength.size() != n)
        m_pnActualLineLength.assign(n, -1);
    int& cached = m_pnActualLineLength[size_t(nLineIndex)];
    if (cached == -1)
        cached = CalculateActualOffset(nLineIndex, GetLineLength(nLineIndex));
    return cached;
}

int CScriptTextView::GetMaxLineLength()
{
    if (m_nMaxLineLength == -1)
    {
        m_nMaxLineLength = 0;
        const int n = GetLineCount();
        for (int i = 0; i < n; ++i)
            m_nMaxLineLength = std::max(m_nMaxLineLength, GetLineActualLength(i));
    }
    return m_nMaxLineLength;
}

DWORD CScriptTextView::ParseLine(DWORD dwCookie, int nLineIndex, std::vector<TEXTBLOCK>* pBuf)
{
    return ParseScriptLine(dwCookie, GetLineChars(nLineIndex), GetLineLength(nLineIndex), pBuf);
}

DWORD CScriptTextView::GetParseCookie(int nLineIndex)
{
    const int n = GetLineCount();
    if (m_ParseCookies.size() != size_t(n))
        m_ParseCookies.assign(size_t(n), kUnknownCookie);
    if (nLineIndex < 0)
        return 0;
    nLineIndex = std::min(nLineIndex, n - 1);
    if (m_ParseCookies[size_t(nLineIndex)] != kUnknownCookie)
        return m_ParseCookies[size_t(nLineIndex)];
    int l = nLineIndex;
    while (l >= 0 && m_ParseCookies[size_t(l)] == kUnknownCookie)
        --l;
    for (++l; l <= nLineIndex; ++l)
        m_ParseCookies[size_t(l)] = ParseLine(l > 0 ? m_ParseCookies[size_t(l - 1)] : 0, l, nullptr);
    return m_ParseCookies[size_t(nLineIndex)];
}

// --- reset, fonts, metrics ------------------------------------------------------------------------

void CScriptTextView::ResetView()
{
    m_nTopLine = m_nOffsetChar = 0;
    m_nLineHeight = m_nCharWidth = -1;
    m_nTabSize = 4;
    m_nScreenLines = m_nScreenChars = -1;
    m_nMaxLineLength = -1;
    m_nIdealCharPos = -1;
    m_ptAnchor = m_ptCursorPos = m_ptSelStart = m_ptSelEnd = m_ptDrawSelStart = m_ptDrawSelEnd = CPoint(0, 0);
    m_pIcons.reset();
    for (auto& f : m_apFonts)
        f.reset();
    m_ParseCookies.clear();
    m_pnActualLineLength.clear();
    m_bDragSelection = FALSE;
    m_bVertScrollBarLocked = m_bHorzScrollBarLocked = FALSE;
    m_bBookmarkExist = FALSE;
    m_bLastSearch = FALSE;
    m_bPrintHeader = FALSE;
    m_bPrintFooter = TRUE;
    if (m_hWnd)
        UpdateCaret();
}

void CScriptTextView::SetFont(const LOGFONT& lf)
{
    m_lfBaseFont = lf;
    m_nLineHeight = m_nCharWidth = -1;
    m_nScreenLines = m_nScreenChars = -1;
    m_pCacheBitmap.reset();
    for (auto& f : m_apFonts)
        f.reset();
    if (m_hWnd)
    {
        RecalcVertScrollBar();
        RecalcHorzScrollBar();
        UpdateCaret();
        Invalidate();
    }
}

CFont* CScriptTextView::GetFont(BOOL bItalic, BOOL bBold)
{
    auto& f = m_apFonts[(bItalic ? 2 : 0) + (bBold ? 1 : 0)];
    if (!f)
    {
        LOGFONT lf = m_lfBaseFont;
        lf.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = BYTE(bItalic ? 1 : 0);
        f = std::make_unique<CFont>();
        if (!f->CreateFontIndirect(&lf))
            f.reset();
    }
    return f.get();
}

void CScriptTextView::CalcLineCharDim()
{
    CFont* pFont = GetFont(TRUE, FALSE);
    const QFontMetrics fm(pFont ? pFont->ToQFont() : QFont());
    m_nLineHeight = std::max(1, fm.height());
    m_nCharWidth = std::max(1, fm.horizontalAdvance(QLatin1Char('X')));
}

int CScriptTextView::GetLineHeight()
{
    if (m_nLineHeight == -1)
        CalcLineCharDim();
    return m_nLineHeight;
}

int CScriptTextView::GetCharWidth()
{
    if (m_nCharWidth == -1)
        CalcLineCharDim();
    return m_nCharWidth;
}

int CScriptTextView::GetScreenLines()
{
    if (m_nScreenLines == -1)
    {
        CRect rc;
        GetClientRect(&rc);
        m_nScreenLines = std::max(0, rc.Height() / GetLineHeight());
    }
    return m_nScreenLines;
}

int CScriptTextView::GetScreenChars()
{
    if (m_nScreenChars == -1)
    {
        CRect rc;
        GetClientRect(&rc);
        m_nScreenChars = std::max(0, (rc.Width() - GetMarginWidth()) / GetCharWidth());
    }
    return m_nScreenChars;
}

// --- coordinates ----------------------------------------------------------------------------------

int CScriptTextView::CalculateActualOffset(int nLineIndex, int nCharIndex)
{
    const int nLength = GetLineLength(nLineIndex);
    const LPCWSTR chars = GetLineChars(nLineIndex);
    nCharIndex = std::clamp(nCharIndex, 0, nLength);
    int nOffset = 0;
    for (int i = 0; i < nCharIndex; ++i)
        nOffset += chars[i] == L'\t' ? m_nTabSize - nOffset % m_nTabSize : 1;
    return nOffset;
}

int CScriptTextView::ApproxActualOffset(int nLineIndex, int nOffset)
{
    if (nOffset <= 0)
        return 0;
    const int nLength = GetLineLength(nLineIndex);
    const LPCWSTR chars = GetLineChars(nLineIndex);
    int nCurrentOffset = 0;
    for (int i = 0; i < nLength; ++i)
    {
        if (chars[i] == L'\t')
        {
            const int nNextStop = nCurrentOffset + m_nTabSize - nCurrentOffset % m_nTabSize;
            if (nOffset < nNextStop)
                return nOffset <= nNextStop - m_nTabSize / 2 ? i : i + 1;
            nCurrentOffset = nNextStop;
        }
        else
            ++nCurrentOffset;
        if (nCurrentOffset >= nOffset)
            return i + 1;
    }
    return nLength;
}

CPoint CScriptTextView::ClientToText(const CPoint& point)
{
    const int nLineCount = GetLineCount();
    CPoint pt;
    pt.y = std::clamp(m_nTopLine + point.y / GetLineHeight(), 0, nLineCount - 1);
    int nPos = (point.x - GetMarginWidth()) / GetCharWidth() + m_nOffsetChar;
    if (point.x < GetMarginWidth() && nPos > m_nOffsetChar)
        nPos = m_nOffsetChar;
    nPos = std::max(nPos, 0);
    const int nLength = GetLineLength(pt.y);
    const LPCWSTR chars = GetLineChars(pt.y);
    int nIndex = 0, nCurPos = 0;
    for (; nIndex < nLength; ++nIndex)
    {
        nCurPos += chars[nIndex] == L'\t' ? m_nTabSize - nCurPos % m_nTabSize : 1;
        if (nCurPos > nPos)
            break;
    }
    pt.x = nIndex;
    return pt;
}

CPoint CScriptTextView::TextToClient(const CPoint& point)
{
    CPoint pt;
    pt.y = (point.y - m_nTopLine) * GetLineHeight();
    pt.x = (CalculateActualOffset(point.y, point.x) - m_nOffsetChar) * GetCharWidth() + GetMarginWidth();
    return pt;
}

void CScriptTextView::AdjustTextPoint(CPoint& point)
{
    point.x += GetCharWidth() / 2;
}

void CScriptTextView::InvalidateLines(int nLine1, int nLine2, BOOL bInvalidateMargin)
{
    if (!m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    CRect rcInvalid = rc;
    if (!bInvalidateMargin)
        rcInvalid.left += GetMarginWidth();
    if (nLine2 == -1)
        rcInvalid.top = (nLine1 - m_nTopLine) * GetLineHeight();
    else
    {
        if (nLine2 < nLine1)
            std::swap(nLine1, nLine2);
        rcInvalid.top = (nLine1 - m_nTopLine) * GetLineHeight();
        rcInvalid.bottom = (nLine2 - m_nTopLine + 1) * GetLineHeight();
    }
    rcInvalid.top = std::max(rcInvalid.top, rc.top);
    if (rcInvalid.bottom > rcInvalid.top)
        InvalidateRect(&rcInvalid, FALSE);
}

// --- selection and caret --------------------------------------------------------------------------

void CScriptTextView::PrepareSelBounds()
{
    const bool bOrdered =
        m_ptSelStart.y < m_ptSelEnd.y || (m_ptSelStart.y == m_ptSelEnd.y && m_ptSelStart.x <= m_ptSelEnd.x);
    m_ptDrawSelStart = bOrdered ? m_ptSelStart : m_ptSelEnd;
    m_ptDrawSelEnd = bOrdered ? m_ptSelEnd : m_ptSelStart;
}

BOOL CScriptTextView::IsSelection()
{
    return !SamePoint(m_ptSelStart, m_ptSelEnd);
}

void CScriptTextView::GetSelection(CPoint& ptStart, CPoint& ptEnd)
{
    PrepareSelBounds();
    ptStart = m_ptDrawSelStart;
    ptEnd = m_ptDrawSelEnd;
}

void CScriptTextView::SetSelection(const CPoint& ptStart, const CPoint& ptEnd)
{
    const CPoint oldStart = m_ptSelStart, oldEnd = m_ptSelEnd;
    m_ptSelStart = ptStart;
    m_ptSelEnd = ptEnd;
    if (SamePoint(oldStart, ptStart) && SamePoint(oldEnd, ptEnd))
        return;
    // Repaint the lines whose selection changed.
    const int lo = std::min({oldStart.y, oldEnd.y, ptStart.y, ptEnd.y});
    const int hi = std::max({oldStart.y, oldEnd.y, ptStart.y, ptEnd.y});
    InvalidateLines(lo, hi);
}

void CScriptTextView::SetCursorPos(const CPoint& ptCursorPos)
{
    m_ptCursorPos = ptCursorPos;
    m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    UpdateCaret();
}

BOOL CScriptTextView::IsInsideSelection(const CPoint& pt)
{
    const CPoint& s = m_ptDrawSelStart;
    const CPoint& e = m_ptDrawSelEnd;
    if (pt.y < s.y || pt.y > e.y)
        return FALSE;
    if (pt.y == s.y && pt.x < s.x)
        return FALSE;
    if (pt.y == e.y && pt.x >= e.x)
        return FALSE;
    return TRUE;
}

BOOL CScriptTextView::IsInsideSelBlock(CPoint ptTextPos)
{
    PrepareSelBounds();
    return IsInsideSelection(ptTextPos);
}

void CScriptTextView::UpdateCaret()
{
    if (!m_hWnd)
        return;
    if (m_bFocused && !m_bCursorHidden &&
        CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x) >= m_nOffsetChar)
    {
        CreateSolidCaret(2, GetLineHeight());
        SetCaretPos(TextToClient(m_ptCursorPos));
        ShowCaret();
    }
    else
        HideCaret();
}

void CScriptTextView::EnsureVisible(CPoint pt)
{
    const int nLineCount = GetLineCount();
    pt.y = std::clamp(pt.y, 0, nLineCount - 1);
    const int nScreenLines = std::max(1, GetScreenLines());
    int nNewTopLine = m_nTopLine;
    if (pt.y >= nNewTopLine + nScreenLines)
        nNewTopLine = pt.y - nScreenLines + 1;
    if (pt.y < nNewTopLine)
        nNewTopLine = pt.y;
    nNewTopLine = std::clamp(nNewTopLine, 0, nLineCount - 1);
    if (nNewTopLine != m_nTopLine)
        ScrollToLine(nNewTopLine);

    const int nActualPos = CalculateActualOffset(pt.y, pt.x);
    const int nScreenChars = std::max(1, GetScreenChars());
    int nNewOffset = m_nOffsetChar;
    if (nActualPos >= nNewOffset + nScreenChars)
        nNewOffset = nActualPos - nScreenChars + 1;
    if (nActualPos < nNewOffset)
        nNewOffset = nActualPos;
    nNewOffset = std::clamp(nNewOffset, 0, std::max(0, GetMaxLineLength() - 1));
    if (nNewOffset != m_nOffsetChar)
        ScrollToChar(nNewOffset);
    UpdateCaret();
}

// --- scrolling ------------------------------------------------------------------------------------

void CScriptTextView::ScrollToLine(int nNewTopLine, BOOL bTrackScrollBar)
{
    if (m_nTopLine == nNewTopLine)
        return;
    m_nTopLine = nNewTopLine;
    Invalidate(FALSE);
    UpdateCaret();
    if (bTrackScrollBar)
        RecalcVertScrollBar(TRUE);
    UpdateSiblingScrollPos(FALSE);
}

void CScriptTextView::ScrollToChar(int nNewOffsetChar, BOOL bTrackScrollBar)
{
    if (m_nOffsetChar == nNewOffsetChar)
        return;
    m_nOffsetChar = nNewOffsetChar;
    Invalidate(FALSE);
    UpdateCaret();
    if (bTrackScrollBar)
        RecalcHorzScrollBar(TRUE);
    UpdateSiblingScrollPos(TRUE);
}

void CScriptTextView::RecalcScrollBar(int nBar, BOOL bPositionOnly)
{
    if (!m_hWnd)
        return;
    const bool bVert = nBar == SB_VERT;
    int& nPos = bVert ? m_nTopLine : m_nOffsetChar;
    SCROLLINFO si = {sizeof(si), 0, 0, 0, 0, 0, 0};
    if (bPositionOnly)
    {
        si.fMask = SIF_POS;
        si.nPos = nPos;
    }
    else
    {
        const int nTotal = bVert ? GetLineCount() : GetMaxLineLength();
        const int nPage = bVert ? GetScreenLines() : GetScreenChars();
        // Everything fits: back to the start.
        if (nPage >= nTotal && nPos > 0)
        {
            nPos = 0;
            Invalidate(FALSE);
            UpdateCaret();
        }
        si.fMask = SIF_DISABLENOSCROLL | SIF_PAGE | SIF_POS | SIF_RANGE;
        si.nMin = 0;
        si.nMax = std::max(0, nTotal - 1);
        si.nPage = UINT(nPage);
        si.nPos = nPos;
    }
    SetScrollInfo(nBar, &si);
}

void CScriptTextView::RecalcVertScrollBar(BOOL bPositionOnly)
{
    RecalcScrollBar(SB_VERT, bPositionOnly);
}

void CScriptTextView::RecalcHorzScrollBar(BOOL bPositionOnly)
{
    RecalcScrollBar(SB_HORZ, bPositionOnly);
}

int CScriptTextView::ScrollTarget(int nBar, UINT nSBCode)
{
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(nBar, &si);
    const bool bVert = nBar == SB_VERT;
    const int nCur = bVert ? m_nTopLine : m_nOffsetChar;
    const int nPage = std::max(1, int(si.nPage) - 1);
    const int nLast =
        std::max(0, bVert ? GetLineCount() - GetScreenLines() : GetMaxLineLength() - GetScreenChars());
    int nNew = nCur;
    switch (nSBCode)
    {
    case SB_TOP:
        nNew = 0;
        break;
    case SB_BOTTOM:
        nNew = nLast;
        break;
    case SB_LINEUP:
        nNew = nCur - 1;
        break;
    case SB_LINEDOWN:
        nNew = nCur + 1;
        break;
    case SB_PAGEUP:
        nNew = nCur - nPage;
        break;
    case SB_PAGEDOWN:
        nNew = nCur + nPage;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        nNew = si.nTrackPos;
        break;
    default:
        break;
    }
    return std::clamp(nNew, 0, nLast);
}

void CScriptTextView::OnVScroll(UINT nSBCode, UINT, CWnd*)
{
    ScrollToLine(ScrollTarget(SB_VERT, nSBCode));
}

void CScriptTextView::OnHScroll(UINT nSBCode, UINT, CWnd*)
{
    ScrollToChar(ScrollTarget(SB_HORZ, nSBCode));
}

void CScriptTextView::UpdateSiblingScrollPos(BOOL) {}

void CScriptTextView::OnUpdateSibling(CScriptTextView* pUpdateSource, BOOL bHorz)
{
    if (!pUpdateSource || pUpdateSource == this)
        return;
    if (bHorz)
        ScrollToChar(pUpdateSource->m_nOffsetChar, TRUE);
    else
        ScrollToLine(pUpdateSource->m_nTopLine, TRUE);
}

// --- updates from the buffer ----------------------------------------------------------------------

void CScriptTextView::UpdateView(CScriptBufferClient*, CUpdateContext* pContext, DWORD dwFlags,
                                 int nLineIndex)
{
    if (dwFlags & UPD_RESET)
    {
        ResetView();
        RecalcVertScrollBar();
        RecalcHorzScrollBar();
        return;
    }
    const int nLineCount = GetLineCount();
    if (dwFlags & UPD_ONE_LINE)
    {
        if (m_ParseCookies.size() == size_t(nLineCount) && nLineIndex >= 0)
            std::fill(m_ParseCookies.begin() + nLineIndex, m_ParseCookies.end(), kUnknownCookie);
        else
            m_ParseCookies.assign(size_t(nLineCount), kUnknownCookie);
        if (m_pnActualLineLength.size() == size_t(nLineCount) && nLineIndex >= 0 && nLineIndex < nLineCount)
            m_pnActualLineLength[size_t(nLineIndex)] = -1;
        else
            m_pnActualLineLength.assign(size_t(nLineCount), -1);
    }
    else
    {
        const size_t from = size_t(std::clamp(nLineIndex, 0, nLineCount));
        m_ParseCookies.resize(size_t(nLineCount), kUnknownCookie);
        m_pnActualLineLength.resize(size_t(nLineCount), -1);
        std::fill(m_ParseCookies.begin() + long(std::min(from, m_ParseCookies.size())), m_ParseCookies.end(),
                  kUnknownCookie);
        std::fill(m_pnActualLineLength.begin() + long(std::min(from, m_pnActualLineLength.size())),
                  m_pnActualLineLength.end(), -1);
    }
    InvalidateLines(std::max(nLineIndex, 0), -1, TRUE);

    if (pContext)
    {
        auto fix = [&](CPoint& pt)
        {
            pContext->RecalcPoint(pt);
            pt.y = std::clamp(pt.y, 0, nLineCount - 1);
            pt.x = std::clamp(pt.x, 0, int(GetLineLength(pt.y)));
        };
        fix(m_ptCursorPos);
        fix(m_ptSelStart);
        fix(m_ptSelEnd);
        fix(m_ptAnchor);
        if (m_bDraggingText)
        {
            fix(m_ptDraggedTextBegin);
            fix(m_ptDraggedTextEnd);
        }
        CPoint ptTopLine(0, m_nTopLine);
        pContext->RecalcPoint(ptTopLine);
        m_nTopLine = std::clamp(ptTopLine.y, 0, nLineCount - 1);
        UpdateCaret();
    }
    if (dwFlags & UPD_LINE_COUNT)
        RecalcVertScrollBar();
    if (dwFlags & UPD_LINE_LENGTH)
    {
        m_nMaxLineLength = -1;
        if (!m_bHorzScrollBarLocked)
            RecalcHorzScrollBar();
    }
}

void CScriptTextView::OnEditOperation(int, LPCWSTR) {}

// --- drawing --------------------------------------------------------------------------------------

COLORREF CScriptTextView::GetColor(int nColorIndex)
{
    switch (nColorIndex)
    {
    case COLORINDEX_WHITESPACE:
    case COLORINDEX_BKGND:
        return GetSysColor(COLOR_WINDOW);
    case COLORINDEX_NORMALTEXT:
        return GetSysColor(COLOR_WINDOWTEXT);
    case COLORINDEX_SELMARGIN:
        return GetSysColor(COLOR_SCROLLBAR);
    case COLORINDEX_SELBKGND:
        return RGB(0, 0, 128);
    case COLORINDEX_SELTEXT:
        return RGB(255, 255, 255);
    case COLORINDEX_KEYWORD:
        return RGB(0, 0, 255);
    case COLORINDEX_FUNCNAME:
        return RGB(255, 0, 0);
    case COLORINDEX_COMMENT:
        return RGB(32, 128, 32);
    case COLORINDEX_NUMBER:
        return RGB(160, 0, 0);
    case COLORINDEX_OPERATOR:
        return RGB(0, 0, 0);
    case COLORINDEX_STRING:
        return RGB(255, 0, 0);
    case COLORINDEX_PREPROCESSOR:
        return RGB(0, 128, 192);
    default:
        return RGB(255, 0, 0);
    }
}

void CScriptTextView::GetLineColors(int nLineIndex, COLORREF& crBkgnd, COLORREF& crText,
                                    BOOL& bDrawWhitespace)
{
    const DWORD dwFlags = GetLineFlags(nLineIndex);
    bDrawWhitespace = TRUE;
    crText = RGB(255, 255, 255);
    if (dwFlags & 0x10000)
        crBkgnd = RGB(0, 128, 0);
    else if (dwFlags & 0x20000)
        crBkgnd = RGB(255, 0, 0);
    else if (dwFlags & 0x100000)
        crBkgnd = RGB(128, 128, 0);
    else
    {
        crBkgnd = crText = kNoColor;
        bDrawWhitespace = FALSE;
    }
}

BOOL CScriptTextView::GetBold(int)
{
    return FALSE;
}

BOOL CScriptTextView::GetItalic(int)
{
    return FALSE;
}

HINSTANCE CScriptTextView::GetResourceHandle()
{
    // The editor's own resources, wherever the program's chain points.
    if (HINSTANCE h = AfxGetModuleByName("ScriptEditor"))
        return h;
    return AfxGetResourceHandle();
}

void CScriptTextView::ExpandChars(LPCWSTR pszChars, int nOffset, int nCount, CString& line)
{
    int nCol = 0;
    for (int i = 0; i < nOffset; ++i)
        nCol += pszChars[i] == L'\t' ? m_nTabSize - nCol % m_nTabSize : 1;
    std::wstring out;
    out.reserve(size_t(nCount));
    for (int i = nOffset; i < nOffset + nCount; ++i)
    {
        if (pszChars[i] == L'\t')
        {
            const int n = m_nTabSize - nCol % m_nTabSize;
            out.append(size_t(n), L' ');
            nCol += n;
        }
        else
        {
            // U+0000 and other control characters draw as a blank cell.
            out.push_back(unsigned(pszChars[i]) < 32 ? L' ' : pszChars[i]);
            ++nCol;
        }
    }
    line = CString(std::move(out));
}

void CScriptTextView::DrawLineText(CDC* pdc, CPoint& ptOrigin, const CRect& rcClip, int nColorIndex,
                                   LPCWSTR pszChars, int nOffset, int nCount, int& nCol, int nLineIndex)
{
    // One run of equal colour from column nCol on; the selected part in the selection colours while
    // the view has the focus. Only what the row shows is drawn.
    COLORREF crBk = kNoColor, crText = kNoColor;
    BOOL bWs = FALSE;
    GetLineColors(nLineIndex, crBk, crText, bWs);
    if (crBk == kNoColor)
        crBk = GetColor(COLORINDEX_BKGND);
    const COLORREF crRun = crText != kNoColor ? crText : GetColor(nColorIndex);
    const int nCharWidth = GetCharWidth();
    const int nEnd = nOffset + nCount;
    int i = nOffset;
    // Characters left of the row only count their columns.
    while (i < nEnd && ptOrigin.x + nCharWidth <= rcClip.left)
    {
        const int w = pszChars[i] == L'\t' ? m_nTabSize - nCol % m_nTabSize : 1;
        nCol += w;
        ptOrigin.x += w * nCharWidth;
        ++i;
    }
    while (i < nEnd && ptOrigin.x < rcClip.right)
    {
        const bool bSel = m_bFocused && IsInsideSelection(CPoint(i, nLineIndex));
        std::wstring run;
        while (i < nEnd && (m_bFocused && IsInsideSelection(CPoint(i, nLineIndex))) == bSel &&
               ptOrigin.x + int(run.size()) * nCharWidth < rcClip.right)
        {
            if (pszChars[i] == L'\t')
            {
                const int n = m_nTabSize - nCol % m_nTabSize;
                run.append(size_t(n), L' ');
                nCol += n;
            }
            else
            {
                // U+0000 and other control characters show as a blank cell.
                run.push_back(unsigned(pszChars[i]) < 32 ? L' ' : pszChars[i]);
                ++nCol;
            }
            ++i;
        }
        const int nWidth = int(run.size()) * nCharWidth;
        pdc->FillSolidRect(ptOrigin.x, ptOrigin.y, nWidth, rcClip.Height(),
                           bSel ? GetColor(COLORINDEX_SELBKGND) : crBk);
        pdc->SetTextColor(bSel ? GetColor(COLORINDEX_SELTEXT) : crRun);
        pdc->SetBkMode(TRANSPARENT);
        pdc->TextOut(ptOrigin.x, ptOrigin.y, CString(std::move(run)));
        ptOrigin.x += nWidth;
    }
}

void CScriptTextView::DrawSingleLine(CDC* pdc, const CRect& rc, int nLineIndex)
{
    if (nLineIndex == -1)
    {
        pdc->FillSolidRect(&rc, GetColor(COLORINDEX_WHITESPACE));
        return;
    }
    COLORREF crBk = kNoColor, crText = kNoColor;
    BOOL bWs = FALSE;
    GetLineColors(nLineIndex, crBk, crText, bWs);
    const bool bLineColours = crBk != kNoColor;
    const int nLength = GetLineLength(nLineIndex);
    const LPCWSTR pszChars = GetLineChars(nLineIndex);
    const int nCharWidth = GetCharWidth();
    CPoint origin(rc.left - m_nOffsetChar * nCharWidth, rc.top);
    pdc->SelectObject(GetFont());
    if (nLength > 0)
    {
        std::vector<TEXTBLOCK> blocks;
        const DWORD dwCookie = GetParseCookie(nLineIndex - 1);
        const DWORD dwNext = ParseLine(dwCookie, nLineIndex, &blocks);
        if (m_ParseCookies.size() == size_t(GetLineCount()))
            m_ParseCookies[size_t(nLineIndex)] = dwNext;
        const int nFirst = blocks.empty() ? nLength : std::clamp(blocks[0].m_nCharPos, 0, nLength);
        int nCol = 0;
        if (nFirst > 0)
            DrawLineText(pdc, origin, rc, COLORINDEX_NORMALTEXT, pszChars, 0, nFirst, nCol, nLineIndex);
        for (size_t b = 0; b < blocks.size() && origin.x < rc.right; ++b)
        {
            const int nStart = std::clamp(blocks[b].m_nCharPos, 0, nLength);
            const int nStop =
                b + 1 < blocks.size() ? std::clamp(blocks[b + 1].m_nCharPos, 0, nLength) : nLength;
            if (nStop > nStart)
                DrawLineText(pdc, origin, rc, blocks[b].m_nColorIndex, pszChars, nStart, nStop - nStart, nCol,
                             nLineIndex);
        }
        // The columns of whatever did not fit.
        origin.x = std::max(origin.x, rc.left);
    }
    PrepareSelBounds();
    if (m_bFocused && IsInsideSelection(CPoint(nLength, nLineIndex)))
    {
        const int x = rc.left + (CalculateActualOffset(nLineIndex, nLength) - m_nOffsetChar) * nCharWidth;
        if (x + nCharWidth > rc.left && x < rc.right)
            pdc->FillSolidRect(x, rc.top, nCharWidth, rc.Height(), GetColor(COLORINDEX_SELBKGND));
        origin.x = std::max(origin.x, x + nCharWidth);
    }
    const int x = std::max(origin.x, rc.left);
    if (x < rc.right)
        pdc->FillSolidRect(x, rc.top, rc.right - x, rc.Height(),
                           bLineColours ? crBk : GetColor(COLORINDEX_WHITESPACE));
}

void CScriptTextView::DrawMarginIcon(CDC* pdc, int nImage, int x, int y)
{
    if (!m_pIcons)
    {
        HBITMAP hBitmap = LoadBitmap(GetResourceHandle(), MAKEINTRESOURCE(IDB_SCRIPT_MARGIN_ICONS));
        if (const QImage* pImage = hBitmap ? AfxGetBitmapImage(hBitmap) : nullptr)
        {
            // White is the mask colour.
            QImage img = pImage->convertToFormat(QImage::Format_ARGB32);
            for (int yy = 0; yy < img.height(); ++yy)
            {
                auto* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
                for (int xx = 0; xx < img.width(); ++xx)
                    if ((line[xx] & 0xFFFFFF) == 0xFFFFFF)
                        line[xx] = 0;
            }
            m_pIcons = std::make_unique<QImage>(img);
        }
        else
            m_pIcons = std::make_unique<QImage>();
        if (hBitmap)
            ::DeleteObject(hBitmap);
    }
    if (QPainter* p = pdc->GetPainter(); p && !m_pIcons->isNull())
        p->drawImage(QPoint(x, y), *m_pIcons, QRect(nImage * 16, 0, 16, 16));
}

void CScriptTextView::DrawMargin(CDC* pdc, const CRect& rect, int nLineIndex)
{
    pdc->FillSolidRect(&rect, GetColor(COLORINDEX_SELMARGIN));
    if (nLineIndex < 0)
        return;
    const DWORD dwFlags = GetLineFlags(nLineIndex);
    for (int i = 0; i < int(std::size(kMarkFlags)); ++i)
        if (dwFlags & kMarkFlags[i])
        {
            DrawMarginIcon(pdc, i, rect.left + 2, rect.top + (rect.Height() - 16) / 2);
            break;
        }
}

void CScriptTextView::OnDraw(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nLineCount = GetLineCount();
    const int nLineHeight = GetLineHeight();
    PrepareSelBounds();

    CDC cacheDC;
    cacheDC.CreateCompatibleDC(pDC);
    if (!m_pCacheBitmap)
    {
        m_pCacheBitmap = std::make_unique<CBitmap>();
        m_pCacheBitmap->CreateCompatibleBitmap(pDC, std::max(1, rcClient.Width()), nLineHeight);
    }
    CBitmap* pOldBitmap = cacheDC.SelectObject(m_pCacheBitmap.get());

    CRect rcLine = rcClient;
    rcLine.bottom = rcLine.top + nLineHeight;
    const CRect rcCacheMargin(0, 0, GetMarginWidth(), nLineHeight);
    const CRect rcCacheLine(GetMarginWidth(), 0, rcLine.Width(), nLineHeight);
    int nCurrentLine = m_nTopLine;
    while (rcLine.top < rcClient.bottom)
    {
        if (pDC->RectVisible(&rcLine))
        {
            const int nLine = nCurrentLine < nLineCount ? nCurrentLine : -1;
            DrawMargin(&cacheDC, rcCacheMargin, nLine);
            DrawSingleLine(&cacheDC, rcCacheLine, nLine);
            pDC->BitBlt(rcLine.left, rcLine.top, rcLine.Width(), rcLine.Height(), &cacheDC, 0, 0, SRCCOPY);
        }
        ++nCurrentLine;
        rcLine.OffsetRect(0, nLineHeight);
    }
    cacheDC.SelectObject(pOldBitmap);
}

// --- window ---------------------------------------------------------------------------------------

BOOL CScriptTextView::PreCreateWindow(CREATESTRUCT& cs)
{
    // No splitter here: the view carries its own bars.
    cs.style |= WS_HSCROLL | WS_VSCROLL;
    return CView::PreCreateWindow(cs);
}

QWidget* CScriptTextView::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    if ((cs.style & WS_CHILD) && (cs.style & (WS_HSCROLL | WS_VSCROLL)))
        return AfxCreateScrollBarHost(pParentWidget);
    return CView::CreateWidget(cs, pParentWidget);
}

int CScriptTextView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    std::memset(&m_lfBaseFont, 0, sizeof(m_lfBaseFont));
    std::wcscpy(m_lfBaseFont.lfFaceName, L"FixedSys");
    m_lfBaseFont.lfHeight = 0;
    m_lfBaseFont.lfWeight = FW_NORMAL;
    m_lfBaseFont.lfCharSet = DEFAULT_CHARSET;
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_hAccel = LoadAccelerators(GetResourceHandle(), MAKEINTRESOURCE(IDR_SCRIPT_ACCEL));
    if (QWidget* client = GetClientWidget())
    {
        client->setFocusPolicy(Qt::NoFocus);
        client->setCursor(Qt::IBeamCursor);
    }
    return 0;
}

void CScriptTextView::OnDestroy()
{
    DetachFromBuffer();
    for (auto& f : m_apFonts)
        f.reset();
    m_pCacheBitmap.reset();
    if (m_nDragSelTimer)
        KillTimer(m_nDragSelTimer);
    m_nDragSelTimer = 0;
    HideCaret();
    CView::OnDestroy();
}

void CScriptTextView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    AttachToBuffer(nullptr);
}

BOOL CScriptTextView::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccel &&
        ::TranslateAccelerator(m_hWnd, m_hAccel, pMsg))
        return TRUE;
    return CView::PreTranslateMessage(pMsg);
}

void CScriptTextView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    m_pCacheBitmap.reset();
    m_nScreenLines = m_nScreenChars = -1;
    RecalcVertScrollBar();
    RecalcHorzScrollBar();
}

void CScriptTextView::OnSysColorChange()
{
    Invalidate();
}

void CScriptTextView::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
    m_bFocused = TRUE;
    if (!SamePoint(m_ptSelStart, m_ptSelEnd))
        InvalidateLines(m_ptSelStart.y, m_ptSelEnd.y);
    UpdateCaret();
}

void CScriptTextView::OnKillFocus(CWnd* pNewWnd)
{
    CView::OnKillFocus(pNewWnd);
    m_bFocused = FALSE;
    UpdateCaret();
    if (!SamePoint(m_ptSelStart, m_ptSelEnd))
        InvalidateLines(m_ptSelStart.y, m_ptSelEnd.y);
    if (m_bDragSelection)
    {
        KillTimer(m_nDragSelTimer);
        m_nDragSelTimer = 0;
        m_bDragSelection = FALSE;
    }
}

void CScriptTextView::SetMarginCursor(const CPoint& point)
{
    QWidget* client = GetClientWidget();
    if (!client)
        return;
    if (point.x < GetMarginWidth())
        client->setCursor(Qt::PointingHandCursor);
    else
    {
        CPoint pt = point;
        AdjustTextPoint(pt);
        client->setCursor(IsInsideSelBlock(ClientToText(pt)) ? Qt::ArrowCursor : Qt::IBeamCursor);
    }
}

BOOL CScriptTextView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    return CView::OnSetCursor(pWnd, nHitTest, message);
}
