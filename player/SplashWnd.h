// CSplashWnd: the borderless window the player shows while it closes. One exists per process.
#pragma once

#include "mfc/Dialog.h"

class CSplashWnd : public CDialog
{
public:
    enum
    {
        IDD = 183,
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
    BOOL m_bCreated = FALSE;

    DECLARE_MESSAGE_MAP()
};
