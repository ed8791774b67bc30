#include "figkit/FOPCanvasCore.h"

#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "mfc/Dc.h"

#include <map>

IMPLEMENT_DYNCREATE(CFOPCanvasCore, CWnd)

namespace
{
struct ShapeTimer
{
    CFOPCanvasCore* canvas;
    CFODrawShape* shape;
    int period;
};

std::map<int, ShapeTimer>& Timers()
{
    static std::map<int, ShapeTimer> timers;
    return timers;
}

int& NextTimerId()
{
    static int next = 1;
    return next;
}
} // namespace

CFOPCanvasCore::CFOPCanvasCore() = default;

CFOPCanvasCore::~CFOPCanvasCore()
{
    SetMouseShape(nullptr);
    SetCurrentModel(nullptr);
    auto& timers = Timers();
    for (auto it = timers.begin(); it != timers.end();)
    {
        if (it->second.canvas == this)
            it = timers.erase(it);
        else
            ++it;
    }
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
    // Timers registered before the window existed start now.
    for (const auto& [id, timer] : Timers())
        if (timer.canvas == this)
            SetTimer(UINT_PTR(FO_SHAPE_TIMER_BASE + id), UINT(timer.period));
}

void CFOPCanvasCore::OnDestroy()
{
    for (const auto& [id, timer] : Timers())
        if (timer.canvas == this)
            KillTimer(UINT_PTR(FO_SHAPE_TIMER_BASE + id));
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
    if (pShape)
        InvalidateCanvasRect(pShape->GetMaxRect());
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
void CFOPCanvasCore::DoEditTextChangeEvent(CFODrawShape*, const CString&) {}
void CFOPCanvasCore::DoEventAtAllGeometryUp(CFODrawShape*, int, const CString&) {}
void CFOPCanvasCore::DoEventDragSlider(CFODrawShape*, double) {}
void CFOPCanvasCore::DoCurrentValueChange(CFODrawShape*, double) {}

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
        SetMouseShape(nullptr);
        for (CFODrawShape* shape : *m_pModel->GetShapes())
            if (!shape->GetParentWnd())
                shape->SetParentWnd(this);
        if (GetSafeHwnd())
            Invalidate(FALSE);
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
    if (m_pMouseShape)
    {
        m_pMouseShape->Release();
        m_pMouseShape = nullptr;
    }
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
    if (pShape == m_pMouseShape)
        return;
    if (pShape)
        pShape->AddRef();
    if (m_pMouseShape)
        m_pMouseShape->Release();
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
    CFODrawShape* shape = m_pMouseShape;
    if (!shape)
        return;
    shape->AddRef();
    SetMouseShape(nullptr);
    const BOOL handled = shape->OnLButtonUp(nFlags, point);
    // A plain shape released where it was pressed counts as a click.
    if (!handled && m_pModel && shape->GetModel() == m_pModel && shape->PtInShape(point))
        DoButtonClickEvent(shape);
    shape->Release();
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
    if (!pCanvas || !pShape || nPeriod <= 0)
        return -1;
    int& next = NextTimerId();
    if (next >= FO_SHAPE_TIMER_BASE * 0x7F00)
        next = 1;
    const int id = next++;
    Timers()[id] = {pCanvas, pShape, nPeriod};
    if (pCanvas->GetSafeHwnd())
        pCanvas->SetTimer(UINT_PTR(FO_SHAPE_TIMER_BASE + id), UINT(nPeriod));
    return id;
}

void CFOPCanvasCore::UnregisterShapeTimer(int nTimerId)
{
    auto& timers = Timers();
    auto it = timers.find(nTimerId);
    if (it == timers.end())
        return;
    CFOPCanvasCore* canvas = it->second.canvas;
    timers.erase(it);
    if (canvas->GetSafeHwnd())
        canvas->KillTimer(UINT_PTR(FO_SHAPE_TIMER_BASE + nTimerId));
}

void CFOPCanvasCore::DropShapeTimers(const CFODrawShape* pShape)
{
    auto& timers = Timers();
    for (auto it = timers.begin(); it != timers.end();)
    {
        if (it->second.shape == pShape)
        {
            CFOPCanvasCore* canvas = it->second.canvas;
            const int id = it->first;
            it = timers.erase(it);
            if (canvas->GetSafeHwnd())
                canvas->KillTimer(UINT_PTR(FO_SHAPE_TIMER_BASE + id));
        }
        else
        {
            ++it;
        }
    }
}

BOOL CFOPCanvasCore::DispatchShapeTimer(int nTimerId)
{
    auto& timers = Timers();
    auto it = timers.find(nTimerId);
    if (it == timers.end())
        return FALSE;
    it->second.shape->OnTimer(nTimerId);
    return TRUE;
}

BOOL CFOPCanvasCore::IsShapeTimerRunning(int nTimerId)
{
    return Timers().count(nTimerId) != 0;
}

int CFOPCanvasCore::GetShapeTimerCount() const
{
    int n = 0;
    for (const auto& [id, timer] : Timers())
        if (timer.canvas == this)
            ++n;
    return n;
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
