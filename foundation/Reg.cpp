#include "foundation/Reg.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace
{

const DWORD kMaxValueSize = 64u * 1024u * 1024u;

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_LINK || type == REG_MULTI_SZ;
}

// The value's raw data; the size the registry reports is checked before anything is allocated.
bool QueryRaw(HKEY key, LPCWSTR valueName, DWORD& type, std::vector<BYTE>& data)
{
    if (!key)
        return false;
    for (int attempt = 0; attempt < 4; ++attempt)
    {
        DWORD size = 0;
        if (RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return false;
        if (size > kMaxValueSize)
            return false;
        data.assign(size_t(size), 0);
        DWORD got = size;
        const LONG rc = RegQueryValueExW(key, valueName, nullptr, &type, data.data(), &got);
        if (rc == ERROR_MORE_DATA)
            continue; // it grew in between
        if (rc != ERROR_SUCCESS)
            return false;
        data.resize(size_t(got));
        return true;
    }
    return false;
}

// The strings of string data, each up to its terminator; a REG_MULTI_SZ list ends at an empty string.
std::vector<CString> SplitStrings(const BYTE* data, size_t size, bool multi)
{
    std::vector<CString> out;
    const size_t chars = size / sizeof(wchar_t);
    std::vector<wchar_t> text(chars);
    if (chars)
        std::memcpy(text.data(), data, chars * sizeof(wchar_t));
    size_t pos = 0;
    while (pos < chars || (!multi && out.empty()))
    {
        size_t end = pos;
        while (end < chars && text[end] != L'\0')
            ++end;
        if (multi && end == pos)
            break;
        out.emplace_back(std::wstring(text.data() + pos, end - pos));
        if (!multi)
            break;
        pos = end + 1;
    }
    return out;
}

std::vector<BYTE> MultiStringData(const std::vector<CString>& strings)
{
    std::vector<wchar_t> text;
    for (const CString& s : strings)
    {
        text.insert(text.end(), s.str().begin(), s.str().end());
        text.push_back(L'\0');
    }
    if (strings.empty())
        text.push_back(L'\0');
    text.push_back(L'\0');
    std::vector<BYTE> data(text.size() * sizeof(wchar_t));
    std::memcpy(data.data(), text.data(), data.size());
    return data;
}

std::vector<CString> ToVector(const CStringArray& strings)
{
    std::vector<CString> out;
    for (INT_PTR i = 0; i < strings.GetSize(); ++i)
        out.push_back(strings.GetAt(i));
    return out;
}

// The library-wide state of the one value enumeration.
struct EnumState
{
    std::mutex lock;
    DWORD count = 0;
    DWORD longestName = 0;
    DWORD next = 0;
    std::vector<wchar_t> nameBuffer;
};

EnumState& Enumeration()
{
    static EnumState state;
    return state;
}

} // namespace

// ---- RegVal ----

void RegVal::Free()
{
    buffer.clear();
    buffer.shrink_to_fit();
    dwNumber = 0;
    dwDataSz = 0;
    dwType = REG_NONE;
}

void RegVal::SetNumber(DWORD number)
{
    Free();
    dwType = REG_DWORD;
    dwNumber = number;
    dwDataSz = sizeof(DWORD);
}

void RegVal::SetBinary(const BYTE* data, DWORD size)
{
    SetRaw(REG_BINARY, data, data ? size : 0);
}

void RegVal::SetString(LPCWSTR text, DWORD type)
{
    const std::wstring s(text ? text : L"");
    SetRaw(type, reinterpret_cast<const BYTE*>(s.c_str()), DWORD((s.size() + 1) * sizeof(wchar_t)));
}

void RegVal::SetStringArr(const CStringArray& strings)
{
    const std::vector<BYTE> data = MultiStringData(ToVector(strings));
    SetRaw(REG_MULTI_SZ, data.data(), DWORD(data.size()));
}

void RegVal::SetRaw(DWORD type, const BYTE* data, DWORD size)
{
    Free();
    dwType = type;
    if (type == REG_DWORD)
    {
        if (data && size >= sizeof(DWORD))
            std::memcpy(&dwNumber, data, sizeof(DWORD));
        dwDataSz = sizeof(DWORD);
        return;
    }
    if (data && size)
        buffer.assign(data, data + size);
    dwDataSz = DWORD(buffer.size());
}

const BYTE* RegVal::GetData() const
{
    if (dwType == REG_DWORD)
        return reinterpret_cast<const BYTE*>(&dwNumber);
    return buffer.empty() ? nullptr : buffer.data();
}

BOOL RegVal::GetNumber(DWORD* number) const
{
    if (dwType != REG_DWORD || !number)
        return FALSE;
    *number = dwNumber;
    return TRUE;
}

BOOL RegVal::GetString(CString& text) const
{
    if (!IsStringType(dwType))
        return FALSE;
    text = SplitStrings(buffer.data(), buffer.size(), false).front();
    return TRUE;
}

BOOL RegVal::GetStringArr(CStringArray& strings) const
{
    if (dwType != REG_MULTI_SZ)
        return FALSE;
    strings.RemoveAll();
    for (const CString& s : SplitStrings(buffer.data(), buffer.size(), true))
        strings.Add(s);
    return TRUE;
}

// ---- CReg: keys ----

HKEY CReg::Connect(HKEY key, LPCWSTR machine)
{
    Close();
    HKEY remote = nullptr;
    if (RegConnectRegistryW(machine, key, &remote) == ERROR_SUCCESS)
        m_hKey = remote;
    return m_hKey;
}

BOOL CReg::Open(HKEY key)
{
    Close();
    m_hKey = key;
    return m_hKey != nullptr;
}

BOOL CReg::Open(HKEY key, LPCWSTR subKey, REGSAM access)
{
    Close();
    HKEY opened = nullptr;
    if (RegOpenKeyExW(key, subKey, 0, access, &opened) != ERROR_SUCCESS)
        return FALSE;
    m_hKey = opened;
    return TRUE;
}

BOOL CReg::Create(HKEY key, LPCWSTR subKey, REGSAM access)
{
    Close();
    HKEY created = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(key, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &created,
                        &disposition) != ERROR_SUCCESS)
        return FALSE;
    m_hKey = created;
    return TRUE;
}

void CReg::Close()
{
    if (m_hKey)
    {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

// ---- loads ----

BOOL CReg::LoadVal(LPCWSTR valueName, RegVal* value)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!value || !QueryRaw(m_hKey, valueName, type, data))
        return FALSE;
    switch (type)
    {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_BINARY:
    case REG_LINK:
    case REG_MULTI_SZ:
        value->SetRaw(type, data.data(), DWORD(data.size()));
        return TRUE;
    case REG_DWORD:
        if (data.size() < sizeof(DWORD))
            return FALSE;
        value->SetRaw(type, data.data(), DWORD(data.size()));
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CReg::LoadNumber(LPCWSTR valueName, DWORD* number)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!number || !QueryRaw(m_hKey, valueName, type, data) || type != REG_DWORD ||
        data.size() < sizeof(DWORD))
        return FALSE;
    std::memcpy(number, data.data(), sizeof(DWORD));
    return TRUE;
}

BOOL CReg::LoadBinary(LPCWSTR valueName, LPBYTE buffer, DWORD bufferSize, DWORD* size)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryRaw(m_hKey, valueName, type, data) || type != REG_BINARY)
        return FALSE;
    if (size)
        *size = DWORD(data.size());
    if (data.size() > bufferSize || (!buffer && !data.empty()))
        return FALSE;
    if (!data.empty())
        std::memcpy(buffer, data.data(), data.size());
    return TRUE;
}

BOOL CReg::LoadNewBinary(LPCWSTR valueName, std::vector<BYTE>& out)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryRaw(m_hKey, valueName, type, data) || type != REG_BINARY)
        return FALSE;
    out = std::move(data);
    return TRUE;
}

BOOL CReg::LoadString(LPCWSTR valueName, CString& text)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryRaw(m_hKey, valueName, type, data) || !IsStringType(type))
        return FALSE;
    text = SplitStrings(data.data(), data.size(), false).front();
    return TRUE;
}

BOOL CReg::LoadString(LPCWSTR valueName, LPWSTR buffer, DWORD bufferChars)
{
    CString text;
    if (!buffer || !LoadString(valueName, text) || DWORD(text.GetLength()) >= bufferChars)
        return FALSE;
    std::wmemcpy(buffer, text.GetString(), size_t(text.GetLength()) + 1);
    return TRUE;
}

BOOL CReg::LoadNewString(LPCWSTR valueName, LPWSTR* out, DWORD* chars)
{
    CString text;
    if (!out || !LoadString(valueName, text))
        return FALSE;
    *out = new wchar_t[size_t(text.GetLength()) + 1];
    std::wmemcpy(*out, text.GetString(), size_t(text.GetLength()) + 1);
    if (chars)
        *chars = DWORD(text.GetLength());
    return TRUE;
}

BOOL CReg::LoadNewStringArr(LPCWSTR valueName, std::vector<CString>& strings)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryRaw(m_hKey, valueName, type, data) || !IsStringType(type))
        return FALSE;
    strings = SplitStrings(data.data(), data.size(), type == REG_MULTI_SZ);
    return TRUE;
}

BOOL CReg::LoadStringArr(LPCWSTR valueName, CStringArray& strings)
{
    std::vector<CString> list;
    if (!LoadNewStringArr(valueName, list))
        return FALSE;
    strings.RemoveAll();
    for (const CString& s : list)
        strings.Add(s);
    return TRUE;
}

BOOL CReg::LoadStringArr(LPCWSTR valueName, LPWSTR* array, DWORD arraySize, DWORD* count)
{
    std::vector<CString> list;
    if (!LoadNewStringArr(valueName, list))
        return FALSE;
    if (count)
        *count = DWORD(list.size());
    if (!array || list.size() > arraySize)
        return FALSE;
    for (size_t i = 0; i < list.size(); ++i)
    {
        array[i] = new wchar_t[size_t(list[i].GetLength()) + 1];
        std::wmemcpy(array[i], list[i].GetString(), size_t(list[i].GetLength()) + 1);
    }
    return TRUE;
}

// ---- saves ----

BOOL CReg::SaveVal(LPCWSTR valueName, const RegVal& value)
{
    if (!m_hKey || value.dwType == REG_NONE)
        return FALSE;
    return RegSetValueExW(m_hKey, valueName, 0, value.dwType, value.GetData(), value.dwDataSz) ==
           ERROR_SUCCESS;
}

BOOL CReg::SaveNumber(LPCWSTR valueName, DWORD number)
{
    if (!m_hKey)
        return FALSE;
    return RegSetValueExW(m_hKey, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                          sizeof(number)) == ERROR_SUCCESS;
}

BOOL CReg::SaveBinary(LPCWSTR valueName, const BYTE* data, DWORD size)
{
    if (!m_hKey || (!data && size))
        return FALSE;
    return RegSetValueExW(m_hKey, valueName, 0, REG_BINARY, data, size) == ERROR_SUCCESS;
}

BOOL CReg::SaveString(LPCWSTR valueName, LPCWSTR text)
{
    if (!m_hKey)
        return FALSE;
    const std::wstring s(text ? text : L"");
    return RegSetValueExW(m_hKey, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(s.c_str()),
                          DWORD((s.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

BOOL CReg::SaveStringArr(LPCWSTR valueName, const LPCWSTR* array, DWORD count)
{
    if (!m_hKey || (!array && count))
        return FALSE;
    std::vector<CString> list;
    for (DWORD i = 0; i < count; ++i)
        list.emplace_back(array[i] ? array[i] : L"");
    const std::vector<BYTE> data = MultiStringData(list);
    return RegSetValueExW(m_hKey, valueName, 0, REG_MULTI_SZ, data.data(), DWORD(data.size())) ==
           ERROR_SUCCESS;
}

BOOL CReg::SaveStringArr(LPCWSTR valueName, const CStringArray& strings)
{
    if (!m_hKey)
        return FALSE;
    const std::vector<BYTE> data = MultiStringData(ToVector(strings));
    return RegSetValueExW(m_hKey, valueName, 0, REG_MULTI_SZ, data.data(), DWORD(data.size())) ==
           ERROR_SUCCESS;
}

namespace
{

// ---- the subkey forms: loads open the subkey for reading, saves create it for writing, just for the call
// ----
template <typename Call> BOOL OnSubKey(HKEY parent, LPCWSTR subKey, bool forWriting, Call call)
{
    CReg sub;
    if (!(forWriting ? sub.Create(parent, subKey, KEY_WRITE) : sub.Open(parent, subKey, KEY_READ)))
        return FALSE;
    return call(sub);
}

} // namespace

BOOL CReg::LoadVal(LPCWSTR subKey, LPCWSTR valueName, RegVal* value)
{
    return OnSubKey(m_hKey, subKey, false, [&](CReg& sub) { return sub.LoadVal(valueName, value); });
}

BOOL CReg::LoadNumber(LPCWSTR subKey, LPCWSTR valueName, DWORD* number)
{
    return OnSubKey(m_hKey, subKey, false, [&](CReg& sub) { return sub.LoadNumber(valueName, number); });
}

BOOL CReg::LoadBinary(LPCWSTR subKey, LPCWSTR valueName, LPBYTE buffer, DWORD bufferSize, DWORD* size)
{
    return OnSubKey(m_hKey, subKey, false,
                    [&](CReg& sub) { return sub.LoadBinary(valueName, buffer, bufferSize, size); });
}

BOOL CReg::LoadNewBinary(LPCWSTR subKey, LPCWSTR valueName, std::vector<BYTE>& data)
{
    return OnSubKey(m_hKey, subKey, false, [&](CReg& sub) { return sub.LoadNewBinary(valueName, data); });
}

BOOL CReg::LoadString(LPCWSTR subKey, LPCWSTR valueName, LPWSTR buffer, DWORD bufferChars)
{
    return OnSubKey(m_hKey, subKey, false,
                    [&](CReg& sub) { return sub.LoadString(valueName, buffer, bufferChars); });
}

BOOL CReg::LoadString(LPCWSTR subKey, LPCWSTR valueName, CString& text)
{
    return OnSubKey(m_hKey, subKey, false, [&](CReg& sub) { return sub.LoadString(valueName, text); });
}

BOOL CReg::LoadNewString(LPCWSTR subKey, LPCWSTR valueName, LPWSTR* text, DWORD* chars)
{
    return OnSubKey(m_hKey, subKey, false,
                    [&](CReg& sub) { return sub.LoadNewString(valueName, text, chars); });
}

BOOL CReg::LoadStringArr(LPCWSTR subKey, LPCWSTR valueName, LPWSTR* array, DWORD arraySize, DWORD* count)
{
    return OnSubKey(m_hKey, subKey, false,
                    [&](CReg& sub) { return sub.LoadStringArr(valueName, array, arraySize, count); });
}

BOOL CReg::LoadStringArr(LPCWSTR subKey, LPCWSTR valueName, CStringArray& strings)
{
    return OnSubKey(m_hKey, subKey, false, [&](CReg& sub) { return sub.LoadStringArr(valueName, strings); });
}

BOOL CReg::LoadNewStringArr(LPCWSTR subKey, LPCWSTR valueName, std::vector<CString>& strings)
{
    return OnSubKey(m_hKey, subKey, false,
                    [&](CReg& sub) { return sub.LoadNewStringArr(valueName, strings); });
}

BOOL CReg::SaveVal(LPCWSTR subKey, LPCWSTR valueName, const RegVal& value)
{
    return OnSubKey(m_hKey, subKey, true, [&](CReg& sub) { return sub.SaveVal(valueName, value); });
}

BOOL CReg::SaveNumber(LPCWSTR subKey, LPCWSTR valueName, DWORD number)
{
    return OnSubKey(m_hKey, subKey, true, [&](CReg& sub) { return sub.SaveNumber(valueName, number); });
}

BOOL CReg::SaveBinary(LPCWSTR subKey, LPCWSTR valueName, const BYTE* data, DWORD size)
{
    return OnSubKey(m_hKey, subKey, true, [&](CReg& sub) { return sub.SaveBinary(valueName, data, size); });
}

BOOL CReg::SaveString(LPCWSTR subKey, LPCWSTR valueName, LPCWSTR text)
{
    return OnSubKey(m_hKey, subKey, true, [&](CReg& sub) { return sub.SaveString(valueName, text); });
}

BOOL CReg::SaveStringArr(LPCWSTR subKey, LPCWSTR valueName, const LPCWSTR* array, DWORD count)
{
    return OnSubKey(m_hKey, subKey, true,
                    [&](CReg& sub) { return sub.SaveStringArr(valueName, array, count); });
}

BOOL CReg::SaveStringArr(LPCWSTR subKey, LPCWSTR valueName, const CStringArray& strings)
{
    return OnSubKey(m_hKey, subKey, true, [&](CReg& sub) { return sub.SaveStringArr(valueName, strings); });
}

// ---- deletion ----

BOOL CReg::DeleteKey(LPCWSTR valueName)
{
    if (!m_hKey)
        return FALSE;
    return RegDeleteValueW(m_hKey, valueName) == ERROR_SUCCESS;
}

BOOL CReg::DeleteKey(LPCWSTR subKey, LPCWSTR valueName)
{
    if (!m_hKey || !subKey)
        return FALSE;
    {
        CReg sub;
        if (!sub.Open(m_hKey, subKey, KEY_READ | KEY_WRITE))
            return FALSE;
        if (valueName)
            return sub.DeleteKey(valueName);
        if (!sub.DeleteSubKeys())
            return FALSE;
    }
    return RegDeleteKeyW(m_hKey, subKey) == ERROR_SUCCESS;
}

BOOL CReg::DeleteSubKeys()
{
    if (!m_hKey)
        return FALSE;
    DWORD subKeys = 0, values = 0;
    if (!HasEntries(&subKeys, &values))
        return FALSE;
    // Always the last one by index, so the indexes of the others stay put.
    while (subKeys > 0)
    {
        wchar_t name[MAX_PATH * 4] = {};
        DWORD nameChars = DWORD(sizeof(name) / sizeof(name[0]));
        if (RegEnumKeyExW(m_hKey, subKeys - 1, name, &nameChars, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return FALSE;
        if (!DeleteKey(name, nullptr))
            return FALSE;
        --subKeys;
    }
    return TRUE;
}

// ---- entries and enumeration ----

BOOL CReg::HasEntries(DWORD* subKeys, DWORD* values)
{
    DWORD keys = 0, vals = 0;
    const bool ok = m_hKey && RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, &keys, nullptr, nullptr,
                                               &vals, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    if (!ok)
        keys = vals = 0;
    if (subKeys)
        *subKeys = keys;
    if (values)
        *values = vals;
    return ok;
}

BOOL CReg::HasEntries(LPCWSTR subKey, DWORD* subKeys, DWORD* values)
{
    CReg sub;
    if (!sub.Open(m_hKey, subKey, KEY_READ))
    {
        if (subKeys)
            *subKeys = 0;
        if (values)
            *values = 0;
        return FALSE;
    }
    return sub.HasEntries(subKeys, values);
}

BOOL CReg::FindFirstValue(CString& name, RegVal* value)
{
    EnumState& state = Enumeration();
    {
        std::lock_guard<std::mutex> guard(state.lock);
        state.count = 0;
        state.longestName = 0;
        state.next = 0;
        state.nameBuffer.clear();
        if (!m_hKey ||
            RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &state.count,
                             &state.longestName, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return FALSE;
        if (state.count == 0)
            return FALSE;
        state.nameBuffer.assign(size_t(state.longestName) + 1, L'\0');
    }
    return FindNextValue(name, value);
}

BOOL CReg::FindNextValue(CString& name, RegVal* value)
{
    EnumState& state = Enumeration();
    std::wstring found;
    {
        std::lock_guard<std::mutex> guard(state.lock);
        if (!m_hKey || state.nameBuffer.empty() || state.next >= state.count)
            return FALSE;
        DWORD chars = DWORD(state.nameBuffer.size());
        if (RegEnumValueW(m_hKey, state.next, state.nameBuffer.data(), &chars, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            return FALSE;
        ++state.next;
        found.assign(state.nameBuffer.data(), std::min<size_t>(chars, state.nameBuffer.size()));
    }
    name = found;
    if (value)
        return LoadVal(found.c_str(), value);
    return TRUE;
}

void CReg::FindClose()
{
    EnumState& state = Enumeration();
    std::lock_guard<std::mutex> guard(state.lock);
    state.nameBuffer.clear();
    state.nameBuffer.shrink_to_fit();
    state.count = state.next = state.longestName = 0;
}
