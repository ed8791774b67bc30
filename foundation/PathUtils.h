// Path helpers. Paths use '/' here; a '\' in a path is taken as '/'.
#pragma once

#include "mfc/CString.h"
#include "win32/WinTypes.h"

class CPathUtils
{
public:
    // '/' or '\'.
    static BOOL IsSeparator(wchar_t ch);
    // Splits at the last separator and, after it, at the last '.'; each out pointer may be null.
    // folder: without the trailing separator; name: without the extension; ext: without the dot.
    static void Split(LPCWSTR path, CString* folder, CString* name, CString* ext);
    // The folder of a module's file (null: the program), without a trailing separator.
    static CString GetModuleFolder(HMODULE module = nullptr);
    // Everything before the last separator; empty for an empty path or a bare name.
    static CString GetFolder(LPCWSTR path);
    // The user's documents folder; empty when there is none.
    static CString GetDocumentsFolder();
    // Creates a new empty file in the folder and returns its name; empty on failure, with the error
    // code in *error when asked for. Folders of 247 characters or more are refused.
    static CString MakeTempFileName(LPCWSTR folder, LPCWSTR prefix, DWORD* error = nullptr);
    static BOOL EndsWithSlash(LPCWSTR path);
    // Whether a file or folder exists; %VAR% in the path is expanded first.
    static BOOL Exists(LPCWSTR path);
    // The full path with "." and ".." folded and the case found on disk; optionally %VAR% expanded first.
    static CString GetLongPath(LPCWSTR path, BOOL expandEnvironment = TRUE);
    // Whether the path names a shortcut (".lnk", any case).
    static BOOL IsShortcut(LPCWSTR path);
    // A symbolic link (this system's shortcut) is followed to what it finally names; any other
    // path, and a link that leads nowhere, comes back as it is.
    static CString ResolveShortcut(LPCWSTR path);
    // Joins two parts with exactly one separator between them.
    static CString Join(LPCWSTR first, LPCWSTR second);
    // Removes blanks, tabs, CR and LF at both ends.
    static CString TrimWhiteSpace(LPCWSTR text);
};
