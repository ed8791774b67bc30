// A temporary folder for one test, removed with everything in it afterwards, and small file helpers.
#pragma once

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
        std::string tmpl = (std::filesystem::temp_directory_path() / "qyrtest-XXXXXX").string();
        if (mkdtemp(tmpl.data()))
            m_path = tmpl;
    }
    ~CTestDir()
    {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    CTestDir(const CTestDir&) = delete;
    CTestDir& operator=(const CTestDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::wstring WPath() const { return m_path.wstring(); }
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

// Sets an environment variable for a scope and puts the old value back.
class CScopedEnv
{
public:
    CScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
        {
            m_had = true;
            m_old = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~CScopedEnv()
    {
        if (m_had)
            setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};
