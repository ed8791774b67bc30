// The thread of a stand-in server class: it scans the groups at their rates and runs the queued
// work (asynchronous requests, shutdown requests, events), so that every callback of the server
// reaches its client from this thread. The thread lives while something holds the object; the
// last holder stops it (joining it, or letting it end by itself when that is the thread itself).
#pragma once

#include "win32/WinTypes.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Something scanned periodically. Scan runs on the thread and returns when it wants to run next
// (a TickMs time; 0: not until rescheduled).
class CScanTarget
{
public:
    virtual ~CScanTarget() = default;
    virtual ULONGLONG Scan(ULONGLONG now) = 0;
};

class CUpdateThread
{
public:
    CUpdateThread();
    CUpdateThread(const CUpdateThread&) = delete;
    CUpdateThread& operator=(const CUpdateThread&) = delete;
    ~CUpdateThread();

    // Runs job on the thread after delayMs. Returns an id for Cancel (never 0).
    DWORD Post(std::function<void()> job, DWORD delayMs = 0);
    // Takes a job out before it runs; FALSE when it already ran or runs.
    BOOL Cancel(DWORD id);
    // Runs job on the thread and waits for it (runs it here when called on the thread).
    void Call(const std::function<void()>& job);

    // Targets are kept weakly; due: when to scan first (TickMs; 0: not until rescheduled).
    void AddTarget(const std::shared_ptr<CScanTarget>& target, ULONGLONG due);
    void Reschedule(const CScanTarget* target, ULONGLONG due);
    void RemoveTarget(const CScanTarget* target);

    BOOL IsThisThread() const { return std::this_thread::get_id() == m_id; }

private:
    struct Job
    {
        DWORD id;
        ULONGLONG due;
        std::function<void()> run;
    };
    struct Target
    {
        const CScanTarget* key;
        std::weak_ptr<CScanTarget> target;
        ULONGLONG due;
    };
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable wake;
        bool stop = false;
        DWORD nextId = 1;
        std::vector<Job> jobs;
        std::vector<Target> targets;
    };
    static void Run(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
    std::thread::id m_id;
};
