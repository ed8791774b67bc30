// The diagram library's frame windows, the bases of the programs' frames. They add no state of
// their own and pass creation, closing and help on to the framework's frames.
#pragma once

#include "figkit/Figkit.h"
#include "mfc/Controls.h"
#include "mfc/DockablePane.h"
#include "mfc/FrameWnd.h"

#include <map>
#include <vector>

class CFOPFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CFOPFrameWnd)
public:
    CFOPFrameWnd() = default;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnClose() override;
    afx_msg void OnContextHelp();
    afx_msg void OnHelp();
    afx_msg void OnHelpFinder();

protected:
    DECLARE_MESSAGE_MAP()
};

// Where a bar docks: the frame's four dock bars.
#ifndef AFX_IDW_DOCKBAR_LEFT
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#endif

class CFOPMDIFrameWnd : public CMDIFrameWnd
{
    DECLARE_DYNCREATE(CFOPMDIFrameWnd)
public:
    CFOPMDIFrameWnd() = default;

    // Menus show the images of the toolbar buttons of the same commands (on by default).
    void ShowMenuImage(BOOL bShow = TRUE);
    BOOL IsMenuImageShown() const { return m_bMenuImage; }
    // The images of a TOOLBAR resource given to the frame's commands, for the menus.
    BOOL SetMenuImageRes(UINT nToolBarID);
    // The sides bars may dock on at all (CBRS_ALIGN_ ...).
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockingAlignment() const { return m_dwDockStyle; }
    // A toolbar in a new row of a side (AFX_IDW_DOCKBAR_ ...; 0: the first side it allows), a
    // docking bar at that side.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0);
    // pBar in pLeftOf's row, right after it.
    void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf);
    // A docking bar at a side, nSize pixels across; fProportion: its share of the side when others
    // share it.
    void DockControlBarEx(CControlBar* pBar, UINT nDockBarID, float fProportion, int nSize);
    // A docking bar under another one of the same side.
    void DockControlBarBottomOf(CControlBar* pBar, CControlBar* pTopOf);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // Full screen on (and off again when called while on).
    void ShowFullScreen(BOOL bFullScreen);
    BOOL IsFullScreen() const;
    // The toolbars of one side, row by row (for the layout's checks).
    std::vector<std::vector<CControlBar*>> GetToolBarRows(UINT nDockBarID) const;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnClose() override;
    afx_msg void OnContextHelp();
    afx_msg void OnHelp();
    afx_msg void OnHelpFinder();

protected:
    void LayoutToolBars(UINT nDockBarID);

    BOOL m_bMenuImage = TRUE;
    DWORD m_dwDockStyle = 0;
    BOOL m_bFullScreen = FALSE;
    std::map<UINT, std::vector<std::vector<HWND>>> m_toolRows;
    DECLARE_MESSAGE_MAP()
};

class CFOPMDIChildWnd : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CFOPMDIChildWnd)
public:
    CFOPMDIChildWnd() = default;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnClose() override;
    // The document's name, with a star while it has unsaved changes.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    afx_msg void OnContextHelp();
    afx_msg void OnHelp();
    afx_msg void OnHelpFinder();

protected:
    DECLARE_MESSAGE_MAP()
};
