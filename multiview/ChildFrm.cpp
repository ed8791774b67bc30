#include "multiview/ChildFrm.h"

#include "multiview/Resource.h"
#include "player/ExtDataModel.h"
#include "player/PlexrunView.h"

#include "mfc/Messages.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWndEx)

BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWndEx)
ON_COMMAND(ID_WINDOW_SPLIT, &CChildFrame::OnWindowSplit)
ON_MESSAGE(WM_CHILD_FIT_SCREEN, &CChildFrame::OnFitScreen)
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

void CChildFrame::ActivateFrame(int nCmdShow)
{
    CMDIChildWndEx::ActivateFrame(nCmdShow);
    // The first child opens while the main frame is still being made: it takes its size once the
    // frame has its own.
    if (!m_bFitted)
    {
        m_bFitted = TRUE;
        PostMessage(WM_CHILD_FIT_SCREEN);
    }
}

LRESULT CChildFrame::OnFitScreen(WPARAM, LPARAM)
{
    auto* view = dynamic_cast<CPlexrunView*>(GetActiveView());
    const CExtDataModel* model = view ? view->GetCurrentModel() : nullptr;
    CWnd* client = GetParent();
    if (!model || !client || IsZoomed() || IsIconic())
        return 0;
    CRect outer, inner, area;
    GetWindowRect(&outer);
    GetClientRect(&inner);
    client->GetClientRect(&area);
    const CSize canvas = model->GetCanvasSize();
    // The frame's own edges and caption come on top of the screen's size.
    const int cx = std::min(canvas.cx + outer.Width() - inner.Width(), area.Width());
    const int cy = std::min(canvas.cy + outer.Height() - inner.Height(), area.Height());
    if (cx <= 0 || cy <= 0)
        return 0;
    CRect place = outer;
    client->ScreenToClient(&place);
    // Kept inside the client area: moved back to the left or up when it would stick out.
    const int x = std::max(0, std::min(int(place.left), area.Width() - cx));
    const int y = std::max(0, std::min(int(place.top), area.Height() - cy));
    MoveWindow(x, y, cx, cy, TRUE);
    return 0;
}
