// Screens of many bound labels for the runtime benchmarks.
#pragma once

#include "figkit/FODrawShape.h"
#include "player/ExtDataModel.h"

#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"
#include "model/WorkSpaceObj.h"
#include "player/DemoProject.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace bench_screens
{
inline CString ToCString(const QString& s)
{
    return CString(s.toStdWString().c_str());
}

// A screen of count labels, each bound to tag(i) on the stand-in server.
inline void WriteScreen(const QString& path, int count, const std::function<CString(int)>& tag)
{
    CExtDataModel model;
    for (int i = 0; i < count; ++i)
    {
        CRect rc(10 + (i % 50) * 12, 10 + (i / 50) * 6, 20 + (i % 50) * 12, 15 + (i / 50) * 6);
        CFODrawShape* shape = model.DoCreateShapeByType(FO_COMP_SIMPLELABEL, rc, CString());
        shape->SetKeyId2(L"'Quendrel.OpcDaServer.1'");
        shape->SetKeyId3(tag(i));
        model.InsertShape(shape);
        shape->Release();
    }
    model.SaveDocument(ToCString(path));
}

inline CString BulkTag(int i)
{
    CString name;
    name.Format(L"Bulk.Tag%05d", i % 10000);
    return name;
}

// A project "bench" under the install root dir/Plexrun (its screens written by fill into the
// project's screen folder), the program's runtime and configuration folders in dir; the application
// initialised as the program in the root's bin/ started on the project. Boxes are answered OK.
inline void StartBenchProject(const QTemporaryDir& dir, CWinApp& app, const char* program,
                              std::vector<std::string>& args, const std::function<void(const QString&)>& fill)
{
    const QString root = dir.path() + "/Plexrun";
    const QString project = root + "/User/bench";
    QDir().mkpath(root + "/bin");
    QDir().mkpath(project + "/XdgFiles");
    QDir().mkpath(dir.path() + "/run");
    qputenv("XDG_RUNTIME_DIR", (dir.path() + "/run").toUtf8());
    qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
    fill(project + "/XdgFiles/");
    CWorkSpaceObj ws;
    InitDemoWorkSpace(ws);
    ws.SaveDocument(ToCString(project + "/bench.dcp"));

    args = {program, (project + "/bench.dcp").toStdString()};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    AfxWinInit(int(args.size()), argv.data());
    std::free(const_cast<LPWSTR>(app.m_pszHelpFilePath));
    app.m_pszHelpFilePath = wcsdup(ToCString(root + "/bin/" + program + ".CHM"));
    AfxSetModalHook(
        [](const AfxModalRequest& r)
        {
            // What would have been shown, for a run that goes wrong.
            std::fwprintf(stderr, L"%ls\n", static_cast<LPCWSTR>(r.strText));
            return IDOK;
        });
}
} // namespace bench_screens
