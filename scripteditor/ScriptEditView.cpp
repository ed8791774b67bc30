#include "ScriptEditView.h"

#include "mfc/Clipboard.h"
#include "mfc/CmdUI.h"
#include "mfc/ResourceModule.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <cwctype>

IMPLEMENT_DYNCREATE(CScriptEditView, CScriptTextView)

BEGIN_MESSAGE_MAP(CScriptEditView, CScriptTextView)
ON_COMMAND(ID_EDIT_PASTE, &CScriptEditView::OnEditPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CScriptEditView::OnUpdateEditPaste)
ON_COMMAND(ID_EDIT_CUT, &CScriptEditView::OnEditCut)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &CScriptEditView::OnUpdateEditCut)
ON_COMMAND(ID_EDIT_DELETE, &CScriptEditView::OnEditDelete)
ON_WM_CHAR()
ON_COMMAND(ID_EDIT_DELETE_BACK, &CScriptEditView::OnEditDeleteBack)
ON_COMMAND(ID_EDIT_UNTAB, &CScriptEditView::OnEditUntab)
ON_COMMAND(ID_EDIT_TAB, &CScriptEditView::OnEditTab)
ON_COMMAND(ID_EDIT_SWITCH_OVRMODE, &CScriptEditView::OnEditSwitchOvrmode)
ON_UPDATE_COMMAND_UI(ID_EDIT_SWITCH_OVRMODE, &CScriptEditView::OnUpdateEditSwitchOvrmode)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_COMMAND(ID_EDIT_REPLACE, &CScriptEditView::OnEditReplace)
ON_COMMAND(ID_EDIT_UNDO, &CScriptEditView::OnEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, &CScriptEditView::OnUpdateEditUndo)
ON_COMMAND(ID_EDIT_REDO, &CScriptEditView::OnEditRedo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, &CScriptEditView::OnUpdateEditRedo)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_OVR, &CScriptEditView::OnUpdateIndicatorOvr)
END_MESSAGE_MAP()

CScriptEditView::CScriptEditView() = default;
CScriptEditView::~CScriptEditView() = default;

void CScriptEditView::ResetView()
{
    m_bOvrMode = FALSE;
    m_bAutoIndent = TRUE;
    CScriptTextView::ResetView();
}

BOOL CScriptEditView::QueryEditable()
{
    return m_pTextBuffer && !m_pTextBuffer->IsReadOnly();
}

DROPEFFECT CScriptEditView::GetDropEffect()
{
    return DROPEFFECT_COPY | DROPEFFECT_MOVE;
}

void CScriptEditView::UpdateView(CScriptBufferClient* pSource, CUpdateContext* pContext, DWORD dwFlags,
                                 int nLineIndex)
{
    CScriptTextView::UpdateView(pSource, pContext, dwFlags, nLineIndex);
}

int CScriptEditView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CScriptTextView::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pDropTarget = std::make_unique<CEditDropTargetImpl>(this);
    if (!m_pDropTarget->Register(this))
        m_pDropTarget.reset();
    return 0;
}

void CScriptEditView::OnDestroy()
{
    if (m_pDropTarget)
    {
        m_pDropTarget->Revoke();
        m_pDropTarget.reset();
    }
    CScriptTextView::OnDestroy();
}

// --- helpers --------------------------------------------------------------------------------------

void CScriptEditView::PlaceCaret(const CPoint& pt)
{
    m_ptAnchor = pt;
    SetSelection(pt, pt);
    SetCursorPos(pt);
    EnsureVisible(pt);
}

BOOL CScriptEditView::DeleteCurrentSelection()
{
    if (!IsSelection())
        return FALSE;
    CPoint ptStart, ptEnd;
    GetSelection(ptStart, ptEnd);
    PlaceCaret(ptStart);
    m_pTextBuffer->DeleteText(this, ptStart.y, ptStart.x, ptEnd.y, ptEnd.x, CE_ACTION_DELSEL);
    return TRUE;
}

BOOL CScriptEditView::GetBlockLines(int& nFirst, int& nLast)
{
    if (!IsSelection())
        return FALSE;
    CPoint ptStart, ptEnd;
    GetSelection(ptStart, ptEnd);
    if (ptStart.y == ptEnd.y)
        return FALSE;
    nFirst = ptStart.y;
    nLast = ptEnd.x == 0 ? ptEnd.y - 1 : ptEnd.y;
    return TRUE;
}

void CScriptEditView::SelectBlock(int nFirst, int nLast)
{
    const CPoint ptStart(0, nFirst);
    const CPoint ptEnd =
        nLast + 1 < GetLineCount() ? CPoint(0, nLast + 1) : CPoint(GetLineLength(nLast), nLast);
    m_ptAnchor = ptStart;
    SetSelection(ptStart, ptEnd);
    SetCursorPos(ptEnd);
    EnsureVisible(ptEnd);
}

void CScriptEditView::BeginBlockEdit()
{
    m_bHorzScrollBarLocked = TRUE;
    m_pTextBuffer->OpenUndoGroup(FALSE);
}

void CScriptEditView::EndBlockEdit(int nFirst, int nLast)
{
    m_pTextBuffer->CloseUndoGroup(this);
    m_bHorzScrollBarLocked = FALSE;
    m_nMaxLineLength = -1;
    RecalcHorzScrollBar();
    SelectBlock(nFirst, nLast);
}

BOOL CScriptEditView::InsertAtCaret(const CString& text, int nAction)
{
    if (!QueryEditable())
        return FALSE;
    m_pTextBuffer->OpenUndoGroup(FALSE);
    DeleteCurrentSelection();
    int nEndLine = 0, nEndChar = 0;
    const BOOL bOK = m_pTextBuffer->InsertText(this, m_ptCursorPos.y, m_ptCursorPos.x, text.str(), nEndLine,
                                               nEndChar, nAction);
    if (bOK)
        PlaceCaret(CPoint(nEndChar, nEndLine));
    m_pTextBuffer->CloseUndoGroup(this);
    return bOK;
}

// --- typing ---------------------------------------------------------------------------------------

void CScriptEditView::OnChar(UINT nChar, UINT, UINT)
{
    if ((GetKeyState(VK_LBUTTON) & 0x8000) || (GetKeyState(VK_RBUTTON) & 0x8000))
        return;
    if (nChar < 32 && nChar != 13)
        return;
    if (!QueryEditable())
        return;
    if (nChar == 13)
    {
        if (m_bOvrMode && m_ptCursorPos.y < GetLineCount() - 1)
        {
            PlaceCaret(CPoint(0, m_ptCursorPos.y + 1));
            return;
        }
        InsertAtCaret(CString(L"\r\n"), CE_ACTION_TYPING);
        return;
    }
    // A run of typed characters is one step; a blank starts the next.
    m_pTextBuffer->OpenUndoGroup(nChar != L' ');
    if (!DeleteCurrentSelection() && m_bOvrMode && m_ptCursorPos.x < GetLineLength(m_ptCursorPos.y))
        m_pTextBuffer->DeleteText(this, m_ptCursorPos.y, m_ptCursorPos.x, m_ptCursorPos.y,
                                  m_ptCursorPos.x + 1, CE_ACTION_TYPING);
    int nEndLine = 0, nEndChar = 0;
    if (m_pTextBuffer->InsertText(this, m_ptCursorPos.y, m_ptCursorPos.x, std::wstring(1, wchar_t(nChar)),
                                  nEndLine, nEndChar, CE_ACTION_TYPING))
        PlaceCaret(CPoint(nEndChar, nEndLine));
    m_pTextBuffer->CloseUndoGroup(this);
}

void CScriptEditView::OnEditOperation(int nAction, LPCWSTR pszText)
{
    if (!m_bAutoIndent || m_bOvrMode || nAction != CE_ACTION_TYPING || std::wcscmp(pszText, L"\r\n") != 0)
        return;
    const CPoint pt = m_ptCursorPos;
    if (pt.y <= 0 || !m_pTextBuffer)
        return;
    const int nLength = GetLineLength(pt.y - 1);
    const LPCWSTR chars = GetLineChars(pt.y - 1);
    int n = 0;
    while (n < nLength && std::iswspace(wint_t(chars[n])))
        ++n;
    if (n == 0)
        return;
    int nEndLine = 0, nEndChar = 0;
    if (m_pTextBuffer->InsertText(nullptr, pt.y, pt.x, std::wstring(chars, size_t(n)), nEndLine, nEndChar,
                                  CE_ACTION_AUTOINDENT))
        PlaceCaret(CPoint(nEndChar, nEndLine));
}

void CScriptEditView::OnEditDelete()
{
    if (!QueryEditable())
        return;
    CPoint ptStart, ptEnd;
    if (IsSelection())
        GetSelection(ptStart, ptEnd);
    else
    {
        ptStart = ptEnd = m_ptCursorPos;
        if (ptEnd.x < GetLineLength(ptEnd.y))
            ++ptEnd.x;
        else if (ptEnd.y < GetLineCount() - 1)
            ptEnd = CPoint(0, ptEnd.y + 1);
        else
            return;
    }
    m_pTextBuffer->OpenUndoGroup(FALSE);
    PlaceCaret(ptStart);
    m_pTextBuffer->DeleteText(this, ptStart.y, ptStart.x, ptEnd.y, ptEnd.x, CE_ACTION_DELETE);
    m_pTextBuffer->CloseUndoGroup(this);
}

void CScriptEditView::OnEditDeleteBack()
{
    if (!QueryEditable())
        return;
    if (IsSelection())
    {
        OnEditDelete();
        return;
    }
    CPoint ptStart = m_ptCursorPos;
    const CPoint ptEnd = m_ptCursorPos;
    if (ptStart.x > 0)
        --ptStart.x;
    else if (ptStart.y > 0)
        ptStart = CPoint(GetLineLength(ptStart.y - 1), ptStart.y - 1);
    else
        return;
    m_pTextBuffer->OpenUndoGroup(FALSE);
    PlaceCaret(ptStart);
    m_pTextBuffer->DeleteText(this, ptStart.y, ptStart.x, ptEnd.y, ptEnd.x, CE_ACTION_BACKSPACE);
    m_pTextBuffer->CloseUndoGroup(this);
}

void CScriptEditView::OnEditTab()
{
    if (!QueryEditable())
        return;
    int nFirst = 0, nLast = 0;
    if (GetBlockLines(nFirst, nLast))
    {
        BeginBlockEdit();
        int l = 0, c = 0;
        for (int i = nFirst; i <= nLast; ++i)
            m_pTextBuffer->InsertText(this, i, 0, L"\t", l, c, CE_ACTION_INDENT);
        EndBlockEdit(nFirst, nLast);
        return;
    }
    if (m_bOvrMode)
    {
        // Only the caret moves, to the next tab stop, stopping after a tab or at the line end.
        const int nLength = GetLineLength(m_ptCursorPos.y);
        const LPCWSTR chars = GetLineChars(m_ptCursorPos.y);
        int nCol = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
        const int nStop = (nCol / m_nTabSize + 1) * m_nTabSize;
        int i = m_ptCursorPos.x;
        while (i < nLength && nCol < nStop)
        {
            const bool bTab = chars[i] == L'\t';
            nCol += bTab ? m_nTabSize - nCol % m_nTabSize : 1;
            ++i;
            if (bTab)
                break;
        }
        PlaceCaret(CPoint(i, m_ptCursorPos.y));
        return;
    }
    InsertAtCaret(CString(L"\t"), CE_ACTION_TYPING);
}

void CScriptEditView::OnEditUntab()
{
    if (!QueryEditable())
        return;
    int nFirst = 0, nLast = 0;
    if (GetBlockLines(nFirst, nLast))
    {
        BeginBlockEdit();
        for (int i = nFirst; i <= nLast; ++i)
        {
            const int nLength = GetLineLength(i);
            const LPCWSTR chars = GetLineChars(i);
            int n = 0;
            while (n < nLength && n < m_nTabSize && chars[n] == L' ')
                ++n;
            if (n < m_nTabSize && n < nLength && chars[n] == L'\t')
                ++n;
            if (n > 0)
                m_pTextBuffer->DeleteText(this, i, 0, i, n, CE_ACTION_INDENT);
        }
        EndBlockEdit(nFirst, nLast);
        return;
    }
    // Only the caret moves, to the previous tab stop.
    const int nCol = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    if (nCol == 0)
        return;
    const int nStop = (nCol - 1) / m_nTabSize * m_nTabSize;
    int i = m_ptCursorPos.x;
    while (i > 0 && CalculateActualOffset(m_ptCursorPos.y, i) > nStop)
        --i;
    PlaceCaret(CPoint(i, m_ptCursorPos.y));
}

void CScriptEditView::InsertLinePrefix(LPCWSTR pszPrefix)
{
    if (!QueryEditable() || !pszPrefix || !*pszPrefix)
        return;
    int nFirst = 0, nLast = 0;
    if (GetBlockLines(nFirst, nLast))
    {
        BeginBlockEdit();
        int l = 0, c = 0;
        for (int i = nFirst; i <= nLast; ++i)
            m_pTextBuffer->InsertText(this, i, 0, pszPrefix, l, c, CE_ACTION_INDENT);
        EndBlockEdit(nFirst, nLast);
        return;
    }
    InsertAtCaret(CString(pszPrefix), CE_ACTION_TYPING);
}

void CScriptEditView::RemoveLinePrefix()
{
    if (!QueryEditable())
        return;
    int nFirst = 0, nLast = 0;
    const BOOL bBlock = GetBlockLines(nFirst, nLast);
    if (!bBlock)
        nFirst = nLast = m_ptCursorPos.y;
    BeginBlockEdit();
    for (int i = nFirst; i <= nLast; ++i)
    {
        // One comment mark only: "/* x */" keeps its own slash.
        const LPCWSTR chars = GetLineChars(i);
        if (GetLineLength(i) >= 2 && chars[0] == L'/' && chars[1] == L'/')
            m_pTextBuffer->DeleteText(this, i, 0, i, 2, CE_ACTION_INDENT);
    }
    m_pTextBuffer->CloseUndoGroup(this);
    m_bHorzScrollBarLocked = FALSE;
    m_nMaxLineLength = -1;
    RecalcHorzScrollBar();
    if (bBlock)
        SelectBlock(nFirst, nLast);
    else
        PlaceCaret(m_ptCursorPos);
}

void CScriptEditView::OnEditSwitchOvrmode()
{
    m_bOvrMode = !m_bOvrMode;
}

void CScriptEditView::OnUpdateEditSwitchOvrmode(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bOvrMode ? 1 : 0);
}

void CScriptEditView::OnUpdateIndicatorOvr(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bOvrMode);
}

void CScriptEditView::OnEditReplace() {}

// --- clipboard ------------------------------------------------------------------------------------

void CScriptEditView::OnEditCut()
{
    if (!QueryEditable() || !IsSelection())
        return;
    CPoint ptStart, ptEnd;
    GetSelection(ptStart, ptEnd);
    CString text;
    GetText(ptStart, ptEnd, text);
    PutToClipboard(text);
    m_pTextBuffer->OpenUndoGroup(FALSE);
    PlaceCaret(ptStart);
    m_pTextBuffer->DeleteText(this, ptStart.y, ptStart.x, ptEnd.y, ptEnd.x, CE_ACTION_CUT);
    m_pTextBuffer->CloseUndoGroup(this);
}

void CScriptEditView::OnUpdateEditCut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsSelection());
}

void CScriptEditView::OnEditPaste()
{
    if (!QueryEditable())
        return;
    m_pTextBuffer->OpenUndoGroup(FALSE);
    DeleteCurrentSelection();
    CString text;
    if (GetFromClipboard(text) && !text.IsEmpty())
    {
        int nEndLine = 0, nEndChar = 0;
        if (m_pTextBuffer->InsertText(this, m_ptCursorPos.y, m_ptCursorPos.x, text.str(), nEndLine, nEndChar,
                                      CE_ACTION_PASTE))
            PlaceCaret(CPoint(nEndChar, nEndLine));
    }
    m_pTextBuffer->CloseUndoGroup(this);
}

void CScriptEditView::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TextInClipboard());
}

CString CScriptEditView::LoadViewString(UINT nID)
{
    wchar_t buf[256] = {};
    const int n = LoadStringW(GetResourceHandle(), nID, buf, int(std::size(buf)));
    return CString(buf, std::max(0, n));
}

// --- undo -----------------------------------------------------------------------------------------

void CScriptEditView::OnEditUndo()
{
    CPoint pt;
    if (m_pTextBuffer && m_pTextBuffer->CanUndo() && m_pTextBuffer->Undo(pt))
        PlaceCaret(pt);
}

void CScriptEditView::OnEditRedo()
{
    CPoint pt;
    if (m_pTextBuffer && m_pTextBuffer->CanRedo() && m_pTextBuffer->Redo(pt))
        PlaceCaret(pt);
}

void CScriptEditView::UpdateUndoItem(CCmdUI* pCmdUI, BOOL bRedo)
{
    const BOOL bCan = m_pTextBuffer && (bRedo ? m_pTextBuffer->CanRedo() : m_pTextBuffer->CanUndo());
    pCmdUI->Enable(bCan);
    if (!pCmdUI->m_pMenu)
        return;
    CString desc;
    const CString format = LoadViewString(bRedo ? IDS_SCRIPT_REDO_FMT : IDS_SCRIPT_UNDO_FMT);
    const CString plain = LoadViewString(bRedo ? IDS_SCRIPT_REDO : IDS_SCRIPT_UNDO);
    CString text = plain;
    const BOOL bDesc =
        bCan && (bRedo ? m_pTextBuffer->GetRedoDescription(desc) : m_pTextBuffer->GetUndoDescription(desc));
    if (bDesc && !format.IsEmpty())
        text.Format(format, static_cast<LPCWSTR>(desc));
    pCmdUI->SetText(text);
}

void CScriptEditView::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    UpdateUndoItem(pCmdUI, FALSE);
}

void CScriptEditView::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    UpdateUndoItem(pCmdUI, TRUE);
}

// --- drag and drop --------------------------------------------------------------------------------

void CScriptEditView::OnDropSource(DROPEFFECT de)
{
    if (!m_bDraggingText || de != DROPEFFECT_MOVE || !QueryEditable())
        return;
    m_pTextBuffer->DeleteText(this, m_ptDraggedTextBegin.y, m_ptDraggedTextBegin.x, m_ptDraggedTextEnd.y,
                              m_ptDraggedTextEnd.x, CE_ACTION_DRAGDROP);
}

void CScriptEditView::ShowDropIndicator(const CPoint& point)
{
    if (!m_bDropPosVisible)
    {
        m_ptSavedCaretPos = m_ptCursorPos;
        m_bCursorHidden = TRUE;
        HideCaret();
        m_bDropPosVisible = TRUE;
    }
    CPoint pt = point;
    AdjustTextPoint(pt);
    m_ptDropPos = ClientToText(pt);
    CreateGrayCaret(2, GetLineHeight());
    if (CalculateActualOffset(m_ptDropPos.y, m_ptDropPos.x) >= m_nOffsetChar)
    {
        SetCaretPos(TextToClient(m_ptDropPos));
        ShowCaret();
    }
}

void CScriptEditView::HideDropIndicator()
{
    if (!m_bDropPosVisible)
        return;
    m_bDropPosVisible = FALSE;
    m_bCursorHidden = FALSE;
    m_ptCursorPos = m_ptSavedCaretPos;
    UpdateCaret();
}

void CScriptEditView::DoDragScroll(const CPoint& point)
{
    CRect rc;
    GetClientRect(&rc);
    const BOOL bShown = m_bDropPosVisible;
    HideDropIndicator();
    if (point.y < rc.top + 5)
        ScrollUp();
    else if (point.y >= rc.bottom - 5)
        ScrollDown();
    else if (point.x < rc.left + GetMarginWidth() + 5)
    {
        if (m_nOffsetChar > 0)
            ScrollToChar(m_nOffsetChar - 1);
    }
    else if (point.x >= rc.right - 5)
    {
        if (m_nOffsetChar < std::max(0, GetMaxLineLength() - 1))
            ScrollToChar(m_nOffsetChar + 1);
    }
    if (bShown)
        ShowDropIndicator(point);
}

BOOL CScriptEditView::DoDropText(COleDataObject* pDataObject, const CPoint& ptClient)
{
    HGLOBAL hData = pDataObject->GetGlobalData(CF_TEXT);
    if (!hData)
        return FALSE;
    std::wstring text;
    if (const auto* p = static_cast<const char*>(GlobalLock(hData)))
    {
        text = QString::fromUtf8(p, qsizetype(strnlen(p, GlobalSize(hData)))).toStdWString();
        GlobalUnlock(hData);
    }
    GlobalFree(hData);
    CPoint pt = ptClient;
    AdjustTextPoint(pt);
    const CPoint ptDrop = ClientToText(pt);
    if (m_bDraggingText)
    {
        const CPoint& b = m_ptDraggedTextBegin;
        const CPoint& e = m_ptDraggedTextEnd;
        const bool bAfterBegin = ptDrop.y > b.y || (ptDrop.y == b.y && ptDrop.x >= b.x);
        const bool bBeforeEnd = ptDrop.y < e.y || (ptDrop.y == e.y && ptDrop.x < e.x);
        if (bAfterBegin && bBeforeEnd)
        {
            PlaceCaret(ptDrop);
            return FALSE;
        }
    }
    int nEndLine = 0, nEndChar = 0;
    if (!m_pTextBuffer->InsertText(this, ptDrop.y, ptDrop.x, text, nEndLine, nEndChar, CE_ACTION_DRAGDROP))
        return FALSE;
    const CPoint ptEnd(nEndChar, nEndLine);
    m_ptAnchor = ptDrop;
    SetSelection(ptDrop, ptEnd);
    SetCursorPos(ptEnd);
    EnsureVisible(ptEnd);
    return TRUE;
}

DROPEFFECT CEditDropTargetImpl::OnDragEnter(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState,
                                            CPoint point)
{
    if (!pDataObject->IsDataAvailable(CF_TEXT))
    {
        m_pOwner->HideDropIndicator();
        return DROPEFFECT_NONE;
    }
    m_pOwner->ShowDropIndicator(point);
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CEditDropTargetImpl::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                           CPoint point)
{
    const DROPEFFECT de = OnDragEnter(pWnd, pDataObject, dwKeyState, point);
    return m_pOwner->QueryEditable() ? de : DROPEFFECT_NONE;
}

void CEditDropTargetImpl::OnDragLeave(CWnd*)
{
    m_pOwner->HideDropIndicator();
}

BOOL CEditDropTargetImpl::OnDrop(CWnd*, COleDataObject* pDataObject, DROPEFFECT, CPoint point)
{
    m_pOwner->HideDropIndicator();
    if (!m_pOwner->QueryEditable() || !pDataObject->IsDataAvailable(CF_TEXT))
        return FALSE;
    return m_pOwner->DoDropText(pDataObject, point);
}

DROPEFFECT CEditDropTargetImpl::OnDragScroll(CWnd*, DWORD dwKeyState, CPoint point)
{
    m_pOwner->DoDragScroll(point);
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}
