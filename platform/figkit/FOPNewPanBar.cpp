#include "figkit/FOPNewPanBar.h"

#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Dc.h"
#include "mfc/SysColor.h"
#include "mfc/View.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNCREATE(CFOPNewPanBar, CWnd)

namespace
{
// The pan window checks the canvas's scroll position and size this often while it shows one.
constexpr UINT_PTR nFollowTimer = 1;
constexpr UINT nFollowPeriod = 200;
constexpr int nMargin = 4;
} // namespace

CFOPNewPanBar::CFOPNewPanBar() = default;

CFOPNewPanBar::~CFOPNewPanBar()
{
    WatchModel(nullptr);
}

BOOL CFOPNewPanBar::Create(CWnd* pParent, LPCWSTR lpszTitle, DWORD dwStyle, UINT nID, const RECT& rect)
{
    LPCWSTR title = lpszTitle ? lpszTitle : L"";
    if (!pParent)
        return CreateEx(0, nullptr, title, (dwStyle & ~DWORD(WS_CHILD)) | WS_OVERLAPPEDWINDOW, rect, nullptr,
                        nID);
    return CWnd::Create(nullptr, title, dwStyle, rect, pParent, nID);
}

CFOPCanvasCore* CFOPNewPanBar::GetActiveView() const
{
    return m_dwCanvas ? CFOPCanvasCore::FromCanvasHandle(m_dwCanvas) : nullptr;
}

void CFOPNewPanBar::SetActiveView(CFOPCanvasCore* pCanvas)
{
    m_dwCanvas = pCanvas ? pCanvas->GetCanvasHandle() : 0;
    m_bDragging = false;
    WatchModel(pCanvas ? pCanvas->GetCurrentModel() : nullptr);
    m_state = CurrentState();
    if (GetSafeHwnd())
    {
        if (pCanvas)
            SetTimer(nFollowTimer, nFollowPeriod);
        else
            KillTimer(nFollowTimer);
        Invalidate();
    }
}

void CFOPNewPanBar::WatchModel(CFODataModel* pModel)
{
    if (pModel == m_pModel)
        return;
    if (m_pModel)
        m_pModel->RemoveObserver(this);
    m_pModel = pModel;
    if (m_pModel)
        m_pModel->AddObserver(this);
}

void CFOPNewPanBar::UpdateWnd(BOOL bRedrawAll)
{
    CFOPCanvasCore* canvas = GetActiveView();
    if (!canvas)
        m_dwCanvas = 0;
    WatchModel(canvas ? canvas->GetCurrentModel() : nullptr);
    const ViewState state = CurrentState();
    if (!GetSafeHwnd())
        return;
    if (bRedrawAll || !(state == m_state))
        Invalidate();
    m_state = state;
}

void CFOPNewPanBar::UpdateZoomScale()
{
    UpdateWnd(FALSE);
}

BOOL CFOPNewPanBar::HandleCanvasNotice(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 1;
    auto canvasOf = [](LPARAM l) -> CFOPCanvasCore*
    { return dynamic_cast<CFOPCanvasCore*>(CWnd::FromHandle(reinterpret_cast<HWND>(l))); };
    if (nMessage == FOP_WM_VIEW_VALID)
        SetActiveView(canvasOf(lParam));
    else if (nMessage == FOP_WM_VIEW_INVALID)
    {
        CFOPCanvasCore* shown = GetActiveView();
        if (WPARAM(lParam) != wParam && (!shown || shown == canvasOf(lParam)))
            SetActiveView(nullptr);
    }
    else if (nMessage == FOP_WM_SHAPE_CHANGED)
        UpdateWnd(FALSE);
    else if (nMessage == FOP_WM_VIEW_UPDATE)
    {
        if (wParam == FOP_VIEW_UPDATE_SELECTION)
        {
            UpdateWnd(TRUE);
            if (GetSafeHwnd())
                RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
        else if (wParam == FOP_VIEW_UPDATE_ZOOM)
        {
            UpdateWnd(FALSE);
            UpdateZoomScale();
        }
        else
            UpdateWnd(FALSE);
    }
    else
        return FALSE;
    if (pResult)
        *pResult = result;
    return TRUE;
}

CFOPNewPanBar::ViewState CFOPNewPanBar::CurrentState() const
{
    ViewState state;
    CFOPCanvasCore* canvas = GetActiveView();
    if (!canvas)
        return state;
    state.scroll = canvas->GetCanvasScrollPosition();
    state.zoom = canvas->GetZoomScale();
    if (CWnd* wnd = canvas->GetCanvasWnd(); wnd && wnd->GetSafeHwnd())
        wnd->GetClientRect(&state.client);
    if (CFODataModel* model = canvas->GetCurrentModel())
        state.page = model->GetPagePosition().Size();
    return state;
}

CRect CFOPNewPanBar::GetPageArea() const
{
    CFOPCanvasCore* canvas = GetActiveView();
    CFODataModel* model = canvas ? canvas->GetCurrentModel() : nullptr;
    if (!model || !GetSafeHwnd())
        return CRect();
    CRect client;
    GetClientRect(&client);
    client.DeflateRect(nMargin, nMargin);
    const CRect page = model->GetPagePosition();
    if (page.IsRectEmpty() || client.IsRectEmpty())
        return CRect();
    const double scale =
        std::min(double(client.Width()) / page.Width(), double(client.Height()) / page.Height());
    const int w = std::max(1, int(page.Width() * scale));
    const int h = std::max(1, int(page.Height() * scale));
    const int x = client.left + (client.Width() - w) / 2;
    const int y = client.top + (client.Height() - h) / 2;
    return CRect(x, y, x + w, y + h);
}

CRect CFOPNewPanBar::GetVisibleArea() const
{
    CFOPCanvasCore* canvas = GetActiveView();
    CWnd* wnd = canvas ? canvas->GetCanvasWnd() : nullptr;
    const CRect area = GetPageArea();
    if (!wnd || !wnd->GetSafeHwnd() || area.IsRectEmpty())
        return CRect();
    const CRect page = canvas->GetCurrentModel()->GetPagePosition();
    CRect client;
    wnd->GetClientRect(&client);
    const int ruler = canvas->IsRulersShow() ? FO_RULER_SIZE : 0;
    const CPoint tl = canvas->ClientToCanvas(CPoint(client.left + ruler, client.top + ruler));
    const CPoint br = canvas->ClientToCanvas(client.BottomRight());
    const double sx = double(area.Width()) / page.Width();
    const double sy = double(area.Height()) / page.Height();
    CRect visible(area.left + int(std::lround((tl.x - page.left) * sx)),
                  area.top + int(std::lround((tl.y - page.top) * sy)),
                  area.left + int(std::lround((br.x - page.left) * sx)),
                  area.top + int(std::lround((br.y - page.top) * sy)));
    ::IntersectRect(&visible, &visible, &area);
    return visible;
}

void CFOPNewPanBar::ScrollCanvasTo(CPoint ptTopLeft)
{
    CFOPCanvasCore* canvas = GetActiveView();
    auto* view = canvas ? dynamic_cast<CScrollView*>(canvas->GetCanvasWnd()) : nullptr;
    const CRect area = GetPageArea();
    if (!view || area.IsRectEmpty())
        return;
    const CRect page = canvas->GetCurrentModel()->GetPagePosition();
    const double canvasX = page.left + (ptTopLeft.x - area.left) * double(page.Width()) / area.Width();
    const double canvasY = page.top + (ptTopLeft.y - area.top) * double(page.Height()) / area.Height();
    const double zoom = canvas->GetZoomScale();
    view->ScrollToDevicePosition(CPoint(int(std::lround(std::max(0.0, canvasX) * zoom)),
                                        int(std::lround(std::max(0.0, canvasY) * zoom))));
    m_state = CurrentState();
    Invalidate();
}

void CFOPNewPanBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_APPWORKSPACE));
    CFOPCanvasCore* canvas = GetActiveView();
    const CRect area = GetPageArea();
    if (!canvas || area.IsRectEmpty())
        return;
    dc.FillSolidRect(&area, RGB(255, 255, 255));
    const int saved = dc.SaveDC();
    canvas->DrawPageFitted(&dc, area);
    dc.RestoreDC(saved);
    dc.Draw3dRect(&area, RGB(96, 96, 96), RGB(96, 96, 96));
    CRect visible = GetVisibleArea();
    if (visible.IsRectEmpty())
        return;
    CPen pen(PS_SOLID, 2, RGB(220, 0, 0));
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = static_cast<CBrush*>(dc.SelectStockObject(NULL_BRUSH));
    dc.Rectangle(&visible);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

void CFOPNewPanBar::OnLButtonDown(UINT, CPoint point)
{
    const CRect area = GetPageArea();
    if (!area.PtInRect(point))
        return;
    CRect visible = GetVisibleArea();
    if (!visible.PtInRect(point))
    {
        // A press beside the rectangle centres it there first.
        ScrollCanvasTo(CPoint(point.x - visible.Width() / 2, point.y - visible.Height() / 2));
        visible = GetVisibleArea();
    }
    m_bDragging = true;
    m_dragOffset = CSize(point.x - visible.left, point.y - visible.top);
}

void CFOPNewPanBar::OnLButtonUp(UINT, CPoint)
{
    m_bDragging = false;
}

void CFOPNewPanBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bDragging)
        return;
    if (!(nFlags & MK_LBUTTON))
    {
        m_bDragging = false;
        return;
    }
    ScrollCanvasTo(CPoint(point.x - m_dragOffset.cx, point.y - m_dragOffset.cy));
}

void CFOPNewPanBar::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    Invalidate();
}

void CFOPNewPanBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != nFollowTimer)
    {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    if (!GetActiveView())
    {
        SetActiveView(nullptr);
        return;
    }
    UpdateWnd(FALSE);
}

void CFOPNewPanBar::OnDestroy()
{
    KillTimer(nFollowTimer);
    WatchModel(nullptr);
    m_dwCanvas = 0;
    CWnd::OnDestroy();
}

void CFOPNewPanBar::OnModelInvalidateRect(CFODataModel*, const CRect&)
{
    if (GetSafeHwnd())
        Invalidate();
}

void CFOPNewPanBar::OnModelShapeChanged(CFODataModel*, CFODrawShape*, const CRect&)
{
    if (GetSafeHwnd())
        Invalidate();
}

void CFOPNewPanBar::OnModelReset(CFODataModel*)
{
    if (GetSafeHwnd())
        Invalidate();
}

void CFOPNewPanBar::OnModelUpdate(CFODataModel*, LPARAM, CObject*)
{
    if (GetSafeHwnd())
        Invalidate();
}

void CFOPNewPanBar::OnModelDestroyed(CFODataModel* pModel)
{
    if (pModel == m_pModel)
        m_pModel = nullptr;
    if (GetSafeHwnd())
        Invalidate();
}
