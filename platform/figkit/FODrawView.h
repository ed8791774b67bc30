// CFODrawView: the editing canvas as a document view with scroll bars over the page, and
// CFOScriptView, the same canvas with the shape-event hooks of a scripted screen. The canvas
// itself is CFOPCanvasCore; this class binds it to the view's window, its scroll position and the
// commands of the edit menu.
#pragma once

#include "figkit/FOPCanvasCore.h"
#include "mfc/View.h"

#include <memory>

class COleDropTarget;

// Commands of the canvas beyond the framework's edit commands.
enum
{
    ID_FOP_GROUP = 0x8A00,
    ID_FOP_UNGROUP,
    ID_FOP_ALIGN_LEFT,
    ID_FOP_ALIGN_CENTER,
    ID_FOP_ALIGN_RIGHT,
    ID_FOP_ALIGN_TOP,
    ID_FOP_ALIGN_MIDDLE,
    ID_FOP_ALIGN_BOTTOM,
    ID_FOP_SAME_WIDTH,
    ID_FOP_SAME_HEIGHT,
    ID_FOP_SAME_SIZE,
    ID_FOP_BRING_FRONT,
    ID_FOP_SEND_BACK,
    ID_FOP_BRING_FORWARD,
    ID_FOP_SEND_BACKWARD,
    ID_FOP_LOCK,
    ID_FOP_UNLOCK,
    ID_FOP_ZOOM_IN,
    ID_FOP_ZOOM_OUT,
    ID_FOP_ZOOM_100,
    ID_FOP_SHOW_GRID,
    ID_FOP_SNAP_GRID,
    ID_FOP_ROTATE_LEFT,
    ID_FOP_ROTATE_RIGHT,
};

class CFODrawView : public CScrollView, public CFOPCanvasCore
{
    DECLARE_DYNCREATE(CFODrawView)
public:
    CFODrawView();
    ~CFODrawView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    // The canvas draws itself, scroll position and zoom included.
    void OnDraw(CDC* pDC) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    CPoint GetCanvasScrollPosition() const override { return GetDeviceScrollPosition(); }
    void UpdateScrollBarSize() override;
    void ShowRulers(BOOL bShow) override;
    BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE) override;
    // One page: the screen's page scaled to fit the paper, without grid or selection.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    // A toolbox item dropped on the view: the model's factory makes the shape. Items dragged out of
    // a toolbox window arrive here through the view's drop target, the item at hand in
    // GetDroppedItem while the call runs.
    virtual BOOL OnDrop(UINT nType, CPoint ptClient);
    // Takes a dragged toolbox item (its drag text) dropped at a client point.
    BOOL DropToolBoxItem(const CFOToolBoxItem& item, CPoint ptClient);
    CFOToolBoxItem* GetDroppedItem() const { return m_pDroppedItem; }
    // The lock command of the edit menu.
    void OnFOPFOLockcomp();

    // The property dialogs on the selection (FOPropEditDlgs.h). Each change is one undo step.
    // The property manager: every common property of the selection.
    void OnFOPFoPropManager();
    // Enabled in design mode with a selection.
    void OnUpdateFOPFoPropManager(CCmdUI* pCmdUI);
    void OnFOPTextProp();
    void OnFOPLineProp();
    void OnFOPFillProp();
    // Position and size of the one selected shape.
    void OnFOPPositionProp();
    void OnUpdateFOPOneSelected(CCmdUI* pCmdUI);
    // Where the selection lies in the drawing order.
    void OnFOPLayer();
    // The page's size, colours and border; enabled in design mode.
    void OnFOPPageSetup();
    void OnUpdateFOPDesignMode(CCmdUI* pCmdUI);
    // The page's shapes; the chosen ones are selected. Enabled in design mode with any shape.
    void OnFOPComponents();
    void OnUpdateFOPComponents(CCmdUI* pCmdUI);
    // The bullet dialog for one shape.
    virtual void DoShowBulletPropDlg(CFODrawShape* pShape);

    afx_msg void OnPaint() override { CFOPCanvasCore::OnPaint(); }
    afx_msg void OnTimer(UINT_PTR nIDEvent) override;
    // A click in design mode gives the canvas the keyboard, so its keys work after a toolbar box
    // had it.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) override;
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
    // The edit keys (Ctrl+C, X, V, Z, Y, A and Delete) run the Edit menu's commands; the others
    // move, size and rotate the selection.
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    // The edit command of a key on the canvas (0 for none).
    static UINT EditCommandOfKey(UINT nChar, BOOL bCtrl, BOOL bShift);
    // A change of the modified flag shows in the frame's title.
    void OnModelUpdate(CFODataModel* pModel, LPARAM lHint, CObject* pHint) override;
    afx_msg void OnDestroy() override;
    afx_msg void OnSetFocus(CWnd* pOldWnd) override;
    afx_msg void OnKillFocus(CWnd* pNewWnd) override;

    afx_msg void OnEditUndo();
    afx_msg void OnEditRedo();
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnEditClear();
    afx_msg void OnEditSelectAll();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNeedSelection(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnCanvasCommand(UINT nID);
    afx_msg void OnUpdateCanvasCommand(CCmdUI* pCmdUI);

protected:
    void OnWidgetCreated(const CREATESTRUCT& cs) override;

    std::unique_ptr<COleDropTarget> m_pToolBoxDrop;
    CFOToolBoxItem* m_pDroppedItem = nullptr;

    DECLARE_MESSAGE_MAP()
};

class CFOScriptView : public CFODrawView
{
    DECLARE_DYNCREATE(CFOScriptView)
public:
    CFOScriptView() = default;
    ~CFOScriptView() override = default;

protected:
    DECLARE_MESSAGE_MAP()
};
