// The editor application's project commands: new, open, save and close a project, its settings,
// variables and template, the sample project, new and opened files, Run and Build.
#include "editor/ProjectCommands.h"

#include "editor/DocTemplates.h"
#include "editor/NewProjectWizard.h"
#include "editor/ParamManager.h"
#include "editor/ProjectDialogs.h"
#include "editor/ProjectServices.h"
#include "editor/QYRDrawApp.h"
#include "mfc/CmdUI.h"
#include "mfc/DocTemplate.h"
#include "mfc/Document.h"
#include "mfc/FrameWnd.h"
#include "mfc/ModalHook.h"
#include "mfc/WaitCursor.h"
#include "model/WorkSpaceObj.h"

#include <QFileDialog>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <vector>

namespace
{
CString TrimLower(const CString& strText)
{
    CString s = strText;
    s.Trim();
    s.MakeLower();
    return s;
}

// The files chosen in an open-file box with an MFC-style filter ("text|patterns|...||"); empty when
// cancelled.
std::vector<CString> ChooseFiles(CWnd* pParent, const CString& strFilter, BOOL bMultiple)
{
    AfxModalRequest request;
    request.kind = AfxModalKind::FileDialog;
    request.pParent = pParent;
    request.bOpenFileDialog = TRUE;
    request.strFilter = strFilter;
    int answer = IDCANCEL;
    if (AfxCallModalHook(request, answer))
    {
        if (answer != IDOK)
            return {};
        if (!bMultiple && request.paths.size() > 1)
            request.paths.resize(1);
        return request.paths;
    }
    // "Text|*.a;*.b|" pairs become Qt's "Text (*.a *.b);;" list.
    const QStringList parts = QString::fromWCharArray(strFilter.GetString()).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i].isEmpty())
            filters << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    std::vector<CString> chosen;
    if (bMultiple)
        for (const QString& f :
             QFileDialog::getOpenFileNames(nullptr, QString(), QString(), filters.join(";;")))
            chosen.emplace_back(f.toStdWString().c_str());
    else if (const QString f =
                 QFileDialog::getOpenFileName(nullptr, QString(), QString(), filters.join(";;"));
             !f.isEmpty())
        chosen.emplace_back(f.toStdWString().c_str());
    return chosen;
}
} // namespace

// --- New, open, save, close ----------------------------------------------------------------------------

BOOL CQYRDrawApp::CloseCurrentProject()
{
    CWorkSpaceObj* ws = GetWorkSpace();
    if (ws && !m_strProjectFile.IsEmpty() && IsProjectLoaded() && !SaveWorkSpace())
        return FALSE;
    CloseAllProjectDocuments();
    ClearProjectPath();
    RefreshProjectView();
    return TRUE;
}

BOOL CQYRDrawApp::SaveWorkSpace()
{
    CWorkSpaceObj* ws = GetWorkSpace();
    if (!ws || !IsProjectLoaded())
        return FALSE;
    const CString path = GetProjectFilePath();
    if (!ws->SaveDocument(path))
        return FALSE;
    MoveRecentToHead(TrimLower(path), TrimLower(path));
    return TRUE;
}

void CQYRDrawApp::OnNewProject()
{
    CNewProjectWizard wizard(GetTemplateFolder(), GetUserFolder(), m_pMainWnd);
    if (!wizard.Run())
        return;
    const CNewProjectValues v = wizard.Values();
    CWorkSpaceObj* ws = GetWorkSpace();
    if (!ws)
        return;
    CString error;
    const BOOL fromTemplate = v.nTemplateKind == NEW_PROJECT_TEMPLATE && !v.strTemplate.IsEmpty();
    // A template that cannot be read is told before the open project is closed.
    if (fromTemplate && !CProjectCreator::CheckTemplate(v, GetTemplateFolder(), error))
    {
        AfxMessageBox(error, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // The open screens' edits are kept, as opening another project keeps them; what cannot be
    // saved keeps the old project open.
    if (!SaveAllDocuments() || !CloseCurrentProject())
        return;

    BOOL made = FALSE;
    {
        CWaitCursor wait;
        made = fromTemplate ? CProjectCreator::CreateFromTemplate(*ws, v, GetTemplateFolder(), error)
                            : CProjectCreator::CreateEmpty(*ws, v, error);
    }
    if (!made)
    {
        // The workspace may hold half of a project that is not there: nothing of it stays.
        CloseAllProjectDocuments();
        RefreshProjectView();
        AfxMessageBox(error.IsEmpty() ? CString(L"Failed to copy the template files?") : error,
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    const CString path = CProjectCreator::ProjectFolder(v) + CProjectCreator::ProjectFile(v);
    CWaitCursor wait;
    if (!OpenProject(path, FALSE))
        return;
    WriteLastProject();
    if (m_pMainWnd)
        m_pMainWnd->SetWindowText(GetProjectTitle() + L" - Plexdraft");
    RefreshProjectView();
}

void CQYRDrawApp::OnOpenProject()
{
    const std::vector<CString> chosen =
        ChooseFiles(m_pMainWnd, L"Quendrel Project Files (.dcp)|*.dcp||", FALSE);
    if (chosen.empty())
        return;
    const CString& path = chosen.front();
    if (IsDifferentProject(path) && TrimLower(GetFileExtension(path)) == L"dcp" && OpenProject(path, TRUE))
        WriteLastProject();
}

void CQYRDrawApp::OnSaveProject()
{
    if (!IsProjectLoaded())
        return;
    if (SaveWorkSpace())
        GetWorkSpace()->SetModified(FALSE);
}

void CQYRDrawApp::OnSaveAll()
{
    SaveAll();
}

BOOL CQYRDrawApp::SaveAll()
{
    if (!SaveAllDocuments())
        return FALSE;
    // The workspace keeps its modified flag (saving it clears it): only Save Project does.
    CWorkSpaceObj* ws = GetWorkSpace();
    const BOOL modified = ws && ws->IsModified();
    if (IsProjectLoaded() && !SaveWorkSpace())
        return FALSE;
    if (ws)
        ws->SetModified(modified);
    return !m_pScreenTemplate || m_pScreenTemplate->SaveAllModified();
}

void CQYRDrawApp::OnCloseProject()
{
    // Yes keeps the project open until everything is saved.
    if (IsProjectModified() &&
        AfxMessageBox(L"Save all modified documents?", MB_YESNO | MB_ICONINFORMATION) == IDYES && !SaveAll())
        return;
    CloseAllProjectDocuments();
    ClearProjectPath();
    RefreshProjectView();
}

void CQYRDrawApp::OnUpdateProjectLoaded(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsProjectLoaded());
}

void CQYRDrawApp::OnUpdateSaveAll(CCmdUI* pCmdUI)
{
    BOOL documents = FALSE;
    for (POSITION tpos = GetFirstDocTemplatePosition(); tpos && !documents;)
        documents = GetNextDocTemplate(tpos)->GetFirstDocPosition() != nullptr;
    pCmdUI->Enable(documents || IsProjectLoaded());
}

// --- Settings, variables, template, sample ------------------------------------------------------------

void CQYRDrawApp::OnProjectSettings()
{
    CWorkSpaceObj* ws = GetWorkSpace();
    if (!ws)
        return;
    CProjectSetDlg dlg(m_pMainWnd);
    dlg.m_nCanvasWidth = ws->m_nCanvasWidth;
    dlg.m_nCanvasHeight = ws->m_nCanvasHeight;
    dlg.m_bShowRuler = ws->m_bShowRuler;
    dlg.m_bShowPageShadow = ws->m_bShowPageShadow;
    dlg.m_crBack = ws->m_crBack;
    dlg.m_crPageBack = ws->m_crPageBack;
    dlg.m_strMainScreen = ws->m_strMainScreen;
    dlg.m_bShowTitleBar = ws->m_bShowTitleBar;
    dlg.m_bShowCloseBox = ws->m_bShowCloseBox;
    dlg.m_bShowMinBox = ws->m_bShowMinBox;
    dlg.m_bShowMaxBox = ws->m_bShowMaxBox;
    dlg.m_bShowHelpBox = ws->m_bShowHelpBox;
    dlg.m_bShow3DBorder = ws->m_bShow3DBorder;
    // The caption is the project name, which the player shows as its window's title.
    dlg.m_strCaption = ws->m_strProjectName;
    dlg.m_nWindowWidth = ws->m_nWindowWidth;
    dlg.m_nWindowHeight = ws->m_nWindowHeight;
    dlg.m_bFullScreen = ws->m_bFullScreen;
    dlg.m_bAlwaysOnTop = ws->m_bAlwaysOnTop;
    dlg.m_strProjectFolder = GetProjectFolder();
    if (dlg.DoModal() != IDOK)
        return;
    ws->m_nCanvasWidth = dlg.m_nCanvasWidth;
    ws->m_nCanvasHeight = dlg.m_nCanvasHeight;
    ws->m_bShowRuler = dlg.m_bShowRuler;
    ws->m_bShowPageShadow = dlg.m_bShowPageShadow;
    ws->m_crBack = dlg.m_crBack;
    ws->m_crPageBack = dlg.m_crPageBack;
    ws->m_strMainScreen = dlg.m_strMainScreen;
    ws->m_bShowTitleBar = dlg.m_bShowTitleBar;
    ws->m_bShowCloseBox = dlg.m_bShowCloseBox;
    ws->m_bShowMinBox = dlg.m_bShowMinBox;
    ws->m_bShowMaxBox = dlg.m_bShowMaxBox;
    ws->m_bShowHelpBox = dlg.m_bShowHelpBox;
    ws->m_bShow3DBorder = dlg.m_bShow3DBorder;
    ws->m_strProjectName = dlg.m_strCaption;
    ws->m_nWindowWidth = dlg.m_nWindowWidth;
    ws->m_nWindowHeight = dlg.m_nWindowHeight;
    ws->m_bFullScreen = dlg.m_bFullScreen;
    ws->m_bAlwaysOnTop = dlg.m_bAlwaysOnTop;
    ws->SetModified();
}

void CQYRDrawApp::OnParameterManager()
{
    CWorkSpaceObj* ws = GetWorkSpace();
    if (!ws)
        return;
    CParamManager dlg(ws, m_pMainWnd);
    if (dlg.DoModal() == IDOK)
        ws->SetModified();
}

void CQYRDrawApp::OnSaveAsTemplate()
{
    const CString folder = GetTemplateFolder();
    if (!CProjectFiles::IsDirectory(folder) && !CProjectFiles::CreateFolder(folder))
        return;
    OnSaveAll();
    OnSaveProject();
    CSVSaveAsTemplateDlg dlg(m_pMainWnd);
    dlg.m_strTemplateFolder = folder;
    dlg.m_strProjectFolder = GetProjectFolder();
    dlg.m_strProjectFile = m_strProjectFile;
    dlg.DoModal();
}

void CQYRDrawApp::OnTestSampleProject()
{
    OnCloseProject();
    CString demo = GetDemoFolder();
    if (demo.Right(1) == L"/")
        demo = demo.Left(demo.GetLength() - 1);
    const CString path = demo + L"/newproject/newproject.dcp";
    if (!IsDifferentProject(path) || TrimLower(GetFileExtension(path)) != L"dcp")
        return;
    CWaitCursor wait;
    if (OpenProject(path, TRUE))
        WriteLastProject();
}

// --- Files ----------------------------------------------------------------------------------------------

void CQYRDrawApp::OnNewScreenFile()
{
    if (m_pScreenTemplate)
        m_pScreenTemplate->OpenDocumentFile(nullptr, TRUE);
}

void CQYRDrawApp::OnNewScriptFile()
{
    if (m_pScriptTemplate)
        m_pScriptTemplate->OpenDocumentFile(nullptr, TRUE);
}

void CQYRDrawApp::OnOpenFile()
{
    const std::vector<CString> chosen =
        ChooseFiles(m_pMainWnd,
                    L"All Format (.xdg;.dcp;.uscp)|*.xdg;*.dcp;*.uscp|Screen Files(.xdg)|*.xdg|Script Files "
                    L"(.uscp)|*.uscp|Project Files(.dcp)|*.dcp|All Files(*.*)|*.*||",
                    TRUE);
    for (const CString& path : chosen)
        OpenDocumentFile(path);
}

// --- Run and Build -------------------------------------------------------------------------------------

namespace
{
// Run and Build save every document and the project first; the workspace, or null.
CWorkSpaceObj* SaveBeforeRunning(CQYRDrawApp& app)
{
    CWorkSpaceObj* ws = app.GetWorkSpace();
    if (!ws)
        return nullptr;
    app.SaveAllDocuments();
    if (app.IsProjectLoaded())
        ws->SaveDocument(app.GetProjectFilePath());
    return ws;
}
} // namespace

void CQYRDrawApp::OnProjectRun()
{
    CWorkSpaceObj* ws = SaveBeforeRunning(*this);
    if (!ws)
        return;
    CString error;
    DWORD pid = 0;
    if (!CProjectBuilder::Run(*ws, GetProjectFilePath(), GetProgramFolder(), error, &pid))
    {
        AfxMessageBox(error, MB_OK | MB_ICONINFORMATION);
        return;
    }
    m_dwPlayerPid = pid;
}

void CQYRDrawApp::OnBuildProgress(const CString& strStep, int nDone, int nTotal)
{
    m_wndBuildProgress.SetMessage(strStep);
    m_wndBuildProgress.SetFullScale(UINT(std::max(1, nTotal)));
    m_wndBuildProgress.ResetProgress();
    m_wndBuildProgress.UpdateProgress(UINT(std::max(0, nDone)));
    if (m_wndBuildProgress.GetSafeHwnd())
        m_wndBuildProgress.UpdateWindow();
}

void CQYRDrawApp::OnProjectBuild()
{
    CWorkSpaceObj* ws = SaveBeforeRunning(*this);
    if (!ws)
        return;
    if (ws->m_strMainScreen.IsEmpty())
    {
        AfxMessageBox(IDS_NO_MAIN_SCREEN, MB_OK);
        return;
    }
    CMBBuildDlg dlg(m_pMainWnd);
    dlg.m_strExeName = m_strBuildProgram;
    dlg.m_strLocation = GetBuildFolder();
    if (dlg.DoModal() != IDOK)
        return;
    m_strBuildProgram = dlg.m_strExeName;
    m_strBuildFolder = dlg.m_strLocation;
    if (m_strBuildProgram.IsEmpty() || m_strBuildFolder.IsEmpty())
        return;

    CBuildRequest req;
    req.strProjectFolder = GetProjectFolder();
    req.strProjectTitle = GetProjectTitle();
    req.strProgramFolder = GetProgramFolder();
    req.strOutputFolder = m_strBuildFolder;
    req.strProgramName = m_strBuildProgram;
    // The editor's own "main.dat" names the open project, as after every open.
    WriteLastProject();
    CString player, project, error;
    BOOL built = FALSE;
    {
        CWaitCursor wait;
        m_wndBuildProgress.SetTitle(L"Build");
        m_wndBuildProgress.SetBarStyle(1);
        m_wndBuildProgress.Show(m_pMainWnd);
        built = CProjectBuilder::Build(req, player, project, error,
                                       [this](const CString& step, int done, int total)
                                       { OnBuildProgress(step, done, total); });
        m_wndBuildProgress.Hide();
    }
    if (!built)
    {
        AfxMessageBox(error, MB_OK | MB_ICONINFORMATION);
        return;
    }
    QThread::msleep(100);
    if (m_pMainWnd)
        m_pMainWnd->ShowWindow(SW_MINIMIZE);
    DWORD pid = 0;
    if (!CProjectBuilder::StartPlayer(player, project, error, &pid))
    {
        AfxMessageBox(error, MB_OK | MB_ICONINFORMATION);
        return;
    }
    m_dwPlayerPid = pid;
}
