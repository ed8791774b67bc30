#include "foundation/CmdLineParser.h"

#include "foundation/OptionsMgr.h"
#include "foundation/PathUtils.h"

#include <cwctype>

namespace
{

const wchar_t* const kKnownSwitches[] = {
    L"?",
    L"dl",
    L"dr",
    L"e",
    L"f",
    L"r",
    L"s",
    L"noninteractive",
    L"noprefs",
    L"minimize",
    L"maximize",
    L"prediffer",
    L"x",
    L"xq",
    L"cp",
    L"ignorews",
    L"ignoreblanklines",
    L"ignorecase",
    L"ignoreeol",
};
const wchar_t* const kRequestSwitches[] = {L"base", L"out", L"fname"};

bool IsBlank(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n';
}

std::wstring Lower(const CString& s)
{
    std::wstring out = s.str();
    for (wchar_t& c : out)
        c = wchar_t(std::towlower(wint_t(c)));
    return out;
}

template <size_t N> bool Contains(const wchar_t* const (&names)[N], const std::wstring& name)
{
    for (const wchar_t* n : names)
        if (name == n)
            return true;
    return false;
}

void SetOption(LPCWSTR name, const VariantValue& value)
{
    if (COptionsMgr* options = GetOptionsMgr())
        options->SetValue(name, value);
}

} // namespace

std::vector<CString> CCmdLineParser::Tokenize(LPCWSTR cmdLine)
{
    std::vector<CString> tokens;
    if (!cmdLine)
        return tokens;
    CString token;
    bool quoted = false;
    bool inToken = false;
    for (const wchar_t* p = cmdLine; *p; ++p)
    {
        if (*p == L'"')
            quoted = !quoted;
        if (!quoted && IsBlank(*p))
        {
            if (inToken)
                tokens.push_back(token);
            token.Empty();
            inToken = false;
            continue;
        }
        token += *p;
        inToken = true;
    }
    if (inToken)
        tokens.push_back(token);
    std::vector<CString> trimmed;
    for (CString& t : tokens)
    {
        t.Trim(L" \t\r\n\"");
        if (!t.IsEmpty())
            trimmed.push_back(t);
    }
    return trimmed;
}

void CCmdLineParser::Clear()
{
    m_paths.clear();
    m_switches.clear();
    m_request = requestOpen;
    m_base.Empty();
    m_out.Empty();
    m_fileName.Empty();
}

void CCmdLineParser::Parse(LPCWSTR cmdLine)
{
    ParseArgs(Tokenize(cmdLine));
}

bool CCmdLineParser::SplitSwitch(const CString& token, CString& name, CString& value) const
{
    // A lone '-' is a switch without a name; a lone '/' is the root folder.
    if (token.IsEmpty() || (token[0] != L'-' && (token[0] != L'/' || token.GetLength() < 2)))
        return false;
    const int colon = token.Find(L':');
    name = colon < 0 ? token.Mid(1) : token.Mid(1, colon - 1);
    value = colon < 0 ? CString() : token.Mid(colon + 1);
    if (token[0] == L'-')
        return true;
    const std::wstring lower = Lower(name);
    return Contains(kKnownSwitches, lower) || (m_request != requestOpen && Contains(kRequestSwitches, lower));
}

void CCmdLineParser::ApplySwitch(const CString& name)
{
    const std::wstring lower = Lower(name);
    VariantValue on;
    on.SetBool(true);
    if (lower == L"ignorews")
    {
        VariantValue one;
        one.SetInt(1);
        SetOption(L"Settings/IgnoreSpace", one);
    }
    else if (lower == L"ignoreblanklines")
        SetOption(L"Settings/IgnoreBlankLines", on);
    else if (lower == L"ignorecase")
        SetOption(L"Settings/IgnoreCase", on);
    else if (lower == L"ignoreeol")
        SetOption(L"Settings/IgnoreEol", on);
}

void CCmdLineParser::ParseArgs(const std::vector<CString>& args)
{
    Clear();
    size_t i = 0;
    if (!args.empty())
    {
        const std::wstring first = Lower(args[0]);
        if (first == L"compare" || first == L"xcompare")
        {
            m_request = requestCompare;
            m_base = L"<No Base>";
            i = 1;
        }
        else if (first == L"merge" || first == L"xmerge")
        {
            m_request = requestMerge;
            i = 1;
        }
    }
    for (; i < args.size(); ++i)
    {
        const CString& token = args[i];
        CString name, value;
        if (SplitSwitch(token, name, value))
        {
            const std::wstring lower = Lower(name);
            if (m_request != requestOpen && Contains(kRequestSwitches, lower))
            {
                if (i + 1 < args.size())
                    value = args[++i];
                if (lower == L"base")
                    m_base = value;
                else if (lower == L"out")
                    m_out = value;
                else
                    m_fileName = value;
            }
            m_switches[lower] = value;
            if (m_request == requestOpen)
                ApplySwitch(name);
            continue;
        }
        // Compare and merge requests name their files through their switches only.
        if (m_request != requestOpen)
            continue;
        CString path = token;
        path.Replace(L'\\', L'/');
        // Links, whatever their names, stand for what they name.
        path = CPathUtils::ResolveShortcut(path);
        m_paths.push_back(CPathUtils::GetLongPath(path, FALSE));
    }
}

BOOL CCmdLineParser::HasSwitch(LPCWSTR name) const
{
    return m_switches.count(Lower(CString(name ? name : L""))) != 0;
}

CString CCmdLineParser::GetSwitchValue(LPCWSTR name) const
{
    auto it = m_switches.find(Lower(CString(name ? name : L"")));
    return it == m_switches.end() ? CString() : it->second;
}
