#include "ScriptTextBuffer.h"

#include "mfc/Exceptions.h"
#include "mfc/File.h"
#include "win32/Files.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

IMPLEMENT_DYNCREATE(CScriptTextBuffer, CCmdTarget)

BEGIN_MESSAGE_MAP(CScriptTextBuffer, CCmdTarget)
END_MESSAGE_MAP()

namespace
{
const wchar_t* const kLineEnds[] = {L"\r\n", L"\n\r", L"\n"};
constexpr size_t kLoadBlock = 32768;

const wchar_t* LineEndOf(int style)
{
    return kLineEnds[(style >= 0 && style <= 2) ? style : 0];
}
} // namespace

// --- update contexts ------------------------------------------------------------------------------

void CInsertContext::RecalcPoint(CPoint& pt)
{
    if (pt.y < m_ptStart.y)
        return;
    if (pt.y > m_ptStart.y)
    {
        pt.y += m_ptEnd.y - m_ptStart.y;
        return;
    }
    if (pt.x <= m_ptStart.x)
        return;
    pt.y += m_ptEnd.y - m_ptStart.y;
    pt.x = m_ptEnd.x + (pt.x - m_ptStart.x);
}

void CDeleteContext::RecalcPoint(CPoint& pt)
{
    if (pt.y < m_ptStart.y)
        return;
    if (pt.y > m_ptEnd.y)
    {
        pt.y -= m_ptEnd.y - m_ptStart.y;
        return;
    }
    if (pt.y == m_ptEnd.y && pt.x >= m_ptEnd.x)
    {
        pt.y = m_ptStart.y;
        pt.x = m_ptStart.x + (pt.x - m_ptEnd.x);
        return;
    }
    if (pt.y == m_ptStart.y)
    {
        if (pt.x > m_ptStart.x)
            pt.x = m_ptStart.x;
        return;
    }
    pt = m_ptStart;
}

// --- buffer ---------------------------------------------------------------------------------------

CScriptTextBuffer::CScriptTextBuffer() = default;

CScriptTextBuffer::~CScriptTextBuffer() = default;

void CScriptTextBuffer::CheckLine(int nLine) const
{
    if (nLine < 0 || nLine >= GetLineCount())
        AfxThrowInvalidArgException();
}

int CScriptTextBuffer::GetLineLength(int nLine) const
{
    CheckLine(nLine);
    return int(m_aLines[size_t(nLine)].m_chars.size());
}

LPCWSTR CScriptTextBuffer::GetLineChars(int nLine) const
{
    CheckLine(nLine);
    return m_aLines[size_t(nLine)].m_chars.c_str();
}

DWORD CScriptTextBuffer::GetLineFlags(int nLine) const
{
    CheckLine(nLine);
    return m_aLines[size_t(nLine)].m_dwFlags;
}

bool CScriptTextBuffer::ValidPoint(int nLine, int nChar) const
{
    return nLine >= 0 && nLine < GetLineCount() && nChar >= 0 && nChar <= GetLineLength(nLine);
}

void CScriptTextBuffer::GetTextRange(int nStartLine, int nStartChar, int nEndLine, int nEndChar,
                                     CString& text, LPCWSTR pszCRLF) const
{
    CheckLine(nStartLine);
    CheckLine(nEndLine);
    const std::wstring eol = pszCRLF ? pszCRLF : L"\r\n";
    std::wstring out;
    for (int l = nStartLine; l <= nEndLine; ++l)
    {
        const std::wstring& s = m_aLines[size_t(l)].m_chars;
        const size_t from = l == nStartLine ? std::min(size_t(std::max(nStartChar, 0)), s.size()) : 0;
        const size_t to = l == nEndLine ? std::min(size_t(std::max(nEndChar, 0)), s.size()) : s.size();
        if (to > from)
            out.append(s, from, to - from);
        if (l != nEndLine)
            out += eol;
    }
    text = CString(std::move(out));
}

static bool IsSingleBit(DWORD dw)
{
    return dw != 0 && (dw & (dw - 1)) == 0;
}

int CScriptTextBuffer::FindFlaggedLine(DWORD dwFlag) const
{
    if (!IsSingleBit(dwFlag))
        return -1;
    for (size_t i = 0; i < m_aLines.size(); ++i)
        if (m_aLines[i].m_dwFlags & dwFlag)
            return int(i);
    return -1;
}

void CScriptTextBuffer::SetLineFlag(int nLine, DWORD dwFlag, BOOL bSet, BOOL bRemoveFromPreviousLine)
{
    if (!IsSingleBit(dwFlag))
        return;
    if (nLine == -1)
    {
        nLine = FindFlaggedLine(dwFlag);
        if (nLine == -1)
            return;
        bRemoveFromPreviousLine = FALSE;
    }
    CheckLine(nLine);
    const DWORD dwOld = m_aLines[size_t(nLine)].m_dwFlags;
    const DWORD dwNew = bSet ? (dwOld | dwFlag) : (dwOld & ~dwFlag);
    if (dwNew == dwOld)
        return;
    if (bRemoveFromPreviousLine && bSet)
    {
        const int nPrev = FindFlaggedLine(dwFlag);
        if (nPrev >= 0)
        {
            m_aLines[size_t(nPrev)].m_dwFlags &= ~dwFlag;
            NotifyViews(nullptr, nullptr, UPD_ONE_LINE | UPD_FLAGS_ONLY, nPrev);
        }
    }
    m_aLines[size_t(nLine)].m_dwFlags = dwNew;
    NotifyViews(nullptr, nullptr, UPD_ONE_LINE | UPD_FLAGS_ONLY, nLine);
}

int CScriptTextBuffer::FindNextMarkedLine(int nLine) const
{
    const int n = GetLineCount();
    if (n == 0)
        return -1;
    nLine = std::clamp(nLine, 0, n - 1);
    int i = (m_aLines[size_t(nLine)].m_dwFlags & LF_BOOKMARKS) ? nLine + 1 : nLine;
    for (int k = 0; k < n; ++k, ++i)
    {
        if (i >= n)
            i = 0;
        if (m_aLines[size_t(i)].m_dwFlags & LF_BOOKMARKS)
            return i;
    }
    return -1;
}

int CScriptTextBuffer::FindPrevMarkedLine(int nLine) const
{
    const int n = GetLineCount();
    if (n == 0)
        return -1;
    nLine = std::clamp(nLine, 0, n - 1);
    int i = (m_aLines[size_t(nLine)].m_dwFlags & LF_BOOKMARKS) ? nLine - 1 : nLine;
    for (int k = 0; k < n; ++k, --i)
    {
        if (i < 0)
            i = n - 1;
        if (m_aLines[size_t(i)].m_dwFlags & LF_BOOKMARKS)
            return i;
    }
    return -1;
}

int CScriptTextBuffer::GetLineWidthInBytes(int nLine) const
{
    CheckLine(nLine);
    int n = 0;
    for (wchar_t c : m_aLines[size_t(nLine)].m_chars)
        n += (unsigned(c) < 128) ? 1 : 2;
    return n;
}

// --- editing without history ----------------------------------------------------------------------

BOOL CScriptTextBuffer::InternalInsertText(CScriptBufferClient* pSource, int nLine, int nPos,
                                           const wchar_t* pszText, size_t nLength, int& nEndLine,
                                           int& nEndChar)
{
    if (m_bReadOnly || !ValidPoint(nLine, nPos))
        return FALSE;
    std::wstring& first = m_aLines[size_t(nLine)].m_chars;
    std::wstring tail = first.substr(size_t(nPos));
    first.resize(size_t(nPos));

    std::vector<SLineInfo> added;
    std::wstring* pCur = &first;
    for (size_t i = 0; i < nLength;)
    {
        size_t j = i;
        while (j < nLength && pszText[j] != L'\r')
            ++j;
        pCur->append(pszText + i, j - i);
        if (j >= nLength)
            break;
        ++j; // the carriage return
        if (j < nLength && pszText[j] == L'\n')
            ++j;
        added.emplace_back();
        pCur = &added.back().m_chars;
        i = j;
        if (i == nLength)
            break;
    }
    const int nAdded = int(added.size());
    nEndLine = nLine + nAdded;
    nEndChar = int(pCur->size());
    pCur->append(tail);
    if (nAdded)
        m_aLines.insert(m_aLines.begin() + nLine + 1, std::make_move_iterator(added.begin()),
                        std::make_move_iterator(added.end()));

    CInsertContext context;
    context.m_ptStart = CPoint(nPos, nLine);
    context.m_ptEnd = CPoint(nEndChar, nEndLine);
    if (nAdded == 0)
        NotifyViews(pSource, &context, UPD_ONE_LINE | UPD_LINE_LENGTH, nLine);
    else
        NotifyViews(pSource, &context, UPD_LINE_LENGTH | UPD_LINE_COUNT, nLine);
    if (!m_bModified)
        SetModified(TRUE);
    return TRUE;
}

BOOL CScriptTextBuffer::InternalDeleteText(CScriptBufferClient* pSource, int nStartLine, int nStartPos,
                                           int nEndLine, int nEndPos)
{
    if (m_bReadOnly || !ValidPoint(nStartLine, nStartPos) || !ValidPoint(nEndLine, nEndPos))
        return FALSE;
    if (nStartLine > nEndLine || (nStartLine == nEndLine && nStartPos > nEndPos))
        return FALSE;
    CDeleteContext context;
    context.m_ptStart = CPoint(nStartPos, nStartLine);
    context.m_ptEnd = CPoint(nEndPos, nEndLine);
    if (nStartLine == nEndLine)
    {
        m_aLines[size_t(nStartLine)].m_chars.erase(size_t(nStartPos), size_t(nEndPos - nStartPos));
        NotifyViews(pSource, &context, UPD_ONE_LINE | UPD_LINE_LENGTH, nStartLine);
    }
    else
    {
        std::wstring kept = m_aLines[size_t(nEndLine)].m_chars.substr(size_t(nEndPos));
        m_aLines.erase(m_aLines.begin() + nStartLine + 1, m_aLines.begin() + nEndLine + 1);
        std::wstring& s = m_aLines[size_t(nStartLine)].m_chars;
        s.resize(size_t(nStartPos));
        s += kept;
        NotifyViews(pSource, &context, UPD_LINE_LENGTH | UPD_LINE_COUNT, nStartLine);
    }
    if (!m_bModified)
        SetModified(TRUE);
    return TRUE;
}

// --- editing with history -------------------------------------------------------------------------

BOOL CScriptTextBuffer::InsertText(CScriptBufferClient* pSource, int nLine, int nPos, LPCWSTR pszText,
                                   int& nEndLine, int& nEndChar, int nAction)
{
    return InsertText(pSource, nLine, nPos, std::wstring(pszText ? pszText : L""), nEndLine, nEndChar,
                      nAction);
}

BOOL CScriptTextBuffer::InsertText(CScriptBufferClient* pSource, int nLine, int nPos,
                                   const std::wstring& text, int& nEndLine, int& nEndChar, int nAction)
{
    if (nLine == -1 && nPos == -1 && GetLineCount() > 0)
    {
        nLine = GetLineCount() - 1;
        nPos = GetLineLength(nLine);
    }
    // Nothing to insert is no change and no step of the history.
    if (text.empty())
    {
        if (m_bReadOnly || !ValidPoint(nLine, nPos))
            return FALSE;
        nEndLine = nLine;
        nEndChar = nPos;
        return TRUE;
    }
    if (!InternalInsertText(pSource, nLine, nPos, text.data(), text.size(), nEndLine, nEndChar))
        return FALSE;
    const BOOL bGroupOpened = !m_bUndoGroup;
    if (bGroupOpened)
        OpenUndoGroup(FALSE);
    AddUndoRecord(TRUE, CPoint(nPos, nLine), CPoint(nEndChar, nEndLine), text, nAction);
    if (bGroupOpened)
        CloseUndoGroup(pSource);
    return TRUE;
}

BOOL CScriptTextBuffer::DeleteText(CScriptBufferClient* pSource, int nStartLine, int nStartChar, int nEndLine,
                                   int nEndChar, int nAction)
{
    if (m_bReadOnly || !ValidPoint(nStartLine, nStartChar) || !ValidPoint(nEndLine, nEndChar))
        return FALSE;
    CString text;
    GetTextRange(nStartLine, nStartChar, nEndLine, nEndChar, text);
    if (!InternalDeleteText(pSource, nStartLine, nStartChar, nEndLine, nEndChar))
        return FALSE;
    const BOOL bGroupOpened = !m_bUndoGroup;
    if (bGroupOpened)
        OpenUndoGroup(FALSE);
    AddUndoRecord(FALSE, CPoint(nStartChar, nStartLine), CPoint(nEndChar, nEndLine), text.str(), nAction);
    if (bGroupOpened)
        CloseUndoGroup(pSource);
    return TRUE;
}

void CScriptTextBuffer::AddUndoRecord(BOOL bInsert, const CPoint& ptStartPos, const CPoint& ptEndPos,
                                      const std::wstring& text, int nAction)
{
    if (m_nUndoPosition < int(m_aUndoBuf.size()))
    {
        m_aUndoBuf.erase(m_aUndoBuf.begin() + m_nUndoPosition, m_aUndoBuf.end());
        // The state the file holds was in the tail just cut: no undo can reach it again.
        if (m_nSyncPosition > m_nUndoPosition)
            m_nSyncPosition = -1;
    }
    if (int(m_aUndoBuf.size()) >= m_nUndoBufSize && !m_aUndoBuf.empty())
    {
        size_t nGroupEnd = 1;
        while (nGroupEnd < m_aUndoBuf.size() && !(m_aUndoBuf[nGroupEnd].m_dwFlags & UNDO_BEGINGROUP))
            ++nGroupEnd;
        // The group being collected is never dropped, however long it grows: its undo must be whole.
        const bool bOldestIsOpen = m_bUndoGroup && !m_bUndoBeginGroup && nGroupEnd == m_aUndoBuf.size();
        if (!bOldestIsOpen)
        {
            m_aUndoBuf.erase(m_aUndoBuf.begin(), m_aUndoBuf.begin() + long(nGroupEnd));
            m_nUndoPosition -= int(nGroupEnd);
            if (m_nUndoGroupStart >= 0)
                m_nUndoGroupStart = std::max(0, m_nUndoGroupStart - int(nGroupEnd));
            if (m_nSyncPosition >= 0)
            {
                m_nSyncPosition -= int(nGroupEnd);
                if (m_nSyncPosition < 0)
                    m_nSyncPosition = -1;
            }
        }
    }
    SUndoRecord rec;
    rec.m_dwFlags = bInsert ? UNDO_INSERT : 0;
    if (m_bUndoBeginGroup || m_aUndoBuf.empty())
    {
        rec.m_dwFlags |= UNDO_BEGINGROUP;
        m_bUndoBeginGroup = FALSE;
    }
    rec.m_ptStartPos = ptStartPos;
    rec.m_ptEndPos = ptEndPos;
    rec.m_nAction = nAction;
    rec.m_text = text;
    m_aUndoBuf.push_back(std::move(rec));
    m_nUndoPosition = int(m_aUndoBuf.size());
}

void CScriptTextBuffer::OpenUndoGroup(BOOL bMergeWithPrevious)
{
    m_bUndoGroup = TRUE;
    m_bUndoBeginGroup = m_nUndoPosition == 0 || !bMergeWithPrevious;
    m_nUndoGroupStart = m_nUndoPosition;
}

void CScriptTextBuffer::CloseUndoGroup(CScriptBufferClient* pSource)
{
    // A command that changed nothing (an empty paste, a drop onto itself) must not replay the record
    // before it: a typed line end there would indent the caret line again.
    const bool bAdded = m_nUndoGroupStart < 0 || m_nUndoPosition > m_nUndoGroupStart;
    m_nUndoGroupStart = -1;
    if (pSource && m_nUndoPosition > 0)
    {
        m_bUndoBeginGroup = TRUE;
        if (bAdded)
        {
            const SUndoRecord& rec = m_aUndoBuf[size_t(m_nUndoPosition - 1)];
            const std::wstring text = rec.m_text;
            pSource->OnEditOperation(rec.m_nAction, text.c_str());
        }
    }
    m_bUndoGroup = FALSE;
}

void CScriptTextBuffer::SyncModified()
{
    if (m_bModified && m_nUndoPosition == m_nSyncPosition)
        SetModified(FALSE);
    else if (!m_bModified && m_nUndoPosition != m_nSyncPosition)
        SetModified(TRUE);
}

BOOL CScriptTextBuffer::Undo(CPoint& ptCursorPos)
{
    if (!CanUndo() || m_bReadOnly)
        return FALSE;
    while (m_nUndoPosition > 0)
    {
        --m_nUndoPosition;
        const SUndoRecord rec = m_aUndoBuf[size_t(m_nUndoPosition)];
        if (rec.m_dwFlags & UNDO_INSERT)
        {
            InternalDeleteText(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, rec.m_ptEndPos.y,
                               rec.m_ptEndPos.x);
            ptCursorPos = rec.m_ptStartPos;
        }
        else
        {
            int nEndLine = 0, nEndChar = 0;
            InternalInsertText(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, rec.m_text.data(),
                               rec.m_text.size(), nEndLine, nEndChar);
            ptCursorPos = rec.m_ptEndPos;
        }
        if (rec.m_dwFlags & UNDO_BEGINGROUP)
            break;
    }
    SyncModified();
    return TRUE;
}

BOOL CScriptTextBuffer::Redo(CPoint& ptCursorPos)
{
    if (!CanRedo() || m_bReadOnly)
        return FALSE;
    for (;;)
    {
        const SUndoRecord rec = m_aUndoBuf[size_t(m_nUndoPosition)];
        if (rec.m_dwFlags & UNDO_INSERT)
        {
            int nEndLine = 0, nEndChar = 0;
            InternalInsertText(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, rec.m_text.data(),
                               rec.m_text.size(), nEndLine, nEndChar);
            ptCursorPos = rec.m_ptEndPos;
        }
        else
        {
            InternalDeleteText(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, rec.m_ptEndPos.y,
                               rec.m_ptEndPos.x);
            ptCursorPos = rec.m_ptStartPos;
        }
        ++m_nUndoPosition;
        if (m_nUndoPosition >= int(m_aUndoBuf.size()) ||
            (m_aUndoBuf[size_t(m_nUndoPosition)].m_dwFlags & UNDO_BEGINGROUP))
            break;
    }
    SyncModified();
    return TRUE;
}

BOOL CScriptTextBuffer::GetUndoDescription(CString& desc) const
{
    if (!CanUndo())
        return FALSE;
    int i = m_nUndoPosition - 1;
    while (i > 0 && !(m_aUndoBuf[size_t(i)].m_dwFlags & UNDO_BEGINGROUP))
        --i;
    if (!GetActionDescription(m_aUndoBuf[size_t(i)].m_nAction, desc))
        desc.Empty();
    return TRUE;
}

BOOL CScriptTextBuffer::GetRedoDescription(CString& desc) const
{
    if (!CanRedo())
        return FALSE;
    if (!GetActionDescription(m_aUndoBuf[size_t(m_nUndoPosition)].m_nAction, desc))
        desc.Empty();
    return TRUE;
}

BOOL CScriptTextBuffer::GetActionDescription(int, CString& desc) const
{
    desc = L"Code Changed";
    return TRUE;
}

void CScriptTextBuffer::SetModified(BOOL bModified)
{
    m_bModified = bModified;
}

// --- views ----------------------------------------------------------------------------------------

void CScriptTextBuffer::AttachView(CScriptBufferClient* pView)
{
    m_lpViews.push_back(pView);
}

void CScriptTextBuffer::DetachView(CScriptBufferClient* pView)
{
    auto it = std::find(m_lpViews.begin(), m_lpViews.end(), pView);
    if (it != m_lpViews.end())
        m_lpViews.erase(it);
}

void CScriptTextBuffer::NotifyViews(CScriptBufferClient* pSource, CUpdateContext* pContext,
                                    DWORD dwUpdateFlags, int nLineIndex)
{
    // A view may detach while being told; walk a copy.
    const std::list<CScriptBufferClient*> views = m_lpViews;
    for (CScriptBufferClient* pView : views)
        pView->UpdateView(pSource, pContext, dwUpdateFlags, nLineIndex);
}

// --- whole text -----------------------------------------------------------------------------------

void CScriptTextBuffer::ResetState(int nCrlfStyle)
{
    m_nCRLFMode = (nCrlfStyle >= 0 && nCrlfStyle <= 2) ? nCrlfStyle : 0;
    m_bInit = TRUE;
    m_bModified = FALSE;
    m_bUndoGroup = m_bUndoBeginGroup = FALSE;
    m_nUndoBufSize = UNDO_BUF_SIZE;
    m_aUndoBuf.clear();
    m_nUndoPosition = m_nSyncPosition = 0;
}

BOOL CScriptTextBuffer::InitEmpty(int nCrlfStyle)
{
    m_aLines.assign(1, SLineInfo());
    m_bReadOnly = FALSE;
    ResetState(nCrlfStyle);
    NotifyViews(nullptr, nullptr, UPD_RESET, -1);
    return TRUE;
}

BOOL CScriptTextBuffer::SplitFileText(const std::string& bytes, int& nCrlfStyle,
                                      std::vector<std::wstring>& lines)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    if (n < 2 || !((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF)))
        return FALSE;
    const bool bBigEndian = p[0] == 0xFE;
    // Code units into characters: a surrogate pair becomes one character, a lone half stays as it is.
    std::wstring text;
    text.reserve((n - 2) / 2);
    for (size_t i = 2; i + 1 < n; i += 2)
    {
        unsigned u = bBigEndian ? (unsigned(p[i]) << 8 | p[i + 1]) : (unsigned(p[i + 1]) << 8 | p[i]);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < n)
        {
            const unsigned v =
                bBigEndian ? (unsigned(p[i + 2]) << 8 | p[i + 3]) : (unsigned(p[i + 3]) << 8 | p[i + 2]);
            if (v >= 0xDC00 && v < 0xE000)
            {
                u = 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00);
                i += 2;
            }
        }
        text.push_back(wchar_t(u));
    }

    if (nCrlfStyle < 0 || nCrlfStyle > 2)
    {
        // Decided on the first block read, as the reader sees it.
        const size_t nFirst = std::min(text.size(), (kLoadBlock - 2) / 2);
        const size_t lf = text.find(L'\n');
        if (lf == std::wstring::npos || lf >= nFirst)
            nCrlfStyle = 0;
        else if (lf > 0 && text[lf - 1] == L'\r')
            nCrlfStyle = 0;
        else if (lf + 1 < text.size() && text[lf + 1] == L'\r')
            nCrlfStyle = 1;
        else
            nCrlfStyle = 2;
    }
    const std::wstring eol = LineEndOf(nCrlfStyle);
    lines.clear();
    std::wstring cur;
    size_t nMatch = 0;
    for (wchar_t c : text)
    {
        cur.push_back(c);
        if (c == eol[nMatch])
        {
            if (++nMatch == eol.size())
            {
                cur.resize(cur.size() - eol.size());
                lines.push_back(std::move(cur));
                cur.clear();
                nMatch = 0;
            }
        }
        else
            nMatch = 0;
    }
    lines.push_back(std::move(cur));
    return TRUE;
}

BOOL CScriptTextBuffer::LoadFile(LPCWSTR pszFileName, int nCrlfStyle)
{
    const DWORD dwAttr = GetFileAttributesW(pszFileName);
    if (dwAttr == INVALID_FILE_ATTRIBUTES || (dwAttr & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    std::string bytes;
    CFile file;
    if (!file.Open(pszFileName, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    try
    {
        std::vector<char> block(kLoadBlock);
        for (;;)
        {
            const UINT nRead = file.Read(block.data(), UINT(block.size()));
            bytes.append(block.data(), nRead);
            if (nRead < block.size())
                break;
        }
        file.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
    std::vector<std::wstring> texts;
    if (!SplitFileText(bytes, nCrlfStyle, texts))
        return FALSE;
    m_aLines.clear();
    m_aLines.resize(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        m_aLines[i].m_chars = std::move(texts[i]);
    m_bReadOnly = (dwAttr & FILE_ATTRIBUTE_READONLY) != 0;
    ResetState(nCrlfStyle);
    NotifyViews(nullptr, nullptr, UPD_RESET, -1);
    return TRUE;
}

namespace
{
void PutUnit(std::string& out, unsigned u)
{
    out.push_back(char(u & 0xFF));
    out.push_back(char((u >> 8) & 0xFF));
}

void PutText(std::string& out, const std::wstring& s)
{
    for (wchar_t wc : s)
    {
        const unsigned c = unsigned(wc);
        if (c > 0x10FFFF)
            PutUnit(out, 0xFFFD);
        else if (c >= 0x10000)
        {
            PutUnit(out, 0xD800 + ((c - 0x10000) >> 10));
            PutUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
        }
        else
            PutUnit(out, c);
    }
}
} // namespace

BOOL CScriptTextBuffer::SaveFile(LPCWSTR pszFileName, int nCrlfStyle, BOOL bClearModifiedFlag)
{
    if (!pszFileName || !*pszFileName)
        return FALSE;
    std::wstring target = pszFileName;
    const size_t slash = target.find_last_of(L"/\\");
    const std::wstring folder =
        slash == std::wstring::npos ? std::wstring(L".") : target.substr(0, slash + 1);
    wchar_t szTemp[MAX_PATH + 1] = {};
    if (GetTempFileNameW(folder.c_str(), L"CRE", 0, szTemp) == 0)
        return FALSE;

    std::string bytes = "\xFF\xFE";
    const std::wstring eol = LineEndOf(nCrlfStyle == -1 ? m_nCRLFMode : nCrlfStyle);
    for (size_t i = 0; i < m_aLines.size(); ++i)
    {
        PutText(bytes, m_aLines[i].m_chars);
        if (i + 1 < m_aLines.size())
            PutText(bytes, eol);
    }
    bool bWritten = false;
    {
        CFile file;
        if (file.Open(szTemp, CFile::modeCreate | CFile::modeWrite))
        {
            try
            {
                for (size_t off = 0; off < bytes.size(); off += kLoadBlock)
                    file.Write(bytes.data() + off, UINT(std::min(kLoadBlock, bytes.size() - off)));
                file.Close();
                bWritten = true;
            }
            catch (CException* e)
            {
                e->Delete();
            }
        }
    }
    if (!bWritten)
    {
        DeleteFileW(szTemp);
        return FALSE;
    }
    // A rename replaces the target in one step; when it fails the temporary file keeps the new text.
    if (!MoveFileExW(szTemp, pszFileName, MOVEFILE_REPLACE_EXISTING))
        return FALSE;
    if (bClearModifiedFlag)
    {
        SetModified(FALSE);
        m_nSyncPosition = m_nUndoPosition;
    }
    return TRUE;
}

void CScriptTextBuffer::Clear()
{
    m_aLines.clear();
    m_aUndoBuf.clear();
    m_nUndoPosition = 0;
    m_nSyncPosition = 0;
    m_bInit = FALSE;
}
