#include "BufferText.h"

#include "scripteditor/ScriptTextBuffer.h"

#include "mfc/Exceptions.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace
{
std::wstring Text(const CScriptTextBuffer& b)
{
    return BufferText(b);
}

std::wstring Line(const CScriptTextBuffer& b, int i)
{
    return std::wstring(b.GetLineChars(i), size_t(b.GetLineLength(i)));
}

void Set(CScriptTextBuffer& b, const std::wstring& text)
{
    LoadText(b, text);
}

struct CRecorder : CScriptBufferClient
{
    std::vector<DWORD> hints;
    std::vector<std::pair<int, std::wstring>> ops;
    void UpdateView(CScriptBufferClient*, CUpdateContext*, DWORD dw, int) override { hints.push_back(dw); }
    void OnEditOperation(int nAction, LPCWSTR psz) override { ops.emplace_back(nAction, psz); }
};

class TempDir
{
public:
    QTemporaryDir dir;
    std::wstring Path(const char* name) const { return QDir(dir.path()).filePath(name).toStdWString(); }
    void Write(const char* name, const std::string& bytes) const
    {
        QFile f(QString::fromStdWString(Path(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    std::string Read(const char* name) const
    {
        QFile f(QString::fromStdWString(Path(name)));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll().toStdString();
    }
};

std::string Utf16(const std::u16string& s, bool bigEndian = false)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : s)
    {
        const char lo = char(c & 0xFF), hi = char(c >> 8);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}
} // namespace

TEST(ScriptTextBuffer, InsertSplitsAtCarriageReturnsOnly)
{
    struct Case
    {
        std::wstring text;
        std::wstring expect; // lines joined with "|"
        int endLine, endChar;
    } cases[] = {
        {L"x\r\ny", L"ax|yb", 1, 1},    // CRLF: one break
        {L"x\ry", L"ax|yb", 1, 1},      // CR alone breaks too
        {L"x\ny", L"ax\nyb", 0, 4},     // a bare LF stays inside its line
        {L"x\r\n\r\n", L"ax||b", 2, 0}, // trailing break: an empty last piece
        {L"\n\r", L"a\n|b", 1, 0},      // LF then CR: the CR breaks, the LF stays
        {L"", L"ab", 0, 1},
    };
    for (const Case& k : cases)
    {
        CScriptTextBuffer b;
        Set(b, L"ab");
        int l = -1, c = -1;
        ASSERT_TRUE(b.InsertText(nullptr, 0, 1, k.text, l, c));
        EXPECT_EQ(Text(b), k.expect);
        EXPECT_EQ(l, k.endLine);
        EXPECT_EQ(c, k.endChar) << "end point is taken before the kept tail";
    }
}

TEST(ScriptTextBuffer, EndOfTextAndRefusedPoints)
{
    CScriptTextBuffer b;
    Set(b, L"one\r\ntwo");
    int l = 0, c = 0;
    ASSERT_TRUE(b.InsertText(nullptr, -1, -1, L"!", l, c));
    EXPECT_EQ(Text(b), L"one|two!");
    EXPECT_EQ(b.GetUndoRecord(b.GetUndoRecordCount() - 1).m_ptStartPos, CPoint(3, 1));
    const int n = b.GetUndoRecordCount();
    EXPECT_FALSE(b.InsertText(nullptr, 2, 0, L"x", l, c));
    EXPECT_FALSE(b.InsertText(nullptr, 0, 4, L"x", l, c));
    EXPECT_FALSE(b.InsertText(nullptr, -1, 0, L"x", l, c));
    EXPECT_FALSE(b.DeleteText(nullptr, 0, 2, 0, 1));
    EXPECT_FALSE(b.DeleteText(nullptr, 0, 0, 5, 0));
    EXPECT_EQ(b.GetUndoRecordCount(), n);
    bool thrown = false;
    try
    {
        b.GetLineLength(9);
    }
    catch (CInvalidArgException* e)
    {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(ScriptTextBuffer, DeleteAcrossLinesAndContexts)
{
    CScriptTextBuffer b;
    Set(b, L"abc\r\ndef\r\nghi");
    ASSERT_TRUE(b.DeleteText(nullptr, 0, 1, 2, 1));
    EXPECT_EQ(Text(b), L"ahi");
    CPoint cursor;
    ASSERT_TRUE(b.Undo(cursor));
    EXPECT_EQ(Text(b), L"abc|def|ghi");
    EXPECT_EQ(cursor, CPoint(1, 2));

    CDeleteContext del;
    del.m_ptStart = CPoint(1, 0);
    del.m_ptEnd = CPoint(1, 2);
    CInsertContext ins;
    ins.m_ptStart = CPoint(1, 0);
    ins.m_ptEnd = CPoint(2, 2);
    struct
    {
        CUpdateContext* ctx;
        CPoint in, out;
    } moves[] = {
        {&del, {5, 3}, {5, 1}}, {&del, {2, 2}, {2, 0}}, {&del, {0, 1}, {1, 0}}, {&del, {3, 0}, {1, 0}},
        {&del, {0, 0}, {0, 0}}, {&ins, {1, 0}, {1, 0}}, {&ins, {3, 0}, {4, 2}}, {&ins, {0, 1}, {0, 3}},
    };
    for (auto& m : moves)
    {
        CPoint p = m.in;
        m.ctx->RecalcPoint(p);
        EXPECT_EQ(p, m.out) << m.in.x << "," << m.in.y;
    }
}

TEST(ScriptTextBuffer, TypedRunsMergeAndABlankStartsAGroup)
{
    CScriptTextBuffer b;
    Set(b, L"");
    int l = 0, c = 0, pos = 0;
    for (wchar_t ch : std::wstring(L"ab cd"))
    {
        b.OpenUndoGroup(ch != L' ');
        b.InsertText(nullptr, 0, pos++, std::wstring(1, ch), l, c, 4);
        b.CloseUndoGroup(nullptr);
    }
    CPoint cur;
    b.Undo(cur);
    EXPECT_EQ(Text(b), L"ab");
    b.Undo(cur);
    EXPECT_EQ(Text(b), L"");
    EXPECT_FALSE(b.CanUndo());
    b.Redo(cur);
    EXPECT_EQ(Text(b), L"ab");
    EXPECT_EQ(cur, CPoint(2, 0));
    CString desc;
    EXPECT_TRUE(b.GetRedoDescription(desc));
    EXPECT_EQ(desc, CString(L"Code Changed"));
}

TEST(ScriptTextBuffer, RecordLimitDropsTheOldestWholeGroup)
{
    CScriptTextBuffer b;
    Set(b, L"");
    int l = 0, c = 0;
    // A first group of three records, then single-record groups up to the limit.
    b.OpenUndoGroup(FALSE);
    for (int i = 0; i < 3; ++i)
        b.InsertText(nullptr, 0, 0, L"g", l, c);
    b.CloseUndoGroup(nullptr);
    while (b.GetUndoRecordCount() < CScriptTextBuffer::UNDO_BUF_SIZE)
        b.InsertText(nullptr, 0, 0, L"s", l, c);
    EXPECT_EQ(b.GetUndoRecord(0).m_text, L"g");
    b.InsertText(nullptr, 0, 0, L"n", l, c); // the 1025th
    EXPECT_EQ(b.GetUndoRecordCount(), CScriptTextBuffer::UNDO_BUF_SIZE - 3 + 1);
    EXPECT_EQ(b.GetUndoRecord(0).m_text, L"s");
    EXPECT_TRUE(b.GetUndoRecord(0).m_dwFlags & UNDO_BEGINGROUP);
    CPoint cur;
    while (b.CanUndo())
        b.Undo(cur);
    EXPECT_EQ(Text(b), L"ggg");
}

TEST(ScriptTextBuffer, BlockEditOverTheLimitUndoesWhole)
{
    CScriptTextBuffer b;
    std::wstring text;
    for (int i = 0; i < 2000; ++i)
        text += L"line\r\n";
    Set(b, text);
    int l = 0, c = 0;
    b.InsertText(nullptr, 0, 0, L"x", l, c); // an older step that may go
    b.OpenUndoGroup(FALSE);
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE(b.InsertText(nullptr, i, 0, L"\t", l, c, 6));
    b.CloseUndoGroup(nullptr);
    EXPECT_EQ(Line(b, 1999), L"\tline");
    CPoint cur;
    ASSERT_TRUE(b.Undo(cur));
    EXPECT_EQ(Line(b, 0), L"xline");
    EXPECT_EQ(Line(b, 1999), L"line");
    EXPECT_EQ(b.GetUndoPosition(), 0);
    EXPECT_FALSE(b.Undo(cur));
    ASSERT_TRUE(b.Redo(cur));
    EXPECT_EQ(Line(b, 1000), L"\tline");
}

TEST(ScriptTextBuffer, ModifiedFlagFollowsTheSavedState)
{
    TempDir tmp;
    const std::wstring path = tmp.Path("a.uscp");
    CScriptTextBuffer b;
    b.InitEmpty();
    int l = 0, c = 0;
    b.InsertText(nullptr, 0, 0, L"a", l, c);
    EXPECT_TRUE(b.IsModified());
    ASSERT_TRUE(b.SaveFile(path.c_str()));
    EXPECT_FALSE(b.IsModified());
    CPoint cur;
    b.Undo(cur);
    EXPECT_TRUE(b.IsModified());
    b.Redo(cur);
    EXPECT_FALSE(b.IsModified());

    // The saved state sits in a redo tail that a new edit cuts: nothing matches the file any more.
    b.Undo(cur);
    b.InsertText(nullptr, 0, 0, L"b", l, c);
    b.Undo(cur);
    EXPECT_TRUE(b.IsModified()) << "text is empty, file holds \"a\"";
    EXPECT_EQ(b.GetSavedPosition(), -1);

    // The saved state dropped with the oldest group; a state after it moves down with the history.
    for (const bool savedFirst : {true, false})
    {
        CScriptTextBuffer d;
        d.InitEmpty();
        if (savedFirst)
            ASSERT_TRUE(d.SaveFile(path.c_str()));
        d.InsertText(nullptr, 0, 0, L"z", l, c);
        if (!savedFirst)
            ASSERT_TRUE(d.SaveFile(path.c_str()));
        for (int i = 0; i < CScriptTextBuffer::UNDO_BUF_SIZE; ++i)
            d.InsertText(nullptr, 0, 0, L"y", l, c);
        while (d.CanUndo())
            d.Undo(cur);
        EXPECT_EQ(Text(d), L"z");
        EXPECT_EQ(bool(d.IsModified()), savedFirst);
    }
}

TEST(ScriptTextBuffer, ReadOnlyRefusesEveryChange)
{
    TempDir tmp;
    tmp.Write("ro.uscp", Utf16(u"abc"));
    QFile::setPermissions(QString::fromStdWString(tmp.Path("ro.uscp")), QFile::ReadOwner);
    CScriptTextBuffer b;
    ASSERT_TRUE(b.LoadFile(tmp.Path("ro.uscp").c_str()));
    if (!b.IsReadOnly())
        GTEST_SKIP() << "running with rights that ignore the read-only attribute";
    int l = 0, c = 0;
    EXPECT_FALSE(b.InsertText(nullptr, 0, 0, L"x", l, c));
    EXPECT_FALSE(b.DeleteText(nullptr, 0, 0, 0, 1));
    EXPECT_EQ(b.GetUndoRecordCount(), 0);
}

TEST(ScriptTextBuffer, LoadsMarksAndLineEndStyles)
{
    TempDir tmp;
    struct Case
    {
        std::string bytes;
        BOOL ok;
        std::wstring text;
        int style;
    } cases[] = {
        {Utf16(u"a\r\nb\r\n"), TRUE, L"a|b|", 0},
        {Utf16(u"a\n\rb"), TRUE, L"a|b", 1},
        {Utf16(u"a\nb\n"), TRUE, L"a|b|", 2},
        {Utf16(u"a\rb"), TRUE, L"a\rb", 0},        // CR alone: one line
        {Utf16(u"a\r\nb\nc"), TRUE, L"a|b\nc", 0}, // bare LF inside a CRLF file
        {Utf16(u""), TRUE, L"", 0},
        {Utf16(u"x\r\ny", true), TRUE, L"x|y", 0}, // FE FF: big-endian
        {Utf16(u"\xD83D\xDE00!"), TRUE, L"\U0001F600!", 0},
        {std::string("\xFF\xFE"
                     "a\0b",
                     5),
         TRUE, L"a", 0}, // odd length: the half unit is dropped
        {std::string("\xEF\xBB\xBF"
                     "abc"),
         FALSE, L"", 0},
        {std::string("\0\0\xFE\xFF", 4), FALSE, L"", 0},
        {"plain text", FALSE, L"", 0},
        {"", FALSE, L"", 0},
    };
    for (const Case& k : cases)
    {
        tmp.Write("f.uscp", k.bytes);
        CScriptTextBuffer b;
        EXPECT_EQ(b.LoadFile(tmp.Path("f.uscp").c_str()), k.ok);
        if (!k.ok)
            continue;
        EXPECT_EQ(Text(b), k.text);
        EXPECT_EQ(b.GetCRLFMode(), k.style);
        EXPECT_FALSE(b.IsModified());
    }
    CScriptTextBuffer missing;
    EXPECT_FALSE(missing.LoadFile(tmp.Path("nothing.uscp").c_str()));

    // More than one block, and a long line with U+0000 inside.
    std::u16string big(40000, u'q');
    big[5] = u'\0';
    tmp.Write("big.uscp", Utf16(big + u"\r\nz"));
    CScriptTextBuffer b;
    ASSERT_TRUE(b.LoadFile(tmp.Path("big.uscp").c_str()));
    EXPECT_EQ(b.GetLineLength(0), 40000);
    EXPECT_EQ(b.GetLineChars(0)[5], L'\0');
    ASSERT_TRUE(b.DeleteText(nullptr, 0, 4, 0, 6));
    CPoint cur;
    b.Undo(cur);
    EXPECT_EQ(b.GetLineChars(0)[5], L'\0') << "undo restores a deleted U+0000";
}

TEST(ScriptTextBuffer, SavesEachStyleOverTheTarget)
{
    TempDir tmp;
    const std::wstring path = tmp.Path("s.uscp");
    tmp.Write("s.uscp", "old");
    const std::string expect[] = {Utf16(u"a\r\n\xD83D\xDE00"), Utf16(u"a\n\r\xD83D\xDE00"),
                                  Utf16(u"a\n\xD83D\xDE00")};
    for (int style = 0; style < 3; ++style)
    {
        CScriptTextBuffer b;
        Set(b, L"a\r\n\U0001F600");
        ASSERT_TRUE(b.SaveFile(path.c_str(), style));
        EXPECT_EQ(tmp.Read("s.uscp"), expect[style]);
        CScriptTextBuffer back;
        ASSERT_TRUE(back.LoadFile(path.c_str()));
        EXPECT_EQ(back.GetCRLFMode(), style);
        EXPECT_EQ(Text(back), L"a|\U0001F600");
    }
    EXPECT_EQ(QDir(tmp.dir.path()).entryList(QDir::Files).size(), 1) << "no temporary file left";
    // A folder that does not exist: FALSE, nothing written.
    CScriptTextBuffer b;
    Set(b, L"x");
    EXPECT_FALSE(b.SaveFile(tmp.Path("no/such/x.uscp").c_str()));
}

TEST(ScriptTextBuffer, LineFlagsAndMarkedLines)
{
    CScriptTextBuffer b;
    Set(b, L"0\r\n1\r\n2\r\n3");
    CRecorder rec;
    b.AttachView(&rec);
    b.SetLineFlag(1, LF_BOOKMARK(3), TRUE, TRUE);
    b.SetLineFlag(2, LF_BOOKMARK(3), TRUE, TRUE); // takes it from line 1
    EXPECT_EQ(b.GetLineFlags(1), 0u);
    EXPECT_EQ(b.FindFlaggedLine(LF_BOOKMARK(3)), 2);
    EXPECT_EQ(rec.hints.size(), 3u);
    EXPECT_EQ(rec.hints.back(), DWORD(UPD_ONE_LINE | UPD_FLAGS_ONLY));
    b.SetLineFlag(-1, LF_BOOKMARK(3), FALSE, TRUE); // line -1: the line that has it
    EXPECT_EQ(b.FindFlaggedLine(LF_BOOKMARK(3)), -1);
    b.SetLineFlag(0, 0x3, TRUE, FALSE); // not one bit: nothing
    EXPECT_EQ(b.GetLineFlags(0), 0u);
    EXPECT_EQ(b.FindFlaggedLine(0x3), -1);

    b.SetLineFlag(0, LF_BOOKMARKS, TRUE, FALSE);
    b.SetLineFlag(2, LF_BOOKMARKS, TRUE, FALSE);
    EXPECT_EQ(b.FindNextMarkedLine(0), 2);
    EXPECT_EQ(b.FindNextMarkedLine(2), 0); // wraps
    EXPECT_EQ(b.FindNextMarkedLine(1), 2);
    EXPECT_EQ(b.FindPrevMarkedLine(0), 2);
    EXPECT_EQ(b.FindPrevMarkedLine(3), 2);
    b.DetachView(&rec);
}

TEST(ScriptTextBuffer, CloseTellsTheSourceItsLastRecord)
{
    CScriptTextBuffer b;
    Set(b, L"ab");
    CRecorder view;
    b.AttachView(&view);
    int l = 0, c = 0;
    b.InsertText(&view, 0, 1, L"\r\n", l, c, 4);
    ASSERT_EQ(view.ops.size(), 1u);
    EXPECT_EQ(view.ops[0], (std::pair<int, std::wstring>(4, L"\r\n")));
    EXPECT_EQ(view.hints.back(), DWORD(UPD_LINE_LENGTH | UPD_LINE_COUNT));
    EXPECT_EQ(b.GetLineWidthInBytes(1), 1);
    b.InsertText(&view, 1, 0, L"\u00e9", l, c, 4);
    EXPECT_EQ(b.GetLineWidthInBytes(1), 3);
    EXPECT_EQ(view.hints.back(), DWORD(UPD_ONE_LINE | UPD_LINE_LENGTH));
    b.DetachView(&view);
}
