// The editor's start-up and its screens, in this process (offscreen):
// - start to the main frame shown, a 100-screen project open in the tree (goal: under 1 s);
// - opening a 5,000-shape screen in its maximized child frame, first paint included (goal: under
//   250 ms).
// - a change to a 5,000-shape screen (a shape moved through the undo history) marking it modified,
//   its child frame's and the main frame's titles written again (goal: under 1 ms per change).
#include "editor/DocTemplates.h"
#include "editor/DrawMainFrame.h"
#include "editor/MyExtDataModel.h"
#include "editor/PlexdraftDoc.h"
#include "editor/QYRDrawApp.h"
#include "figkit/FOAction.h"
#include "figkit/FODrawShape.h"
#include "mfc/FrameWnd.h"
#include "mfc/ModalHook.h"
#include "mfc/TreeCtrl.h"
#include "mfc/View.h"
#include "mfc/WinApp.h"
#include "model/WorkSpaceObj.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace
{
CString ToCString(const QString& s)
{
    return CString(s.toStdWString().c_str());
}

// A temporary install root with a project of `screens` screens, the first of them `shapes` shapes.
struct Install
{
    QTemporaryDir dir;
    QString root;
    QString project;
    Install()
    {
        root = dir.path() + "/Quendrel";
        project = root + "/User/bench";
        QDir().mkpath(root + "/bin");
        QDir().mkpath(project + "/XdgFiles");
        QDir().mkpath(project + "/ScriptFiles");
        QDir().mkpath(dir.path() + "/run");
        QFile::setPermissions(dir.path() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", (dir.path() + "/run").toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (dir.path() + "/data").toUtf8());
        CWorkSpaceObj ws;
        ws.m_strMainScreen = L"Main.xdg";
        ws.SaveDocument(ToCString(ProjectFile()));
    }
    QString ProjectFile() const { return project + "/bench.dcp"; }
};

// The editor as if it were the program in the install root's bin/.
struct Editor
{
    CQYRDrawApp app;
    std::vector<std::string> args;
    bool started = false;
    Editor(const Install& install, const QString& argument)
    {
        args = {"QYRDraw", argument.toStdString()};
        std::vector<char*> argv = {args[0].data(), args[1].data(), nullptr};
        AfxWinInit(2, argv.data());
        std::free(const_cast<LPWSTR>(app.m_pszHelpFilePath));
        app.m_pszHelpFilePath = wcsdup(ToCString(install.root + "/bin/QYRDraw.CHM"));
    }
    BOOL Start()
    {
        started = true;
        return app.InitInstance();
    }
    ~Editor()
    {
        app.CloseAllDocuments(TRUE);
        if (app.m_pMainWnd && app.m_pMainWnd->GetSafeHwnd())
            app.m_pMainWnd->DestroyWindow();
        app.m_pMainWnd = nullptr;
        AfxPumpMessages();
        if (started)
            app.ExitInstance();
        AfxWinTerm();
    }
};

bool WriteScreen(CQYRDrawApp& app, const QString& path, int shapes)
{
    CDocument* doc = app.m_pScreenTemplate->OpenDocumentFile(nullptr, FALSE);
    auto* draw = dynamic_cast<CQYRDrawDoc*>(doc);
    if (!draw)
        return false;
    CMyExtDataModel* model = draw->GetModel();
    for (int i = 0; i < shapes; ++i)
    {
        CRect rc(10 + (i % 100) * 16, 10 + (i / 100) * 16, 22 + (i % 100) * 16, 22 + (i / 100) * 16);
        CFOShapePtr<CFODrawShape> shape =
            CFOShapePtr<CFODrawShape>::Adopt(model->DoCreateShapeByType(FO_COMP_RECTANGLE, rc, L""));
        model->InsertShape(shape.Get());
    }
    const bool ok = doc->DoSave(ToCString(path));
    doc->OnCloseDocument();
    AfxPumpMessages();
    return ok;
}

void Prepare(Install& install, int screens, int shapes)
{
    Editor maker(install, QString());
    maker.Start();
    WriteScreen(maker.app, install.project + "/XdgFiles/Main.xdg", shapes);
    for (int i = 1; i < screens; ++i)
        QFile::copy(install.project + "/XdgFiles/Main.xdg",
                    install.project + QString("/XdgFiles/S%1.xdg").arg(i, 3, 10, QChar('0')));
}

// The Qt application and the modal hook, made once and left to the process's end.
void EnsureQt()
{
    static QApplication* qt = nullptr;
    if (qt)
        return;
    static int argc = 1;
    static char name[] = "bench_editor_app";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qt = new QApplication(argc, argv);
    AfxSetModalHook([](const AfxModalRequest&) { return int(IDOK); });
}

void BM_StartWithProjectOf100Screens(benchmark::State& state)
{
    EnsureQt();
    Install install;
    Prepare(install, 100, 20);
    int listed = 0;
    for (auto _ : state)
    {
        auto editor = std::make_unique<Editor>(install, install.ProjectFile());
        editor->Start();
        auto* frame = dynamic_cast<CDrawMainFrame*>(editor->app.m_pMainWnd);
        frame->GetWidget()->repaint();
        state.PauseTiming();
        listed = 0;
        CTreeCtrl& tree = frame->GetWorkspaceBar().GetTree();
        for (HTREEITEM i = tree.GetChildItem(frame->GetWorkspaceBar().GetScreensItem()); i;
             i = tree.GetNextSiblingItem(i))
            ++listed;
        editor.reset();
        state.ResumeTiming();
    }
    state.counters["screens_listed"] = listed;
}
BENCHMARK(BM_StartWithProjectOf100Screens)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_OpenScreenOf5000Shapes(benchmark::State& state)
{
    EnsureQt();
    Install install;
    Prepare(install, 1, 5000);
    Editor editor(install, install.ProjectFile());
    editor.Start();
    editor.app.m_pMainWnd->MoveWindow(0, 0, 1600, 1000);
    const CString path = ToCString(install.project + "/XdgFiles/Main.xdg");
    for (auto _ : state)
    {
        CDocument* doc = editor.app.OpenDocumentFile(path);
        POSITION pos = doc->GetFirstViewPosition();
        CView* view = doc->GetNextView(pos);
        view->GetClientWidget()->repaint();
        state.PauseTiming();
        doc->OnCloseDocument();
        AfxPumpMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenScreenOf5000Shapes)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_MarkScreenOf5000ShapesModified(benchmark::State& state)
{
    EnsureQt();
    Install install;
    Prepare(install, 1, 5000);
    Editor editor(install, install.ProjectFile());
    editor.Start();
    editor.app.m_pMainWnd->MoveWindow(0, 0, 1600, 1000);
    auto* doc = dynamic_cast<CQYRDrawDoc*>(
        editor.app.OpenDocumentFile(ToCString(install.project + "/XdgFiles/Main.xdg")));
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(pos);
    CFrameWnd* child = view->GetParentFrame();
    CMyExtDataModel* model = doc->GetModel();
    CFODrawShape* shape = model->GetShapes()->GetObject(0);
    AfxPumpMessages();
    int nStep = 0;
    for (auto _ : state)
    {
        // Saved, then one change: the flag turns and both titles are written again.
        model->SetModifiedFlag(FALSE);
        CFOTypedShapeObList list;
        list.AddTail(shape);
        auto* action = new CFOGeometryAction(model, L"Move", FO_ACTION_NOMERGE);
        action->Begin(list);
        shape->OffsetShape(CSize((nStep++ % 2) ? -1 : 1, 0));
        action->End();
        model->Do(action, FALSE);
    }
    CString title;
    child->GetWindowText(title);
    state.counters["modified"] = doc->IsModified() ? 1 : 0;
    state.counters["title_starred"] = title.Right(2) == L" *" ? 1 : 0;
    doc->SetModifiedFlag(FALSE);
}
BENCHMARK(BM_MarkScreenOf5000ShapesModified)->Unit(benchmark::kMicrosecond)->Iterations(200);
} // namespace
