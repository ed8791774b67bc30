#include "mfc/File.h"

#include "win32/Utf.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

namespace
{
std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of the folder whose name matches without regard to case; the first in byte order when
// several do, so the choice does not depend on the directory's order.
bool FindNoCase(const std::string& folder, const std::string& name, std::string& found)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    const QString wanted = QString::fromUtf8(name.data(), qsizetype(name.size()));
    bool any = false;
    while (const dirent* e = ::readdir(dir))
    {
        const std::string entry(e->d_name);
        if (entry == "." || entry == "..")
            continue;
        if (wanted.compare(QString::fromUtf8(entry.data(), qsizetype(entry.size())), Qt::CaseInsensitive) !=
            0)
            continue;
        if (!any || entry < found)
            found = entry;
        any = true;
    }
    ::closedir(dir);
    return any;
}

std::string ToNativePath(const CString& path)
{
    std::string p = path.ToUtf8();
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

std::string ResolveNative(const std::string& p)
{
    if (p.empty() || Exists(p))
        return p;
    std::vector<std::string> parts;
    size_t i = 0;
    while (i < p.size())
    {
        size_t j = p.find('/', i);
        if (j == std::string::npos)
            j = p.size();
        if (j > i)
            parts.push_back(p.substr(i, j - i));
        i = j + 1;
    }
    std::string cur = p[0] == '/' ? "/" : "";
    for (size_t k = 0; k < parts.size(); ++k)
    {
        const std::string& comp = parts[k];
        const std::string exact = JoinPath(cur, comp);
        std::string match;
        if (comp == "." || comp == ".." || Exists(exact))
            cur = exact;
        else if (FindNoCase(cur, comp, match))
            cur = JoinPath(cur, match);
        else
        {
            for (; k < parts.size(); ++k)
                cur = JoinPath(cur, parts[k]);
            break;
        }
    }
    if (p.back() == '/' && (cur.empty() || cur.back() != '/'))
        cur += '/';
    return cur;
}

std::string AbsolutePath(const std::string& p)
{
    std::error_code ec;
    const std::filesystem::path abs = std::filesystem::absolute(std::filesystem::path(p), ec);
    return ec ? p : abs.lexically_normal().string();
}

void FillStatus(const struct stat& st, const std::string& path, CFileStatus& rStatus)
{
    rStatus.m_ctime = st.st_ctime;
    rStatus.m_mtime = st.st_mtime;
    rStatus.m_atime = st.st_atime;
    rStatus.m_size = ULONGLONG(st.st_size);
    rStatus.m_attribute = CFile::normal;
    if (S_ISDIR(st.st_mode))
        rStatus.m_attribute |= CFile::directory;
    if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        rStatus.m_attribute |= CFile::readOnly;
    const std::string name = std::filesystem::path(path).filename().string();
    if (!name.empty() && name[0] == '.')
        rStatus.m_attribute |= CFile::hidden;
    const std::wstring full = Utf8ToWide(AbsolutePath(path));
    const size_t n = std::min(full.size(), size_t(MAX_PATH - 1));
    std::wmemcpy(rStatus.m_szFullName, full.data(), n);
    rStatus.m_szFullName[n] = L'\0';
}

// A wide character decoded from the UTF-8 bytes of a stream; a broken sequence gives U+FFFD.
int GetWideChar(FILE* f, wchar_t& out)
{
    const int c = std::getc(f);
    if (c == EOF)
        return EOF;
    if (c < 0x80)
    {
        out = wchar_t(c);
        return 1;
    }
    int len = 0;
    uint32_t cp = 0;
    if ((c & 0xE0) == 0xC0)
        len = 2, cp = uint32_t(c & 0x1F);
    else if ((c & 0xF0) == 0xE0)
        len = 3, cp = uint32_t(c & 0x0F);
    else if ((c & 0xF8) == 0xF0)
        len = 4, cp = uint32_t(c & 0x07);
    else
    {
        out = wchar_t(0xFFFD);
        return 1;
    }
    for (int k = 1; k < len; ++k)
    {
        const int cc = std::getc(f);
        if (cc == EOF || (cc & 0xC0) != 0x80)
        {
            if (cc != EOF)
                std::ungetc(cc, f);
            out = wchar_t(0xFFFD);
            return 1;
        }
        cp = (cp << 6) | uint32_t(cc & 0x3F);
    }
    const bool overlong = (len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
    out = (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) ? wchar_t(0xFFFD) : wchar_t(cp);
    return 1;
}
} // namespace

CString AfxResolvePathCase(const CString& path)
{
    return CString::FromUtf8(ResolveNative(ToNativePath(path)));
}

// CFile

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCWSTR lpszFileName, UINT nOpenFlags) : CFile()
{
    CFileException e(CFileException::none, -1, nullptr);
    e.m_bAutoDelete = FALSE;
    if (!CFile::Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        ::close(m_hFile);
}

int CFile::OpenDescriptor(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError, CString& fullPath)
{
    auto fail = [&](int err)
    {
        if (pError)
        {
            pError->m_cause = CFileException::ErrnoToException(err);
            pError->m_lOsError = err;
            pError->m_strFileName = lpszFileName;
        }
        return -1;
    };
    if (!lpszFileName || !*lpszFileName)
        return fail(ENOENT);
    int oflags = O_CLOEXEC;
    switch (nOpenFlags & 3)
    {
    case modeRead:
        oflags |= O_RDONLY;
        break;
    case modeWrite:
        oflags |= O_WRONLY;
        break;
    case modeReadWrite:
        oflags |= O_RDWR;
        break;
    default:
        return fail(EINVAL);
    }
    if (nOpenFlags & modeCreate)
    {
        oflags |= O_CREAT;
        if (!(nOpenFlags & modeNoTruncate))
            oflags |= O_TRUNC;
    }
    const std::string path = ResolveNative(ToNativePath(lpszFileName));
    int fd;
    do
        fd = ::open(path.c_str(), oflags, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(errno);
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
    {
        ::close(fd);
        return fail(EISDIR);
    }
    fullPath = CString::FromUtf8(AbsolutePath(path));
    if (pError)
        pError->m_cause = CFileException::none;
    return fd;
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != hFileNull)
        Abort();
    CString full;
    const int fd = OpenDescriptor(lpszFileName, nOpenFlags, pError, full);
    if (fd < 0)
        return FALSE;
    m_hFile = fd;
    m_bCloseOnDelete = TRUE;
    m_strFileName = full;
    return TRUE;
}

void CFile::ThrowIfClosed() const
{
    if (m_hFile == hFileNull)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    ThrowIfClosed();
    if (nCount == 0)
        return 0;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    UINT done = 0;
    while (done < nCount)
    {
        const ssize_t n = ::read(m_hFile, static_cast<char*>(lpBuf) + done, nCount - done);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            CFileException::ThrowErrno(errno, m_strFileName);
        }
        if (n == 0)
            break;
        done += UINT(n);
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    ThrowIfClosed();
    if (nCount == 0)
        return;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    UINT done = 0;
    while (done < nCount)
    {
        const ssize_t n = ::write(m_hFile, static_cast<const char*>(lpBuf) + done, nCount - done);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            CFileException::ThrowErrno(errno, m_strFileName);
        }
        if (n == 0)
            AfxThrowFileException(CFileException::diskFull, ENOSPC, m_strFileName);
        done += UINT(n);
    }
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    ThrowIfClosed();
    const int whence = nFrom == begin ? SEEK_SET : nFrom == current ? SEEK_CUR : nFrom == end ? SEEK_END : -1;
    if (whence < 0)
        AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
    const off_t pos = ::lseek(m_hFile, off_t(lOff), whence);
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return ULONGLONG(pos);
}

ULONGLONG CFile::GetPosition() const
{
    ThrowIfClosed();
    const off_t pos = ::lseek(m_hFile, 0, SEEK_CUR);
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return ULONGLONG(pos);
}

ULONGLONG CFile::GetLength() const
{
    ThrowIfClosed();
    struct stat st;
    if (::fstat(m_hFile, &st) != 0)
        CFileException::ThrowErrno(errno, m_strFileName);
    return ULONGLONG(st.st_size);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    ThrowIfClosed();
    if (dwNewLen > ULONGLONG(LLONG_MAX) || ::ftruncate(m_hFile, off_t(dwNewLen)) != 0)
        CFileException::ThrowErrno(dwNewLen > ULONGLONG(LLONG_MAX) ? EINVAL : errno, m_strFileName);
}

// Nothing is buffered in user space, so there is nothing to hand on.
void CFile::Flush()
{
    ThrowIfClosed();
}

void CFile::Close()
{
    if (m_hFile == hFileNull)
        return;
    const int fd = m_hFile;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (::close(fd) != 0 && errno != EINTR)
        CFileException::ThrowErrno(errno, m_strFileName);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        ::close(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
}

CString CFile::GetFileName() const
{
    const int slash = m_strFileName.ReverseFind(L'/');
    return slash < 0 ? m_strFileName : m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot <= 0 ? name : name.Left(dot);
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    if (m_hFile == hFileNull)
        return FALSE;
    struct stat st;
    if (::fstat(m_hFile, &st) != 0)
        return FALSE;
    FillStatus(st, m_strFileName.ToUtf8(), rStatus);
    return TRUE;
}

BOOL CFile::GetStatus(LPCWSTR lpszFileName, CFileStatus& rStatus)
{
    if (!lpszFileName)
        return FALSE;
    const std::string path = ResolveNative(ToNativePath(lpszFileName));
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return FALSE;
    FillStatus(st, path, rStatus);
    return TRUE;
}

void CFile::Remove(LPCWSTR lpszFileName)
{
    if (!lpszFileName)
        AfxThrowInvalidArgException();
    const std::string path = ResolveNative(ToNativePath(lpszFileName));
    if (::unlink(path.c_str()) != 0)
        CFileException::ThrowErrno(errno, lpszFileName);
}

void CFile::Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName)
{
    if (!lpszOldName || !lpszNewName)
        AfxThrowInvalidArgException();
    const std::string from = ResolveNative(ToNativePath(lpszOldName));
    // The new name keeps its own case; only its folder is looked up.
    const std::filesystem::path given(ToNativePath(lpszNewName));
    const std::string folder = given.has_parent_path() ? ResolveNative(given.parent_path().string()) : "";
    const std::string to = JoinPath(folder, given.filename().string());
    const std::string existing = ResolveNative(to);
    struct stat a, b;
    if (::lstat(from.c_str(), &a) != 0)
        CFileException::ThrowErrno(errno, lpszOldName);
    // An existing target is refused, unless it is the same file under another case.
    if (::lstat(existing.c_str(), &b) == 0 && !(a.st_dev == b.st_dev && a.st_ino == b.st_ino))
        CFileException::ThrowErrno(EEXIST, lpszNewName);
    if (::rename(from.c_str(), to.c_str()) != 0)
        CFileException::ThrowErrno(errno, lpszOldName);
}

// CStdioFile

CStdioFile::CStdioFile() : m_pStream(nullptr), m_bTextMode(TRUE) {}

CStdioFile::CStdioFile(FILE* pOpenStream) : m_pStream(pOpenStream), m_bTextMode(TRUE)
{
    if (m_pStream)
        m_hFile = ::fileno(m_pStream);
    m_bCloseOnDelete = FALSE;
}

CStdioFile::CStdioFile(LPCWSTR lpszFileName, UINT nOpenFlags) : CStdioFile()
{
    CFileException e(CFileException::none, -1, nullptr);
    e.m_bAutoDelete = FALSE;
    if (!CStdioFile::Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    if (m_pStream && m_bCloseOnDelete)
        std::fclose(m_pStream);
    m_pStream = nullptr;
    m_hFile = hFileNull;
}

BOOL CStdioFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_pStream || m_hFile != hFileNull)
        Abort();
    CString full;
    const int fd = OpenDescriptor(lpszFileName, nOpenFlags, pError, full);
    if (fd < 0)
        return FALSE;
    const UINT access = nOpenFlags & 3;
    FILE* f = ::fdopen(fd, access == modeRead ? "rb" : access == modeWrite ? "wb" : "r+b");
    if (!f)
    {
        const int err = errno;
        ::close(fd);
        if (pError)
        {
            pError->m_cause = CFileException::ErrnoToException(err);
            pError->m_lOsError = err;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_pStream = f;
    m_hFile = fd;
    m_bCloseOnDelete = TRUE;
    m_bTextMode = !(nOpenFlags & typeBinary);
    m_strFileName = full;
    return TRUE;
}

void CStdioFile::ThrowIfNoStream() const
{
    if (!m_pStream)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
}

void CStdioFile::CheckStreamError() const
{
    if (std::ferror(m_pStream))
    {
        const int err = errno ? errno : EIO;
        std::clearerr(m_pStream);
        CFileException::ThrowErrno(err, m_strFileName);
    }
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    ThrowIfNoStream();
    if (nCount == 0)
        return 0;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    errno = 0;
    const size_t n = std::fread(lpBuf, 1, nCount, m_pStream);
    if (n < nCount)
        CheckStreamError();
    return UINT(n);
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    ThrowIfNoStream();
    if (nCount == 0)
        return;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    errno = 0;
    if (std::fwrite(lpBuf, 1, nCount, m_pStream) != nCount)
    {
        CheckStreamError();
        AfxThrowFileException(CFileException::diskFull, ENOSPC, m_strFileName);
    }
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    ThrowIfNoStream();
    const int whence = nFrom == begin ? SEEK_SET : nFrom == current ? SEEK_CUR : nFrom == end ? SEEK_END : -1;
    if (whence < 0 || ::fseeko(m_pStream, off_t(lOff), whence) != 0)
        AfxThrowFileException(CFileException::badSeek, whence < 0 ? EINVAL : errno, m_strFileName);
    return GetPosition();
}

ULONGLONG CStdioFile::GetPosition() const
{
    ThrowIfNoStream();
    const off_t pos = ::ftello(m_pStream);
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return ULONGLONG(pos);
}

ULONGLONG CStdioFile::GetLength() const
{
    ThrowIfNoStream();
    std::fflush(m_pStream);
    struct stat st;
    if (::fstat(::fileno(m_pStream), &st) != 0)
        CFileException::ThrowErrno(errno, m_strFileName);
    return ULONGLONG(st.st_size);
}

void CStdioFile::SetLength(ULONGLONG dwNewLen)
{
    ThrowIfNoStream();
    std::fflush(m_pStream);
    if (dwNewLen > ULONGLONG(LLONG_MAX) || ::ftruncate(::fileno(m_pStream), off_t(dwNewLen)) != 0)
        CFileException::ThrowErrno(dwNewLen > ULONGLONG(LLONG_MAX) ? EINVAL : errno, m_strFileName);
}

void CStdioFile::Flush()
{
    if (m_pStream && std::fflush(m_pStream) != 0)
        CFileException::ThrowErrno(errno, m_strFileName);
}

void CStdioFile::Close()
{
    if (!m_pStream)
        return;
    FILE* f = m_pStream;
    m_pStream = nullptr;
    m_hFile = hFileNull;
    const BOOL owned = m_bCloseOnDelete;
    m_bCloseOnDelete = FALSE;
    if (owned && std::fclose(f) != 0)
        CFileException::ThrowErrno(errno, m_strFileName);
}

void CStdioFile::Abort()
{
    if (m_pStream && m_bCloseOnDelete)
        std::fclose(m_pStream);
    m_pStream = nullptr;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
}

void CStdioFile::WriteString(LPCWSTR lpsz)
{
    if (!lpsz)
        AfxThrowInvalidArgException();
    const std::string bytes = WideToUtf8(lpsz);
    Write(bytes.data(), UINT(bytes.size()));
}

LPWSTR CStdioFile::ReadString(LPWSTR lpsz, UINT nMax)
{
    ThrowIfNoStream();
    if (!lpsz || nMax == 0)
        AfxThrowInvalidArgException();
    errno = 0;
    UINT n = 0;
    bool any = false;
    while (n + 1 < nMax)
    {
        wchar_t wc;
        if (GetWideChar(m_pStream, wc) == EOF)
            break;
        any = true;
        if (wc == L'\r' && m_bTextMode)
        {
            const int next = std::getc(m_pStream);
            if (next == '\n')
                wc = L'\n';
            else if (next != EOF)
                std::ungetc(next, m_pStream);
        }
        lpsz[n++] = wc;
        if (wc == L'\n')
            break;
    }
    lpsz[n] = L'\0';
    if (!any)
    {
        CheckStreamError();
        return nullptr;
    }
    return lpsz;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    ThrowIfNoStream();
    rString.Empty();
    errno = 0;
    char* buf = nullptr;
    size_t cap = 0;
    const ssize_t n = ::getline(&buf, &cap, m_pStream);
    std::string line(buf && n > 0 ? buf : "", n > 0 ? size_t(n) : 0);
    std::free(buf);
    if (n < 0)
    {
        CheckStreamError();
        return FALSE;
    }
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    if (m_bTextMode && !line.empty() && line.back() == '\r')
        line.pop_back();
    rString = CString::FromUtf8(line);
    return TRUE;
}

// CMemFile

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    FreeBuffer();
}

void CMemFile::FreeBuffer()
{
    if (m_bAutoDelete)
        std::free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    FreeBuffer();
    m_lpBuffer = lpBuffer;
    m_nBufferSize = lpBuffer ? nBufferSize : 0;
    m_nGrowBytes = nGrowBytes;
    m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
    m_nPosition = 0;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* p = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return p;
}

BOOL CMemFile::Open(LPCWSTR, UINT, CFileException* pError)
{
    if (pError)
        pError->m_cause = CFileException::genericException;
    return FALSE;
}

void CMemFile::GrowFile(size_t nNewLen)
{
    // Kept within what a 32-bit length can say, so a wild position cannot ask for a huge block.
    constexpr size_t kMaxSize = 0x7FFFFFFF;
    if (nNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0 || nNewLen > kMaxSize)
        AfxThrowMemoryException();
    size_t size = std::max(nNewLen, std::min(kMaxSize, m_nBufferSize * 2));
    size = std::min(kMaxSize, (size + m_nGrowBytes - 1) / m_nGrowBytes * m_nGrowBytes);
    BYTE* p;
    if (m_bAutoDelete)
        p = static_cast<BYTE*>(std::realloc(m_lpBuffer, size));
    else
    {
        p = static_cast<BYTE*>(std::malloc(size));
        if (p && m_nFileSize)
            std::memcpy(p, m_lpBuffer, m_nFileSize);
    }
    if (!p)
        AfxThrowMemoryException();
    m_lpBuffer = p;
    m_nBufferSize = size;
    m_bAutoDelete = TRUE;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    const size_t n = std::min(size_t(nCount), m_nFileSize - m_nPosition);
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return UINT(n);
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    const size_t endPos = m_nPosition + nCount;
    GrowFile(endPos);
    if (m_nPosition > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = endPos;
    m_nFileSize = std::max(m_nFileSize, endPos);
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG base;
    switch (nFrom)
    {
    case begin:
        base = 0;
        break;
    case current:
        base = LONGLONG(m_nPosition);
        break;
    case end:
        base = LONGLONG(m_nFileSize);
        break;
    default:
        AfxThrowFileException(CFileException::badSeek, EINVAL);
    }
    if ((lOff < 0 && -lOff > base) || (lOff > 0 && lOff > LLONG_MAX - base))
        AfxThrowFileException(CFileException::badSeek, EINVAL);
    m_nPosition = size_t(base + lOff);
    return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > m_nBufferSize)
        GrowFile(size_t(dwNewLen));
    if (dwNewLen > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, size_t(dwNewLen) - m_nFileSize);
    m_nFileSize = size_t(dwNewLen);
    m_nPosition = std::min(m_nPosition, m_nFileSize);
}

void CMemFile::Close()
{
    FreeBuffer();
}
