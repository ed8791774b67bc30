#include "mfc/FrameWndEx.h"

#include "mfc/DockablePane.h"
#include "mfc/ToolBarEx.h"
#include "mfc/WinApp.h"
#include "mfc/WindowsDialog.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QTabBar>

#include <algorithm>

const UINT AFX_WM_CREATETOOLBAR = ::RegisterWindowMessageW(L"AFX_WM_CREATETOOLBAR");

BOOL CFrameDocking::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    return TRUE;
}

void CFrameDocking::DockPane(CDockablePane* pBar, UINT, LPCRECT)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    const DWORD allowed = (pBar->GetEnabledAlignment() ? pBar->GetEnabledAlignment() : CBRS_ALIGN_ANY) &
                          (m_dwDockStyle ? m_dwDockStyle : CBRS_ALIGN_ANY);
    const DWORD current = pBar->GetCurrentAlignment();
    if (current & allowed)
        pBar->DockToSide(current);
    else
    {
        for (DWORD side : {DWORD(CBRS_ALIGN_LEFT), DWORD(CBRS_ALIGN_RIGHT), DWORD(CBRS_ALIGN_TOP),
                           DWORD(CBRS_ALIGN_BOTTOM)})
        {
            if ((allowed & side) && pBar->DockToSide(side))
                break;
        }
    }
    pBar->ShowWindow(SW_SHOW);
}

void CFrameDocking::DockPane(CControlBar* pBar)
{
    if (auto* pToolBar = dynamic_cast<CMFCToolBar*>(pBar))
        pToolBar->DockToFrameTop();
    if (pBar && pBar->m_hWnd && dynamic_cast<CMFCToolBar*>(pBar))
        pBar->ShowWindow(SW_SHOW);
}

BOOL CFrameDocking::EnableAutoHidePanes(DWORD dwDockStyle)
{
    m_dwAutoHide = dwDockStyle & CBRS_ALIGN_ANY;
    return TRUE;
}

IMPLEMENT_DYNCREATE(CFrameWndEx, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIFrameWndEx, CMDIFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWndEx, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CFrameWndEx, CFrameWnd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIFrameWndEx, CMDIFrameWnd)
ON_REGISTERED_MESSAGE(AFX_WM_CREATETOOLBAR, &CMDIFrameWndEx::OnToolbarCreateNew)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIChildWndEx, CMDIChildWnd)
END_MESSAGE_MAP()

// --- CMDIFrameWndEx -------------------------------------------------------------------------------

CMDIFrameWndEx::CMDIFrameWndEx() : m_Impl(this) {}

CMDIFrameWndEx::~CMDIFrameWndEx()
{
    for (CMFCToolBar* pBar : m_userToolbars)
        delete pBar;
}

BOOL CMDIFrameWndEx::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                               CCreateContext* pContext)
{
    if (!CMDIFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    if (auto* pApp = dynamic_cast<CWinAppEx*>(AfxGetApp()))
        pApp->LoadState(&m_Impl);
    return TRUE;
}

namespace
{
QMdiArea* MdiAreaOf(const CWnd* pFrame)
{
    auto* main = pFrame ? qobject_cast<QMainWindow*>(pFrame->GetWidget()) : nullptr;
    return main ? qobject_cast<QMdiArea*>(main->centralWidget()) : nullptr;
}
} // namespace

void CMDIFrameWndEx::EnableMDITabbedGroups(BOOL bEnable, const CMDITabInfo& params)
{
    m_bTabbedGroups = bEnable;
    m_tabInfo = params;
    QMdiArea* area = MdiAreaOf(this);
    if (!area)
        return;
    if (!bEnable)
    {
        area->setViewMode(QMdiArea::SubWindowView);
        return;
    }
    area->setViewMode(QMdiArea::TabbedView);
    area->setTabsClosable(params.m_bTabCloseButton || params.m_bActiveTabCloseButton);
    area->setTabsMovable(params.m_bEnableTabSwap);
    area->setTabPosition(params.m_tabLocation == CMFCTabCtrl::LOCATION_BOTTOM ? QTabWidget::South
                                                                              : QTabWidget::North);
    // The flat and scrolled styles are plain tabs; the others rounded.
    const bool flat = params.m_style == CMFCTabCtrl::STYLE_FLAT ||
                      params.m_style == CMFCTabCtrl::STYLE_FLAT_SHARED_HORZ_SCROLL;
    area->setTabShape(flat ? QTabWidget::Rounded : QTabWidget::Triangular);
    area->setDocumentMode(params.m_style == CMFCTabCtrl::STYLE_3D_ONENOTE);
    UpdateMDITabbedBarsIcons();
}

void CMDIFrameWndEx::UpdateMDITabbedBarsIcons()
{
    QMdiArea* area = MdiAreaOf(this);
    if (!area || !m_bTabbedGroups)
        return;
    if (auto* tabs = area->findChild<QTabBar*>())
    {
        if (!m_tabInfo.m_bTabIcons)
            for (int i = 0; i < tabs->count(); ++i)
                tabs->setTabIcon(i, QIcon());
        // Automatic colours: each tab its own tint, as the tabs' order gives it.
        static const QColor tints[] = {QColor(0x9C, 0xB8, 0xE0), QColor(0xB8, 0xE0, 0x9C),
                                       QColor(0xE0, 0xC8, 0x9C), QColor(0xC8, 0x9C, 0xE0),
                                       QColor(0x9C, 0xE0, 0xD8)};
        for (int i = 0; i < tabs->count(); ++i)
            tabs->setTabTextColor(i, m_tabInfo.m_bAutoColor ? tints[i % 5].darker(200) : QColor());
    }
}

BOOL CMDIFrameWndEx::EnableWindowsDialog(UINT uiMenuId, UINT uiMenuTextResId, BOOL bShowAllways,
                                         BOOL bShowHelpButton)
{
    CString text;
    if (uiMenuTextResId && !text.LoadString(uiMenuTextResId))
        return FALSE;
    m_uiWindowsDlgMenuId = uiMenuId;
    m_strWindowsDlgMenuText = text;
    m_bShowWindowsDlgAlways = bShowAllways;
    m_bShowWindowsDlgHelpButton = bShowHelpButton;
    return TRUE;
}

void CMDIFrameWndEx::ShowWindowsDialog()
{
    CMFCWindowsManagerDialog dlg(this, m_bShowWindowsDlgHelpButton);
    dlg.DoModal();
}

void CMDIFrameWndEx::EnablePaneMenu(BOOL bEnable, UINT uiCustomizeCmd, const CString& strCustomizeLabel,
                                    UINT uiViewToolbarsMenuEntryID, BOOL, BOOL)
{
    m_uiCustomizeCmd = bEnable ? uiCustomizeCmd : 0;
    m_strCustomizeLabel = bEnable ? strCustomizeLabel : CString();
    m_uiViewToolbarsMenuEntryID = bEnable ? uiViewToolbarsMenuEntryID : 0;
}

BOOL CMDIFrameWndEx::InitUserToolbars(LPCWSTR, UINT uiUserToolbarFirst, UINT uiUserToolbarLast)
{
    if (uiUserToolbarLast < uiUserToolbarFirst)
        return FALSE;
    m_uiUserToolbarFirst = uiUserToolbarFirst;
    m_uiUserToolbarLast = uiUserToolbarLast;
    return TRUE;
}

CMFCToolBar* CMDIFrameWndEx::GetUserToolBarByIndex(int iIndex) const
{
    return iIndex >= 0 && iIndex < int(m_userToolbars.size()) ? m_userToolbars[size_t(iIndex)] : nullptr;
}

CMFCToolBar* CMDIFrameWndEx::CreateNewToolBar(LPCWSTR lpszName)
{
    return reinterpret_cast<CMFCToolBar*>(
        SendMessage(AFX_WM_CREATETOOLBAR, 0, reinterpret_cast<LPARAM>(lpszName ? lpszName : L"")));
}

LRESULT CMDIFrameWndEx::OnToolbarCreateNew(WPARAM, LPARAM lParam)
{
    if (!m_uiUserToolbarFirst)
        return 0;
    // The first free id of the range.
    UINT nID = m_uiUserToolbarFirst;
    for (; nID <= m_uiUserToolbarLast; ++nID)
        if (std::none_of(m_userToolbars.begin(), m_userToolbars.end(),
                         [nID](const CMFCToolBar* p) { return UINT(p->GetDlgCtrlID()) == nID; }))
            break;
    if (nID > m_uiUserToolbarLast)
        return 0;
    auto* pBar = new CMFCToolBar;
    if (!pBar->CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS,
                        CRect(1, 1, 1, 1), nID))
    {
        delete pBar;
        return 0;
    }
    pBar->SetWindowText(reinterpret_cast<LPCWSTR>(lParam));
    m_userToolbars.push_back(pBar);
    return reinterpret_cast<LRESULT>(pBar);
}

BOOL CMDIFrameWndEx::DeleteToolBar(CMFCToolBar* pToolBar)
{
    auto it = std::find(m_userToolbars.begin(), m_userToolbars.end(), pToolBar);
    if (it == m_userToolbars.end())
        return FALSE;
    m_userToolbars.erase(it);
    pToolBar->DestroyWindow();
    delete pToolBar;
    return TRUE;
}
