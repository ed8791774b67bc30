#include "symbols/FOXCellCtrl.h"

#include "mfc/Clipboard.h"
#include "mfc/SysColor.h"

#include <QWidget>

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CFOXEditCtrl, CEdit)
IMPLEMENT_DYNAMIC(CFOXButtonCtrl, CButton)
IMPLEMENT_DYNAMIC(CFOXComboBoxCtrl, CComboBox)

namespace
{
// The keys that an editor hands back to the grid.
bool IsGridKey(WPARAM key)
{
    switch (key)
    {
    case VK_TAB:
    case VK_RETURN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        return true;
    default:
        return false;
    }
}

bool ShiftDown()
{
    return (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

void PostToGrid(CWnd* pEditor, WPARAM key)
{
    if (CWnd* grid = pEditor->GetParent())
        grid->PostMessage(WM_KEYDOWN, key, 0);
}

void ApplyFont(CWnd* pWnd, CFont* pFont)
{
    if (pFont && pFont->IsCreated() && pWnd->GetWidget())
        pWnd->GetWidget()->setFont(pFont->ToQFont());
}

void HideWindow(CWnd* pWnd)
{
    pWnd->EnableWindow(FALSE);
    pWnd->ShowWindow(SW_HIDE);
    pWnd->MoveWindow(0, 0, 0, 0, FALSE);
}

// Whether the caret of an edit stands at the start (or the end) of its text: the caret is the end
// of the selection that a Shift move or a whole selection leaves.
bool CaretAt(CEdit* pEdit, bool bStart)
{
    CString text;
    pEdit->GetWindowText(text);
    if (text.IsEmpty())
        return true;
    int s = 0;
    int e = 0;
    pEdit->GetSel(s, e);
    const int caret = e;
    return bStart ? caret == 0 && s == 0 : caret >= text.GetLength();
}
} // namespace

// --- edit box ---------------------------------------------------------------------------------------

void CFOXEditCtrl::SetFont(CFont* pFont, BOOL)
{
    ApplyFont(this, pFont);
}

void CFOXEditCtrl::SetModify(BOOL bModified)
{
    CEdit::SetModify(bModified);
}

BOOL CFOXEditCtrl::Enable(BOOL bEnable)
{
    return EnableWindow(bEnable);
}

BOOL CFOXEditCtrl::Create(DWORD dwStyle, CWnd* pParent, UINT nID)
{
    // The kept-Home-and-End bit is the grid's own, not an edit style.
    return CEdit::Create(dwStyle, CRect(0, 0, 0, 0), pParent, nID);
}

BOOL CFOXEditCtrl::Show(int x, int y, int cx, int cy)
{
    MoveWindow(x + 2, y + 2, cx - 3, cy - 3);
    EnableWindow(TRUE);
    ShowWindow(SW_SHOW);
    SetFocus();
    SetSel(0, -1);
    EmptyUndoBuffer();
    return TRUE;
}

BOOL CFOXEditCtrl::Hide()
{
    HideWindow(this);
    return TRUE;
}

void CFOXEditCtrl::SetValue(const CString& strText, DWORD_PTR)
{
    CEdit::SetModify(FALSE);
    SetWindowText(strText);
}

FOXCellValue CFOXEditCtrl::GetValue()
{
    GetWindowText(m_value.strText);
    return m_value;
}

BOOL CFOXEditCtrl::IsModified()
{
    return GetModify();
}

BOOL CFOXEditCtrl::Destroy()
{
    return DestroyWindow();
}

BOOL CFOXEditCtrl::IsEnabled()
{
    return IsWindowEnabled();
}

BOOL CFOXEditCtrl::CanCut()
{
    int s = 0;
    int e = 0;
    GetSel(s, e);
    return s != e;
}

BOOL CFOXEditCtrl::CanCopy()
{
    return CanCut();
}

BOOL CFOXEditCtrl::CanPaste()
{
    return IsClipboardFormatAvailable(CF_TEXT);
}

BOOL CFOXEditCtrl::CanUndo()
{
    return CEdit::CanUndo();
}

BOOL CFOXEditCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd != m_hWnd)
        return CEdit::PreTranslateMessage(pMsg);
    const WPARAM key = pMsg->wParam;
    if (pMsg->message == WM_KEYUP)
        return IsGridKey(key);
    if (pMsg->message != WM_KEYDOWN)
        return FALSE;
    switch (key)
    {
    case VK_ESCAPE:
        // Escape takes the edit back.
        if (CEdit::CanUndo())
            CEdit::Undo();
        return TRUE;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
        PostToGrid(this, key);
        return TRUE;
    case VK_HOME:
    case VK_END:
        if (GetStyle() & FOX_ES_KEEPHOMEEND)
            return FALSE;
        PostToGrid(this, key);
        return TRUE;
    case VK_LEFT:
    case VK_RIGHT:
        if (!CaretAt(this, key == VK_LEFT))
            return FALSE;
        PostToGrid(this, key);
        return TRUE;
    default:
        // Tab and Enter reach the grid on the way up.
        return FALSE;
    }
}

// --- check box ----------------------------------------------------------------------------------------

CFOXButtonCtrl::CFOXButtonCtrl()
{
    m_brBack.CreateSolidBrush(GetSysColor(COLOR_WINDOW));
}

void CFOXButtonCtrl::OnClick(UINT nFlags, int x, int y)
{
    PostMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(x, y));
}

void CFOXButtonCtrl::SetFont(CFont* pFont, BOOL)
{
    ApplyFont(this, pFont);
}

void CFOXButtonCtrl::SetModify(BOOL bModified)
{
    const int now = GetCheck();
    m_nCheck = BYTE(bModified ? (now == 0 ? 1 : 0) : now);
}

BOOL CFOXButtonCtrl::Enable(BOOL bEnable)
{
    return EnableWindow(bEnable);
}

BOOL CFOXButtonCtrl::Create(DWORD dwStyle, CWnd* pParent, UINT nID)
{
    return CButton::Create(L"", dwStyle, CRect(0, 0, 0, 0), pParent, nID);
}

BOOL CFOXButtonCtrl::Show(int x, int y, int cx, int cy)
{
    if (GetWindowTextLength() > 0)
        MoveWindow(x + 2, y + 2, cx - 3, cy - 3);
    else
    {
        // A bare check box, centred.
        const int w = std::min(cx - 3, 13);
        MoveWindow(x + 2 + std::max((cx - 16) / 2, 0), y + 2, w, cy - 3);
    }
    EnableWindow(TRUE);
    ShowWindow(SW_SHOW);
    SetFocus();
    return TRUE;
}

BOOL CFOXButtonCtrl::Hide()
{
    HideWindow(this);
    return TRUE;
}

void CFOXButtonCtrl::SetValue(const CString& strText, DWORD_PTR dwData)
{
    SetWindowText(strText);
    CFOXCellCtrl::SetValue(strText, dwData);
    const UINT type = GetStyle() & BS_TYPEMASK;
    if (dwData == 1)
        SetCheck(BST_CHECKED);
    else if (dwData == 2 && (type == BS_3STATE || type == BS_AUTO3STATE))
        SetCheck(BST_INDETERMINATE);
    else
        SetCheck(BST_UNCHECKED);
    m_nCheck = BYTE(GetCheck());
}

FOXCellValue CFOXButtonCtrl::GetValue()
{
    FOXCellValue v;
    GetWindowText(v.strText);
    const int check = GetCheck();
    v.dwData = DWORD_PTR(check == BST_CHECKED ? 1 : check == BST_INDETERMINATE ? 2 : 0);
    return v;
}

BOOL CFOXButtonCtrl::IsModified()
{
    return GetCheck() != m_nCheck;
}

BOOL CFOXButtonCtrl::CanCommit()
{
    m_nCheck = BYTE(GetCheck());
    return 1;
}

BOOL CFOXButtonCtrl::Destroy()
{
    return DestroyWindow();
}

BOOL CFOXButtonCtrl::IsEnabled()
{
    return IsWindowEnabled();
}

BOOL CFOXButtonCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == m_hWnd && pMsg->message == WM_KEYDOWN && IsGridKey(pMsg->wParam))
    {
        PostToGrid(this, pMsg->wParam);
        return TRUE;
    }
    if (pMsg->hwnd == m_hWnd && pMsg->message == WM_LBUTTONDOWN)
    {
        // The click that the grid passed on when the cell was pressed.
        if (IsWindowEnabled())
            Click();
        return TRUE;
    }
    return CButton::PreTranslateMessage(pMsg);
}

// --- combo box ------------------------------------------------------------------------------------------

void CFOXComboBoxCtrl::SetFont(CFont* pFont, BOOL)
{
    if (!pFont)
        return;
    LOGFONT lf;
    if (!pFont->GetLogFont(&lf))
        return;
    m_font.DeleteObject();
    if (m_font.CreateFontIndirect(&lf))
        ApplyFont(this, pFont);
}

void CFOXComboBoxCtrl::SetModify(BOOL bModified)
{
    CString text;
    GetWindowText(text);
    if (!bModified)
        m_strRemembered = text;
    else if (text == m_strRemembered)
        m_strRemembered = m_strRemembered.IsEmpty() ? CString(L"_") : CString();
}

BOOL CFOXComboBoxCtrl::Enable(BOOL bEnable)
{
    return EnableWindow(bEnable);
}

BOOL CFOXComboBoxCtrl::Create(DWORD dwStyle, CWnd* pParent, UINT nID)
{
    if (!CComboBox::Create(dwStyle, CRect(0, 0, 0, 1000), pParent, nID))
        return 0;
    // The field is drawn as the grid draws its cells.
    AfxSetControlOwnerPaint(this);
    return 1;
}

LRESULT CFOXComboBoxCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
    {
        CPaintDC dc(this);
        PaintField(&dc);
        return 0;
    }
    return CComboBox::WindowProc(message, wParam, lParam);
}

BOOL CFOXComboBoxCtrl::Show(int x, int y, int cx, int cy)
{
    m_nItemHeight = cy - 7;
    // The drop-down list is a popup of its own here, so the window is only the selection field.
    MoveWindow(x + 1, y + 1, cx - 1, cy - 1);
    EnableWindow(TRUE);
    SetFocus();
    if (cx > 2)
        ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CFOXComboBoxCtrl::Hide()
{
    HideWindow(this);
    return TRUE;
}

void CFOXComboBoxCtrl::SetValue(const CString& strText, DWORD_PTR dwData)
{
    if (dwData == DWORD_PTR(-1))
        SetWindowText(strText);
    else
        for (int i = 0; i < GetCount(); ++i)
            if (GetItemData(i) == dwData)
            {
                SetCurSel(i);
                break;
            }
    CFOXCellCtrl::SetValue(strText, dwData);
    GetWindowText(m_strRemembered);
}

FOXCellValue CFOXComboBoxCtrl::GetValue()
{
    FOXCellValue v;
    GetWindowText(v.strText);
    const int sel = GetCurSel();
    v.dwData = sel >= 0 ? GetItemData(sel) : DWORD_PTR(-1);
    return v;
}

BOOL CFOXComboBoxCtrl::IsModified()
{
    CString text;
    GetWindowText(text);
    return text != m_strRemembered;
}

BOOL CFOXComboBoxCtrl::Destroy()
{
    return DestroyWindow();
}

BOOL CFOXComboBoxCtrl::IsEnabled()
{
    return IsWindowEnabled();
}

BOOL CFOXComboBoxCtrl::CanCut()
{
    return FALSE;
}

BOOL CFOXComboBoxCtrl::CanCopy()
{
    return GetWindowTextLength() > 0;
}

BOOL CFOXComboBoxCtrl::CanPaste()
{
    return FALSE;
}

BOOL CFOXComboBoxCtrl::CanUndo()
{
    return FALSE;
}

void CFOXComboBoxCtrl::Cut() {}

void CFOXComboBoxCtrl::Copy()
{
    CString text;
    GetWindowText(text);
    CopyTextToClipboard(text);
}

void CFOXComboBoxCtrl::Paste() {}

void CFOXComboBoxCtrl::Undo() {}

BOOL CFOXComboBoxCtrl::CopyTextToClipboard(const CString& strText)
{
    if (strText.IsEmpty())
        return 0;
    const size_t n = size_t(strText.GetLength()) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | 0x2000, n * sizeof(WCHAR));
    if (!block)
        return 0;
    if (auto* p = static_cast<WCHAR*>(GlobalLock(block)))
    {
        std::memcpy(p, strText.GetString(), n * sizeof(WCHAR));
        GlobalUnlock(block);
    }
    if (!OpenClipboard(nullptr))
    {
        GlobalFree(block);
        return 0;
    }
    if (!EmptyClipboard())
    {
        CloseClipboard();
        GlobalFree(block);
        return 0;
    }
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
    return 1;
}

void CFOXComboBoxCtrl::PaintField(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    if (rc.IsRectEmpty())
        return;
    CRect in = rc;
    if (m_pFocusFrame)
    {
        pDC->Draw3dRect(&rc, m_pFocusFrame->crFrame, m_pFocusFrame->crFrame);
        in.DeflateRect(1, 1);
    }
    const bool focused = CWnd::GetFocus() == this;
    pDC->FillSolidRect(&in, GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    pDC->SetTextColor(GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    pDC->SetBkMode(TRANSPARENT);
    const int button = std::min(in.Height(), in.Width());
    CRect rcButton(in.right - button, in.top, in.right, in.bottom);
    CRect rcText(in.left + 2, in.top, rcButton.left, in.bottom);
    const int sel = GetCurSel();
    if (sel >= 0)
    {
        CString text;
        GetLBText(sel, text);
        CFont* old = m_font.IsCreated() ? pDC->SelectObject(&m_font) : nullptr;
        pDC->DrawText(text, &rcText, 0x8824);
        if (old)
            pDC->SelectObject(old);
    }
    // The drop button, pushed while the list is down.
    const bool dropped = SendMessage(CB_GETDROPPEDSTATE) != 0;
    pDC->DrawFrameControl(&rcButton, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (dropped ? DFCS_PUSHED : 0));
}

BOOL CFOXComboBoxCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd != m_hWnd)
        return CComboBox::PreTranslateMessage(pMsg);
    const WPARAM key = pMsg->wParam;
    const bool shift = ShiftDown();
    if (pMsg->message == WM_KEYUP)
        return IsGridKey(key) && !((key == VK_UP || key == VK_DOWN) && shift);
    if (pMsg->message != WM_KEYDOWN)
        return FALSE;
    switch (key)
    {
    case VK_ESCAPE:
        return TRUE;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_RIGHT:
        PostToGrid(this, key);
        return TRUE;
    case VK_UP:
    case VK_DOWN:
        if (shift)
        {
            // Shift moves the selection in the list instead of the grid's current cell.
            const int count = GetCount();
            if (count > 0)
            {
                const int sel = GetCurSel();
                const int next = std::clamp(key == VK_DOWN ? sel + 1 : sel - 1, 0, count - 1);
                if (next != sel)
                    SetCurSel(next);
            }
            return TRUE;
        }
        PostToGrid(this, key);
        return TRUE;
    default:
        // Tab and Enter reach the grid on the way up.
        return FALSE;
    }
}
