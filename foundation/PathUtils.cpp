#include "foundation/PathUtils.h"

#include "win32/Files.h"
#include "win32/System.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace
{

const DWORD kPathChars = 4096;

CString Slashes(LPCWSTR path)
{
    CString s(path ? path : L"");
    s.Replace(L'\\', L'/');
    return s;
}

CString Expand(const CString& path)
{
    if (path.Find(L'%') < 0)
        return path;
    const DWORD needed = ExpandEnvironmentStringsW(path, nullptr, 0);
    if (needed == 0)
        return path;
    std::vector<wchar_t> buf(size_t(needed) + 1, L'\0');
    if (ExpandEnvironmentStringsW(path, buf.data(), DWORD(buf.size())) == 0)
        return path;
    return CString(buf.data());
}

} // namespace

BOOL CPathUtils::IsSeparator(wchar_t ch)
{
    return ch == L'/' || ch == L'\\';
}

void CPathUtils::Split(LPCWSTR path, CString* folder, CString* name, CString* ext)
{
    const CString p(path ? path : L"");
    int sep = p.GetLength() - 1;
    while (sep >= 0 && !IsSeparator(p[sep]))
        --sep;
    int dot = p.GetLength() - 1;
    while (dot > sep && p[dot] != L'.')
        --dot;
    const int nameStart = sep + 1;
    const bool hasExt = dot > sep;
    if (folder)
        *folder = sep >= 0 ? p.Left(sep) : CString();
    if (name)
        *name = hasExt ? p.Mid(nameStart, dot - nameStart) : p.Mid(nameStart);
    if (ext)
        *ext = hasExt ? p.Mid(dot + 1) : CString();
}

CString CPathUtils::GetModuleFolder(HMODULE module)
{
    std::vector<wchar_t> buf(kPathChars, L'\0');
    const DWORD n = GetModuleFileNameW(module, buf.data(), kPathChars);
    if (n == 0 || n >= kPathChars)
        return CString();
    return GetFolder(buf.data());
}

CString CPathUtils::GetFolder(LPCWSTR path)
{
    CString folder;
    Split(path, &folder, nullptr, nullptr);
    return folder;
}

CString CPathUtils::GetDocumentsFolder()
{
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &pidl)) || !pidl)
        return CString();
    wchar_t buf[MAX_PATH + 1] = {};
    const BOOL ok = SHGetPathFromIDListW(pidl, buf);
    ILFree(pidl);
    return ok ? CString(buf) : CString();
}

CString CPathUtils::MakeTempFileName(LPCWSTR folder, LPCWSTR prefix, DWORD* error)
{
    const CString dir(folder ? folder : L"");
    if (dir.GetLength() >= 247)
    {
        if (error)
            *error = ERROR_BUFFER_OVERFLOW;
        return CString();
    }
    wchar_t buf[MAX_PATH + 1] = {};
    if (GetTempFileNameW(dir, prefix ? prefix : L"", 0, buf) == 0)
    {
        if (error)
            *error = GetLastError();
        return CString();
    }
    if (error)
        *error = ERROR_SUCCESS;
    return CString(buf);
}

BOOL CPathUtils::EndsWithSlash(LPCWSTR path)
{
    if (!path || !*path)
        return FALSE;
    return IsSeparator(path[wcslen(path) - 1]);
}

BOOL CPathUtils::Exists(LPCWSTR path)
{
    if (!path || !*path)
        return FALSE;
    return GetFileAttributesW(Expand(CString(path))) != INVALID_FILE_ATTRIBUTES;
}

CString CPathUtils::GetLongPath(LPCWSTR path, BOOL expandEnvironment)
{
    CString p = Slashes(path);
    if (p.IsEmpty())
        return p;
    if (expandEnvironment)
        p = Expand(p);
    std::vector<wchar_t> buf(kPathChars, L'\0');
    const DWORD n = GetFullPathNameW(p, kPathChars, buf.data(), nullptr);
    if (n > 0 && n < kPathChars)
        p = buf.data();
    return CString(Win32ResolvePath(p.str()));
}

BOOL CPathUtils::IsShortcut(LPCWSTR path)
{
    CString ext;
    Split(path, nullptr, nullptr, &ext);
    return ext.CompareNoCase(L"lnk") == 0;
}

CString CPathUtils::ResolveShortcut(LPCWSTR path)
{
    const CString given(path ? path : L"");
    if (given.IsEmpty())
        return given;
    std::error_code ec;
    const std::filesystem::path link(given.ToUtf8());
    if (!std::filesystem::is_symlink(link, ec))
        return given;
    const std::filesystem::path target = std::filesystem::canonical(link, ec);
    return ec ? given : CString::FromUtf8(target.string());
}

CString CPathUtils::Join(LPCWSTR first, LPCWSTR second)
{
    CString a(first ? first : L"");
    CString b(second ? second : L"");
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    while (a.GetLength() > 1 && IsSeparator(a[a.GetLength() - 1]))
        a.Truncate(a.GetLength() - 1);
    int start = 0;
    while (start < b.GetLength() && IsSeparator(b[start]))
        ++start;
    if (IsSeparator(a[a.GetLength() - 1]))
        return a + b.Mid(start);
    return a + L'/' + b.Mid(start);
}

CString CPathUtils::TrimWhiteSpace(LPCWSTR text)
{
    CString s(text ? text : L"");
    s.Trim(L" \t\r\n");
    return s;
}
