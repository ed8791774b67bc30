// Points the registry at an empty store on disk in the test's own folder, for the test's scope.
#pragma once

#include "support/TestDir.h"
#include "win32/Registry.h"

#include <cstdlib>
#include <string>

class CFreshRegistry
{
public:
    explicit CFreshRegistry(const CTestDir& dir)
    {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        m_had = old != nullptr;
        if (old)
            m_old = old;
        setenv("XDG_CONFIG_HOME", (dir.Path() / "config").c_str(), 1);
        RegStoreSetInMemory(false);
        RegStoreReload();
    }
    ~CFreshRegistry()
    {
        if (m_had)
            setenv("XDG_CONFIG_HOME", m_old.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        RegStoreReload();
    }
    CFreshRegistry(const CFreshRegistry&) = delete;
    CFreshRegistry& operator=(const CFreshRegistry&) = delete;

private:
    bool m_had = false;
    std::string m_old;
};
