#include "multiview/MainFrm.h"

#include "mfc/Messages.h"
#include "mfc/ModalHook.h"
#include "mfc/VisualManager.h"
#include "mfc/WaitCursor.h"
#include "mfc/WinApp.h"
#include "mfc/WindowsDialog.h"
#include "multiview/QYRMViewApp.h"
#include "multiview/Resource.h"
#include "opc/AlarmDoc.h"
#include "opc/EventData.h"

IMPLEMENT_DYNCREATE(CMessageBar, CMFCCaptionBar)
IMPLEMENT_DYNCREATE(CMainFrame, CXVKMDIFrameWndEx)

namespace
{
const wchar_t* const kLookSection = L"Workspace";
const wchar_t* const kLookEntry = L"ApplicationLook";

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

CString LoadText(UINT nID)
{
    CString text;
    text.LoadString(nID);
    return text;
}
} // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CXVKMDIFrameWndEx)
ON_COMMAND(ID_HELP_FINDER, &CXVKMDIFrameWndEx::OnHelpFinder)
ON_COMMAND(ID_DEFAULT_HELP, &CXVKMDIFrameWndEx::OnHelpFinder)
ON_COMMAND(ID_HELP, &CXVKMDIFrameWndEx::OnHelp)
ON_COMMAND(ID_CONTEXT_HELP, &CXVKMDIFrameWndEx::OnContextHelp)
ON_COMMAND(ID_WINDOW_MANAGER, &CMainFrame::OnWindowManager)
ON_COMMAND(ID_VIEW_CUSTOMIZE, &CMainFrame::OnViewCustomize)
ON_REGISTERED_MESSAGE(AFX_WM_CREATETOOLBAR, &CMainFrame::OnToolbarCreateNew)
ON_COMMAND_RANGE(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_OFF_2007_AQUA, &CMainFrame::OnApplicationLook)
ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_OFF_2007_AQUA,
                           &CMainFrame::OnUpdateApplicationLook)
ON_COMMAND(ID_VIEW_CAPTION_BAR, &CMainFrame::OnViewCaptionBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_CAPTION_BAR, &CMainFrame::OnUpdateViewCaptionBar)
ON_MESSAGE(WM_SHOW_EVENT, &CMainFrame::OnShowEvent)
ON_MESSAGE(WM_VIEWER_RESERVED, &CMainFrame::OnReserved)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
{
    if (CQYRMViewApp* app = AfxGetMViewApp())
    {
        const UINT look = app->GetProfileInt(kLookSection, kLookEntry, ID_VIEW_APPLOOK_VS_2005);
        app->m_nAppLook = look >= ID_VIEW_APPLOOK_WIN_2000 && look <= ID_VIEW_APPLOOK_OFF_2007_AQUA
                              ? look
                              : UINT(ID_VIEW_APPLOOK_VS_2005);
    }
}

CMainFrame::~CMainFrame()
{
    if (CMFCToolBar::GetUserImages() == &m_UserImages)
        CMFCToolBar::SetUserImages(nullptr);
    // A frame that never got its window still owns its alarm document.
    CloseAlarmDocument();
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CXVKMDIFrameWndEx::OnCreate(lpCreateStruct) == -1)
        return -1;
    CQYRMViewApp* app = AfxGetMViewApp();
    const BOOL bHiColor = app ? app->m_bHiColorIcons : TRUE;
    OnApplicationLook(app ? app->m_nAppLook : UINT(ID_VIEW_APPLOOK_VS_2005));

    CMDITabInfo mdiTabParams;
    mdiTabParams.m_style = CMFCTabCtrl::STYLE_3D_ONENOTE;
    mdiTabParams.m_bActiveTabCloseButton = TRUE;
    mdiTabParams.m_bTabIcons = FALSE;
    mdiTabParams.m_bAutoColor = TRUE;
    mdiTabParams.m_bDocumentMenu = TRUE;
    EnableMDITabbedGroups(TRUE, mdiTabParams);

    if (!m_wndMenuBar.Create(this, AFX_DEFAULT_TOOLBAR_STYLE, ID_MENU_BAR))
        return -1;
    m_wndMenuBar.SetPaneStyle(m_wndMenuBar.GetPaneStyle() | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS | CBRS_FLYBY);
    CMFCPopupMenu::SetForceMenuFocus(FALSE);

    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY |
                                   CBRS_SIZE_DYNAMIC,
                               CRect(1, 1, 1, 1), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(bHiColor ? IDR_MAINFRAME_256 : IDR_MAINFRAME))
        return -1;
    m_wndToolBar.SetWindowText(LoadText(IDS_TOOLBAR_STANDARD));
    m_wndToolBar.EnableCustomizeButton(TRUE, ID_VIEW_CUSTOMIZE, LoadText(IDS_TOOLBAR_CUSTOMIZE));

    InitUserToolbars(nullptr, ID_USER_TOOLBAR_FIRST, ID_USER_TOOLBAR_LAST);

    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(kIndicators, 4))
        return -1;

    m_wndMenuBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockPane(&m_wndMenuBar);
    DockPane(&m_wndToolBar);

    CDockingManager::SetDockingMode(CDockingManager::DT_SMART);
    EnableAutoHidePanes(CBRS_ALIGN_ANY);

    if (!CreateCaptionBar())
        return -1;

    CMFCToolBar::AddToolBarForImageCollection(IDR_MENU_IMAGES, bHiColor ? IDB_MENU_IMAGES_24 : 0);

    if (!CreateDockingWindows())
        return -1;
    m_wndFileView.EnableDocking(CBRS_ALIGN_ANY);
    DockPane(&m_wndFileView);

    EnableWindowsDialog(ID_WINDOW_MANAGER, IDS_WINDOWS_MANAGER, TRUE, FALSE);
    EnablePaneMenu(TRUE, ID_VIEW_CUSTOMIZE, LoadText(IDS_TOOLBAR_CUSTOMIZE), ID_VIEW_TOOLBAR);

    CMFCToolBar::EnableQuickCustomization();
    if (!CMFCToolBar::GetUserImages())
    {
        m_UserImages.SetImageSize(CSize(16, 16));
        if (m_UserImages.Load(L".\\UserImages.bmp", USER_IMAGES_MAX_BYTES))
            CMFCToolBar::SetUserImages(&m_UserImages);
    }

    CMFCToolBar::SetBasicCommands({ID_FILE_NEW,
                                   ID_FILE_OPEN,
                                   ID_FILE_SAVE,
                                   ID_FILE_PRINT,
                                   ID_APP_EXIT,
                                   ID_EDIT_CUT,
                                   ID_EDIT_PASTE,
                                   ID_EDIT_UNDO,
                                   ID_APP_ABOUT,
                                   ID_VIEW_STATUS_BAR,
                                   ID_VIEW_TOOLBAR,
                                   ID_VIEW_APPLOOK_OFF_2003,
                                   ID_VIEW_APPLOOK_VS_2005,
                                   ID_VIEW_APPLOOK_OFF_2007_BLUE,
                                   ID_VIEW_APPLOOK_OFF_2007_SILVER,
                                   ID_VIEW_APPLOOK_OFF_2007_BLACK,
                                   ID_VIEW_APPLOOK_OFF_2007_AQUA,
                                   146,
                                   147,
                                   148,
                                   145});

    SetTimer(ID_FRAME_TIMER, FRAME_TIMER_PERIOD);

    auto* pAlarmDoc = new CAlarmDoc;
    if (!pAlarmDoc->OnNewDocument())
        delete pAlarmDoc;
    else
    {
        m_pAlarmDoc = pAlarmDoc;
        m_pAlarmDoc->SetViewHwnd(m_hWnd);
    }
    return 0;
}

BOOL CMainFrame::CreateCaptionBar()
{
    if (!m_wndCaptionBar.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, this, ID_CAPTION_BAR, -1, TRUE))
        return FALSE;
    m_wndCaptionBar.SetText(LoadText(IDS_CAPTION_TEXT), CMFCCaptionBar::ALIGN_LEFT);
    m_wndCaptionBar.SetBitmap(IDB_INFO, RGB(255, 255, 255), FALSE, CMFCCaptionBar::ALIGN_LEFT);
    m_wndCaptionBar.SetImageToolTip(LoadText(IDS_CAPTION_IMAGE_TIP), LoadText(IDS_CAPTION_IMAGE_TEXT));
    return TRUE;
}

BOOL CMainFrame::CreateDockingWindows()
{
    if (!m_wndFileView.Create(LoadText(IDS_FILE_VIEW), this, CRect(0, 0, 200, 200), TRUE, ID_FILE_VIEW,
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_LEFT |
                                  CBRS_FLOAT_MULTI,
                              AFX_CBRS_REGULAR_TABS, AFX_DEFAULT_DOCKING_PANE_STYLE))
        return FALSE;
    CQYRMViewApp* app = AfxGetMViewApp();
    SetDockingWindowIcons(app ? app->m_bHiColorIcons : TRUE);
    return TRUE;
}

void CMainFrame::SetDockingWindowIcons(BOOL bHiColorIcons)
{
    if (CWinApp* app = AfxGetApp())
        m_wndFileView.SetIcon(app->LoadIcon(bHiColorIcons ? IDI_FILE_VIEW_HC : IDI_FILE_VIEW), FALSE);
    UpdateMDITabbedBarsIcons();
}

BOOL CMainFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    if (!CXVKMDIFrameWndEx::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    const CString customize = LoadText(IDS_TOOLBAR_CUSTOMIZE);
    for (int i = 0; i < 10; ++i)
        if (CMFCToolBar* pUserToolbar = GetUserToolBarByIndex(i))
            pUserToolbar->EnableCustomizeButton(TRUE, ID_VIEW_CUSTOMIZE, customize);
    return TRUE;
}

void CMainFrame::FillFrameInfo(tagFRAMEINFO& info) const
{
    // The first member is left as the caller had it; the class and output panes never exist.
    info.hMenuBar = m_wndMenuBar.GetSafeHwnd();
    info.hToolBar = m_wndToolBar.GetSafeHwnd();
    info.hStatusBar = m_wndStatusBar.GetSafeHwnd();
    info.hFileViewTree = m_wndFileView.GetTree().GetSafeHwnd();
    info.hClassViewTree = m_wndClassView.GetTree().GetSafeHwnd();
    info.hOutputBuild = m_wndOutput.GetBuildList().GetSafeHwnd();
    info.hOutputDebug = m_wndOutput.GetDebugList().GetSafeHwnd();
    info.hOutputFind = m_wndOutput.GetFindList().GetSafeHwnd();
    info.hCaptionBar = m_wndCaptionBar.GetSafeHwnd();
}

void CMainFrame::CloseAlarmDocument()
{
    if (!m_pAlarmDoc)
        return;
    CAlarmDoc* pDoc = m_pAlarmDoc;
    m_pAlarmDoc = nullptr;
    pDoc->SetViewHwnd(nullptr);
    pDoc->OnCloseDocument();
    delete pDoc;
}

void CMainFrame::OnQuitConfirmed()
{
    CloseAlarmDocument();
}

void CMainFrame::OnDestroy()
{
    CloseAlarmDocument();
    KillTimer(ID_FRAME_TIMER);
    CXVKMDIFrameWndEx::OnDestroy();
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent)
{
    if (auto* app = dynamic_cast<VEzudiZuroDoz*>(AfxGetApp()))
        app->OnTimer(UINT(nIDEvent));
    // The alarm connection is kept on the same beat: a lost server is let go, a returned one taken up.
    if (nIDEvent == ID_FRAME_TIMER && m_pAlarmDoc)
        m_pAlarmDoc->CheckEventServer();
    CXVKMDIFrameWndEx::OnTimer(nIDEvent);
}

void CMainFrame::OnWindowManager()
{
    ShowWindowsDialog();
}

void CMainFrame::OnViewCustomize()
{
    CMFCToolBarsCustomizeDialog dlg(this, TRUE);
    dlg.EnableUserDefinedToolbars();
    dlg.DoModal();
}

LRESULT CMainFrame::OnToolbarCreateNew(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lres = CXVKMDIFrameWndEx::OnToolbarCreateNew(wParam, lParam);
    if (lres == 0)
        return 0;
    auto* pUserToolbar = reinterpret_cast<CMFCToolBar*>(lres);
    pUserToolbar->EnableCustomizeButton(TRUE, ID_VIEW_CUSTOMIZE, LoadText(IDS_TOOLBAR_CUSTOMIZE));
    return lres;
}

void CMainFrame::OnApplicationLook(UINT id)
{
    CWaitCursor wait;
    if (CQYRMViewApp* app = AfxGetMViewApp())
        app->m_nAppLook = id;
    switch (id)
    {
    case ID_VIEW_APPLOOK_WIN_2000:
        CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManager));
        break;
    case ID_VIEW_APPLOOK_OFF_XP:
        CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerOfficeXP));
        break;
    case ID_VIEW_APPLOOK_WIN_XP:
        CMFCVisualManagerWindows::m_b3DTabsXPTheme = TRUE;
        CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerWindows));
        break;
    case ID_VIEW_APPLOOK_OFF_2003:
        CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerOffice2003));
        CDockingManager::SetDockingMode(CDockingManager::DT_SMART);
        break;
    case ID_VIEW_APPLOOK_VS_2005:
        CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerVS2005));
        CDockingManager::SetDockingMode(CDockingManager::DT_SMART);
        break;
    default:
        switch (id)
        {
        case ID_VIEW_APPLOOK_OFF_2007_BLUE:
            CMFCVisualManagerOffice2007::SetStyle(CMFCVisualManagerOffice2007::Office2007_LunaBlue);
            break;
        case ID_VIEW_APPLOOK_OFF_2007_BLACK:
            CMFCVisualManagerOffice2007::SetStyle(CMFCVisualManagerOffice2007::Office2007_ObsidianBlack);
            break;
        case ID_VIEW_APPLOOK_OFF_2007_SILVER:
            CMFCVisualManagerOffice2007::SetStyle(CMFCVisualManagerOffice2007::Office2007_Silver);
            break;
        case ID_VIEW_APPLOOK_OFF_2007_AQUA:
            CMFCVisualManagerOffice2007::SetStyle(CMFCVisualManagerOffice2007::Office2007_Aqua);
            break;
        }
        CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerOffice2007));
        CDockingManager::SetDockingMode(CDockingManager::DT_SMART);
        break;
    }
    if (m_wndFileView.GetSafeHwnd())
        m_wndFileView.OnChangeVisualStyle();
    RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME | RDW_ERASE);
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(kLookSection, kLookEntry, int(id));
}

void CMainFrame::OnUpdateApplicationLook(CCmdUI* pCmdUI)
{
    CQYRMViewApp* app = AfxGetMViewApp();
    pCmdUI->SetRadio(app && app->m_nAppLook == pCmdUI->m_nID);
}

void CMainFrame::OnViewCaptionBar()
{
    m_wndCaptionBar.ShowWindow(m_wndCaptionBar.IsWindowVisible() ? SW_HIDE : SW_SHOW);
    RecalcLayout(FALSE);
}

void CMainFrame::OnUpdateViewCaptionBar(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_wndCaptionBar.IsWindowVisible());
}

LRESULT CMainFrame::OnShowEvent(WPARAM wParam, LPARAM)
{
    // The event is ours to free whether or not it is shown.
    auto* pData = reinterpret_cast<CEventData*>(wParam);
    if (pData && m_wndCaptionBar.GetSafeHwnd())
        m_wndCaptionBar.SetText(pData->GetFormatMessage(), CMFCCaptionBar::ALIGN_LEFT);
    delete pData;
    return 0;
}

LRESULT CMainFrame::OnReserved(WPARAM, LPARAM)
{
    return 0;
}
