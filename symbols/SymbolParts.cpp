#include "symbols/SymbolParts.h"

#include "figkit/FODataModel.h"

#include <cmath>

namespace SymbolParts
{
CFODrawShape* Get(const CFOCompositeShape* pComp, CFODrawShape*& rpCache, LPCWSTR lpszPart, FindBy by)
{
    if (!rpCache && pComp)
        rpCache =
            by == FindBy::Name ? pComp->FindShapeWithName(lpszPart) : pComp->FindShapeWithKey1(lpszPart);
    return rpCache;
}

void CreateFromResource(CFOCompositeShape* pComp, CRect& rcPos, const CString& strCaption, UINT nResId,
                        void (*pHideFirst)(CFOCompositeShape*))
{
    rcPos.NormalizeRect();
    const POINT corners[4] = {{rcPos.left, rcPos.top},
                              {rcPos.right, rcPos.top},
                              {rcPos.right, rcPos.bottom},
                              {rcPos.left, rcPos.bottom}};
    pComp->SetPoints(corners, 4);
    pComp->CFODrawPortsShape::Create(rcPos, strCaption);
    pComp->UpdatePosition();
    // A missing resource leaves the composite empty; it is placed all the same.
    pComp->LoadFromResource(nResId, SYMBOL_RES_TYPE, FALSE);
    if (pHideFirst)
        pHideFirst(pComp);
    CRect rc = pComp->GetSnapRect();
    rc.OffsetRect(rcPos.left - rc.left, rcPos.top - rc.top);
    pComp->SetObjectCaption(strCaption);
    pComp->PositionShape(rc);
}

void AddTankPorts(CFODrawShape* pShape)
{
    pShape->CreateDefaultPort(0.5, 0.5);
    pShape->CreateDefaultPort(0.0, 0.5);
    pShape->CreateDefaultPort(1.0, 0.5);
    pShape->CreateDefaultPort(0.5, 0.0);
    pShape->CreateDefaultPort(0.5, 1.0);
}

CPoint CenterOf(const CFODrawShape* pShape)
{
    return pShape->GetSnapRect().CenterPoint();
}

void MoveCenterTo(CFODrawShape* pShape, CPoint pt)
{
    const CPoint c = CenterOf(pShape);
    if (c != pt)
        pShape->OffsetShape(CSize(pt.x - c.x, pt.y - c.y));
}

BOOL ShowState(CFODrawShape* pOn, CFODrawShape* pOff, BOOL bOn)
{
    if (!pOn || !pOff)
        return FALSE;
    pOn->SetVisible(bOn);
    pOff->SetVisible(!bOn);
    return TRUE;
}

BOOL IsRunValue(const CFODrawShape* pShape, double dValue)
{
    return IsRunMode(pShape) && dValue != FO_NO_VALUE && std::isfinite(dValue);
}

BOOL IsAnimationOn(const CFODrawShape* pShape)
{
    BOOL bOn = TRUE;
    pShape->GetPropBoolValue(bOn, SYMBOL_PROP_ANIMATION);
    return bOn;
}

BOOL IsRunMode(const CFODrawShape* pShape)
{
    const CFODataModel* model = pShape->GetModel();
    return model && !model->IsDesignMode();
}
} // namespace SymbolParts

namespace SymbolParts
{
void StartOrStopTimer(CFODrawShape* pShape, int& rnTimerId, int nPeriod, void (*pfnStarting)(CFODrawShape*),
                      void (*pfnStopping)(CFODrawShape*))
{
    if (IsRunMode(pShape))
    {
        if (rnTimerId > 0)
            return;
        if (pfnStarting)
            pfnStarting(pShape);
        rnTimerId = pShape->RegisterTimerEvent(pShape, nPeriod);
        return;
    }
    if (rnTimerId == -1)
        return;
    if (pfnStopping)
        pfnStopping(pShape);
    StopTimer(pShape, rnTimerId);
    pShape->UpdateControl();
}

BOOL StopTimer(CFODrawShape* pShape, int& rnTimerId)
{
    if (rnTimerId == -1)
        return FALSE;
    if (rnTimerId > 0)
        pShape->UnregisterTimerEvent(rnTimerId);
    rnTimerId = -1;
    return TRUE;
}
} // namespace SymbolParts
