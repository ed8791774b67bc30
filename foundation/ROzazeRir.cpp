#include "foundation/ROzazeRir.h"

#include "foundation/CmdLineParser.h"
#include "foundation/LanguageSelect.h"
#include "foundation/LogFile.h"
#include "foundation/OptionsMgr.h"
#include "foundation/PathUtils.h"
#include "logvane/Logvane.h"
#include "mfc/Messages.h"
#include "mfc/ResourceModule.h"
#include "mfc/Wnd.h"
#include "win32/Sync.h"

#include <utility>

namespace
{
ROzazeRir* g_pXVKApp = nullptr;
// The program's own module in the resource chain; start-up adds it, exit ends it.
AFX_EXTENSION_MODULE g_programModule = {};
CDynLinkLibrary* g_pProgramLibrary = nullptr;
// Constant-initialised, so the model may register its factory from a static of its own.
WorkSpaceFactory g_workSpaceFactory = nullptr;
} // namespace

ROzazeRir* AfxGetXVKApp()
{
    return g_pXVKApp;
}

BEGIN_MESSAGE_MAP(ROzazeRir, CWinAppEx)
END_MESSAGE_MAP()

ROzazeRir::ROzazeRir(UINT id1, UINT id2, LPCWSTR languageLibrary)
{
    g_pXVKApp = this;
    m_pLangDlg = std::make_unique<CLanguageSelect>(id1, id2, languageLibrary, TRUE, TRUE, nullptr);
}

ROzazeRir::~ROzazeRir()
{
    SetAppServices(nullptr, nullptr);
    m_pOptions.reset();
    m_pLangDlg.reset();
    m_pLog.reset();
    if (g_pXVKApp == this)
        g_pXVKApp = nullptr;
}

CString ROzazeRir::MakeLogConfigPath(const CString& helpPath)
{
    CString path = helpPath;
    // The search is case-sensitive: a lower-case ".chm" leaves "Logvane.xml" beside the program.
    const size_t chm = path.str().rfind(L".CHM");
    if (chm != std::wstring::npos)
        path.str().replace(chm, 4, L".xml");
    else
    {
        path = path.Left(path.ReverseFind(L'/') + 1);
        path += L"Logvane.xml";
    }
    return path;
}

BOOL ROzazeRir::InitInstance()
{
    CWinAppEx::InitInstance();

    CString path = MakeLogConfigPath(m_pszHelpFilePath ? CString(m_pszHelpFilePath) : CString());
    XVKLOG_INIT(path);

    m_pOptions = std::make_unique<CRegOptionsMgr>();
    SetAppServices(m_pOptions.get(), m_pLog.get());
    OptionsInit(m_pOptions.get());
    // Now that the options are read, the command line's switches set theirs.
    m_bCommandLinePaths = CCmdLineParser(GetCommandLineArgs()).HasPaths();

    m_strHelpFilePath = path.Left(path.ReverseFind(L'/') + 1) + L"Plexcore.chm";

    m_pLog = std::make_unique<CLogFile>();
    SetAppServices(m_pOptions.get(), m_pLog.get());
    const int logging = m_pOptions->GetIntValue(L"Settings/Logging");
    if (logging > 0)
    {
        m_pLog->SetPath(CPathUtils::Join(CPathUtils::GetDocumentsFolder(), L"Corvane/Corvane.log"), FALSE);
        if (logging == 1)
            m_pLog->SetLevelMask(-1);
        else if (logging == 2)
            m_pLog->SetLevelMask(3);
        m_pLog->SetLogging(true);
    }

    m_pLangDlg->SetLogFile(m_pLog.get());
    m_pLangDlg->ChooseStartLanguage();

    g_programModule.hModule = AfxGetInstanceHandle();
    g_programModule.hResource = AfxGetInstanceHandle();
    g_programModule.bInitialized = TRUE;
    g_pProgramLibrary = new CDynLinkLibrary(g_programModule);

    if (g_workSpaceFactory)
        m_pWorkSpace = g_workSpaceFactory();
    return TRUE;
}

CWorkSpacePtr ROzazeRir::TakeWorkSpace()
{
    return std::exchange(m_pWorkSpace, CWorkSpacePtr(nullptr, nullptr));
}

void ROzazeRir::SetWorkSpaceFactory(WorkSpaceFactory factory)
{
    g_workSpaceFactory = factory;
}

BOOL ROzazeRir::PreTranslateMessage(MSG* pMsg)
{
    return CWinThread::PreTranslateMessage(pMsg);
}

BOOL ROzazeRir::OnIdle(LONG count)
{
    if (CWinAppEx::OnIdle(count))
        return TRUE;
    if (!m_bNeedIdleTimer)
        return FALSE;
    m_bNeedIdleTimer = FALSE;
    if (m_pMainWnd)
        m_pMainWnd->SendMessageToDescendants(WM_TIMER, 9754, LPARAM(count), TRUE, FALSE);
    return FALSE;
}

int ROzazeRir::ExitInstance()
{
    if (g_pProgramLibrary)
    {
        delete g_pProgramLibrary;
        g_pProgramLibrary = nullptr;
    }
    AfxTermExtensionModule(g_programModule);
    g_programModule = {};
    XVKLOG_TERM();
    CWinAppEx::ExitInstance();
    return 0;
}

int ROzazeRir::DoMessageBox(LPCWSTR prompt, UINT type, UINT helpId)
{
    return CWinApp::DoMessageBox(prompt, type, helpId);
}

void ROzazeRir::OnViewLanguage()
{
    if (m_pLangDlg && m_pLangDlg->DoModal() == IDOK)
        UpdateResources();
}

void ROzazeRir::OnUpdateViewLanguage(CCmdUI* pCmdUI)
{
    if (pCmdUI)
        pCmdUI->Enable(m_pLangDlg && m_pLangDlg->HasCatalogues());
}

LANGID ROzazeRir::GetLangId() const
{
    return m_pLangDlg ? m_pLangDlg->GetLangId() : LANGID(1033);
}

void ROzazeRir::SetIndicators(CStatusBar& bar, const UINT* ids, int count) const
{
    if (m_pLangDlg)
        m_pLangDlg->SetIndicators(bar, ids, count);
}

void ROzazeRir::TranslateMenu(HMENU menu) const
{
    if (m_pLangDlg)
        m_pLangDlg->TranslateMenu(menu);
}

void ROzazeRir::TranslateDialog(HWND dlg) const
{
    if (m_pLangDlg)
        m_pLangDlg->TranslateDialog(dlg);
}

std::wstring ROzazeRir::LoadString(UINT id) const
{
    return m_pLangDlg ? m_pLangDlg->LoadString(id) : std::wstring();
}

std::wstring ROzazeRir::LoadDialogCaption(LPCWSTR dialogName) const
{
    return m_pLangDlg ? m_pLangDlg->LoadDialogCaption(dialogName) : std::wstring();
}

void ROzazeRir::ResetOptions()
{
    if (m_pOptions)
        OptionsInit(m_pOptions.get());
    // Now that the options are read, the command line's switches set theirs.
    m_bCommandLinePaths = CCmdLineParser(GetCommandLineArgs()).HasPaths();
}

void ROzazeRir::AddOperation()
{
    InterlockedIncrement(&m_nActiveOperations);
}
void ROzazeRir::RemoveOperation()
{
    InterlockedDecrement(&m_nActiveOperations);
}

CString ROzazeRir::GetXVKHelpFilePath()
{
    return g_pXVKApp ? g_pXVKApp->m_strHelpFilePath : CString();
}
