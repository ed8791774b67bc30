// CSplashWnd: the borderless window the player shows while it closes: picture 184 and the
// animation 311 playing in control 1000. One exists per process.
#pragma once

#include "mfc/AnimateCtrl.h"
#include "mfc/Dialog.h"

class CSplashWnd : public CDialog
{
public:
    enum
    {
        IDD = 183,
        IDB_SPLASH = 184,
        IDR_CLOSING_CLIP = 311,
        IDC_ANIMATE = 1000,
        ID_HIDE_TIMER = 100,
    };

    static CSplashWnd& GetSplash();

    // Creates the window over the desktop when it does not exist yet and shows it; with a time-out
    // (ms) it hides itself after that long. FALSE when the window cannot be made.
    BOOL Show(UINT nTimeout);
    BOOL IsCreated() const { return m_bCreated; }

    void OnTimer(UINT_PTR nIDEvent) override;
    void PostNcDestroy() override;

protected:
    CSplashWnd() = default;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    BOOL m_bCreated = FALSE;
    CAnimateCtrl m_animate;

    DECLARE_MESSAGE_MAP()
};
