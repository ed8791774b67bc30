#include "mfc/TreeCtrl.h"

#include "mfc/ControlsPrivate.h"

#include <QFont>
#include <QHeaderView>
#include <QIcon>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>
#include <unordered_set>

using namespace ControlPriv;

namespace
{
// Knows its live items, so a handle of a deleted one is refused rather than followed.
class CTreeWidget : public QTreeWidget
{
public:
    explicit CTreeWidget(QWidget* parent) : QTreeWidget(parent) {}

    QTreeWidgetItem* Find(HTREEITEM h) const
    {
        auto* item = reinterpret_cast<QTreeWidgetItem*>(h);
        return m_live.count(item) ? item : nullptr;
    }
    void Forget(QTreeWidgetItem* item)
    {
        m_live.erase(item);
        for (int i = 0; i < item->childCount(); ++i)
            Forget(item->child(i));
    }
    void Remember(QTreeWidgetItem* item) { m_live.insert(item); }
    size_t LiveCount() const { return m_live.size(); }
    HIMAGELIST ImageList() const { return m_hImageList; }
    void SetImageList(HIMAGELIST hList) { m_hImageList = hList; }

private:
    HIMAGELIST m_hImageList = nullptr;
    std::unordered_set<QTreeWidgetItem*> m_live;
};

HTREEITEM Handle(QTreeWidgetItem* item)
{
    return reinterpret_cast<HTREEITEM>(item);
}

DWORD_PTR DataOf(const QTreeWidgetItem* item)
{
    return item ? DWORD_PTR(item->data(0, Qt::UserRole).toULongLong()) : 0;
}

const int kImageRole = Qt::UserRole + 1;
const int kSelectedImageRole = Qt::UserRole + 2;

// Shows the item's image of the control's list (the selected image while it is current).
void ShowImage(const CTreeWidget* tree, QTreeWidgetItem* item)
{
    const int role = item == tree->currentItem() ? kSelectedImageRole : kImageRole;
    const QPixmap* image = CImageList::GetImage(tree->ImageList(), item->data(0, role).toInt());
    item->setIcon(0, image ? QIcon(*image) : QIcon());
}

void ShowImages(const CTreeWidget* tree, QTreeWidgetItem* item)
{
    ShowImage(tree, item);
    for (int i = 0; i < item->childCount(); ++i)
        ShowImages(tree, item->child(i));
}

void SetState(QTreeWidgetItem* item, UINT state, UINT mask)
{
    if (mask & TVIS_BOLD)
    {
        QFont font = item->font(0);
        font.setBold(state & TVIS_BOLD);
        item->setFont(0, font);
    }
    if (mask & TVIS_EXPANDED)
        item->setExpanded(state & TVIS_EXPANDED);
}

QWidget* CreateTree(const CString&, DWORD dwStyle, QWidget* pParent)
{
    auto* tree = new CTreeWidget(pParent);
    tree->setColumnCount(1);
    tree->header()->hide();
    tree->setRootIsDecorated(dwStyle & TVS_LINESATROOT);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setUniformRowHeights(true);
    return tree;
}

int ChildCount(QTreeWidget* tree, QTreeWidgetItem* parent)
{
    return parent ? parent->childCount() : tree->topLevelItemCount();
}

QTreeWidgetItem* ChildAt(QTreeWidget* tree, QTreeWidgetItem* parent, int i)
{
    return parent ? parent->child(i) : tree->topLevelItem(i);
}

HTREEITEM Insert(CTreeWidget* tree, const TVINSERTSTRUCTW* ins)
{
    if (!ins)
        return nullptr;
    QTreeWidgetItem* parent = nullptr;
    if (ins->hParent && ins->hParent != TVI_ROOT)
    {
        parent = tree->Find(ins->hParent);
        if (!parent)
            return nullptr;
    }
    const QString text =
        (ins->item.mask & TVIF_TEXT) && ins->item.pszText ? ToQt(ins->item.pszText) : QString();
    const int count = ChildCount(tree, parent);
    int index = count;
    if (ins->hInsertAfter == TVI_FIRST)
        index = 0;
    else if (ins->hInsertAfter == TVI_SORT)
        index = InsertPosition(
            count, -1, true, [tree, parent](int i) { return ChildAt(tree, parent, i)->text(0); }, text);
    else if (QTreeWidgetItem* after = tree->Find(ins->hInsertAfter); after && after->parent() == parent)
        index = (parent ? parent->indexOfChild(after) : tree->indexOfTopLevelItem(after)) + 1;
    auto* item = new QTreeWidgetItem(QStringList(text));
    item->setData(
        0, Qt::UserRole,
        QVariant::fromValue<qulonglong>((ins->item.mask & TVIF_PARAM) ? qulonglong(ins->item.lParam) : 0));
    item->setData(0, kImageRole, (ins->item.mask & TVIF_IMAGE) ? ins->item.iImage : 0);
    item->setData(0, kSelectedImageRole,
                  (ins->item.mask & TVIF_SELECTEDIMAGE) ? ins->item.iSelectedImage : 0);
    if (ins->item.mask & TVIF_STATE)
        SetState(item, ins->item.state, ins->item.stateMask & ~TVIS_EXPANDED);
    if (parent)
        parent->insertChild(index, item);
    else
        tree->insertTopLevelItem(index, item);
    tree->Remember(item);
    ShowImage(tree, item);
    return Handle(item);
}

BOOL Delete(CTreeWidget* tree, HTREEITEM h)
{
    if (!h || h == TVI_ROOT)
    {
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            tree->Forget(tree->topLevelItem(i));
        tree->clear();
        return TRUE;
    }
    QTreeWidgetItem* item = tree->Find(h);
    if (!item)
        return FALSE;
    tree->Forget(item);
    delete item;
    return TRUE;
}

QTreeWidgetItem* Next(CTreeWidget* tree, QTreeWidgetItem* item, UINT code)
{
    switch (code)
    {
    case TVGN_ROOT:
        return tree->topLevelItem(0);
    case TVGN_CARET:
        return tree->currentItem();
    case TVGN_CHILD:
        if (!item)
            return tree->topLevelItem(0);
        return item->child(0);
    case TVGN_PARENT:
        return item ? item->parent() : nullptr;
    case TVGN_NEXT:
    case TVGN_PREVIOUS:
    {
        if (!item)
            return nullptr;
        QTreeWidgetItem* parent = item->parent();
        const int i = parent ? parent->indexOfChild(item) : tree->indexOfTopLevelItem(item);
        const int j = code == TVGN_NEXT ? i + 1 : i - 1;
        return (j >= 0 && j < ChildCount(tree, parent)) ? ChildAt(tree, parent, j) : nullptr;
    }
    default:
        return nullptr;
    }
}

BOOL GetItemFields(CTreeWidget* tree, TVITEMW* tv)
{
    QTreeWidgetItem* item = tv ? tree->Find(tv->hItem) : nullptr;
    if (!item)
        return FALSE;
    if ((tv->mask & TVIF_TEXT) && tv->pszText && tv->cchTextMax > 0)
    {
        const CString text = FromQt(item->text(0));
        const int n = std::min(text.GetLength(), tv->cchTextMax - 1);
        std::copy_n(text.GetString(), n, tv->pszText);
        tv->pszText[n] = L'\0';
    }
    if (tv->mask & TVIF_PARAM)
        tv->lParam = LPARAM(DataOf(item));
    if (tv->mask & TVIF_STATE)
        tv->state = (item->isExpanded() ? TVIS_EXPANDED : 0) | (item->isSelected() ? TVIS_SELECTED : 0) |
                    (item->font(0).bold() ? TVIS_BOLD : 0);
    if (tv->mask & TVIF_IMAGE)
        tv->iImage = item->data(0, kImageRole).toInt();
    if (tv->mask & TVIF_SELECTEDIMAGE)
        tv->iSelectedImage = item->data(0, kSelectedImageRole).toInt();
    if (tv->mask & TVIF_CHILDREN)
        tv->cChildren = item->childCount() ? 1 : 0;
    return TRUE;
}

BOOL SetItemFields(CTreeWidget* tree, const TVITEMW* tv)
{
    QTreeWidgetItem* item = tv ? tree->Find(tv->hItem) : nullptr;
    if (!item)
        return FALSE;
    if ((tv->mask & TVIF_TEXT) && tv->pszText)
        item->setText(0, ToQt(tv->pszText));
    if (tv->mask & TVIF_PARAM)
        item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(qulonglong(tv->lParam)));
    if (tv->mask & TVIF_IMAGE)
        item->setData(0, kImageRole, tv->iImage);
    if (tv->mask & TVIF_SELECTEDIMAGE)
        item->setData(0, kSelectedImageRole, tv->iSelectedImage);
    if (tv->mask & TVIF_STATE)
        SetState(item, tv->state, tv->stateMask);
    ShowImage(tree, item);
    return TRUE;
}

// Tells the parent; its answer (nonzero vetoes an opening).
LRESULT NotifyTree(HWND hWnd, UINT code, UINT action, QTreeWidgetItem* oldItem, QTreeWidgetItem* newItem)
{
    NMTREEVIEWW nm = {};
    nm.action = action;
    nm.itemOld.mask = nm.itemNew.mask = TVIF_HANDLE | TVIF_PARAM;
    nm.itemOld.hItem = Handle(oldItem);
    nm.itemOld.lParam = LPARAM(DataOf(oldItem));
    nm.itemNew.hItem = Handle(newItem);
    nm.itemNew.lParam = LPARAM(DataOf(newItem));
    return AfxSendNotify(hWnd, code, &nm.hdr);
}

// Opens or closes an item; an opening the parent vetoes leaves it closed.
BOOL ExpandItem(HWND hWnd, CTreeWidget* tree, QTreeWidgetItem* item, UINT action)
{
    const bool open = action == TVE_TOGGLE ? !item->isExpanded() : action == TVE_EXPAND;
    if (action != TVE_TOGGLE && action != TVE_EXPAND && action != TVE_COLLAPSE)
        return FALSE;
    if (open && NotifyTree(hWnd, TVN_ITEMEXPANDINGW, TVE_EXPAND, nullptr, item))
        return FALSE;
    // The handler may have deleted it.
    if (!tree->Find(Handle(item)))
        return FALSE;
    {
        const QSignalBlocker block(tree);
        item->setExpanded(open);
    }
    NotifyTree(hWnd, TVN_ITEMEXPANDEDW, open ? TVE_EXPAND : TVE_COLLAPSE, nullptr, item);
    return TRUE;
}

BOOL TreeProc(HWND hWnd, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* tree = dynamic_cast<CTreeWidget*>(pWidget);
    if (!tree)
        return FALSE;
    auto* item = tree->Find(reinterpret_cast<HTREEITEM>(lParam));
    LRESULT r = 0;
    switch (message)
    {
    case TVM_INSERTITEMW:
    {
        const QSignalBlocker block(tree);
        r = LRESULT(Insert(tree, reinterpret_cast<const TVINSERTSTRUCTW*>(lParam)));
        break;
    }
    case TVM_DELETEITEM:
    {
        const QSignalBlocker block(tree);
        r = Delete(tree, reinterpret_cast<HTREEITEM>(lParam));
        break;
    }
    case TVM_EXPAND:
        r = item ? ExpandItem(hWnd, tree, item, UINT(wParam) & 0x3) : FALSE;
        break;
    case TVM_GETCOUNT:
        r = LRESULT(tree->LiveCount());
        break;
    case TVM_HITTEST:
        if (auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam))
        {
            const QPoint at = tree->viewport()->mapFrom(tree, QPoint(info->pt.x, info->pt.y));
            QTreeWidgetItem* hit = tree->viewport()->rect().contains(at) ? tree->itemAt(at) : nullptr;
            info->hItem = hit ? Handle(hit) : nullptr;
            info->flags = hit ? TVHT_ONITEM : TVHT_NOWHERE;
            r = LRESULT(info->hItem);
        }
        break;
    case TVM_GETNEXTITEM:
        if (lParam && !item)
            r = 0;
        else
            r = LRESULT(Handle(Next(tree, item, UINT(wParam))));
        break;
    case TVM_SELECTITEM:
    {
        if (wParam != TVGN_CARET || (lParam && !item))
            break;
        QTreeWidgetItem* old = tree->currentItem();
        {
            const QSignalBlocker block(tree);
            tree->setCurrentItem(item);
            if (!item)
                tree->clearSelection();
            if (old)
                ShowImage(tree, old);
            if (item)
                ShowImage(tree, item);
        }
        if (old != item)
            NotifyTree(hWnd, TVN_SELCHANGEDW, TVC_UNKNOWN, old, item);
        r = TRUE;
        break;
    }
    case TVM_GETITEMW:
        r = GetItemFields(tree, reinterpret_cast<TVITEMW*>(lParam));
        break;
    case TVM_GETIMAGELIST:
        r = wParam == TVSIL_NORMAL ? LRESULT(tree->ImageList()) : 0;
        break;
    case TVM_SETIMAGELIST:
    {
        if (wParam != TVSIL_NORMAL)
            break;
        r = LRESULT(tree->ImageList());
        tree->SetImageList(reinterpret_cast<HIMAGELIST>(lParam));
        SIZE size = {16, 16};
        if (const QPixmap* first = CImageList::GetImage(tree->ImageList(), 0))
            size = {first->width(), first->height()};
        tree->setIconSize(QSize(size.cx, size.cy));
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            ShowImages(tree, tree->topLevelItem(i));
        break;
    }
    case TVM_SETITEMW:
        r = SetItemFields(tree, reinterpret_cast<const TVITEMW*>(lParam));
        break;
    default:
        return FALSE;
    }
    *pResult = r;
    return TRUE;
}

void ConnectTree(HWND hWnd, QWidget* pWidget)
{
    auto* tree = dynamic_cast<CTreeWidget*>(pWidget);
    if (!tree)
        return;
    QObject::connect(tree, &QTreeWidget::currentItemChanged, tree,
                     [hWnd, tree](QTreeWidgetItem* now, QTreeWidgetItem* before)
                     {
                         if (before && tree->Find(Handle(before)))
                             ShowImage(tree, before);
                         if (now)
                             ShowImage(tree, now);
                         NotifyTree(hWnd, TVN_SELCHANGEDW, TVC_BYMOUSE, before, now);
                     });
    QObject::connect(tree, &QTreeWidget::itemExpanded, tree,
                     [hWnd, tree](QTreeWidgetItem* item)
                     {
                         // Qt has opened it already: a veto closes it again.
                         if (NotifyTree(hWnd, TVN_ITEMEXPANDINGW, TVE_EXPAND, nullptr, item))
                         {
                             if (tree->Find(Handle(item)))
                             {
                                 const QSignalBlocker block(tree);
                                 item->setExpanded(false);
                             }
                             return;
                         }
                         NotifyTree(hWnd, TVN_ITEMEXPANDEDW, TVE_EXPAND, nullptr, item);
                     });
    QObject::connect(tree, &QTreeWidget::itemDoubleClicked, tree,
                     [hWnd]
                     {
                         NMHDR hdr = {};
                         AfxSendNotify(hWnd, NM_DBLCLK, &hdr);
                     });
}

AFX_CONTROL_CLASS TreeClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = L"SysTreeView32";
    cls.styleWords = {
        {L"TVS_HASBUTTONS", TVS_HASBUTTONS},           {L"TVS_HASLINES", TVS_HASLINES},
        {L"TVS_LINESATROOT", TVS_LINESATROOT},         {L"TVS_EDITLABELS", TVS_EDITLABELS},
        {L"TVS_DISABLEDRAGDROP", TVS_DISABLEDRAGDROP}, {L"TVS_SHOWSELALWAYS", TVS_SHOWSELALWAYS},
    };
    cls.pfnCreate = CreateTree;
    cls.pfnConnect = ConnectTree;
    cls.pfnWindowProc = TreeProc;
    cls.pfnNewObject = &AfxNewControlObject<CTreeCtrl>;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(TreeClass());
} // namespace

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"SysTreeView32", nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    if (!lpszItem)
        return nullptr;
    TVINSERTSTRUCTW ins = {};
    ins.hParent = hParent;
    ins.hInsertAfter = hInsertAfter;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = const_cast<LPWSTR>(lpszItem);
    return InsertItem(&ins);
}

HTREEITEM CTreeCtrl::InsertItem(const TVINSERTSTRUCT* lpInsertStruct)
{
    return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(lpInsertStruct)));
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem)
{
    return BOOL(Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hItem)));
}

BOOL CTreeCtrl::DeleteAllItems()
{
    return DeleteItem(TVI_ROOT);
}

BOOL CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode)
{
    return BOOL(Send(TVM_EXPAND, nCode, reinterpret_cast<LPARAM>(hItem)));
}

UINT CTreeCtrl::GetCount() const
{
    return UINT(Send(TVM_GETCOUNT));
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    TVHITTESTINFO info = {};
    info.pt = pt;
    Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    if (pFlags)
        *pFlags = info.flags;
    return info.hItem;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const
{
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
}

BOOL CTreeCtrl::SelectItem(HTREEITEM hItem)
{
    return BOOL(Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem)));
}

BOOL CTreeCtrl::GetItem(TVITEM* pItem) const
{
    return BOOL(Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
}

BOOL CTreeCtrl::SetItem(TVITEM* pItem)
{
    return BOOL(Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    // Grows the buffer until the text fits with room to spare.
    for (int size = 256;; size *= 2)
    {
        std::wstring buf(size_t(size), L'\0');
        TVITEMW tv = {};
        tv.mask = TVIF_TEXT;
        tv.hItem = hItem;
        tv.pszText = buf.data();
        tv.cchTextMax = size;
        if (!GetItem(&tv))
            return CString();
        const size_t len = std::wcslen(buf.c_str());
        if (len + 1 < size_t(size))
        {
            buf.resize(len);
            return CString(std::move(buf));
        }
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCWSTR lpszItem)
{
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = hItem;
    tv.pszText = const_cast<LPWSTR>(lpszItem);
    return SetItem(&tv);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEMW tv = {};
    tv.mask = TVIF_PARAM;
    tv.hItem = hItem;
    return GetItem(&tv) ? DWORD_PTR(tv.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
{
    TVITEMW tv = {};
    tv.mask = TVIF_PARAM;
    tv.hItem = hItem;
    tv.lParam = LPARAM(dwData);
    return SetItem(&tv);
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const
{
    TVITEMW tv = {};
    tv.mask = TVIF_STATE;
    tv.hItem = hItem;
    return GetItem(&tv) ? (tv.state & nStateMask) : 0;
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter)
{
    if (!lpszItem)
        return nullptr;
    TVINSERTSTRUCTW ins = {};
    ins.hParent = hParent;
    ins.hInsertAfter = hInsertAfter;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<LPWSTR>(lpszItem);
    ins.item.iImage = nImage;
    ins.item.iSelectedImage = nSelectedImage;
    return InsertItem(&ins);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
{
    TVITEMW tv = {};
    tv.mask = TVIF_STATE;
    tv.hItem = hItem;
    tv.state = nState;
    tv.stateMask = nStateMask;
    if (!SetItem(&tv))
        return FALSE;
    if (nStateMask & TVIS_SELECTED)
        return (nState & TVIS_SELECTED) ? SelectItem(hItem) : TRUE;
    return TRUE;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const
{
    TVITEMW tv = {};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = hItem;
    if (!GetItem(&tv))
        return FALSE;
    nImage = tv.iImage;
    nSelectedImage = tv.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage)
{
    TVITEMW tv = {};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = hItem;
    tv.iImage = nImage;
    tv.iSelectedImage = nSelectedImage;
    return SetItem(&tv);
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    if (nImageListType != TVSIL_NORMAL)
        return nullptr;
    CImageList* previous = m_pImageList;
    m_pImageList = pImageList;
    Send(TVM_SETIMAGELIST, TVSIL_NORMAL,
         reinterpret_cast<LPARAM>(pImageList ? pImageList->GetSafeHandle() : nullptr));
    return previous;
}

CImageList* CTreeCtrl::GetImageList(int nImageListType) const
{
    return nImageListType == TVSIL_NORMAL ? m_pImageList : nullptr;
}
