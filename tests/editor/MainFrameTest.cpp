// The editor's main frame: its bars in their docking layout, the trimmed menu, the toolbar actions
// and their update handlers, the format wells, the frame's commands, recent projects, dropped files
// and closing.
#include "MainFrameTestSupport.h"

#include "editor/ToolBoxDefaults.h"
#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Clipboard.h"
#include "mfc/CommandActions.h"
#include "mfc/Menu.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QDockWidget>
#include <QFontDatabase>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QToolBar>
#include <QToolButton>

#include <fstream>
#include <set>

using namespace frametest;

namespace
{
// Every command id of a menu and its submenus, and the texts of its popups.
void Collect(CMenu* menu, std::set<UINT>& ids, std::set<CString>& popups)
{
    for (int i = 0; menu && i < int(menu->GetMenuItemCount()); ++i)
    {
        const UINT id = menu->GetMenuItemID(i);
        if (id == UINT(-1))
        {
            CString text;
            menu->GetMenuString(UINT(i), text, MF_BYPOSITION);
            popups.insert(text);
            Collect(menu->GetSubMenu(i), ids, popups);
        }
        else if (id)
            ids.insert(id);
    }
}

// What an update handler says of a command.
class CProbe : public CCmdUI
{
public:
    explicit CProbe(UINT nID) { m_nID = nID; }
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        enabled = bOn;
    }
    void SetCheck(int nCheck) override { checked = nCheck; }
    void SetRadio(BOOL bOn) override { checked = bOn; }
    void SetText(LPCWSTR) override {}
    BOOL enabled = TRUE;
    int checked = -1;
};

CProbe Update(CMainFrame* frame, UINT nID)
{
    CProbe probe(nID);
    probe.DoUpdate(frame, TRUE);
    return probe;
}

QRect Geometry(CWnd& bar)
{
    QWidget* w = bar.GetWidget();
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

void Press(CView* view, QEvent::Type type, CPoint pt, Qt::MouseButtons buttons)
{
    QWidget* w = view->GetClientWidget();
    QMouseEvent e(type, QPointF(pt.x, pt.y), w->mapToGlobal(QPointF(pt.x, pt.y)),
                  type == QEvent::MouseButtonRelease ? Qt::LeftButton : Qt::LeftButton, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
} // namespace

TEST_F(CMainFrameTest, BarsDockInTheirLayoutAndTheMenuIsTrimmed)
{
    ASSERT_TRUE(WriteDefaultToolBoxPages(m_app.m_strToolBox));
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    auto* main = qobject_cast<QMainWindow*>(f->GetWidget());
    ASSERT_NE(main, nullptr);

    const LPCWSTR titles[] = {L"Standard", L"Font", L"Draw", L"Format", L"Align", L"Link", L"Layout"};
    for (int i = 0; i < 7; ++i)
    {
        CString title;
        f->GetToolBar(i)->GetWindowText(title);
        EXPECT_EQ(CString(titles[i]), title);
        EXPECT_TRUE(f->GetToolBar(i)->IsWindowVisible()) << i;
    }
    CFOPToolBar* standard = f->GetToolBar(0);
    CFOPToolBar* font = f->GetToolBar(1);
    CFOPToolBar* draw = f->GetToolBar(2);
    CFOPToolBar* format = f->GetToolBar(3);
    CFOPToolBar* align = f->GetToolBar(4);
    CFOPToolBar* link = f->GetToolBar(5);
    CFOPToolBar* layout = f->GetToolBar(6);
    using Rows = std::vector<std::vector<CControlBar*>>;
    EXPECT_EQ((Rows{{standard, format}, {font, link}}), f->GetToolBarRows(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ((Rows{{align, layout}}), f->GetToolBarRows(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ((Rows{{draw}}), f->GetToolBarRows(AFX_IDW_DOCKBAR_RIGHT));
    // What the window shows: Format right of Standard on its row, Font and Link on the next one,
    // Layout right of Align at the bottom, Draw on the right.
    auto* qFormat = qobject_cast<QToolBar*>(format->GetWidget());
    EXPECT_EQ(Qt::TopToolBarArea, main->toolBarArea(qFormat));
    EXPECT_EQ(Geometry(*standard).top(), Geometry(*format).top());
    EXPECT_GT(Geometry(*format).left(), Geometry(*standard).left());
    EXPECT_GT(Geometry(*font).top(), Geometry(*standard).top());
    EXPECT_EQ(Geometry(*font).top(), Geometry(*link).top());
    EXPECT_EQ(Qt::BottomToolBarArea, main->toolBarArea(qobject_cast<QToolBar*>(align->GetWidget())));
    EXPECT_EQ(Geometry(*align).top(), Geometry(*layout).top());
    EXPECT_EQ(Qt::RightToolBarArea, main->toolBarArea(qobject_cast<QToolBar*>(draw->GetWidget())));

    // The workspace bar on the left, 240 pixels wide; the pan window's place under it, hidden.
    auto* workspace = qobject_cast<QDockWidget*>(f->GetWorkspaceBar().GetWidget());
    auto* pan = qobject_cast<QDockWidget*>(f->GetPanPlace().GetWidget());
    ASSERT_TRUE(workspace && pan);
    EXPECT_EQ(Qt::LeftDockWidgetArea, main->dockWidgetArea(workspace));
    EXPECT_EQ(QStringLiteral("ToolBox Bar"), workspace->windowTitle());
    EXPECT_TRUE(workspace->isVisible());
    EXPECT_NEAR(240, workspace->width(), 16);
    EXPECT_EQ(Qt::LeftDockWidgetArea, main->dockWidgetArea(pan));
    EXPECT_FALSE(pan->isVisible());

    // The status bar and its six panes.
    ASSERT_EQ(6, f->GetStatusBar().GetCount());
    const UINT panes[] = {0, 41000, 41001, 59137, 59138, 59139};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(panes[i], f->GetStatusBar().GetItemID(i));
    EXPECT_EQ(59, f->GetStatusBar().GetPaneText(1).GetLength());

    // The menu without what the editor does not offer.
    std::set<UINT> ids;
    std::set<CString> popups;
    Collect(f->GetMenu(), ids, popups);
    EXPECT_EQ(0u, popups.count(L"&Tool"));
    EXPECT_EQ(0u, popups.count(L"ToolBox &View Style"));
    for (UINT gone : {30049u, 30053u, 30048u, 32854u, 32810u, 32837u, 32836u, 30084u, 32811u, 32815u, 32817u,
                      32826u, 32816u, 30111u, 30112u})
        EXPECT_EQ(0u, ids.count(gone)) << gone;
    for (UINT kept : {30052u, 32849u, 32776u, 32777u, 32791u, 32845u, 57600u, 33040u})
        EXPECT_EQ(1u, ids.count(kept)) << kept;

    // The combos placed on the buttons, filled.
    CComboBox* zoom = f->GetZoomBox();
    CComboBox* name = f->GetFontNameBox();
    CComboBox* size = f->GetFontSizeBox();
    ASSERT_TRUE(zoom && name && size);
    EXPECT_EQ(10, zoom->GetCount());
    CString text;
    zoom->GetLBText(zoom->GetCurSel(), text);
    EXPECT_EQ(CString(L"100"), text);
    ASSERT_EQ(25, size->GetCount());
    size->GetLBText(24, text);
    EXPECT_EQ(CString(L"624"), text);
    EXPECT_EQ(0, size->GetCurSel());
    EXPECT_EQ(int(QFontDatabase::families().size()), name->GetCount());
    // A family is chosen from the start: the desktop's interface font.
    EXPECT_EQ(name->GetCount() > 0, name->GetCurSel() >= 0);

    // The toolbox under the project tree in the workspace bar, with the pages of the toolbox folder.
    CMyToolBoxWnd& box = f->GetToolBox();
    ASSERT_TRUE(box.GetSafeHwnd());
    EXPECT_TRUE(box.IsWindowVisible());
    EXPECT_TRUE(workspace->isAncestorOf(box.GetWidget()));
    EXPECT_GE(Geometry(box).top(), Geometry(f->GetWorkspaceBar().GetTabCtrl()).bottom());
    EXPECT_GT(box.GetWidget()->height(), 100);
    ASSERT_EQ(GetDefaultToolBoxPageCount(), box.GetPageCount());
    for (int i = 0; i < box.GetPageCount(); ++i)
        EXPECT_GT(box.GetPage(i)->GetItemCount(), 0) << i;

    // The whole frame with the pan window shown under the workspace bar, filling its bar.
    f->ShowControlBar(&f->GetPanPlace(), TRUE, FALSE);
    AfxPumpMessages();
    EXPECT_GT(pan->y(), workspace->y());
    EXPECT_EQ(pan->x(), workspace->x());
    EXPECT_TRUE(f->GetPanWindow().IsWindowVisible());
    EXPECT_TRUE(pan->isAncestorOf(f->GetPanWindow().GetWidget()));
    EXPECT_GT(f->GetPanWindow().GetWidget()->width(), 200);
    const QImage shot = main->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_MAINFRAME_PNG)));
}

TEST_F(CMainFrameTest, ToolbarButtonsAreTheMenuActionsAndFollowTheUpdateHandlers)
{
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    CFOPToolBar* standard = f->GetToolBar(0);
    QAction* toolbox = standard->GetButtonAction(32791);
    QAction* undo = standard->GetButtonAction(ID_EDIT_UNDO);
    ASSERT_TRUE(toolbox && undo);
    EXPECT_EQ(toolbox, AfxFindCommandAction(f->m_hWnd, 32791));
    EXPECT_FALSE(toolbox->icon().isNull());
    EXPECT_EQ(QStringLiteral("Toolbox"), toolbox->toolTip());

    // The menu item of the command is the same action.
    QMenu menu;
    CMenu* viewMenu = f->GetMenu()->GetSubMenu(2);
    ASSERT_NE(viewMenu, nullptr);
    AfxFillPopupMenu(&menu, viewMenu->m_hMenu, f->m_hWnd);
    EXPECT_TRUE(menu.actions().contains(toolbox));

    m_app.OnIdle(0);
    EXPECT_TRUE(toolbox->isChecked()) << "the workspace bar shows";
    EXPECT_FALSE(undo->isEnabled()) << "no view takes Undo";

    toolbox->trigger();
    AfxPumpMessages();
    EXPECT_FALSE(f->GetWorkspaceBar().IsWindowVisible());
    m_app.OnIdle(0);
    EXPECT_FALSE(toolbox->isChecked());
    // The menu shows the state the handler set on the shared action.
    AfxFillPopupMenu(&menu, viewMenu->m_hMenu, f->m_hWnd);
    EXPECT_FALSE(toolbox->isChecked());

    // With a screen open the view takes Undo once there is something to undo.
    CDocument* doc = m_pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    AfxPumpMessages();
    m_app.OnIdle(0);
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(CMainFrameTest, WellsAnswerTheirMessagesAndTheFillWellFillsTheSelectedShape)
{
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    // Set and read each well's value.
    const std::pair<UINT, DWORD> wells[] = {
        {32788, RGB(1, 2, 3)}, {32807, RGB(4, 5, 6)}, {32809, RGB(7, 8, 9)}, {32794, 5}, {32796, PS_DOT}};
    for (const auto& [id, value] : wells)
    {
        EXPECT_EQ(0, f->SendToFormatButtons(id, FOP_BUTTON_SETVALUE, value, 0));
        EXPECT_EQ(LRESULT(value), f->SendToFormatButtons(id, FOP_BUTTON_GETVALUE, 0, 0)) << id;
    }
    f->SendToFormatButtons(32809, FOP_BUTTON_SETVALUE2, RGB(10, 11, 12), 0);
    EXPECT_EQ(RGB(10, 11, 12), f->GetToolBar(1)->GetWell(32809)->GetShownValue());
    EXPECT_EQ(0, f->SendToFormatButtons(4242, FOP_BUTTON_GETVALUE, 0, 0)) << "no such well";

    // A screen with one selected rectangle.
    CDocument* doc = m_pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    POSITION pos = doc->GetFirstViewPosition();
    auto* view = dynamic_cast<CQYRDrawView*>(doc->GetNextView(pos));
    ASSERT_NE(view, nullptr);
    view->GetParentFrame()->MoveWindow(0, 0, 700, 500);
    AfxPumpMessages();
    view->SendMessage(WM_COMMAND, 32823, 0);
    const CPoint from(40 + FO_RULER_SIZE, 40 + FO_RULER_SIZE), to(140 + FO_RULER_SIZE, 100 + FO_RULER_SIZE);
    Press(view, QEvent::MouseButtonPress, from, Qt::LeftButton);
    Press(view, QEvent::MouseMove, CPoint(90, 80), Qt::LeftButton);
    Press(view, QEvent::MouseMove, to, Qt::LeftButton);
    Press(view, QEvent::MouseButtonRelease, to, Qt::NoButton);
    CFODataModel* model = view->GetCurrentModel();
    ASSERT_EQ(1, model->GetShapeCount());
    CFODrawShape* shape = model->GetShapes()->GetObject(0);
    view->SelectShapes(*model->GetShapes());
    ASSERT_EQ(1, view->GetSelectCount());

    // Choosing red in the fill well's chooser fills it.
    CFOPDropWell* fill = f->GetToolBar(1)->GetWell(32809);
    ASSERT_NE(fill, nullptr);
    auto* red = fill->GetWidget()->findChild<QToolButton*>(QStringLiteral("value%1").arg(RGB(255, 0, 0)));
    ASSERT_NE(red, nullptr);
    red->click();
    EXPECT_EQ(RGB(255, 0, 0), shape->GetBkColor());
    EXPECT_EQ(1, shape->GetBrushType());
    EXPECT_EQ(LRESULT(RGB(255, 0, 0)), f->SendToFormatButtons(32809, FOP_BUTTON_GETVALUE, 0, 0));
    // "None" takes the fill away; a click on the well's face applies its colour again.
    fill->GetWidget()->findChild<QToolButton*>(QStringLiteral("none"))->click();
    EXPECT_EQ(0, shape->GetBrushType());
    qobject_cast<QToolButton*>(fill->GetWidget())->click();
    EXPECT_EQ(1, shape->GetBrushType());
    EXPECT_EQ(RGB(255, 0, 0), shape->GetBkColor());
    // The line width well's chooser sets the width.
    CFOPDropWell* width = f->GetToolBar(1)->GetWell(32794);
    width->GetWidget()->findChild<QToolButton*>(QStringLiteral("value4"))->click();
    EXPECT_EQ(4, shape->GetLineWidth());
}

TEST_F(CMainFrameTest, UndoHistoryAndZoomComboReachTheActiveView)
{
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    CDocument* doc = m_pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    POSITION pos = doc->GetFirstViewPosition();
    auto* view = dynamic_cast<CQYRDrawView*>(doc->GetNextView(pos));
    ASSERT_NE(view, nullptr);
    view->GetParentFrame()->MoveWindow(0, 0, 700, 500);
    AfxPumpMessages();
    for (int i = 0; i < 3; ++i)
    {
        view->SendMessage(WM_COMMAND, 32823, 0);
        const CPoint from(40 + 110 * i + FO_RULER_SIZE, 40 + FO_RULER_SIZE);
        const CPoint to(from.x + 80, from.y + 60);
        Press(view, QEvent::MouseButtonPress, from, Qt::LeftButton);
        Press(view, QEvent::MouseMove, CPoint(from.x + 40, from.y + 30), Qt::LeftButton);
        Press(view, QEvent::MouseMove, to, Qt::LeftButton);
        Press(view, QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    CFODataModel* model = view->GetCurrentModel();
    ASSERT_EQ(3, model->GetShapeCount());
    view->OnUpdate(nullptr, 0, nullptr);
    ASSERT_EQ(3, f->GetUndoTexts()->GetSize());

    // The Undo button's list shows the history; its second entry takes two steps back at once.
    CFOPToolBar* standard = f->GetToolBar(0);
    auto* bar = qobject_cast<QToolBar*>(standard->GetWidget());
    auto* undo = qobject_cast<QToolButton*>(bar->widgetForAction(standard->GetButtonAction(ID_EDIT_UNDO)));
    ASSERT_TRUE(undo && undo->menu());
    emit undo->menu()->aboutToShow();
    auto* list = undo->menu()->findChild<QListWidget*>(QStringLiteral("history"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(3, list->count());
    emit list->itemClicked(list->item(1));
    AfxPumpMessages();
    EXPECT_EQ(1, model->GetShapeCount());

    // A zoom chosen in the Format bar's combo zooms the view.
    auto* zoom = qobject_cast<QComboBox*>(f->GetZoomBox()->GetWidget());
    ASSERT_NE(zoom, nullptr);
    zoom->setCurrentIndex(5);
    emit zoom->activated(5);
    AfxPumpMessages();
    EXPECT_DOUBLE_EQ(2.0, view->GetZoomScale());
}

TEST_F(CMainFrameTest, ToolBoxCommandsReachTheToolBox)
{
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    CMyToolBoxWnd& box = f->GetToolBox();
    const struct
    {
        UINT command;
        int style;
    } styles[] = {{ID_TOOLBOX_STYLE_ICONS_DETAILS, FO_TOOLBOX_ICONS_DETAILS},
                  {ID_TOOLBOX_STYLE_NAMES, FO_TOOLBOX_NAMES},
                  {ID_TOOLBOX_STYLE_ICONS_NAMES, FO_TOOLBOX_ICONS_NAMES}};
    for (const auto& c : styles)
    {
        f->SendMessage(WM_COMMAND, c.command, 0);
        EXPECT_EQ(c.style, box.GetViewStyle()) << c.command;
        for (const auto& other : styles)
            EXPECT_EQ(other.command == c.command ? 1 : 0, Update(f, other.command).checked)
                << c.command << " " << other.command;
    }

    // New adds a page; Remove takes the open one away again.
    const int pages = box.GetPageCount();
    f->SendMessage(WM_COMMAND, ID_TOOLBOX_PAGE_NEW, 0);
    EXPECT_EQ(pages + 1, box.GetPageCount());
    EXPECT_EQ(pages, box.GetActiveIndex());
    f->SendMessage(WM_COMMAND, ID_TOOLBOX_PAGE_REMOVE, 0);
    EXPECT_EQ(pages, box.GetPageCount());
}

TEST_F(CMainFrameTest, TheDesignViewsNoticesReachThePanWindow)
{
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    f->ShowControlBar(&f->GetPanPlace(), TRUE, FALSE);
    CDocument* doc = m_pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    POSITION pos = doc->GetFirstViewPosition();
    auto* view = dynamic_cast<CQYRDrawView*>(doc->GetNextView(pos));
    ASSERT_NE(view, nullptr);
    view->GetParentFrame()->MoveWindow(0, 0, 700, 500);
    view->GetCurrentModel()->SetCanvasSize(CSize(2400, 1800));
    view->UpdateScrollBarSize();
    AfxPumpMessages();
    CFOPNewPanBar& pan = f->GetPanWindow();

    // The view sends its notices as the canvas does: to the main frame, which passes them on.
    EXPECT_EQ(1, FOPMessageSend(view, FOP_WM_VIEW_VALID, 0));
    ASSERT_EQ(static_cast<CFOPCanvasCore*>(view), pan.GetActiveView());
    const CRect before = pan.GetVisibleArea();
    ASSERT_FALSE(before.IsRectEmpty());
    view->ScrollToDevicePosition(CPoint(600, 450));
    EXPECT_EQ(1, FOPMessageSend(view, FOP_WM_VIEW_UPDATE, 0));
    EXPECT_GT(pan.GetVisibleArea().left, before.left);
    EXPECT_GT(pan.GetVisibleArea().top, before.top);

    // The view going away lets the pan window go of it.
    EXPECT_EQ(1, FOPMessageSend(view, FOP_WM_VIEW_INVALID, 0));
    EXPECT_EQ(nullptr, pan.GetActiveView());
}

TEST_F(CMainFrameTest, FrameCommandsFollowTheProjectAndTheOpenWindows)
{
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(Update(f, ID_ADD_NEW_SCREEN).enabled);
    EXPECT_FALSE(Update(f, ID_ADD_NEW_SCRIPT).enabled);
    EXPECT_FALSE(Update(f, ID_CLOSE_WINDOW).enabled);
    MakeProject({});
    EXPECT_TRUE(Update(f, ID_ADD_NEW_SCREEN).enabled);
    {
        CModalRecorder boxes(IDOK);
        f->SendMessage(WM_COMMAND, ID_ADD_NEW_SCRIPT, 0);
        ASSERT_EQ(1u, boxes.texts.size());
        EXPECT_EQ(CString(L"It doesn't support multiple script files at this time!"), boxes.texts[0]);
    }

    ASSERT_NE(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    AfxPumpMessages();
    EXPECT_FALSE(Update(f, ID_NEXT_WINDOW).enabled) << "one window";
    EXPECT_TRUE(Update(f, ID_CLOSE_WINDOW).enabled);
    ASSERT_NE(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    AfxPumpMessages();
    EXPECT_TRUE(Update(f, ID_NEXT_WINDOW).enabled);
    EXPECT_TRUE(Update(f, ID_PREV_WINDOW).enabled);
    CMDIChildWnd* active = f->MDIGetActive();
    f->SendMessage(WM_COMMAND, ID_NEXT_WINDOW, 0);
    EXPECT_NE(active, f->MDIGetActive());
    f->SendMessage(WM_COMMAND, ID_PREV_WINDOW, 0);
    EXPECT_EQ(active, f->MDIGetActive());

    // Bars on and off, with their checks.
    EXPECT_EQ(1, Update(f, ID_VIEW_DRAWBAR).checked);
    f->SendMessage(WM_COMMAND, ID_VIEW_DRAWBAR, 0);
    EXPECT_EQ(0, Update(f, ID_VIEW_DRAWBAR).checked);
    EXPECT_FALSE(f->GetToolBar(2)->IsWindowVisible());
    f->SendMessage(WM_COMMAND, ID_VIEW_FORMATBAR, 0);
    EXPECT_EQ(0, Update(f, ID_VIEW_FORMATBAR).checked);

    // The two looks, one checked at a time.
    f->SendMessage(WM_COMMAND, ID_STYLE_XP, 0);
    EXPECT_EQ(0, Update(f, ID_STYLE_CLASSIC).checked);
    EXPECT_EQ(1, Update(f, ID_STYLE_XP).checked);
    f->SendMessage(WM_COMMAND, ID_STYLE_CLASSIC, 0);
    EXPECT_EQ(1, Update(f, ID_STYLE_CLASSIC).checked);
    EXPECT_EQ(0, Update(f, ID_STYLE_XP).checked);
}

TEST_F(CMainFrameTest, RecentProjectsShowUpToFourAndOpenAnotherProject)
{
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    CMenu* file = f->GetMenu()->GetSubMenu(0);
    CMenu* recent = nullptr;
    int at = -1;
    for (int i = 0; i < int(file->GetMenuItemCount()) && !recent; ++i)
        if (CMenu* sub = file->GetSubMenu(i); sub && sub->GetMenuItemID(0) == ID_RECENT_PROJECT_FIRST)
        {
            recent = sub;
            at = i;
        }
    ASSERT_NE(recent, nullptr);

    f->OnInitMenuPopup(recent, UINT(at), FALSE);
    ASSERT_EQ(1u, recent->GetMenuItemCount());
    CString text;
    recent->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(CString(L"none"), text);
    EXPECT_TRUE(recent->GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);

    for (const wchar_t* p :
         {L"/p/one.dcp", L"/p/two.dcp", L"/p/three.txt", L"/p/four.dcp", L"/p/five.dcp", L"/p/six.dcp"})
        m_app.m_recent.Add(p);
    f->OnInitMenuPopup(recent, UINT(at), FALSE);
    ASSERT_EQ(4u, recent->GetMenuItemCount());
    recent->GetMenuString(1, text, MF_BYPOSITION);
    EXPECT_EQ(CString(L"&2, /p/two.dcp"), text);
    EXPECT_EQ(ID_RECENT_PROJECT_FIRST + 3, recent->GetMenuItemID(3));
    EXPECT_FALSE(recent->GetMenuState(3, MF_BYPOSITION) & MF_GRAYED);

    // The second opens and "main.dat" follows; a name that is no project file does nothing.
    f->SendMessage(WM_COMMAND, ID_RECENT_PROJECT_FIRST + 1, 0);
    ASSERT_EQ(1, m_app.m_opened.GetSize());
    EXPECT_EQ(CString(L"/p/two.dcp"), m_app.m_opened[0]);
    EXPECT_EQ(1, m_app.m_nMainDatWrites);
    f->SendMessage(WM_COMMAND, ID_RECENT_PROJECT_FIRST + 2, 0);
    EXPECT_EQ(1, m_app.m_opened.GetSize());
    // A failed open writes no "main.dat".
    m_app.m_bOpenSucceeds = FALSE;
    f->SendMessage(WM_COMMAND, ID_RECENT_PROJECT_FIRST, 0);
    EXPECT_EQ(2, m_app.m_opened.GetSize());
    EXPECT_EQ(1, m_app.m_nMainDatWrites);
}

TEST_F(CMainFrameTest, DroppedFilesOpenByTheirExtension)
{
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    MakeProject({});
    const std::string screen = m_dir + "/Pump.XDG";
    {
        CDocument* doc = m_pTemplate->OpenDocumentFile(nullptr);
        ASSERT_NE(doc, nullptr);
        ASSERT_TRUE(doc->DoSave(CString::FromUtf8(screen)));
        doc->OnCloseDocument();
        AfxPumpMessages();
    }
    f->OpenDroppedFiles({CString::FromUtf8(screen), CString::FromUtf8(m_dir + "/notes.txt"),
                         m_app.m_strFolder + m_app.m_strFile, CString(L"/elsewhere/other.DCP")});
    AfxPumpMessages();
    std::vector<CWnd*> children;
    f->GetMDIChildren(children);
    EXPECT_EQ(1u, children.size()) << "the screen in capitals opened";
    ASSERT_EQ(1, m_app.m_opened.GetSize()) << "only the other project";
    EXPECT_EQ(CString(L"/elsewhere/other.DCP"), m_app.m_opened[0]);
}

TEST_F(CMainFrameTest, ClosingAsksAboutAChangedProjectAndAStayingLargeClipboard)
{
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    const HWND hFrame = f->m_hWnd;
    MakeProject({});
    m_app.m_workspace.SetModified(TRUE);
    {
        CModalRecorder boxes(IDCANCEL);
        f->SendMessage(WM_CLOSE);
        ASSERT_EQ(1u, boxes.texts.size());
        EXPECT_EQ(CString(L"This project file had been changed, do you want to save it before exist?"),
                  boxes.texts[0]);
    }
    EXPECT_TRUE(::IsWindow(hFrame)) << "Cancel keeps the editor open";
    EXPECT_EQ(1, m_app.m_nSaveModifiedCalls) << "the modified documents are saved first all the same";

    // Yes with a project that cannot be saved says so and keeps the editor open.
    m_app.m_strFolder = CString::FromUtf8(m_dir + "/missing/folder/");
    {
        CModalRecorder boxes(IDYES);
        f->SendMessage(WM_CLOSE);
        EXPECT_GE(boxes.texts.size(), 2u);
    }
    EXPECT_TRUE(::IsWindow(hFrame));
    EXPECT_EQ(0, m_app.m_recent.GetSize());

    // Yes that saves moves the project to the head of the recent list, trimmed and lower-cased;
    // then more than 10 MB of the editor's own clipboard data asks again, and Cancel stays.
    m_app.m_strFolder = CString::FromUtf8(m_dir + "/proj/");
    CString head = CString::FromUtf8(m_dir + "/proj/plant.dcp");
    head.MakeLower();
    m_app.m_recent.Add(L"/p/older.dcp");
    m_app.m_recent.Add(head);
    ASSERT_TRUE(::OpenClipboard(hFrame));
    ::EmptyClipboard();
    const size_t big = 0xA00000 + 10;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, big);
    std::memset(GlobalLock(block), 'x', big);
    GlobalUnlock(block);
    ::SetClipboardData(CF_TEXT, block);
    ::CloseClipboard();
    EXPECT_GT(CMainFrame::OwnClipboardSize(), size_t(0xA00000));
    {
        int asked = 0;
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                ++asked;
                return r.strText.Find(L"Clipboard") >= 0 ? IDCANCEL : IDYES;
            });
        f->SendMessage(WM_CLOSE);
        EXPECT_EQ(2, asked);
    }
    EXPECT_TRUE(::IsWindow(hFrame)) << "Cancel in the clipboard question keeps the editor open";
    ASSERT_EQ(2, m_app.m_recent.GetSize());
    EXPECT_EQ(head, m_app.m_recent[0]);
    EXPECT_EQ(CString(L"/p/older.dcp"), m_app.m_recent[1]);
    EXPECT_FALSE(m_app.m_workspace.IsModified());

    // A small clipboard asks nothing and the editor closes.
    ASSERT_TRUE(::OpenClipboard(hFrame));
    ::EmptyClipboard();
    HGLOBAL small = GlobalAlloc(GMEM_MOVEABLE, 16);
    std::memset(GlobalLock(small), 'y', 16);
    GlobalUnlock(small);
    ::SetClipboardData(CF_TEXT, small);
    ::CloseClipboard();
    {
        CModalRecorder boxes(IDYES);
        f->SendMessage(WM_CLOSE);
        AfxPumpMessages();
        EXPECT_TRUE(boxes.texts.empty());
    }
    EXPECT_FALSE(::IsWindow(hFrame));
    m_app.m_pMainWnd = nullptr;
}

TEST_F(CMainFrameTest, ProjectTreeListsTheScreensByNameInAnyCase)
{
    namespace fs = std::filesystem;
    fs::create_directories(m_dir + "/Shapes");
    {
        std::ofstream index(m_dir + "/Shapes/index.dat");
        index << "1#basic.trs\n\n#lost.trs\n3#pumps.trs\n7#\n  4#a#b.trs  \n";
    }
    CMainFrame* f = MakeFrame();
    ASSERT_NE(f, nullptr);
    CTableBar& bar = f->GetWorkspaceBar();
    // The index as read at creation: empty lines and lines without a number or a file are skipped.
    const auto& pages = bar.GetPageList();
    ASSERT_EQ(3u, pages.size());
    EXPECT_EQ(CString(L"3"), pages[1].strNumber);
    EXPECT_EQ(CString(L"pumps.trs"), pages[1].strFile);
    EXPECT_EQ(101u, pages[1].nID);
    EXPECT_EQ(CString(L"4#a"), pages[2].strNumber);
    EXPECT_EQ(CString(L"b.trs"), pages[2].strFile);

    CEditTreeCtrl& tree = bar.GetTree();
    bar.RefreshProjectTree();
    EXPECT_EQ(0u, tree.GetCount()) << "no project, no tree";
    CFOTabCtrl& tabs = bar.GetTabCtrl();
    ASSERT_EQ(1, tabs.GetTabCount());
    EXPECT_EQ(CString(L"Projects"), tabs.GetTabLabel(0));

    MakeProject({"b.XDG", "a.xdg", "C.Xdg", "notes.txt"});
    fs::create_directories(m_dir + "/proj/XdgFiles/folder.xdg");
    f->RefreshProjectTree();
    HTREEITEM root = tree.GetRootItem();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(CString(L"Plexdraft Editor -- plant.dcp"), tree.GetItemText(root));
    EXPECT_EQ(DWORD_PTR(TREE_ITEM_PROJECT), tree.GetItemData(root));
    std::vector<std::pair<CString, DWORD_PTR>> children;
    for (HTREEITEM h = tree.GetChildItem(root); h; h = tree.GetNextSiblingItem(h))
        children.emplace_back(tree.GetItemText(h), tree.GetItemData(h));
    const std::vector<std::pair<CString, DWORD_PTR>> expected = {{L"Project Setting", 3000},
                                                                 {L"Parameters", 6000},
                                                                 {L"Screens", 1001},
                                                                 {L"Application Publisher", 4000},
                                                                 {L"Explore Project Folder", 5000}};
    EXPECT_EQ(expected, children);
    std::vector<CString> screens;
    for (HTREEITEM h = tree.GetChildItem(bar.GetScreensItem()); h; h = tree.GetNextSiblingItem(h))
    {
        screens.push_back(tree.GetItemText(h));
        EXPECT_EQ(DWORD_PTR(TREE_ITEM_SCREEN), tree.GetItemData(h));
    }
    EXPECT_EQ((std::vector<CString>{L"a", L"b", L"C"}), screens);
    int image = -1, selected = -1;
    tree.GetItemImage(bar.GetScreensItem(), image, selected);
    EXPECT_EQ(1, image);
}
