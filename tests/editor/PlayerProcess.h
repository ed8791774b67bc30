// Started players in tests: waiting until one opens a file, its own environment, and its end.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <csignal>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "win32/WinTypes.h"

namespace playertest
{
namespace fs = std::filesystem;

// Waits until a process opens the file (inotify IN_OPEN); FALSE after the time-out.
class COpenWatch
{
public:
    explicit COpenWatch(const fs::path& file)
    {
        m_fd = inotify_init1(IN_NONBLOCK);
        if (m_fd >= 0)
            m_wd = inotify_add_watch(m_fd, file.c_str(), IN_OPEN);
    }
    ~COpenWatch()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool Valid() const { return m_fd >= 0 && m_wd >= 0; }
    // Forgets the openings so far (the test's own).
    void Drain()
    {
        char buffer[4096];
        while (m_fd >= 0 && read(m_fd, buffer, sizeof buffer) > 0)
        {
        }
    }
    bool WaitOpened(int ms)
    {
        pollfd p = {m_fd, POLLIN, 0};
        return poll(&p, 1, ms) > 0;
    }

private:
    int m_fd = -1;
    int m_wd = -1;
};

// The environment a started player gets: offscreen, its own registry and instance folder.
class CPlayerEnv
{
public:
    explicit CPlayerEnv(const fs::path& home)
    {
        fs::create_directories(home / "run");
        fs::permissions(home / "run", fs::perms::owner_all);
        Set("QT_QPA_PLATFORM", "offscreen");
        Set("XDG_CONFIG_HOME", (home / "config").string());
        Set("XDG_RUNTIME_DIR", (home / "run").string());
    }
    ~CPlayerEnv()
    {
        for (const auto& [name, value] : m_old)
            if (value.isNull())
                qunsetenv(name.c_str());
            else
                qputenv(name.c_str(), value);
    }

private:
    void Set(const std::string& name, const std::string& value)
    {
        m_old.emplace_back(name, qgetenv(name.c_str()));
        qputenv(name.c_str(), QByteArray::fromStdString(value));
    }
    std::vector<std::pair<std::string, QByteArray>> m_old;
};

// Ends a started player: asked first, then killed (a player still starting may miss the request).
inline void StopProcess(DWORD pid)
{
    if (pid == 0)
        return;
    ::kill(pid_t(pid), SIGTERM);
    for (int i = 0; i < 100 && ::kill(pid_t(pid), 0) == 0; ++i)
        usleep(50000);
    if (::kill(pid_t(pid), 0) == 0)
        ::kill(pid_t(pid), SIGKILL);
}

// Stops the player it was given when the test ends, whatever way it ends.
struct CPlayerStop
{
    DWORD pid = 0;
    ~CPlayerStop() { StopProcess(pid); }
};
} // namespace playertest
