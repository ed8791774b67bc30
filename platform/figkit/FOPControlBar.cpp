#include "figkit/FOPControlBar.h"

IMPLEMENT_DYNAMIC(CFOPControlBar, CDockablePane)
IMPLEMENT_DYNAMIC(CFOPStatusBar, CStatusBar)

BOOL CFOPControlBar::Create(LPCWSTR lpszWindowName, CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle,
                            UINT nID, CSize sizeDefault)
{
    m_dwExStyle = dwExStyle;
    m_sizeDefault = sizeDefault;
    const CRect rect(0, 0, sizeDefault.cx, sizeDefault.cy);
    if (!CDockablePane::Create(lpszWindowName, pParentWnd, rect, TRUE, nID, dwStyle, AFX_CBRS_REGULAR_TABS,
                               AFX_DEFAULT_DOCKING_PANE_STYLE))
        return FALSE;
    // A bar made without WS_VISIBLE stays hidden when its frame shows.
    if (!(dwStyle & WS_VISIBLE))
        ShowWindow(SW_HIDE);
    return TRUE;
}
