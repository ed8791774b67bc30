// CFOPCanvasCore: the canvas that shows a data model, as one of the model's observers. It is not a
// window itself: a window class that is a canvas derives from its window base and from this class
// and hands its message handlers on (CFOPDrawWnd, a plain window; CFODrawView, a scroll view).
//
// At run time the canvas runs its shapes' timers, passes the mouse to its shapes and raises their
// events for the program. In design mode it is the editor's canvas: selection (click, Shift-click,
// rubber band), the resize and rotation handles and the additional handles of a selected shape,
// moving, sizing and turning by mouse and arrow keys, drawing tools, the edit commands (group,
// align, order, clipboard, delete, lock) and zoom, rulers, grid and snap. Every change it makes
// goes through the model's undo history as one action.
//
// Coordinates: canvas (page) points are what shapes store. A client point is the canvas point times
// the zoom scale, less the scroll position, plus the rulers' width when they show.
//
// Shape timers (FOShapeTimers.h): the canvas runs a timer as its window timer
// FO_SHAPE_TIMER_BASE + id and calls the shape's OnTimer with the id. Canvases and timers live on
// the UI thread.
#pragma once

#include "figkit/FODataModelObserver.h"
#include "figkit/FOShapeSet.h"
#include "figkit/FOShapeTimers.h"
#include "mfc/Geometry.h"
#include "mfc/Wnd.h"

#include <memory>
#include <vector>

class CDC;
class CFOAction;
class CFODataModel;
class CFODrawShape;
class CFOPHandleList;
class CFOToolBoxItem;
class CFOWndControlShape;
class CMenu;

// What the mouse is doing on the canvas.
enum
{
    FO_TRACK_NONE = 0,
    FO_TRACK_SELECT = 1,
    FO_TRACK_MOVE = 2,
    FO_TRACK_RESIZE = 3,
    FO_TRACK_ROTATE = 4,
    FO_TRACK_RUBBERBAND = 5,
    FO_TRACK_CREATE = 6,
};

// Grid line types.
enum
{
    FO_GRID_NONE = 0,
    FO_GRID_LINES = 1,
    FO_GRID_DOTS = 2,
};

// The rotation handle's kind beside the resize handles of FOPHandle.h.
#define FO_HANDLE_ROTATE 15
// Ids of the additional handles of the library, and the kinds by which the visual proxy draws them.
#define FO_ADDI_KEY_VALUE 31016
#define FO_ADDI_CONNECT 31056
#define FO_ADDI_DRAW_KEY_VALUE 1006
#define FO_ADDI_DRAW_CONNECT 1005
// The side of an additional handle's square, in pixels.
#define FO_ADDI_SIZE 16
// The type armed by StartCustomShapeID.
#define FO_CUSTOM_SHAPE_TYPE 34
// The width of the rulers in pixels.
#define FO_RULER_SIZE 20

// One additional handle shown beside the (first) selected shape; a click on it goes to
// DoWhenClickAddi. The visual proxy draws it by its draw kind and names it by its id.
class CFOPSelectHandleItem
{
public:
    CFOPSelectHandleItem() = default;
    explicit CFOPSelectHandleItem(UINT nId, UINT nDrawType = 0) : m_nId(nId), m_nDrawType(nDrawType) {}
    UINT GetId() const { return m_nId; }
    UINT GetDrawType() const { return m_nDrawType; }

private:
    UINT m_nId = 0;
    UINT m_nDrawType = 0;
};

// The messages the canvas sends its frame (registered by name; wParam the value, lParam the
// canvas window).
UINT FOPGetViewUpdateMessage();
UINT FOPGetViewValidMessage();
UINT FOPGetViewInvalidMessage();
UINT FOPGetShapeChangedMessage();
#define FOP_WM_VIEW_UPDATE FOPGetViewUpdateMessage()
#define FOP_WM_VIEW_VALID FOPGetViewValidMessage()
#define FOP_WM_VIEW_INVALID FOPGetViewInvalidMessage()
#define FOP_WM_SHAPE_CHANGED FOPGetShapeChangedMessage()
// View update values: 100 the selection changed, 200 the zoom changed.
#define FOP_VIEW_UPDATE_SELECTION 100
#define FOP_VIEW_UPDATE_ZOOM 200
// Sends the message to the window's top-level frame (or its parent); nothing without one.
LRESULT FOPMessageSend(CWnd* pWnd, UINT nMessage, WPARAM wParam);

class CFOPCanvasCore : public IFODataModelObserver
{
public:
    // pWnd: the window that this canvas is (the derived class's own window base).
    explicit CFOPCanvasCore(CWnd* pWnd);
    virtual ~CFOPCanvasCore();
    CFOPCanvasCore(const CFOPCanvasCore&) = delete;
    CFOPCanvasCore& operator=(const CFOPCanvasCore&) = delete;

    CWnd* GetCanvasWnd() const { return m_pCanvasWnd; }

    // The model shown; the canvas becomes its observer and the parent window of its shapes.
    CFODataModel* GetCurrentModel() const { return m_pModel; }
    virtual void SetCurrentModel(CFODataModel* pModel);
    // A model was attached (or null): the hook for settings that go with it.
    virtual void DoChangeModel(CFODataModel* pModel) { (void)pModel; }
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
    void InvalidateCanvas();
    // Draws the model, the grid, the selection and the rulers into a DC in client coordinates.
    virtual void OnDraw(CDC* pDC);
    // Draws only the page and shapes, in canvas coordinates (printing, images).
    void DrawCanvasContents(CDC* pDC, const CRect& rcClip);
    // Draws the page fitted into a printed area, keeping its proportions, without editing aids.
    void DrawPageFitted(CDC* pDC, const CRect& rcArea);
    // File export: asks for a picture file (PNG, BMP or JPEG by its extension) and saves the page
    // into it; FALSE when cancelled or not written (then a message says so).
    BOOL OnFoFileExport();
    // Saves the page as a picture file; FALSE when it cannot be written.
    BOOL ExportPageToFile(const CString& strPath);

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
    CWnd* GetObserverWnd() override { return m_pCanvasWnd; }

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

    // --- Coordinates, zoom, rulers, grid ------------------------------------------------------------
    CPoint ClientToCanvas(CPoint point) const;
    CPoint CanvasToClient(CPoint point) const;
    // bMargin: a pixel more on every side when zoomed, for repainting what rounding may reach.
    CRect CanvasToClient(const CRect& rc, BOOL bMargin = TRUE) const;
    // Puts the windows of hosted window shapes on their shapes' client rectangles.
    void PlaceHostedWindows();
    // The scroll position (device units); a plain window has none.
    virtual CPoint GetCanvasScrollPosition() const { return CPoint(0, 0); }
    // Maps a DC so that drawing in canvas coordinates lands in client pixels.
    void PrepareCanvasDC(CDC* pDC) const;

    double GetZoomScale() const { return m_dZoomScale; }
    // Between 0.1 and 8; calls DoZoomScaleChanging.
    virtual void SetZoomScale(double dScale);
    void ZoomIn();
    void ZoomOut();
    virtual void DoZoomScaleChanging() {}

    BOOL IsRulersShow() const { return m_bShowRulers; }
    virtual void ShowRulers(BOOL bShow);
    void SetRulerUnit(int nUnit) { m_nRulerUnit = nUnit > 0 ? nUnit : 10; }
    int GetRulerUnit() const { return m_nRulerUnit; }
    virtual void UpdateRulerMap();
    // The frame window that shows ruler information; the base has none.
    virtual CWnd* DoUpdateRuler() { return nullptr; }
    // Scroll bars follow the page size and zoom (a scroll view sets them).
    virtual void UpdateScrollBarSize() {}

    BOOL IsGridShow() const { return m_bShowGrid; }
    void ShowGrid(BOOL bShow);
    int GetGridLineType() const { return m_nGridType; }
    void SetGridLineType(int nType);
    COLORREF GetGridColor() const { return m_crGrid; }
    void SetGridColor(COLORREF cr);
    double GetGridSpacingX() const { return m_dGridX; }
    double GetGridSpacingY() const { return m_dGridY; }
    void SetGridSpacing(double dx, double dy);
    // A canvas point put on the grid when the model snaps to it.
    CPoint SnapPoint(CPoint point) const;

    // --- Selection -----------------------------------------------------------------------------------
    const CFOTypedShapeObList& GetSelectShapes() const { return m_listSelect; }
    CFODrawShape* GetFirstSelectShape() const { return m_listSelect.GetHead(); }
    int GetSelectCount() const { return m_listSelect.Count(); }
    BOOL IsSelected(const CFODrawShape* pShape) const { return m_listSelect.Find(pShape) >= 0; }
    virtual void AddToSelection(CFODrawShape* pShape);
    virtual void RemoveFromSelection(CFODrawShape* pShape);
    void ClearSelection();
    // Replaces the selection by the listed shapes of the model.
    void SelectShapes(const FOPContainer& shapes);
    void SelectAll();
    // Puts the list into the model's order.
    virtual void DoCorrectTabOrder(CFOTypedShapeObList& list);
    // The shape whose properties stand for the selection (the first).
    CFODrawShape* GetCorrectSelectPropShape() const { return GetFirstSelectShape(); }
    // Selects every visible shape inside (or, without the option, meeting) a canvas rectangle.
    void SelectInRect(const CRect& rcCanvas, BOOL bAdd);
    BOOL IsSelectWithinRect() const { return m_bSelectWithin; }
    void SetSelectWithinRect(BOOL b) { m_bSelectWithin = b; }

    // Handles: the eight resize handles and the rotation handle of one shape, in canvas points.
    void GetShapeHandles(CFODrawShape* pShape, CFOPHandleList& list) const;
    // The additional handles of the (single) selected shape: the hook adds them.
    virtual void DoGenInitItems();
    void AddSelectHandleItem(UINT nId, UINT nDrawType = 0) { m_addiItems.emplace_back(nId, nDrawType); }
    const std::vector<CFOPSelectHandleItem>& GetSelectHandleItems() const { return m_addiItems; }
    // Where additional handle i shows, in client pixels: down the right side of the first selected
    // shape.
    CRect GetSelectHandleItemRect(int i) const;
    // An additional handle was clicked.
    virtual void DoWhenClickAddi(UINT nId) { (void)nId; }
    // The index of the additional handle at a client point, or -1.
    int HitSelectHandleItem(CPoint ptClient) const;
    // The visual proxy's tooltip of the additional handle at a client point (empty: none).
    CString GetSelectHandleItemTip(CPoint ptClient) const;
    // The size of a rectangle being drawn or sized in the proxy's words, shown under it.
    CString GetTrackSizeText(const CRect& rc) const;
    // Draws the additional handles through the visual proxy.
    void DrawSelectHandleItems(CDC* pDC);
    // A design-time double-click on a window shape with property pages of its own: runs them and,
    // when its state changed, records that as one undo step. FALSE when the shape has no pages.
    virtual BOOL DoEditControlProperties(CFOWndControlShape* pShape);

    // --- Drawing tools -------------------------------------------------------------------------------
    // Arms a tool: the next drag creates a shape of nType through the model's factory, then the
    // canvas goes back to selecting.
    void SetCurrentDrawShape(UINT nType, int nDrawAction, int nSubKind = 0, UINT nCursorId = 0);
    UINT GetCurDrawShape() const { return m_nDrawShapeType; }
    int GetDrawAction() const { return m_nDrawAction; }
    int GetDrawSubKind() const { return m_nDrawSubKind; }
    UINT GetDrawCursorId() const { return m_nDrawCursor; }
    void StartCustomShapeID(UINT nCustomId);
    UINT GetCustomShapeID() const { return m_nCustomShapeId; }
    // A port at fractions of the next custom shape.
    void AddShapePort(double fx, double fy);
    // A toolbox item dropped at a canvas point: a shape of the item's size centred there; without
    // an item, or for one of no size, the model's factory places it at the point.
    virtual CFODrawShape* DoDropToolBoxItem(UINT nType, CPoint ptCanvas, CFOToolBoxItem* pItem = nullptr);
    // Ends in-place editing (keeping the text) and any tracking; the canvas goes back to selecting.
    virtual void FinishAllBox();

    // --- In-place text ---------------------------------------------------------------------------------
    // Whether a shape's text is typed on the canvas (labels and static texts).
    static BOOL CanEditTextInPlace(const CFODrawShape* pShape);
    // Opens an edit box over the shape with its text; Enter (or a click elsewhere) keeps the typed
    // text as one undo step, Escape drops it. FALSE when the shape has no text to type.
    BOOL StartTextEdit(CFODrawShape* pShape);
    void EndTextEdit(BOOL bApply);
    BOOL IsTextEditing() const { return m_pEditShape != nullptr; }
    CFODrawShape* GetTextEditShape() const { return m_pEditShape; }
    // The edit box while editing, or null.
    CWnd* GetTextEditWnd() const;
    // A shape's text was typed on the canvas; the base fits a static text's box to it.
    virtual void DoTextEdited(CFODrawShape* pShape);
    // Fits the boxes of the static texts among the shapes to their texts.
    void AdjustTextBoxes(const FOPContainer& shapes);
    // Runs a property dialog (FOPropEditDlgs.h) on the shapes (the first gives the values) and does
    // its changes as one step; TRUE when something changed. Static texts get their boxes fitted.
    BOOL RunPropEditDlg(class CFOPropEditDlg& dlg, const FOPContainer& shapes);
    int GetCurrentAction() const { return m_nAction; }

    // --- Edit commands (each one undo step) ----------------------------------------------------------
    BOOL DoAction(CFOAction* pAction);
    void DeleteSelection();
    void GroupSelection();
    void UngroupSelection();
    // 0 left, 1 centre, 2 right, 3 top, 4 middle, 5 bottom; to the first selected shape.
    void AlignSelection(int nHow);
    // 0 width, 1 height, 2 both; to the first selected shape.
    void SameSizeSelection(int nHow);
    // 0 to front, 1 to back, 2 forward one, 3 backward one.
    void OrderSelection(int nHow);
    void MoveSelection(CSize offset, BOOL bMerge = FALSE);
    void ResizeSelection(CSize grow);
    void RotateSelection(int nAngle);
    void LockSelection(BOOL bLock);
    void CopySelection();
    void CutSelection();
    // Shapes from the clipboard (our format), under new names, selected; FALSE when there were none.
    BOOL PasteShapes();
    BOOL CanPaste() const;
    void Undo();
    void Redo();

    // --- Context menu and frame notices --------------------------------------------------------------
    // Makes the context menu object for the current selection; the canvas owns it.
    virtual CMenu* CreateContextMenu();
    CMenu* GetContextMenu() const { return m_pContextMenu.get(); }
    BOOL IsNotifyViewUpdate() const { return m_bNotifyViewUpdate; }
    void SetNotifyViewUpdate(BOOL b) { m_bNotifyViewUpdate = b; }
    void NotifyFrame(UINT nMessage, WPARAM wParam);
    virtual void DoInitCompositeShape(CFODrawShape* pShape) { (void)pShape; }

    // Message handlers the window hands on.
    virtual void OnPaint();
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT nFlags, CPoint point);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnDestroy();
    void OnCanvasCreated();

protected:
    // The topmost shape under a canvas point at run time, or null.
    CFODrawShape* ShapeAt(CPoint point) const;
    void SetMouseShape(CFODrawShape* pShape);
    // Outside design mode a shape dragged to a new value raises DoEventDragSlider with it.
    void ReportDragValue(CFODrawShape* pShape);
    // Design-mode mouse.
    void DesignLButtonDown(UINT nFlags, CPoint ptCanvas, CPoint ptClient);
    void DesignMouseMove(UINT nFlags, CPoint ptCanvas);
    void DesignLButtonUp(UINT nFlags, CPoint ptCanvas);
    // The handle kind under a client point of a selected shape, or -1.
    int HitHandle(CPoint ptClient, CFODrawShape** ppShape) const;
    void InvalidateSelection();
    // A canvas rectangle grown by what the selection marks of a shape there take.
    CRect WithSelectionMarks(const CRect& rcCanvas) const;
    void InvalidateTracking();
    CRect GetTrackRect() const;
    void SelectionChanged();
    void DrawGrid(CDC* pDC, const CRect& rcClip);
    void DrawSelection(CDC* pDC);
    void DrawTracking(CDC* pDC);
    void DrawTrackSize(CDC* pDC, const CRect& rc);
    void DrawRulers(CDC* pDC);
    // The selected shapes that may be changed (not locked).
    void GetUnlockedSelection(CFOTypedShapeObList& list) const;
    CFODrawShape* CreateToolShape(const CRect& rc, CFOToolBoxItem* pItem = nullptr);

    CWnd* m_pCanvasWnd;
    CFODataModel* m_pModel = nullptr;
    DWORD m_dwCanvasHandle = 0;
    // The shape that took the last button press; it gets the moves and the release.
    CFOShapePtr<CFODrawShape> m_pMouseShape;
    // The pressed shape is dragged to a value, and the value last reported.
    BOOL m_bDragValue = FALSE;
    double m_dDragValue = 0.0;

    CFOTypedShapeObList m_listSelect;
    std::vector<CFOPSelectHandleItem> m_addiItems;
    BOOL m_bSelectWithin = FALSE;

    int m_nAction = FO_TRACK_NONE;
    CPoint m_ptDown;
    CPoint m_ptLast;
    int m_nHandle = -1;
    CFOShapePtr<CFODrawShape> m_pTrackShape;
    CRect m_rcTrackStart;

    UINT m_nDrawShapeType = 0;
    int m_nDrawAction = 0;
    int m_nDrawSubKind = 0;
    UINT m_nDrawCursor = 0;
    UINT m_nCustomShapeId = 0;
    std::vector<std::pair<double, double>> m_customPorts;

    double m_dZoomScale = 1.0;
    BOOL m_bShowRulers = FALSE;
    int m_nRulerUnit = 10;
    // Plain canvases show none; the editing view turns it on.
    BOOL m_bShowGrid = FALSE;
    int m_nGridType = FO_GRID_DOTS;
    COLORREF m_crGrid = 0xC0C0C0;
    double m_dGridX = 10.0;
    double m_dGridY = 10.0;

    std::unique_ptr<CMenu> m_pContextMenu;
    // The in-place edit box and the shape it edits; a box that ended is kept hidden until the next
    // one, since it ends inside its own key handling.
    std::unique_ptr<CWnd> m_pTextEdit;
    std::unique_ptr<CWnd> m_pEndedTextEdit;
    CFOShapePtr<CFODrawShape> m_pEditShape;
    // Drawing for a printer: no grid, page border or selection.
    BOOL m_bPrinting = FALSE;
    BOOL m_bNotifyViewUpdate = TRUE;

private:
    // What was invalidated since the last paint. Past a few rectangles the canvas invalidates whole
    // tiles of an 8 x 8 grid instead, so that a paint clips to a few plain rectangles, which the
    // painter draws far faster than a region of hundreds.
    void InvalidateClientRect(const CRect& rcClient);
    std::vector<CRect> m_dirtyRects;
    unsigned long long m_dirtyTiles = 0;
};

// A plain window that is a canvas.
class CFOPDrawWnd : public CWnd, public CFOPCanvasCore
{
    DECLARE_DYNCREATE(CFOPDrawWnd)
public:
    CFOPDrawWnd();
    ~CFOPDrawWnd() override;

    // A child window of pParent, or a top-level window without a parent.
    BOOL CreateCanvas(CWnd* pParent, const RECT& rect, UINT nID = 0);
    // Hook of the observer list: the base only redraws.
    virtual BOOL UpdateObserver(CObject* pHint);

    afx_msg void OnPaint() override { CFOPCanvasCore::OnPaint(); }
    afx_msg void OnTimer(UINT_PTR nIDEvent) override;
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) override
    {
        CFOPCanvasCore::OnLButtonDown(nFlags, point);
    }
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point) override
    {
        CFOPCanvasCore::OnLButtonUp(nFlags, point);
    }
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point) override
    {
        CFOPCanvasCore::OnLButtonDblClk(nFlags, point);
    }
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point) override
    {
        CFOPCanvasCore::OnRButtonDown(nFlags, point);
    }
    afx_msg void OnMouseMove(UINT nFlags, CPoint point) override
    {
        CFOPCanvasCore::OnMouseMove(nFlags, point);
    }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    afx_msg void OnDestroy() override;

protected:
    void OnWidgetCreated(const CREATESTRUCT& cs) override;
};
