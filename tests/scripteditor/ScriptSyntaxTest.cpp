#include "scripteditor/ScriptSyntax.h"

#include <gtest/gtest.h>

#include <QString>

#include <string>
#include <vector>

namespace
{
// The colour each character is drawn in: the last block starting at or before it, 3 before any.
std::vector<int> Colours(const std::wstring& line, DWORD cookie = 0, DWORD* next = nullptr)
{
    std::vector<TEXTBLOCK> blocks;
    const DWORD out = ParseScriptLine(cookie, line.data(), int(line.size()), &blocks);
    if (next)
        *next = out;
    std::vector<int> colours(line.size(), COLORINDEX_NORMALTEXT);
    for (size_t b = 0; b < blocks.size(); ++b)
    {
        if (b > 0)
            EXPECT_GE(blocks[b].m_nCharPos, blocks[b - 1].m_nCharPos);
        EXPECT_LT(blocks[b].m_nCharPos, int(line.size()));
        EXPECT_EQ(blocks[b].m_nBgColorIndex, COLORINDEX_BKGND);
        for (size_t i = size_t(blocks[b].m_nCharPos); i < line.size(); ++i)
            colours[i] = blocks[b].m_nColorIndex;
    }
    // Without blocks the state is the same.
    EXPECT_EQ(ParseScriptLine(cookie, line.data(), int(line.size()), nullptr), out);
    return colours;
}
} // namespace

TEST(ScriptSyntax, SampleLinesByBlock)
{
    struct Case
    {
        std::wstring line;
        std::vector<std::pair<int, int>> at; // character index, colour
    } cases[] = {
        {L"var x = 0x1F;", {{0, 7}, {2, 7}, {3, 11}, {4, 3}, {6, 11}, {8, 10}, {11, 10}, {12, 11}}},
        {L"var x = 0X1F;", {{8, 3}, {11, 3}}},
        {L"app.test(1.5);",
         {{0, 7}, {3, 11}, {4, 8}, {7, 8}, {8, 11}, {9, 10}, {10, 10}, {11, 10}, {12, 11}}},
        {L"f (a)", {{0, 8}, {3, 3}}},
        {L"s = \"a\\\"b\" + 1", {{4, 12}, {9, 12}, {11, 11}, {13, 10}}},
        {L"c = 'a' + b", {{4, 12}, {6, 12}, {8, 11}, {10, 3}}},
        {L"don't", {{3, 11}, {4, 3}}},
        {L"  #include <x>", {{2, 13}, {13, 13}}},
        {L"a #b", {{2, 11}}},
        {L"x = 1; // note", {{7, 9}, {13, 9}}},
        {L"a /* b */ c", {{2, 9}, {8, 9}, {10, 3}}},
        {L"#if /* c */ x", {{0, 13}, {4, 9}}},
        {L"DWORD n = TRUE;", {{0, 18}, {10, 18}}},
        {L"a+=b", {{1, 11}, {2, 11}, {3, 3}}},
        {L"x.5", {{1, 11}}},
    };
    for (const Case& k : cases)
    {
        const std::vector<int> c = Colours(k.line);
        for (auto [i, colour] : k.at)
            EXPECT_EQ(c.at(size_t(i)), colour)
                << "\"" << QString::fromStdWString(k.line).toStdString() << "\" at " << i;
    }
}

TEST(ScriptSyntax, StateWordAcrossLines)
{
    struct Case
    {
        std::wstring line;
        DWORD in, out;
    } cases[] = {
        {L"a /* b", 0, COOKIE_EXT_COMMENT},
        {L"c */ d", COOKIE_EXT_COMMENT, 0},
        {L"*/x", COOKIE_EXT_COMMENT, 0},    // at the second character it always closes
        {L"/*/ x", 0, COOKIE_EXT_COMMENT},  // "/*/" opens and does not close
        {L"s = \"abc", 0, 0},               // an open string ends with its line
        {L"s = \"abc\\", 0, COOKIE_STRING}, // unless the line ends with a backslash
        {L"def\" + 1", COOKIE_STRING, 0},
        {L"// c \\", 0, COOKIE_COMMENT},
        {L"more", COOKIE_COMMENT, 0},
        {L"#define X \\", 0, COOKIE_PREPROCESSOR},
        {L"", COOKIE_STRING | COOKIE_EXT_COMMENT | COOKIE_COMMENT, COOKIE_EXT_COMMENT},
        {L"", COOKIE_STRING, 0},
        {L"'x", 0, 0},
    };
    for (const Case& k : cases)
    {
        DWORD out = 0;
        Colours(k.line, k.in, &out);
        EXPECT_EQ(out, k.out) << QString::fromStdWString(k.line).toStdString();
    }
    // Continued state colours the next line up to the closing mark.
    const std::vector<int> c = Colours(L"c */ d", COOKIE_EXT_COMMENT);
    EXPECT_EQ(c[0], 9);
    EXPECT_EQ(c[3], 9);
    EXPECT_EQ(c[5], 3);
    const std::vector<int> s = Colours(L"def\" + 1", COOKIE_STRING);
    EXPECT_EQ(s[0], 12);
    EXPECT_EQ(s[5], 11);
    EXPECT_EQ(Colours(L"more", COOKIE_COMMENT)[3], 9);
}

TEST(ScriptSyntax, EveryTableWordTakesItsColour)
{
    ASSERT_EQ(ScriptKeywordTable().size(), 109u);
    ASSERT_EQ(TypeWordTable().size(), 65u);
    EXPECT_EQ(std::wstring(ScriptKeywordTable().front()), L"_asm");
    EXPECT_EQ(std::wstring(ScriptKeywordTable().back()), L"var");
    EXPECT_EQ(std::wstring(TypeWordTable().back()), L"PDWORD32");
    for (const auto& [table, colour] : {std::pair{ScriptKeywordTable(), 7}, std::pair{TypeWordTable(), 18}})
        for (const wchar_t* word : table)
        {
            const std::wstring w = word;
            for (const std::wstring& line : {w, L" " + w + L";"})
            {
                const std::vector<int> c = Colours(line);
                const size_t at = line[0] == L' ' ? 1 : 0;
                EXPECT_EQ(c[at], colour) << QString::fromStdWString(line).toStdString();
                EXPECT_EQ(c[at + w.size() - 1], colour);
            }
        }
    // Exact and case-sensitive.
    EXPECT_FALSE(IsScriptKeyword(L"Var", 3));
    EXPECT_FALSE(IsScriptKeyword(L"varx", 4));
    EXPECT_FALSE(IsTypeWord(L"dword", 5));
}

TEST(ScriptSyntax, Numbers)
{
    struct
    {
        const wchar_t* word;
        BOOL number;
    } cases[] = {{L"0x1F", TRUE},  {L"0xff", TRUE}, {L"0X1F", FALSE}, {L"0xG", FALSE},
                 {L"0x", FALSE},   {L"7", TRUE},    {L"1.5", TRUE},   {L"1e+5", TRUE},
                 {L"1.2.3", TRUE}, {L"a1", FALSE},  {L"1a", FALSE}};
    for (const auto& k : cases)
        EXPECT_EQ(IsNumber(k.word, int(wcslen(k.word))), k.number)
            << QString::fromWCharArray(k.word).toStdString();
}
