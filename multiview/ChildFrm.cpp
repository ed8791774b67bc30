#include "multiview/ChildFrm.h"

#include "mfc/Messages.h"

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWndEx)

BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWndEx)
ON_COMMAND(ID_WINDOW_SPLIT, &CChildFrame::OnWindowSplit)
END_MESSAGE_MAP()

CChildFrame::CChildFrame() = default;
CChildFrame::~CChildFrame() = default;

BOOL CChildFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    return m_wndSplitter.Create(this, 2, 2, CSize(10, 10), pContext,
                                WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | SPLS_DYNAMIC_SPLIT,
                                AFX_IDW_PANE_FIRST);
}

BOOL CChildFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    return CMDIChildWndEx::PreCreateWindow(cs);
}

void CChildFrame::RecalcLayout(BOOL bNotify)
{
    CMDIChildWndEx::RecalcLayout(bNotify);
    if (m_wndSplitter.GetSafeHwnd())
        m_wndSplitter.RecalcLayout();
}

void CChildFrame::OnWindowSplit()
{
    if (m_wndSplitter.GetSafeHwnd())
        m_wndSplitter.DoKeyboardSplit();
}
