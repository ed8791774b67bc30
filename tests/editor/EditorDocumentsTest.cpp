// The editor's documents in their frames: screens beside their shape list, the script beside its
// method list with its templates and check, the two templates' rules, and files that do not load.
#include "EditorAppSupport.h"

#include "editor/MethodChooseDlg.h"
#include "editor/ParamManager.h"
#include "editor/ProjectDialogs.h"
#include "model/ParamObj.h"
#include "model/WorkSpaceObj.h"
#include "editor/SampleDoc.h"
#include "editor/SampleView.h"
#include "mfc/CmdUI.h"
#include "mfc/Menu.h"
#include "mfc/RecentFileList.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

using namespace edapp_test;

namespace
{
std::wstring Text(CScriptTextBuffer& b)
{
    CString s;
    b.GetTextRange(0, 0, b.GetLineCount() - 1, b.GetLineLength(b.GetLineCount() - 1), s, L"\r\n");
    return s.str();
}

void ClickRow(CListCtrl& list, int nRow, bool bDouble)
{
    CRect rc;
    ASSERT_TRUE(list.GetItemRect(nRow, &rc, LVIR_BOUNDS));
    QWidget* w = list.GetWidget();
    const QPointF at(rc.left + 5, rc.CenterPoint().y);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    if (bDouble)
    {
        QMouseEvent dbl(QEvent::MouseButtonDblClick, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(w, &dbl);
    }
}

struct EnableRecorder : CCmdUI
{
    BOOL bEnabled = TRUE;
    void Enable(BOOL bOn) override { bEnabled = bOn; }
};

struct CheckRecorder : CCmdUI
{
    int nCheck = -1;
    void SetCheck(int n) override { nCheck = n; }
};

struct ProjectEditor
{
    InstallRoot root;
    std::unique_ptr<DrawApp> draw;
    explicit ProjectEditor(int nShapes = 3)
    {
        root.AddProject("Plant", {"Main.xdg"});
        {
            DrawApp maker(root, {});
            EXPECT_TRUE(maker.Start());
            EXPECT_TRUE(WriteScreen(maker.app, Screen(), nShapes));
        }
        draw = std::make_unique<DrawApp>(root,
                                         std::vector<std::string>{root.ProjectFile("Plant").toStdString()});
        EXPECT_TRUE(draw->Start());
        draw->Frame()->MoveWindow(0, 0, 1200, 800);
        AfxPumpMessages();
    }
    QString Screen() const { return root.ProjectFolder("Plant") + "/XdgFiles/Main.xdg"; }
    QString Script() const { return root.ProjectFolder("Plant") + "/ScriptFiles/system.uscp"; }
    CQYRDrawApp& App() { return draw->app; }
};
} // namespace

TEST(EditorDocuments, AScreenOpensMaximizedBesideItsShapeListAndARowSelectsItsShape)
{
    ProjectEditor ed;
    MessageLog log;
    // The screen the project tree lists, opened by its full path.
    CTableBar& bar0 = ed.draw->Frame()->GetWorkspaceBar();
    const HTREEITEM item = bar0.GetTree().GetChildItem(bar0.GetScreensItem());
    ASSERT_NE(item, nullptr);
    const CString path = GetEditorScreenFolder() + bar0.GetTree().GetItemText(item) + L".xdg";
    auto* doc = dynamic_cast<CQYRDrawDoc*>(ed.App().OpenDocumentFile(path));
    ASSERT_NE(doc, nullptr);
    auto* view = dynamic_cast<CQYRDrawView*>(DrawApp::FirstView(doc));
    ASSERT_NE(view, nullptr);
    auto* child = dynamic_cast<CChildFrame*>(view->GetParentFrame());
    ASSERT_NE(child, nullptr);
    AfxPumpMessages();
    EXPECT_TRUE(child->IsZoomed());

    // The list bar on the right, the view beside it; one row per shape in the model's order.
    CExtListBar& bar = child->GetShapeListBar();
    ASSERT_TRUE(bar.IsWindowVisible());
    CRect barRect, viewRect;
    bar.GetWindowRect(&barRect);
    view->GetWindowRect(&viewRect);
    EXPECT_EQ(barRect.Width(), CChildFrame::BarWidth());
    EXPECT_LE(viewRect.right, barRect.left);
    CFODataModel* model = view->GetCurrentModel();
    ASSERT_EQ(bar.GetModel(), model);
    const FOPContainer& shapes = *model->GetShapes();
    ASSERT_GE(shapes.GetCount(), 3);
    ASSERT_EQ(bar.GetList().GetItemCount(), shapes.GetCount());
    for (int i = 0; i < shapes.GetCount(); ++i)
    {
        EXPECT_EQ(bar.GetList().GetItemText(i, 0), shapes.GetObject(i)->GetObjectName());
        EXPECT_EQ(bar.GetList().GetItemText(i, 1), shapes.GetObject(i)->GetKeyId1());
    }

    ClickRow(bar.GetList(), 1, false);
    AfxPumpMessages();
    ASSERT_EQ(view->GetSelectShapes().GetCount(), 1);
    EXPECT_TRUE(static_cast<CFOPCanvasCore*>(view)->IsSelected(shapes.GetObject(1)));

    // Key Values Bar: twice returns the bar; the menu check follows it.
    for (bool visible : {false, true})
    {
        child->SendMessage(WM_COMMAND, ID_VIEW_KEY_VALUES_BAR, 0);
        EXPECT_EQ(bool(bar.IsWindowVisible()), visible);
        CheckRecorder state;
        state.m_nID = ID_VIEW_KEY_VALUES_BAR;
        child->OnUpdateViewKeyValuesBar(&state);
        EXPECT_EQ(state.nCheck, visible ? 1 : 0);
    }
    const QImage shot = ed.draw->Frame()->GetWidget()->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_EDAPP_SCREEN_PNG)));
    EXPECT_TRUE(log.texts.empty());
}

TEST(EditorDocuments, TheScriptTakesTemplatesAndMethodsAndItsCheckSavesItAndListsItsProcedures)
{
    ProjectEditor ed;
    MessageLog log;
    const QByteArray before = ReadBytes(ed.Script());
    auto* doc = dynamic_cast<CSampleDoc*>(ed.App().OpenDocumentFile(ToCString(ed.Script())));
    ASSERT_NE(doc, nullptr);
    auto* view = dynamic_cast<CSampleView*>(DrawApp::FirstView(doc));
    ASSERT_NE(view, nullptr);
    auto* child = dynamic_cast<CCodeChildFrame*>(view->GetParentFrame());
    ASSERT_NE(child, nullptr);
    AfxPumpMessages();
    EXPECT_TRUE(child->IsZoomed());
    CListCtrl& methods = child->GetMethodListBar().GetList();
    ASSERT_GT(methods.GetItemCount(), 10);
    EXPECT_EQ(methods.GetItemText(0, 0), CString(L"xx GetVarValue(\"VarName\")"));
    // The bars' look: icons of the tree strip, the cream background, 22-pixel rows, one centred
    // 600-pixel column.
    auto& look = child->GetMethodListBar().GetList();
    ASSERT_NE(look.GetImageList(LVSIL_SMALL), nullptr);
    EXPECT_EQ(look.GetImageList(LVSIL_SMALL)->GetImageCount(), 12);
    EXPECT_EQ(look.GetItemImage(0), 5);
    EXPECT_EQ(look.GetRowHeight(), 22);
    EXPECT_EQ(look.GetBkColor(), RGB(255, 254, 228));
    EXPECT_EQ(look.GetColumnWidth(0), 600);
    CRect row0;
    ASSERT_TRUE(look.GetItemRect(0, &row0, LVIR_BOUNDS));
    EXPECT_EQ(row0.Height(), 22);
    EXPECT_TRUE(child->GetToolBar().IsWindowVisible());

    // A template from the toolbar at the end of the text, then a double-clicked method.
    CScriptTextBuffer& buf = doc->GetTextBuffer();
    view->SetCursorPos(CPoint(buf.GetLineLength(buf.GetLineCount() - 1), buf.GetLineCount() - 1));
    child->SendMessage(WM_COMMAND, ID_INSERT_VAR, 0);
    ClickRow(methods, 0, true);
    AfxPumpMessages();
    const std::wstring expected =
        L"function main(strShapeKey1, shape)\r\n{\r\n}var x = 0;\r\napp.GetVarValue(\"VarName\") ";
    EXPECT_EQ(Text(buf), expected);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(ed.draw->Frame()->GetWidget()->grab().toImage().save(QStringLiteral(QYR_EDAPP_SCRIPT_PNG)));
    // One undo takes the method away again, whole.
    view->SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    EXPECT_EQ(Text(buf),
              expected.substr(0, expected.size() - std::wstring(L"app.GetVarValue(\"VarName\") ").size()));
    view->SendMessage(WM_COMMAND, ID_EDIT_REDO, 0);

    // The check saves the project's "system.uscp" (UTF-16, marked) and lists its procedures.
    std::vector<CString> listed;
    log.answer = [&](const AfxModalRequest& r)
    {
        if (r.kind == AfxModalKind::Dialog)
            if (auto* dlg = dynamic_cast<CMethodChooseDlg*>(r.pDialog))
                for (INT_PTR i = 0; i < dlg->GetListedMethods().GetSize(); ++i)
                    listed.push_back(dlg->GetListedMethods()[i]);
        return int(IDOK);
    };
    child->SendMessage(WM_COMMAND, ID_CHECK_SCRIPT, 0);
    EXPECT_EQ(listed, std::vector<CString>{L"main"});
    EXPECT_FALSE(doc->IsModified());
    const QByteArray saved = ReadBytes(ed.Script());
    EXPECT_EQ(saved, Utf16(QString::fromStdWString(expected)));
    EXPECT_NE(saved, before);
    EXPECT_TRUE(log.texts.empty()) << log.texts.front().ToUtf8();

    // Reopened, the same text.
    doc->OnCloseDocument();
    AfxPumpMessages();
    auto* again = dynamic_cast<CSampleDoc*>(ed.App().OpenDocumentFile(ToCString(ed.Script())));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Text(again->GetTextBuffer()), expected);
}

TEST(EditorDocuments, CheckingAnotherScriptUsesACopyAndKeepsItsEdits)
{
    ProjectEditor ed;
    MessageLog log;
    const QByteArray system = ReadBytes(ed.Script());
    const QString other = ed.root.ProjectFolder("Plant") + "/ScriptFiles/other.uscp";
    WriteBytes(other, Utf16("function a(){}\r\nfunction b(){}"));
    auto* doc = dynamic_cast<CSampleDoc*>(ed.App().OpenDocumentFile(ToCString(other)));
    ASSERT_NE(doc, nullptr);
    auto* view = dynamic_cast<CSampleView*>(DrawApp::FirstView(doc));
    view->SendMessage(WM_COMMAND, ID_INSERT_VAR, 0);
    ASSERT_TRUE(doc->IsModified());

    std::vector<CString> listed;
    log.answer = [&](const AfxModalRequest& r)
    {
        if (auto* dlg = r.kind == AfxModalKind::Dialog ? dynamic_cast<CMethodChooseDlg*>(r.pDialog) : nullptr)
            for (INT_PTR i = 0; i < dlg->GetListedMethods().GetSize(); ++i)
                listed.push_back(dlg->GetListedMethods()[i]);
        return int(IDOK);
    };
    view->SendMessage(WM_COMMAND, ID_CHECK_SCRIPT, 0);
    EXPECT_EQ(listed, (std::vector<CString>{L"a", L"b"}));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ReadBytes(ed.Script()), system);
    EXPECT_EQ(ReadBytes(other), Utf16("function a(){}\r\nfunction b(){}"));

    // A script that does not compile shows the engine's error; without a project the check says so.
    view->SendMessage(WM_COMMAND, ID_INSERT_IF, 0);
    listed.clear();
    view->SendMessage(WM_COMMAND, ID_CHECK_SCRIPT, 0);
    EXPECT_TRUE(listed.empty());
    EXPECT_TRUE(log.Saw(L"Error"));
    ed.App().ClearProjectPath();
    log.texts.clear();
    view->SendMessage(WM_COMMAND, ID_CHECK_SCRIPT, 0);
    EXPECT_TRUE(log.Saw(L"Open a project first"));
}

TEST(EditorDocuments, OneScriptAtATimeTitledSampleAndScreensMatchByTheirFilterText)
{
    ProjectEditor ed;
    MessageLog log;
    CFOZeroDocTemplate* scripts = ed.App().m_pScriptTemplate;
    CDocument* first = scripts->OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetTitle(), CString(L"Sample"));
    auto* sample = dynamic_cast<CSampleDoc*>(first);
    EXPECT_EQ(sample->GetTextBuffer().GetLineCount(), 1);
    CView* firstView = DrawApp::FirstView(first);
    firstView->SendMessage(WM_COMMAND, ID_INSERT_VAR, 0);
    ASSERT_TRUE(first->IsModified());

    // Cancel to the save question keeps the first; No shows the second in the same frame.
    log.answer = [](const AfxModalRequest&) { return int(IDCANCEL); };
    EXPECT_EQ(scripts->OpenDocumentFile(ToCString(ed.Script()), TRUE), nullptr);
    EXPECT_TRUE(first->IsModified());
    log.answer = [](const AfxModalRequest&) { return int(IDNO); };
    CDocument* second = scripts->OpenDocumentFile(ToCString(ed.Script()), TRUE);
    EXPECT_EQ(second, first);
    EXPECT_EQ(DrawApp::FirstView(second), firstView);
    EXPECT_EQ(DrawApp::Docs(scripts).size(), 1u);

    const struct
    {
        const wchar_t* path;
        CDocTemplate::Confidence confidence;
    } cases[] = {
        {L"/p/a.xdg", CDocTemplate::yesAttemptNative}, {L"/p/A.XDG", CDocTemplate::yesAttemptNative},
        {L"/p/a.xd", CDocTemplate::yesAttemptNative}, // ".xd" occurs inside ".xdg"
        {L"/p/noext", CDocTemplate::noAttempt},        {L"/p/a.uscp", CDocTemplate::noAttempt},
    };
    for (const auto& c : cases)
    {
        CDocument* match = nullptr;
        EXPECT_EQ(ed.App().m_pScreenTemplate->MatchDocType(c.path, match), c.confidence)
            << CString(c.path).ToUtf8();
    }
    CDocument* screen = ed.App().OpenDocumentFile(ToCString(ed.Screen()));
    ASSERT_NE(screen, nullptr);
    CDocument* match = nullptr;
    EXPECT_EQ(ed.App().m_pScreenTemplate->MatchDocType(ToCString(ed.Screen()), match),
              CDocTemplate::yesAlreadyOpen);
    EXPECT_EQ(match, screen);
}

TEST(EditorDocuments, FilesThatDoNotLoadGetAMessageAndNothingElse)
{
    ProjectEditor ed;
    const QString folder = ed.root.dir.path() + "/bad";
    const struct
    {
        QString name;
        QByteArray bytes;
        bool message;
    } cases[] = {
        {"garbage.xdg", QByteArray(300, '\x5a'), true},
        {"empty.xdg", QByteArray(), false}, // an empty screen
        {"nomark.uscp", QByteArray("function f(){}"), true},
        {"odd.uscp", QByteArray("\xFF\xFE\x41", 3), false},
        {"nul.uscp", QByteArray("\xFF\xFE\x00\x00\x41\x00", 6), false},
        {"notes.txt", QByteArray("x"), false},
        {"missing.dcp", QByteArray(), false},
    };
    for (const auto& c : cases)
    {
        if (c.name != "missing.dcp")
            WriteBytes(folder + "/" + c.name, c.bytes);
        MessageLog log;
        ed.draw->Frame()->OpenDroppedFiles({ToCString(folder + "/" + c.name)});
        AfxPumpMessages();
        EXPECT_EQ(!log.texts.empty(), c.message) << c.name.toStdString();
        EXPECT_TRUE(ed.App().IsProjectLoaded()) << c.name.toStdString();
    }
}

TEST(EditorDocuments, MethodEntriesBecomeCalls)
{
    const struct
    {
        const wchar_t* entry;
        const wchar_t* call;
    } cases[] = {
        {L"xx GetVarValue(\"a\")", L"app.GetVarValue(\"a\") "},
        {L"Year app.GetSVarValue(\"$Year\")", L"var x = app.GetSVarValue(\"$Year\") "},
        {L"xx", L"app.xx "},
        {L"plain", L"var x = plain "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CMethodListBar::CallTextOf(c.entry), CString(c.call)) << CString(c.entry).ToUtf8();
}

TEST(EditorDocuments, RecentFilesListSavedAndOpenedScreensAndTheFirstOpensAgainAfterARestart)
{
    auto ed = std::make_unique<ProjectEditor>();
    MessageLog log;
    const auto findRecent = [](CMenu* pMenu, int& at) -> CMenu*
    {
        for (int i = 0; pMenu && i < int(pMenu->GetMenuItemCount()); ++i)
            if (CMenu* sub = pMenu->GetSubMenu(i); sub && sub->GetMenuItemID(0) == ID_FILE_MRU_FILE1)
            {
                at = i;
                return sub;
            }
        return nullptr;
    };
    CDrawMainFrame* frame = ed->draw->Frame();
    CRecentFileList* list = ed->App().m_pRecentFileList;
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetSize(), 4);
    // The screen that the first run saved is listed already.
    const CString path = (*list)[0];
    EXPECT_EQ(path.CompareNoCase(ToCString(ed->Screen())), 0);
    // An empty list: "&Recent Files" is greyed.
    list->Remove(0);
    ASSERT_TRUE((*list)[0].IsEmpty());
    CMenu* file = frame->GetMenu()->GetSubMenu(0);
    int at = -1;
    CMenu* recent = findRecent(file, at);
    ASSERT_NE(recent, nullptr);
    frame->OnInitMenuPopup(file, 0, FALSE);
    EXPECT_TRUE(file->GetMenuState(UINT(at), MF_BYPOSITION) & MF_GRAYED);

    // A screen opened and closed is listed; the entry is enabled and its submenu names it.
    CDocument* doc = ed->App().OpenDocumentFile(ToCString(ed->Screen()));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetPathName(), path);
    doc->OnCloseDocument();
    AfxPumpMessages();
    EXPECT_EQ((*list)[0], path);
    file = frame->GetMenu()->GetSubMenu(0);
    recent = findRecent(file, at);
    ASSERT_NE(recent, nullptr);
    frame->OnInitMenuPopup(file, 0, FALSE);
    EXPECT_FALSE(file->GetMenuState(UINT(at), MF_BYPOSITION) & MF_GRAYED);
    frame->OnInitMenuPopup(recent, UINT(at), FALSE);
    ASSERT_EQ(recent->GetMenuItemCount(), 1u);
    CString text;
    recent->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"&1 " + path);
    EXPECT_EQ(recent->GetMenuItemID(0), UINT(ID_FILE_MRU_FILE1));

    // The list outlives the editor; its first command opens the screen again.
    ed->draw.reset();
    ed->draw = std::make_unique<DrawApp>(ed->root, std::vector<std::string>{});
    ASSERT_TRUE(ed->draw->Start());
    ASSERT_NE(ed->App().m_pRecentFileList, nullptr);
    EXPECT_EQ((*ed->App().m_pRecentFileList)[0], path);
    ed->draw->Frame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1, 0);
    const std::vector<CDocument*> docs = DrawApp::Docs(ed->App().m_pScreenTemplate);
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs[0]->GetPathName(), path);
    docs[0]->OnCloseDocument();
    AfxPumpMessages();

    // A listed file that is gone says so and leaves the list.
    QFile::remove(ed->Screen());
    log.texts.clear();
    ed->draw->Frame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1, 0);
    EXPECT_FALSE(log.texts.empty());
    EXPECT_TRUE((*ed->App().m_pRecentFileList)[0].IsEmpty());
    EXPECT_TRUE(DrawApp::Docs(ed->App().m_pScreenTemplate).empty());
}

// "Insert Parameter..." opens the parameter manager as a chooser and "Insert Xdg File" the script
// chooser; the name chosen goes in at the caret as one step, and Cancel inserts nothing.
TEST(EditorDocuments, TheScriptsChoosersInsertTheChosenNameAtTheCaret)
{
    ProjectEditor ed;
    MessageLog log;
    ed.App().GetWorkSpace()->AddParam(
        new CParamObj(L"#TankLevel", FO_VALUE::MakeDouble(1.0), PARAM_KIND_GLOBAL));
    auto* doc = dynamic_cast<CSampleDoc*>(ed.App().OpenDocumentFile(ToCString(ed.Script())));
    ASSERT_NE(doc, nullptr);
    auto* view = dynamic_cast<CSampleView*>(DrawApp::FirstView(doc));
    ASSERT_NE(view, nullptr);
    CFrameWnd* child = view->GetParentFrame();
    CScriptTextBuffer& buf = doc->GetTextBuffer();
    const std::wstring before = Text(buf);

    struct Case
    {
        UINT nID;
        const wchar_t* pick;
        const char* dialog;
    };
    const Case cases[] = {{ID_INSERT_PARAMETER, L"#TankLevel", "CParamManager"},
                          {ID_INSERT_XDG_FILE, L"Main.xdg", "MBScriptChooseDlg"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.dialog);
        EnableRecorder state;
        state.m_nID = c.nID;
        state.DoUpdate(view, TRUE);
        EXPECT_TRUE(state.bEnabled);
        for (const bool ok : {false, true})
        {
            std::vector<CString> rows;
            const char* opened = "none";
            log.answer = [&](const AfxModalRequest& r)
            {
                if (r.kind != AfxModalKind::Dialog)
                    return int(IDOK);
                if (auto* manager = dynamic_cast<CParamManager*>(r.pDialog))
                {
                    opened = "CParamManager";
                    for (int i = 0; i < manager->m_List.GetItemCount(); ++i)
                    {
                        rows.push_back(manager->m_List.GetItemText(i, 0));
                        if (rows.back().CompareNoCase(c.pick) == 0)
                            manager->m_List.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
                    }
                }
                else if (auto* files = dynamic_cast<MBScriptChooseDlg*>(r.pDialog))
                {
                    opened = "MBScriptChooseDlg";
                    for (int i = 0; i < files->m_List.GetCount(); ++i)
                    {
                        CString row;
                        files->m_List.GetText(i, row);
                        rows.push_back(row);
                        if (row == c.pick)
                            files->m_List.SetCurSel(i);
                    }
                }
                return int(ok ? IDOK : IDCANCEL);
            };
            // The caret at the start of the second line.
            view->SetCursorPos(CPoint(0, 1));
            view->SetSelection(CPoint(0, 1), CPoint(0, 1));
            child->SendMessage(WM_COMMAND, c.nID, 0);
            EXPECT_STREQ(opened, c.dialog);
            EXPECT_NE(std::find_if(rows.begin(), rows.end(),
                                   [&](const CString& r) { return r.CompareNoCase(c.pick) == 0; }),
                      rows.end());
            if (!ok)
            {
                EXPECT_EQ(Text(buf), before) << "Cancel inserts nothing";
                continue;
            }
            std::wstring expected = before;
            const std::wstring inserted = rows.empty() ? std::wstring()
                                                       : [&]
            {
                for (const CString& r : rows)
                    if (r.CompareNoCase(c.pick) == 0)
                        return r.str();
                return std::wstring();
            }();
            expected.insert(expected.find(L"\r\n") + 2, inserted);
            EXPECT_EQ(Text(buf), expected);
            view->SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
            EXPECT_EQ(Text(buf), before) << "one undo step";
        }
    }
    EXPECT_TRUE(log.texts.empty());
}
