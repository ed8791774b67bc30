#include "WndTestSupport.h"

#include "figkit/FrameWnds.h"
#include "mfc/Controls.h"
#include "mfc/FrameWndEx.h"
#include "mfc/Menu.h"
#include "mfc/WinApp.h"

#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <string>
#include <vector>

using namespace wndtest;

namespace
{
const UINT IDR_PROBE = 700;
const UINT IDR_PROBE_CHILD = 703;
const UINT ID_PROBE_RUN = 33000;
const UINT ID_PROBE_OTHER = 33001;
const UINT ID_PROBE_NOHANDLER = 33002;
const UINT ID_PROBE_APP = 33003;
const UINT ID_PROBE_CHILD = 33004;
const UINT ID_INDICATOR_PROBE = 33010;

std::vector<std::string> g_log;

class CProbeApp : public CWinAppEx
{
public:
    CFrameImpl* m_pClosingImpl = nullptr;
    int m_nClosing = 0;
    void OnApp() { g_log.push_back("app"); }
    void OnClosingMainFrame(CFrameImpl* pFrameImpl) override
    {
        ++m_nClosing;
        m_pClosingImpl = pFrameImpl;
        CWinAppEx::OnClosingMainFrame(pFrameImpl);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeApp, CWinAppEx)
ON_COMMAND(ID_PROBE_APP, &CProbeApp::OnApp)
ON_COMMAND(ID_HELP_FINDER, &CWinApp::OnHelpFinder)
END_MESSAGE_MAP()

// A player-like main frame: help commands routed to the diagram library's frame, a status bar, and
// the frame's own commands.
class CProbeFrame : public CFOPFrameWnd
{
public:
    static int s_nAlive;
    CStatusBar m_wndStatusBar;
    BOOL m_bRefuse = FALSE;
    CString m_strIndicator = L"X";
    CProbeFrame() { ++s_nAlive; }
    ~CProbeFrame() override { --s_nAlive; }

    int OnCreate(LPCREATESTRUCT lpcs) override
    {
        if (CFOPFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_PROBE};
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 2))
            return -1;
        return 0;
    }
    void OnClose() override
    {
        g_log.push_back("close");
        if (!m_bRefuse)
            CFOPFrameWnd::OnClose();
    }
    void OnRun() { g_log.push_back("run"); }
    void OnOther() { g_log.push_back("other"); }
    void OnUpdateOther(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    void OnUpdateIndicator(CCmdUI* pCmdUI) { pCmdUI->SetText(m_strIndicator); }
    DECLARE_MESSAGE_MAP()
};
int CProbeFrame::s_nAlive = 0;

BEGIN_MESSAGE_MAP(CProbeFrame, CFOPFrameWnd)
ON_WM_CLOSE()
ON_COMMAND(ID_PROBE_RUN, &CProbeFrame::OnRun)
ON_COMMAND(ID_PROBE_OTHER, &CProbeFrame::OnOther)
ON_UPDATE_COMMAND_UI(ID_PROBE_OTHER, &CProbeFrame::OnUpdateOther)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_PROBE, &CProbeFrame::OnUpdateIndicator)
ON_MESSAGE(WM_COMMANDHELP, &CFOPFrameWnd::OnCommandHelp)
ON_COMMAND(ID_HELP, &CFOPFrameWnd::OnHelp)
ON_COMMAND(ID_HELP_FINDER, &CFOPFrameWnd::OnHelpFinder)
ON_COMMAND(ID_DEFAULT_HELP, &CFOPFrameWnd::OnHelpFinder)
ON_COMMAND(ID_CONTEXT_HELP, &CFOPFrameWnd::OnContextHelp)
END_MESSAGE_MAP()

class CFrameTest : public CWndTestBase
{
protected:
    void SetUp() override
    {
        CWndTestBase::SetUp();
        g_log.clear();
        ASSERT_TRUE(AfxWinInit(0, nullptr));
    }
    void TearDown() override
    {
        AfxWinTerm();
        CWndTestBase::TearDown();
    }

    static QMenu* PopupOf(CFrameWnd* frame, int index)
    {
        auto* main = qobject_cast<QMainWindow*>(frame->GetWidget());
        const QList<QAction*> top = main->menuBar()->actions();
        return index < top.size() ? top[index]->menu() : nullptr;
    }
    static QAction* ActionOf(QMenu* menu, const QString& text)
    {
        for (QAction* a : menu->actions())
        {
            if (a->text() == text)
                return a;
        }
        return nullptr;
    }

    CProbeApp m_app;
};
} // namespace

TEST_F(CFrameTest, LoadFrameTakesMenuTitleAndAcceleratorsFromTheResources)
{
    auto* frame = new CProbeFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_PROBE));
    m_app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    EXPECT_EQ(frame->m_strTitle, L"Probe Frame");
    CString title;
    frame->GetWindowText(title);
    EXPECT_EQ(title, L"Probe Frame");
    EXPECT_EQ(frame->m_nIDHelp, IDR_PROBE);

    CMenu* menu = frame->GetMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetMenuItemCount(), 2u);
    CString text;
    menu->GetSubMenu(0)->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"&Run\tCtrl+R");
    EXPECT_EQ(menu->GetSubMenu(0)->GetMenuItemID(4), 0u); // separator
    auto* main = qobject_cast<QMainWindow*>(frame->GetWidget());
    ASSERT_NE(main, nullptr);
    const QList<QAction*> top = main->menuBar()->actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->text(), QStringLiteral("&File"));

    // Opening the popup updates its items from the handlers: checked by an update handler, and
    // disabled when nobody handles the command.
    QMenu* file = PopupOf(frame, 0);
    ASSERT_NE(file, nullptr);
    emit file->aboutToShow();
    QAction* other = ActionOf(file, QStringLiteral("&Other"));
    QAction* nothing = ActionOf(file, QStringLiteral("&Nothing"));
    QAction* app = ActionOf(file, QStringLiteral("&App"));
    QAction* run = ActionOf(file, QStringLiteral("&Run\tCtrl+R"));
    ASSERT_TRUE(other && nothing && app && run);
    EXPECT_TRUE(other->isChecked());
    EXPECT_FALSE(nothing->isEnabled());
    EXPECT_TRUE(app->isEnabled());
    EXPECT_EQ(menu->GetSubMenu(0)->GetMenuState(ID_PROBE_NOHANDLER, MF_BYCOMMAND) & MF_GRAYED,
              UINT(MF_GRAYED));

    // Choosing items: the frame's command, the application's command.
    run->trigger();
    app->trigger();
    EXPECT_TRUE(PumpUntil([] { return g_log.size() == 2; }));
    EXPECT_EQ(g_log, (std::vector<std::string>{"run", "app"}));

    // The accelerator of the frame's resource, typed into the frame.
    g_log.clear();
    QKeyEvent ctrlR(QEvent::KeyPress, Qt::Key_R, Qt::ControlModifier, QStringLiteral("\x12"));
    QApplication::sendEvent(frame->GetWidget(), &ctrlR);
    QKeyEvent plainR(QEvent::KeyPress, Qt::Key_R, Qt::NoModifier, QStringLiteral("r"));
    QApplication::sendEvent(frame->GetWidget(), &plainR);
    EXPECT_EQ(g_log, (std::vector<std::string>{"run"}));

    // A changed menu shows once the frame updates at idle time.
    menu->ModifyMenu(1, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(menu->GetSubMenu(1)->m_hMenu),
                     L"&Hilfe");
    EXPECT_TRUE(m_app.OnIdle(0));
    EXPECT_EQ(main->menuBar()->actions()[1]->text(), QStringLiteral("&Hilfe"));

    frame->DestroyWindow();
    EXPECT_EQ(CProbeFrame::s_nAlive, 0);
}

TEST_F(CFrameTest, ClosingTheMainFrameClosesTheApplicationUnlessTheFrameRefuses)
{
    auto* frame = new CProbeFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_PROBE));
    m_app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);

    frame->m_bRefuse = TRUE;
    frame->SendMessage(WM_CLOSE);
    frame->GetWidget()->close();
    EXPECT_EQ(g_log, (std::vector<std::string>{"close", "close"}));
    EXPECT_EQ(CProbeFrame::s_nAlive, 1);
    EXPECT_EQ(m_app.m_nClosing, 0);
    EXPECT_EQ(m_app.m_pMainWnd, frame);

    frame->m_bRefuse = FALSE;
    const HWND h = frame->m_hWnd;
    frame->GetWidget()->close();
    EXPECT_EQ(m_app.m_nClosing, 1);
    EXPECT_EQ(m_app.m_pClosingImpl, nullptr); // a plain frame has no extended part
    EXPECT_EQ(CProbeFrame::s_nAlive, 0);
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(m_app.Run(), 0);

    // An extended main frame hands its framework part over.
    auto* ex = new CMDIFrameWndEx;
    ASSERT_TRUE(ex->LoadFrame(IDR_PROBE));
    m_app.m_pMainWnd = ex;
    ex->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_app.m_nClosing, 2);
    EXPECT_NE(m_app.m_pClosingImpl, nullptr);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
}

TEST_F(CFrameTest, StatusBarPanesShowTheirStringsAndUpdateAtIdleTime)
{
    auto* frame = new CProbeFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_PROBE));
    m_app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    CStatusBar& bar = frame->m_wndStatusBar;
    EXPECT_EQ(frame->GetMessageBar(), &bar);
    EXPECT_EQ(bar.GetCount(), 2);
    EXPECT_EQ(bar.GetPaneText(1), L"PRB");
    EXPECT_EQ(bar.CommandToIndex(ID_INDICATOR_PROBE), 1);
    EXPECT_EQ(bar.GetItemID(0), UINT(ID_SEPARATOR));
    EXPECT_EQ(bar.GetPaneStyle(0) & SBPS_STRETCH, UINT(SBPS_STRETCH));
    frame->SetMessageText(L"Ready");
    EXPECT_EQ(bar.GetPaneText(0), L"Ready");

    m_app.OnIdle(0);
    EXPECT_EQ(bar.GetPaneText(1), L"X");
    frame->m_strIndicator = L"Y";
    m_app.OnIdle(0);
    EXPECT_EQ(bar.GetPaneText(1), L"Y");

    // The status bar's menu command hides and shows it.
    EXPECT_TRUE(bar.IsWindowVisible());
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(bar.IsWindowVisible());
    const HWND hBar = bar.m_hWnd;
    frame->DestroyWindow();
    EXPECT_FALSE(::IsWindow(hBar));
}

TEST_F(CFrameTest, HelpCommandsEndInTheHelpFileThroughTheHook)
{
    auto* frame = new CProbeFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_PROBE));
    m_app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    std::vector<AfxModalRequest> help;
    CHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::Help)
                help.push_back(r);
            return IDOK;
        });

    // F1 (the resource's accelerator for ID_HELP): help on the frame's resource context.
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(frame->GetWidget(), &f1);
    frame->SendMessage(WM_COMMAND, ID_HELP_FINDER);
    frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
    HELPINFO info = {sizeof(HELPINFO), HELPINFO_WINDOW, 0, nullptr, 0, {0, 0}};
    EXPECT_EQ(frame->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    ASSERT_EQ(help.size(), 4u);
    EXPECT_EQ(help[0].nType, UINT(HH_HELP_CONTEXT));
    EXPECT_EQ(help[0].dwData, HID_BASE_RESOURCE + IDR_PROBE);
    EXPECT_EQ(help[0].strText, CString(m_app.m_pszHelpFilePath));
    EXPECT_EQ(help[1].nType, UINT(HH_HELP_FINDER));
    EXPECT_EQ(help[1].dwData, 0u);
    EXPECT_EQ(help[2].dwData, HID_BASE_RESOURCE + IDR_PROBE);
    EXPECT_EQ(help[3].dwData, HID_BASE_RESOURCE + IDR_PROBE); // WM_HELP asks for ID_HELP
    frame->DestroyWindow();
}

namespace
{
class CProbeChild : public CMDIChildWnd
{
public:
    std::string m_name;
    std::vector<std::string>* m_pLog = nullptr;
    void OnChildCommand() { g_log.push_back("child " + m_name); }
    LRESULT OnPing(WPARAM, LPARAM)
    {
        g_log.push_back("ping " + m_name);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeChild, CMDIChildWnd)
ON_COMMAND(ID_PROBE_CHILD, &CProbeChild::OnChildCommand)
ON_MESSAGE(WM_USER + 9, &CProbeChild::OnPing)
END_MESSAGE_MAP()

std::vector<std::string> Order(CMDIFrameWnd* frame)
{
    std::vector<std::string> names;
    for (CWnd* c = frame->MDIGetActive(); c; c = c->GetWindow(GW_HWNDNEXT))
        names.push_back(static_cast<CProbeChild*>(c)->m_name);
    return names;
}
} // namespace

TEST_F(CFrameTest, MdiChildrenFollowActivationOrderAndTakeCommandsFirst)
{
    auto* frame = new CMDIFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(IDR_PROBE));
    m_app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    ASSERT_NE(frame->m_hWndMDIClient, nullptr);
    EXPECT_EQ(frame->MDIGetActive(), nullptr);

    CProbeChild* children[3] = {};
    const char* names[3] = {"a", "b", "c"};
    for (int i = 0; i < 3; ++i)
    {
        children[i] = new CProbeChild;
        children[i]->m_name = names[i];
        ASSERT_TRUE(
            children[i]->LoadFrame(IDR_PROBE_CHILD, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, frame));
    }
    EXPECT_EQ(frame->MDIGetActive(), children[2]);
    EXPECT_EQ(Order(frame), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(children[0]->GetMDIFrame(), frame);
    EXPECT_EQ(children[0]->GetParentFrame(), frame);
    EXPECT_EQ(CWnd::FromHandle(frame->m_hWndMDIClient), children[0]->GetParent());

    // The active child's menu replaces the frame's; the child takes commands first.
    EXPECT_EQ(frame->GetMenu()->m_hMenu, children[2]->m_hMenuShared);
    frame->SendMessage(WM_COMMAND, ID_PROBE_CHILD);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child c"}));

    frame->MDIActivate(children[0]);
    EXPECT_EQ(Order(frame), (std::vector<std::string>{"a", "c", "b"}));
    frame->MDINext();
    EXPECT_EQ(Order(frame), (std::vector<std::string>{"c", "b", "a"}));

    // One message to each child, from the active one down (as the viewer's frame does it).
    g_log.clear();
    for (CWnd* c = frame->MDIGetActive(); c; c = c->GetWindow(GW_HWNDNEXT))
        c->SendMessage(WM_USER + 9);
    EXPECT_EQ(g_log, (std::vector<std::string>{"ping c", "ping b", "ping a"}));

    // Closing the active child activates the next one; the last one gone brings the frame's menu back.
    children[2]->SendMessage(WM_CLOSE);
    EXPECT_EQ(frame->MDIGetActive(), children[1]);
    EXPECT_EQ(Order(frame), (std::vector<std::string>{"b", "a"}));
    children[1]->MDIDestroy();
    children[0]->GetWidget()->close();
    EXPECT_EQ(frame->MDIGetActive(), nullptr);
    EXPECT_EQ(frame->GetMenu()->m_hMenu, frame->m_hMenuDefault);
    frame->DestroyWindow();
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
}

TEST_F(CFrameTest, DiagramLibraryFramesPassCreationAndClosingOn)
{
    _InitFigkitDLL();
    _InitFigkitDLL();
    EXPECT_TRUE(FigkitIsInitialized());

    auto* frame = new CFOPMDIFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(IDR_PROBE));
    EXPECT_NE(frame->m_hWndMDIClient, nullptr);
    EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)));
    auto* child = new CFOPMDIChildWnd;
    ASSERT_TRUE(child->Create(nullptr, L"Screen", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                              CFrameWnd::rectDefault, frame));
    EXPECT_EQ(frame->MDIGetActive(), child);
    child->SendMessage(WM_CLOSE);
    EXPECT_EQ(frame->MDIGetActive(), nullptr);
    frame->SendMessage(WM_CLOSE);
    AfxPumpMessages();

    // Made by name, as documents' templates make frames.
    CObject* made = RUNTIME_CLASS(CFOPFrameWnd)->CreateObject();
    ASSERT_NE(dynamic_cast<CFOPFrameWnd*>(made), nullptr);
    delete made;
}

namespace
{
// Goes with its window, as views do.
class CProbeView : public CWnd
{
    DECLARE_DYNCREATE(CProbeView)
protected:
    void PostNcDestroy() override { delete this; }
};
IMPLEMENT_DYNCREATE(CProbeView, CWnd)
} // namespace

TEST_F(CFrameTest, TheViewFillsTheClientAreaAsBarsComeAndGo)
{
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CProbeView);
    auto* frame = new CProbeFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_PROBE, WS_OVERLAPPEDWINDOW, nullptr, &context));
    m_app.m_pMainWnd = frame;
    frame->MoveWindow(0, 0, 400, 300);
    frame->ShowWindow(SW_SHOW);
    AfxPumpMessages();
    auto* view = dynamic_cast<CProbeView*>(frame->GetDlgItem(AFX_IDW_PANE_FIRST));
    ASSERT_NE(view, nullptr);
    auto viewMatchesClient = [&]
    {
        CRect client;
        CRect inView;
        frame->GetClientRect(&client);
        view->GetClientRect(&inView);
        return !client.IsRectEmpty() && client == inView;
    };
    EXPECT_TRUE(PumpUntil(viewMatchesClient));
    CRect before;
    view->GetClientRect(&before);
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(PumpUntil(
        [&]
        {
            CRect now;
            view->GetClientRect(&now);
            return now.Height() > before.Height();
        }));
    EXPECT_TRUE(viewMatchesClient());
    frame->DestroyWindow();
}

TEST_F(CFrameTest, PopupMenusGoThroughTheHookAndPostTheirChoice)
{
    auto* frame = new CProbeFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_PROBE));
    m_app.m_pMainWnd = frame;
    CMenu* file = frame->GetMenu()->GetSubMenu(0);
    ASSERT_NE(file, nullptr);
    HMENU seen = nullptr;
    UINT nothingState = 0;
    CHookScope hook(
        [&](const AfxModalRequest& r)
        {
            EXPECT_EQ(r.kind, AfxModalKind::PopupMenu);
            seen = r.hMenu;
            // The owner updated the items before the menu showed.
            nothingState = ::GetMenuState(r.hMenu, ID_PROBE_NOHANDLER, MF_BYCOMMAND);
            return int(ID_PROBE_RUN);
        });
    EXPECT_EQ(file->TrackPopupMenu(TPM_RETURNCMD, 10, 10, frame), BOOL(ID_PROBE_RUN));
    EXPECT_EQ(seen, file->m_hMenu);
    EXPECT_EQ(nothingState & MF_GRAYED, UINT(MF_GRAYED));
    EXPECT_TRUE(g_log.empty());
    EXPECT_TRUE(file->TrackPopupMenu(TPM_LEFTALIGN, 10, 10, frame));
    EXPECT_TRUE(PumpUntil([] { return g_log.size() == 1; }));
    EXPECT_EQ(g_log, (std::vector<std::string>{"run"}));
    frame->DestroyWindow();
}

namespace
{
// Goes on its own first tick, as a frame closing itself from a timer does.
class CTimedFrame : public CFrameWnd
{
public:
    static int s_nAlive;
    CTimedFrame() { ++s_nAlive; }
    ~CTimedFrame() override { --s_nAlive; }
    void OnTimer(UINT_PTR) override { DestroyWindow(); }
};
int CTimedFrame::s_nAlive = 0;
} // namespace

TEST_F(CFrameTest, AFrameMayDestroyItselfFromItsTimer)
{
    auto* frame = new CTimedFrame;
    ASSERT_TRUE(frame->Create(nullptr, L"Timed"));
    frame->ShowWindow(SW_SHOW);
    ASSERT_EQ(frame->SetTimer(1122, 10), 1122u);
    EXPECT_TRUE(PumpUntil([] { return CTimedFrame::s_nAlive == 0; }));
    PumpFor(30);
}
