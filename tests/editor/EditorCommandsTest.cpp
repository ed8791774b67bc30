// The edge cases of the editor's model and of the design view's commands.
#include "EditorTestSupport.h"

#include "figkit/FOAction.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FORectShape.h"
#include "figkit/FOWndControlShape.h"
#include "mfc/CmdUI.h"
#include "mfc/Menu.h"
#include "mfc/File.h"

#include <QComboBox>

#include <fstream>

using namespace editortest;

TEST(EditorModelTest, SwitchesAskedForAtATinySizeGetTheFortySquareOthersKeepTheirRectangle)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    CMyExtDataModel model;
    const struct
    {
        UINT type;
        CRect given;
        CRect expected;
    } cases[] = {
        {611, CRect(100, 100, 100, 100), CRect(80, 80, 120, 120)},
        {609, CRect(100, 100, 110, 119), CRect(80, 80, 120, 120)},   // 10 x 19: enlarged
        {612, CRect(100, 100, 111, 119), CRect(100, 100, 111, 119)}, // 11 wide: kept
        {613, CRect(100, 100, 110, 120), CRect(100, 100, 110, 120)}, // 20 high: kept
        {611, CRect(150, 100, 100, 160), CRect(100, 100, 150, 160)}, // normalised
    };
    for (const auto& c : cases)
    {
        CRect rc = c.given;
        CFOShapePtr<CFODrawShape> shape =
            CFOShapePtr<CFODrawShape>::Adopt(model.DoCreateShapeByType(c.type, rc, L""));
        ASSERT_TRUE(shape) << c.type;
        EXPECT_EQ(c.expected, shape->GetDrawRect())
            << c.type << " " << c.given.Width() << "x" << c.given.Height();
        EXPECT_FALSE(shape->GetObjectName().IsEmpty());
    }
    // A motor clicked into place keeps the empty rectangle and takes its resource's size.
    CRect click(100, 100, 100, 100);
    CFOShapePtr<CFODrawShape> motor =
        CFOShapePtr<CFODrawShape>::Adopt(model.DoCreateShapeByType(608, click, L""));
    ASSERT_TRUE(motor);
    EXPECT_EQ(CPoint(100, 100), motor->GetDrawRect().TopLeft());
    EXPECT_GT(motor->GetDrawRect().Width(), 0);
}

TEST(EditorModelTest, PolygonsOfTheEditorGetItsDefaultsAndMarkTheScreenModified)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    CMyExtDataModel model;
    CArray<CPoint, CPoint> points;
    points.Add(CPoint(0, 0));
    points.Add(CPoint(50, 0));
    points.Add(CPoint(25, 40));
    model.SetModifiedFlag(FALSE);
    model.AddPolygonShape(603, points);
    ASSERT_EQ(1, model.GetShapeCount());
    CFODrawShape* polygon = model.GetShapes()->GetHead();
    EXPECT_EQ(603u, polygon->GetType());
    EXPECT_EQ(1, polygon->GetLineWidth());
    EXPECT_EQ(1, polygon->GetPenStyle());
    EXPECT_EQ(0, polygon->GetBrushType());
    BOOL defaults = FALSE;
    EXPECT_TRUE(polygon->GetPropBoolValue(defaults, FO_PROP_TOOLBOX_DEFAULTS) && defaults);
    EXPECT_TRUE(model.IsModified());
}

TEST(EditorModelTest, EmptyFileOpensAsAnEmptyScreenAndAFailedSaveLeavesTheOldFileWhole)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    char tmpl[] = "/tmp/qyrmodelXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    std::ofstream(dir + "/empty.xdg").close();
    CMyExtDataModel model;
    EXPECT_TRUE(model.OpenDocument(CString::FromUtf8(dir + "/empty.xdg")));
    EXPECT_EQ(0, model.GetShapeCount());

    model.AddPolygonShape(603,
                          []
                          {
                              CArray<CPoint, CPoint> p;
                              p.Add(CPoint(0, 0));
                              p.Add(CPoint(9, 9));
                              return p;
                          }());
    const CString path = CString::FromUtf8(dir + "/keep.xdg");
    ASSERT_TRUE(model.SaveDocument(path));
    const auto size = std::filesystem::file_size(dir + "/keep.xdg");
    // The folder refuses new files: the save fails and the screen that was there stays.
    std::filesystem::permissions(dir,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    model.AddPolygonShape(603,
                          []
                          {
                              CArray<CPoint, CPoint> p;
                              p.Add(CPoint(0, 0));
                              p.Add(CPoint(5, 5));
                              return p;
                          }());
    const BOOL saved = model.SaveDocument(path);
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
    if (geteuid() != 0)
    {
        EXPECT_FALSE(saved);
        EXPECT_EQ(size, std::filesystem::file_size(dir + "/keep.xdg"));
        CMyExtDataModel back;
        EXPECT_TRUE(back.OpenDocument(path));
        EXPECT_EQ(1, back.GetShapeCount());
    }
    std::filesystem::remove_all(dir);
}

TEST(DesignViewTables, FontStepsZoomEntriesAndUniqueKeys)
{
    const struct
    {
        int size;
        int up;
        int down;
    } fonts[] = {{624, 624, 524}, {6, 624, 8},  {8, 9, 8},      {700, 624, 8},
                 {10, 11, 9},     {13, 14, 12}, {600, 624, 524}};
    for (const auto& f : fonts)
    {
        EXPECT_EQ(f.up, CPlexdraftView::NextFontSize(f.size, TRUE)) << f.size;
        EXPECT_EQ(f.down, CPlexdraftView::NextFontSize(f.size, FALSE)) << f.size;
    }
    const struct
    {
        int entry;
        int percent;
    } zooms[] = {{0, 10}, {3, 80}, {4, 100}, {9, 800}, {10, 100}, {-1, 100}};
    for (const auto& z : zooms)
        EXPECT_EQ(z.percent, CPlexdraftView::ZoomPercentOfEntry(z.entry)) << z.entry;

    const struct
    {
        std::vector<CString> keys;
        std::vector<CString> expected;
    } keys[] = {
        {{L"A", L"A", L""}, {L"A", L"K1", L""}},
        {{L"", L""}, {L"", L"K1"}},
        {{L"K1", L"K1", L"x", L"x"}, {L"K1", L"K2", L"x", L"K3"}},
    };
    for (const auto& k : keys)
    {
        std::vector<CString> got = k.keys;
        CPlexdraftView::MakeUniqueKeys(got);
        EXPECT_EQ(k.expected, got);
    }
}

TEST_F(CDesignTest, BoldTogglesTo700ThenTo500AndFontStepsGoThroughTheView)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    Command(view, 32823);
    Drag(view, CPoint(60, 60), CPoint(160, 120));
    CFODrawShape* shape = model->GetShapes()->GetHead();
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(shape, view->GetFirstSelectShape());
    const struct
    {
        UINT command;
        int weight;
        int size;
    } steps[] = {{32804, 700, 10}, {32804, 500, 10}, {32786, 500, 11}, {32787, 500, 10}};
    for (const auto& s : steps)
    {
        Command(view, s.command);
        EXPECT_EQ(s.weight, shape->GetWeight()) << s.command;
        EXPECT_EQ(s.size, shape->GetPointSize()) << s.command;
    }
    model->UndoMacro(4);
    EXPECT_EQ(400, shape->GetWeight());
}

TEST_F(CDesignTest, InsertedChartsTakeChildIdsFromAHundredAndVisibleSetBypassesTheHistory)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    Command(view, 30085);
    Command(view, 30085);
    ASSERT_EQ(2, model->GetShapeCount());
    std::vector<UINT> ids;
    for (CFODrawShape* shape : *model->GetShapes())
    {
        auto* wnd = dynamic_cast<CFOWndControlShape*>(shape);
        ASSERT_NE(wnd, nullptr);
        EXPECT_EQ(632u, wnd->GetType());
        EXPECT_EQ(CString(L"Real time chart"), wnd->GetObjectCaption());
        ids.push_back(wnd->GetCtrlID());
    }
    EXPECT_EQ((std::vector<UINT>{100, 101}), ids);

    // Visible Set: one shape only; its condition is written straight onto the shape.
    CFODrawShape* chart = model->GetShapes()->GetHead();
    view->SelectAll();
    struct CProbeUI : CCmdUI
    {
        BOOL enabled = TRUE;
        void Enable(BOOL bOn) override { enabled = bOn; }
    } state;
    state.m_nID = 30089;
    state.DoUpdate(view, FALSE);
    EXPECT_FALSE(state.enabled) << "disabled with two shapes selected";
    CFOTypedShapeObList one;
    one.AddTail(chart);
    view->SelectShapes(one);
    const int steps = model->GetUndoHistory()->GetUndoCount();
    CModalHookScope hook(
        [](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::Dialog)
            {
                // ">" and 3.
                qobject_cast<QComboBox*>(r.pDialog->GetDlgItem(1122)->GetWidget())->setCurrentIndex(1);
                r.pDialog->GetDlgItem(1229)->SetWindowText(L"3");
            }
            return IDOK;
        });
    Command(view, 30089);
    CString condition;
    EXPECT_TRUE(chart->GetPropStringValue(condition, FO_PROP_VISIBLE_COND));
    EXPECT_EQ(CString(L"1,3"), condition);
    EXPECT_EQ(steps, model->GetUndoHistory()->GetUndoCount());
}

TEST_F(CDesignTest, EscapeEndsATestRunAndPutsTheScreenBackInDesignMode)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    Command(view, 32813);
    ASSERT_NE(view->m_pPreviewWnd, nullptr);
    EXPECT_FALSE(model->IsDesignMode());
    view->m_pPreviewWnd->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(model->IsDesignMode());
    EXPECT_TRUE(view->m_pPreviewWnd->IsPreviewEnded());
    EXPECT_EQ(view->m_pPreviewWnd->GetCurrentModel(), nullptr);
}

TEST_F(CDesignTest, ARunWindowThatCannotBeMadeLeavesTheScreenInDesignMode)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    struct Veto
    {
        static BOOL Hook(CWnd* pWnd, const CREATESTRUCT&)
        {
            return dynamic_cast<CMyDrawWnd*>(pWnd) == nullptr;
        }
    };
    const AFX_CREATE_HOOK previous = AfxSetCreateWindowHook(&Veto::Hook);
    Command(view, 32813);
    AfxSetCreateWindowHook(previous);
    EXPECT_EQ(view->m_pPreviewWnd, nullptr);
    EXPECT_TRUE(model->IsDesignMode());
    // The next try, with nothing in the way, runs.
    Command(view, 32813);
    ASSERT_NE(view->m_pPreviewWnd, nullptr);
    EXPECT_FALSE(model->IsDesignMode());
    view->m_pPreviewWnd->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(model->IsDesignMode());
}

TEST_F(CDesignTest, ExportOutputHtmlLeavesAnExistingPageAlone)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    const std::string page = m_dir + "/output.htm";
    std::ofstream(page) << "<html>kept</html>";
    CModalRecorder boxes;
    view->ExportOutputHtml(CString::FromUtf8(m_dir + "/"));
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(CString(L"Not implemented yet!"), boxes.texts[0]);
    EXPECT_EQ(17u, std::filesystem::file_size(page));
}

TEST_F(CDesignTest, TheContextMenuOfAShapeLeavesOutTheCommandsTheEditorTrims)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    Command(view, 32823);
    Drag(view, CPoint(60, 60), CPoint(160, 120));
    std::vector<UINT> ids;
    CModalHookScope hook(
        [&ids](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::PopupMenu)
                for (int i = 0; i < GetMenuItemCount(r.hMenu); ++i)
                    ids.push_back(GetMenuItemID(r.hMenu, i));
            return 0;
        });
    Mouse(view, QEvent::MouseButtonPress, CPoint(100, 90), Qt::RightButton);
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(41300u, ids.front());
    for (UINT trimmed : {30048u, 32810u, 32836u, 32837u})
        EXPECT_EQ(std::count(ids.begin(), ids.end(), trimmed), 0) << trimmed;
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 32831u), 1);
}

TEST_F(CDesignTest, ScreenSettingWantsAnOpenProjectAndOptionsKeepTheSimpleTrackingLine)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    struct CProbeUI : CCmdUI
    {
        BOOL enabled = FALSE;
        void Enable(BOOL bOn) override { enabled = bOn; }
    };
    auto enabled = [&]
    {
        CProbeUI state;
        state.m_nID = 30048;
        state.DoUpdate(view, FALSE);
        return state.enabled;
    };
    int shown = 0;
    CModalHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind != AfxModalKind::Dialog)
                return IDCANCEL;
            ++shown;
            r.pDialog->GetDlgItem(1109)->SetWindowText(L"OnStart");
            return IDOK;
        });
    // No project: disabled, and the command shows nothing.
    EXPECT_FALSE(enabled());
    Command(view, 30048);
    EXPECT_EQ(0, shown);
    m_app.projectLoaded = TRUE;
    EXPECT_TRUE(enabled());
    Command(view, 30048);
    EXPECT_EQ(1, shown);
    CString start;
    EXPECT_TRUE(model->GetPropStringValue(start, 15001));
    EXPECT_EQ(CString(L"OnStart"), start);
    model->SetDesignMode(FALSE);
    EXPECT_FALSE(enabled()) << "only in design mode";
    model->SetDesignMode(TRUE);

    // Options: the simple tracking line is kept and shown again next time.
    const BOOL before = gfxData.m_bSimpleTrackComposite;
    std::vector<UINT> seen;
    CModalHookScope options(
        [&](const AfxModalRequest& r)
        {
            if (r.kind != AfxModalKind::Dialog)
                return IDCANCEL;
            seen.push_back(r.pDialog->IsDlgButtonChecked(1003));
            r.pDialog->CheckDlgButton(1003, seen.size() == 1 ? BST_CHECKED : BST_UNCHECKED);
            return IDOK;
        });
    Command(view, 32830);
    EXPECT_TRUE(gfxData.m_bSimpleTrackComposite);
    Command(view, 32830);
    EXPECT_EQ((std::vector<UINT>{UINT(before), BST_CHECKED}), seen);
    EXPECT_FALSE(gfxData.m_bSimpleTrackComposite);
}
