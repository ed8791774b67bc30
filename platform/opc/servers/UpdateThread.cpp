#include "opcsdk/servers/UpdateThread.h"

#include "opcsdk/servers/StandInUtil.h"

#include <algorithm>
#include <future>

CUpdateThread::CUpdateThread() : m_shared(std::make_shared<Shared>())
{
    m_thread = std::thread(&CUpdateThread::Run, m_shared);
    m_id = m_thread.get_id();
}

CUpdateThread::~CUpdateThread()
{
    std::vector<Job> left;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->stop = true;
        left.swap(m_shared->jobs);
        m_shared->wake.notify_all();
    }
    if (IsThisThread())
        m_thread.detach(); // the thread ends on its own and touches only its shared state
    else if (m_thread.joinable())
        m_thread.join();
    left.clear(); // outside the lock: jobs may hold objects
}

DWORD CUpdateThread::Post(std::function<void()> job, DWORD delayMs)
{
    std::lock_guard lock(m_shared->mutex);
    DWORD id = m_shared->nextId++;
    if (m_shared->nextId == 0)
        m_shared->nextId = 1;
    m_shared->jobs.push_back(Job{id, StandIn::TickMs() + delayMs, std::move(job)});
    m_shared->wake.notify_all();
    return id;
}

BOOL CUpdateThread::Cancel(DWORD id)
{
    Job job;
    {
        std::lock_guard lock(m_shared->mutex);
        auto it = std::find_if(m_shared->jobs.begin(), m_shared->jobs.end(),
                               [&](const Job& j) { return j.id == id; });
        if (it == m_shared->jobs.end())
            return FALSE;
        job = std::move(*it);
        m_shared->jobs.erase(it);
    }
    return TRUE; // the job is destroyed here, outside the lock
}

void CUpdateThread::Call(const std::function<void()>& job)
{
    if (IsThisThread())
    {
        job();
        return;
    }
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    Post(
        [&job, &done]
        {
            job();
            done.set_value();
        });
    finished.wait();
}

void CUpdateThread::AddTarget(const std::shared_ptr<CScanTarget>& target, ULONGLONG due)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->targets.push_back(Target{target.get(), target, due});
    m_shared->wake.notify_all();
}

void CUpdateThread::Reschedule(const CScanTarget* target, ULONGLONG due)
{
    std::lock_guard lock(m_shared->mutex);
    for (Target& t : m_shared->targets)
    {
        if (t.key == target)
            t.due = due;
    }
    m_shared->wake.notify_all();
}

void CUpdateThread::RemoveTarget(const CScanTarget* target)
{
    std::lock_guard lock(m_shared->mutex);
    std::erase_if(m_shared->targets, [&](const Target& t) { return t.key == target; });
}

void CUpdateThread::Run(std::shared_ptr<Shared> shared)
{
    std::unique_lock lock(shared->mutex);
    while (!shared->stop)
    {
        ULONGLONG now = StandIn::TickMs();
        ULONGLONG next = now + 1000;
        // Due jobs first, in order of posting.
        auto job = std::find_if(shared->jobs.begin(), shared->jobs.end(),
                                [&](const Job& j) { return j.due <= now; });
        if (job != shared->jobs.end())
        {
            std::function<void()> run = std::move(job->run);
            shared->jobs.erase(job);
            lock.unlock();
            run();
            run = nullptr; // objects it held go here, outside the lock
            lock.lock();
            continue;
        }
        for (const Job& j : shared->jobs)
            next = std::min(next, j.due);

        std::vector<std::pair<const CScanTarget*, std::shared_ptr<CScanTarget>>> due;
        for (auto it = shared->targets.begin(); it != shared->targets.end();)
        {
            if (it->due != 0 && it->due <= now)
            {
                std::shared_ptr<CScanTarget> target = it->target.lock();
                if (!target)
                {
                    it = shared->targets.erase(it);
                    continue;
                }
                it->due = 0; // until the scan says when again
                due.emplace_back(it->key, std::move(target));
            }
            else if (it->due != 0)
                next = std::min(next, it->due);
            ++it;
        }
        if (!due.empty())
        {
            lock.unlock();
            std::vector<std::pair<const CScanTarget*, ULONGLONG>> again;
            for (auto& [key, target] : due)
                again.emplace_back(key, target->Scan(StandIn::TickMs()));
            due.clear(); // may destroy targets: outside the lock
            lock.lock();
            for (auto& [key, when] : again)
            {
                for (Target& t : shared->targets)
                {
                    // A reschedule during the scan wins when it is sooner.
                    if (t.key == key && (t.due == 0 || (when != 0 && when < t.due)))
                        t.due = when;
                }
            }
            continue;
        }
        shared->wake.wait_for(lock, std::chrono::milliseconds(next > now ? next - now : 0));
    }
}
