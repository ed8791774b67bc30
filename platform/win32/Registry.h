// The registry: a typed per-user store kept in files under the XDG config folder.
//
// HKEY_CURRENT_USER lives in "$XDG_CONFIG_HOME/Quendrel/registry.dat" (else ~/.config/...),
// HKEY_LOCAL_MACHINE in "registry-machine.dat" and HKEY_CLASSES_ROOT in "registry-classes.dat" beside
// it; HKEY_USERS is kept in memory only. Every change rewrites its store through a temporary file in
// the same folder that is renamed over the old one. A damaged store is read as far as it is valid.
//
// Data sizes are in bytes as on Win32, but wchar_t is 32 bits here: a REG_SZ "ab" set with its
// terminator is 3 * sizeof(wchar_t) = 12 bytes, and a REG_MULTI_SZ ends with two zero wchar_t.
// Key names are compared without regard to case and keep the case they were created with; a '/'
// is an ordinary character of a key name, only '\' separates keys. An open HKEY names its key by
// path, so it stays usable across a reload; once its key is deleted, calls on it give
// ERROR_KEY_DELETED. All calls are serialised by one mutex.
#pragma once

#include "win32/WinTypes.h"

#include <string>

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)
#define HKEY_USERS ((HKEY)(ULONG_PTR)0x80000003u)

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_LINK 6
#define REG_MULTI_SZ 7
#define REG_QWORD 11
#define REG_QWORD_LITTLE_ENDIAN 11

#define REG_OPTION_NON_VOLATILE 0x00000000L
#define REG_OPTION_VOLATILE 0x00000001L
#define REG_CREATED_NEW_KEY 0x00000001L
#define REG_OPENED_EXISTING_KEY 0x00000002L

#define DELETE 0x00010000L
#define READ_CONTROL 0x00020000L
#define WRITE_DAC 0x00040000L
#define WRITE_OWNER 0x00080000L
#define SYNCHRONIZE 0x00100000L
#define STANDARD_RIGHTS_READ READ_CONTROL
#define STANDARD_RIGHTS_WRITE READ_CONTROL
#define STANDARD_RIGHTS_ALL 0x001F0000L
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#define KEY_READ 0x20019
#define KEY_EXECUTE KEY_READ
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

// Win32 calls; each returns ERROR_SUCCESS or a Win32 error code.
LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition);
LONG RegCloseKey(HKEY hKey);
LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData);
LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
// Fails with ERROR_ACCESS_DENIED when the key has subkeys.
LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
// Subkeys enumerate in name order (without regard to case), values in the order they were created.
LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPWSTR lpClass, LPDWORD lpcchClass, FILETIME* lpftLastWriteTime);
LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                      LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                      FILETIME* lpftLastWriteTime);
// Only the local machine: a null or empty name, "localhost", or the host name (with or without "\\").
LONG RegConnectRegistryW(LPCWSTR lpMachineName, HKEY hKey, PHKEY phkResult);
// Forces the key's store to disk (fsync); other writes are only atomic, not synced.
LONG RegFlushKey(HKEY hKey);

// Store control, for tests and for the start of a program.
// In-memory mode: the stores are emptied and nothing is read from or written to disk until it is
// switched off again, which reloads from disk.
void RegStoreSetInMemory(bool inMemory);
bool RegStoreIsInMemory();
// Empties every store in memory (the files are left as they are).
void RegStoreReset();
// Drops what is in memory and reads the stores again from disk. Also done on the next call when
// $XDG_CONFIG_HOME has changed since the stores were read.
void RegStoreReload();
// The path of the HKEY_CURRENT_USER store file as it is now computed.
std::wstring RegStoreGetPath();
// Test hook: a write stops after its temporary file is complete and before the rename, as if the
// process had died there. The change stays in memory and the call reports ERROR_CANTWRITE.
void RegStoreSetFailBeforeRename(bool fail);
