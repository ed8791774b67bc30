// CQYRDrawApp: the editor's application object. It runs the start-up sequence (the guard and the
// layers below, the file types, the diagram library, the templates of screens and scripts, the
// main frame, then the file or project that the command line or "main.dat" names), opens files by
// their extension, and opens, saves and closes projects as start-up and the main frame need it.
#pragma once

#include "editor/PlexdraftApp.h"

class CDocument;
class CFrameWnd;

class CQYRDrawApp : public CPlexdraftApp
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
    BOOL OpenProject(CString strPath, BOOL bSaveCurrent);
    BOOL LoadProjectFile(CString strPath, BOOL bSaveCurrent);
    BOOL IsDifferentProject(const CString& strPath) const;
    BOOL IsProjectModified();
    // Saves every modified document under its own path, without asking.
    void SaveAllDocuments();
    // The project of the command line, else the last non-empty line of "main.dat".
    BOOL ReadLastProject(BOOL bSharedRead = FALSE);
    // "main.dat" beside the program: the open project's path, UTF-16 with its mark, no line end.
    void WriteLastProject();
    CString GetLastProjectFile() const;
    // The frame's closing questions about the project: FALSE keeps the editor open (Cancel, or a
    // project that could not be saved, which is said).
    BOOL QueryCloseProject();
    // Opens a file dropped on the main window or chosen from the recent list by its extension.
    void OpenDroppedFile(const CString& strPath);
    // Tells the main frame to refill its project display.
    void RefreshProjectView();

    afx_msg void OnAppAbout();
    afx_msg void OnRecentFile1();
    afx_msg void OnUpdateRecentFile1(CCmdUI* pCmdUI);

protected:
    // Opens what the raw command-line text names.
    void OpenCommandLineText(CString strText);
    void CloseAllProjectDocuments();

    DECLARE_MESSAGE_MAP()
};

CQYRDrawApp* AfxGetDrawApp();
