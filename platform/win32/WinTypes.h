// Basic Win32-shaped types, constants and macros that the system's code is written against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cwchar>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef int32_t INT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef wchar_t WCHAR;
typedef wchar_t TCHAR;
typedef float FLOAT;
typedef double DOUBLE;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef int64_t __int64;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef LONG HRESULT;
typedef WORD LANGID;
typedef DWORD LCID;
typedef DWORD COLORREF;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef wchar_t* LPWSTR;
typedef const wchar_t* LPCWSTR;
typedef wchar_t* LPTSTR;
typedef const wchar_t* LPCTSTR;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef BOOL* LPBOOL;
typedef void* PVOID;
typedef DWORD ACCESS_MASK;
typedef ACCESS_MASK REGSAM;
typedef LONG LSTATUS;
typedef LONG SCODE;

// Opaque handles. Windows are CWnd objects reached through a handle table of platform/mfc.
struct HWND__;
typedef HWND__* HWND;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
struct HMENU__;
typedef HMENU__* HMENU;
struct HKEY__;
typedef HKEY__* HKEY;
typedef HKEY* PHKEY;
typedef void* HANDLE;
struct HBITMAP__;
typedef HBITMAP__* HBITMAP;
struct HICON__;
typedef HICON__* HICON;
struct HCURSOR__;
typedef HCURSOR__* HCURSOR;
struct HDC__;
typedef HDC__* HDC;
struct HFONT__;
typedef HFONT__* HFONT;
struct HBRUSH__;
typedef HBRUSH__* HBRUSH;
struct HACCEL__;
typedef HACCEL__* HACCEL;
typedef HANDLE HGLOBAL;
typedef HANDLE HRSRC;
typedef HANDLE HLOCAL;

struct SECURITY_ATTRIBUTES
{
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef NULL
#define NULL nullptr
#endif
#define CONST const
#define WINAPI
#define CALLBACK
#define STDMETHODCALLTYPE
#define AFXAPI
#define AFX_EXT_CLASS
#define AFX_EXT_API
#define UNREFERENCED_PARAMETER(P) (void)(P)
#define _T(x) L##x
#define _TEXT(x) L##x
#define TEXT(x) L##x

#define MAX_PATH 260
#define INFINITE 0xFFFFFFFFu
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD_PTR)(w)) >> 8) & 0xff))
#define MAKELONG(a, b)                                                                                       \
    ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define MAKEWORD(a, b)                                                                                       \
    ((WORD)(((BYTE)(((DWORD_PTR)(a)) & 0xff)) | ((WORD)((BYTE)(((DWORD_PTR)(b)) & 0xff))) << 8))
#define MAKELANGID(p, s) ((((WORD)(s)) << 10) | (WORD)(p))
#define PRIMARYLANGID(lgid) ((WORD)(lgid)&0x3ff)
#define SUBLANGID(lgid) ((WORD)(lgid) >> 10)
#define MAKEINTRESOURCE(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)

inline constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
inline constexpr BYTE GetRValue(COLORREF c)
{
    return BYTE(c & 0xff);
}
inline constexpr BYTE GetGValue(COLORREF c)
{
    return BYTE((c >> 8) & 0xff);
}
inline constexpr BYTE GetBValue(COLORREF c)
{
    return BYTE((c >> 16) & 0xff);
}

struct POINT
{
    LONG x;
    LONG y;
};
typedef POINT* LPPOINT;
struct SIZE
{
    LONG cx;
    LONG cy;
};
typedef SIZE* LPSIZE;
struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

struct FILETIME
{
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
typedef FILETIME* LPFILETIME;
typedef const FILETIME* LPCFILETIME;
struct SYSTEMTIME
{
    WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};
typedef SYSTEMTIME* LPSYSTEMTIME;

// HRESULT codes and tests.
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_ABORT ((HRESULT)0x80004004L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_UNEXPECTED ((HRESULT)0x8000FFFFL)
#define E_ACCESSDENIED ((HRESULT)0x80070005L)
#define E_HANDLE ((HRESULT)0x80070006L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#define HRESULT_FROM_WIN32(x)                                                                                \
    ((HRESULT)(x) <= 0 ? ((HRESULT)(x)) : ((HRESULT)(((x)&0x0000FFFF) | (7 << 16) | 0x80000000)))

// Win32 error codes used by the system. Their English texts are in Win32ErrorTexts below, which
// FormatMessageW reads; keep the two lists together.
#define ERROR_SUCCESS 0L
#define ERROR_INVALID_FUNCTION 1L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_BAD_FORMAT 11L
#define ERROR_INVALID_ACCESS 12L
#define ERROR_INVALID_DATA 13L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_INVALID_DRIVE 15L
#define ERROR_CURRENT_DIRECTORY 16L
#define ERROR_NOT_SAME_DEVICE 17L
#define ERROR_NO_MORE_FILES 18L
#define ERROR_WRITE_PROTECT 19L
#define ERROR_NOT_READY 21L
#define ERROR_BAD_LENGTH 24L
#define ERROR_SEEK 25L
#define ERROR_WRITE_FAULT 29L
#define ERROR_READ_FAULT 30L
#define ERROR_GEN_FAILURE 31L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_LOCK_VIOLATION 33L
#define ERROR_HANDLE_EOF 38L
#define ERROR_HANDLE_DISK_FULL 39L
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_BAD_NETPATH 53L
#define ERROR_FILE_EXISTS 80L
#define ERROR_CANNOT_MAKE 82L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_BROKEN_PIPE 109L
#define ERROR_BUFFER_OVERFLOW 111L
#define ERROR_DISK_FULL 112L
#define ERROR_CALL_NOT_IMPLEMENTED 120L
#define ERROR_SEM_TIMEOUT 121L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_NAME 123L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_NEGATIVE_SEEK 131L
#define ERROR_DIR_NOT_EMPTY 145L
#define ERROR_BAD_PATHNAME 161L
#define ERROR_BUSY 170L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_ENVVAR_NOT_FOUND 203L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_DIRECTORY 267L
#define ERROR_NOT_OWNER 288L
#define ERROR_MR_MID_NOT_FOUND 317L
#define ERROR_INVALID_ADDRESS 487L
#define ERROR_ARITHMETIC_OVERFLOW 534L
#define ERROR_NOACCESS 998L
#define ERROR_INVALID_FLAGS 1004L
#define ERROR_BADDB 1009L
#define ERROR_BADKEY 1010L
#define ERROR_CANTOPEN 1011L
#define ERROR_CANTREAD 1012L
#define ERROR_CANTWRITE 1013L
#define ERROR_KEY_DELETED 1018L
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#define ERROR_NOT_FOUND 1168L
#define ERROR_CANCELLED 1223L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_TIMEOUT 1460L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L

// COM and automation HRESULTs beyond the basic ones above.
#define DISP_E_UNKNOWNINTERFACE ((HRESULT)0x80020001L)
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003L)
#define DISP_E_PARAMNOTFOUND ((HRESULT)0x80020004L)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005L)
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006L)
#define DISP_E_NONAMEDARGS ((HRESULT)0x80020007L)
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008L)
#define DISP_E_EXCEPTION ((HRESULT)0x80020009L)
#define DISP_E_OVERFLOW ((HRESULT)0x8002000AL)
#define DISP_E_BADINDEX ((HRESULT)0x8002000BL)
#define DISP_E_UNKNOWNLCID ((HRESULT)0x8002000CL)
#define DISP_E_ARRAYISLOCKED ((HRESULT)0x8002000DL)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000EL)
#define DISP_E_PARAMNOTOPTIONAL ((HRESULT)0x8002000FL)
#define DISP_E_BADCALLEE ((HRESULT)0x80020010L)
#define DISP_E_NOTACOLLECTION ((HRESULT)0x80020011L)
#define DISP_E_DIVBYZERO ((HRESULT)0x80020012L)
#define TYPE_E_ELEMENTNOTFOUND ((HRESULT)0x8002802BL)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110L)
#define CLASS_E_CLASSNOTAVAILABLE ((HRESULT)0x80040111L)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154L)
#define CONNECT_E_NOCONNECTION ((HRESULT)0x80040200L)
#define CONNECT_E_ADVISELIMIT ((HRESULT)0x80040201L)
#define CONNECT_E_CANNOTCONNECT ((HRESULT)0x80040202L)
#define CONNECT_E_OVERRIDDEN ((HRESULT)0x80040203L)
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0L)
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3L)
#define CO_E_SERVER_EXEC_FAILURE ((HRESULT)0x80080005L)
#define RPC_E_DISCONNECTED ((HRESULT)0x80010108L)
#define RPC_E_SERVERFAULT ((HRESULT)0x80010105L)

struct Win32ErrorText
{
    DWORD code;
    const wchar_t* text;
};
// Win32 codes and HRESULTs share the table: HRESULT failures have the top bit set, Win32 codes never.
// HRESULTs of the Win32 facility (0x8007xxxx) take the text of their Win32 code.
inline constexpr Win32ErrorText Win32ErrorTexts[] = {
    {ERROR_SUCCESS, L"The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, L"Incorrect function."},
    {ERROR_FILE_NOT_FOUND, L"The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, L"The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, L"The system cannot open the file."},
    {ERROR_ACCESS_DENIED, L"Access is denied."},
    {ERROR_INVALID_HANDLE, L"The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, L"Not enough memory resources are available to process this command."},
    {ERROR_BAD_FORMAT, L"An attempt was made to load a program with an incorrect format."},
    {ERROR_INVALID_ACCESS, L"The access code is invalid."},
    {ERROR_INVALID_DATA, L"The data is invalid."},
    {ERROR_OUTOFMEMORY, L"Not enough memory resources are available to complete this operation."},
    {ERROR_INVALID_DRIVE, L"The system cannot find the drive specified."},
    {ERROR_CURRENT_DIRECTORY, L"The directory cannot be removed."},
    {ERROR_NOT_SAME_DEVICE, L"The system cannot move the file to a different disk drive."},
    {ERROR_NO_MORE_FILES, L"There are no more files."},
    {ERROR_WRITE_PROTECT, L"The media is write protected."},
    {ERROR_NOT_READY, L"The device is not ready."},
    {ERROR_BAD_LENGTH, L"The program issued a command but the command length is incorrect."},
    {ERROR_SEEK, L"The drive cannot locate a specific area or track on the disk."},
    {ERROR_WRITE_FAULT, L"The system cannot write to the specified device."},
    {ERROR_READ_FAULT, L"The system cannot read from the specified device."},
    {ERROR_GEN_FAILURE, L"A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION,
     L"The process cannot access the file because it is being used by another process."},
    {ERROR_LOCK_VIOLATION,
     L"The process cannot access the file because another process has locked a portion of the file."},
    {ERROR_HANDLE_EOF, L"Reached the end of the file."},
    {ERROR_HANDLE_DISK_FULL, L"The disk is full."},
    {ERROR_NOT_SUPPORTED, L"The request is not supported."},
    {ERROR_BAD_NETPATH, L"The network path was not found."},
    {ERROR_FILE_EXISTS, L"The file exists."},
    {ERROR_CANNOT_MAKE, L"The directory or file cannot be created."},
    {ERROR_INVALID_PARAMETER, L"The parameter is incorrect."},
    {ERROR_BROKEN_PIPE, L"The pipe has been ended."},
    {ERROR_BUFFER_OVERFLOW, L"The file name is too long."},
    {ERROR_DISK_FULL, L"There is not enough space on the disk."},
    {ERROR_CALL_NOT_IMPLEMENTED, L"This function is not supported on this system."},
    {ERROR_SEM_TIMEOUT, L"The semaphore timeout period has expired."},
    {ERROR_INSUFFICIENT_BUFFER, L"The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME, L"The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_MOD_NOT_FOUND, L"The specified module could not be found."},
    {ERROR_PROC_NOT_FOUND, L"The specified procedure could not be found."},
    {ERROR_NEGATIVE_SEEK, L"An attempt was made to move the file pointer before the beginning of the file."},
    {ERROR_DIR_NOT_EMPTY, L"The directory is not empty."},
    {ERROR_BAD_PATHNAME, L"The specified path is invalid."},
    {ERROR_BUSY, L"The requested resource is in use."},
    {ERROR_ALREADY_EXISTS, L"Cannot create a file when that file already exists."},
    {ERROR_ENVVAR_NOT_FOUND, L"The system could not find the environment option that was entered."},
    {ERROR_FILENAME_EXCED_RANGE, L"The filename or extension is too long."},
    {ERROR_MORE_DATA, L"More data is available."},
    {258, L"The wait operation timed out."},
    {ERROR_NO_MORE_ITEMS, L"No more data is available."},
    {ERROR_DIRECTORY, L"The directory name is invalid."},
    {ERROR_NOT_OWNER, L"Attempt to release mutex not owned by caller."},
    {ERROR_MR_MID_NOT_FOUND,
     L"The system cannot find message text for message number 0x%1 in the message file for %2."},
    {ERROR_INVALID_ADDRESS, L"Attempt to access invalid address."},
    {ERROR_ARITHMETIC_OVERFLOW, L"Arithmetic result exceeded 32 bits."},
    {ERROR_NOACCESS, L"Invalid access to memory location."},
    {ERROR_INVALID_FLAGS, L"Invalid flags."},
    {ERROR_BADDB, L"The configuration registry database is corrupt."},
    {ERROR_BADKEY, L"The configuration registry key is invalid."},
    {ERROR_CANTOPEN, L"The configuration registry key could not be opened."},
    {ERROR_CANTREAD, L"The configuration registry key could not be read."},
    {ERROR_CANTWRITE, L"The configuration registry key could not be written."},
    {ERROR_KEY_DELETED, L"Illegal operation attempted on a registry key that has been marked for deletion."},
    {ERROR_NO_UNICODE_TRANSLATION,
     L"No mapping for the Unicode character exists in the target multi-byte code page."},
    {ERROR_NOT_FOUND, L"Element not found."},
    {ERROR_CANCELLED, L"The operation was canceled by the user."},
    {ERROR_INVALID_WINDOW_HANDLE, L"Invalid window handle."},
    {ERROR_TIMEOUT, L"This operation returned because the timeout period expired."},
    {ERROR_RESOURCE_DATA_NOT_FOUND, L"The specified image file did not contain a resource section."},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, L"The specified resource type cannot be found in the image file."},
    {ERROR_RESOURCE_NAME_NOT_FOUND, L"The specified resource name cannot be found in the image file."},
    {DWORD(E_NOTIMPL), L"Not implemented"},
    {DWORD(E_NOINTERFACE), L"No such interface supported"},
    {DWORD(E_POINTER), L"Invalid pointer"},
    {DWORD(E_ABORT), L"Operation aborted"},
    {DWORD(E_FAIL), L"Unspecified error"},
    {DWORD(E_UNEXPECTED), L"Catastrophic failure"},
    {DWORD(DISP_E_UNKNOWNINTERFACE), L"Unknown interface."},
    {DWORD(DISP_E_MEMBERNOTFOUND), L"Member not found."},
    {DWORD(DISP_E_PARAMNOTFOUND), L"Parameter not found."},
    {DWORD(DISP_E_TYPEMISMATCH), L"Type mismatch."},
    {DWORD(DISP_E_UNKNOWNNAME), L"Unknown name."},
    {DWORD(DISP_E_NONAMEDARGS), L"No named arguments."},
    {DWORD(DISP_E_BADVARTYPE), L"Bad variable type."},
    {DWORD(DISP_E_EXCEPTION), L"Exception occurred."},
    {DWORD(DISP_E_OVERFLOW), L"Out of present range."},
    {DWORD(DISP_E_BADINDEX), L"Invalid index."},
    {DWORD(DISP_E_UNKNOWNLCID), L"Unknown language."},
    {DWORD(DISP_E_ARRAYISLOCKED), L"Memory is locked."},
    {DWORD(DISP_E_BADPARAMCOUNT), L"Invalid number of parameters."},
    {DWORD(DISP_E_PARAMNOTOPTIONAL), L"Parameter not optional."},
    {DWORD(DISP_E_BADCALLEE), L"Invalid callee."},
    {DWORD(DISP_E_NOTACOLLECTION), L"Does not support a collection."},
    {DWORD(DISP_E_DIVBYZERO), L"Division by zero."},
    {DWORD(TYPE_E_ELEMENTNOTFOUND), L"Element not found."},
    {DWORD(CLASS_E_NOAGGREGATION), L"Class does not support aggregation (or class object is remote)"},
    {DWORD(CLASS_E_CLASSNOTAVAILABLE), L"ClassFactory cannot supply requested class"},
    {DWORD(REGDB_E_CLASSNOTREG), L"Class not registered"},
    {DWORD(CONNECT_E_NOCONNECTION), L"The connection does not exist."},
    {DWORD(CONNECT_E_ADVISELIMIT), L"The connection point has reached its limit of connections."},
    {DWORD(CONNECT_E_CANNOTCONNECT), L"The connection cannot be made."},
    {DWORD(CONNECT_E_OVERRIDDEN), L"The connection point is overridden."},
    {DWORD(CO_E_NOTINITIALIZED), L"CoInitialize has not been called."},
    {DWORD(CO_E_CLASSSTRING), L"Invalid class string"},
    {DWORD(CO_E_SERVER_EXEC_FAILURE), L"Server execution failed"},
    {DWORD(RPC_E_DISCONNECTED), L"The object invoked has disconnected from its clients."},
    {DWORD(RPC_E_SERVERFAULT), L"The server threw an exception."},
};

#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED 0xFFFFFFFFu

// Code pages.
#define CP_ACP 0
#define CP_UTF8 65001
