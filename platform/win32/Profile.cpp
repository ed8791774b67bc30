#include "win32/Profile.h"

#include "win32/Files.h"
#include "win32/System.h"
#include "win32/Utf.h"

#include <QChar>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

constexpr size_t kMaxIniBytes = size_t(64) << 20;

std::mutex& IniMutex()
{
    static std::mutex* m = new std::mutex;
    return *m;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (QChar::toCaseFolded(char32_t(a[i])) != QChar::toCaseFolded(char32_t(b[i])))
            return false;
    return true;
}

std::wstring Trim(std::wstring_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == L' ' || s[b] == L'\t'))
        ++b;
    while (e > b && (s[e - 1] == L' ' || s[e - 1] == L'\t' || s[e - 1] == L'\r'))
        --e;
    return std::wstring(s.substr(b, e - b));
}

// The file as lines. Missing file: no lines. UTF-8 (with or without a mark) or UTF-16LE with its mark.
bool ReadLines(const std::string& path, std::vector<std::wstring>& lines)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::string bytes;
    char buf[65536];
    for (;;)
    {
        const ssize_t n = read(fd, buf, sizeof(buf));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(buf, size_t(n));
        if (bytes.size() > kMaxIniBytes)
            break;
    }
    close(fd);
    std::wstring text;
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE)
    {
        std::u16string u16;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            u16 += char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
        text = Utf16ToWide(u16);
    }
    else
    {
        size_t start = 0;
        if (bytes.size() >= 3 && uint8_t(bytes[0]) == 0xEF && uint8_t(bytes[1]) == 0xBB &&
            uint8_t(bytes[2]) == 0xBF)
            start = 3;
        text = Utf8ToWide(std::string_view(bytes).substr(start));
    }
    size_t pos = 0;
    while (pos < text.size())
    {
        size_t nl = text.find(L'\n', pos);
        if (nl == std::wstring::npos)
            nl = text.size();
        std::wstring line = text.substr(pos, nl - pos);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        lines.push_back(std::move(line));
        pos = nl + 1;
    }
    return true;
}

bool WriteLines(const std::string& path, const std::vector<std::wstring>& lines)
{
    std::string out;
    for (const auto& line : lines)
    {
        out += WideToUtf8(line);
        out += '\n';
    }
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = dir + "/." + base + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
    {
        SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
        return false;
    }
    fchmod(fd, 0644);
    size_t done = 0;
    bool ok = true;
    while (done < out.size())
    {
        const ssize_t n = write(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            ok = false;
            break;
        }
        done += size_t(n);
    }
    const int err = errno;
    ok = (close(fd) == 0) && ok;
    if (!ok || rename(temp.c_str(), path.c_str()) != 0)
    {
        SetLastError(Win32ErrorFromErrno(ok ? errno : err));
        unlink(temp.c_str());
        return false;
    }
    return true;
}

bool SectionName(const std::wstring& line, std::wstring& name)
{
    const std::wstring t = Trim(line);
    if (t.size() < 2 || t[0] != L'[')
        return false;
    const size_t close = t.find(L']');
    if (close == std::wstring::npos)
        return false;
    name = Trim(std::wstring_view(t).substr(1, close - 1));
    return true;
}

bool KeyValue(const std::wstring& line, std::wstring& key, std::wstring& value)
{
    const std::wstring t = Trim(line);
    if (t.empty() || t[0] == L';' || t[0] == L'[')
        return false;
    const size_t eq = t.find(L'=');
    if (eq == std::wstring::npos)
        return false;
    key = Trim(std::wstring_view(t).substr(0, eq));
    value = Trim(std::wstring_view(t).substr(eq + 1));
    return true;
}

// [begin, end) of the first section of that name: begin is its header line.
bool FindSection(const std::vector<std::wstring>& lines, const std::wstring& section, size_t& begin,
                 size_t& end)
{
    const std::wstring wanted = Trim(section);
    for (size_t i = 0; i < lines.size(); ++i)
    {
        std::wstring name;
        if (SectionName(lines[i], name) && EqualNoCase(name, wanted))
        {
            begin = i;
            end = i + 1;
            std::wstring other;
            while (end < lines.size() && !SectionName(lines[end], other))
                ++end;
            return true;
        }
    }
    return false;
}

std::string IniPath(LPCWSTR file)
{
    return Win32NativePath(file);
}

// Copies a list of strings as "a\0b\0\0"; cut short, the last string is cut and ends in two zeros.
DWORD CopyList(const std::vector<std::wstring>& items, LPWSTR buf, DWORD size)
{
    if (!buf || size == 0)
        return 0;
    if (size == 1)
    {
        buf[0] = 0;
        return 0;
    }
    DWORD pos = 0;
    for (const auto& item : items)
    {
        if (pos + item.size() + 1 > size - 1)
        {
            // The previous string may already fill the buffer up to its last two places.
            const DWORD room = pos < size - 2 ? size - 2 - pos : 0;
            std::wmemcpy(buf + pos, item.c_str(), room);
            buf[size - 2] = 0;
            buf[size - 1] = 0;
            return size - 2;
        }
        std::wmemcpy(buf + pos, item.c_str(), item.size() + 1);
        pos += DWORD(item.size() + 1);
    }
    buf[pos] = 0;
    return pos;
}

DWORD CopyValue(const std::wstring& value, LPWSTR buf, DWORD size)
{
    if (!buf || size == 0)
        return 0;
    const size_t n = std::min<size_t>(value.size(), size - 1);
    std::wmemcpy(buf, value.c_str(), n);
    buf[n] = 0;
    return DWORD(n);
}

std::wstring Unquote(const std::wstring& v)
{
    if (v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// Looks the value up; false when the section or key is missing.
bool ReadValue(LPCWSTR app, LPCWSTR key, LPCWSTR file, std::wstring& value)
{
    std::vector<std::wstring> lines;
    if (!ReadLines(IniPath(file), lines))
        return false;
    size_t begin = 0, end = 0;
    if (!FindSection(lines, app, begin, end))
        return false;
    for (size_t i = begin + 1; i < end; ++i)
    {
        std::wstring k, v;
        if (KeyValue(lines[i], k, v) && EqualNoCase(k, key))
        {
            value = Unquote(v);
            return true;
        }
    }
    return false;
}

} // namespace

BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString, LPCWSTR lpFileName)
{
    if (!lpFileName || !lpFileName[0] || !lpAppName)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(IniMutex());
    const std::string path = IniPath(lpFileName);
    std::vector<std::wstring> lines;
    ReadLines(path, lines);
    size_t begin = 0, end = 0;
    const bool hasSection = FindSection(lines, lpAppName, begin, end);
    if (!lpKeyName)
    {
        if (!hasSection)
            return TRUE;
        lines.erase(lines.begin() + long(begin), lines.begin() + long(end));
        return WriteLines(path, lines) ? TRUE : FALSE;
    }
    const std::wstring key = Trim(lpKeyName);
    if (!hasSection)
    {
        if (!lpString)
            return TRUE;
        // Section names are read back trimmed, so they are written that way.
        lines.push_back(L"[" + Trim(lpAppName) + L"]");
        lines.push_back(key + L"=" + lpString);
        return WriteLines(path, lines) ? TRUE : FALSE;
    }
    size_t found = end;
    std::wstring existing; // a key keeps the case it was first written with
    for (size_t i = begin + 1; i < end; ++i)
    {
        std::wstring v;
        if (KeyValue(lines[i], existing, v) && EqualNoCase(existing, key))
        {
            found = i;
            break;
        }
    }
    if (!lpString)
    {
        if (found == end)
            return TRUE;
        lines.erase(lines.begin() + long(found));
    }
    else if (found != end)
        lines[found] = existing + L"=" + lpString;
    else
    {
        // After the section's last line that is not blank.
        size_t at = end;
        while (at > begin + 1 && Trim(lines[at - 1]).empty())
            --at;
        lines.insert(lines.begin() + long(at), key + L"=" + lpString);
    }
    return WriteLines(path, lines) ? TRUE : FALSE;
}

DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault,
                               LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName)
{
    if (!lpReturnedString || nSize == 0)
        return 0;
    if (!lpFileName)
    {
        lpReturnedString[0] = 0;
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::lock_guard lock(IniMutex());
    if (!lpAppName || !lpKeyName)
    {
        std::vector<std::wstring> lines;
        ReadLines(IniPath(lpFileName), lines);
        std::vector<std::wstring> names;
        if (!lpAppName)
        {
            for (const auto& line : lines)
            {
                std::wstring name;
                if (SectionName(line, name))
                    names.push_back(name);
            }
        }
        else
        {
            size_t begin = 0, end = 0;
            if (FindSection(lines, lpAppName, begin, end))
                for (size_t i = begin + 1; i < end; ++i)
                {
                    std::wstring k, v;
                    if (KeyValue(lines[i], k, v))
                        names.push_back(k);
                }
        }
        return CopyList(names, lpReturnedString, nSize);
    }
    std::wstring value;
    if (!ReadValue(lpAppName, lpKeyName, lpFileName, value))
    {
        value = Trim(lpDefault ? lpDefault : L"");
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    return CopyValue(value, lpReturnedString, nSize);
}

UINT GetPrivateProfileIntW(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault, LPCWSTR lpFileName)
{
    if (!lpAppName || !lpKeyName || !lpFileName)
        return UINT(nDefault);
    std::wstring value;
    {
        std::lock_guard lock(IniMutex());
        if (!ReadValue(lpAppName, lpKeyName, lpFileName, value))
            return UINT(nDefault);
    }
    const wchar_t* p = value.c_str();
    bool negative = false;
    if (*p == L'-' || *p == L'+')
        negative = *p++ == L'-';
    int base = 10;
    if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X'))
    {
        base = 16;
        p += 2;
    }
    uint32_t n = 0;
    for (;; ++p)
    {
        int digit;
        if (*p >= L'0' && *p <= L'9')
            digit = *p - L'0';
        else if (base == 16 && *p >= L'a' && *p <= L'f')
            digit = *p - L'a' + 10;
        else if (base == 16 && *p >= L'A' && *p <= L'F')
            digit = *p - L'A' + 10;
        else
            break;
        n = n * uint32_t(base) + uint32_t(digit);
    }
    return negative ? UINT(0u - n) : UINT(n);
}

DWORD GetPrivateProfileSectionNamesW(LPWSTR lpszReturnBuffer, DWORD nSize, LPCWSTR lpFileName)
{
    return GetPrivateProfileStringW(nullptr, nullptr, nullptr, lpszReturnBuffer, nSize, lpFileName);
}
