#include "win32/Sync.h"
#include "win32/System.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

TEST(SystemTest, CodePageConversionTable)
{
    struct Case
    {
        UINT cp;
        std::string bytes;
        std::wstring wide;
    } cases[] = {
        {CP_UTF8, "Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xF0\x9F\x98\x80", L"Gr\u00fc\u00df \u20ac \U0001F600"},
        {CP_ACP, "\xC3\xA9t\xC3\xA9", L"\u00e9t\u00e9"},
        {1252, "\x80 caf\xE9 \x93q\x94", L"\u20ac caf\u00e9 \u201cq\u201d"},
        {28591, "\xE9\xFF", L"\u00e9\u00ff"},
        {1251, "\xCF\xF0\xE8", L"\u041f\u0440\u0438"},
        {437, "\x82\xC4", L"\u00e9\u2500"},
        {932, "\x93\xFA\x96\x7B", L"\u65e5\u672c"},
        {20127, "plain", L"plain"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.cp);
        const int n = MultiByteToWideChar(c.cp, c.cp == CP_UTF8 ? 0 : MB_PRECOMPOSED, c.bytes.data(),
                                          int(c.bytes.size()), nullptr, 0);
        ASSERT_EQ(int(c.wide.size()), n);
        std::wstring wide(size_t(n), L'\0');
        EXPECT_EQ(n, MultiByteToWideChar(c.cp, 0, c.bytes.data(), int(c.bytes.size()), wide.data(), n));
        EXPECT_EQ(c.wide, wide);

        const DWORD flags = c.cp == CP_UTF8 ? 0 : WC_COMPOSITECHECK | WC_SEPCHARS;
        const int m =
            WideCharToMultiByte(c.cp, flags, c.wide.data(), int(c.wide.size()), nullptr, 0, nullptr, nullptr);
        ASSERT_EQ(int(c.bytes.size()), m);
        std::string bytes(size_t(m), '\0');
        BOOL usedDefault = TRUE;
        EXPECT_EQ(m, WideCharToMultiByte(c.cp, flags, c.wide.data(), int(c.wide.size()), bytes.data(), m,
                                         nullptr, c.cp == CP_UTF8 ? nullptr : &usedDefault));
        EXPECT_EQ(c.bytes, bytes);
        if (c.cp != CP_UTF8)
        {
            EXPECT_FALSE(usedDefault);
        }
    }
}

TEST(SystemTest, CodePageEdgeCases)
{
    // -1 converts the terminator too.
    wchar_t wide[8];
    EXPECT_EQ(3, MultiByteToWideChar(CP_UTF8, 0, "ab", -1, wide, 8));
    EXPECT_STREQ(L"ab", wide);
    char narrow[8];
    EXPECT_EQ(3, WideCharToMultiByte(CP_UTF8, 0, L"ab", -1, narrow, 8, nullptr, nullptr));
    EXPECT_STREQ("ab", narrow);

    // A buffer too small.
    EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, "abcdef", 6, wide, 3));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());

    // Bad UTF-8 becomes U+FFFD, or fails when asked to.
    EXPECT_EQ(3, MultiByteToWideChar(CP_UTF8, 0,
                                     "a\xFF"
                                     "b",
                                     3, wide, 8));
    EXPECT_EQ(L'\uFFFD', wide[1]);
    EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS,
                                     "a\xFF"
                                     "b",
                                     3, wide, 8));
    EXPECT_EQ(DWORD(ERROR_NO_UNICODE_TRANSLATION), GetLastError());

    // What a code page cannot hold becomes the default character.
    BOOL used = FALSE;
    const int n =
        WideCharToMultiByte(1252, WC_COMPOSITECHECK | WC_SEPCHARS, L"a\u65e5b", 3, narrow, 8, "#", &used);
    EXPECT_EQ("a#b", std::string(narrow, size_t(n)));
    EXPECT_TRUE(used);
    EXPECT_EQ(3, WideCharToMultiByte(28591, 0, L"x\u0100y", 3, narrow, 8, nullptr, &used));
    EXPECT_EQ('?', narrow[1]);

    EXPECT_EQ(0, MultiByteToWideChar(12345678, 0, "a", 1, wide, 8));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_TRUE(IsValidCodePage(1252));
    EXPECT_FALSE(IsValidCodePage(1));
    EXPECT_EQ(65001u, GetACP());
}

TEST(SystemTest, FormatMessageFromTheSystemTable)
{
    wchar_t buf[256];
    struct Case
    {
        DWORD code;
        const wchar_t* text;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, L"The system cannot find the file specified.\r\n"},
        {DWORD(E_FAIL), L"Unspecified error\r\n"},
        {DWORD(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)), L"Access is denied.\r\n"},
        {DWORD(DISP_E_TYPEMISMATCH), L"Type mismatch.\r\n"},
        {DWORD(WAIT_TIMEOUT), L"The wait operation timed out.\r\n"},
    };
    for (const auto& c : cases)
    {
        const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                       c.code, 0, buf, 256, nullptr);
        EXPECT_EQ(wcslen(c.text), n);
        EXPECT_STREQ(c.text, buf);
    }

    LPWSTR allocated = nullptr;
    EXPECT_EQ(17u,
              FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                             nullptr, DWORD(E_FAIL), 0, reinterpret_cast<LPWSTR>(&allocated), 0, nullptr));
    EXPECT_STREQ(L"Unspecified error", allocated);
    LocalFree(allocated);

    EXPECT_EQ(0u, FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0x80041234u, 0, buf, 256, nullptr));
    EXPECT_EQ(DWORD(ERROR_MR_MID_NOT_FOUND), GetLastError());
    EXPECT_EQ(0u, FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                 ERROR_FILE_NOT_FOUND, 0, buf, 5, nullptr));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());

    const DWORD_PTR args[] = {reinterpret_cast<DWORD_PTR>(L"disk"), 42};
    FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, L"%1 has %2!d! files%%%n", 0,
                   0, buf, 256, reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(args)));
    EXPECT_STREQ(L"disk has 42 files%\r\n", buf);
}

TEST(SystemTest, FileTimeAndSystemTime)
{
    struct Case
    {
        SYSTEMTIME st;
        ULONGLONG ticks;
    } cases[] = {
        {{1601, 1, 1, 1, 0, 0, 0, 0}, 0},
        {{1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000ull},
        {{2000, 2, 2, 29, 12, 30, 15, 250}, 125963010152500000ull},
    };
    for (const auto& c : cases)
    {
        FILETIME ft;
        ASSERT_TRUE(SystemTimeToFileTime(&c.st, &ft));
        EXPECT_EQ(c.ticks, (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
        SYSTEMTIME back;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
        EXPECT_EQ(0, std::memcmp(&c.st, &back, sizeof(back))) << c.st.wYear;
    }
    SYSTEMTIME bad = {2001, 2, 0, 29, 0, 0, 0, 0};
    FILETIME ft;
    EXPECT_FALSE(SystemTimeToFileTime(&bad, &ft));

    SYSTEMTIME now;
    GetSystemTime(&now);
    EXPECT_GE(now.wYear, 2024);
    GetSystemTimeAsFileTime(&ft);
    SYSTEMTIME fromFt;
    FileTimeToSystemTime(&ft, &fromFt);
    EXPECT_EQ(now.wYear, fromFt.wYear);
    const ULONGLONG t0 = GetTickCount64();
    Sleep(20);
    EXPECT_GE(GetTickCount64() - t0, 19u);
}

TEST(SystemTest, CalendarSharedByTheTimeConversions)
{
    struct Case
    {
        int64_t y;
        unsigned m, d;
        int64_t days;
        WORD dayOfWeek;
    } cases[] = {
        {1970, 1, 1, 0, 4},       {1969, 12, 31, -1, 3},      {1899, 12, 30, -25569, 6},
        {1601, 1, 1, -134774, 1}, {2000, 2, 29, 11016, 2},    {2000, 3, 1, 11017, 3},
        {1900, 3, 1, -25508, 4},  {9999, 12, 31, 2932896, 5},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(DaysFromCivil(c.y, c.m, c.d), c.days) << c.y << "-" << c.m << "-" << c.d;
        int64_t y = 0;
        unsigned m = 0, d = 0;
        CivilFromDays(c.days, y, m, d);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
        EXPECT_EQ(DayOfWeekFromDays(c.days), c.dayOfWeek) << c.days;
    }
    EXPECT_EQ(DaysInMonth(2000, 2), 29u);
    EXPECT_EQ(DaysInMonth(1900, 2), 28u);
    EXPECT_EQ(DaysInMonth(2024, 4), 30u);
    EXPECT_EQ(DaysInMonth(2024, 0), 0u);
    EXPECT_EQ(DaysInMonth(2024, 13), 0u);
}

TEST(SystemTest, LastErrorIsPerThread)
{
    SetLastError(ERROR_ACCESS_DENIED);
    std::thread(
        []
        {
            EXPECT_EQ(DWORD(ERROR_SUCCESS), GetLastError());
            SetLastError(ERROR_FILE_NOT_FOUND);
        })
        .join();
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), GetLastError());
}

TEST(SystemTest, LocaleFromTheEnvironment)
{
    CScopedEnv noAll("LC_ALL", "");
    CScopedEnv noMessages("LC_MESSAGES", "");
    struct Case
    {
        const char* lang;
        LANGID id;
    } cases[] = {{"de_DE.UTF-8", 0x0407}, {"de_AT.UTF-8", 0x0C07}, {"fr_FR", 0x040C}, {"en_GB.UTF-8", 0x0809},
                 {"ja_JP.UTF-8", 0x0411}, {"C.UTF-8", 0x0409},     {"xx_YY", 0x0409}};
    for (const auto& c : cases)
    {
        CScopedEnv lang("LANG", c.lang);
        EXPECT_EQ(c.id, GetUserDefaultLangID()) << c.lang;
        EXPECT_EQ(LCID(c.id), GetUserDefaultLCID());
    }
    wchar_t buf[16];
    EXPECT_EQ(6, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, buf, 16));
    EXPECT_STREQ(L"65001", buf);
    EXPECT_EQ(5, GetLocaleInfoW(0x0407, LOCALE_ILANGUAGE, buf, 8));
    EXPECT_STREQ(L"0407", buf);
    EXPECT_EQ(7, GetLocaleInfoW(0x0407, LOCALE_SENGLANGUAGE, nullptr, 0));
    EXPECT_EQ(0, GetLocaleInfoW(0x0407, LOCALE_SENGLANGUAGE, buf, 3));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());

    EXPECT_TRUE(SetThreadLocale(1031));
    EXPECT_EQ(1031u, GetThreadLocale());
    std::thread([] { EXPECT_NE(1031u, GetThreadLocale()); }).join();
    SetThreadLocale(1033);
}

TEST(SystemTest, EnvironmentAndComputerName)
{
    CScopedEnv var("QYR_TEST_VAR", "value");
    wchar_t buf[64];
    EXPECT_EQ(14u, ExpandEnvironmentStringsW(L"a%QYR_TEST_VAR%b%NOPE%", buf, 64));
    EXPECT_STREQ(L"avalueb%NOPE%", buf);
    EXPECT_EQ(14u, ExpandEnvironmentStringsW(L"a%QYR_TEST_VAR%b%NOPE%", buf, 4));
    EXPECT_EQ(5u, GetEnvironmentVariableW(L"QYR_TEST_VAR", buf, 64));
    EXPECT_EQ(6u, GetEnvironmentVariableW(L"QYR_TEST_VAR", buf, 3));
    EXPECT_EQ(0u, GetEnvironmentVariableW(L"QYR_TEST_NOT_SET", buf, 64));
    EXPECT_EQ(DWORD(ERROR_ENVVAR_NOT_FOUND), GetLastError());

    DWORD n = 16;
    ASSERT_TRUE(GetComputerNameW(buf, &n));
    EXPECT_GT(n, 0u);
    EXPECT_LE(n, 15u);
    DWORD tiny = 1;
    EXPECT_FALSE(GetComputerNameW(buf, &tiny));
    EXPECT_EQ(n + 1, tiny);
}
