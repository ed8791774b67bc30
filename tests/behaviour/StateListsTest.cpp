// The list editors of states, value ranges, menu entries and chart lines, and their record
// dialogs, driven offscreen through the modal hook.
#include "StateListsTestSupport.h"

#include "behaviour/EventSetDlgs.h"
#include "behaviour/RealTimeDlgs.h"
#include "behaviour/StateItemDlgs.h"
#include "behaviour/StateSetDlgs.h"
#include "mfc/ListBoxCtl.h"

#include <QImage>
#include <QWidget>

using namespace statetest;

namespace
{
std::vector<CString> Column(const CStateListDlg& dlg, int nCol)
{
    std::vector<CString> out;
    for (int i = 0; i < dlg.m_List.GetItemCount(); ++i)
        out.push_back(dlg.m_List.GetItemText(i, nCol));
    return out;
}

void SaveShot(CWnd& wnd, const char* path)
{
    const QImage shot = wnd.GetWidget()->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QString::fromUtf8(path)));
}
} // namespace

TEST(StateListText, TextsComeBackAsTheyWereRead)
{
    struct Case
    {
        StateListLevel level;
        const wchar_t* text;
        std::vector<const wchar_t*> keys;
        // The text written back; null: the text itself.
        const wchar_t* written;
    };
    const Case cases[] = {
        {StateListLevel::Records, L"", {}, nullptr},
        {StateListLevel::Records,
         L"STATE_0$C_C,A,FF0000#H_H,B@STATE_1$C_C,A,00FF00",
         {L"STATE_0", L"STATE_1"},
         nullptr},
        // Names-only records keep their form; a record with an empty key keeps its "$".
        {StateListLevel::Records, L"Open@Close", {L"", L""}, nullptr},
        {StateListLevel::Records, L"$Open@Close@K$", {L"", L"", L"K"}, nullptr},
        {StateListLevel::Records, L"@", {L"", L""}, nullptr},
        {StateListLevel::Records, L"25,75$a$b", {L"25,75"}, nullptr},
        {StateListLevel::Items, L"C_C,A,FF0000#H_H,B,C", {L"C_C", L"H_H"}, nullptr},
        // Empty items are skipped; an item without its comma is written as read.
        {StateListLevel::Items, L"##L_S,On##X#", {L"L_S", L"X"}, L"L_S,On#X"},
        {StateListLevel::Items, L"F_T,", {L"F_T"}, nullptr},
    };
    for (const Case& c : cases)
    {
        const std::vector<CStateListRow> rows = StateListText::Read(c.text, c.level);
        std::vector<CString> keys;
        for (const CStateListRow& r : rows)
            keys.push_back(r.strKey);
        EXPECT_EQ(keys, std::vector<CString>(c.keys.begin(), c.keys.end())) << CString(c.text).ToUtf8();
        EXPECT_EQ(StateListText::Write(rows, c.level), CString(c.written ? c.written : c.text))
            << CString(c.text).ToUtf8();
    }
    // A row rewritten by a dialog gets its separator.
    std::vector<CStateListRow> rows = StateListText::Read(L"Open@Close", StateListLevel::Records);
    rows[1] = {L"Shut", L"C_C,A,FF0000", FALSE};
    EXPECT_EQ(StateListText::Write(rows, StateListLevel::Records), CString(L"Open@Shut$C_C,A,FF0000"));
}

TEST(StateListText, UpAndDownMoveSelectedRowsAsBlocks)
{
    struct Case
    {
        const char* selected; // one character per row: 'x' selected
        BOOL bUp;
        const char* order; // the rows' first letters afterwards
        const char* after; // the selection afterwards
        int shown;
    };
    const Case cases[] = {
        {"x....", TRUE, "abcde", "x....", 0}, // the first row cannot go up
        {"xx...", TRUE, "abcde", "xx...", 0}, // nor a block at the top
        {"xx.x.", TRUE, "abdce", "xxx..", 0}, // the block stays, the row below it joins it
        {".x.x.", TRUE, "badce", "x.x..", 0},  {".xx..", TRUE, "bcade", "xx...", 0}, // two rows move together
        {"....x", FALSE, "abcde", "....x", 4}, // the last row cannot go down
        {"...xx", FALSE, "abcde", "...xx", 4}, // nor the two bottom rows
        {"x.x.x", FALSE, "badce", ".x.xx", 4}, {".....", TRUE, "abcde", ".....", -1},
    };
    for (const Case& c : cases)
    {
        std::string order = "abcde";
        std::vector<bool> selected;
        for (const char* p = c.selected; *p; ++p)
            selected.push_back(*p == 'x');
        const int shown = StateListText::MoveSelected(
            selected, c.bUp, [&](int a, int b) { std::swap(order[size_t(a)], order[size_t(b)]); });
        std::string after;
        for (bool s : selected)
            after += s ? 'x' : '.';
        EXPECT_EQ(order, c.order) << c.selected << (c.bUp ? " up" : " down");
        EXPECT_EQ(after, c.after) << c.selected;
        EXPECT_EQ(shown, c.shown) << c.selected;
    }
}

TEST_F(CStateListTest, StateListMovesRemovesAndRebuildsTheStateString)
{
    CStateSetDlg dlg;
    dlg.m_strState = L"S0$C_C,A,FF0000@S1$C_C,A,00FF00@S2$H_H,B@Open";
    CDialogScript script;
    std::vector<std::vector<CString>> seen;
    CString shown;
    script.onDialog = [&](CDialog& d) -> int
    {
        auto& s = static_cast<CStateSetDlg&>(d);
        seen.push_back(Column(s, 0));
        // Two rows up together: names and bodies stay paired.
        s.SelectRow(1);
        s.SelectRow(2);
        Click(s, 1028);
        seen.push_back(Column(s, 0));
        EXPECT_EQ(s.m_List.GetItemText(0, 1), CString(L"C_C,A,00FF00"));
        // Remove takes the first selected row only.
        Click(s, 1042);
        seen.push_back(Column(s, 0));
        s.GetDlgItemText(1062, shown);
        // What is typed into the text box is not read back.
        s.SetDlgItemText(1062, L"typed");
        return IDOK;
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    const std::vector<std::vector<CString>> expected = {
        {L"S0", L"S1", L"S2", L""}, {L"S1", L"S2", L"S0", L""}, {L"S2", L"S0", L""}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(script.messages, std::vector<CString>{L"Do you really need to remove this state value item?"});
    EXPECT_EQ(shown, CString(L"S2$H_H,B@S0$C_C,A,FF0000@Open"));
    EXPECT_EQ(dlg.m_strState, shown);
}

TEST_F(CStateListTest, CancelAndRefusedQuestionsWriteNothing)
{
    const CString text = L"S0$C_C,A,FF0000@S1$H_H,B";
    struct Case
    {
        int button;
        int answer;
        int result;
    };
    // Remove and All answered No, then OK; All answered Yes, then Cancel.
    const Case cases[] = {{1042, IDNO, IDOK}, {1047, IDNO, IDOK}, {1047, IDYES, IDCANCEL}};
    for (const Case& c : cases)
    {
        CStateSetDlg dlg;
        dlg.m_strState = text;
        CDialogScript script;
        script.answer = c.answer;
        script.onDialog = [&](CDialog& d) -> int
        {
            auto& s = static_cast<CStateSetDlg&>(d);
            s.SelectRow(0);
            Click(s, c.button);
            return c.result;
        };
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_EQ(dlg.m_strState, text) << c.button;
    }
    // All with Yes empties the text, the list and the text box.
    CStateSetDlg dlg;
    dlg.m_strState = text;
    CDialogScript script;
    CString shown = L"x";
    script.onDialog = [&](CDialog& d) -> int
    {
        Click(d, 1047);
        d.GetDlgItemText(1062, shown);
        return IDOK;
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(script.messages,
              std::vector<CString>{L"Do you really need to remove ALL these state value items?"});
    EXPECT_TRUE(dlg.m_strState.IsEmpty());
    EXPECT_TRUE(shown.IsEmpty());
}

TEST_F(CStateListTest, RecordDialogsRefuseWithMessageAndFocusAndWriteNothing)
{
    struct Case
    {
        const char* what;
        std::function<CDialog*()> make;
        // Worked on the open dialog before OK.
        std::function<void(CDialog&)> work;
        const wchar_t* message;
        int focus;
    };
    auto state = [](const wchar_t* name, BOOL bEdit, const wchar_t* items)
    {
        return [=]() -> CDialog*
        {
            auto* d = new CSubOptionStateDlg;
            d->m_arUsedNames.Add(L"STATE_0");
            d->m_arUsedNames.Add(L"Run");
            d->m_strStateName = name;
            d->m_strOpeningName = name;
            d->m_bEdit = bEdit;
            d->m_strItemText = items;
            return d;
        };
    };
    auto typeName = [](const wchar_t* name) { return [=](CDialog& d) { d.SetDlgItemText(1035, name); }; };
    auto range = [](BOOL bEdit, double lo, double hi, const wchar_t* items)
    {
        return [=]() -> CDialog*
        {
            auto* d = new CValueSubStateDlg;
            d->m_arUsedRanges.Add(L"25,75");
            d->m_arUsedRanges.Add(L"10,90");
            d->m_bEdit = bEdit;
            d->m_dLower = lo;
            d->m_dUpper = hi;
            d->m_strItemText = items;
            return d;
        };
    };
    auto line = [](const wchar_t* id, const wchar_t* max)
    {
        return std::make_pair(
            []() -> CDialog*
            {
                auto* d = new CRealTimeSubDlg;
                d->m_arUsedIds.Add(L"Flow");
                return d;
            },
            [=](CDialog& d)
            {
                d.SetDlgItemText(1035, id);
                d.SetDlgItemText(1225, max);
            });
    };
    const wchar_t* used = L"This state index value already been used, please enter a new one and try again!";
    const wchar_t* noItem = L"You must add at least one state for this option!";
    const wchar_t* badName = L"A state name cannot hold @ or $, please enter another one and try again!";
    const wchar_t* badId = L"A line id cannot hold @, $ or a comma, please enter another one and try again!";
    std::vector<Case> cases = {
        {"new state under a used name", state(L"", FALSE, L"C_C,A,FF0000"), typeName(L"Run"), used, 1035},
        {"state renamed to a used name", state(L"Stop", TRUE, L"C_C,A,FF0000"), typeName(L"Run"), used, 1035},
        {"state without items", state(L"Stop", TRUE, L""), typeName(L"Stop"), noItem, 1035},
        {"state name with @", state(L"Stop", TRUE, L"C_C,A,FF0000"), typeName(L"a@b"), badName, 1035},
        {"state name with $", state(L"Stop", TRUE, L"C_C,A,FF0000"), typeName(L"a$b"), badName, 1035},
        {"new range on a used key", range(FALSE, 25, 75, L"C_C,A,FF0000"), [](CDialog&) {}, used, 1035},
        {"range moved onto a used key", range(TRUE, 30, 70, L"C_C,A,FF0000"),
         [](CDialog& d) { static_cast<CValueSubStateDlg&>(d).SetBounds(10, 90); }, used, 1035},
        {"range without items", range(FALSE, 30, 70, L""), [](CDialog&) {}, noItem, 1035},
    };
    for (auto [id, msg] : std::vector<std::pair<const wchar_t*, const wchar_t*>>{
             {L"a,b", badId},
             {L"a@b", badId},
             {L"a$b", badId},
             {L"Flow", L"This line id already been used, please enter a new one and try again!"}})
    {
        auto [make, work] = line(id, L"100");
        cases.push_back({"line id", make, work, msg, 1035});
    }
    // The parameter ends the line's record: a separator in it is refused too.
    const wchar_t* badParam =
        L"A parameter name cannot hold @, $ or a comma, please choose another one and try again!";
    for (const wchar_t* param : {L"#a,b", L"@x@y", L"$p$q"})
        cases.push_back({"line parameter", []() -> CDialog* { return new CRealTimeSubDlg; },
                         [=](CDialog& d) { d.SetDlgItemText(1025, param); }, badParam, 1025});
    for (const Case& c : cases)
    {
        std::unique_ptr<CDialog> dlg(c.make());
        CString itemsBefore;
        CDialogScript script;
        int focus = -1;
        script.onDialog = [&](CDialog& d) -> int
        {
            c.work(d);
            Click(d, IDOK);
            focus = FocusId(d);
            return IDCANCEL;
        };
        EXPECT_EQ(dlg->DoModal(), IDCANCEL) << c.what;
        EXPECT_EQ(script.messages, std::vector<CString>{c.message}) << c.what;
        EXPECT_EQ(focus, c.focus) << c.what;
    }
    // The line dialog's range checks are the framework's.
    for (const wchar_t* max : {L"5", L"2500"})
    {
        CRealTimeSubDlg dlg;
        CDialogScript script;
        script.onDialog = [&](CDialog& d) -> int
        {
            d.SetDlgItemText(1225, max);
            return IDOK;
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << CString(max).ToUtf8();
        EXPECT_EQ(script.messages.size(), 1u);
        EXPECT_EQ(dlg.m_strBody, CString(L"LINE_0"));
    }
}

TEST_F(CStateListTest, StateDialogProposesTheNextFreeNameAndKeepsItsOwnOnEdit)
{
    struct Case
    {
        std::vector<const wchar_t*> used;
        BOOL bEdit;
        const wchar_t* name;
        const wchar_t* proposed;
        int result;
    };
    const Case cases[] = {
        {{}, FALSE, L"", L"STATE_0", IDOK},
        {{L"STATE_0", L"STATE_2"}, FALSE, L"", L"STATE_1", IDOK},
        // Editing keeps the state's own name, even though it is among the used ones.
        {{L"Run", L"Stop"}, TRUE, L"Run", L"Run", IDOK},
    };
    for (const Case& c : cases)
    {
        CSubOptionStateDlg dlg;
        for (const wchar_t* u : c.used)
            dlg.m_arUsedNames.Add(u);
        dlg.m_bEdit = c.bEdit;
        dlg.m_strStateName = c.name;
        dlg.m_strItemText = L"##C_C,A,FF0000##H_H,B,C#";
        CDialogScript script;
        CString proposed;
        script.onDialog = [&](CDialog& d) -> int
        {
            d.GetDlgItemText(1035, proposed);
            return IDOK;
        };
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_EQ(proposed, CString(c.proposed));
        EXPECT_EQ(dlg.m_strStateName, CString(c.proposed));
        EXPECT_EQ(dlg.m_strItemText, CString(L"C_C,A,FF0000#H_H,B,C"));
        EXPECT_TRUE(script.messages.empty());
    }
}

TEST_F(CStateListTest, ChartLinesAreBuiltInTheBuilder)
{
    CRealTimeSetDlg dlg;
    dlg.m_dMin = 0;
    dlg.m_dMax = 100;
    CDialogScript script;
    int depth = 0;
    int lines = 0;
    script.onDialog = [&](CDialog& d) -> int
    {
        if (auto* line = dynamic_cast<CRealTimeSubDlg*>(&d))
        {
            // The first line keeps its defaults; the second is green over 20 to 80 on #Level.
            if (lines++ == 0)
                return IDOK;
            line->SetDlgItemText(1035, L"Level");
            line->SetDlgItemText(1224, L"20");
            line->SetDlgItemText(1225, L"80");
            line->SetDlgItemText(1025, L"#Level");
            line->m_btnColor.SetColor(RGB(0, 255, 0));
            return IDOK;
        }
        ++depth;
        Click(d, 1041);
        Click(d, 1041);
        d.SetDlgItemText(1119, L"250");
        SaveShot(d, QYR_CHART_BUILDER_PNG);
        return IDOK;
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strLines, CString(L"Chart$FF0000,0,100,Chart,No@Level$00FF00,20,80,Level,#Level"));
    EXPECT_EQ(dlg.m_dMax, 250.0);

    // A second line may not take the first one's id; editing a line keeps its own.
    CRealTimeSetDlg again;
    again.m_strLines = dlg.m_strLines;
    CDialogScript second;
    second.onDialog = [&](CDialog& d) -> int
    {
        if (auto* line = dynamic_cast<CRealTimeSubDlg*>(&d))
        {
            CString id;
            line->GetDlgItemText(1035, id);
            EXPECT_EQ(id, CString(L"Level"));
            line->SetDlgItemText(1224, L"30");
            return IDOK;
        }
        auto& s = static_cast<CRealTimeSetDlg&>(d);
        s.SelectRow(1);
        s.EditSelected();
        return IDOK;
    };
    ASSERT_EQ(again.DoModal(), IDOK);
    EXPECT_EQ(again.m_strLines, CString(L"Chart$FF0000,0,100,Chart,No@Level$00FF00,30,80,Level,#Level"));
}

TEST_F(CStateListTest, ALineWithTooFewFieldsOpensWithDefaults)
{
    CRealTimeSubDlg dlg;
    dlg.m_bEdit = TRUE;
    dlg.m_strBody = L"00FF00,5,50";
    CDialogScript script;
    std::vector<CString> shown;
    COLORREF colour = 0;
    script.onDialog = [&](CDialog& d) -> int
    {
        for (int id : {1035, 1224, 1225, 1025})
        {
            CString text;
            d.GetDlgItemText(id, text);
            shown.push_back(text);
        }
        colour = static_cast<CRealTimeSubDlg&>(d).m_btnColor.GetColor();
        return IDOK;
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shown, (std::vector<CString>{L"Chart", L"0", L"100", L"No"}));
    EXPECT_EQ(colour, RGB(255, 0, 0));
    EXPECT_EQ(dlg.m_strBody, CString(L"FF0000,0,100,Chart,No"));
}

TEST_F(CStateListTest, ValueRangesListAndTheRangeDialogShowsItsBounds)
{
    CValueStateMgrDlg dlg;
    dlg.m_strValueState = L"0,50$C_C,A,00FF00@50,100$C_C,A,FF0000";
    dlg.m_arChildNames.Add(L"A");
    CDialogScript script;
    std::vector<CString> rangeShown;
    BOOL linkEnabled = TRUE;
    script.onDialog = [&](CDialog& d) -> int
    {
        if (auto* range = dynamic_cast<CValueSubStateDlg*>(&d))
        {
            for (int id : {1035, 1072, 1119, 1089, 1096})
            {
                CString text;
                range->GetDlgItemText(id, text);
                rangeShown.push_back(text);
            }
            linkEnabled = range->GetDlgItem(1222)->IsWindowEnabled();
            SaveShot(*range, QYR_VALUE_RANGE_PNG);
            return IDOK;
        }
        auto& s = static_cast<CValueStateMgrDlg&>(d);
        SaveShot(s, QYR_VALUE_BUILDER_PNG);
        // The maximum typed is the one the next range dialog gets, once the edit loses the focus.
        s.SetDlgItemText(1119, L"50");
        s.SendMessage(WM_COMMAND, MAKEWPARAM(1119, EN_KILLFOCUS), LPARAM(s.GetDlgItem(1119)->GetSafeHwnd()));
        s.SelectRow(1);
        s.EditSelected();
        return IDOK;
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    // The slider keeps the chosen range inside its limits, so 50,100 opened under the new maximum
    // of 50 is shown, and comes back, as 50,50.
    EXPECT_EQ(rangeShown, (std::vector<CString>{L"50,50", L"0", L"50", L"50", L"50"}));
    EXPECT_FALSE(linkEnabled);
    EXPECT_EQ(dlg.m_dMax, 50.0);
    EXPECT_EQ(dlg.m_strValueState, CString(L"0,50$C_C,A,00FF00@50,50$C_C,A,FF0000"));
}

TEST_F(CStateListTest, MenuEntriesAreStoredWithNoneAndTheTextIsTrimmed)
{
    CMenuEditorDlg dlg;
    dlg.m_strState = L"  Run$18#Main.uscp";
    CDialogScript script;
    std::vector<CString> opened;
    script.onDialog = [&](CDialog& d) -> int
    {
        if (auto* item = dynamic_cast<CEFSubMenuSetDlg*>(&d))
        {
            CString id, param;
            item->GetDlgItemText(1035, id);
            item->GetDlgItemText(1011, param);
            opened.push_back(id + L"|" + param);
            if (opened.size() == 1)
                return IDCANCEL; // the edited entry stays as it was
            // A new entry printing the document, with no parameter.
            item->SetDlgItemText(1035, L"Print");
            auto* actions = static_cast<CListBox*>(item->GetDlgItem(1037));
            actions->SetCurSel(actions->FindStringExact(-1, L"Print Document"));
            item->SendMessage(WM_COMMAND, MAKEWPARAM(1037, LBN_SELCHANGE), LPARAM(actions->GetSafeHwnd()));
            return IDOK;
        }
        auto& s = static_cast<CMenuEditorDlg&>(d);
        s.SelectRow(0);
        s.EditSelected();
        s.SelectRow(0, FALSE);
        Click(s, 1041);
        return IDOK;
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(opened, (std::vector<CString>{L"  Run|Main.uscp", L"STATE_0|"}));
    EXPECT_EQ(dlg.m_strState, CString(L"Run$18#Main.uscp@Print$6#None"));
}

TEST_F(CStateListTest, LongRecordsComeBackWhole)
{
    // A state with many items: longer than a list row's text buffer.
    CString body;
    for (int i = 0; i < 200; ++i)
        body += i ? L"#C_C,Shape,00FF00" : L"C_C,Shape,00FF00";
    CStateSetDlg dlg;
    dlg.m_strState = L"S0$C_C,A,FF0000@S1$" + body;
    CDialogScript script;
    script.onDialog = [&](CDialog& d) -> int
    {
        auto& s = static_cast<CStateSetDlg&>(d);
        s.SelectRow(1);
        s.MoveUp();
        return IDOK;
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strState, L"S1$" + body + L"@S0$C_C,A,FF0000");
}
