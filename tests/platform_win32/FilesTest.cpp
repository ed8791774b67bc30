#include "win32/Files.h"
#include "win32/System.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace
{

void Touch(const std::filesystem::path& p, const char* text = "x")
{
    std::ofstream(p) << text;
}

std::string Read(const std::filesystem::path& p)
{
    std::ifstream in(p);
    std::string s;
    std::getline(in, s);
    return s;
}

} // namespace

TEST(FilesTest, ResolvePathMatchesComponentsWithoutCase)
{
    CTestDir dir;
    std::filesystem::create_directories(dir.Path() / "Plant1" / "XdgFiles");
    Touch(dir.Path() / "Plant1" / "XdgFiles" / "Main.xdg");
    const std::wstring base = dir.WPath();

    struct Case
    {
        std::wstring in;
        std::wstring out;
    } cases[] = {
        {base + L"/plant1/xdgfiles/main.xdg", base + L"/Plant1/XdgFiles/Main.xdg"},
        {base + L"\\PLANT1\\XdgFiles\\MAIN.XDG", base + L"/Plant1/XdgFiles/Main.xdg"},
        {base + L"/plant1/xdgfiles/new.xdg", base + L"/Plant1/XdgFiles/new.xdg"},
        {base + L"/plant1/nothing/here", base + L"/Plant1/nothing/here"},
        {base + L"/Plant1/XdgFiles/Main.xdg", base + L"/Plant1/XdgFiles/Main.xdg"},
        {base + L"/plant1/", base + L"/Plant1/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.out, Win32ResolvePath(c.in));

    const std::wstring lower = base + L"/plant1/xdgfiles/main.xdg";
    EXPECT_TRUE(PathFileExistsW(lower.c_str()));
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_ARCHIVE), GetFileAttributesW(lower.c_str()));
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY), GetFileAttributesW((base + L"/PLANT1").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((base + L"/none").c_str()));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());

    wchar_t buf[MAX_PATH];
    EXPECT_EQ(cases[0].out.size(), GetLongPathNameW(lower.c_str(), buf, MAX_PATH));
    EXPECT_EQ(cases[0].out, buf);
    EXPECT_EQ(0u, GetLongPathNameW((base + L"/none").c_str(), buf, MAX_PATH));
}

TEST(FilesTest, FullPathFoldsDots)
{
    wchar_t buf[MAX_PATH];
    LPWSTR part = nullptr;
    EXPECT_EQ(10u, GetFullPathNameW(L"/a/b/../c/./d.txt", MAX_PATH, buf, &part));
    EXPECT_STREQ(L"/a/c/d.txt", buf);
    EXPECT_STREQ(L"d.txt", part);
    GetFullPathNameW(L"\\x\\y\\", MAX_PATH, buf, &part);
    EXPECT_STREQ(L"/x/y/", buf);
    EXPECT_EQ(nullptr, part);
    wchar_t cwd[MAX_PATH];
    const DWORD n = GetCurrentDirectoryW(MAX_PATH, cwd);
    GetFullPathNameW(L"rel.txt", MAX_PATH, buf, nullptr);
    EXPECT_EQ(std::wstring(cwd, n) + L"/rel.txt", buf);
    EXPECT_EQ(12u, GetFullPathNameW(L"/abcdefghij", 4, buf, nullptr));
}

TEST(FilesTest, TempFileNamesAreUniqueAndCreated)
{
    CTestDir dir;
    wchar_t name[MAX_PATH];
    std::set<std::wstring> seen;
    for (int i = 0; i < 20; ++i)
    {
        const UINT n = GetTempFileNameW(dir.WPath().c_str(), L"Quendrel_LOG", 0, name);
        ASSERT_NE(0u, n);
        const std::filesystem::path p(name);
        EXPECT_EQ(dir.Path(), p.parent_path());
        EXPECT_EQ(11u, p.filename().string().size()); // "Que" + 4 hex digits + ".tmp"
        EXPECT_EQ("Que", p.filename().string().substr(0, 3));
        EXPECT_EQ(".tmp", p.extension().string());
        EXPECT_TRUE(std::filesystem::exists(p));
        EXPECT_EQ(0u, std::filesystem::file_size(p));
        EXPECT_TRUE(seen.insert(name).second);
    }
    EXPECT_EQ(0x1234u, GetTempFileNameW(dir.WPath().c_str(), L"ab", 0x1234, name));
    EXPECT_EQ(dir.WPath() + L"/ab1234.tmp", name);
    EXPECT_EQ(0u, GetTempFileNameW((dir.WPath() + L"/missing").c_str(), L"x", 0, name));
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), GetLastError());
    wchar_t tmp[MAX_PATH];
    const DWORD len = GetTempPathW(MAX_PATH, tmp);
    ASSERT_GT(len, 0u);
    EXPECT_EQ(L'/', tmp[len - 1]);
}

TEST(FilesTest, MoveCopyDeleteAndFolders)
{
    CTestDir dir;
    const auto a = dir.Path() / "a.txt", b = dir.Path() / "b.txt";
    Touch(a, "first");
    Touch(b, "second");
    EXPECT_FALSE(MoveFileW(a.wstring().c_str(), b.wstring().c_str()));
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError());
    EXPECT_FALSE(MoveFileExW(a.wstring().c_str(), b.wstring().c_str(), 0));
    EXPECT_TRUE(MoveFileExW(a.wstring().c_str(), b.wstring().c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ("first", Read(b));
    EXPECT_FALSE(std::filesystem::exists(a));

    EXPECT_TRUE(CopyFileW(b.wstring().c_str(), a.wstring().c_str(), TRUE));
    EXPECT_FALSE(CopyFileW(b.wstring().c_str(), a.wstring().c_str(), TRUE));
    EXPECT_EQ(DWORD(ERROR_FILE_EXISTS), GetLastError());
    Touch(b, "changed");
    EXPECT_TRUE(CopyFileW(b.wstring().c_str(), a.wstring().c_str(), FALSE));
    EXPECT_EQ("changed", Read(a));

    const std::wstring sub = dir.WPath() + L"/Sub";
    EXPECT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryW(sub.c_str(), nullptr));
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError());
    EXPECT_FALSE(CreateDirectoryW((dir.WPath() + L"/x/y").c_str(), nullptr));
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), GetLastError());
    Touch(dir.Path() / "Sub" / "f");
    EXPECT_FALSE(RemoveDirectoryW(sub.c_str()));
    EXPECT_EQ(DWORD(ERROR_DIR_NOT_EMPTY), GetLastError());
    EXPECT_FALSE(DeleteFileW(sub.c_str()));
    EXPECT_TRUE(DeleteFileW((dir.WPath() + L"/SUB/F").c_str()));
    EXPECT_TRUE(RemoveDirectoryW(sub.c_str()));
    EXPECT_FALSE(DeleteFileW(sub.c_str()));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
}

TEST(FilesTest, ModuleFileNames)
{
    wchar_t buf[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(L"platform_win32_tests", std::filesystem::path(buf).filename().wstring());

    HMODULE lib = Win32ModuleFromAddress(reinterpret_cast<const void*>(&GetModuleFileNameW));
    ASSERT_NE(nullptr, lib);
    ASSERT_GT(GetModuleFileNameW(lib, buf, MAX_PATH), 0u);
    EXPECT_EQ(L"libQyrWin32.so", std::filesystem::path(buf).filename().wstring());

    wchar_t tiny[5];
    EXPECT_EQ(5u, GetModuleFileNameW(nullptr, tiny, 5));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(L'\0', tiny[4]);
    int onTheStack = 0;
    EXPECT_EQ(nullptr, Win32ModuleFromAddress(&onTheStack));
}

TEST(FilesTest, DocumentsFolder)
{
    CTestDir dir;
    const std::string docs = (dir.Path() / "Docs").string();
    CScopedEnv env("XDG_DOCUMENTS_DIR", docs);
    EXPECT_EQ(dir.WPath() + L"/Docs", Win32GetDocumentsFolder());

    LPITEMIDLIST pidl = nullptr;
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &pidl));
    wchar_t path[MAX_PATH];
    EXPECT_TRUE(SHGetPathFromIDListW(pidl, path));
    EXPECT_EQ(dir.WPath() + L"/Docs", path);
    ILFree(pidl);

    EXPECT_TRUE(SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, TRUE));
    EXPECT_TRUE(std::filesystem::is_directory(docs));
    {
        CScopedEnv noDocs("XDG_DOCUMENTS_DIR", "");
        CScopedEnv home("HOME", dir.Path().string());
        EXPECT_EQ(dir.WPath() + L"/Documents", Win32GetDocumentsFolder());
    }
    EXPECT_EQ(E_INVALIDARG, SHGetSpecialFolderLocation(nullptr, 0x7777, &pidl));
}
