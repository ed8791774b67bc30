#include "mfc/File.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{
class FileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/qyrfileXXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    CString Path(const char* rel) const { return CString::FromUtf8(m_dir + "/" + rel); }
    void Put(const char* rel, const std::string& bytes) const
    {
        std::filesystem::create_directories(std::filesystem::path(m_dir + "/" + rel).parent_path());
        std::ofstream(m_dir + "/" + rel, std::ios::binary) << bytes;
    }
    std::string Get(const char* rel) const
    {
        std::ifstream in(m_dir + "/" + rel, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string m_dir;
};
} // namespace

TEST_F(FileTest, ReadWriteSeekAndLength)
{
    CFile f;
    ASSERT_TRUE(f.Open(Path("data.bin"), CFile::modeCreate | CFile::modeReadWrite));
    EXPECT_EQ(f.GetFilePath(), Path("data.bin"));
    EXPECT_EQ(f.GetFileName(), L"data.bin");
    EXPECT_EQ(f.GetFileTitle(), L"data");
    f.Write("hello world", 11);
    EXPECT_EQ(f.GetLength(), 11u);
    EXPECT_EQ(f.GetPosition(), 11u);
    EXPECT_EQ(f.Seek(-5, CFile::end), 6u);
    char buf[16] = {};
    EXPECT_EQ(f.Read(buf, sizeof(buf)), 5u);
    EXPECT_STREQ(buf, "world");
    EXPECT_EQ(f.Read(buf, sizeof(buf)), 0u);
    f.SeekToBegin();
    f.Seek(2, CFile::current);
    EXPECT_EQ(f.GetPosition(), 2u);
    f.SetLength(4);
    EXPECT_EQ(f.SeekToEnd(), 4u);
    try
    {
        f.Seek(-10, CFile::begin);
        ADD_FAILURE() << "seek before the start";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e->m_cause, CFileException::badSeek);
        e->Delete();
    }
    f.Close();
    EXPECT_EQ(Get("data.bin"), "hell");

    // modeNoTruncate keeps the content, modeCreate alone empties it.
    CFile keep(Path("data.bin"), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    EXPECT_EQ(keep.GetLength(), 4u);
    keep.Close();
    CFile empty(Path("data.bin"), CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(empty.GetLength(), 0u);
}

TEST_F(FileTest, OpenFailuresReportCauseAndName)
{
    struct Case
    {
        const char* rel;
        UINT flags;
        int cause;
    };
    Put("file.txt", "x");
    const Case cases[] = {
        {"missing.txt", CFile::modeRead, CFileException::fileNotFound},
        {"nofolder/new.txt", CFile::modeCreate | CFile::modeWrite, CFileException::fileNotFound},
        {"file.txt/below", CFile::modeRead, CFileException::badPath},
        {"", CFile::modeRead, CFileException::accessDenied},
    };
    for (const Case& c : cases)
    {
        CFile f;
        CFileException e(CFileException::none);
        e.m_bAutoDelete = FALSE;
        const CString path = *c.rel ? Path(c.rel) : CString::FromUtf8(m_dir);
        EXPECT_FALSE(f.Open(path, c.flags, &e)) << c.rel;
        EXPECT_EQ(e.m_cause, c.cause) << c.rel;
        EXPECT_EQ(e.m_strFileName, path);
        EXPECT_FALSE(e.ReportError().IsEmpty());
    }
    try
    {
        CFile f(Path("missing.txt"), CFile::modeRead);
        ADD_FAILURE() << "no exception";
    }
    catch (CException* e)
    {
        ASSERT_TRUE(e->IsKindOf(RUNTIME_CLASS(CFileException)));
        EXPECT_EQ(static_cast<CFileException*>(e)->m_cause, CFileException::fileNotFound);
        wchar_t text[256];
        EXPECT_TRUE(e->GetErrorMessage(text, 256));
        EXPECT_NE(std::wcsstr(text, L"missing.txt"), nullptr);
        e->Delete();
    }
}

TEST_F(FileTest, PathsResolveWithoutRegardToCase)
{
    Put("Plant1/XdgFiles/Main.xdg", "screen");
    const std::string base = m_dir;
    struct Case
    {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {base + "/plant1/xdgfiles/main.xdg", base + "/Plant1/XdgFiles/Main.xdg"},
        {base + "\\PLANT1\\xdgFILES\\MAIN.XDG", base + "/Plant1/XdgFiles/Main.xdg"},
        {base + "/Plant1/XdgFiles/Main.xdg", base + "/Plant1/XdgFiles/Main.xdg"},
        // Components that match nothing stay as written.
        {base + "/plant1/newdir/New.xdg", base + "/Plant1/newdir/New.xdg"},
        {base + "/plant1/./xdgfiles/../XDGFILES/", base + "/Plant1/./XdgFiles/../XdgFiles/"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AfxResolvePathCase(CString::FromUtf8(c.in)).ToUtf8(), c.out) << c.in;

    CFile f;
    ASSERT_TRUE(f.Open(Path("plant1/xdgfiles/main.xdg"), CFile::modeRead));
    EXPECT_EQ(f.GetFilePath(), Path("Plant1/XdgFiles/Main.xdg"));
    f.Close();
    // A new file in a lower-cased folder lands in the existing folder.
    CFile n(Path("PLANT1/xdgfiles/added.xdg"), CFile::modeCreate | CFile::modeWrite);
    n.Write("a", 1);
    n.Close();
    EXPECT_EQ(Get("Plant1/XdgFiles/added.xdg"), "a");
    // And writing a name that exists in another case replaces that file.
    CFile w(Path("plant1/xdgfiles/MAIN.XDG"), CFile::modeCreate | CFile::modeWrite);
    w.Write("new", 3);
    w.Close();
    EXPECT_EQ(Get("Plant1/XdgFiles/Main.xdg"), "new");

    CFileStatus st;
    ASSERT_TRUE(CFile::GetStatus(Path("PLANT1/XDGFILES/MAIN.XDG"), st));
    EXPECT_EQ(st.m_size, 3u);
    EXPECT_FALSE(st.m_attribute & CFile::directory);
    ASSERT_TRUE(CFile::GetStatus(Path("plant1"), st));
    EXPECT_TRUE(st.m_attribute & CFile::directory);
    EXPECT_FALSE(CFile::GetStatus(Path("nothing"), st));
}

TEST_F(FileTest, RemoveAndRename)
{
    Put("a.txt", "a");
    Put("b.txt", "b");
    try
    {
        CFile::Rename(Path("a.txt"), Path("B.TXT"));
        ADD_FAILURE() << "rename over an existing file";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e->m_cause, CFileException::accessDenied);
        e->Delete();
    }
    CFile::Rename(Path("A.TXT"), Path("c.txt"));
    EXPECT_EQ(Get("c.txt"), "a");
    // A change of case only is allowed.
    CFile::Rename(Path("c.txt"), Path("C.txt"));
    EXPECT_EQ(Get("C.txt"), "a");
    CFile::Remove(Path("c.TXT"));
    EXPECT_FALSE(std::filesystem::exists(m_dir + "/C.txt"));
    try
    {
        CFile::Remove(Path("gone.txt"));
        ADD_FAILURE() << "removed a missing file";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        e->Delete();
    }
}

TEST_F(FileTest, StdioFileLinesInUtf8)
{
    {
        CStdioFile f(Path("lines.txt"), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        f.WriteString(L"Grüße\n");
        f.WriteString(L"\U0001F600 two\r\n");
        f.WriteString(L"\n");
        f.WriteString(L"last without end");
    }
    EXPECT_EQ(Get("lines.txt"), "Grüße\n\xF0\x9F\x98\x80 two\r\n\nlast without end");

    CStdioFile f;
    ASSERT_TRUE(f.Open(Path("LINES.TXT"), CFile::modeRead | CFile::typeText));
    CString line;
    const wchar_t* expected[] = {L"Grüße", L"\U0001F600 two", L"", L"last without end"};
    for (const wchar_t* e : expected)
    {
        ASSERT_TRUE(f.ReadString(line));
        EXPECT_EQ(line, e);
    }
    EXPECT_FALSE(f.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());

    // The buffer form keeps the line feed and stops when the buffer is full.
    f.SeekToBegin();
    wchar_t buf[4];
    ASSERT_NE(f.ReadString(buf, 4), nullptr);
    EXPECT_STREQ(buf, L"Grü");
    ASSERT_NE(f.ReadString(buf, 4), nullptr);
    EXPECT_STREQ(buf, L"ße\n");
    ASSERT_NE(f.ReadString(buf, 4), nullptr);
    EXPECT_STREQ(buf, L"\U0001F600 t");
    f.Seek(-5, CFile::end);
    ASSERT_NE(f.ReadString(buf, 4), nullptr);
    EXPECT_STREQ(buf, L"t e");
    ASSERT_NE(f.ReadString(buf, 4), nullptr);
    EXPECT_STREQ(buf, L"nd");
    EXPECT_EQ(f.ReadString(buf, 4), nullptr);
    f.Close();

    // Binary mode keeps the CR; raw reads see the bytes.
    CStdioFile b(Path("lines.txt"), CFile::modeRead | CFile::typeBinary);
    ASSERT_TRUE(b.ReadString(line));
    ASSERT_TRUE(b.ReadString(line));
    EXPECT_EQ(line, L"\U0001F600 two\r");
    char raw[3] = {};
    EXPECT_EQ(b.Read(raw, 2), 2u);
    EXPECT_STREQ(raw, "\nl");
    EXPECT_EQ(b.GetLength(), 35u);
}

TEST_F(FileTest, StdioFileReadsLongLinesAndBadBytes)
{
    std::string text(10000, 'x');
    text += "\na\xFF";
    text += "b\xC3\n";
    Put("long.txt", text);
    CStdioFile f(Path("long.txt"), CFile::modeRead);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line.GetLength(), 10000);
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, L"a\uFFFDb\uFFFD");
    EXPECT_FALSE(f.ReadString(line));
}

TEST_F(FileTest, MemFileGrowsAttachesAndDetaches)
{
    CMemFile m(16);
    m.Write("abc", 3);
    m.Seek(10, CFile::begin);
    m.Write("z", 1);
    EXPECT_EQ(m.GetLength(), 11u);
    m.SeekToBegin();
    char buf[16] = {};
    EXPECT_EQ(m.Read(buf, 16), 11u);
    EXPECT_EQ(std::string(buf, 11), std::string("abc\0\0\0\0\0\0\0z", 11));
    std::string big(5000, 'q');
    m.Write(big.data(), UINT(big.size()));
    EXPECT_EQ(m.GetLength(), 5011u);
    m.SetLength(2);
    EXPECT_EQ(m.GetPosition(), 2u);
    const ULONGLONG len = m.GetLength();
    BYTE* p = m.Detach();
    EXPECT_EQ(len, 2u);
    EXPECT_EQ(std::memcmp(p, "ab", 2), 0);
    std::free(p);
    EXPECT_EQ(m.GetLength(), 0u);

    // A fixed buffer is the file; it cannot grow.
    BYTE fixed[4] = {'w', 'x', 'y', 'z'};
    CMemFile f(fixed, 4);
    EXPECT_EQ(f.GetLength(), 4u);
    f.Seek(2, CFile::begin);
    f.Write("YZ", 2);
    EXPECT_EQ(fixed[3], 'Z');
    try
    {
        f.Write("!", 1);
        ADD_FAILURE() << "a fixed buffer grew";
    }
    catch (CMemoryException* e)
    {
        e->Delete();
    }
    // A buffer attached with a grow size starts empty and moves to a block of its own when full.
    BYTE small[2];
    CMemFile g(small, 2, 8);
    EXPECT_EQ(g.GetLength(), 0u);
    g.Write("12345", 5);
    EXPECT_EQ(g.GetLength(), 5u);
    try
    {
        g.Seek(-1, CFile::begin);
        ADD_FAILURE() << "seek before the start";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e->m_cause, CFileException::badSeek);
        e->Delete();
    }
}
