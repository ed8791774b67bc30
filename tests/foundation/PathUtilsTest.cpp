#include "foundation/AppServices.h"
#include "foundation/CmdLineParser.h"
#include "foundation/PathUtils.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;

TEST(PathUtilsTest, SplitJoinAndSmallTests)
{
    struct SplitCase
    {
        LPCWSTR path, folder, name, ext;
    };
    const SplitCase splits[] = {
        {L"/home/ann/Main.xdg", L"/home/ann", L"Main", L"xdg"},
        {L"C\\Plant1\\pump.tar.gz", L"C\\Plant1", L"pump.tar", L"gz"},
        {L"/home/ann.d/README", L"/home/ann.d", L"README", L""},
        {L"name.", L"", L"name", L""},
        {L"/folder/", L"/folder", L"", L""},
        {L"", L"", L"", L""},
    };
    for (const SplitCase& c : splits)
    {
        SCOPED_TRACE(CString(c.path).ToUtf8());
        CString folder, name, ext;
        CPathUtils::Split(c.path, &folder, &name, &ext);
        EXPECT_EQ(folder, c.folder);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(ext, c.ext);
        EXPECT_EQ(CPathUtils::GetFolder(c.path), c.folder);
    }
    CPathUtils::Split(L"/a/b.c", nullptr, nullptr, nullptr);

    struct JoinCase
    {
        LPCWSTR a, b, joined;
    };
    const JoinCase joins[] = {
        {L"/home/ann", L"Corvane/Corvane.log", L"/home/ann/Corvane/Corvane.log"},
        {L"/home/ann/", L"/x", L"/home/ann/x"},
        {L"/", L"x", L"/x"},
        {L"", L"x", L"x"},
        {L"a", L"", L"a"},
    };
    for (const JoinCase& c : joins)
        EXPECT_EQ(CPathUtils::Join(c.a, c.b), c.joined);

    EXPECT_TRUE(CPathUtils::IsSeparator(L'/'));
    EXPECT_TRUE(CPathUtils::IsSeparator(L'\\'));
    EXPECT_FALSE(CPathUtils::IsSeparator(L'.'));
    EXPECT_TRUE(CPathUtils::EndsWithSlash(L"/a/"));
    EXPECT_TRUE(CPathUtils::EndsWithSlash(L"a\\"));
    EXPECT_FALSE(CPathUtils::EndsWithSlash(L"/a"));
    EXPECT_FALSE(CPathUtils::EndsWithSlash(L""));
    EXPECT_TRUE(CPathUtils::IsShortcut(L"/x/Plant.LNK"));
    EXPECT_FALSE(CPathUtils::IsShortcut(L"/x.lnk/Plant"));
    EXPECT_EQ(CPathUtils::TrimWhiteSpace(L" \t a b \r\n"), L"a b");
}

TEST(PathUtilsTest, ShortcutsAreSymbolicLinksFollowedToTheirTarget)
{
    CTestDir dir;
    fs::create_directories(dir / "Plant1");
    CTestDir::WriteAll(dir / "Plant1/Plant1.dcp", "x");
    fs::create_symlink(dir / "Plant1/Plant1.dcp", dir / "Plant.lnk");
    fs::create_symlink(dir / "Plant.lnk", dir / "second");
    fs::create_symlink(dir / "nowhere", dir / "dangling.lnk");
    const CString target(dir.W("Plant1/Plant1.dcp").c_str());
    EXPECT_EQ(CPathUtils::ResolveShortcut(dir.W("Plant.lnk").c_str()), target);
    EXPECT_EQ(CPathUtils::ResolveShortcut(dir.W("second").c_str()), target) << "a chain of links";
    EXPECT_EQ(CPathUtils::ResolveShortcut(target), target) << "a plain file";
    EXPECT_EQ(CPathUtils::ResolveShortcut(dir.W("dangling.lnk").c_str()),
              CString(dir.W("dangling.lnk").c_str()));
    EXPECT_EQ(CPathUtils::ResolveShortcut(L"/x/Missing.lnk"), L"/x/Missing.lnk");
    EXPECT_EQ(CPathUtils::ResolveShortcut(L""), L"");
    // The command line names what its links name.
    EXPECT_EQ(CCmdLineParser(CString(dir.W("second").c_str())).GetPaths(), std::vector<CString>{target});
}

TEST(PathUtilsTest, FileSystemHelpers)
{
    CTestDir dir;
    fs::create_directories(dir / "Plant1/XdgFiles");
    CTestDir::WriteAll(dir / "Plant1/XdgFiles/Main.xdg", "x");

    setenv("FSVC_TEST_DIR", dir.Path().c_str(), 1);
    EXPECT_TRUE(CPathUtils::Exists(L"%FSVC_TEST_DIR%/Plant1/XdgFiles/Main.xdg"));
    EXPECT_FALSE(CPathUtils::Exists(L"%FSVC_TEST_DIR%/Plant1/Nope.xdg"));
    EXPECT_FALSE(CPathUtils::Exists(L""));

    // Full path, folded, with the case found on disk.
    const CString lower = CString(dir.Path().wstring().c_str()) + L"/plant1/./xdgfiles/../XDGFILES/main.xdg";
    EXPECT_EQ(CPathUtils::GetLongPath(lower), CString(dir.W("Plant1/XdgFiles/Main.xdg").c_str()));
    EXPECT_EQ(CPathUtils::GetLongPath(L"%FSVC_TEST_DIR%/Plant1"), CString(dir.W("Plant1").c_str()));
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.Path());
    EXPECT_EQ(CPathUtils::GetLongPath(L"plant1\\xdgfiles"), CString(dir.W("Plant1/XdgFiles").c_str()));
    fs::current_path(cwd);
    unsetenv("FSVC_TEST_DIR");

    DWORD error = 1;
    const CString temp = CPathUtils::MakeTempFileName(dir.W("Plant1").c_str(), L"Quendrel_LOG", &error);
    ASSERT_FALSE(temp.IsEmpty());
    EXPECT_EQ(error, DWORD(ERROR_SUCCESS));
    EXPECT_TRUE(fs::exists(fs::path(temp.ToUtf8())));
    EXPECT_EQ(CPathUtils::GetFolder(temp), CString(dir.W("Plant1").c_str()));
    EXPECT_TRUE(CPathUtils::MakeTempFileName(CString(L'x', 247), L"p", &error).IsEmpty());
    EXPECT_NE(error, DWORD(ERROR_SUCCESS));
    EXPECT_TRUE(CPathUtils::MakeTempFileName(dir.W("missing").c_str(), L"p", &error).IsEmpty());
    EXPECT_NE(error, DWORD(ERROR_SUCCESS));

    const CString module = CPathUtils::GetModuleFolder();
    ASSERT_FALSE(module.IsEmpty());
    EXPECT_TRUE(fs::is_directory(fs::path(module.ToUtf8())));
    const char* docs = std::getenv("XDG_DOCUMENTS_DIR");
    if (docs)
        EXPECT_EQ(CPathUtils::GetDocumentsFolder(), CString(docs));
    else
        EXPECT_FALSE(CPathUtils::GetDocumentsFolder().IsEmpty());
}

TEST(CmdLineParserTest, TokensQuotesAndSwitches)
{
    struct Case
    {
        LPCWSTR line;
        std::vector<CString> tokens;
    };
    const Case cases[] = {
        {L"", {}},
        {L"  a\tb\r\nc  ", {L"a", L"b", L"c"}},
        {L"\"/home/ann/My Plant/x.dcp\" -s", {L"/home/ann/My Plant/x.dcp", L"-s"}},
        {L"a\"b c\"d", {L"a\"b c\"d"}},
        {L"\"\" \" \" x", {L"x"}},
        {L"\"unterminated quote", {L"unterminated quote"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(CString(c.line).ToUtf8());
        EXPECT_EQ(CCmdLineParser::Tokenize(c.line), c.tokens);
    }

    CTestDir dir;
    fs::create_directories(dir / "Plant1");
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.Path());
    CCmdLineParser parser(L"-noprefs /MINIMIZE -cp:1252 /noninteractive plant1\\Demo.dcp /tmp/x.dcp /other");
    fs::current_path(cwd);
    EXPECT_TRUE(parser.HasSwitch(L"noprefs"));
    EXPECT_TRUE(parser.HasSwitch(L"minimize"));
    EXPECT_TRUE(parser.HasSwitch(L"noninteractive"));
    EXPECT_EQ(parser.GetSwitchValue(L"cp"), L"1252");
    EXPECT_FALSE(parser.HasSwitch(L"s"));
    ASSERT_EQ(parser.GetPathCount(), 3);
    EXPECT_EQ(parser.GetPaths()[0], CString(dir.W("Plant1/Demo.dcp").c_str()));
    EXPECT_EQ(parser.GetPaths()[1], L"/tmp/x.dcp");
    EXPECT_EQ(parser.GetPaths()[2], L"/other");
    EXPECT_EQ(parser.GetRequest(), CCmdLineParser::requestOpen);

    EXPECT_FALSE(CCmdLineParser(L"-silent -x").HasPaths());
    EXPECT_TRUE(CCmdLineParser(L"Demo").HasPaths());

    // Every token that begins with '-' is a switch, a lone '-' too.
    struct Paths
    {
        LPCWSTR line;
        std::vector<CString> paths;
    };
    const Paths lines[] = {
        {L"-", {}},
        {L"\"-\"", {}},
        {L"- /tmp/x.dcp", {L"/tmp/x.dcp"}},
        {L"/tmp/x.dcp -", {L"/tmp/x.dcp"}},
        {L"-:1252", {}},
        {L"/ -", {L"/"}},
    };
    for (const Paths& c : lines)
    {
        SCOPED_TRACE(CString(c.line).ToUtf8());
        EXPECT_EQ(CCmdLineParser(c.line).GetPaths(), c.paths);
    }
}

TEST(CmdLineParserTest, CompareRequestAndOptionSwitches)
{
    CCmdLineParser compare(L"xcompare -base /a/base.txt -out /a/out.txt left.txt");
    EXPECT_EQ(compare.GetRequest(), CCmdLineParser::requestCompare);
    EXPECT_EQ(compare.GetBase(), L"/a/base.txt");
    EXPECT_EQ(compare.GetOut(), L"/a/out.txt");
    EXPECT_FALSE(compare.HasPaths());
    EXPECT_EQ(CCmdLineParser(L"compare").GetBase(), L"<No Base>");
    CCmdLineParser merge(L"merge /fname name.txt");
    EXPECT_EQ(merge.GetRequest(), CCmdLineParser::requestMerge);
    EXPECT_EQ(merge.GetFileName(), L"name.txt");

    CRegOptionsMgr options;
    options.SetSerializing(false);
    OptionsInit(&options);
    SetAppServices(&options, nullptr);
    CCmdLineParser parser(L"-ignorews /ignorecase -IgnoreEol -ignoreblanklines x");
    SetAppServices(nullptr, nullptr);
    EXPECT_EQ(options.GetIntValue(L"Settings/IgnoreSpace"), 1);
    EXPECT_TRUE(options.GetBoolValue(L"Settings/IgnoreCase"));
    EXPECT_TRUE(options.GetBoolValue(L"Settings/IgnoreEol"));
    EXPECT_TRUE(options.GetBoolValue(L"Settings/IgnoreBlankLines"));
    // Without a store the switches are only remembered.
    EXPECT_TRUE(CCmdLineParser(L"-ignorews").HasSwitch(L"IGNOREWS"));
}
