#include "figkit/FOPCanvasCore.h"

#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "figkit/FOMenuButtonShape.h"
#include "figkit/FOPValueDriverShapes.h"
#include "figkit/FOWndControlShape.h"
#include "mfc/CmdUI.h"
#include "mfc/Dc.h"
#include "mfc/FrameWnd.h"
#include "mfc/Menu.h"
#include "mfc/ModalHook.h"
#include "win32/CheckedHandleTable.h"

#include <QFileDialog>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace
{
CCheckedHandleTable<CFOPCanvasCore>& CanvasHandles()
{
    static CCheckedHandleTable<CFOPCanvasCore> table;
    return table;
}

// The items of a context menu as the canvas window's update handlers have them, submenus too. The
// choice comes back to that window alone, so a command it does not handle is greyed rather than
// offered to do nothing.
void UpdateMenuItems(CMenu* pMenu, CCmdTarget* pTarget)
{
    CCmdUI state;
    state.m_pMenu = pMenu;
    state.m_nIndexMax = pMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex)
    {
        state.m_nID = pMenu->GetMenuItemID(int(state.m_nIndex));
        if (state.m_nID == 0)
            continue; // separator
        if (state.m_nID == UINT(-1))
        {
            if (CMenu* pSub = pMenu->GetSubMenu(int(state.m_nIndex)))
                UpdateMenuItems(pSub, pTarget);
            continue;
        }
        state.DoUpdate(pTarget, TRUE);
        state.m_nIndexMax = pMenu->GetMenuItemCount();
    }
}
} // namespace

UINT FOPGetViewUpdateMessage()
{
    static const UINT msg = RegisterWindowMessageW(L"FOP_WM_VIEW_UPDATE");
    return msg;
}
UINT FOPGetViewValidMessage()
{
    static const UINT msg = RegisterWindowMessageW(L"FOP_WM_VIEW_VALID");
    return msg;
}
UINT FOPGetViewInvalidMessage()
{
    static const UINT msg = RegisterWindowMessageW(L"FOP_WM_VIEW_INVALID");
    return msg;
}
UINT FOPGetShapeChangedMessage()
{
    static const UINT msg = RegisterWindowMessageW(L"FOP_WM_SHAPE_CHANGED");
    return msg;
}

LRESULT FOPMessageSend(CWnd* pWnd, UINT nMessage, WPARAM wParam)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return 0;
    // The main frame keeps the bars that follow the canvas (the pan window); a view's own child
    // frame does not pass messages on.
    CWnd* target = pWnd->GetTopLevelFrame();
    if (target == pWnd)
        target = nullptr;
    if (!target)
        target = pWnd->GetParent();
    if (!target || !target->GetSafeHwnd())
        return 0;
    return target->SendMessage(nMessage, wParam, LPARAM(pWnd->GetSafeHwnd()));
}

CFOPCanvasCore::CFOPCanvasCore(CWnd* pWnd) : m_pCanvasWnd(pWnd), m_dwCanvasHandle(CanvasHandles().Add(this))
{
}

CFOPCanvasCore::~CFOPCanvasCore()
{
    CanvasHandles().Remove(m_dwCanvasHandle);
    SetMouseShape(nullptr);
    m_pTrackShape.Reset();
    SetCurrentModel(nullptr);
    FODropWindowTimers(m_pCanvasWnd);
}

CFOPCanvasCore* CFOPCanvasCore::FromCanvasHandle(DWORD dwHandle)
{
    return CanvasHandles().Find(dwHandle);
}

void CFOPCanvasCore::OnCanvasCreated()
{
    // OnDraw covers every pixel it is asked for, so the widget's own background fill is wasted.
    if (QWidget* widget = m_pCanvasWnd->GetClientWidget())
    {
        widget->setAttribute(Qt::WA_OpaquePaintEvent);
        widget->setFocusPolicy(Qt::StrongFocus);
        widget->setMouseTracking(true);
    }
    // Timers registered before the window existed start now.
    FOStartWindowTimers(m_pCanvasWnd);
}

void CFOPCanvasCore::OnDestroy()
{
    EndTextEdit(FALSE);
    m_pEndedTextEdit.reset();
    FOStopWindowTimers(m_pCanvasWnd);
}

void CFOPCanvasCore::SetCurrentModel(CFODataModel* pModel)
{
    if (pModel == m_pModel)
        return;
    EndTextEdit(FALSE);
    SetMouseShape(nullptr);
    m_pTrackShape.Reset();
    m_nAction = FO_TRACK_NONE;
    m_listSelect.RemoveAll();
    m_addiItems.clear();
    if (m_pModel)
    {
        // Shapes leaving the canvas stop their timers.
        for (CFODrawShape* shape : *m_pModel->GetShapes())
            if (shape->GetParentWnd() == m_pCanvasWnd)
                shape->SetParentWnd(nullptr);
        m_pModel->RemoveObserver(this);
    }
    m_pModel = pModel;
    if (m_pModel)
    {
        m_pModel->AddObserver(this);
        for (CFODrawShape* shape : *m_pModel->GetShapes())
            if (!shape->GetParentWnd())
                shape->SetParentWnd(m_pCanvasWnd);
    }
    DoChangeModel(m_pModel);
    InvalidateCanvas();
}

BOOL CFOPCanvasCore::LoadXdgFromFile(LPCWSTR lpszPathName, BOOL)
{
    if (!m_pModel)
        return FALSE;
    if (!m_pModel->OpenDocument(lpszPathName))
        return FALSE;
    for (CFODrawShape* shape : *m_pModel->GetShapes())
        if (!shape->GetParentWnd())
            shape->SetParentWnd(m_pCanvasWnd);
    DoInitFormCreate();
    InvalidateCanvas();
    return TRUE;
}

void CFOPCanvasCore::SetDesignMode(BOOL bDesign)
{
    if (!bDesign)
    {
        FinishAllBox();
        ClearSelection();
    }
    if (m_pModel)
        m_pModel->SetDesignMode(bDesign);
    InvalidateCanvas();
}

BOOL CFOPCanvasCore::IsDesignMode() const
{
    return m_pModel ? m_pModel->IsDesignMode() : TRUE;
}

void CFOPCanvasCore::UpdateShapes(const FOPContainer* pList, int, int)
{
    if (!pList)
        return;
    for (CFODrawShape* shape : *pList)
        if (shape)
            InvalidateShape(shape);
}

void CFOPCanvasCore::InvalidateShape(CFODrawShape* pShape)
{
    if (!pShape)
        return;
    CRect rc = pShape->GetMaxRect();
    rc.InflateRect(FO_HANDLE_MARGIN, FO_HANDLE_MARGIN);
    if (m_pModel)
        rc = m_pModel->GetShapeDirtyRect(pShape);
    InvalidateCanvasRect(IsSelected(pShape) ? WithSelectionMarks(rc) : rc);
}

CRect CFOPCanvasCore::WithSelectionMarks(const CRect& rcCanvas) const
{
    // The rotation knob stands above a selected shape and the additional handles right of it, a
    // fixed number of pixels away whatever the zoom.
    CRect rc = rcCanvas;
    const int dx = int(std::ceil(36 / m_dZoomScale));
    const int dy = int(std::ceil(50 / m_dZoomScale));
    rc.InflateRect(dx, dy);
    return rc;
}

void CFOPCanvasCore::InvalidateCanvasRect(const CRect& rc)
{
    if (!m_pCanvasWnd->GetSafeHwnd())
        return;
    InvalidateClientRect(CanvasToClient(rc));
}

void CFOPCanvasCore::InvalidateClientRect(const CRect& rcClient)
{
    constexpr int kTiles = 8;
    constexpr size_t kMaxRects = 32;
    CRect client;
    m_pCanvasWnd->GetClientRect(&client);
    CRect rc;
    if (!rc.IntersectRect(&rcClient, &client))
        return;
    // A shape told of twice before the paint (its setter, then the redraw) is one rectangle.
    auto inside = [](const CRect& a, const CRect& b)
    { return a.left >= b.left && a.top >= b.top && a.right <= b.right && a.bottom <= b.bottom; };
    for (const CRect& r : m_dirtyRects)
        if (inside(rc, r))
            return;
    m_dirtyRects.erase(std::remove_if(m_dirtyRects.begin(), m_dirtyRects.end(),
                                      [&](const CRect& r) { return inside(r, rc); }),
                       m_dirtyRects.end());
    if (m_dirtyTiles == 0 && m_dirtyRects.size() < kMaxRects)
    {
        m_dirtyRects.push_back(rc);
        m_pCanvasWnd->InvalidateRect(&rc, FALSE);
        return;
    }
    const int tw = std::max(1, int((client.Width() + kTiles - 1) / kTiles));
    const int th = std::max(1, int((client.Height() + kTiles - 1) / kTiles));
    auto mark = [&](const CRect& r)
    {
        for (int ty = r.top / th; ty <= (r.bottom - 1) / th && ty < kTiles; ++ty)
            for (int tx = r.left / tw; tx <= (r.right - 1) / tw && tx < kTiles; ++tx)
            {
                const unsigned long long bit = 1ULL << (ty * kTiles + tx);
                if (m_dirtyTiles & bit)
                    continue;
                m_dirtyTiles |= bit;
                const CRect tile(tx * tw, ty * th, std::min(int(client.right), (tx + 1) * tw),
                                 std::min(int(client.bottom), (ty + 1) * th));
                m_pCanvasWnd->InvalidateRect(&tile, FALSE);
            }
    };
    for (const CRect& r : m_dirtyRects)
        mark(r);
    m_dirtyRects.clear();
    mark(rc);
}

void CFOPCanvasCore::InvalidateCanvas()
{
    if (m_pCanvasWnd->GetSafeHwnd())
        m_pCanvasWnd->Invalidate(FALSE);
}

void CFOPCanvasCore::OnPaint()
{
    m_dirtyRects.clear();
    m_dirtyTiles = 0;
    CPaintDC dc(m_pCanvasWnd);
    if (dc.GetPainter())
        OnDraw(&dc);
}

// Events

void CFOPCanvasCore::DoButtonClickEvent(CFODrawShape*) {}

void CFOPCanvasCore::DoButtonClickEvent(CFODrawShape* pShape, int)
{
    DoButtonClickEvent(pShape);
}
void CFOPCanvasCore::DoEditTextChangeEvent(CFODrawShape*, const CString&) {}
void CFOPCanvasCore::DoEventAtAllGeometryUp(CFODrawShape*, int, const CString&) {}
void CFOPCanvasCore::DoEventDragSlider(CFODrawShape*, double) {}
void CFOPCanvasCore::DoCurrentValueChange(CFODrawShape*, double) {}

void CFOPCanvasCore::OnModelInvalidateRect(CFODataModel* pModel, const CRect& rcCanvas)
{
    if (pModel == m_pModel)
        InvalidateCanvasRect(rcCanvas);
}

void CFOPCanvasCore::OnModelShapeChanged(CFODataModel* pModel, CFODrawShape* pShape, const CRect& rcDirty)
{
    if (pModel == m_pModel)
        InvalidateCanvasRect(IsSelected(pShape) ? WithSelectionMarks(rcDirty) : rcDirty);
}

void CFOPCanvasCore::OnModelReset(CFODataModel* pModel)
{
    if (pModel != m_pModel)
        return;
    EndTextEdit(FALSE);
    SetMouseShape(nullptr);
    m_pTrackShape.Reset();
    m_nAction = FO_TRACK_NONE;
    if (!m_listSelect.IsEmpty())
    {
        m_listSelect.RemoveAll();
        SelectionChanged();
    }
    for (CFODrawShape* shape : *m_pModel->GetShapes())
        if (!shape->GetParentWnd())
            shape->SetParentWnd(m_pCanvasWnd);
    InvalidateCanvas();
}

void CFOPCanvasCore::OnModelUpdate(CFODataModel* pModel, LPARAM lHint, CObject* pHint)
{
    if (pModel != m_pModel)
        return;
    switch (lHint)
    {
    case FO_HINT_SHAPE_ADDED:
    case FO_HINT_SHAPE_REMOVED:
        if (auto* shape = dynamic_cast<CFODrawShape*>(pHint))
        {
            if (lHint == FO_HINT_SHAPE_REMOVED)
            {
                if (shape == m_pMouseShape)
                    SetMouseShape(nullptr);
                if (shape == m_pTrackShape)
                {
                    m_pTrackShape.Reset();
                    m_nAction = FO_TRACK_NONE;
                }
                if (IsSelected(shape))
                {
                    InvalidateSelection();
                    m_listSelect.Remove(shape);
                    SelectionChanged();
                }
            }
            else if (!shape->GetParentWnd())
                shape->SetParentWnd(m_pCanvasWnd);
            InvalidateShape(shape);
        }
        break;
    case FO_HINT_LOADED:
    case FO_HINT_RESET:
        OnModelReset(pModel);
        break;
    case FO_HINT_TITLE:
    case FO_HINT_MODIFIED:
        break;
    default:
        InvalidateCanvas();
        break;
    }
}

void CFOPCanvasCore::OnModelDestroyed(CFODataModel* pModel)
{
    if (pModel != m_pModel)
        return;
    // The shapes go with the model; just let go of them.
    EndTextEdit(FALSE);
    m_pMouseShape.Reset();
    m_pTrackShape.Reset();
    m_listSelect.RemoveAll();
    m_pModel = nullptr;
}

// Run-time mouse

CFODrawShape* CFOPCanvasCore::ShapeAt(CPoint point) const
{
    if (!m_pModel || m_pModel->IsDesignMode())
        return nullptr;
    return m_pModel->HitTest(point);
}

void CFOPCanvasCore::SetMouseShape(CFODrawShape* pShape)
{
    m_pMouseShape = pShape;
}

void CFOPCanvasCore::OnLButtonDown(UINT nFlags, CPoint point)
{
    const CPoint pt = ClientToCanvas(point);
    if (m_pModel && m_pModel->IsDesignMode())
    {
        if (QWidget* widget = m_pCanvasWnd->GetClientWidget())
            widget->setFocus();
        DesignLButtonDown(nFlags, pt, point);
        return;
    }
    CFODrawShape* shape = ShapeAt(pt);
    // The moved shape of a move-path shape is dragged along that path.
    if (shape)
        for (CFODrawShape* s : *m_pModel->GetShapes())
            if (auto* path = dynamic_cast<CFOPMovePathShape*>(s); path && path->GetMoveShape() == shape)
            {
                shape = path;
                break;
            }
    SetMouseShape(shape);
    if (!shape)
        return;
    m_bDragValue = shape->GetDragValue(m_dDragValue);
    shape->OnLButtonDown(nFlags, pt);
    ReportDragValue(shape);
}

void CFOPCanvasCore::ReportDragValue(CFODrawShape* pShape)
{
    double value = 0.0;
    if (!m_bDragValue || !pShape || !pShape->GetDragValue(value) || value == m_dDragValue)
        return;
    m_dDragValue = value;
    DoEventDragSlider(pShape, value);
}

void CFOPCanvasCore::OnLButtonUp(UINT nFlags, CPoint point)
{
    const CPoint pt = ClientToCanvas(point);
    if (m_pModel && m_pModel->IsDesignMode())
    {
        DesignLButtonUp(nFlags, pt);
        return;
    }
    CFOShapePtr<CFODrawShape> shape = std::move(m_pMouseShape);
    if (!shape)
        return;
    const BOOL handled = shape->OnLButtonUp(nFlags, pt);
    ReportDragValue(shape);
    m_bDragValue = FALSE;
    // A plain shape released where it was pressed counts as a click; one that carries an event
    // raises it instead.
    if (!handled && m_pModel && shape->GetModel() == m_pModel && shape->PtInShape(pt))
    {
        // An option-menu button lists its entries; the chosen one raises its event as a shape's would.
        if (auto* menu = dynamic_cast<CFOMenuButtonShape*>(shape.Get());
            menu && menu->GetMenuEntryCount() > 0)
        {
            const CRect rc = CanvasToClient(menu->GetSnapRect(), FALSE);
            CPoint at(rc.left, rc.bottom);
            m_pCanvasWnd->ClientToScreen(&at);
            CString id, event;
            UINT type = 0;
            const int chosen = menu->TrackEntryMenu(m_pCanvasWnd, at);
            if (chosen >= 0 && menu->GetMenuEntry(chosen, id, type, event) && type != 0)
                DoEventAtAllGeometryUp(menu, int(type), event);
            return;
        }
        if (const int kind = shape->GetEventType())
            DoEventAtAllGeometryUp(shape, kind, shape->GetEventString());
        else
            DoButtonClickEvent(shape);
    }
}

void CFOPCanvasCore::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_pModel && m_pModel->IsDesignMode() && m_nDrawShapeType == 0)
        if (auto* control = dynamic_cast<CFOWndControlShape*>(m_pModel->HitTest(ClientToCanvas(point))))
            if (DoEditControlProperties(control))
                return;
    // In design mode a double click on a text opens it for typing.
    if (m_pModel && m_pModel->IsDesignMode())
    {
        if (CFODrawShape* shape = m_pModel->HitTest(ClientToCanvas(point));
            shape && CanEditTextInPlace(shape))
        {
            FinishAllBox();
            StartTextEdit(shape);
            return;
        }
    }
    if (CFODrawShape* shape = ShapeAt(ClientToCanvas(point)))
        shape->OnLButtonDblClk(nFlags, ClientToCanvas(point));
}

void CFOPCanvasCore::OnRButtonDown(UINT, CPoint point)
{
    if (!m_pModel || !m_pModel->IsDesignMode())
        return;
    // A right click on an unselected shape selects it first, so the menu is about it.
    const CPoint pt = ClientToCanvas(point);
    CFODrawShape* shape = m_pModel->HitTest(pt);
    if (shape && !IsSelected(shape))
    {
        ClearSelection();
        AddToSelection(shape);
    }
    // The menu's choice comes back to the canvas as a command.
    CMenu* menu = CreateContextMenu();
    if (menu && menu->GetSafeHmenu() && m_pCanvasWnd->GetSafeHwnd())
    {
        UpdateMenuItems(menu, m_pCanvasWnd);
        CPoint screen = point;
        m_pCanvasWnd->ClientToScreen(&screen);
        menu->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, m_pCanvasWnd);
    }
}

void CFOPCanvasCore::OnMouseMove(UINT nFlags, CPoint point)
{
    const CPoint pt = ClientToCanvas(point);
    if (m_pModel && m_pModel->IsDesignMode())
    {
        // An extra handle under the mouse shows the proxy's text for it as the canvas's tooltip.
        if (QWidget* w = m_pCanvasWnd->GetClientWidget(); w && m_nAction == FO_TRACK_NONE)
        {
            const QString tip = QString::fromStdWString(GetSelectHandleItemTip(point).str());
            if (w->toolTip() != tip)
                w->setToolTip(tip);
        }
        DesignMouseMove(nFlags, pt);
        return;
    }
    if (!m_pMouseShape)
        return;
    CFOShapePtr<CFODrawShape> shape = m_pMouseShape;
    shape->OnMouseMove(nFlags, pt);
    ReportDragValue(shape);
}

// Timers

int CFOPCanvasCore::RegisterShapeTimer(CFOPCanvasCore* pCanvas, CFODrawShape* pShape, int nPeriod)
{
    return FORegisterShapeTimer(pCanvas ? pCanvas->m_pCanvasWnd : nullptr, pShape, nPeriod);
}

void CFOPCanvasCore::UnregisterShapeTimer(int nTimerId)
{
    FOUnregisterShapeTimer(nTimerId);
}

void CFOPCanvasCore::DropShapeTimers(const CFODrawShape* pShape)
{
    FODropShapeTimers(pShape);
}

BOOL CFOPCanvasCore::DispatchShapeTimer(int nTimerId)
{
    const FOShapeTimer* timer = FOFindShapeTimer(nTimerId);
    if (!timer)
        return FALSE;
    timer->pShape->OnTimer(nTimerId);
    return TRUE;
}

BOOL CFOPCanvasCore::IsShapeTimerRunning(int nTimerId)
{
    return FOFindShapeTimer(nTimerId) != nullptr;
}

int CFOPCanvasCore::GetShapeTimerCount() const
{
    return FOCountWindowTimers(m_pCanvasWnd);
}

void CFOPCanvasCore::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent >= FO_SHAPE_TIMER_BASE)
    {
        const int id = int(nIDEvent - FO_SHAPE_TIMER_BASE);
        if (!DispatchShapeTimer(id))
            m_pCanvasWnd->KillTimer(nIDEvent);
    }
}

// Coordinates

CPoint CFOPCanvasCore::ClientToCanvas(CPoint point) const
{
    const CPoint scroll = GetCanvasScrollPosition();
    const int ruler = m_bShowRulers ? FO_RULER_SIZE : 0;
    const double x = (point.x - ruler + scroll.x) / m_dZoomScale;
    const double y = (point.y - ruler + scroll.y) / m_dZoomScale;
    return CPoint(int(std::floor(x + 0.5)), int(std::floor(y + 0.5)));
}

CPoint CFOPCanvasCore::CanvasToClient(CPoint point) const
{
    const CPoint scroll = GetCanvasScrollPosition();
    const int ruler = m_bShowRulers ? FO_RULER_SIZE : 0;
    return CPoint(int(std::floor(point.x * m_dZoomScale + 0.5)) - scroll.x + ruler,
                  int(std::floor(point.y * m_dZoomScale + 0.5)) - scroll.y + ruler);
}

CRect CFOPCanvasCore::CanvasToClient(const CRect& rc, BOOL bMargin) const
{
    CRect out(CanvasToClient(rc.TopLeft()), CanvasToClient(rc.BottomRight()));
    out.NormalizeRect();
    // Scaled edges round either way: a pixel more keeps them inside.
    if (bMargin && m_dZoomScale != 1.0)
        out.InflateRect(1, 1);
    return out;
}

void CFOPCanvasCore::PlaceHostedWindows()
{
    if (!m_pModel)
        return;
    for (CFODrawShape* shape : *m_pModel->GetShapes())
        if (auto* host = dynamic_cast<CFOWndControlShape*>(shape);
            host && host->GetParentWnd() == m_pCanvasWnd)
            host->PlaceWnd();
}

void CFOPCanvasCore::PrepareCanvasDC(CDC* pDC) const
{
    const CPoint scroll = GetCanvasScrollPosition();
    const int ruler = m_bShowRulers ? FO_RULER_SIZE : 0;
    if (m_dZoomScale == 1.0)
        pDC->SetMapMode(MM_TEXT);
    else
    {
        pDC->SetMapMode(MM_ANISOTROPIC);
        pDC->SetWindowExt(1000, 1000);
        const int ext = int(std::floor(1000 * m_dZoomScale + 0.5));
        pDC->SetViewportExt(ext, ext);
    }
    pDC->SetWindowOrg(0, 0);
    pDC->SetViewportOrg(ruler - scroll.x, ruler - scroll.y);
}

// --- CFOPDrawWnd -----------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CFOPDrawWnd, CWnd)

CFOPDrawWnd::CFOPDrawWnd() : CFOPCanvasCore(this) {}

CFOPDrawWnd::~CFOPDrawWnd() = default;

BOOL CFOPDrawWnd::CreateCanvas(CWnd* pParent, const RECT& rect, UINT nID)
{
    if (pParent)
        return Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rect, pParent, nID);
    return CreateEx(0, nullptr, L"", WS_OVERLAPPEDWINDOW, rect, nullptr, 0);
}

BOOL CFOPDrawWnd::UpdateObserver(CObject*)
{
    InvalidateCanvas();
    return TRUE;
}

void CFOPDrawWnd::OnWidgetCreated(const CREATESTRUCT& cs)
{
    CWnd::OnWidgetCreated(cs);
    OnCanvasCreated();
}

void CFOPDrawWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent >= FO_SHAPE_TIMER_BASE)
        CFOPCanvasCore::OnTimer(nIDEvent);
    else
        CWnd::OnTimer(nIDEvent);
}

void CFOPDrawWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CFOPCanvasCore::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CFOPDrawWnd::OnDestroy()
{
    CFOPCanvasCore::OnDestroy();
    CWnd::OnDestroy();
}

BOOL CFOPCanvasCore::ExportPageToFile(const CString& strPath)
{
    if (!m_pModel || strPath.IsEmpty())
        return FALSE;
    const CRect page = m_pModel->GetPagePosition();
    if (page.IsRectEmpty() || page.Width() > 32767 || page.Height() > 32767)
        return FALSE;
    QImage image(page.Width(), page.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        CImageDC dc(image);
        dc.SetWindowOrg(page.left, page.top);
        const BOOL printing = m_bPrinting;
        m_bPrinting = TRUE; // the picture holds the screen, not the editing aids
        DrawCanvasContents(&dc, page);
        m_bPrinting = printing;
    }
    return image.save(QString::fromStdString(strPath.ToUtf8())) ? TRUE : FALSE;
}

BOOL CFOPCanvasCore::OnFoFileExport()
{
    AfxModalRequest request;
    request.kind = AfxModalKind::FileDialog;
    request.pParent = GetCanvasWnd();
    request.bOpenFileDialog = FALSE;
    request.strText = L"export.png";
    request.strDefExt = L"png";
    request.strFilter = L"PNG Files (*.png)|*.png|Bitmap Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg||";
    CString path;
    int answer = IDCANCEL;
    if (AfxCallModalHook(request, answer))
    {
        if (answer != IDOK || request.paths.empty())
            return FALSE;
        path = request.paths.front();
    }
    else
    {
        CWnd* wnd = GetCanvasWnd();
        const QString chosen = QFileDialog::getSaveFileName(wnd ? wnd->GetWidget() : nullptr, QString(),
                                                            QStringLiteral("export.png"),
                                                            QStringLiteral("Pictures (*.png *.bmp *.jpg)"));
        if (chosen.isEmpty())
            return FALSE;
        path = CString::FromUtf8(chosen.toStdString());
    }
    if (ExportPageToFile(path))
        return TRUE;
    AfxMessageBox(L"The picture could not be written: " + path, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

void CFOPCanvasCore::DrawPageFitted(CDC* pDC, const CRect& rcArea)
{
    if (!m_pModel || !pDC)
        return;
    const CRect page = m_pModel->GetPagePosition();
    if (page.IsRectEmpty() || rcArea.IsRectEmpty())
        return;
    const double scale =
        std::min(double(rcArea.Width()) / page.Width(), double(rcArea.Height()) / page.Height());
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowOrg(page.left, page.top);
    pDC->SetWindowExt(10000, 10000);
    const int ext = int(10000 * scale);
    pDC->SetViewportExt(ext, ext);
    pDC->SetViewportOrg(rcArea.left, rcArea.top);
    const BOOL printing = m_bPrinting;
    m_bPrinting = TRUE;
    DrawCanvasContents(pDC, page);
    m_bPrinting = printing;
}
