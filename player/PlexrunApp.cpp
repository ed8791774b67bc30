#include "player/PlexrunApp.h"

#include "figkit/FOGlobalData.h"
#include "figkit/FOPVisualProxy.h"
#include "foundation/ProjectArgument.h"
#include "foundation/StdioFileEx.h"
#include "mfc/DocTemplate.h"
#include "mfc/Document.h"
#include "mfc/ModalHook.h"
#include "model/WorkSpaceObj.h"
#include "player/RunVisualProxy.h"
#include "symbols/ProgramStart.h"
#include "win32/Files.h"
#include "win32/Utf.h"

#include <QDir>

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace
{
constexpr UINT IDR_MAINFRAME = 128;
const wchar_t* const kGuardName = L"Quendrel Plexrun";
const wchar_t* const kLastProjectFile = L"main.dat";

CString Slashed(const CString& strText)
{
    CString s = strText;
    s.Replace(L'\\', L'/');
    return s;
}

// Whether the name ends in ext (trimmed, lower-cased) and is longer than it.
BOOL HasTypeSuffix(const CString& strName, const wchar_t* ext)
{
    CString s = strName;
    s.Trim();
    s.MakeLower();
    const int n = int(wcslen(ext));
    return strName.GetLength() > n && s.Right(n) == ext;
}
} // namespace

CPlexrunApp* AfxGetPlexrunApp()
{
    return dynamic_cast<CPlexrunApp*>(AfxGetXVKApp());
}

CPlexrunApp::CPlexrunApp() : VEzudiZuroDoz(128, 128) {}
CPlexrunApp::~CPlexrunApp() = default;

BOOL CPlexrunApp::InitInstance()
{
    if (!FOPStartProgram(m_singleInstance, IDR_MAINFRAME, kGuardName, L"QYRView already running!"))
        return FALSE;
    return VEzudiZuroDoz::InitInstance();
}

int CPlexrunApp::ExitInstance()
{
    if (CWorkSpacePtr ws = TakeWorkSpace())
        ws->CloseDocument();
    return VEzudiZuroDoz::ExitInstance();
}

// --- Folders and paths -----------------------------------------------------------------------------

CString CPlexrunApp::GetProgramFolder() const
{
    CString path = m_pszHelpFilePath ? Slashed(m_pszHelpFilePath) : CString();
    CString folder = path.Left(path.ReverseFind(L'/') + 1);
    if (folder.IsEmpty() || folder.Right(1) != L"/")
        folder += L"/";
    return folder;
}

CString CPlexrunApp::GetInstallRoot() const
{
    // The program's folder without its trailing '/' and its own name.
    CString folder = GetProgramFolder();
    folder = folder.Left(folder.GetLength() - 1);
    return folder.Left(std::max(0, folder.ReverseFind(L'/')));
}

CString CPlexrunApp::GetUserFolder() const
{
    return GetInstallRoot() + L"/User/";
}
CString CPlexrunApp::GetDemoFolder() const
{
    return GetInstallRoot() + L"/Demo/";
}

CString CPlexrunApp::GetProjectFilePath() const
{
    return (IsFullFolder(m_strProjectFolder) ? m_strProjectFolder : CString()) + m_strProjectFile;
}

CString CPlexrunApp::GetScreensFolder() const
{
    return (IsFullFolder(m_strProjectFolder) ? m_strProjectFolder : CString()) + L"XdgFiles/";
}

CString CPlexrunApp::GetScriptsFolder() const
{
    return (IsFullFolder(m_strProjectFolder) ? m_strProjectFolder : CString()) + L"ScriptFiles/";
}

CString CPlexrunApp::GetScreenFilePath(const CString& strName) const
{
    return strName.IsEmpty() ? CString() : GetScreensFolder() + strName;
}

// --- Project names ---------------------------------------------------------------------------------

BOOL CPlexrunApp::IsBareProjectName(const CString& strText)
{
    return strText.Find(L'/') < 0 && strText.Find(L".dcp") < 0;
}

BOOL CPlexrunApp::IsProjectFileName(const CString& strText)
{
    return strText.Find(L'/') < 0 && strText.Find(L".dcp") > 0;
}

BOOL CPlexrunApp::IsFullFolder(const CString& strText)
{
    return strText.Find(L'/') == 0 && strText.Find(L".dcp") < 0;
}

BOOL CPlexrunApp::IsFullProjectPath(const CString& strText)
{
    return strText.Find(L'/') == 0 && strText.Find(L".dcp") > 0;
}

void CPlexrunApp::SetProjectFolder(const CString& strFolder)
{
    m_strProjectFolder = strFolder;
    m_strProjectFolder.Trim();
    m_strProjectFolder.MakeLower();
}

void CPlexrunApp::SetProjectFile(const CString& strFile)
{
    m_strProjectFile = strFile;
    m_strProjectFile.Trim();
    m_strProjectFile.MakeLower();
}

BOOL CPlexrunApp::ParseProjectArgument(const CString& strArgument)
{
    CString folder;
    CString file;
    if (!CProjectArgument::Parse(strArgument, GetUserFolder(), folder, file))
        return FALSE;
    SetProjectFolder(folder);
    SetProjectFile(file);
    return TRUE;
}

BOOL CPlexrunApp::ReadLastProject()
{
    if (!m_strProjectFile.IsEmpty())
        return ParseProjectArgument(m_strProjectFile);

    CString last;
    return CProjectArgument::ReadLastProjectLine(GetProgramFolder() + kLastProjectFile, last) &&
           ParseProjectArgument(last);
}

void CPlexrunApp::OpenDefaultProject()
{
    CString demo = GetDemoFolder();
    demo = demo.Left(demo.ReverseFind(L'/'));
    ParseProjectArgument(demo + L"/demo/demo.dcp");
    WriteLastProject();
}

void CPlexrunApp::WriteLastProject()
{
    if (!IsFullFolder(m_strProjectFolder) || !IsProjectFileName(m_strProjectFile))
        return;
    CStdioFileEx file;
    if (!file.Open(GetProgramFolder() + kLastProjectFile,
                   CFile::modeCreate | CFile::modeWrite | CFile::typeText | CStdioFileEx::modeWriteUnicode))
        return;
    try
    {
        file.WriteString(m_strProjectFolder + m_strProjectFile);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    file.Close();
}

BOOL CPlexrunApp::LoadProject()
{
    FOInit(RUNTIME_CLASS(CRunVisualProxy), 0);
    FOEnableXPStyle(TRUE);
    std::srand(unsigned(std::time(nullptr)));
    FO_GLOBAL::InitGUIType(0);

    if (!ReadLastProject())
        OpenDefaultProject();

    if (IsFullFolder(m_strProjectFolder) && IsProjectFileName(m_strProjectFile))
    {
        const CString path = GetProjectFilePath();
        CString msg;
        if (!FileExists(path))
        {
            msg.Format(L"Project file missing (%s)!", static_cast<LPCWSTR>(path));
            AfxMessageBox(msg, MB_OK);
            return FALSE;
        }
        CWorkSpaceObj* ws = GetWorkSpace();
        if (!ws || !ws->OpenDocument(path))
        {
            msg.Format(L"Cannot open project file (%s)!", static_cast<LPCWSTR>(path));
            AfxMessageBox(msg, MB_OK);
            return FALSE;
        }
    }
    FOEnableXPStyle(TRUE);
    return TRUE;
}

// --- Scripts and screens ---------------------------------------------------------------------------

CString CPlexrunApp::ReadScriptFile(const CString& strName) const
{
    if (strName.IsEmpty() || !HasTypeSuffix(strName, L"uscp"))
        return CString();
    const CString path = GetScriptsFolder() + strName;
    if (!FileExists(path) || GetFileExtension(path) != L"uscp")
        return CString();
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone))
        return CString();
    std::u16string units;
    try
    {
        const ULONGLONG length = file.GetLength();
        std::string bytes(size_t(length / 2 * 2), '\0');
        if (!bytes.empty())
            bytes.resize(file.Read(bytes.data(), UINT(bytes.size())) / 2 * 2);
        units.resize(bytes.size() / 2);
        for (size_t i = 0; i < units.size(); ++i)
            units[i] = char16_t(static_cast<unsigned char>(bytes[2 * i]) |
                                (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    catch (CException* e)
    {
        e->Delete();
        units.clear();
    }
    file.Close();
    return CString(Utf16ToWide(units).c_str());
}

BOOL CPlexrunApp::IsScreenFileValid(const CString& strName) const
{
    return IsScreenFileValid(strName, m_strCurrentScreen);
}

BOOL CPlexrunApp::IsScreenFileValid(const CString& strName, const CString& strShown) const
{
    if (!HasTypeSuffix(strName, L"xdg"))
        return FALSE;
    const CString path = GetScreensFolder() + strName;
    return FileExists(path) && GetFileExtension(path).CompareNoCase(L"xdg") == 0 && strName != strShown;
}

BOOL CPlexrunApp::IsMissingScreen(const CString& strName, const CString& strShown) const
{
    return HasTypeSuffix(strName, L"xdg") && strName != strShown && !FileExists(GetScreensFolder() + strName);
}

CString CPlexrunApp::GetLinkFilePath(const CString& strTarget) const
{
    CString path = strTarget;
    path.Trim();
    path.Replace(L'\\', L'/');
    if (path.IsEmpty())
        return path;
    // A relative target names a file of the project.
    if (path[0] != L'/')
    {
        if (!IsFullFolder(m_strProjectFolder))
            return CString();
        path = m_strProjectFolder + path;
    }
    return CString(QDir::cleanPath(QString::fromStdWString(path.GetString())).toStdWString().c_str());
}

CDocument* CPlexrunApp::OpenScreenDocument(const CString& strPath)
{
    POSITION pos = GetFirstDocTemplatePosition();
    CDocTemplate* pTemplate = pos ? GetNextDocTemplate(pos) : nullptr;
    if (!pTemplate || strPath.IsEmpty())
        return nullptr;
    const CString name = GetFileName(strPath);
    for (POSITION docPos = pTemplate->GetFirstDocPosition(); docPos;)
    {
        CDocument* pDoc = pTemplate->GetNextDoc(docPos);
        if (pDoc && pDoc->GetTitle().CompareNoCase(name) == 0)
            return pDoc;
    }
    return pTemplate->OpenDocumentFile(strPath);
}

BOOL CPlexrunApp::FileExists(const CString& strPath)
{
    return !strPath.IsEmpty() && GetFileAttributesW(strPath) != INVALID_FILE_ATTRIBUTES;
}

CString CPlexrunApp::GetFileName(const CString& strPath)
{
    const int cut = std::max(strPath.ReverseFind(L'/'), strPath.ReverseFind(L'\\'));
    return strPath.Mid(cut + 1);
}

CString CPlexrunApp::GetFileExtension(const CString& strPath)
{
    const CString name = GetFileName(strPath);
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}
