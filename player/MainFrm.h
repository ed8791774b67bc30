// The runtime player's main frame.
#pragma once

#include "foundation/XVKFrames.h"

class CMainFrame : public CXVKFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame() = default;

protected:
    DECLARE_MESSAGE_MAP()
};
