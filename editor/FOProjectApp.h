// CFOProjectApp: the editor application's lowest own layer. It keeps the recent-project list, the
// open project's folder and file name, and the file-system services that the project commands use.
//
// Paths are Linux paths: a '\' in a typed or stored name is taken as '/', a full path begins with
// '/'. The project folder (with its trailing '/') and the project file name are kept trimmed and
// lower-cased; the file layer finds them whatever their case on disk.
#pragma once

#include "editor/DesignFrame.h"
#include "foundation/ROrediRaziDov.h"
#include "mfc/Collections.h"

class CFOProjectApp : public ROrediRaziDov, public IDesignProjectApp
{
public:
    CFOProjectApp();
    ~CFOProjectApp() override;

    BOOL InitInstance() override;
    // Deletes the workspace and stores the recent-project list (when it was loaded).
    int ExitInstance() override;
    // Starts a program or opens a document with the desktop; the result is ignored.
    virtual void RunProgram(const CString& strProgram, const CString& strParameters);

    // The four shapes of a project name (after '\' became '/'): a bare name, a file name with
    // ".dcp", a full folder, a full ".dcp" path. ".dcp" is searched case-sensitively.
    static BOOL IsBareProjectName(const CString& strText);
    static BOOL IsProjectFileName(const CString& strText);
    static BOOL IsFolderPath(const CString& strText);
    static BOOL IsFullProjectPath(const CString& strText);

    // Folders. The program folder ends with '/', the install root does not.
    CString GetProgramFolder() const;
    CString GetInstallRoot() const;
    CString GetUserFolder() const;
    CString GetBuildFolder() const;
    CString GetDemoFolder() const;
    CString GetTemplateFolder() const;
    CString GetProjectFolder() const override;
    CString GetProjectFilePath() const;
    CString GetXdgFilesPath() const;
    CString GetScriptFilesPath() const;
    BOOL IsProjectLoaded() const override;
    CString GetProjectTitle() const;
    const CString& GetProjectFileName() const { return m_strProjectFile; }
    void SetProjectFolder(const CString& strFolder);
    void SetProjectFileName(const CString& strFile);
    // Folder and file name from a full path, trimmed and lower-cased.
    void SetProjectPath(const CString& strPath);
    void ClearProjectPath();

    // File-system services.
    static BOOL IsDirectory(const CString& strPath);
    static BOOL IsFileExist(const CString& strPath);
    static CString GetFolderPart(const CString& strPath);
    static CString GetFileNamePart(const CString& strPath);
    // The text after the last '.' of the file part; empty without one or when it ends the name.
    static CString GetFileExtension(const CString& strPath);

    // The recent-project list, most recent first.
    const CStringArray& GetRecentList() const { return m_recentProjects; }
    // Removes the entry equal to strRemove (exact text), then puts strAdd at the head.
    void MoveRecentToHead(const CString& strRemove, const CString& strAdd);
    void RemoveRecent(const CString& strPath);
    // "RecentProjects" under the user's "Software\Quendrel\QYRDraw": ';'-separated, each path
    // once. Loading marks the list as the program's to store at exit.
    void LoadRecentProjects();
    void SaveRecentProjects();
    // Appends the pieces of a stored value that are not empty and not in the list yet.
    static void SplitRecentProjects(const CString& strValue, CStringArray& list);

protected:
    CStringArray m_recentProjects;
    CString m_strProjectFolder;
    CString m_strProjectFile;
    // Set once the stored list was read: a program that never read it must not overwrite it.
    BOOL m_bRecentLoaded = FALSE;
};

// The running editor's project layer (null in other programs).
CFOProjectApp* AfxGetProjectApp();
