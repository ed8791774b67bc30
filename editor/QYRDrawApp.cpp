#include "editor/QYRDrawApp.h"

#include "com/ComBase.h"
#include "editor/ChildFrames.h"
#include "editor/DocTemplates.h"
#include "editor/DrawMainFrame.h"
#include "editor/FOFileTypeAccess.h"
#include "editor/PlexdraftDoc.h"
#include "editor/PlexdraftView.h"
#include "editor/ProjectCommands.h"
#include "editor/ProjectFrame.h"
#include "editor/SampleDoc.h"
#include "editor/SampleView.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FOPVisualProxy.h"
#include "foundation/ProjectArgument.h"
#include "foundation/StdioFileEx.h"
#include "mfc/CmdUI.h"
#include "mfc/Document.h"
#include "mfc/FrameWnd.h"
#include "mfc/ModalHook.h"
#include "mfc/RecentFileList.h"
#include "mfc/WaitCursor.h"
#include "model/WorkSpaceObj.h"
#include "symbols/AboutDlg.h"
#include "symbols/NewVisualProxy.h"

#include "win32/Files.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace
{
constexpr UINT kMainFrameResource = 128;
constexpr UINT IDR_SCREENTYPE = 106;
constexpr UINT IDR_SCRIPTTYPE = 8;
constexpr UINT ID_VIEW_LANGUAGE = 30111;
constexpr UINT kPrintDirect = 57608;
const wchar_t* const kLastProjectFile = L"main.dat";
const wchar_t* const kDocClass = L"XVKDraw.Document";

CString TrimLower(const CString& strText)
{
    CString s = strText;
    s.Trim();
    s.MakeLower();
    return s;
}

// The last four characters, lower-cased.
CString Tail4(const CString& strText)
{
    CString s = strText.Right(4);
    s.MakeLower();
    return s;
}
} // namespace

CQYRDrawApp* AfxGetDrawApp()
{
    return dynamic_cast<CQYRDrawApp*>(AfxGetApp());
}

BEGIN_MESSAGE_MAP(CQYRDrawApp, CPlexdraftApp)
ON_COMMAND(ID_APP_ABOUT, &CQYRDrawApp::OnAppAbout)
ON_COMMAND(ID_VIEW_LANGUAGE, &ROzazeRir::OnViewLanguage)
ON_UPDATE_COMMAND_UI(ID_VIEW_LANGUAGE, &ROzazeRir::OnUpdateViewLanguage)
ON_COMMAND(ID_FILE_MRU_FILE1, &CQYRDrawApp::OnRecentFile1)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, &CQYRDrawApp::OnUpdateRecentFile1)
// The project commands.
ON_COMMAND(ID_PROJECT_NEW, &CQYRDrawApp::OnNewProject)
ON_COMMAND(ID_PROJECT_OPEN, &CQYRDrawApp::OnOpenProject)
ON_COMMAND(ID_PROJECT_SAVE, &CQYRDrawApp::OnSaveProject)
ON_UPDATE_COMMAND_UI(ID_PROJECT_SAVE, &CQYRDrawApp::OnUpdateProjectLoaded)
ON_COMMAND(ID_PROJECT_CLOSE, &CQYRDrawApp::OnCloseProject)
ON_UPDATE_COMMAND_UI(ID_PROJECT_CLOSE, &CQYRDrawApp::OnUpdateProjectLoaded)
ON_COMMAND(ID_PROJECT_SAVE_ALL, &CQYRDrawApp::OnSaveAll)
ON_UPDATE_COMMAND_UI(ID_PROJECT_SAVE_ALL, &CQYRDrawApp::OnUpdateSaveAll)
ON_COMMAND(ID_PROJECT_SETTINGS, &CQYRDrawApp::OnProjectSettings)
ON_UPDATE_COMMAND_UI(ID_PROJECT_SETTINGS, &CQYRDrawApp::OnUpdateProjectLoaded)
ON_COMMAND(ID_PARAMETER_MANAGER, &CQYRDrawApp::OnParameterManager)
ON_UPDATE_COMMAND_UI(ID_PARAMETER_MANAGER, &CQYRDrawApp::OnUpdateProjectLoaded)
ON_COMMAND(ID_PROJECT_SAVE_TEMPLATE, &CQYRDrawApp::OnSaveAsTemplate)
ON_UPDATE_COMMAND_UI(ID_PROJECT_SAVE_TEMPLATE, &CQYRDrawApp::OnUpdateProjectLoaded)
ON_COMMAND(ID_PROJECT_TEST_SAMPLE, &CQYRDrawApp::OnTestSampleProject)
ON_COMMAND(ID_PROJECT_NEW_SCREEN_FILE, &CQYRDrawApp::OnNewScreenFile)
ON_COMMAND(ID_PROJECT_NEW_SCRIPT_FILE, &CQYRDrawApp::OnNewScriptFile)
ON_COMMAND(ID_PROJECT_OPEN_FILE, &CQYRDrawApp::OnOpenFile)
ON_COMMAND(ID_PROJECT_RUN, &CQYRDrawApp::OnProjectRun)
ON_UPDATE_COMMAND_UI(ID_PROJECT_RUN, &CQYRDrawApp::OnUpdateProjectLoaded)
ON_COMMAND(ID_PROJECT_BUILD, &CQYRDrawApp::OnProjectBuild)
ON_UPDATE_COMMAND_UI(ID_PROJECT_BUILD, &CQYRDrawApp::OnUpdateProjectLoaded)
END_MESSAGE_MAP()

CQYRDrawApp::CQYRDrawApp()
{
    m_strBuildFolder.Empty();
    m_strBuildProgram.Format(L"QYRView%s.exe", L"U");
    m_strProjectFolder.Empty();
}

CQYRDrawApp::~CQYRDrawApp() = default;

CFrameWnd* CQYRDrawApp::CreateMainFrame()
{
    return new CDrawMainFrame;
}

void CQYRDrawApp::SetNoDefaultPorts(BOOL bOn)
{
    m_bHideDefaultPorts = bOn ? 1 : 0;
    CNewVisualProxy::SetNoDefaultPorts(m_bHideDefaultPorts);
}

CDocTemplate* CQYRDrawApp::GetScreenTemplate()
{
    return m_pScreenTemplate;
}

CDocTemplate* CQYRDrawApp::GetScriptTemplate()
{
    return m_pScriptTemplate;
}

BOOL CQYRDrawApp::InitInstance()
{
    if (!CPlexdraftApp::InitInstance())
        return FALSE;

    // The screen file type, and the program that opens it.
    const CString program = GetProgramFolder() + L"QYRDraw";
    const CString openCommand = L"\"" + program + L"\" \"%1\"";
    {
        CFOFileTypeAccess fileType;
        fileType.m_strExtension = L"xdg";
        fileType.m_strOpenCommand = openCommand;
        fileType.m_strCommand2 = openCommand;
        fileType.m_strDocClassName = kDocClass;
        fileType.m_strDefaultIcon = program + L",0";
        fileType.RegisterAll();
    }

    CWaitCursor wait;
    CString appName;
    if (appName.LoadString(kMainFrameResource))
    {
        std::free(const_cast<LPWSTR>(m_pszAppName));
        m_pszAppName = wcsdup(appName);
    }
    if (FAILED(OleInitialize(nullptr)))
        return FALSE;

    LoadRecentProjects();

    FO_GLOBAL::InitGUIType(1);
    FOInit(RUNTIME_CLASS(CNewVisualProxy), 1);
    SetNoDefaultPorts(m_bHideDefaultPorts);
    FOEnableXPStyle(TRUE);

    SetRegistryKey(L"Quendrel");
    LoadStdProfileSettings(4);

    m_pScreenTemplate = new CMultiDocTemplateEx(IDR_SCREENTYPE, RUNTIME_CLASS(CQYRDrawDoc),
                                                RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CQYRDrawView));
    m_pScriptTemplate = new CFOZeroDocTemplate(IDR_SCRIPTTYPE, RUNTIME_CLASS(CSampleDoc),
                                               RUNTIME_CLASS(CCodeChildFrame), RUNTIME_CLASS(CSampleView));
    AddDocTemplate(m_pScreenTemplate);
    AddDocTemplate(m_pScriptTemplate);

    CFrameWnd* pMainFrame = CreateMainFrame();
    if (!pMainFrame || !pMainFrame->LoadFrame(kMainFrameResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE))
    {
        delete pMainFrame;
        return FALSE;
    }
    m_pMainWnd = pMainFrame;
    if (HICON icon = LoadIcon(kMainFrameResource))
    {
        pMainFrame->SetIcon(icon, TRUE);
        pMainFrame->SetIcon(icon, FALSE);
    }

    // ".xdg", ".dcp" and ".uscp" open with the editor.
    CFOFileTypeAccess::AssociateExtensions(kDocClass, {L"xdg", L"dcp", L"uscp"}, openCommand);

    m_pMainWnd->ShowWindow(SW_HIDE);
    ParseCommandLine(*m_pCmdInfo);
    if (!m_pMainWnd)
        return FALSE;
    m_pMainWnd->ShowWindow(m_nCmdShow == SW_MINIMIZE || m_nCmdShow == SW_SHOWMINIMIZED ? SW_SHOWNORMAL
                                                                                       : SW_SHOW);
    m_pMainWnd->UpdateWindow();

    CString text = m_lpCmdLine ? m_lpCmdLine : L"";
    BOOL bPrint = FALSE;
    switch (m_pCmdInfo->m_nShellCommand)
    {
    case CCommandLineInfo::FileDDE:
        m_pCmdInfo->m_nShellCommand = CCommandLineInfo::FileNothing;
        break;
    case CCommandLineInfo::FilePrint:
        bPrint = TRUE;
        break;
    case CCommandLineInfo::AppUnregister:
        break;
    default:
        m_pCmdInfo->m_nShellCommand = CCommandLineInfo::FileNew;
        break;
    }
    if (text.IsEmpty() && ReadLastProject())
        text = GetProjectFolder() + m_strProjectFile;
    OpenCommandLineText(text);

    if (bPrint && m_pMainWnd)
    {
        m_pMainWnd->SendMessage(WM_COMMAND, kPrintDirect, 0);
        m_pMainWnd->PostMessage(WM_CLOSE, 0, 0);
    }
    return TRUE;
}

void CQYRDrawApp::OpenCommandLineText(CString strText)
{
    if (strText.Left(1) == L"\"")
        strText = strText.Mid(1);
    if (strText.Right(1) == L"\"")
        strText = strText.Left(strText.GetLength() - 1);
    strText.MakeLower();
    if (strText.IsEmpty())
        return;
    const CString tail = Tail4(strText);
    if (tail == L".dcp")
    {
        if (TrimLower(GetFileExtension(strText)) == L"dcp" && OpenProject(strText, FALSE))
        {
            WriteLastProject();
        }
        else
        {
            // A project named but not opened must not look loaded.
            ClearProjectPath();
            RefreshProjectView();
        }
    }
    else if (tail == L".xdg")
    {
        if (m_pScreenTemplate)
            m_pScreenTemplate->OpenDocumentFile(strText, TRUE);
    }
    else if (strText.Right(5) == L".uscp")
    {
        if (m_pScriptTemplate)
            m_pScriptTemplate->OpenDocumentFile(strText, TRUE);
    }
    else
    {
        OpenDocumentFile(strText);
    }
}

int CQYRDrawApp::ExitInstance()
{
    if (CWorkSpaceObj* ws = GetWorkSpace())
    {
        ws->ClearAllParam();
        ws->ClearAllDbp();
        CloseAllDocuments(TRUE);
    }
    return CPlexdraftApp::ExitInstance();
}

CDocument* CQYRDrawApp::OpenDocumentFile(LPCWSTR lpszFileName)
{
    const CString path = lpszFileName ? lpszFileName : L"";
    const CString ext = TrimLower(GetFileExtension(path));
    if (ext == L"dcp")
    {
        if (IsDifferentProject(path) && OpenProject(path, TRUE))
            WriteLastProject();
        return nullptr;
    }
    if (ext == L"xdg")
        return CPlexdraftApp::OpenDocumentFile(path);
    if (ext == L"uscp")
        return m_pScriptTemplate ? m_pScriptTemplate->OpenDocumentFile(path, TRUE) : nullptr;
    return nullptr;
}

// --- Projects --------------------------------------------------------------------------------------

BOOL CQYRDrawApp::ParseProjectArgument(const CString& strArgument)
{
    CString folder;
    CString file;
    if (!CProjectArgument::Parse(strArgument, GetUserFolder(), folder, file))
        return FALSE;
    SetProjectFolder(folder);
    SetProjectFileName(file);
    return TRUE;
}

void CQYRDrawApp::CloseAllProjectDocuments()
{
    if (CWorkSpaceObj* ws = GetWorkSpace())
    {
        ws->ClearAllParam();
        ws->ClearAllDbp();
    }
    CloseAllDocuments(FALSE);
}

BOOL CQYRDrawApp::OpenProject(LPCWSTR lpszPath, BOOL bSaveCurrent)
{
    const CString strPath = lpszPath ? lpszPath : L"";
    if (!IsFileExist(strPath))
    {
        RemoveRecent(TrimLower(strPath));
        return FALSE;
    }
    return LoadProjectFile(strPath, bSaveCurrent);
}

BOOL CQYRDrawApp::LoadProjectFile(CString strPath, BOOL bSaveCurrent)
{
    CWorkSpaceObj* ws = GetWorkSpace();
    if (!ws)
        return FALSE;
    // What is not saved stays open, and so does its project.
    if (bSaveCurrent && (!SaveAllDocuments() || (IsProjectLoaded() && !SaveWorkSpace())))
        return FALSE;
    CloseAllProjectDocuments();
    if (!ws->OpenDocument(strPath))
    {
        RemoveRecent(TrimLower(strPath));
        // The old project's path must not stay over an emptied workspace, where the next save
        // would overwrite its file.
        ClearProjectPath();
        RefreshProjectView();
        AfxMessageBox(L"Error with opening this project!", MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    SetProjectPath(strPath);
    MoveRecentToHead(strPath, TrimLower(strPath));
    RefreshProjectView();
    return TRUE;
}

BOOL CQYRDrawApp::IsDifferentProject(const CString& strPath) const
{
    const CString folder = TrimLower(GetFolderPart(strPath));
    CString name = GetFileNamePart(strPath);
    const int dot = name.ReverseFind(L'.');
    if (dot >= 0)
        name = name.Left(dot);
    return !(folder == TrimLower(GetProjectFolder()) && TrimLower(name) == TrimLower(GetProjectTitle()));
}

BOOL CQYRDrawApp::IsProjectModified()
{
    if (CWorkSpaceObj* ws = GetWorkSpace(); ws && ws->IsModified())
        return TRUE;
    for (CDocTemplate* pTemplate :
         {static_cast<CDocTemplate*>(m_pScreenTemplate), static_cast<CDocTemplate*>(m_pScriptTemplate)})
    {
        if (!pTemplate)
            continue;
        for (POSITION pos = pTemplate->GetFirstDocPosition(); pos;)
            if (pTemplate->GetNextDoc(pos)->IsModified())
                return TRUE;
    }
    return FALSE;
}

BOOL CQYRDrawApp::SaveAllDocuments()
{
    for (POSITION tpos = GetFirstDocTemplatePosition(); tpos;)
    {
        CDocTemplate* pTemplate = GetNextDocTemplate(tpos);
        std::vector<CDocument*> docs;
        for (POSITION pos = pTemplate->GetFirstDocPosition(); pos;)
            docs.push_back(pTemplate->GetNextDoc(pos));
        for (CDocument* pDoc : docs)
        {
            if (!pDoc->IsModified())
                continue;
            if (!pDoc->DoSave(pDoc->GetPathName().IsEmpty() ? nullptr
                                                            : static_cast<LPCWSTR>(pDoc->GetPathName())))
                return FALSE;
            pDoc->SetModifiedFlag(FALSE);
        }
    }
    return TRUE;
}

BOOL CQYRDrawApp::ReadLastProject(BOOL bSharedRead)
{
    if (!m_strProjectFile.IsEmpty())
        return ParseProjectArgument(m_strProjectFile);
    const CString last = ReadLastLine(GetLastProjectFile(), bSharedRead);
    return last.IsEmpty() ? FALSE : ParseProjectArgument(last);
}

CString CQYRDrawApp::ReadLastLine(const CString& strPath, BOOL bSharedRead)
{
    CStdioFileEx file;
    // Read only: an install the user cannot write to still names its last project.
    const UINT flags = CFile::modeRead | (bSharedRead ? CFile::shareDenyNone : CFile::shareDenyWrite);
    if (!file.Open(strPath, flags | CFile::typeText | CStdioFileEx::modeWriteUnicode))
        return CString();
    CString last;
    try
    {
        CString line;
        while (file.ReadString(line))
            if (!line.IsEmpty())
                last = line;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    file.Close();
    return last;
}

CString CQYRDrawApp::GetLastProjectFile() const
{
    return GetProgramFolder() + kLastProjectFile;
}

void CQYRDrawApp::WriteLastProject()
{
    if (!IsProjectLoaded())
        return;
    // A temporary beside it, renamed over it: a failed write leaves the old one whole.
    const CString target = GetLastProjectFile();
    const std::string targetPath = target.ToUtf8();
    Win32RemoveStaleSaveTemps(targetPath);
    const std::string tempPath = Win32SaveTempPath(targetPath);
    CStdioFileEx file;
    if (!file.Open(CString::FromUtf8(tempPath),
                   CFile::modeCreate | CFile::modeWrite | CFile::typeText | CStdioFileEx::modeWriteUnicode))
        return;
    BOOL written = TRUE;
    try
    {
        file.WriteString(GetProjectFolder() + m_strProjectFile);
        file.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        file.Abort();
        written = FALSE;
    }
    if (!written || std::rename(tempPath.c_str(), targetPath.c_str()) != 0)
        std::remove(tempPath.c_str());
}

void CQYRDrawApp::RefreshProjectView()
{
    if (auto* frame = dynamic_cast<IProjectFrame*>(m_pMainWnd))
        frame->RefreshProjectView();
}

void CQYRDrawApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CQYRDrawApp::OnRecentFile1()
{
    // The newest file opens as the others do.
    OnOpenRecentFile(ID_FILE_MRU_FILE1);
}

void CQYRDrawApp::OnUpdateRecentFile1(CCmdUI* pCmdUI)
{
    const BOOL bAny =
        m_pRecentFileList && m_pRecentFileList->GetSize() > 0 && !(*m_pRecentFileList)[0].IsEmpty();
    if (pCmdUI->m_pSubMenu)
    {
        // The "&Recent Files" entry of the File menu, by its position there.
        pCmdUI->Enable(bAny);
        return;
    }
    CWinApp::OnUpdateRecentFileMenu(pCmdUI);
}
