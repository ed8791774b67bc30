#include "foundation/StdioFileEx.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace
{

std::vector<CString> ReadLines(CStdioFileEx& file)
{
    std::vector<CString> lines;
    CString line;
    while (file.ReadString(line))
        lines.push_back(line);
    return lines;
}

std::string Utf16Le(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s)
    {
        out += char(c & 0xFF);
        out += char(c >> 8);
    }
    return out;
}

} // namespace

TEST(StdioFileExTest, ReadingFollowsTheFirstBytes)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        int codePage;
        bool unicode;
        std::vector<CString> lines;
    };
    const std::string bigLine(5000, 'z');
    const Case cases[] = {
        {"UTF-16 with mark",
         "\xFF\xFE" + Utf16Le(u"Main\r\nSecond 🔥\n\nlast"),
         -1,
         true,
         {L"Main", L"Second 🔥", L"", L"last"}},
        {"UTF-16 odd last byte", "\xFF\xFE" + Utf16Le(u"ab") + "\x41", -1, true, {L"ab"}},
        {"UTF-8 with mark", "\xEF\xBB\xBFW\xC3\xA4rme\r\nx\r\n", 65001, false, {L"Wärme", L"x"}},
        {"UTF-8 without mark keeps its first bytes", "W\xC3\xA4rme\nabc", 65001, false, {L"Wärme", L"abc"}},
        {"system code page is UTF-8",
         "\xEF\xBB\xBF"
         "abc",
         -1,
         false,
         {L"abc"}},
        {"Latin-1 keeps EF BB BF as text",
         "\xEF\xBB\xBF"
         "a\xE4",
         1252,
         false,
         {L"\u00EF\u00BB\u00BFa\u00E4"}},
        {"CR LF and lone CR", "a\r\nb\rc\r\n", -1, false, {L"a", L"b\rc"}},
        {"one byte", "x", -1, false, {L"x"}},
        {"one FF byte", "\xFF", 1252, false, {L"\u00FF"}},
        {"empty", "", -1, false, {}},
        {"long line", bigLine + "\r\nshort", -1, false, {CString(bigLine.c_str()), L"short"}},
    };
    CTestDir dir;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const auto path = dir / "case.txt";
        CTestDir::WriteAll(path, c.bytes);
        EXPECT_EQ(CStdioFileEx::IsFileUnicode(path.wstring().c_str()), c.unicode);
        CStdioFileEx file;
        file.SetCodePage(c.codePage);
        ASSERT_TRUE(file.Open(path.wstring().c_str(), CFile::modeRead | CFile::typeText));
        EXPECT_EQ(file.IsFileUnicodeText(), c.unicode);
        EXPECT_EQ(ReadLines(file), c.lines);
        CString line = L"stale";
        EXPECT_FALSE(file.ReadString(line));
        EXPECT_TRUE(line.IsEmpty());
    }
}

TEST(StdioFileExTest, LongUtf16LineAndSeekBackToTheStart)
{
    CTestDir dir;
    const auto path = dir / "long.txt";
    const std::u16string big(9000, u'q');
    CTestDir::WriteAll(path, "\xFF\xFE" + Utf16Le(big + u"\r\nend"));
    CStdioFileEx file(path.wstring().c_str(), CFile::modeRead);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line.GetLength(), 9000);
    file.Seek(0, CFile::begin);
    ASSERT_TRUE(file.ReadString(line)); // the mark is skipped again
    EXPECT_EQ(line.GetLength(), 9000);
    EXPECT_EQ(line[0], L'q');
}

TEST(StdioFileExTest, WritingPutsTheMarkOnlyAtPositionZero)
{
    struct Case
    {
        const char* what;
        UINT extraFlags;
        int codePage;
        bool writeBOM;
        std::string expected;
    };
    const Case cases[] = {
        {"UTF-16", CStdioFileEx::modeWriteUnicode, -1, true, "\xFF\xFE" + Utf16Le(u"a\r\n🔥b\r\n")},
        {"UTF-16 without mark", CStdioFileEx::modeWriteUnicode, -1, false, Utf16Le(u"a\r\n🔥b\r\n")},
        {"UTF-8", 0, 65001, true,
         "\xEF\xBB\xBF"
         "a\r\n\xF0\x9F\x94\xA5"
         "b\r\n"},
        {"Latin-1 with filler", 0, 1252, true, "a\r\n#b\r\n"},
    };
    CTestDir dir;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const auto path = dir / "out.txt";
        {
            CStdioFileEx file;
            file.SetCodePage(c.codePage);
            file.SetWriteBOM(c.writeBOM);
            ASSERT_TRUE(
                file.Open(path.wstring().c_str(), CFile::modeCreate | CFile::modeWrite | c.extraFlags));
            EXPECT_EQ(file.IsFileUnicodeText(), c.extraFlags != 0);
            file.WriteString(L"a\r\n");
            file.WriteString(L"🔥b\r\n");
            file.Close();
        }
        EXPECT_EQ(CTestDir::ReadAll(path), c.expected);

        // And it reads back line by line without the mark; without a mark UTF-16 is not recognised.
        if (c.extraFlags != 0 && !c.writeBOM)
            continue;
        CStdioFileEx in;
        in.SetCodePage(c.codePage);
        ASSERT_TRUE(in.Open(path.wstring().c_str(), CFile::modeRead | CFile::typeText));
        const std::vector<CString> lines = ReadLines(in);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], L"a");
    }

    // Appending to an existing UTF-16 file writes no second mark.
    const auto path = dir / "append.txt";
    CTestDir::WriteAll(path, "\xFF\xFE" + Utf16Le(u"one\r\n"));
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(path.wstring().c_str(), CFile::modeWrite | CFile::modeNoTruncate |
                                                      CFile::modeCreate | CStdioFileEx::modeWriteUnicode));
    file.SeekToEnd();
    file.WriteString(L"two\r\n");
    file.Close();
    EXPECT_EQ(CTestDir::ReadAll(path), "\xFF\xFE" + Utf16Le(u"one\r\ntwo\r\n"));
}

TEST(StdioFileExTest, BufferReadsKeepTheLineFeedAndContinueLongLines)
{
    CTestDir dir;
    const auto path = dir / "buf.txt";
    CTestDir::WriteAll(path, "abcdefgh\r\nxy\nlast");
    CStdioFileEx file(path.wstring().c_str(), CFile::modeRead);
    wchar_t buf[5];
    ASSERT_NE(file.ReadString(buf, 5), nullptr);
    EXPECT_STREQ(buf, L"abcd");
    ASSERT_NE(file.ReadString(buf, 5), nullptr);
    EXPECT_STREQ(buf, L"efgh");
    ASSERT_NE(file.ReadString(buf, 5), nullptr);
    EXPECT_STREQ(buf, L"\n");
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, L"xy");
    ASSERT_NE(file.ReadString(buf, 5), nullptr);
    EXPECT_STREQ(buf, L"last");
    EXPECT_EQ(file.ReadString(buf, 5), nullptr);
}

TEST(StdioFileExTest, OpenFailuresAndConversions)
{
    CTestDir dir;
    CStdioFileEx file;
    CFileException error;
    EXPECT_FALSE(file.Open(dir.W("missing.txt").c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_FALSE(CStdioFileEx::IsFileUnicode(dir.W("missing.txt").c_str()));

    EXPECT_EQ(CStdioFileEx::GetCurrentLocaleCodePage(), 65001u);
    EXPECT_EQ(CStdioFileEx::MultiByteToWide(std::string("W\xC3\xA4rme")), L"Wärme");
    EXPECT_EQ(CStdioFileEx::MultiByteToWide("W\xE4rme", 5, nullptr, 0, 1252), 5);
    EXPECT_EQ(CStdioFileEx::WideToMultiByte(std::wstring(L"aŁb"), 1252, '?'), "a?b");
    EXPECT_EQ(CStdioFileEx::WideToMultiByte(L"€", 1, nullptr, 0, 65001), 3);
    EXPECT_EQ(CStdioFileEx::MultiByteToWide(std::string()), L"");
}
