// CQYRDrawApp: the editor's application object. It runs the start-up sequence (the guard and the
// layers below, the file types, the diagram library, the templates of screens and scripts, the
// main frame, then the file or project that the command line or "main.dat" names), opens files by
// their extension, and opens, saves and closes projects as start-up and the main frame need it.
#pragma once

#include "editor/EditorApp.h"
#include "editor/PlexdraftApp.h"
#include "foundation/ProgressWnd.h"

class CDocument;
class CFrameWnd;

class CQYRDrawApp : public CPlexdraftApp, public IEditorApp
{
public:
    CQYRDrawApp();
    ~CQYRDrawApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    // ".dcp" opens the project (unless it is the open one), ".xdg" a screen, ".uscp" the script;
    // anything else nothing. Only documents are returned.
    CDocument* OpenDocumentFile(LPCWSTR lpszFileName) override;

    // Makes the main frame (start-up step); a test may give its own.
    virtual CFrameWnd* CreateMainFrame();

    // Sets project folder and file from a bare name, a ".dcp" name or a full ".dcp" path;
    // "Invalid argument = %s" and FALSE otherwise.
    BOOL ParseProjectArgument(const CString& strText);
    // Opens a project file into the workspace. A missing file only leaves the recent list; a file
    // that cannot be read says so and leaves no project loaded.
    BOOL OpenProject(LPCWSTR lpszPath, BOOL bSaveCurrent) override;
    BOOL LoadProjectFile(CString strPath, BOOL bSaveCurrent);
    BOOL IsDifferentProject(const CString& strPath) const;
    BOOL IsProjectModified();
    // Saves every modified document under its own path, without asking (an untitled one asks for a
    // name). FALSE at the first that is not saved: its save failed or its name was not given.
    BOOL SaveAllDocuments();
    // The project of the command line, else the last non-empty line of "main.dat".
    BOOL ReadLastProject(BOOL bSharedRead = FALSE);
    // "main.dat" beside the program: the open project's path, UTF-16 with its mark, no line end.
    void WriteLastProject();
    CString GetLastProjectFile() const;
    // The last non-empty line of a UTF-16 text file ("main.dat"); empty when it cannot be read.
    static CString ReadLastLine(const CString& strPath, BOOL bSharedRead);
    // Tells the main frame to refill its project display.
    void RefreshProjectView();

    // What the main frame and its bars ask of the application.
    BOOL IsProjectOpen() override { return IsProjectLoaded(); }
    BOOL IsOtherProject(LPCWSTR lpszPath) override { return IsDifferentProject(lpszPath); }
    void WriteMainDat() override { WriteLastProject(); }
    BOOL SaveModifiedDocuments() override { return SaveAllDocuments(); }
    CWorkSpaceObj* GetWorkSpace() override { return ROzazeRir::GetWorkSpace(); }
    using CFOProjectApp::GetProjectFileName;
    using CFOProjectApp::GetProjectFolder;
    CString GetProjectFolder() override { return CFOProjectApp::GetProjectFolder(); }
    CString GetProjectFileName() override { return m_strProjectFile; }
    CStringArray* GetRecentProjects() override { return &m_recentProjects; }
    CDocTemplate* GetScreenTemplate() override;
    CDocTemplate* GetScriptTemplate() override;
    CString GetToolBoxFolder() override { return GetInstallRoot() + L"/Shapes/"; }
    BOOL GetPropertyEditorEnable() override { return FALSE; }
    BOOL IsNoDefaultPorts() override { return m_bHideDefaultPorts; }
    // Also tells the visual proxy, which leaves new shapes without default ports while it is on.
    void SetNoDefaultPorts(BOOL bOn) override;

    afx_msg void OnAppAbout();
    afx_msg void OnRecentFile1();
    afx_msg void OnUpdateRecentFile1(CCmdUI* pCmdUI);

    // --- The project commands (menus, toolbars and the project tree) ------------------------------
    afx_msg void OnNewProject();
    afx_msg void OnOpenProject();
    afx_msg void OnSaveProject();
    afx_msg void OnCloseProject();
    afx_msg void OnSaveAll();
    afx_msg void OnProjectSettings();
    afx_msg void OnParameterManager();
    afx_msg void OnSaveAsTemplate();
    afx_msg void OnTestSampleProject();
    afx_msg void OnNewScreenFile();
    afx_msg void OnNewScriptFile();
    afx_msg void OnOpenFile();
    afx_msg void OnProjectRun();
    afx_msg void OnProjectBuild();
    afx_msg void OnUpdateProjectLoaded(CCmdUI* pCmdUI);
    afx_msg void OnUpdateSaveAll(CCmdUI* pCmdUI);
    // Saves the open project without asking and closes it (before a new project is made); a
    // project that could not be saved stays open (FALSE).
    BOOL CloseCurrentProject();
    // The workspace saved to the project file (a failure says so), and the path put at the head of
    // the recent list.
    BOOL SaveWorkSpace();
    // Save All: FALSE when a document or the project was not saved.
    BOOL SaveAll();
    // Told of every step of a build while its progress window shows it.
    virtual void OnBuildProgress(const CString& strStep, int nDone, int nTotal);
    CProgressWnd& GetBuildProgress() { return m_wndBuildProgress; }
    // The process id of the player Run or Build started last (0: none).
    DWORD GetLastPlayerPid() const { return m_dwPlayerPid; }

protected:
    CProgressWnd m_wndBuildProgress;
    DWORD m_dwPlayerPid = 0;

    // Opens what the raw command-line text names.
    void OpenCommandLineText(CString strText);
    void CloseAllProjectDocuments();

    DECLARE_MESSAGE_MAP()
};

CQYRDrawApp* AfxGetDrawApp();
