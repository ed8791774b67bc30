#include "mfc/FrameWnd.h"

#include "mfc/Controls.h"
#include "mfc/Document.h"
#include "mfc/Menu.h"
#include "mfc/ResourceModule.h"
#include "mfc/View.h"
#include "mfc/WinApp.h"
#include "mfc/WndPrivate.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>
#include <vector>

// --- Accelerators ----------------------------------------------------------------------------------

HACCEL LoadAcceleratorsW(HINSTANCE hInstance, LPCWSTR lpTableName)
{
    const AFX_ACCEL_TABLE* table =
        hInstance ? AfxFindAcceleratorTable(hInstance, lpTableName) : AfxFindAcceleratorTable(lpTableName);
    return reinterpret_cast<HACCEL>(const_cast<AFX_ACCEL_TABLE*>(table));
}

int TranslateAcceleratorW(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg)
{
    if (!hWnd || !hAccTable || !lpMsg)
        return 0;
    const auto* table = reinterpret_cast<const AFX_ACCEL_TABLE*>(hAccTable);
    const bool bKey = lpMsg->message == WM_KEYDOWN || lpMsg->message == WM_SYSKEYDOWN;
    const bool bChar = lpMsg->message == WM_CHAR || lpMsg->message == WM_SYSCHAR;
    if (!bKey && !bChar)
        return 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool alt =
        GetKeyState(VK_MENU) < 0 || lpMsg->message == WM_SYSKEYDOWN || lpMsg->message == WM_SYSCHAR;
    for (const ACCEL& a : table->entries)
    {
        if (a.fVirt & FVIRTKEY)
        {
            if (!bKey || a.key != WORD(lpMsg->wParam))
                continue;
            if (bool(a.fVirt & FSHIFT) != shift || bool(a.fVirt & FCONTROL) != ctrl ||
                bool(a.fVirt & FALT) != alt)
                continue;
        }
        else
        {
            if (!bChar || a.key != WORD(lpMsg->wParam) || bool(a.fVirt & FALT) != alt)
                continue;
        }
        ::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}

// --- CFrameWnd -------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_MESSAGE(WM_COMMANDHELP, &CFrameWnd::OnCommandHelp)
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
ON_MESSAGE(WM_INITMENUPOPUP, &CFrameWnd::OnInitMenuPopupMsg)
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck)
ON_COMMAND_EX(ID_VIEW_TOOLBAR, &CFrameWnd::OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, &CFrameWnd::OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, &CFrameWnd::OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    if (m_hMenuDefault && ::IsMenu(m_hMenuDefault))
        ::DestroyMenu(m_hMenuDefault);
    m_hMenuDefault = nullptr;
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

QWidget* CFrameWnd::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    auto* main = new CWndHost<QMainWindow>(pParentWidget);
    if (cs.style & WS_CHILD)
        main->setWindowFlags(Qt::Widget);
    auto* client = new CWndClientArea(main);
    client->setAutoFillBackground(false);
    main->setCentralWidget(client);
    return main;
}

QWidget* CFrameWnd::GetClientWidget() const
{
    auto* main = qobject_cast<QMainWindow*>(GetWidget());
    return main ? main->centralWidget() : GetWidget();
}

void CFrameWnd::OnWidgetCreated(const CREATESTRUCT& cs)
{
    if (!(cs.style & WS_CHILD) && cs.hMenu)
        SetMenu(CMenu::FromHandle(cs.hMenu));
}

BOOL CFrameWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCWSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = nullptr;
    if (lpszMenuName)
    {
        hMenu = ::LoadMenuW(AfxFindResourceHandle(lpszMenuName, RT_MENU), lpszMenuName);
        if (!hMenu)
            return FALSE;
    }
    m_strTitle = lpszWindowName ? lpszWindowName : L"";
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  AfxRectExtent(rect.left, rect.right), AfxRectExtent(rect.top, rect.bottom),
                  pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu, pContext))
    {
        if (hMenu && hMenu != m_hMenuDefault)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString full;
    if (full.LoadString(nIDResource))
    {
        const int nl = full.Find(L'\n');
        m_strTitle = nl >= 0 ? full.Left(nl) : full;
    }
    LPCWSTR name = MAKEINTRESOURCE(nIDResource);
    HMENU hMenu = ::LoadMenuW(AfxFindResourceHandle(name, RT_MENU), name);
    const CString title = m_strTitle;
    if (!CreateEx(0, nullptr, title, dwDefaultStyle, rectDefault.left, rectDefault.top, 0, 0,
                  pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu, pContext))
    {
        if (hMenu)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    m_hMenuDefault = hMenu;
    LoadAccelTable(name);
    if (!pContext)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCWSTR lpszResourceName)
{
    HACCEL h = ::LoadAcceleratorsW(AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR), lpszResourceName);
    if (!h)
        return FALSE;
    m_hAccelTable = h;
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* pContext = lpCreateStruct ? static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams) : nullptr;
    if (!OnCreateClient(lpCreateStruct, pContext))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    if (!pContext || !pContext->m_pNewViewClass)
        return nullptr;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    auto* pView = dynamic_cast<CWnd*>(pObject);
    if (!pView)
    {
        delete pObject;
        return nullptr;
    }
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
    {
        delete pView;
        return nullptr;
    }
    RecalcLayout();
    return pView;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    QWidget* client = GetClientWidget();
    if (!client || client == GetWidget())
        return;
    std::vector<CWnd*> children;
    GetChildWindows(children);
    for (CWnd* c : children)
    {
        QWidget* w = c->GetWidget();
        if (c->GetDlgCtrlID() == AFX_IDW_PANE_FIRST && w && w->parentWidget() == client)
            w->setGeometry(client->rect());
    }
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
    {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
    BringWindowToTop();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* pDoc = GetActiveDocument();
    if (!bAddToTitle || !(GetStyle() & FWS_ADDTOTITLE) || !pDoc || pDoc->GetTitle().IsEmpty())
    {
        SetWindowText(m_strTitle);
        return;
    }
    SetWindowText(m_strTitle.IsEmpty() ? pDoc->GetTitle() : pDoc->GetTitle() + L" - " + m_strTitle);
}

CFrameWnd* CFrameWnd::GetActiveFrame()
{
    return this;
}

CView* CFrameWnd::GetActiveView() const
{
    return ::IsWindow(m_hWndViewActive) ? m_pViewActive : nullptr;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = GetActiveView();
    if (pViewNew == pViewOld)
        return;
    m_pViewActive = pViewNew;
    m_hWndViewActive = pViewNew ? pViewNew->m_hWnd : nullptr;
    if (!bNotify)
        return;
    if (pViewOld)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    if (pViewNew && GetActiveView() == pViewNew)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* pView = GetActiveView();
    return pView ? pView->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    CView* pView = nullptr;
    if (!GetActiveView())
    {
        pView = dynamic_cast<CView*>(GetDlgItem(AFX_IDW_PANE_FIRST));
        if (pView)
            SetActiveView(pView, FALSE);
    }
    if (bMakeVisible)
    {
        const HWND hSelf = m_hWnd;
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (!::IsWindow(hSelf))
            return;
        if (pView)
            pView->OnActivateFrame(WA_INACTIVE, this);
        int nCmdShow = -1;
        if (CWinApp* pApp = AfxGetApp(); pApp && pApp->m_pMainWnd == this)
        {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1; // only the first frame shows as the command line asked
        }
        ActivateFrame(nCmdShow);
        if (pView)
            pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

CWnd* CFrameWnd::GetMessageBar()
{
    return GetDlgItem(AFX_IDW_STATUS_BAR);
}

void CFrameWnd::SetMessageText(LPCWSTR lpszText)
{
    if (auto* bar = dynamic_cast<CStatusBar*>(GetMessageBar()); bar && bar->GetCount() > 0)
        bar->SetPaneText(0, lpszText);
}

void CFrameWnd::SetMessageText(UINT nID)
{
    CString text;
    text.LoadString(nID);
    const int nl = text.Find(L'\n');
    SetMessageText(nl >= 0 ? CString(text.Left(nl)) : text);
}

CMenu* CFrameWnd::GetMenu() const
{
    return CMenu::FromHandle(m_hMenuShown);
}

BOOL CFrameWnd::SetMenu(CMenu* pMenu)
{
    if (!m_hWnd)
        return FALSE;
    m_hMenuShown = pMenu ? pMenu->m_hMenu : nullptr;
    RebuildMenuBar();
    return TRUE;
}

void CFrameWnd::DrawMenuBar()
{
    RebuildMenuBar();
}

void CFrameWnd::RebuildMenuBar()
{
    auto* main = qobject_cast<QMainWindow*>(GetWidget());
    if (!main || !m_hWnd)
        return;
    QMenuBar* bar = main->menuBar();
    AfxFillMenuBar(bar, m_hMenuShown, m_hWnd);
    bar->setVisible(m_hMenuShown != nullptr);
    m_nMenuBarVersion = AfxMenuVersion(m_hMenuShown);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || !m_hAccelTable)
        return FALSE;
    // Keys typed in another top-level window (a dialog) are not this frame's.
    CWnd* pTarget = CWnd::FromHandlePermanent(pMsg->hwnd);
    if (pTarget && pTarget->GetTopLevelParent() != GetTopLevelParent())
        return FALSE;
    return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, pMsg) != 0;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd* pView = CWnd::FromHandlePermanent(m_hWndViewActive);
        pView && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWinApp* pApp = AfxGetApp(); pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return FALSE;
}

void CFrameWnd::OnClose()
{
    if (CWinApp* pApp = AfxGetApp(); pApp && pApp->m_pMainWnd == this)
    {
        if (!pApp->SaveAllModified())
            return;
        pApp->OnClosingMainFrame(GetFrameImpl());
        pApp->CloseAllDocuments(FALSE);
        // Closing the documents may have taken the main window already.
        if (pApp->m_pMainWnd == nullptr)
            return;
    }
    else if (CDocument* pDoc = GetActiveDocument(); pDoc && !pDoc->CanCloseFrame(this))
    {
        return;
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    CWnd::OnDestroy();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnContextHelp()
{
    if (CWinApp* pApp = AfxGetApp(); pApp && m_nIDHelp)
        pApp->WinHelpInternal(HID_BASE_RESOURCE + m_nIDHelp, HELP_CONTEXT);
    else if (pApp)
        pApp->WinHelpInternal(0, HELP_FINDER);
}

LRESULT CFrameWnd::OnCommandHelp(WPARAM, LPARAM lParam)
{
    if (lParam == 0 && m_nIDHelp)
        lParam = LPARAM(HID_BASE_RESOURCE + m_nIDHelp);
    if (lParam == 0)
        return FALSE;
    if (CWinApp* pApp = AfxGetApp())
        pApp->WinHelpInternal(DWORD_PTR(lParam), HELP_CONTEXT);
    return TRUE;
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_hMenuShown && AfxMenuVersion(m_hMenuShown) != m_nMenuBarVersion)
        RebuildMenuBar();
    return 0;
}

LRESULT CFrameWnd::OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam)
{
    if (CMenu* pMenu = CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)))
        OnInitMenuPopup(pMenu, LOWORD(lParam), HIWORD(lParam));
    return 0;
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || !pPopupMenu)
        return;
    const HMENU hMenu = pPopupMenu->m_hMenu;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax && ::IsMenu(hMenu); ++state.m_nIndex)
    {
        state.m_nID = pPopupMenu->GetMenuItemID(int(state.m_nIndex));
        state.m_pSubMenu = nullptr;
        if (state.m_nID == 0)
            continue; // separator
        if (state.m_nID == UINT(-1))
        {
            // A popup item takes the state of its submenu's first command; it is never disabled for
            // want of a handler.
            state.m_pSubMenu = pPopupMenu->GetSubMenu(int(state.m_nIndex));
            if (!state.m_pSubMenu)
                continue;
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == UINT(-1))
                continue;
            state.DoUpdate(this, FALSE);
        }
        else
        {
            state.m_pSubMenu = nullptr;
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
        state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
    }
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CWnd* pBar = GetDlgItem(int(nID));
    if (!pBar)
        return FALSE;
    pBar->ShowWindow(pBar->IsWindowVisible() ? SW_HIDE : SW_SHOW);
    RecalcLayout();
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CWnd* pBar = GetDlgItem(int(pCmdUI->m_nID));
    if (!pBar)
    {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(pBar->IsWindowVisible() ? 1 : 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    // The lock keys' states cannot be read here: their panes stay blank.
    pCmdUI->Enable(FALSE);
}

// --- MDI client ------------------------------------------------------------------------------------

namespace
{
// The MDI client window: its children are the MDI child frames, in activation order.
class CMDIClientWnd : public CWnd
{
public:
    explicit CMDIClientWnd(CMDIFrameWnd* pFrame) : m_hWndFrame(pFrame->m_hWnd) {}

    void GetChildWindows(std::vector<CWnd*>& children) const override
    {
        if (auto* pFrame = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(m_hWndFrame)))
            pFrame->GetMDIChildren(children);
        else
            CWnd::GetChildWindows(children);
    }

    // The MDI messages, answered by the frame's bookkeeping.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        auto* pFrame = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(m_hWndFrame));
        if (!pFrame)
            return CWnd::WindowProc(message, wParam, lParam);
        CWnd* pChild = CWnd::FromHandlePermanent(reinterpret_cast<HWND>(wParam));
        switch (message)
        {
        case WM_MDIGETACTIVE:
        {
            BOOL bMaximized = FALSE;
            CMDIChildWnd* pActive = pFrame->MDIGetActive(&bMaximized);
            if (lParam)
                *reinterpret_cast<BOOL*>(lParam) = bMaximized;
            return reinterpret_cast<LRESULT>(pActive ? pActive->m_hWnd : nullptr);
        }
        case WM_MDIACTIVATE:
            pFrame->MDIActivate(pChild);
            return 0;
        case WM_MDINEXT:
            if (lParam)
                pFrame->MDIPrev();
            else
                pFrame->MDINext();
            return 0;
        case WM_MDICASCADE:
            pFrame->MDICascade();
            return TRUE;
        case WM_MDITILE:
            pFrame->MDITile(int(wParam));
            return TRUE;
        case WM_MDIICONARRANGE:
            pFrame->MDIIconArrange();
            return 0;
        case WM_MDIRESTORE:
            pFrame->MDIRestore(pChild);
            return 0;
        case WM_MDIMAXIMIZE:
            pFrame->MDIMaximize(pChild);
            return 0;
        case WM_MDIDESTROY:
            pFrame->MDIDestroy(pChild);
            return 0;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
    }

protected:
    void PostNcDestroy() override { delete this; }

private:
    HWND m_hWndFrame;
};

// Windows a cascade steps through before it starts again at the top left.
constexpr int kMdiCascadeDepth = 8;

QMdiArea* MdiArea(const CWnd* pFrame)
{
    auto* main = pFrame ? qobject_cast<QMainWindow*>(pFrame->GetWidget()) : nullptr;
    return main ? qobject_cast<QMdiArea*>(main->centralWidget()) : nullptr;
}
} // namespace

// --- CMDIFrameWnd ----------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_COMMAND_EX(ID_WINDOW_ARRANGE, &CMDIFrameWnd::OnMDIWindowCmd)
ON_COMMAND_EX(ID_WINDOW_CASCADE, &CMDIFrameWnd::OnMDIWindowCmd)
ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, &CMDIFrameWnd::OnMDIWindowCmd)
ON_COMMAND_EX(ID_WINDOW_TILE_VERT, &CMDIFrameWnd::OnMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, &CMDIFrameWnd::OnUpdateMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, &CMDIFrameWnd::OnUpdateMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, &CMDIFrameWnd::OnUpdateMDIWindowCmd)
ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, &CMDIFrameWnd::OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() = default;
CMDIFrameWnd::~CMDIFrameWnd() = default;

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*)
{
    return CreateClient(lpcs, nullptr);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu*)
{
    auto* main = qobject_cast<QMainWindow*>(GetWidget());
    if (!main || m_hWndMDIClient)
        return FALSE;
    auto* area = new QMdiArea(main);
    main->setCentralWidget(area);
    CWnd* pClient = new CMDIClientWnd(this);
    const HWND h = AfxNewWindowHandle();
    pClient->m_hWnd = h;
    CWndAccess::SetStyle(pClient, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
    CWndAccess::SetCtrlID(pClient, AFX_IDW_PANE_FIRST);
    CWndAccess::SetOwnsWidget(pClient, true);
    AfxBindWindow(h, pClient, area);
    QObject::connect(area, &QObject::destroyed,
                     [h]
                     {
                         if (CWnd* p = CWnd::FromHandlePermanent(h))
                             CWndAccess::Destroy(p, true, true);
                     });
    const HWND hFrame = m_hWnd;
    QObject::connect(area, &QMdiArea::subWindowActivated, area,
                     [hFrame](QMdiSubWindow* sub)
                     {
                         if (!sub)
                             return;
                         AfxQtEntry entry(false);
                         if (auto* pFrame = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(hFrame)))
                             pFrame->OnMDIChildActivatedByQt(AfxHandleFromWidget(sub));
                     });
    m_hWndMDIClient = h;
    return TRUE;
}

void CMDIFrameWnd::PruneChildren() const
{
    m_mdiOrder.erase(std::remove_if(m_mdiOrder.begin(), m_mdiOrder.end(),
                                    [](HWND h)
                                    { return !dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(h)); }),
                     m_mdiOrder.end());
}

void CMDIFrameWnd::GetMDIChildren(std::vector<CWnd*>& children) const
{
    PruneChildren();
    for (HWND h : m_mdiOrder)
    {
        if (CWnd* p = CWnd::FromHandlePermanent(h))
            children.push_back(p);
    }
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    PruneChildren();
    CMDIChildWnd* pActive = m_mdiOrder.empty()
                                ? nullptr
                                : dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(m_mdiOrder.front()));
    if (pbMaximized)
        *pbMaximized = pActive && pActive->IsZoomed();
    return pActive;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    auto* pChild = dynamic_cast<CMDIChildWnd*>(pWndActivate);
    if (!pChild || !pChild->m_hWnd)
        return;
    PruneChildren();
    CMDIChildWnd* pOld = MDIGetActive();
    const HWND h = pChild->m_hWnd;
    m_mdiOrder.erase(std::remove(m_mdiOrder.begin(), m_mdiOrder.end(), h), m_mdiOrder.end());
    m_mdiOrder.insert(m_mdiOrder.begin(), h);
    if (QMdiArea* area = MdiArea(this))
    {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(pChild->GetWidget());
            sub && area->activeSubWindow() != sub)
        {
            const QSignalBlocker block(area);
            area->setActiveSubWindow(sub);
        }
    }
    if (pOld != pChild)
    {
        const HWND hOld = pOld ? pOld->m_hWnd : nullptr;
        if (pOld)
            pOld->OnMDIActivate(FALSE, pChild, pOld);
        if (CWnd* again = CWnd::FromHandlePermanent(h))
            static_cast<CMDIChildWnd*>(again)->OnMDIActivate(TRUE, again, CWnd::FromHandlePermanent(hOld));
    }
    UpdateMenuForActive();
    OnUpdateFrameTitle(TRUE);
}

void CMDIFrameWnd::OnMDIChildActivatedByQt(HWND hWndChild)
{
    // While the active child goes away Qt picks a successor of its own; the order picks it here.
    if (!m_mdiOrder.empty() && !::IsWindow(m_mdiOrder.front()))
        return;
    PruneChildren();
    if (!m_mdiOrder.empty() && m_mdiOrder.front() == hWndChild)
        return;
    if (CWnd* p = CWnd::FromHandlePermanent(hWndChild))
        MDIActivate(p);
}

void CMDIFrameWnd::MDINext()
{
    PruneChildren();
    if (m_mdiOrder.size() < 2)
        return;
    const HWND active = m_mdiOrder.front();
    const HWND next = m_mdiOrder[1];
    m_mdiOrder.erase(m_mdiOrder.begin());
    m_mdiOrder.push_back(active);
    MDIActivate(CWnd::FromHandlePermanent(next));
}

void CMDIFrameWnd::MDIPrev()
{
    PruneChildren();
    if (m_mdiOrder.size() < 2)
        return;
    MDIActivate(CWnd::FromHandlePermanent(m_mdiOrder.back()));
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    if (pWnd)
        pWnd->ShowWindow(SW_SHOWMAXIMIZED);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    if (pWnd)
        pWnd->ShowWindow(SW_RESTORE);
}

void CMDIFrameWnd::MDIDestroy(CWnd* pWnd)
{
    if (pWnd)
        pWnd->DestroyWindow();
}

void CMDIFrameWnd::MDICascade()
{
    QMdiArea* area = MdiArea(this);
    if (!area)
        return;
    // Each window one caption lower and to the right of the one before, all of one size that
    // leaves the cascade inside the client area. (Qt's own cascade sizes windows by their size
    // hints, which for a window without a layout is little more than its caption.)
    std::vector<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::StackingOrder))
        if (sub->isVisible() && !sub->isMinimized())
            subs.push_back(sub);
    if (subs.empty())
        return;
    const QRect all = area->viewport()->rect();
    const int step =
        std::max(16, subs.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, subs.front()));
    const int depth = std::min(int(subs.size()), kMdiCascadeDepth);
    const QSize size(std::max(all.width() - step * (depth - 1), std::min(all.width(), 200)),
                     std::max(all.height() - step * (depth - 1), std::min(all.height(), 150)));
    for (size_t i = 0; i < subs.size(); ++i)
    {
        QMdiSubWindow* sub = subs[i];
        if (sub->isMaximized())
            sub->showNormal();
        const int k = int(i) % depth;
        sub->setGeometry(all.left() + step * k, all.top() + step * k, size.width(), size.height());
        sub->raise();
    }
}

void CMDIFrameWnd::MDITile()
{
    if (QMdiArea* area = MdiArea(this))
        area->tileSubWindows();
}

void CMDIFrameWnd::MDITile(int nType)
{
    QMdiArea* area = MdiArea(this);
    if (!area)
        return;
    // Side by side (vertical) or one above the other (horizontal), in window order; minimised
    // windows keep their place.
    std::vector<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized())
            subs.push_back(sub);
    if (subs.empty())
        return;
    const QRect all = area->viewport()->rect();
    const int n = int(subs.size());
    for (int i = 0; i < n; ++i)
    {
        QMdiSubWindow* sub = subs[size_t(i)];
        if (sub->isMaximized())
            sub->showNormal();
        QRect r;
        if (!(nType & MDITILE_HORIZONTAL))
        {
            const int left = all.width() * i / n;
            r = QRect(left, 0, all.width() * (i + 1) / n - left, all.height());
        }
        else
        {
            const int top = all.height() * i / n;
            r = QRect(0, top, all.width(), all.height() * (i + 1) / n - top);
        }
        sub->setGeometry(r);
    }
}

void CMDIFrameWnd::MDIIconArrange()
{
    MDITile();
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID)
{
    switch (nID)
    {
    case ID_WINDOW_CASCADE:
        MDICascade();
        return TRUE;
    case ID_WINDOW_TILE_HORZ:
        MDITile(MDITILE_HORIZONTAL);
        return TRUE;
    case ID_WINDOW_TILE_VERT:
        MDITile(MDITILE_VERTICAL);
        return TRUE;
    case ID_WINDOW_ARRANGE:
        MDIIconArrange();
        return TRUE;
    default:
        return FALSE;
    }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(MDIGetActive() != nullptr);
}

CDocument* CMDIFrameWnd::GetActiveDocument()
{
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive ? pActive->GetActiveDocument() : CFrameWnd::GetActiveDocument();
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive ? static_cast<CFrameWnd*>(pActive) : this;
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
    {
        // The active child's accelerators first, then the frame's own.
        if (CMDIChildWnd* pActive = MDIGetActive();
            pActive && pActive->m_hAccelTable &&
            ::TranslateAcceleratorW(m_hWnd, pActive->m_hAccelTable, pMsg))
            return TRUE;
        return CFrameWnd::PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CMDIChildWnd* pActive = MDIGetActive();
        pActive && pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMDIFrameWnd::RecalcLayout(BOOL)
{
    // The MDI client fills the client area by itself.
}

void CMDIFrameWnd::OnMDIChildCreated(CMDIChildWnd* pChild)
{
    if (!pChild || !pChild->m_hWnd)
        return;
    PruneChildren();
    m_mdiOrder.erase(std::remove(m_mdiOrder.begin(), m_mdiOrder.end(), pChild->m_hWnd), m_mdiOrder.end());
    m_mdiOrder.insert(m_mdiOrder.begin(), pChild->m_hWnd);
}

void CMDIFrameWnd::OnMDIChildDestroyed(HWND hWndChild)
{
    const bool bWasActive = !m_mdiOrder.empty() && m_mdiOrder.front() == hWndChild;
    m_mdiOrder.erase(std::remove(m_mdiOrder.begin(), m_mdiOrder.end(), hWndChild), m_mdiOrder.end());
    PruneChildren();
    if (!m_hWnd)
        return;
    if (bWasActive && !m_mdiOrder.empty())
        MDIActivate(CWnd::FromHandlePermanent(m_mdiOrder.front()));
    else
        UpdateMenuForActive();
}

void CMDIFrameWnd::UpdateMenuForActive()
{
    if (!m_hWnd)
        return;
    CMDIChildWnd* pActive = MDIGetActive();
    HMENU want = (pActive && pActive->m_hMenuShared) ? pActive->m_hMenuShared : m_hMenuDefault;
    if (want != m_hMenuShown && (!want || ::IsMenu(want)))
        SetMenu(want ? CMenu::FromHandle(want) : nullptr);
}

// --- CMDIChildWnd ----------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() = default;

CMDIChildWnd::~CMDIChildWnd()
{
    if (m_hMenuShared && ::IsMenu(m_hMenuShared))
        ::DestroyMenu(m_hMenuShared);
    m_hMenuShared = nullptr;
}

QWidget* CMDIChildWnd::CreateWidget(const CREATESTRUCT& cs, QWidget*)
{
    QMdiArea* area = MdiArea(CWnd::FromHandlePermanent(cs.hwndParent));
    if (!area)
        return nullptr;
    auto* sub = new CWndHost<QMdiSubWindow>();
    sub->setWidget(new CWndClientArea(sub));
    area->addSubWindow(sub);
    return sub;
}

QWidget* CMDIChildWnd::GetClientWidget() const
{
    auto* sub = qobject_cast<QMdiSubWindow*>(GetWidget());
    return sub ? sub->widget() : GetWidget();
}

CMenu* CMDIChildWnd::GetMenu() const
{
    return nullptr;
}
BOOL CMDIChildWnd::SetMenu(CMenu*)
{
    return FALSE;
}

void CMDIChildWnd::OnWidgetCreated(const CREATESTRUCT& cs)
{
    CMDIFrameWnd* pFrame = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(cs.hwndParent));
    m_hWndMDIFrame = pFrame ? pFrame->m_hWnd : nullptr;
    m_hWndOwn = m_hWnd;
    QWidget* w = GetWidget();
    QMdiArea* area = MdiArea(pFrame);
    if (w && area && (cs.x == CW_USEDEFAULT || cs.cx <= 0 || cs.cy <= 0))
    {
        // Default placement: cascaded, two thirds of the client area.
        const int n = int(area->subWindowList().size()) - 1;
        const QSize size(std::max(200, area->width() * 2 / 3), std::max(150, area->height() * 2 / 3));
        w->setGeometry(24 * (n % 8), 24 * (n % 8), size.width(), size.height());
    }
    if (pFrame)
        pFrame->OnMDIChildCreated(this);
}

BOOL CMDIChildWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    if (!pParentWnd)
        pParentWnd = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (!pParentWnd || !pParentWnd->m_hWndMDIClient)
        return FALSE;
    m_strTitle = lpszWindowName ? lpszWindowName : L"";
    if (!CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                  AfxRectExtent(rect.left, rect.right), AfxRectExtent(rect.top, rect.bottom),
                  pParentWnd->m_hWnd, nullptr, pContext))
        return FALSE;
    pParentWnd->MDIActivate(this);
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString full;
    CString title;
    if (full.LoadString(nIDResource))
    {
        const int nl = full.Find(L'\n');
        title = nl >= 0 ? full.Left(nl) : full;
    }
    LPCWSTR name = MAKEINTRESOURCE(nIDResource);
    HMENU hMenu = ::LoadMenuW(AfxFindResourceHandle(name, RT_MENU), name);
    if (!Create(nullptr, title, dwDefaultStyle, rectDefault, dynamic_cast<CMDIFrameWnd*>(pParentWnd),
                pContext))
    {
        if (hMenu)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    if (m_hMenuShared && ::IsMenu(m_hMenuShared))
        ::DestroyMenu(m_hMenuShared);
    m_hMenuShared = hMenu;
    LoadAccelTable(name);
    if (CMDIFrameWnd* pFrame = GetMDIFrame(); pFrame && pFrame->MDIGetActive() == this)
        pFrame->MDIActivate(this); // shows this child's menu
    if (!pContext)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    return dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(m_hWndMDIFrame));
}

void CMDIChildWnd::MDIDestroy()
{
    DestroyWindow();
}

void CMDIChildWnd::MDIActivate()
{
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->MDIActivate(this);
}

void CMDIChildWnd::MDIMaximize()
{
    ShowWindow(SW_SHOWMAXIMIZED);
}
void CMDIChildWnd::MDIRestore()
{
    ShowWindow(SW_RESTORE);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = IsWindowVisible() ? (IsIconic() ? SW_RESTORE : -1) : SW_SHOWNORMAL;
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
    MDIActivate();
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* pDoc = GetActiveDocument();
    if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && pDoc)
        SetWindowText(pDoc->GetTitle());
    else
        SetWindowText(m_strTitle);
    if (CMDIFrameWnd* pFrame = GetMDIFrame(); pFrame && pFrame->MDIGetActive() == this)
        pFrame->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnMDIActivate(BOOL, CWnd*, CWnd*) {}

void CMDIChildWnd::PostNcDestroy()
{
    const HWND hFrame = m_hWndMDIFrame;
    const HWND hSelf = m_hWndOwn;
    delete this;
    if (auto* pFrame = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(hFrame)))
        pFrame->OnMDIChildDestroyed(hSelf);
}
