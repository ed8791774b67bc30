// The file-system services behind the project commands, and the three jobs built on them: making a
// new project (empty or from a template), building a project into an output folder and starting
// the player. They take folders and names as arguments, so they work without the editor's frame;
// the application's commands supply its folders and show the one message a failure gives.
//
// Paths: '\' is taken as '/'; a folder path ends with '/'. Project folders and files are kept
// trimmed and lower-cased; the file layer finds them on disk without regard to case.
#pragma once

#include "mfc/CString.h"
#include "win32/WinTypes.h"

#include <functional>

class CWorkSpaceObj;

// Message ids of the project commands.
#define IDS_PROJECT_EXISTS 30046
#define IDS_COPY_TEMPLATE_FAILED 32894
#define IDS_NO_MAIN_SCREEN 30056

class CProjectFiles
{
public:
    // '\' to '/'.
    static CString Slashed(const CString& path);
    // With one trailing '/'.
    static CString AsFolder(const CString& path);
    static BOOL IsDirectory(const CString& path);
    // FALSE when the path already is a directory; else makes that one folder.
    static BOOL CreateFolder(const CString& path);
    // Every missing level; TRUE when the whole path exists as a directory at the end.
    static BOOL CreateDirectoryTree(const CString& path);
    static CString GetFolderPart(const CString& path);
    static CString GetFileNamePart(const CString& path);
    // After the last '.' of the file part; empty when none or last.
    static CString GetFileExtension(const CString& path);
    static BOOL IsFileExist(const CString& path);
    static BOOL DeleteFileSafe(const CString& path);
    // FALSE when the names are equal, the source is missing or the target exists.
    static BOOL RenameFileSafe(const CString& from, const CString& to);
    // Removes a folder with everything in it; TRUE when it is gone.
    static BOOL RemoveFolderTree(const CString& path);
    // TRUE when the path is the folder or lies below it (compared on the resolved, real paths).
    static BOOL IsInsideFolder(const CString& path, const CString& folder);
    // Letters, digits and '_' only, not empty: a name that is safe as a folder and file name.
    static BOOL IsValidProjectName(const CString& name);

    // Copies one file in chunks of nChunk bytes through a temporary name beside the target, checks
    // that the whole length arrived and only then gives it the target's name. FALSE without
    // copying when the target exists; FALSE (nothing left behind) on any failure.
    static BOOL CopyFileChunked(const CString& source, const CString& target, UINT nChunk);
    // Copies a folder's files and sub-folders into another folder (created when missing),
    // replacing files there, skipping the build by-products by extension. Refuses a target equal
    // to the source or inside it (the copy would take in itself). FALSE at the first failure, with
    // the failing path in *pFailed.
    static BOOL CopyFolder(const CString& source, const CString& target, CString* pFailed = nullptr);
    // The extensions a folder copy skips.
    static BOOL IsSkippedExtension(const CString& ext);
};

// What the new-project wizard collects.
struct CNewProjectValues
{
    CString strLocation;     // folder that receives the project folder
    CString strName;         // project name (checked with IsValidProjectName)
    int nTemplateKind = 100; // 100 empty project, 200 from a template
    CString strTemplate;     // the template's name (its .dcp title)
    CString strTemplatePath; // the template's ".dcp" as the wizard listed it (empty: folder and file
                             // both named strTemplate)
    int nWidth = 1000;
    int nHeight = 1000;
    BOOL bRuler = TRUE;
    COLORREF crBack = 0xFFFFFF;
    CString strDescription = L" ";
    CString strAuthor, strDepartment, strEMail = L"mailto:", strURL = L"http://", strCompany, strCopyright;
};

class CProjectCreator
{
public:
    // The project folder (location + name + '/') and file (name + ".dcp"), lower-cased.
    static CString ProjectFolder(const CNewProjectValues& v);
    static CString ProjectFile(const CNewProjectValues& v);
    // Copies the wizard's settings and author texts into the workspace.
    static void ApplyValues(CWorkSpaceObj& ws, const CNewProjectValues& v);
    // An empty screen with the project's defaults (colours, page size, page border), saved.
    static BOOL WriteEmptyScreen(const CWorkSpaceObj& ws, const CString& strPath);
    // The seed text of a new project's "system.uscp".
    static const wchar_t* SeedScript();

    // A new empty project: the folders, the project file, "XdgFiles/Main.xdg" as its main screen
    // and "ScriptFiles/system.uscp" in UTF-16 with the seed text. Refuses a name that is not valid
    // and a project folder that exists (nothing written); on a later failure removes what it made.
    // The workspace ends holding the saved project. FALSE with the message in rError.
    static BOOL CreateEmpty(CWorkSpaceObj& ws, const CNewProjectValues& v, CString& rError);
    // A project copied from the template's folder (that of v.strTemplatePath, else strTemplateFolder
    // + v.strTemplate): the copy's project file (the chosen ".dcp", whatever its name; the folder's
    // other ".dcp" files are not taken over) is renamed to the project's, opened, given the
    // wizard's values and saved, so the template's variables and settings stay. Same refusals; a
    // template whose ".dcp" is missing or unreadable is refused before anything is written; a failed
    // copy removes the folder.
    static BOOL CreateFromTemplate(CWorkSpaceObj& ws, const CNewProjectValues& v,
                                   const CString& strTemplateFolder, CString& rError);
    // The template's project file: v.strTemplatePath, else the folder and file named v.strTemplate.
    static CString TemplateFile(const CNewProjectValues& v, const CString& strTemplateFolder);
    // Whether that file exists and reads as a project; FALSE with one message in rError (nothing is
    // shown).
    static BOOL CheckTemplate(const CNewProjectValues& v, const CString& strTemplateFolder, CString& rError);

    // "main.dat": one line in UTF-16 with its byte-order mark, no line end. FALSE when it cannot be
    // written (the old content stays).
    static BOOL WriteLastProject(const CString& strPath, const CString& strText);
};

// One build: the project copied to output/User/<title>/ and the runtime into output/Bin/.
struct CBuildRequest
{
    CString strProjectFolder; // the open project's folder
    CString strProjectTitle;  // its file's title
    CString strProgramFolder; // the folder holding the editor's runtime programs and libraries
    CString strOutputFolder;
    CString strProgramName; // the player's name in Bin/ (a trailing ".exe" is dropped)
};

class CProjectBuilder
{
public:
    // The player's name as it is written into Bin/.
    static CString BinProgramName(const CString& strName);
    // Builds; on success rPlayer is the copied player and rProject the copy's project file. Runtime
    // files already in Bin/ stay; "main.dat" there is written anew with the copy's title. FALSE
    // with one message in rError; nothing is to be started then.
    // The build tells each of its steps (a text, steps done, all steps) to a progress display.
    using Progress = std::function<void(const CString& strStep, int nDone, int nTotal)>;
    static BOOL Build(const CBuildRequest& req, CString& rPlayer, CString& rProject, CString& rError,
                      const Progress& progress = {});
    // Starts the player with the project file as its one argument, no shell. FALSE with a message.
    static BOOL StartPlayer(const CString& strPlayer, const CString& strProject, CString& rError,
                            DWORD* pPid = nullptr);
    // The player program of a program folder.
    static CString PlayerPath(const CString& strProgramFolder);
    // Run: the player of the program folder on the project file, when the project has a main
    // screen; FALSE with the message otherwise (nothing started).
    static BOOL Run(const CWorkSpaceObj& ws, const CString& strProjectFile, const CString& strProgramFolder,
                    CString& rError, DWORD* pPid = nullptr);
};
