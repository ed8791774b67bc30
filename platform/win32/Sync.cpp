#include "win32/Sync.h"

#include "win32/System.h"
#include "win32/Utf.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/file.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace
{

struct HandleTable
{
    std::mutex mutex;
    std::map<uintptr_t, std::shared_ptr<CKernelObject>> objects;
    uintptr_t next = 1;
};

HandleTable& Handles()
{
    static HandleTable* table = new HandleTable;
    return *table;
}

// Apart from registry key handles and far from INVALID_HANDLE_VALUE.
constexpr uintptr_t kHandleBase = uintptr_t(2) << 32;

class CMutexObject : public CKernelObject
{
public:
    // lockFd < 0: an unnamed mutex, only for this process.
    CMutexObject(int lockFd, int refFd) : m_lockFd(lockFd), m_refFd(refFd), m_pid(getpid()) {}
    ~CMutexObject() override
    {
        // Closing the descriptors drops the cross-process lock and the presence mark.
        if (m_lockFd >= 0)
            close(m_lockFd);
        if (m_refFd >= 0)
            close(m_refFd);
    }

    DWORD Wait(DWORD ms) override
    {
        using Clock = std::chrono::steady_clock;
        const DWORD me = GetCurrentThreadId();
        const auto deadline = Clock::now() + std::chrono::milliseconds(ms == INFINITE ? 0 : ms);
        std::unique_lock lock(m_mutex);
        if (m_owner == me)
        {
            ++m_count;
            return WAIT_OBJECT_0;
        }
        while (m_owner != 0)
        {
            if (ms == INFINITE)
                m_cv.wait(lock);
            else if (m_cv.wait_until(lock, deadline) == std::cv_status::timeout && m_owner != 0)
                return WAIT_TIMEOUT;
        }
        m_owner = me;
        m_count = 1;
        if (m_lockFd < 0)
            return WAIT_OBJECT_0;
        lock.unlock();
        // This thread holds the process's claim; now poll for the other processes' lock.
        auto pause = std::chrono::milliseconds(1);
        for (;;)
        {
            if (flock(m_lockFd, LOCK_EX | LOCK_NB) == 0)
                return WAIT_OBJECT_0;
            if (errno != EWOULDBLOCK && errno != EINTR)
            {
                const DWORD err = Win32ErrorFromErrno(errno);
                Abandon();
                SetLastError(err);
                return WAIT_FAILED;
            }
            const auto now = Clock::now();
            if (ms != INFINITE && now >= deadline)
            {
                Abandon();
                return WAIT_TIMEOUT;
            }
            auto step = pause;
            if (ms != INFINITE)
                step = std::min(step, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now) +
                                          std::chrono::milliseconds(1));
            std::this_thread::sleep_for(step);
            pause = std::min(pause * 2, std::chrono::milliseconds(10));
        }
    }

    BOOL Release()
    {
        std::lock_guard lock(m_mutex);
        if (m_owner != GetCurrentThreadId())
        {
            SetLastError(ERROR_NOT_OWNER);
            return FALSE;
        }
        if (--m_count == 0)
        {
            if (m_lockFd >= 0)
                flock(m_lockFd, LOCK_UN);
            m_owner = 0;
            m_cv.notify_one();
        }
        return TRUE;
    }

    pid_t Pid() const { return m_pid; }

private:
    void Abandon()
    {
        std::lock_guard lock(m_mutex);
        m_owner = 0;
        m_count = 0;
        m_cv.notify_one();
    }

    std::mutex m_mutex;
    std::condition_variable m_cv;
    DWORD m_owner = 0;
    unsigned m_count = 0;
    int m_lockFd;
    int m_refFd;
    pid_t m_pid;
};

struct NamedMutexes
{
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<CMutexObject>> byName;
};

NamedMutexes& Named()
{
    static NamedMutexes* named = new NamedMutexes;
    return *named;
}

std::string LockDir()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && access(runtime, W_OK | X_OK) == 0)
        return runtime;
    return "/tmp";
}

// A file name part for a mutex name: safe characters kept, others as %XX of their UTF-8 bytes.
std::string EncodeName(const std::wstring& name)
{
    std::wstring n = name;
    for (const wchar_t* prefix : {L"Global\\", L"Local\\"})
        if (n.rfind(prefix, 0) == 0)
            n.erase(0, wcslen(prefix));
    const std::string utf8 = WideToUtf8(n);
    std::string out;
    for (unsigned char c : utf8)
    {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
            c == '-' || c == '.')
            out += char(c);
        else
        {
            static const char hex[] = "0123456789ABCDEF";
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    if (out.size() > 180)
    {
        uint64_t h = 1469598103934665603ull;
        for (unsigned char c : utf8)
            h = (h ^ c) * 1099511628211ull;
        char buf[20];
        snprintf(buf, sizeof(buf), "%016llx", static_cast<unsigned long long>(h));
        out = out.substr(0, 120) + "~" + buf;
    }
    return out;
}

std::string LockPath(const std::wstring& name, const char* suffix)
{
    return LockDir() + "/qyr-mutex-" + std::to_string(getuid()) + "-" + EncodeName(name) + suffix;
}

int OpenLockFile(const std::string& path, bool create)
{
    return open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0), 0600);
}

// The live object of a name in this process (one made before a fork belongs to the parent).
std::shared_ptr<CMutexObject> FindNamed(NamedMutexes& named, const std::string& key)
{
    auto it = named.byName.find(key);
    if (it == named.byName.end())
        return nullptr;
    auto obj = it->second.lock();
    if (!obj || obj->Pid() != getpid())
    {
        named.byName.erase(it);
        return nullptr;
    }
    return obj;
}

// Takes the shared presence mark. Returns whether another process already had one.
bool MarkPresent(int refFd)
{
    bool existed = false;
    if (flock(refFd, LOCK_EX | LOCK_NB) != 0)
        existed = true;
    while (flock(refFd, LOCK_SH) != 0 && errno == EINTR)
    {
    }
    return existed;
}

} // namespace

DWORD CKernelObject::Wait(DWORD)
{
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
}

HANDLE Win32AddHandle(std::shared_ptr<CKernelObject> object)
{
    if (!object)
        return nullptr;
    HandleTable& t = Handles();
    std::lock_guard lock(t.mutex);
    const uintptr_t v = kHandleBase + (t.next++ << 2);
    t.objects.emplace(v, std::move(object));
    return reinterpret_cast<HANDLE>(v);
}

std::shared_ptr<CKernelObject> Win32GetHandleObject(HANDLE h)
{
    HandleTable& t = Handles();
    std::lock_guard lock(t.mutex);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(h));
    if (it == t.objects.end())
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second;
}

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCWSTR lpName)
{
    if (!lpName || !lpName[0])
    {
        auto obj = std::make_shared<CMutexObject>(-1, -1);
        if (bInitialOwner)
            obj->Wait(0);
        SetLastError(ERROR_SUCCESS);
        return Win32AddHandle(obj);
    }
    const std::string key = EncodeName(lpName);
    NamedMutexes& named = Named();
    std::lock_guard lock(named.mutex);
    if (auto obj = FindNamed(named, key))
    {
        HANDLE h = Win32AddHandle(obj);
        SetLastError(ERROR_ALREADY_EXISTS);
        return h;
    }
    const int lockFd = OpenLockFile(LockPath(lpName, ".lock"), true);
    const int refFd = lockFd >= 0 ? OpenLockFile(LockPath(lpName, ".ref"), true) : -1;
    if (lockFd < 0 || refFd < 0)
    {
        const DWORD err = Win32ErrorFromErrno(errno);
        if (lockFd >= 0)
            close(lockFd);
        SetLastError(err);
        return nullptr;
    }
    const bool existed = MarkPresent(refFd);
    auto obj = std::make_shared<CMutexObject>(lockFd, refFd);
    named.byName[key] = obj;
    if (bInitialOwner && !existed)
        obj->Wait(0);
    HANDLE h = Win32AddHandle(obj);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return h;
}

HANDLE OpenMutexW(DWORD, BOOL, LPCWSTR lpName)
{
    if (!lpName || !lpName[0])
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::string key = EncodeName(lpName);
    NamedMutexes& named = Named();
    std::lock_guard lock(named.mutex);
    if (auto obj = FindNamed(named, key))
        return Win32AddHandle(obj);
    const int refFd = OpenLockFile(LockPath(lpName, ".ref"), false);
    if (refFd < 0)
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    if (flock(refFd, LOCK_EX | LOCK_NB) == 0)
    {
        // Nobody holds the name.
        close(refFd);
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    while (flock(refFd, LOCK_SH) != 0 && errno == EINTR)
    {
    }
    const int lockFd = OpenLockFile(LockPath(lpName, ".lock"), true);
    if (lockFd < 0)
    {
        const DWORD err = Win32ErrorFromErrno(errno);
        close(refFd);
        SetLastError(err);
        return nullptr;
    }
    auto obj = std::make_shared<CMutexObject>(lockFd, refFd);
    named.byName[key] = obj;
    return Win32AddHandle(obj);
}

BOOL ReleaseMutex(HANDLE hMutex)
{
    auto obj = Win32GetHandleObject(hMutex);
    auto* mutex = dynamic_cast<CMutexObject*>(obj.get());
    if (!mutex)
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return mutex->Release();
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    auto obj = Win32GetHandleObject(hHandle);
    if (!obj)
        return WAIT_FAILED;
    return obj->Wait(dwMilliseconds);
}

BOOL CloseHandle(HANDLE hObject)
{
    std::shared_ptr<CKernelObject> doomed; // destroyed outside the table's lock
    {
        HandleTable& t = Handles();
        std::lock_guard lock(t.mutex);
        auto it = t.objects.find(reinterpret_cast<uintptr_t>(hObject));
        if (it == t.objects.end())
        {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        doomed = std::move(it->second);
        t.objects.erase(it);
    }
    return TRUE;
}

LONG InterlockedIncrement(volatile LONG* addend)
{
    return __atomic_add_fetch(addend, 1, __ATOMIC_SEQ_CST);
}
LONG InterlockedDecrement(volatile LONG* addend)
{
    return __atomic_sub_fetch(addend, 1, __ATOMIC_SEQ_CST);
}
LONG InterlockedExchange(volatile LONG* target, LONG value)
{
    return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}
LONG InterlockedExchangeAdd(volatile LONG* addend, LONG value)
{
    return __atomic_fetch_add(addend, value, __ATOMIC_SEQ_CST);
}
LONG InterlockedCompareExchange(volatile LONG* destination, LONG exchange, LONG comparand)
{
    __atomic_compare_exchange_n(destination, &comparand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
    return comparand;
}

void Sleep(DWORD dwMilliseconds)
{
    if (dwMilliseconds == 0)
    {
        std::this_thread::yield();
        return;
    }
    if (dwMilliseconds == INFINITE)
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(24));
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

DWORD GetCurrentThreadId()
{
    static thread_local const DWORD id = DWORD(syscall(SYS_gettid));
    return id;
}
DWORD GetCurrentProcessId()
{
    return DWORD(getpid());
}
