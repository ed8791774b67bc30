// The exception classes of the framework.
//
// Exceptions are thrown as POINTERS, the way the system's code expects them:
//
//     AfxThrowFileException(CFileException::fileNotFound, ENOENT, path);   // throw new CFileException(...)
//     ...
//     catch (CFileException* e) { ...; e->Delete(); }
//     catch (CException* e) { CString text = e->ReportError(); e->Delete(); }
//
// Whoever catches one frees it with Delete(), which deletes the object only when it was made on the
// heap for throwing (m_bAutoDelete); an exception object on the stack, such as the one that
// CFile::Open fills in, is left alone.
#pragma once

#include "mfc/CString.h"
#include "mfc/Object.h"

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}

    void Delete();
    // Copies the message, cut to nMaxError - 1 characters, and returns TRUE when there is one.
    virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;
    // The text a message box would show for this exception.
    virtual CString ReportError(UINT nType = 0, UINT nMessageID = 0);

    BOOL m_bAutoDelete;

protected:
    // The message; empty when there is none.
    virtual CString GetMessageText() const { return CString(); }
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCWSTR lpszArchiveName = nullptr)
        : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName)
    {
    }

    // Operating system errors here are errno values.
    static int ErrnoToException(int nErrno);
    static int OsErrorToException(LONG lOsError) { return ErrnoToException(int(lOsError)); }
    [[noreturn]] static void ThrowErrno(int nErrno, LPCWSTR lpszFileName = nullptr);
    [[noreturn]] static void ThrowOsError(LONG lOsError, LPCWSTR lpszFileName = nullptr);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;

protected:
    CString GetMessageText() const override;
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    explicit CArchiveException(int cause = none, LPCWSTR lpszArchiveName = nullptr)
        : m_cause(cause), m_strFileName(lpszArchiveName)
    {
    }

    int m_cause;
    CString m_strFileName;

protected:
    CString GetMessageText() const override;
};

class CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    using CException::CException;

protected:
    CString GetMessageText() const override;
};

class CNotSupportedException : public CException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    using CException::CException;

protected:
    CString GetMessageText() const override;
};

// A window class, resource or drawing object could not be made.
class CResourceException : public CException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    using CException::CException;

protected:
    CString GetMessageText() const override;
};

class CInvalidArgException : public CException
{
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    using CException::CException;

protected:
    CString GetMessageText() const override;
};

[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCWSTR lpszFileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName = nullptr);
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowResourceException();

// Throws CInvalidArgException when the condition does not hold.
#define ENSURE(cond)                                                                                         \
    do                                                                                                       \
    {                                                                                                        \
        if (!(cond))                                                                                         \
            AfxThrowInvalidArgException();                                                                   \
    } while (0)
#define ENSURE_ARG(cond) ENSURE(cond)
