// A fresh folder per test, and a fresh registry store on disk inside it.
#pragma once

#include "win32/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

class CTestDir
{
public:
    CTestDir()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::filesystem::temp_directory_path() /
                 ("fsvc-" + std::to_string(getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~CTestDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    std::wstring W(const std::string& name) const { return (m_path / name).wstring(); }

    static std::string ReadAll(const std::filesystem::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static void WriteAll(const std::filesystem::path& p, const std::string& bytes)
    {
        std::ofstream(p, std::ios::binary) << bytes;
    }

private:
    std::filesystem::path m_path;
};

// Points the registry at an empty store in the test's own folder.
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

private:
    bool m_had = false;
    std::string m_old;
};
