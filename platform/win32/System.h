// Time, last error, message texts, code pages, locales and the environment.
#pragma once

#include "win32/WinTypes.h"

#include <cstdarg>

DWORD GetTickCount();
ULONGLONG GetTickCount64();
void GetLocalTime(LPSYSTEMTIME lpSystemTime);
void GetSystemTime(LPSYSTEMTIME lpSystemTime);
void GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime);
// FILETIME: 100 ns intervals since 1601-01-01 UTC. Both fail (FALSE) on out-of-range input.
BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);
BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);
// The proleptic Gregorian calendar under the time conversions here and in platform/com: days since
// 1970-01-01 of a date (m 1..12), and back; DaysInMonth is 0 for a month out of range.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d);
void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d);
unsigned DaysInMonth(int64_t y, unsigned m);
// 0 for Sunday, as SYSTEMTIME counts.
WORD DayOfWeekFromDays(int64_t days);

// Per thread.
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);
// The Win32 code for an errno value (ERROR_GEN_FAILURE for ones without a match).
DWORD Win32ErrorFromErrno(int err);

#define LMEM_FIXED 0x0000
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)
HLOCAL LocalAlloc(UINT uFlags, size_t uBytes);
HLOCAL LocalFree(HLOCAL hMem);

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FF
// FROM_SYSTEM: Win32 error codes and HRESULTs from the table in WinTypes.h, HRESULTs of the Win32
// facility by their code, other small numbers by their errno text. The text ends with "\r\n" unless
// the width mask is set. FROM_STRING copies lpSource; inserts %1..%99 are taken, with
// ARGUMENT_ARRAY, from an array of wide strings, and are kept as they are with IGNORE_INSERTS.
// ALLOCATE_BUFFER: lpBuffer is really LPWSTR*, freed with LocalFree. Returns the characters
// stored without the terminator, 0 on failure.
DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
                     DWORD nSize, va_list* Arguments);

// Code pages. The ANSI and OEM code pages are UTF-8 here; others convert through iconv.
// Wide characters are wchar_t (UTF-32 here): counts of wide characters count wchar_t.
#define CP_OEMCP 1
#define CP_MACCP 2
#define CP_THREAD_ACP 3
#define CP_UTF7 65000
#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_COMPOSITECHECK 0x00000200
#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400
UINT GetACP();
UINT GetOEMCP();
BOOL IsValidCodePage(UINT CodePage);
// cbMultiByte -1: the input ends at its terminator, which is converted too. cchWideChar 0: returns
// the size needed. Bytes that do not decode become U+FFFD (or fail with MB_ERR_INVALID_CHARS).
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar);
// Characters the code page cannot hold become lpDefaultChar (else '?') and set *lpUsedDefaultChar.
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        LPBOOL lpUsedDefaultChar);

// Locales. The user's language comes from $LANG (else $LC_ALL, $LC_MESSAGES); unknown ones give 1033.
#define LANG_NEUTRAL 0x00
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SORT_DEFAULT 0x0
#define MAKELCID(lgid, srtid) ((DWORD)((((DWORD)((WORD)(srtid))) << 16) | ((DWORD)((WORD)(lgid)))))
#define LANGIDFROMLCID(lcid) ((WORD)(lcid))
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_INVARIANT 0x007F
#define LOCALE_ILANGUAGE 0x00000001
#define LOCALE_SLANGUAGE 0x00000002
#define LOCALE_SENGLANGUAGE 0x00001001
#define LOCALE_SNATIVELANGNAME 0x00000004
#define LOCALE_SENGCOUNTRY 0x00001002
#define LOCALE_SNATIVECTRYNAME 0x00000008
#define LOCALE_IDEFAULTCODEPAGE 0x0000000B
#define LOCALE_IDEFAULTANSICODEPAGE 0x00001004
#define LOCALE_SISO639LANGNAME 0x00000059
#define LOCALE_SISO3166CTRYNAME 0x0000005A
#define LOCALE_SDECIMAL 0x0000000E
#define LOCALE_STHOUSAND 0x0000000F
// Returns the characters written with the terminator; cchData 0 returns the size needed.
int GetLocaleInfoW(LCID Locale, DWORD LCType, LPWSTR lpLCData, int cchData);
LCID GetThreadLocale();
BOOL SetThreadLocale(LCID Locale);
LANGID GetUserDefaultLangID();
LANGID GetSystemDefaultLangID();
LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();
LANGID GetUserDefaultUILanguage();

// Environment. %NAME% is replaced by the variable's value; unknown names stay as they are.
// Returns the size needed with the terminator; the text is stored only when it fits.
DWORD ExpandEnvironmentStringsW(LPCWSTR lpSrc, LPWSTR lpDst, DWORD nSize);
// The value's length without terminator when it fits, else the size needed with it; 0 and
// ERROR_ENVVAR_NOT_FOUND when it is not set.
DWORD GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize);
BOOL SetEnvironmentVariableW(LPCWSTR lpName, LPCWSTR lpValue);
#define MAX_COMPUTERNAME_LENGTH 15
// The host name; *nSize in: the buffer's characters, out: the characters written without the
// terminator, or the size needed (ERROR_BUFFER_OVERFLOW).
BOOL GetComputerNameW(LPWSTR lpBuffer, LPDWORD nSize);
