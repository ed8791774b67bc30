// The design view of a screen, in two layers over the library's scripted canvas view.
// CPlexdraftView holds the command table of the format bar, the edit and view commands, the tools
// and the behaviour commands, the test run, the shape events of a tried-out screen, and keeps the
// main frame's format bar and undo lists in step with the selection. CQYRDrawView, the class the
// screen template makes, adds the key-value command, the editor's event dialog, the third extra
// handle and the trimmed context menu.
#pragma once

#include "figkit/FODrawView.h"
#include "figkit/FoValue.h"

#include <vector>

class CMyDrawWnd;
class CPlexdraftDoc;
class CMyExtDataModel;
class CEventSetBaseDlg;
class IDesignFrame;

// Undo (lParam 5000) or redo wParam steps at once.
#define WM_UNDO_REDO_STEPS (WM_USER + 500)
#define UNDO_STEPS_CODE 5000

// Additional handles.
#define ID_ADDI_EVENTS 31057
// How the visual proxy draws that handle.
#define ID_ADDI_DRAW_EVENTS 1101

class CPlexdraftView : public CFOScriptView
{
    DECLARE_DYNCREATE(CPlexdraftView)
public:
    CPlexdraftView();
    ~CPlexdraftView() override;

    CPlexdraftDoc* GetDocument() const;
    CMyExtDataModel* GetEditModel() const;
    // The frame's members the view uses, or null.
    static IDesignFrame* GetDesignFrame();

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    BOOL OnDrop(UINT nType, CPoint ptClient) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    // Opens a file with the desktop.
    virtual void OpenShellFile(LPCWSTR lpszFile, LPCWSTR lpszParams);

    void DoChangeModel(CFODataModel* pModel) override;
    void DoWhenClickAddi(UINT nId) override;
    virtual void DoShowEventPropDlg(CFODrawShape* pShape);
    // The event dialog for the whole selection (one undo step for all).
    virtual void DoShowEventPropDlgForSelection();
    CMenu* CreateContextMenu() override;
    void DoEventAtAllGeometryUp(CFODrawShape* pShape, int nEventType, const CString& strEvent) override;
    void DoZoomScaleChanging() override;
    CWnd* DoUpdateRuler() override;
    void DoInitCompositeShape(CFODrawShape*) override {}
    void AddToSelection(CFODrawShape* pShape) override;
    void RemoveFromSelection(CFODrawShape* pShape) override;

    // Adds the shape to the selection, last.
    void SelectShape(CFODrawShape* pShape);
    // Selects all labels, links or other shapes of the list.
    void SelectAllLabels(const FOPContainer& shapes);
    void SelectAllLinks(const FOPContainer& shapes);
    void SelectAllShapes(const FOPContainer& shapes);
    void SelectAllShapesAndLinks(const FOPContainer& shapes);
    // The format bar shows the first selected shape's font, colours, line width and style.
    void SyncFormatBar();
    // Writes "output.htm" in the folder only as a stub; an existing one is left alone.
    void ExportOutputHtml(const CString& strFolder, int nReserved1 = 0, int nReserved2 = 0);

    // The application's option "Not allow any default port" (on without an editor application).
    static BOOL IsNoDefaultPorts();
    // The font sizes of the larger and smaller font commands.
    static int NextFontSize(int nSize, BOOL bUp);
    // The zoom percentage of a zoom box entry.
    static int ZoomPercentOfEntry(int nIndex);
    // Keys 1 of a composite's children made unique ("K1", "K2"...).
    static void MakeUniqueKeys(std::vector<CString>& keys);

    CMyDrawWnd* m_pPreviewWnd = nullptr;
    int m_bBarWasVisible = FALSE;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) override;
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point) override;
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point) override;
    afx_msg LRESULT OnUndoRedoSteps(WPARAM wParam, LPARAM lParam);
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Format bar.
    afx_msg void OnFontNameChange();
    afx_msg void OnFontSizeChange();
    afx_msg void OnZoomChange();
    afx_msg void OnBold();
    afx_msg void OnUpdateBold(CCmdUI* pCmdUI);
    afx_msg void OnItalic();
    afx_msg void OnUpdateItalic(CCmdUI* pCmdUI);
    afx_msg void OnUnderline();
    afx_msg void OnUpdateUnderline(CCmdUI* pCmdUI);
    afx_msg void OnAlignText(UINT nID);
    afx_msg void OnUpdateAlignText(CCmdUI* pCmdUI);
    afx_msg void OnLargerFont();
    afx_msg void OnSmallerFont();
    // Text bullets: the bullet dialog of one shape, or one change for the whole selection.
    afx_msg void OnBullets();
    afx_msg void OnUpdateBullets(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAlways(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDesignMode(CCmdUI* pCmdUI);
    afx_msg void OnFontColor(UINT nNotify);
    afx_msg void OnLineColor(UINT nNotify);
    afx_msg void OnFillColor(UINT nNotify);
    // The canvas colour (the fill command with nothing selected), as one undo step.
    void SetCanvasColor(COLORREF cr);
    afx_msg void OnLineWidth(UINT nNotify);
    afx_msg void OnPenStyle(UINT nNotify);

    // Edit and view.
    afx_msg void OnSelectAllLabels();
    afx_msg void OnSelectAllShapes();
    afx_msg void OnSelectAllLinks();
    afx_msg void OnLockAllLabels();
    afx_msg void OnLockAllShapes();
    afx_msg void OnLockAllLinks();
    afx_msg void OnUpdateSelectAll(CCmdUI* pCmdUI);
    afx_msg void OnRuler();
    afx_msg void OnUpdateRuler(CCmdUI* pCmdUI);
    afx_msg void OnPageBorder();
    afx_msg void OnUpdatePageBorder(CCmdUI* pCmdUI);
    afx_msg void OnHideAllSnap();
    afx_msg void OnOptions();
    afx_msg void OnTestRun();

    // Tools and insertion.
    afx_msg void OnDrawTool(UINT nID);
    afx_msg void OnUpdateDrawTool(CCmdUI* pCmdUI);
    afx_msg void OnInsertControl(UINT nID);

    // Behaviour.
    afx_msg void OnConnectParam();
    afx_msg void OnUpdateNeedSelectionDesign(CCmdUI* pCmdUI);
    afx_msg void OnVisibleSet();
    afx_msg void OnUpdateOneSelected(CCmdUI* pCmdUI);
    // Event Link: the event dialog of the one selected shape.
    afx_msg void OnEventLink();
    afx_msg void OnUpdateEventLink(CCmdUI* pCmdUI);
    afx_msg void OnMultipleStates();
    afx_msg void OnUpdateMultipleStates(CCmdUI* pCmdUI);
    // The editor application has a project open.
    static BOOL IsProjectLoaded();
    afx_msg void OnScreenSetting();
    afx_msg void OnUpdateScreenSetting(CCmdUI* pCmdUI);
    afx_msg void OnValueChangeTest();

    // State, value-change animation, custom properties and the SVG import.
    afx_msg void OnImportSvg();
    afx_msg void OnUpdateImportSvg(CCmdUI* pCmdUI);
    afx_msg void OnShapeState();
    afx_msg void OnUpdateShapeState(CCmdUI* pCmdUI);
    afx_msg void OnValueChangeAnimate();
    afx_msg void OnUpdateValueChangeAnimate(CCmdUI* pCmdUI);
    afx_msg void OnCustomProperties();
    afx_msg void OnUpdateCustomProperties(CCmdUI* pCmdUI);
    // Links a move-path or scale-reference shape to the shape with key 1 strKey (empty: none), and
    // marks that shape (property 1933) as animated by it.
    void LinkAnimatedShape(CFODrawShape* pDriver, const CString& strKey);

protected:
    // The chart line builder on a chart shape's lines and value range; TRUE on OK.
    BOOL RunChartLines(CFODrawShape* pShape);
    // The selection before the last selection of a whole set.
    CFOTypedShapeObList m_listPrevSelect;

    template <class Pred> void SelectWhere(const FOPContainer& shapes, Pred pred);
    // Runs the event dialog for the shapes (the first gives the values) as one property action.
    void RunEventDialog(const FOPContainer& shapes, CEventSetBaseDlg& dlg);
    // Sets one property of the selection; with bAdjustText static texts fit their boxes to it.
    void ChangeSelectionProp(const FO_VALUE& value, int nPropId, BOOL bAdjustText = FALSE);
    void ChangeFontSize(BOOL bUp);
    // The drop button's chosen value, read from its well on the format bar.
    LRESULT ReadWellValue(UINT nWellId);
    // Property action for the key dialogs: one entry per changed value, on every selected shape.
    void ApplyKeyEntries(const std::vector<std::pair<int, std::pair<CString, CString>>>& entries);
    // The smallest child-window id from 100 not used by a child window of the view.
    UINT FirstFreeChildId() const;
    void RunTestWindow();

    DECLARE_MESSAGE_MAP()
};

class CQYRDrawView : public CPlexdraftView
{
    DECLARE_DYNCREATE(CQYRDrawView)
public:
    CQYRDrawView() = default;
    ~CQYRDrawView() override = default;

    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void DoGenInitItems() override;
    void DoWhenClickAddi(UINT nId) override;
    void DoShowEventPropDlg(CFODrawShape* pShape) override;
    void DoShowEventPropDlgForSelection() override;
    CMenu* CreateContextMenu() override;

    afx_msg void OnKeyValue();
    afx_msg void OnUpdateKeyValue(CCmdUI* pCmdUI);

protected:
    DECLARE_MESSAGE_MAP()
};
