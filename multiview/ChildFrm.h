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
    afx_msg void OnWindowSplit();

protected:
    CSplitterWndEx m_wndSplitter;
    DECLARE_MESSAGE_MAP()
};
