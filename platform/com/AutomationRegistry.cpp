#include "com/AutomationRegistry.h"

#include "win32/Registry.h"

#include <map>
#include <mutex>

namespace
{
struct TypeLibTable
{
    std::mutex mutex;
    std::vector<QYRTYPELIB> libs;
};

TypeLibTable& Libs()
{
    static auto* table = new TypeLibTable;
    return *table;
}

// The dispatch interfaces' standard marshaller.
const CLSID CLSID_PSDispatch = {0x00020420, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

std::wstring GuidText(REFGUID guid)
{
    wchar_t text[64] = {};
    StringFromGUID2(guid, text, 64);
    return text;
}

std::wstring VersionText(WORD major, WORD minor)
{
    return std::to_wstring(major) + L"." + std::to_wstring(minor);
}

LONG SetValue(const std::wstring& subKey, LPCWSTR name, const std::wstring& value)
{
    HKEY key = nullptr;
    LONG rc =
        RegCreateKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return rc;
}

// Deletes a key with everything below it; a missing key counts as deleted.
LONG DeleteTree(HKEY parent, const std::wstring& subKey)
{
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(parent, subKey.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (rc == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (rc != ERROR_SUCCESS)
        return rc;
    for (;;)
    {
        wchar_t name[256];
        DWORD cch = 256;
        if (RegEnumKeyExW(key, 0, name, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        rc = DeleteTree(key, name);
        if (rc != ERROR_SUCCESS)
        {
            RegCloseKey(key);
            return rc;
        }
    }
    RegCloseKey(key);
    return RegDeleteKeyW(parent, subKey.c_str());
}

bool HasSubKeys(const std::wstring& subKey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD count = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(key);
    return count > 0;
}

HRESULT FromWin32(LONG rc)
{
    return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(DWORD(rc));
}
} // namespace

void QyrAddTypeLib(const QYRTYPELIB& lib)
{
    TypeLibTable& t = Libs();
    std::lock_guard lock(t.mutex);
    for (QYRTYPELIB& known : t.libs)
    {
        if (IsEqualGUID(known.libid, lib.libid))
        {
            known = lib;
            return;
        }
    }
    t.libs.push_back(lib);
}

BOOL QyrFindTypeLib(REFGUID libid, QYRTYPELIB* lib)
{
    TypeLibTable& t = Libs();
    std::lock_guard lock(t.mutex);
    for (const QYRTYPELIB& known : t.libs)
    {
        if (IsEqualGUID(known.libid, libid))
        {
            if (lib)
                *lib = known;
            return TRUE;
        }
    }
    return FALSE;
}

HRESULT QyrRegisterTypeLib(REFGUID libid, LPCWSTR fullPath, LPCWSTR helpDir)
{
    QYRTYPELIB lib;
    if (!QyrFindTypeLib(libid, &lib))
        return TYPE_E_CANTLOADLIBRARY;
    const std::wstring libText = GuidText(libid);
    const std::wstring version = VersionText(lib.wMajorVerNum, lib.wMinorVerNum);
    const std::wstring base = L"TypeLib\\" + libText + L"\\" + version;
    wchar_t lcid[16];
    std::swprintf(lcid, 16, L"%x", unsigned(lib.lcid));
    LONG rc = SetValue(base, nullptr, lib.name);
    if (rc == ERROR_SUCCESS)
        rc = SetValue(base + L"\\" + lcid + L"\\win32", nullptr, fullPath ? fullPath : L"");
    if (rc == ERROR_SUCCESS)
        rc = SetValue(base + L"\\FLAGS", nullptr, L"0");
    if (rc == ERROR_SUCCESS)
        rc = SetValue(base + L"\\HELPDIR", nullptr, helpDir ? helpDir : L"");
    for (const QYRTYPELIBINTERFACE& itf : lib.interfaces)
    {
        const std::wstring key = L"Interface\\" + GuidText(itf.iid);
        if (rc == ERROR_SUCCESS)
            rc = SetValue(key, nullptr, itf.name);
        if (rc == ERROR_SUCCESS)
            rc = SetValue(key + L"\\ProxyStubClsid32", nullptr, GuidText(CLSID_PSDispatch));
        if (rc == ERROR_SUCCESS)
            rc = SetValue(key + L"\\TypeLib", nullptr, libText);
        if (rc == ERROR_SUCCESS)
            rc = SetValue(key + L"\\TypeLib", L"Version", version);
    }
    return FromWin32(rc);
}

HRESULT UnRegisterTypeLib(REFGUID libID, WORD wVerMajor, WORD wVerMinor, LCID, SYSKIND)
{
    const std::wstring libText = GuidText(libID);
    const std::wstring libKey = L"TypeLib\\" + libText;
    const std::wstring versionKey = libKey + L"\\" + VersionText(wVerMajor, wVerMinor);
    HKEY probe = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, versionKey.c_str(), 0, KEY_READ, &probe) != ERROR_SUCCESS)
        return TYPE_E_REGISTRYACCESS;
    RegCloseKey(probe);
    LONG rc = DeleteTree(HKEY_CLASSES_ROOT, versionKey);
    if (rc == ERROR_SUCCESS && !HasSubKeys(libKey))
        rc = DeleteTree(HKEY_CLASSES_ROOT, libKey);
    // The interfaces that this library described go with it.
    QYRTYPELIB lib;
    if (rc == ERROR_SUCCESS && QyrFindTypeLib(libID, &lib))
    {
        for (const QYRTYPELIBINTERFACE& itf : lib.interfaces)
        {
            const std::wstring key = L"Interface\\" + GuidText(itf.iid);
            if (QyrReadClassesValue((key + L"\\TypeLib").c_str()) == libText)
                rc = DeleteTree(HKEY_CLASSES_ROOT, key);
        }
    }
    return FromWin32(rc);
}

HRESULT QyrRegisterServerClass(REFCLSID clsid, LPCWSTR progId, LPCWSTR userType, LPCWSTR serverPath,
                               const GUID* typeLib)
{
    if (!progId || !*progId)
        return E_INVALIDARG;
    const std::wstring classKey = L"CLSID\\" + GuidText(clsid);
    const std::wstring type = userType ? userType : L"";
    LONG rc = SetValue(classKey, nullptr, type);
    if (rc == ERROR_SUCCESS)
        rc = SetValue(classKey + L"\\ProgID", nullptr, progId);
    if (rc == ERROR_SUCCESS)
        rc = SetValue(classKey + L"\\LocalServer32", nullptr,
                      std::wstring(serverPath ? serverPath : L"") + L" /Automation");
    if (rc == ERROR_SUCCESS && typeLib)
        rc = SetValue(classKey + L"\\TypeLib", nullptr, GuidText(*typeLib));
    if (rc == ERROR_SUCCESS)
        rc = SetValue(progId, nullptr, type);
    if (rc == ERROR_SUCCESS)
        rc = SetValue(std::wstring(progId) + L"\\CLSID", nullptr, GuidText(clsid));
    return FromWin32(rc);
}

HRESULT QyrUnregisterServerClass(REFCLSID clsid, LPCWSTR progId)
{
    const std::wstring clsidText = GuidText(clsid);
    LONG rc = DeleteTree(HKEY_CLASSES_ROOT, L"CLSID\\" + clsidText);
    // A ProgID that another class took over stays.
    if (rc == ERROR_SUCCESS && progId && *progId &&
        QyrReadClassesValue((std::wstring(progId) + L"\\CLSID").c_str()) == clsidText)
        rc = DeleteTree(HKEY_CLASSES_ROOT, progId);
    return FromWin32(rc);
}

std::wstring QyrReadClassesValue(LPCWSTR subKey, LPCWSTR valueName)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::wstring();
    wchar_t data[1024] = {};
    DWORD type = 0;
    DWORD size = sizeof(data) - sizeof(wchar_t);
    const LONG rc = RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return std::wstring();
    return std::wstring(data, size / sizeof(wchar_t)).c_str();
}
