#include "editor/WindowDlg.h"

#include "mfc/Dc.h"
#include "mfc/Document.h"
#include "mfc/Menu.h"
#include "mfc/SysColor.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

IMPLEMENT_DYNAMIC(CWindowDlg, CResizableDialog)
IMPLEMENT_DYNAMIC(CMDIClient, CWnd)

BEGIN_MESSAGE_MAP(CWindowDlg, CResizableDialog)
ON_BN_CLICKED(IDC_WL_ACTIVATE, &CWindowDlg::OnActivate)
ON_LBN_DBLCLK(IDC_WINDOW_LIST, &CWindowDlg::OnActivate)
ON_BN_CLICKED(IDC_WL_CLOSE, &CWindowDlg::OnCloseWindows)
ON_BN_CLICKED(IDC_WL_SAVE, &CWindowDlg::OnSaveWindows)
ON_BN_CLICKED(IDC_WL_MINIMIZE, &CWindowDlg::OnMinimize)
ON_BN_CLICKED(IDC_WL_CASCADE, &CWindowDlg::OnCascade)
ON_BN_CLICKED(IDC_WL_TILE_HORZ, &CWindowDlg::OnTileHorz)
ON_BN_CLICKED(IDC_WL_TILE_VERT, &CWindowDlg::OnTileVert)
ON_LBN_SELCHANGE(IDC_WINDOW_LIST, &CWindowDlg::OnSelChange)
END_MESSAGE_MAP()

CWindowDlg::CWindowDlg(CMDIFrameWnd* pMDIFrame)
    : CResizableDialog(IDD_WINDOW_LIST, pMDIFrame), m_pMDIFrame(pMDIFrame)
{
}

CWnd* CWindowDlg::GetMDIClient() const
{
    return m_pMDIFrame ? CWnd::FromHandle(m_pMDIFrame->m_hWndMDIClient) : nullptr;
}

BOOL CWindowDlg::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    m_wndList.SubclassDlgItem(IDC_WINDOW_LIST, this);
    FillWindowList();
    SelectActiveWindow();
    for (UINT id :
         {UINT(IDC_WL_ACTIVATE), UINT(IDOK), UINT(IDC_WL_SAVE), UINT(IDC_WL_CLOSE), UINT(IDC_WL_CASCADE),
          UINT(IDC_WL_TILE_HORZ), UINT(IDC_WL_TILE_VERT), UINT(IDC_WL_MINIMIZE)})
        AddAnchor(id, TOP_RIGHT, NOANCHOR);
    AddAnchor(IDC_WINDOW_LIST, TOP_LEFT, BOTTOM_RIGHT);
    return TRUE;
}

void CWindowDlg::FillWindowList()
{
    if (!m_wndList.GetSafeHwnd())
        return;
    m_wndList.ResetContent();
    CWnd* pClient = GetMDIClient();
    if (!pClient)
        return;
    std::vector<CWnd*> children;
    pClient->GetChildWindows(children);
    for (CWnd* pChild : children)
    {
        CString text;
        pChild->GetWindowText(text);
        const int index = m_wndList.AddString(text.Left(256));
        if (index >= 0)
            m_wndList.SetItemData(index, reinterpret_cast<DWORD_PTR>(pChild->m_hWnd));
    }
}

void CWindowDlg::SelectActiveWindow()
{
    CWnd* pClient = GetMDIClient();
    if (!pClient || m_wndList.GetCount() == 0)
        return;
    const auto active = reinterpret_cast<HWND>(pClient->SendMessage(WM_MDIGETACTIVE));
    for (int i = 0; i < m_wndList.GetCount(); ++i)
        m_wndList.SetSel(i, reinterpret_cast<HWND>(m_wndList.GetItemData(i)) == active);
}

std::vector<HWND> CWindowDlg::GetSelectedWindows() const
{
    std::vector<HWND> result;
    const int n = m_wndList.GetSelCount();
    if (n <= 0)
        return result;
    std::vector<int> indexes(size_t(n), 0);
    const int got = m_wndList.GetSelItems(n, indexes.data());
    for (int i = 0; i < got; ++i)
        result.push_back(reinterpret_cast<HWND>(m_wndList.GetItemData(indexes[size_t(i)])));
    return result;
}

void CWindowDlg::UpdateButtons()
{
    const int n = std::max(0, m_wndList.GetSelCount());
    auto enable = [this](UINT id, BOOL on)
    {
        if (CWnd* p = GetDlgItem(int(id)))
            p->EnableWindow(on);
    };
    enable(IDC_WL_CLOSE, n >= 1);
    enable(IDC_WL_SAVE, n >= 1);
    enable(IDC_WL_MINIMIZE, n >= 1);
    enable(IDC_WL_CASCADE, n >= 2);
    enable(IDC_WL_TILE_HORZ, n >= 2);
    enable(IDC_WL_TILE_VERT, n >= 2);
    enable(IDC_WL_ACTIVATE, n == 1);
}

void CWindowDlg::Refill()
{
    FillWindowList();
    SelectActiveWindow();
    UpdateButtons();
}

void CWindowDlg::OnSelChange()
{
    UpdateButtons();
}

void CWindowDlg::OnActivate()
{
    const std::vector<HWND> selected = GetSelectedWindows();
    CWnd* pClient = GetMDIClient();
    if (selected.size() != 1 || !pClient)
        return;
    CWnd* pWnd = CWnd::FromHandle(selected.front());
    if (!pWnd)
        return;
    if (pWnd->IsIconic())
        pWnd->ShowWindow(SW_RESTORE);
    pClient->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(selected.front()));
    EndDialog(IDOK);
}

void CWindowDlg::OnCloseWindows()
{
    const std::vector<HWND> selected = GetSelectedWindows();
    CWnd* pClient = GetMDIClient();
    for (auto it = selected.rbegin(); it != selected.rend() && pClient; ++it)
    {
        if (CWnd* pWnd = CWnd::FromHandle(*it))
            pWnd->SendMessage(WM_CLOSE);
        // Still among the client's children: it refused to close.
        std::vector<CWnd*> children;
        pClient->GetChildWindows(children);
        if (std::any_of(children.begin(), children.end(), [h = *it](CWnd* c) { return c->m_hWnd == h; }))
            break;
    }
    Refill();
}

void CWindowDlg::OnSaveWindows()
{
    for (HWND h : GetSelectedWindows())
    {
        auto* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(h));
        CDocument* pDoc = pFrame ? pFrame->GetActiveDocument() : nullptr;
        if (pDoc && pDoc->IsModified())
            pDoc->SaveModified();
    }
    Refill();
}

void CWindowDlg::OnMinimize()
{
    const std::vector<HWND> selected = GetSelectedWindows();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        if (CWnd* pWnd = CWnd::FromHandle(*it))
            pWnd->ShowWindow(SW_MINIMIZE);
    Refill();
}

void CWindowDlg::Arrange(UINT nMessage, WPARAM wParam)
{
    CWnd* pClient = GetMDIClient();
    if (!pClient)
        return;
    // Only the selected windows take part: the others are minimised first.
    for (int i = m_wndList.GetCount() - 1; i >= 0; --i)
    {
        CWnd* pWnd = CWnd::FromHandle(reinterpret_cast<HWND>(m_wndList.GetItemData(i)));
        if (pWnd)
            pWnd->ShowWindow(m_wndList.GetSel(i) > 0 ? SW_RESTORE : SW_MINIMIZE);
    }
    pClient->SendMessage(nMessage, wParam, 0);
}

void CWindowDlg::OnCascade()
{
    Arrange(WM_MDICASCADE, 0);
}

void CWindowDlg::OnTileHorz()
{
    Arrange(WM_MDITILE, MDITILE_HORIZONTAL);
}

void CWindowDlg::OnTileVert()
{
    Arrange(WM_MDITILE, MDITILE_VERTICAL);
}

// --- CWindowListBox -------------------------------------------------------------------------------

HICON CWindowListBox::GetWindowIcon(HWND hWnd)
{
    for (CWnd* pWnd = CWnd::FromHandle(hWnd); pWnd; pWnd = pWnd->GetParentFrame())
    {
        if (HICON icon = pWnd->GetIcon(FALSE))
            return icon;
        if (HICON icon = pWnd->GetIcon(TRUE))
            return icon;
    }
    return nullptr;
}

void CWindowListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (int(lpDrawItemStruct->itemID) < 0)
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pDC)
        return;
    const CRect rc(lpDrawItemStruct->rcItem);
    const BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    if (lpDrawItemStruct->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))
        pDC->FillSolidRect(&rc, ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const COLORREF oldText =
        pDC->SetTextColor(::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const int oldMode = pDC->SetBkMode(TRANSPARENT);

    const int side = rc.Height();
    if (HICON icon = GetWindowIcon(reinterpret_cast<HWND>(lpDrawItemStruct->itemData)))
        pDC->DrawIconEx(rc.left + 2, rc.top, icon, side, side, DI_NORMAL);

    CString text;
    GetText(int(lpDrawItemStruct->itemID), text);
    CRect rcText = rc;
    rcText.left += side + 4;
    if (QPainter* painter = pDC->GetPainter())
        if (const QWidget* w = GetWidget())
            painter->setFont(w->font());
    pDC->DrawText(text, &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);

    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldText);
    if (lpDrawItemStruct->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(&rc);
}

// --- CMDIClient ------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMDIClient, CWnd)
ON_MESSAGE(WM_MDISETMENU, &CMDIClient::OnMDISetMenu)
ON_MESSAGE(WM_MDIREFRESHMENU, &CMDIClient::OnMDIRefreshMenu)
END_MESSAGE_MAP()

CMDIClient::CMDIClient() : m_strMenuText(L"\u7A97\u53E3\u7BA1\u7406") {}

INT_PTR CMDIClient::ShowWindowList(CMDIFrameWnd* pFrame)
{
    CWindowDlg dlg(pFrame);
    return dlg.DoModal();
}

LRESULT CMDIClient::OnMDISetMenu(WPARAM, LPARAM lParam)
{
    const LRESULT result = Default();
    if (lParam)
        m_hWindowMenu = reinterpret_cast<HMENU>(lParam);
    SendMessage(WM_MDIREFRESHMENU);
    return result;
}

LRESULT CMDIClient::OnMDIRefreshMenu(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    CMenu* pMenu = m_hWindowMenu ? CMenu::FromHandle(m_hWindowMenu) : nullptr;
    if (!pMenu)
        return result;
    constexpr UINT kMoreWindows = 0xFF09;
    const UINT state = pMenu->GetMenuState(kMoreWindows, MF_BYCOMMAND);
    while (pMenu->RemoveMenu(kMoreWindows, MF_BYCOMMAND))
    {
    }
    while (pMenu->RemoveMenu(ID_WINDOW_LIST, MF_BYCOMMAND))
    {
    }
    pMenu->AppendMenu(MF_STRING | (state == UINT(-1) ? 0 : (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED))),
                      ID_WINDOW_LIST, m_strMenuText);
    return result;
}
