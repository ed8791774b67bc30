// Nothing an engineer made is lost through the editor's real frame: every change marks its
// document and its title, every close asks, a project switch or close stops at a save that does
// not happen, the canvas takes its edit keys after a toolbar box had them, and an SVG import
// places and undoes only its own shapes.
#include "EditorAppSupport.h"

#include "editor/MainFrame.h"
#include "editor/ParamManager.h"
#include "editor/SampleDoc.h"
#include "editor/SampleView.h"
#include "figkit/FOAction.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FORectShape.h"
#include "foundation/MyDrawWnd.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/CommandActions.h"
#include "mfc/ListCtrl.h"
#include "mfc/Menu.h"
#include "model/ParamObj.h"
#include "support/ModalHook.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QMenu>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>

#include <sys/resource.h>

#include <csignal>

using namespace edapp_test;

namespace
{
constexpr UINT kWindowClose = 32847;

void Mouse(CView* view, QEvent::Type type, CPoint pt, Qt::MouseButtons buttons)
{
    QWidget* w = view->GetClientWidget();
    const QPointF local(pt.x, pt.y);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, local, w->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Drag(CView* view, CPoint from, CPoint to)
{
    Mouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int i = 1; i <= 4; ++i)
        Mouse(view, QEvent::MouseMove,
              CPoint(from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4), Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// A key pressed and released where the keyboard is.
void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
{
    QWidget* w = QApplication::focusWidget();
    ASSERT_NE(w, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
    AfxPumpMessages();
}

// Opens a menu of the frame's menu bar and chooses its item, when the menu shows it enabled; the
// text the item shows.
QString ChooseMenuItem(CFrameWnd* frame, const wchar_t* popup, UINT nID)
{
    CMenu* bar = frame->GetMenu();
    for (int i = 0; bar && i < int(bar->GetMenuItemCount()); ++i)
    {
        CString text;
        bar->GetMenuString(UINT(i), text, MF_BYPOSITION);
        if (text != popup || !bar->GetSubMenu(i))
            continue;
        QMenu shown;
        AfxFillPopupMenu(&shown, bar->GetSubMenu(i)->m_hMenu, frame->m_hWnd);
        for (QAction* action : shown.actions())
            if (action->data().toUInt() == nID && action->isEnabled())
            {
                const QString label = action->text();
                action->trigger();
                AfxPumpMessages();
                return label;
            }
    }
    return QString();
}

CString TitleOf(CWnd* pWnd)
{
    CString text;
    pWnd->GetWindowText(text);
    return text;
}

// The editor on User/Plant (its Main.xdg of three shapes and a script) beside User/Other.
struct Editor
{
    InstallRoot root;
    std::unique_ptr<DrawApp> draw;
    explicit Editor(int nShapes = 3)
    {
        root.AddProject("Plant", {"Main.xdg"});
        root.AddProject("Other", {"Main.xdg"});
        {
            DrawApp maker(root, {});
            EXPECT_TRUE(maker.Start());
            EXPECT_TRUE(WriteScreen(maker.app, Screen(), nShapes));
        }
        draw = std::make_unique<DrawApp>(root,
                                         std::vector<std::string>{root.ProjectFile("Plant").toStdString()});
        EXPECT_TRUE(draw->Start());
        Frame()->MoveWindow(0, 0, 1200, 800);
        Frame()->ShowWindow(SW_SHOW);
        Frame()->GetWidget()->activateWindow();
        AfxPumpMessages();
    }
    QString Screen() const { return root.ProjectFolder("Plant") + "/XdgFiles/Main.xdg"; }
    QString Script() const { return root.ProjectFolder("Plant") + "/ScriptFiles/system.uscp"; }
    CQYRDrawApp& App() { return draw->app; }
    CDrawMainFrame* Frame() { return draw->Frame(); }
    CQYRDrawDoc* OpenScreen()
    {
        auto* doc = dynamic_cast<CQYRDrawDoc*>(App().OpenDocumentFile(ToCString(Screen())));
        AfxPumpMessages();
        return doc;
    }
    static CQYRDrawView* ViewOf(CDocument* doc)
    {
        return dynamic_cast<CQYRDrawView*>(DrawApp::FirstView(doc));
    }
    bool IsOpen(CDocument* doc)
    {
        const std::vector<CDocument*> all = DrawApp::Docs(App().m_pScreenTemplate);
        const std::vector<CDocument*> scripts = DrawApp::Docs(App().m_pScriptTemplate);
        return std::find(all.begin(), all.end(), doc) != all.end() ||
               std::find(scripts.begin(), scripts.end(), doc) != scripts.end();
    }
    // Drags the first shape of the screen 40 pixels right by the mouse; its new rectangle.
    static CRect MoveFirstShape(CQYRDrawView* view)
    {
        CFODrawShape* shape = view->GetCurrentModel()->GetShapes()->GetObject(0);
        const CPoint at = view->CanvasToClient(shape->GetSnapRect().CenterPoint());
        Drag(view, at, at + CPoint(40, 0));
        AfxPumpMessages();
        return shape->GetSnapRect();
    }
};
} // namespace

TEST(EditorEdits, ACanvasChangeMarksTheScreenAndItsTitleAndEveryWayOfClosingItAsks)
{
    Editor ed;
    // Each way a screen can be closed; the edit must survive Cancel and be saved by Yes.
    struct Case
    {
        const char* name;
        UINT nCommand;
    };
    for (const Case& c : {Case{"Window > Close", kWindowClose}, Case{"File > Close", ID_FILE_CLOSE}})
    {
        SCOPED_TRACE(c.name);
        CQYRDrawDoc* doc = ed.OpenScreen();
        ASSERT_NE(doc, nullptr);
        CQYRDrawView* view = Editor::ViewOf(doc);
        ASSERT_NE(view, nullptr);
        EXPECT_FALSE(doc->IsModified());
        CFrameWnd* child = view->GetParentFrame();
        EXPECT_EQ(TitleOf(child).Find(L'*'), -1);

        const CRect moved = Editor::MoveFirstShape(view);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(TitleOf(child), doc->GetTitle() + L" *");

        MessageLog log;
        log.answer = [](const AfxModalRequest&) { return int(IDCANCEL); };
        ed.Frame()->SendMessage(WM_COMMAND, c.nCommand, 0);
        AfxPumpMessages();
        ASSERT_EQ(log.texts.size(), 1u);
        EXPECT_GE(log.texts[0].Find(L"Main"), 0);
        ASSERT_TRUE(ed.IsOpen(doc));
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(view->GetCurrentModel()->GetShapes()->GetObject(0)->GetSnapRect(), moved);

        // Yes saves the move, and the screen goes.
        log.answer = [](const AfxModalRequest& r)
        { return r.kind == AfxModalKind::MessageBox ? int(IDYES) : 0; };
        const QByteArray before = ReadBytes(ed.Screen());
        ed.Frame()->SendMessage(WM_COMMAND, c.nCommand, 0);
        AfxPumpMessages();
        EXPECT_FALSE(ed.IsOpen(doc));
        EXPECT_NE(ReadBytes(ed.Screen()), before);
        CQYRDrawDoc* again = ed.OpenScreen();
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->GetModel()->GetShapes()->GetObject(0)->GetSnapRect(), moved);
        EXPECT_FALSE(again->IsModified());
        again->OnCloseDocument();
        AfxPumpMessages();
    }
}

TEST(EditorEdits, TheScreensStoredSettingsMarkItModified)
{
    Editor ed;
    CQYRDrawDoc* doc = ed.OpenScreen();
    ASSERT_NE(doc, nullptr);
    CQYRDrawView* view = Editor::ViewOf(doc);
    ASSERT_NE(view, nullptr);
    view->ClearSelection();
    struct Case
    {
        const char* name;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"canvas colour", [&] { view->OnFillColor(3); }},
        {"page border", [&] { ed.Frame()->SendMessage(WM_COMMAND, 32827, 0); }},
        {"snap to grid", [&] { ed.Frame()->SendMessage(WM_COMMAND, ID_FOP_SNAP_GRID, 0); }},
        {"rulers", [&] { ed.Frame()->SendMessage(WM_COMMAND, 32771, 0); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        doc->SetModifiedFlag(FALSE);
        c.change();
        AfxPumpMessages();
        EXPECT_TRUE(doc->IsModified());
    }
    // The canvas colour is one undo step.
    doc->SetModifiedFlag(FALSE);
    view->GetCurrentModel()->PutPropValue(FO_PROP_MODEL_BKCOLOR, FO_VALUE::MakeColor(0x123456));
    view->OnFillColor(3);
    FO_VALUE colour;
    ASSERT_TRUE(view->GetCurrentModel()->GetPropValue(colour, FO_PROP_MODEL_BKCOLOR));
    EXPECT_EQ(colour.m_crValue, COLORREF(0xFFFFFF));
    ed.Frame()->SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    ASSERT_TRUE(view->GetCurrentModel()->GetPropValue(colour, FO_PROP_MODEL_BKCOLOR));
    EXPECT_EQ(colour.m_crValue, COLORREF(0x123456));
    doc->SetModifiedFlag(FALSE);
    doc->OnCloseDocument();
}

TEST(EditorEdits, AProjectSwitchOrCloseStopsAtASaveThatDoesNotHappen)
{
    Editor ed;
    // A new screen with a shape, never saved: its Save As box is cancelled.
    ed.Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
    AfxPumpMessages();
    const std::vector<CDocument*> docs = DrawApp::Docs(ed.App().m_pScreenTemplate);
    ASSERT_EQ(docs.size(), 1u);
    auto* doc = dynamic_cast<CQYRDrawDoc*>(docs.front());
    ASSERT_NE(doc, nullptr);
    CFODataModel* model = doc->GetModel();
    CRect rc(10, 10, 60, 60);
    CFOShapePtr<CFODrawShape> shape =
        CFOShapePtr<CFODrawShape>::Adopt(model->DoCreateShapeByType(FO_COMP_RECTANGLE, rc, L""));
    auto* add = new CFOAddRemoveAction(model, L"Add", TRUE);
    add->AddShape(shape.Get());
    ASSERT_TRUE(model->Do(add, TRUE));
    ASSERT_TRUE(doc->IsModified());

    MessageLog log; // file dialogs are cancelled
    int fileDialogs = 0;
    log.answer = [&](const AfxModalRequest& r)
    {
        fileDialogs += r.kind == AfxModalKind::FileDialog;
        return r.kind == AfxModalKind::MessageBox ? int(IDYES) : int(IDCANCEL);
    };
    struct Case
    {
        const char* name;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"open another project", [&] { ed.App().OpenDocumentFile(ToCString(ed.root.ProjectFile("Other"))); }},
        {"Close Project", [&] { ed.Frame()->SendMessage(WM_COMMAND, 32852, 0); }},
        {"close the editor", [&] { ed.Frame()->SendMessage(WM_CLOSE, 0, 0); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        fileDialogs = 0;
        c.run();
        AfxPumpMessages();
        EXPECT_EQ(fileDialogs, 1);
        ASSERT_NE(ed.Frame(), nullptr);
        EXPECT_TRUE(ed.IsOpen(doc));
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(model->GetShapeCount(), 1);
        EXPECT_TRUE(ed.App().IsProjectLoaded());
        EXPECT_EQ(ed.App().GetProjectTitle(), CString(L"plant"));
    }
    // A project file that cannot be written keeps the project too, with one message.
    doc->SetModifiedFlag(FALSE);
    ed.App().GetWorkSpace()->SetModified(TRUE);
    const QString projectFile = ed.root.ProjectFile("Plant");
    ASSERT_TRUE(QFile::remove(projectFile));
    ASSERT_TRUE(QDir().mkpath(projectFile + "/in-the-way"));
    log.texts.clear();
    EXPECT_FALSE(ed.App().OpenProject(ToCString(ed.root.ProjectFile("Other")), TRUE));
    EXPECT_EQ(log.texts.size(), 1u);
    EXPECT_TRUE(ed.IsOpen(doc));
    EXPECT_EQ(ed.App().GetProjectTitle(), CString(L"plant"));
    QDir(projectFile).removeRecursively();
}

TEST(EditorEdits, ASaveThatFailsSaysSoOnceAndKeepsTheScreenModifiedAndItsFileWhole)
{
    Editor ed(200);
    CQYRDrawDoc* doc = ed.OpenScreen();
    ASSERT_NE(doc, nullptr);
    CQYRDrawView* view = Editor::ViewOf(doc);
    const QString folder = ed.root.ProjectFolder("Plant") + "/XdgFiles";
    struct Case
    {
        const char* name;
        std::function<void()> arrange;
        std::function<void()> restore;
        bool bAsksForAName;
    };
    rlimit oldLimit{};
    getrlimit(RLIMIT_FSIZE, &oldLimit);
    const Case cases[] = {
        // Read-only: the framework asks for another name; cancelling it saves nothing.
        {"read-only file", [&] { QFile::setPermissions(ed.Screen(), QFile::ReadOwner | QFile::ReadGroup); },
         [&] { QFile::setPermissions(ed.Screen(), QFile::ReadOwner | QFile::WriteOwner); }, true},
        // The disk fills up while the screen is written.
        {"full disk",
         [&]
         {
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit small = oldLimit;
             small.rlim_cur = 256;
             setrlimit(RLIMIT_FSIZE, &small);
         },
         [&] { setrlimit(RLIMIT_FSIZE, &oldLimit); }, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Editor::MoveFirstShape(view);
        ASSERT_TRUE(doc->IsModified());
        const QByteArray before = ReadBytes(ed.Screen());
        MessageLog log;
        int fileDialogs = 0;
        log.answer = [&](const AfxModalRequest& r)
        {
            fileDialogs += r.kind == AfxModalKind::FileDialog;
            return r.kind == AfxModalKind::MessageBox ? int(IDOK) : int(IDCANCEL);
        };
        c.arrange();
        ed.Frame()->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
        AfxPumpMessages();
        c.restore();
        EXPECT_EQ(fileDialogs, c.bAsksForAName ? 1 : 0);
        EXPECT_EQ(log.texts.size(), c.bAsksForAName ? 0u : 1u);
        EXPECT_TRUE(ed.IsOpen(doc));
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(ReadBytes(ed.Screen()), before);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"Main.xdg"});
    }
    doc->SetModifiedFlag(FALSE);
}

TEST(EditorEdits, TheScriptSavesByItsMenuAndCtrlSAndAsksWhenClosedModified)
{
    Editor ed;
    auto* doc = dynamic_cast<CSampleDoc*>(ed.App().OpenDocumentFile(ToCString(ed.Script())));
    ASSERT_NE(doc, nullptr);
    auto* view = dynamic_cast<CSampleView*>(DrawApp::FirstView(doc));
    ASSERT_NE(view, nullptr);
    AfxPumpMessages();
    CFrameWnd* child = view->GetParentFrame();
    // Its own menu: File with Close, Save and Save As, and the Edit menu of the script view.
    CMenu* menu = ed.Frame()->GetMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<UINT> fileIds, editIds;
    for (int i = 0; i < int(menu->GetMenuItemCount()); ++i)
    {
        CString text;
        menu->GetMenuString(UINT(i), text, MF_BYPOSITION);
        CMenu* sub = menu->GetSubMenu(i);
        std::vector<UINT>* ids = text == L"&File" ? &fileIds : (text == L"&Edit" ? &editIds : nullptr);
        for (int k = 0; ids && sub && k < int(sub->GetMenuItemCount()); ++k)
            ids->push_back(sub->GetMenuItemID(k));
    }
    for (UINT id : {57602u, 57603u, 57604u})
        EXPECT_NE(std::find(fileIds.begin(), fileIds.end(), id), fileIds.end()) << id;
    const std::vector<UINT> edit = {57643, 57644, 0, 57635, 57634, 57637, 57642, 0, 37000};
    EXPECT_EQ(editIds, edit);

    view->SetFocus();
    AfxPumpMessages();
    Key(Qt::Key_X, Qt::NoModifier, "x");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(TitleOf(child), doc->GetTitle() + L" *");

    MessageLog log;
    log.answer = [](const AfxModalRequest&) { return int(IDCANCEL); };
    ed.Frame()->SendMessage(WM_COMMAND, kWindowClose, 0);
    AfxPumpMessages();
    ASSERT_EQ(log.texts.size(), 1u);
    ASSERT_TRUE(ed.IsOpen(doc));
    EXPECT_TRUE(doc->IsModified());

    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(TitleOf(child), doc->GetTitle());
    const QByteArray saved = ReadBytes(ed.Script());
    EXPECT_TRUE(saved.contains(QByteArray("x\0", 2)));
    // Unmodified, it closes without a word.
    log.texts.clear();
    ed.Frame()->SendMessage(WM_COMMAND, kWindowClose, 0);
    AfxPumpMessages();
    EXPECT_TRUE(log.texts.empty());
    EXPECT_FALSE(ed.IsOpen(doc));
}

TEST(EditorEdits, TheCanvasTakesItsEditKeysBackAfterAFontWasChosen)
{
    Editor ed;
    CQYRDrawDoc* doc = ed.OpenScreen();
    ASSERT_NE(doc, nullptr);
    CQYRDrawView* view = Editor::ViewOf(doc);
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();
    const int n = model->GetShapeCount();
    ASSERT_GE(n, 3);
    CFODrawShape* first = model->GetShapes()->GetObject(0);
    const CPoint at = view->CanvasToClient(first->GetSnapRect().CenterPoint());
    Mouse(view, QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonRelease, at, Qt::NoButton);
    AfxPumpMessages();
    EXPECT_EQ(CWnd::GetFocus(), view);
    ASSERT_EQ(view->GetSelectShapes().GetCount(), 1);

    // A font chosen in the font box by its keys; the canvas has the keyboard again.
    auto* main = dynamic_cast<CMainFrame*>(ed.Frame());
    ASSERT_NE(main, nullptr);
    CComboBox* box = main->GetFontNameBox();
    ASSERT_NE(box, nullptr);
    auto* combo = qobject_cast<QComboBox*>(box->GetWidget());
    ASSERT_NE(combo, nullptr);
    ASSERT_GE(combo->count(), 2);
    combo->setFocus();
    AfxPumpMessages();
    EXPECT_NE(CWnd::GetFocus(), view);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(combo, &down);
    AfxPumpMessages();
    EXPECT_EQ(first->GetFaceName(), CString(combo->currentText().toStdWString().c_str()));
    EXPECT_EQ(CWnd::GetFocus(), view);

    // Copy, paste, undo, redo, select all and delete by their keys.
    struct Step
    {
        const char* name;
        int key;
        Qt::KeyboardModifiers mods;
        int nShapes;
    };
    const Step steps[] = {
        {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, n},     {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, n + 1},
        {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, n},     {"Ctrl+Y", Qt::Key_Y, Qt::ControlModifier, n + 1},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, n + 1}, {"Delete", Qt::Key_Delete, Qt::NoModifier, 0},
        {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, n + 1},
    };
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.name);
        Key(s.key, s.mods);
        EXPECT_EQ(model->GetShapeCount(), s.nShapes);
        if (s.key == Qt::Key_A)
            EXPECT_EQ(view->GetSelectShapes().GetCount(), n + 1);
    }
    doc->SetModifiedFlag(FALSE);
}

TEST(EditorEdits, AnSvgImportLeavesTheScreensShapesInPlaceAndOneUndoTakesItOut)
{
    Editor ed;
    CQYRDrawDoc* doc = ed.OpenScreen();
    ASSERT_NE(doc, nullptr);
    CQYRDrawView* view = Editor::ViewOf(doc);
    CFODataModel* model = view->GetCurrentModel();
    std::vector<CRect> before;
    for (CFODrawShape* shape : *model->GetShapes())
        before.push_back(shape->GetSnapRect());
    const QString svg = ed.root.dir.path() + "/two.svg";
    WriteBytes(svg, "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='100'>"
                    "<rect x='10' y='10' width='50' height='30' fill='red'/>"
                    "<ellipse cx='120' cy='50' rx='30' ry='20' fill='blue'/></svg>");
    MessageLog log;
    log.answer = [&](const AfxModalRequest& r)
    {
        if (r.kind != AfxModalKind::FileDialog)
            return int(IDOK);
        r.paths.push_back(ToCString(svg));
        return int(IDOK);
    };
    ed.Frame()->SendMessage(WM_COMMAND, 32811, 0);
    AfxPumpMessages();
    const int imported = model->GetShapeCount() - int(before.size());
    ASSERT_GE(imported, 2);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(model->GetShapes()->GetObject(int(i))->GetSnapRect(), before[i]) << i;
    EXPECT_TRUE(doc->IsModified());

    ed.Frame()->SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    EXPECT_EQ(model->GetShapeCount(), int(before.size()));
    ed.Frame()->SendMessage(WM_COMMAND, ID_EDIT_REDO, 0);
    EXPECT_EQ(model->GetShapeCount(), int(before.size()) + imported);
    doc->SetModifiedFlag(FALSE);
}

TEST(EditorEdits, AParameterRemovedThenCancelledStaysAndMainDatIsReadWithoutWriteAccess)
{
    Editor ed;
    CWorkSpaceObj* ws = ed.App().GetWorkSpace();
    ws->AddParam(new CParamObj(L"@speed", FO_VALUE::MakeInt(1), PARAM_KIND_RUNTIME));
    ws->SetModified(FALSE);
    const int count = ws->GetParamObjects().GetCount();
    for (int answer : {IDCANCEL, IDOK})
    {
        SCOPED_TRACE(answer);
        CModalHookScope hook(
            [answer](const AfxModalRequest& r) -> int
            {
                if (r.kind == AfxModalKind::MessageBox)
                    return IDYES;
                if (r.kind != AfxModalKind::Dialog || !r.pDialog)
                    return IDCANCEL;
                auto* dlg = dynamic_cast<CParamManager*>(r.pDialog);
                if (!dlg)
                    return IDCANCEL;
                dlg->SetFilter(1);
                dlg->FillList();
                dlg->m_List.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
                dlg->SendMessage(WM_COMMAND, MAKEWPARAM(1042, BN_CLICKED), 0);
                EXPECT_EQ(dlg->m_List.GetItemCount(), 0);
                return answer;
            });
        ed.Frame()->SendMessage(WM_COMMAND, 32854, 0);
        AfxPumpMessages();
        const bool kept = answer == IDCANCEL;
        EXPECT_EQ(ws->FindParamByName(L"@speed") != nullptr, kept);
        EXPECT_EQ(ws->GetParamObjects().GetCount(), kept ? count : count - 1);
        EXPECT_EQ(bool(ws->IsModified()), !kept);
    }

    // "main.dat" is replaced whole, and a read-only one still names the project.
    ed.App().WriteLastProject();
    EXPECT_EQ(QDir(ed.root.Bin()).entryList({"main.dat*"}, QDir::Files), QStringList{"main.dat"});
    QFile::setPermissions(ed.root.MainDat(), QFile::ReadOwner | QFile::ReadGroup);
    CString last = CQYRDrawApp::ReadLastLine(ToCString(ed.root.MainDat()), FALSE);
    EXPECT_EQ(last.MakeLower(), ToCString(ed.root.ProjectFile("Plant")).MakeLower());
}

TEST(EditorEdits, SavingAfterATestRunWritesTheDesignedLookNotTheRunTimeOne)
{
    Editor ed(0);
    CQYRDrawDoc* doc = ed.OpenScreen();
    ASSERT_NE(doc, nullptr);
    CQYRDrawView* view = Editor::ViewOf(doc);
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();

    // A composite of A and B, white, whose states paint A and hide or paint B; its value ranges
    // choose the state.
    auto* comp = new CFOCompositeShape;
    comp->SetKeyId1(L"Comp");
    for (const wchar_t* key : {L"A", L"B"})
    {
        auto* rect = new CFORectShape;
        CRect rc(key[0] == L'A' ? 100 : 200, 100, key[0] == L'A' ? 160 : 260, 160);
        rect->Create(rc);
        rect->SetKeyId1(key);
        rect->SetBkColor(RGB(255, 255, 255));
        rect->SetBrushType(1);
        comp->AddShape(rect);
    }
    comp->SetStateString(L"STATE_0$C_C,A,FF0000#H_H,B@STATE_1$C_C,A,00FF00");
    comp->SetValueChangeScript(L"0,0$L_S,STATE_0@1,1$L_S,STATE_1#C_C,B,0000FF");
    model->InsertShape(comp);
    CFODrawShape* a = comp->FindShapeWithKey1(L"A");
    CFODrawShape* b = comp->FindShapeWithKey1(L"B");
    const CString designedStates = comp->GetStateString();
    CString designedRanges;
    comp->GetValueChangeScript(designedRanges);

    // The test run from the standard toolbar.
    ed.App().OnIdle(0);
    QAction* run = AfxFindCommandAction(ed.Frame()->m_hWnd, 32813);
    ASSERT_NE(run, nullptr);
    ASSERT_TRUE(run->isEnabled());
    run->trigger();
    AfxPumpMessages();
    ASSERT_NE(view->m_pPreviewWnd, nullptr);
    ASSERT_FALSE(model->IsDesignMode());

    // Values tried from the Edit menu's Value Change Test; the test run shows their looks.
    struct Step
    {
        const wchar_t* value;
        COLORREF a;
        BOOL bVisible;
        COLORREF b;
    };
    const Step steps[] = {
        {L"0", RGB(255, 0, 0), FALSE, RGB(255, 255, 255)},
        {L"1", RGB(0, 255, 0), TRUE, RGB(0, 0, 255)},
    };
    for (const Step& s : steps)
    {
        MessageLog log;
        int dialogs = 0;
        log.answer = [&](const AfxModalRequest& r)
        {
            if (r.kind != AfxModalKind::Dialog || !r.pDialog)
                return int(IDOK);
            ++dialogs;
            auto* keys = static_cast<CComboBox*>(r.pDialog->GetDlgItem(1121));
            keys->SetCurSel(keys->FindStringExact(-1, L"Comp"));
            r.pDialog->SetDlgItemText(1129, s.value);
            return int(IDOK);
        };
        EXPECT_EQ(ChooseMenuItem(ed.Frame(), L"&Edit", 32858), QStringLiteral("&Value Change Test..."));
        EXPECT_EQ(dialogs, 1) << s.value;
        // The range text is shown first.
        EXPECT_TRUE(log.Saw(designedRanges)) << s.value;
        EXPECT_EQ(a->GetBkColor(), s.a) << s.value;
        EXPECT_EQ(b->IsVisible(), s.bVisible) << s.value;
        EXPECT_EQ(b->GetBkColor(), s.b) << s.value;
        const QImage shown = view->m_pPreviewWnd->GetClientWidget()->grab().toImage();
        const CPoint at = view->m_pPreviewWnd->CanvasToClient(a->GetSnapRect().CenterPoint());
        EXPECT_EQ(shown.pixel(at.x, at.y) & 0xFFFFFF,
                  QColor(GetRValue(s.a), GetGValue(s.a), GetBValue(s.a)).rgb() & 0xFFFFFF)
            << s.value;
    }

    // Escape ends the run; the screen looks as designed again.
    QWidget* runWidget = view->m_pPreviewWnd->GetClientWidget();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(runWidget, &escape);
    AfxPumpMessages();
    ASSERT_TRUE(model->IsDesignMode());
    EXPECT_EQ(a->GetBkColor(), RGB(255, 255, 255));
    EXPECT_TRUE(b->IsVisible());

    // File > Save, and the screen read back: the designed look, the texts as they were.
    view->GetParentFrame()->ActivateFrame();
    EXPECT_FALSE(ChooseMenuItem(ed.Frame(), L"&File", ID_FILE_SAVE).isEmpty());
    EXPECT_FALSE(doc->IsModified());
    doc->OnCloseDocument();
    AfxPumpMessages();
    CQYRDrawDoc* again = ed.OpenScreen();
    ASSERT_NE(again, nullptr);
    auto* read = dynamic_cast<CFOCompositeShape*>(again->GetModel()->FindShapeWithKey1(L"Comp"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetStateType(), CString());
    EXPECT_EQ(read->GetStateString(), designedStates);
    CString ranges;
    read->GetValueChangeScript(ranges);
    EXPECT_EQ(ranges, designedRanges);
    EXPECT_EQ(read->FindShapeWithKey1(L"A")->GetBkColor(), RGB(255, 255, 255));
    EXPECT_TRUE(read->FindShapeWithKey1(L"B")->IsVisible());
    EXPECT_EQ(read->FindShapeWithKey1(L"B")->GetBkColor(), RGB(255, 255, 255));
}
