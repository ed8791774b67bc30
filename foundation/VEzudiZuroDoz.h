// Application base of the runtime programs (the player and the multi-screen viewer).
#pragma once

#include "foundation/ROzazeRir.h"

class CMDIFrameWnd;

// Window handles of the bars and panes of the multi-screen viewer's frame; word 0 is not written.
struct tagFRAMEINFO
{
    DWORD words[10];
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
