#include "mfc/WindowsDialog.h"

#include "mfc/FrameWndEx.h"
#include "mfc/ListBoxCtl.h"
#include "mfc/Menu.h"
#include "mfc/ModalHook.h"
#include "mfc/ResourceScript.h"
#include "mfc/ToolBarEx.h"

namespace
{
const char kTemplates[] = R"(
1 DIALOG 0, 0, 260, 150
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "Windows"
FONT 8, "MS Shell Dlg"
BEGIN
    LISTBOX 100, 7, 7, 180, 136, LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP
    DEFPUSHBUTTON "&Activate", 101, 195, 7, 58, 14
    PUSHBUTTON "OK", 1, 195, 24, 58, 14
    PUSHBUTTON "&Close Window", 102, 195, 41, 58, 14
    PUSHBUTTON "&Help", 9, 195, 58, 58, 14
END

2 DIALOG 0, 0, 230, 130
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "Customize"
FONT 8, "MS Shell Dlg"
BEGIN
    LTEXT "Toolbars:", -1, 7, 7, 140, 10
    LISTBOX 100, 7, 18, 148, 105, LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP
    PUSHBUTTON "&New...", 101, 163, 18, 60, 14
    PUSHBUTTON "&Delete", 102, 163, 35, 60, 14
    PUSHBUTTON "&Show/Hide", 103, 163, 52, 60, 14
    PUSHBUTTON "Close", 2, 163, 109, 60, 14
END
)";

const CResourceScript& Templates()
{
    static const CResourceScript script = []
    {
        CResourceScript s;
        s.Parse("QyrMfcFrameDialogs", kTemplates, nullptr, 0);
        return s;
    }();
    return script;
}

void CollectMenuCommands(HMENU hMenu, std::vector<UINT>& ids)
{
    const int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i)
    {
        if (HMENU sub = ::GetSubMenu(hMenu, i))
            CollectMenuCommands(sub, ids);
        else if (UINT id = ::GetMenuItemID(hMenu, i); id != 0 && id != UINT(-1))
            ids.push_back(id);
    }
}
} // namespace

// --- CMFCWindowsManagerDialog ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMFCWindowsManagerDialog, CDialog)
ON_BN_CLICKED(CMFCWindowsManagerDialog::IDC_ACTIVATE, &CMFCWindowsManagerDialog::OnActivate)
ON_BN_CLICKED(CMFCWindowsManagerDialog::IDC_CLOSE_WINDOW, &CMFCWindowsManagerDialog::OnCloseWindow)
ON_LBN_DBLCLK(CMFCWindowsManagerDialog::IDC_WINDOWS_LIST, &CMFCWindowsManagerDialog::OnActivate)
END_MESSAGE_MAP()

CMFCWindowsManagerDialog::CMFCWindowsManagerDialog(CMDIFrameWndEx* pMDIFrame, BOOL bHelpButton)
    : CDialog(UINT(1), pMDIFrame), m_pMDIFrame(pMDIFrame), m_bHelpButton(bHelpButton)
{
}

const AFX_DLG_TEMPLATE* CMFCWindowsManagerDialog::FindTemplate() const
{
    return Templates().FindDialog(CResourceName(WORD(1)));
}

BOOL CMFCWindowsManagerDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* help = GetDlgItem(IDHELP))
        help->ShowWindow(m_bHelpButton ? SW_SHOW : SW_HIDE);
    FillList();
    return TRUE;
}

void CMFCWindowsManagerDialog::FillList()
{
    auto* list = static_cast<CListBox*>(GetDlgItem(IDC_WINDOWS_LIST));
    if (!list || !m_pMDIFrame)
        return;
    list->ResetContent();
    m_children.clear();
    std::vector<CWnd*> children;
    m_pMDIFrame->GetMDIChildren(children);
    for (CWnd* child : children)
    {
        CString title;
        child->GetWindowText(title);
        list->AddString(title);
        m_children.push_back(child->GetSafeHwnd());
    }
    if (!m_children.empty())
        list->SetCurSel(0);
}

HWND CMFCWindowsManagerDialog::SelectedChild() const
{
    auto* list = static_cast<CListBox*>(GetDlgItem(IDC_WINDOWS_LIST));
    const int sel = list ? list->GetCurSel() : -1;
    return sel >= 0 && sel < int(m_children.size()) && ::IsWindow(m_children[size_t(sel)])
               ? m_children[size_t(sel)]
               : nullptr;
}

void CMFCWindowsManagerDialog::OnActivate()
{
    if (HWND hChild = SelectedChild())
    {
        m_pMDIFrame->MDIActivate(CWnd::FromHandle(hChild));
        EndDialog(IDOK);
    }
}

void CMFCWindowsManagerDialog::OnCloseWindow()
{
    if (HWND hChild = SelectedChild())
        ::SendMessageW(hChild, WM_CLOSE, 0, 0);
    FillList();
}

// --- CMFCToolBarsCustomizeDialog ------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMFCToolBarsCustomizeDialog, CDialog)
ON_BN_CLICKED(CMFCToolBarsCustomizeDialog::IDC_NEW_TOOLBAR, &CMFCToolBarsCustomizeDialog::OnNewToolbar)
ON_BN_CLICKED(CMFCToolBarsCustomizeDialog::IDC_DELETE_TOOLBAR, &CMFCToolBarsCustomizeDialog::OnDeleteToolbar)
ON_BN_CLICKED(CMFCToolBarsCustomizeDialog::IDC_SHOW_TOOLBAR, &CMFCToolBarsCustomizeDialog::OnShowToolbar)
END_MESSAGE_MAP()

CMFCToolBarsCustomizeDialog::CMFCToolBarsCustomizeDialog(CMDIFrameWndEx* pWndParentFrame,
                                                         BOOL bAutoSetFromMenus, UINT uiFlags)
    : CDialog(UINT(2), pWndParentFrame), m_pFrame(pWndParentFrame), m_bAutoSetFromMenus(bAutoSetFromMenus),
      m_uiFlags(uiFlags)
{
    if (bAutoSetFromMenus && pWndParentFrame && pWndParentFrame->m_hMenuDefault)
        CollectMenuCommands(pWndParentFrame->m_hMenuDefault, m_commands);
}

const AFX_DLG_TEMPLATE* CMFCToolBarsCustomizeDialog::FindTemplate() const
{
    return Templates().FindDialog(CResourceName(WORD(2)));
}

BOOL CMFCToolBarsCustomizeDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (UINT id : {UINT(IDC_NEW_TOOLBAR), UINT(IDC_DELETE_TOOLBAR)})
        if (CWnd* button = GetDlgItem(id))
            button->EnableWindow(m_bUserToolbars);
    FillList();
    return TRUE;
}

void CMFCToolBarsCustomizeDialog::FillList()
{
    auto* list = static_cast<CListBox*>(GetDlgItem(IDC_TOOLBARS_LIST));
    if (!list || !m_pFrame)
        return;
    list->ResetContent();
    m_listed.clear();
    for (CMFCToolBar* bar : CMFCToolBar::GetAllToolbars())
    {
        if (!bar->GetSafeHwnd() || bar->GetParentFrame() != m_pFrame)
            continue;
        CString name;
        bar->GetWindowText(name);
        list->AddString(name);
        m_listed.push_back(bar);
    }
}

CMFCToolBar* CMFCToolBarsCustomizeDialog::SelectedToolbar() const
{
    auto* list = static_cast<CListBox*>(GetDlgItem(IDC_TOOLBARS_LIST));
    const int sel = list ? list->GetCurSel() : -1;
    return sel >= 0 && sel < int(m_listed.size()) ? m_listed[size_t(sel)] : nullptr;
}

void CMFCToolBarsCustomizeDialog::OnNewToolbar()
{
    if (!m_bUserToolbars || !m_pFrame)
        return;
    CString name;
    name.Format(L"Custom %d", m_pFrame->GetUserToolBarCount() + 1);
    if (!m_pFrame->CreateNewToolBar(name))
        AfxMessageBox(L"No more user toolbars can be made.", MB_OK | MB_ICONINFORMATION);
    FillList();
}

void CMFCToolBarsCustomizeDialog::OnDeleteToolbar()
{
    if (CMFCToolBar* bar = SelectedToolbar(); bar && m_pFrame)
        m_pFrame->DeleteToolBar(bar);
    FillList();
}

void CMFCToolBarsCustomizeDialog::OnShowToolbar()
{
    if (CMFCToolBar* bar = SelectedToolbar())
        bar->ShowWindow(bar->IsWindowVisible() ? SW_HIDE : SW_SHOW);
}
