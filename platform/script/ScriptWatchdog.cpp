#include "script/ScriptWatchdog.h"

CScriptWatchdog::CScriptWatchdog(std::function<void()> onFire) : m_onFire(std::move(onFire)) {}

CScriptWatchdog::~CScriptWatchdog()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_cv.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CScriptWatchdog::Arm(long milliseconds)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        m_armed = true;
        m_fired = false;
        if (!m_thread.joinable())
            m_thread = std::thread(&CScriptWatchdog::Loop, this);
    }
    m_cv.notify_all();
}

bool CScriptWatchdog::Disarm()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_armed = false;
    const bool fired = m_fired;
    m_fired = false;
    return fired;
}

void CScriptWatchdog::Loop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop)
    {
        if (!m_armed || m_fired)
        {
            m_cv.wait(lock);
            continue;
        }
        if (m_cv.wait_until(lock, m_deadline) == std::cv_status::timeout && m_armed && !m_fired && !m_stop &&
            std::chrono::steady_clock::now() >= m_deadline)
        {
            m_fired = true;
            m_onFire();
        }
    }
}
