// Takes an arbitrary buffer as the user's registry store file, reads it through the registry calls
// and walks every key and value; then has the store written and reads it again, which must give the
// same tree. A crash, a sanitizer report, a call that fails on what enumeration just listed, or a tree
// that changes across a save is a finding. Seeds in corpus/registry/ were written by the registry.
#include "win32/Registry.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

std::string g_dir;
std::string g_store;

void Fail(const char* what, LONG rc)
{
    std::fprintf(stderr, "fuzz_registry: %s (%ld)\n", what, long(rc));
    std::abort();
}

void RemoveStore()
{
    // The writer's temporary files are renamed away; only the stores remain.
    for (const char* name : {"registry.dat", "registry-machine.dat", "registry-classes.dat"})
        unlink((g_dir + "/Quendrel/" + name).c_str());
    rmdir((g_dir + "/Quendrel").c_str());
    rmdir(g_dir.c_str());
}

void DumpValues(HKEY key, DWORD count, DWORD maxName, DWORD maxData, std::wstring& out)
{
    std::vector<wchar_t> name(size_t(maxName) + 1);
    std::vector<BYTE> data(size_t(maxData) + sizeof(wchar_t));
    std::vector<BYTE> again(data.size());
    for (DWORD i = 0;; ++i)
    {
        DWORD cch = DWORD(name.size()), type = 0, cb = maxData;
        const LONG rc = RegEnumValueW(key, i, name.data(), &cch, nullptr, &type, data.data(), &cb);
        if (rc == ERROR_NO_MORE_ITEMS)
        {
            if (i != count)
                Fail("value count differs from enumeration", LONG(i));
            return;
        }
        if (rc != ERROR_SUCCESS)
            Fail("RegEnumValueW", rc);
        if (cb > maxData || cch > maxName)
            Fail("value larger than RegQueryInfoKeyW said", LONG(i));
        out.append(name.data(), cch);
        out += L'\x1';
        out += wchar_t(type);
        for (DWORD k = 0; k < cb; ++k)
            out += wchar_t(data[k]);
        out += L'\n';

        // A name with a zero inside cannot be asked for by name.
        if (std::wmemchr(name.data(), 0, cch))
            continue;
        DWORD qtype = 0, qcb = 0;
        if (cb > 0)
        {
            if (RegQueryValueExW(key, name.data(), nullptr, &qtype, again.data(), &qcb) != ERROR_MORE_DATA ||
                qcb != cb)
                Fail("RegQueryValueExW with a short buffer", LONG(i));
        }
        qcb = DWORD(again.size());
        if (RegQueryValueExW(key, name.data(), nullptr, &qtype, again.data(), &qcb) != ERROR_SUCCESS ||
            qtype != type || qcb != cb || std::memcmp(again.data(), data.data(), cb) != 0)
            Fail("RegQueryValueExW differs from RegEnumValueW", LONG(i));
    }
}

// Every key below HKEY_CURRENT_USER with its values, in enumeration order.
std::wstring Dump()
{
    std::wstring out;
    struct Item
    {
        HKEY key;
        std::wstring path;
    };
    std::vector<Item> stack{{HKEY_CURRENT_USER, std::wstring()}};
    while (!stack.empty())
    {
        Item item = std::move(stack.back());
        stack.pop_back();
        DWORD subkeys = 0, values = 0, maxSub = 0, maxName = 0, maxData = 0;
        LONG rc = RegQueryInfoKeyW(item.key, nullptr, nullptr, nullptr, &subkeys, &maxSub, nullptr, &values,
                                   &maxName, &maxData, nullptr, nullptr);
        if (rc != ERROR_SUCCESS)
            Fail("RegQueryInfoKeyW", rc);
        out += item.path;
        out += L'\n';
        DumpValues(item.key, values, maxName, maxData, out);
        std::vector<wchar_t> name(size_t(maxSub) + 1);
        for (DWORD i = 0; i < subkeys; ++i)
        {
            DWORD cch = DWORD(name.size());
            rc = RegEnumKeyExW(item.key, i, name.data(), &cch, nullptr, nullptr, nullptr, nullptr);
            if (rc != ERROR_SUCCESS)
                Fail("RegEnumKeyExW", rc);
            HKEY sub = nullptr;
            rc = RegOpenKeyExW(item.key, name.data(), 0, KEY_READ, &sub);
            if (rc != ERROR_SUCCESS)
                Fail("RegOpenKeyExW on an enumerated key", rc);
            stack.push_back({sub, item.path + L"\\" + std::wstring(name.data(), cch)});
        }
        DWORD cch = DWORD(name.size());
        if (RegEnumKeyExW(item.key, subkeys, name.data(), &cch, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_NO_MORE_ITEMS)
            Fail("more subkeys than RegQueryInfoKeyW said", LONG(subkeys));
        if (item.key != HKEY_CURRENT_USER)
            RegCloseKey(item.key);
    }
    return out;
}

// In memory where that is possible: on ext4, renaming a file over an old one (as every write of
// the store does) waits for the disk, which slows the run down tenfold.
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
    std::string pattern = TempRoot() + "/qyr-fuzz-registry-XXXXXX";
    if (!mkdtemp(pattern.data()))
        Fail("cannot make a temporary folder", 0);
    g_dir = pattern;
    setenv("XDG_CONFIG_HOME", g_dir.c_str(), 1);
    mkdir((g_dir + "/Quendrel").c_str(), 0700);
    g_store = g_dir + "/Quendrel/registry.dat";
    std::atexit(RemoveStore);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(g_store.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        Fail("cannot write the store file", 0);
    RegStoreReload();
    const std::wstring first = Dump();

    // Creating a volatile key rewrites the store without adding to it, and without the fsync of
    // RegFlushKey, which halves the speed on a disk.
    std::wstring name = L"fuzz-volatile";
    HKEY key = nullptr;
    while (RegOpenKeyExW(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
    {
        RegCloseKey(key);
        name += L'+';
    }
    DWORD disposition = 0;
    const LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                    KEY_READ, nullptr, &key, &disposition);
    if (rc != ERROR_SUCCESS || disposition != REG_CREATED_NEW_KEY)
        Fail("RegCreateKeyExW of a volatile key", rc);
    RegCloseKey(key);
    RegStoreReload();
    if (Dump() != first)
        Fail("the store reads differently after a save", 0);
    return 0;
}
