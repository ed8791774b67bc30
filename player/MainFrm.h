// The runtime player's main frame. It takes its title, caption buttons, border, size (centred on
// the screen), own icon, full screen and topmost from the project's window settings, keeps only the commands
// the player offers in its menu, forwards its 500 ms timer to the application and shows the splash
// window while the program closes.
#pragma once

#include "foundation/XVKFrames.h"

class CWorkSpaceObj;

class CMainFrame : public CXVKFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    enum
    {
        ID_FRAME_TIMER = 1122,
        FRAME_TIMER_PERIOD = 500,
        ID_VIEW_FULL_SCREEN = 32793,
        ID_VIEW_LANGUAGE_CMD = 32795,
        ID_VIEW_TOOLBAR_CMD = 59392,
        IDI_OWN_ICON = 128,
    };

    CMainFrame() = default;
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Shows the frame over the whole screen without caption or border.
    void ShowFullScreen();

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnClose() override;
    void OnDestroy() override;
    afx_msg void OnViewFullScreen();

protected:
    // Title, styles and size from the project's settings.
    void ApplyWindowSettings(const CWorkSpaceObj& ws);
    // Takes the language and toolbar commands out of every menu of the frame.
    void TrimMenu();
    // With QYRVIEW_WINDOW_REPORT naming a file, once the frame shows: its caption, its size, the
    // view's client size and scroll bars in that file, and a picture of the frame beside it
    // (".png" added), for whoever started the player to check what it shows.
    void WriteWindowReport();

    BOOL m_bWindowReported = FALSE;

    // Icon 128 while the project asks for its own icon; freed with the frame.
    HICON m_hOwnIcon = nullptr;

    DECLARE_MESSAGE_MAP()
};
