// The one save and load path of whole files: the old file survives every failed save, no temporary
// is left behind, killed saves' leftovers go with the next save, and loads refuse what they cannot
// trust.
#include "mfc/Archive.h"
#include "mfc/DocFile.h"

#include "win32/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

// The pid of a process that has ended: a child that exits at once, reaped.
pid_t DeadPid()
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    int status = 0;
    waitpid(pid, &status, 0);
    return pid;
}

class DocFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/qyrdocfileXXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Native(const std::string& rel) const { return m_dir + "/" + rel; }
    CString Path(const std::string& rel) const { return CString::FromUtf8(Native(rel)); }
    void Put(const std::string& rel, const std::string& bytes) const
    {
        std::ofstream(Native(rel), std::ios::binary) << bytes;
    }
    std::string Get(const std::string& rel) const
    {
        std::ifstream in(Native(rel), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string m_dir;
};
} // namespace

TEST_F(DocFileTest, SaveReplacesTheTargetAndLeavesNothingBeside)
{
    Put("a.dat", "old");
    ASSERT_TRUE(AfxSaveArchiveFile(Path("a.dat"), [](CArchive& ar) { ar << int(7) << CString(L"x"); }));
    int n = 0;
    CString s;
    ASSERT_TRUE(AfxLoadArchiveFile(Path("a.dat"), [&](CArchive& ar) { ar >> n >> s; }));
    EXPECT_EQ(7, n);
    EXPECT_EQ(CString(L"x"), s);
    EXPECT_EQ(std::vector<std::string>{"a.dat"}, Files());
    // A Windows-shaped name with another case saves over the file that is there.
    ASSERT_TRUE(AfxSaveArchiveFile(Path("A.DAT"), [](CArchive& ar) { ar << int(8); }));
    EXPECT_EQ(std::vector<std::string>{"a.dat"}, Files());
}

TEST_F(DocFileTest, FailedSaveKeepsTheOldFileAndReportsTheTarget)
{
    Put("a.dat", "old bytes");
    CException* error = nullptr;
    EXPECT_FALSE(AfxSaveArchiveFile(
        Path("a.dat"),
        [](CArchive& ar)
        {
            ar << int(1);
            AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
        },
        &error));
    ASSERT_NE(nullptr, error);
    auto* ae = DYNAMIC_DOWNCAST(CArchiveException, error);
    ASSERT_NE(nullptr, ae);
    EXPECT_EQ(Path("a.dat"), ae->m_strFileName);
    error->Delete();
    EXPECT_EQ("old bytes", Get("a.dat"));
    EXPECT_EQ(std::vector<std::string>{"a.dat"}, Files());

    // A folder that does not exist: a file error naming the target, nothing created.
    EXPECT_FALSE(AfxSaveArchiveFile(
        Path("no/such.dat"), [](CArchive& ar) { ar << int(1); }, &error));
    auto* fe = DYNAMIC_DOWNCAST(CFileException, error);
    ASSERT_NE(nullptr, fe);
    EXPECT_EQ(Path("no/such.dat"), fe->m_strFileName);
    error->Delete();
    // Without ppError the error is simply dropped.
    EXPECT_FALSE(AfxSaveArchiveFile(Path("no/such.dat"), [](CArchive& ar) { ar << int(1); }));

    // The target is a folder: the rename fails and the temporary goes.
    fs::create_directory(Native("dir.dat"));
    Put("dir.dat/inside", "x");
    EXPECT_FALSE(AfxSaveArchiveFile(
        Path("dir.dat"), [](CArchive& ar) { ar << int(1); }, &error));
    ASSERT_NE(nullptr, DYNAMIC_DOWNCAST(CFileException, error));
    error->Delete();
    EXPECT_EQ((std::vector<std::string>{"a.dat", "dir.dat"}), Files());
}

TEST_F(DocFileTest, NextSaveRemovesTheTemporariesOfKilledSavesOnly)
{
    Put("a.dat", "old");
    // A save killed before its rename: the child writes its temporary and dies.
    const pid_t pid = fork();
    if (pid == 0)
    {
        std::ofstream(Win32SaveTempPath(Native("a.dat")), std::ios::binary) << "half";
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const std::string killed = "a.dat.~save" + std::to_string(pid);
    const std::string dead = "a.dat.~save" + std::to_string(DeadPid());
    const std::string live = "a.dat.~save" + std::to_string(getppid());
    const std::string other = "b.dat.~save" + std::to_string(DeadPid());
    const std::string notOne = "a.dat.~save12x";
    for (const std::string& name : {dead, live, other, notOne})
        Put(name, "left");
    ASSERT_TRUE(fs::exists(Native(killed)));

    ASSERT_TRUE(AfxSaveArchiveFile(Path("a.dat"), [](CArchive& ar) { ar << int(1); }));
    EXPECT_FALSE(fs::exists(Native(killed)));
    EXPECT_FALSE(fs::exists(Native(dead)));
    EXPECT_TRUE(fs::exists(Native(live))) << "a running save's temporary stays";
    EXPECT_TRUE(fs::exists(Native(other))) << "another file's temporaries are its own save's business";
    EXPECT_TRUE(fs::exists(Native(notOne)));
}

TEST_F(DocFileTest, LoadRefusesWhatItCannotTrust)
{
    CException* error = nullptr;
    bool called = false;
    auto loader = [&](CArchive& ar)
    {
        called = true;
        int n;
        ar >> n;
    };
    EXPECT_FALSE(AfxLoadArchiveFile(Path("missing.dat"), loader, 0, &error));
    auto* fe = DYNAMIC_DOWNCAST(CFileException, error);
    ASSERT_NE(nullptr, fe);
    EXPECT_EQ(CFileException::fileNotFound, fe->m_cause);
    error->Delete();

    Put("empty.dat", "");
    EXPECT_TRUE(AfxLoadArchiveFile(Path("empty.dat"), loader, afxLoadEmptyAsNothing));
    EXPECT_FALSE(called);
    EXPECT_FALSE(AfxLoadArchiveFile(Path("empty.dat"), loader, 0, &error));
    EXPECT_TRUE(called);
    ASSERT_NE(nullptr, DYNAMIC_DOWNCAST(CArchiveException, error));
    EXPECT_EQ(CArchiveException::endOfFile, static_cast<CArchiveException*>(error)->m_cause);
    error->Delete();

    Put("big.dat", std::string(100, 'x'));
    called = false;
    EXPECT_FALSE(AfxLoadArchiveFile(Path("big.dat"), loader, 0, nullptr, 99));
    EXPECT_FALSE(called);
    EXPECT_TRUE(AfxLoadArchiveFile(Path("big.dat"), loader, 0, nullptr, 100));
}
