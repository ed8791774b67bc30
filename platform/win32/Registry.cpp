#include "win32/Registry.h"

#include "win32/Files.h"
#include "win32/System.h"
#include "win32/Utf.h"

#include <QChar>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

constexpr size_t kMaxKeyNameChars = 255;
constexpr size_t kMaxValueNameChars = 16383;
constexpr size_t kMaxStoreBytes = size_t(256) << 20;
constexpr char kMagic[8] = {'Q', 'Y', 'R', 'R', 'E', 'G', '1', '\n'};

enum Hive
{
    HiveClasses,
    HiveUser,
    HiveMachine,
    HiveUsers,
    HiveCount
};

struct RegValue
{
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct RegKey
{
    std::wstring name;
    std::wstring folded;
    bool isVolatile = false;
    FILETIME lastWrite{};
    std::vector<RegValue> values;                 // in the order they were created
    std::vector<std::unique_ptr<RegKey>> subkeys; // sorted by folded name
};

struct OpenKey
{
    int hive = HiveUser;
    std::vector<std::wstring> path;
    REGSAM access = 0;
};

struct Store
{
    std::mutex mutex;
    bool loaded = false;
    bool inMemory = false;
    bool failBeforeRename = false;
    std::string configDir;
    RegKey roots[HiveCount];
    std::map<uintptr_t, OpenKey> handles;
    uintptr_t nextHandle = 1;
};

// Never destroyed, so keys may be used from static destructors of other modules.
Store& TheStore()
{
    static Store* store = new Store;
    return *store;
}

constexpr uintptr_t kHandleBase = uintptr_t(1) << 32;

wchar_t FoldChar(wchar_t c)
{
    if (c < 0x80)
        return (c >= L'A' && c <= L'Z') ? wchar_t(c + 32) : c;
    return wchar_t(QChar::toCaseFolded(char32_t(c)));
}

std::wstring Fold(std::wstring_view s)
{
    std::wstring out(s);
    for (auto& c : out)
        c = FoldChar(c);
    return out;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldChar(a[i]) != FoldChar(b[i]))
            return false;
    return true;
}

FILETIME Now()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return ft;
}

int HiveOf(HKEY h)
{
    const uintptr_t v = reinterpret_cast<uintptr_t>(h);
    if (v >= 0x80000000u && v <= 0x80000003u)
        return int(v - 0x80000000u);
    return -1;
}

const char* HiveFileName(int hive)
{
    switch (hive)
    {
    case HiveUser:
        return "registry.dat";
    case HiveMachine:
        return "registry-machine.dat";
    case HiveClasses:
        return "registry-classes.dat";
    default:
        return nullptr;
    }
}

std::string ComputeConfigDir()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    std::string h;
    if (home && home[0])
        h = home;
    else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        h = pw->pw_dir;
    else
        h = "/tmp";
    return h + "/.config";
}

std::string StoreDir(const std::string& configDir)
{
    return configDir + "/Quendrel";
}

// Keys nest at most this deep, as on Windows; the tree is walked recursively when saved and freed.
constexpr size_t kMaxKeyDepth = 512;

// Splits a subkey path at '\'; empty parts (a leading, doubled or trailing '\') are skipped.
bool SplitPath(LPCWSTR subKey, std::vector<std::wstring>& parts)
{
    if (!subKey)
        return true;
    std::wstring part;
    for (const wchar_t* p = subKey;; ++p)
    {
        if (*p == L'\\' || *p == 0)
        {
            if (!part.empty())
            {
                if (part.size() > kMaxKeyNameChars || parts.size() >= kMaxKeyDepth)
                    return false;
                parts.push_back(part);
                part.clear();
            }
            if (*p == 0)
                break;
        }
        else
            part += *p;
    }
    return true;
}

RegKey* FindChild(RegKey* key, const std::wstring& name)
{
    const std::wstring folded = Fold(name);
    auto it = std::lower_bound(key->subkeys.begin(), key->subkeys.end(), folded,
                               [](const std::unique_ptr<RegKey>& k, const std::wstring& f)
                               { return k->folded < f; });
    if (it != key->subkeys.end() && (*it)->folded == folded)
        return it->get();
    return nullptr;
}

RegKey* AddChild(RegKey* key, const std::wstring& name)
{
    auto child = std::make_unique<RegKey>();
    child->name = name;
    child->folded = Fold(name);
    child->lastWrite = Now();
    auto it = std::lower_bound(key->subkeys.begin(), key->subkeys.end(), child->folded,
                               [](const std::unique_ptr<RegKey>& k, const std::wstring& f)
                               { return k->folded < f; });
    RegKey* raw = child.get();
    key->subkeys.insert(it, std::move(child));
    key->lastWrite = Now();
    return raw;
}

RegKey* Walk(RegKey* key, const std::vector<std::wstring>& path, size_t count)
{
    for (size_t i = 0; i < count && key; ++i)
        key = FindChild(key, path[i]);
    return key;
}

RegValue* FindValue(RegKey* key, LPCWSTR name)
{
    const std::wstring_view n = name ? std::wstring_view(name) : std::wstring_view();
    for (auto& v : key->values)
        if (EqualNoCase(v.name, n))
            return &v;
    return nullptr;
}

// ---- store file format ----
// "QYRREG1\n", then records: tag byte, payload length (u32 LE), payload, CRC-32 of tag and payload.
// 'K' payload: key path. 'V' payload: key path, value name, type (u32), data (u32 length + bytes).
// Strings are a u32 byte length and UTF-8. A record that does not check out ends the reading.

uint32_t Crc32(const unsigned char* p, size_t n, uint32_t crc = 0)
{
    static const auto table = []
    {
        std::vector<uint32_t> t(256);
        for (uint32_t i = 0; i < 256; ++i)
        {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < n; ++i)
        crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}

void PutString(std::string& out, const std::wstring& s)
{
    const std::string u = WideToUtf8(s);
    PutU32(out, uint32_t(u.size()));
    out += u;
}

void PutRecord(std::string& out, char tag, const std::string& payload)
{
    out += tag;
    PutU32(out, uint32_t(payload.size()));
    out += payload;
    uint32_t crc = Crc32(reinterpret_cast<const unsigned char*>(&tag), 1);
    crc = Crc32(reinterpret_cast<const unsigned char*>(payload.data()), payload.size(), crc);
    PutU32(out, crc);
}

void SerializeKey(std::string& out, const RegKey& key, const std::wstring& path)
{
    if (key.isVolatile)
        return;
    if (!path.empty())
    {
        std::string payload;
        PutString(payload, path);
        PutRecord(out, 'K', payload);
    }
    for (const auto& v : key.values)
    {
        std::string payload;
        PutString(payload, path);
        PutString(payload, v.name);
        PutU32(payload, v.type);
        PutU32(payload, uint32_t(v.data.size()));
        payload.append(reinterpret_cast<const char*>(v.data.data()), v.data.size());
        PutRecord(out, 'V', payload);
    }
    for (const auto& sub : key.subkeys)
        SerializeKey(out, *sub, path.empty() ? sub->name : path + L"\\" + sub->name);
}

class Reader
{
public:
    Reader(const unsigned char* p, size_t n) : m_p(p), m_n(n) {}
    size_t Left() const { return m_n - m_pos; }
    bool U8(uint8_t& v)
    {
        if (Left() < 1)
            return false;
        v = m_p[m_pos++];
        return true;
    }
    bool U32(uint32_t& v)
    {
        if (Left() < 4)
            return false;
        v = uint32_t(m_p[m_pos]) | uint32_t(m_p[m_pos + 1]) << 8 | uint32_t(m_p[m_pos + 2]) << 16 |
            uint32_t(m_p[m_pos + 3]) << 24;
        m_pos += 4;
        return true;
    }
    bool Bytes(size_t n, const unsigned char*& p)
    {
        if (Left() < n)
            return false;
        p = m_p + m_pos;
        m_pos += n;
        return true;
    }
    bool String(std::wstring& s)
    {
        uint32_t len = 0;
        const unsigned char* p = nullptr;
        if (!U32(len) || !Bytes(len, p))
            return false;
        s = Utf8ToWide(std::string_view(reinterpret_cast<const char*>(p), len));
        return true;
    }

private:
    const unsigned char* m_p;
    size_t m_n;
    size_t m_pos = 0;
};

RegKey* CreatePath(RegKey* root, const std::wstring& path)
{
    std::vector<std::wstring> parts;
    if (!SplitPath(path.c_str(), parts))
        return nullptr;
    RegKey* key = root;
    for (const auto& part : parts)
    {
        RegKey* child = FindChild(key, part);
        key = child ? child : AddChild(key, part);
    }
    return key;
}

void ParseStore(const std::string& blob, RegKey& root)
{
    const auto* data = reinterpret_cast<const unsigned char*>(blob.data());
    if (blob.size() < sizeof(kMagic) || std::memcmp(data, kMagic, sizeof(kMagic)) != 0)
        return;
    Reader r(data + sizeof(kMagic), blob.size() - sizeof(kMagic));
    while (r.Left() > 0)
    {
        uint8_t tag = 0;
        uint32_t len = 0, crc = 0;
        const unsigned char* payload = nullptr;
        if (!r.U8(tag) || !r.U32(len) || !r.Bytes(len, payload) || !r.U32(crc))
            return;
        uint32_t check = Crc32(&tag, 1);
        check = Crc32(payload, len, check);
        if (check != crc)
            return;
        Reader p(payload, len);
        std::wstring path;
        if (!p.String(path))
            return;
        if (tag == 'K')
            CreatePath(&root, path);
        else if (tag == 'V')
        {
            RegValue v;
            uint32_t dataLen = 0;
            const unsigned char* bytes = nullptr;
            if (!p.String(v.name) || !p.U32(v.type) || !p.U32(dataLen) || !p.Bytes(dataLen, bytes))
                return;
            if (v.name.size() > kMaxValueNameChars)
                continue;
            v.data.assign(bytes, bytes + dataLen);
            RegKey* key = CreatePath(&root, path);
            if (!key)
                continue;
            if (RegValue* old = FindValue(key, v.name.c_str()))
                *old = std::move(v);
            else
                key->values.push_back(std::move(v));
        }
        // Other tags are skipped: a later version may add them.
    }
}

bool ReadFile(const std::string& path, std::string& out)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buf[65536];
    for (;;)
    {
        const ssize_t n = read(fd, buf, sizeof(buf));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out.append(buf, size_t(n));
        if (out.size() >= kMaxStoreBytes)
            break;
    }
    close(fd);
    return true;
}

void LoadAll(Store& s)
{
    for (auto& root : s.roots)
        root = RegKey();
    s.loaded = true;
    s.configDir = ComputeConfigDir();
    if (s.inMemory)
        return;
    for (int hive = 0; hive < HiveCount; ++hive)
    {
        const char* name = HiveFileName(hive);
        if (!name)
            continue;
        const std::string path = StoreDir(s.configDir) + "/" + name;
        Win32RemoveStaleSaveTemps(path);
        std::string blob;
        if (ReadFile(path, blob))
            ParseStore(blob, s.roots[hive]);
    }
}

void EnsureLoaded(Store& s)
{
    if (!s.loaded || (!s.inMemory && ComputeConfigDir() != s.configDir))
        LoadAll(s);
}

bool MakeDirs(const std::string& dir)
{
    std::string cur;
    size_t pos = 0;
    while (pos != std::string::npos)
    {
        pos = dir.find('/', pos + 1);
        cur = dir.substr(0, pos);
        if (cur.empty())
            continue;
        if (mkdir(cur.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st;
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool WriteAll(int fd, const std::string& blob)
{
    size_t done = 0;
    while (done < blob.size())
    {
        const ssize_t n = write(fd, blob.data() + done, blob.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

// Writes the hive through a temporary file renamed over the old one.
LONG Persist(Store& s, int hive, bool sync = false)
{
    const char* name = HiveFileName(hive);
    if (s.inMemory || !name)
        return ERROR_SUCCESS;
    std::string blob(kMagic, sizeof(kMagic));
    SerializeKey(blob, s.roots[hive], std::wstring());
    const std::string dir = StoreDir(s.configDir);
    if (!MakeDirs(dir))
        return ERROR_CANTWRITE;
    const std::string target = dir + "/" + name;
    Win32RemoveStaleSaveTemps(target);
    // One temporary per process (the store's lock keeps its saves apart), named by its pid so that a
    // later run can tell a killed save's leftover from a running one.
    const std::string temp = Win32SaveTempPath(target);
    unlink(temp.c_str());
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return ERROR_CANTWRITE;
    bool ok = WriteAll(fd, blob);
    if (ok && sync)
        ok = fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    if (!ok)
    {
        unlink(temp.c_str());
        return ERROR_CANTWRITE;
    }
    if (s.failBeforeRename)
        return ERROR_CANTWRITE;
    if (rename(temp.c_str(), target.c_str()) != 0)
    {
        unlink(temp.c_str());
        return ERROR_CANTWRITE;
    }
    if (sync)
    {
        const int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd >= 0)
        {
            fsync(dfd);
            close(dfd);
        }
    }
    return ERROR_SUCCESS;
}

bool ResolveHandle(Store& s, HKEY h, OpenKey& out)
{
    const int hive = HiveOf(h);
    if (hive >= 0)
    {
        out.hive = hive;
        out.path.clear();
        out.access = KEY_ALL_ACCESS;
        return true;
    }
    auto it = s.handles.find(reinterpret_cast<uintptr_t>(h));
    if (it == s.handles.end())
        return false;
    out = it->second;
    return true;
}

// The key of a handle; sets err to ERROR_INVALID_HANDLE or ERROR_KEY_DELETED when there is none.
RegKey* KeyOf(Store& s, HKEY h, OpenKey& ok, LONG& err)
{
    if (!ResolveHandle(s, h, ok))
    {
        err = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    RegKey* key = Walk(&s.roots[ok.hive], ok.path, ok.path.size());
    if (!key)
        err = ERROR_KEY_DELETED;
    return key;
}

// The key of a handle opened with the given access, in a loaded store; err says why there is none.
RegKey* KeyWithAccess(Store& s, HKEY h, REGSAM access, OpenKey& ok, LONG& err)
{
    EnsureLoaded(s);
    RegKey* key = KeyOf(s, h, ok, err);
    if (key && !(ok.access & access))
    {
        err = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    return key;
}

HKEY AddHandle(Store& s, OpenKey key)
{
    const uintptr_t v = kHandleBase + s.nextHandle++;
    s.handles.emplace(v, std::move(key));
    return reinterpret_cast<HKEY>(v);
}

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

} // namespace

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    EnsureLoaded(s);
    OpenKey base;
    LONG err = ERROR_SUCCESS;
    RegKey* key = KeyOf(s, hKey, base, err);
    if (!key)
        return err;
    std::vector<std::wstring> parts;
    if (!SplitPath(lpSubKey, parts))
        return ERROR_INVALID_PARAMETER;
    OpenKey result = base;
    for (const auto& part : parts)
    {
        key = FindChild(key, part);
        if (!key)
            return ERROR_FILE_NOT_FOUND;
        result.path.push_back(key->name);
    }
    result.access = samDesired;
    *phkResult = AddHandle(s, std::move(result));
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD dwOptions, REGSAM samDesired,
                     const SECURITY_ATTRIBUTES*, PHKEY phkResult, LPDWORD lpdwDisposition)
{
    if (!phkResult || !lpSubKey)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    EnsureLoaded(s);
    OpenKey base;
    LONG err = ERROR_SUCCESS;
    RegKey* key = KeyOf(s, hKey, base, err);
    if (!key)
        return err;
    std::vector<std::wstring> parts;
    if (!SplitPath(lpSubKey, parts))
        return ERROR_INVALID_PARAMETER;
    if (base.path.size() + parts.size() > kMaxKeyDepth)
        return ERROR_BADKEY;
    OpenKey result = base;
    bool created = false;
    for (const auto& part : parts)
    {
        RegKey* child = FindChild(key, part);
        if (!child)
        {
            if (!(base.access & KEY_CREATE_SUB_KEY))
                return ERROR_ACCESS_DENIED;
            child = AddChild(key, part);
            child->isVolatile = key->isVolatile || (dwOptions & REG_OPTION_VOLATILE) != 0;
            created = true;
        }
        key = child;
        result.path.push_back(key->name);
    }
    LONG rc = created ? Persist(s, base.hive) : ERROR_SUCCESS;
    if (rc != ERROR_SUCCESS)
        return rc;
    result.access = samDesired;
    *phkResult = AddHandle(s, std::move(result));
    if (lpdwDisposition)
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey)
{
    if (HiveOf(hKey) >= 0)
        return ERROR_SUCCESS;
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    return s.handles.erase(reinterpret_cast<uintptr_t>(hKey)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData)
{
    if (lpReserved || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    OpenKey ok;
    LONG err = ERROR_SUCCESS;
    RegKey* key = KeyWithAccess(s, hKey, KEY_QUERY_VALUE, ok, err);
    if (!key)
        return err;
    const RegValue* v = FindValue(key, lpValueName);
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    if (lpType)
        *lpType = v->type;
    const DWORD size = DWORD(v->data.size());
    if (!lpcbData)
        return ERROR_SUCCESS;
    if (lpData)
    {
        if (*lpcbData < size)
        {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        if (size)
            std::memcpy(lpData, v->data.data(), size);
        // A string stored without its terminator gets one when the buffer has room for it.
        if (IsStringType(v->type) && size % sizeof(wchar_t) == 0 && *lpcbData >= size + sizeof(wchar_t) &&
            (size == 0 || reinterpret_cast<const wchar_t*>(lpData)[size / sizeof(wchar_t) - 1] != 0))
            std::memset(lpData + size, 0, sizeof(wchar_t));
    }
    *lpcbData = size;
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData)
{
    if (!lpData && cbData)
        return ERROR_NOACCESS;
    if (lpValueName && wcslen(lpValueName) > kMaxValueNameChars)
        return ERROR_INVALID_PARAMETER;
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    OpenKey ok;
    LONG err = ERROR_SUCCESS;
    RegKey* key = KeyWithAccess(s, hKey, KEY_SET_VALUE, ok, err);
    if (!key)
        return err;
    RegValue* v = FindValue(key, lpValueName);
    if (!v)
    {
        key->values.emplace_back();
        v = &key->values.back();
        v->name = lpValueName ? lpValueName : L"";
    }
    v->type = dwType;
    v->data.assign(lpData, lpData + cbData);
    key->lastWrite = Now();
    return Persist(s, ok.hive);
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName)
{
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    OpenKey ok;
    LONG err = ERROR_SUCCESS;
    RegKey* key = KeyWithAccess(s, hKey, KEY_SET_VALUE, ok, err);
    if (!key)
        return err;
    const RegValue* v = FindValue(key, lpValueName);
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    key->values.erase(key->values.begin() + (v - key->values.data()));
    key->lastWrite = Now();
    return Persist(s, ok.hive);
}

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey)
{
    if (!lpSubKey)
        return ERROR_INVALID_PARAMETER;
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    EnsureLoaded(s);
    OpenKey ok;
    LONG err = ERROR_SUCCESS;
    if (!KeyOf(s, hKey, ok, err))
        return err;
    std::vector<std::wstring> parts;
    if (!SplitPath(lpSubKey, parts))
        return ERROR_INVALID_PARAMETER;
    std::vector<std::wstring> full = ok.path;
    full.insert(full.end(), parts.begin(), parts.end());
    if (full.empty())
        return ERROR_ACCESS_DENIED; // a hive's root cannot go
    RegKey* parent = Walk(&s.roots[ok.hive], full, full.size() - 1);
    RegKey* target = parent ? FindChild(parent, full.back()) : nullptr;
    if (!target)
        return ERROR_FILE_NOT_FOUND;
    if (!target->subkeys.empty())
        return ERROR_ACCESS_DENIED;
    auto it = std::find_if(parent->subkeys.begin(), parent->subkeys.end(),
                           [target](const std::unique_ptr<RegKey>& k) { return k.get() == target; });
    parent->subkeys.erase(it);
    parent->lastWrite = Now();
    return Persist(s, ok.hive);
}

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPWSTR lpClass, LPDWORD lpcchClass, FILETIME* lpftLastWriteTime)
{
    if (!lpName || !lpcchName || lpReserved)
        return ERROR_INVALID_PARAMETER;
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    OpenKey ok;
    LONG err = ERROR_SUCCESS;
    RegKey* key = KeyWithAccess(s, hKey, KEY_ENUMERATE_SUB_KEYS, ok, err);
    if (!key)
        return err;
    if (dwIndex >= key->subkeys.size())
        return ERROR_NO_MORE_ITEMS;
    const RegKey& sub = *key->subkeys[dwIndex];
    if (*lpcchName <= sub.name.size())
        return ERROR_MORE_DATA;
    std::wmemcpy(lpName, sub.name.c_str(), sub.name.size() + 1);
    *lpcchName = DWORD(sub.name.size());
    if (lpcchClass)
    {
        if (lpClass && *lpcchClass > 0)
            lpClass[0] = 0;
        *lpcchClass = 0;
    }
    if (lpftLastWriteTime)
        *lpftLastWriteTime = sub.lastWrite;
    return ERROR_SUCCESS;
}

LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    if (!lpValueName || !lpcchValueName || lpReserved || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    OpenKey ok;
    LONG err = ERROR_SUCCESS;
    RegKey* key = KeyWithAccess(s, hKey, KEY_QUERY_VALUE, ok, err);
    if (!key)
        return err;
    if (dwIndex >= key->values.size())
        return ERROR_NO_MORE_ITEMS;
    const RegValue& v = key->values[dwIndex];
    if (*lpcchValueName <= v.name.size())
        return ERROR_MORE_DATA;
    std::wmemcpy(lpValueName, v.name.c_str(), v.name.size() + 1);
    *lpcchValueName = DWORD(v.name.size());
    if (lpType)
        *lpType = v.type;
    if (lpcbData)
    {
        const DWORD size = DWORD(v.data.size());
        if (lpData && *lpcbData < size)
        {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        if (lpData && size)
            std::memcpy(lpData, v.data.data(), size);
        *lpcbData = size;
    }
    return ERROR_SUCCESS;
}

LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                      LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                      FILETIME* lpftLastWriteTime)
{
    if (lpReserved)
        return ERROR_INVALID_PARAMETER;
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    OpenKey ok;
    LONG err = ERROR_SUCCESS;
    RegKey* key = KeyWithAccess(s, hKey, KEY_QUERY_VALUE, ok, err);
    if (!key)
        return err;
    if (lpcchClass)
    {
        if (lpClass && *lpcchClass > 0)
            lpClass[0] = 0;
        *lpcchClass = 0;
    }
    size_t maxSub = 0, maxName = 0, maxData = 0;
    for (const auto& sub : key->subkeys)
        maxSub = std::max(maxSub, sub->name.size());
    for (const auto& v : key->values)
    {
        maxName = std::max(maxName, v.name.size());
        maxData = std::max(maxData, v.data.size());
    }
    if (lpcSubKeys)
        *lpcSubKeys = DWORD(key->subkeys.size());
    if (lpcbMaxSubKeyLen)
        *lpcbMaxSubKeyLen = DWORD(maxSub);
    if (lpcbMaxClassLen)
        *lpcbMaxClassLen = 0;
    if (lpcValues)
        *lpcValues = DWORD(key->values.size());
    if (lpcbMaxValueNameLen)
        *lpcbMaxValueNameLen = DWORD(maxName);
    if (lpcbMaxValueLen)
        *lpcbMaxValueLen = DWORD(maxData);
    if (lpcbSecurityDescriptor)
        *lpcbSecurityDescriptor = 0;
    if (lpftLastWriteTime)
        *lpftLastWriteTime = key->lastWrite;
    return ERROR_SUCCESS;
}

LONG RegConnectRegistryW(LPCWSTR lpMachineName, HKEY hKey, PHKEY phkResult)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    if (HiveOf(hKey) < 0)
        return ERROR_INVALID_HANDLE;
    std::wstring name = lpMachineName ? lpMachineName : L"";
    while (!name.empty() && name[0] == L'\\')
        name.erase(0, 1);
    bool local = name.empty() || EqualNoCase(name, L"localhost") || name == L"." || name == L"127.0.0.1";
    if (!local)
    {
        char host[256] = {};
        if (gethostname(host, sizeof(host) - 1) == 0)
        {
            const std::wstring h = Utf8ToWide(host);
            local = EqualNoCase(name, h) || EqualNoCase(name, h.substr(0, h.find(L'.')));
            wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
            DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
            if (!local && GetComputerNameW(computer, &n))
                local = EqualNoCase(name, computer);
        }
    }
    if (!local)
        return ERROR_BAD_NETPATH;
    *phkResult = hKey;
    return ERROR_SUCCESS;
}

LONG RegFlushKey(HKEY hKey)
{
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    EnsureLoaded(s);
    OpenKey ok;
    LONG err = ERROR_SUCCESS;
    if (!KeyOf(s, hKey, ok, err))
        return err;
    return Persist(s, ok.hive, true);
}

void RegStoreSetInMemory(bool inMemory)
{
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    s.inMemory = inMemory;
    LoadAll(s);
}

bool RegStoreIsInMemory()
{
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    return s.inMemory;
}

void RegStoreReset()
{
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    for (auto& root : s.roots)
        root = RegKey();
    s.loaded = true;
    s.configDir = ComputeConfigDir();
}

void RegStoreReload()
{
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    LoadAll(s);
}

std::wstring RegStoreGetPath()
{
    return Utf8ToWide(StoreDir(ComputeConfigDir()) + "/" + HiveFileName(HiveUser));
}

void RegStoreSetFailBeforeRename(bool fail)
{
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    s.failBeforeRename = fail;
}
