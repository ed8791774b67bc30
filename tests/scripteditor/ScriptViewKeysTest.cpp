// The script view driven by keys: caret commands, typing, indentation, blocks and comment prefixes.
#include "ScriptViewSupport.h"

#include <QFile>

namespace
{
const std::wstring kSample = L"    alpha beta\r\n\tgamma(delta);\r\n\r\nx\r\nlong line here";

struct KeyCase
{
    const char* name;
    CPoint start;
    CPoint selFrom; // equal to start: no selection
    int key;
    Qt::KeyboardModifiers mods;
    CPoint caret;
    CPoint selStart, selEnd;
};
} // namespace

TEST_F(ScriptViewTest, CaretCommandsFromTheirKeys)
{
    CScriptTextBuffer& buf = NewBuffer();
    SetText(buf, kSample);
    CTestEditView* v = MakeView(buf);
    const auto S = Qt::ShiftModifier;
    const auto C = Qt::ControlModifier;
    const auto N = Qt::NoModifier;
    const KeyCase cases[] = {
        {"left", {5, 0}, {5, 0}, Qt::Key_Left, N, {4, 0}, {4, 0}, {4, 0}},
        {"left wraps", {0, 1}, {0, 1}, Qt::Key_Left, N, {14, 0}, {14, 0}, {14, 0}},
        {"shift left", {5, 0}, {5, 0}, Qt::Key_Left, S, {4, 0}, {4, 0}, {5, 0}},
        {"left ends a selection at its start", {9, 0}, {4, 0}, Qt::Key_Left, N, {4, 0}, {4, 0}, {4, 0}},
        {"right wraps", {14, 0}, {14, 0}, Qt::Key_Right, N, {0, 1}, {0, 1}, {0, 1}},
        {"right ends a selection at its end", {4, 0}, {9, 0}, Qt::Key_Right, N, {9, 0}, {9, 0}, {9, 0}},
        {"shift right at the end of the text", {14, 4}, {14, 4}, Qt::Key_Right, S, {14, 4}, {14, 4}, {14, 4}},
        {"word left", {14, 0}, {14, 0}, Qt::Key_Left, C, {10, 0}, {10, 0}, {10, 0}},
        {"word left over punctuation", {13, 1}, {13, 1}, Qt::Key_Left, C, {12, 1}, {12, 1}, {12, 1}},
        {"word right", {4, 0}, {4, 0}, Qt::Key_Right, C, {10, 0}, {10, 0}, {10, 0}},
        {"shift word right", {4, 0}, {4, 0}, Qt::Key_Right, C | S, {10, 0}, {4, 0}, {10, 0}},
        {"word right at a line end", {14, 0}, {14, 0}, Qt::Key_Right, C, {0, 1}, {0, 1}, {0, 1}},
        {"up", {1, 3}, {1, 3}, Qt::Key_Up, N, {0, 2}, {0, 2}, {0, 2}},
        {"shift down", {1, 3}, {1, 3}, Qt::Key_Down, S, {1, 4}, {1, 3}, {1, 4}},
        {"end", {0, 0}, {0, 0}, Qt::Key_End, N, {14, 0}, {14, 0}, {14, 0}},
        {"shift end", {4, 0}, {4, 0}, Qt::Key_End, S, {14, 0}, {4, 0}, {14, 0}},
        {"home to the first non-blank", {10, 0}, {10, 0}, Qt::Key_Home, N, {4, 0}, {4, 0}, {4, 0}},
        {"home there goes to column 0", {4, 0}, {4, 0}, Qt::Key_Home, N, {0, 0}, {0, 0}, {0, 0}},
        {"home on a blank line", {0, 2}, {0, 2}, Qt::Key_Home, N, {0, 2}, {0, 2}, {0, 2}},
        {"shift home", {10, 0}, {10, 0}, Qt::Key_Home, S, {4, 0}, {4, 0}, {10, 0}},
        {"ctrl home", {3, 3}, {3, 3}, Qt::Key_Home, C, {0, 0}, {0, 0}, {0, 0}},
        {"ctrl shift home", {1, 3}, {1, 3}, Qt::Key_Home, C | S, {0, 0}, {0, 0}, {1, 3}},
        {"ctrl end", {0, 0}, {0, 0}, Qt::Key_End, C, {14, 4}, {14, 4}, {14, 4}},
        {"ctrl shift end", {0, 3}, {0, 3}, Qt::Key_End, C | S, {14, 4}, {0, 3}, {14, 4}},
    };
    for (const KeyCase& k : cases)
    {
        v->SetAnchor(k.selFrom);
        v->SetSelection(k.selFrom, k.start);
        v->SetCursorPos(k.start);
        Key(v, k.key, k.mods);
        CPoint s, e;
        v->GetSelection(s, e);
        EXPECT_TRUE(SamePoint(v->GetCursorPos(), k.caret))
            << k.name << ": caret " << v->GetCursorPos().x << "," << v->GetCursorPos().y;
        EXPECT_TRUE(SamePoint(s, k.selStart) && SamePoint(e, k.selEnd))
            << k.name << ": selection " << s.x << "," << s.y << " - " << e.x << "," << e.y;
    }
    EXPECT_EQ(Text(buf), L"    alpha beta|\tgamma(delta);||x|long line here") << "moving changes nothing";

    // Vertical moves keep the column they started from.
    v->SetAnchor(CPoint(12, 4));
    v->SetSelection(CPoint(12, 4), CPoint(12, 4));
    v->SetCursorPos(CPoint(12, 4));
    for (int key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down})
        Key(v, key);
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(12, 4)));

    // Ctrl+Down and Ctrl+Up scroll without moving the caret.
    Key(v, Qt::Key_Down, C);
    EXPECT_EQ(v->GetTopLine(), 1);
    Key(v, Qt::Key_Up, C);
    EXPECT_EQ(v->GetTopLine(), 0);
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(12, 4)));
}

TEST_F(ScriptViewTest, PagesScrollByScreenLinesLessOne)
{
    CScriptTextBuffer& buf = NewBuffer();
    std::wstring text;
    for (int i = 0; i < 200; ++i)
        text += L"line " + std::to_wstring(i) + L"\r\n";
    SetText(buf, text);
    CTestEditView* v = MakeView(buf);
    const int page = v->GetScreenLines() - 1;
    ASSERT_GT(page, 3);
    v->SetCursorPos(CPoint(2, 0));
    Key(v, Qt::Key_PageDown);
    EXPECT_EQ(v->GetTopLine(), page);
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(2, page)));
    Key(v, Qt::Key_PageDown, Qt::ShiftModifier);
    CPoint s, e;
    v->GetSelection(s, e);
    EXPECT_TRUE(SamePoint(s, CPoint(2, page)) && SamePoint(e, CPoint(2, 2 * page)));
    Key(v, Qt::Key_PageUp);
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(2, page)));
    EXPECT_EQ(v->GetTopLine(), page);

    // The scroll bar follows, and moving it moves the view.
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(v->GetScrollInfo(SB_VERT, &si));
    EXPECT_EQ(si.nMax, 200);
    EXPECT_EQ(si.nPos, page);
    v->SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(v->GetTopLine(), 201 - v->GetScreenLines());
}

TEST_F(ScriptViewTest, TypingIndentingAndUndoSteps)
{
    CScriptTextBuffer& buf = NewBuffer();
    SetText(buf, L"\t\tfoo");
    CTestEditView* v = MakeView(buf);
    v->SetCursorPos(CPoint(5, 0));
    v->SetAnchor(CPoint(5, 0));
    Type(v, QStringLiteral("\r"));
    EXPECT_EQ(Text(buf), L"\t\tfoo|\t\t") << "Enter copies the indentation";
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(2, 1)));
    Type(v, QStringLiteral("ab cd"));
    EXPECT_EQ(Text(buf), L"\t\tfoo|\t\tab cd");
    Key(v, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(buf), L"\t\tfoo|\t\tab") << "the blank started the second step";
    Key(v, Qt::Key_Z, Qt::ControlModifier);
    Key(v, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Text(buf), L"\t\tfoo|\t\tab");

    // Overwrite: characters replace, Enter only moves on any line but the last.
    v->SetCursorPos(CPoint(2, 0));
    v->SetAnchor(CPoint(2, 0));
    v->SetSelection(CPoint(2, 0), CPoint(2, 0));
    Key(v, Qt::Key_Insert);
    ASSERT_TRUE(v->GetOverwriteMode());
    Type(v, QStringLiteral("b"));
    EXPECT_EQ(Text(buf), L"\t\tboo|\t\tab");
    Type(v, QStringLiteral("\r"));
    EXPECT_EQ(Text(buf), L"\t\tboo|\t\tab");
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(0, 1)));
    Key(v, Qt::Key_Insert);

    // Backspace joins lines; at the very start it does nothing.
    Key(v, Qt::Key_Backspace);
    EXPECT_EQ(Text(buf), L"\t\tboo\t\tab");
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(5, 0)));
    v->SetCursorPos(CPoint(0, 0));
    Key(v, Qt::Key_Backspace);
    EXPECT_EQ(Text(buf), L"\t\tboo\t\tab");
    Key(v, Qt::Key_Delete);
    EXPECT_EQ(Text(buf), L"\tboo\t\tab");

    // Control characters other than Enter are not typed.
    Type(v, QString(QChar(7)));
    EXPECT_EQ(Text(buf), L"\tboo\t\tab");
}

TEST_F(ScriptViewTest, BlocksIndentUnindentAndCommentPrefixes)
{
    CScriptTextBuffer& buf = NewBuffer();
    SetText(buf, L"a\r\nbcdef\r\nc\r\n      d\r\ne");
    CTestEditView* v = MakeView(buf);
    // From the middle of line 1 to column 0 of line 4: lines 1 to 3.
    v->SetAnchor(CPoint(3, 1));
    v->SetSelection(CPoint(3, 1), CPoint(0, 4));
    v->SetCursorPos(CPoint(0, 4));
    Key(v, Qt::Key_Tab);
    EXPECT_EQ(Text(buf), L"a|\tbcdef|\tc|\t      d|e");
    CPoint s, e;
    v->GetSelection(s, e);
    EXPECT_TRUE(SamePoint(s, CPoint(0, 1)) && SamePoint(e, CPoint(0, 4))) << "whole lines selected";
    Key(v, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Text(buf), L"a|bcdef|c|      d|e");
    Key(v, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Text(buf), L"a|bcdef|c|  d|e") << "six blanks lose four";
    Key(v, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(buf), L"a|bcdef|c|      d|e") << "one step per block edit";

    // Comment prefixes: in over the block, out one "//" per line.
    v->SetAnchor(CPoint(3, 1));
    v->SetSelection(CPoint(3, 1), CPoint(0, 4));
    v->InsertLinePrefix(L"//");
    EXPECT_EQ(Text(buf), L"a|//bcdef|//c|//      d|e");
    int l = 0, c = 0;
    buf.InsertText(nullptr, 2, 2, L"/* x */", l, c);
    v->SetAnchor(CPoint(0, 1));
    v->SetSelection(CPoint(0, 1), CPoint(0, 4));
    v->RemoveLinePrefix();
    EXPECT_EQ(Text(buf), L"a|bcdef|/* x */c|      d|e");
    v->RemoveLinePrefix();
    EXPECT_EQ(Text(buf), L"a|bcdef|/* x */c|      d|e") << "a lone slash stays";
    // Without a block the caret line.
    v->SetSelection(CPoint(1, 0), CPoint(1, 0));
    v->SetCursorPos(CPoint(1, 0));
    v->InsertLinePrefix(L"//");
    EXPECT_EQ(Text(buf), L"a//|bcdef|/* x */c|      d|e");
    v->SetCursorPos(CPoint(0, 1));
    buf.InsertText(nullptr, 1, 0, L"//", l, c);
    v->RemoveLinePrefix();
    EXPECT_EQ(Text(buf), L"a//|bcdef|/* x */c|      d|e");

    // Tab without a block, and in overwrite mode only a move.
    v->SetCursorPos(CPoint(1, 1));
    v->SetSelection(CPoint(1, 1), CPoint(1, 1));
    Key(v, Qt::Key_Tab);
    EXPECT_EQ(Text(buf), L"a//|b\tcdef|/* x */c|      d|e");
    Key(v, Qt::Key_Insert);
    v->SetCursorPos(CPoint(0, 3));
    Key(v, Qt::Key_Tab);
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(4, 3)));
    Key(v, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(0, 3)));
}

TEST_F(ScriptViewTest, ReadOnlyAndDetachedViewsRefuseEdits)
{
    CScriptTextBuffer& none = NewBuffer();
    CTestEditView* v = MakeView(none);
    v->DetachFromBuffer();
    EXPECT_EQ(v->GetLineCount(), 1) << "no buffer: one empty line";
    EXPECT_EQ(v->GetLineLength(0), 0);
    Type(v, QStringLiteral("x"));
    Key(v, Qt::Key_Backspace);
    Key(v, Qt::Key_Tab);
    EXPECT_FALSE(v->QueryEditable());
}

TEST_F(ScriptViewTest, TenMegabyteLineLoadsAndPaints)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("huge.uscp");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        std::u16string line(5 * 1024 * 1024, u'a');
        for (size_t i = 1000; i < line.size(); i += 997)
            line[i] = (i / 997) % 3 == 0 ? u'\t' : (i / 997) % 3 == 1 ? u'(' : u'\0';
        f.write("\xFF\xFE", 2);
        f.write(reinterpret_cast<const char*>(line.data()), qint64(line.size() * 2));
        f.write("\r\0\n\0x\0", 6);
    }
    CScriptTextBuffer& buf = NewBuffer();
    ASSERT_TRUE(buf.LoadFile(path.toStdWString().c_str()));
    EXPECT_EQ(buf.GetLineCount(), 2);
    EXPECT_EQ(buf.GetLineLength(0), 5 * 1024 * 1024);
    CTestEditView* v = MakeView(buf);
    v->GetClientWidget()->repaint();
    Key(v, Qt::Key_End);
    v->GetClientWidget()->repaint();
    EXPECT_GT(v->GetOffsetChar(), 0);
    Type(v, QStringLiteral("z"));
    EXPECT_EQ(buf.GetLineLength(0), 5 * 1024 * 1024 + 1);
}
