#include "mfc/FrameWndEx.h"

#include "mfc/DockablePane.h"

BOOL CFrameDocking::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    return TRUE;
}

void CFrameDocking::DockPane(CDockablePane* pBar, UINT, LPCRECT)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    const DWORD allowed = (pBar->GetEnabledAlignment() ? pBar->GetEnabledAlignment() : CBRS_ALIGN_ANY) &
                          (m_dwDockStyle ? m_dwDockStyle : CBRS_ALIGN_ANY);
    const DWORD current = pBar->GetCurrentAlignment();
    if (current & allowed)
        pBar->DockToSide(current);
    else
    {
        for (DWORD side : {DWORD(CBRS_ALIGN_LEFT), DWORD(CBRS_ALIGN_RIGHT), DWORD(CBRS_ALIGN_TOP),
                           DWORD(CBRS_ALIGN_BOTTOM)})
        {
            if ((allowed & side) && pBar->DockToSide(side))
                break;
        }
    }
    pBar->ShowWindow(SW_SHOW);
}

BOOL CFrameDocking::EnableAutoHidePanes(DWORD dwDockStyle)
{
    m_dwAutoHide = dwDockStyle & CBRS_ALIGN_ANY;
    return TRUE;
}

IMPLEMENT_DYNCREATE(CFrameWndEx, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIFrameWndEx, CMDIFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWndEx, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CFrameWndEx, CFrameWnd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIFrameWndEx, CMDIFrameWnd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIChildWndEx, CMDIChildWnd)
END_MESSAGE_MAP()
