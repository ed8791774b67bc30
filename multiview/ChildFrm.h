// CChildFrame: the MDI child that shows one screen: a dynamic splitter (at most two rows and two
// columns of the player's view) fills it.
#pragma once

#include "mfc/FrameWndEx.h"
#include "mfc/SplitterWnd.h"

class CChildFrame : public CMDIChildWndEx
{
    DECLARE_DYNCREATE(CChildFrame)
public:
    CChildFrame();
    ~CChildFrame() override;

    CSplitterWndEx& GetSplitter() { return m_wndSplitter; }

    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void ActivateFrame(int nCmdShow = -1) override;
    afx_msg void OnWindowSplit();
    // Sizes the frame so that its screen shows whole, within the MDI client area.
    afx_msg LRESULT OnFitScreen(WPARAM wParam, LPARAM lParam);

protected:
    CSplitterWndEx m_wndSplitter;
    BOOL m_bFitted = FALSE;
    DECLARE_MESSAGE_MAP()
};
