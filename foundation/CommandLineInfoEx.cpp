#include "foundation/CommandLineInfoEx.h"

CCommandLineInfoEx::CCommandLineInfoEx() : m_options(10) {}

void CCommandLineInfoEx::ParseParam(LPCWSTR param, BOOL flag, BOOL last)
{
    if (flag && param)
        m_options.SetAt(param, L"TRUE");
    CCommandLineInfo::ParseParam(param, flag, last);
}

BOOL CCommandLineInfoEx::GetOption(LPCWSTR name) const
{
    CString value;
    return GetOption(name, value);
}

BOOL CCommandLineInfoEx::GetOption(LPCWSTR name, CString& value) const
{
    return m_options.Lookup(name, value) ? TRUE : FALSE;
}
