// CPlexdraftApp: the editor application's middle layer: the single-instance guard, the parsed
// command line, the build settings and the editor-wide options. CFOPCommandLineInfo is its
// command-line record: only the shell command and whether a file was named are read.
#pragma once

#include "editor/FOProjectApp.h"
#include "mfc/CommandLine.h"
#include "symbols/FOPSingleInstance.h"

#include <memory>

class CMultiDocTemplateEx;
class CFOZeroDocTemplate;

class CFOPCommandLineInfo : public CCommandLineInfo
{
public:
    void ParseParam(LPCWSTR pszParam, BOOL bFlag, BOOL bLast) override;

    bool m_bOption1 = false;
    bool m_bOption2 = false;
    bool m_bOption3 = false;
    bool m_bOption4 = false;
    bool m_bFileNamed = false;
    CStringList m_strList;
};

class CPlexdraftApp : public CFOProjectApp
{
public:
    CPlexdraftApp();
    ~CPlexdraftApp() override;

    // The guard ("QYRDraw already running!" when another editor runs), then the layers below.
    BOOL InitInstance() override;
    int ExitInstance() override;

    CMultiDocTemplateEx* m_pScreenTemplate = nullptr;
    CFOZeroDocTemplate* m_pScriptTemplate = nullptr;
    CString m_strBuildFolder;
    CString m_strBuildProgram;
    double m_dImportScale = 1.0;
    int m_nImportTexts = 1;
    std::unique_ptr<CFOPCommandLineInfo> m_pCmdInfo;
    CFOPSingleInstance m_singleInstance;
    double m_dImportWidthFactor = 0.2;
    CString m_strImportWorkFolder;
    int m_bHideDefaultPorts = 1;
    int m_nImportPattern1 = 34;
    int m_nImportPattern2 = 68;
};
