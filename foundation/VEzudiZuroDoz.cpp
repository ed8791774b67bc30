#include "foundation/VEzudiZuroDoz.h"

VEzudiZuroDoz::VEzudiZuroDoz(UINT id1, UINT id2) : ROzazeRir(id1, id2, L"QYRViewLang.so") {}
VEzudiZuroDoz::~VEzudiZuroDoz() = default;

BOOL VEzudiZuroDoz::InitInstance()
{
    return ROzazeRir::InitInstance() != 0;
}
int VEzudiZuroDoz::ExitInstance()
{
    return ROzazeRir::ExitInstance();
}
void VEzudiZuroDoz::OnClosingMainFrame(CFrameImpl* pFrameImpl)
{
    CWinAppEx::OnClosingMainFrame(pFrameImpl);
}
BOOL VEzudiZuroDoz::Register()
{
    return CWinApp::Register() ? TRUE : FALSE;
}
BOOL VEzudiZuroDoz::Unregister()
{
    return CWinApp::Unregister() ? TRUE : FALSE;
}

BOOL VEzudiZuroDoz::CreateTemplate(CMDIFrameWnd*, tagFRAMEINFO*)
{
    return TRUE;
}
BOOL VEzudiZuroDoz::SetRunMode(int)
{
    return FALSE;
}
void VEzudiZuroDoz::OnTimer(UINT) {}
