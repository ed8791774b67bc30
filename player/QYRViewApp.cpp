#include "player/QYRViewApp.h"
#include "player/SplashWnd.h"

#include "com/ComBase.h"
#include "mfc/DocTemplate.h"
#include "mfc/Messages.h"
#include "mfc/ModalHook.h"
#include "player/MainFrm.h"
#include "player/QYRViewDoc.h"
#include "player/QYRViewView.h"
#include "player/RunMethodHost.h"
#include "symbols/AboutDlg.h"

namespace
{
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT ID_VIEW_LANGUAGE = 32795;
} // namespace

BEGIN_MESSAGE_MAP(CQYRViewApp, CPlexrunApp)
ON_COMMAND(ID_APP_ABOUT, &CQYRViewApp::OnAppAbout)
ON_COMMAND(ID_VIEW_LANGUAGE, &ROzazeRir::OnViewLanguage)
ON_UPDATE_COMMAND_UI(ID_VIEW_LANGUAGE, &ROzazeRir::OnUpdateViewLanguage)
ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
END_MESSAGE_MAP()

CQYRViewApp::CQYRViewApp() = default;

BOOL CQYRViewApp::InitInstance()
{
    if (FAILED(OleInitialize(nullptr)))
    {
        AfxMessageBox(L"Ole Initialize Failed!", MB_OK);
        return FALSE;
    }

    ParseCommandLine(m_cmdInfo);
    const auto command = m_cmdInfo.m_nShellCommand;
    if (command == CCommandLineInfo::AppRegister || command == CCommandLineInfo::AppUnregister)
    {
        // Registering or unregistering skips the guard and the project.
        if (!CWinApp::InitInstance())
            return FALSE;
    }
    else
    {
        if (command == CCommandLineInfo::FileOpen)
        {
            m_strProjectFile = m_cmdInfo.m_strFileName;
            m_cmdInfo.m_nShellCommand = CCommandLineInfo::FileNew;
        }
        if (!CPlexrunApp::InitInstance())
            return FALSE;
        if (!LoadProject())
            return FALSE;
    }

    SetRegistryKey(L"Quendrel");
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CQYRViewDoc),
                                          RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CQYRViewView)));
    // Scripts and other programs make "app" by its ProgID.
    CNewMethodHost::RegisterClassFactory(RUNTIME_CLASS(CRunMethodHost));

    if (m_cmdInfo.m_bRunEmbedded || m_cmdInfo.m_bRunAutomated)
        return TRUE;
    if (m_cmdInfo.m_nShellCommand == CCommandLineInfo::AppUnregister && m_cmdInfo.GetOption(L"silent"))
        m_cmdInfo.m_bRunEmbedded = TRUE;
    if (!ProcessShellCommand(m_cmdInfo))
        return FALSE;
    if (!m_pMainWnd)
        return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return CreateTemplate(nullptr, nullptr);
}

int CQYRViewApp::ExitInstance()
{
    // The splash stays up to the end; its window must go while the application still exists.
    CSplashWnd& splash = CSplashWnd::GetSplash();
    if (splash.GetSafeHwnd())
        splash.DestroyWindow();
    CNewMethodHost::RevokeClassFactory();
    return CPlexrunApp::ExitInstance();
}

void CQYRViewApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}
