// Helpers of the player tests: an install root of their own (bin/, User/, Demo/ with the demo
// project), the player started on it in this process, and messages through the modal hook.
#pragma once

#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"
#include "mfc/Wnd.h"
#include "model/WorkSpaceObj.h"
#include "player/DemoProject.h"
#include "player/QYRViewApp.h"
#include "support/AppInProcess.h"
#include "support/PumpUntil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace player_test
{
inline CString ToCString(const QString& s)
{
    return CString(s.toStdWString().c_str());
}

// A temporary install root with the demo project. The runtime folder (named locks, the instance
// socket) is the test's own too, so a player running elsewhere does not count.
struct InstallRoot
{
    QTemporaryDir dir;
    QString root;
    InstallRoot()
    {
        root = dir.path() + "/Plexrun";
        QDir().mkpath(root + "/bin");
        QDir().mkpath(root + "/User");
        QDir().mkpath(dir.path() + "/run");
        QFile::setPermissions(dir.path() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", (dir.path() + "/run").toUtf8());
        WriteDemoProject(ToCString(root));
    }
    QString MainDat() const { return root + "/bin/main.dat"; }
    // A project under User/<name>/ with the demo's screen, its settings set by fill.
    void AddUserProject(const QString& name, const std::function<void(CWorkSpaceObj&)>& fill) const
    {
        const QString folder = root + "/User/" + name;
        QDir().mkpath(folder + "/XdgFiles");
        QFile::copy(root + "/Demo/demo/XdgFiles/Main.xdg", folder + "/XdgFiles/Main.xdg");
        CWorkSpaceObj ws;
        InitDemoWorkSpace(ws);
        fill(ws);
        ws.SaveDocument(ToCString(folder + "/" + name + ".dcp"));
    }
};

// Records every message box and answers OK.
struct MessageLog
{
    std::vector<CString> texts;
    AfxModalHookFn previous;
    MessageLog()
    {
        previous = AfxSetModalHook(
            [this](const AfxModalRequest& r)
            {
                texts.push_back(r.strText);
                return IDOK;
            });
    }
    ~MessageLog() { AfxSetModalHook(previous); }
};

// The player application set up as if it were the program in root/bin, with the arguments given.
template <class App = CQYRViewApp> struct PlayerAppT : CAppInProcess<App>
{
    PlayerAppT(const InstallRoot& root, const std::vector<std::string>& arguments)
        : CAppInProcess<App>("QYRView", root.root + "/bin", arguments)
    {
    }
};
using PlayerApp = PlayerAppT<>;
} // namespace player_test
