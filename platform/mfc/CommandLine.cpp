#include "mfc/CommandLine.h"

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew)
{
}

CCommandLineInfo::~CCommandLineInfo() = default;

void CCommandLineInfo::ParseParam(LPCWSTR pszParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag)
        ParseParamFlag(pszParam);
    else
        ParseParamNotFlag(pszParam);
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(LPCWSTR pszParam)
{
    const CString param(pszParam);
    if (param.CompareNoCase(L"pt") == 0)
        m_nShellCommand = FilePrintTo;
    else if (param.CompareNoCase(L"p") == 0)
        m_nShellCommand = FilePrint;
    else if (param.CompareNoCase(L"Register") == 0 || param.CompareNoCase(L"Regserver") == 0)
        m_nShellCommand = AppRegister;
    else if (param.CompareNoCase(L"Unregister") == 0 || param.CompareNoCase(L"Unregserver") == 0)
        m_nShellCommand = AppUnregister;
    else if (param.CompareNoCase(L"dde") == 0)
        m_nShellCommand = FileDDE;
    else if (param.CompareNoCase(L"Embedding") == 0)
    {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    }
    else if (param.CompareNoCase(L"Automation") == 0)
    {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
    else if (param.CompareNoCase(L"nologo") == 0)
        m_bShowSplash = FALSE;
}

void CCommandLineInfo::ParseParamNotFlag(LPCWSTR pszParam)
{
    if (m_strFileName.IsEmpty())
        m_strFileName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
        m_strPrinterName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
        m_strDriverName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
        m_strPortName = pszParam;
}

void CCommandLineInfo::ParseLast(BOOL bLast)
{
    // A file name with no other command opens it.
    if (bLast && m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
        m_nShellCommand = FileOpen;
}

void AfxParseCommandLine(CCommandLineInfo& rCmdInfo, const std::vector<CString>& args)
{
    for (size_t i = 0; i < args.size(); ++i)
    {
        std::wstring arg = args[i].str();
        if (arg.size() >= 2 && arg.front() == L'"' && arg.back() == L'"')
            arg = arg.substr(1, arg.size() - 2);
        bool flag = false;
        if (!arg.empty() && arg[0] == L'-')
            flag = true;
        else if (!arg.empty() && arg[0] == L'/')
            flag = arg.find_first_of(L"/\\", 1) == std::wstring::npos;
        const std::wstring param = flag ? arg.substr(1) : arg;
        rCmdInfo.ParseParam(param.c_str(), flag ? TRUE : FALSE, i + 1 == args.size() ? TRUE : FALSE);
    }
}

void AfxParseCommandLine(CCommandLineInfo& rCmdInfo, int argc, char** argv)
{
    std::vector<CString> args;
    for (int i = 1; argv && i < argc; ++i)
        args.push_back(CString::FromUtf8(argv[i] ? argv[i] : ""));
    AfxParseCommandLine(rCmdInfo, args);
}

void AfxParseCommandLine(CCommandLineInfo& rCmdInfo, int argc, wchar_t** argv)
{
    std::vector<CString> args;
    for (int i = 1; argv && i < argc; ++i)
        args.push_back(CString(argv[i]));
    AfxParseCommandLine(rCmdInfo, args);
}
