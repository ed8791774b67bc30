#include "multiview/QYRMViewApp.h"

#include "com/AutomationRegistry.h"
#include "mfc/AfxInit.h"
#include "mfc/DocTemplate.h"
#include "mfc/Messages.h"
#include "mfc/ModalHook.h"
#include "mfc/WinApp.h"
#include "multiview/ChildFrm.h"
#include "multiview/MainFrm.h"
#include "multiview/Resource.h"
#include "player/QYRViewDoc.h"
#include "player/QYRViewView.h"
#include "player/RunMethodHost.h"
#include "player/SplashWnd.h"
#include "symbols/AboutDlg.h"

#include <memory>

// {9D4F32F7-55DC-4D35-97D7-9BF4105B8AA6}
const CLSID CLSID_QYRMViewDoc = {
    0x9D4F32F7, 0x55DC, 0x4D35, {0x97, 0xD7, 0x9B, 0xF4, 0x10, 0x5B, 0x8A, 0xA6}};
// {5632F61E-6FBB-4273-8A88-80DF51076F6D}
const GUID LIBID_QYRMView = {0x5632F61E, 0x6FBB, 0x4273, {0x8A, 0x88, 0x80, 0xDF, 0x51, 0x07, 0x6F, 0x6D}};
// {BE6A8C58-D1D6-452A-96B9-A8997BFC4640}
const IID IID_IQYRMView = {0xBE6A8C58, 0xD1D6, 0x452A, {0x96, 0xB9, 0xA8, 0x99, 0x7B, 0xFC, 0x46, 0x40}};

namespace
{
constexpr WORD kTypeLibMajor = 1;
constexpr WORD kTypeLibMinor = 0;
constexpr LCID kTypeLibLocale = 0x409;
} // namespace

BEGIN_MESSAGE_MAP(CQYRMViewApp, CPlexrunApp)
ON_COMMAND(ID_APP_ABOUT, &CQYRMViewApp::OnAppAbout)
ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
ON_COMMAND(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

CQYRMViewApp* AfxGetMViewApp()
{
    return dynamic_cast<CQYRMViewApp*>(AfxGetApp());
}

CQYRMViewApp::CQYRMViewApp()
{
    // The program's type library, as its resources would carry it.
    QYRTYPELIB lib;
    lib.libid = LIBID_QYRMView;
    lib.wMajorVerNum = kTypeLibMajor;
    lib.wMinorVerNum = kTypeLibMinor;
    lib.lcid = kTypeLibLocale;
    lib.name = L"QYRMView";
    lib.interfaces.push_back({IID_IQYRMView, L"IQYRMView"});
    QyrAddTypeLib(lib);
}

CQYRMViewApp::~CQYRMViewApp() = default;

BOOL CQYRMViewApp::IsSilent() const
{
    return m_pCmdInfo && m_pCmdInfo->GetOption(L"silent");
}

BOOL CQYRMViewApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    if (!AfxOleInit())
    {
        AfxMessageBox(IDP_OLE_INIT_FAILED);
        return FALSE;
    }
    AfxEnableControlContainer();

    // The command line lives for the start-up only, whichever way it ends.
    auto cmdInfo = std::make_unique<CCommandLineInfoEx>();
    ParseCommandLine(*cmdInfo);
    m_pCmdInfo = cmdInfo.get();
    const BOOL bResult = StartUp(*cmdInfo);
    m_pCmdInfo = nullptr;
    return bResult;
}

BOOL CQYRMViewApp::StartUp(CCommandLineInfoEx& cmdInfo)
{
    switch (cmdInfo.m_nShellCommand)
    {
    case CCommandLineInfo::AppRegister:
    case CCommandLineInfo::AppUnregister:
        // No single-instance check and no project.
        if (!CWinApp::InitInstance())
            return FALSE;
        break;
    case CCommandLineInfo::FileOpen:
        // The argument names the project; it is never opened as a document.
        m_strProjectFile = cmdInfo.m_strFileName;
        cmdInfo.m_nShellCommand = CCommandLineInfo::FileNew;
        [[fallthrough]];
    default:
        if (!CPlexrunApp::InitInstance())
            return FALSE;
        if (!LoadProject())
            return FALSE;
        break;
    }

    SetRegistryKey(L"Quendrel");
    LoadStdProfileSettings(4);

    InitContextMenuManager();
    InitKeyboardManager();
    InitTooltipManager();
    CMFCToolTipInfo ttParams;
    ttParams.m_bVislManagerTheme = TRUE;
    GetTooltipManager()->SetTooltipParams(AFX_TOOLTIP_TYPE_ALL, RUNTIME_CLASS(CMFCToolTipCtrl), &ttParams);

    m_pDocTemplate = new CMultiDocTemplate(IDR_XVKMVIEW_TYPE, RUNTIME_CLASS(CQYRViewDoc),
                                           RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CQYRViewView));
    AddDocTemplate(m_pDocTemplate);
    m_server.ConnectTemplate(CLSID_QYRMViewDoc, m_pDocTemplate, FALSE);
    COleTemplateServer::RegisterAll();
    // Scripts and other programs make "app" by its ProgID.
    CNewMethodHost::RegisterClassFactory(RUNTIME_CLASS(CRunMethodHost));

    auto* pMainFrame = new CMainFrame;
    if (!pMainFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE))
    {
        // A frame whose window never came up is not deleted by its destruction.
        if (!pMainFrame->GetSafeHwnd())
            delete pMainFrame;
        else
            pMainFrame->DestroyWindow();
        return FALSE;
    }
    m_pMainWnd = pMainFrame;

    if (cmdInfo.m_bRunEmbedded || cmdInfo.m_bRunAutomated)
        return TRUE;
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::AppUnregister)
    {
        m_server.UpdateRegistry(OAT_DISPATCH_OBJECT, nullptr, nullptr, FALSE);
        AfxOleUnregisterTypeLib(LIBID_QYRMView, kTypeLibMajor, kTypeLibMinor, kTypeLibLocale);
        if (IsSilent())
            cmdInfo.m_bRunEmbedded = TRUE;
    }
    else
    {
        m_server.UpdateRegistry(OAT_DISPATCH_OBJECT);
        COleObjectFactory::UpdateRegistryAll();
        AfxOleRegisterTypeLib(AfxGetInstanceHandle(), LIBID_QYRMView);
    }

    if (!ProcessShellCommand(cmdInfo))
        return FALSE;
    pMainFrame->ShowWindow(SW_SHOWMAXIMIZED);
    pMainFrame->UpdateWindow();

    tagFRAMEINFO info = {};
    pMainFrame->FillFrameInfo(info);
    return CreateTemplate(pMainFrame, &info);
}

int CQYRMViewApp::ExitInstance()
{
    // The splash stays up to the end; its window must go while the application still exists.
    CSplashWnd& splash = CSplashWnd::GetSplash();
    if (splash.GetSafeHwnd())
        splash.DestroyWindow();
    CNewMethodHost::RevokeClassFactory();
    m_server.Revoke();
    return CPlexrunApp::ExitInstance();
}

void CQYRMViewApp::OnClosingMainFrame(CFrameImpl* pFrameImpl)
{
    if (CSplashWnd::GetSplash().Show(0))
        m_bSplashCreated = TRUE;
    VEzudiZuroDoz::OnClosingMainFrame(pFrameImpl);
}

void CQYRMViewApp::PreLoadState()
{
    CContextMenuManager* menus = GetContextMenuManager();
    menus->AddMenu(IDS_EDIT_MENU, IDR_POPUP_EDIT);
    menus->AddMenu(IDS_EXPLORER, IDR_POPUP_EXPLORER);
}

void CQYRMViewApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}
