// The design view driven as the engineer drives it: tools, mouse, handles, the frame's undo list,
// saving and reopening.
#include "EditorTestSupport.h"

#include "behaviour/EventSetDlgs.h"
#include "figkit/FOAction.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "mfc/CmdUI.h"
#include "model/ColorListCtrl.h"
#include "model/MyListCtrlShape.h"
#include "opc/InfoServerExplorerDoc.h"

#include <QFile>
#include <QImage>
#include <QListWidget>

#include <functional>

using namespace editortest;

namespace
{
// Client point of a canvas point while the rulers show (zoom 100%, not scrolled).
CPoint At(int x, int y)
{
    return CPoint(x + FO_RULER_SIZE, y + FO_RULER_SIZE);
}

// Answers the event dialog with "Hide object..." (12) of the action list and the shape "Pump".
int AnswerHidePump(const AfxModalRequest& r, int answer)
{
    if (r.kind != AfxModalKind::Dialog)
        return IDCANCEL;
    qobject_cast<QListWidget*>(r.pDialog->GetDlgItem(1037)->GetWidget())->setCurrentRow(2);
    r.pDialog->GetDlgItem(1011)->SetWindowText(L"Pump");
    return answer;
}
} // namespace

TEST_F(CDesignTest, HostedWindowsFollowTheViewsZoomAndScroll)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    ASSERT_NE(model, nullptr);
    model->SetCanvasSize(CSize(2000, 1500));
    auto* list = new CMyListCtrlShape;
    CRect rc(300, 200, 620, 420);
    list->Create(rc);
    model->InsertShape(list);
    ASSERT_NE(list->GetListCtrl(), nullptr);
    QWidget* hosted = list->GetListCtrl()->GetWidget();
    auto geometry = [&] {
        return CRect(hosted->x(), hosted->y(), hosted->x() + hosted->width(), hosted->y() + hosted->height());
    };
    auto device = [&]
    {
        const CPoint scroll = view->GetDeviceScrollPosition();
        const double zoom = view->GetZoomScale();
        const CRect r = list->GetDrawRect();
        return CRect(
            int(r.left * zoom) - scroll.x + FO_RULER_SIZE, int(r.top * zoom) - scroll.y + FO_RULER_SIZE,
            int(r.right * zoom) - scroll.x + FO_RULER_SIZE, int(r.bottom * zoom) - scroll.y + FO_RULER_SIZE);
    };
    EXPECT_EQ(geometry(), CRect(At(300, 200), At(620, 420)));

    // Zoomed to 200 % and scrolled: on the shape as the view shows it, through the scroll bar too.
    view->SetZoomScale(2.0);
    view->ScrollToPosition(CPoint(250, 180));
    ASSERT_EQ(view->GetDeviceScrollPosition(), CPoint(250, 180));
    EXPECT_EQ(geometry(), device());
    view->OnScroll(MAKEWORD(0xFF, SB_LINEDOWN), 0);
    EXPECT_GT(view->GetDeviceScrollPosition().y, 180);
    EXPECT_EQ(geometry(), device());
    // Moved on the canvas, it follows as well.
    list->OffsetShape(CSize(40, 20));
    list->UpdateComp();
    EXPECT_EQ(geometry(), device());
    AfxPumpMessages();
    const QImage shot = view->GetClientWidget()->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_HOSTED_PNG)));
    CRect cell;
    ASSERT_TRUE(list->GetListCtrl()->GetCellRect(0, 2, cell, FALSE));
    const CRect at = device();
    EXPECT_EQ(QColor(0, 0, 0), shot.pixelColor(at.left + cell.right - 4, at.top + cell.top + 2))
        << "the list's black cells where the shape shows";

    // Back to 100 % and to the top left.
    view->SetZoomScale(1.0);
    view->ScrollToPosition(CPoint(0, 0));
    EXPECT_EQ(geometry(), device());
}

TEST_F(CDesignTest, ShapesDrawnMovedResizedGroupedUndoneInOneGoAndReopened)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    ASSERT_NE(model, nullptr);
    model->SetCanvasSize(CSize(800, 600));
    ASSERT_TRUE(view->IsRulersShow()) << "a new screen shows its rulers";

    // Two shapes with the rectangle and ellipse tools; each tool makes one shape and goes back.
    Command(view, 32823);
    EXPECT_EQ(601u, view->GetCurDrawShape());
    Drag(view, At(40, 40), At(140, 100));
    EXPECT_EQ(0u, view->GetCurDrawShape());
    Command(view, 32824);
    Drag(view, At(200, 40), At(280, 120));
    ASSERT_EQ(2, model->GetShapeCount());
    CFODrawShape* rect = model->GetShapes()->GetObject(0);
    CFODrawShape* ellipse = model->GetShapes()->GetObject(1);
    EXPECT_EQ(601u, rect->GetType());
    EXPECT_EQ(602u, ellipse->GetType());
    EXPECT_EQ(CRect(40, 40, 140, 100), rect->GetDrawRect());
    EXPECT_EQ(CRect(200, 40, 280, 120), ellipse->GetDrawRect());

    // Move the rectangle by dragging it.
    Drag(view, At(90, 70), At(110, 90));
    EXPECT_EQ(CRect(60, 60, 160, 120), rect->GetDrawRect());

    // Resize the ellipse by its bottom-right handle.
    Click(view, At(240, 80));
    ASSERT_EQ(ellipse, view->GetFirstSelectShape());
    Drag(view, At(280, 120), At(300, 150));
    EXPECT_EQ(CRect(200, 40, 300, 150), ellipse->GetDrawRect());

    // Rubber band round both, then group.
    Drag(view, At(5, 5), At(320, 170));
    EXPECT_EQ(2, view->GetSelectCount());
    Command(view, ID_FOP_GROUP);
    ASSERT_EQ(1, model->GetShapeCount());
    auto* group = dynamic_cast<CFOCompositeShape*>(model->GetShapes()->GetHead());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(2, group->GetCompCount());

    // The frame's undo list follows the history.
    view->OnUpdate(nullptr, 0, nullptr);
    ASSERT_EQ(5, m_pMain->undoTexts.GetSize());
    EXPECT_EQ(CString(L"Group"), m_pMain->undoTexts[0]);

    // Three steps back at once, as the undo drop-down asks, and forward again.
    view->SendMessage(WM_USER + 500, 3, 5000);
    ASSERT_EQ(2, model->GetShapeCount());
    EXPECT_EQ(CRect(40, 40, 140, 100), rect->GetDrawRect());
    EXPECT_EQ(CRect(200, 40, 280, 120), ellipse->GetDrawRect());
    view->SendMessage(WM_USER + 500, 3, 0);
    ASSERT_EQ(1, model->GetShapeCount());
    EXPECT_EQ(CRect(60, 60, 160, 120), rect->GetDrawRect());
    EXPECT_EQ(CRect(200, 40, 300, 150), ellipse->GetDrawRect());

    // The canvas with rulers, grid and a selection with its handles.
    view->SelectShapes(*model->GetShapes());
    const QImage shot = view->GetClientWidget()->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_CANVAS_PNG)));
    const QPoint handle = QPoint(At(300, 150).x, At(300, 150).y);
    EXPECT_EQ(QColor(0, 160, 0), shot.pixelColor(handle)) << "a resize handle at the group's corner";
    EXPECT_EQ(QColor(236, 236, 236), shot.pixelColor(5, 300)) << "the left ruler";

    // Saved, the screen is clean; reopened, it holds the same shapes.
    auto* doc = view->GetDocument();
    const CString path = Path("screen.xdg");
    ASSERT_TRUE(doc->DoSave(path));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(model->GetUndoHistory()->IsClean());
    doc->OnCloseDocument();
    AfxPumpMessages();

    CQYRDrawView* again = Open(&path);
    ASSERT_NE(again, nullptr);
    CFODataModel* reopened = again->GetEditModel();
    // The library's model adds its demo shape (698) to every screen it loads.
    std::vector<CFODrawShape*> drawn;
    for (CFODrawShape* s : *reopened->GetShapes())
        if (s->GetType() != 698)
            drawn.push_back(s);
    ASSERT_EQ(1u, drawn.size());
    auto* loaded = dynamic_cast<CFOCompositeShape*>(drawn.front());
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(2, loaded->GetCompCount());
    EXPECT_EQ(CRect(60, 60, 160, 120), loaded->GetCompList().GetObject(0)->GetDrawRect());
    EXPECT_EQ(CRect(200, 40, 300, 150), loaded->GetCompList().GetObject(1)->GetDrawRect());
    EXPECT_EQ(602u, loaded->GetCompList().GetObject(1)->GetType());
    EXPECT_FALSE(again->GetDocument()->IsModified());
}

TEST_F(CDesignTest, RulersFlagTravelsInTheScreenFileAndScreensShareOneExplorerDocument)
{
    ASSERT_EQ(GetExplorerActiveDocument(FALSE), nullptr);
    CQYRDrawView* first = Open();
    ASSERT_NE(first, nullptr);
    CInfoServerExplorerDoc* explorer = GetExplorerActiveDocument(FALSE);
    ASSERT_NE(explorer, nullptr);
    CQYRDrawView* second = Open();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(explorer, static_cast<CQYRDrawDoc*>(second->GetDocument())->GetExplorerDocument(FALSE));
    EXPECT_EQ(2, explorer->GetRefCount());

    Command(first, 32771);
    EXPECT_FALSE(first->IsRulersShow());
    EXPECT_EQ(0, first->GetDocument()->m_bShowRulers);
    const CString path = Path("norulers.xdg");
    ASSERT_TRUE(first->GetDocument()->DoSave(path));
    first->GetDocument()->OnCloseDocument();
    AfxPumpMessages();
    EXPECT_EQ(explorer, GetExplorerActiveDocument(FALSE)) << "the other screen keeps it";
    EXPECT_EQ(1, explorer->GetRefCount());

    CQYRDrawView* reopened = Open(&path);
    ASSERT_NE(reopened, nullptr);
    EXPECT_FALSE(reopened->IsRulersShow());
    reopened->GetDocument()->OnCloseDocument();
    second->GetDocument()->OnCloseDocument();
    AfxPumpMessages();
    EXPECT_EQ(GetExplorerActiveDocument(FALSE), nullptr) << "the last screen frees it";
}

TEST_F(CDesignTest, EventHandleChangesAllSelectedShapesInOneStepAndCancelChangesNothing)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    for (int i = 0; i < 3; ++i)
    {
        Command(view, 32823);
        Drag(view, At(40 + 120 * i, 200), At(120 + 120 * i, 260));
    }
    ASSERT_EQ(3, model->GetShapeCount());
    view->SelectAll();
    ASSERT_EQ(3, int(view->GetSelectHandleItems().size()));
    EXPECT_EQ(UINT(ID_ADDI_EVENTS), view->GetSelectHandleItems()[2].GetId());
    const CRect handle = view->GetSelectHandleItemRect(2);
    const int steps = model->GetUndoHistory()->GetUndoCount();

    for (int answer : {IDCANCEL, IDOK})
    {
        CModalHookScope hook([answer](const AfxModalRequest& r) { return AnswerHidePump(r, answer); });
        Click(view, handle.CenterPoint());
    }
    EXPECT_EQ(steps + 1, model->GetUndoHistory()->GetUndoCount()) << "OK made one step; Cancel none";
    for (CFODrawShape* shape : *model->GetShapes())
    {
        int type = 0;
        CString text;
        EXPECT_TRUE(shape->GetPropIntValue(type, FO_PROP_EVENT_TYPE));
        EXPECT_EQ(12, type);
        EXPECT_TRUE(shape->GetPropStringValue(text, FO_PROP_EVENT_STRING));
        EXPECT_EQ(CString(L"Pump"), text);
    }
    model->UndoMacro(1);
    int type = 0;
    EXPECT_FALSE(model->GetShapes()->GetObject(2)->GetPropIntValue(type, FO_PROP_EVENT_TYPE));
}

TEST_F(CDesignTest, OutOfDesignModeEventsTwelveAndThirteenHideAndShowAShapeByName)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    for (int i = 0; i < 3; ++i)
    {
        Command(view, 32823);
        Drag(view, At(40 + 120 * i, 40), At(120 + 120 * i, 100));
    }
    CFODrawShape* hide = model->GetShapes()->GetObject(0);
    CFODrawShape* show = model->GetShapes()->GetObject(1);
    CFODrawShape* target = model->GetShapes()->GetObject(2);
    hide->PutPropIntValue(FO_PROP_EVENT_TYPE, 12);
    hide->PutPropStringValue(FO_PROP_EVENT_STRING, target->GetObjectName());
    show->PutPropIntValue(FO_PROP_EVENT_TYPE, 13);
    show->PutPropStringValue(FO_PROP_EVENT_STRING, target->GetObjectName());
    model->SetDesignMode(FALSE);
    view->ShowRulers(FALSE);

    Click(view, CPoint(80, 70));
    EXPECT_FALSE(target->IsVisible());
    Click(view, CPoint(200, 70));
    EXPECT_TRUE(target->IsVisible());
    // A name that no shape has, or none at all, does nothing.
    for (const wchar_t* name : {L"", L"NoSuchShape"})
    {
        hide->PutPropStringValue(FO_PROP_EVENT_STRING, name);
        Click(view, CPoint(80, 70));
        EXPECT_TRUE(target->IsVisible()) << CString(name).ToUtf8();
    }
}

TEST_F(CDesignTest, TheScreenPrintsToAPdfFileWithoutADesktop)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    view->GetEditModel()->SetCanvasSize(CSize(800, 600));
    Command(view, 32823);
    Drag(view, At(40, 40), At(240, 140));
    ASSERT_EQ(1, view->GetEditModel()->GetShapeCount());
    view->GetEditModel()->GetShapes()->GetHead()->SetBrushType(1);
    view->GetEditModel()->GetShapes()->GetHead()->SetBkColor(RGB(255, 0, 0));
    const CString pdf = Path("screen.pdf");
    {
        CModalHookScope hook(
            [&pdf](const AfxModalRequest& r)
            {
                EXPECT_EQ(AfxModalKind::FileDialog, r.kind);
                EXPECT_EQ(CString(L"pdf"), r.strDefExt);
                r.paths.push_back(pdf);
                return IDOK;
            });
        Command(view, ID_FILE_PRINT);
    }
    QFile file(QString::fromStdString(pdf.ToUtf8()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    EXPECT_GT(file.size(), 500);

    // A cancelled choice prints nothing; the preview draws its one page.
    {
        CModalHookScope cancel([](const AfxModalRequest&) { return IDCANCEL; });
        const CString other = Path("other.pdf");
        Command(view, ID_FILE_PRINT);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(other.ToUtf8())));
    }
    Command(view, ID_FILE_PRINT_PREVIEW);
    ASSERT_EQ(1, view->GetPreviewPageCount());
    // The page as printed: the screen fitted to the paper's width, the red rectangle where the
    // scale puts it, nothing of the grid or the selection, paper below the screen.
    const QImage* page = view->GetPreviewPage(0);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->save(QStringLiteral(QYR_PRINTED_PNG)));
    const double scale = page->width() / 800.0;
    auto at = [&](int x, int y) { return page->pixelColor(int(x * scale), int(y * scale)); };
    EXPECT_EQ(QColor(255, 0, 0), at(140, 90)) << "inside the rectangle";
    EXPECT_EQ(QColor(255, 0, 0), at(45, 45));
    EXPECT_NE(QColor(255, 0, 0), at(250, 90)) << "right of it";
    EXPECT_EQ(QColor(255, 255, 255), page->pixelColor(page->width() / 2, page->height() - 10));
    EXPECT_EQ(nullptr, view->GetPreviewPage(1));
}

TEST_F(CDesignTest, EventLinkFromTheContextMenuOpensTheEventDialogOfTheOneSelectedShape)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    for (int i = 0; i < 2; ++i)
    {
        Command(view, 32823);
        Drag(view, At(40 + 160 * i, 200), At(140 + 160 * i, 260));
    }
    ASSERT_EQ(2, model->GetShapeCount());
    CFODrawShape* first = model->GetShapes()->GetObject(0);
    CFODrawShape* second = model->GetShapes()->GetObject(1);

    // Enabled for exactly one selected shape in design mode.
    struct CProbeUI : CCmdUI
    {
        BOOL enabled = TRUE;
        void Enable(BOOL bOn) override { enabled = bOn; }
    } state;
    state.m_nID = 41137;
    CFOTypedShapeObList one;
    one.AddTail(first);
    struct Case
    {
        const char* selection;
        std::function<void()> select;
        BOOL design;
        BOOL enabled;
    } cases[] = {
        {"none", [&] { view->ClearSelection(); }, TRUE, FALSE},
        {"two", [&] { view->SelectAll(); }, TRUE, FALSE},
        {"one, test mode", [&] { view->SelectShapes(one); }, FALSE, FALSE},
        {"one", [&] { view->SelectShapes(one); }, TRUE, TRUE},
    };
    for (const Case& c : cases)
    {
        c.select();
        model->SetDesignMode(c.design);
        state.DoUpdate(view, FALSE);
        EXPECT_EQ(c.enabled, state.enabled) << c.selection;
    }

    // The context menu's "&Event Link..." edits the one shape in one undo step.
    const int steps = model->GetUndoHistory()->GetUndoCount();
    bool eventDialog = false;
    CModalHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::PopupMenu)
                return 41137;
            eventDialog = eventDialog || dynamic_cast<CQYREventSetDlg*>(r.pDialog) != nullptr;
            return AnswerHidePump(r, IDOK);
        });
    Mouse(view, QEvent::MouseButtonPress, At(90, 230), Qt::RightButton);
    AfxPumpMessages();
    EXPECT_TRUE(eventDialog);
    EXPECT_EQ(steps + 1, model->GetUndoHistory()->GetUndoCount());
    int type = 0;
    CString text;
    EXPECT_TRUE(first->GetPropIntValue(type, FO_PROP_EVENT_TYPE));
    EXPECT_EQ(12, type);
    EXPECT_TRUE(first->GetPropStringValue(text, FO_PROP_EVENT_STRING));
    EXPECT_EQ(CString(L"Pump"), text);
    EXPECT_FALSE(second->GetPropIntValue(type, FO_PROP_EVENT_TYPE));
}

TEST_F(CDesignTest, OutOfDesignModeTheExportEventWritesThePageAsAPicture)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    model->SetCanvasSize(CSize(800, 600));
    Command(view, 32823);
    Drag(view, At(40, 40), At(120, 100));
    ASSERT_EQ(1, model->GetShapeCount());
    CFODrawShape* shape = model->GetShapes()->GetHead();
    shape->SetBrushType(1);
    shape->SetBkColor(RGB(255, 0, 0));
    shape->PutPropIntValue(FO_PROP_EVENT_TYPE, 16);
    model->SetDesignMode(FALSE);
    view->ShowRulers(FALSE);

    for (const char* name : {"cancelled.png", "page.png"})
    {
        const CString path = Path(name);
        const bool cancel = std::string(name) == "cancelled.png";
        int asked = 0;
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                if (r.kind != AfxModalKind::FileDialog)
                    return IDCANCEL;
                ++asked;
                EXPECT_FALSE(r.bOpenFileDialog);
                r.paths.push_back(path);
                return cancel ? IDCANCEL : IDOK;
            });
        Click(view, CPoint(80, 70));
        EXPECT_EQ(1, asked) << name;
        const QImage picture(QString::fromStdString(path.ToUtf8()));
        EXPECT_EQ(cancel, picture.isNull()) << name;
        if (!cancel)
            EXPECT_EQ(QColor(255, 0, 0), picture.pixelColor(80, 70));
    }
}
