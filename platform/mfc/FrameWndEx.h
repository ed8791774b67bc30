// The frames of the extended framework, as the programs derive from them: their plain bases, plus
// docking panes (DockablePane.h) placed along the sides they allow; they hand the application their
// CFrameImpl when the main frame closes. No ribbon.
#pragma once

#include "mfc/FrameWnd.h"

#include <vector>

class CControlBar;
class CDockablePane;
class CMFCToolBar;

// Sent to a frame to make a user toolbar: lParam the name (LPCWSTR); the answer is the new
// CMFCToolBar* (0 when none can be made). Derived frames handle it, call the base and finish the bar.
extern const UINT AFX_WM_CREATETOOLBAR;

// The look of the tabs of tabbed MDI groups.
class CMFCTabCtrl
{
public:
    enum Style
    {
        STYLE_3D = 0,
        STYLE_FLAT = 1,
        STYLE_FLAT_SHARED_HORZ_SCROLL = 2,
        STYLE_3D_SCROLLED = 3,
        STYLE_3D_ONENOTE = 4,
        STYLE_3D_VS2005 = 5,
        STYLE_3D_ROUNDED = 6,
        STYLE_3D_ROUNDED_SCROLL = 7
    };
    enum Location
    {
        LOCATION_BOTTOM = 0,
        LOCATION_TOP = 1
    };
};

struct CMDITabInfo
{
    CMFCTabCtrl::Location m_tabLocation = CMFCTabCtrl::LOCATION_TOP;
    CMFCTabCtrl::Style m_style = CMFCTabCtrl::STYLE_3D_SCROLLED;
    BOOL m_bTabCloseButton = TRUE;
    BOOL m_bTabCustomTooltips = FALSE;
    BOOL m_bTabIcons = FALSE;
    BOOL m_bAutoColor = FALSE;
    BOOL m_bDocumentMenu = FALSE;
    BOOL m_bEnableTabSwap = TRUE;
    BOOL m_bFlatFrame = TRUE;
    BOOL m_bActiveTabCloseButton = FALSE;
    int m_nTabBorderSize = 0;
};

// Docking behaviour shared by the frames of the extended framework.
class CDockingManager
{
public:
    enum AFX_DOCK_TYPE
    {
        DT_UNDEFINED = 0,
        DT_IMMEDIATE = 1,
        DT_STANDARD = 2,
        DT_SMART = 0x80
    };
    // How a dragged pane shows where it will dock; panes dock the same way in every mode here.
    static void SetDockingMode(AFX_DOCK_TYPE dockMode) { m_dockModeGlobal = dockMode; }
    static AFX_DOCK_TYPE GetDockingMode() { return m_dockModeGlobal; }

private:
    static inline AFX_DOCK_TYPE m_dockModeGlobal = DT_IMMEDIATE;
};

// The frames' part that keeps their docking settings.
class CFrameDocking
{
public:
    // The sides panes may dock on at all.
    BOOL EnableDocking(DWORD dwDockStyle);
    DWORD GetDockingAlignment() const { return m_dwDockStyle; }
    // Docks the pane on the first side it and the frame both allow, as created when possible.
    void DockPane(CDockablePane* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    // Toolbars and the menu bar dock along the top.
    void DockPane(CControlBar* pBar);
    // Which sides let their panes hide down to their titles.
    BOOL EnableAutoHidePanes(DWORD dwDockStyle);
    DWORD GetAutoHideAlignment() const { return m_dwAutoHide; }

private:
    DWORD m_dwDockStyle = 0;
    DWORD m_dwAutoHide = 0;
};

// The extended framework's per-frame part; here it only knows its frame.
class CFrameImpl
{
public:
    explicit CFrameImpl(CFrameWnd* pFrame) : m_pFrame(pFrame) {}
    CFrameWnd* GetFrame() const { return m_pFrame; }

private:
    CFrameWnd* m_pFrame;
};

class CFrameWndEx : public CFrameWnd, public CFrameDocking
{
    DECLARE_DYNCREATE(CFrameWndEx)
public:
    CFrameWndEx() : m_Impl(this) {}
    CFrameImpl* GetFrameImpl() override { return &m_Impl; }

protected:
    CFrameImpl m_Impl;
    DECLARE_MESSAGE_MAP()
};

class CMDIFrameWndEx : public CMDIFrameWnd, public CFrameDocking
{
    DECLARE_DYNCREATE(CMDIFrameWndEx)
public:
    CMDIFrameWndEx();
    ~CMDIFrameWndEx() override;
    CFrameImpl* GetFrameImpl() override { return &m_Impl; }
    // The base load, then the application's state (its PreLoadState the first time).
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

    // The children as tabs (one group here) with the given look.
    void EnableMDITabbedGroups(BOOL bEnable, const CMDITabInfo& params);
    BOOL AreMDITabs() const { return m_bTabbedGroups; }
    const CMDITabInfo& GetMDITabInfo() const { return m_tabInfo; }
    void UpdateMDITabbedBarsIcons();

    // The windows dialog: a list of the children to activate or close.
    BOOL EnableWindowsDialog(UINT uiMenuId, UINT uiMenuTextResId, BOOL bShowAllways = FALSE,
                             BOOL bShowHelpButton = FALSE);
    UINT GetWindowsDialogCommand() const { return m_uiWindowsDlgMenuId; }
    BOOL IsWindowsDialogHelpShown() const { return m_bShowWindowsDlgHelpButton; }
    void ShowWindowsDialog();

    // The context menu of the bars: every toolbar to show or hide, then the customise command.
    void EnablePaneMenu(BOOL bEnable, UINT uiCustomizeCmd, const CString& strCustomizeLabel,
                        UINT uiViewToolbarsMenuEntryID, BOOL bContextMenuShowsToolbarsOnly = FALSE,
                        BOOL bViewMenuShowsToolbarsOnly = FALSE);
    UINT GetPaneMenuCustomizeCommand() const { return m_uiCustomizeCmd; }
    const CString& GetPaneMenuCustomizeLabel() const { return m_strCustomizeLabel; }

    // User toolbars take the ids uiUserToolbarFirst to uiUserToolbarLast.
    BOOL InitUserToolbars(LPCWSTR lpszRegEntry, UINT uiUserToolbarFirst, UINT uiUserToolbarLast);
    // The user toolbar made iIndex-th among those alive (null when none).
    CMFCToolBar* GetUserToolBarByIndex(int iIndex) const;
    int GetUserToolBarCount() const { return int(m_userToolbars.size()); }
    // Asks the frame (AFX_WM_CREATETOOLBAR) for a new user toolbar.
    CMFCToolBar* CreateNewToolBar(LPCWSTR lpszName);
    BOOL DeleteToolBar(CMFCToolBar* pToolBar);
    afx_msg LRESULT OnToolbarCreateNew(WPARAM wParam, LPARAM lParam);

protected:
    CFrameImpl m_Impl;
    BOOL m_bTabbedGroups = FALSE;
    CMDITabInfo m_tabInfo;
    UINT m_uiWindowsDlgMenuId = 0;
    CString m_strWindowsDlgMenuText;
    BOOL m_bShowWindowsDlgAlways = FALSE;
    BOOL m_bShowWindowsDlgHelpButton = FALSE;
    UINT m_uiCustomizeCmd = 0;
    CString m_strCustomizeLabel;
    UINT m_uiViewToolbarsMenuEntryID = 0;
    UINT m_uiUserToolbarFirst = 0;
    UINT m_uiUserToolbarLast = 0;
    // Made by OnToolbarCreateNew, owned here.
    std::vector<CMFCToolBar*> m_userToolbars;
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWndEx : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CMDIChildWndEx)
public:
    CMDIChildWndEx() = default;

protected:
    DECLARE_MESSAGE_MAP()
};
