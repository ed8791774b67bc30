// The action item editors, through the seam the record dialogs call: values in and out, refusals,
// the moves between the hide lists and the preview.
#include "DialogScript.h"
#include "behaviour/ActionItemEditors.h"
#include "behaviour/HideStateDlg.h"
#include "behaviour/StateColorDlg.h"
#include "figkit/FOEllipseShape.h"
#include "figkit/FORectShape.h"
#include "figkit/FOShapeSet.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/ListBoxCtl.h"

#include <QImage>

#include <memory>

using namespace behaviourtest;

namespace
{
CStringArray Names(std::initializer_list<const wchar_t*> names)
{
    CStringArray array;
    for (const wchar_t* n : names)
        array.Add(n);
    return array;
}

CString ComboText(CDialog& dlg, int nID)
{
    auto* combo = static_cast<CComboBox*>(dlg.GetDlgItem(nID));
    const int sel = combo->GetCurSel();
    CString text;
    if (sel >= 0)
        combo->GetLBText(sel, text);
    return text;
}

CStringArray ListTexts(CDialog& dlg, int nID)
{
    auto* list = static_cast<CListBox*>(dlg.GetDlgItem(nID));
    CStringArray texts;
    for (int i = 0; i < list->GetCount(); ++i)
    {
        CString t;
        list->GetText(i, t);
        texts.Add(t);
    }
    return texts;
}

CString Joined(const CStringArray& a)
{
    CString s;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        s += (i ? L"|" : L"") + a[i];
    return s;
}

class CActionItemTest : public CBehaviourTest
{
};
} // namespace

TEST_F(CActionItemTest, ColourAndNumberEditorsReadAndWriteTheirValues)
{
    struct Case
    {
        const wchar_t* code;
        BOOL edit;
        const wchar_t* value;
        std::initializer_list<const wchar_t*> names;
        // What the open dialog shows: the chosen shape and the colour or the number text.
        const wchar_t* shownShape;
        const wchar_t* shown;
        // Typed before OK: a shape to choose and a colour or number (null: untouched).
        const wchar_t* chooseShape;
        const wchar_t* type;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"C_C", TRUE, L"A,00FF00", {L"B", L"A"}, L"A", L"00FF00", nullptr, nullptr, L"A,00FF00"},
        {L"L_C", FALSE, L"", {}, L"", L"FFFFFF", nullptr, nullptr, L",FFFFFF"},
        {L"L_F", FALSE, L"", {L"B", L"A"}, L"A", L"FFFFFF", L"B", L"FF8000", L"B,FF8000"},
        // A removed "Pump1" selects nothing, not "Pump10", and OK keeps it.
        {L"C_P",
         TRUE,
         L"Pump1,0000FF",
         {L"Pump10", L"Pump2"},
         L"",
         L"0000FF",
         nullptr,
         nullptr,
         L"Pump1,0000FF"},
        {L"F_T", FALSE, L"", {L"B", L"A"}, L"A", L"1", nullptr, nullptr, L"A,1"},
        {L"L_W", TRUE, L"B,55", {L"A", L"B"}, L"B", L"55", nullptr, L"100", L"B,100"},
        {L"F_T", TRUE, L"B,7", {L"A", L"B"}, L"B", L"7", nullptr, L"0", L"B,0"},
        {L"L_W", TRUE, L"Pump1,3", {L"Pump10"}, L"", L"3", L"Pump10", nullptr, L"Pump10,3"},
        // Items the editor never writes open on defaults: no colour, a broken colour, no number.
        {L"C_C", TRUE, L"A", {L"A"}, L"A", L"FFFFFF", nullptr, nullptr, L"A,FFFFFF"},
        {L"L_C", TRUE, L"A,zz,@#$", {L"A"}, L"A", L"FFFFFF", nullptr, nullptr, L"A,FFFFFF"},
        {L"F_T", TRUE, L"A", {L"A"}, L"A", L"1", nullptr, nullptr, L"A,1"},
        {L"L_W", TRUE, L"", {L"A"}, L"", L"1", nullptr, nullptr, L",1"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << CString(c.code).ToUtf8() << " " << CString(c.value).ToUtf8());
        const bool colour = CString(c.code).GetAt(0) != L'F' && CString(c.code) != L"L_W";
        const CStringArray names = Names(c.names);
        CActionItemRequest request;
        request.strCode = c.code;
        request.strValue = c.value;
        request.bEdit = c.edit;
        request.pChildNames = &names;
        CDialogScript script;
        script.Then(
            [&](CDialog& d)
            {
                EXPECT_EQ(CString(c.code), ItemText(d, IDC_ITEM_CODE));
                EXPECT_EQ(CString(c.shownShape), ComboText(d, IDC_ITEM_SHAPE));
                if (colour)
                {
                    auto& dlg = static_cast<CStateColorDlg&>(d);
                    EXPECT_EQ(CString(c.shown), FormatStateColor(dlg.m_btnColor.GetColor()));
                    if (c.type)
                    {
                        COLORREF cr = 0;
                        EXPECT_TRUE(ParseStateColor(c.type, cr));
                        dlg.m_btnColor.SetColor(cr);
                    }
                }
                else
                {
                    EXPECT_EQ(CString(c.shown), ItemText(d, IDC_ITEM_NUMBER));
                    if (c.type)
                        d.SetDlgItemText(IDC_ITEM_NUMBER, c.type);
                }
                if (c.chooseShape)
                {
                    auto* combo = static_cast<CComboBox*>(d.GetDlgItem(IDC_ITEM_SHAPE));
                    combo->SetCurSel(combo->FindStringExact(-1, c.chooseShape));
                }
                return IDOK;
            });
        ASSERT_TRUE(HasActionItemEditor(c.code));
        ASSERT_TRUE(RunActionItemEditor(nullptr, request));
        EXPECT_EQ(CString(c.result), request.strValue);
        EXPECT_EQ(CString(c.code), request.strCode);
        EXPECT_EQ(CString(colour ? L"Color State Setting" : L"Type Setting"), script.titles.at(0));
    }
}

TEST_F(CActionItemTest, NumberEditorRefusesOutOfRangeAndCancelChangesNothing)
{
    const CStringArray names = Names({L"A"});
    CActionItemRequest request;
    request.strCode = L"F_T";
    request.strValue = L"A,5";
    request.bEdit = TRUE;
    request.pChildNames = &names;
    CDialogScript script;
    script.Then(
        [&](CDialog& d)
        {
            for (const wchar_t* bad : {L"101", L"-1"})
            {
                d.SetDlgItemText(IDC_ITEM_NUMBER, bad);
                Click(d, IDOK);
                EXPECT_TRUE(d.IsWindowVisible()) << "refused, still open";
            }
            d.SetDlgItemText(IDC_ITEM_NUMBER, L"100");
            return IDCANCEL;
        });
    EXPECT_FALSE(RunActionItemEditor(nullptr, request));
    EXPECT_EQ(CString(L"A,5"), request.strValue);
    ASSERT_EQ(2u, script.messages.size());
    EXPECT_NE(script.messages[0].Find(L"0"), -1);
    EXPECT_NE(script.messages[0].Find(L"100"), -1);

    // No editor for an unknown code: nothing opens, nothing changes.
    request.strCode = L"X_Y";
    EXPECT_FALSE(HasActionItemEditor(L"X_Y"));
    EXPECT_FALSE(RunActionItemEditor(nullptr, request));
    EXPECT_EQ(1u, script.titles.size()) << "only the number editor opened";
}

TEST_F(CActionItemTest, StateChooserListsRecordNamesAndPreselectsExactly)
{
    struct Case
    {
        const wchar_t* states;
        BOOL edit;
        const wchar_t* current;
        const wchar_t* listed;
        const wchar_t* selected;
        const wchar_t* result; // null: OK refused
    };
    const Case cases[] = {
        {L"STATE_0$C_C,A,FF0000#H_H,B@STATE_1$C_C,A,00FF00", FALSE, L"", L"STATE_0|STATE_1", L"STATE_0",
         L"STATE_0"},
        {L"STATE_0$C_C,A,FF0000@STATE_1$C_C,A,00FF00", TRUE, L"STATE_1", L"STATE_0|STATE_1", L"STATE_1",
         L"STATE_1"},
        // The library's names-only records list as their names.
        {L"Open@Close", TRUE, L"Close", L"Open|Close", L"Close", L"Close"},
        // A state that is gone preselects nothing, not one that begins like it.
        {L"Pump10$C_C,A,FF0000", TRUE, L"Pump1", L"Pump10", L"", nullptr},
        {L"", FALSE, L"", L"", L"", nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(CString(c.states).ToUtf8());
        CActionItemRequest request;
        request.strCode = L"L_S";
        request.strStateString = c.states;
        request.strValue = c.current;
        request.bEdit = c.edit;
        CDialogScript script;
        bool stayed = false;
        script.Then(
            [&](CDialog& d)
            {
                EXPECT_EQ(CString(c.listed),
                          Joined(
                              [&]
                              {
                                  CStringArray a;
                                  auto* combo = static_cast<CComboBox*>(d.GetDlgItem(IDC_LINK_STATES));
                                  for (int i = 0; i < combo->GetCount(); ++i)
                                  {
                                      CString t;
                                      combo->GetLBText(i, t);
                                      a.Add(t);
                                  }
                                  return a;
                              }()));
                EXPECT_EQ(CString(c.selected), ComboText(d, IDC_LINK_STATES));
                Click(d, IDOK);
                stayed = d.IsWindowVisible();
                return stayed ? IDCANCEL : IDOK;
            });
        EXPECT_EQ(c.result != nullptr, bool(RunActionItemEditor(nullptr, request)));
        EXPECT_EQ(c.result == nullptr, stayed);
        if (c.result)
            EXPECT_EQ(CString(c.result), request.strValue);
        EXPECT_EQ(CString(L"Which states"), script.titles.at(0));
    }
}

TEST_F(CActionItemTest, HideEditorsKeepOneShapeShownAndPreviewTheSelectedChild)
{
    // Three children: a red rectangle, a blue ellipse, a green rectangle.
    std::vector<CFOShapePtr<CFODrawShape>> keep;
    CFOTypedShapeObList shapes;
    const struct
    {
        const wchar_t* key;
        bool ellipse;
        COLORREF fill;
    } children[] = {
        {L"A", false, RGB(255, 0, 0)}, {L"B", true, RGB(0, 0, 255)}, {L"C", false, RGB(0, 160, 0)}};
    int x = 10;
    for (const auto& child : children)
    {
        CFODrawShape* s = child.ellipse ? static_cast<CFODrawShape*>(new CFOEllipseShape) : new CFORectShape;
        keep.emplace_back(s);
        CRect rc(x, 10, x + 60, 50);
        s->Create(rc);
        s->SetKeyId1(child.key);
        s->SetBkColor(child.fill);
        shapes.AddTail(s);
        x += 80;
    }
    const CStringArray names = Names({L"C", L"A", L"B"});

    CActionItemRequest request;
    request.strCode = L"H_H";
    request.pChildNames = &names;
    request.pChildShapes = &shapes;
    CDialogScript script;
    script.Then(
        [&](CDialog& d)
        {
            auto& dlg = static_cast<CAddNewStateDlg&>(d);
            EXPECT_EQ(CString(L"A|B|C"), Joined(ListTexts(d, IDC_HIDE_ALL)));
            EXPECT_EQ(CString(L"A"), dlg.GetPreview().GetShape()->GetKeyId1());
            // Hide B (selected by a click), then A by a double-click; C, the last shown, stays.
            auto* all = static_cast<CListBox*>(d.GetDlgItem(IDC_HIDE_ALL));
            all->SetCurSel(1);
            Notify(d, IDC_HIDE_ALL, LBN_SELCHANGE);
            EXPECT_EQ(CString(L"B"), dlg.GetPreview().GetShape()->GetKeyId1());
            Click(d, IDC_HIDE_MOVE);
            EXPECT_EQ(CString(L"A|C"), Joined(ListTexts(d, IDC_HIDE_ALL)));
            EXPECT_EQ(1, all->GetCurSel()) << "the entry that followed B";
            all->SetCurSel(0);
            Notify(d, IDC_HIDE_ALL, LBN_DBLCLK);
            EXPECT_EQ(CString(L"A|B"), Joined(ListTexts(d, IDC_HIDE_HIDDEN)));
            EXPECT_TRUE(script.messages.empty());
            Click(d, IDC_HIDE_MOVE);
            EXPECT_EQ(1u, script.messages.size());
            EXPECT_EQ(CString(L"C"), Joined(ListTexts(d, IDC_HIDE_ALL)));
            // The preview shows B, fitted into the frame, as a screenshot.
            auto* hidden = static_cast<CListBox*>(d.GetDlgItem(IDC_HIDE_HIDDEN));
            hidden->SetCurSel(1);
            Notify(d, IDC_HIDE_HIDDEN, LBN_SELCHANGE);
            CFODrawShape* shown = dlg.GetPreview().GetShape();
            EXPECT_EQ(CString(L"B"), shown->GetKeyId1());
            EXPECT_NE(shown, shapes.GetObject(1)) << "a copy";
            CRect client;
            dlg.GetPreview().GetClientRect(&client);
            client.DeflateRect(4, 4);
            EXPECT_EQ(client, shown->GetDrawRect());
            EXPECT_TRUE(SaveShot(d, QYR_HIDE_EDITOR_PNG));
            const QImage preview = dlg.GetPreview().GetWidget()->grab().toImage();
            EXPECT_EQ(QColor(0, 0, 255), preview.pixelColor(client.CenterPoint().x, client.CenterPoint().y));
            EXPECT_EQ(QColor(255, 255, 255), preview.pixelColor(client.left + 2, client.top + 2))
                << "outside the ellipse";
            EXPECT_EQ(QColor(0, 0, 0), preview.pixelColor(0, client.CenterPoint().y))
                << "the frame's dark side";
            return IDOK;
        });
    ASSERT_TRUE(RunActionItemEditor(nullptr, request));
    EXPECT_EQ(CString(L"A,B"), request.strValue);
    ASSERT_EQ(1u, script.messages.size());
    EXPECT_EQ(
        CString(L"There must be at least one shape to be shown with this composite shape, so you cann't "
                L"move all the shapes to hide shape list."),
        script.messages[0]);
    EXPECT_EQ(UINT(MB_ICONINFORMATION), script.messageTypes[0] & MB_ICONMASK);
    EXPECT_EQ(CString(L"Add new hide state"), script.titles.at(0));

    // Editing lists the value's names trimmed; showing one again and OK writes the rest.
    request.bEdit = TRUE;
    request.strValue = L"A, B ,  C";
    CDialogScript edit;
    edit.Then(
        [&](CDialog& d)
        {
            EXPECT_EQ(CString(L"A|B|C"), Joined(ListTexts(d, IDC_HIDE_HIDDEN)));
            EXPECT_EQ(CString(L""), Joined(ListTexts(d, IDC_HIDE_ALL)));
            Click(d, IDC_HIDE_BACK);
            EXPECT_EQ(CString(L"A"), Joined(ListTexts(d, IDC_HIDE_ALL)));
            // Showing needs no check: the last hidden one goes back too, and OK then wants a name.
            Click(d, IDC_HIDE_BACK);
            Click(d, IDC_HIDE_BACK);
            EXPECT_EQ(CString(L"A|B|C"), Joined(ListTexts(d, IDC_HIDE_ALL)));
            Click(d, IDOK);
            EXPECT_TRUE(d.IsWindowVisible());
            Notify(d, IDC_HIDE_ALL, LBN_DBLCLK);
            return IDOK;
        });
    ASSERT_TRUE(RunActionItemEditor(nullptr, request));
    EXPECT_EQ(CString(L"Edit State Value"), edit.titles.at(0));
    EXPECT_EQ(CString(L"C"), request.strValue) << "the entry last shown again was selected";
}
