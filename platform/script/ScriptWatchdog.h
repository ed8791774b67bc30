// Interrupts a script that runs past its time: a thread that waits for the deadline of the running
// call and then calls the interrupt it was given.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class CScriptWatchdog
{
public:
    // onFire runs on the watchdog's thread, under its lock, at most once per armed call.
    explicit CScriptWatchdog(std::function<void()> onFire);
    ~CScriptWatchdog();
    CScriptWatchdog(const CScriptWatchdog&) = delete;
    CScriptWatchdog& operator=(const CScriptWatchdog&) = delete;

    // Starts the clock for one call; the thread starts on first use.
    void Arm(long milliseconds);
    // Stops the clock; TRUE when the time ran out (the interrupt was called).
    bool Disarm();

private:
    void Loop();

    std::function<void()> m_onFire;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::thread m_thread;
    std::chrono::steady_clock::time_point m_deadline;
    bool m_armed = false;
    bool m_fired = false;
    bool m_stop = false;
};
