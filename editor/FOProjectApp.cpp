#include "editor/FOProjectApp.h"

#include "foundation/ProjectArgument.h"
#include "foundation/Reg.h"
#include "mfc/WinApp.h"
#include "win32/Files.h"

#include <QProcess>

#include <algorithm>

namespace
{
const wchar_t* const kRecentKey = L"Software\\Quendrel\\QYRDraw";
const wchar_t* const kRecentValue = L"RecentProjects";

CString Slashed(const CString& strText)
{
    CString s = strText;
    s.Replace(L'\\', L'/');
    return s;
}

CString TrimLower(const CString& strText)
{
    CString s = strText;
    s.Trim();
    s.MakeLower();
    return s;
}
} // namespace

CFOProjectApp* AfxGetProjectApp()
{
    return dynamic_cast<CFOProjectApp*>(AfxGetApp());
}

CFOProjectApp::CFOProjectApp() : ROrediRaziDov(128, 128) {}
CFOProjectApp::~CFOProjectApp() = default;

BOOL CFOProjectApp::InitInstance()
{
    return ROrediRaziDov::InitInstance();
}

int CFOProjectApp::ExitInstance()
{
    if (CWorkSpacePtr ws = TakeWorkSpace())
        ws.reset();
    SaveRecentProjects();
    return ROrediRaziDov::ExitInstance();
}

void CFOProjectApp::RunProgram(const CString& strProgram, const CString& strParameters)
{
    QStringList args;
    if (!strParameters.IsEmpty())
        args << QString::fromStdWString(strParameters.GetString());
    QProcess::startDetached(QString::fromStdWString(Slashed(strProgram).GetString()), args);
}

// --- Project names ---------------------------------------------------------------------------------

BOOL CFOProjectApp::IsBareProjectName(const CString& strText)
{
    return CProjectArgument::IsBareProjectName(strText);
}

BOOL CFOProjectApp::IsProjectFileName(const CString& strText)
{
    return CProjectArgument::IsProjectFileName(strText);
}

BOOL CFOProjectApp::IsFolderPath(const CString& strText)
{
    const CString s = Slashed(strText);
    return s.Find(L'/') == 0 && s.GetLength() > 1 && s.Find(L".dcp") < 0;
}

BOOL CFOProjectApp::IsFullProjectPath(const CString& strText)
{
    return CProjectArgument::IsFullProjectPath(strText);
}

// --- Folders ---------------------------------------------------------------------------------------

CString CFOProjectApp::GetProgramFolder() const
{
    const CString path = m_pszHelpFilePath ? Slashed(m_pszHelpFilePath) : CString();
    CString folder = path.Left(path.ReverseFind(L'/') + 1);
    if (folder.IsEmpty() || folder.Right(1) != L"/")
        folder += L"/";
    return folder;
}

CString CFOProjectApp::GetInstallRoot() const
{
    CString folder = GetProgramFolder();
    folder = folder.Left(folder.GetLength() - 1);
    return folder.Left(std::max(0, folder.ReverseFind(L'/')));
}

CString CFOProjectApp::GetUserFolder() const
{
    return GetInstallRoot() + L"/User/";
}
CString CFOProjectApp::GetBuildFolder() const
{
    return GetInstallRoot() + L"/Build/";
}
CString CFOProjectApp::GetDemoFolder() const
{
    return GetInstallRoot() + L"/Demo/";
}
CString CFOProjectApp::GetTemplateFolder() const
{
    return GetInstallRoot() + L"/Template/";
}

CString CFOProjectApp::GetProjectFolder() const
{
    return IsFolderPath(m_strProjectFolder) ? m_strProjectFolder : CString();
}

CString CFOProjectApp::GetProjectFilePath() const
{
    return GetProjectFolder() + m_strProjectFile;
}

CString CFOProjectApp::GetXdgFilesPath() const
{
    return GetProjectFolder() + L"XdgFiles/";
}

CString CFOProjectApp::GetScriptFilesPath() const
{
    return GetProjectFolder() + L"ScriptFiles/";
}

BOOL CFOProjectApp::IsProjectLoaded() const
{
    return IsFolderPath(m_strProjectFolder) && IsProjectFileName(m_strProjectFile);
}

CString CFOProjectApp::GetProjectTitle() const
{
    if (!IsProjectFileName(m_strProjectFile))
        return CString();
    return m_strProjectFile.Left(m_strProjectFile.Find(L".dcp"));
}

void CFOProjectApp::SetProjectFolder(const CString& strFolder)
{
    m_strProjectFolder = TrimLower(Slashed(strFolder));
}

void CFOProjectApp::SetProjectFileName(const CString& strFile)
{
    m_strProjectFile = TrimLower(strFile);
}

void CFOProjectApp::SetProjectPath(const CString& strPath)
{
    SetProjectFileName(GetFileNamePart(strPath));
    SetProjectFolder(GetFolderPart(strPath));
}

void CFOProjectApp::ClearProjectPath()
{
    m_strProjectFolder.Empty();
    m_strProjectFile.Empty();
}

// --- File system -----------------------------------------------------------------------------------

BOOL CFOProjectApp::IsDirectory(const CString& strPath)
{
    if (strPath.IsEmpty())
        return FALSE;
    const DWORD attributes = ::GetFileAttributesW(Slashed(strPath));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL CFOProjectApp::IsFileExist(const CString& strPath)
{
    return !strPath.IsEmpty() && ::GetFileAttributesW(Slashed(strPath)) != INVALID_FILE_ATTRIBUTES;
}

CString CFOProjectApp::GetFolderPart(const CString& strPath)
{
    const CString s = Slashed(strPath);
    return s.Left(s.ReverseFind(L'/') + 1);
}

CString CFOProjectApp::GetFileNamePart(const CString& strPath)
{
    const CString s = Slashed(strPath);
    return s.Mid(s.ReverseFind(L'/') + 1);
}

CString CFOProjectApp::GetFileExtension(const CString& strPath)
{
    const CString name = GetFileNamePart(strPath);
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

// --- Recent projects -------------------------------------------------------------------------------

namespace
{
INT_PTR IndexOf(const CStringArray& list, const CString& strPath)
{
    for (INT_PTR i = 0; i < list.GetSize(); ++i)
        if (list[i] == strPath)
            return i;
    return -1;
}
} // namespace

void CFOProjectApp::RemoveRecent(const CString& strPath)
{
    if (const INT_PTR i = IndexOf(m_recentProjects, strPath); i >= 0)
        m_recentProjects.RemoveAt(i);
}

void CFOProjectApp::MoveRecentToHead(const CString& strRemove, const CString& strAdd)
{
    RemoveRecent(strRemove);
    RemoveRecent(strAdd);
    m_recentProjects.InsertAt(0, strAdd);
}

void CFOProjectApp::LoadRecentProjects()
{
    m_bRecentLoaded = TRUE;
    CReg reg;
    CString value;
    if (!reg.Open(HKEY_CURRENT_USER, kRecentKey, KEY_READ) || !reg.LoadString(kRecentValue, value))
        return;
    SplitRecentProjects(value, m_recentProjects);
}

void CFOProjectApp::SplitRecentProjects(const CString& strValue, CStringArray& list)
{
    int start = 0;
    for (;;)
    {
        const int end = strValue.Find(L';', start);
        const CString piece = end < 0 ? strValue.Mid(start) : strValue.Mid(start, end - start);
        if (!piece.IsEmpty() && IndexOf(list, piece) < 0)
            list.Add(piece);
        if (end < 0)
            break;
        start = end + 1;
    }
}

void CFOProjectApp::SaveRecentProjects()
{
    if (!m_bRecentLoaded)
        return;
    CReg reg;
    if (!reg.Create(HKEY_CURRENT_USER, kRecentKey, KEY_WRITE))
        return;
    CString value;
    for (INT_PTR i = 0; i < m_recentProjects.GetSize(); ++i)
        value += m_recentProjects[i] + L";";
    reg.SaveString(kRecentValue, value);
}
