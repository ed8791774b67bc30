#include "win32/Profile.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace
{

std::vector<std::wstring> SplitList(const wchar_t* buf)
{
    std::vector<std::wstring> out;
    for (const wchar_t* p = buf; *p; p += wcslen(p) + 1)
        out.emplace_back(p);
    return out;
}

std::string ReadAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class ProfileTest : public ::testing::Test
{
protected:
    std::wstring File() const { return m_dir.WPath() + L"/options.ini"; }
    CTestDir m_dir;
};

} // namespace

TEST_F(ProfileTest, RoundTripWithKeyAndSectionLists)
{
    const std::wstring file = File();
    ASSERT_TRUE(WritePrivateProfileStringW(L"Corvane", L"Settings/ShowToolbar", L"1", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"Corvane", L"Settings/TabSize", L"4", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"Corvane", L"Font/FaceName", L"Courier New", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"Other", L"Name", L"\u00e9t\u00e9", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"corvane", L"settings/tabsize", L"8", file.c_str()));

    wchar_t buf[256];
    EXPECT_EQ(11u, GetPrivateProfileStringW(L"Corvane", L"Font/FaceName", L"", buf, 256, file.c_str()));
    EXPECT_STREQ(L"Courier New", buf);
    EXPECT_EQ(8u, GetPrivateProfileIntW(L"CORVANE", L"Settings/TabSize", 0, file.c_str()));
    EXPECT_EQ(3u, GetPrivateProfileStringW(L"Other", L"Name", L"", buf, 256, file.c_str()));
    EXPECT_STREQ(L"\u00e9t\u00e9", buf);
    EXPECT_EQ("[Corvane]\nSettings/ShowToolbar=1\nSettings/TabSize=8\nFont/FaceName=Courier "
              "New\n[Other]\nName=\xC3\xA9t\xC3\xA9\n",
              ReadAll(m_dir.Path() / "options.ini"));

    GetPrivateProfileStringW(L"Corvane", nullptr, nullptr, buf, 256, file.c_str());
    EXPECT_EQ((std::vector<std::wstring>{L"Settings/ShowToolbar", L"Settings/TabSize", L"Font/FaceName"}),
              SplitList(buf));
    GetPrivateProfileSectionNamesW(buf, 256, file.c_str());
    EXPECT_EQ((std::vector<std::wstring>{L"Corvane", L"Other"}), SplitList(buf));
    GetPrivateProfileStringW(nullptr, nullptr, nullptr, buf, 256, file.c_str());
    EXPECT_EQ((std::vector<std::wstring>{L"Corvane", L"Other"}), SplitList(buf));

    // No temporary file is left beside the target.
    size_t entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(m_dir.Path()))
        entries += e.is_regular_file();
    EXPECT_EQ(1u, entries);
}

TEST_F(ProfileTest, DeletingKeysAndSections)
{
    const std::wstring file = File();
    WritePrivateProfileStringW(L"A", L"k1", L"v1", file.c_str());
    WritePrivateProfileStringW(L"A", L"k2", L"v2", file.c_str());
    WritePrivateProfileStringW(L"B", L"k", L"v", file.c_str());
    EXPECT_TRUE(WritePrivateProfileStringW(L"A", L"k1", nullptr, file.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringW(L"B", nullptr, nullptr, file.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringW(L"Missing", nullptr, nullptr, file.c_str()));
    EXPECT_EQ("[A]\nk2=v2\n", ReadAll(m_dir.Path() / "options.ini"));
}

TEST_F(ProfileTest, ReadingDefaultsNumbersAndShortBuffers)
{
    const std::wstring file = File();
    std::ofstream(m_dir.Path() / "options.ini")
        << "; comment\r\n[S]\r\n  Word = yes  \r\nNum=-12abc\r\nHex=0x1F\r\n"
           "Quoted=\"  padded  \"\r\nLong=abcdefghij\r\n";
    wchar_t buf[64];
    struct IntCase
    {
        const wchar_t* key;
        UINT expected;
    } ints[] = {{L"Word", 0}, {L"Num", UINT(-12)}, {L"Hex", 31}, {L"Missing", 77}};
    for (const auto& c : ints)
        EXPECT_EQ(c.expected, GetPrivateProfileIntW(L"S", c.key, 77, file.c_str())) << c.key;

    EXPECT_EQ(3u, GetPrivateProfileStringW(L"S", L"word", L"x", buf, 64, file.c_str()));
    EXPECT_STREQ(L"yes", buf);
    GetPrivateProfileStringW(L"S", L"Quoted", L"", buf, 64, file.c_str());
    EXPECT_STREQ(L"  padded  ", buf);
    EXPECT_EQ(3u, GetPrivateProfileStringW(L"S", L"Missing", L"def  ", buf, 64, file.c_str()));
    EXPECT_STREQ(L"def", buf);
    EXPECT_EQ(0u, GetPrivateProfileStringW(L"S", L"Missing", nullptr, buf, 64, file.c_str()));
    EXPECT_EQ(4u, GetPrivateProfileStringW(L"S", L"Long", L"", buf, 5, file.c_str()));
    EXPECT_STREQ(L"abcd", buf);

    // A list cut short ends in two zeros and reports nSize - 2.
    EXPECT_EQ(6u, GetPrivateProfileStringW(L"S", nullptr, nullptr, buf, 8, file.c_str()));
    EXPECT_EQ(0, std::wmemcmp(L"Word\0N\0\0", buf, 8));

    const std::wstring missing = m_dir.WPath() + L"/none.ini";
    EXPECT_EQ(0u, GetPrivateProfileSectionNamesW(buf, 64, missing.c_str()));
    EXPECT_EQ(L'\0', buf[0]);
    EXPECT_EQ(5u, GetPrivateProfileIntW(L"S", L"k", 5, missing.c_str()));
    const std::wstring noFolder = m_dir.WPath() + L"/no/such/folder.ini";
    EXPECT_FALSE(WritePrivateProfileStringW(L"S", L"k", L"v", noFolder.c_str()));
}
