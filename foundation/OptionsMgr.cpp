#include "foundation/OptionsMgr.h"

#include "win32/Profile.h"
#include "win32/Registry.h"

#include <climits>
#include <cstring>
#include <vector>

// ---- VariantValue ----

void VariantValue::Clear()
{
    m_type = typeNone;
    m_bool = 0;
    m_int = 0;
    m_float = 0.0;
    m_string.Empty();
    m_time = 0;
}

void VariantValue::SetBool(bool value)
{
    Clear();
    m_type = typeBool;
    m_bool = value ? 1 : 0;
}

void VariantValue::SetInt(int value)
{
    Clear();
    m_type = typeInt;
    m_int = value;
}

void VariantValue::SetFloat(double value)
{
    Clear();
    m_type = typeFloat;
    m_float = value;
}

void VariantValue::SetString(LPCWSTR value)
{
    Clear();
    m_type = typeString;
    m_string = value;
}

void VariantValue::SetTime(__int64 value)
{
    Clear();
    m_type = typeTime;
    m_time = value;
}

bool operator==(const VariantValue& a, const VariantValue& b)
{
    return a.m_type == b.m_type && a.m_bool == b.m_bool && a.m_int == b.m_int && a.m_float == b.m_float &&
           a.m_string == b.m_string && a.m_time == b.m_time;
}

// ---- COption ----

void COption::Init(LPCWSTR name, const VariantValue& defaultValue)
{
    m_name = name;
    m_default = defaultValue;
    m_value = defaultValue;
}

int COption::Set(const VariantValue& value, bool allowConversion)
{
    if (value.GetType() == m_value.GetType())
    {
        if (value.GetType() == VariantValue::typeNone)
            return OPT_UNKNOWN_TYPE;
        m_value = value;
        return OPT_OK;
    }
    if (!allowConversion)
        return OPT_WRONG_TYPE;
    VariantValue converted = value;
    if (!ConvertType(converted, m_value.GetType()))
        return OPT_WRONG_TYPE;
    m_value = converted;
    return OPT_OK;
}

namespace
{

bool IsAsciiDigits(const CString& s)
{
    if (s.IsEmpty())
        return false;
    for (int i = 0; i < s.GetLength(); ++i)
        if (s[i] < L'0' || s[i] > L'9')
            return false;
    return true;
}

// Digits only; saturates instead of overflowing.
int DigitsToInt(const CString& s)
{
    long long n = 0;
    for (int i = 0; i < s.GetLength(); ++i)
    {
        n = n * 10 + (s[i] - L'0');
        if (n > INT_MAX)
            return INT_MAX;
    }
    return int(n);
}

} // namespace

bool COption::ConvertType(VariantValue& value, int toType) const
{
    const int fromType = value.GetType();
    if (fromType == VariantValue::typeString && toType == VariantValue::typeBool)
    {
        const CString& s = value.GetString();
        if (s == L"1" || s == L"yes" || s == L"true")
            value.SetBool(true);
        else if (s == L"0" || s == L"no" || s == L"false")
            value.SetBool(false);
        else
            return false;
        return true;
    }
    if (fromType == VariantValue::typeString && toType == VariantValue::typeInt)
    {
        if (!IsAsciiDigits(value.GetString()))
            return false;
        value.SetInt(DigitsToInt(value.GetString()));
        return true;
    }
    if (fromType == VariantValue::typeInt && toType == VariantValue::typeBool)
    {
        value.SetBool(value.GetInt() >= 1);
        return true;
    }
    return false;
}

// ---- COptionsMgr ----

int COptionsMgr::AddOption(LPCWSTR name, const VariantValue& defaultValue)
{
    if (!name || !*name)
        return OPT_ERR;
    COption option;
    option.Init(name, defaultValue);
    m_optionsMap.insert_or_assign(std::wstring(name), option);
    return OPT_OK;
}

COption* COptionsMgr::FindOption(LPCWSTR name)
{
    if (!name)
        return nullptr;
    auto it = m_optionsMap.find(name);
    return it == m_optionsMap.end() ? nullptr : &it->second;
}

const COption* COptionsMgr::FindOption(LPCWSTR name) const
{
    if (!name)
        return nullptr;
    auto it = m_optionsMap.find(name);
    return it == m_optionsMap.end() ? nullptr : &it->second;
}

VariantValue COptionsMgr::GetValue(LPCWSTR name) const
{
    const COption* option = FindOption(name);
    return option ? option->Get() : VariantValue();
}

VariantValue COptionsMgr::GetDefault(LPCWSTR name) const
{
    const COption* option = FindOption(name);
    return option ? option->GetDefault() : VariantValue();
}

int COptionsMgr::SetValue(LPCWSTR name, const VariantValue& value)
{
    COption* option = FindOption(name);
    if (!option)
        return OPT_NOTFOUND;
    return option->Set(value);
}

BOOL COptionsMgr::IsRegistered(LPCWSTR name) const
{
    return FindOption(name) != nullptr;
}

int COptionsMgr::DeleteOption(LPCWSTR name)
{
    if (!name)
        return OPT_NOTFOUND;
    return m_optionsMap.erase(name) ? OPT_OK : OPT_NOTFOUND;
}

namespace
{
const wchar_t kIniSection[] = L"Corvane";
const DWORD kIniKeyBuffer = 10240;
} // namespace

int COptionsMgr::ExportToIni(LPCWSTR iniFile) const
{
    for (const auto& [name, option] : m_optionsMap)
    {
        const VariantValue& value = option.Get();
        CString text;
        switch (value.GetType())
        {
        case VariantValue::typeBool:
            text = value.GetBool() ? L"1" : L"0";
            break;
        case VariantValue::typeInt:
            text.Format(L"%d", value.GetInt());
            break;
        case VariantValue::typeString:
            text = value.GetString();
            break;
        default:
            break;
        }
        if (!WritePrivateProfileStringW(kIniSection, name.c_str(), text, iniFile))
            return OPT_ERR;
    }
    return OPT_OK;
}

int COptionsMgr::ImportFromIni(LPCWSTR iniFile)
{
    std::vector<wchar_t> keys(kIniKeyBuffer, L'\0');
    const DWORD got =
        GetPrivateProfileStringW(kIniSection, nullptr, L"", keys.data(), kIniKeyBuffer, iniFile);
    std::vector<wchar_t> text(kIniKeyBuffer, L'\0');
    for (DWORD pos = 0; pos < got && pos < kIniKeyBuffer && keys[pos];)
    {
        const std::wstring key(keys.data() + pos);
        pos += DWORD(key.size()) + 1;
        COption* option = FindOption(key.c_str());
        if (!option)
            continue;
        VariantValue value;
        switch (option->Get().GetType())
        {
        case VariantValue::typeBool:
            value.SetBool(GetPrivateProfileIntW(kIniSection, key.c_str(), 0, iniFile) == 1);
            break;
        case VariantValue::typeInt:
            value.SetInt(int(GetPrivateProfileIntW(kIniSection, key.c_str(), 0, iniFile)));
            break;
        case VariantValue::typeString:
            GetPrivateProfileStringW(kIniSection, key.c_str(), L"", text.data(), kIniKeyBuffer, iniFile);
            text.back() = L'\0';
            value.SetString(text.data());
            break;
        default:
            continue;
        }
        option->Set(value);
    }
    return OPT_OK;
}

// ---- CRegOptionsMgr ----

namespace
{

// An open registry key closed on every path out.
class CKeyHolder
{
public:
    CKeyHolder() = default;
    CKeyHolder(const CKeyHolder&) = delete;
    CKeyHolder& operator=(const CKeyHolder&) = delete;
    ~CKeyHolder()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    HKEY* operator&() { return &m_key; }
    operator HKEY() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Reads a stored value into the option's type; OPT_WRONG_TYPE for a pairing that does not fit.
int ReadValue(HKEY key, const CString& valueName, const VariantValue& defaultValue, VariantValue& out)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return OPT_ERR;
    std::vector<BYTE> data(size_t(size) + sizeof(wchar_t) * 2, 0);
    DWORD size2 = size;
    if (RegQueryValueExW(key, valueName, nullptr, &type, data.data(), &size2) != ERROR_SUCCESS)
        return OPT_ERR;
    const int optionType = defaultValue.GetType();
    if (type == REG_SZ && optionType == VariantValue::typeString)
    {
        out.SetString(reinterpret_cast<const wchar_t*>(data.data()));
        return OPT_OK;
    }
    if (type == REG_DWORD && size2 >= sizeof(DWORD) &&
        (optionType == VariantValue::typeInt || optionType == VariantValue::typeBool))
    {
        DWORD number = 0;
        std::memcpy(&number, data.data(), sizeof(number));
        if (optionType == VariantValue::typeInt)
            out.SetInt(int(number));
        else
            out.SetBool(number != 0);
        return OPT_OK;
    }
    return OPT_WRONG_TYPE;
}

// Float and time values are not stored; they count as written.
int WriteValue(HKEY key, const CString& valueName, const VariantValue& value)
{
    LONG rc = ERROR_SUCCESS;
    switch (value.GetType())
    {
    case VariantValue::typeBool:
    case VariantValue::typeInt:
    {
        const DWORD number =
            value.GetType() == VariantValue::typeBool ? (value.GetBool() ? 1 : 0) : DWORD(value.GetInt());
        rc = RegSetValueExW(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                            sizeof(number));
        break;
    }
    case VariantValue::typeString:
    {
        const CString& s = value.GetString();
        rc = RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(s.GetString()),
                            DWORD((s.GetLength() + 1) * sizeof(wchar_t)));
        break;
    }
    default:
        break;
    }
    return rc == ERROR_SUCCESS ? OPT_OK : OPT_ERR;
}

} // namespace

int CRegOptionsMgr::SetRootKey(LPCWSTR key)
{
    CString root(key ? key : L"");
    if (root.Left(8) != L"Software")
        root = L"Software\\" + root;
    m_registryRoot = root;
    CKeyHolder hKey;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, m_registryRoot, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &hKey, &disposition) != ERROR_SUCCESS)
        return OPT_ERR;
    return OPT_OK;
}

void CRegOptionsMgr::SplitName(const CString& name, CString& keyPath, CString& valueName) const
{
    keyPath = m_registryRoot;
    const int slash = name.ReverseFind(L'/');
    if (slash > 0)
    {
        if (!keyPath.IsEmpty() && keyPath[keyPath.GetLength() - 1] != L'\\')
            keyPath += L'\\';
        keyPath += name.Left(slash);
        valueName = name.Mid(slash + 1);
    }
    else
        valueName = slash == 0 ? name.Mid(1) : name;
}

int CRegOptionsMgr::InitOption(LPCWSTR name, const VariantValue& defaultValue)
{
    if (!name || !*name)
        return OPT_ERR;
    AddOption(name, defaultValue);
    if (!m_serializing)
        return OPT_OK;

    CString keyPath, valueName;
    SplitName(name, keyPath, valueName);
    CKeyHolder hKey;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &hKey, &disposition) != ERROR_SUCCESS)
        return OPT_ERR;

    BYTE probe[MAX_PATH];
    DWORD type = 0;
    DWORD size = sizeof(probe);
    const LONG rc = RegQueryValueExW(hKey, valueName, nullptr, &type, probe, &size);
    if (rc == ERROR_FILE_NOT_FOUND)
        return WriteValue(hKey, valueName, defaultValue);
    if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA)
    {
        VariantValue stored;
        const int result = ReadValue(hKey, valueName, defaultValue, stored);
        if (result != OPT_OK)
            return result;
        return FindOption(name)->Set(stored, false);
    }
    return OPT_OK;
}

int CRegOptionsMgr::RegisterOption(LPCWSTR name, bool defaultValue)
{
    VariantValue value;
    value.SetBool(defaultValue);
    return InitOption(name, value);
}

int CRegOptionsMgr::RegisterOption(LPCWSTR name, int defaultValue, bool serializable)
{
    VariantValue value;
    value.SetInt(defaultValue);
    if (!serializable)
        return AddOption(name, value);
    return InitOption(name, value);
}

int CRegOptionsMgr::RegisterOption(LPCWSTR name, LPCWSTR defaultValue)
{
    VariantValue value;
    value.SetString(defaultValue);
    return InitOption(name, value);
}

int CRegOptionsMgr::RegisterOption(LPCWSTR name, const VariantValue& defaultValue)
{
    return InitOption(name, defaultValue);
}

int CRegOptionsMgr::SetAndStore(LPCWSTR name, const VariantValue& value)
{
    const int result = SetValue(name, value);
    if (result != OPT_OK)
        return result;
    return StoreOption(name);
}

int CRegOptionsMgr::StoreOption(LPCWSTR name, bool value)
{
    VariantValue v;
    v.SetBool(value);
    return SetAndStore(name, v);
}

int CRegOptionsMgr::StoreOption(LPCWSTR name, int value)
{
    VariantValue v;
    v.SetInt(value);
    return SetAndStore(name, v);
}

int CRegOptionsMgr::StoreOption(LPCWSTR name, LPCWSTR value)
{
    VariantValue v;
    v.SetString(value);
    return SetAndStore(name, v);
}

int CRegOptionsMgr::StoreOption(LPCWSTR name, const VariantValue& value)
{
    return SetAndStore(name, value);
}

int CRegOptionsMgr::StoreOption(LPCWSTR name)
{
    const COption* option = FindOption(name);
    if (!option)
        return OPT_NOTFOUND;
    if (!m_serializing)
        return OPT_OK;
    CString keyPath, valueName;
    SplitName(name, keyPath, valueName);
    CKeyHolder hKey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_WRITE, &hKey) != ERROR_SUCCESS)
        return OPT_ERR;
    return WriteValue(hKey, valueName, option->Get());
}

int CRegOptionsMgr::DeleteOption(LPCWSTR name)
{
    if (!name)
        return OPT_NOTFOUND;
    if (m_serializing)
    {
        CString keyPath, valueName;
        SplitName(name, keyPath, valueName);
        CKeyHolder hKey;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
            return OPT_ERR;
        if (RegDeleteValueW(hKey, valueName) != ERROR_SUCCESS)
            return OPT_ERR;
    }
    return COptionsMgr::DeleteOption(name);
}
