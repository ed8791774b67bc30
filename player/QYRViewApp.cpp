#include "player/QYRViewApp.h"

#include "mfc/Messages.h"
#include "player/MainFrm.h"

namespace
{
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT ID_VIEW_LANGUAGE = 32795;
} // namespace

BEGIN_MESSAGE_MAP(CQYRViewApp, CPlexrunApp)
ON_COMMAND(ID_VIEW_LANGUAGE, &ROzazeRir::OnViewLanguage)
ON_UPDATE_COMMAND_UI(ID_VIEW_LANGUAGE, &ROzazeRir::OnUpdateViewLanguage)
END_MESSAGE_MAP()

CQYRViewApp::CQYRViewApp() = default;

BOOL CQYRViewApp::InitInstance()
{
    ParseCommandLine(m_cmdInfo);
    if (!CPlexrunApp::InitInstance())
        return FALSE;
    SetRegistryKey(L"Quendrel");

    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME))
    {
        delete frame;
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    CreateTemplate(nullptr, nullptr);
    return TRUE;
}

int CQYRViewApp::ExitInstance()
{
    return CPlexrunApp::ExitInstance();
}
