// Takes an arbitrary buffer as an INI file and reads every section, key and value through the
// profile calls, with full and with short buffers; then writes one key and reads it back. A crash, a
// sanitizer report (a short buffer is allocated to its exact size, so a write past it is caught) or
// a written value that does not read back is a finding. Seeds in corpus/ini/ were written by
// WritePrivateProfileStringW, except the hand-made bom-*.ini (marks, comments, quotes, blanks).
#include "win32/Profile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

// Enough work per input to reach every path without slowing the run down on big lists.
constexpr size_t kMaxSections = 32;
constexpr size_t kMaxKeys = 32;
constexpr DWORD kShortSizes[] = {1, 2, 3, 4, 5, 7, 9, 16};

std::string g_dir;
std::wstring g_ini;

void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz_ini: %s\n", what);
    std::abort();
}

void RemoveFile()
{
    unlink((g_dir + "/fuzz.ini").c_str());
    rmdir(g_dir.c_str());
}

// A list call ("a\0b\0\0") into a buffer of exactly nSize; checks the terminators it promises.
std::vector<std::wstring> ReadList(LPCWSTR section, DWORD nSize)
{
    std::vector<wchar_t> buf(nSize);
    const DWORD n = GetPrivateProfileStringW(section, nullptr, nullptr, buf.data(), nSize, g_ini.c_str());
    if (nSize == 1)
    {
        if (n != 0 || buf[0] != 0)
            Fail("a list into one character is not empty");
        return {};
    }
    if (n >= nSize || buf[n] != 0)
        Fail("a list longer than its buffer or not ended by a zero");
    // Whole, its last string ends before buf[n]; cut short, buf[n + 1] is a second zero.
    if (n > 0 && buf[n - 1] != 0 && (n + 1 >= nSize || buf[n + 1] != 0))
        Fail("a list not ended by two zeros");
    std::vector<std::wstring> items;
    std::wstring item;
    for (DWORD i = 0; i < n; ++i)
    {
        if (buf[i] == 0)
        {
            items.push_back(item);
            item.clear();
        }
        else
            item += buf[i];
    }
    return items;
}

std::wstring ReadValue(const std::wstring& section, const std::wstring& key, DWORD nSize)
{
    std::vector<wchar_t> buf(nSize);
    const DWORD n =
        GetPrivateProfileStringW(section.c_str(), key.c_str(), L"\x1", buf.data(), nSize, g_ini.c_str());
    if (n >= nSize || buf[n] != 0)
        Fail("a value longer than its buffer or not ended by a zero");
    return std::wstring(buf.data(), n);
}

// In memory where that is possible: on ext4, renaming a file over an old one (as every write of
// the file does) waits for the disk, which slows the run down tenfold.
std::string TempRoot()
{
    if (access("/dev/shm", W_OK | X_OK) == 0)
        return "/dev/shm";
    const char* tmp = std::getenv("TMPDIR");
    return tmp && tmp[0] ? tmp : "/tmp";
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::string pattern = TempRoot() + "/qyr-fuzz-ini-XXXXXX";
    if (!mkdtemp(pattern.data()))
        Fail("cannot make a temporary folder");
    g_dir = pattern;
    const std::string path = g_dir + "/fuzz.ini";
    g_ini.assign(path.begin(), path.end());
    std::atexit(RemoveFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path(g_ini.begin(), g_ini.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        Fail("cannot write the INI file");

    // No text is longer in characters than the file is in bytes.
    const DWORD full = DWORD(size) + 2;
    for (DWORD n : kShortSizes)
        ReadList(nullptr, n);
    std::vector<wchar_t> names(full);
    if (GetPrivateProfileSectionNamesW(names.data(), full, g_ini.c_str()) >= full)
        Fail("section names longer than their buffer");
    const std::vector<std::wstring> sections = ReadList(nullptr, full);
    for (size_t s = 0; s < sections.size() && s < kMaxSections; ++s)
    {
        ReadList(sections[s].c_str(), 3);
        const std::vector<std::wstring> keys = ReadList(sections[s].c_str(), full);
        for (size_t k = 0; k < keys.size() && k < kMaxKeys; ++k)
        {
            ReadValue(sections[s], keys[k], full);
            ReadValue(sections[s], keys[k], 2);
            GetPrivateProfileIntW(sections[s].c_str(), keys[k].c_str(), -7, g_ini.c_str());
        }
    }

    // A name with a zero inside comes out of a list as two names, neither of them in the file.
    const bool listed = !sections.empty() && !std::memchr(data, 0, size);
    const std::wstring section = listed ? sections[0] : L"Fuzz";
    const std::vector<std::wstring> keys = ReadList(section.c_str(), full);
    const std::wstring key = listed && !keys.empty() ? keys[0] : L"Key";
    if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), L"written value", g_ini.c_str()))
        Fail("WritePrivateProfileStringW");
    if (ReadValue(section, key, 64) != L"written value")
        Fail("a written value does not read back");
    WritePrivateProfileStringW(section.c_str(), key.c_str(), nullptr, g_ini.c_str());
    WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, g_ini.c_str());
    return 0;
}
