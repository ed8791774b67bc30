// The extended MDI frame's bars and helpers: a toolbar made from a menu and a picture strip that
// sends its commands and follows their updates, the customise button, user toolbars in their id
// range through the customisation dialog, the context-menu manager, the windows dialog, tabbed
// groups and the dynamic splitter of a child frame.
#include "WndTestSupport.h"

#include "mfc/ContextMenuManager.h"
#include "mfc/DocTemplate.h"
#include "mfc/Document.h"
#include "mfc/FrameWndEx.h"
#include "mfc/Menu.h"
#include "mfc/SplitterWnd.h"
#include "mfc/ToolBarEx.h"
#include "mfc/View.h"
#include "mfc/WinApp.h"
#include "mfc/WindowsDialog.h"

#include <QAction>
#include <QMdiArea>
#include <QMainWindow>
#include <QToolBar>

using namespace wndtest;

namespace
{
const UINT ID_PROBE_RUN = 33000;
const UINT ID_PROBE_OTHER = 33001;
const UINT ID_PROBE_NOHANDLER = 33002;
const UINT IDR_BAR = 740;
const UINT IDR_EDIT_POPUP = 741;
const UINT IDS_EDIT_NAME = 742;
const UINT IDR_SHEETDOC = 711;
const UINT ID_CUSTOMIZE = 126;

class CBarsFrame : public CMDIFrameWndEx
{
public:
    int m_nRuns = 0;
    int m_nCustomize = 0;
    std::vector<UINT> m_commands;
    void OnRun() { ++m_nRuns; }
    void OnCustomize() { ++m_nCustomize; }
    void OnUpdateOther(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_commands.push_back(LOWORD(wParam));
        return CMDIFrameWndEx::OnCommand(wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarsFrame, CMDIFrameWndEx)
ON_COMMAND(ID_PROBE_RUN, &CBarsFrame::OnRun)
ON_COMMAND(ID_CUSTOMIZE, &CBarsFrame::OnCustomize)
ON_UPDATE_COMMAND_UI(ID_PROBE_OTHER, &CBarsFrame::OnUpdateOther)
END_MESSAGE_MAP()

int g_nViewsAlive = 0;

class CPaneDoc : public CDocument
{
    DECLARE_DYNCREATE(CPaneDoc)
};
IMPLEMENT_DYNCREATE(CPaneDoc, CDocument)

class CPaneView : public CView
{
    DECLARE_DYNCREATE(CPaneView)
public:
    CPaneView() { ++g_nViewsAlive; }
    ~CPaneView() override { --g_nViewsAlive; }
    void OnInitialUpdate() override
    {
        ++m_nInitial;
        CView::OnInitialUpdate();
    }
    void OnDraw(CDC*) override {}
    int m_nInitial = 0;
};
IMPLEMENT_DYNCREATE(CPaneView, CView)

class CSplitChild : public CMDIChildWndEx
{
    DECLARE_DYNCREATE(CSplitChild)
public:
    CSplitterWndEx m_wndSplitter;
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override
    {
        return m_wndSplitter.Create(this, 2, 2, CSize(10, 10), pContext);
    }
};
IMPLEMENT_DYNCREATE(CSplitChild, CMDIChildWndEx)

class FrameBarsTest : public CWndTestBase
{
protected:
    void SetUp() override
    {
        CWndTestBase::SetUp();
        ASSERT_TRUE(AfxWinInit(0, nullptr));
        m_frame = new CBarsFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, L"Bars"));
        m_frame->MoveWindow(0, 0, 640, 420);
        m_frame->ShowWindow(SW_SHOW);
        m_app.m_pMainWnd = m_frame;
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(TRUE);
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        AfxPumpMessages();
        EXPECT_EQ(g_nViewsAlive, 0);
        AfxWinTerm();
        CWndTestBase::TearDown();
    }
    CPaneDoc* OpenSplitDocument()
    {
        auto* pTemplate = new CMultiDocTemplate(IDR_SHEETDOC, RUNTIME_CLASS(CPaneDoc),
                                                RUNTIME_CLASS(CSplitChild), RUNTIME_CLASS(CPaneView));
        m_app.AddDocTemplate(pTemplate);
        return dynamic_cast<CPaneDoc*>(pTemplate->OpenDocumentFile(nullptr));
    }
    static std::vector<CView*> Views(CDocument* pDoc)
    {
        std::vector<CView*> views;
        for (POSITION pos = pDoc->GetFirstViewPosition(); pos;)
            views.push_back(pDoc->GetNextView(pos));
        return views;
    }

    CWinAppEx m_app;
    CBarsFrame* m_frame = nullptr;
};
} // namespace

TEST_F(FrameBarsTest, AToolbarOfAMenuSendsItsCommandsFollowsTheirUpdatesAndEndsWithTheCustomiseButton)
{
    CMFCToolBar bar;
    ASSERT_TRUE(bar.CreateEx(m_frame));
    EXPECT_FALSE(bar.LoadToolBar(999)) << "no toolbar of that id";
    ASSERT_TRUE(bar.LoadToolBar(IDR_BAR));
    ASSERT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.GetItemID(0), ID_PROBE_RUN);
    EXPECT_EQ(bar.GetItemID(1), 0u) << "the separator";
    EXPECT_EQ(bar.CommandToIndex(ID_PROBE_NOHANDLER), 3);
    auto* qbar = qobject_cast<QToolBar*>(bar.GetWidget());
    ASSERT_NE(qbar, nullptr);
    EXPECT_EQ(qobject_cast<QMainWindow*>(m_frame->GetWidget())->toolBarArea(qbar), Qt::TopToolBarArea);
    EXPECT_FALSE(qbar->actions().at(0)->icon().isNull()) << "the strip's first picture";

    bar.EnableCustomizeButton(TRUE, ID_CUSTOMIZE, L"Customize...");
    QAction* customize = qbar->findChild<QAction*>(QStringLiteral("customize"));
    ASSERT_NE(customize, nullptr);
    EXPECT_EQ(customize->text(), QStringLiteral("Customize..."));

    // Idle updates: a handler that disables, no handler at all, and a command that is handled.
    m_frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    bar.OnUpdateCmdUI(m_frame, TRUE);
    EXPECT_TRUE(bar.IsButtonEnabled(0));
    EXPECT_FALSE(bar.IsButtonEnabled(2));
    EXPECT_FALSE(bar.IsButtonEnabled(3));
    EXPECT_FALSE(bar.ClickButton(2));

    ASSERT_TRUE(bar.ClickButton(0));
    customize->trigger();
    EXPECT_TRUE(PumpUntil([&] { return m_frame->m_nRuns == 1 && m_frame->m_nCustomize == 1; }));
}

TEST_F(FrameBarsTest, UserToolbarsTakeTheirIdRangeThroughTheCustomiseDialog)
{
    ASSERT_TRUE(m_frame->InitUserToolbars(nullptr, 0xE828, 0xE831));
    std::vector<CString> messages;
    int dialogs = 0;
    BOOL newEnabled = TRUE;
    CHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::MessageBox)
            {
                messages.push_back(r.strText);
                return IDOK;
            }
            ++dialogs;
            CWnd* newButton = r.pDialog->GetDlgItem(CMFCToolBarsCustomizeDialog::IDC_NEW_TOOLBAR);
            newEnabled = newButton->IsWindowEnabled();
            for (int i = 0; i < 11 && newEnabled; ++i)
                r.pDialog->SendMessage(WM_COMMAND,
                                       MAKEWPARAM(CMFCToolBarsCustomizeDialog::IDC_NEW_TOOLBAR, 0), 0);
            return IDCANCEL;
        });
    {
        // Without user toolbars enabled the dialog offers none.
        CMFCToolBarsCustomizeDialog dlg(m_frame, TRUE);
        dlg.DoModal();
        EXPECT_FALSE(newEnabled);
    }
    CMFCToolBarsCustomizeDialog dlg(m_frame, TRUE);
    dlg.EnableUserDefinedToolbars();
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dialogs, 2);
    ASSERT_EQ(m_frame->GetUserToolBarCount(), 10);
    for (int i = 0; i < 10; ++i)
    {
        CMFCToolBar* bar = m_frame->GetUserToolBarByIndex(i);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(UINT(bar->GetDlgCtrlID()), 0xE828u + UINT(i));
        CString name, expected;
        bar->GetWindowText(name);
        expected.Format(L"Custom %d", i + 1);
        EXPECT_EQ(name, expected);
    }
    EXPECT_EQ(m_frame->GetUserToolBarByIndex(10), nullptr);
    EXPECT_EQ(messages, std::vector<CString>{L"No more user toolbars can be made."});

    // A freed id is taken again.
    ASSERT_TRUE(m_frame->DeleteToolBar(m_frame->GetUserToolBarByIndex(3)));
    CMFCToolBar* again = m_frame->CreateNewToolBar(L"Again");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(UINT(again->GetDlgCtrlID()), 0xE82Bu);
}

TEST_F(FrameBarsTest, TheContextMenuManagerShowsItsNamedMenusAndSendsTheChoice)
{
    CContextMenuManager* menus = m_app.GetContextMenuManager();
    ASSERT_NE(menus, nullptr);
    EXPECT_TRUE(menus->AddMenu(IDS_EDIT_NAME, IDR_EDIT_POPUP));
    EXPECT_FALSE(menus->AddMenu(L"Edit", IDR_EDIT_POPUP)) << "the name is taken";
    EXPECT_FALSE(menus->AddMenu(L"Missing", 998));
    UINT resId = 0;
    const HMENU hPopup = menus->GetMenuByName(L"Edit", &resId);
    ASSERT_NE(hPopup, nullptr);
    EXPECT_EQ(resId, IDR_EDIT_POPUP);
    EXPECT_EQ(::GetMenuItemCount(hPopup), 2);
    EXPECT_EQ(menus->GetMenuById(IDR_EDIT_POPUP), hPopup);

    HMENU shown = nullptr;
    CHookScope hook(
        [&](const AfxModalRequest& r)
        {
            shown = r.hMenu;
            return r.kind == AfxModalKind::PopupMenu ? 57634 : IDCANCEL;
        });
    EXPECT_TRUE(menus->ShowPopupMenu(IDR_EDIT_POPUP, 10, 10, m_frame));
    EXPECT_EQ(shown, hPopup);
    EXPECT_TRUE(PumpUntil([&] { return !m_frame->m_commands.empty(); }));
    EXPECT_EQ(m_frame->m_commands, std::vector<UINT>{57634});
    EXPECT_EQ(menus->TrackPopupMenu(hPopup, 0, 0, m_frame), 57634u);
    EXPECT_FALSE(menus->ShowPopupMenu(998, 0, 0, m_frame));
}

TEST_F(FrameBarsTest, TabbedGroupsAndTheWindowsDialogActivateAndCloseChildren)
{
    CMDITabInfo tabs;
    tabs.m_style = CMFCTabCtrl::STYLE_3D_ONENOTE;
    tabs.m_bActiveTabCloseButton = TRUE;
    tabs.m_bAutoColor = TRUE;
    m_frame->EnableMDITabbedGroups(TRUE, tabs);
    EXPECT_TRUE(m_frame->AreMDITabs());
    auto* area = qobject_cast<QMdiArea*>(qobject_cast<QMainWindow*>(m_frame->GetWidget())->centralWidget());
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->viewMode(), QMdiArea::TabbedView);
    EXPECT_TRUE(area->tabsClosable());

    CPaneDoc* first = OpenSplitDocument();
    CPaneDoc* second = OpenSplitDocument();
    ASSERT_TRUE(first && second);
    CFrameWnd* firstFrame = Views(first).front()->GetParentFrame();
    EXPECT_EQ(m_frame->MDIGetActive(), Views(second).front()->GetParentFrame());

    ASSERT_TRUE(m_frame->EnableWindowsDialog(131, IDS_EDIT_NAME, TRUE, FALSE));
    EXPECT_FALSE(m_frame->EnableWindowsDialog(131, 997)) << "no such menu text";
    std::vector<CString> listed;
    BOOL helpShown = TRUE;
    int step = 0;
    CHookScope hook(
        [&](const AfxModalRequest& r)
        {
            auto* list =
                static_cast<CListBox*>(r.pDialog->GetDlgItem(CMFCWindowsManagerDialog::IDC_WINDOWS_LIST));
            listed.clear();
            for (int i = 0; i < list->GetCount(); ++i)
            {
                CString text;
                list->GetText(i, text);
                listed.push_back(text);
            }
            helpShown = r.pDialog->GetDlgItem(IDHELP)->IsWindowVisible();
            // First the older child is activated, then the active one is closed.
            list->SetCurSel(step++ == 0 ? 1 : 0);
            return step == 1 ? int(CMFCWindowsManagerDialog::IDC_ACTIVATE)
                             : int(CMFCWindowsManagerDialog::IDC_CLOSE_WINDOW);
        });
    m_frame->ShowWindowsDialog();
    EXPECT_EQ(listed.size(), 2u);
    EXPECT_FALSE(helpShown);
    EXPECT_EQ(m_frame->MDIGetActive(), firstFrame);
    m_frame->ShowWindowsDialog();
    AfxPumpMessages();
    std::vector<CWnd*> children;
    m_frame->GetMDIChildren(children);
    EXPECT_EQ(children.size(), 1u);
}

TEST_F(FrameBarsTest, TheDynamicSplitterAddsViewsOfTheDocumentAndDraggingADividerAwayRemovesThem)
{
    CPaneDoc* doc = OpenSplitDocument();
    ASSERT_NE(doc, nullptr);
    auto* child = dynamic_cast<CSplitChild*>(Views(doc).front()->GetParentFrame());
    ASSERT_NE(child, nullptr);
    child->MoveWindow(0, 0, 400, 300);
    PumpFor(100);
    CSplitterWnd& splitter = child->m_wndSplitter;
    ASSERT_EQ(Views(doc).size(), 1u);
    EXPECT_EQ(child->GetActiveView(), splitter.GetPane(0, 0)) << "the first pane is the frame's view";
    EXPECT_EQ(splitter.GetPane(0, 0)->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);

    CRect client;
    splitter.GetClientRect(&client);
    ASSERT_GT(client.Height(), 100);
    EXPECT_FALSE(splitter.SplitRow(5)) << "below the minimum pane height";
    ASSERT_TRUE(splitter.SplitRow(client.Height() / 2));
    ASSERT_TRUE(splitter.SplitColumn(client.Width() / 2));
    EXPECT_FALSE(splitter.SplitRow(40)) << "two rows at most";
    EXPECT_EQ(Views(doc).size(), 4u);
    EXPECT_EQ(g_nViewsAlive, 4);
    auto* lowerRight = dynamic_cast<CPaneView*>(splitter.GetPane(1, 1));
    ASSERT_NE(lowerRight, nullptr);
    EXPECT_EQ(lowerRight->GetDlgCtrlID(), AFX_IDW_PANE_FIRST + 16 + 1);
    EXPECT_EQ(lowerRight->m_nInitial, 1) << "a new pane is updated once";
    EXPECT_EQ(lowerRight->GetDocument(), doc);

    // The row divider dragged to the bottom edge takes the second row away.
    CWnd* upperRight = splitter.GetPane(0, 1);
    const int gapY = splitter.GetRowSplit() + 2;
    splitter.OnLButtonDown(MK_LBUTTON, CPoint(5, gapY));
    splitter.OnMouseMove(MK_LBUTTON, CPoint(5, client.Height() - 3));
    splitter.OnLButtonUp(0, CPoint(5, client.Height() - 3));
    EXPECT_EQ(splitter.GetRowCount(), 1);
    EXPECT_EQ(Views(doc).size(), 2u);
    // The left column removed by the same rule at its edge: the right pane moves into its place.
    splitter.DeleteColumn(0);
    EXPECT_EQ(splitter.GetPane(0, 0), upperRight);
    EXPECT_EQ(upperRight->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(child->GetActiveView(), upperRight);
    EXPECT_EQ(Views(doc).size(), 1u);

    // The keyboard split makes all four again.
    EXPECT_TRUE(splitter.DoKeyboardSplit());
    EXPECT_EQ(Views(doc).size(), 4u);
}
