// INI files, read and written as UTF-8 text. Sections and keys are matched without regard to case.
// A write replaces the file through a temporary file in the same folder.
#pragma once

#include "win32/WinTypes.h"

// lpKeyName null deletes the section, lpString null deletes the key.
BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString, LPCWSTR lpFileName);
// lpAppName null: the section names; lpKeyName null: the section's key names; both as a list of
// strings each ending in '\0' and the list in one more '\0'. Otherwise the value, or lpDefault
// (null counts as ""), with its trailing blanks removed. Returns the characters copied without the
// last terminator; a value cut short returns nSize - 1, a list cut short nSize - 2.
DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault,
                               LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName);
// The leading decimal number of the value (a sign allowed), 0 for text that is not a number,
// nDefault when the key is missing.
UINT GetPrivateProfileIntW(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault, LPCWSTR lpFileName);
DWORD GetPrivateProfileSectionNamesW(LPWSTR lpszReturnBuffer, DWORD nSize, LPCWSTR lpFileName);
