#include "mfc/CString.h"

#include <gtest/gtest.h>

TEST(CString, FormatUsesWideConventions)
{
    CString s;
    s.Format(L"%s=%d [%5.2f] %c %S %I64d %u", L"Wärme", -5, 3.14159, L'ß', "narrow", (long long)1 << 40, 7u);
    EXPECT_EQ(s, CString(L"Wärme=-5 [ 3.14] ß narrow 1099511627776 7"));
    CString big;
    big.Format(L"%s", std::wstring(5000, L'x').c_str());
    EXPECT_EQ(big.GetLength(), 5000);
}

TEST(CString, SubstringsFindTrimAndCase)
{
    CString s(L"  Hello World  ");
    s.Trim();
    EXPECT_EQ(s, L"Hello World");
    EXPECT_EQ(s.Left(5), L"Hello");
    EXPECT_EQ(s.Right(5), L"World");
    EXPECT_EQ(s.Mid(6), L"World");
    EXPECT_EQ(s.Mid(6, 2), L"Wo");
    EXPECT_EQ(s.Mid(50), L"");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Find(L'o'), 4);
    EXPECT_EQ(s.Find(L'o', 5), 7);
    EXPECT_EQ(s.Find(L"World"), 6);
    EXPECT_EQ(s.Find(L"x"), -1);
    EXPECT_EQ(s.ReverseFind(L'o'), 7);
    EXPECT_EQ(s.CompareNoCase(L"hello world"), 0);
    EXPECT_LT(s.Compare(L"Hello Worlds"), 0);
    CString u = s;
    u.MakeUpper();
    EXPECT_EQ(u, L"HELLO WORLD");
    EXPECT_EQ(u.Replace(L"L", L"ll"), 3);
    EXPECT_EQ(u, L"HEllllO WORllD");
    CString t(L"xxabcxx");
    t.Trim(L'x');
    EXPECT_EQ(t, L"abc");
}

TEST(CString, BufferAndNarrowText)
{
    CString s;
    wchar_t* p = s.GetBuffer(10);
    wcscpy(p, L"abc");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 3);
    CString n("Grüße");
    EXPECT_EQ(n, L"Grüße");
    EXPECT_EQ(n.ToUtf8(), "Grüße");
    int pos = 0;
    CString line(L"a, b,,c");
    EXPECT_EQ(line.Tokenize(L", ", pos), L"a");
    EXPECT_EQ(line.Tokenize(L", ", pos), L"b");
    EXPECT_EQ(line.Tokenize(L", ", pos), L"c");
    line.Tokenize(L", ", pos);
    EXPECT_EQ(pos, -1);
}

TEST(CString, CaseMappingCoversAllLetters)
{
    // Case mapping must not depend on the C locale, which is "C" unless a program sets it.
    CString s(L"Wärme über Öl");
    s.MakeUpper();
    EXPECT_EQ(s, L"WÄRME ÜBER ÖL");
    s.MakeLower();
    EXPECT_EQ(s, L"wärme über öl");
    EXPECT_EQ(CString(L"Straße Ä").CompareNoCase(L"STRAßE ä"), 0);
    EXPECT_LT(CString(L"ä").CompareNoCase(L"Ö"), 0);
}

TEST(CString, LongSizedFormatsTakeThirtyTwoBitArguments)
{
    // LONG and DWORD are 32 bits, and the system formats them with %ld and %lu.
    const LONG neg = -5;
    const DWORD big = 4000000000u;
    CString s;
    s.Format(L"%ld|%li|%lu|%lx|%08lX|%-4ld|%lld|%lf", neg, neg, big, big, big, neg, -7LL, 2.5);
    EXPECT_EQ(s, L"-5|-5|4000000000|ee6b2800|EE6B2800|-5  |-7|2.500000");
}
