#include "editor/PlexdraftApp.h"

#include "symbols/ProgramStart.h"

#include <cwchar>

void CFOPCommandLineInfo::ParseParam(LPCWSTR pszParam, BOOL bFlag, BOOL bLast)
{
    const CString param = pszParam ? pszParam : L"";
    if (bFlag)
    {
        if (param == L"n")
        {
            m_bShowSplash = FALSE;
        }
        else if (param == L"R" || param == L"r" || param == L"Rr" || param == L"rR")
        {
            m_bOption1 = true;
        }
        else if (param == L"s")
        {
            m_bOption2 = true;
        }
        else
        {
            m_bOption1 = m_bOption2 = m_bOption3 = false;
            CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
        }
        return;
    }
    if (param == L"+")
    {
        m_bOption4 = true;
        m_bOption1 = m_bOption2 = false;
        return;
    }
    // A named file is only noted: start-up takes the file from the raw command-line text.
    m_bFileNamed = true;
}

CPlexdraftApp::CPlexdraftApp() : m_pCmdInfo(std::make_unique<CFOPCommandLineInfo>())
{
    m_strBuildProgram.Format(L"QYRView%s.exe", L"U");
}

CPlexdraftApp::~CPlexdraftApp() = default;

BOOL CPlexdraftApp::InitInstance()
{
    if (!FOPStartProgram(m_singleInstance, 128, L"Quendrel Plexdraft", L"QYRDraw already running!"))
        return FALSE;
    return CFOProjectApp::InitInstance();
}

int CPlexdraftApp::ExitInstance()
{
    const int code = CFOProjectApp::ExitInstance();
    m_pCmdInfo.reset();
    return code;
}
