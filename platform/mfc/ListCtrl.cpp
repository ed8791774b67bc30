#include "mfc/ListCtrl.h"

#include "mfc/Notify.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/Dc.h"
#include "mfc/HeaderCtrl.h"
#include "mfc/ImageList.h"
#include "mfc/WndPrivate.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <cwchar>
#include <vector>

using namespace ControlPriv;

namespace
{
struct Column
{
    QString text;
    int width = 0;
    int fmt = LVCFMT_LEFT;
};

struct Row
{
    std::vector<QString> texts;
    LPARAM data = 0;
    UINT state = 0;
    int image = -1;
};

class CListViewWidget : public QWidget
{
public:
    explicit CListViewWidget(QWidget* pParent)
        : QWidget(pParent), m_pHBar(new QScrollBar(Qt::Horizontal, this)),
          m_pVBar(new QScrollBar(Qt::Vertical, this))
    {
        setAutoFillBackground(false);
        setFocusPolicy(Qt::StrongFocus);
        for (QScrollBar* bar : {m_pHBar, m_pVBar})
        {
            bar->hide();
            QObject::connect(bar, &QScrollBar::valueChanged, this, [this] { update(); });
        }
    }

    std::vector<Column> columns;
    std::vector<Row> rows;
    DWORD exStyle = 0;

    CListCtrl* List() const
    {
        return dynamic_cast<CListCtrl*>(CWnd::FromHandlePermanent(AfxWindowAtOrAbove(this)));
    }
    int HeaderHeight() const
    {
        const int height = fontMetrics().height() + 6;
        CListCtrl* list = List();
        CHeaderCtrl* header = list ? list->GetHeaderCtrl() : nullptr;
        return header ? std::max(0, header->OnLayout(height)) : height;
    }
    int RowHeight() const
    {
        const int height = fontMetrics().height() + 4;
        CListCtrl* list = List();
        if (!list || !(list->GetStyle() & LVS_OWNERDRAWFIXED))
            return height;
        MEASUREITEMSTRUCT mis = {ODT_LISTVIEW, UINT(list->GetDlgCtrlID()), 0, UINT(width()), UINT(height), 0};
        list->MeasureItem(&mis);
        return mis.itemHeight > 0 ? int(mis.itemHeight) : height;
    }
    int ColumnLeft(int c) const
    {
        int x = 0;
        for (int i = 0; i < c && i < int(columns.size()); ++i)
            x += columns[size_t(i)].width;
        return x;
    }
    int TotalWidth() const
    {
        int w = 0;
        for (const Column& c : columns)
            w += c.width;
        return w;
    }
    // The first row shown, and how far the columns are scrolled to the left.
    int TopIndex() const { return m_pVBar->isHidden() ? 0 : m_pVBar->value(); }
    int ScrollX() const { return m_pHBar->isHidden() ? 0 : m_pHBar->value(); }
    QRect RowRect(int i) const
    {
        return QRect(0, HeaderHeight() + (i - TopIndex()) * RowHeight(), std::max(TotalWidth(), width()),
                     RowHeight());
    }
    // Scroll bars where the columns are wider or the rows taller than the control, as a report
    // list shows them.
    void LayoutScrollBars()
    {
        const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        const int header = HeaderHeight();
        const int rowHeight = std::max(1, RowHeight());
        const int count = int(rows.size());
        bool horizontal = TotalWidth() > width();
        const bool vertical = header + count * rowHeight > height() - (horizontal ? extent : 0);
        horizontal = TotalWidth() > width() - (vertical ? extent : 0);
        const int viewWidth = std::max(0, width() - (vertical ? extent : 0));
        const int viewHeight = std::max(0, height() - (horizontal ? extent : 0));
        m_pHBar->setRange(0, horizontal ? TotalWidth() - viewWidth : 0);
        m_pHBar->setPageStep(std::max(1, viewWidth));
        m_pHBar->setSingleStep(20);
        m_pHBar->setGeometry(0, height() - extent, viewWidth, extent);
        m_pHBar->setHidden(!horizontal);
        const int shown = std::max(1, (viewHeight - header) / rowHeight);
        m_pVBar->setRange(0, vertical ? std::max(0, count - shown) : 0);
        m_pVBar->setPageStep(shown);
        m_pVBar->setGeometry(width() - extent, 0, extent, viewHeight);
        m_pVBar->setHidden(!vertical);
    }
    bool Valid(int i) const { return i >= 0 && i < int(rows.size()); }
    // Scrolls the least distance that shows the whole row.
    bool EnsureVisible(int i)
    {
        if (!Valid(i))
            return false;
        LayoutScrollBars();
        if (m_pVBar->isHidden())
            return true;
        const int top = TopIndex();
        const int shown = std::max(1, m_pVBar->pageStep());
        if (i < top)
            m_pVBar->setValue(i);
        else if (i >= top + shown)
            m_pVBar->setValue(i - shown + 1);
        return true;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        CDC dc(&painter);
        const HWND h = AfxWindowAtOrAbove(this);
        auto* list = dynamic_cast<CListCtrl*>(CWnd::FromHandlePermanent(h));
        LayoutScrollBars();
        dc.FillSolidRect(0, 0, width(), height(), list ? list->GetBkColor() : RGB(255, 255, 255));
        dc.SetViewportOrg(-ScrollX(), 0);
        PaintHeader(dc);
        for (int i = TopIndex(); i < int(rows.size()); ++i)
        {
            const QRect r = RowRect(i);
            if (r.top() >= height())
                break;
            if (list && (list->GetStyle() & LVS_OWNERDRAWFIXED))
            {
                DRAWITEMSTRUCT dis = {};
                dis.CtlType = ODT_LISTVIEW;
                dis.CtlID = UINT(::GetDlgCtrlID(h));
                dis.itemID = UINT(i);
                dis.itemAction = ODA_DRAWENTIRE;
                dis.itemState = ((rows[size_t(i)].state & LVIS_SELECTED) ? ODS_SELECTED : 0) |
                                ((rows[size_t(i)].state & LVIS_FOCUSED) ? ODS_FOCUS : 0);
                dis.hwndItem = h;
                dis.hDC = dc.GetSafeHdc();
                dis.rcItem = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
                dis.itemData = ULONG_PTR(rows[size_t(i)].data);
                list->DrawItem(&dis);
            }
            else
                PaintRow(dc, i, r);
        }
        if (list)
            list->OnDrawAfterItems(&dc);
    }

    void mousePressEvent(QMouseEvent* e) override
    {
        setFocus();
        const int y = int(e->position().y()) - HeaderHeight();
        const int i = y < 0 ? -1 : y / RowHeight() + TopIndex();
        if (!Valid(i))
            return;
        // Ctrl adds a row to the selection (or takes it away) unless the list is single-selection.
        const HWND h = AfxWindowAtOrAbove(this);
        CWnd* self = CWnd::FromHandle(h);
        const bool bMulti = self && !(self->GetStyle() & LVS_SINGLESEL);
        const bool bAdd = (e->modifiers() & Qt::ControlModifier) && bMulti;
        // Shift selects the run from the focused row (the anchor) to this one.
        int anchor = -1;
        for (int k = 0; k < int(rows.size()); ++k)
            if (rows[size_t(k)].state & LVIS_FOCUSED)
                anchor = k;
        if ((e->modifiers() & Qt::ShiftModifier) && bMulti && anchor >= 0)
        {
            for (int k = 0; k < int(rows.size()); ++k)
            {
                const bool in = k >= std::min(anchor, i) && k <= std::max(anchor, i);
                rows[size_t(k)].state = in ? (rows[size_t(k)].state | LVIS_SELECTED)
                                           : (rows[size_t(k)].state & ~UINT(LVIS_SELECTED));
            }
        }
        else if (bAdd)
        {
            for (Row& r : rows)
                r.state &= ~UINT(LVIS_FOCUSED);
            rows[size_t(i)].state ^= LVIS_SELECTED;
            rows[size_t(i)].state |= LVIS_FOCUSED;
        }
        else
        {
            for (Row& r : rows)
                r.state &= ~UINT(LVIS_SELECTED | LVIS_FOCUSED);
            rows[size_t(i)].state |= LVIS_SELECTED | LVIS_FOCUSED;
        }
        update();
        if (h)
        {
            AfxQtEntry entry;
            NMHDR hdr = {};
            AfxSendNotify(h, NM_CLICK, &hdr);
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        mousePressEvent(e);
        if (const HWND h = AfxWindowAtOrAbove(this))
        {
            AfxQtEntry entry;
            NMHDR hdr = {};
            AfxSendNotify(h, NM_DBLCLK, &hdr);
        }
    }

    void resizeEvent(QResizeEvent*) override { LayoutScrollBars(); }

    void wheelEvent(QWheelEvent* e) override
    {
        if (m_pVBar->isHidden())
            return QWidget::wheelEvent(e);
        m_pVBar->setValue(m_pVBar->value() - e->angleDelta().y() / 40);
        e->accept();
    }

private:
    QScrollBar* m_pHBar;
    QScrollBar* m_pVBar;

    void PaintHeader(CDC& dc)
    {
        if (CListCtrl* list = List())
            if (CHeaderCtrl* header = list->GetHeaderCtrl())
            {
                dc.SaveDC();
                dc.IntersectClipRect(ScrollX(), 0, ScrollX() + width(), HeaderHeight());
                header->OnPaint(&dc);
                dc.RestoreDC(-1);
                return;
            }
        int x = 0;
        const int hh = HeaderHeight();
        for (const Column& c : columns)
        {
            CRect cell(x, 0, x + c.width, hh);
            dc.FillSolidRect(&cell, RGB(240, 240, 240));
            dc.Draw3dRect(&cell, RGB(255, 255, 255), RGB(160, 160, 160));
            CRect text = cell;
            text.DeflateRect(4, 0);
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(0);
            dc.DrawText(FromQt(c.text), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            x += c.width;
        }
    }

    void PaintRow(CDC& dc, int i, const QRect& r)
    {
        const Row& row = rows[size_t(i)];
        const bool selected = row.state & LVIS_SELECTED;
        CRect box(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
        if (selected)
            dc.FillSolidRect(&box, RGB(0, 120, 215));
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(selected ? RGB(255, 255, 255) : 0);
        int x = 0;
        int imageWidth = 0;
        CListCtrl* list = List();
        if (CImageList* images = list ? list->GetImageList(LVSIL_SMALL) : nullptr)
        {
            SIZE size = {0, 0};
            if (row.image >= 0 && images->GetImageSize(&size))
            {
                if (const QPixmap* pm = CImageList::GetImage(images->GetSafeHandle(), row.image))
                    if (QPainter* p = dc.GetPainter())
                        p->drawPixmap(2, box.top + (box.Height() - pm->height()) / 2, *pm);
                imageWidth = int(size.cx) + 2;
            }
        }
        for (size_t c = 0; c < columns.size(); ++c)
        {
            CRect cell(x + 2 + (c == 0 ? imageWidth : 0), box.top, x + columns[c].width - 2, box.bottom);
            if (c < row.texts.size())
                dc.DrawText(FromQt(row.texts[c]), &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            x += columns[c].width;
        }
    }
};

QWidget* CreateListView(const CString&, DWORD, QWidget* pParent)
{
    return new CListViewWidget(pParent);
}

BOOL ListViewProc(HWND, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* w = dynamic_cast<CListViewWidget*>(pWidget);
    if (!w)
        return FALSE;
    const int index = int(wParam);
    switch (message)
    {
    case LVM_INSERTCOLUMNW:
    {
        const auto* col = reinterpret_cast<const LVCOLUMNW*>(lParam);
        if (!col)
        {
            *pResult = -1;
            return TRUE;
        }
        const int at = std::clamp(index, 0, int(w->columns.size()));
        w->columns.insert(w->columns.begin() + at,
                          Column{ToQt(col->pszText), std::max(0, col->cx), col->fmt});
        for (Row& r : w->rows)
            if (int(r.texts.size()) > at)
                r.texts.insert(r.texts.begin() + at, QString());
        w->update();
        *pResult = at;
        return TRUE;
    }
    case LVM_GETCOLUMNW:
    {
        auto* col = reinterpret_cast<LVCOLUMNW*>(lParam);
        *pResult = col && index >= 0 && index < int(w->columns.size());
        if (*pResult)
        {
            const Column& c = w->columns[size_t(index)];
            col->fmt = c.fmt;
            col->cx = c.width;
            if (col->pszText && col->cchTextMax > 0)
            {
                const std::wstring text = c.text.left(col->cchTextMax - 1).toStdWString();
                std::wmemcpy(col->pszText, text.c_str(), text.size() + 1);
            }
        }
        return TRUE;
    }
    case LVM_GETSUBITEMRECT:
    {
        auto* rc = reinterpret_cast<RECT*>(lParam);
        const int sub = rc ? int(rc->top) : -1;
        *pResult = rc && w->Valid(index) && sub >= 0 && sub < int(w->columns.size());
        if (*pResult)
        {
            const QRect r = w->RowRect(index);
            const int left = w->ColumnLeft(sub);
            *rc = {left, r.top(), left + w->columns[size_t(sub)].width, r.top() + r.height()};
        }
        return TRUE;
    }
    case LVM_GETCOLUMNCOUNT:
        *pResult = LRESULT(w->columns.size());
        return TRUE;
    case LVM_GETCOLUMNWIDTH:
        *pResult = (index >= 0 && index < int(w->columns.size())) ? w->columns[size_t(index)].width : 0;
        return TRUE;
    case LVM_SETCOLUMNWIDTH:
        *pResult = index >= 0 && index < int(w->columns.size());
        if (*pResult)
        {
            w->columns[size_t(index)].width = std::max(0, int(lParam));
            w->update();
        }
        return TRUE;
    case LVM_GETHEADERHEIGHT:
        *pResult = w->HeaderHeight();
        return TRUE;
    case LVM_GETITEMCOUNT:
        *pResult = LRESULT(w->rows.size());
        return TRUE;
    case LVM_INSERTITEMW:
    {
        const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
        if (!item)
        {
            *pResult = -1;
            return TRUE;
        }
        // Compared unsigned: a negative index appends.
        const int at = unsigned(item->iItem) > w->rows.size() ? int(w->rows.size()) : item->iItem;
        Row row;
        row.texts.resize(std::max<size_t>(1, w->columns.size()));
        if (item->mask & LVIF_TEXT)
            row.texts[0] = ToQt(item->pszText);
        if (item->mask & LVIF_PARAM)
            row.data = item->lParam;
        if (item->mask & LVIF_IMAGE)
            row.image = item->iImage;
        if (item->mask & LVIF_STATE)
            row.state = item->state & item->stateMask;
        w->rows.insert(w->rows.begin() + at, std::move(row));
        w->update();
        *pResult = at;
        return TRUE;
    }
    case LVM_SETITEMW:
    case LVM_GETITEMW:
    {
        auto* item = reinterpret_cast<LVITEMW*>(lParam);
        if (!item || !w->Valid(item->iItem) || item->iSubItem < 0)
        {
            *pResult = FALSE;
            return TRUE;
        }
        Row& row = w->rows[size_t(item->iItem)];
        const size_t sub = size_t(item->iSubItem);
        if (message == LVM_SETITEMW)
        {
            if (item->mask & LVIF_TEXT)
            {
                if (row.texts.size() <= sub)
                    row.texts.resize(sub + 1);
                row.texts[sub] = ToQt(item->pszText);
            }
            if (item->mask & LVIF_PARAM)
                row.data = item->lParam;
            if (item->mask & LVIF_IMAGE)
                row.image = item->iImage;
            if (item->mask & LVIF_STATE)
                row.state = (row.state & ~item->stateMask) | (item->state & item->stateMask);
            w->update();
        }
        else
        {
            if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0)
            {
                const CString s = FromQt(sub < row.texts.size() ? row.texts[sub] : QString());
                const size_t n = std::min(size_t(s.GetLength()), size_t(item->cchTextMax) - 1);
                std::wmemcpy(item->pszText, s.GetString(), n);
                item->pszText[n] = L'\0';
            }
            if (item->mask & LVIF_PARAM)
                item->lParam = row.data;
            if (item->mask & LVIF_IMAGE)
                item->iImage = row.image;
            if (item->mask & LVIF_STATE)
                item->state = row.state & item->stateMask;
        }
        *pResult = TRUE;
        return TRUE;
    }
    case LVM_SETITEMSTATE:
    {
        const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
        *pResult = FALSE;
        if (!item)
            return TRUE;
        for (int i = 0; i < int(w->rows.size()); ++i)
        {
            if (index != -1 && i != index)
                continue;
            Row& row = w->rows[size_t(i)];
            row.state = (row.state & ~item->stateMask) | (item->state & item->stateMask);
            *pResult = TRUE;
        }
        w->update();
        return TRUE;
    }
    case LVM_GETITEMSTATE:
        *pResult = w->Valid(index) ? LRESULT(w->rows[size_t(index)].state & UINT(lParam)) : 0;
        return TRUE;
    case LVM_DELETEITEM:
        *pResult = w->Valid(index);
        if (*pResult)
        {
            w->rows.erase(w->rows.begin() + index);
            w->update();
        }
        return TRUE;
    case LVM_DELETEALLITEMS:
        w->rows.clear();
        w->update();
        *pResult = TRUE;
        return TRUE;
    case LVM_GETITEMRECT:
    {
        auto* rc = reinterpret_cast<RECT*>(lParam);
        *pResult = rc && w->Valid(index);
        if (*pResult)
        {
            const QRect r = w->RowRect(index);
            *rc = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
        }
        return TRUE;
    }
    case LVM_REDRAWITEMS:
        w->update();
        *pResult = TRUE;
        return TRUE;
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
    {
        const DWORD mask = wParam ? DWORD(wParam) : 0xFFFFFFFF;
        *pResult = w->exStyle;
        w->exStyle = (w->exStyle & ~mask) | (DWORD(lParam) & mask);
        return TRUE;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        *pResult = w->exStyle;
        return TRUE;
    case LVM_GETSELECTEDCOUNT:
        *pResult = LRESULT(std::count_if(w->rows.begin(), w->rows.end(),
                                         [](const Row& r) { return (r.state & LVIS_SELECTED) != 0; }));
        return TRUE;
    case LVM_GETNEXTITEM:
    {
        const UINT want = (UINT(lParam) & LVNI_SELECTED ? LVIS_SELECTED : 0) |
                          (UINT(lParam) & LVNI_FOCUSED ? LVIS_FOCUSED : 0);
        *pResult = -1;
        for (int i = std::max(0, index + 1); i < int(w->rows.size()); ++i)
            if ((w->rows[size_t(i)].state & want) == want)
            {
                *pResult = i;
                break;
            }
        return TRUE;
    }
    case LVM_ENSUREVISIBLE:
        *pResult = w->EnsureVisible(index);
        return TRUE;
    case LVM_FINDITEMW:
    {
        const auto* find = reinterpret_cast<const LVFINDINFOW*>(lParam);
        *pResult = -1;
        const int count = int(w->rows.size());
        if (!find || count == 0)
            return TRUE;
        const QString text = ToQt(find->psz);
        const int first = (index < 0 || index >= count) ? 0 : index + 1;
        const int span = (find->flags & LVFI_WRAP) ? count : count - first;
        for (int k = 0; k < span; ++k)
        {
            const int i = (first + k) % count;
            const Row& row = w->rows[size_t(i)];
            bool match = false;
            if (find->flags & LVFI_PARAM)
                match = row.data == find->lParam;
            else if (find->flags & (LVFI_STRING | LVFI_PARTIAL))
            {
                const QString t = row.texts.empty() ? QString() : row.texts[0];
                match = (find->flags & LVFI_PARTIAL) ? t.startsWith(text, Qt::CaseInsensitive)
                                                     : QString::compare(t, text, Qt::CaseInsensitive) == 0;
            }
            if (match)
            {
                *pResult = i;
                break;
            }
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

AFX_CONTROL_CLASS ListViewClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = WC_LISTVIEWW;
    cls.styleWords = {{L"LVS_REPORT", LVS_REPORT},
                      {L"LVS_SINGLESEL", LVS_SINGLESEL},
                      {L"LVS_SHOWSELALWAYS", LVS_SHOWSELALWAYS},
                      {L"LVS_EDITLABELS", LVS_EDITLABELS},
                      {L"LVS_OWNERDRAWFIXED", LVS_OWNERDRAWFIXED}};
    cls.pfnCreate = CreateListView;
    cls.pfnWindowProc = ListViewProc;
    cls.pfnNewObject = &AfxNewControlObject<CListCtrl>;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(ListViewClass());
} // namespace

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

CListCtrl::CListCtrl()
{
    m_pOwnHeader = new CHeaderCtrl;
    m_pOwnHeader->m_pList = this;
    m_pHeader = m_pOwnHeader;
}

CListCtrl::~CListCtrl()
{
    if (m_pHeader && m_pHeader != m_pOwnHeader)
        m_pHeader->m_pList = nullptr;
    delete m_pOwnHeader;
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl()
{
    return m_pHeader;
}

BOOL CListCtrl::GetSubItemRect(int nItem, int nSubItem, int nArea, CRect& ref) const
{
    RECT rc = {nArea, nSubItem, 0, 0};
    if (!Send(LVM_GETSUBITEMRECT, WPARAM(nItem), reinterpret_cast<LPARAM>(&rc)))
        return FALSE;
    ref = rc;
    return TRUE;
}

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_LISTVIEWW, L"", dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, LPCWSTR lpszHeading, int nFormat, int nWidth)
{
    LVCOLUMNW col = {0, nFormat, nWidth < 0 ? 0 : nWidth, const_cast<LPWSTR>(lpszHeading ? lpszHeading : L""),
                     0};
    return int(Send(LVM_INSERTCOLUMNW, WPARAM(nCol), reinterpret_cast<LPARAM>(&col)));
}

int CListCtrl::InsertItem(int nItem, LPCWSTR lpszItem)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<LPWSTR>(lpszItem ? lpszItem : L"");
    return int(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCWSTR lpszText)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPWSTR>(lpszText ? lpszText : L"");
    return BOOL(Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    std::vector<wchar_t> buf(1024, L'\0');
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = buf.data();
    item.cchTextMax = int(buf.size());
    if (!Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return CString();
    return CString(buf.data());
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = LPARAM(dwData);
    return BOOL(Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    if (!Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return DWORD_PTR(item.lParam);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMW item = {};
    item.state = nState;
    item.stateMask = nMask;
    return BOOL(Send(LVM_SETITEMSTATE, WPARAM(nItem), reinterpret_cast<LPARAM>(&item)));
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const
{
    return UINT(Send(LVM_GETITEMSTATE, WPARAM(nItem), LPARAM(nMask)));
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT) const
{
    return BOOL(Send(LVM_GETITEMRECT, WPARAM(nItem), reinterpret_cast<LPARAM>(lpRect)));
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

int CListCtrl::InsertItem(int nItem, LPCWSTR lpszItem, int nImage)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nItem;
    item.pszText = const_cast<LPWSTR>(lpszItem ? lpszItem : L"");
    item.iImage = nImage;
    return int(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemImage(int nItem, int nImage)
{
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    item.iImage = nImage;
    return BOOL(Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::GetItemImage(int nItem) const
{
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    item.iImage = -1;
    return Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const
{
    const int first = GetNextItem(-1, LVNI_SELECTED);
    return first < 0 ? nullptr : reinterpret_cast<POSITION>(intptr_t(first) + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const
{
    const int item = int(reinterpret_cast<intptr_t>(pos)) - 1;
    const int next = item < 0 ? -1 : GetNextItem(item, LVNI_SELECTED);
    pos = next < 0 ? nullptr : reinterpret_cast<POSITION>(intptr_t(next) + 1);
    return item;
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL) const
{
    return BOOL(Send(LVM_ENSUREVISIBLE, WPARAM(nItem)));
}

BOOL CListCtrl::SwapItems(int nFirst, int nSecond)
{
    const int count = GetItemCount();
    if (nFirst < 0 || nSecond < 0 || nFirst >= count || nSecond >= count)
        return FALSE;
    if (nFirst == nSecond)
        return TRUE;
    const int columns = std::max(1, GetColumnCount());
    auto take = [&](int row)
    {
        std::vector<CString> texts;
        for (int c = 0; c < columns; ++c)
            texts.push_back(GetItemText(row, c));
        return texts;
    };
    const std::vector<CString> a = take(nFirst);
    const std::vector<CString> b = take(nSecond);
    const DWORD_PTR dataA = GetItemData(nFirst), dataB = GetItemData(nSecond);
    const int imageA = GetItemImage(nFirst), imageB = GetItemImage(nSecond);
    const UINT stateA = GetItemState(nFirst, 0xFFFFFFFF), stateB = GetItemState(nSecond, 0xFFFFFFFF);
    for (int c = 0; c < columns; ++c)
    {
        SetItemText(nFirst, c, b[size_t(c)]);
        SetItemText(nSecond, c, a[size_t(c)]);
    }
    SetItemData(nFirst, dataB);
    SetItemData(nSecond, dataA);
    SetItemImage(nFirst, imageB);
    SetItemImage(nSecond, imageA);
    SetItemState(nFirst, stateB, 0xFFFFFFFF);
    SetItemState(nSecond, stateA, 0xFFFFFFFF);
    return TRUE;
}

BOOL CListCtrl::SetBkColor(COLORREF cr)
{
    m_crBk = cr;
    if (GetSafeHwnd())
        Invalidate();
    return TRUE;
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    if (nImageListType != LVSIL_NORMAL && nImageListType != LVSIL_SMALL)
        return nullptr;
    CImageList* previous = m_pImageLists[nImageListType];
    m_pImageLists[nImageListType] = pImageList;
    return previous;
}

CImageList* CListCtrl::GetImageList(int nImageListType) const
{
    return nImageListType == LVSIL_NORMAL || nImageListType == LVSIL_SMALL ? m_pImageLists[nImageListType]
                                                                           : nullptr;
}
