// The programs' command line: paths and switches. A token beginning with '-' is a switch, and so
// is one beginning with '/' whose name is a known switch (other '/' tokens are full paths here).
// A switch's value follows a ':' ("-cp:1252"); compare and merge requests take "base", "out" and
// "fname" values from the next token.
#pragma once

#include "mfc/CString.h"
#include "win32/WinTypes.h"

#include <map>
#include <vector>

class CCmdLineParser
{
public:
    enum Request
    {
        requestOpen = 0,
        requestCompare = 1,
        requestMerge = 2,
    };

    CCmdLineParser() = default;
    explicit CCmdLineParser(LPCWSTR cmdLine) { Parse(cmdLine); }
    explicit CCmdLineParser(const std::vector<CString>& args) { ParseArgs(args); }

    // Parses a whole command line (without the program's name).
    void Parse(LPCWSTR cmdLine);
    // Parses arguments that the system has already split (argv without the program's name).
    void ParseArgs(const std::vector<CString>& args);

    // Full paths, in command-line order.
    const std::vector<CString>& GetPaths() const { return m_paths; }
    int GetPathCount() const { return int(m_paths.size()); }
    BOOL HasPaths() const { return !m_paths.empty(); }

    // Switch names are compared without regard to case.
    BOOL HasSwitch(LPCWSTR name) const;
    CString GetSwitchValue(LPCWSTR name) const;

    Request GetRequest() const { return m_request; }
    const CString& GetBase() const { return m_base; }
    const CString& GetOut() const { return m_out; }
    const CString& GetFileName() const { return m_fileName; }

    // Splits a command line at blanks, tabs, CR and LF outside double quotes and trims each token.
    static std::vector<CString> Tokenize(LPCWSTR cmdLine);

private:
    void Clear();
    bool SplitSwitch(const CString& token, CString& name, CString& value) const;
    void ApplySwitch(const CString& name);

    std::vector<CString> m_paths;
    std::map<std::wstring, CString> m_switches;
    Request m_request = requestOpen;
    CString m_base;
    CString m_out;
    CString m_fileName;
};
