// The application: CWinThread with its message loop and idle processing, CWinApp with start-up,
// profile settings, help and message boxes, and AfxWinMain.
//
// A program makes one static CWinApp-derived object and calls AfxWinMain(argc, argv) from main():
// it makes the QApplication (unless one exists), fills the application's names and paths, then
// runs InitInstance, Run (the loop) and ExitInstance and returns the exit code. Tests use
// AfxWinInit to set the application up the same way and then call InitInstance and ExitInstance
// themselves, without entering the loop.
#pragma once

#include "mfc/CString.h"
#include "mfc/CmdTarget.h"
#include "mfc/Collections.h"
#include "mfc/ContextMenuManager.h"

#include <memory>
#include <vector>

class CWnd;
class CDocument;
class CDocTemplate;
class CFrameImpl;
class CCommandLineInfo;
class CTooltipManager;
class CRecentFileList;

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    ~CWinThread() override;

    CWnd* m_pMainWnd = nullptr;
    CWnd* m_pActiveWnd = nullptr;
    BOOL m_bAutoDelete = FALSE;

    virtual BOOL InitInstance();
    // The exit code of the loop (the one given to PostQuitMessage).
    virtual int ExitInstance();
    // Runs the Qt event loop until PostQuitMessage. Whenever the queue is empty, OnIdle is called
    // with 0, 1, 2, ... for as long as it returns TRUE; a new message starts the count at 0 again.
    // Returns ExitInstance().
    virtual int Run();
    // Offers a message to the windows from its own up to the main window.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Count 0 updates the command user interface of the main window and its bars; TRUE asks for
    // more idle time: for count 0 only.
    virtual BOOL OnIdle(LONG lCount);
    virtual CWnd* GetMainWnd();
};

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // Allocated with malloc (a program may free one and put its own _wcsdup in its place).
    LPCWSTR m_pszAppName = nullptr;
    LPCWSTR m_pszExeName = nullptr;
    // The program's folder + the program's name + ".CHM", as MFC makes it.
    LPCWSTR m_pszHelpFilePath = nullptr;
    // The application's name once SetRegistryKey was called, else the program's name + ".INI".
    LPCWSTR m_pszProfileName = nullptr;
    LPCWSTR m_pszRegistryKey = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPWSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG lCount) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // An icon of the resource chain; null when there is none. Free it with DestroyIcon.
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCWSTR lpszResourceName) const;

    // Every AfxMessageBox comes here; the caption is the application's name.
    virtual int DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    // Settings: in the registry under HKEY_CURRENT_USER\Software\<key>\<application>\<section>
    // once SetRegistryKey was called, else in the profile file m_pszProfileName.
    void SetRegistryKey(LPCWSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // The standard settings: the recent-file list of nMaxMRU entries (none for 0), read from the
    // profile; ExitInstance writes it back when it changed.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    UINT GetMaxMRU() const { return m_nMaxMRU; }
    // Documents given a path come here (CDocument::SetPathName).
    virtual void AddToRecentFileList(LPCWSTR lpszPathName);
    // Opened keys; the caller closes them with RegCloseKey. Null without a registry key.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCWSTR lpszSection);
    UINT GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue);
    CString GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault = nullptr);
    // A null value removes the entry; a null entry removes the section.
    BOOL WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue);

    // The command line of AfxWinInit, with MFC's rules.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Does what the command line asked: new (the ID_FILE_NEW command), open, register, unregister.
    // FALSE ends the program.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    virtual BOOL Register();
    virtual BOOL Unregister();
    // Document templates: the application owns them (those with m_bAutoDelete are deleted with it).
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& rPosition) const;
    // Opens the file with the template that matches it best (an open document of the same file is
    // activated and returned); null, reported, when no template takes it or the open fails.
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszFileName);
    // Every template's SaveAllModified; FALSE when one was cancelled.
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // ID_FILE_NEW when the application maps it: a new document of the first template.
    afx_msg void OnFileNew();
    // The open-file dialog, then the chosen file opened as a document.
    afx_msg void OnFileOpen();
    // The printer set-up dialog.
    afx_msg void OnFilePrintSetup();
    // Called by the main frame's OnClose before it goes.
    virtual void OnClosingMainFrame(CFrameImpl* pFrameImpl);

    // Help through the main window (HTML help: WinHelp commands are mapped onto it).
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    virtual void HtmlHelp(DWORD_PTR dwData, UINT nCmd = HH_HELP_CONTEXT);
    virtual void WinHelpInternal(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    afx_msg void OnAppExit();
    // The recent files in the menu from ID_FILE_MRU_FILE1 on; choosing one opens it, and a file
    // that does not open leaves the list.
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    afx_msg BOOL OnOpenRecentFile(UINT nID);
    afx_msg void OnHelp();
    afx_msg void OnHelpIndex();
    afx_msg void OnHelpFinder();
    afx_msg void OnHelpUsing();

    // The command-line arguments after the program's name.
    const std::vector<CString>& GetCommandLineArgs() const { return m_args; }

protected:
    void SetStringMember(LPCWSTR& member, LPCWSTR value);
    std::vector<CString> m_args;
    std::vector<CDocTemplate*> m_templateList;
    UINT m_nMaxMRU = 0;

public:
    // Null until LoadStdProfileSettings made it.
    CRecentFileList* m_pRecentFileList = nullptr;

protected:
    friend BOOL AfxWinInit(int argc, char** argv);
    DECLARE_MESSAGE_MAP()
};

// CWinApp of the extended frame classes; closing the main frame comes here.
class CWinAppEx : public CWinApp
{
    DECLARE_DYNAMIC(CWinAppEx)
public:
    explicit CWinAppEx(BOOL bResourceSmartUpdate = FALSE);
    ~CWinAppEx() override;

    void OnClosingMainFrame(CFrameImpl* pFrameImpl) override;

    // The application's managers of the extended framework, made by their Init call.
    BOOL InitContextMenuManager();
    CContextMenuManager* GetContextMenuManager();
    BOOL InitKeyboardManager();
    BOOL IsKeyboardManagerReady() const { return m_bKeyboardManager; }
    BOOL InitTooltipManager();
    CTooltipManager* GetTooltipManager();
    // Called once before the main frame loads its state (its bars): the place to register menus.
    virtual void PreLoadState() {}
    // PreLoadState the first time.
    BOOL LoadState(CFrameImpl* pFrameImpl);

protected:
    std::unique_ptr<CContextMenuManager> m_pContextMenuManager;
    std::unique_ptr<CTooltipManager> m_pTooltipManager;
    BOOL m_bKeyboardManager = FALSE;
    BOOL m_bStateLoaded = FALSE;
    DECLARE_MESSAGE_MAP()
};

// The tooltips of the framework's bars: which control class shows them, per kind of tooltip.
#define AFX_TOOLTIP_TYPE_ALL 0xFFFF
struct CMFCToolTipInfo
{
    BOOL m_bBoldLabel = TRUE;
    BOOL m_bDrawDescription = TRUE;
    BOOL m_bDrawIcon = TRUE;
    BOOL m_bRoundedCorners = FALSE;
    BOOL m_bDrawSeparator = FALSE;
    BOOL m_bVislManagerTheme = FALSE;
};
class CTooltipManager
{
public:
    void SetTooltipParams(UINT nTypes, CRuntimeClass* pRTC = nullptr, CMFCToolTipInfo* pParams = nullptr);
    UINT GetTooltipTypes() const { return m_nTypes; }
    CRuntimeClass* GetTooltipClass() const { return m_pClass; }

private:
    UINT m_nTypes = 0;
    CRuntimeClass* m_pClass = nullptr;
    CMFCToolTipInfo m_params;
};

struct AFX_MODULE_STATE
{
    CWinApp* m_pCurrentWinApp = nullptr;
    LPCWSTR m_lpszCurrentAppName = nullptr;
};

AFX_MODULE_STATE* AfxGetModuleState();
CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
LPCWSTR AfxGetAppName();

// Makes the QApplication when none exists and sets the application object up: instance handle,
// names, help path, profile name and the command line. FALSE without an application object.
BOOL AfxWinInit(int argc, char** argv);
// Undoes AfxWinInit's settings of the loop (a later Run starts afresh).
void AfxWinTerm();
// InitInstance, Run, ExitInstance; returns the exit code (that of ExitInstance when InitInstance
// fails).
int AfxWinMain(int argc, char** argv);
