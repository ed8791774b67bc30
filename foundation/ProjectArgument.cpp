#include "foundation/ProjectArgument.h"

#include "foundation/StdioFileEx.h"
#include "mfc/Exceptions.h"
#include "mfc/ModalHook.h"

namespace
{
CString Slashed(const CString& strText)
{
    CString s = strText;
    s.Replace(L'\\', L'/');
    return s;
}
} // namespace

BOOL CProjectArgument::IsBareProjectName(const CString& strText)
{
    const CString s = Slashed(strText);
    return s.Find(L'/') < 0 && s.Find(L".dcp") < 0;
}

BOOL CProjectArgument::IsProjectFileName(const CString& strText)
{
    const CString s = Slashed(strText);
    return s.Find(L'/') < 0 && s.Find(L".dcp") > 0;
}

BOOL CProjectArgument::IsFullProjectPath(const CString& strText)
{
    const CString s = Slashed(strText);
    return s.Find(L'/') == 0 && s.Find(L".dcp") > 0;
}

BOOL CProjectArgument::Parse(const CString& strArgument, const CString& strUserFolder, CString& strFolder,
                             CString& strFile)
{
    const CString text = Slashed(strArgument);
    if (IsBareProjectName(text))
    {
        strFolder = strUserFolder + text + L"/";
        strFile = text + L".dcp";
        return TRUE;
    }
    if (IsProjectFileName(text))
    {
        strFolder = strUserFolder + text.Left(text.Find(L'.')) + L"/";
        strFile = text;
        return TRUE;
    }
    if (IsFullProjectPath(text))
    {
        const int slash = text.ReverseFind(L'/');
        strFolder = text.Left(slash + 1);
        strFile = text.Mid(slash + 1);
        return TRUE;
    }
    CString msg;
    msg.Format(L"Invalid argument = %s", static_cast<LPCWSTR>(strArgument));
    AfxMessageBox(msg, MB_OK);
    return FALSE;
}

BOOL CProjectArgument::ReadLastProjectLine(const CString& strPath, CString& strLine)
{
    strLine.Empty();
    CStdioFileEx file;
    if (!file.Open(strPath,
                   CFile::modeRead | CFile::shareDenyNone | CFile::typeText | CStdioFileEx::modeWriteUnicode))
        return FALSE;
    try
    {
        CString line;
        while (file.ReadString(line))
            if (line.GetLength() > 0)
                strLine = line;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    file.Close();
    CString trimmed = strLine;
    trimmed.Trim();
    return !trimmed.IsEmpty();
}
