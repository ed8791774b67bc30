#include "mfc/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cwchar>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)

namespace
{
CString WithName(LPCWSTR format, const CString& name)
{
    CString text;
    text.Format(format, name.IsEmpty() ? L"an unnamed file" : name.GetString());
    return text;
}
} // namespace

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    const CString text = GetMessageText();
    if (lpszError && nMaxError > 0)
    {
        const size_t n = std::min<size_t>(size_t(text.GetLength()), nMaxError - 1);
        std::wmemcpy(lpszError, text.GetString(), n);
        lpszError[n] = L'\0';
    }
    return !text.IsEmpty();
}

CString CException::ReportError(UINT, UINT)
{
    const CString text = GetMessageText();
    return text.IsEmpty() ? CString(L"No error message is available.") : text;
}

int CFileException::ErrnoToException(int nErrno)
{
    switch (nErrno)
    {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EBUSY:
        return removeCurrentDir;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    case ESPIPE:
    case EINVAL:
        return badSeek;
    case EIO:
        return hardIO;
    case ETXTBSY:
        return sharingViolation;
    case EAGAIN:
    case EDEADLK:
    case ENOLCK:
        return lockViolation;
    default:
        return genericException;
    }
}

void CFileException::ThrowErrno(int nErrno, LPCWSTR lpszFileName)
{
    AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

void CFileException::ThrowOsError(LONG lOsError, LPCWSTR lpszFileName)
{
    AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

CString CFileException::GetMessageText() const
{
    switch (m_cause)
    {
    case none:
        return L"No error occurred.";
    case fileNotFound:
        return WithName(L"%s was not found.", m_strFileName);
    case badPath:
        return WithName(L"All or part of the path %s is not valid.", m_strFileName);
    case tooManyOpenFiles:
        return WithName(L"%s could not be opened because too many files are open.", m_strFileName);
    case accessDenied:
        return WithName(L"Access to %s was denied.", m_strFileName);
    case invalidFile:
        return WithName(L"An invalid file handle was used with %s.", m_strFileName);
    case removeCurrentDir:
        return WithName(L"%s is in use and cannot be removed.", m_strFileName);
    case directoryFull:
        return WithName(L"%s could not be created because the folder is full.", m_strFileName);
    case badSeek:
        return WithName(L"The position in %s could not be set.", m_strFileName);
    case hardIO:
        return WithName(L"A device error occurred while accessing %s.", m_strFileName);
    case sharingViolation:
        return WithName(L"%s is in use by another process.", m_strFileName);
    case lockViolation:
        return WithName(L"A part of %s is locked.", m_strFileName);
    case diskFull:
        return WithName(L"The disk is full while writing %s.", m_strFileName);
    case endOfFile:
        return WithName(L"An attempt was made to read past the end of %s.", m_strFileName);
    default:
        return WithName(L"An unexpected error occurred while accessing %s.", m_strFileName);
    }
}

CString CArchiveException::GetMessageText() const
{
    switch (m_cause)
    {
    case none:
        return L"No error occurred.";
    case readOnly:
        return WithName(L"%s was opened for reading and cannot be written.", m_strFileName);
    case endOfFile:
        return WithName(L"Unexpected end of file while reading %s.", m_strFileName);
    case writeOnly:
        return WithName(L"%s was opened for writing and cannot be read.", m_strFileName);
    case badIndex:
        return WithName(L"%s has an invalid format.", m_strFileName);
    case badClass:
        return WithName(L"%s contains an unexpected object.", m_strFileName);
    case badSchema:
        return WithName(L"%s contains an object of an unsupported version.", m_strFileName);
    default:
        return WithName(L"An unexpected error occurred while reading or writing %s.", m_strFileName);
    }
}

CString CMemoryException::GetMessageText() const
{
    return L"Out of memory.";
}

CString CNotSupportedException::GetMessageText() const
{
    return L"The operation is not supported.";
}

CString CInvalidArgException::GetMessageText() const
{
    return L"An invalid argument was encountered.";
}

void AfxThrowFileException(int cause, LONG lOsError, LPCWSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

void AfxThrowMemoryException()
{
    throw new CMemoryException();
}

void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException();
}

CString CResourceException::GetMessageText() const
{
    return L"A required resource was unavailable.";
}

void AfxThrowResourceException()
{
    throw new CResourceException();
}

void AfxThrowInvalidArgException()
{
    throw new CInvalidArgException();
}
