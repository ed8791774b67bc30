// Tree controls: hit tests, label editing, the drop target, drag images and sorting.
#include "WndTestSupport.h"

#include "mfc/EditCtl.h"
#include "mfc/ImageList.h"
#include "mfc/Notify.h"
#include "mfc/TreeCtrl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <memory>
#include <vector>

using namespace wndtest;

namespace
{
// Answers the label-edit notifications as told and notes the texts it was given.
class CTreeHost : public CWnd
{
public:
    LRESULT beginAnswer = 0;
    LRESULT endAnswer = TRUE;
    std::vector<std::wstring> ended; // "<null>" for a cancelled edit
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY)
        {
            auto* nm = reinterpret_cast<NMTVDISPINFOW*>(lParam);
            if (nm->hdr.code == TVN_BEGINLABELEDITW)
                return beginAnswer;
            if (nm->hdr.code == TVN_ENDLABELEDITW)
            {
                ended.push_back(nm->item.pszText ? nm->item.pszText : L"<null>");
                return endAnswer;
            }
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

int CALLBACK ByDataDescending(LPARAM a, LPARAM b, LPARAM)
{
    return int(b - a);
}
} // namespace

class TreeEdit : public CWndTestBase
{
protected:
    void Make()
    {
        ASSERT_TRUE(
            host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 300), nullptr, 0));
        ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_EDITLABELS, CRect(0, 0, 300, 300), &host, 40));
        root = tree.InsertItem(L"Project");
        for (const wchar_t* name : {L"pump", L"Boiler", L"alarm", L"Cooler"})
            items.push_back(tree.InsertItem(name, root));
        for (size_t i = 0; i < items.size(); ++i)
            tree.SetItemData(items[i], i + 1);
        tree.Expand(root, TVE_EXPAND);
        host.ShowWindow(SW_SHOW);
        AfxPumpMessages();
    }
    std::vector<CString> Children()
    {
        std::vector<CString> out;
        for (HTREEITEM h = tree.GetChildItem(root); h; h = tree.GetNextSiblingItem(h))
            out.push_back(tree.GetItemText(h));
        return out;
    }
    CTreeHost host;
    CTreeCtrl tree;
    HTREEITEM root = nullptr;
    std::vector<HTREEITEM> items;
};

TEST_F(TreeEdit, HitTestsTellTheItemAndThePartUnderThePoint)
{
    Make();
    CRect label;
    ASSERT_TRUE(tree.GetItemRect(items[1], &label, TRUE));
    UINT flags = 0;
    EXPECT_EQ(tree.HitTest(label.CenterPoint(), &flags), items[1]);
    EXPECT_EQ(flags, UINT(TVHT_ONITEMLABEL));
    EXPECT_EQ(tree.HitTest(CPoint(label.right + 40, label.CenterPoint().y), &flags), items[1]);
    EXPECT_EQ(flags, UINT(TVHT_ONITEMRIGHT));
    EXPECT_EQ(tree.HitTest(CPoint(10, 280), &flags), nullptr);
    EXPECT_EQ(flags, UINT(TVHT_NOWHERE));
}

TEST_F(TreeEdit, LabelEditEndsWithTheTextTheParentKeepsOrRefuses)
{
    Make();
    CEdit* edit = tree.EditLabel(items[0]);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(tree.GetEditControl(), edit);
    edit->SetWindowText(L"Pump1");
    EXPECT_TRUE(tree.EndEditLabelNow(FALSE));
    EXPECT_EQ(tree.GetItemText(items[0]), CString(L"Pump1"));
    EXPECT_EQ(tree.GetEditControl(), nullptr);

    // The parent refuses: the label stays.
    host.endAnswer = FALSE;
    tree.EditLabel(items[0])->SetWindowText(L"Bad/Name");
    tree.EndEditLabelNow(FALSE);
    EXPECT_EQ(tree.GetItemText(items[0]), CString(L"Pump1"));

    // Escape cancels: the parent is told without a text.
    host.endAnswer = TRUE;
    CEdit* third = tree.EditLabel(items[0]);
    ASSERT_NE(third, nullptr);
    third->SetWindowText(L"Gone");
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(third->GetWidget(), &esc);
    AfxPumpMessages();
    EXPECT_EQ(tree.GetItemText(items[0]), CString(L"Pump1"));
    EXPECT_EQ(host.ended, (std::vector<std::wstring>{L"Pump1", L"Bad/Name", L"<null>"}));

    // A parent that refuses to begin gets no edit.
    host.beginAnswer = TRUE;
    EXPECT_EQ(tree.EditLabel(items[0]), nullptr);
}

TEST_F(TreeEdit, DropTargetDragImageAndSorting)
{
    Make();
    EXPECT_TRUE(tree.SelectDropTarget(items[2]));
    EXPECT_EQ(tree.GetDropHilightItem(), items[2]);
    EXPECT_EQ(tree.GetItemState(items[2], TVIS_DROPHILITED), UINT(TVIS_DROPHILITED));
    EXPECT_TRUE(tree.SelectDropTarget(nullptr));
    EXPECT_EQ(tree.GetDropHilightItem(), nullptr);

    std::unique_ptr<CImageList> image(tree.CreateDragImage(items[1]));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetImageCount(), 1);

    EXPECT_TRUE(tree.SortChildren(root));
    EXPECT_EQ(Children(), (std::vector<CString>{L"alarm", L"Boiler", L"Cooler", L"pump"}));
    TVSORTCB sort = {root, &ByDataDescending, 0};
    EXPECT_TRUE(tree.SortChildrenCB(&sort));
    EXPECT_EQ(Children(), (std::vector<CString>{L"Cooler", L"alarm", L"Boiler", L"pump"}));
    EXPECT_EQ(tree.GetItemState(root, TVIS_EXPANDED), UINT(TVIS_EXPANDED));
}
