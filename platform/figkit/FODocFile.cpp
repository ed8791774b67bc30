#include "figkit/FODocFile.h"

#include "mfc/File.h"

#include <cstdio>
#include <unistd.h>

CString FOTempSavePath(const CString& path)
{
    CString target = AfxResolvePathCase(path);
    CString temp;
    temp.Format(L"%s.~save%d", target.GetString(), int(getpid()));
    return temp;
}

BOOL FOCommitSavedFile(const CString& tempPath, const CString& path)
{
    const CString target = AfxResolvePathCase(path);
    if (std::rename(tempPath.ToUtf8().c_str(), target.ToUtf8().c_str()) != 0)
    {
        FODiscardSavedFile(tempPath);
        return FALSE;
    }
    return TRUE;
}

void FODiscardSavedFile(const CString& tempPath)
{
    std::remove(tempPath.ToUtf8().c_str());
}
