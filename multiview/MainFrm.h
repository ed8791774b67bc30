// The viewer's main window: an MDI frame with menu bar, toolbar, status bar, the file pane that
// lists the project's screens, and the caption bar that shows the latest alarm or event. It owns
// the alarm document and ticks the application's timer hook (and the alarm connection) every
// 500 ms.
#pragma once

#include "foundation/VEzudiZuroDoz.h"
#include "foundation/XVKFrames.h"
#include "mfc/CaptionBar.h"
#include "mfc/ToolBarEx.h"
#include "multiview/ClassView.h"
#include "multiview/FileView.h"

class CAlarmDoc;

// The caption bar of the frame, with no behaviour of its own.
class CMessageBar : public CMFCCaptionBar
{
    DECLARE_DYNCREATE(CMessageBar)
public:
    CMessageBar() = default;
};

class CMainFrame : public CXVKMDIFrameWndEx
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    enum
    {
        ID_MENU_BAR = 0xE806,
        ID_CAPTION_BAR = 221,
        ID_FRAME_TIMER = 1122,
        FRAME_TIMER_PERIOD = 500,
        ID_USER_TOOLBAR_FIRST = 0xE828,
        ID_USER_TOOLBAR_LAST = 0xE831,
        USER_IMAGES_MAX_BYTES = 819200,
    };

    CMainFrame();
    ~CMainFrame() override;

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    // The handles of the bars and panes, as the shared library takes them.
    void FillFrameInfo(tagFRAMEINFO& info) const;

    CMFCMenuBar& GetMenuBar() { return m_wndMenuBar; }
    CMFCToolBar& GetToolBar() { return m_wndToolBar; }
    CMFCStatusBar& GetStatusBar() { return m_wndStatusBar; }
    CFileView& GetFileView() { return m_wndFileView; }
    CMessageBar& GetCaptionBar() { return m_wndCaptionBar; }
    CAlarmDoc* GetAlarmDoc() const { return m_pAlarmDoc; }
    const CMFCToolBarImages& GetUserImages() const { return m_UserImages; }

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR nIDEvent) override;
    afx_msg void OnWindowManager();
    afx_msg void OnViewCustomize();
    afx_msg LRESULT OnToolbarCreateNew(WPARAM wParam, LPARAM lParam);
    afx_msg void OnApplicationLook(UINT id);
    afx_msg void OnUpdateApplicationLook(CCmdUI* pCmdUI);
    afx_msg void OnViewCaptionBar();
    afx_msg void OnUpdateViewCaptionBar(CCmdUI* pCmdUI);
    afx_msg LRESULT OnShowEvent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnReserved(WPARAM wParam, LPARAM lParam);

protected:
    void OnQuitConfirmed() override;
    BOOL CreateDockingWindows();
    BOOL CreateCaptionBar();
    void SetDockingWindowIcons(BOOL bHiColorIcons);
    // Detaches, closes and deletes the alarm document.
    void CloseAlarmDocument();

    CMFCMenuBar m_wndMenuBar;
    CMFCToolBar m_wndToolBar;
    CMFCStatusBar m_wndStatusBar;
    CMFCToolBarImages m_UserImages;
    CFileView m_wndFileView;
    CClassView m_wndClassView;
    COutputWnd m_wndOutput;
    CMessageBar m_wndCaptionBar;
    CAlarmDoc* m_pAlarmDoc = nullptr;

    DECLARE_MESSAGE_MAP()
};
