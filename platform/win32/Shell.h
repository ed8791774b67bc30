// Starting programs and walking folders.
//
// A program is started directly, never through a shell: its one argument reaches it as one
// argv entry whatever blanks or quotes it holds. Folder walks list a folder's entries sorted by
// name (byte order of the UTF-8 names), so copies and lists come out the same on every run.
#pragma once

#include "win32/WinTypes.h"

#include <functional>
#include <string>
#include <vector>

// Starts the program (a path; '\' taken as '/', resolved without regard to case) detached, with
// the argument as its only argument (none when empty). FALSE, with the last error set, when it
// cannot be started. *pPid, when given, receives the process id.
BOOL Win32StartProgram(const std::wstring& program, const std::wstring& argument, DWORD* pPid = nullptr);

// Starts a program (a path, or a name looked up on PATH) detached with the arguments, each one argv
// entry as given. FALSE, with the last error set, when it cannot be started.
BOOL Win32StartProcess(const std::wstring& program, const std::vector<std::wstring>& args,
                       DWORD* pPid = nullptr);

// What every start above goes through last: tests set it to see the program and its arguments
// instead of starting anything, and answer whether the start succeeded. An empty function puts
// back the real start; the previous hook is returned.
using Win32StartHookFn =
    std::function<BOOL(const std::wstring& program, const std::vector<std::wstring>& args)>;
Win32StartHookFn Win32SetStartHook(Win32StartHookFn hook);

// A registered command line cut into its words: blanks separate, double quotes group (and are
// dropped); nothing else is interpreted.
std::vector<std::wstring> Win32SplitCommandLine(const std::wstring& line);

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

// The shell's open of a file or an address. With the verb "open" (or none): a program file is
// started with lpParameters as its one argument; anything else (a web or mail address, a document)
// goes to the desktop's opener ("xdg-open") as its one argument. The result is above 32 on success,
// else an error code: 2 (not found), 5 (access denied) or 31 (no opener for it).
#define SE_ERR_FNF 2
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31
HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters,
                        LPCWSTR lpDirectory, int nShowCmd);
inline HINSTANCE ShellExecute(HWND hwnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters,
                              LPCWSTR lpDirectory, int nShowCmd)
{
    return ShellExecuteW(hwnd, lpOperation, lpFile, lpParameters, lpDirectory, nShowCmd);
}
