#include "symbols/FOExtGridCtrl.h"

#include "mfc/CmdUI.h"
#include "mfc/ResourceModule.h"
#include "mfc/View.h"

IMPLEMENT_DYNCREATE(CFOExtGridCtrl, CWnd)
IMPLEMENT_DYNCREATE(CCrGridCtrl, CFOExtGridCtrl)

CFOExtGridCtrl::CFOExtGridCtrl()
{
    SetWnd(this);
}

CFOExtGridCtrl::~CFOExtGridCtrl()
{
    // The editors are windows of this one: they go before it.
    RemoveAllColumns();
    if (GetSafeHwnd())
        DestroyWindow();
}

const CString& CFOExtGridCtrl::GetGridClassName()
{
    static const CString name = L"FOExtGridCtrl";
    return name;
}

QWidget* CFOExtGridCtrl::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    if ((cs.style & WS_CHILD) && (cs.style & (WS_HSCROLL | WS_VSCROLL)))
        return AfxCreateScrollBarHost(pParentWidget);
    return CWnd::CreateWidget(cs, pParentWidget);
}

BOOL CFOExtGridCtrl::Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (dwExStyle == 0)
        dwExStyle = WS_EX_CLIENTEDGE;
    const BOOL ok = CreateEx(dwExStyle, GetGridClassName(), nullptr,
                             dwStyle | WS_CHILD | WS_VSCROLL | WS_HSCROLL, rect, pParentWnd, nID);
    if (!ok)
        return ok;
    const int dc = m_nCurCol - m_nFixedCols;
    const int dr = m_nCurRow - m_nFixedRows;
    if (dc >= 0 && dc < GetColumnCount(0))
    {
        if (CFOXCellCtrl* ctrl = GetCellCtrl(dc, dr))
            LoadCellCtrl(dc, dr, ctrl);
        else if (CFOXCellCtrl* made = CreateCellCtrl(dc, dr, GetEditorStyle(dc, dr), 0))
        {
            SetCellCtrl(dc, dr, made);
            LoadCellCtrl(dc, dr, made);
        }
    }
    UpdateScrollSizes();
    ShowCellCtrl(m_nCurCol, m_nCurRow);
    return ok;
}

BOOL CFOExtGridCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN)
        return CWnd::PreTranslateMessage(pMsg);
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    // Ctrl+Tab moves between rows; other keys with Ctrl go on as they are.
    if (ctrl && pMsg->wParam == VK_TAB)
        pMsg->wParam = (GetKeyState(VK_SHIFT) & 0x8000) ? VK_UP : VK_DOWN;
    if (pMsg->hwnd != m_hWnd && pMsg->wParam != VK_TAB && pMsg->wParam != VK_RETURN)
        return FALSE;
    return OnNavigateKey(UINT(pMsg->wParam)) == 1;
}

void CFOExtGridCtrl::OnGridPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
    if (!m_rcTrack.IsRectEmpty())
        dc.InvertRect(&m_rcTrack);
}

void CFOExtGridCtrl::OnGridSize()
{
    UpdateScrollSizes();
    if (GetCurrentCtrl())
        SetCurrentCell(m_nCurCol, m_nCurRow);
}

void CFOExtGridCtrl::OnGridSetFocus(HWND hOld)
{
    m_bFocused = 1;
    CFOXCellCtrl* ctrl = GetCurrentCtrl();
    if (!ctrl)
    {
        ExtendSelection(m_nSelEndCol, m_nSelEndRow);
        return;
    }
    CWnd* editor = ctrl->GetCtrlWnd();
    const bool single = m_nSelFirstCol == m_nSelLastCol && m_nSelFirstRow == m_nSelLastRow;
    if (hOld && (!editor || hOld != editor->m_hWnd) && single)
        SetCurrentCell(m_nCurCol, m_nCurRow);
}

void CFOExtGridCtrl::OnGridScroll(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int nBar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
    if (lParam)
    {
        CWnd* bar = CWnd::FromHandle(reinterpret_cast<HWND>(lParam));
        if (bar)
            bar->SendMessage(message, wParam, lParam);
        if (!bar || bar != GetScrollBarCtrl(nBar))
            return;
    }
    const UINT code = LOWORD(wParam);
    const UINT request = nBar == SB_VERT ? ((code & 0xFF) << 8) | 0xFF : 0xFF00 | (code & 0xFF);
    OnScroll(request, HIWORD(wParam), TRUE);
}

LRESULT CFOExtGridCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
        OnGridPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnGridScroll(message, wParam, lParam);
        return 0;
    case WM_SIZE:
    {
        const LRESULT r = CWnd::WindowProc(message, wParam, lParam);
        OnGridSize();
        return r;
    }
    case WM_MOUSEMOVE:
        CFOExtGrid::OnMouseMove(UINT(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return CWnd::WindowProc(message, wParam, lParam);
    case WM_LBUTTONDOWN:
        CFOExtGrid::OnLButtonDown(UINT(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return CWnd::WindowProc(message, wParam, lParam);
    case WM_LBUTTONUP:
        CFOExtGrid::OnLButtonUp(UINT(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return CWnd::WindowProc(message, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        CFOExtGrid::OnLButtonDblClk(UINT(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return CWnd::WindowProc(message, wParam, lParam);
    case WM_SETCURSOR:
        // A window with the mouse captured is not asked for its cursor: a drag keeps its border.
        if (CWnd::GetCapture() == this)
            return TRUE;
        if (!CFOExtGrid::OnSetCursor(LOWORD(lParam)))
            ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
    case WM_SETFOCUS:
    {
        const LRESULT r = CWnd::WindowProc(message, wParam, lParam);
        OnGridSetFocus(reinterpret_cast<HWND>(wParam));
        return r;
    }
    case WM_KILLFOCUS:
    {
        const LRESULT r = CWnd::WindowProc(message, wParam, lParam);
        m_bFocused = 0;
        return r;
    }
    case WM_DESTROY:
        EndCellEdit(1);
        return CWnd::WindowProc(message, wParam, lParam);
    case WM_MOUSEWHEEL:
        return CFOExtGrid::OnMouseWheel(LOWORD(wParam), short(HIWORD(wParam)),
                                        CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), 1);
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

BOOL CFOExtGridCtrl::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nID != ID_EDIT_CUT && nID != ID_EDIT_COPY && nID != ID_EDIT_PASTE && nID != ID_EDIT_UNDO)
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    CFOXCellCtrl* ctrl = GetCurrentCtrl();
    if (nCode == int(CN_UPDATE_COMMAND_UI))
    {
        auto* ui = static_cast<CCmdUI*>(pExtra);
        BOOL on = FALSE;
        if (ctrl)
            on = nID == ID_EDIT_CUT     ? ctrl->CanCut()
                 : nID == ID_EDIT_COPY  ? ctrl->CanCopy()
                 : nID == ID_EDIT_PASTE ? ctrl->CanPaste()
                                        : ctrl->CanUndo();
        if (ui)
            ui->Enable(on);
        return TRUE;
    }
    if (nCode != CN_COMMAND)
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    if (pHandlerInfo)
        return TRUE;
    if (ctrl)
    {
        if (nID == ID_EDIT_CUT)
            ctrl->Cut();
        else if (nID == ID_EDIT_COPY)
            ctrl->Copy();
        else if (nID == ID_EDIT_PASTE)
            ctrl->Paste();
        else
            ctrl->Undo();
    }
    return TRUE;
}

// --- the sample grid ---------------------------------------------------------------------------------

namespace
{
struct SampleColumn
{
    LPCWSTR title;
    int width;
    DWORD cellFormat;
    DWORD headerFormat;
    DWORD editorStyle;
};
const SampleColumn kSampleColumns[] = {
    {L"?", 50, 0x806, 0x8024, 0x40000082},      {L"Text", 180, 0x804, 0x8024, 0x40000080},
    {L"Data", 75, 0x805, 0x8025, 0x40000081},   {L"Nom", 75, 0x806, 0x8026, 0x40000082},
    {L"Name1", 200, 0x804, 0x8024, 0x40000080}, {L"Name2", 200, 0x804, 0x8024, 0x40000080},
};
} // namespace

CCrGridCtrl::CCrGridCtrl()
{
    m_bitmap.LoadBitmap(FOXG_BITMAP_ROWMARK);
    for (const SampleColumn& c : kSampleColumns)
    {
        FOXColumnDesc desc;
        desc.strTitle = c.title;
        desc.dwCellFormat = c.cellFormat;
        desc.dwHeaderFormat = c.headerFormat;
        const int col = AddColumn(c.width, desc);
        SetColumnEditor(col, 0, c.editorStyle, 0);
    }
    SetColumnImage(0, 7, 7, 1);
    SetRowCount(100, 1);
}

CCrGridCtrl::~CCrGridCtrl()
{
    m_bitmap.DeleteObject();
}

HGDIOBJ CCrGridCtrl::GetCellImage(int, int, UINT) const
{
    return m_bitmap.GetSafeHandle();
}

FOXCellValue CCrGridCtrl::GetCellText(int nCol, int nRow) const
{
    FOXCellValue v;
    const unsigned row = unsigned(nRow);
    switch (nCol)
    {
    case 0:
        v.strText.Format(L"%u", row * 5 / 3 + row + 1866);
        break;
    case 1:
        v.strText = L"Sampl";
        break;
    case 2:
        v.strText.Format(L"%u.%u.%u", 11u, 11u, 2000u);
        break;
    case 3:
        v.strText.Format(L"%u", row * 56 + 533);
        break;
    case 4:
        v.strText = L"Brandt";
        break;
    case 5:
        v.strText = L"Okafor";
        break;
    default:
        v.strText.Format(L"%u - %u", unsigned(nCol), row);
        break;
    }
    return v;
}
