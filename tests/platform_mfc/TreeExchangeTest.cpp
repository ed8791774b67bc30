// The tree control (items, sorted insertion, data, deletion, notices), the combo box class, the
// exchange of floats and list-box strings with the range checks, and file times as text.
#include "WndTestSupport.h"

#include "mfc/Controls.h"
#include "mfc/Dialog.h"
#include "mfc/FileTimeText.h"
#include "mfc/WaitCursor.h"
#include "win32/System.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QTreeWidget>

using namespace wndtest;

namespace
{
const UINT IDC_TREE = 40;

// A window that records the tree's notices and may refuse an opening.
class CTreeHost : public CWnd
{
public:
    std::vector<std::pair<UINT, DWORD_PTR>> notes; // code, new item's data
    BOOL bVeto = FALSE;

    void OnSelChanged(NMHDR* pHdr, LRESULT* pResult)
    {
        notes.emplace_back(pHdr->code, DWORD_PTR(reinterpret_cast<NMTREEVIEW*>(pHdr)->itemNew.lParam));
        *pResult = 0;
    }
    void OnExpanding(NMHDR* pHdr, LRESULT* pResult)
    {
        notes.emplace_back(pHdr->code, DWORD_PTR(reinterpret_cast<NMTREEVIEW*>(pHdr)->itemNew.lParam));
        *pResult = bVeto;
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTreeHost, CWnd)
ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, &CTreeHost::OnSelChanged)
ON_NOTIFY(TVN_ITEMEXPANDING, IDC_TREE, &CTreeHost::OnExpanding)
END_MESSAGE_MAP()

class CTreeExchangeTest : public CWndTestBase
{
};

HTREEITEM Insert(CTreeCtrl& tree, LPCWSTR text, HTREEITEM parent, HTREEITEM after, LPARAM data)
{
    TVINSERTSTRUCT ins = {};
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<LPWSTR>(text);
    ins.item.lParam = data;
    return tree.InsertItem(&ins);
}

std::vector<CString> ChildTexts(CTreeCtrl& tree, HTREEITEM parent)
{
    std::vector<CString> texts;
    for (HTREEITEM h = tree.GetChildItem(parent); h; h = tree.GetNextSiblingItem(h))
        texts.push_back(tree.GetItemText(h));
    return texts;
}
} // namespace

TEST_F(CTreeExchangeTest, TreeKeepsItemsInOrderWithTheirDataAndForgetsDeletedOnes)
{
    CTreeHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, CRect(0, 0, 200, 200), &host, IDC_TREE));
    HTREEITEM root = Insert(tree, L"Root", TVI_ROOT, TVI_LAST, 1);
    for (LPCWSTR name : {L"pear", L"Apple", L"fig", L"apple"})
        Insert(tree, name, root, TVI_SORT, 0);
    Insert(tree, L"zz-first", root, TVI_FIRST, 7);
    Insert(tree, L"last", root, TVI_LAST, 8);
    EXPECT_EQ(ChildTexts(tree, root),
              (std::vector<CString>{L"zz-first", L"Apple", L"apple", L"fig", L"pear", L"last"}));
    EXPECT_EQ(tree.GetRootItem(), root);
    EXPECT_EQ(tree.GetItemData(root), 1u);
    HTREEITEM first = tree.GetChildItem(root);
    EXPECT_EQ(tree.GetItemData(first), 7u);
    EXPECT_TRUE(tree.SetItemData(first, 42));
    EXPECT_EQ(tree.GetItemData(first), 42u);
    EXPECT_EQ(tree.GetParentItem(first), root);
    EXPECT_EQ(tree.GetCount(), 7u);

    // Deleting the children one by one; their handles are refused afterwards.
    HTREEITEM grandchild = tree.InsertItem(L"Dummy", first);
    while (HTREEITEM child = tree.GetChildItem(root))
        EXPECT_TRUE(tree.DeleteItem(child));
    EXPECT_EQ(tree.GetCount(), 1u);
    EXPECT_FALSE(tree.DeleteItem(first));
    EXPECT_EQ(tree.GetItemText(grandchild), CString());
    EXPECT_EQ(tree.InsertItem(L"orphan", grandchild), nullptr);
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.GetRootItem(), nullptr);
    host.DestroyWindow();
}

TEST_F(CTreeExchangeTest, TreeTellsItsParentOfSelectionAndOpening)
{
    CTreeHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &host, IDC_TREE));
    HTREEITEM a = Insert(tree, L"A", TVI_ROOT, TVI_LAST, 10);
    HTREEITEM b = Insert(tree, L"B", TVI_ROOT, TVI_LAST, 20);
    Insert(tree, L"Dummy", b, TVI_LAST, 0);

    EXPECT_TRUE(tree.SelectItem(a));
    EXPECT_EQ(tree.GetSelectedItem(), a);
    // A person clicking B.
    auto* widget = qobject_cast<QTreeWidget*>(tree.GetWidget());
    widget->setCurrentItem(widget->topLevelItem(1));
    EXPECT_EQ(tree.GetSelectedItem(), b);

    host.bVeto = TRUE;
    EXPECT_FALSE(tree.Expand(b, TVE_EXPAND));
    EXPECT_FALSE(tree.GetItemState(b, TVIS_EXPANDED));
    widget->expandItem(widget->topLevelItem(1));
    EXPECT_FALSE(tree.GetItemState(b, TVIS_EXPANDED));
    host.bVeto = FALSE;
    EXPECT_TRUE(tree.Expand(b, TVE_EXPAND));
    EXPECT_TRUE(tree.GetItemState(b, TVIS_EXPANDED));

    const std::vector<std::pair<UINT, DWORD_PTR>> expected = {
        {TVN_SELCHANGED, 10},    {TVN_SELCHANGED, 20},    {TVN_ITEMEXPANDING, 20},
        {TVN_ITEMEXPANDING, 20}, {TVN_ITEMEXPANDING, 20},
    };
    EXPECT_EQ(host.notes, expected);
    host.DestroyWindow();
}

TEST_F(CTreeExchangeTest, ExchangeChecksRangesAndKeepsTheDialogOpen)
{
    // A dialog made from a template of this module's resources: edits 1001 and 1002, list 1003.
    class CRangeDlg : public CDialog
    {
    public:
        CRangeDlg() : CDialog(L"RANGES") {}
        DWORD dwRate = 5;
        LONG lBias = 0;
        float fBand = 0.5f;
        CString strLine;
        void DoDataExchange(CDataExchange* pDX) override
        {
            DDX_Text(pDX, 1001, dwRate);
            DDV_MinMaxDWord(pDX, dwRate, 0, 100000);
            DDX_Text(pDX, 1002, fBand);
            DDV_MinMaxFloat(pDX, fBand, 0.0f, 100.0f);
            DDX_LBString(pDX, 1003, strLine);
        }
    };
    struct Case
    {
        const char* rate;
        const char* band;
        const wchar_t* message;
    };
    const Case cases[] = {
        {"100000", "100", nullptr},
        {"100001", "1", L"Please enter an integer between 0 and 100000."},
        {"1", "100.5", L"Please enter a number between 0 and 100."},
        {"1", "1e999", L"Please enter a number."},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.rate);
        CRangeDlg dlg;
        std::vector<CString> boxes;
        bool open = false;
        CHookScope hook(
            [&](const AfxModalRequest& r)
            {
                if (r.kind != AfxModalKind::Dialog)
                {
                    boxes.push_back(r.strText);
                    return IDOK;
                }
                CListBox* list = static_cast<CListBox*>(r.pDialog->GetDlgItem(1003));
                list->AddString(L"first");
                list->AddString(L"second");
                list->SetCurSel(1);
                r.pDialog->SetDlgItemText(1001, CString(c.rate));
                r.pDialog->SetDlgItemText(1002, CString(c.band));
                r.pDialog->SendMessage(WM_COMMAND, IDOK, 0);
                open = r.pDialog->GetWidget()->isVisible();
                return IDCANCEL;
            });
        const INT_PTR result = dlg.DoModal();
        if (!c.message)
        {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(dlg.dwRate, 100000u);
            EXPECT_EQ(dlg.fBand, 100.0f);
            EXPECT_EQ(dlg.strLine, CString(L"second"));
            EXPECT_TRUE(boxes.empty());
            continue;
        }
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_TRUE(open);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], CString(c.message));
    }
}

TEST_F(CTreeExchangeTest, ComboBoxClassAndWaitCursor)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    CComboBox combo;
    ASSERT_TRUE(
        combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT, CRect(0, 0, 100, 150), &host, 5));
    for (LPCWSTR s : {L"b", L"c", L"a"})
        combo.AddString(s);
    CString text;
    combo.GetLBText(0, text);
    EXPECT_EQ(text, CString(L"a"));
    EXPECT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.SetCurSel(2), 2);
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.SetCurSel(-1), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(combo.SetItemData(1, 99), CB_OKAY);
    EXPECT_EQ(combo.GetItemData(1), 99u);
    // The box of a drop-down keeps one line's height, whatever the template gives its list.
    EXPECT_LT(combo.GetWidget()->height(), 150);
    {
        CWaitCursor wait;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    host.DestroyWindow();
}

TEST(FileTimeText, FormatsLocalTimeAndRefusesWhatTheClockCannotShow)
{
    // 2020-01-02 03:04:05 UTC.
    SYSTEMTIME st = {2020, 1, 4, 2, 3, 4, 5, 0};
    FILETIME ft = {};
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    CString text;
    ASSERT_TRUE(AfxFormatFileTime(ft, L"%Y", text));
    EXPECT_EQ(text, CString(L"2020"));
    EXPECT_TRUE(AfxFormatFileTime(ft, L"%c", text));
    EXPECT_FALSE(text.IsEmpty());
    EXPECT_FALSE(AfxFormatFileTime(FILETIME{0, 0}, L"%c", text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(AfxFormatFileTime(FILETIME{0xFFFFFFFF, 0xFFFFFFFF}, L"%c", text));
}
