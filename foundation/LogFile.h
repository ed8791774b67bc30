// The optional diagnostic log file, shared between threads and processes through the named mutex
// "CORVANE_LOG_MUTEX". Lines end in CR LF; the text is UTF-8.
#pragma once

#include "mfc/CString.h"
#include "win32/WinTypes.h"

#include <mutex>

// Level bits. A level without one of the prefixed bits (MSG included) is written without prefix.
namespace LOGLEVEL
{
enum : UINT
{
    LALL = 0xFFFFFFFFu,
    LERROR = 0x0001,
    LWARNING = 0x0002,
    LNOTICE = 0x0004,
    LMSG = 0x0008,
    LFLOW = 0x0010,
    LCOMPARE = 0x0020,
    LOSERROR = 0x1000, // appends the text of the thread's last error
    LSILENTVERIFY = 0x2000,
};
}

class CLogFile
{
public:
    static constexpr DWORD DefaultMaxSize = 1048576;
    static constexpr DWORD DefaultWaitTimeout = 10000;
    static constexpr UINT DefaultLevel = LOGLEVEL::LMSG;

    explicit CLogFile(LPCWSTR path = nullptr, bool deleteExisting = false);
    ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    // A new file; deleteExisting removes what is there now.
    void SetPath(LPCWSTR path, bool deleteExisting = false);
    CString GetPath() const;
    // Switching on or off writes the start or stop banner at the default level.
    void SetLogging(bool enable);
    bool GetLogging() const;
    void SetLevelMask(UINT mask);
    UINT GetLevelMask() const;

    // Writes at the default level. Returns the mask's LSILENTVERIFY bit.
    UINT Write(LPCWSTR format, ...);
    // Writes at a given level (and flags).
    UINT Write(UINT level, LPCWSTR format, ...);
    UINT WriteV(UINT level, LPCWSTR format, va_list args);

    // Tests shorten the mutex wait.
    void SetWaitTimeout(DWORD milliseconds);

private:
    void OpenMutex();
    void CloseMutex();
    void WriteRaw(UINT level, const CString& text);
    void TruncateLog(FILE* log, const std::string& logPath);

    mutable std::mutex m_lock; // guards the members below
    HANDLE m_hMutex = nullptr;
    DWORD m_maxSize = DefaultMaxSize;
    bool m_enabled = false;
    CString m_path;
    UINT m_defaultLevel = DefaultLevel;
    UINT m_levelMask = LOGLEVEL::LALL;
    DWORD m_waitTimeout = DefaultWaitTimeout;
};

// The current application's log file, set by the application base (null before).
CLogFile* GetLog();
