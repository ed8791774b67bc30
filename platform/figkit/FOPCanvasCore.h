// CFOPCanvasCore: a window that shows a data model, as one of the model's observers; runs its
// shapes' timers, passes the mouse to its shapes at run time and raises the shapes' events for the
// program. Any number of canvases may show one model; each redraws what the model reports.
//
// Shape timers (FOShapeTimers.h): the canvas runs a timer as its window timer
// FO_SHAPE_TIMER_BASE + id and calls the shape's OnTimer with the id. Canvases and timers live on
// the UI thread.
#pragma once

#include "figkit/FODataModelObserver.h"
#include "figkit/FOShapeSet.h"
#include "figkit/FOShapeTimers.h"
#include "mfc/Wnd.h"

class CDC;
class CFODataModel;
class CFODrawShape;

class CFOPCanvasCore : public CWnd, public IFODataModelObserver
{
    DECLARE_DYNCREATE(CFOPCanvasCore)
public:
    CFOPCanvasCore();
    ~CFOPCanvasCore() override;

    // A child window of pParent, or a top-level window without a parent.
    BOOL CreateCanvas(CWnd* pParent, const RECT& rect, UINT nID = 0);

    // The model shown; the canvas becomes its observer and the parent window of its shapes.
    CFODataModel* GetCurrentModel() const { return m_pModel; }
    virtual void SetCurrentModel(CFODataModel* pModel);
    // Loads a screen file into the current model; FALSE when there is none or loading fails.
    virtual BOOL LoadXdgFromFile(LPCWSTR lpszPathName, BOOL bAddToRecent = FALSE);
    // Runs once for every screen loaded into the canvas.
    virtual void DoInitFormCreate() {}

    // Design mode (TRUE) or run mode; passed on to the model.
    virtual void SetDesignMode(BOOL bDesign);
    BOOL IsDesignMode() const;

    // Redrawing: exactly the listed shapes, one shape, or a canvas rectangle.
    virtual void UpdateShapes(const FOPContainer* pList, int nReserved1 = 0, int nReserved2 = 0);
    virtual void InvalidateShape(CFODrawShape* pShape);
    virtual void InvalidateCanvasRect(const CRect& rc);
    // Draws the model into a DC (the paint handler uses it; so can a test with an image DC).
    virtual void OnDraw(CDC* pDC);

    // Events of shapes for the program; the base does nothing.
    virtual void DoButtonClickEvent(CFODrawShape* pShape);
    // The form shapes call for a click they raise themselves (nIndex -1: the shape as a whole).
    void DoButtonClickEvent(CFODrawShape* pShape, int nIndex);
    virtual void DoEditTextChangeEvent(CFODrawShape* pShape, const CString& strText);
    virtual void DoEventAtAllGeometryUp(CFODrawShape* pShape, int nEventKind, const CString& strEvent);
    virtual void DoEventDragSlider(CFODrawShape* pShape, double dValue);
    virtual void DoCurrentValueChange(CFODrawShape* pShape, double dValue);

    // Model notifications.
    void OnModelInvalidateRect(CFODataModel* pModel, const CRect& rcCanvas) override;
    void OnModelShapeChanged(CFODataModel* pModel, CFODrawShape* pShape, const CRect& rcDirty) override;
    void OnModelReset(CFODataModel* pModel) override;
    void OnModelUpdate(CFODataModel* pModel, LPARAM lHint, CObject* pHint) override;
    void OnModelDestroyed(CFODataModel* pModel) override;
    CWnd* GetObserverWnd() override { return this; }

    // A handle for this canvas (never 0), and the live canvas of a handle, or null once it has gone.
    DWORD GetCanvasHandle() const { return m_dwCanvasHandle; }
    static CFOPCanvasCore* FromCanvasHandle(DWORD dwHandle);

    // Shape timers (see above).
    static int RegisterShapeTimer(CFOPCanvasCore* pCanvas, CFODrawShape* pShape, int nPeriod);
    static void UnregisterShapeTimer(int nTimerId);
    static void DropShapeTimers(const CFODrawShape* pShape);
    // Calls the shape of timer nTimerId; FALSE when no such timer runs.
    static BOOL DispatchShapeTimer(int nTimerId);
    static BOOL IsShapeTimerRunning(int nTimerId);
    // Timers now running for shapes on this canvas.
    int GetShapeTimerCount() const;

    afx_msg void OnPaint() override;
    afx_msg void OnTimer(UINT_PTR nIDEvent) override;
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) override;
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point) override;
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    afx_msg void OnMouseMove(UINT nFlags, CPoint point) override;
    afx_msg void OnDestroy() override;

protected:
    void OnWidgetCreated(const CREATESTRUCT& cs) override;
    // The topmost shape under a canvas point at run time, or null.
    CFODrawShape* ShapeAt(CPoint point) const;
    void SetMouseShape(CFODrawShape* pShape);

    CFODataModel* m_pModel = nullptr;
    DWORD m_dwCanvasHandle = 0;
    // The shape that took the last button press; it gets the moves and the release.
    CFOShapePtr<CFODrawShape> m_pMouseShape;
};
