// Syntax colouring of script lines: each line is split into coloured blocks, and a state word
// carries what is still open at its end (a block comment, a string, ...) into the next line.
#pragma once

#include "win32/WinTypes.h"

#include <span>
#include <vector>

// State word bits.
enum : DWORD
{
    COOKIE_COMMENT = 0x0001,
    COOKIE_PREPROCESSOR = 0x0002,
    COOKIE_EXT_COMMENT = 0x0004,
    COOKIE_STRING = 0x0008,
    COOKIE_CHAR = 0x0010,
};

// Colour indexes.
enum
{
    COLORINDEX_WHITESPACE = 1,
    COLORINDEX_BKGND = 2,
    COLORINDEX_NORMALTEXT = 3,
    COLORINDEX_SELMARGIN = 4,
    COLORINDEX_SELBKGND = 5,
    COLORINDEX_SELTEXT = 6,
    COLORINDEX_KEYWORD = 7,
    COLORINDEX_FUNCNAME = 8,
    COLORINDEX_COMMENT = 9,
    COLORINDEX_NUMBER = 10,
    COLORINDEX_OPERATOR = 11,
    COLORINDEX_STRING = 12,
    COLORINDEX_PREPROCESSOR = 13,
    COLORINDEX_TYPE = 18,
};

struct TEXTBLOCK
{
    int m_nCharPos;
    int m_nColorIndex;
    int m_nBgColorIndex;
};

BOOL IsScriptKeyword(const wchar_t* pszChars, int nLength);
BOOL IsTypeWord(const wchar_t* pszChars, int nLength);
BOOL IsNumber(const wchar_t* pszChars, int nLength);
// The two word tables, in their order.
std::span<const wchar_t* const> ScriptKeywordTable();
std::span<const wchar_t* const> TypeWordTable();

// Parses one line of nLength characters starting in state dwCookie; with pBuf, appends its blocks
// there. Returns the state for the next line. Reads no character at or past nLength.
DWORD ParseScriptLine(DWORD dwCookie, const wchar_t* pszChars, int nLength, std::vector<TEXTBLOCK>* pBuf);
