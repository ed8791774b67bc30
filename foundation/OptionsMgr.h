// The named-option store: typed values with defaults, kept in the registry under one root key.
#pragma once

#include "mfc/CString.h"
#include "win32/WinTypes.h"

#include <map>
#include <string>

// Result codes of the option operations.
enum
{
    OPT_OK = 0,
    OPT_ERR = 1,          // registry or storage failure, or an empty name at registration
    OPT_WRONG_TYPE = 2,   // a value of another type that does not convert
    OPT_UNKNOWN_TYPE = 3, // a value of no known type
    OPT_NOTFOUND = 4,     // the name is not registered
};

// One typed value.
class VariantValue
{
public:
    enum Type
    {
        typeNone = 0,
        typeBool = 1,
        typeInt = 2,
        typeFloat = 3,
        typeString = 4,
        typeTime = 5,
    };

    VariantValue() = default;

    // Each setter clears every member first, then sets the type.
    void SetBool(bool value);
    void SetInt(int value);
    void SetFloat(double value);
    void SetString(LPCWSTR value);
    void SetTime(__int64 value);
    void Clear();

    int GetType() const { return m_type; }
    bool GetBool() const { return m_bool != 0; }
    int GetInt() const { return m_int; }
    double GetFloat() const { return m_float; }
    const CString& GetString() const { return m_string; }
    __int64 GetTime() const { return m_time; }

    friend bool operator==(const VariantValue& a, const VariantValue& b);

private:
    int m_type = typeNone;
    BYTE m_bool = 0;
    int m_int = 0;
    double m_float = 0.0;
    CString m_string;
    __int64 m_time = 0;
};

// One option: its name, current value and default.
class COption
{
public:
    void Init(LPCWSTR name, const VariantValue& defaultValue);
    const CString& GetName() const { return m_name; }
    const VariantValue& Get() const { return m_value; }
    const VariantValue& GetDefault() const { return m_default; }
    // Sets the current value; a value of another type converts only when allowed (see the .cpp).
    int Set(const VariantValue& value, bool allowConversion = true);
    void Reset() { m_value = m_default; }

private:
    bool ConvertType(VariantValue& value, int toType) const;

    CString m_name;
    VariantValue m_value;
    VariantValue m_default;
};

// The store's interface; the map is ordered by name, names are case-sensitive.
class COptionsMgr
{
public:
    virtual ~COptionsMgr() = default;

    virtual int RegisterOption(LPCWSTR name, bool defaultValue) = 0;
    virtual int RegisterOption(LPCWSTR name, int defaultValue, bool serializable = true) = 0;
    virtual int RegisterOption(LPCWSTR name, LPCWSTR defaultValue) = 0;
    virtual int RegisterOption(LPCWSTR name, const VariantValue& defaultValue) = 0;

    // 32-bit unsigned values (COLORREF, UINT) forward to the integer form.
    virtual int StoreOption(LPCWSTR name, DWORD value) { return StoreOption(name, int(value)); }
    virtual int StoreOption(LPCWSTR name, bool value) = 0;
    virtual int StoreOption(LPCWSTR name, int value) = 0;
    virtual int StoreOption(LPCWSTR name, LPCWSTR value) = 0;
    virtual int StoreOption(LPCWSTR name, const VariantValue& value) = 0;
    // Writes the current value out.
    virtual int StoreOption(LPCWSTR name) = 0;
    virtual int DeleteOption(LPCWSTR name);
    virtual int ExportToIni(LPCWSTR iniFile) const;
    virtual int ImportFromIni(LPCWSTR iniFile);

    // A copy of the current value, or an empty value (type 0) for an unknown name.
    VariantValue GetValue(LPCWSTR name) const;
    int GetIntValue(LPCWSTR name) const { return GetValue(name).GetInt(); }
    bool GetBoolValue(LPCWSTR name) const { return GetValue(name).GetBool(); }
    CString GetStringValue(LPCWSTR name) const { return GetValue(name).GetString(); }
    VariantValue GetDefault(LPCWSTR name) const;
    int SetValue(LPCWSTR name, const VariantValue& value);
    BOOL IsRegistered(LPCWSTR name) const;
    int GetCount() const { return int(m_optionsMap.size()); }

protected:
    int AddOption(LPCWSTR name, const VariantValue& defaultValue);
    COption* FindOption(LPCWSTR name);
    const COption* FindOption(LPCWSTR name) const;

    std::map<std::wstring, COption> m_optionsMap;
};

// The store over HKEY_CURRENT_USER\<root>: one value per option, the part of the name before its
// last '/' naming the subkey.
class CRegOptionsMgr : public COptionsMgr
{
public:
    CRegOptionsMgr() = default;

    // Prefixes "Software\" when missing and creates the key; OPT_ERR when it cannot be created.
    int SetRootKey(LPCWSTR key);
    const CString& GetRootKey() const { return m_registryRoot; }
    // Options are read from and written to the registry only while this is set.
    void SetSerializing(bool serializing = true) { m_serializing = serializing; }
    bool GetSerializing() const { return m_serializing; }

    int RegisterOption(LPCWSTR name, bool defaultValue) override;
    int RegisterOption(LPCWSTR name, int defaultValue, bool serializable = true) override;
    int RegisterOption(LPCWSTR name, LPCWSTR defaultValue) override;
    int RegisterOption(LPCWSTR name, const VariantValue& defaultValue) override;

    using COptionsMgr::StoreOption;
    int StoreOption(LPCWSTR name, bool value) override;
    int StoreOption(LPCWSTR name, int value) override;
    int StoreOption(LPCWSTR name, LPCWSTR value) override;
    int StoreOption(LPCWSTR name, const VariantValue& value) override;
    int StoreOption(LPCWSTR name) override;
    int DeleteOption(LPCWSTR name) override;

private:
    int InitOption(LPCWSTR name, const VariantValue& defaultValue);
    int SetAndStore(LPCWSTR name, const VariantValue& value);
    void SplitName(const CString& name, CString& keyPath, CString& valueName) const;

    CString m_registryRoot;
    bool m_serializing = true;
};

// Registers every option of the suite with its default and reads the stored values; run at
// start-up and again to reset the options.
void OptionsInit(COptionsMgr* options);

// The current application's options store, set by the application base (null before).
COptionsMgr* GetOptionsMgr();
// The application base hands over the options store and log file it owns (null to forget them).
class CLogFile;
void SetAppServices(COptionsMgr* options, CLogFile* log);
