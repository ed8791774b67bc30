// The command line as the application sees it: what to do at start-up (new, open, print, register,
// ...) and the file named, parsed with MFC's rules for its own switches.
#pragma once

#include "mfc/CString.h"

#include <vector>

class CCommandLineInfo
{
public:
    CCommandLineInfo();
    virtual ~CCommandLineInfo();

    // Called once per argument: bFlag when it was a switch (param without its '/' or '-'), bLast
    // for the last argument. Switches compare without regard to case.
    virtual void ParseParam(LPCWSTR pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash;
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;

    enum ShellCommand
    {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1
    };
    ShellCommand m_nShellCommand;

    CString m_strFileName;
    // For FilePrintTo: the arguments after the file name, in this order.
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

protected:
    void ParseParamFlag(LPCWSTR pszParam);
    void ParseParamNotFlag(LPCWSTR pszParam);
    void ParseLast(BOOL bLast);
};

// Feeds the arguments (without the program's name) to rCmdInfo.ParseParam. An argument wrapped in
// double quotes loses them first. "-x" is always a switch; "/x" is one unless it holds a further '/'
// or '\', so that a full path such as "/home/ann/Main.dcp" stays a file name.
void AfxParseCommandLine(CCommandLineInfo& rCmdInfo, const std::vector<CString>& args);
// The same from main()'s arguments (UTF-8), skipping argv[0].
void AfxParseCommandLine(CCommandLineInfo& rCmdInfo, int argc, char** argv);
void AfxParseCommandLine(CCommandLineInfo& rCmdInfo, int argc, wchar_t** argv);
