#include "figkit/FOPCanvasCore.h"

#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "figkit/FOHandleTable.h"
#include "mfc/Dc.h"

#include <QWidget>

IMPLEMENT_DYNCREATE(CFOPCanvasCore, CWnd)

namespace
{
CFOHandleTable<CFOPCanvasCore>& CanvasHandles()
{
    static CFOHandleTable<CFOPCanvasCore> table;
    return table;
}
} // namespace

CFOPCanvasCore::CFOPCanvasCore() : m_dwCanvasHandle(CanvasHandles().Add(this)) {}

CFOPCanvasCore::~CFOPCanvasCore()
{
    CanvasHandles().Remove(m_dwCanvasHandle);
    SetMouseShape(nullptr);
    SetCurrentModel(nullptr);
    FODropWindowTimers(this);
}

CFOPCanvasCore* CFOPCanvasCore::FromCanvasHandle(DWORD dwHandle)
{
    return CanvasHandles().Find(dwHandle);
}

BOOL CFOPCanvasCore::CreateCanvas(CWnd* pParent, const RECT& rect, UINT nID)
{
    if (pParent)
        return Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rect, pParent, nID);
    return CreateEx(0, nullptr, L"", WS_OVERLAPPEDWINDOW, rect, nullptr, 0);
}

void CFOPCanvasCore::OnWidgetCreated(const CREATESTRUCT& cs)
{
    CWnd::OnWidgetCreated(cs);
    // OnDraw covers every pixel it is asked for, so the widget's own background fill is wasted.
    if (QWidget* widget = GetWidget())
        widget->setAttribute(Qt::WA_OpaquePaintEvent);
    // Timers registered before the window existed start now.
    FOStartWindowTimers(this);
}

void CFOPCanvasCore::OnDestroy()
{
    FOStopWindowTimers(this);
    CWnd::OnDestroy();
}

void CFOPCanvasCore::SetCurrentModel(CFODataModel* pModel)
{
    if (pModel == m_pModel)
        return;
    SetMouseShape(nullptr);
    if (m_pModel)
    {
        // Shapes leaving the canvas stop their timers.
        for (CFODrawShape* shape : *m_pModel->GetShapes())
            if (shape->GetParentWnd() == this)
                shape->SetParentWnd(nullptr);
        m_pModel->RemoveObserver(this);
    }
    m_pModel = pModel;
    if (m_pModel)
    {
        m_pModel->AddObserver(this);
        for (CFODrawShape* shape : *m_pModel->GetShapes())
            if (!shape->GetParentWnd())
                shape->SetParentWnd(this);
    }
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

BOOL CFOPCanvasCore::LoadXdgFromFile(LPCWSTR lpszPathName, BOOL)
{
    if (!m_pModel)
        return FALSE;
    if (!m_pModel->OpenDocument(lpszPathName))
        return FALSE;
    for (CFODrawShape* shape : *m_pModel->GetShapes())
        if (!shape->GetParentWnd())
            shape->SetParentWnd(this);
    DoInitFormCreate();
    if (GetSafeHwnd())
        Invalidate(FALSE);
    return TRUE;
}

void CFOPCanvasCore::SetDesignMode(BOOL bDesign)
{
    if (m_pModel)
        m_pModel->SetDesignMode(bDesign);
    if (GetSafeHwnd())
        Invalidate(FALSE);
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
    InvalidateCanvasRect(rc);
}

void CFOPCanvasCore::InvalidateCanvasRect(const CRect& rc)
{
    if (GetSafeHwnd())
        InvalidateRect(&rc, FALSE);
}

void CFOPCanvasCore::OnDraw(CDC* pDC)
{
    if (!pDC)
        return;
    CRect clip;
    pDC->GetClipBox(&clip);
    if (m_pModel)
        m_pModel->OnDraw(pDC, clip);
    else
        pDC->FillSolidRect(&clip, RGB(255, 255, 255));
}

void CFOPCanvasCore::OnPaint()
{
    CPaintDC dc(this);
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

void CFOPCanvasCore::OnModelShapeChanged(CFODataModel* pModel, CFODrawShape*, const CRect& rcDirty)
{
    if (pModel == m_pModel)
        InvalidateCanvasRect(rcDirty);
}

void CFOPCanvasCore::OnModelReset(CFODataModel* pModel)
{
    if (pModel != m_pModel)
        return;
    SetMouseShape(nullptr);
    for (CFODrawShape* shape : *m_pModel->GetShapes())
        if (!shape->GetParentWnd())
            shape->SetParentWnd(this);
    if (GetSafeHwnd())
        Invalidate(FALSE);
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
            if (lHint == FO_HINT_SHAPE_REMOVED && shape == m_pMouseShape)
                SetMouseShape(nullptr);
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
        if (GetSafeHwnd())
            Invalidate(FALSE);
        break;
    }
}

void CFOPCanvasCore::OnModelDestroyed(CFODataModel* pModel)
{
    if (pModel != m_pModel)
        return;
    // The shapes go with the model; just let go of them.
    m_pMouseShape.Reset();
    m_pModel = nullptr;
}

// Mouse

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
    CFODrawShape* shape = ShapeAt(point);
    SetMouseShape(shape);
    if (shape)
        shape->OnLButtonDown(nFlags, point);
}

void CFOPCanvasCore::OnLButtonUp(UINT nFlags, CPoint point)
{
    CFOShapePtr<CFODrawShape> shape = std::move(m_pMouseShape);
    if (!shape)
        return;
    const BOOL handled = shape->OnLButtonUp(nFlags, point);
    // A plain shape released where it was pressed counts as a click; one that carries an event
    // raises it instead.
    if (!handled && m_pModel && shape->GetModel() == m_pModel && shape->PtInShape(point))
    {
        if (const int kind = shape->GetEventType())
            DoEventAtAllGeometryUp(shape, kind, shape->GetEventString());
        else
            DoButtonClickEvent(shape);
    }
}

void CFOPCanvasCore::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (CFODrawShape* shape = ShapeAt(point))
        shape->OnLButtonDblClk(nFlags, point);
}

void CFOPCanvasCore::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_pMouseShape)
        m_pMouseShape->OnMouseMove(nFlags, point);
}

// Timers

int CFOPCanvasCore::RegisterShapeTimer(CFOPCanvasCore* pCanvas, CFODrawShape* pShape, int nPeriod)
{
    return FORegisterShapeTimer(pCanvas, pShape, nPeriod);
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
    return FOCountWindowTimers(this);
}

void CFOPCanvasCore::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent >= FO_SHAPE_TIMER_BASE)
    {
        const int id = int(nIDEvent - FO_SHAPE_TIMER_BASE);
        if (!DispatchShapeTimer(id))
            KillTimer(nIDEvent);
        return;
    }
    CWnd::OnTimer(nIDEvent);
}
