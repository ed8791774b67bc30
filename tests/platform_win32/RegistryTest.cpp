#include "win32/Registry.h"
#include "win32/Utf.h"

#include "TestDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegStoreSetFailBeforeRename(false);
        RegStoreSetInMemory(false);
        RegStoreReload();
    }
    void TearDown() override { RegStoreSetFailBeforeRename(false); }

    HKEY Create(HKEY root, const wchar_t* path, REGSAM access = KEY_ALL_ACCESS, DWORD* disposition = nullptr)
    {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                                 nullptr, &key, disposition));
        return key;
    }

    std::vector<BYTE> Query(HKEY key, const wchar_t* name, DWORD* type = nullptr)
    {
        DWORD size = 0;
        if (RegQueryValueExW(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS)
            return {};
        std::vector<BYTE> data(size);
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, name, nullptr, type, data.data(), &size));
        return data;
    }

    CTestDir m_dir;
    CScopedEnv m_env{"XDG_CONFIG_HOME", m_dir.Path().string()};
};

std::vector<BYTE> Bytes(const void* p, size_t n)
{
    const auto* b = static_cast<const BYTE*>(p);
    return std::vector<BYTE>(b, b + n);
}

struct TypedValue
{
    const wchar_t* name;
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<TypedValue> AllTypes()
{
    const wchar_t sz[] = L"Courier New";
    const wchar_t expand[] = L"%HOME%/x";
    const wchar_t multi[] = L"one\0two\0\0";
    const wchar_t link[] = L"\\Registry\\Target";
    const DWORD dword = 0x0005CBEF;
    const ULONGLONG qword = 0x0123456789ABCDEFull;
    const BYTE binary[] = {0, 1, 2, 0xFF, 0};
    return {
        {L"Sz", REG_SZ, Bytes(sz, sizeof(sz))},
        {L"Empty", REG_SZ, Bytes(L"", sizeof(wchar_t))},
        {L"Expand", REG_EXPAND_SZ, Bytes(expand, sizeof(expand))},
        {L"Multi", REG_MULTI_SZ, Bytes(multi, sizeof(multi) - sizeof(wchar_t))},
        {L"Link", REG_LINK, Bytes(link, sizeof(link))},
        {L"Dword", REG_DWORD, Bytes(&dword, sizeof(dword))},
        {L"Qword", REG_QWORD, Bytes(&qword, sizeof(qword))},
        {L"Binary", REG_BINARY, Bytes(binary, sizeof(binary))},
        {L"None", REG_NONE, {}},
        {L"", REG_SZ, Bytes(L"default", 8 * sizeof(wchar_t))},
    };
}

} // namespace

TEST_F(RegistryTest, EveryTypeSurvivesAReloadFromDisk)
{
    HKEY key = Create(HKEY_CURRENT_USER, L"Software\\Brindlecote\\Corvane\\Settings/Filters");
    for (const auto& v : AllTypes())
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, v.name, 0, v.type, v.data.data(), DWORD(v.data.size())));
    RegCloseKey(key);
    EXPECT_TRUE(std::filesystem::exists(m_dir.Path() / "Quendrel" / "registry.dat"));

    RegStoreReload();
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Brindlecote\\Corvane\\Settings/Filters", 0,
                            KEY_READ, &key));
    for (const auto& v : AllTypes())
    {
        SCOPED_TRACE(WideToUtf8(v.name));
        DWORD type = 99;
        EXPECT_EQ(v.data, Query(key, v.name, &type));
        EXPECT_EQ(v.type, type);
    }
    RegCloseKey(key);
}

TEST_F(RegistryTest, QueryReportsSizesInBytesOfTheWideCharacter)
{
    HKEY key = Create(HKEY_CURRENT_USER, L"Software\\Q");
    const wchar_t text[] = L"abc";
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key, L"S", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text)));

    DWORD type = 0, size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"S", nullptr, &type, nullptr, &size));
    EXPECT_EQ(4 * sizeof(wchar_t), size);
    EXPECT_EQ(DWORD(REG_SZ), type);

    BYTE small[4];
    size = sizeof(small);
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExW(key, L"S", nullptr, &type, small, &size));
    EXPECT_EQ(4 * sizeof(wchar_t), size);

    wchar_t buf[16] = {};
    size = sizeof(buf);
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExW(key, L"s", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size));
    EXPECT_STREQ(L"abc", buf);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(key, L"Missing", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueW(key, L"S"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueW(key, L"S"));
    RegCloseKey(key);
}

TEST_F(RegistryTest, KeysMatchWithoutCaseAndKeepTheirCase)
{
    DWORD disposition = 0;
    HKEY key = Create(HKEY_CURRENT_USER, L"Software\\MixedCase\\Locale", KEY_ALL_ACCESS, &disposition);
    EXPECT_EQ(DWORD(REG_CREATED_NEW_KEY), disposition);
    RegCloseKey(key);
    key = Create(HKEY_CURRENT_USER, L"SOFTWARE\\mixedcase\\LOCALE\\", KEY_ALL_ACCESS, &disposition);
    EXPECT_EQ(DWORD(REG_OPENED_EXISTING_KEY), disposition);
    RegCloseKey(key);

    HKEY parent = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"software", 0, KEY_READ, &parent));
    wchar_t name[64];
    DWORD len = 64;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumKeyExW(parent, 0, name, &len, nullptr, nullptr, nullptr, nullptr));
    EXPECT_STREQ(L"MixedCase", name);
    EXPECT_EQ(9u, len);
    RegCloseKey(parent);
}

TEST_F(RegistryTest, EnumerationAndKeyInfo)
{
    HKEY key = Create(HKEY_CURRENT_USER, L"Software\\Enum");
    for (const wchar_t* sub : {L"zeta", L"Alpha", L"beta", L"LongestSubkeyName"})
        RegCloseKey(Create(key, sub));
    const DWORD one = 1;
    const BYTE big[40] = {};
    RegSetValueExW(key, L"Second", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    RegSetValueExW(key, L"First", 0, REG_BINARY, big, sizeof(big));
    RegSetValueExW(key, L"AVeryLongValueName", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                   sizeof(one));

    DWORD subkeys = 0, maxSub = 0, values = 0, maxName = 0, maxData = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &maxSub, nullptr,
                                              &values, &maxName, &maxData, nullptr, nullptr));
    EXPECT_EQ(4u, subkeys);
    EXPECT_EQ(17u, maxSub);
    EXPECT_EQ(3u, values);
    EXPECT_EQ(18u, maxName);
    EXPECT_EQ(40u, maxData);

    std::vector<std::wstring> keys;
    wchar_t name[64];
    for (DWORD i = 0;; ++i)
    {
        DWORD len = 64;
        const LONG rc = RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(ERROR_SUCCESS, rc);
        keys.push_back(name);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"beta", L"LongestSubkeyName", L"zeta"}), keys);

    std::vector<std::wstring> names;
    for (DWORD i = 0;; ++i)
    {
        DWORD len = 64, type = 0, size = 0;
        const LONG rc = RegEnumValueW(key, i, name, &len, nullptr, &type, nullptr, &size);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(ERROR_SUCCESS, rc);
        names.push_back(name);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Second", L"First", L"AVeryLongValueName"}), names);

    DWORD len = 5; // "Second" needs 7 with its terminator
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueW(key, 0, name, &len, nullptr, nullptr, nullptr, nullptr));
    len = 64;
    BYTE data[4];
    DWORD size = sizeof(data);
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueW(key, 1, name, &len, nullptr, nullptr, data, &size));
    EXPECT_EQ(40u, size);
    RegCloseKey(key);
}

TEST_F(RegistryTest, DeleteKeyRefusesKeysWithSubkeysAndDeepestFirstWorks)
{
    RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\Tree\\A\\B\\C"));
    RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\Tree\\A\\D"));
    HKEY stale = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tree\\A\\B\\C", 0, KEY_ALL_ACCESS, &stale));

    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tree\\A"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tree\\Nope"));

    // Deepest first, always taking the last subkey by index.
    std::function<LONG(HKEY, const std::wstring&)> deleteTree = [&](HKEY parent,
                                                                    const std::wstring& sub) -> LONG
    {
        HKEY key = nullptr;
        LONG rc = RegOpenKeyExW(parent, sub.c_str(), 0, KEY_READ | KEY_WRITE, &key);
        if (rc != ERROR_SUCCESS)
            return rc;
        DWORD count = 0;
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
        while (count > 0 && rc == ERROR_SUCCESS)
        {
            wchar_t name[256];
            DWORD len = 256;
            rc = RegEnumKeyExW(key, count - 1, name, &len, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_SUCCESS)
                rc = deleteTree(key, name);
            --count;
        }
        RegCloseKey(key);
        return rc == ERROR_SUCCESS ? RegDeleteKeyW(parent, sub.c_str()) : rc;
    };
    EXPECT_EQ(ERROR_SUCCESS, deleteTree(HKEY_CURRENT_USER, L"Software\\Tree\\A"));

    const DWORD v = 1;
    EXPECT_EQ(ERROR_KEY_DELETED,
              RegSetValueExW(stale, L"x", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), 4));
    RegCloseKey(stale);

    RegStoreReload();
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tree\\A", 0, KEY_READ, &key));
    EXPECT_EQ(nullptr, key);
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tree", 0, KEY_READ, &key));
    RegCloseKey(key);
}

TEST_F(RegistryTest, AccessRightsAndHandlesAreChecked)
{
    RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\Rights"));
    HKEY ro = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Rights", 0, KEY_READ, &ro));
    const DWORD v = 7;
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RegSetValueExW(ro, L"v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), 4));
    HKEY sub = nullptr;
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RegCreateKeyExW(ro, L"Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr));
    RegCloseKey(ro);
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(ro));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegSetValueExW(reinterpret_cast<HKEY>(uintptr_t(0x1234)), L"v", 0,
                                                   REG_DWORD, reinterpret_cast<const BYTE*>(&v), 4));
}

TEST_F(RegistryTest, HivesAreSeparateStores)
{
    HKEY lm = Create(HKEY_LOCAL_MACHINE, L"Software\\Brindlecote\\Corvane");
    const wchar_t exe[] = L"/opt/corvane";
    RegSetValueExW(lm, L"Executable", 0, REG_SZ, reinterpret_cast<const BYTE*>(exe), sizeof(exe));
    RegCloseKey(lm);
    EXPECT_TRUE(std::filesystem::exists(m_dir.Path() / "Quendrel" / "registry-machine.dat"));
    HKEY cu = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Brindlecote\\Corvane", 0, KEY_READ, &cu));
    RegStoreReload();
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Brindlecote\\Corvane", 0, KEY_READ, &lm));
    EXPECT_EQ(Bytes(exe, sizeof(exe)), Query(lm, L"Executable"));
    RegCloseKey(lm);
}

TEST_F(RegistryTest, WriteInterruptedBeforeRenameLeavesTheOldFileWhole)
{
    HKEY key = Create(HKEY_CURRENT_USER, L"Software\\Crash");
    const DWORD a = 1, b = 2;
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"A", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&a), 4));
    const auto file = m_dir.Path() / "Quendrel" / "registry.dat";
    std::ifstream before(file, std::ios::binary);
    const std::string oldBytes((std::istreambuf_iterator<char>(before)), std::istreambuf_iterator<char>());

    RegStoreSetFailBeforeRename(true);
    EXPECT_EQ(ERROR_CANTWRITE, RegSetValueExW(key, L"B", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&b), 4));
    RegStoreSetFailBeforeRename(false);
    RegCloseKey(key);

    std::ifstream after(file, std::ios::binary);
    const std::string newBytes((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>());
    EXPECT_EQ(oldBytes, newBytes);

    RegStoreReload();
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Crash", 0, KEY_READ, &key));
    EXPECT_EQ(Bytes(&a, 4), Query(key, L"A"));
    DWORD size = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(key, L"B", nullptr, nullptr, nullptr, &size));
    RegCloseKey(key);
}

// A store write killed before its rename leaves its temporary; the next open of the store and the
// next write remove such leftovers of dead processes, never a running one's.
TEST_F(RegistryTest, TemporariesOfKilledWritesAreRemovedNextTime)
{
    const auto dir = m_dir.Path() / "Quendrel";
    std::filesystem::create_directories(dir);
    auto deadPid = []
    {
        const pid_t pid = fork();
        if (pid == 0)
            _exit(0);
        int status = 0;
        waitpid(pid, &status, 0);
        return pid;
    };
    auto leave = [&](const std::string& name)
    {
        std::ofstream(dir / name, std::ios::binary) << "half";
        return dir / name;
    };
    const auto live = leave("registry.dat.~save" + std::to_string(getppid()));
    const auto dead = leave("registry.dat.~save" + std::to_string(deadPid()));
    RegStoreReload();
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_TRUE(std::filesystem::exists(live));

    // This process's own write dies before the rename; a later "run" (a dead pid) left another.
    HKEY key = Create(HKEY_CURRENT_USER, L"Software\\Crash");
    const DWORD a = 1;
    RegStoreSetFailBeforeRename(true);
    EXPECT_EQ(ERROR_CANTWRITE, RegSetValueExW(key, L"A", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&a), 4));
    RegStoreSetFailBeforeRename(false);
    const auto own = dir / ("registry.dat.~save" + std::to_string(getpid()));
    EXPECT_TRUE(std::filesystem::exists(own));
    const auto dead2 = leave("registry.dat.~save" + std::to_string(deadPid()));
    const auto otherHive = leave("registry-machine.dat.~save" + std::to_string(deadPid()));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"A", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&a), 4));
    RegCloseKey(key);
    EXPECT_FALSE(std::filesystem::exists(dead2));
    EXPECT_FALSE(std::filesystem::exists(own)) << "renamed over the store this time";
    EXPECT_TRUE(std::filesystem::exists(otherHive)) << "left to that hive's next write or open";
    EXPECT_TRUE(std::filesystem::exists(live));
    EXPECT_TRUE(std::filesystem::exists(dir / "registry.dat"));
}

TEST_F(RegistryTest, DamagedStoreIsReadAsFarAsItIsValid)
{
    HKEY key = Create(HKEY_CURRENT_USER, L"Software\\Damage");
    for (DWORD i = 0; i < 20; ++i)
    {
        const std::wstring name = L"V" + std::to_wstring(i);
        RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i), 4);
    }
    RegCloseKey(key);
    const auto file = m_dir.Path() / "Quendrel" / "registry.dat";
    std::ifstream in(file, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();

    auto countValues = []() -> DWORD
    {
        HKEY k = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Damage", 0, KEY_READ, &k) != ERROR_SUCCESS)
            return 0;
        DWORD values = 0;
        RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        // Whatever survived reads back with its own value.
        for (DWORD i = 0; i < values; ++i)
        {
            wchar_t name[16];
            DWORD len = 16, data = 0, size = 4;
            EXPECT_EQ(ERROR_SUCCESS, RegEnumValueW(k, i, name, &len, nullptr, nullptr,
                                                   reinterpret_cast<BYTE*>(&data), &size));
            EXPECT_EQ(std::wstring(L"V") + std::to_wstring(data), name);
        }
        RegCloseKey(k);
        return values;
    };

    // Every truncation: a prefix of the values, never more, never a crash.
    DWORD previous = 0;
    for (size_t len = 0; len <= whole.size(); ++len)
    {
        std::ofstream(file, std::ios::binary | std::ios::trunc).write(whole.data(), std::streamsize(len));
        RegStoreReload();
        const DWORD n = countValues();
        EXPECT_GE(n, previous);
        previous = n;
    }
    EXPECT_EQ(20u, previous);

    // Flipped bytes and plain garbage.
    for (size_t pos = 0; pos < whole.size(); pos += 7)
    {
        std::string bad = whole;
        bad[pos] = char(bad[pos] ^ 0x5A);
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(bad.data(), std::streamsize(bad.size()));
        RegStoreReload();
        EXPECT_LE(countValues(), 20u);
    }
    std::string garbage(4096, '\xFF');
    std::memcpy(garbage.data(), whole.data(), 8);
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(garbage.data(), std::streamsize(garbage.size()));
    RegStoreReload();
    EXPECT_EQ(0u, countValues());

    // A damaged store still takes new writes.
    key = Create(HKEY_CURRENT_USER, L"Software\\Damage");
    const DWORD v = 3;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"V3", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), 4));
    RegCloseKey(key);
    RegStoreReload();
    EXPECT_EQ(1u, countValues());
}

TEST_F(RegistryTest, InMemoryModeAndConfigFolderChanges)
{
    RegStoreSetInMemory(true);
    HKEY key = Create(HKEY_CURRENT_USER, L"Software\\Mem");
    const DWORD v = 5;
    RegSetValueExW(key, L"v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), 4);
    RegCloseKey(key);
    EXPECT_FALSE(std::filesystem::exists(m_dir.Path() / "Quendrel"));
    RegStoreSetInMemory(false);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Mem", 0, KEY_READ, &key));

    RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\FirstFolder"));
    {
        CTestDir other;
        CScopedEnv env("XDG_CONFIG_HOME", other.Path().string());
        EXPECT_EQ(ERROR_FILE_NOT_FOUND,
                  RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\FirstFolder", 0, KEY_READ, &key));
        EXPECT_EQ(other.WPath() + L"/Quendrel/registry.dat", RegStoreGetPath());
    }
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\FirstFolder", 0, KEY_READ, &key));
    RegCloseKey(key);
}

TEST_F(RegistryTest, ConnectOnlyToTheLocalMachine)
{
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegConnectRegistryW(nullptr, HKEY_LOCAL_MACHINE, &key));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, key);
    EXPECT_EQ(ERROR_SUCCESS, RegConnectRegistryW(L"", HKEY_USERS, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegConnectRegistryW(L"\\\\localhost", HKEY_LOCAL_MACHINE, &key));
    EXPECT_EQ(ERROR_BAD_NETPATH, RegConnectRegistryW(L"\\\\no-such-host-anywhere", HKEY_LOCAL_MACHINE, &key));
    EXPECT_EQ(nullptr, key);
    EXPECT_EQ(ERROR_SUCCESS, RegFlushKey(HKEY_CURRENT_USER));
}

TEST_F(RegistryTest, ConcurrentWritersLoseNothing)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(
            [t]
            {
                HKEY key = nullptr;
                const std::wstring path = L"Software\\Threads\\T" + std::to_wstring(t);
                RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr);
                for (DWORD i = 0; i < 25; ++i)
                {
                    const std::wstring name = L"v" + std::to_wstring(i);
                    RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i), 4);
                }
                RegCloseKey(key);
            });
    for (auto& th : threads)
        th.join();
    RegStoreReload();
    for (int t = 0; t < 4; ++t)
    {
        HKEY key = nullptr;
        const std::wstring path = L"Software\\Threads\\T" + std::to_wstring(t);
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key));
        DWORD values = 0;
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        EXPECT_EQ(25u, values);
        RegCloseKey(key);
    }
}
