// IFODataModelObserver: what a data model tells the views that show it. Every observer hears every
// change; a model never picks one view to tell. Calls come on the UI thread, and an observer may
// remove itself from the model during one.
#pragma once

#include "mfc/Geometry.h"
#include "win32/WinTypes.h"

class CFODataModel;
class CFODrawShape;
class CWnd;
class CObject;

// Hints of OnModelUpdate.
enum
{
    FO_HINT_UPDATE_ALL = 0,
    FO_HINT_SHAPE_ADDED = 1,
    FO_HINT_SHAPE_REMOVED = 2,
    FO_HINT_DESIGN_MODE = 3,
    FO_HINT_MODIFIED = 4,
    FO_HINT_TITLE = 5,
    FO_HINT_LOADED = 6,
    // The shapes were all taken out (the model was emptied).
    FO_HINT_RESET = 7,
};

class IFODataModelObserver
{
public:
    // A canvas rectangle must be drawn again.
    virtual void OnModelInvalidateRect(CFODataModel* pModel, const CRect& rcCanvas) = 0;
    // A shape changed what it draws or stores; rcDirty covers where it was and where it is now, with
    // the margin of its selection handles.
    virtual void OnModelShapeChanged(CFODataModel* pModel, CFODrawShape* pShape, const CRect& rcDirty) = 0;
    // The model's contents were replaced (FO_HINT_LOADED or FO_HINT_RESET): everything is new.
    virtual void OnModelReset(CFODataModel* pModel) = 0;
    // Other changes, by hint (FO_HINT_*); pHint is the shape for the shape hints.
    virtual void OnModelUpdate(CFODataModel* pModel, LPARAM lHint, CObject* pHint) = 0;
    // The model is being destroyed; the observer must let go of it.
    virtual void OnModelDestroyed(CFODataModel* pModel) = 0;
    // The window of this observer, when it has one (shape timers and child windows need one).
    virtual CWnd* GetObserverWnd() { return nullptr; }

protected:
    ~IFODataModelObserver() = default;
};
