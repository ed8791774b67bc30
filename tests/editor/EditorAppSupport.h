// Helpers of the editor application's tests: an install root of their own (bin/ with
// "methods.dat", User/ with a project of screens and a script), the desktop's data folder and the
// registry in temporary folders, the editor started on it in this process, and the message boxes
// answered through the modal hook.
#pragma once

#include "editor/ChildFrames.h"
#include "editor/DocTemplates.h"
#include "editor/DrawMainFrame.h"
#include "editor/MyExtDataModel.h"
#include "editor/PlexdraftDoc.h"
#include "editor/PlexdraftView.h"
#include "editor/QYRDrawApp.h"
#include "figkit/FODrawShape.h"
#include "foundation/StdioFileEx.h"
#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"
#include "mfc/Wnd.h"
#include "model/WorkSpaceObj.h"
#include "support/AppInProcess.h"
#include "support/PumpUntil.h"
#include "win32/Registry.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace edapp_test
{
inline CString ToCString(const QString& s)
{
    return CString(s.toStdWString().c_str());
}
inline QString ToQ(const CString& s)
{
    return QString::fromStdWString(s.GetString());
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.left(path.lastIndexOf('/')));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// UTF-16 little-endian with its mark.
inline QByteArray Utf16(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text)
    {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

// A temporary install root; the registry, the desktop's data folder and the runtime folder (named
// locks, the instance socket) are the test's own too, so an editor running elsewhere does not count.
struct InstallRoot
{
    QTemporaryDir dir;
    QString root;
    QString data;
    QString config;
    InstallRoot()
    {
        root = dir.path() + "/Quendrel";
        data = dir.path() + "/data";
        config = dir.path() + "/config";
        QDir().mkpath(root + "/bin");
        QDir().mkpath(root + "/User");
        QDir().mkpath(dir.path() + "/run");
        QFile::setPermissions(dir.path() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", (dir.path() + "/run").toUtf8());
        qputenv("XDG_DATA_HOME", data.toUtf8());
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        RegStoreSetInMemory(false);
        RegStoreReload();
        QFile::copy(QStringLiteral(QYR_METHODS_DAT), root + "/bin/methods.dat");
    }
    ~InstallRoot()
    {
        qunsetenv("XDG_DATA_HOME");
        RegStoreReload();
    }
    QString Bin() const { return root + "/bin"; }
    QString MainDat() const { return root + "/bin/main.dat"; }
    QString ProjectFolder(const QString& name) const { return root + "/User/" + name; }
    QString ProjectFile(const QString& name) const { return ProjectFolder(name) + "/" + name + ".dcp"; }

    // A project User/<name>/ with its workspace, the screens (empty files until WriteScreen fills
    // them) and a "system.uscp".
    void AddProject(const QString& name, const QStringList& screens, const QString& script = {}) const
    {
        const QString folder = ProjectFolder(name);
        QDir().mkpath(folder + "/XdgFiles");
        QDir().mkpath(folder + "/ScriptFiles");
        CWorkSpaceObj ws;
        ws.m_strMainScreen = L"Main.xdg";
        ws.SaveDocument(ToCString(ProjectFile(name)));
        for (const QString& s : screens)
            WriteBytes(folder + "/XdgFiles/" + s, QByteArray());
        WriteBytes(folder + "/ScriptFiles/system.uscp",
                   Utf16(script.isEmpty() ? QStringLiteral("function main(strShapeKey1, shape)\r\n{\r\n}")
                                          : script));
    }
};

// Records every message box (its text) and answers with what answer gives (OK by default).
struct MessageLog
{
    std::vector<CString> texts;
    std::function<int(const AfxModalRequest&)> answer;
    AfxModalHookFn previous;
    MessageLog()
    {
        previous = AfxSetModalHook(
            [this](const AfxModalRequest& r)
            {
                if (r.kind == AfxModalKind::MessageBox)
                    texts.push_back(r.strText);
                if (answer)
                    return answer(r);
                return r.kind == AfxModalKind::MessageBox ? int(IDOK) : int(IDCANCEL);
            });
    }
    ~MessageLog() { AfxSetModalHook(previous); }
    bool Saw(const wchar_t* text) const
    {
        for (const CString& t : texts)
            if (t.Find(text) >= 0)
                return true;
        return false;
    }
};

// The editor set up as if it were the program in root/bin, with the raw arguments given; its
// documents close before its window.
template <class App = CQYRDrawApp> struct DrawAppT : CAppInProcess<App>
{
    DrawAppT(const InstallRoot& root, const std::vector<std::string>& arguments)
        : CAppInProcess<App>("QYRDraw", root.Bin(), arguments)
    {
    }
    CDrawMainFrame* Frame() const { return dynamic_cast<CDrawMainFrame*>(this->app.m_pMainWnd); }
    // The documents of a template, in order.
    static std::vector<CDocument*> Docs(CDocTemplate* pTemplate)
    {
        std::vector<CDocument*> docs;
        for (POSITION pos = pTemplate ? pTemplate->GetFirstDocPosition() : nullptr; pos;)
            docs.push_back(pTemplate->GetNextDoc(pos));
        return docs;
    }
    static CView* FirstView(CDocument* pDoc)
    {
        POSITION pos = pDoc ? pDoc->GetFirstViewPosition() : nullptr;
        return pos ? pDoc->GetNextView(pos) : nullptr;
    }
    ~DrawAppT()
    {
        if (this->started)
            this->app.CloseAllDocuments(TRUE);
    }
};
using DrawApp = DrawAppT<>;

// Writes a screen file of the given shapes (rectangles named by the editor's model, with
// key 1 "K<n>") through a screen document of the running editor.
inline bool WriteScreen(CQYRDrawApp& app, const QString& path, int nShapes)
{
    CDocument* doc = app.m_pScreenTemplate->OpenDocumentFile(nullptr, FALSE);
    auto* draw = dynamic_cast<CQYRDrawDoc*>(doc);
    if (!draw)
        return false;
    CMyExtDataModel* model = draw->GetModel();
    for (int i = 0; i < nShapes; ++i)
    {
        CRect rc(20 + (i % 50) * 30, 20 + (i / 50) * 30, 45 + (i % 50) * 30, 45 + (i / 50) * 30);
        CFOShapePtr<CFODrawShape> shape =
            CFOShapePtr<CFODrawShape>::Adopt(model->DoCreateShapeByType(FO_COMP_RECTANGLE, rc, L""));
        if (!shape)
            return false;
        CString key;
        key.Format(L"K%d", i + 1);
        shape->SetKeyId1(key);
        model->InsertShape(shape.Get());
    }
    const bool ok = doc->DoSave(ToCString(path));
    doc->OnCloseDocument();
    AfxPumpMessages();
    return ok;
}
} // namespace edapp_test
