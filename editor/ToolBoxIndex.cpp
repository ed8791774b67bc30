#include "editor/ToolBoxIndex.h"

#include "foundation/PathUtils.h"
#include "foundation/StdioFileEx.h"
#include "mfc/Exceptions.h"

#include <filesystem>
#include <system_error>

CString CToolBoxIndex::FolderOfProgramFolder(const CString& strProgramFolder)
{
    CString folder = strProgramFolder;
    while (folder.GetLength() > 1 && CPathUtils::IsSeparator(folder[folder.GetLength() - 1]))
        folder.Truncate(folder.GetLength() - 1);
    CString parent = CPathUtils::GetFolder(folder);
    if (parent.IsEmpty())
        parent = folder == L"/" ? CString() : CString(L".");
    return parent + L"/Shapes/";
}

CString CToolBoxIndex::GetProgramToolBoxFolder()
{
    return FolderOfProgramFolder(CPathUtils::GetModuleFolder());
}

BOOL CToolBoxIndex::SplitLine(const CString& strLine, CString& strNumber, CString& strFileName)
{
    const int hash = strLine.ReverseFind(L'#');
    if (hash < 0)
        return FALSE;
    strNumber = strLine.Left(hash);
    strFileName = strLine.Mid(hash + 1);
    return !strNumber.IsEmpty() && !strFileName.IsEmpty();
}

std::vector<CString> CToolBoxIndex::ReadLines(const CString& strFolder)
{
    std::vector<CString> lines;
    CStdioFileEx file;
    if (!file.Open(strFolder + lpszIndexName, CFile::modeRead | CFile::typeText))
        return lines;
    try
    {
        CString line;
        while (file.ReadString(line))
        {
            line.Trim();
            if (!line.IsEmpty())
                lines.push_back(line);
        }
    }
    catch (CException* e)
    {
        // What was read before the fault stands; the rest is as if the file ended there.
        e->Delete();
    }
    file.Close();
    return lines;
}

std::vector<CString> CToolBoxIndex::ReadValidLines(const CString& strFolder)
{
    std::vector<CString> valid;
    CString number, name;
    for (const CString& line : ReadLines(strFolder))
        if (SplitLine(line, number, name))
            valid.push_back(line);
    return valid;
}

std::vector<CToolBoxIndex::Entry> CToolBoxIndex::ReadEntries(const CString& strFolder)
{
    std::vector<Entry> entries;
    UINT id = 100;
    for (const CString& line : ReadLines(strFolder))
    {
        Entry entry;
        if (!SplitLine(line, entry.strNumber, entry.strFileName))
            continue;
        entry.nId = id++;
        entries.push_back(entry);
    }
    return entries;
}

BOOL CToolBoxIndex::WriteLines(const CString& strFolder, const std::vector<CString>& lines)
{
    // Written beside the index and renamed over it, so a failed write keeps the old index.
    const CString target = strFolder + lpszIndexName;
    const CString temp = target + L".~new";
    CStdioFileEx file;
    if (!file.Open(temp, CFile::modeCreate | CFile::modeWrite | CStdioFileEx::modeWriteUnicode))
        return FALSE;
    bool ok = true;
    try
    {
        for (const CString& line : lines)
            file.WriteString(line + L"\n");
        file.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        ok = false;
        file.Abort();
    }
    std::error_code ec;
    const std::filesystem::path tempPath(temp.ToUtf8()), targetPath(target.ToUtf8());
    if (ok)
        std::filesystem::rename(tempPath, targetPath, ec);
    if (!ok || ec)
    {
        std::filesystem::remove(tempPath, ec);
        return FALSE;
    }
    return TRUE;
}

BOOL CToolBoxIndex::AppendEntry(const CString& strFolder, const CString& strFileName, BOOL bOnlyValid)
{
    std::vector<CString> lines = bOnlyValid ? ReadValidLines(strFolder) : ReadLines(strFolder);
    CString line;
    line.Format(L"%u#%s", unsigned(lines.size()), strFileName.GetString());
    lines.push_back(line);
    return WriteLines(strFolder, lines);
}

BOOL CToolBoxIndex::RemoveEntry(const CString& strFolder, const CString& strFileName)
{
    std::vector<CString> kept;
    CString number, name;
    for (const CString& line : ReadLines(strFolder))
        if (SplitLine(line, number, name) && name != strFileName)
            kept.push_back(line);
    return WriteLines(strFolder, kept);
}
