// CQYRMViewApp: the multi-screen viewer's application. It runs the player's start-up (single
// instance, library chain, project), registers itself as the automation server of its document
// template at every ordinary start, makes the MDI main frame and hands it to the shared library;
// the splash window shows while the main frame closes.
#pragma once

#include "foundation/CommandLineInfoEx.h"
#include "mfc/OleServer.h"
#include "player/PlexrunApp.h"

class CMultiDocTemplate;
class CMainFrame;

// The automation identity.
extern const CLSID CLSID_QYRMViewDoc;
extern const GUID LIBID_QYRMView;
extern const IID IID_IQYRMView;

class CQYRMViewApp : public CPlexrunApp
{
public:
    CQYRMViewApp();
    ~CQYRMViewApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    void OnClosingMainFrame(CFrameImpl* pFrameImpl) override;
    void PreLoadState() override;

    // CCommandLineInfoEx::GetOption("silent") of the parsed command line.
    BOOL IsSilent() const;
    static BOOL IsFileExist(const CString& strPath) { return FileExists(strPath); }

    CMultiDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    const CCommandLineInfoEx* GetCommandLineInfo() const { return m_pCmdInfo; }
    BOOL IsSplashCreated() const { return m_bSplashCreated; }

    afx_msg void OnAppAbout();

    COleTemplateServer m_server;
    // The look command in force (210 to 218).
    UINT m_nAppLook = 214;
    BOOL m_bHiColorIcons = TRUE;

protected:
    // Steps 5 to 14 of the start-up with the parsed command line.
    BOOL StartUp(CCommandLineInfoEx& cmdInfo);

    CMultiDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bSplashCreated = FALSE;
    // While start-up runs: the parsed command line.
    CCommandLineInfoEx* m_pCmdInfo = nullptr;

    DECLARE_MESSAGE_MAP()
};

CQYRMViewApp* AfxGetMViewApp();
