#include "editor/ListBars.h"

#include "editor/PlexdraftView.h"
#include "editor/SampleView.h"
#include "editor/TableBar.h"
#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "foundation/StdioFileEx.h"
#include "mfc/FrameWnd.h"
#include "mfc/SysColor.h"
#include "mfc/WinApp.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>

#include <algorithm>

namespace
{
constexpr UINT kListBitmap = 65;
constexpr int kMethodImage = 5;
constexpr int kShapeImage = 6;

// Clicks and double clicks on the list become the notifications the bar handles.
class CListClickFilter : public QObject
{
public:
    explicit CListClickFilter(CBarListCtrl* pList) : m_pList(pList) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonDblClick)
            return false;
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() != Qt::LeftButton)
            return false;
        const CPoint pt(int(me->position().x()), int(me->position().y()));
        const int row = m_pList->HitTestRow(pt);
        const HWND hList = m_pList->GetSafeHwnd();
        if (row >= 0)
            m_pList->SelectRow(row);
        NMHDR hdr = {};
        // The window may go while its parent handles the notice.
        AfxSendNotify(hList, e->type() == QEvent::MouseButtonDblClick ? NM_DBLCLK : LVN_ITEMCHANGED, &hdr);
        return true;
    }

private:
    CBarListCtrl* m_pList;
};

CFrameWnd* ActiveChildFrame()
{
    auto* main = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    return main ? main->GetActiveFrame() : nullptr;
}

CView* ActiveView()
{
    CFrameWnd* frame = ActiveChildFrame();
    return frame ? frame->GetActiveView() : nullptr;
}
} // namespace

// --- CBarListCtrl ----------------------------------------------------------------------------------

CBarListCtrl::CBarListCtrl() = default;
CBarListCtrl::~CBarListCtrl() = default;

BOOL CBarListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CExtListCtrl::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    if (QWidget* w = GetWidget())
    {
        m_pFilter = std::make_unique<CListClickFilter>(this);
        w->installEventFilter(m_pFilter.get());
    }
    return TRUE;
}

int CBarListCtrl::HitTestRow(CPoint pt) const
{
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i)
    {
        CRect rc;
        if (GetItemRect(i, &rc, LVIR_BOUNDS) && pt.y >= rc.top && pt.y < rc.bottom)
            return i;
    }
    return -1;
}

int CBarListCtrl::GetSelectedCount() const
{
    int n = 0;
    for (int i = 0, count = GetItemCount(); i < count; ++i)
        if (GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED)
            ++n;
    return n;
}

int CBarListCtrl::GetNextSelected(int nAfter) const
{
    for (int i = nAfter + 1, count = GetItemCount(); i < count; ++i)
        if (GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED)
            return i;
    return -1;
}

void CBarListCtrl::SelectRow(int nRow)
{
    for (int i = 0, count = GetItemCount(); i < count; ++i)
        if (i != nRow && (GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED))
            SetItemState(i, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// --- CListBarBase ----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CListBarBase, CControlBar)

BOOL CListBarBase::CreateBar(CWnd* pParentWnd, LPCWSTR lpszCaption, DWORD dwStyle, UINT nID)
{
    if (!CWnd::Create(nullptr, lpszCaption, dwStyle | WS_CHILD, CRect(0, 0, 150, 200), pParentWnd, nID))
        return FALSE;
    if (!m_wndList.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL,
                          CRect(0, 0, 150, 200), this, IDC_LISTBAR_LIST))
        return FALSE;
    m_wndList.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    if (m_images.Create(kListBitmap, 20, 0, RGB(255, 255, 255)))
        m_wndList.SetImageList(&m_images, LVSIL_SMALL);
    SetListLook();
    AddColumns();
    return TRUE;
}

void CListBarBase::SetListLook()
{
    m_wndList.SetHeaderHeight(1.5f);
    m_wndList.SetColBkColor(0, GetSysColor(COLOR_3DFACE));
    m_wndList.SetColBkColor(2, GetSysColor(COLOR_3DLIGHT));
    m_wndList.SetBkColor(RGB(255, 254, 228));
    m_wndList.SetCellBkColor(1, 1, RGB(100, 100, 10));
    m_wndList.SetRowHeight(22);
    m_wndList.SetHeaderHeight(1.5f);
    m_wndList.SetHeaderTextColor(RGB(0, 0, 0));
    m_wndList.SetTextColor(RGB(0, 255, 255));
    m_wndList.SetHeaderBkColor(255, 215, 105, 4);
    m_wndList.SetFontSize(15, 0);
    m_wndList.SetColTextColor(2, RGB(255, 255, 100));
    m_wndList.SetCellTextColor(3, 1, RGB(255, 0, 0));
}

void CListBarBase::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    if (m_wndList.GetSafeHwnd())
        m_wndList.MoveWindow(0, 0, cx, cy);
}

// --- CExtListBar -----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CExtListBar, CListBarBase)

BEGIN_MESSAGE_MAP(CExtListBar, CListBarBase)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_LISTBAR_LIST, &CExtListBar::OnItemChanged)
END_MESSAGE_MAP()

void CExtListBar::AddColumns()
{
    m_wndList.InsertColumn(0, L"Name", LVCFMT_CENTER, 80);
    m_wndList.InsertColumn(1, L"Key ID 1", LVCFMT_CENTER, 80);
    m_wndList.InsertColumn(2, L"Key ID 2", LVCFMT_LEFT, 80);
    m_wndList.InsertColumn(3, L"Key ID 3", LVCFMT_LEFT, 120);
    m_wndList.InsertColumn(4, L"Caption", LVCFMT_LEFT, 160);
    m_wndList.InsertColumn(5, L"Tooltips", LVCFMT_LEFT, 280);
}

void CExtListBar::UpdateShapeList(CFODataModel* pModel)
{
    m_pModel = pModel;
    if (!pModel || !m_wndList.GetSafeHwnd())
        return;
    m_wndList.DeleteAllItems();
    m_rowShapes.clear();
    const CFODrawShapeSet* shapes = pModel->GetShapes();
    m_rowShapes.reserve(size_t(shapes->GetCount()));
    int row = 0;
    for (CFODrawShape* shape : *shapes)
    {
        const int item = m_wndList.InsertItem(row, shape->GetObjectName(), kShapeImage);
        if (item < 0)
            continue;
        m_wndList.SetItemText(item, 1, shape->GetKeyId1());
        m_wndList.SetItemText(item, 2, shape->GetKeyId2());
        m_wndList.SetItemText(item, 3, shape->GetKeyId3());
        m_wndList.SetItemText(item, 4, shape->GetObjectCaption());
        CString tip;
        shape->GetPropStringValue(tip, FO_PROP_TOOLTIP);
        m_wndList.SetItemText(item, 5, tip);
        // The row's data is the index of its reference, so a row never points at a freed shape.
        m_wndList.SetItemData(item, DWORD_PTR(m_rowShapes.size()));
        m_rowShapes.emplace_back(shape);
        ++row;
    }
    m_wndList.ShowWindow(SW_SHOW);
}

CFODrawShape* CExtListBar::GetRowShape(int nRow) const
{
    if (nRow < 0 || nRow >= m_wndList.GetItemCount())
        return nullptr;
    const size_t index = size_t(m_wndList.GetItemData(nRow));
    return index < m_rowShapes.size() ? m_rowShapes[index].Get() : nullptr;
}

void CExtListBar::OnItemChanged(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_wndList.GetSelectedCount() > 1)
        return;
    for (int row = m_wndList.GetNextSelected(-1); row >= 0; row = m_wndList.GetNextSelected(row))
    {
        auto* view = dynamic_cast<CPlexdraftView*>(ActiveView());
        CFODrawShape* shape = GetRowShape(row);
        if (!view || !shape || view->GetCurrentModel() != m_pModel)
            continue;
        view->SelectShape(shape);
        // Centre the canvas on the shape.
        const CRect rc = shape->GetSnapRect();
        const double zoom = view->GetZoomScale();
        CRect client;
        view->GetClientRect(&client);
        const CPoint centre(int(rc.CenterPoint().x * zoom) - client.Width() / 2,
                            int(rc.CenterPoint().y * zoom) - client.Height() / 2);
        view->ScrollToPosition(CPoint(std::max(0, centre.x), std::max(0, centre.y)));
        view->Invalidate();
    }
}

// --- CMethodListBar --------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CMethodListBar, CListBarBase)

BEGIN_MESSAGE_MAP(CMethodListBar, CListBarBase)
ON_NOTIFY(NM_DBLCLK, IDC_LISTBAR_LIST, &CMethodListBar::OnDblClick)
END_MESSAGE_MAP()

BOOL CMethodListBar::CreateBar(CWnd* pParentWnd, LPCWSTR lpszCaption, DWORD dwStyle, UINT nID)
{
    if (!CListBarBase::CreateBar(pParentWnd, lpszCaption, dwStyle, nID))
        return FALSE;
    // The default GUI font at weight 450, kept for the bar's lifetime.
    if (CTableBar::CreateGuiFont(m_font, 450))
        m_wndList.SetFont(&m_font);
    LoadMethods();
    return TRUE;
}

void CMethodListBar::AddColumns()
{
    m_wndList.InsertColumn(0, L"Methods", LVCFMT_CENTER, 600);
}

void CMethodListBar::LoadMethods()
{
    m_wndList.DeleteAllItems();
    CWinApp* app = AfxGetApp();
    CString help = app && app->m_pszHelpFilePath ? app->m_pszHelpFilePath : L"";
    help.Replace(L'\\', L'/');
    const CString path = help.Left(std::max(0, help.ReverseFind(L'/'))) + L"/methods.dat";
    CStdioFileEx file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText))
        return;
    try
    {
        CString line;
        int row = 0;
        while (file.ReadString(line))
        {
            line.Trim(L" ");
            m_wndList.InsertItem(row++, line, kMethodImage);
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    file.Close();
    m_wndList.ShowWindow(SW_SHOW);
}

CString CMethodListBar::CallTextOf(const CString& strEntry)
{
    const int blank = strEntry.Find(L' ');
    const CString text = blank < 0 ? strEntry : strEntry.Mid(blank + 1);
    return strEntry.Left(2) == L"xx" ? L"app." + text + L" " : L"var x = " + text + L" ";
}

void CMethodListBar::OnDblClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_wndList.GetSelectedCount() > 1)
        return;
    for (int row = m_wndList.GetNextSelected(-1); row >= 0; row = m_wndList.GetNextSelected(row))
        if (auto* view = dynamic_cast<CSampleView*>(ActiveView()))
            view->InsertTemplate(CallTextOf(m_wndList.GetItemText(row, 0)));
}
