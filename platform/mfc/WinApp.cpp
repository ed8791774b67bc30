#include "mfc/WinApp.h"

#include "mfc/OleServer.h"

#include "mfc/CommandIcons.h"
#include "mfc/CommandLine.h"
#include "mfc/DocPrivate.h"
#include "mfc/DocTemplate.h"
#include "mfc/Document.h"
#include "mfc/Gdi.h"
#include "mfc/View.h"
#include "mfc/ModalHook.h"
#include "mfc/RecentFileList.h"
#include "mfc/ResourceModule.h"
#include "mfc/Wnd.h"
#include "mfc/WndPrivate.h"
#include "win32/Files.h"
#include "win32/Profile.h"
#include "win32/Registry.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <memory>

namespace
{
AFX_MODULE_STATE g_moduleState;
std::atomic<bool> g_bQuit{false};
std::atomic<int> g_nExitCode{0};

LPCWSTR Dup(LPCWSTR s)
{
    if (!s)
        return nullptr;
    const size_t n = std::wcslen(s);
    auto* p = static_cast<wchar_t*>(std::malloc((n + 1) * sizeof(wchar_t)));
    if (p)
        std::wmemcpy(p, s, n + 1);
    return p;
}

void Free(LPCWSTR& s)
{
    std::free(const_cast<wchar_t*>(s));
    s = nullptr;
}

CString ConfigFolder()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return CString::FromUtf8(xdg);
    if (const char* home = std::getenv("HOME"); home && *home)
        return CString::FromUtf8(home) + L"/.config";
    return CString(L".");
}

// The profile file's folder may not exist yet on a fresh account.
void EnsureFolderOf(LPCWSTR lpszFile)
{
    if (!lpszFile)
        return;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(CString(lpszFile).ToUtf8()).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
}

// Removes a key with everything under it.
LONG DeleteTree(HKEY hParent, LPCWSTR lpSubKey, int depth = 0)
{
    HKEY hKey = nullptr;
    LONG rc = RegOpenKeyExW(hParent, lpSubKey, 0, KEY_ALL_ACCESS, &hKey);
    if (rc != ERROR_SUCCESS)
        return rc;
    if (depth < 64)
    {
        for (;;)
        {
            wchar_t name[256];
            DWORD cch = 256;
            if (RegEnumKeyExW(hKey, 0, name, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            if (DeleteTree(hKey, name, depth + 1) != ERROR_SUCCESS)
                break;
        }
    }
    RegCloseKey(hKey);
    return RegDeleteKeyW(hParent, lpSubKey);
}
} // namespace

AFX_MODULE_STATE* AfxGetModuleState()
{
    return &g_moduleState;
}
CWinApp* AfxGetApp()
{
    return g_moduleState.m_pCurrentWinApp;
}
CWinThread* AfxGetThread()
{
    return g_moduleState.m_pCurrentWinApp;
}

CWnd* AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->GetMainWnd() : nullptr;
}

LPCWSTR AfxGetAppName()
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->m_pszAppName : nullptr;
}

void PostQuitMessage(int nExitCode)
{
    AfxPostQuitMessage(nExitCode);
}

void AfxPostQuitMessage(int nExitCode)
{
    g_nExitCode = nExitCode;
    g_bQuit = true;
    if (QCoreApplication* app = QCoreApplication::instance())
    {
        if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance(app->thread()))
            d->wakeUp();
    }
}

// --- CWinThread ------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::CWinThread() = default;
CWinThread::~CWinThread() = default;

BOOL CWinThread::InitInstance()
{
    return FALSE;
}
int CWinThread::ExitInstance()
{
    return g_nExitCode;
}
CWnd* CWinThread::GetMainWnd()
{
    return m_pMainWnd;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    CWnd* pMainWnd = GetMainWnd();
    return CWnd::WalkPreTranslateTree(pMainWnd ? pMainWnd->m_hWnd : nullptr, pMsg);
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0)
    {
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible())
        {
            const HWND h = pMainWnd->m_hWnd;
            AfxCallWndProc(pMainWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            if (CWnd* again = CWnd::FromHandlePermanent(h))
                again->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
    }
    return lCount == 0;
}

int CWinThread::Run()
{
    if (!AfxEnsureApplication())
        return ExitInstance();
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    while (!g_bQuit)
    {
        const unsigned long before = AfxQtEntry::MessageSerial();
        if (bIdle)
        {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (g_bQuit)
                break;
            if (AfxQtEntry::MessageSerial() != before)
            {
                lIdleCount = 0;
                continue;
            }
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        else
        {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (AfxQtEntry::MessageSerial() != before)
            {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        }
    }
    g_bQuit = false;
    return ExitInstance();
}

// --- CWinApp ---------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, &CWinApp::OnUpdateRecentFileMenu)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, &CWinApp::OnOpenRecentFile)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCWSTR lpszAppName)
{
    m_pszAppName = Dup(lpszAppName);
    g_moduleState.m_pCurrentWinApp = this;
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* pTemplate : m_templateList)
    {
        if (pTemplate->m_bAutoDelete)
            delete pTemplate;
    }
    m_templateList.clear();
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (g_moduleState.m_pCurrentWinApp == this)
    {
        g_moduleState.m_pCurrentWinApp = nullptr;
        g_moduleState.m_lpszCurrentAppName = nullptr;
    }
    Free(m_pszAppName);
    Free(m_pszExeName);
    Free(m_pszHelpFilePath);
    Free(m_pszProfileName);
    Free(m_pszRegistryKey);
    std::free(m_lpCmdLine);
    m_lpCmdLine = nullptr;
}

void CWinApp::SetStringMember(LPCWSTR& member, LPCWSTR value)
{
    LPCWSTR copy = Dup(value);
    Free(member);
    member = copy;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}
BOOL CWinApp::InitInstance()
{
    return TRUE;
}
int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return CWinThread::ExitInstance();
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_nMaxMRU = nMaxMRU;
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0)
        return;
    m_pRecentFileList = new CRecentFileList(0, L"Recent File List", L"File%d", int(std::min(nMaxMRU, 16u)));
    m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings()
{
    // Written only when documents changed it, so a program that never kept a file writes nothing.
    if (m_pRecentFileList && m_pRecentFileList->IsChanged())
        m_pRecentFileList->WriteList();
}

void CWinApp::AddToRecentFileList(LPCWSTR lpszPathName)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(lpszPathName);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (m_pRecentFileList)
        m_pRecentFileList->UpdateMenu(pCmdUI);
    else
        pCmdUI->Enable(FALSE);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    const int n = int(nID) - ID_FILE_MRU_FILE1;
    if (!m_pRecentFileList || n < 0 || n >= m_pRecentFileList->GetSize())
        return FALSE;
    const CString path = (*m_pRecentFileList)[n];
    if (path.IsEmpty())
        return FALSE;
    if (!OpenDocumentFile(path))
        m_pRecentFileList->Remove(n);
    return TRUE;
}
int CWinApp::Run()
{
    return CWinThread::Run();
}
BOOL CWinApp::OnIdle(LONG lCount)
{
    return CWinThread::OnIdle(lCount);
}
BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    return CWinThread::PreTranslateMessage(pMsg);
}

int CWinApp::DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
    CWnd* pParent = GetMainWnd();
    if (pParent && !pParent->IsWindowVisible())
        pParent = nullptr;
    return AfxShowMessageBox(pParent, lpszPrompt, m_pszAppName ? m_pszAppName : L"", nType, nIDPrompt);
}

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey)
{
    SetStringMember(m_pszRegistryKey, lpszRegistryKey);
    SetStringMember(m_pszProfileName, m_pszAppName ? m_pszAppName : m_pszExeName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (!m_pszRegistryKey || !*m_pszRegistryKey || !m_pszProfileName || !*m_pszProfileName)
        return nullptr;
    const CString path = CString(L"Software\\") + m_pszRegistryKey + L"\\" + m_pszProfileName;
    HKEY hKey = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &hKey, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

HKEY CWinApp::GetSectionKey(LPCWSTR lpszSection)
{
    if (!lpszSection || !*lpszSection)
        return nullptr;
    HKEY hApp = GetAppRegistryKey();
    if (!hApp)
        return nullptr;
    HKEY hSection = nullptr;
    DWORD disposition = 0;
    const LONG rc = RegCreateKeyExW(hApp, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                    nullptr, &hSection, &disposition);
    RegCloseKey(hApp);
    return rc == ERROR_SUCCESS ? hSection : nullptr;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return LoadIcon(MAKEINTRESOURCE(nIDResource));
}

HICON CWinApp::LoadIcon(LPCWSTR lpszResourceName) const
{
    return ::LoadIconW(AfxFindResourceHandle(lpszResourceName, RT_ICON), lpszResourceName);
}

UINT CWinApp::GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault)
{
    if (!lpszSection || !lpszEntry)
        return UINT(nDefault);
    if (m_pszRegistryKey)
    {
        HKEY hSection = GetSectionKey(lpszSection);
        if (!hSection)
            return UINT(nDefault);
        DWORD value = 0;
        DWORD type = 0;
        DWORD size = sizeof(value);
        const LONG rc =
            RegQueryValueExW(hSection, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size);
        RegCloseKey(hSection);
        return (rc == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value)) ? UINT(value)
                                                                                   : UINT(nDefault);
    }
    return GetPrivateProfileIntW(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue)
{
    if (!lpszSection || !lpszEntry)
        return FALSE;
    if (m_pszRegistryKey)
    {
        HKEY hSection = GetSectionKey(lpszSection);
        if (!hSection)
            return FALSE;
        const DWORD value = DWORD(nValue);
        const LONG rc = RegSetValueExW(hSection, lpszEntry, 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&value), sizeof(value));
        RegCloseKey(hSection);
        return rc == ERROR_SUCCESS;
    }
    CString text;
    text.Format(L"%d", nValue);
    EnsureFolderOf(m_pszProfileName);
    return WritePrivateProfileStringW(lpszSection, lpszEntry, text, m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault)
{
    const CString fallback = lpszDefault ? lpszDefault : L"";
    if (!lpszSection || !lpszEntry)
        return fallback;
    if (m_pszRegistryKey)
    {
        HKEY hSection = GetSectionKey(lpszSection);
        if (!hSection)
            return fallback;
        DWORD type = 0;
        DWORD size = 0;
        CString result = fallback;
        if (RegQueryValueExW(hSection, lpszEntry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ) && size < (1u << 24))
        {
            std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
            DWORD got = DWORD(buf.size() * sizeof(wchar_t));
            if (RegQueryValueExW(hSection, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(buf.data()),
                                 &got) == ERROR_SUCCESS)
            {
                buf.resize(std::min<size_t>(got / sizeof(wchar_t), buf.size()));
                while (!buf.empty() && buf.back() == L'\0')
                    buf.pop_back();
                result = CString(std::move(buf));
            }
        }
        RegCloseKey(hSection);
        return result;
    }
    std::wstring buf(256, L'\0');
    for (;;)
    {
        const DWORD n = GetPrivateProfileStringW(lpszSection, lpszEntry, fallback, buf.data(),
                                                 DWORD(buf.size()), m_pszProfileName);
        if (n + 1 < buf.size() || buf.size() >= (1u << 20))
        {
            buf.resize(std::min<size_t>(n, buf.size()));
            return CString(std::move(buf));
        }
        buf.assign(buf.size() * 2, L'\0');
    }
}

BOOL CWinApp::WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue)
{
    if (!lpszSection)
        return FALSE;
    if (m_pszRegistryKey)
    {
        if (!lpszEntry)
        {
            HKEY hApp = GetAppRegistryKey();
            if (!hApp)
                return FALSE;
            const LONG rc = DeleteTree(hApp, lpszSection);
            RegCloseKey(hApp);
            return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
        }
        HKEY hSection = GetSectionKey(lpszSection);
        if (!hSection)
            return FALSE;
        LONG rc;
        if (!lpszValue)
        {
            rc = RegDeleteValueW(hSection, lpszEntry);
            if (rc == ERROR_FILE_NOT_FOUND)
                rc = ERROR_SUCCESS;
        }
        else
        {
            const DWORD bytes = DWORD((std::wcslen(lpszValue) + 1) * sizeof(wchar_t));
            rc = RegSetValueExW(hSection, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                                bytes);
        }
        RegCloseKey(hSection);
        return rc == ERROR_SUCCESS;
    }
    EnsureFolderOf(m_pszProfileName);
    return WritePrivateProfileStringW(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    AfxParseCommandLine(rCmdInfo, m_args);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand)
    {
    case CCommandLineInfo::FileNew:
        OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr);
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        if (OpenDocumentFile(rCmdInfo.m_strFileName) && m_pMainWnd)
            m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT);
        return FALSE;
    case CCommandLineInfo::AppRegister:
    {
        // A registration started by a client (embedded) is silent; a person is told the outcome.
        const BOOL bDone = Register();
        if (!rCmdInfo.m_bRunEmbedded)
            AfxMessageBox(bDone ? L"The program was registered." : L"The program could not be registered.",
                          MB_OK | (bDone ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
        return FALSE;
    }
    case CCommandLineInfo::AppUnregister:
    {
        const BOOL bDone = Unregister();
        if (!rCmdInfo.m_bRunEmbedded)
            AfxMessageBox(bDone ? L"The program's registration was removed."
                                : L"The program's registration could not be removed.",
                          MB_OK | (bDone ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
        return FALSE;
    }
    case CCommandLineInfo::FileDDE:
    case CCommandLineInfo::FileNothing:
    default:
        return TRUE;
    }
}

BOOL CWinApp::Register()
{
    return TRUE;
}

BOOL CWinApp::Unregister()
{
    // The automation classes' entries go, then the application's own settings.
    COleObjectFactory::UpdateRegistryAll(FALSE);
    if (!m_pszRegistryKey || !*m_pszRegistryKey || !m_pszProfileName || !*m_pszProfileName)
        return TRUE;
    const CString company = CString(L"Software\\") + m_pszRegistryKey;
    HKEY hCompany = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, company, 0, KEY_ALL_ACCESS, &hCompany) != ERROR_SUCCESS)
        return TRUE;
    const LONG rc = DeleteTree(hCompany, m_pszProfileName);
    RegCloseKey(hCompany);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate &&
        std::find(m_templateList.begin(), m_templateList.end(), pTemplate) == m_templateList.end())
        m_templateList.push_back(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return AfxVectorHeadPosition(m_templateList);
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& rPosition) const
{
    return AfxVectorGetNext(m_templateList, rPosition);
}

CDocument* CWinApp::OpenDocumentFile(LPCWSTR lpszFileName)
{
    // Without templates there is nothing to open documents with (and nothing to report).
    if (!lpszFileName || !*lpszFileName || m_templateList.empty())
        return nullptr;
    CDocTemplate* pBest = nullptr;
    CDocument* pOpen = nullptr;
    CDocTemplate::Confidence best = CDocTemplate::noAttempt;
    for (CDocTemplate* pTemplate : m_templateList)
    {
        CDocument* pMatch = nullptr;
        const CDocTemplate::Confidence match = pTemplate->MatchDocType(lpszFileName, pMatch);
        if (match > best)
        {
            best = match;
            pBest = pTemplate;
            pOpen = pMatch;
        }
        if (match == CDocTemplate::yesAlreadyOpen)
            break;
    }
    if (pOpen)
    {
        // Already open: bring its frame forward.
        POSITION pos = pOpen->GetFirstViewPosition();
        if (CView* pView = pOpen->GetNextView(pos))
        {
            if (CFrameWnd* pFrame = pView->GetParentFrame())
                pFrame->ActivateFrame();
        }
        return pOpen;
    }
    if (!pBest)
    {
        AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC);
        return nullptr;
    }
    return pBest->OpenDocumentFile(lpszFileName);
}

BOOL CWinApp::SaveAllModified()
{
    for (CDocTemplate* pTemplate : m_templateList)
    {
        if (!pTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (CDocTemplate* pTemplate : m_templateList)
        pTemplate->CloseAllDocuments(bEndSession);
}

void CWinApp::OnFileNew()
{
    if (!m_templateList.empty())
        m_templateList.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    AfxModalRequest request;
    request.kind = AfxModalKind::FileDialog;
    request.bOpenFileDialog = TRUE;
    CString path;
    int answer = IDCANCEL;
    if (AfxCallModalHook(request, answer))
    {
        if (answer != IDOK || request.paths.empty())
            return;
        path = request.paths.front();
    }
    else
    {
        const QString chosen = QFileDialog::getOpenFileName(nullptr);
        if (chosen.isEmpty())
            return;
        path = CString::FromUtf8(chosen.toStdString());
    }
    OpenDocumentFile(path);
}

void CWinApp::OnFilePrintSetup()
{
    AfxModalRequest request;
    request.kind = AfxModalKind::PrintDialog;
    int answer = IDCANCEL;
    if (AfxCallModalHook(request, answer))
        return;
    QPrinter printer;
    QPrintDialog dialog(&printer);
    dialog.exec();
}

void CWinApp::OnClosingMainFrame(CFrameImpl*) {}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->WinHelp(dwData, nCmd);
    else
        AfxShowHelp(nullptr, m_pszHelpFilePath, nCmd == HELP_FINDER ? HH_HELP_FINDER : nCmd, dwData);
}

void CWinApp::HtmlHelp(DWORD_PTR dwData, UINT nCmd)
{
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->HtmlHelp(dwData, nCmd);
    else
        AfxShowHelp(nullptr, m_pszHelpFilePath, nCmd, dwData);
}

void CWinApp::WinHelpInternal(DWORD_PTR dwData, UINT nCmd)
{
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->WinHelpInternal(dwData, nCmd);
    else
        AfxShowHelp(nullptr, m_pszHelpFilePath, nCmd == HELP_FINDER ? HH_HELP_FINDER : nCmd, dwData);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnHelp()
{
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->OnHelp();
    else
        WinHelpInternal(0, HELP_FINDER);
}

void CWinApp::OnHelpIndex()
{
    WinHelpInternal(0, HELP_INDEX);
}
void CWinApp::OnHelpFinder()
{
    WinHelpInternal(0, HELP_FINDER);
}
void CWinApp::OnHelpUsing()
{
    WinHelpInternal(0, HELP_HELPONHELP);
}

// --- CWinAppEx -------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinAppEx, CWinApp)

BEGIN_MESSAGE_MAP(CWinAppEx, CWinApp)
END_MESSAGE_MAP()

CWinAppEx::CWinAppEx(BOOL) {}
CWinAppEx::~CWinAppEx() = default;

BOOL CWinAppEx::InitContextMenuManager()
{
    if (!m_pContextMenuManager)
        m_pContextMenuManager = std::make_unique<CContextMenuManager>();
    return TRUE;
}

CContextMenuManager* CWinAppEx::GetContextMenuManager()
{
    InitContextMenuManager();
    return m_pContextMenuManager.get();
}

BOOL CWinAppEx::InitKeyboardManager()
{
    m_bKeyboardManager = TRUE;
    return TRUE;
}

BOOL CWinAppEx::InitTooltipManager()
{
    if (!m_pTooltipManager)
        m_pTooltipManager = std::make_unique<CTooltipManager>();
    return TRUE;
}

CTooltipManager* CWinAppEx::GetTooltipManager()
{
    return m_pTooltipManager.get();
}

BOOL CWinAppEx::LoadState(CFrameImpl*)
{
    if (!m_bStateLoaded)
    {
        m_bStateLoaded = TRUE;
        PreLoadState();
    }
    return TRUE;
}

void CTooltipManager::SetTooltipParams(UINT nTypes, CRuntimeClass* pRTC, CMFCToolTipInfo* pParams)
{
    m_nTypes = nTypes;
    m_pClass = pRTC;
    if (pParams)
        m_params = *pParams;
}

void CWinAppEx::OnClosingMainFrame(CFrameImpl* pFrameImpl)
{
    CWinApp::OnClosingMainFrame(pFrameImpl);
}

// --- Start and end ---------------------------------------------------------------------------------

BOOL AfxWinInit(int argc, char** argv)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !AfxEnsureApplication())
        return FALSE;
    // The program made the application object itself: its icons look for the desktop's theme now.
    AfxInitIconTheme();
    g_bQuit = false;
    g_nExitCode = 0;

    wchar_t path[4096];
    const DWORD n = GetModuleFileNameW(nullptr, path, 4096);
    CString exePath = (n > 0 && n < 4096) ? CString(path, int(n)) : CString(L"program");
    const int slash = exePath.ReverseFind(L'/');
    const CString folder = slash >= 0 ? exePath.Left(slash + 1) : CString();
    CString exeName = slash >= 0 ? exePath.Mid(slash + 1) : exePath;
    if (exeName.GetLength() > 4 && exeName.Right(4).CompareNoCase(L".exe") == 0)
        exeName = exeName.Left(exeName.GetLength() - 4);

    if (!pApp->m_pszExeName)
        pApp->SetStringMember(pApp->m_pszExeName, exeName);
    if (!pApp->m_pszHelpFilePath)
        pApp->SetStringMember(pApp->m_pszHelpFilePath, folder + exeName + L".CHM");
    pApp->m_hInstance = AfxGetInstanceHandle();
    if (!pApp->m_pszAppName)
    {
        CString title;
        if (title.LoadString(AFX_IDS_APP_TITLE) && !title.IsEmpty())
            pApp->SetStringMember(pApp->m_pszAppName, title);
        else
            pApp->SetStringMember(pApp->m_pszAppName, exeName);
    }
    if (!pApp->m_pszProfileName)
        pApp->SetStringMember(pApp->m_pszProfileName, ConfigFolder() + L"/" + exeName + L".INI");
    g_moduleState.m_lpszCurrentAppName = pApp->m_pszAppName;

    pApp->m_args.clear();
    CString line;
    for (int i = 1; i < argc && argv && argv[i]; ++i)
    {
        pApp->m_args.push_back(CString::FromUtf8(argv[i]));
        if (i > 1)
            line += L' ';
        line += pApp->m_args.back();
    }
    std::free(pApp->m_lpCmdLine);
    pApp->m_lpCmdLine = const_cast<LPWSTR>(Dup(line));
    return pApp->InitApplication();
}

void AfxWinTerm()
{
    g_bQuit = false;
    g_nExitCode = 0;
}

int AfxWinMain(int argc, char** argv)
{
    std::unique_ptr<QApplication> ownApp;
    if (!QCoreApplication::instance())
    {
        ownApp = std::make_unique<QApplication>(argc, argv);
        ownApp->setQuitOnLastWindowClosed(false);
    }
    int code = -1;
    if (AfxWinInit(argc, argv))
    {
        CWinApp* pApp = AfxGetApp();
        if (!pApp->InitInstance())
        {
            if (pApp->m_pMainWnd && pApp->m_pMainWnd->m_hWnd)
                pApp->m_pMainWnd->DestroyWindow();
            code = pApp->ExitInstance();
        }
        else
            code = pApp->Run();
    }
    AfxWinTerm();
    // Windows still open go before Qt does.
    for (HWND h : AfxAllWindows())
    {
        QWidget* w = AfxWidgetFromHandle(h);
        if (w && w->isWindow() && !AfxWindowAtOrAbove(w->parentWidget()))
            ::DestroyWindow(h);
    }
    AfxPumpMessages();
    return code;
}
