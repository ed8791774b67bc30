#include "win32/Files.h"

#include "win32/System.h"
#include "win32/Utf.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

bool Exists(const std::string& p)
{
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

bool SameNoCase(const std::string& a, const std::string& b)
{
    return QString::fromUtf8(a.data(), qsizetype(a.size()))
               .compare(QString::fromUtf8(b.data(), qsizetype(b.size())), Qt::CaseInsensitive) == 0;
}

// The entry of dir whose name matches name without regard to case (the first in name order).
bool FindNoCase(const std::string& dir, const std::string& name, std::string& found)
{
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return false;
    std::vector<std::string> matches;
    while (dirent* e = readdir(d))
        if (SameNoCase(e->d_name, name))
            matches.emplace_back(e->d_name);
    closedir(d);
    if (matches.empty())
        return false;
    std::sort(matches.begin(), matches.end());
    found = matches.front();
    return true;
}

std::wstring Slashes(std::wstring s)
{
    std::replace(s.begin(), s.end(), L'\\', L'/');
    return s;
}

// Stores text into a caller's buffer: the length without terminator when it fits, else the size
// needed with it.
DWORD StoreString(const std::wstring& text, LPWSTR buf, DWORD size)
{
    if (!buf || size <= text.size())
        return DWORD(text.size() + 1);
    std::wmemcpy(buf, text.c_str(), text.size() + 1);
    return DWORD(text.size());
}

BOOL Fail(DWORD err)
{
    SetLastError(err);
    return FALSE;
}

BOOL FailErrno()
{
    return Fail(Win32ErrorFromErrno(errno));
}

std::wstring EnvOr(const char* var, const std::wstring& fallback)
{
    const char* v = std::getenv(var);
    if (v && v[0] == '/')
        return Utf8ToWide(v);
    return fallback;
}

std::wstring Home()
{
    const char* h = std::getenv("HOME");
    return Utf8ToWide(h && h[0] ? h : "/tmp");
}

bool MakeDirs(const std::wstring& dir)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(WideToUtf8(dir)), ec);
    return std::filesystem::is_directory(std::filesystem::path(WideToUtf8(dir)), ec);
}

bool SpecialFolder(int csidl, std::wstring& out)
{
    switch (csidl & ~CSIDL_FLAG_CREATE)
    {
    case CSIDL_PERSONAL:
        out = Win32GetDocumentsFolder();
        return true;
    case CSIDL_APPDATA:
        out = EnvOr("XDG_CONFIG_HOME", Home() + L"/.config");
        return true;
    case CSIDL_LOCAL_APPDATA:
    case CSIDL_COMMON_APPDATA:
        out = EnvOr("XDG_DATA_HOME", Home() + L"/.local/share");
        return true;
    case CSIDL_PROFILE:
        out = Home();
        return true;
    case CSIDL_DESKTOP:
        out = EnvOr("XDG_DESKTOP_DIR", Home() + L"/Desktop");
        return true;
    default:
        return false;
    }
}

constexpr uint32_t kIdListMagic = 0x51494C31; // "QIL1"

} // namespace

struct ITEMIDLIST
{
    uint32_t magic;
    uint32_t length; // characters of the path that follows the header, without its terminator
};

std::wstring Win32ResolvePath(const std::wstring& path)
{
    const std::wstring given = Slashes(path);
    const std::string native = WideToUtf8(given);
    if (native.empty() || Exists(native))
        return given;
    const bool absolute = native[0] == '/';
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos < native.size())
    {
        size_t end = native.find('/', pos);
        if (end == std::string::npos)
            end = native.size();
        if (end > pos)
            parts.push_back(native.substr(pos, end - pos));
        pos = end + 1;
    }
    auto join = [](const std::string& a, const std::string& b)
    {
        if (a.empty())
            return b;
        return a.back() == '/' ? a + b : a + "/" + b;
    };
    std::string out = absolute ? "/" : "";
    std::string dir = absolute ? "/" : ".";
    for (size_t i = 0; i < parts.size(); ++i)
    {
        std::string use = parts[i];
        if (use != "." && use != ".." && !Exists(join(dir, use)))
        {
            std::string found;
            if (!FindNoCase(dir, use, found))
            {
                // Nothing matches: the rest stays as given.
                for (size_t k = i; k < parts.size(); ++k)
                    out = join(out, parts[k]);
                break;
            }
            use = found;
        }
        out = join(out, use);
        dir = join(dir, use);
    }
    if (native.back() == '/' && (out.empty() || out.back() != '/'))
        out += '/';
    return Utf8ToWide(out);
}

std::string Win32NativePath(const std::wstring& path)
{
    return WideToUtf8(Win32ResolvePath(path));
}

HMODULE Win32ModuleFromAddress(const void* address)
{
    Dl_info info{};
    if (!address || !dladdr(address, &info) || !info.dli_fname)
        return nullptr;
    return reinterpret_cast<HMODULE>(const_cast<void*>(address));
}

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
    if (!lpFilename || nSize == 0)
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::string path;
    if (!hModule)
    {
        char buf[PATH_MAX];
        const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
        if (n <= 0)
        {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
        path.assign(buf, size_t(n));
    }
    else
    {
        Dl_info info{};
        if (!dladdr(hModule, &info) || !info.dli_fname)
        {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
        char buf[PATH_MAX];
        path = realpath(info.dli_fname, buf) ? buf : info.dli_fname;
    }
    const std::wstring wide = Utf8ToWide(path);
    if (wide.size() >= nSize)
    {
        std::wmemcpy(lpFilename, wide.c_str(), nSize - 1);
        lpFilename[nSize - 1] = 0;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    std::wmemcpy(lpFilename, wide.c_str(), wide.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return DWORD(wide.size());
}

DWORD GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer)
{
    std::wstring dir = EnvOr("TMPDIR", L"/tmp");
    if (dir.empty() || dir.back() != L'/')
        dir += L'/';
    return StoreString(dir, lpBuffer, nBufferLength);
}

UINT GetTempFileNameW(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique, LPWSTR lpTempFileName)
{
    if (!lpPathName || !lpTempFileName)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::wstring dir = Win32ResolvePath(lpPathName);
    if (dir.empty())
        dir = L".";
    if (dir.back() != L'/')
        dir += L'/';
    const std::wstring prefix = std::wstring(lpPrefixString ? lpPrefixString : L"").substr(0, 3);
    auto build = [&](UINT number)
    {
        wchar_t hex[8];
        swprintf(hex, 8, L"%04X", number & 0xFFFF);
        return dir + prefix + hex + L".tmp";
    };
    if (uUnique != 0)
    {
        const std::wstring name = build(uUnique);
        if (name.size() >= MAX_PATH)
        {
            SetLastError(ERROR_BUFFER_OVERFLOW);
            return 0;
        }
        std::wmemcpy(lpTempFileName, name.c_str(), name.size() + 1);
        return uUnique & 0xFFFF;
    }
    std::random_device rd;
    UINT number = (rd() & 0xFFFF) | 1;
    for (int tries = 0; tries < 0x10000; ++tries, number = (number + 1) & 0xFFFF)
    {
        if (number == 0)
            continue;
        const std::wstring name = build(number);
        if (name.size() >= MAX_PATH)
        {
            SetLastError(ERROR_BUFFER_OVERFLOW);
            return 0;
        }
        const int fd = open(WideToUtf8(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
        {
            close(fd);
            std::wmemcpy(lpTempFileName, name.c_str(), name.size() + 1);
            return number;
        }
        if (errno != EEXIST)
        {
            SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}

BOOL DeleteFileW(LPCWSTR lpFileName)
{
    if (!lpFileName)
        return Fail(ERROR_INVALID_PARAMETER);
    const std::string p = Win32NativePath(lpFileName);
    struct stat st;
    if (lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return Fail(ERROR_ACCESS_DENIED);
    if (unlink(p.c_str()) != 0)
        return FailErrno();
    return TRUE;
}

namespace
{

bool CopyContents(const std::string& from, const std::string& to, bool failIfExists)
{
    std::error_code ec;
    const auto opt = failIfExists ? std::filesystem::copy_options::none
                                  : std::filesystem::copy_options::overwrite_existing;
    if (!std::filesystem::copy_file(from, to, opt, ec))
    {
        errno = ec.value() ? ec.value() : EIO;
        return false;
    }
    return true;
}

} // namespace

BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags)
{
    if (!lpExistingFileName || !lpNewFileName)
        return Fail(ERROR_INVALID_PARAMETER);
    const std::string from = Win32NativePath(lpExistingFileName);
    const std::string to = Win32NativePath(lpNewFileName);
    struct stat src;
    if (lstat(from.c_str(), &src) != 0)
        return FailErrno();
    struct stat dst;
    const bool targetExists = lstat(to.c_str(), &dst) == 0;
    if (targetExists && !(dwFlags & MOVEFILE_REPLACE_EXISTING) &&
        !(src.st_dev == dst.st_dev && src.st_ino == dst.st_ino))
        return Fail(ERROR_ALREADY_EXISTS);
    if (targetExists && S_ISDIR(dst.st_mode) && !S_ISDIR(src.st_mode))
        return Fail(ERROR_ACCESS_DENIED);
    if (rename(from.c_str(), to.c_str()) == 0)
    {
        if (dwFlags & MOVEFILE_WRITE_THROUGH)
            sync();
        return TRUE;
    }
    if (errno == EXDEV && (dwFlags & MOVEFILE_COPY_ALLOWED) && !S_ISDIR(src.st_mode))
    {
        if (!CopyContents(from, to, false))
            return FailErrno();
        unlink(from.c_str());
        return TRUE;
    }
    return FailErrno();
}

BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName)
{
    return MoveFileExW(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists)
{
    if (!lpExistingFileName || !lpNewFileName)
        return Fail(ERROR_INVALID_PARAMETER);
    const std::string from = Win32NativePath(lpExistingFileName);
    const std::string to = Win32NativePath(lpNewFileName);
    struct stat st;
    if (stat(from.c_str(), &st) != 0)
        return FailErrno();
    if (S_ISDIR(st.st_mode))
        return Fail(ERROR_ACCESS_DENIED);
    if (bFailIfExists && Exists(to))
        return Fail(ERROR_FILE_EXISTS);
    if (!CopyContents(from, to, bFailIfExists))
        return errno == EEXIST ? Fail(ERROR_FILE_EXISTS) : FailErrno();
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    if (!lpPathName)
        return Fail(ERROR_INVALID_PARAMETER);
    if (mkdir(Win32NativePath(lpPathName).c_str(), 0777) != 0)
        return errno == ENOENT ? Fail(ERROR_PATH_NOT_FOUND) : FailErrno();
    return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR lpPathName)
{
    if (!lpPathName)
        return Fail(ERROR_INVALID_PARAMETER);
    if (rmdir(Win32NativePath(lpPathName).c_str()) != 0)
        return errno == ENOTDIR ? Fail(ERROR_DIRECTORY) : FailErrno();
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR lpFileName)
{
    if (!lpFileName)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::string p = Win32NativePath(lpFileName);
    struct stat st;
    if (stat(p.c_str(), &st) != 0)
    {
        SetLastError(errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attrs = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (access(p.c_str(), W_OK) != 0)
        attrs |= FILE_ATTRIBUTE_READONLY;
    const size_t slash = p.find_last_of('/');
    const std::string base = slash == std::string::npos ? p : p.substr(slash + 1);
    if (base.size() > 1 && base[0] == '.' && base != "..")
        attrs |= FILE_ATTRIBUTE_HIDDEN;
    return attrs;
}

BOOL PathFileExistsW(LPCWSTR pszPath)
{
    return pszPath && pszPath[0] && GetFileAttributesW(pszPath) != INVALID_FILE_ATTRIBUTES;
}

DWORD GetFullPathNameW(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer, LPWSTR* lpFilePart)
{
    if (!lpFileName || !lpFileName[0])
    {
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    std::filesystem::path p(WideToUtf8(Slashes(lpFileName)));
    if (p.is_relative())
    {
        std::error_code ec;
        p = std::filesystem::current_path(ec) / p;
    }
    std::string norm = p.lexically_normal().string();
    if (norm.size() > 1 && norm.back() == '/' &&
        !(lpFileName[wcslen(lpFileName) - 1] == L'/' || lpFileName[wcslen(lpFileName) - 1] == L'\\'))
        norm.pop_back();
    const std::wstring full = Utf8ToWide(norm);
    const DWORD rc = StoreString(full, lpBuffer, nBufferLength);
    if (lpFilePart && rc == full.size())
    {
        const size_t slash = full.find_last_of(L'/');
        *lpFilePart =
            (slash == std::wstring::npos || slash + 1 == full.size()) ? nullptr : lpBuffer + slash + 1;
    }
    return rc;
}

DWORD GetLongPathNameW(LPCWSTR lpszShortPath, LPWSTR lpszLongPath, DWORD cchBuffer)
{
    if (!lpszShortPath)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::wstring resolved = Win32ResolvePath(lpszShortPath);
    if (!Exists(WideToUtf8(resolved)))
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    return StoreString(resolved, lpszLongPath, cchBuffer);
}

DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer)
{
    std::error_code ec;
    const auto cwd = std::filesystem::current_path(ec);
    if (ec)
    {
        SetLastError(Win32ErrorFromErrno(ec.value()));
        return 0;
    }
    return StoreString(Utf8ToWide(cwd.string()), lpBuffer, nBufferLength);
}

BOOL SetCurrentDirectoryW(LPCWSTR lpPathName)
{
    if (!lpPathName)
        return Fail(ERROR_INVALID_PARAMETER);
    if (chdir(Win32NativePath(lpPathName).c_str()) != 0)
        return FailErrno();
    return TRUE;
}

std::wstring Win32GetDocumentsFolder()
{
    return EnvOr("XDG_DOCUMENTS_DIR", Home() + L"/Documents");
}

BOOL SHGetSpecialFolderPathW(HWND, LPWSTR pszPath, int csidl, BOOL fCreate)
{
    std::wstring path;
    if (!pszPath || !SpecialFolder(csidl, path) || path.size() >= MAX_PATH)
        return Fail(ERROR_INVALID_PARAMETER);
    if ((fCreate || (csidl & CSIDL_FLAG_CREATE)) && !MakeDirs(path))
        return Fail(ERROR_PATH_NOT_FOUND);
    std::wmemcpy(pszPath, path.c_str(), path.size() + 1);
    return TRUE;
}

HRESULT SHGetSpecialFolderLocation(HWND, int nFolder, LPITEMIDLIST* ppidl)
{
    if (!ppidl)
        return E_INVALIDARG;
    *ppidl = nullptr;
    std::wstring path;
    if (!SpecialFolder(nFolder, path))
        return E_INVALIDARG;
    const size_t bytes = sizeof(ITEMIDLIST) + (path.size() + 1) * sizeof(wchar_t);
    auto* pidl = static_cast<ITEMIDLIST*>(std::malloc(bytes));
    if (!pidl)
        return E_OUTOFMEMORY;
    pidl->magic = kIdListMagic;
    pidl->length = uint32_t(path.size());
    std::memcpy(reinterpret_cast<char*>(pidl) + sizeof(ITEMIDLIST), path.c_str(),
                (path.size() + 1) * sizeof(wchar_t));
    *ppidl = pidl;
    return S_OK;
}

BOOL SHGetPathFromIDListW(LPCITEMIDLIST pidl, LPWSTR pszPath)
{
    if (!pidl || !pszPath || pidl->magic != kIdListMagic || pidl->length >= MAX_PATH)
    {
        if (pszPath)
            pszPath[0] = 0;
        return FALSE;
    }
    std::memcpy(pszPath, reinterpret_cast<const char*>(pidl) + sizeof(ITEMIDLIST),
                (size_t(pidl->length) + 1) * sizeof(wchar_t));
    return TRUE;
}

void ILFree(LPITEMIDLIST pidl)
{
    std::free(pidl);
}

// --- Temporaries of whole-file saves ---------------------------------------------------------------

namespace
{
const char kSaveTempMarker[] = ".~save";

// The pid of a temporary's name "<base>.~save<digits>", or 0 when the name is not one of `base`.
pid_t SaveTempPid(const std::string& name, const std::string& base)
{
    const std::string prefix = base + kSaveTempMarker;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    long long pid = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i)
    {
        if (name[i] < '0' || name[i] > '9' || pid > INT_MAX)
            return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid > 0 && pid <= INT_MAX ? pid_t(pid) : 0;
}

bool ProcessIsGone(pid_t pid)
{
    // EPERM means the process exists but belongs to someone else: it is alive.
    return kill(pid, 0) != 0 && errno == ESRCH;
}
} // namespace

std::string Win32SaveTempPath(const std::string& target)
{
    return target + kSaveTempMarker + std::to_string(int(getpid()));
}

int Win32RemoveStaleSaveTemps(const std::string& target)
{
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    DIR* d = opendir(dir.c_str());
    if (!d)
        return 0;
    std::vector<std::string> stale;
    while (const dirent* entry = readdir(d))
    {
        const pid_t pid = SaveTempPid(entry->d_name, base);
        if (pid > 0 && pid != getpid() && ProcessIsGone(pid))
            stale.push_back(dir + "/" + entry->d_name);
    }
    closedir(d);
    int removed = 0;
    for (const std::string& path : stale)
    {
        if (unlink(path.c_str()) == 0)
            ++removed;
    }
    return removed;
}
