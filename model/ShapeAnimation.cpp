#include "model/ShapeAnimation.h"

#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "figkit/FOLineShape.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOValueProperties.h"

#include <algorithm>

BOOL XVKIsAnimationOn(const CFODrawShape* pShape)
{
    BOOL on = TRUE;
    if (pShape)
        pShape->GetPropBoolValue(on, XVK_PROP_ANIMATION);
    return on;
}

void XVKSetCornerPoints(CFODrawShape* pShape, CRect& rc)
{
    rc.NormalizeRect();
    const CPoint pts[4] = {
        {rc.left, rc.top}, {rc.right, rc.top}, {rc.right, rc.bottom}, {rc.left, rc.bottom}};
    pShape->AllocMemory(4);
    pShape->SetPoints(pts, 4);
}

void XVKAddAnimationProp(CFODrawShape* pShape, BOOL bValue)
{
    if (!pShape)
        return;
    const CFOValueProperties prop(XVK_PROP_ANIMATION, FO_VALUE::MakeBool(bValue));
    pShape->AddNewProperty(&prop);
}

BOOL XVKPositionCorrect(const CFODrawShape* pShape, int nStroke)
{
    if (!pShape)
        return FALSE;
    CRect rc = pShape->GetDrawRect();
    rc.NormalizeRect();
    if (dynamic_cast<const CFOLineShape*>(pShape))
    {
        // A straight horizontal or vertical line has a box 0 high or wide: across, what shows is its
        // stroke; along, it needs the length a box needs.
        const int stroke = std::max(nStroke, pShape->GetLineWidth());
        const int across = std::max(std::min(rc.Width(), rc.Height()), stroke);
        const int along = std::max(rc.Width(), rc.Height()) - 2;
        return across > 0 && along >= 20;
    }
    rc.DeflateRect(1, 1);
    return rc.Height() >= 20 && rc.Width() >= 20;
}

void CXVKShapeTimer::Start(CFODrawShape* pShape, int nPeriod, BOOL bCheckSize, int nStroke)
{
    CFODataModel* model = pShape ? pShape->GetModel() : nullptr;
    if (!model)
        return;
    // A timer whose canvas went away is no timer any more.
    if (m_nTimerId != NO_TIMER && !CFOPCanvasCore::IsShapeTimerRunning(m_nTimerId))
        m_nTimerId = NO_TIMER;
    if (model->IsDesignMode())
    {
        if (m_nTimerId != NO_TIMER)
        {
            Stop(pShape);
            pShape->UpdateControl();
        }
        return;
    }
    if (m_nTimerId != NO_TIMER)
    {
        if (bCheckSize && !XVKPositionCorrect(pShape, nStroke))
            Stop(pShape);
        return;
    }
    if (!bCheckSize || XVKPositionCorrect(pShape, nStroke))
        m_nTimerId = pShape->RegisterTimerEvent(pShape, nPeriod);
}

void CXVKShapeTimer::Stop(CFODrawShape* pShape)
{
    if (m_nTimerId == NO_TIMER)
        return;
    if (pShape)
        pShape->UnregisterTimerEvent(m_nTimerId);
    else
        CFOPCanvasCore::UnregisterShapeTimer(m_nTimerId);
    m_nTimerId = NO_TIMER;
}

void CXVKShapeTimer::OnParentWnd(CFODrawShape* pShape, CWnd* pNewWnd)
{
    if (!pNewWnd && pShape && pShape->GetParentWnd() && m_nTimerId != NO_TIMER)
        Stop(pShape);
}
