// Tree controls: hit tests, label editing, the drop target, drag images and sorting.
#include "WndTestSupport.h"

#include "mfc/EditCtl.h"
#include "mfc/ImageList.h"
#include "mfc/Notify.h"
#include "mfc/TreeCtrl.h"

#include <QApplication>
#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>
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
    LRESULT selChangingAnswer = 0;
    std::vector<UINT> codes;         // every notification, in order
    std::vector<std::wstring> ended; // "<null>" for a cancelled edit
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY)
        {
            auto* nm = reinterpret_cast<NMTVDISPINFOW*>(lParam);
            codes.push_back(nm->hdr.code);
            if (nm->hdr.code == TVN_SELCHANGINGW)
                return selChangingAnswer;
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

// A tree that handles its own label-edit start (a reflected notification) and hears its mouse.
class CSelfTree : public CTreeCtrl
{
public:
    int begins = 0;
    std::vector<UINT> mouse;
    void OnBegin(NMHDR*, LRESULT* pResult)
    {
        ++begins;
        *pResult = 1;
    }
    void OnMouseMove(UINT, CPoint) override { mouse.push_back(WM_MOUSEMOVE); }
    void OnRButtonDown(UINT, CPoint) override { mouse.push_back(WM_RBUTTONDOWN); }
    void OnRButtonUp(UINT, CPoint) override { mouse.push_back(WM_RBUTTONUP); }
    void OnContextMenu(CWnd*, CPoint) override { mouse.push_back(WM_CONTEXTMENU); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSelfTree, CTreeCtrl)
ON_NOTIFY_REFLECT(TVN_BEGINLABELEDIT, &CSelfTree::OnBegin)
ON_WM_MOUSEMOVE()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

void SendMouse(CTreeCtrl& tree, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QWidget* vp = static_cast<QAbstractScrollArea*>(tree.GetWidget())->viewport();
    const QPoint p = at - vp->geometry().topLeft();
    QMouseEvent e(type, QPointF(p), QPointF(vp->mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(vp, &e);
}

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

TEST_F(TreeEdit, MouseDragsRightClicksAndSelectionChangesReachTheWindowAndTheParent)
{
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 300), nullptr, 0));
    CSelfTree self;
    ASSERT_TRUE(self.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 300), &host, 41));
    HTREEITEM a = self.InsertItem(L"alpha");
    HTREEITEM b = self.InsertItem(L"beta");
    host.ShowWindow(SW_SHOW);
    AfxPumpMessages();
    CRect ra, rb;
    ASSERT_TRUE(self.GetItemRect(a, &ra, TRUE));
    ASSERT_TRUE(self.GetItemRect(b, &rb, TRUE));
    const QPoint pa(ra.CenterPoint().x, ra.CenterPoint().y), pb(rb.CenterPoint().x, rb.CenterPoint().y);

    // A right click: the window hears the buttons, the parent NM_RCLICK; unanswered, the click asks
    // the window for its menu.
    host.codes.clear();
    SendMouse(self, QEvent::MouseButtonPress, pa, Qt::RightButton, Qt::RightButton);
    SendMouse(self, QEvent::MouseButtonRelease, pa, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(self.mouse, (std::vector<UINT>{WM_RBUTTONDOWN, WM_CONTEXTMENU, WM_RBUTTONUP}));
    EXPECT_EQ(host.codes, (std::vector<UINT>{NM_RCLICK}));

    // Pressed and moved away: a right-button drag begins, once, and no click is told.
    host.codes.clear();
    SendMouse(self, QEvent::MouseButtonPress, pa, Qt::RightButton, Qt::RightButton);
    SendMouse(self, QEvent::MouseMove, pb, Qt::NoButton, Qt::RightButton);
    SendMouse(self, QEvent::MouseMove, pb + QPoint(1, 0), Qt::NoButton, Qt::RightButton);
    SendMouse(self, QEvent::MouseButtonRelease, pb, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(host.codes, (std::vector<UINT>{UINT(TVN_BEGINRDRAGW)}));
    EXPECT_EQ(std::count(self.mouse.begin(), self.mouse.end(), UINT(WM_MOUSEMOVE)), 2);

    // The parent may keep the selection; a reflected notification never reaches it.
    host.codes.clear();
    host.selChangingAnswer = 1;
    EXPECT_FALSE(self.SelectItem(b));
    EXPECT_NE(self.GetSelectedItem(), b);
    host.selChangingAnswer = 0;
    EXPECT_TRUE(self.SelectItem(b));
    EXPECT_EQ(self.GetSelectedItem(), b);
    EXPECT_EQ(self.EditLabel(a), nullptr);
    EXPECT_EQ(self.begins, 1);
    EXPECT_EQ(std::count(host.codes.begin(), host.codes.end(), UINT(TVN_BEGINLABELEDITW)), 0);

    // The drag image follows the point given, shown or hidden.
    std::unique_ptr<CImageList> image(self.CreateDragImage(a));
    ASSERT_NE(image, nullptr);
    ASSERT_TRUE(image->BeginDrag(0, CPoint(2, 3)));
    EXPECT_FALSE(CImageList::IsDragImageVisible());
    ASSERT_TRUE(CImageList::DragEnter(&self, CPoint(20, 30)));
    CPoint at, expected(20, 30);
    self.ClientToScreen(&expected);
    EXPECT_TRUE(CImageList::IsDragImageVisible(&at));
    EXPECT_EQ(at, CPoint(expected.x - 2, expected.y - 3));
    CImageList::DragShowNolock(FALSE);
    EXPECT_FALSE(CImageList::IsDragImageVisible());
    CImageList::EndDrag();
    EXPECT_FALSE(CImageList::DragShowNolock(TRUE));
    self.DestroyWindow();
}
