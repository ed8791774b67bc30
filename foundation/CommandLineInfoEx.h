// Command-line record that also remembers every switch it saw.
#pragma once

#include "mfc/Collections.h"
#include "mfc/CommandLine.h"

class CCommandLineInfoEx : public CCommandLineInfo
{
public:
    CCommandLineInfoEx();

    void ParseParam(LPCWSTR param, BOOL flag, BOOL last) override;
    BOOL GetOption(LPCWSTR name) const;
    BOOL GetOption(LPCWSTR name, CString& value) const;

protected:
    CMapStringToString m_options;
};
