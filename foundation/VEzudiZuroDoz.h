// Application base of the runtime programs (the player and the multi-screen viewer).
#pragma once

#include "foundation/ROzazeRir.h"

class CMDIFrameWnd;

// Window handles of the bars and panes of the multi-screen viewer's frame, in this order; the first
// is not written, and a window that does not exist is null.
struct tagFRAMEINFO
{
    HWND hReserved;
    HWND hMenuBar;
    HWND hToolBar;
    HWND hStatusBar;
    HWND hFileViewTree;
    HWND hClassViewTree;
    HWND hOutputBuild;
    HWND hOutputDebug;
    HWND hOutputFind;
    HWND hCaptionBar;
};

class VEzudiZuroDoz : public ROzazeRir
{
public:
    VEzudiZuroDoz(UINT id1, UINT id2);
    ~VEzudiZuroDoz() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    void OnClosingMainFrame(CFrameImpl* pFrameImpl) override;
    BOOL Register() override;
    BOOL Unregister() override;

    virtual BOOL CreateTemplate(CMDIFrameWnd* pFrame, tagFRAMEINFO* pInfo);
    virtual void DestroyTemplate() {}
    virtual BOOL SetRunMode(int mode);
    virtual BOOL IsRunning() { return FALSE; }
    virtual void OnTimer(UINT id);
};
