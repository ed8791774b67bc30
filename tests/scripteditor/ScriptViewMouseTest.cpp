// The script view driven by the mouse: selection by characters, words and lines, autoscroll, text
// dragged within and between views, the clipboard, the look of a coloured script, page setup and
// printing.
#include "ScriptViewSupport.h"

#include "mfc/Clipboard.h"
#include "mfc/ModalHook.h"
#include "mfc/PageSetupDlg.h"
#include "support/ModalHook.h"

#include <QFile>
#include <QImage>
#include <QPixmap>

#include <cstring>

namespace
{
const std::wstring kSample = L"    alpha beta\r\n\tgamma(delta);\r\n\r\nx\r\nlong line here";

void ExpectSel(CScriptTextView* v, CPoint s0, CPoint e0, const char* what)
{
    CPoint s, e;
    v->GetSelection(s, e);
    EXPECT_TRUE(SamePoint(s, s0) && SamePoint(e, e0))
        << what << ": " << s.x << "," << s.y << " - " << e.x << "," << e.y;
}

std::string ClipboardBytes()
{
    std::string out;
    if (!OpenClipboard(nullptr))
        return out;
    if (HANDLE h = GetClipboardData(CF_TEXT))
        if (const auto* p = static_cast<const char*>(GlobalLock(h)))
        {
            out = p;
            GlobalUnlock(h);
        }
    CloseClipboard();
    return out;
}

// Runs the drag loop as a drop on a window at a text point.
class CDropAt
{
public:
    CDropAt(CWnd* pTarget, QPoint p, DWORD keys = 0)
        : m_old(AfxSetDragDropHook(
              [pTarget, p, keys](COleDataSource& src, DWORD allowed)
              { return AfxDragOverWindow(pTarget, CPoint(p.x(), p.y()), src, allowed, keys); }))
    {
    }
    ~CDropAt() { AfxSetDragDropHook(std::move(m_old)); }

private:
    AfxDragDropHookFn m_old;
};

// Presses inside the selection and moves: the drag starts.
void DragSelection(CScriptTextView* v, QPoint from)
{
    ScriptViewTest::Mouse(v, QEvent::MouseButtonPress, from);
    ScriptViewTest::Mouse(v, QEvent::MouseMove, from + QPoint(6, 0));
    ScriptViewTest::Mouse(v, QEvent::MouseButtonRelease, from + QPoint(6, 0), Qt::NoButton);
}
} // namespace

TEST_F(ScriptViewTest, MouseSelectsByCharacterWordAndLine)
{
    CScriptTextBuffer& buf = NewBuffer();
    SetText(buf, kSample);
    CTestEditView* v = MakeView(buf);

    Mouse(v, QEvent::MouseButtonPress, At(v, 4, 0));
    Mouse(v, QEvent::MouseMove, At(v, 7, 0));
    Mouse(v, QEvent::MouseMove, At(v, 9, 0));
    Mouse(v, QEvent::MouseButtonRelease, At(v, 9, 0), Qt::NoButton);
    ExpectSel(v, {4, 0}, {9, 0}, "characters");
    EXPECT_FALSE(v->IsMouseSelecting());

    Mouse(v, QEvent::MouseButtonPress, At(v, 2, 1), Qt::LeftButton, Qt::ControlModifier);
    Mouse(v, QEvent::MouseButtonRelease, At(v, 2, 1), Qt::NoButton, Qt::ControlModifier);
    ExpectSel(v, {1, 1}, {6, 1}, "ctrl click: the word");

    Mouse(v, QEvent::MouseButtonPress, At(v, 11, 0));
    Mouse(v, QEvent::MouseButtonRelease, At(v, 11, 0), Qt::NoButton);
    Mouse(v, QEvent::MouseButtonDblClick, At(v, 11, 0));
    Mouse(v, QEvent::MouseButtonRelease, At(v, 11, 0), Qt::NoButton);
    ExpectSel(v, {10, 0}, {14, 0}, "double click: the word");

    const int lh = v->GetLineHeight();
    Mouse(v, QEvent::MouseButtonPress, QPoint(5, lh + lh / 2));
    Mouse(v, QEvent::MouseButtonRelease, QPoint(5, lh + lh / 2), Qt::NoButton);
    ExpectSel(v, {0, 1}, {0, 2}, "margin: the line");
    Mouse(v, QEvent::MouseButtonPress, QPoint(5, lh / 2));
    Mouse(v, QEvent::MouseMove, QPoint(5, 3 * lh + lh / 2));
    Mouse(v, QEvent::MouseButtonRelease, QPoint(5, 3 * lh + lh / 2), Qt::NoButton);
    ExpectSel(v, {0, 0}, {0, 4}, "margin drag: whole lines");
    Mouse(v, QEvent::MouseButtonPress, QPoint(5, 4 * lh + lh / 2));
    Mouse(v, QEvent::MouseButtonRelease, QPoint(5, 4 * lh + lh / 2), Qt::NoButton);
    ExpectSel(v, {0, 4}, {14, 4}, "margin on the last line: to the end of the text");
    Mouse(v, QEvent::MouseButtonPress, QPoint(5, lh / 2), Qt::LeftButton, Qt::ControlModifier);
    ExpectSel(v, {0, 0}, {14, 4}, "ctrl in the margin: everything");
    Mouse(v, QEvent::MouseButtonRelease, QPoint(5, lh / 2), Qt::NoButton);

    // Shift extends from the anchor; the right button outside the selection moves the caret.
    Mouse(v, QEvent::MouseButtonPress, At(v, 1, 3));
    Mouse(v, QEvent::MouseButtonRelease, At(v, 1, 3), Qt::NoButton);
    Mouse(v, QEvent::MouseButtonPress, At(v, 4, 4), Qt::LeftButton, Qt::ShiftModifier);
    Mouse(v, QEvent::MouseButtonRelease, At(v, 4, 4), Qt::NoButton, Qt::ShiftModifier);
    ExpectSel(v, {1, 3}, {4, 4}, "shift click");
    v->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(At(v, 2, 0).x(), At(v, 2, 0).y()));
    ExpectSel(v, {2, 0}, {2, 0}, "right click outside");
}

TEST_F(ScriptViewTest, DraggingPastTheEdgeScrolls)
{
    CScriptTextBuffer& buf = NewBuffer();
    std::wstring text;
    for (int i = 0; i < 300; ++i)
        text += L"row " + std::to_wstring(i) + L"\r\n";
    SetText(buf, text);
    CTestEditView* v = MakeView(buf);
    CRect rc;
    v->GetClientRect(&rc);
    const int lh = v->GetLineHeight();
    Mouse(v, QEvent::MouseButtonPress, At(v, 1, 2));
    Mouse(v, QEvent::MouseMove, QPoint(200, rc.bottom + 2 * lh));
    v->SendMessage(WM_TIMER, SCRIPT_DRAG_TIMER, 0);
    EXPECT_EQ(v->GetTopLine(), 3) << "two line heights below: three lines a tick";
    Mouse(v, QEvent::MouseMove, QPoint(200, rc.bottom + lh / 2));
    v->SendMessage(WM_TIMER, SCRIPT_DRAG_TIMER, 0);
    EXPECT_EQ(v->GetTopLine(), 4);
    CPoint s, e;
    v->GetSelection(s, e);
    EXPECT_TRUE(SamePoint(s, CPoint(1, 2)));
    EXPECT_GE(e.y, v->GetTopLine() + v->GetScreenLines() - 1) << "the selection follows";
    // The real timer runs while the button is held.
    EXPECT_TRUE(PumpUntil([&] { return v->GetTopLine() > 4; }));
    Mouse(v, QEvent::MouseMove, QPoint(200, -2 * lh));
    const int top = v->GetTopLine();
    v->SendMessage(WM_TIMER, SCRIPT_DRAG_TIMER, 0);
    EXPECT_EQ(v->GetTopLine(), top - 3);
    Mouse(v, QEvent::MouseButtonRelease, QPoint(200, -2 * lh), Qt::NoButton);
    EXPECT_FALSE(v->IsMouseSelecting());
}

TEST_F(ScriptViewTest, SelectionDraggedMovesCopiesAndStaysOnItself)
{
    CScriptTextBuffer& buf = NewBuffer();
    SetText(buf, kSample);
    CTestEditView* v = MakeView(buf);
    auto selectAlpha = [&]
    {
        v->SetAnchor(CPoint(4, 0));
        v->SetSelection(CPoint(4, 0), CPoint(9, 0));
        v->SetCursorPos(CPoint(9, 0));
    };

    selectAlpha();
    {
        CDropAt drop(v, At(v, 0, 3));
        DragSelection(v, At(v, 6, 0));
    }
    EXPECT_EQ(Text(buf), L"     beta|\tgamma(delta);||alphax|long line here") << "moved";
    ExpectSel(v, {0, 3}, {5, 3}, "the dropped text is selected");
    Key(v, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(buf), L"    alpha beta|\tgamma(delta);||x|long line here") << "one undo restores";

    selectAlpha();
    {
        CDropAt drop(v, At(v, 7, 0));
        DragSelection(v, At(v, 6, 0));
    }
    EXPECT_EQ(Text(buf), L"    alpha beta|\tgamma(delta);||x|long line here") << "onto itself: nothing";
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(7, 0)));

    selectAlpha();
    {
        CDropAt drop(v, At(v, 1, 3), MK_CONTROL);
        DragSelection(v, At(v, 6, 0));
    }
    EXPECT_EQ(Text(buf), L"    alpha beta|\tgamma(delta);||xalpha|long line here") << "ctrl: copied";

    // Into a second view of another script.
    CScriptTextBuffer& other = NewBuffer();
    SetText(other, L"one\r\ntwo");
    CTestEditView* v2 = MakeView(other, CRect(0, 300, 880, 560));
    Focus(v);
    selectAlpha();
    {
        CDropAt drop(v2, At(v2, 3, 1));
        DragSelection(v, At(v, 6, 0));
    }
    EXPECT_EQ(Text(other), L"one|twoalpha");
    EXPECT_EQ(Text(buf), L"     beta|\tgamma(delta);||xalpha|long line here");

    // A drag that offers no text is refused.
    COleDataSource empty;
    EXPECT_EQ(AfxDragOverWindow(v2, CPoint(40, 5), empty, DROPEFFECT_MOVE, 0), DWORD(DROPEFFECT_NONE));
    EXPECT_FALSE(v2->IsDropIndicatorShown());
}

TEST_F(ScriptViewTest, CutCopyPasteKeepNonLatinText)
{
    CScriptTextBuffer& buf = NewBuffer();
    SetText(buf, L"\u041f\u0440\u0438\u0432\u0435\u0442 \u4e16\u754c\r\nx");
    CTestEditView* v = MakeView(buf);
    v->SetAnchor(CPoint(0, 0));
    v->SetSelection(CPoint(0, 0), CPoint(6, 0));
    Key(v, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipboardBytes(), "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82")
        << "CF_TEXT is UTF-8 here";
    v->SetSelection(CPoint(7, 0), CPoint(9, 0));
    Key(v, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Text(buf), L"\u041f\u0440\u0438\u0432\u0435\u0442 |x");
    v->SetSelection(CPoint(1, 1), CPoint(1, 1));
    v->SetCursorPos(CPoint(1, 1));
    Key(v, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(buf), L"\u041f\u0440\u0438\u0432\u0435\u0442 |x\u4e16\u754c");
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(3, 1)));
    // Nothing selected: copy leaves the clipboard as it was.
    Key(v, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipboardBytes(), "\xE4\xB8\x96\xE7\x95\x8C");
}

TEST_F(ScriptViewTest, ColouredScriptWithMarksAndSelection)
{
    CScriptTextBuffer& buf = NewBuffer();
    SetText(buf, L"// Pump start-up\r\n"
                 L"function StartPump(speed)\r\n"
                 L"{\r\n"
                 L"\tvar level = app.GetValue(\"Tank1.Level\");\r\n"
                 L"\tif (level > 0x1F && speed < 1.5)\r\n"
                 L"\t\tapp.SetValue(\"Pump1.Run\", true); /* start */\r\n"
                 L"\treturn level;\r\n"
                 L"}\r\n"
                 L"#pragma once\r\n"
                 L"DWORD n = 42;");
    buf.SetLineFlag(1, LF_BOOKMARKS, TRUE, FALSE);
    buf.SetLineFlag(3, LF_BOOKMARK(2), TRUE, TRUE);
    buf.SetLineFlag(5, LF_BREAKPOINT, TRUE, FALSE);
    buf.SetLineFlag(6, LF_EXECUTION, TRUE, FALSE);
    CTestEditView* v = MakeView(buf);
    v->SetAnchor(CPoint(5, 3));
    v->SetSelection(CPoint(5, 3), CPoint(4, 4));
    v->SetCursorPos(CPoint(4, 4));
    v->GetClientWidget()->repaint();
    const QImage shot = v->GetWidget()->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QStringLiteral("script_view.png")));

    auto has = [&](QRgb colour, int fromLine, int toLine)
    {
        const int lh = v->GetLineHeight();
        for (int y = fromLine * lh; y < (toLine + 1) * lh && y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if ((shot.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                    return true;
        return false;
    };
    EXPECT_TRUE(has(qRgb(0, 0, 255), 1, 1)) << "keyword";
    EXPECT_TRUE(has(qRgb(32, 128, 32), 0, 0)) << "comment";
    EXPECT_TRUE(has(qRgb(0, 0, 128), 3, 4)) << "selection";
    EXPECT_TRUE(has(qRgb(255, 0, 0), 5, 5)) << "breakpoint line";
    EXPECT_TRUE(has(qRgb(0, 128, 0), 6, 6)) << "execution line";
    EXPECT_TRUE(has(qRgb(0, 128, 192), 8, 8)) << "preprocessor";
    EXPECT_TRUE(has(qRgb(0, 90, 200), 3, 3)) << "numbered bookmark mark";
    EXPECT_TRUE(has(qRgb(0, 150, 150), 1, 1)) << "bookmark mark";

    // Bookmarks by command: numbered ones move, plain ones wrap round.
    v->SetCursorPos(CPoint(0, 7));
    v->SendMessage(WM_COMMAND, ID_EDIT_TOGGLE_BOOKMARK0 + 2);
    EXPECT_EQ(buf.FindFlaggedLine(LF_BOOKMARK(2)), 7);
    v->SetCursorPos(CPoint(3, 0));
    Key(v, Qt::Key_2, Qt::AltModifier);
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(0, 7)));
    Key(v, Qt::Key_F2, Qt::ControlModifier);
    Key(v, Qt::Key_F2);
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(0, 1)));
    Key(v, Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_TRUE(SamePoint(v->GetCursorPos(), CPoint(0, 7)));
    Key(v, Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(buf.FindNextMarkedLine(0), -1);
}

namespace
{
class CPrintView : public CTestEditView
{
public:
    std::vector<CString> m_footers;
    void GetPrintFooterText(int nPageNum, CString& text) override
    {
        CTestEditView::GetPrintFooterText(nPageNum, text);
        m_footers.push_back(text);
    }
};
} // namespace

TEST_F(ScriptViewTest, PageSetupAndPrintingToPdf)
{
    CWinApp app(L"ScriptPrintTest");
    app.SetRegistryKey(L"Quendrel");
    CScriptTextBuffer& buf = NewBuffer();
    std::wstring text;
    for (int i = 0; i < 200; ++i)
        text += L"\tvar n" + std::to_wstring(i) + L" = app.GetValue(\"Tag" + std::to_wstring(i) + L"\");\r\n";
    SetText(buf, text);
    auto* v = new CPrintView;
    v->m_pBuf = &buf;
    ASSERT_TRUE(
        v->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 500), m_pFrame, 5100, nullptr));
    v->OnInitialUpdate();

    // Page setup starts from the stored margins and stores what was chosen.
    for (const wchar_t* key : {L"LeftMargin", L"RightMargin", L"TopMargin", L"BottomMargin"})
        app.WriteProfileInt(L"ScriptEdit\\PageSetup", key, 1000);
    RECT seen = {};
    {
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                if (r.kind != AfxModalKind::PageSetupDialog || !r.pPageSetup)
                    return IDCANCEL;
                seen = r.pPageSetup->rtMargin;
                EXPECT_TRUE(r.pPageSetup->Flags & PSD_INHUNDREDTHSOFMILLIMETERS);
                r.pPageSetup->rtMargin.left = 2500;
                return IDOK;
            });
        v->SendMessage(WM_COMMAND, ID_FILE_PAGE_SETUP);
    }
    EXPECT_EQ(seen.left, 1000);
    EXPECT_EQ(seen.bottom, 1000);
    EXPECT_EQ(app.GetProfileInt(L"ScriptEdit\\PageSetup", L"LeftMargin", 0), 2500u);

    QTemporaryDir dir;
    const QString pdf = QDir(dir.path()).filePath("script.pdf");
    auto print = [&]
    {
        v->m_footers.clear();
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                if (r.kind != AfxModalKind::FileDialog)
                    return IDCANCEL;
                r.paths.assign(1, CString(pdf.toStdWString()));
                return IDOK;
            });
        v->SendMessage(WM_COMMAND, ID_FILE_PRINT);
    };
    print();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    file.close();
    ASSERT_GE(v->m_footers.size(), 2u);
    const int pages = int(v->m_footers.size());
    EXPECT_EQ(v->m_footers.front(), CString(L"Page 1/") + CString(std::to_wstring(pages)));
    EXPECT_EQ(v->m_footers.back(),
              CString(std::wstring(L"Page ") + std::to_wstring(pages) + L"/" + std::to_wstring(pages)));

    // Margins that leave no room, and a line taller than a page: clamped, and done.
    for (const wchar_t* key : {L"LeftMargin", L"RightMargin", L"TopMargin", L"BottomMargin"})
        app.WriteProfileInt(L"ScriptEdit\\PageSetup", key, 900000);
    std::wstring words;
    for (int i = 0; i < 300; ++i)
        words += L"word ";
    SetText(buf, words + L"\r\nshort\r\n\r\nend");
    print();
    EXPECT_GE(v->m_footers.size(), 1u);
    EXPECT_LE(v->m_footers.size(), 500u);
    EXPECT_TRUE(QFile::exists(pdf));
}

// Commands that change nothing after a typed line end: the text, the caret line and the history stay.
TEST_F(ScriptViewTest, NoOpCommandsInsertNothingAfterATypedLineEnd)
{
    struct NoOpCase
    {
        const char* name;
        std::function<void(CTestEditView*)> run;
    };
    const NoOpCase cases[] = {
        {"remove // on an uncommented line", [](CTestEditView* v) { v->RemoveLinePrefix(); }},
        {"remove // over uncommented lines",
         [](CTestEditView* v)
         {
             v->SetAnchor(CPoint(0, 0));
             v->SetSelection(CPoint(0, 0), CPoint(2, 1));
             v->RemoveLinePrefix();
         }},
        {"a drag dropped onto itself",
         [](CTestEditView* v)
         {
             v->SetAnchor(CPoint(2, 0));
             v->SetSelection(CPoint(2, 0), CPoint(5, 0));
             v->SetCursorPos(CPoint(5, 0));
             CDropAt drop(v, At(v, 3, 0));
             DragSelection(v, At(v, 3, 0));
         }},
        {"an empty paste",
         [](CTestEditView* v)
         {
             ASSERT_TRUE(::OpenClipboard(v->GetSafeHwnd()));
             ::EmptyClipboard();
             HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 1);
             *static_cast<char*>(GlobalLock(block)) = 0;
             GlobalUnlock(block);
             ::SetClipboardData(CF_TEXT, block);
             ::CloseClipboard();
             Key(v, Qt::Key_V, Qt::ControlModifier);
         }},
    };
    for (const NoOpCase& c : cases)
    {
        CScriptTextBuffer& buf = NewBuffer();
        SetText(buf, L"\t\tfoo");
        CTestEditView* v = MakeView(buf);
        v->SetCursorPos(CPoint(5, 0));
        v->SetAnchor(CPoint(5, 0));
        Type(v, QStringLiteral("\r"));
        ASSERT_EQ(Text(buf), L"\t\tfoo|\t\t");
        const int nRecords = buf.GetUndoRecordCount();
        const int nPosition = buf.GetUndoPosition();

        c.run(v);
        EXPECT_EQ(Text(buf), L"\t\tfoo|\t\t") << c.name;
        EXPECT_EQ(buf.GetUndoRecordCount(), nRecords) << c.name;
        EXPECT_EQ(buf.GetUndoPosition(), nPosition) << c.name;
        // Undo takes back the indentation, then the line end: nothing else was recorded.
        Key(v, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Text(buf), L"\t\tfoo|") << c.name;
        Key(v, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Text(buf), L"\t\tfoo") << c.name;
        EXPECT_FALSE(buf.CanUndo()) << c.name;
        v->DestroyWindow();
    }
}
