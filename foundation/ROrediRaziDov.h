// Application base of the editor.
#pragma once

#include "foundation/ROzazeRir.h"

class ROrediRaziDov : public ROzazeRir
{
public:
    ROrediRaziDov(UINT id1, UINT id2);
    ~ROrediRaziDov() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    void OnClosingMainFrame(CFrameImpl* pFrameImpl) override;
};
