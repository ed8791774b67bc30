#include "ScriptSyntax.h"

#include <cwctype>
#include <string_view>

namespace
{
const wchar_t* const s_apszScriptKeywordList[] = {L"_asm",         L"__asm",
                                                  L"_far16",       L"__far16",
                                                  L"enum",         L"__multiple_inheritance",
                                                  L"template",     L"auto",
                                                  L"__except",     L"__single_inheritance",
                                                  L"this",         L"__based",
                                                  L"explicit",     L"__virtual_inheritance",
                                                  L"thread",       L"bool",
                                                  L"extern",       L"mutable",
                                                  L"throw",        L"break",
                                                  L"false",        L"naked",
                                                  L"true",         L"case",
                                                  L"_fastcall",    L"__fastcall",
                                                  L"namespace",    L"try",
                                                  L"catch",        L"__finally",
                                                  L"new",          L"__try",
                                                  L"__cdecl",      L"__pascal",
                                                  L"_cdecl",       L"_pascal",
                                                  L"float",        L"operator",
                                                  L"typedef",      L"char",
                                                  L"for",          L"private",
                                                  L"typeid",       L"class",
                                                  L"friend",       L"protected",
                                                  L"typename",     L"const",
                                                  L"goto",         L"public",
                                                  L"union",        L"const_cast",
                                                  L"if",           L"register",
                                                  L"unsigned",     L"continue",
                                                  L"inline",       L"reinterpret_cast",
                                                  L"using",        L"__declspec",
                                                  L"__inline",     L"return",
                                                  L"uuid",         L"default",
                                                  L"int",          L"short",
                                                  L"__uuidof",     L"delete",
                                                  L"__int8",       L"signed",
                                                  L"virtual",      L"_export",
                                                  L"__export",     L"dllexport",
                                                  L"__int16",      L"sizeof",
                                                  L"void",         L"dllimport",
                                                  L"__int32",      L"static",
                                                  L"volatile",     L"do",
                                                  L"__int64",      L"static_cast",
                                                  L"wmain",        L"double",
                                                  L"__leave",      L"_stdcall",
                                                  L"__stdcall",    L"RegExp",
                                                  L"__syscall",    L"while",
                                                  L"dynamic_cast", L"long",
                                                  L"struct",       L"xalloc",
                                                  L"else",         L"Boolean",
                                                  L"switch",       L"interface",
                                                  L"Number",       L"function",
                                                  L"Array",        L"depend",
                                                  L"app",          L"Date",
                                                  L"Math",         L"String",
                                                  L"var"};

const wchar_t* const s_apszTypeWordList[] = {
    L"LPTSTR",  L"LPCTSTR", L"LPWSTR",   L"LPCWSTR", L"LPTSTR",   L"LPCTSTR", L"CHAR",     L"WCHAR",
    L"TCHAR",   L"BYTE",    L"PBYTE",    L"LPBYTE",  L"BOOL",     L"PBOOL",   L"LPBOOL",   L"VOID",
    L"LPVOID",  L"LONG",    L"LPLONG",   L"TRUE",    L"FALSE",    L"INT",     L"PINT",     L"LPINT",
    L"UINT",    L"PUINT",   L"WORD",     L"PWORD",   L"LPWORD",   L"DWORD",   L"PDWORD",   L"LPDWORD",
    L"WPARAM",  L"LPARAM",  L"LRESULT",  L"BSTR",    L"COLORREF", L"LPCSTR",  L"LPSTR",    L"LPVOID",
    L"LRESULT", L"WNDPROC", L"POSITION", L"LPRECT",  L"HANDLE",   L"INT8",    L"PINT8",    L"INT16",
    L"PINT16",  L"INT32",   L"PINT32",   L"INT64",   L"PINT64",   L"UINT8",   L"PUINT8",   L"UINT16",
    L"PUINT16", L"UINT32",  L"PUINT32",  L"UINT64",  L"PUINT64",  L"ULONG32", L"PULONG32", L"DWORD32",
    L"PDWORD32"};

static_assert(std::size(s_apszScriptKeywordList) == 109);
static_assert(std::size(s_apszTypeWordList) == 65);

template <size_t N> BOOL IsInList(const wchar_t* const (&list)[N], const wchar_t* pszChars, int nLength)
{
    const std::wstring_view word(pszChars, size_t(nLength));
    for (const wchar_t* entry : list)
        if (word == entry)
            return TRUE;
    return FALSE;
}

bool IsIdentExtra(wchar_t c)
{
    return c == L'_' || unsigned(c) > 127;
}
bool IsIdentStart(wchar_t c)
{
    return std::iswalpha(wint_t(c)) || IsIdentExtra(c);
}
bool IsIdentChar(wchar_t c)
{
    return std::iswalnum(wint_t(c)) || IsIdentExtra(c);
}
} // namespace

std::span<const wchar_t* const> ScriptKeywordTable()
{
    return s_apszScriptKeywordList;
}

std::span<const wchar_t* const> TypeWordTable()
{
    return s_apszTypeWordList;
}

BOOL IsScriptKeyword(const wchar_t* pszChars, int nLength)
{
    return IsInList(s_apszScriptKeywordList, pszChars, nLength);
}

BOOL IsTypeWord(const wchar_t* pszChars, int nLength)
{
    return IsInList(s_apszTypeWordList, pszChars, nLength);
}

BOOL IsNumber(const wchar_t* pszChars, int nLength)
{
    if (nLength <= 0)
        return FALSE;
    if (nLength >= 3 && pszChars[0] == L'0' && pszChars[1] == L'x')
    {
        for (int i = 2; i < nLength; ++i)
        {
            const wchar_t c = pszChars[i];
            if (!(std::iswdigit(wint_t(c)) || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f')))
                return FALSE;
        }
        return TRUE;
    }
    if (!std::iswdigit(wint_t(pszChars[0])))
        return FALSE;
    for (int i = 1; i < nLength; ++i)
    {
        const wchar_t c = pszChars[i];
        if (!std::iswdigit(wint_t(c)) && c != L'+' && c != L'-' && c != L'.' && c != L'e' && c != L'E')
            return FALSE;
    }
    return TRUE;
}

DWORD ParseScriptLine(DWORD dwCookie, const wchar_t* pszChars, int nLength, std::vector<TEXTBLOCK>* pBuf)
{
    if (nLength <= 0)
        return dwCookie & COOKIE_EXT_COMMENT;

    auto defineBlock = [pBuf](int pos, int colour)
    {
        if (pBuf && (pBuf->empty() || pBuf->back().m_nCharPos <= pos))
            pBuf->push_back(TEXTBLOCK{pos, colour, COLORINDEX_BKGND});
    };
    auto at = [pszChars, nLength](int i) -> wchar_t { return (i >= 0 && i < nLength) ? pszChars[i] : L'\0'; };

    BOOL bFirstChar = (dwCookie & ~DWORD(COOKIE_EXT_COMMENT)) == 0;
    BOOL bRedefineBlock = TRUE;
    // After an operator block the next block is placed one character back, so that each operator
    // character gets a block of its own.
    BOOL bDecIndex = FALSE;
    int nIdentBegin = -1;
    int nPrevI = -1;
    int I = 0;
    auto classifyWord = [&](int nEnd)
    {
        const int nWordLen = nEnd - nIdentBegin;
        if (IsScriptKeyword(pszChars + nIdentBegin, nWordLen))
            defineBlock(nIdentBegin, COLORINDEX_KEYWORD);
        else if (IsTypeWord(pszChars + nIdentBegin, nWordLen))
            defineBlock(nIdentBegin, COLORINDEX_TYPE);
        else if (IsNumber(pszChars + nIdentBegin, nWordLen))
            defineBlock(nIdentBegin, COLORINDEX_NUMBER);
        else
        {
            for (int j = nEnd; j < nLength; ++j)
            {
                if (!std::iswspace(wint_t(pszChars[j])))
                {
                    if (pszChars[j] == L'(')
                        defineBlock(nIdentBegin, COLORINDEX_FUNCNAME);
                    break;
                }
            }
        }
    };

    for (I = 0;; nPrevI = I, ++I)
    {
        if (bRedefineBlock)
        {
            const int nPos = bDecIndex ? nPrevI : I;
            bool bOperator = false;
            if (nPos < nLength)
            {
                if (dwCookie & (COOKIE_COMMENT | COOKIE_EXT_COMMENT))
                    defineBlock(nPos, COLORINDEX_COMMENT);
                else if (dwCookie & (COOKIE_CHAR | COOKIE_STRING))
                    defineBlock(nPos, COLORINDEX_STRING);
                else if (dwCookie & COOKIE_PREPROCESSOR)
                    defineBlock(nPos, COLORINDEX_PREPROCESSOR);
                else if (IsIdentChar(pszChars[nPos]) ||
                         (pszChars[nPos] == L'.' && nPos > 0 && !IsIdentStart(at(nPos - 1)) &&
                          !IsIdentStart(at(nPos + 1))))
                    defineBlock(nPos, COLORINDEX_NORMALTEXT);
                else
                {
                    defineBlock(nPos, COLORINDEX_OPERATOR);
                    bOperator = true;
                }
            }
            if (bOperator)
                bDecIndex = TRUE;
            else
                bRedefineBlock = bDecIndex = FALSE;
        }

        if (I >= nLength)
            break;
        const wchar_t c = pszChars[I];
        const wchar_t prev = at(nPrevI);

        if (dwCookie & COOKIE_COMMENT)
        {
            defineBlock(I, COLORINDEX_COMMENT);
            dwCookie |= COOKIE_COMMENT;
            break;
        }
        if (dwCookie & COOKIE_STRING)
        {
            if (c == L'"' && (I == 0 || prev != L'\\' || (prev == L'\\' && at(nPrevI - 1) == L'\\')))
            {
                dwCookie &= ~DWORD(COOKIE_STRING);
                bRedefineBlock = TRUE;
            }
            continue;
        }
        if (dwCookie & COOKIE_CHAR)
        {
            if (c == L'\'' && (I == 0 || prev != L'\\' || (prev == L'\\' && at(nPrevI - 1) == L'\\')))
            {
                dwCookie &= ~DWORD(COOKIE_CHAR);
                bRedefineBlock = TRUE;
            }
            continue;
        }
        if (dwCookie & COOKIE_EXT_COMMENT)
        {
            // "/*/" opens a comment and does not close it.
            if (I > 0 && c == L'/' && prev == L'*' && (I == 1 || at(nPrevI - 1) != L'/'))
            {
                dwCookie &= ~DWORD(COOKIE_EXT_COMMENT);
                bRedefineBlock = TRUE;
            }
            continue;
        }
        if (I > 0 && c == L'/' && prev == L'/')
        {
            defineBlock(nPrevI, COLORINDEX_COMMENT);
            dwCookie |= COOKIE_COMMENT;
            break;
        }
        if (dwCookie & COOKIE_PREPROCESSOR)
        {
            if (I > 0 && c == L'*' && prev == L'/')
            {
                defineBlock(nPrevI, COLORINDEX_COMMENT);
                dwCookie |= COOKIE_EXT_COMMENT;
            }
            continue;
        }
        if (c == L'"')
        {
            defineBlock(I, COLORINDEX_STRING);
            dwCookie |= COOKIE_STRING;
            continue;
        }
        if (c == L'\'' && (I == 0 || !IsIdentChar(prev)))
        {
            defineBlock(I, COLORINDEX_STRING);
            dwCookie |= COOKIE_CHAR;
            continue;
        }
        if (I > 0 && c == L'*' && prev == L'/')
        {
            defineBlock(nPrevI, COLORINDEX_COMMENT);
            dwCookie |= COOKIE_EXT_COMMENT;
            continue;
        }
        if (bFirstChar)
        {
            if (c == L'#')
            {
                defineBlock(I, COLORINDEX_PREPROCESSOR);
                dwCookie |= COOKIE_PREPROCESSOR;
                continue;
            }
            if (!std::iswspace(wint_t(c)))
                bFirstChar = FALSE;
        }
        if (!pBuf)
            continue;
        if (IsIdentChar(c) || (c == L'.' && I > 0 && !IsIdentStart(prev) && !IsIdentStart(at(I + 1))))
        {
            if (nIdentBegin == -1)
                nIdentBegin = I;
        }
        else if (nIdentBegin >= 0)
        {
            classifyWord(I);
            bRedefineBlock = TRUE;
            bDecIndex = TRUE;
            nIdentBegin = -1;
        }
    }
    if (nIdentBegin >= 0 && pBuf)
        classifyWord(nLength);

    if (pszChars[nLength - 1] != L'\\')
        dwCookie &= COOKIE_EXT_COMMENT;
    return dwCookie;
}
