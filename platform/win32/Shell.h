// Starting programs and walking folders.
//
// A program is started directly, never through a shell: its one argument reaches it as one
// argv entry whatever blanks or quotes it holds. Folder walks list a folder's entries sorted by
// name (byte order of the UTF-8 names), so copies and lists come out the same on every run.
#pragma once

#include "win32/WinTypes.h"

#include <string>
#include <vector>

// Starts the program (a path; '\' taken as '/', resolved without regard to case) detached, with
// the argument as its only argument (none when empty). FALSE, with the last error set, when it
// cannot be started. *pPid, when given, receives the process id.
BOOL Win32StartProgram(const std::wstring& program, const std::wstring& argument, DWORD* pPid = nullptr);

struct Win32FolderEntry
{
    std::wstring name;
    BOOL bDirectory = FALSE;
    ULONGLONG nSize = 0;
};

// The entries of a folder without "." and "..", sorted by name. An entry that is a link is
// reported as what it points to. FALSE (and no entries) when the folder cannot be read.
BOOL Win32ListFolder(const std::wstring& folder, std::vector<Win32FolderEntry>& entries);

// The shell's program start, for callers written against it: lpFile is started with lpParameters
// as its one argument (no splitting, no shell). hInstApp is 33 on success and 2 (file not found)
// or 5 (access denied) on failure; the result tells the same.
#define SEE_MASK_DEFAULT 0x00000000
#define SEE_MASK_INVOKEIDLIST 0x0000000C
#define SEE_MASK_NOCLOSEPROCESS 0x00000040

struct SHELLEXECUTEINFOW
{
    DWORD cbSize = sizeof(SHELLEXECUTEINFOW);
    ULONG fMask = 0;
    HWND hwnd = nullptr;
    LPCWSTR lpVerb = nullptr;
    LPCWSTR lpFile = nullptr;
    LPCWSTR lpParameters = nullptr;
    LPCWSTR lpDirectory = nullptr;
    int nShow = 1;
    HINSTANCE hInstApp = nullptr;
    DWORD dwProcessId = 0;
};
typedef SHELLEXECUTEINFOW* LPSHELLEXECUTEINFOW;

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* pExecInfo);
