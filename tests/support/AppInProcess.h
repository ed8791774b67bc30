// A program's application object set up in this test process as if it were the program in a given
// folder (its help path lies there, and the programs find their folder by it), with the raw
// arguments given. Start runs InitInstance; the end destroys the main window and, when it started,
// runs ExitInstance.
#pragma once

#include "mfc/WinApp.h"
#include "mfc/Wnd.h"

#include <QString>

#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

template <class App> struct CAppInProcess
{
    App app;
    std::vector<std::string> args;
    bool started = false;

    CAppInProcess(const std::string& program, const QString& folder,
                  const std::vector<std::string>& arguments)
    {
        args.push_back(program);
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        AfxWinInit(int(args.size()), argv.data());
        const QString help = folder + "/" + QString::fromStdString(program) + ".CHM";
        std::free(const_cast<LPWSTR>(app.m_pszHelpFilePath));
        app.m_pszHelpFilePath = wcsdup(help.toStdWString().c_str());
    }
    CAppInProcess(const CAppInProcess&) = delete;
    CAppInProcess& operator=(const CAppInProcess&) = delete;

    BOOL Start()
    {
        started = true;
        return app.InitInstance();
    }
    ~CAppInProcess()
    {
        if (app.m_pMainWnd && app.m_pMainWnd->GetSafeHwnd())
            app.m_pMainWnd->DestroyWindow();
        app.m_pMainWnd = nullptr;
        AfxPumpMessages();
        if (started)
            app.ExitInstance();
        AfxWinTerm();
    }
};
