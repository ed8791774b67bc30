// Frame windows: CFrameWnd over a QMainWindow (menu bar, status bar, a client area where the view
// lives), CMDIFrameWnd with a QMdiArea as its MDI client, and CMDIChildWnd as a QMdiSubWindow.
//
// Commands reach a frame from its menu, accelerators and bars and go to the active view first, then
// the frame, then the application (an MDI frame asks its active child frame first). Closing the
// main frame closes the application: the application's OnClosingMainFrame is called, the frame is
// destroyed and the message loop ends. Frames are made with new and delete themselves when their
// window is destroyed.
#pragma once

#include "mfc/Wnd.h"

#include <vector>

class CDocument;
class CDocTemplate;
class CView;
class CFrameImpl;
class CMDIChildWnd;
struct AFX_ACCEL_TABLE;

// What a frame passes down when it makes its view.
struct CCreateContext
{
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)
public:
    static const CRect rectDefault;

    CFrameWnd();
    ~CFrameWnd() override;

    using CWnd::Create;
    // lpszMenuName names a menu of the resource chain (or null).
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr,
                        LPCWSTR lpszMenuName = nullptr, DWORD dwExStyle = 0,
                        CCreateContext* pContext = nullptr);
    // The frame of resource nIDResource: its menu and accelerators, and its title, the string's
    // first line.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadAccelTable(LPCWSTR lpszResourceName);

    // Makes the view of pContext->m_pNewViewClass, when there is one.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    // Fits the view (the child with id AFX_IDW_PANE_FIRST) to the client area.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Shows the frame (nCmdShow -1: as it should be) and brings it to the top.
    virtual void ActivateFrame(int nCmdShow = -1);
    // With FWS_ADDTOTITLE the active document's title goes before the frame's own ("Doc - App"); an
    // MDI child shows the document's title alone.
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    virtual CFrameWnd* GetActiveFrame();
    // The frame's piece of the extended framework (null for plain frames).
    virtual CFrameImpl* GetFrameImpl() { return nullptr; }

    // The active view (a view sets itself when it gets the focus); with bNotify the views are told
    // (OnActivateView) that one goes and the other comes.
    CView* GetActiveView() const;
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    // The active view's document (an MDI frame: its active child's).
    virtual CDocument* GetActiveDocument();
    // After a template made the frame for pDoc: the view (the child AFX_IDW_PANE_FIRST) becomes the
    // active view, and with bMakeVisible every view gets WM_INITIALUPDATE and the frame is shown.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

    void SetMessageText(LPCWSTR lpszText);
    void SetMessageText(UINT nID);
    CWnd* GetMessageBar();

    CMenu* GetMenu() const override;
    BOOL SetMenu(CMenu* pMenu) override;
    void DrawMenuBar() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
    QWidget* GetClientWidget() const override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    // The main frame closes the application (after SaveAllModified); any other frame goes when its
    // document lets it (CanCloseFrame).
    void OnClose() override;
    void OnDestroy() override;
    void OnSize(UINT nType, int cx, int cy) override;
    // Shift+F1: help on the frame's own context (there is no pick mode here).
    afx_msg void OnContextHelp();
    // WM_COMMANDHELP: help on the frame's resource context (lParam 0) or on lParam.
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam);
    // Updates each item of a popup from the command handlers; items without one are disabled when
    // m_bAutoMenuEnable is set.
    virtual void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);

    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;
    BOOL m_bAutoMenuEnable = TRUE;
    CString m_strTitle;

protected:
    void PostNcDestroy() override;
    void OnWidgetCreated(const CREATESTRUCT& cs) override;
    void RebuildMenuBar();

    CView* m_pViewActive = nullptr;
    HWND m_hWndViewActive = nullptr;
    HMENU m_hMenuShown = nullptr;
    unsigned m_nMenuBarVersion = 0;

    DECLARE_MESSAGE_MAP()
};

#define MDITILE_VERTICAL 0x0000
#define MDITILE_HORIZONTAL 0x0001
#define MDITILE_SKIPDISABLED 0x0002

class CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();
    ~CMDIFrameWnd() override;

    HWND m_hWndMDIClient = nullptr;

    // Makes the MDI client (the QMdiArea) in the client area.
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

    // The active child (the first in activation order), or null.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    // Activates the next child; the one that was active goes to the end of the order.
    void MDINext();
    void MDIPrev();
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDIDestroy(CWnd* pWnd);
    void MDICascade();
    void MDITile();
    // MDITILE_HORIZONTAL: one above the other; MDITILE_VERTICAL: side by side.
    void MDITile(int nType);
    void MDIIconArrange();
    // The children, the active one first.
    void GetMDIChildren(std::vector<CWnd*>& children) const;

    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    afx_msg BOOL OnMDIWindowCmd(UINT nID);
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);

    // Bookkeeping of the children (called by CMDIChildWnd).
    void OnMDIChildCreated(CMDIChildWnd* pChild);
    void OnMDIChildDestroyed(HWND hWndChild);
    void OnMDIChildActivatedByQt(HWND hWndChild);

protected:
    void PruneChildren() const;
    void UpdateMenuForActive();

    mutable std::vector<HWND> m_mdiOrder;

    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();
    ~CMDIChildWnd() override;

    // The menu the MDI frame shows while this child is active (loaded by LoadFrame, owned here).
    HMENU m_hMenuShared = nullptr;

    using CFrameWnd::Create;
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CMDIFrameWnd* pParentWnd = nullptr,
                        CCreateContext* pContext = nullptr);
    BOOL LoadFrame(UINT nIDResource,
                   DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIDestroy();
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();
    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    virtual void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);

    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
    QWidget* GetClientWidget() const override;
    CMenu* GetMenu() const override;
    BOOL SetMenu(CMenu* pMenu) override;

protected:
    void OnWidgetCreated(const CREATESTRUCT& cs) override;
    void PostNcDestroy() override;

    HWND m_hWndMDIFrame = nullptr;
    HWND m_hWndOwn = nullptr;

    DECLARE_MESSAGE_MAP()
};

// Accelerator tables of the resource chain; an HACCEL names a parsed table.
HACCEL LoadAcceleratorsW(HINSTANCE hInstance, LPCWSTR lpTableName);
inline HACCEL LoadAccelerators(HINSTANCE hInstance, LPCWSTR lpTableName)
{
    return LoadAcceleratorsW(hInstance, lpTableName);
}
// Sends WM_COMMAND (HIWORD 1) to hWnd when the key message matches an entry.
int TranslateAcceleratorW(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg);
inline int TranslateAccelerator(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg)
{
    return TranslateAcceleratorW(hWnd, hAccTable, lpMsg);
}
