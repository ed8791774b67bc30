#include "player/MainFrm.h"

#include "foundation/VEzudiZuroDoz.h"
#include "mfc/CommandIcons.h"
#include "mfc/Gdi.h"
#include "mfc/Menu.h"
#include "mfc/Messages.h"
#include "mfc/View.h"
#include "mfc/WinApp.h"
#include "model/WorkSpaceObj.h"
#include "player/SplashWnd.h"

#include <QSaveFile>
#include <QScrollBar>
#include <QString>
#include <QWidget>

#include <string>

IMPLEMENT_DYNCREATE(CMainFrame, CXVKFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CXVKFrameWnd)
ON_COMMAND(ID_VIEW_FULL_SCREEN, &CMainFrame::OnViewFullScreen)
ON_COMMAND(ID_HELP_FINDER, &CXVKFrameWnd::OnHelpFinder)
ON_COMMAND(ID_HELP, &CXVKFrameWnd::OnHelp)
ON_COMMAND(ID_CONTEXT_HELP, &CXVKFrameWnd::OnContextHelp)
ON_COMMAND(ID_DEFAULT_HELP, &CXVKFrameWnd::OnHelpFinder)
END_MESSAGE_MAP()

CMainFrame::~CMainFrame()
{
    if (m_hOwnIcon)
        DestroyIcon(m_hOwnIcon);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CXVKFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = WS_MAXIMIZE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CXVKFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* app = dynamic_cast<VEzudiZuroDoz*>(AfxGetApp());
    CWorkSpaceObj* ws = app ? app->GetWorkSpace() : nullptr;
    if (ws)
        ApplyWindowSettings(*ws);
    // The menu came from the language library when one is chosen: its texts are references.
    if (app && GetMenu())
        app->TranslateMenu(GetMenu()->GetSafeHmenu());
    TrimMenu();
    // The player's own command with a standard icon; the framework names the menu's others.
    AfxSetCommandIconNames(ID_VIEW_FULL_SCREEN, L"view-fullscreen");
    SetTimer(ID_FRAME_TIMER, FRAME_TIMER_PERIOD);
    return 0;
}

void CMainFrame::ApplyWindowSettings(const CWorkSpaceObj& ws)
{
    // Kept as the frame's own title too, so that no later title update replaces it.
    m_strTitle = ws.m_strProjectName;
    SetWindowText(m_strTitle);
    if (ws.m_bFullScreen)
    {
        ModifyStyle(WS_BORDER | WS_THICKFRAME, 0);
        ShowFullScreen();
    }
    else
    {
        auto setStyle = [this](int on, DWORD bits)
        {
            if (on)
                ModifyStyle(0, bits);
            else
                ModifyStyle(bits, 0);
        };
        if (ws.m_bWindowFlag && !m_hOwnIcon)
        {
            m_hOwnIcon = AfxGetApp()->LoadIcon(IDI_OWN_ICON);
            SetIcon(m_hOwnIcon, TRUE);
            SetIcon(m_hOwnIcon, FALSE);
        }
        setStyle(ws.m_bShow3DBorder, WS_BORDER);
        setStyle(ws.m_bShowMaxBox, WS_MAXIMIZEBOX);
        setStyle(ws.m_bShowMinBox, WS_MINIMIZEBOX);
        setStyle(ws.m_bShowCloseBox, WS_SYSMENU);
        setStyle(ws.m_bShowTitleBar, WS_CAPTION);
        if (ws.m_bShowHelpBox)
            ModifyStyleEx(0, WS_EX_CONTEXTHELP);
        else
            ModifyStyleEx(WS_EX_CONTEXTHELP, 0);
        // The window manager puts caption and border outside the size set here, so the size is
        // the client size with its edges.
        const int width = ws.m_nWindowWidth + 2 * GetSystemMetrics(SM_CXEDGE);
        const int height = ws.m_nWindowHeight + 2 * GetSystemMetrics(SM_CYEDGE);
        MoveWindow((GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                   width, height, TRUE);
    }
    if (ws.m_bAlwaysOnTop)
        SetWindowPos(reinterpret_cast<const CWnd*>(HWND_TOPMOST), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CMainFrame::ShowFullScreen()
{
    ModifyStyle(WS_CAPTION | WS_BORDER | WS_THICKFRAME, 0);
    MoveWindow(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), TRUE);
}

void CMainFrame::TrimMenu()
{
    CMenu* menu = GetMenu();
    if (!menu)
        return;
    for (UINT i = 0; i < menu->GetMenuItemCount(); ++i)
    {
        if (CMenu* sub = menu->GetSubMenu(int(i)))
        {
            sub->DeleteMenu(ID_VIEW_LANGUAGE_CMD, MF_BYCOMMAND);
            sub->DeleteMenu(ID_VIEW_TOOLBAR_CMD, MF_BYCOMMAND);
        }
    }
    DrawMenuBar();
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == ID_FRAME_TIMER && !m_bWindowReported)
        WriteWindowReport();
    if (auto* app = dynamic_cast<VEzudiZuroDoz*>(AfxGetApp()))
        app->OnTimer(UINT(nIDEvent));
    CXVKFrameWnd::OnTimer(nIDEvent);
}

void CMainFrame::WriteWindowReport()
{
    m_bWindowReported = TRUE;
    const QString path = qEnvironmentVariable("QYRVIEW_WINDOW_REPORT");
    if (path.isEmpty())
        return;
    CString caption;
    GetWindowText(caption);
    CRect frame;
    GetWindowRect(&frame);
    CRect client;
    CSize screen(0, 0);
    bool hbar = false, vbar = false;
    if (CView* view = GetActiveView())
    {
        view->GetClientRect(&client);
        if (auto* scroll = dynamic_cast<CScrollView*>(view))
            screen = scroll->GetTotalSize();
        for (const QScrollBar* bar : view->GetWidget()->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
            if (bar->isVisible())
                (bar->orientation() == Qt::Horizontal ? hbar : vbar) = true;
    }
    // The picture first: the report's presence says both are there.
    GetWidget()->grab().save(path + ".png");
    const QString text =
        QStringLiteral("caption=%1\nframe=%2x%3\nview=%4x%5\nhbar=%6\nvbar=%7\nscreen=%8x%9\n")
            .arg(QString::fromStdWString(std::wstring(caption.GetString())))
            .arg(frame.Width())
            .arg(frame.Height())
            .arg(client.Width())
            .arg(client.Height())
            .arg(hbar ? 1 : 0)
            .arg(vbar ? 1 : 0)
            .arg(screen.cx)
            .arg(screen.cy);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly))
    {
        file.write(text.toUtf8());
        file.commit();
    }
}

void CMainFrame::OnClose()
{
    CSplashWnd::GetSplash().Show(0);
    CXVKFrameWnd::OnClose();
}

void CMainFrame::OnDestroy()
{
    CXVKFrameWnd::OnDestroy();
}

void CMainFrame::OnViewFullScreen()
{
    ShowFullScreen();
}
