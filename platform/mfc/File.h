// Files: CFile over a POSIX descriptor, CStdioFile over a C stream with text lines, CMemFile in memory.
//
// Names may use '\' as separator; it is taken as '/'. When a file to open does not exist under the
// exact name, each component of the path is looked up without regard to case (AfxResolvePathCase),
// so a lower-cased path still finds "/home/Ann/Plant1/Main.xdg". Share modes are accepted and not
// enforced. Failures throw CFileException* (see Exceptions.h), except Open, which reports through
// its return value and the optional exception object.
#pragma once

#include "mfc/CString.h"
#include "mfc/Exceptions.h"
#include "mfc/Object.h"

#include <cstdio>

// The path with '\' taken as '/', and each component that does not exist as written replaced by
// the entry of its folder whose name matches without regard to case. Components that match
// nothing are kept as written, so the result also names a file about to be created.
CString AfxResolvePathCase(const CString& path);

struct CFileStatus
{
    __int64 m_ctime = 0; // seconds since 1970-01-01 UTC
    __int64 m_mtime = 0;
    __int64 m_atime = 0;
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0; // CFile::Attribute bits
    wchar_t m_szFullName[MAX_PATH] = {};
};

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum Attribute
    {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20
    };
    enum SeekPosition
    {
        begin = 0,
        current = 1,
        end = 2
    };
    static constexpr int hFileNull = -1;

    CFile();
    // Opens the file or throws CFileException*.
    CFile(LPCWSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Reads up to nCount bytes; fewer only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    virtual void Close();
    // Closes without reporting errors.
    virtual void Abort();

    // The full path of the open file, the name part, and the name without its extension.
    virtual CString GetFilePath() const { return m_strFileName; }
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual void SetFilePath(LPCWSTR lpszNewName) { m_strFileName = lpszNewName; }

    BOOL GetStatus(CFileStatus& rStatus) const;
    static BOOL GetStatus(LPCWSTR lpszFileName, CFileStatus& rStatus);
    // Both throw CFileException* on failure; Rename does not replace an existing file.
    static void Remove(LPCWSTR lpszFileName);
    static void Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName);

    int m_hFile;

protected:
    // Opens a descriptor for the flags; on failure returns -1 and fills pError when given.
    static int OpenDescriptor(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError,
                              CString& fullPath);
    void ThrowIfClosed() const;

    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};

// Text lines in UTF-8, the ANSI code page here. In text mode (no typeBinary flag) a CR before the
// line feed is dropped on reading; lines are written as given.
class CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    // Takes a stream opened elsewhere, which it does not close on destruction.
    explicit CStdioFile(FILE* pOpenStream);
    // Opens the file or throws CFileException*.
    CStdioFile(LPCWSTR lpszFileName, UINT nOpenFlags);
    ~CStdioFile() override;

    BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override;
    void Close() override;
    void Abort() override;

    virtual void WriteString(LPCWSTR lpsz);
    // Up to nMax - 1 characters, stopping after a line feed, which is kept; null at the end.
    virtual LPWSTR ReadString(LPWSTR lpsz, UINT nMax);
    // One line without its line feed; FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);

    FILE* m_pStream;

protected:
    FILE* GetStream() const { return m_pStream; }
    BOOL IsTextMode() const { return m_bTextMode; }
    void ThrowIfNoStream() const;
    // Throws for a stream error after a short read or write.
    void CheckStreamError() const;

    BOOL m_bTextMode;
};

// A file in a growable memory block.
class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    // Works in the caller's buffer; see Attach.
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // With nGrowBytes 0 the buffer is the file's fixed content; otherwise it starts empty and grows
    // into a block of its own when it is full. The caller's buffer is never freed here.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Gives up the block (freed with free() by the caller); call GetLength first for its size.
    BYTE* Detach();

    BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    ULONGLONG GetLength() const override { return m_nFileSize; }
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override {}
    void Close() override;
    void Abort() override { Close(); }

private:
    void GrowFile(size_t nNewLen);
    void FreeBuffer();

    BYTE* m_lpBuffer = nullptr;
    size_t m_nBufferSize = 0;
    size_t m_nFileSize = 0;
    size_t m_nPosition = 0;
    UINT m_nGrowBytes;
    BOOL m_bAutoDelete = TRUE; // the block is ours to free
};
