// The design view's Multiple States Building Tool on a composite: the state editor opens on the
// shape's state string with its children's unique keys, and OK writes the rebuilt string back.
#include "../editor/EditorTestSupport.h"

#include "behaviour/HideStateDlg.h"
#include "behaviour/StateColorDlg.h"
#include "behaviour/StateItemDlgs.h"
#include "behaviour/StateSetDlgs.h"
#include "figkit/FOCompositeShape.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/ListBoxCtl.h"

using namespace editortest;

namespace
{
class CStateCommandTest : public CDesignTest
{
protected:
    // Two rectangles drawn and grouped; the group stays selected.
    CFOCompositeShape* DrawGroup(CQYRDrawView* view)
    {
        CMyExtDataModel* model = view->GetEditModel();
        Command(view, 32823);
        Drag(view, CPoint(40, 40), CPoint(140, 100));
        Command(view, 32823);
        Drag(view, CPoint(200, 40), CPoint(280, 120));
        Drag(view, CPoint(5, 5), CPoint(320, 170));
        Command(view, ID_FOP_GROUP);
        auto* group = dynamic_cast<CFOCompositeShape*>(model->GetShapes()->GetHead());
        return group && group == view->GetFirstSelectShape() ? group : nullptr;
    }
};

void Notify(CDialog& dlg, int nID, int nCode)
{
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode), LPARAM(dlg.GetDlgItem(nID)->GetSafeHwnd()));
}
} // namespace

TEST_F(CStateCommandTest, MultipleStatesBuildsTwoStatesThroughTheItemEditors)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFOCompositeShape* group = DrawGroup(view);
    ASSERT_NE(group, nullptr);
    const wchar_t* keys[] = {L"A", L"B"};
    int k = 0;
    for (CFODrawShape* child : group->GetCompList())
        child->SetKeyId1(keys[k++]);
    int state = 0;
    std::vector<CString> proposed;
    CModalHookScope hook(
        [&](const AfxModalRequest& r) -> int
        {
            CDialog* d = r.pDialog;
            if (!d)
                return IDCANCEL;
            if (dynamic_cast<CStateSetDlg*>(d))
            {
                // Two states, each built in its own state dialog.
                d->SendMessage(WM_COMMAND, MAKEWPARAM(1041, BN_CLICKED), 0);
                d->SendMessage(WM_COMMAND, MAKEWPARAM(1041, BN_CLICKED), 0);
                return IDOK;
            }
            if (dynamic_cast<CSubOptionStateDlg*>(d))
            {
                CString name;
                d->GetDlgItemText(1035, name);
                proposed.push_back(name);
                d->SendMessage(WM_COMMAND, MAKEWPARAM(1056, BN_CLICKED), 0); // fill colour
                if (state == 0)
                    d->SendMessage(WM_COMMAND, MAKEWPARAM(1041, BN_CLICKED), 0); // hide a shape
                ++state;
                return IDOK;
            }
            if (auto* colour = dynamic_cast<CStateColorDlg*>(d))
            {
                auto* combo = static_cast<CComboBox*>(d->GetDlgItem(1044));
                combo->SetCurSel(combo->FindStringExact(-1, L"A"));
                colour->m_btnColor.SetColor(state == 0 ? RGB(255, 0, 0) : RGB(0, 255, 0));
                return IDOK;
            }
            if (dynamic_cast<CAddNewStateDlg*>(d))
            {
                auto* all = static_cast<CListBox*>(d->GetDlgItem(1034));
                all->SetCurSel(all->FindStringExact(-1, L"B"));
                Notify(*d, 1034, LBN_SELCHANGE);
                d->SendMessage(WM_COMMAND, MAKEWPARAM(1039, BN_CLICKED), 0);
                return IDOK;
            }
            return IDCANCEL;
        });
    Command(view, 32831);
    EXPECT_EQ(proposed, (std::vector<CString>{L"STATE_0", L"STATE_1"}));
    EXPECT_EQ(group->GetStateString(), CString(L"STATE_0$C_C,A,FF0000#H_H,B@STATE_1$C_C,A,00FF00"));
}

TEST_F(CStateCommandTest, MultipleStatesEditsTheCompositesStateString)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    CFOCompositeShape* group = DrawGroup(view);
    ASSERT_NE(group, nullptr);
    for (CFODrawShape* child : group->GetCompList())
        child->SetKeyId1(L"A");
    group->SetStateString(L"Open@Close");
    model->SetModifiedFlag(FALSE);

    struct Case
    {
        int answer;
        const wchar_t* state;
        BOOL modified;
    };
    // Cancel leaves the shape alone; OK after one Up writes the rows in their new order.
    const Case cases[] = {{IDCANCEL, L"Open@Close", FALSE}, {IDOK, L"Close@Open", TRUE}};
    for (const Case& c : cases)
    {
        std::vector<CString> names;
        int shown = 0;
        CModalHookScope hook(
            [&](const AfxModalRequest& r) -> int
            {
                auto* dlg = dynamic_cast<CStateSetDlg*>(r.pDialog);
                if (!dlg)
                    return IDCANCEL;
                ++shown;
                for (INT_PTR i = 0; i < dlg->m_arChildNames.GetSize(); ++i)
                    names.push_back(dlg->m_arChildNames[i]);
                EXPECT_EQ(dlg->m_listChildShapes.GetCount(), 2);
                dlg->SelectRow(1);
                dlg->MoveUp();
                return c.answer;
            });
        Command(view, 32831);
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(names, (std::vector<CString>{L"A", L"K1"}));
        EXPECT_EQ(group->GetStateString(), CString(c.state));
        EXPECT_EQ(model->IsModified(), c.modified);
    }
}
