#include "player/SplashWnd.h"

BEGIN_MESSAGE_MAP(CSplashWnd, CDialog)
END_MESSAGE_MAP()

CSplashWnd& CSplashWnd::GetSplash()
{
    static CSplashWnd splash;
    return splash;
}

BOOL CSplashWnd::Show(UINT nTimeout)
{
    if (!m_bCreated || !GetSafeHwnd())
    {
        if (!Create(IDD, nullptr))
            return FALSE;
        m_bCreated = TRUE;
        CenterWindow();
    }
    ShowWindow(SW_SHOW);
    UpdateWindow();
    if (nTimeout != 0)
        SetTimer(ID_HIDE_TIMER, nTimeout);
    return TRUE;
}

void CSplashWnd::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ANIMATE, m_animate);
}

BOOL CSplashWnd::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The control plays the clip as soon as it opens (ACS_AUTOPLAY).
    m_animate.Open(IDR_CLOSING_CLIP);
    return TRUE;
}

void CSplashWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (GetSafeHwnd())
        ShowWindow(SW_HIDE);
    CDialog::OnTimer(nIDEvent);
}

void CSplashWnd::PostNcDestroy()
{
    m_bCreated = FALSE;
    CDialog::PostNcDestroy();
}
