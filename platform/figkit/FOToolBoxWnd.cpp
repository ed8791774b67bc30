#include "figkit/FOToolBoxWnd.h"

#include "figkit/FOGlobalData.h"
#include "mfc/Dc.h"
#include "mfc/OleDragDrop.h"
#include "mfc/SysColor.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNCREATE(CFOToolBoxPageWnd, CWnd)
IMPLEMENT_DYNCREATE(CFOMultiToolBoxWnd, CWnd)

UINT FOGetToolBoxItemFormat()
{
    static const UINT format = RegisterClipboardFormatW(L"FOToolBoxItem");
    return format;
}

namespace
{
// How far the mouse moves with the button down before an item is dragged.
constexpr int nDragDistance = 4;

int Clamp(int value, int low, int high)
{
    return std::max(low, std::min(value, high));
}

// A colour for a type, so that items of one type look alike from page to page.
COLORREF TypeColour(UINT nType)
{
    static const COLORREF colours[] = {RGB(70, 130, 180), RGB(60, 160, 90), RGB(200, 120, 40),
                                       RGB(150, 80, 170), RGB(190, 60, 70), RGB(40, 150, 160),
                                       RGB(120, 120, 40), RGB(90, 100, 200)};
    return colours[nType % (sizeof colours / sizeof colours[0])];
}

CString Initials(const CString& caption)
{
    CString out;
    bool wordStart = true;
    for (int i = 0; i < caption.GetLength() && out.GetLength() < 2; ++i)
    {
        const wchar_t ch = caption[i];
        const bool blank = ch == L' ' || ch == L'_' || ch == L'-';
        if (!blank && wordStart)
            out += ch;
        wordStart = blank;
    }
    return out.IsEmpty() ? CString(L"?") : out;
}
} // namespace

// --- Page window ------------------------------------------------------------------------------------

CFOToolBoxPageWnd::CFOToolBoxPageWnd() = default;
CFOToolBoxPageWnd::~CFOToolBoxPageWnd() = default;

BOOL CFOToolBoxPageWnd::Create(CWnd* pParent, const RECT& rect, UINT nID, DWORD dwStyle)
{
    return CWnd::Create(nullptr, L"", dwStyle, rect, pParent, nID);
}

void CFOToolBoxPageWnd::SetPage(CFOToolBoxPage* pPage)
{
    if (m_pPage == pPage)
        return;
    m_pPage = pPage;
    m_nSelected = -1;
    m_nPressed = -1;
    m_nTopRow = 0;
    if (GetSafeHwnd())
        Invalidate();
}

void CFOToolBoxPageWnd::SetViewStyle(int nStyle)
{
    if (nStyle != FO_TOOLBOX_ICONS_NAMES && nStyle != FO_TOOLBOX_NAMES && nStyle != FO_TOOLBOX_ICONS_DETAILS)
        return;
    m_nViewStyle = nStyle;
    SetTopRow(m_nTopRow);
    if (GetSafeHwnd())
        Invalidate();
}

BOOL CFOToolBoxPageWnd::LoadResFile(const CString& strPath)
{
    if (!m_pPage || !m_pPage->OpenDocument(strPath))
        return FALSE;
    m_nSelected = -1;
    m_nTopRow = 0;
    if (GetSafeHwnd())
        Invalidate();
    return TRUE;
}

BOOL CFOToolBoxPageWnd::SaveResFile(const CString& strPath)
{
    return m_pPage && m_pPage->SaveDocument(strPath);
}

BOOL CFOToolBoxPageWnd::SaveFile()
{
    if (!m_pPage || m_pPage->GetFilePath().IsEmpty())
        return FALSE;
    if (!m_pPage->IsModified())
        return TRUE;
    return m_pPage->SaveDocument(m_pPage->GetFilePath());
}

BOOL CFOToolBoxPageWnd::SavePageAs()
{
    return SaveFile();
}

CSize CFOToolBoxPageWnd::GetCellSize() const
{
    CRect rc;
    if (GetSafeHwnd())
        GetClientRect(&rc);
    switch (m_nViewStyle)
    {
    case FO_TOOLBOX_NAMES:
        return CSize(std::max(1, int(rc.Width())), 20);
    case FO_TOOLBOX_ICONS_DETAILS:
        return CSize(std::max(1, int(rc.Width())), 40);
    default:
        return CSize(76, 66);
    }
}

int CFOToolBoxPageWnd::GetColumnCount() const
{
    if (m_nViewStyle != FO_TOOLBOX_ICONS_NAMES)
        return 1;
    CRect rc;
    if (GetSafeHwnd())
        GetClientRect(&rc);
    return std::max(1, int(rc.Width()) / int(GetCellSize().cx));
}

int CFOToolBoxPageWnd::GetRowCount() const
{
    if (!m_pPage)
        return 0;
    const int columns = GetColumnCount();
    return (m_pPage->GetItemCount() + columns - 1) / columns;
}

CRect CFOToolBoxPageWnd::GetItemRect(int nIndex) const
{
    if (!m_pPage || nIndex < 0 || nIndex >= m_pPage->GetItemCount())
        return CRect();
    const CSize cell = GetCellSize();
    const int columns = GetColumnCount();
    const int row = nIndex / columns - m_nTopRow;
    const int column = nIndex % columns;
    return CRect(CPoint(column * cell.cx, row * cell.cy), cell);
}

int CFOToolBoxPageWnd::HitTest(CPoint point) const
{
    if (!m_pPage || point.x < 0 || point.y < 0)
        return -1;
    const CSize cell = GetCellSize();
    const int column = point.x / cell.cx;
    if (column >= GetColumnCount())
        return -1;
    const int index = (point.y / cell.cy + m_nTopRow) * GetColumnCount() + column;
    return index < m_pPage->GetItemCount() ? index : -1;
}

void CFOToolBoxPageWnd::SetSelectedItem(int nIndex)
{
    if (!m_pPage || nIndex < -1 || nIndex >= m_pPage->GetItemCount())
        nIndex = -1;
    if (nIndex == m_nSelected)
        return;
    m_nSelected = nIndex;
    if (GetSafeHwnd())
        Invalidate();
}

void CFOToolBoxPageWnd::SetTopRow(int nRow)
{
    CRect rc;
    if (GetSafeHwnd())
        GetClientRect(&rc);
    const int visible = std::max(1, int(rc.Height()) / int(GetCellSize().cy));
    const int top = Clamp(nRow, 0, std::max(0, GetRowCount() - visible));
    if (top == m_nTopRow)
        return;
    m_nTopRow = top;
    if (GetSafeHwnd())
        Invalidate();
}

DWORD CFOToolBoxPageWnd::DoDragItem(int nIndex)
{
    const CFOToolBoxItem* item = m_pPage ? m_pPage->GetItem(nIndex) : nullptr;
    if (!item)
        return DROPEFFECT_NONE;
    const CString text = item->ToDragText();
    const size_t bytes = size_t(text.GetLength() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block)
        return DROPEFFECT_NONE;
    std::memcpy(GlobalLock(block), text.GetString(), bytes);
    GlobalUnlock(block);
    COleDataSource source;
    source.CacheGlobalData(CLIPFORMAT(FOGetToolBoxItemFormat()), block);
    return source.DoDragDrop(DROPEFFECT_COPY);
}

void CFOToolBoxPageWnd::DrawItemIcon(CDC* pDC, const CRect& rcIcon, const CFOToolBoxItem& item)
{
    const COLORREF colour = TypeColour(item.GetType());
    CRect body = rcIcon;
    body.DeflateRect(2, 2);
    pDC->FillSolidRect(&body, colour);
    pDC->Draw3dRect(&body, RGB(255, 255, 255), RGB(40, 40, 40));
    if (body.Height() >= 24)
    {
        // Large icons carry the item's initials, small ones a glyph by type.
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(RGB(255, 255, 255));
        pDC->DrawText(Initials(item.GetCaption()), &body,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    CRect inner = body;
    inner.DeflateRect(body.Width() / 5, body.Height() / 5);
    CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
    CPen* oldPen = pDC->SelectObject(&pen);
    CBrush* oldBrush = static_cast<CBrush*>(pDC->SelectStockObject(NULL_BRUSH));
    switch (item.GetType() % 3)
    {
    case 0:
        pDC->Rectangle(&inner);
        break;
    case 1:
        pDC->Ellipse(&inner);
        break;
    default:
        pDC->MoveTo(inner.left, inner.bottom);
        pDC->LineTo(inner.right, inner.top);
        break;
    }
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void CFOToolBoxPageWnd::DrawItem(CDC* pDC, int nIndex, const CRect& rcCell)
{
    const CFOToolBoxItem& item = *m_pPage->GetItem(nIndex);
    const bool selected = nIndex == m_nSelected;
    CRect cell = rcCell;
    cell.DeflateRect(2, 1);
    if (selected)
    {
        pDC->FillSolidRect(&cell, RGB(204, 224, 250));
        pDC->Draw3dRect(&cell, RGB(90, 140, 210), RGB(90, 140, 210));
    }
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetSysColor(COLOR_BTNTEXT));
    switch (m_nViewStyle)
    {
    case FO_TOOLBOX_NAMES:
    {
        CRect text = cell;
        text.left += 6;
        pDC->DrawText(item.GetCaption(), &text,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        break;
    }
    case FO_TOOLBOX_ICONS_DETAILS:
    {
        const CRect icon(cell.left + 4, cell.top + 3, cell.left + 36, cell.top + 35);
        DrawItemIcon(pDC, icon, item);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(GetSysColor(COLOR_BTNTEXT));
        CRect name(icon.right + 6, cell.top + 2, cell.right - 2, cell.top + 19);
        pDC->DrawText(item.GetCaption(), &name, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        CString details = item.GetDescription();
        if (details.IsEmpty())
            details.Format(L"Type %u", item.GetType());
        CRect line(icon.right + 6, cell.top + 19, cell.right - 2, cell.bottom);
        pDC->SetTextColor(RGB(96, 96, 96));
        pDC->DrawText(details, &line, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        break;
    }
    default:
    {
        const int x = cell.left + (cell.Width() - 36) / 2;
        DrawItemIcon(pDC, CRect(x, cell.top + 3, x + 36, cell.top + 39), item);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(GetSysColor(COLOR_BTNTEXT));
        CRect name(cell.left, cell.top + 41, cell.right, cell.bottom);
        pDC->DrawText(item.GetCaption(), &name, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        break;
    }
    }
}

void CFOToolBoxPageWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(250, 250, 250));
    if (!m_pPage)
        return;
    CFont* oldFont = dc.SelectObject(&gfxData.m_fontRegular);
    for (int i = 0; i < m_pPage->GetItemCount(); ++i)
    {
        const CRect rc = GetItemRect(i);
        if (rc.bottom <= client.top || rc.top >= client.bottom)
            continue;
        DrawItem(&dc, i, rc);
    }
    dc.SelectObject(oldFont);
}

void CFOToolBoxPageWnd::OnLButtonDown(UINT, CPoint point)
{
    m_nPressed = HitTest(point);
    m_ptPress = point;
    SetSelectedItem(m_nPressed);
}

void CFOToolBoxPageWnd::OnLButtonUp(UINT, CPoint)
{
    m_nPressed = -1;
}

void CFOToolBoxPageWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_nPressed < 0 || !(nFlags & MK_LBUTTON))
        return;
    if (std::abs(point.x - m_ptPress.x) < nDragDistance && std::abs(point.y - m_ptPress.y) < nDragDistance)
        return;
    const int index = m_nPressed;
    m_nPressed = -1;
    DoDragItem(index);
}

BOOL CFOToolBoxPageWnd::OnMouseWheel(UINT, short zDelta, CPoint)
{
    SetTopRow(m_nTopRow - zDelta / 120);
    return TRUE;
}

void CFOToolBoxPageWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    SetTopRow(m_nTopRow);
    Invalidate();
}

// --- The toolbox -------------------------------------------------------------------------------------

CFOMultiToolBoxWnd::CFOMultiToolBoxWnd() = default;

CFOMultiToolBoxWnd::~CFOMultiToolBoxWnd()
{
    if (m_pPageWnd)
        m_pPageWnd->SetPage(nullptr);
}

CFOToolBoxPageWnd* CFOMultiToolBoxWnd::CreatePageWnd()
{
    return new CFOToolBoxPageWnd;
}

BOOL CFOMultiToolBoxWnd::Create(CWnd* pParent, const RECT& rect, UINT nID, DWORD dwStyle)
{
    const BOOL created = pParent
                             ? CWnd::Create(nullptr, L"", dwStyle, rect, pParent, nID)
                             : CreateEx(0, nullptr, L"", (dwStyle & ~DWORD(WS_CHILD)) | WS_OVERLAPPEDWINDOW,
                                        rect, nullptr, nID);
    if (!created)
        return FALSE;
    m_pPageWnd.reset(CreatePageWnd());
    if (!m_pPageWnd)
        return FALSE;
    m_pPageWnd->SetToolBox(this);
    if (!m_pPageWnd->Create(this, CRect(0, 0, 10, 10), 1))
        return FALSE;
    m_pPageWnd->SetViewStyle(m_nViewStyle);
    m_pPageWnd->SetPage(GetCurrentPage());
    RecalcLayout();
    return TRUE;
}

CFOToolBoxPage* CFOMultiToolBoxWnd::GetPage(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetPageCount())
        return nullptr;
    return m_pages[size_t(nIndex)].get();
}

void CFOMultiToolBoxWnd::SetActivePage(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetPageCount())
        return;
    m_nActive = nIndex;
    if (m_pPageWnd)
        m_pPageWnd->SetPage(GetCurrentPage());
    if (RecalcLayout() && GetSafeHwnd())
        Invalidate();
}

CFOToolBoxPage* CFOMultiToolBoxWnd::AddPage(const CString& strCaption, BOOL bActivate)
{
    m_pages.push_back(std::make_unique<CFOToolBoxPage>(strCaption));
    CFOToolBoxPage* page = m_pages.back().get();
    if (bActivate || m_nActive < 0)
        m_nActive = GetPageCount() - 1;
    if (m_pPageWnd)
        m_pPageWnd->SetPage(GetCurrentPage());
    RecalcLayout();
    if (GetSafeHwnd())
        Invalidate();
    return page;
}

BOOL CFOMultiToolBoxWnd::RemovePage(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetPageCount())
        return FALSE;
    if (m_pPageWnd && m_pPageWnd->GetPage() == GetPage(nIndex))
        m_pPageWnd->SetPage(nullptr);
    m_pages.erase(m_pages.begin() + nIndex);
    if (m_nActive >= nIndex && m_nActive > 0)
        --m_nActive;
    if (m_pages.empty())
        m_nActive = -1;
    if (m_pPageWnd)
        m_pPageWnd->SetPage(GetCurrentPage());
    RecalcLayout();
    if (GetSafeHwnd())
        Invalidate();
    return TRUE;
}

void CFOMultiToolBoxWnd::RemoveAllPages()
{
    if (m_pPageWnd)
        m_pPageWnd->SetPage(nullptr);
    m_pages.clear();
    m_nActive = -1;
    RecalcLayout();
    if (GetSafeHwnd())
        Invalidate();
}

int CFOMultiToolBoxWnd::RecalcLayout()
{
    CRect client;
    if (GetSafeHwnd())
        GetClientRect(&client);
    std::vector<CRect> layout;
    const int count = GetPageCount();
    // Pages up to the open one stack at the top, the rest at the bottom; the page window between.
    for (int i = 0; i < count; ++i)
    {
        if (i <= m_nActive)
            layout.emplace_back(0, i * nCaptionHeight, client.Width(), (i + 1) * nCaptionHeight);
        else
        {
            const int fromBottom = count - i;
            layout.emplace_back(0, client.Height() - fromBottom * nCaptionHeight, client.Width(),
                                client.Height() - (fromBottom - 1) * nCaptionHeight);
        }
    }
    const int top = (m_nActive + 1) * nCaptionHeight;
    const int bottom = client.Height() - (count - m_nActive - 1) * nCaptionHeight;
    const CRect page(0, top, client.Width(), std::max(top, bottom));
    layout.push_back(page);
    const bool changed = layout != m_layout;
    m_layout = std::move(layout);
    if (m_pPageWnd && m_pPageWnd->GetSafeHwnd())
    {
        const bool show = m_nActive >= 0 && !page.IsRectEmpty();
        m_pPageWnd->MoveWindow(&page);
        m_pPageWnd->ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
    return changed ? 1 : 0;
}

CRect CFOMultiToolBoxWnd::GetCaptionRect(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetPageCount() || size_t(nIndex) >= m_layout.size())
        return CRect();
    return m_layout[size_t(nIndex)];
}

int CFOMultiToolBoxWnd::HitTestCaption(CPoint point) const
{
    for (int i = 0; i < GetPageCount(); ++i)
        if (GetCaptionRect(i).PtInRect(point))
            return i;
    return -1;
}

void CFOMultiToolBoxWnd::SetViewStyle(int nStyle)
{
    if (nStyle != FO_TOOLBOX_ICONS_NAMES && nStyle != FO_TOOLBOX_NAMES && nStyle != FO_TOOLBOX_ICONS_DETAILS)
        return;
    m_nViewStyle = nStyle;
    if (m_pPageWnd)
        m_pPageWnd->SetViewStyle(nStyle);
}

void CFOMultiToolBoxWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CFont* oldFont = dc.SelectObject(&gfxData.m_fontRegular);
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < GetPageCount(); ++i)
    {
        CRect rc = GetCaptionRect(i);
        const bool active = i == m_nActive;
        dc.FillSolidRect(&rc, active ? RGB(222, 232, 246) : GetSysColor(COLOR_BTNFACE));
        dc.Draw3dRect(&rc, RGB(255, 255, 255), RGB(128, 128, 128));
        dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
        rc.DeflateRect(8, 0);
        dc.DrawText(GetPage(i)->GetObjectCaption(), &rc,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    dc.SelectObject(oldFont);
}

void CFOMultiToolBoxWnd::OnLButtonDown(UINT, CPoint point)
{
    const int hit = HitTestCaption(point);
    if (hit >= 0 && hit != m_nActive)
        SetActivePage(hit);
}

void CFOMultiToolBoxWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
    Invalidate();
}
