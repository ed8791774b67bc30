// CPlexrunApp: the application layer of the runtime programs. It keeps the single-instance guard,
// chooses the project (the command-line argument, else the last line of "main.dat" beside the
// program, else the demo project) and gives the folders that screens and scripts are found in.
//
// Paths are Linux paths: a '\' in a name typed or read from a file is taken as '/', and a full
// path begins with '/'. The project folder (with its trailing '/') and the project file are kept
// trimmed and lower-cased; the file layer finds them whatever their case on disk.
#pragma once

#include "foundation/VEzudiZuroDoz.h"
#include "symbols/FOPSingleInstance.h"

class CDocument;
class CScriptObject;

class CPlexrunApp : public VEzudiZuroDoz
{
public:
    CPlexrunApp();
    ~CPlexrunApp() override;

    // The single-instance guard ("QYRView already running!" when another player runs), then the
    // application base.
    BOOL InitInstance() override;
    // Deletes the project's workspace, then the base's exit.
    int ExitInstance() override;

    // Folders and paths. The program folder ends with '/', the install root does not.
    CString GetProgramFolder() const;
    CString GetInstallRoot() const;
    CString GetUserFolder() const;
    CString GetDemoFolder() const;
    CString GetProjectFilePath() const;
    CString GetScreensFolder() const;
    CString GetScriptsFolder() const;
    // Empty for an empty name, else the screens folder + name.
    CString GetScreenFilePath(const CString& strName) const;

    // The four shapes of a project name (after '\' became '/').
    static BOOL IsBareProjectName(const CString& strText);
    static BOOL IsProjectFileName(const CString& strText);
    static BOOL IsFullFolder(const CString& strText);
    static BOOL IsFullProjectPath(const CString& strText);

    // Sets project folder and file from one argument; "Invalid argument = %s" and FALSE when it
    // fits none of the shapes.
    BOOL ParseProjectArgument(const CString& strText);
    // The command-line project, else the last non-empty line of "main.dat".
    BOOL ReadLastProject();
    // Chooses the demo project and records it in "main.dat".
    void OpenDefaultProject();
    void WriteLastProject();
    // Library set-up, project choice and the opening of the project file into the workspace.
    // FALSE (reported) when the project file is missing or cannot be read.
    BOOL LoadProject();

    // The text of a ".uscp" file of the scripts folder (its bytes as UTF-16 code units, a mark
    // included); empty when the name or the file does not do.
    CString ReadScriptFile(const CString& strName) const;
    // Whether name is a ".xdg" file of the screens folder other than the current screen, or other
    // than strShown, the screen a view shows (each view keeps its own).
    BOOL IsScreenFileValid(const CString& strName) const;
    BOOL IsScreenFileValid(const CString& strName, const CString& strShown) const;
    // Whether strName names a screen file (".xdg"), other than the one shown, that the screens
    // folder does not hold.
    BOOL IsMissingScreen(const CString& strName, const CString& strShown) const;
    // The absolute path of a file link's target: a relative one is taken against the project
    // folder; empty when there is none to take it against.
    CString GetLinkFilePath(const CString& strTarget) const;

    // The open document whose title is the screen file's name, else the screen loaded through the
    // first document template (a new document and frame); null when it cannot be loaded.
    CDocument* OpenScreenDocument(const CString& strPath);

    static BOOL FileExists(const CString& strPath);
    // The text after the last '/' or '\' (all of it when there is none).
    static CString GetFileName(const CString& strPath);
    // The text after the last '.' of the file name; empty without one or when it ends the name.
    static CString GetFileExtension(const CString& strPath);

    // The one script engine; only the view that made it deletes it.
    CScriptObject* m_pScriptObject = nullptr;
    // The screen last shown by a document's view: the main screen at start, then each switch.
    // Popups and views opened on a screen file leave it alone.
    CString m_strCurrentScreen;
    CString m_strProjectFolder;
    // Before the project is chosen: the command-line argument.
    CString m_strProjectFile;
    CFOPSingleInstance m_singleInstance;

protected:
    void SetProjectFolder(const CString& strFolder);
    void SetProjectFile(const CString& strFile);
};

CPlexrunApp* AfxGetPlexrunApp();
