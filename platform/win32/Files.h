// Files, folders, module paths and the shell's special folders.
//
// Paths: a '\' is taken as '/'. When a path does not exist as written, each component is matched
// without regard to case against what is on disk (Win32ResolvePath), so Windows-shaped paths that
// the system lower-cases still find their files. Failing calls set the last error.
#pragma once

#include "win32/WinTypes.h"

#include <string>

// '\' to '/', then the case-insensitive component match for parts that do not exist as written.
// The part that matches nothing is kept as given, so a path to a new file resolves its folder.
std::wstring Win32ResolvePath(const std::wstring& path);
// The resolved path as UTF-8 for the C and POSIX calls.
std::string Win32NativePath(const std::wstring& path);

// hModule null: the running program (/proc/self/exe). Otherwise an HMODULE is any address inside a
// loaded shared object (a function or object of it), and the result is that object's file.
// Returns the characters copied without terminator; nSize or more means cut short.
DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
// An HMODULE for the shared object that holds the given address (the same value back).
HMODULE Win32ModuleFromAddress(const void* address);

// $TMPDIR else /tmp, with a trailing '/'.
DWORD GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer);
// uUnique 0: creates a new empty file "<up to 3 chars of prefix><4 hex digits>.tmp" in the folder
// and returns the number used; otherwise only builds the name. lpTempFileName needs MAX_PATH chars.
UINT GetTempFileNameW(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique, LPWSTR lpTempFileName);

#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_COPY_ALLOWED 0x00000002
#define MOVEFILE_WRITE_THROUGH 0x00000008
BOOL DeleteFileW(LPCWSTR lpFileName);
// Fails with ERROR_ALREADY_EXISTS when the target exists.
BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName);
BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags);
BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists);
BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL RemoveDirectoryW(LPCWSTR lpPathName);

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
// READONLY when the file is not writable by us, HIDDEN for names beginning with '.'.
DWORD GetFileAttributesW(LPCWSTR lpFileName);
BOOL PathFileExistsW(LPCWSTR pszPath);
// Absolute, with "." and ".." folded; lpFilePart (optional) points at the last component.
// Returns the length without terminator, or the size needed with it when the buffer is too small.
DWORD GetFullPathNameW(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer, LPWSTR* lpFilePart);
// The resolved path of an existing file; ERROR_FILE_NOT_FOUND otherwise.
DWORD GetLongPathNameW(LPCWSTR lpszShortPath, LPWSTR lpszLongPath, DWORD cchBuffer);
DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer);
BOOL SetCurrentDirectoryW(LPCWSTR lpPathName);

// Shell folders.
#define CSIDL_DESKTOP 0x0000
#define CSIDL_PERSONAL 0x0005
#define CSIDL_MYDOCUMENTS CSIDL_PERSONAL
#define CSIDL_APPDATA 0x001a
#define CSIDL_LOCAL_APPDATA 0x001c
#define CSIDL_COMMON_APPDATA 0x0023
#define CSIDL_PROFILE 0x0028
#define CSIDL_FLAG_CREATE 0x8000
// $XDG_DOCUMENTS_DIR, else ~/Documents.
std::wstring Win32GetDocumentsFolder();
// PERSONAL: the documents folder; APPDATA/LOCAL_APPDATA/COMMON_APPDATA: the XDG config or data
// folders; PROFILE: $HOME; DESKTOP: ~/Desktop. fCreate makes the folder when missing.
BOOL SHGetSpecialFolderPathW(HWND hwnd, LPWSTR pszPath, int csidl, BOOL fCreate);

// An item id list is here only a holder of a folder's path; free it with CoTaskMemFree or ILFree.
struct ITEMIDLIST;
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
HRESULT SHGetSpecialFolderLocation(HWND hwndOwner, int nFolder, LPITEMIDLIST* ppidl);
// pszPath needs MAX_PATH characters.
BOOL SHGetPathFromIDListW(LPCITEMIDLIST pidl, LPWSTR pszPath);
void ILFree(LPITEMIDLIST pidl);

// Whole-file saves write a temporary beside the target and rename it over the target. The
// temporary of this process is "<target>.~save<pid>": the pid tells whether the save that left one
// behind is still running.
std::string Win32SaveTempPath(const std::string& target);
// Removes the temporaries "<target>.~save<pid>" whose process is gone (a save killed before its
// rename). A live process's temporary, this process's own included, is never touched. Returns how
// many were removed.
int Win32RemoveStaleSaveTemps(const std::string& target);
