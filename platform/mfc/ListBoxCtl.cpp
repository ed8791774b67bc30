#include "mfc/ListBoxCtl.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/Dc.h"
#include "mfc/WndPrivate.h"

#include <QListWidget>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>

using namespace ControlPriv;

namespace
{
// Hands the rows of an owner-drawn list box to its object.
class COwnerDrawDelegate : public QStyledItemDelegate
{
public:
    explicit COwnerDrawDelegate(QListWidget* pList) : QStyledItemDelegate(pList), m_pList(pList) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const HWND h = AfxWindowAtOrAbove(m_pList);
        auto* box = dynamic_cast<CListBox*>(CWnd::FromHandlePermanent(h));
        if (!box)
            return QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        CDC dc(painter);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_LISTBOX;
        dis.CtlID = UINT(::GetDlgCtrlID(h));
        dis.itemID = UINT(index.row());
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = ((option.state & QStyle::State_Selected) ? ODS_SELECTED : 0) |
                        ((option.state & QStyle::State_HasFocus) ? ODS_FOCUS : 0);
        dis.hwndItem = h;
        dis.hDC = dc.GetSafeHdc();
        const QRect r = option.rect;
        dis.rcItem = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
        dis.itemData = ULONG_PTR(index.data(Qt::UserRole).toULongLong());
        box->DrawItem(&dis);
        dc.Detach();
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (m_nHeight < 0)
        {
            const HWND h = AfxWindowAtOrAbove(m_pList);
            auto* box = dynamic_cast<CListBox*>(CWnd::FromHandlePermanent(h));
            MEASUREITEMSTRUCT mis = {};
            mis.CtlType = ODT_LISTBOX;
            mis.CtlID = UINT(::GetDlgCtrlID(h));
            mis.itemID = UINT(index.row());
            mis.itemWidth = UINT(m_pList->viewport()->width());
            mis.itemHeight = UINT(size.height());
            if (box)
                box->MeasureItem(&mis);
            m_nHeight = int(mis.itemHeight);
        }
        size.setHeight(m_nHeight);
        return size;
    }

private:
    QListWidget* m_pList;
    mutable int m_nHeight = -1;
};

QWidget* CreateListBox(const CString&, DWORD dwStyle, QWidget* pParent)
{
    auto* list = new QListWidget(pParent);
    if (dwStyle & LBS_OWNERDRAWFIXED)
    {
        list->setItemDelegate(new COwnerDrawDelegate(list));
        list->setUniformItemSizes(true);
    }
    if (dwStyle & LBS_EXTENDEDSEL)
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    else if (dwStyle & LBS_MULTIPLESEL)
        list->setSelectionMode(QAbstractItemView::MultiSelection);
    else if (dwStyle & LBS_NOSEL)
        list->setSelectionMode(QAbstractItemView::NoSelection);
    else
        list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

int ListInsert(QListWidget* list, int index, const QString& text)
{
    index = InsertPosition(
        list->count(), index, WidgetStyle(list) & LBS_SORT, [list](int i) { return list->item(i)->text(); },
        text);
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(0));
    list->insertItem(index, item);
    return index;
}

BOOL ListBoxProc(HWND, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* list = qobject_cast<QListWidget*>(pWidget);
    if (!list)
        return FALSE;
    const QSignalBlocker block(list);
    const int count = list->count();
    const int index = int(wParam);
    const bool valid = index >= 0 && index < count;
    LRESULT r = LB_ERR;
    switch (message)
    {
    case LB_ADDSTRING:
        r = ListInsert(list, -1, ToQt(reinterpret_cast<LPCWSTR>(lParam)));
        break;
    case LB_INSERTSTRING:
        r = ListInsert(list, index, ToQt(reinterpret_cast<LPCWSTR>(lParam)));
        break;
    case LB_DELETESTRING:
        if (valid)
        {
            delete list->takeItem(index);
            r = list->count();
        }
        break;
    case LB_RESETCONTENT:
        list->clear();
        r = 0;
        break;
    case LB_GETCOUNT:
        r = count;
        break;
    case LB_GETCURSEL:
    {
        const int row = list->currentRow();
        r = (row >= 0 && row < count && list->item(row)->isSelected()) ? row : LB_ERR;
        if (r == LB_ERR && !list->selectedItems().isEmpty())
            r = list->row(list->selectedItems().front());
        break;
    }
    case LB_SETCURSEL:
        if (valid)
        {
            list->setCurrentRow(index);
            list->item(index)->setSelected(true);
            r = index;
        }
        else
        {
            list->clearSelection();
            list->setCurrentRow(-1);
        }
        break;
    case LB_GETSEL:
        r = (valid && list->item(index)->isSelected()) ? 1 : (valid ? 0 : LB_ERR);
        break;
    case LB_SETSEL:
        if (lParam == -1)
        {
            for (int i = 0; i < count; ++i)
                list->item(i)->setSelected(wParam != 0);
            r = 0;
        }
        else if (lParam >= 0 && lParam < count)
        {
            list->item(int(lParam))->setSelected(wParam != 0);
            r = 0;
        }
        break;
    case LB_GETSELCOUNT:
        r = list->selectedItems().size();
        break;
    case LB_GETSELITEMS:
    {
        auto* out = reinterpret_cast<int*>(lParam);
        int n = 0;
        for (int i = 0; i < count && out && n < index; ++i)
        {
            if (list->item(i)->isSelected())
                out[n++] = i;
        }
        r = n;
        break;
    }
    case LB_GETTEXT:
        if (valid)
            r = CopyWhole(list->item(index)->text(), lParam);
        break;
    case LB_GETTEXTLEN:
        if (valid)
            r = FromQt(list->item(index)->text()).GetLength();
        break;
    case LB_GETITEMDATA:
        if (valid)
            r = LRESULT(list->item(index)->data(Qt::UserRole).toULongLong());
        break;
    case LB_SETITEMDATA:
        if (valid)
        {
            list->item(index)->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(qulonglong(lParam)));
            r = LB_OKAY;
        }
        break;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING:
    {
        const QString find = ToQt(reinterpret_cast<LPCWSTR>(lParam));
        r = FindItem(
            count, [list](int i) { return list->item(i)->text(); }, index, find,
            message == LB_FINDSTRINGEXACT);
        if (message == LB_SELECTSTRING && r >= 0)
        {
            list->setCurrentRow(int(r));
            list->item(int(r))->setSelected(true);
        }
        break;
    }
    case LB_GETTOPINDEX:
    {
        QListWidgetItem* top = list->itemAt(QPoint(1, 1));
        r = top ? list->row(top) : 0;
        break;
    }
    case LB_SETTOPINDEX:
        if (valid)
        {
            list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
            r = 0;
        }
        break;
    default:
        return FALSE;
    }
    *pResult = r;
    return TRUE;
}

void ConnectListBox(HWND hWnd, QWidget* pWidget)
{
    auto* list = qobject_cast<QListWidget*>(pWidget);
    if (!list)
        return;
    QObject::connect(list, &QListWidget::itemSelectionChanged, list,
                     [hWnd] { AfxNotifyParent(hWnd, LBN_SELCHANGE); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                     [hWnd] { AfxNotifyParent(hWnd, LBN_DBLCLK); });
}

AFX_CONTROL_CLASS ListBoxClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = L"ListBox";
    cls.styleWords = {
        {L"LBS_NOTIFY", LBS_NOTIFY},
        {L"LBS_OWNERDRAWFIXED", LBS_OWNERDRAWFIXED},
        {L"LBS_SORT", LBS_SORT},
        {L"LBS_NOREDRAW", LBS_NOREDRAW},
        {L"LBS_MULTIPLESEL", LBS_MULTIPLESEL},
        {L"LBS_HASSTRINGS", LBS_HASSTRINGS},
        {L"LBS_USETABSTOPS", LBS_USETABSTOPS},
        {L"LBS_NOINTEGRALHEIGHT", LBS_NOINTEGRALHEIGHT},
        {L"LBS_WANTKEYBOARDINPUT", LBS_WANTKEYBOARDINPUT},
        {L"LBS_EXTENDEDSEL", LBS_EXTENDEDSEL},
        {L"LBS_DISABLENOSCROLL", LBS_DISABLENOSCROLL},
        {L"LBS_NOSEL", LBS_NOSEL},
        {L"LBS_STANDARD", LBS_STANDARD},
    };
    cls.keywordStyles = {{L"LISTBOX", LBS_NOTIFY | WS_BORDER}};
    cls.pfnCreate = CreateListBox;
    cls.pfnConnect = ConnectListBox;
    cls.pfnWindowProc = ListBoxProc;
    cls.pfnNewObject = &AfxNewControlObject<CListBox>;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(ListBoxClass());
} // namespace

IMPLEMENT_DYNAMIC(CListBox, CWnd)

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListBox::AddString(LPCWSTR lpszItem)
{
    return int(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::InsertString(int nIndex, LPCWSTR lpszItem)
{
    return int(Send(LB_INSERTSTRING, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::DeleteString(UINT nIndex)
{
    return int(Send(LB_DELETESTRING, nIndex));
}
void CListBox::ResetContent()
{
    Send(LB_RESETCONTENT);
}
int CListBox::GetCount() const
{
    return int(Send(LB_GETCOUNT));
}
int CListBox::GetCurSel() const
{
    return int(Send(LB_GETCURSEL));
}
int CListBox::SetCurSel(int nSelect)
{
    return int(Send(LB_SETCURSEL, WPARAM(nSelect)));
}
int CListBox::GetSel(int nIndex) const
{
    return int(Send(LB_GETSEL, WPARAM(nIndex)));
}
int CListBox::SetSel(int nIndex, BOOL bSelect)
{
    return int(Send(LB_SETSEL, WPARAM(bSelect), nIndex));
}
int CListBox::GetSelCount() const
{
    return int(Send(LB_GETSELCOUNT));
}

int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const
{
    return int(Send(LB_GETSELITEMS, WPARAM(nMaxItems), reinterpret_cast<LPARAM>(rgIndex)));
}

int CListBox::GetText(int nIndex, LPWSTR lpszBuffer) const
{
    return int(Send(LB_GETTEXT, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    rString.Empty();
    const int len = GetTextLen(nIndex);
    if (len < 0)
        return;
    std::wstring buf(size_t(len) + 1, L'\0');
    const int got = GetText(nIndex, buf.data());
    buf.resize(size_t(std::clamp(got, 0, len)));
    rString = CString(std::move(buf));
}

int CListBox::GetTextLen(int nIndex) const
{
    return int(Send(LB_GETTEXTLEN, WPARAM(nIndex)));
}
DWORD_PTR CListBox::GetItemData(int nIndex) const
{
    return DWORD_PTR(Send(LB_GETITEMDATA, WPARAM(nIndex)));
}

int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return int(Send(LB_SETITEMDATA, WPARAM(nIndex), LPARAM(dwItemData)));
}

int CListBox::FindString(int nStartAfter, LPCWSTR lpszItem) const
{
    return int(Send(LB_FINDSTRING, WPARAM(nStartAfter), reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::FindStringExact(int nIndexStart, LPCWSTR lpszFind) const
{
    return int(Send(LB_FINDSTRINGEXACT, WPARAM(nIndexStart), reinterpret_cast<LPARAM>(lpszFind)));
}

int CListBox::SelectString(int nStartAfter, LPCWSTR lpszItem)
{
    return int(Send(LB_SELECTSTRING, WPARAM(nStartAfter), reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::GetTopIndex() const
{
    return int(Send(LB_GETTOPINDEX));
}
int CListBox::SetTopIndex(int nIndex)
{
    return int(Send(LB_SETTOPINDEX, WPARAM(nIndex)));
}

int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const
{
    auto* list = qobject_cast<QListWidget*>(GetWidget());
    if (!list || !lpRect || nIndex < 0 || nIndex >= list->count())
        return LB_ERR;
    const QRect r = list->visualItemRect(list->item(nIndex));
    *lpRect = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return 0;
}

int CListBox::GetItemHeight(int nIndex) const
{
    RECT rc;
    return GetItemRect(nIndex, &rc) == LB_ERR ? LB_ERR : int(rc.bottom - rc.top);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}
