#include "foundation/ROrediRaziDov.h"

ROrediRaziDov::ROrediRaziDov(UINT id1, UINT id2) : ROzazeRir(id1, id2, L"QYRDrawLang.so") {}
ROrediRaziDov::~ROrediRaziDov() = default;

BOOL ROrediRaziDov::InitInstance()
{
    return ROzazeRir::InitInstance() != 0;
}
int ROrediRaziDov::ExitInstance()
{
    return ROzazeRir::ExitInstance();
}
void ROrediRaziDov::OnClosingMainFrame(CFrameImpl* pFrameImpl)
{
    CWinAppEx::OnClosingMainFrame(pFrameImpl);
}
