// Synchronisation objects of the framework: a mutex over the kernel's mutex handle, and a lock
// object that takes one such object for the span of a scope.
//
//   static CMutex s_mutex;                   // unnamed: this process only
//   CSingleLock lock(&s_mutex);               // not locked yet
//   lock.Lock();                              // INFINITE by default
//   ...                                       // the destructor unlocks when still held
//
// A mutex is recursive for the thread that owns it. Lock answers FALSE on a time-out or a failed
// wait; Unlock answers FALSE when the lock was not held.
#pragma once

#include "mfc/Object.h"
#include "win32/Sync.h"

class CSyncObject : public CObject
{
public:
    explicit CSyncObject(LPCWSTR pstrName);
    ~CSyncObject() override;
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    operator HANDLE() const { return m_hObject; }

    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = nullptr);

    HANDLE m_hObject = nullptr;
};

class CMutex : public CSyncObject
{
public:
    // lpszName null makes an unnamed mutex; a named one is shared with other processes.
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCWSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    ~CMutex() override;

    BOOL Unlock() override;
    using CSyncObject::Unlock;
};

class CSingleLock
{
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    CSingleLock(const CSingleLock& other) = default;
    CSingleLock& operator=(const CSingleLock& other) = default;
    virtual ~CSingleLock();

    BOOL Lock(DWORD dwTimeOut = INFINITE);
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = nullptr);
    BOOL IsLocked() const { return m_bAcquired; }

protected:
    CSyncObject* m_pObject = nullptr;
    HANDLE m_hObject = nullptr;
    BOOL m_bAcquired = FALSE;
};
