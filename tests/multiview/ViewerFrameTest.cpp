// The viewer running the demo project: the file pane lists the screens and opens them side by side,
// each child its own screen with live values; closing one leaves the other running its scripts;
// alarms reach the caption bar; "Quit application?" answered No keeps them coming; the splitter of
// a child and the pane's messages and menu.
#include "ViewerTestSupport.h"

#include "figkit/FODrawShape.h"
#include "model/SliderShapes.h"
#include "model/WorkSpaceObj.h"
#include "mfc/TreeCtrl.h"
#include "multiview/ChildFrm.h"
#include "multiview/FileView.h"
#include "multiview/Resource.h"
#include "opc/AlarmDoc.h"
#include "opc/EventServer.h"
#include "opc/InfoServer.h"
#include "opcsdk/servers/OpcStandIn.h"
#include "player/ExtDataModel.h"
#include "player/QYRViewView.h"
#include "player/RunCanvas.h"
#include "support/ModalHook.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>

using namespace viewer_test;

namespace
{
// The viewer on the demo project against the stand-in servers.
struct RunningViewer
{
    InstallRoot root;
    ViewerApp viewer;
    CMainFrame* frame = nullptr;

    explicit RunningViewer(const std::function<void(const InstallRoot&)>& prepare = {}) : viewer(root, {})
    {
        if (prepare)
            prepare(root);
        OpcStandIn::Reset();
        OpcStandIn::SetEventInterval(0);
        CInfoServer::SetStatusWaitStep(20);
        CEventServer::SetStatusWaitStep(1);
        if (viewer.Start())
            frame = MainFrame(viewer);
    }
    ~RunningViewer()
    {
        CEventServer::SetStatusWaitStep(1000);
        OpcStandIn::Reset();
    }

    CFileView& Pane() const { return frame->GetFileView(); }
    // The screens listed under "Xdg 파일".
    std::vector<CString> Listed() const
    {
        CTreeCtrl& tree = Pane().GetTree();
        std::vector<CString> names;
        const HTREEITEM root = tree.GetRootItem();
        const HTREEITEM screens = root ? tree.GetChildItem(root) : nullptr;
        for (HTREEITEM h = screens ? tree.GetChildItem(screens) : nullptr; h; h = tree.GetNextSiblingItem(h))
            names.push_back(tree.GetItemText(h));
        return names;
    }
    std::vector<CChildFrame*> Children() const
    {
        std::vector<CWnd*> wnds;
        frame->GetMDIChildren(wnds);
        std::vector<CChildFrame*> children;
        for (CWnd* w : wnds)
            if (auto* c = dynamic_cast<CChildFrame*>(w))
                children.push_back(c);
        return children;
    }
    static CQYRViewView* ViewOf(CChildFrame* child)
    {
        return dynamic_cast<CQYRViewView*>(child->GetSplitter().GetPane(0, 0));
    }
    static CFODrawShape* ByKey3(CQYRViewView* view, const wchar_t* key)
    {
        for (CFODrawShape* shape : *view->GetCurrentModel()->GetShapes())
            if (shape->GetKeyId3() == key)
                return shape;
        return nullptr;
    }
    LRESULT Open(const wchar_t* name, UINT message = 0x603) const
    {
        return Pane().SendMessage(message, reinterpret_cast<WPARAM>(name), 0);
    }
    double Counter() const
    {
        CParamObj* param = const_cast<ViewerApp&>(viewer).app.GetWorkSpace()->FindParamByName(L"#Counter");
        return param ? param->GetValue().GetAsDouble() : -1.0;
    }
};
} // namespace

TEST(ViewerFrame, TwoScreensSideBySideEachLiveAndClosingOneLeavesTheOtherRunning)
{
    RunningViewer run;
    ASSERT_NE(run.frame, nullptr);
    EXPECT_EQ(run.Listed(), (std::vector<CString>{L"Behaviour", L"Details", L"Main", L"Trends"}));
    CTreeCtrl& tree = run.Pane().GetTree();
    EXPECT_EQ(tree.GetItemText(tree.GetRootItem()), CString(L"Application 파일"));
    EXPECT_TRUE(tree.GetItemState(tree.GetRootItem(), TVIS_BOLD) & TVIS_BOLD);

    // The plain start opened the main screen; the pane opens a second one beside it.
    ASSERT_EQ(run.Children().size(), 1u);
    CChildFrame* first = run.Children().front();
    EXPECT_EQ(run.Open(L"Details"), 0);
    ASSERT_EQ(run.Children().size(), 2u);
    CChildFrame* second = run.Children().front();
    EXPECT_NE(second, first);
    EXPECT_EQ(run.frame->MDIGetActive(), second) << "the opened screen is the active child";
    EXPECT_EQ(run.Open(L"Details"), 0) << "an open screen is only activated";
    EXPECT_EQ(run.Children().size(), 2u);

    CQYRViewView* mainView = RunningViewer::ViewOf(first);
    CQYRViewView* detailsView = RunningViewer::ViewOf(second);
    ASSERT_TRUE(mainView && detailsView);
    CFODrawShape* ramp = RunningViewer::ByKey3(mainView, L"Simulation.Ramp");
    CFODrawShape* pump = RunningViewer::ByKey3(detailsView, L"Plant.Area2.Pump1.Speed");
    ASSERT_NE(ramp, nullptr) << "the first child shows the main screen";
    ASSERT_NE(pump, nullptr) << "the second child shows its own screen";
    EXPECT_EQ(RunningViewer::ByKey3(detailsView, L"Simulation.Text"), nullptr);
    EXPECT_EQ(RunningViewer::ByKey3(mainView, L"Plant.Area2.Pump1.Speed"), nullptr);
    EXPECT_TRUE(PumpUntil(
        [&] { return ramp->GetCurrentValue() != DBL_MIN && pump->GetCurrentValue() != DBL_MIN; }, 10000))
        << "both show live values";

    // An alarm in the caption bar, and the picture of it all.
    OpcStandIn::FireEvent(L"Plant.Area1.Tank1", L"Tank1 level high", 3, 700);
    ASSERT_TRUE(
        PumpUntil([&] { return run.frame->GetCaptionBar().GetText().Find(L"Tank1 level high") > 0; }));
    const std::wstring line = run.frame->GetCaptionBar().GetText().str();
    const size_t at = line.find(L"   ");
    ASSERT_NE(at, std::wstring::npos);
    EXPECT_EQ(line.substr(at + 3, 32), L"Plant.Area1.Tank1" + std::wstring(15, L' ')) << "the display format";
    EXPECT_EQ(line.size(), at + 3 + 32 + 3 + 80);
    run.frame->MoveWindow(0, 0, 1280, 800);
    run.frame->MDITile();
    PumpUntil([] { return false; }, 600);
    const QImage image = run.frame->GetWidget()->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(QStringLiteral(QYR_MVIEW_PNG)));

    // The second closes: the first keeps updating and running its timer procedure.
    second->SendMessage(WM_CLOSE, 0, 0);
    AfxPumpMessages();
    ASSERT_EQ(run.Children().size(), 1u);
    const double value = ramp->GetCurrentValue();
    EXPECT_TRUE(PumpUntil([&] { return ramp->GetCurrentValue() != value; }, 5000)) << "still updating";
    const double counter = run.Counter();
    EXPECT_TRUE(PumpUntil([&] { return run.Counter() >= counter + 2; }, 6000)) << "still running its scripts";
}

TEST(ViewerFrame, TheBehaviourScreenFollowsItsValuesAsInThePlayer)
{
    RunningViewer run;
    ASSERT_NE(run.frame, nullptr);
    EXPECT_EQ(run.Open(L"Behaviour"), 0);
    CQYRViewView* view = RunningViewer::ViewOf(run.Children().front());
    ASSERT_NE(view, nullptr);
    CFODrawShape* level = view->GetCurrentModel()->FindShapeWithKey1(L"Level");
    CFODrawShape* lamp = view->GetCurrentModel()->FindShapeWithKey1(L"Lamp");
    ASSERT_TRUE(level && lamp);
    // The ramp's three ranges colour the shape; the highest also switches its state; the lamp
    // hides below 50.
    ASSERT_TRUE(
        PumpUntil([&] { return level->GetCurrentValue() >= 5 && level->GetCurrentValue() <= 30; }, 15000));
    EXPECT_EQ(level->GetBkColor(), RGB(0, 192, 0));
    EXPECT_FALSE(lamp->IsVisible());
    ASSERT_TRUE(
        PumpUntil([&] { return level->GetCurrentValue() >= 70 && level->GetCurrentValue() <= 95; }, 15000));
    EXPECT_EQ(level->GetBkColor(), RGB(255, 96, 96));
    EXPECT_EQ(level->GetStateType(), CString(L"High"));
    EXPECT_TRUE(lamp->IsVisible());
}

TEST(ViewerFrame, ThePaneAnswersItsMessagesAndSkipsWhatIsNoScreen)
{
    RunningViewer run(
        [](const InstallRoot& root)
        {
            const QString screens = root.root + "/Demo/demo/XdgFiles/";
            QDir().mkpath(screens + "Folder.xdg");
            QFile::copy(screens + "Main.xdg", screens + "Spare.xdg");
            QFile(screens + "notes.txt").open(QIODevice::WriteOnly);
        });
    ASSERT_NE(run.frame, nullptr);
    MessageLog unexpected;
    EXPECT_EQ(run.Listed(), (std::vector<CString>{L"Behaviour", L"Details", L"Main", L"Spare", L"Trends"}))
        << "a folder named like a screen and other files are not listed";

    // A screen whose file went after the list was made is not opened.
    QFile::remove(run.root.root + "/Demo/demo/XdgFiles/Spare.xdg");
    const size_t before = run.Children().size();
    EXPECT_EQ(run.Open(L"Spare", 0x601), -1);
    EXPECT_EQ(run.Open(L"Folder", 0x603), -1);
    EXPECT_EQ(run.Open(L"", 0x601), -1);
    EXPECT_EQ(run.Pane().SendMessage(0x601, 0, 0), -1) << "no name at all";
    for (UINT message : {0x602u, 0x604u, 0x605u, 0x609u})
        EXPECT_EQ(run.Open(L"Main", message), 0);
    EXPECT_EQ(run.Children().size(), before);
    EXPECT_TRUE(unexpected.texts.empty());

    // A double click on a folder item does nothing; on a screen it opens it.
    CTreeCtrl& tree = run.Pane().GetTree();
    NMHDR hdr = {tree.GetSafeHwnd(), UINT_PTR(CFileView::ID_TREE), UINT(NM_DBLCLK)};
    tree.SelectItem(tree.GetRootItem());
    run.Pane().SendMessage(WM_NOTIFY, CFileView::ID_TREE, reinterpret_cast<LPARAM>(&hdr));
    EXPECT_EQ(run.Children().size(), before);
    const HTREEITEM screens = tree.GetChildItem(tree.GetRootItem());
    tree.SelectItem(tree.GetChildItem(screens)); // Details
    run.Pane().SendMessage(WM_NOTIFY, CFileView::ID_TREE, reinterpret_cast<LPARAM>(&hdr));
    EXPECT_EQ(run.Children().size(), before + 1);

    // The context menu: Properties names the screen folder; Open opens the selected screen.
    std::vector<CString> boxes;
    int menus = 0;
    UINT pick = 135;
    CModalHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::PopupMenu)
            {
                ++menus;
                return int(pick);
            }
            boxes.push_back(r.strText);
            return IDOK;
        });
    HTREEITEM main = tree.GetChildItem(screens);
    while (main && tree.GetItemText(main) != L"Main")
        main = tree.GetNextSiblingItem(main);
    ASSERT_NE(main, nullptr);
    tree.SelectItem(main);
    run.Pane().SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.GetSafeHwnd()), MAKELPARAM(-1, -1));
    AfxPumpMessages();
    EXPECT_EQ(menus, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], CString(L"Application 파일 위치 = ") + run.Pane().GetScreenFolder());
    pick = 136;
    run.Pane().SendMessage(WM_FILEVIEW_CONTEXT, 5, 5);
    AfxPumpMessages();
    EXPECT_EQ(menus, 2);
    EXPECT_EQ(run.Children().size(), before + 1) << "Main was open already: it is activated";
}

TEST(ViewerFrame, AnEmptyScreenFolderListsOnlyTheTwoFolders)
{
    RunningViewer run([](const InstallRoot& root)
                      { QDir(root.root + "/Demo/demo/XdgFiles").removeRecursively(); });
    // The project's main screen is gone too, but the viewer still starts.
    ASSERT_NE(run.frame, nullptr);
    CTreeCtrl& tree = run.Pane().GetTree();
    EXPECT_EQ(tree.GetCount(), 2u);
    EXPECT_EQ(tree.GetItemText(tree.GetChildItem(tree.GetRootItem())), CString(L"Xdg 파일"));
}

TEST(ViewerFrame, QuitAnsweredNoKeepsAlarmsComingAndEventsPostedWhileClosingAreFreed)
{
    RunningViewer run;
    ASSERT_NE(run.frame, nullptr);
    ASSERT_NE(run.frame->GetAlarmDoc(), nullptr);
    std::vector<CString> questions;
    int answer = IDNO;
    CModalHookScope hook(
        [&](const AfxModalRequest& r)
        {
            questions.push_back(r.strText);
            return answer;
        });
    run.frame->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_EQ(questions, std::vector<CString>{L"Quit application?"});
    ASSERT_TRUE(::IsWindow(run.frame->GetSafeHwnd()));
    ASSERT_NE(run.frame->GetAlarmDoc(), nullptr) << "No keeps the alarm document";
    OpcStandIn::FireEvent(L"Plant.Area2.Pump1", L"after No", 4, 500);
    EXPECT_TRUE(PumpUntil([&] { return run.frame->GetCaptionBar().GetText().Find(L"after No") > 0; }));

    // The server restarts: the frame's timer takes it up again and new alarms show.
    OpcStandIn::StopEventServer();
    EXPECT_TRUE(PumpUntil([&] { return run.frame->GetAlarmDoc()->GetEventServer() == nullptr; }, 3000));
    OpcStandIn::StartEventServer();
    EXPECT_TRUE(PumpUntil([&] { return run.frame->GetAlarmDoc()->GetEventServer() != nullptr; }, 3000));
    OpcStandIn::FireEvent(L"Plant.Area2.Pump1", L"after restart", 4, 500);
    EXPECT_TRUE(PumpUntil([&] { return run.frame->GetCaptionBar().GetText().Find(L"after restart") > 0; }));

    // Two events in a row: the second shows. Then more are posted and the frame goes before they
    // arrive; ASan reports them if they are not freed.
    OpcStandIn::FireEvent(L"Plant.Area1.Tank1", L"first of two", 3, 700);
    OpcStandIn::FireEvent(L"Plant.Area1.Tank2", L"second of two", 3, 700);
    EXPECT_TRUE(PumpUntil([&] { return run.frame->GetCaptionBar().GetText().Find(L"second of two") > 0; }));
    OpcStandIn::FireEvent(L"Plant.Area1.Tank1", L"posted while closing", 3, 700);
    OpcStandIn::FireEvent(L"Plant.Area1.Tank2", L"posted while closing", 3, 700);
    answer = IDYES;
    run.frame->SendMessage(WM_CLOSE, 0, 0);
    AfxPumpMessages();
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(run.viewer.app.m_pMainWnd, nullptr) << "Yes closes the viewer";
    EXPECT_TRUE(run.viewer.app.IsSplashCreated()) << "the splash shows while it closes";
}

TEST(ViewerFrame, AChildSplitsIntoFourViewsOfItsScreenAndUnsplittingKeepsTheRestRunning)
{
    RunningViewer run;
    ASSERT_NE(run.frame, nullptr);
    ASSERT_EQ(run.Children().size(), 1u);
    CChildFrame* child = run.Children().front();
    child->MoveWindow(0, 0, 800, 600);
    AfxPumpMessages();
    child->SendMessage(WM_COMMAND, ID_WINDOW_SPLIT, 0);
    CSplitterWnd& splitter = child->GetSplitter();
    EXPECT_EQ(splitter.GetRowCount(), 2);
    EXPECT_EQ(splitter.GetColumnCount(), 2);
    auto* lower = dynamic_cast<CQYRViewView*>(splitter.GetPane(1, 1));
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(lower->GetDocument(), RunningViewer::ViewOf(child)->GetDocument());

    // The view that made the script engine stays; the others go and the procedures go on.
    splitter.DeleteRow(1);
    splitter.DeleteColumn(1);
    EXPECT_EQ(splitter.GetRowCount(), 1);
    const double counter = run.Counter();
    EXPECT_TRUE(PumpUntil([&] { return run.Counter() >= counter + 2; }, 6000));
}

TEST(ViewerFrame, ChildrenOpenAtTheirScreensSizeAndCascadeKeepsThemLarge)
{
    RunningViewer run;
    ASSERT_NE(run.frame, nullptr);
    run.frame->MoveWindow(0, 0, 1400, 1000);
    AfxPumpMessages();
    ASSERT_EQ(run.Children().size(), 1u);
    CChildFrame* first = run.Children().front();
    CQYRViewView* view = RunningViewer::ViewOf(first);
    ASSERT_NE(view, nullptr);
    // Fitted once the frame has its size: the child's client holds the whole screen (the
    // splitter's bars aside).
    first->SendMessage(WM_CHILD_FIT_SCREEN);
    const CSize canvas = view->GetCurrentModel()->GetCanvasSize();
    CRect client;
    first->GetClientRect(&client);
    CRect outer, area;
    first->GetWindowRect(&outer);
    ::GetClientRect(run.frame->m_hWndMDIClient, &area);
    const CSize edges(outer.Width() - client.Width(), outer.Height() - client.Height());
    EXPECT_EQ(outer.Width(), std::min(canvas.cx + edges.cx, area.Width()));
    EXPECT_EQ(outer.Height(), std::min(canvas.cy + edges.cy, area.Height()));
    // A screen smaller than the client area is shown whole, at its own size.
    view->GetCurrentModel()->SetCanvasSize(CSize(300, 200));
    first->SendMessage(WM_CHILD_FIT_SCREEN);
    first->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(300, 200));

    // A second screen, then Window > Cascade: each one caption below the other, neither shrunk to
    // its caption.
    ASSERT_EQ(run.Open(L"Details"), 0);
    ASSERT_EQ(run.Children().size(), 2u);
    AfxPumpMessages();
    run.frame->SendMessage(WM_COMMAND, ID_WINDOW_CASCADE, 0);
    AfxPumpMessages();
    std::vector<CRect> places;
    for (CChildFrame* child : run.Children())
    {
        CRect r;
        child->GetWindowRect(&r);
        EXPECT_GT(r.Width(), area.Width() / 2);
        EXPECT_GT(r.Height(), area.Height() / 2);
        places.push_back(r);
    }
    ASSERT_EQ(places.size(), 2u);
    EXPECT_NE(places[0].TopLeft(), places[1].TopLeft());
    EXPECT_EQ(places[0].Size(), places[1].Size());
    const QImage image = run.frame->GetWidget()->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(QStringLiteral(QYR_MVIEW_CASCADE_PNG)));
}

TEST(ViewerFrame, AMenuButtonSwitchesTheChildsScreenAndASliderDragWritesItsVariable)
{
    RunningViewer run;
    ASSERT_NE(run.frame, nullptr);
    ASSERT_EQ(run.Children().size(), 1u);
    CQYRViewView* view = RunningViewer::ViewOf(run.Children().front());
    ASSERT_NE(view, nullptr);
    CExtDataModel* model = view->GetCurrentModel();
    const auto add = [&](UINT type, CRect rc, const wchar_t* key3)
    {
        CFODrawShape* shape = model->DoCreateShapeByType(type, rc, CString());
        shape->SetKeyId3(key3);
        model->InsertShape(shape);
        shape->Release();
        return shape;
    };
    CRunCanvas* canvas = view->GetCanvas();
    ASSERT_NE(canvas, nullptr);
    const auto mouse = [&](QEvent::Type type, CPoint pt)
    {
        QWidget* w = canvas->GetClientWidget();
        const CPoint c = canvas->CanvasToClient(pt);
        QMouseEvent e(type, QPointF(c.x, c.y), w->mapToGlobal(QPointF(c.x, c.y)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };

    // The slider on the global setpoint (0 to 100 over a groove from x 28 to 228), drawn once.
    auto* slider = static_cast<CMyHorzSliderShape*>(add(624, CRect(20, 60, 236, 100), L"#Setpoint"));
    slider->SetMinValue(0);
    slider->SetMaxValue(100);
    ASSERT_TRUE(PumpUntil([&] { return slider->GetCurrentValue() == 50.0; }));
    canvas->GetClientWidget()->grab();
    const CPoint from = slider->GetThumbRect().CenterPoint();
    mouse(QEvent::MouseButtonPress, from);
    mouse(QEvent::MouseMove, CPoint(178, from.y));
    mouse(QEvent::MouseButtonRelease, CPoint(178, from.y));
    CParamObj* setpoint = run.viewer.app.GetWorkSpace()->FindParamByName(L"#Setpoint");
    ASSERT_NE(setpoint, nullptr);
    EXPECT_EQ(setpoint->GetValue().GetAsDouble(), 75.0);

    // The menu button's second entry opens the trends screen in this child.
    CFODrawShape* button = add(FO_COMP_MENUBUTTON, CRect(20, 110, 120, 134), L"");
    button->SetStateString(L"Stay$0#None@Trends$5#Trends.xdg");
    CModalHookScope hook([](const AfxModalRequest& r)
                         { return r.kind == AfxModalKind::PopupMenu ? 2 : IDOK; });
    mouse(QEvent::MouseButtonPress, button->GetSnapRect().CenterPoint());
    mouse(QEvent::MouseButtonRelease, button->GetSnapRect().CenterPoint());
    EXPECT_EQ(view->GetCurrentScreen(), CString(L"Trends.xdg"));
}
