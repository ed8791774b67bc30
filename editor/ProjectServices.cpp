#include "editor/ProjectServices.h"

#include "editor/MyExtDataModel.h"
#include "foundation/StdioFileEx.h"
#include "model/WorkSpaceObj.h"
#include "win32/Files.h"
#include "win32/Shell.h"
#include "win32/System.h"

#include <cstdio>
#include <cwctype>
#include <filesystem>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace
{
std::string Native(const CString& path)
{
    return Win32NativePath(CProjectFiles::Slashed(path).str());
}

CString Format1(LPCWSTR format, const CString& arg)
{
    CString s;
    s.Format(format, static_cast<LPCWSTR>(arg));
    return s;
}

struct FileCloser
{
    void operator()(std::FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The temporary name a copy is written under before it takes the target's name.
std::string TempName(const std::string& target)
{
    return target + ".~copy";
}

// Copies through a temporary name and checks the length that arrived against the source's.
BOOL CopyChecked(const std::string& source, const std::string& target, size_t nChunk)
{
    std::error_code ec;
    const auto length = fs::file_size(source, ec);
    if (ec)
        return FALSE;
    const std::string temp = TempName(target);
    {
        FilePtr in(std::fopen(source.c_str(), "rb"));
        if (!in)
            return FALSE;
        FilePtr out(std::fopen(temp.c_str(), "wb"));
        if (!out)
            return FALSE;
        std::vector<char> buffer(nChunk ? nChunk : 10240);
        uintmax_t copied = 0;
        while (copied < length)
        {
            const size_t n = std::fread(buffer.data(), 1, buffer.size(), in.get());
            if (n == 0)
                break;
            if (std::fwrite(buffer.data(), 1, n, out.get()) != n)
                break;
            copied += n;
        }
        const bool flushed = std::fflush(out.get()) == 0;
        if (!flushed || copied != length)
        {
            out.reset();
            fs::remove(temp, ec);
            return FALSE;
        }
    }
    // Programs keep their permission to run.
    fs::permissions(temp, fs::status(source, ec).permissions(), ec);
    if (fs::file_size(temp, ec) != length || ec)
    {
        fs::remove(temp, ec);
        return FALSE;
    }
    fs::rename(temp, target, ec);
    if (ec)
    {
        fs::remove(temp, ec);
        return FALSE;
    }
    return TRUE;
}
} // namespace

// --- Files and folders -------------------------------------------------------------------------------

CString CProjectFiles::Slashed(const CString& path)
{
    CString s = path;
    s.Replace(L'\\', L'/');
    return s;
}

CString CProjectFiles::AsFolder(const CString& path)
{
    CString s = Slashed(path);
    s.Trim();
    if (s.IsEmpty() || s.Right(1) != L"/")
        s += L"/";
    return s;
}

BOOL CProjectFiles::IsDirectory(const CString& path)
{
    std::error_code ec;
    return !path.IsEmpty() && fs::is_directory(Native(path), ec);
}

BOOL CProjectFiles::CreateFolder(const CString& path)
{
    if (path.IsEmpty() || IsDirectory(path))
        return FALSE;
    std::error_code ec;
    return fs::create_directory(Native(path), ec) && !ec;
}

BOOL CProjectFiles::CreateDirectoryTree(const CString& path)
{
    if (path.IsEmpty())
        return FALSE;
    // Level by level from the top, each resolved again, so a lower-cased path reaches existing
    // folders of any case and new folders go under them.
    const CString s = Slashed(path);
    int pos = s.Left(2) == L"//" ? 2 : 1;
    for (;;)
    {
        const int slash = s.Find(L'/', pos);
        const CString level = slash < 0 ? s : s.Left(slash);
        if (!level.IsEmpty() && level != L"/" && !IsDirectory(level))
        {
            std::error_code ec;
            fs::create_directory(Native(level), ec);
            if (!IsDirectory(level))
                return FALSE;
        }
        if (slash < 0 || slash + 1 >= s.GetLength())
            break;
        pos = slash + 1;
    }
    return IsDirectory(s);
}

CString CProjectFiles::GetFolderPart(const CString& path)
{
    const CString s = Slashed(path);
    return s.Left(s.ReverseFind(L'/') + 1);
}

CString CProjectFiles::GetFileNamePart(const CString& path)
{
    const CString s = Slashed(path);
    return s.Mid(s.ReverseFind(L'/') + 1);
}

CString CProjectFiles::GetFileExtension(const CString& path)
{
    const CString name = GetFileNamePart(path);
    const int dot = name.ReverseFind(L'.');
    if (dot < 0 || dot == name.GetLength() - 1)
        return CString();
    return name.Mid(dot + 1);
}

BOOL CProjectFiles::IsFileExist(const CString& path)
{
    std::error_code ec;
    return !path.IsEmpty() && fs::exists(Native(path), ec);
}

BOOL CProjectFiles::DeleteFileSafe(const CString& path)
{
    std::error_code ec;
    return fs::remove(Native(path), ec) && !ec;
}

BOOL CProjectFiles::RenameFileSafe(const CString& from, const CString& to)
{
    if (from == to || !IsFileExist(from) || IsFileExist(to))
        return FALSE;
    std::error_code ec;
    fs::rename(Native(from), Native(to), ec);
    return !ec;
}

BOOL CProjectFiles::RemoveFolderTree(const CString& path)
{
    if (path.IsEmpty())
        return FALSE;
    std::error_code ec;
    fs::remove_all(Native(path), ec);
    return !IsFileExist(path);
}

BOOL CProjectFiles::IsInsideFolder(const CString& path, const CString& folder)
{
    std::error_code ec;
    // The real paths, so links and case differences (through the resolver) cannot hide it; a path
    // that does not exist yet is made absolute as far as it goes.
    const fs::path p = fs::weakly_canonical(Native(AsFolder(path)), ec);
    const fs::path f = fs::weakly_canonical(Native(AsFolder(folder)), ec);
    if (ec || f.empty())
        return FALSE;
    auto pi = p.begin();
    for (auto fi = f.begin(); fi != f.end(); ++fi, ++pi)
    {
        if (fi->empty())
            continue; // the trailing separator
        if (pi == p.end() || *pi != *fi)
            return FALSE;
    }
    return TRUE;
}

BOOL CProjectFiles::IsValidProjectName(const CString& name)
{
    if (name.IsEmpty())
        return FALSE;
    for (int i = 0; i < name.GetLength(); ++i)
    {
        const wchar_t c = name[i];
        if (c != L'_' && !std::iswalnum(c))
            return FALSE;
    }
    return TRUE;
}

BOOL CProjectFiles::IsSkippedExtension(const CString& ext)
{
    static const wchar_t* const kSkipped[] = {L"obj", L"pch", L"aps", L"idb", L"res",
                                              L"ncb", L"pdb", L"ilk", L"opt"};
    CString lower = ext;
    lower.MakeLower();
    for (const wchar_t* s : kSkipped)
        if (lower == s)
            return TRUE;
    return FALSE;
}

BOOL CProjectFiles::CopyFileChunked(const CString& source, const CString& target, UINT nChunk)
{
    if (IsFileExist(target))
        return FALSE;
    return CopyChecked(Native(source), Native(target), nChunk);
}

BOOL CProjectFiles::CopyFolder(const CString& source, const CString& target, CString* pFailed)
{
    const CString src = AsFolder(source);
    const CString dst = AsFolder(target);
    auto fail = [&](const CString& what)
    {
        if (pFailed)
            *pFailed = what;
        return FALSE;
    };
    if (src.CompareNoCase(dst) == 0 || !IsDirectory(src) || IsInsideFolder(dst, src))
        return fail(dst);
    if (!IsDirectory(dst) && !CreateDirectoryTree(dst))
        return fail(dst);
    std::vector<Win32FolderEntry> entries;
    if (!Win32ListFolder(src.str(), entries))
        return fail(src);
    for (const Win32FolderEntry& e : entries)
    {
        const CString from = src + CString(e.name);
        const CString to = dst + CString(e.name);
        if (e.bDirectory)
        {
            if (!CopyFolder(from, to, pFailed))
                return FALSE;
        }
        else if (!IsSkippedExtension(GetFileExtension(CString(e.name))))
        {
            if (!CopyChecked(Native(from), Native(to), size_t(1) << 20))
                return fail(to);
        }
    }
    return TRUE;
}

// --- New projects ------------------------------------------------------------------------------------

CString CProjectCreator::ProjectFolder(const CNewProjectValues& v)
{
    CString name = v.strName;
    name.Trim();
    CString folder = CProjectFiles::AsFolder(v.strLocation) + name + L"/";
    folder.Trim();
    folder.MakeLower();
    return folder;
}

CString CProjectCreator::ProjectFile(const CNewProjectValues& v)
{
    CString name = v.strName;
    name.Trim();
    name += L".dcp";
    name.MakeLower();
    return name;
}

void CProjectCreator::ApplyValues(CWorkSpaceObj& ws, const CNewProjectValues& v)
{
    ws.m_crBack = v.crBack;
    ws.m_nCanvasWidth = v.nWidth;
    ws.m_nCanvasHeight = v.nHeight;
    ws.m_bShowRuler = v.bRuler ? 1 : 0;
    ws.m_strAuthor = v.strAuthor;
    ws.m_strDepartment = v.strDepartment;
    ws.m_strEMail = v.strEMail;
    ws.m_strURL = v.strURL;
    ws.m_strCompany = v.strCompany;
    ws.m_strNotice = v.strCopyright;
}

BOOL CProjectCreator::WriteEmptyScreen(const CWorkSpaceObj& ws, const CString& strPath)
{
    CMyExtDataModel model;
    model.SetBkColor(ws.m_crBack);
    model.SetPageBkColor(ws.m_crPageBack);
    model.SetCanvasSize(CSize(ws.m_nCanvasWidth, ws.m_nCanvasHeight));
    model.SetBorderShow(ws.m_bShowPageShadow);
    return model.SaveDocument(strPath);
}

const wchar_t* CProjectCreator::SeedScript()
{
    return L"function main(strShapeKey1, shape)\r\n{\r\n\tapp.test(\"testing code here!\");\r\n}";
}

namespace
{
// The refusals both kinds of new project share; empty when the project may be made.
CString CheckNewProject(const CNewProjectValues& v)
{
    CString name = v.strName;
    name.Trim();
    if (name.IsEmpty())
        return L"The project name cann't be empty!";
    if (!CProjectFiles::IsValidProjectName(name))
        return L"No correct project name is used!";
    if (CProjectFiles::IsFileExist(CProjectCreator::ProjectFolder(v)))
        return L"There is an exist project with the same name that you entered, please correct it before "
               L"click "
               L"next button.";
    return CString();
}

BOOL WriteUnicodeText(const CString& path, const CString& text)
{
    CStdioFileEx file;
    if (!file.Open(path,
                   CFile::modeCreate | CFile::modeWrite | CFile::typeText | CStdioFileEx::modeWriteUnicode))
        return FALSE;
    try
    {
        file.WriteString(text);
        file.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}
} // namespace

BOOL CProjectCreator::CreateEmpty(CWorkSpaceObj& ws, const CNewProjectValues& v, CString& rError)
{
    rError = CheckNewProject(v);
    if (!rError.IsEmpty())
        return FALSE;
    const CString folder = ProjectFolder(v);
    const CString path = folder + ProjectFile(v);
    auto fail = [&](const CString& message)
    {
        rError = message;
        CProjectFiles::RemoveFolderTree(folder);
        return FALSE;
    };
    // The location keeps the case it is written in; the project folder below it is lower-cased.
    if (!CProjectFiles::CreateDirectoryTree(CProjectFiles::AsFolder(v.strLocation)) ||
        !CProjectFiles::CreateDirectoryTree(folder + L"XdgFiles/") ||
        !CProjectFiles::CreateDirectoryTree(folder + L"ScriptFiles/"))
        return fail(Format1(L"Failed to create the project folder '%s'.", folder));

    ws.DeleteContents();
    ws.CreateParamSTags();
    ApplyValues(ws, v);
    if (!WriteEmptyScreen(ws, folder + L"XdgFiles/Main.xdg"))
        return fail(Format1(L"Failed to write the screen '%s'.", folder + L"XdgFiles/Main.xdg"));
    ws.m_strMainScreen = L"Main.xdg";
    if (!WriteUnicodeText(folder + L"ScriptFiles/system.uscp", SeedScript()))
        return fail(Format1(L"Failed to write the script '%s'.", folder + L"ScriptFiles/system.uscp"));
    if (!ws.SaveDocument(path))
        return fail(Format1(L"Failed to write the project file '%s'.", path));
    return TRUE;
}

namespace
{
// Reads a project file without telling the user: the caller reports once.
class CProbeWorkSpace : public CWorkSpaceObj
{
public:
    void ReportSaveLoadException(LPCWSTR, CException*, BOOL, UINT) override {}
};
} // namespace

CString CProjectCreator::TemplateFile(const CNewProjectValues& v, const CString& strTemplateFolder)
{
    // The listed entry names the very file; a folder holding several, or one whose ".dcp" has
    // another name than the folder, is then found as listed.
    CString dcp = CProjectFiles::Slashed(v.strTemplatePath);
    if (dcp.IsEmpty() && !v.strTemplate.IsEmpty())
        dcp = CProjectFiles::AsFolder(CProjectFiles::AsFolder(strTemplateFolder) + v.strTemplate) +
              v.strTemplate + L".dcp";
    return dcp;
}

BOOL CProjectCreator::CheckTemplate(const CNewProjectValues& v, const CString& strTemplateFolder,
                                    CString& rError)
{
    rError.Empty();
    const CString dcp = TemplateFile(v, strTemplateFolder);
    if (dcp.IsEmpty() || !CProjectFiles::IsDirectory(CProjectFiles::GetFolderPart(dcp)))
        rError = L"Failed to copy the template files?";
    else if (!CProjectFiles::IsFileExist(dcp))
        rError = Format1(L"The template has no project file '%s': no project was created.", dcp);
    else
    {
        CProbeWorkSpace probe;
        if (!probe.OpenDocument(CString(Win32ResolvePath(dcp.str()))))
            rError =
                Format1(L"The template's project file '%s' cannot be read: no project was created.", dcp);
    }
    return rError.IsEmpty();
}

BOOL CProjectCreator::CreateFromTemplate(CWorkSpaceObj& ws, const CNewProjectValues& v,
                                         const CString& strTemplateFolder, CString& rError)
{
    rError = CheckNewProject(v);
    if (!rError.IsEmpty() || !CheckTemplate(v, strTemplateFolder, rError))
        return FALSE;
    const CString dcp = TemplateFile(v, strTemplateFolder);
    const CString source = CProjectFiles::AsFolder(CProjectFiles::GetFolderPart(dcp));
    const CString folder = ProjectFolder(v);
    const CString path = folder + ProjectFile(v);
    if (!CProjectFiles::CreateDirectoryTree(CProjectFiles::AsFolder(v.strLocation)) ||
        !CProjectFiles::CopyFolder(source, folder))
    {
        CProjectFiles::RemoveFolderTree(folder);
        rError = L"Failed to copy the template files?";
        return FALSE;
    }
    // The folder's other projects stay in the template: the new project has one project file.
    const CString chosen = CProjectFiles::GetFileNamePart(dcp);
    std::vector<Win32FolderEntry> files;
    Win32ListFolder(folder.str(), files);
    for (const Win32FolderEntry& file : files)
    {
        const CString name(file.name);
        if (!file.bDirectory && CProjectFiles::GetFileExtension(name).CompareNoCase(L"dcp") == 0 &&
            name != chosen)
            CProjectFiles::DeleteFileSafe(folder + name);
    }
    CProjectFiles::RenameFileSafe(folder + chosen, path);
    // The copy keeps the template's variables and settings; the wizard's values go over them.
    if (!ws.OpenDocument(CString(Win32ResolvePath(path.str()))))
    {
        CProjectFiles::RemoveFolderTree(folder);
        rError = L"Error with opening this project!";
        return FALSE;
    }
    ApplyValues(ws, v);
    if (!ws.SaveDocument(path))
    {
        CProjectFiles::RemoveFolderTree(folder);
        rError = Format1(L"Failed to write the project file '%s'.", path);
        return FALSE;
    }
    return TRUE;
}

BOOL CProjectCreator::WriteLastProject(const CString& strPath, const CString& strText)
{
    // Written beside and renamed over, so a failed write keeps the old content.
    const CString temp = strPath + L".~new";
    if (!WriteUnicodeText(temp, strText))
    {
        CProjectFiles::DeleteFileSafe(temp);
        return FALSE;
    }
    std::error_code ec;
    fs::rename(Native(temp), Native(strPath), ec);
    if (ec)
        CProjectFiles::DeleteFileSafe(temp);
    return !ec;
}

// --- Build and run -----------------------------------------------------------------------------------

CString CProjectBuilder::BinProgramName(const CString& strName)
{
    CString name = CProjectFiles::GetFileNamePart(strName);
    name.Trim();
    if (name.GetLength() > 4 && name.Right(4).CompareNoCase(L".exe") == 0)
        name = name.Left(name.GetLength() - 4);
    return name;
}

CString CProjectBuilder::PlayerPath(const CString& strProgramFolder)
{
    return CProjectFiles::AsFolder(strProgramFolder) + L"QYRView";
}

BOOL CProjectBuilder::Build(const CBuildRequest& req, CString& rPlayer, CString& rProject, CString& rError,
                            const Progress& progress)
{
    rPlayer.Empty();
    rProject.Empty();
    const CString output = CProjectFiles::AsFolder(req.strOutputFolder);
    const CString project = CProjectFiles::AsFolder(req.strProjectFolder);
    const CString programs = CProjectFiles::AsFolder(req.strProgramFolder);
    const CString name = BinProgramName(req.strProgramName);
    if (name.IsEmpty() || req.strOutputFolder.IsEmpty() || req.strProjectTitle.IsEmpty())
    {
        rError = L"Please enter a name for output exe file and an output path, and then try again.";
        return FALSE;
    }
    if (CProjectFiles::IsInsideFolder(output, project))
    {
        rError = Format1(L"The output folder '%s' lies inside the project folder: please choose another one.",
                         output);
        return FALSE;
    }
    // Every runtime file must be there before anything is written.
    const CString player = PlayerPath(programs);
    if (!CProjectFiles::IsFileExist(player))
    {
        rError = Format1(L"The runtime file '%s' is missing: the project was not built.", player);
        return FALSE;
    }
    const CString copy = output + L"User/" + req.strProjectTitle + L"/";
    const CString bin = output + L"Bin/";
    for (const CString& folder : {output, output + L"User/", copy, bin})
        if (!CProjectFiles::IsDirectory(folder) && !CProjectFiles::CreateDirectoryTree(folder))
        {
            rError = Format1(L"Failed to create the folder '%s': the project was not built.", folder);
            return FALSE;
        }
    CString failed;
    if (progress)
        progress(Format1(L"Copying the project to %s", copy), 0, 2);
    if (!CProjectFiles::CopyFolder(project, copy, &failed))
    {
        rError = Format1(L"Failed to copy the project to '%s': the project was not built.", failed);
        return FALSE;
    }

    // The runtime: the player under its chosen name, the viewer when it was built, and every
    // shared library of ours beside them. Files already in Bin/ stay as they are.
    std::vector<std::pair<CString, CString>> files = {{player, bin + name}};
    if (CProjectFiles::IsFileExist(programs + L"QYRMView"))
        files.push_back({programs + L"QYRMView", bin + L"QYRMView"});
    std::vector<Win32FolderEntry> entries;
    Win32ListFolder(programs.str(), entries);
    for (const Win32FolderEntry& e : entries)
    {
        const CString file(e.name);
        const int so = file.Find(L".so");
        if (!e.bDirectory && so > 0 && (so + 3 == file.GetLength() || file[so + 3] == L'.'))
            files.push_back({programs + file, bin + file});
    }
    // The steps: the project, each runtime file and "main.dat".
    const int total = int(files.size()) + 2;
    int done = 1;
    for (const auto& [from, to] : files)
    {
        if (progress)
            progress(Format1(L"Copying %s", to), done++, total);
        if (!CProjectFiles::IsFileExist(to) && !CProjectFiles::CopyFileChunked(from, to, 10240))
        {
            rError = Format1(L"Failed to copy the runtime file '%s': the project was not built.", to);
            return FALSE;
        }
    }
    if (progress)
        progress(Format1(L"Writing %s", bin + L"main.dat"), done, total);
    // The built player opens the copy: its "main.dat" names the copy by its bare title.
    if (!CProjectCreator::WriteLastProject(bin + L"main.dat", req.strProjectTitle))
    {
        rError = Format1(L"Failed to write '%s': the project was not built.", bin + L"main.dat");
        return FALSE;
    }
    rPlayer = bin + name;
    rProject.Format(L"%s%s.dcp", static_cast<LPCWSTR>(copy), static_cast<LPCWSTR>(req.strProjectTitle));
    return TRUE;
}

BOOL CProjectBuilder::StartPlayer(const CString& strPlayer, const CString& strProject, CString& rError,
                                  DWORD* pPid)
{
    // The player is handed the project as it is spelled on disk, not the lower-cased form kept here.
    if (!Win32StartProgram(strPlayer.str(), Win32ResolvePath(strProject.str()), pPid))
    {
        rError.Format(L"Failed to run the command: '%s',\nError:%u", static_cast<LPCWSTR>(strPlayer),
                      unsigned(GetLastError()));
        return FALSE;
    }
    return TRUE;
}

BOOL CProjectBuilder::Run(const CWorkSpaceObj& ws, const CString& strProjectFile,
                          const CString& strProgramFolder, CString& rError, DWORD* pPid)
{
    if (ws.m_strMainScreen.IsEmpty())
    {
        rError = L"Please set the main screen of this application by choosing the \"Project Setting\" menu "
                 L"item at "
                 L"first.";
        return FALSE;
    }
    return StartPlayer(PlayerPath(strProgramFolder), strProjectFile, rError, pPid);
}
