#include "mfc/DocFile.h"

#include "mfc/Archive.h"
#include "mfc/Exceptions.h"
#include "mfc/File.h"

#include "win32/Files.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace
{
// An archive always goes before its file, also when an exception leaves the scope.
struct ArchiveAborter
{
    CArchive* ar;
    ~ArchiveAborter()
    {
        if (ar)
            ar->Abort();
    }
};

BOOL Fail(CException* e, CException** ppError)
{
    if (ppError)
        *ppError = e;
    else
        e->Delete();
    return FALSE;
}

// A copy of an exception object on the stack (CFile::Open's), made for handing on.
CFileException* HeapCopy(const CFileException& fe, LPCWSTR lpszPathName)
{
    return new CFileException(fe.m_cause == CFileException::none ? CFileException::genericException
                                                                 : fe.m_cause,
                              fe.m_lOsError, lpszPathName);
}

CFileException* ErrnoException(int nErrno, LPCWSTR lpszPathName)
{
    return new CFileException(CFileException::ErrnoToException(nErrno), nErrno, lpszPathName);
}

// Makes the rename itself last through a crash.
void SyncFolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
    {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

BOOL AfxSaveArchiveFile(LPCWSTR lpszPathName, const std::function<void(CArchive&)>& store,
                        CException** ppError)
{
    if (ppError)
        *ppError = nullptr;
    if (!lpszPathName || !*lpszPathName)
        return Fail(new CFileException(CFileException::badPath, EINVAL, lpszPathName), ppError);
    const std::string target = AfxResolvePathCase(lpszPathName).ToUtf8();
    Win32RemoveStaleSaveTemps(target);
    const std::string temp = Win32SaveTempPath(target);
    const CString tempName = CString::FromUtf8(temp);

    CFile file;
    CFileException fe;
    if (!file.Open(tempName,
                   CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive | CFile::typeBinary, &fe))
        return Fail(HeapCopy(fe, lpszPathName), ppError);
    try
    {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        ArchiveAborter aborter{&ar};
        ar.m_strFileName = lpszPathName;
        store(ar);
        aborter.ar = nullptr;
        ar.Close();
        if (::fsync(file.m_hFile) != 0)
            CFileException::ThrowErrno(errno, lpszPathName);
        file.Close();
    }
    catch (CException* e)
    {
        file.Abort();
        std::remove(temp.c_str());
        if (auto* pFileError = DYNAMIC_DOWNCAST(CFileException, e))
            pFileError->m_strFileName = lpszPathName; // the target, not the temporary
        return Fail(e, ppError);
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0)
    {
        const int err = errno;
        std::remove(temp.c_str());
        return Fail(ErrnoException(err, lpszPathName), ppError);
    }
    SyncFolderOf(target);
    return TRUE;
}

BOOL AfxLoadArchiveFile(LPCWSTR lpszPathName, const std::function<void(CArchive&)>& load, UINT nFlags,
                        CException** ppError, ULONGLONG nMaxLength)
{
    if (ppError)
        *ppError = nullptr;
    CFile file;
    CFileException fe;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &fe))
        return Fail(HeapCopy(fe, lpszPathName), ppError);
    // The whole file at once, then the archive over memory: much faster than many small reads, and
    // every length the loader checks is checked against what really is there.
    std::vector<BYTE> bytes;
    try
    {
        const ULONGLONG length = file.GetLength();
        if (length > nMaxLength || length > ULONGLONG(UINT(-1)))
            AfxThrowArchiveException(CArchiveException::genericException, lpszPathName);
        bytes.resize(size_t(length));
        if (length && file.Read(bytes.data(), UINT(length)) != UINT(length))
            AfxThrowArchiveException(CArchiveException::endOfFile, lpszPathName);
        file.Close();
        if (bytes.empty() && (nFlags & afxLoadEmptyAsNothing))
            return TRUE;

        CMemFile mem(bytes.empty() ? nullptr : bytes.data(), UINT(bytes.size()));
        CArchive ar(&mem, CArchive::load | CArchive::bNoFlushOnDelete);
        ArchiveAborter aborter{&ar};
        ar.m_strFileName = lpszPathName;
        load(ar);
        aborter.ar = nullptr;
        ar.Close();
    }
    catch (CException* e)
    {
        file.Abort();
        return Fail(e, ppError);
    }
    return TRUE;
}
