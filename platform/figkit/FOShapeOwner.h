// IFOShapeOwner: what a shape tells the model that holds it, and asks of it. The data model is the
// one owner; shapes know it only through this, so the shape classes do not depend on the model.
#pragma once

#include "mfc/CString.h"
#include "mfc/Geometry.h"

class CFODataModel;
class CFODrawShape;
class CWnd;

class IFOShapeOwner
{
public:
    virtual CFODataModel* GetOwnerModel() = 0;
    // The shape changed what it draws or stores; pOldRect is where it was drawn before a move.
    virtual void OnShapeChanged(CFODrawShape* pShape, const CRect* pOldRect = nullptr) = 0;
    virtual void OnShapeNameChanged(CFODrawShape* pShape, const CString& strOldName) = 0;
    virtual void OnShapeKeyChanged(CFODrawShape* pShape) = 0;
    // The shape goes: its script handle must find nothing from now on.
    virtual void DropShapeHandle(CFODrawShape* pShape) = 0;
    // Where the shapes' timers run; null when no view with a window shows the model.
    virtual CWnd* GetTimerWnd() const = 0;
    virtual void InvalidateRect(const CRect& rcCanvas) = 0;
    virtual void InvalidateShape(CFODrawShape* pShape) = 0;
    // The first shape with that name, also inside composites; null when none.
    virtual CFODrawShape* FindCompWithName(const CString& strName) const = 0;
    // The page, for shapes that draw it.
    virtual CRect GetPagePosition() const = 0;
    virtual COLORREF GetPageBkColor() const = 0;

protected:
    ~IFOShapeOwner() = default;
};
