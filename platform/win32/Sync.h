// Kernel handles, named mutexes shared between processes, interlocked operations, threads and sleep.
#pragma once

#include "win32/WinTypes.h"

#include <memory>

#define MUTEX_ALL_ACCESS 0x1F0001
#define MUTEX_MODIFY_STATE 0x0001
#define SYNCHRONIZE_ACCESS 0x00100000L

// The object behind a HANDLE. Handles are ids in one process-wide table, so a stale or made-up
// handle is refused (ERROR_INVALID_HANDLE) instead of followed. Other layers add their own kinds.
class CKernelObject
{
public:
    virtual ~CKernelObject() = default;
    // WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED (which sets the last error).
    virtual DWORD Wait(DWORD dwMilliseconds);
};

// Puts an object into the handle table; the object lives until its last handle is closed.
HANDLE Win32AddHandle(std::shared_ptr<CKernelObject> object);
// The object of a handle, or null (last error ERROR_INVALID_HANDLE) when it is not in the table.
std::shared_ptr<CKernelObject> Win32GetHandleObject(HANDLE h);

// A mutex is recursive for the thread that owns it. A named one is also exclusive between
// processes: it is backed by a lock file (flock) in $XDG_RUNTIME_DIR, else /tmp. CreateMutexW sets
// the last error to ERROR_ALREADY_EXISTS when the name is already open in this or another process.
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCWSTR lpName);
// Null (ERROR_FILE_NOT_FOUND) when no process has the name open.
HANDLE OpenMutexW(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCWSTR lpName);
BOOL ReleaseMutex(HANDLE hMutex);
// Waits polling with short sleeps; INFINITE waits for ever.
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
BOOL CloseHandle(HANDLE hObject);

LONG InterlockedIncrement(volatile LONG* addend);
LONG InterlockedDecrement(volatile LONG* addend);
LONG InterlockedExchange(volatile LONG* target, LONG value);
LONG InterlockedExchangeAdd(volatile LONG* addend, LONG value);
LONG InterlockedCompareExchange(volatile LONG* destination, LONG exchange, LONG comparand);

void Sleep(DWORD dwMilliseconds);
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
