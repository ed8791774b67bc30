// A registry key with typed loads and saves. Every operation returns TRUE on success. Each load and
// save comes in two forms: a value of the open key, or a subkey and value (the subkey opened for
// reading, or created for writing, just for the call).
#pragma once

#include "mfc/CString.h"
#include "mfc/Collections.h"
#include "win32/Registry.h"
#include "win32/WinTypes.h"

#include <vector>

// A registry value held in memory: REG_DWORD in dwNumber, every other type in an owned buffer.
class RegVal
{
public:
    RegVal() = default;
    RegVal(const RegVal&) = default;
    RegVal& operator=(const RegVal&) = default;

    // Releases the buffer and sets the type to 0.
    void Free();

    void SetNumber(DWORD number);
    void SetBinary(const BYTE* data, DWORD size);
    // REG_SZ, REG_EXPAND_SZ or REG_LINK, stored with its terminator.
    void SetString(LPCWSTR text, DWORD type = REG_SZ);
    void SetStringArr(const CStringArray& strings);
    // Takes the raw data of a value as the registry holds it.
    void SetRaw(DWORD type, const BYTE* data, DWORD size);

    BOOL GetNumber(DWORD* number) const;
    // The text up to its terminator (the first string of a REG_MULTI_SZ).
    BOOL GetString(CString& text) const;
    BOOL GetStringArr(CStringArray& strings) const;

    DWORD GetType() const { return dwType; }
    const BYTE* GetData() const;
    DWORD GetSize() const { return dwDataSz; }

    DWORD dwType = REG_NONE;
    DWORD dwNumber = 0;
    std::vector<BYTE> buffer;
    DWORD dwDataSz = 0;
};

class CReg
{
public:
    CReg() = default;
    ~CReg() { Close(); }
    CReg(const CReg&) = delete;
    CReg& operator=(const CReg&) = delete;

    HKEY Connect(HKEY key, LPCWSTR machine);
    // Takes a key that is already open; Close closes it.
    BOOL Open(HKEY key);
    BOOL Open(HKEY key, LPCWSTR subKey, REGSAM access = KEY_ALL_ACCESS);
    BOOL Create(HKEY key, LPCWSTR subKey, REGSAM access = KEY_ALL_ACCESS);
    void Close();
    HKEY GetKey() const { return m_hKey; }
    operator HKEY() const { return m_hKey; }

    BOOL LoadVal(LPCWSTR valueName, RegVal* value);
    BOOL LoadVal(LPCWSTR subKey, LPCWSTR valueName, RegVal* value);
    BOOL LoadNumber(LPCWSTR valueName, DWORD* number);
    BOOL LoadNumber(LPCWSTR subKey, LPCWSTR valueName, DWORD* number);
    // Fails without writing when the buffer is too small; *size (optional) gets the data size.
    BOOL LoadBinary(LPCWSTR valueName, LPBYTE buffer, DWORD bufferSize, DWORD* size = nullptr);
    BOOL LoadBinary(LPCWSTR subKey, LPCWSTR valueName, LPBYTE buffer, DWORD bufferSize,
                    DWORD* size = nullptr);
    BOOL LoadNewBinary(LPCWSTR valueName, std::vector<BYTE>& data);
    BOOL LoadNewBinary(LPCWSTR subKey, LPCWSTR valueName, std::vector<BYTE>& data);
    // bufferChars counts the terminator; fails without writing when the text does not fit.
    BOOL LoadString(LPCWSTR valueName, LPWSTR buffer, DWORD bufferChars);
    BOOL LoadString(LPCWSTR subKey, LPCWSTR valueName, LPWSTR buffer, DWORD bufferChars);
    BOOL LoadString(LPCWSTR valueName, CString& text);
    BOOL LoadString(LPCWSTR subKey, LPCWSTR valueName, CString& text);
    // A new terminated buffer; free it with delete[].
    BOOL LoadNewString(LPCWSTR valueName, LPWSTR* text, DWORD* chars = nullptr);
    BOOL LoadNewString(LPCWSTR subKey, LPCWSTR valueName, LPWSTR* text, DWORD* chars = nullptr);
    // Into the caller's array of arraySize pointers: each string a new buffer (free with delete[]);
    // fails without writing when the array has no room for every string.
    BOOL LoadStringArr(LPCWSTR valueName, LPWSTR* array, DWORD arraySize, DWORD* count);
    BOOL LoadStringArr(LPCWSTR subKey, LPCWSTR valueName, LPWSTR* array, DWORD arraySize, DWORD* count);
    BOOL LoadStringArr(LPCWSTR valueName, CStringArray& strings);
    BOOL LoadStringArr(LPCWSTR subKey, LPCWSTR valueName, CStringArray& strings);
    BOOL LoadNewStringArr(LPCWSTR valueName, std::vector<CString>& strings);
    BOOL LoadNewStringArr(LPCWSTR subKey, LPCWSTR valueName, std::vector<CString>& strings);

    BOOL SaveVal(LPCWSTR valueName, const RegVal& value);
    BOOL SaveVal(LPCWSTR subKey, LPCWSTR valueName, const RegVal& value);
    BOOL SaveNumber(LPCWSTR valueName, DWORD number);
    BOOL SaveNumber(LPCWSTR subKey, LPCWSTR valueName, DWORD number);
    BOOL SaveBinary(LPCWSTR valueName, const BYTE* data, DWORD size);
    BOOL SaveBinary(LPCWSTR subKey, LPCWSTR valueName, const BYTE* data, DWORD size);
    BOOL SaveString(LPCWSTR valueName, LPCWSTR text);
    BOOL SaveString(LPCWSTR subKey, LPCWSTR valueName, LPCWSTR text);
    BOOL SaveStringArr(LPCWSTR valueName, const LPCWSTR* array, DWORD count);
    BOOL SaveStringArr(LPCWSTR subKey, LPCWSTR valueName, const LPCWSTR* array, DWORD count);
    BOOL SaveStringArr(LPCWSTR valueName, const CStringArray& strings);
    BOOL SaveStringArr(LPCWSTR subKey, LPCWSTR valueName, const CStringArray& strings);

    // Deletes a value of the open key.
    BOOL DeleteKey(LPCWSTR valueName);
    // Deletes a value of the subkey; with a null value name deletes the subkey with everything below.
    BOOL DeleteKey(LPCWSTR subKey, LPCWSTR valueName);
    // Deletes every subkey of the open key, deepest first.
    BOOL DeleteSubKeys();

    // Fills in the numbers of subkeys and values; both 0 on failure.
    BOOL HasEntries(DWORD* subKeys, DWORD* values);
    BOOL HasEntries(LPCWSTR subKey, DWORD* subKeys, DWORD* values);

    // Value enumeration of the open key. Its state is kept once for the whole library, so one
    // enumeration runs at a time.
    BOOL FindFirstValue(CString& name, RegVal* value);
    BOOL FindNextValue(CString& name, RegVal* value);
    void FindClose();

private:
    HKEY m_hKey = nullptr;
};
