// The design view's Multiple States Building Tool on a composite: the state editor opens on the
// shape's state string with its children's unique keys, and OK writes the rebuilt string back.
#include "../editor/EditorTestSupport.h"

#include "behaviour/StateSetDlgs.h"
#include "figkit/FOCompositeShape.h"

using namespace editortest;

TEST_F(CDesignTest, MultipleStatesEditsTheCompositesStateString)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CMyExtDataModel* model = view->GetEditModel();
    Command(view, 32823);
    Drag(view, CPoint(40, 40), CPoint(140, 100));
    Command(view, 32823);
    Drag(view, CPoint(200, 40), CPoint(280, 120));
    Drag(view, CPoint(5, 5), CPoint(320, 170));
    Command(view, ID_FOP_GROUP);
    auto* group = dynamic_cast<CFOCompositeShape*>(model->GetShapes()->GetHead());
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group, view->GetFirstSelectShape());
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
