// The editor's MDI child frames. A screen's CChildFrame shows its design view beside the shape
// list bar (right edge); a script's CCodeChildFrame shows the script view under the "Draw"
// template toolbar, beside the method list bar (left edge). Both always open maximized.
#pragma once

#include "editor/ListBars.h"
#include "figkit/FrameWnds.h"

#include <memory>
#include <vector>

class CButton;

#define ID_VIEW_KEY_VALUES_BAR 32828
#define IDR_SCRIPT_TOOLBAR 121
#define IDC_LIST_BAR 1212

// The script frame's row of template buttons; a click is the button's command to the frame.
class CSnippetToolBar : public CControlBar
{
    DECLARE_DYNAMIC(CSnippetToolBar)
public:
    CSnippetToolBar();
    ~CSnippetToolBar() override;
    BOOL CreateBar(CWnd* pParentWnd, UINT nID);
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    static int Height() { return 26; }
    // The buttons' commands, in their order.
    static const std::vector<UINT>& Commands();

protected:
    std::vector<std::unique_ptr<CButton>> m_buttons;
};

class CChildFrame : public CFOPMDIChildWnd
{
    DECLARE_DYNCREATE(CChildFrame)
public:
    CChildFrame();
    ~CChildFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void ActivateFrame(int nCmdShow = -1) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    CExtListBar& GetShapeListBar() { return m_wndListBar; }
    static int BarWidth() { return 150; }

    afx_msg void OnViewKeyValuesBar();
    afx_msg void OnUpdateViewKeyValuesBar(CCmdUI* pCmdUI);

protected:
    CExtListBar m_wndListBar;
    DECLARE_MESSAGE_MAP()
};

class CCodeChildFrame : public CFOPMDIChildWnd
{
    DECLARE_DYNCREATE(CCodeChildFrame)
public:
    CCodeChildFrame();
    ~CCodeChildFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void ActivateFrame(int nCmdShow = -1) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    CMethodListBar& GetMethodListBar() { return m_wndMethodBar; }
    CSnippetToolBar& GetToolBar() { return m_wndToolBar; }

protected:
    CMethodListBar m_wndMethodBar;
    CSnippetToolBar m_wndToolBar;
    DECLARE_MESSAGE_MAP()
};

// The child frame's view fills what its bars leave: a left and a right bar of the given width and
// a top bar of its height, each only while visible.
void LayoutChildFrame(CFrameWnd* pFrame, CWnd* pLeft, CWnd* pRight, CWnd* pTop, int nBarWidth,
                      int nTopHeight);
