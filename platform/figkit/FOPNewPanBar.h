// CFOPNewPanBar: the pan window. It shows the page of one canvas in small, fitted to its client
// area, with the part that the canvas window shows as a rectangle; dragging the rectangle (or
// pressing beside it) scrolls the canvas there. The frame gives it the canvas that became active
// and passes on the canvas notices (FOP_WM_VIEW_VALID, _INVALID, _UPDATE, FOP_WM_SHAPE_CHANGED),
// HandleCanvasNotice doing what they ask; the pan window also hears the canvas's model and follows
// the canvas's scrolling on its own.
#pragma once

#include "figkit/FODataModelObserver.h"
#include "mfc/Wnd.h"

class CFOPCanvasCore;
class CFODataModel;

class CFOPNewPanBar : public CWnd, public IFODataModelObserver
{
    DECLARE_DYNCREATE(CFOPNewPanBar)
public:
    CFOPNewPanBar();
    ~CFOPNewPanBar() override;

    // A child window of pParent (a plain top-level window without one), titled lpszTitle.
    using CWnd::Create;
    BOOL Create(CWnd* pParent, LPCWSTR lpszTitle, DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = 0,
                const RECT& rect = CRect(0, 0, 200, 150));

    // The canvas shown, or none. The canvas may go away at any time: it is looked up by its handle.
    void SetActiveView(CFOPCanvasCore* pCanvas);
    CFOPCanvasCore* GetActiveView() const;
    // Takes up the canvas's state again (its model, its visible part); bRedrawAll also repaints
    // the whole page picture.
    void UpdateWnd(BOOL bRedrawAll);
    // The canvas's zoom changed: the visible rectangle follows.
    void UpdateZoomScale();

    // What a frame does with a canvas notice (message, wParam, lParam as the canvas sent them: lParam
    // the canvas window). TRUE when it was one of them; *pResult gets the frame's answer.
    BOOL HandleCanvasNotice(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT* pResult = nullptr);

    // Where the page lies in the client area, and the canvas's visible part there (empty without a
    // canvas).
    CRect GetPageArea() const;
    CRect GetVisibleArea() const;

    void OnPaint() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnDestroy() override;

    // Model notices: the picture is drawn again.
    void OnModelInvalidateRect(CFODataModel* pModel, const CRect& rcCanvas) override;
    void OnModelShapeChanged(CFODataModel* pModel, CFODrawShape* pShape, const CRect& rcDirty) override;
    void OnModelReset(CFODataModel* pModel) override;
    void OnModelUpdate(CFODataModel* pModel, LPARAM lHint, CObject* pHint) override;
    void OnModelDestroyed(CFODataModel* pModel) override;

private:
    // The canvas's state the picture was drawn for.
    struct ViewState
    {
        CPoint scroll;
        double zoom = 0;
        CRect client;
        CSize page;
        bool operator==(const ViewState& o) const
        {
            return scroll.x == o.scroll.x && scroll.y == o.scroll.y && zoom == o.zoom &&
                   ::EqualRect(&client, &o.client) && page.cx == o.page.cx && page.cy == o.page.cy;
        }
    };
    ViewState CurrentState() const;
    void WatchModel(CFODataModel* pModel);
    // Scrolls the canvas so that the visible part's top left shows at a client point of this window.
    void ScrollCanvasTo(CPoint ptTopLeft);

    DWORD m_dwCanvas = 0;
    CFODataModel* m_pModel = nullptr;
    ViewState m_state;
    bool m_bDragging = false;
    CSize m_dragOffset;
};
