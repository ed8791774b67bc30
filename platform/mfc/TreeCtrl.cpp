#include "mfc/TreeCtrl.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/EditCtl.h"
#include "mfc/Gdi.h"
#include "mfc/ImageList.h"
#include "mfc/WndPrivate.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QHeaderView>
#include <QIcon>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <memory>
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
        if (item == dropItem)
            dropItem = nullptr;
        if (item == editItem)
            editItem = nullptr;
        m_live.erase(item);
        for (int i = 0; i < item->childCount(); ++i)
            Forget(item->child(i));
    }
    void Remember(QTreeWidgetItem* item) { m_live.insert(item); }

    // The mouse reaches the control's window as messages too (client coordinates); a right
    // click tells the parent NM_RCLICK, and a press dragged beyond the start distance begins a
    // drag (TVN_BEGINDRAG, or TVN_BEGINRDRAG with the right button).
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    // The menu request goes to the window as WM_CONTEXTMENU (as after a right click its parent left
    // unanswered), never on to the widgets around the control.
    void contextMenuEvent(QContextMenuEvent* e) override;
    // True when the window asks Qt to go on with the event.
    bool ForwardMouse(QMouseEvent* e, UINT message);
    QPoint pressPos;
    Qt::MouseButton pressButton = Qt::NoButton;
    QTreeWidgetItem* pressItem = nullptr;
    bool dragBegun = false;
    size_t LiveCount() const { return m_live.size(); }
    HIMAGELIST ImageList() const { return m_hImageList; }
    void SetImageList(HIMAGELIST hList) { m_hImageList = hList; }

    // The label being edited, and its edit control.
    QTreeWidgetItem* editItem = nullptr;
    HWND hEdit = nullptr;
    bool ending = false;
    // The drop target shown while dragging.
    QTreeWidgetItem* dropItem = nullptr;

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
    case TVGN_DROPHILITE:
        return tree->dropItem;
    case TVGN_CHILD:
        if (!item)
            return tree->topLevelItem(0);
        return item->child(0);
    case TVGN_PARENT:
        return item ? item->parent() : nullptr;
    case TVGN_NEXTVISIBLE:
        return item ? tree->itemBelow(item) : nullptr;
    case TVGN_PREVIOUSVISIBLE:
        return item ? tree->itemAbove(item) : nullptr;
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
        tv->state = (item == tree->dropItem ? TVIS_DROPHILITED : 0) |
                    (item->isExpanded() ? TVIS_EXPANDED : 0) | (item->isSelected() ? TVIS_SELECTED : 0) |
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

bool CTreeWidget::ForwardMouse(QMouseEvent* e, UINT message)
{
    const HWND hWnd = AfxWindowAtOrAbove(this);
    AfxNoteCursorPos(e->globalPosition().toPoint());
    if (!hWnd || !message)
        return true;
    AfxQtEntry entry;
    const QPoint p = viewport()->geometry().topLeft() + e->position().toPoint();
    WPARAM keys = 0;
    if (e->buttons() & Qt::LeftButton)
        keys |= MK_LBUTTON;
    if (e->buttons() & Qt::RightButton)
        keys |= MK_RBUTTON;
    if (e->modifiers() & Qt::ControlModifier)
        keys |= MK_CONTROL;
    if (e->modifiers() & Qt::ShiftModifier)
        keys |= MK_SHIFT;
    return AfxForwardEvent(hWnd, message, keys, MAKELPARAM(p.x(), p.y()));
}

void CTreeWidget::mousePressEvent(QMouseEvent* e)
{
    pressPos = e->position().toPoint();
    pressButton = e->button();
    pressItem = itemAt(pressPos);
    dragBegun = false;
    const UINT message = e->button() == Qt::RightButton  ? WM_RBUTTONDOWN
                         : e->button() == Qt::LeftButton ? WM_LBUTTONDOWN
                                                         : 0;
    if ((!message || ForwardMouse(e, message)) && e->button() != Qt::RightButton)
        QTreeWidget::mousePressEvent(e);
}

void CTreeWidget::mouseMoveEvent(QMouseEvent* e)
{
    const HWND hWnd = AfxWindowAtOrAbove(this);
    if (pressButton != Qt::NoButton && !dragBegun && pressItem && Find(Handle(pressItem)) &&
        (e->position().toPoint() - pressPos).manhattanLength() >= QApplication::startDragDistance())
    {
        dragBegun = true;
        AfxQtEntry entry;
        NMTREEVIEWW nm = {};
        nm.itemNew.mask = TVIF_HANDLE | TVIF_PARAM;
        nm.itemNew.hItem = Handle(pressItem);
        nm.itemNew.lParam = LPARAM(DataOf(pressItem));
        const QPoint p = viewport()->geometry().topLeft() + pressPos;
        nm.ptDrag = {p.x(), p.y()};
        if (hWnd)
            AfxSendNotify(hWnd, pressButton == Qt::RightButton ? TVN_BEGINRDRAGW : TVN_BEGINDRAGW, &nm.hdr);
    }
    // Qt's own rubber-band and drag handling stays out: the window drives drags.
    ForwardMouse(e, WM_MOUSEMOVE);
}

void CTreeWidget::mouseReleaseEvent(QMouseEvent* e)
{
    const bool right = e->button() == Qt::RightButton;
    const bool click = pressButton == e->button() && !dragBegun;
    pressButton = Qt::NoButton;
    const HWND hWnd = AfxWindowAtOrAbove(this);
    if (right && click && hWnd)
    {
        AfxQtEntry entry;
        NMHDR hdr = {};
        // Unanswered, the click asks for the window's menu.
        if (!AfxSendNotify(hWnd, NM_RCLICK, &hdr) && ::IsWindow(hWnd))
        {
            const QPoint screen = e->globalPosition().toPoint();
            AfxForwardEvent(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd),
                            MAKELPARAM(screen.x(), screen.y()));
        }
    }
    if (!::IsWindow(hWnd))
        return;
    const bool base = ForwardMouse(e, right                           ? WM_RBUTTONUP
                                      : e->button() == Qt::LeftButton ? WM_LBUTTONUP
                                                                      : 0);
    if (base && !right)
        QTreeWidget::mouseReleaseEvent(e);
}

void CTreeWidget::contextMenuEvent(QContextMenuEvent* e)
{
    e->accept();
    // A right click asks through NM_RCLICK (on its release); only the keyboard asks here.
    if (e->reason() != QContextMenuEvent::Keyboard)
        return;
    if (const HWND hWnd = AfxWindowAtOrAbove(this))
    {
        AfxQtEntry entry;
        AfxForwardEvent(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(-1, -1));
    }
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

// --- Hit tests, drop target, label editing and sorting ------------------------------------------

// Client coordinates of the tree control (its viewport lies inside its frame).
QPoint ViewportOffset(const CTreeWidget* tree)
{
    return tree->viewport()->geometry().topLeft();
}

RECT ItemRect(const CTreeWidget* tree, QTreeWidgetItem* item, bool textOnly)
{
    QRect r = tree->visualItemRect(item);
    if (!textOnly)
        r = QRect(0, r.top(), tree->viewport()->width(), r.height());
    else
    {
        // The label: after the indent and the icon, as wide as the text.
        const int iconWidth = item->icon(0).isNull() ? 0 : tree->iconSize().width() + 4;
        const int width = tree->fontMetrics().horizontalAdvance(item->text(0)) + 6;
        r = QRect(r.left() + iconWidth, r.top(), width, r.height());
    }
    r.translate(ViewportOffset(tree));
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void HitTestItem(const CTreeWidget* tree, TVHITTESTINFO* info)
{
    info->hItem = nullptr;
    const QPoint p = QPoint(int(info->pt.x), int(info->pt.y)) - ViewportOffset(tree);
    if (p.y() < 0)
    {
        info->flags = TVHT_ABOVE;
        return;
    }
    if (p.y() >= tree->viewport()->height())
    {
        info->flags = TVHT_BELOW;
        return;
    }
    QTreeWidgetItem* item = tree->itemAt(QPoint(std::max(0, p.x()), p.y()));
    if (!item)
    {
        info->flags = TVHT_NOWHERE;
        return;
    }
    info->hItem = Handle(item);
    const QRect r = tree->visualItemRect(item);
    const int iconWidth = item->icon(0).isNull() ? 0 : tree->iconSize().width() + 4;
    const int textRight = r.left() + iconWidth + tree->fontMetrics().horizontalAdvance(item->text(0)) + 6;
    if (p.x() < r.left())
        info->flags = TVHT_ONITEMINDENT;
    else if (p.x() < r.left() + iconWidth)
        info->flags = TVHT_ONITEMICON;
    else if (p.x() < textRight)
        info->flags = TVHT_ONITEMLABEL;
    else
        info->flags = TVHT_ONITEMRIGHT;
}

void ShowDropTarget(CTreeWidget* tree, QTreeWidgetItem* item)
{
    if (tree->dropItem && tree->Find(Handle(tree->dropItem)))
        tree->dropItem->setData(0, Qt::BackgroundRole, QVariant());
    tree->dropItem = item;
    if (item)
        item->setData(0, Qt::BackgroundRole, tree->palette().brush(QPalette::Highlight));
}

LRESULT NotifyDispInfo(HWND hWnd, UINT code, QTreeWidgetItem* item, LPWSTR text)
{
    NMTVDISPINFOW nm = {};
    nm.item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_TEXT;
    nm.item.hItem = Handle(item);
    nm.item.lParam = LPARAM(DataOf(item));
    nm.item.pszText = text;
    nm.item.cchTextMax = text ? int(std::wcslen(text)) + 1 : 0;
    return AfxSendNotify(hWnd, code, &nm.hdr);
}

// Ends the label edit: tells the parent the text (null when cancelled) and takes it when the
// parent answers nonzero. The edit control goes once its own signal has returned.
BOOL EndLabelEdit(HWND hWnd, CTreeWidget* tree, bool cancel, bool fromEdit)
{
    if (!tree->hEdit || tree->ending)
        return FALSE;
    tree->ending = true;
    const HWND hEdit = tree->hEdit;
    QTreeWidgetItem* item = tree->editItem;
    wchar_t buffer[1024] = {};
    ::GetWindowTextW(hEdit, buffer, 1023);
    if (QWidget* w = AfxWidgetFromHandle(hEdit))
        w->hide();
    if (item && tree->Find(Handle(item)))
    {
        const LRESULT keep = NotifyDispInfo(hWnd, TVN_ENDLABELEDITW, item, cancel ? nullptr : buffer);
        if (!cancel && keep && tree->Find(Handle(item)))
            item->setText(0, QString::fromWCharArray(buffer));
    }
    tree->hEdit = nullptr;
    tree->editItem = nullptr;
    tree->ending = false;
    if (fromEdit)
        QTimer::singleShot(0, tree, [hEdit] { ::DestroyWindow(hEdit); });
    else
        ::DestroyWindow(hEdit);
    tree->setFocus();
    return TRUE;
}

// Escape in the label edit cancels it.
class CLabelEditKeys : public QObject
{
public:
    CLabelEditKeys(HWND hTree, CTreeWidget* tree, QObject* parent)
        : QObject(parent), m_hTree(hTree), m_tree(tree)
    {
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
        {
            AfxQtEntry entry;
            EndLabelEdit(m_hTree, m_tree, true, true);
            return true;
        }
        return false;
    }

private:
    HWND m_hTree;
    CTreeWidget* m_tree;
};

HWND BeginLabelEdit(HWND hWnd, CTreeWidget* tree, QTreeWidgetItem* item)
{
    EndLabelEdit(hWnd, tree, false, false);
    if (!item || NotifyDispInfo(hWnd, TVN_BEGINLABELEDITW, item, nullptr))
        return nullptr;
    if (!tree->Find(Handle(item)))
        return nullptr;
    tree->scrollToItem(item);
    const RECT rc = ItemRect(tree, item, true);
    RECT edit = rc;
    edit.right = std::max(LONG(rc.right), LONG(rc.left + 120));
    CWnd* parent = CWnd::FromHandle(hWnd);
    const HWND hEdit = AfxCreateControl(L"Edit", item->text(0).toStdWString().c_str(),
                                        WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, edit, parent, 1);
    if (!hEdit)
        return nullptr;
    tree->hEdit = hEdit;
    tree->editItem = item;
    if (auto* line = qobject_cast<QLineEdit*>(AfxWidgetFromHandle(hEdit)))
    {
        line->selectAll();
        line->setFocus();
        line->installEventFilter(new CLabelEditKeys(hWnd, tree, line));
        QObject::connect(line, &QLineEdit::editingFinished, line,
                         [hWnd, tree]
                         {
                             AfxQtEntry entry;
                             EndLabelEdit(hWnd, tree, false, true);
                         });
    }
    return hEdit;
}

void SortItems(QTreeWidgetItem* parent, bool recursive,
               const std::function<bool(QTreeWidgetItem*, QTreeWidgetItem*)>& less)
{
    QList<QTreeWidgetItem*> children = parent->takeChildren();
    std::stable_sort(children.begin(), children.end(), less);
    parent->addChildren(children);
    if (recursive)
        for (QTreeWidgetItem* c : children)
            SortItems(c, true, less);
}

BOOL Sort(CTreeWidget* tree, HTREEITEM hParent, bool recursive,
          const std::function<bool(QTreeWidgetItem*, QTreeWidgetItem*)>& less)
{
    const QSignalBlocker block(tree);
    QTreeWidgetItem* current = tree->currentItem();
    // Taking items out closes them: their open state is put back afterwards.
    std::vector<std::pair<QTreeWidgetItem*, bool>> open;
    std::function<void(QTreeWidgetItem*)> note = [&](QTreeWidgetItem* i)
    {
        open.emplace_back(i, i->isExpanded());
        for (int k = 0; k < i->childCount(); ++k)
            note(i->child(k));
    };
    QTreeWidgetItem* parent =
        (!hParent || hParent == TVI_ROOT) ? tree->invisibleRootItem() : tree->Find(hParent);
    if (!parent)
        return FALSE;
    for (int k = 0; k < parent->childCount(); ++k)
        note(parent->child(k));
    SortItems(parent, recursive, less);
    for (const auto& [i, wasOpen] : open)
        i->setExpanded(wasOpen);
    if (current)
        tree->setCurrentItem(current);
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
    case TVM_GETNEXTITEM:
        if (lParam && !item)
            r = 0;
        else
            r = LRESULT(Handle(Next(tree, item, UINT(wParam))));
        break;
    case TVM_SELECTITEM:
    {
        if (wParam == TVGN_DROPHILITE && (!lParam || item))
        {
            ShowDropTarget(tree, item);
            r = TRUE;
            break;
        }
        if (wParam != TVGN_CARET || (lParam && !item))
            break;
        QTreeWidgetItem* old = tree->currentItem();
        // The parent may refuse the change (TVN_SELCHANGING answered nonzero).
        if (old != item && NotifyTree(hWnd, TVN_SELCHANGINGW, TVC_UNKNOWN, old, item))
            break;
        if (lParam && !tree->Find(Handle(item)))
            break;
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
    case TVM_GETITEMRECT:
    {
        auto* rc = reinterpret_cast<RECT*>(lParam);
        QTreeWidgetItem* target = rc ? tree->Find(*reinterpret_cast<HTREEITEM*>(rc)) : nullptr;
        if (!target || tree->visualItemRect(target).isEmpty())
            break;
        *rc = ItemRect(tree, target, wParam != 0);
        r = TRUE;
        break;
    }
    case TVM_ENSUREVISIBLE:
        if (item)
        {
            for (QTreeWidgetItem* p = item->parent(); p; p = p->parent())
                if (!p->isExpanded())
                    ExpandItem(hWnd, tree, p, TVE_EXPAND);
            tree->scrollToItem(item);
            r = TRUE;
        }
        break;
    case TVM_HITTEST:
        if (auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam))
        {
            HitTestItem(tree, info);
            r = LRESULT(info->hItem);
        }
        break;
    case TVM_EDITLABELW:
        r = LRESULT(BeginLabelEdit(hWnd, tree, item));
        break;
    case TVM_GETEDITCONTROL:
        r = LRESULT(tree->hEdit);
        break;
    case TVM_ENDEDITLABELNOW:
        r = EndLabelEdit(hWnd, tree, wParam != 0, false);
        break;
    case TVM_SORTCHILDREN:
        r = Sort(tree, reinterpret_cast<HTREEITEM>(lParam), wParam != 0,
                 [](QTreeWidgetItem* a, QTreeWidgetItem* b)
                 { return a->text(0).compare(b->text(0), Qt::CaseInsensitive) < 0; });
        break;
    case TVM_SORTCHILDRENCB:
        if (auto* sort = reinterpret_cast<TVSORTCB*>(lParam); sort && sort->lpfnCompare)
            r = Sort(tree, sort->hParent, wParam != 0,
                     [sort](QTreeWidgetItem* a, QTreeWidgetItem* b)
                     { return sort->lpfnCompare(LPARAM(DataOf(a)), LPARAM(DataOf(b)), sort->lParam) < 0; });
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

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    TVHITTESTINFO info = {};
    info.pt = pt;
    const HTREEITEM h = HitTest(&info);
    if (pFlags)
        *pFlags = info.flags;
    return h;
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* pHitTestInfo) const
{
    return reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, LPARAM(pHitTestInfo)));
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const
{
    if (!lpRect)
        return FALSE;
    *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
    return BOOL(Send(TVM_GETITEMRECT, WPARAM(bTextOnly), LPARAM(lpRect)));
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem)
{
    return dynamic_cast<CEdit*>(
        CWnd::FromHandle(reinterpret_cast<HWND>(Send(TVM_EDITLABELW, 0, LPARAM(hItem)))));
}

CEdit* CTreeCtrl::GetEditControl() const
{
    return dynamic_cast<CEdit*>(CWnd::FromHandle(reinterpret_cast<HWND>(Send(TVM_GETEDITCONTROL))));
}

BOOL CTreeCtrl::EndEditLabelNow(BOOL bCancel)
{
    return BOOL(Send(TVM_ENDEDITLABELNOW, WPARAM(bCancel)));
}

BOOL CTreeCtrl::SelectDropTarget(HTREEITEM hItem)
{
    return BOOL(Send(TVM_SELECTITEM, TVGN_DROPHILITE, LPARAM(hItem)));
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem)
{
    RECT rc = {};
    if (!GetItemRect(hItem, &rc, TRUE))
        return nullptr;
    QWidget* w = GetWidget();
    if (!w)
        return nullptr;
    const QImage row =
        w->grab(QRect(int(rc.left), int(rc.top), int(rc.right - rc.left), int(rc.bottom - rc.top)))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    CBitmap bitmap;
    auto list = std::make_unique<CImageList>();
    if (!bitmap.CreateBitmap(row.width(), row.height(), 1, 32, row.constBits()) ||
        !list->Create(row.width(), row.height(), 0, 1, 0) || list->Add(&bitmap, 0xFFFFFFFF) < 0)
        return nullptr;
    return list.release();
}

BOOL CTreeCtrl::SortChildren(HTREEITEM hItem, BOOL bRecursive)
{
    return BOOL(Send(TVM_SORTCHILDREN, WPARAM(bRecursive), LPARAM(hItem)));
}

BOOL CTreeCtrl::SortChildrenCB(LPTVSORTCB pSort)
{
    return BOOL(Send(TVM_SORTCHILDRENCB, 0, LPARAM(pSort)));
}
