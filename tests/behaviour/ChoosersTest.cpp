// The pickers: project scripts and screens, script procedures, shapes by name and by key 1, and the
// visibility and test dialogs.
#include "EventsTestSupport.h"

#include "behaviour/ShapeChooserDlgs.h"
#include "behaviour/VisibleExpertDlg.h"
#include "editor/MethodChooseDlg.h"
#include "editor/ProjectDialogs.h"

#include <chrono>

using namespace eventstest;

namespace
{
std::vector<CString> Entries(CComboBox& combo)
{
    std::vector<CString> rows;
    for (int i = 0; i < combo.GetCount(); ++i)
    {
        CString s;
        combo.GetLBText(i, s);
        rows.push_back(s);
    }
    return rows;
}
} // namespace

TEST_F(CEventsTest, ScriptChooserMakesSystemScriptAndPreselectsOnlyAnExactName)
{
    // No script yet: "system.uscp" with the default script, UTF-16 with its mark.
    MBScriptChooseDlg dlg;
    dlg.m_strProjectFolder = CString::FromUtf8(m_project);
    dlg.m_bListScreens = FALSE;
    std::vector<CString> rows;
    CString title;
    CModalScript modal;
    modal.Then(
        [&](CDialog& d)
        {
            rows = Rows(static_cast<MBScriptChooseDlg&>(d).m_List);
            d.GetWindowText(title);
            return IDOK;
        });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(rows, std::vector<CString>{L"system.uscp"});
    EXPECT_EQ(title, CString(L"Connect Script or Drawing"));
    const std::u16string seed =
        u"function main(strShapeKey1, shape)\r\n{\r\n\tapp.test(\"testing code here!\");\r\n}";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : seed)
        bytes += {char(c & 0xFF), char(c >> 8)};
    EXPECT_EQ(bytes, ReadBytes("ScriptFiles/system.uscp"));
    EXPECT_EQ(CString(), dlg.m_strValue) << "nothing selected, nothing chosen";

    // "Pump1" was deleted; "Pump10.xdg" must not take its place.
    WriteBytes("XdgFiles/Pump10.xdg", "x");
    MBScriptChooseDlg screens;
    screens.m_strProjectFolder = CString::FromUtf8(m_project);
    screens.m_bListScripts = FALSE;
    screens.m_strValue = L"Pump1";
    int selected = 0;
    CModalScript modal2;
    modal2.Then(
        [&](CDialog& d)
        {
            selected = static_cast<MBScriptChooseDlg&>(d).m_List.GetCurSel();
            return IDOK;
        });
    ASSERT_EQ(IDOK, screens.DoModal());
    EXPECT_EQ(-1, selected);
    EXPECT_EQ(CString(L"Pump1"), screens.m_strValue);
}

TEST_F(CEventsTest, MethodChooserReadsScriptsByTheirMarkAndSelectsExactly)
{
    struct Case
    {
        const char* file;
        std::function<void()> write;
        const wchar_t* method;
        std::vector<CString> listed;
        const wchar_t* chosen;
    };
    const Case cases[] = {
        {"wide.uscp",
         [&] {
             WriteUtf16Script("wide.uscp",
                              u"function Pump1() {}\r\nfunction Pump10() { app.test(\"x\"); }\r\n");
         },
         L"Pump10",
         {L"Pump1", L"Pump10"},
         L"Pump10"},
        {"narrow.USCP",
         [&] { WriteBytes("ScriptFiles/narrow.USCP", "function Start() {}\nfunction Stop() {}\n"); },
         L"Stop",
         {L"Start", L"Stop"},
         L"Stop"},
        // "Pump" is no longer in the script: nothing is preselected and OK keeps it.
        {"prefix.uscp",
         [&] { WriteBytes("ScriptFiles/prefix.uscp", "function Pump10() {}\n"); },
         L"Pump",
         {L"Pump10"},
         L"Pump"},
        {"broken.uscp", [&] { WriteBytes("ScriptFiles/broken.uscp", "function ( {"); }, L"", {}, nullptr},
        {"missing.uscp", [] {}, L"", {}, nullptr},
    };
    for (const Case& c : cases)
    {
        c.write();
        CMethodChooseDlg dlg;
        dlg.m_strScriptFile = CString::FromUtf8(c.file);
        dlg.m_strMethod = c.method;
        CModalScript modal;
        std::vector<CString> listed;
        modal.Then(
            [&](CDialog& d)
            {
                auto& chooser = static_cast<CMethodChooseDlg&>(d);
                for (int i = 0; i < chooser.GetListedMethods().GetSize(); ++i)
                    listed.push_back(chooser.GetListedMethods()[i]);
                return IDOK;
            });
        const INT_PTR result = dlg.DoModal();
        EXPECT_EQ(c.listed, listed) << c.file;
        if (c.chosen)
        {
            EXPECT_EQ(IDOK, result) << c.file;
            EXPECT_EQ(CString(c.chosen), dlg.m_strMethod) << c.file;
        }
        else
        {
            EXPECT_EQ(IDCANCEL, result) << c.file;
        }
    }
}

TEST_F(CEventsTest, MethodChooserStopsAScriptThatLoopsAtTopLevel)
{
    WriteBytes("ScriptFiles/loop.uscp", "while (true) {}\nfunction Never() {}\n");
    CMethodChooseDlg dlg;
    dlg.m_strScriptFile = L"loop.uscp";
    CModalScript modal;
    BOOL empty = FALSE;
    modal.Then(
        [&](CDialog& d)
        {
            empty = static_cast<CMethodChooseDlg&>(d).GetListedMethods().GetSize() == 0;
            return IDCANCEL;
        });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_TRUE(empty);
    ASSERT_FALSE(modal.messages.empty());
    EXPECT_EQ(0, modal.messages.front().Find(L"Error: "));
}

TEST_F(CEventsTest, ShapePickersListTheScreenInTheirOrder)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    AddShape(view, L"A", L"Pump1");
    AddShape(view, L"B", L"");
    AddShape(view, L"C", L"Pump1");
    AddShape(view, L"Path", L"Mover", 285);

    // By name, the last shape first; the value preselected only when equal.
    CMBEventEditDlg7 names;
    names.m_strValue = L"B";
    std::vector<CString> rows;
    CString selectedName;
    CModalScript modal;
    modal.Then(
        [&](CDialog& d)
        {
            auto& dlg = static_cast<CMBEventEditDlg7&>(d);
            rows = Rows(dlg.m_List);
            dlg.m_List.GetText(dlg.m_List.GetCurSel(), selectedName);
            return IDOK;
        });
    ASSERT_EQ(IDOK, names.DoModal());
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ((std::vector<CString>{L"Path", L"C", L"B", L"A"}),
              std::vector<CString>(rows.begin(), rows.begin() + 4));
    EXPECT_EQ(CString(L"B"), selectedName);

    // By key 1 in model order: duplicates and empty keys stay; the move dialog skips move paths.
    CMBCustomMoveDlg move;
    CMyTestDlg test;
    std::vector<CString> moveKeys;
    std::vector<CString> testKeys;
    CModalScript modal2;
    modal2
        .Then(
            [&](CDialog& d)
            {
                moveKeys = Entries(*static_cast<CComboBox*>(d.GetDlgItem(IDC_SHAPE_COMBO)));
                return IDCANCEL;
            })
        .Then(
            [&](CDialog& d)
            {
                testKeys = Entries(*static_cast<CComboBox*>(d.GetDlgItem(IDC_SHAPE_COMBO)));
                return IDCANCEL;
            });
    move.DoModal();
    test.DoModal();
    auto ours = [](std::vector<CString> keys)
    {
        // The library's model may add a shape of its own first.
        while (!keys.empty() && keys.front() != L"Pump1")
            keys.erase(keys.begin());
        return keys;
    };
    EXPECT_EQ((std::vector<CString>{L"Pump1", L"", L"Pump1"}), ours(moveKeys));
    EXPECT_EQ((std::vector<CString>{L"Pump1", L"", L"Pump1", L"Mover"}), ours(testKeys));

    // A target whose shape went ("Pump") is not replaced by one that begins with it.
    CMBCustomMoveDlg gone;
    gone.m_strKey = L"Pump";
    int selected = 0;
    CModalScript modal3;
    modal3.Then(
        [&](CDialog& d)
        {
            selected = Widget<QComboBox>(d, IDC_SHAPE_COMBO)->currentIndex();
            return IDOK;
        });
    ASSERT_EQ(IDOK, gone.DoModal());
    EXPECT_EQ(-1, selected);
    EXPECT_EQ(CString(L"Pump"), gone.m_strKey);

    // The state chooser lists the names of its pairs in order and preselects the equal one.
    MBEventEditDlg2 states;
    states.m_pairs = {{L"STATE_10", L"a"}, {L"STATE_1", L"b"}, {L"STATE_2", L"c"}};
    states.m_strValue = L"STATE_1";
    CModalScript modal4;
    CString title;
    modal4.Then(
        [&](CDialog& d)
        {
            auto& dlg = static_cast<MBEventEditDlg2&>(d);
            rows = Rows(dlg.m_List);
            dlg.m_List.GetText(dlg.m_List.GetCurSel(), selectedName);
            d.GetWindowText(title);
            Choose(d, IDC_CHOOSER_LIST, L"STATE_2");
            return IDOK;
        });
    ASSERT_EQ(IDOK, states.DoModal());
    EXPECT_EQ((std::vector<CString>{L"STATE_10", L"STATE_1", L"STATE_2"}), rows);
    EXPECT_EQ(CString(L"STATE_1"), selectedName);
    EXPECT_EQ(CString(L"Assign New State"), title);
    EXPECT_EQ(CString(L"STATE_2"), states.m_strValue);
}

TEST_F(CEventsTest, VisibilityConditionTextKeepsNoDecimals)
{
    struct Case
    {
        const wchar_t* opening;
        int shownOperator;
        const wchar_t* shownValue;
        int chooseOperator;
        const wchar_t* typeValue;
        BOOL enable;
        const wchar_t* stored;
    };
    const Case cases[] = {
        {L"0,0", 0, L"0", 5, L"5", TRUE, L"5,5"},
        {L"1,10", 1, L"10", 2, L"2.75", TRUE, L"2,3"},
        {L"4,-7", 4, L"-7", -1, nullptr, FALSE, L"4,-7"},
        // Texts a person or a damaged file left: shown as far as they go.
        {L"9", 0, L"0", -1, nullptr, TRUE, L"0,0"},
        {L"x,y", 0, L"0", -1, nullptr, TRUE, L"0,0"},
    };
    for (const Case& c : cases)
    {
        CVisibleExpertDlg dlg;
        dlg.m_strCondition = c.opening;
        dlg.m_bEnable = !c.enable;
        CModalScript modal;
        modal.Then(
            [&](CDialog& d)
            {
                QComboBox* ops = Widget<QComboBox>(d, IDC_VISIBLE_OPERATOR);
                EXPECT_EQ(ops->count(), 6);
                EXPECT_EQ(ops->currentIndex(), c.shownOperator) << c.opening;
                EXPECT_EQ(Text(d, IDC_VISIBLE_VALUE), CString(c.shownValue)) << c.opening;
                if (c.chooseOperator >= 0)
                    ops->setCurrentIndex(c.chooseOperator);
                if (c.typeValue)
                    Type(d, IDC_VISIBLE_VALUE, c.typeValue);
                Press(d, IDC_VISIBLE_ENABLE);
                return IDOK;
            });
        ASSERT_EQ(IDOK, dlg.DoModal());
        EXPECT_EQ(CString(c.stored), dlg.m_strCondition) << c.opening;
        EXPECT_EQ(c.enable, dlg.m_bEnable) << c.opening;
    }
}
